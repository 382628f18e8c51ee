// The scripted sessions: what an application and its data-source manager send to a scanner's
// data source, call by call, and the memory the application owns along the way.
#include "Sessions.h"

#include <CoreServices/CoreServices.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "HostMemory.h"
#include "ScannerInterface.h"
#include "twaintbl.h"

namespace player {

// The scanner's own event record, event kinds and fixed-point helper.
using simscan::kKeyDown;
using simscan::kMouseDown;
using simscan::kNullEvent;
using simscan::kUpdateEvt;
using simscan::SimEventRecord;
using simscan::CopyText;
using simscan::ToFix32;

namespace {

TW_MEMREF IdValue(uintptr_t id) { return reinterpret_cast<TW_MEMREF>(id); }

}  // namespace

CHost::CHost(DSEntryProc pfnEntry, bool bVerbose)
    : m_pfnEntry(pfnEntry), m_bVerbose(bVerbose), m_application(), m_source() {
    // The application, with the Id the manager gave it when it opened.
    m_application = simscan::Identity(1, TW_VERSION{1, 0, TWLG_ENGLISH_USA, TWCY_USA, "1.0 session player"},
                                      "Harbour Imaging", "Photo Tools", "Session Player");
    // The source the user picked; the manager gives it its Id.
    m_source.Id = IdValue(2);
    CopyText(m_source.ProductName, "Zorva Scan 2");
}

TW_UINT16 CHost::Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData) {
    const TW_UINT16 rc = m_pfnEntry(&m_application, DG, DAT, MSG, static_cast<TW_MEMREF>(pData));
    ++m_nCalls;
    if (m_bVerbose) {
        char szDG[kNameBufferSize], szDAT[kNameBufferSize], szMSG[kNameBufferSize], szRC[kNameBufferSize];
        char szCap[kNameBufferSize + 3] = "";
        LookupMacroName(dg_macros, static_cast<int32_t>(DG), szDG);
        LookupDatName(DAT, szDAT);
        LookupMsgName(MSG, szMSG);
        LookupMacroName(twrc_macros, rc, szRC);
        if (DAT == DAT_CAPABILITY && pData != nullptr) {
            char szName[kNameBufferSize];
            LookupCapName(static_cast<const TW_CAPABILITY*>(pData)->Cap, szName);
            snprintf(szCap, sizeof szCap, " (%s)", szName);
        }
        printf("%4d %s/%s/%s%s -> %s\n", m_nCalls, szDG, szDAT, szMSG, szCap, szRC);
    }
    return rc;
}

