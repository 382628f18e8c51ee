// What an application knows about the simulated scanner beyond the TWAIN codes of TwainTypes.h:
// the window-event record it is handed with DAT_EVENT and the kinds of event it tells apart, how
// long its lamp warms up, the variable that makes it report what it is created for, and helpers
// for filling TWAIN structures.
#ifndef TWAINMON_SIMSCANNER_SCANNERINTERFACE_H
#define TWAINMON_SIMSCANNER_SCANNERINTERFACE_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "TwainTypes.h"

namespace simscan {

// A number as TW_FIX32 (Whole + Frac / 65536), rounded to the nearest 1/65536.
inline TW_FIX32 ToFix32(double v) {
    const long scaled = std::lround(v * 65536.0);
    TW_FIX32 fix;
    fix.Whole = static_cast<TW_INT16>(scaled >> 16);
    fix.Frac = static_cast<TW_UINT16>(scaled & 0xFFFF);
    return fix;
}

// A text into a fixed-size TWAIN text field, cut to fit and terminated.
template <size_t N>
inline void CopyText(char (&field)[N], const char* text) {
    strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

// An identity as the tools' applications and sources fill in their own: TWAIN 1.9, the control
// and image groups.
inline TW_IDENTITY Identity(uintptr_t id, const TW_VERSION& version, const char* manufacturer, const char* family,
                            const char* product) {
    TW_IDENTITY identity = {};
    identity.Id = reinterpret_cast<TW_MEMREF>(id);
    identity.Version = version;
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 9;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(identity.Manufacturer, manufacturer);
    CopyText(identity.ProductFamily, family);
    CopyText(identity.ProductName, product);
    return identity;
}

// The window event that TW_EVENT.pEvent points to: the host's event record, of which the scanner
// reads the kind only.
struct SimEventRecord {
    TW_UINT16 what;
    TW_UINT32 message;
    TW_UINT32 when;
    TW_INT16 whereV;
    TW_INT16 whereH;
    TW_UINT16 modifiers;
};

// Event kinds.
enum : TW_UINT16 {
    kNullEvent = 0,   // idle time: the scanner works, and announces a finished scan
    kMouseDown = 1,   // a click: the scanner's own when its dialog is shown
    kKeyDown = 3,
    kUpdateEvt = 6,
};

// Idle events the scanner needs after MSG_ENABLEDS before its page is ready (the lamp warms up).
constexpr int kWarmUpIdleEvents = 2;

// Every handle the scanner answers with (a capability's container, the stored settings of
// DAT_CUSTOMDSDATA, a native transfer's image) is of its own making, as a data source's are: made
// with hostmem::NewHandle, the application frees it with hostmem::FreeHandle.

// When this environment variable is set, the scanner reports on standard error what it is
// created for.
constexpr const char* kDebugVariable = "TWAINMON_SIMSCANNER_DEBUG";

}  // namespace simscan

#endif  // TWAINMON_SIMSCANNER_SCANNERINTERFACE_H
