// The simulated scanner's capabilities and their negotiation.
#include "Capabilities.h"

#include <CoreServices/CoreServices.h>

#include <cmath>
#include <cstring>

#include "FieldFormat.h"
#include "HostMemory.h"

namespace simscan {

// ---- Values ----------------------------------------------------------------------------------

namespace {

template <typename T>
CapValue ValueOf(const T& v) {
    CapValue value;
    value.bytes.assign(reinterpret_cast<const char*>(&v), sizeof v);
    return value;
}

template <typename T>
T Read(const CapValue& value) {
    T v{};
    memcpy(&v, value.bytes.data(), value.bytes.size() < sizeof v ? value.bytes.size() : sizeof v);
    return v;
}

}  // namespace

CapValue Int8(TW_INT8 v) { return ValueOf(v); }
CapValue Uint8(TW_UINT8 v) { return ValueOf(v); }
CapValue Int16(TW_INT16 v) { return ValueOf(v); }
CapValue Uint16(TW_UINT16 v) { return ValueOf(v); }
CapValue Int32(TW_INT32 v) { return ValueOf(v); }
CapValue Uint32(TW_UINT32 v) { return ValueOf(v); }
CapValue Bool(bool v) { return ValueOf(static_cast<TW_BOOL>(v ? 1 : 0)); }
CapValue Fix32(double v) { return ValueOf(ToFix32(v)); }

CapValue Frame(double left, double top, double right, double bottom) {
    const TW_FRAME frame = {ToFix32(left), ToFix32(top), ToFix32(right), ToFix32(bottom)};
    return ValueOf(frame);
}

CapValue Str(TW_UINT16 itemType, const char* text) {
    CapValue value;
    value.bytes.assign(ItemSize(itemType), '\0');
    const size_t n = strnlen(text, value.bytes.size() - 1);
    value.bytes.replace(0, n, text, n);
    return value;
}

namespace {

// The numeric value of an item, for range checks.
double Numeric(TW_UINT16 itemType, const CapValue& value) {
    switch (itemType) {
        case TWTY_INT8:
            return Read<TW_INT8>(value);
        case TWTY_UINT8:
            return Read<TW_UINT8>(value);
        case TWTY_INT16:
            return Read<TW_INT16>(value);
        case TWTY_UINT16:
        case TWTY_BOOL:
            return Read<TW_UINT16>(value);
        case TWTY_INT32:
            return Read<TW_INT32>(value);
        case TWTY_UINT32:
            return Read<TW_UINT32>(value);
        case TWTY_FIX32:
            return twfmt::Fix32(Read<TW_FIX32>(value));
        default:
            return 0;
    }
}

// ---- The table of capabilities ---------------------------------------------------------------

const bool kSettable = true;
const bool kReadOnly = false;

// The flatbed's glass, in inches.
const double kBedWidth = 8.5;
const double kBedHeight = 11.7;

Capability Base(TW_UINT16 cap, TW_UINT16 itemType, Form form, bool settable) {
    Capability c;
    c.cap = cap;
    c.itemType = itemType;
    c.form = form;
    c.settable = settable;
    return c;
}

Capability OneValue(TW_UINT16 cap, TW_UINT16 itemType, bool settable, const CapValue& value) {
    Capability c = Base(cap, itemType, Form::OneValue, settable);
    c.current = value;
    c.defaultValue = value;
    return c;
}

Capability Enumeration(TW_UINT16 cap, TW_UINT16 itemType, bool settable, std::vector<CapValue> items,
                       size_t currentIndex, size_t defaultIndex) {
    Capability c = Base(cap, itemType, Form::Enumeration, settable);
    c.items = std::move(items);
    c.currentIndex = currentIndex;
    c.defaultIndex = defaultIndex;
    return c;
}

Capability ArrayOf(TW_UINT16 cap, TW_UINT16 itemType, bool settable, std::vector<CapValue> items) {
    Capability c = Base(cap, itemType, Form::Array, settable);
    c.items = items;
    c.defaultItems = std::move(items);
    return c;
}

Capability Range(TW_UINT16 cap, TW_UINT16 itemType, bool settable, const CapValue& minValue,
                 const CapValue& maxValue, const CapValue& stepSize, const CapValue& defaultValue) {
    Capability c = Base(cap, itemType, Form::Range, settable);
    c.minValue = minValue;
    c.maxValue = maxValue;
    c.stepSize = stepSize;
    c.defaultValue = defaultValue;
    c.current = defaultValue;
    return c;
}

std::vector<Capability> ScannerCapabilities() {
    const std::vector<CapValue> kResolutions = {Fix32(75), Fix32(150), Fix32(300), Fix32(600), Fix32(1200),
                                                Fix32(2400)};
    std::vector<Capability> caps = {
        // Transfer.
        OneValue(CAP_XFERCOUNT, TWTY_INT16, kSettable, Int16(-1)),
        Enumeration(ICAP_XFERMECH, TWTY_UINT16, kSettable,
                    {Uint16(TWSX_NATIVE), Uint16(TWSX_FILE), Uint16(TWSX_MEMORY)}, 0, 0),
        Enumeration(ICAP_COMPRESSION, TWTY_UINT16, kSettable, {Uint16(TWCP_NONE)}, 0, 0),
        // Image format.
        Enumeration(ICAP_PIXELTYPE, TWTY_UINT16, kSettable, {Uint16(TWPT_BW), Uint16(TWPT_GRAY), Uint16(TWPT_RGB)},
                    2, 2),
        Enumeration(ICAP_BITDEPTH, TWTY_UINT16, kSettable, {Uint16(8), Uint16(16)}, 0, 0),
        Enumeration(ICAP_UNITS, TWTY_UINT16, kSettable,
                    {Uint16(TWUN_INCHES), Uint16(TWUN_CENTIMETERS), Uint16(TWUN_PIXELS)}, 0, 0),
        Enumeration(ICAP_XRESOLUTION, TWTY_FIX32, kSettable, kResolutions, 2, 2),
        Enumeration(ICAP_YRESOLUTION, TWTY_FIX32, kSettable, kResolutions, 2, 2),
        // Scan area.
        OneValue(ICAP_PHYSICALWIDTH, TWTY_FIX32, kReadOnly, Fix32(kBedWidth)),
        OneValue(ICAP_PHYSICALHEIGHT, TWTY_FIX32, kReadOnly, Fix32(kBedHeight)),
        OneValue(ICAP_FRAMES, TWTY_FRAME, kSettable, Frame(0, 0, kBedWidth, kBedHeight)),
        Enumeration(ICAP_SUPPORTEDSIZES, TWTY_UINT16, kSettable,
                    {Uint16(TWSS_NONE), Uint16(TWSS_A4LETTER), Uint16(TWSS_B5LETTER), Uint16(TWSS_USLETTER),
                     Uint16(TWSS_A5)},
                    0, 0),
        Enumeration(ICAP_ORIENTATION, TWTY_UINT16, kSettable,
                    {Uint16(TWOR_ROT0), Uint16(TWOR_ROT90), Uint16(TWOR_ROT180), Uint16(TWOR_ROT270)}, 0, 0),
        // Tone.
        Range(ICAP_BRIGHTNESS, TWTY_FIX32, kSettable, Fix32(-1000), Fix32(1000), Fix32(1), Fix32(0)),
        Range(ICAP_CONTRAST, TWTY_FIX32, kSettable, Fix32(-1000), Fix32(1000), Fix32(1), Fix32(0)),
        Range(ICAP_HIGHLIGHT, TWTY_FIX32, kSettable, Fix32(0), Fix32(255), Fix32(1), Fix32(255)),
        Range(ICAP_SHADOW, TWTY_FIX32, kSettable, Fix32(0), Fix32(255), Fix32(1), Fix32(0)),
        // Device.
        OneValue(CAP_FEEDERENABLED, TWTY_BOOL, kReadOnly, Bool(false)),
        OneValue(CAP_UICONTROLLABLE, TWTY_BOOL, kReadOnly, Bool(true)),
        OneValue(CAP_DEVICEONLINE, TWTY_BOOL, kReadOnly, Bool(true)),
        OneValue(CAP_INDICATORS, TWTY_BOOL, kSettable, Bool(true)),
        OneValue(CAP_AUTHOR, TWTY_STR128, kSettable, Str(TWTY_STR128, "")),
        ArrayOf(CAP_EXTENDEDCAPS, TWTY_UINT16, kSettable, {}),
        // The maker's extension.
        OneValue(CAP_ZV_VERSION, TWTY_UINT16, kReadOnly, Uint16(0x0203)),
        OneValue(CAP_ZV_PRODUCTNAME, TWTY_STR255, kReadOnly, Str(TWTY_STR255, "ZORVA Zorva Scan 2 Flatbed")),
        OneValue(CAP_ZV_MODELNAME, TWTY_STR32, kReadOnly, Str(TWTY_STR32, "ZV-F3200")),
        OneValue(CAP_ZV_MODELID, TWTY_UINT32, kReadOnly, Uint32(0x0000B70A)),
        OneValue(CAP_ZV_INDICATORSTRING, TWTY_STR64, kSettable, Str(TWTY_STR64, "Scanning...")),
        Enumeration(CAP_ZV_UIMODE, TWTY_UINT16, kSettable,
                    {Uint16(TWZV_UI_CONVENTIONAL), Uint16(TWZV_UI_ADVANCED), Uint16(TWZV_UI_EASY)}, 1, 1),
        Range(CAP_ZV_PROGRESS, TWTY_UINT16, kReadOnly, Uint16(0), Uint16(100), Uint16(1), Uint16(0)),
        Enumeration(ICAP_ZV_FILMTYPE, TWTY_UINT16, kSettable,
                    {Uint16(TWZV_FT_POSI), Uint16(TWZV_FT_NEGA), Uint16(TWZV_FT_REFLECTIVE)}, 2, 2),
        OneValue(ICAP_ZV_FOCUS, TWTY_INT8, kSettable, Int8(-2)),
        Enumeration(ICAP_ZV_TEXTENHANCEMENTLEVEL, TWTY_UINT8, kSettable, {Uint8(0), Uint8(1), Uint8(2), Uint8(3)}, 1,
                    1),
        Range(ICAP_ZV_OVERSCANMARGIN, TWTY_INT32, kSettable, Int32(0), Int32(20), Int32(1), Int32(3)),
    };

    // CAP_SUPPORTEDCAPS lists every capability above and itself.
    std::vector<CapValue> supported;
    supported.push_back(Uint16(CAP_SUPPORTEDCAPS));
    for (const Capability& c : caps) supported.push_back(Uint16(c.cap));
    caps.push_back(ArrayOf(CAP_SUPPORTEDCAPS, TWTY_UINT16, kReadOnly, supported));
    return caps;
}

// ---- Containers for the application ----------------------------------------------------------

// A new zero-filled container of at least size bytes, locked while it is filled; null when memory
// is short. The scanner makes its handles itself, as data sources do: the header of two words and
// the block each end flush against a guard page (the application frees them with hostmem::FreeHandle).
Handle NewContainer(size_t size, size_t minimum) {
    Handle h = hostmem::NewHandle(size < minimum ? minimum : size);
    if (h != nullptr) HLock(h);
    return h;
}

// A container's block ends flush with its last item, so it may start at any address.
using hostmem::Put;

Handle MakeOneValue(TW_UINT16 itemType, const CapValue& value) {
    Handle h = NewContainer(offsetof(TW_ONEVALUE, Item) + ItemSize(itemType), sizeof(TW_ONEVALUE));
    if (h == nullptr) return nullptr;
    Put(h, offsetof(TW_ONEVALUE, ItemType), itemType);
    // A frame or a string continues past Item inside the container.
    memcpy(*h + offsetof(TW_ONEVALUE, Item), value.bytes.data(), value.bytes.size());
    HUnlock(h);
    return h;
}

void CopyItems(char* pList, const std::vector<CapValue>& items) {
    for (const CapValue& item : items) {
        memcpy(pList, item.bytes.data(), item.bytes.size());
        pList += item.bytes.size();
    }
}

Handle MakeEnumeration(TW_UINT16 itemType, const std::vector<CapValue>& items, size_t currentIndex,
                       size_t defaultIndex) {
    Handle h = NewContainer(offsetof(TW_ENUMERATION, ItemList) + items.size() * ItemSize(itemType),
                            sizeof(TW_ENUMERATION));
    if (h == nullptr) return nullptr;
    Put(h, offsetof(TW_ENUMERATION, ItemType), itemType);
    Put(h, offsetof(TW_ENUMERATION, NumItems), static_cast<TW_UINT32>(items.size()));
    Put(h, offsetof(TW_ENUMERATION, CurrentIndex), static_cast<TW_UINT32>(currentIndex));
    Put(h, offsetof(TW_ENUMERATION, DefaultIndex), static_cast<TW_UINT32>(defaultIndex));
    CopyItems(*h + offsetof(TW_ENUMERATION, ItemList), items);
    HUnlock(h);
    return h;
}

Handle MakeArray(TW_UINT16 itemType, const std::vector<CapValue>& items) {
    Handle h = NewContainer(offsetof(TW_ARRAY, ItemList) + items.size() * ItemSize(itemType), sizeof(TW_ARRAY));
    if (h == nullptr) return nullptr;
    Put(h, offsetof(TW_ARRAY, ItemType), itemType);
    Put(h, offsetof(TW_ARRAY, NumItems), static_cast<TW_UINT32>(items.size()));
    CopyItems(*h + offsetof(TW_ARRAY, ItemList), items);
    HUnlock(h);
    return h;
}

// A range's fields hold their value in place, in the low bytes of each 32-bit field.
TW_UINT32 Cell(const CapValue& value) {
    TW_UINT32 cell = 0;
    memcpy(&cell, value.bytes.data(), value.bytes.size() < sizeof cell ? value.bytes.size() : sizeof cell);
    return cell;
}

Handle MakeRange(const Capability& c) {
    Handle h = NewContainer(sizeof(TW_RANGE), sizeof(TW_RANGE));
    if (h == nullptr) return nullptr;
    Put(h, offsetof(TW_RANGE, ItemType), c.itemType);
    Put(h, offsetof(TW_RANGE, MinValue), Cell(c.minValue));
    Put(h, offsetof(TW_RANGE, MaxValue), Cell(c.maxValue));
    Put(h, offsetof(TW_RANGE, StepSize), Cell(c.stepSize));
    Put(h, offsetof(TW_RANGE, DefaultValue), Cell(c.defaultValue));
    Put(h, offsetof(TW_RANGE, CurrentValue), Cell(c.current));
    HUnlock(h);
    return h;
}

// The current (or default) single value, as MSG_GETCURRENT and MSG_GETDEFAULT report it.
CapValue SingleValue(const Capability& c, bool bDefault) {
    if (c.form == Form::Enumeration) return c.items[bDefault ? c.defaultIndex : c.currentIndex];
    return bDefault ? c.defaultValue : c.current;
}

// ---- Reading the application's container ------------------------------------------------------

// The application's container, locked for reading: its bytes and their number.
class CContainerReader {
public:
    explicit CContainerReader(TW_HANDLE h) : m_h(h) {
        HLock(m_h);
        m_pData = *m_h;
        m_nSize = static_cast<size_t>(GetHandleSize(m_h));
    }
    ~CContainerReader() { HUnlock(m_h); }
    CContainerReader(const CContainerReader&) = delete;
    CContainerReader& operator=(const CContainerReader&) = delete;