namespace {

// ---- Capabilities ------------------------------------------------------------------------------

// The application's containers are its own handles: a header of two words and a block, each flush
// against a guard page, as a strict host makes them; hostmem::FreeHandle frees them and the ones the
// source answers with alike. A block ends flush with its last byte, so it may start at any address:
// its fields are stored and loaded with hostmem::Put and Get.
using hostmem::Get;
using hostmem::Put;

// A one-value container the application builds for MSG_SET.
Handle NewOneValue(TW_UINT16 itemType, const void* pValue, size_t nSize) {
    Handle h = hostmem::NewHandle(offsetof(TW_ONEVALUE, Item) + (nSize > 4 ? nSize : 4));
    if (h == nullptr) return nullptr;
    HLock(h);
    Put(h, offsetof(TW_ONEVALUE, ItemType), itemType);
    memcpy(*h + offsetof(TW_ONEVALUE, Item), pValue, nSize);
    HUnlock(h);
    return h;
}

Handle NewUint16Array(const std::vector<TW_UINT16>& items) {
    Handle h = hostmem::NewHandle(offsetof(TW_ARRAY, ItemList) + items.size() * sizeof(TW_UINT16));
    if (h == nullptr) return nullptr;
    HLock(h);
    Put(h, offsetof(TW_ARRAY, ItemType), TW_UINT16{TWTY_UINT16});
    Put(h, offsetof(TW_ARRAY, NumItems), static_cast<TW_UINT32>(items.size()));
    if (!items.empty()) memcpy(*h + offsetof(TW_ARRAY, ItemList), items.data(), items.size() * sizeof(TW_UINT16));
    HUnlock(h);
    return h;
}

// A get of any kind; the container the source made is the application's to free.
TW_UINT16 GetCap(CHost& host, TW_UINT16 MSG, TW_UINT16 cap, TW_CAPABILITY* pResult = nullptr) {
    TW_CAPABILITY capability = {cap, TWON_DONTCARE16, nullptr};
    const TW_UINT16 rc = host.Call(DG_CONTROL, DAT_CAPABILITY, MSG, &capability);
    if (pResult != nullptr) {
        *pResult = capability;  // the caller frees it
    } else {
        hostmem::FreeHandle(capability.hContainer);
    }
    return rc;
}

// A set with the application's own container, which it frees afterwards.
TW_UINT16 SetCapContainer(CHost& host, TW_UINT16 cap, TW_UINT16 conType, Handle hContainer) {
    if (hContainer == nullptr) return TWRC_FAILURE;
    TW_CAPABILITY capability = {cap, conType, hContainer};
    const TW_UINT16 rc = host.Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    hostmem::FreeHandle(hContainer);
    return rc;
}

template <typename T>
TW_UINT16 SetCap(CHost& host, TW_UINT16 cap, TW_UINT16 itemType, const T& value) {
    return SetCapContainer(host, cap, TWON_ONEVALUE, NewOneValue(itemType, &value, sizeof value));
}

// The capabilities the source supports, from its CAP_SUPPORTEDCAPS array.
std::vector<TW_UINT16> SupportedCaps(CHost& host) {
    std::vector<TW_UINT16> caps;
    TW_CAPABILITY capability;
    if (GetCap(host, MSG_GET, CAP_SUPPORTEDCAPS, &capability) != TWRC_SUCCESS || capability.hContainer == nullptr) {
        return caps;
    }
    Handle h = capability.hContainer;
    HLock(h);
    const size_t nSize = static_cast<size_t>(GetHandleSize(h));
    if (capability.ConType == TWON_ARRAY && nSize >= offsetof(TW_ARRAY, ItemList)) {
        const size_t nFit = (nSize - offsetof(TW_ARRAY, ItemList)) / sizeof(TW_UINT16);
        const size_t nItems = std::min<size_t>(Get<TW_UINT32>(h, offsetof(TW_ARRAY, NumItems)), nFit);
        caps.resize(nItems);
        if (nItems != 0) memcpy(caps.data(), *h + offsetof(TW_ARRAY, ItemList), nItems * sizeof(TW_UINT16));
    }
    HUnlock(h);
    hostmem::FreeHandle(h);
    return caps;
}

// Whether MSG_QUERYSUPPORT says the capability can be set.
bool Settable(CHost& host, TW_UINT16 cap) {
    TW_CAPABILITY capability;
    bool bSettable = false;
    if (GetCap(host, MSG_QUERYSUPPORT, cap, &capability) == TWRC_SUCCESS && capability.hContainer != nullptr) {
        HLock(capability.hContainer);
        if (static_cast<size_t>(GetHandleSize(capability.hContainer)) >= sizeof(TW_ONEVALUE)) {
            const TW_INT32 support = Get<TW_INT32>(capability.hContainer, offsetof(TW_ONEVALUE, Item));
            bSettable = (support & TWQC_SET) != 0;
        }
        HUnlock(capability.hContainer);
    }
    hostmem::FreeHandle(capability.hContainer);
    return bSettable;
}

// ---- Session steps -----------------------------------------------------------------------------

void OpenSource(CHost& host) {
    host.Call(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr);
    host.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &host.Source());
}

void CloseSource(CHost& host) {
    host.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &host.Source());
    host.Call(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr);
}

