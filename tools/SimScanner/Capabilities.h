// The simulated scanner's capabilities: what each one offers, its current and default values,
// and the negotiation of DAT_CAPABILITY (MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_SET,
// MSG_RESET, MSG_QUERYSUPPORT) in the application's memory handles.
#ifndef TWAINMON_SIMSCANNER_CAPABILITIES_H
#define TWAINMON_SIMSCANNER_CAPABILITIES_H

#include <cstddef>
#include <string>
#include <vector>

#include "ScannerInterface.h"
#include "TwainTypes.h"

namespace simscan {

// One value of a capability: the bytes of its item type, as a container holds it.
struct CapValue {
    std::string bytes;

    bool operator==(const CapValue& other) const { return bytes == other.bytes; }
};

CapValue Int8(TW_INT8 v);
CapValue Uint8(TW_UINT8 v);
CapValue Int16(TW_INT16 v);
CapValue Uint16(TW_UINT16 v);
CapValue Int32(TW_INT32 v);
CapValue Uint32(TW_UINT32 v);
CapValue Bool(bool v);
CapValue Fix32(double v);
CapValue Frame(double left, double top, double right, double bottom);
CapValue Str(TW_UINT16 itemType, const char* text);  // TWTY_STR32 ... TWTY_STR255

// The container form in which MSG_GET reports a capability.
enum class Form { OneValue, Enumeration, Array, Range };

struct Capability {
    TW_UINT16 cap = 0;
    TW_UINT16 itemType = 0;
    Form form = Form::OneValue;
    bool settable = false;
    // Enumeration: the choices; Array: the current list.
    std::vector<CapValue> items;
    std::vector<CapValue> defaultItems;  // Array: the list after a reset
    size_t currentIndex = 0;             // Enumeration
    size_t defaultIndex = 0;             // Enumeration
    CapValue current;                    // OneValue, Range
    CapValue defaultValue;               // OneValue, Range
    CapValue minValue, maxValue, stepSize;  // Range
};

// The outcome of one negotiation: a TWRC_ code and, on failure, the TWCC_ condition.
struct CapResult {
    TW_UINT16 rc;
    TW_UINT16 condition;
};

class CCapabilityTable {
public:
    CCapabilityTable();

    // Carries out one DAT_CAPABILITY message on the application's TW_CAPABILITY. Containers
    // made for the application are its own to free; containers it passes in are only read.
    // bSettable tells whether the session is in the state that allows MSG_SET and MSG_RESET.
    CapResult Negotiate(TW_UINT16 MSG, TW_CAPABILITY* pCap, bool bSettable);

    const Capability* Find(TW_UINT16 cap) const;

    // Current values the image side reads.
    TW_UINT16 CurrentUint16(TW_UINT16 cap) const;
    double CurrentFix32(TW_UINT16 cap) const;
    TW_FRAME CurrentFrame() const;
    // The image layout sets the scan area: false when the frame is not on the glass.
    bool SetCurrentFrame(const TW_FRAME& frame);
    void ResetFrame();

    // The current single value of a capability (empty for an unknown one), and its setting with
    // the checks of MSG_SET: false when the capability is not settable or refuses the value.
    CapValue CurrentValue(TW_UINT16 cap) const;
    bool SetCurrentValue(TW_UINT16 cap, const CapValue& value);

    // The list of capability codes the scanner supports.
    std::vector<TW_UINT16> SupportedCaps() const;

private:
    Capability* FindMutable(TW_UINT16 cap);
    CapResult Set(Capability* c, const TW_CAPABILITY* pCap, bool bSettable);

    std::vector<Capability> m_caps;
};

}  // namespace simscan

#endif  // TWAINMON_SIMSCANNER_CAPABILITIES_H