    // Copies size bytes at offset into out; false when they are not all inside the container.
    bool Get(size_t offset, size_t size, void* out) const {
        if (m_pData == nullptr || offset > m_nSize || size > m_nSize - offset) return false;
        memcpy(out, m_pData + offset, size);
        return true;
    }
    bool GetValue(size_t offset, TW_UINT16 itemType, CapValue* out) const {
        out->bytes.assign(ItemSize(itemType), '\0');
        if (!Get(offset, out->bytes.size(), &out->bytes[0])) return false;
        // A string item keeps its terminator whatever the application wrote.
        if (itemType >= TWTY_STR32) out->bytes.back() = '\0';
        return true;
    }

private:
    TW_HANDLE m_h;
    const char* m_pData;
    size_t m_nSize;
};

bool InList(const std::vector<CapValue>& items, const CapValue& value, size_t* pIndex) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == value) {
            if (pIndex != nullptr) *pIndex = i;
            return true;
        }
    }
    return false;
}

}  // namespace

// ---- The table -------------------------------------------------------------------------------

CCapabilityTable::CCapabilityTable() : m_caps(ScannerCapabilities()) {}

const Capability* CCapabilityTable::Find(TW_UINT16 cap) const {
    for (const Capability& c : m_caps) {
        if (c.cap == cap) return &c;
    }
    return nullptr;
}