// The scan area of the sessions: one inch by half an inch, an inch from the corner.
const TW_FRAME kScanFrame = {ToFix32(1), ToFix32(1), ToFix32(2), ToFix32(1.5)};

// Negotiation before a scan, over every container kind the scanner offers.
void NegotiateScan(CHost& host, TW_UINT16 xferMech) {
    GetCap(host, MSG_GET, CAP_SUPPORTEDCAPS);                      // array of capability codes
    GetCap(host, MSG_QUERYSUPPORT, ICAP_PIXELTYPE);                // one value, the support flags
    GetCap(host, MSG_GET, ICAP_PIXELTYPE);                         // enumeration
    GetCap(host, MSG_GETCURRENT, ICAP_PIXELTYPE);
    GetCap(host, MSG_GETDEFAULT, ICAP_PIXELTYPE);
    SetCap(host, ICAP_PIXELTYPE, TWTY_UINT16, static_cast<TW_UINT16>(TWPT_RGB));
    GetCap(host, MSG_GET, ICAP_XRESOLUTION);                       // enumeration of fixed-point values
    SetCap(host, ICAP_XRESOLUTION, TWTY_FIX32, ToFix32(300));
    SetCap(host, ICAP_YRESOLUTION, TWTY_FIX32, ToFix32(300));
    GetCap(host, MSG_GET, ICAP_BRIGHTNESS);                        // range
    SetCap(host, ICAP_BRIGHTNESS, TWTY_FIX32, ToFix32(10));
    GetCap(host, MSG_RESET, ICAP_BRIGHTNESS);
    GetCap(host, MSG_GET, CAP_FEEDERENABLED);                      // one value of each item type
    GetCap(host, MSG_GET, CAP_ZV_VERSION);
    GetCap(host, MSG_GET, CAP_XFERCOUNT);
    SetCap(host, CAP_XFERCOUNT, TWTY_INT16, static_cast<TW_INT16>(1));
    GetCap(host, MSG_GET, ICAP_FRAMES);
    SetCap(host, ICAP_FRAMES, TWTY_FRAME, kScanFrame);
    GetCap(host, MSG_GET, CAP_ZV_PRODUCTNAME);
    GetCap(host, MSG_GET, CAP_ZV_MODELNAME);
    GetCap(host, MSG_GET, ICAP_ZV_FOCUS);
    GetCap(host, MSG_GET, ICAP_ZV_TEXTENHANCEMENTLEVEL);
    GetCap(host, MSG_GET, CAP_ZV_MODELID);
    GetCap(host, MSG_GET, ICAP_ZV_OVERSCANMARGIN);
    GetCap(host, MSG_GET, ICAP_BITDEPTH);
    GetCap(host, MSG_GET, ICAP_UNITS);
    SetCap(host, ICAP_XFERMECH, TWTY_UINT16, xferMech);

    TWZV_HARDWAREINFO hardware = {};
    host.Call(DG_CONTROL, DAT_ZV_HARDWAREINFO, MSG_GET, &hardware);
}

// Hands window events to the source until it announces its page: a few of the application's
// own events, idle time while the lamp warms up, a click. False when the source never did.
bool WaitForPage(CHost& host) {
    static const TW_UINT16 kEvents[] = {kUpdateEvt, kNullEvent, kKeyDown, kMouseDown, kNullEvent, kNullEvent};
    for (int i = 0; i < 32; ++i) {
        SimEventRecord record = {kEvents[i % (sizeof kEvents / sizeof kEvents[0])], 0, static_cast<TW_UINT32>(60 * i),
                                 0, 0, 0};
        TW_EVENT event = {reinterpret_cast<TW_MEMREF>(&record), MSG_NULL};
        const TW_UINT16 rc = host.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        if (rc == TWRC_DSEVENT && event.TWMessage == MSG_XFERREADY) return true;
        if (event.TWMessage == MSG_CLOSEDSREQ) return false;
    }
    return false;
}

