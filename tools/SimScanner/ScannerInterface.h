// What an application knows about the simulated scanner: the TWAIN codes it negotiates beyond
// those of TwainTypes.h, and the window-event record it is handed with DAT_EVENT.
#ifndef TWAINMON_SIMSCANNER_SCANNERINTERFACE_H
#define TWAINMON_SIMSCANNER_SCANNERINTERFACE_H

#include <cmath>

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

// Capabilities beyond those named in TwainTypes.h.
enum : TW_UINT16 {
    CAP_AUTHOR = 0x1000,
    CAP_EXTENDEDCAPS = 0x1006,
    CAP_INDICATORS = 0x100B,
    CAP_DUPLEX = 0x1012,
    ICAP_SHADOW = 0x1113,
    ICAP_HIGHLIGHT = 0x110A,
    ICAP_ZV_FOCUS = 0x800D,
    CAP_ZV_MODELID = 0x8013,
    CAP_ZV_MODELNAME = 0x8014,
    CAP_ZV_PROGRESS = 0x8015,
    CAP_ZV_INDICATORSTRING = 0x802B,
    ICAP_ZV_OVERSCANMARGIN = 0x8066,
    ICAP_ZV_TEXTENHANCEMENTLEVEL = 0x8061,
};

// Values of the enumerated capabilities.
enum : TW_UINT16 {
    TWPT_BW = 0,
    TWPT_GRAY = 1,
    TWPT_RGB = 2,
    TWPT_CIEXYZ = 8,
};
enum : TW_UINT16 { TWUN_INCHES = 0, TWUN_CENTIMETERS = 1, TWUN_PIXELS = 5 };
enum : TW_UINT16 { TWSX_NATIVE = 0, TWSX_FILE = 1, TWSX_MEMORY = 2 };
enum : TW_UINT16 { TWCP_NONE = 0, TWCP_JPEG = 6 };
enum : TW_UINT16 { TWOR_ROT0 = 0, TWOR_ROT90 = 1, TWOR_ROT180 = 2, TWOR_ROT270 = 3 };
enum : TW_UINT16 { TWSS_NONE = 0, TWSS_A4LETTER = 1, TWSS_B5LETTER = 2, TWSS_USLETTER = 3, TWSS_USLEGAL = 4, TWSS_A5 = 5 };
enum : TW_UINT16 { TWFF_TIFF = 0, TWFF_PICT = 1, TWFF_BMP = 2 };
enum : TW_UINT16 { TWZV_UI_CONVENTIONAL = 0, TWZV_UI_ADVANCED = 1, TWZV_UI_EASY = 2 };
enum : TW_UINT16 { TWZV_FT_POSI = 0, TWZV_FT_NEGA = 1, TWZV_FT_REFLECTIVE = 2 };
enum : TW_UINT16 { TWZV_PG_10 = 0, TWZV_PG_18 = 1 };
enum : TW_UINT16 { TWPA_RGB = 0, TWPA_GRAY = 1 };

// The operations a capability supports, as MSG_QUERYSUPPORT reports them.
enum : TW_INT32 {
    TWQC_GET = 0x0001,
    TWQC_SET = 0x0002,
    TWQC_GETDEFAULT = 0x0004,
    TWQC_GETCURRENT = 0x0008,
    TWQC_RESET = 0x0010,
};

// Who owns a TW_MEMORY block and what it holds.
enum : TW_UINT32 {
    TWMF_APPOWNS = 0x0001,
    TWMF_DSMOWNS = 0x0002,
    TWMF_DSOWNS = 0x0004,
    TWMF_POINTER = 0x0008,
    TWMF_HANDLE = 0x0010,
};

// Languages and countries of the identities.
enum : TW_UINT16 { TWLG_ENGLISH_USA = 13, TWLG_JAPANESE = 22 };
enum : TW_UINT16 { TWCY_USA = 1, TWCY_JAPAN = 81 };

// Extended image information the scanner reports after a transfer.
enum : TW_UINT16 {
    TWEI_DOCUMENTNUMBER = 0x123A,
    TWEI_PAGENUMBER = 0x123B,
};

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

// When this environment variable is set, the scanner reports on standard error what it is
// created for.
constexpr const char* kDebugVariable = "TWAINMON_SIMSCANNER_DEBUG";

}  // namespace simscan

#endif  // TWAINMON_SIMSCANNER_SCANNERINTERFACE_H