Capability* CCapabilityTable::FindMutable(TW_UINT16 cap) { return const_cast<Capability*>(Find(cap)); }

std::vector<TW_UINT16> CCapabilityTable::SupportedCaps() const {
    std::vector<TW_UINT16> codes;
    for (const Capability& c : m_caps) codes.push_back(c.cap);
    return codes;
}

TW_UINT16 CCapabilityTable::CurrentUint16(TW_UINT16 cap) const {
    const Capability* c = Find(cap);
    return c != nullptr ? Read<TW_UINT16>(SingleValue(*c, false)) : 0;
}

double CCapabilityTable::CurrentFix32(TW_UINT16 cap) const {
    const Capability* c = Find(cap);
    return c != nullptr ? twfmt::Fix32(Read<TW_FIX32>(SingleValue(*c, false))) : 0;
}

TW_FRAME CCapabilityTable::CurrentFrame() const {
    const Capability* c = Find(ICAP_FRAMES);
    return c != nullptr ? Read<TW_FRAME>(c->current) : TW_FRAME{};
}

bool CCapabilityTable::SetCurrentFrame(const TW_FRAME& frame) { return SetCurrentValue(ICAP_FRAMES, ValueOf(frame)); }

void CCapabilityTable::ResetFrame() {
    Capability* c = FindMutable(ICAP_FRAMES);
    c->current = c->defaultValue;
}