void TransferInStrips(CHost& host) {
    TW_SETUPMEMXFER setup = {};
    if (host.Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup) != TWRC_SUCCESS || setup.Preferred == 0) return;
    std::vector<char> buffer(setup.Preferred);
    for (int nStrips = 0; nStrips < 100000; ++nStrips) {
        TW_IMAGEMEMXFER xfer = {};
        xfer.Compression = TWON_DONTCARE16;
        xfer.BytesPerRow = xfer.Columns = xfer.Rows = xfer.XOffset = xfer.YOffset = xfer.BytesWritten = 0xFFFFFFFF;
        xfer.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
        xfer.Memory.Length = static_cast<TW_UINT32>(buffer.size());
        xfer.Memory.TheMem = buffer.data();
        const TW_UINT16 rc = host.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
        if (rc != TWRC_SUCCESS) return;  // the last strip (TWRC_XFERDONE), or a failure
    }
}

void TransferNative(CHost& host) {
    TW_HANDLE hImage = nullptr;
    host.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &hImage);
    hostmem::FreeHandle(hImage);  // the application's image now
}

// What the application asks about the page while it is being transferred.
void AskAboutPage(CHost& host) {
    struct {
        TW_UINT32 NumInfos;
        TW_INFO Info[3];
    } ext = {3, {{TWEI_DOCUMENTNUMBER, 0, 0, 0, 0}, {TWEI_PAGENUMBER, 0, 0, 0, 0}, {0x1200, 0, 0, 0, 0}}};
    static_assert(offsetof(decltype(ext), Info) == offsetof(TW_EXTIMAGEINFO, Info), "TW_EXTIMAGEINFO layout");
    host.Call(DG_IMAGE, DAT_EXTIMAGEINFO, MSG_GET, &ext);
    TWZV_LOCATIONDATA skew = {};
    host.Call(DG_IMAGE, DAT_ZV_SKEWINFO, MSG_GET, &skew);
}

enum class Transfer { Memory, Native, File };

// One page: enable, wait for it, describe it, transfer it, end it, disable.
void ScanPage(CHost& host, Transfer transfer, bool bAskAboutPage) {
    TW_USERINTERFACE ui = {0, 0, nullptr};
    if (host.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS) return;
    if (WaitForPage(host)) {
        TW_IMAGEINFO info = {};
        host.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
        TW_IMAGELAYOUT layout = {};
        host.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout);
        switch (transfer) {
            case Transfer::Memory:
                TransferInStrips(host);
                break;
            case Transfer::Native:
                TransferNative(host);
                break;
            case Transfer::File:
                host.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
                break;
        }
        if (bAskAboutPage) AskAboutPage(host);
        TW_PENDINGXFERS pending = {};
        host.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    }
    host.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
}

// ---- The settings DATs (for the session "all") -------------------------------------------------

// A DAT whose structure carries the whole setting: get it, its default, set it back, reset it.
template <typename T>
void RoundTrip(CHost& host, TW_UINT32 DG, TW_UINT16 DAT, bool bHasDefault, bool bHasReset) {
    T value = {};
    host.Call(DG, DAT, MSG_GET, &value);
    if (bHasDefault) {
        T defaults = {};
        host.Call(DG, DAT, MSG_GETDEFAULT, &defaults);
    }
    host.Call(DG, DAT, MSG_SET, &value);
    if (bHasReset) {
        T reset = {};
        host.Call(DG, DAT, MSG_RESET, &reset);
    }
}

void EveryCapability(CHost& host) {
    for (TW_UINT16 cap : SupportedCaps(host)) {
        GetCap(host, MSG_GET, cap);
        GetCap(host, MSG_GETCURRENT, cap);
        GetCap(host, MSG_GETDEFAULT, cap);
        if (Settable(host, cap)) GetCap(host, MSG_RESET, cap);
    }
    // The capabilities the application wants to negotiate later, as an array.
    SetCapContainer(host, CAP_EXTENDEDCAPS, TWON_ARRAY, NewUint16Array({ICAP_PIXELTYPE, ICAP_BRIGHTNESS}));
    GetCap(host, MSG_GET, CAP_EXTENDEDCAPS);
}

void EverySetting(CHost& host) {
    TW_UINT32 group = 0;
    host.Call(DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group);
    host.Call(DG_CONTROL, DAT_XFERGROUP, MSG_SET, &group);

    // The source's settings, stored and handed back.
    TW_CUSTOMDSDATA custom = {0, nullptr};
    if (host.Call(DG_CONTROL, DAT_CUSTOMDSDATA, MSG_GET, &custom) == TWRC_SUCCESS && custom.hData != nullptr) {
        host.Call(DG_CONTROL, DAT_CUSTOMDSDATA, MSG_SET, &custom);
        hostmem::FreeHandle(custom.hData);
    }

    TW_SETUPFILEXFER file = {};
    host.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &file);
    host.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETDEFAULT, &file);
    host.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_RESET, &file);

    RoundTrip<TW_JPEGCOMPRESSION>(host, DG_IMAGE, DAT_JPEGCOMPRESSION, true, true);
    TW_PALETTE8 palette = {};
    host.Call(DG_IMAGE, DAT_PALETTE8, MSG_GET, &palette);
    palette.PaletteType = TWPA_RGB;
    host.Call(DG_IMAGE, DAT_PALETTE8, MSG_SET, &palette);
    host.Call(DG_IMAGE, DAT_PALETTE8, MSG_GETDEFAULT, &palette);
    host.Call(DG_IMAGE, DAT_PALETTE8, MSG_RESET, &palette);

    // Tone curves: one entry per 8-bit level, a gamma of 1/2.2 for grey, a slight S for RGB.
    std::vector<TW_ELEMENT8> curve(256);
    for (int i = 0; i < 256; ++i) {
        const TW_UINT8 level = static_cast<TW_UINT8>(i);
        const double gamma = 255.0 * std::pow(i / 255.0, 1 / 2.2) + 0.5;
        const TW_UINT8 g = static_cast<TW_UINT8>(gamma);
        curve[i] = TW_ELEMENT8{level, g, g, g};
    }
    host.Call(DG_IMAGE, DAT_GRAYRESPONSE, MSG_SET, curve.data());
    host.Call(DG_IMAGE, DAT_GRAYRESPONSE, MSG_RESET, curve.data());
    for (int i = 0; i < 256; ++i) {
        const double s = 255.0 * (0.5 - 0.5 * std::cos(3.14159265358979 * i / 255.0)) + 0.5;
        curve[i].Channel1 = static_cast<TW_UINT8>(s);
        curve[i].Channel2 = static_cast<TW_UINT8>(i);
        curve[i].Channel3 = static_cast<TW_UINT8>(s);
    }
    host.Call(DG_IMAGE, DAT_RGBRESPONSE, MSG_SET, curve.data());
    host.Call(DG_IMAGE, DAT_RGBRESPONSE, MSG_RESET, curve.data());

    TW_CIECOLOR cie = {};
    host.Call(DG_IMAGE, DAT_CIECOLOR, MSG_GET, &cie);

    TW_IMAGELAYOUT layout = {};
    host.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETDEFAULT, &layout);
    host.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, &layout);
    layout.Frame = kScanFrame;
    host.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);

    RoundTrip<TWZV_AUTOEXPOSURE>(host, DG_IMAGE, DAT_ZV_AUTOEXPOSURE, true, true);
    RoundTrip<TWZV_RGBMATRIX>(host, DG_IMAGE, DAT_ZV_RGBMATRIX, true, true);
    RoundTrip<TWZV_COLORSMOOTHING>(host, DG_IMAGE, DAT_ZV_COLORSMOOTHING, false, false);
    RoundTrip<TWZV_USMPARAM>(host, DG_IMAGE, DAT_ZV_UNSHARPMASKPARAM, true, true);
    TWZV_USMINFO usm = {};
    host.Call(DG_IMAGE, DAT_ZV_USMINFO, MSG_GET, &usm);
    TWZV_SETTINGFRAME frame = {};
    host.Call(DG_CONTROL, DAT_ZV_SETTINGFRAME, MSG_GET, &frame);
    host.Call(DG_CONTROL, DAT_ZV_SETTINGFRAME, MSG_SET, &frame);
}