namespace {

// Whether a single value is one the capability may take.
bool Acceptable(const Capability& c, const CapValue& value, const CCapabilityTable& table) {
    switch (c.cap) {
        case CAP_XFERCOUNT:  // -1 (as many as there are) or a positive count
            return Read<TW_INT16>(value) == -1 || Read<TW_INT16>(value) >= 1;
        case ICAP_FRAMES: {  // a non-empty area on the glass
            const TW_FRAME f = Read<TW_FRAME>(value);
            const double left = twfmt::Fix32(f.Left), top = twfmt::Fix32(f.Top);
            const double right = twfmt::Fix32(f.Right), bottom = twfmt::Fix32(f.Bottom);
            return left >= 0 && top >= 0 && left < right && top < bottom && right <= kBedWidth + 1e-4 &&
                   bottom <= kBedHeight + 1e-4;
        }
        case CAP_EXTENDEDCAPS:  // capabilities this source supports
            return table.Find(Read<TW_UINT16>(value)) != nullptr;
        default:
            break;
    }
    switch (c.form) {
        case Form::Enumeration:
            return InList(c.items, value, nullptr);
        case Form::Range: {
            const double v = Numeric(c.itemType, value);
            const double lo = Numeric(c.itemType, c.minValue), hi = Numeric(c.itemType, c.maxValue);
            const double step = Numeric(c.itemType, c.stepSize);
            if (v < lo || v > hi) return false;
            const double steps = (v - lo) / step;
            return std::fabs(steps - std::round(steps)) < 1e-6;
        }
        default:
            return true;
    }
}

const CapResult kSuccess = {TWRC_SUCCESS, TWCC_SUCCESS};

// Takes a value that has passed the checks.
void TakeValue(Capability* c, const CapValue& value) {
    if (c->form == Form::Enumeration) {
        InList(c->items, value, &c->currentIndex);
    } else {
        c->current = value;
    }
}

CapResult Failure(TW_UINT16 condition) { return CapResult{TWRC_FAILURE, condition}; }

}  // namespace