// A page the application does not take: it resets the pending transfers instead. The scanner's
// dialog is shown this time, so a click goes to the scanner.
void RefusePage(CHost& host) {
    TW_USERINTERFACE ui = {1, 0, nullptr};
    if (host.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS) return;
    if (WaitForPage(host)) {
        TW_PENDINGXFERS pending = {};
        host.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending);
        host.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
    }
    host.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
}

// ---- Sessions ----------------------------------------------------------------------------------

void PlayScan(CHost& host) {
    OpenSource(host);
    NegotiateScan(host, TWSX_MEMORY);
    ScanPage(host, Transfer::Memory, false);
    CloseSource(host);
}

void PlayError(CHost& host) {
    OpenSource(host);
    TW_STATUS status = {};
    // A flatbed scans one side only.
    GetCap(host, MSG_GET, CAP_DUPLEX);
    host.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    host.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);  // the condition is reported once
    // A resolution the scanner does not offer, and a capability it does not let change.
    SetCap(host, ICAP_XRESOLUTION, TWTY_FIX32, ToFix32(333));
    host.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    SetCap(host, CAP_ZV_VERSION, TWTY_UINT16, static_cast<TW_UINT16>(0x0300));
    host.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    // Calls out of sequence: no page yet, enabled twice, negotiation while enabled.
    TW_IMAGEINFO info = {};
    host.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
    host.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    TW_USERINTERFACE ui = {0, 0, nullptr};
    host.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    host.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    host.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    SetCap(host, ICAP_PIXELTYPE, TWTY_UINT16, static_cast<TW_UINT16>(TWPT_GRAY));
    host.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    host.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    CloseSource(host);
}

void PlayAll(CHost& host) {
    host.Call(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr);
    // The manager asks the source who it is before opening it.
    TW_IDENTITY identity = {};
    host.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity);
    host.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &host.Source());

    EveryCapability(host);
    EverySetting(host);
    NegotiateScan(host, TWSX_MEMORY);
    ScanPage(host, Transfer::Memory, true);

    SetCap(host, ICAP_XFERMECH, TWTY_UINT16, static_cast<TW_UINT16>(TWSX_NATIVE));
    ScanPage(host, Transfer::Native, false);

    // A file transfer into a folder of our own.
    char szFolder[] = "/tmp/sessionplayer.XXXXXX";
    if (mkdtemp(szFolder) != nullptr) {
        TW_SETUPFILEXFER file = {};
        snprintf(file.FileName, sizeof file.FileName, "%s/page.bmp", szFolder);
        file.Format = TWFF_BMP;
        SetCap(host, ICAP_XFERMECH, TWTY_UINT16, static_cast<TW_UINT16>(TWSX_FILE));
        host.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &file);
        ScanPage(host, Transfer::File, false);
        unlink(file.FileName);
        rmdir(szFolder);
    }

    RefusePage(host);
    CloseSource(host);
}

}  // namespace

const std::vector<SessionInfo>& Sessions() {
    static const std::vector<SessionInfo> kSessions = {
        {"scan", "a complete scan: open, negotiate, one page in memory strips, close"},
        {"error", "failures: an unsupported capability, bad values, calls out of sequence, each with its status"},
        {"all", "every DAT the scanner answers: all capabilities, settings, memory, native and file transfers"},
    };
    return kSessions;
}

bool PlaySession(const std::string& name, CHost& host) {
    if (name == "scan") {
        PlayScan(host);
    } else if (name == "error") {
        PlayError(host);
    } else if (name == "all") {
        PlayAll(host);
    } else {
        return false;
    }
    return true;
}

}  // namespace player