CapResult CCapabilityTable::Negotiate(TW_UINT16 MSG, TW_CAPABILITY* pCap, bool bSettable) {
    if (pCap == nullptr) return Failure(TWCC_BADVALUE);
    Capability* c = FindMutable(pCap->Cap);
    if (c == nullptr) return Failure(TWCC_CAPUNSUPPORTED);

    Handle hNew = nullptr;
    TW_UINT16 conType = TWON_ONEVALUE;
    switch (MSG) {
        case MSG_GET:
        case MSG_RESET:
            if (MSG == MSG_RESET) {
                if (!c->settable) return Failure(TWCC_CAPBADOPERATION);
                if (!bSettable) return Failure(TWCC_SEQERROR);
                c->current = c->defaultValue;
                c->currentIndex = c->defaultIndex;
                if (c->form == Form::Array) c->items = c->defaultItems;
            }
            // Both report the whole capability in its own container.
            switch (c->form) {
                case Form::OneValue:
                    hNew = MakeOneValue(c->itemType, c->current);
                    conType = TWON_ONEVALUE;
                    break;
                case Form::Enumeration:
                    hNew = MakeEnumeration(c->itemType, c->items, c->currentIndex, c->defaultIndex);
                    conType = TWON_ENUMERATION;
                    break;
                case Form::Array:
                    hNew = MakeArray(c->itemType, c->items);
                    conType = TWON_ARRAY;
                    break;
                case Form::Range:
                    hNew = MakeRange(*c);
                    conType = TWON_RANGE;
                    break;
            }
            break;
        case MSG_GETCURRENT:
        case MSG_GETDEFAULT:
            if (c->form == Form::Array) {
                hNew = MakeArray(c->itemType, MSG == MSG_GETCURRENT ? c->items : c->defaultItems);
                conType = TWON_ARRAY;
            } else {
                hNew = MakeOneValue(c->itemType, SingleValue(*c, MSG == MSG_GETDEFAULT));
            }
            break;
        case MSG_QUERYSUPPORT: {
            TW_INT32 support = TWQC_GET | TWQC_GETCURRENT | TWQC_GETDEFAULT;
            if (c->settable) support |= TWQC_SET | TWQC_RESET;
            hNew = MakeOneValue(TWTY_INT32, Int32(support));
            break;
        }
        case MSG_SET:
            return Set(c, pCap, bSettable);
        default:
            return Failure(TWCC_BADPROTOCOL);
    }
    if (hNew == nullptr) return Failure(TWCC_LOWMEMORY);
    pCap->ConType = conType;
    pCap->hContainer = hNew;
    return kSuccess;
}

CapResult CCapabilityTable::Set(Capability* c, const TW_CAPABILITY* pCap, bool bSettable) {
    if (!c->settable) return Failure(TWCC_CAPBADOPERATION);
    if (!bSettable) return Failure(TWCC_SEQERROR);
    if (pCap->hContainer == nullptr) return Failure(TWCC_BADVALUE);

    const CContainerReader container(pCap->hContainer);
    TW_UINT16 itemType = 0;
    if (!container.Get(0, sizeof itemType, &itemType) || itemType != c->itemType) return Failure(TWCC_BADVALUE);

    if (c->form == Form::Array) {
        // A new list replaces the current one.
        TW_UINT32 nItems = 0;
        if (pCap->ConType != TWON_ARRAY || !container.Get(offsetof(TW_ARRAY, NumItems), sizeof nItems, &nItems)) {
            return Failure(TWCC_BADVALUE);
        }
        std::vector<CapValue> items(nItems);
        for (TW_UINT32 i = 0; i < nItems; ++i) {
            const size_t offset = offsetof(TW_ARRAY, ItemList) + i * ItemSize(itemType);
            if (!container.GetValue(offset, itemType, &items[i]) || !Acceptable(*c, items[i], *this)) {
                return Failure(TWCC_BADVALUE);
            }
        }
        c->items = std::move(items);
        return kSuccess;
    }

    // Every other capability takes one value: a one-value container, or the current item of an
    // enumeration that narrows the choices.
    CapValue value;
    if (pCap->ConType == TWON_ONEVALUE) {
        if (!container.GetValue(offsetof(TW_ONEVALUE, Item), itemType, &value)) return Failure(TWCC_BADVALUE);
    } else if (pCap->ConType == TWON_ENUMERATION && c->form == Form::Enumeration) {
        TW_UINT32 nItems = 0, currentIndex = 0;
        if (!container.Get(offsetof(TW_ENUMERATION, NumItems), sizeof nItems, &nItems) ||
            !container.Get(offsetof(TW_ENUMERATION, CurrentIndex), sizeof currentIndex, &currentIndex) ||
            currentIndex >= nItems ||
            !container.GetValue(offsetof(TW_ENUMERATION, ItemList) + currentIndex * ItemSize(itemType), itemType,
                                &value)) {
            return Failure(TWCC_BADVALUE);
        }
    } else {
        return Failure(TWCC_BADVALUE);
    }
    if (!Acceptable(*c, value, *this)) return Failure(TWCC_BADVALUE);
    TakeValue(c, value);
    return kSuccess;
}

CapValue CCapabilityTable::CurrentValue(TW_UINT16 cap) const {
    const Capability* c = Find(cap);
    return c != nullptr && c->form != Form::Array ? SingleValue(*c, false) : CapValue{};
}

bool CCapabilityTable::SetCurrentValue(TW_UINT16 cap, const CapValue& value) {
    Capability* c = FindMutable(cap);
    if (c == nullptr || !c->settable || c->form == Form::Array || value.bytes.size() != ItemSize(c->itemType) ||
        !Acceptable(*c, value, *this)) {
        return false;
    }
    TakeValue(c, value);
    return true;
}

}  // namespace simscan
