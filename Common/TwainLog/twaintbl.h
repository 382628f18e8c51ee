// Name tables: every TWAIN code the transcript shows by name, and the lookups that name them.
//
// Each table is one constant array of (name, value) rows in a fixed order, closed by the row
// ("ERROR!", -1). Where two rows share a value the first one wins. Row counts are derived from
// the arrays (RowCount), never written a second time.
#ifndef TWAINMON_TWAINTBL_H
#define TWAINMON_TWAINTBL_H

#include <cstddef>
#include <cstdint>

#include "TwainTypes.h"

struct MacroEntry {
    // Rows are written {"NAME", value}; the name's length is counted while compiling.
    constexpr MacroEntry(const char* pszName, int64_t v) : name(pszName), value(v), length(LengthOf(pszName)) {}

    const char* name;
    int64_t value;
    uint8_t length;  // of name, without its NUL

private:
    static constexpr uint8_t LengthOf(const char* psz) {
        uint8_t n = 0;
        while (psz[n] != '\0') ++n;
        return n;
    }
};

struct ValToCapEntry {
    uint32_t cap;
    int32_t count;  // rows of the value table plus its terminator
    const MacroEntry* table;
};

// Every lookup writes into a caller's buffer of at least this many bytes.
constexpr size_t kNameBufferSize = 64;

// Rows of a table, terminator excluded.
template <size_t N>
constexpr size_t RowCount(const MacroEntry (&)[N]) {
    return N - 1;
}

// Name lookup: the first row whose value equals code, else "ERROR!(<code as signed 32-bit>)".
// The caller widens the field by its own type (unsigned without sign, signed with sign).
// Returns whether a row matched.
bool LookupMacroName(const MacroEntry* table, size_t rows, int64_t code, char* pszOut);

template <size_t N>
inline bool LookupMacroName(const MacroEntry (&table)[N], int64_t code, char* pszOut) {
    return LookupMacroName(table, N - 1, code, pszOut);
}

// Capability name: cap_macros then icap_macros up to 0x8000, cap_zv_macros then icap_zv_macros above.
// Returns the length of the text written.
size_t LookupCapName(TW_UINT16 cap, char* pszOut);

// Value name of a capability's value through VALTOCAP (cap <= 0x8000) or VALTOCAPZV: the name,
// the not-found text when the capability's table lacks the value, or plain "%d" when the
// capability has no directory row. Returns the length of the text written.
size_t LookupCapValueName(TW_UINT16 cap, TW_UINT16 value, char* pszOut);

// ---- Name tables ------------------------------------------------------------------------------

inline constexpr MacroEntry twrc_macros[] = {
    {"TWRC_CUSTOMBASE", 0x8000},
    {"TWRC_SUCCESS", 0x0},
    {"TWRC_FAILURE", 0x1},
    {"TWRC_CHECKSTATUS", 0x2},
    {"TWRC_CANCEL", 0x3},
    {"TWRC_DSEVENT", 0x4},
    {"TWRC_NOTDSEVENT", 0x5},
    {"TWRC_XFERDONE", 0x6},
    {"TWRC_ENDOFLIST", 0x7},
    {"TWRC_INFONOTSUPPORTED", 0x8},
    {"TWRC_DATANOTAVAILABLE", 0x9},
    {"ERROR!", -1},
};

inline constexpr MacroEntry dg_macros[] = {
    {"DG_CONTROL", 1},
    {"DG_IMAGE", 2},
    {"DG_AUDIO", 4},
    {"ERROR!", -1},
};

inline constexpr MacroEntry dat_macros[] = {
    {"DAT_NULL", 0x0},
    {"DAT_CUSTOMBASE", 0x8000},
    {"DAT_CAPABILITY", 0x1},
    {"DAT_EVENT", 0x2},
    {"DAT_IDENTITY", 0x3},
    {"DAT_PARENT", 0x4},
    {"DAT_PENDINGXFERS", 0x5},
    {"DAT_SETUPMEMXFER", 0x6},
    {"DAT_SETUPFILEXFER", 0x7},
    {"DAT_STATUS", 0x8},
    {"DAT_USERINTERFACE", 0x9},
    {"DAT_XFERGROUP", 0xA},
    {"DAT_TWUNKIDENTITY", 0xB},
    {"DAT_CUSTOMDSDATA", 0xC},
    {"DAT_DEVICEEVENT", 0xD},
    {"DAT_FILESYSTEM", 0xE},
    {"DAT_PASSTHRU", 0xF},
    {"DAT_IMAGEINFO", 0x101},
    {"DAT_IMAGELAYOUT", 0x102},
    {"DAT_IMAGEMEMXFER", 0x103},
    {"DAT_IMAGENATIVEXFER", 0x104},
    {"DAT_IMAGEFILEXFER", 0x105},
    {"DAT_CIECOLOR", 0x106},
    {"DAT_GRAYRESPONSE", 0x107},
    {"DAT_RGBRESPONSE", 0x108},
    {"DAT_JPEGCOMPRESSION", 0x109},
    {"DAT_PALETTE8", 0x10A},
    {"DAT_EXTIMAGEINFO", 0x10B},
    {"DAT_AUDIOFILEXFER", 0x201},
    {"DAT_AUDIOINFO", 0x202},
    {"DAT_AUDIONATIVEXFER", 0x203},
    {"DAT_CALLBACK", 0x10},
    {"DAT_SETUPFILEXFER2", 0x301},
    {"ERROR!", -1},
};

inline constexpr MacroEntry dat_zv_macros[] = {
    {"DAT_ZV_AUTOEXPOSURE", 0x8001},
    {"DAT_ZV_RGBMATRIX", 0x8002},
    {"DAT_ZV_COLORSMOOTHING", 0x8003},
    {"DAT_ZV_EVENT", 0x8004},
    {"DAT_ZV_HARDWAREINFO", 0x8005},
    {"DAT_ZV_SKEWINFO", 0x8006},
    {"DAT_ZV_UNSHARPMASKPARAM", 0x8007},
    {"DAT_ZV_REDCORRECTIONMATRIX", 0x8008},
    {"DAT_ZV_TWAINCALLBACKMSG", 0x8009},
    {"DAT_ZV_SETTINGFRAME", 0x800A},
    {"DAT_ZV_USMINFO", 0x800B},
    {"DAT_ZV_EDGEFILLAREA", 0x8015},
    {"DAT_ZV_COLORFILTER", 0x8016},
    {"DAT_ZV_DUALIMAGE", 0x8017},
    {"ERROR!", -1},
};

inline constexpr MacroEntry msg_macros[] = {
    {"MSG_NULL", 0x0},
    {"MSG_CUSTOMBASE", 0x8000},
    {"MSG_GET", 0x1},
    {"MSG_GETCURRENT", 0x2},
    {"MSG_GETDEFAULT", 0x3},
    {"MSG_GETFIRST", 0x4},
    {"MSG_GETNEXT", 0x5},
    {"MSG_SET", 0x6},
    {"MSG_RESET", 0x7},
    {"MSG_QUERYSUPPORT", 0x8},
    {"MSG_XFERREADY", 0x101},
    {"MSG_CLOSEDSREQ", 0x102},
    {"MSG_CLOSEDSOK", 0x103},
    {"MSG_DEVICEEVENT", 0x104},
    {"MSG_CHECKSTATUS", 0x201},
    {"MSG_OPENDSM", 0x301},
    {"MSG_CLOSEDSM", 0x302},
    {"MSG_OPENDS", 0x401},
    {"MSG_CLOSEDS", 0x402},
    {"MSG_USERSELECT", 0x403},
    {"MSG_DISABLEDS", 0x501},
    {"MSG_ENABLEDS", 0x502},
    {"MSG_ENABLEDSUIONLY", 0x503},
    {"MSG_PROCESSEVENT", 0x601},
    {"MSG_ENDXFER", 0x701},
    {"MSG_CHANGEDIRECTORY", 0x801},
    {"MSG_CREATEDIRECTORY", 0x802},
    {"MSG_DELETE", 0x803},
    {"MSG_FORMATMEDIA", 0x804},
    {"MSG_GETCLOSE", 0x805},
    {"MSG_GETFIRSTFILE", 0x806},
    {"MSG_GETINFO", 0x807},
    {"MSG_GETNEXTFILE", 0x808},
    {"MSG_RENAME", 0x809},
    {"MSG_PASSTHRU", 0x901},
    {"ERROR!", -1},
};

inline constexpr MacroEntry msg_zv_macros[] = {
    {"MSG_ZV_TIMERRESET", 0x8001},
    {"MSG_ZV_XFERREQUEST", 0x8002},
    {"ERROR!", -1},
};

inline constexpr MacroEntry cap_macros[] = {
    {"CAP_CUSTOMBASE", 0x8000},
    {"CAP_XFERCOUNT", 0x1},
    {"CAP_AUTHOR", 0x1000},
    {"CAP_CAPTION", 0x1001},
    {"CAP_FEEDERENABLED", 0x1002},
    {"CAP_FEEDERLOADED", 0x1003},
    {"CAP_TIMEDATE", 0x1004},
    {"CAP_SUPPORTEDCAPS", 0x1005},
    {"CAP_EXTENDEDCAPS", 0x1006},
    {"CAP_AUTOFEED", 0x1007},
    {"CAP_CLEARPAGE", 0x1008},
    {"CAP_FEEDPAGE", 0x1009},
    {"CAP_REWINDPAGE", 0x100A},
    {"CAP_INDICATORS", 0x100B},
    {"CAP_SUPPORTEDCAPSEXT", 0x100C},
    {"CAP_PAPERDETECTABLE", 0x100D},
    {"CAP_UICONTROLLABLE", 0x100E},
    {"CAP_DEVICEONLINE", 0x100F},
    {"CAP_AUTOSCAN", 0x1010},
    {"CAP_THUMBNAILSENABLED", 0x1011},
    {"CAP_DUPLEX", 0x1012},
    {"CAP_DUPLEXENABLED", 0x1013},
    {"CAP_ENABLEDSUIONLY", 0x1014},
    {"CAP_CUSTOMDSDATA", 0x1015},
    {"CAP_ENDORSER", 0x1016},
    {"CAP_JOBCONTROL", 0x1017},
    {"CAP_ALARMS", 0x1018},
    {"CAP_ALARMVOLUME", 0x1019},
    {"CAP_AUTOMATICCAPTURE", 0x101A},
    {"CAP_TIMEBEFOREFIRSTCAPTURE", 0x101B},
    {"CAP_TIMEBETWEENCAPTURES", 0x101C},
    {"CAP_CLEARBUFFERS", 0x101D},
    {"CAP_MAXBATCHBUFFERS", 0x101E},
    {"CAP_DEVICETIMEDATE", 0x101F},
    {"CAP_POWERSUPPLY", 0x1020},
    {"CAP_CAMERAPREVIEWUI", 0x1021},
    {"CAP_DEVICEEVENT", 0x1022},
    {"CAP_SERIALNUMBER", 0x1024},
    {"CAP_PRINTER", 0x1026},
    {"CAP_PRINTERENABLED", 0x1027},
    {"CAP_PRINTERINDEX", 0x1028},
    {"CAP_PRINTERMODE", 0x1029},
    {"CAP_PRINTERSTRING", 0x102A},
    {"CAP_PRINTERSUFFIX", 0x102B},
    {"CAP_LANGUAGE", 0x102C},
    {"CAP_FEEDERALIGNMENT", 0x102D},
    {"CAP_FEEDERORDER", 0x102E},
    {"CAP_REACQUIREALLOWED", 0x1030},
    {"CAP_BATTERYMINUTES", 0x1032},
    {"CAP_BATTERYPERCENTAGE", 0x1033},
    {"ERROR!", -1},
};

inline constexpr MacroEntry icap_macros[] = {
    {"ICAP_COMPRESSION", 0x100},
    {"ICAP_PIXELTYPE", 0x101},
    {"ICAP_UNITS", 0x102},
    {"ICAP_XFERMECH", 0x103},
    {"ICAP_AUTOBRIGHT", 0x1100},
    {"ICAP_BRIGHTNESS", 0x1101},
    {"ICAP_CONTRAST", 0x1103},
    {"ICAP_CUSTHALFTONE", 0x1104},
    {"ICAP_EXPOSURETIME", 0x1105},
    {"ICAP_FILTER", 0x1106},
    {"ICAP_FLASHUSED", 0x1107},
    {"ICAP_GAMMA", 0x1108},
    {"ICAP_HALFTONES", 0x1109},
    {"ICAP_HIGHLIGHT", 0x110A},
    {"ICAP_IMAGEFILEFORMAT", 0x110C},
    {"ICAP_LAMPSTATE", 0x110D},
    {"ICAP_LIGHTSOURCE", 0x110E},
    {"ICAP_ORIENTATION", 0x1110},
    {"ICAP_PHYSICALWIDTH", 0x1111},
    {"ICAP_PHYSICALHEIGHT", 0x1112},
    {"ICAP_SHADOW", 0x1113},
    {"ICAP_FRAMES", 0x1114},
    {"ICAP_XNATIVERESOLUTION", 0x1116},
    {"ICAP_YNATIVERESOLUTION", 0x1117},
    {"ICAP_XRESOLUTION", 0x1118},
    {"ICAP_YRESOLUTION", 0x1119},
    {"ICAP_MAXFRAMES", 0x111A},
    {"ICAP_TILES", 0x111B},
    {"ICAP_BITORDER", 0x111C},
    {"ICAP_CCITTKFACTOR", 0x111D},
    {"ICAP_LIGHTPATH", 0x111E},
    {"ICAP_PIXELFLAVOR", 0x111F},
    {"ICAP_PLANARCHUNKY", 0x1120},
    {"ICAP_ROTATION", 0x1121},
    {"ICAP_SUPPORTEDSIZES", 0x1122},
    {"ICAP_THRESHOLD", 0x1123},
    {"ICAP_XSCALING", 0x1124},
    {"ICAP_YSCALING", 0x1125},
    {"ICAP_BITORDERCODES", 0x1126},
    {"ICAP_PIXELFLAVORCODES", 0x1127},
    {"ICAP_JPEGPIXELTYPE", 0x1128},
    {"ICAP_TIMEFILL", 0x112A},
    {"ICAP_BITDEPTH", 0x112B},
    {"ICAP_BITDEPTHREDUCTION", 0x112C},
    {"ICAP_UNDEFINEDIMAGESIZE", 0x112D},
    {"ICAP_IMAGEDATASET", 0x112E},
    {"ICAP_EXTIMAGEINFO", 0x112F},
    {"ICAP_MINIMUMHEIGHT", 0x1130},
    {"ICAP_MINIMUMWIDTH", 0x1131},
    {"ICAP_AUTODISCARDBLANKPAGES", 0x1134},
    {"ICAP_FLIPROTATION", 0x1136},
    {"ICAP_BARCODEDETECTIONENABLED", 0x1137},
    {"ICAP_SUPPORTEDBARCODETYPES", 0x1138},
    {"ICAP_BARCODEMAXSEARCHPRIORITIES", 0x1139},
    {"ICAP_BARCODESEARCHPRIORITIES", 0x113A},
    {"ICAP_BARCODESEARCHMODE", 0x113B},
    {"ICAP_BARCODEMAXRETRIES", 0x113C},
    {"ICAP_BARCODETIMEOUT", 0x113D},
    {"ICAP_ZOOMFACTOR", 0x113E},
    {"ICAP_PATCHCODEDETECTIONENABLED", 0x113F},
    {"ICAP_SUPPORTEDPATCHCODETYPES", 0x1140},
    {"ICAP_PATCHCODEMAXSEARCHPRIORITIES", 0x1141},
    {"ICAP_PATCHCODESEARCHPRIORITIES", 0x1142},
    {"ICAP_PATCHCODESEARCHMODE", 0x1143},
    {"ICAP_PATCHCODEMAXRETRIES", 0x1144},
    {"ICAP_PATCHCODETIMEOUT", 0x1145},
    {"ICAP_FLASHUSED2", 0x1146},
    {"ICAP_IMAGEFILTER", 0x1147},
    {"ICAP_NOISEFILTER", 0x1148},
    {"ICAP_OVERSCAN", 0x1149},
    {"ICAP_AUTOMATICBORDERDETECTION", 0x1150},
    {"ICAP_AUTOMATICDESKEW", 0x1151},
    {"ICAP_AUTOMATICROTATE", 0x1152},
    {"ICAP_JPEGQUALITY", 0x1153},
    {"ICAP_AUTOSIZE", 0x1156},
    {"ICAP_IMAGEMERGE", 0x115C},
    {"ERROR!", -1},
};

inline constexpr MacroEntry cap_zv_macros[] = {
    {"CAP_ZV_VERSION", 0x8001},
    {"CAP_ZV_TPUENABLED", 0x8002},
    {"CAP_ZV_PRODUCTNAME", 0x800C},
    {"CAP_ZV_UIMODE", 0x800F},
    {"CAP_ZV_AUTOLAYOUT", 0x8011},
    {"CAP_ZV_COMMANDLEVEL", 0x8012},
    {"CAP_ZV_MODELID", 0x8013},
    {"CAP_ZV_MODELNAME", 0x8014},
    {"CAP_ZV_PROGRESS", 0x8015},
    {"CAP_ZV_STARTBUTTONENABLED", 0x8016},
    {"CAP_ZV_TABLEARRANGEMENT", 0x8017},
    {"CAP_ZV_TPUTYPE", 0x8018},
    {"CAP_ZV_USERINTERFACE", 0x8019},
    {"CAP_ZV_INDICATORSTRING", 0x802B},
    {"CAP_ZV_AFLENABLED", 0x8032},
    {"CAP_ZV_AFLFILMTYPE", 0x8033},
    {"CAP_ZV_AFLLOADED", 0x8034},
    {"CAP_ZV_FEEDERTYPE", 0x803B},
    {"CAP_ZV_LIDFILMTYPE", 0x803D},
    {"CAP_ZV_FEEDERALIGNMENT", 0x803E},
    {"CAP_ZV_DOUBLEFEEDDETECTION", 0x804E},
    {"CAP_ZV_SUPPRESSDEVICEERROR", 0x8057},
    {"CAP_ZV_DUALIMAGE", 0x8068},
    {"ERROR!", -1},
};

inline constexpr MacroEntry icap_zv_macros[] = {
    {"ICAP_ZV_FILMTYPE", 0x8003},
    {"ICAP_ZV_DRAFTSCAN", 0x8004},
    {"ICAP_ZV_EXPOSUREMODE", 0x8005},
    {"ICAP_ZV_LUT1", 0x8007},
    {"ICAP_ZV_LUT2", 0x8008},
    {"ICAP_ZV_COLORCORRECTION", 0x8009},
    {"ICAP_ZV_DESCREENING", 0x800A},
    {"ICAP_ZV_MAXRESFORDESCREENING", 0x800B},
    {"ICAP_ZV_FOCUS", 0x800D},
    {"ICAP_ZV_UNSHARPMASK", 0x800E},
    {"ICAP_ZV_VELMAP", 0x8010},
    {"ICAP_ZV_AUTOFOCUS", 0x801A},
    {"ICAP_ZV_BACKSIDEIMGUPSIDEDOWN", 0x801B},
    {"ICAP_ZV_CMM", 0x801C},
    {"ICAP_ZV_CMMSOURCENAME", 0x801D},
    {"ICAP_ZV_CMMTARGETNAME", 0x801E},
    {"ICAP_ZV_COLORSMOOTHING", 0x801F},
    {"ICAP_ZV_DESCREENINGLEVEL", 0x8020},
    {"ICAP_ZV_DISPLAYGAMMA", 0x8021},
    {"ICAP_ZV_MIRROR", 0x8022},
    {"ICAP_ZV_SKEW", 0x8023},
    {"ICAP_ZV_UNSHARPMASKLEVEL", 0x8024},
    {"ICAP_ZV_COLORADJUSTMENT", 0x8025},
    {"ICAP_ZV_COLORRESTORATION", 0x8026},
    {"ICAP_ZV_DUSTREMOVAL", 0x8027},
    {"ICAP_ZV_DUSTREMOVALLEVEL", 0x8028},
    {"ICAP_ZV_GRAINREDUCTION", 0x8029},
    {"ICAP_ZV_GRAINREDUCTIONLEVEL", 0x802A},
    {"ICAP_ZV_DIGITALICE", 0x802C},
    {"ICAP_ZV_DIGITALICELEVEL", 0x802D},
    {"ICAP_ZV_MAXRESFORDIGITALICE", 0x802E},
    {"ICAP_ZV_NEGAMODESUPPORT", 0x802F},
    {"ICAP_ZV_HOLDERTYPE", 0x8030},
    {"ICAP_ZV_FILMSIZE", 0x8031},
    {"ICAP_ZV_AFLPREVIEWPHYSICALHEIGHT", 0x8035},
    {"ICAP_ZV_AFLPREVIEWPHYSICALWIDTH", 0x8036},
    {"ICAP_ZV_AFLSCANPHYSICALHEIGHT", 0x8037},
    {"ICAP_ZV_AFLSCANPHYSICALWIDTH", 0x8038},
    {"ICAP_ZV_AFLMOUNTPHYSICALHEIGHT", 0x8039},
    {"ICAP_ZV_AFLMOUNTPHYSICALWIDTH", 0x803A},
    {"ICAP_ZV_FEEDERTHUMBNAILENABLED", 0x803C},
    {"ICAP_ZV_ADE", 0x8043},
    {"ICAP_ZV_ADFSUPPORTEDMINHEIGHT", 0x8045},
    {"ICAP_ZV_ADFSUPPORTEDMINWIDTH", 0x8046},
    {"ICAP_ZV_AUTOSIZE", 0x8050},
    {"ICAP_ZV_AUTOCOLORDETECTION", 0x8051},
    {"ICAP_ZV_PUNCHHOLEREMOVAL", 0x8052},
    {"ICAP_ZV_BLANKPAGESKIP", 0x8053},
    {"ICAP_ZV_EDGEFILL", 0x8059},
    {"ICAP_ZV_DROPOUTCOLOR", 0x8062},
    {"ICAP_ZV_OVERSCANMARGIN", 0x8066},
    {"ICAP_ZV_KDW", 0x8054},
    {"ICAP_ZV_ADFMAXHEIGHT", 0x8056},
    {"ICAP_ZV_TEXTENHANCEMENT", 0x8043},
    {"ICAP_ZV_TEXTENHANCEMENTLEVEL", 0x8061},
    {"ICAP_ZV_COLORENHANCEMENT", 0x804A},
    {"ICAP_ZV_COLORENHANCEMENT2", 0x8063},
    {"ICAP_ZV_COLORSLIPREDUCTION", 0x8079},
    {"ICAP_ZV_AUTOSIZETYPE", 0x8081},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twty_macros[] = {
    {"TWTY_INT8", 0},
    {"TWTY_INT16", 1},
    {"TWTY_INT32", 2},
    {"TWTY_UINT8", 3},
    {"TWTY_UINT16", 4},
    {"TWTY_UINT32", 5},
    {"TWTY_BOOL", 6},
    {"TWTY_FIX32", 7},
    {"TWTY_FRAME", 8},
    {"TWTY_STR32", 9},
    {"TWTY_STR64", 10},
    {"TWTY_STR128", 11},
    {"TWTY_STR255", 12},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twon_macros[] = {
    {"TWON_PROTOCOLMINOR", 0x9},
    {"TWON_PROTOCOLMAJOR", 0x1},
    {"TWON_ARRAY", 0x3},
    {"TWON_ENUMERATION", 0x4},
    {"TWON_ONEVALUE", 0x5},
    {"TWON_RANGE", 0x6},
    {"TWON_ICONID", 0x3C2},
    {"TWON_DSMID", 0x1CD},
    {"TWON_DSMCODEID", 0x3F},
    {"TWON_DONTCARE8", 0xFF},
    {"TWON_DONTCARE16", 0xFFFF},
    {"TWON_DONTCARE32", 0xFFFFFFFF},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twcc_macros[] = {
    {"TWCC_CUSTOMBASE", 0x8000},
    {"TWCC_SUCCESS", 0x0},
    {"TWCC_BUMMER", 0x1},
    {"TWCC_LOWMEMORY", 0x2},
    {"TWCC_NODS", 0x3},
    {"TWCC_MAXCONNECTIONS", 0x4},
    {"TWCC_OPERATIONERROR", 0x5},
    {"TWCC_BADCAP", 0x6},
    {"TWCC_BADPROTOCOL", 0x9},
    {"TWCC_BADVALUE", 0xA},
    {"TWCC_SEQERROR", 0xB},
    {"TWCC_BADDEST", 0xC},
    {"TWCC_CAPUNSUPPORTED", 0xD},
    {"TWCC_CAPBADOPERATION", 0xE},
    {"TWCC_CAPSEQERROR", 0xF},
    {"TWCC_DENIED", 0x10},
    {"TWCC_FILEEXISTS", 0x11},
    {"TWCC_FILENOTFOUND", 0x12},
    {"TWCC_NOTEMPTY", 0x13},
    {"TWCC_PAPERJAM", 0x14},
    {"TWCC_PAPERDOUBLEFEED", 0x15},
    {"TWCC_FILEWRITEERROR", 0x16},
    {"TWCC_CHECKDEVICEONLINE", 0x17},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twlg_macros[] = {
    {"TWLG_DAN", 0},
    {"TWLG_DUT", 1},
    {"TWLG_ENG", 2},
    {"TWLG_FCF", 3},
    {"TWLG_FIN", 4},
    {"TWLG_FRN", 5},
    {"TWLG_GER", 6},
    {"TWLG_ICE", 7},
    {"TWLG_ITN", 8},
    {"TWLG_NOR", 9},
    {"TWLG_POR", 10},
    {"TWLG_SPA", 11},
    {"TWLG_SWE", 12},
    {"TWLG_USA", 13},
    {"TWLG_USERLOCALE", -1},
    {"TWLG_AFRIKAANS", 14},
    {"TWLG_ALBANIA", 15},
    {"TWLG_ARABIC", 16},
    {"TWLG_ARABIC_ALGERIA", 17},
    {"TWLG_ARABIC_BAHRAIN", 18},
    {"TWLG_ARABIC_EGYPT", 19},
    {"TWLG_ARABIC_IRAQ", 20},
    {"TWLG_ARABIC_JORDAN", 21},
    {"TWLG_ARABIC_KUWAIT", 22},
    {"TWLG_ARABIC_LEBANON", 23},
    {"TWLG_ARABIC_LIBYA", 24},
    {"TWLG_ARABIC_MOROCCO", 25},
    {"TWLG_ARABIC_OMAN", 26},
    {"TWLG_ARABIC_QATAR", 27},
    {"TWLG_ARABIC_SAUDIARABIA", 28},
    {"TWLG_ARABIC_SYRIA", 29},
    {"TWLG_ARABIC_TUNISIA", 30},
    {"TWLG_ARABIC_UAE", 31},
    {"TWLG_ARABIC_YEMEN", 32},
    {"TWLG_BASQUE", 33},
    {"TWLG_BYELORUSSIAN", 34},
    {"TWLG_BULGARIAN", 35},
    {"TWLG_CATALAN", 36},
    {"TWLG_CHINESE", 37},
    {"TWLG_CHINESE_HONGKONG", 38},
    {"TWLG_CHINESE_PRC", 39},
    {"TWLG_CHINESE_SINGAPORE", 40},
    {"TWLG_CHINESE_SIMPLIFIED", 41},
    {"TWLG_CHINESE_TAIWAN", 42},
    {"TWLG_CHINESE_TRADITIONAL", 43},
    {"TWLG_CROATIA", 44},
    {"TWLG_CZECH", 45},
    {"TWLG_DANISH", 0},
    {"TWLG_DUTCH", 1},
    {"TWLG_DUTCH_BELGIAN", 46},
    {"TWLG_ENGLISH", 2},
    {"TWLG_ENGLISH_AUSTRALIAN", 47},
    {"TWLG_ENGLISH_CANADIAN", 48},
    {"TWLG_ENGLISH_IRELAND", 49},
    {"TWLG_ENGLISH_NEWZEALAND", 50},
    {"TWLG_ENGLISH_SOUTHAFRICA", 51},
    {"TWLG_ENGLISH_UK", 52},
    {"TWLG_ENGLISH_USA", 13},
    {"TWLG_ESTONIAN", 53},
    {"TWLG_FAEROESE", 54},
    {"TWLG_FARSI", 55},
    {"TWLG_FINNISH", 4},
    {"TWLG_FRENCH", 5},
    {"TWLG_FRENCH_BELGIAN", 56},
    {"TWLG_FRENCH_CANADIAN", 3},
    {"TWLG_FRENCH_LUXEMBOURG", 57},
    {"TWLG_FRENCH_SWISS", 58},
    {"TWLG_GERMAN", 6},
    {"TWLG_GERMAN_AUSTRIAN", 59},
    {"TWLG_GERMAN_LUXEMBOURG", 60},
    {"TWLG_GERMAN_LIECHTENSTEIN", 61},
    {"TWLG_GERMAN_SWISS", 62},
    {"TWLG_GREEK", 63},
    {"TWLG_HEBREW", 64},
    {"TWLG_HUNGARIAN", 65},
    {"TWLG_ICELANDIC", 7},
    {"TWLG_INDONESIAN", 66},
    {"TWLG_ITALIAN", 8},
    {"TWLG_ITALIAN_SWISS", 67},
    {"TWLG_JAPANESE", 68},
    {"TWLG_KOREAN", 69},
    {"TWLG_KOREAN_JOHAB", 70},
    {"TWLG_LATVIAN", 71},
    {"TWLG_LITHUANIAN", 72},
    {"TWLG_NORWEGIAN", 9},
    {"TWLG_NORWEGIAN_BOKMAL", 73},
    {"TWLG_NORWEGIAN_NYNORSK", 74},
    {"TWLG_POLISH", 75},
    {"TWLG_PORTUGUESE", 10},
    {"TWLG_PORTUGUESE_BRAZIL", 76},
    {"TWLG_ROMANIAN", 77},
    {"TWLG_RUSSIAN", 78},
    {"TWLG_SERBIAN_LATIN", 79},
    {"TWLG_SLOVAK", 80},
    {"TWLG_SLOVENIAN", 81},
    {"TWLG_SPANISH", 11},
    {"TWLG_SPANISH_MEXICAN", 82},
    {"TWLG_SPANISH_MODERN", 83},
    {"TWLG_SWEDISH", 12},
    {"TWLG_THAI", 84},
    {"TWLG_TURKISH", 85},
    {"TWLG_UKRANIAN", 86},
    {"TWLG_ASSAMESE", 87},
    {"TWLG_BENGALI", 88},
    {"TWLG_BIHARI", 89},
    {"TWLG_BODO", 90},
    {"TWLG_DOGRI", 91},
    {"TWLG_GUJARATI", 92},
    {"TWLG_HARYANVI", 93},
    {"TWLG_HINDI", 94},
    {"TWLG_KANNADA", 95},
    {"TWLG_KASHMIRI", 96},
    {"TWLG_MALAYALAM", 97},
    {"TWLG_MARATHI", 98},
    {"TWLG_MARWARI", 99},
    {"TWLG_MEGHALAYAN", 100},
    {"TWLG_MIZO", 101},
    {"TWLG_NAGA", 102},
    {"TWLG_ORISSI", 103},
    {"TWLG_PUNJABI", 104},
    {"TWLG_PUSHTU", 105},
    {"TWLG_SERBIAN_CYRILLIC", 106},
    {"TWLG_SIKKIMI", 107},
    {"TWLG_SWEDISH_FINLAND", 108},
    {"TWLG_TAMIL", 109},
    {"TWLG_TELUGU", 110},
    {"TWLG_TRIPURI", 111},
    {"TWLG_URDU", 112},
    {"TWLG_VIETNAMESE", 113},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twcy_macros[] = {
    {"TWCY_AFGHANISTAN", 1001},
    {"TWCY_ALGERIA", 213},
    {"TWCY_AMERICANSAMOA", 684},
    {"TWCY_ANDORRA", 27},
    {"TWCY_ANGOLA", 1002},
    {"TWCY_ANGUILLA", 8090},
    {"TWCY_ANTIGUA", 8091},
    {"TWCY_ARGENTINA", 54},
    {"TWCY_ARUBA", 297},
    {"TWCY_ASCENSIONI", 247},
    {"TWCY_AUSTRALIA", 61},
    {"TWCY_AUSTRIA", 43},
    {"TWCY_BAHAMAS", 8092},
    {"TWCY_BAHRAIN", 973},
    {"TWCY_BANGLADESH", 880},
    {"TWCY_BARBADOS", 8093},
    {"TWCY_BELGIUM", 32},
    {"TWCY_BELIZE", 501},
    {"TWCY_BENIN", 229},
    {"TWCY_BERMUDA", 8094},
    {"TWCY_BHUTAN", 1003},
    {"TWCY_BOLIVIA", 591},
    {"TWCY_BOTSWANA", 267},
    {"TWCY_BRITAIN", 6},
    {"TWCY_BRITVIRGINIS", 8095},
    {"TWCY_BRAZIL", 55},
    {"TWCY_BRUNEI", 673},
    {"TWCY_BULGARIA", 359},
    {"TWCY_BURKINAFASO", 1004},
    {"TWCY_BURMA", 1005},
    {"TWCY_BURUNDI", 1006},
    {"TWCY_CAMAROON", 237},
    {"TWCY_CANADA", 2},
    {"TWCY_CAPEVERDEIS", 238},
    {"TWCY_CAYMANIS", 8096},
    {"TWCY_CENTRALAFREP", 1007},
    {"TWCY_CHAD", 1008},
    {"TWCY_CHILE", 56},
    {"TWCY_CHINA", 86},
    {"TWCY_CHRISTMASIS", 1009},
    {"TWCY_COCOSIS", 1009},
    {"TWCY_COLOMBIA", 57},
    {"TWCY_COMOROS", 1010},
    {"TWCY_CONGO", 1011},
    {"TWCY_COOKIS", 1012},
    {"TWCY_COSTARICA", 506},
    {"TWCY_CUBA", 5},
    {"TWCY_CYPRUS", 357},
    {"TWCY_CZECHOSLOVAKIA", 42},
    {"TWCY_DENMARK", 45},
    {"TWCY_DJIBOUTI", 1013},
    {"TWCY_DOMINICA", 8097},
    {"TWCY_DOMINCANREP", 8098},
    {"TWCY_EASTERIS", 1014},
    {"TWCY_ECUADOR", 593},
    {"TWCY_EGYPT", 20},
    {"TWCY_ELSALVADOR", 503},
    {"TWCY_EQGUINEA", 1015},
    {"TWCY_ETHIOPIA", 251},
    {"TWCY_FALKLANDIS", 1016},
    {"TWCY_FAEROEIS", 298},
    {"TWCY_FIJIISLANDS", 679},
    {"TWCY_FINLAND", 358},
    {"TWCY_FRANCE", 33},
    {"TWCY_FRANTILLES", 596},
    {"TWCY_FRGUIANA", 594},
    {"TWCY_FRPOLYNEISA", 689},
    {"TWCY_FUTANAIS", 1043},
    {"TWCY_GABON", 241},
    {"TWCY_GAMBIA", 220},
    {"TWCY_GERMANY", 49},
    {"TWCY_GHANA", 233},
    {"TWCY_GIBRALTER", 350},
    {"TWCY_GREECE", 30},
    {"TWCY_GREENLAND", 299},
    {"TWCY_GRENADA", 8099},
    {"TWCY_GRENEDINES", 8015},
    {"TWCY_GUADELOUPE", 590},
    {"TWCY_GUAM", 671},
    {"TWCY_GUANTANAMOBAY", 5399},
    {"TWCY_GUATEMALA", 502},
    {"TWCY_GUINEA", 224},
    {"TWCY_GUINEABISSAU", 1017},
    {"TWCY_GUYANA", 592},
    {"TWCY_HAITI", 509},
    {"TWCY_HONDURAS", 504},
    {"TWCY_HONGKONG", 852},
    {"TWCY_HUNGARY", 36},
    {"TWCY_ICELAND", 354},
    {"TWCY_INDIA", 91},
    {"TWCY_INDONESIA", 62},
    {"TWCY_IRAN", 98},
    {"TWCY_IRAQ", 964},
    {"TWCY_IRELAND", 353},
    {"TWCY_ISRAEL", 972},
    {"TWCY_ITALY", 39},
    {"TWCY_IVORYCOAST", 225},
    {"TWCY_JAMAICA", 8010},
    {"TWCY_JAPAN", 81},
    {"TWCY_JORDAN", 962},
    {"TWCY_KENYA", 254},
    {"TWCY_KIRIBATI", 1018},
    {"TWCY_KOREA", 82},
    {"TWCY_KUWAIT", 965},
    {"TWCY_LAOS", 1019},
    {"TWCY_LEBANON", 1020},
    {"TWCY_LIBERIA", 231},
    {"TWCY_LIBYA", 218},
    {"TWCY_LIECHTENSTEIN", 41},
    {"TWCY_LUXENBOURG", 352},
    {"TWCY_MACAO", 853},
    {"TWCY_MADAGASCAR", 1021},
    {"TWCY_MALAWI", 265},
    {"TWCY_MALAYSIA", 60},
    {"TWCY_MALDIVES", 960},
    {"TWCY_MALI", 1022},
    {"TWCY_MALTA", 356},
    {"TWCY_MARSHALLIS", 692},
    {"TWCY_MAURITANIA", 1023},
    {"TWCY_MAURITIUS", 230},
    {"TWCY_MEXICO", 3},
    {"TWCY_MICRONESIA", 691},
    {"TWCY_MIQUELON", 508},
    {"TWCY_MONACO", 33},
    {"TWCY_MONGOLIA", 1024},
    {"TWCY_MONTSERRAT", 8011},
    {"TWCY_MOROCCO", 212},
    {"TWCY_MOZAMBIQUE", 1025},
    {"TWCY_NAMIBIA", 264},
    {"TWCY_NAURU", 1026},
    {"TWCY_NEPAL", 977},
    {"TWCY_NETHERLANDS", 31},
    {"TWCY_NETHANTILLES", 599},
    {"TWCY_NEVIS", 8012},
    {"TWCY_NEWCALEDONIA", 687},
    {"TWCY_NEWZEALAND", 64},
    {"TWCY_NICARAGUA", 505},
    {"TWCY_NIGER", 227},
    {"TWCY_NIGERIA", 234},
    {"TWCY_NIUE", 1027},
    {"TWCY_NORFOLKI", 1028},
    {"TWCY_NORWAY", 47},
    {"TWCY_OMAN", 968},
    {"TWCY_PAKISTAN", 92},
    {"TWCY_PALAU", 1029},
    {"TWCY_PANAMA", 507},
    {"TWCY_PARAGUAY", 595},
    {"TWCY_PERU", 51},
    {"TWCY_PHILLIPPINES", 63},
    {"TWCY_PITCAIRNIS", 1030},
    {"TWCY_PNEWGUINEA", 675},
    {"TWCY_POLAND", 48},
    {"TWCY_PORTUGAL", 351},
    {"TWCY_QATAR", 974},
    {"TWCY_REUNIONI", 1031},
    {"TWCY_ROMANIA", 40},
    {"TWCY_RWANDA", 250},
    {"TWCY_SAIPAN", 670},
    {"TWCY_SANMARINO", 39},
    {"TWCY_SAOTOME", 1033},
    {"TWCY_SAUDIARABIA", 966},
    {"TWCY_SENEGAL", 221},
    {"TWCY_SEYCHELLESIS", 1034},
    {"TWCY_SIERRALEONE", 1035},
    {"TWCY_SINGAPORE", 65},
    {"TWCY_SOLOMONIS", 1036},
    {"TWCY_SOMALI", 1037},
    {"TWCY_SOUTHAFRICA", 27},
    {"TWCY_SPAIN", 34},
    {"TWCY_SRILANKA", 94},
    {"TWCY_STHELENA", 1032},
    {"TWCY_STKITTS", 8013},
    {"TWCY_STLUCIA", 8014},
    {"TWCY_STPIERRE", 508},
    {"TWCY_STVINCENT", 8015},
    {"TWCY_SUDAN", 1038},
    {"TWCY_SURINAME", 597},
    {"TWCY_SWAZILAND", 268},
    {"TWCY_SWEDEN", 46},
    {"TWCY_SWITZERLAND", 41},
    {"TWCY_SYRIA", 1039},
    {"TWCY_TAIWAN", 886},
    {"TWCY_TANZANIA", 255},
    {"TWCY_THAILAND", 66},
    {"TWCY_TOBAGO", 8016},
    {"TWCY_TOGO", 228},
    {"TWCY_TONGAIS", 676},
    {"TWCY_TRINIDAD", 8016},
    {"TWCY_TUNISIA", 216},
    {"TWCY_TURKEY", 90},
    {"TWCY_TURKSCAICOS", 8017},
    {"TWCY_TUVALU", 1040},
    {"TWCY_UGANDA", 256},
    {"TWCY_USSR", 7},
    {"TWCY_UAEMIRATES", 971},
    {"TWCY_UNITEDKINGDOM", 44},
    {"TWCY_USA", 1},
    {"TWCY_URUGUAY", 598},
    {"TWCY_VANUATU", 1041},
    {"TWCY_VATICANCITY", 39},
    {"TWCY_VENEZUELA", 58},
    {"TWCY_WAKE", 1042},
    {"TWCY_WALLISIS", 1043},
    {"TWCY_WESTERNSAHARA", 1044},
    {"TWCY_WESTERNSAMOA", 1045},
    {"TWCY_YEMEN", 1046},
    {"TWCY_YUGOSLAVIA", 38},
    {"TWCY_ZAIRE", 243},
    {"TWCY_ZAMBIA", 260},
    {"TWCY_ZIMBABWE", 263},
    {"TWCY_ALBANIA", 355},
    {"TWCY_ARMENIA", 374},
    {"TWCY_AZERBAIJAN", 994},
    {"TWCY_BELARUS", 375},
    {"TWCY_BOSNIAHERZGO", 387},
    {"TWCY_CAMBODIA", 855},
    {"TWCY_CROATIA", 385},
    {"TWCY_CZECHREPUBLIC", 420},
    {"TWCY_DIEGOGARCIA", 246},
    {"TWCY_ERITREA", 291},
    {"TWCY_ESTONIA", 372},
    {"TWCY_GEORGIA", 995},
    {"TWCY_LATVIA", 371},
    {"TWCY_LESOTHO", 266},
    {"TWCY_LITHUANIA", 370},
    {"TWCY_MACEDONIA", 389},
    {"TWCY_MAYOTTEIS", 269},
    {"TWCY_MOLDOVA", 373},
    {"TWCY_MYANMAR", 95},
    {"TWCY_NORTHKOREA", 850},
    {"TWCY_PUERTORICO", 787},
    {"TWCY_RUSSIA", 7},
    {"TWCY_SERBIA", 381},
    {"TWCY_SLOVAKIA", 421},
    {"TWCY_SLOVENIA", 386},
    {"TWCY_SOUTHKOREA", 82},
    {"TWCY_UKRAINE", 380},
    {"TWCY_USVIRGINIS", 340},
    {"TWCY_VIETNAM", 84},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twbr_macros[] = {
    {"TWBR_THRESHOLD", 0},
    {"TWBR_HALFTONE", 1},
    {"TWBR_CUSTHALFTONE", 2},
    {"TWBR_DIFFUSION", 3},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twbo_macros[] = {
    {"TWBO_LSBFIRST", 0},
    {"TWBO_MSBFIRST", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twcp_macros[] = {
    {"TWCP_NONE", 0},
    {"TWCP_PACKBITS", 1},
    {"TWCP_GROUP31D", 2},
    {"TWCP_GROUP31DEOL", 3},
    {"TWCP_GROUP32D", 4},
    {"TWCP_GROUP4", 5},
    {"TWCP_JPEG", 6},
    {"TWCP_LZW", 7},
    {"TWCP_JBIG", 8},
    {"TWCP_PNG", 9},
    {"TWCP_RLE4", 10},
    {"TWCP_RLE8", 11},
    {"TWCP_BITFIELDS", 12},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twft_macros[] = {
    {"TWFT_RED", 0},
    {"TWFT_GREEN", 1},
    {"TWFT_BLUE", 2},
    {"TWFT_NONE", 3},
    {"TWFT_WHITE", 4},
    {"TWFT_CYAN", 5},
    {"TWFT_MAGENTA", 6},
    {"TWFT_YELLOW", 7},
    {"TWFT_BLACK", 8},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twff_macros[] = {
    {"TWFF_TIFF", 0},
    {"TWFF_PICT", 1},
    {"TWFF_BMP", 2},
    {"TWFF_XBM", 3},
    {"TWFF_JFIF", 4},
    {"TWFF_FPX", 5},
    {"TWFF_TIFFMULTI", 6},
    {"TWFF_PNG", 7},
    {"TWFF_SPIFF", 8},
    {"TWFF_EXIF", 9},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twlp_macros[] = {
    {"TWLP_REFLECTIVE", 0},
    {"TWLP_TRANSMISSIVE", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twls_macros[] = {
    {"TWLS_RED", 0},
    {"TWLS_GREEN", 1},
    {"TWLS_BLUE", 2},
    {"TWLS_NONE", 3},
    {"TWLS_WHITE", 4},
    {"TWLS_UV", 5},
    {"TWLS_IR", 6},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twor_macros[] = {
    {"TWOR_ROT0", 0},
    {"TWOR_ROT90", 1},
    {"TWOR_ROT180", 2},
    {"TWOR_ROT270", 3},
    {"TWOR_PORTRAIT", 0},
    {"TWOR_LANDSCAPE", 3},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twpf_macros[] = {
    {"TWPF_CHOCOLATE", 0},
    {"TWPF_VANILLA", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twpt_macros[] = {
    {"TWPT_BW", 0},
    {"TWPT_GRAY", 1},
    {"TWPT_RGB", 2},
    {"TWPT_PALETTE", 3},
    {"TWPT_CMY", 4},
    {"TWPT_CMYK", 5},
    {"TWPT_YUV", 6},
    {"TWPT_YUVK", 7},
    {"TWPT_CIEXYZ", 8},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twpc_macros[] = {
    {"TWPC_CHUNKY", 0},
    {"TWPC_PLANAR", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twss_macros[] = {
    {"TWSS_NONE", 0},
    {"TWSS_A4LETTER", 1},
    {"TWSS_B5LETTER", 2},
    {"TWSS_USLETTER", 3},
    {"TWSS_USLEGAL", 4},
    {"TWSS_A5", 5},
    {"TWSS_B4", 6},
    {"TWSS_B6", 7},
    {"TWSS_USLEDGER", 9},
    {"TWSS_USEXECUTIVE", 10},
    {"TWSS_A3", 11},
    {"TWSS_B3", 12},
    {"TWSS_A6", 13},
    {"TWSS_C4", 14},
    {"TWSS_C5", 15},
    {"TWSS_C6", 16},
    {"TWSS_4A0", 17},
    {"TWSS_2A0", 18},
    {"TWSS_A0", 19},
    {"TWSS_A1", 20},
    {"TWSS_A2", 21},
    {"TWSS_A4", 1},
    {"TWSS_A7", 22},
    {"TWSS_A8", 23},
    {"TWSS_A9", 24},
    {"TWSS_A10", 25},
    {"TWSS_ISOB0", 26},
    {"TWSS_ISOB1", 27},
    {"TWSS_ISOB2", 28},
    {"TWSS_ISOB3", 12},
    {"TWSS_ISOB4", 6},
    {"TWSS_ISOB5", 29},
    {"TWSS_ISOB6", 7},
    {"TWSS_ISOB7", 30},
    {"TWSS_ISOB8", 31},
    {"TWSS_ISOB9", 32},
    {"TWSS_ISOB10", 33},
    {"TWSS_JISB0", 34},
    {"TWSS_JISB1", 35},
    {"TWSS_JISB2", 36},
    {"TWSS_JISB3", 37},
    {"TWSS_JISB4", 38},
    {"TWSS_JISB5", 2},
    {"TWSS_JISB6", 39},
    {"TWSS_JISB7", 40},
    {"TWSS_JISB8", 41},
    {"TWSS_JISB9", 42},
    {"TWSS_JISB10", 43},
    {"TWSS_C0", 44},
    {"TWSS_C1", 45},
    {"TWSS_C2", 46},
    {"TWSS_C3", 47},
    {"TWSS_C7", 48},
    {"TWSS_C8", 49},
    {"TWSS_C9", 50},
    {"TWSS_C10", 51},
    {"TWSS_USSTATEMENT", 52},
    {"TWSS_BUSINESSCARD", 53},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twsx_macros[] = {
    {"TWSX_NATIVE", 0},
    {"TWSX_FILE", 1},
    {"TWSX_MEMORY", 2},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twun_macros[] = {
    {"TWUN_INCHES", 0},
    {"TWUN_CENTIMETERS", 1},
    {"TWUN_PICAS", 2},
    {"TWUN_POINTS", 3},
    {"TWUN_TWIPS", 4},
    {"TWUN_PIXELS", 5},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twdx_macros[] = {
    {"TWDX_NONE", 0},
    {"TWDX_1PASSDUPLEX", 1},
    {"TWDX_2PASSDUPLEX", 2},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twjc_macros[] = {
    {"TWJC_NONE", 0},
    {"TWJC_JSIC", 1},
    {"TWJC_JSIS", 2},
    {"TWJC_JSXC", 3},
    {"TWJC_JSXS", 4},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twaf_macros[] = {
    {"TWAF_WAV", 0},
    {"TWAF_AIFF", 1},
    {"TWAF_AU", 3},
    {"TWAF_SND", 4},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twal_macros[] = {
    {"TWAL_ALARM", 0},
    {"TWAL_FEEDERERROR", 1},
    {"TWAL_FEEDERWARNING", 2},
    {"TWAL_BARCODE", 3},
    {"TWAL_DOUBLEFEED", 4},
    {"TWAL_JAM", 5},
    {"TWAL_PATCHCODE", 6},
    {"TWAL_POWER", 7},
    {"TWAL_SKEW", 8},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twcb_macros[] = {
    {"TWCB_AUTO", 0},
    {"TWCB_CLEAR", 1},
    {"TWCB_NOCLEAR", 2},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twde_macros[] = {
    {"TWDE_CUSTOMEVENTS", 0x8000},
    {"TWDE_CHECKAUTOMATICCAPTURE", 0x0},
    {"TWDE_CHECKBATTERY", 0x1},
    {"TWDE_CHECKDEVICEONLINE", 0x2},
    {"TWDE_CHECKFLASH", 0x3},
    {"TWDE_CHECKPOWERSUPPLY", 0x4},
    {"TWDE_CHECKRESOLUTION", 0x5},
    {"TWDE_DEVICEADDED", 0x6},
    {"TWDE_DEVICEOFFLINE", 0x7},
    {"TWDE_DEVICEREADY", 0x8},
    {"TWDE_DEVICEREMOVED", 0x9},
    {"TWDE_IMAGECAPTURED", 0xA},
    {"TWDE_IMAGEDELETED", 0xB},
    {"TWDE_PAPERDOUBLEFEED", 0xC},
    {"TWDE_PAPERJAM", 0xD},
    {"TWDE_LAMPFAILURE", 0xE},
    {"TWDE_POWERSAVE", 0xF},
    {"TWDE_POWERSAVENOTIFY", 0x10},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twfa_macros[] = {
    {"TWFA_NONE", 0},
    {"TWFA_LEFT", 1},
    {"TWFA_CENTER", 2},
    {"TWFA_RIGHT", 3},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twfo_macros[] = {
    {"TWFO_FIRSTPAGEFIRST", 0},
    {"TWFO_LASTPAGEFIRST", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twps_macros[] = {
    {"TWPS_EXTERNAL", 0},
    {"TWPS_BATTERY", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twpr_macros[] = {
    {"TWPR_IMPRINTERTOPBEFORE", 0},
    {"TWPR_IMPRINTERTOPAFTER", 1},
    {"TWPR_IMPRINTERBOTTOMBEFORE", 2},
    {"TWPR_IMPRINTERBOTTOMAFTER", 3},
    {"TWPR_ENDORSERTOPBEFORE", 4},
    {"TWPR_ENDORSERTOPAFTER", 5},
    {"TWPR_ENDORSERBOTTOMBEFORE", 6},
    {"TWPR_ENDORSERBOTTOMAFTER", 7},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twpm_macros[] = {
    {"TWPM_SINGLESTRING", 0},
    {"TWPM_MULTISTRING", 1},
    {"TWPM_COMPOUNDSTRING", 2},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twbd_macros[] = {
    {"TWBD_HORZ", 0},
    {"TWBD_VERT", 1},
    {"TWBD_HORZVERT", 2},
    {"TWBD_VERTHORZ", 3},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twfl_macros[] = {
    {"TWFL_NONE", 0},
    {"TWFL_OFF", 1},
    {"TWFL_ON", 2},
    {"TWFL_AUTO", 3},
    {"TWFL_REDEYE", 4},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twfr_macros[] = {
    {"TWFR_BOOK", 0},
    {"TWFR_FANFOLD", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twif_macros[] = {
    {"TWIF_NONE", 0},
    {"TWIF_AUTO", 1},
    {"TWIF_LOWPASS", 2},
    {"TWIF_BANDPASS", 3},
    {"TWIF_HIGHPASS", 4},
    {"TWIF_TEXT", 3},
    {"TWIF_FINELINE", 4},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twnf_macros[] = {
    {"TWNF_NONE", 0},
    {"TWNF_AUTO", 1},
    {"TWNF_LONEPIXEL", 2},
    {"TWNF_MAJORITYRULE", 3},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twov_macros[] = {
    {"TWOV_NONE", 0},
    {"TWOV_AUTO", 1},
    {"TWOV_TOPBOTTOM", 2},
    {"TWOV_LEFTRIGHT", 3},
    {"TWOV_ALL", 4},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_ui_macros[] = {
    {"TWZV_UI_CONVENTIONAL", 0},
    {"TWZV_UI_ADVANCED", 1},
    {"TWZV_UI_EASY", 2},
    {"TWZV_UI_SIMPLE", 3},
    {"TWZV_UI_EASYUISUPPRESSED", 4},
    {"TWZV_UI_DOCUMENT", 5},
    {"TWZV_UI_EXTRALIDFILM", 6},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_ft_macros[] = {
    {"TWZV_FT_POSI", 0},
    {"TWZV_FT_NEGA", 1},
    {"TWZV_FT_REFLECTIVE", 2},
    {"TWZV_FT_BWNEGA", 3},
    {"TWZV_FT_REFLECTIVEDOCUMENT", 4},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_em_macros[] = {
    {"TWZV_EM_NORMAL", 0},
    {"TWZV_EM_PREVIEW", 1},
    {"TWZV_EM_AUTO", 2},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_pg_macros[] = {
    {"TWZV_PG_10", 0},
    {"TWZV_PG_18", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_gt_macros[] = {
    {"TWZV_GT_NORMAL", 0},
    {"TWZV_GT_LINEAR", 1},
    {"TWZV_GT_PRESET", 2},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_cc_macros[] = {
    {"TWZV_CC_DEFAULT", 0},
    {"TWZV_CC_NONE", 1},
    {"TWZV_CC_PRESET", 2},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_cl_macros[] = {
    {"TWZV_CL_STANDARD", 0},
    {"TWZV_CL_DUMB", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_tpu_macros[] = {
    {"TWZV_TPU_NONE", 0},
    {"TWZV_TPU_TYPE1", 1},
    {"TWZV_TPU_TYPE2", 2},
    {"TWZV_TPU_TYPE3", 3},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_usm_macros[] = {
    {"TWZV_USM_LOW", 0},
    {"TWZV_USM_MEDIUM", 1},
    {"TWZV_USM_HIGH", 2},
    {"TWZV_USM_CUSTOM", 3},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_dscr_macros[] = {
    {"TWZV_DSCR_COMMON", 0},
    {"TWZV_DSCR_85", 1},
    {"TWZV_DSCR_133", 2},
    {"TWZV_DSCR_175", 3},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_ta_macros[] = {
    {"TWZV_TA_LENGTHWAYS", 0},
    {"TWZV_TA_SIDEWAYS", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_dr_macros[] = {
    {"TWZV_DR_LOW", 0},
    {"TWZV_DR_MEDIUM", 1},
    {"TWZV_DR_HIGH", 2},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_ice_macros[] = {
    {"TWZV_ICE_LOW", 0},
    {"TWZV_ICE_HIGH", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_gr_macros[] = {
    {"TWZV_GR_LOW", 0},
    {"TWZV_GR_MEDIUM", 1},
    {"TWZV_GR_HIGH", 2},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_ht_macros[] = {
    {"TWZV_HT_NOSET", 0},
    {"TWZV_HT_REFLECT", 1},
    {"TWZV_HT_35MMSTRIP", 2},
    {"TWZV_HT_BROWNIE", 3},
    {"TWZV_HT_35MMMOUNT", 4},
    {"TWZV_HT_40X50", 5},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_fs_macros[] = {
    {"TWZV_FS_NOSET", 0},
    {"TWZV_FS_60X45", 1},
    {"TWZV_FS_60X60", 2},
    {"TWZV_FS_60X70", 3},
    {"TWZV_FS_60X80", 4},
    {"TWZV_FS_60X90", 5},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_af_macros[] = {
    {"TWZV_AF_STRIP", 0},
    {"TWZV_AF_MOUNT", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_fet_macros[] = {
    {"TWZV_FT_ADF", 0},
    {"TWZV_FT_MPF", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_li_macros[] = {
    {"TWZV_LI_NORMAL", 0},
    {"TWZV_LI_EXTEND", 1},
    {"ERROR!", -1},
};

inline constexpr MacroEntry twzv_autosizetype_macros[] = {
    {"TWZV_AUTOSIZE_NORMAL", 0},
    {"TWZV_AUTOSIZE_LONG", 1},
    {"ERROR!", -1},
};

// ---- Value directories: which table names the values of a capability ----------------------------

template <size_t N>
constexpr ValToCapEntry CapValues(uint32_t cap, const MacroEntry (&table)[N]) {
    return ValToCapEntry{cap, static_cast<int32_t>(N), table};
}

// Standard capabilities (0x8000 and below).
inline constexpr ValToCapEntry VALTOCAP[] = {
    CapValues(0x112C, twbr_macros),  // ICAP_BITDEPTHREDUCTION
    CapValues(0x111C, twbo_macros),  // ICAP_BITORDER
    CapValues(0x0100, twcp_macros),  // ICAP_COMPRESSION
    CapValues(0x1106, twft_macros),  // ICAP_FILTER
    CapValues(0x110C, twff_macros),  // ICAP_IMAGEFILEFORMAT
    CapValues(0x111E, twlp_macros),  // ICAP_LIGHTPATH
    CapValues(0x110E, twls_macros),  // ICAP_LIGHTSOURCE
    CapValues(0x1110, twor_macros),  // ICAP_ORIENTATION
    CapValues(0x111F, twpf_macros),  // ICAP_PIXELFLAVOR
    CapValues(0x0101, twpt_macros),  // ICAP_PIXELTYPE
    CapValues(0x1120, twpc_macros),  // ICAP_PLANARCHUNKY
    CapValues(0x1122, twss_macros),  // ICAP_SUPPORTEDSIZES
    CapValues(0x0103, twsx_macros),  // ICAP_XFERMECH
    CapValues(0x0102, twun_macros),  // ICAP_UNITS
    CapValues(0x1012, twdx_macros),  // CAP_DUPLEX
    CapValues(0x1017, twjc_macros),  // CAP_JOBCONTROL
    CapValues(0x1201, twaf_macros),  // ACAP_AUDIOFILEFORMAT (no row in the capability tables)
    CapValues(0x1018, twal_macros),  // CAP_ALARMS
    CapValues(0x101D, twcb_macros),  // CAP_CLEARBUFFERS
    CapValues(0x1022, twde_macros),  // CAP_DEVICEEVENT
    CapValues(0x102D, twfa_macros),  // CAP_FEEDERALIGNMENT
    CapValues(0x102E, twfo_macros),  // CAP_FEEDERORDER
    CapValues(0x1020, twps_macros),  // CAP_POWERSUPPLY
    CapValues(0x1026, twpr_macros),  // CAP_PRINTER
    CapValues(0x1029, twpm_macros),  // CAP_PRINTERMODE
    CapValues(0x113B, twbd_macros),  // ICAP_BARCODESEARCHMODE
    CapValues(0x1146, twfl_macros),  // ICAP_FLASHUSED2
    CapValues(0x1136, twfr_macros),  // ICAP_FLIPROTATION
    CapValues(0x1147, twif_macros),  // ICAP_IMAGEFILTER
    CapValues(0x1148, twnf_macros),  // ICAP_NOISEFILTER
    CapValues(0x1149, twov_macros),  // ICAP_OVERSCAN
    ValToCapEntry{0xFFFFFFFF, -1, nullptr},
};

// Extension capabilities (0x8001 and above).
inline constexpr ValToCapEntry VALTOCAPZV[] = {
    CapValues(0x800F, twzv_ui_macros),            // CAP_ZV_UIMODE
    CapValues(0x8003, twzv_ft_macros),            // ICAP_ZV_FILMTYPE
    CapValues(0x8005, twzv_em_macros),            // ICAP_ZV_EXPOSUREMODE
    CapValues(0x8007, twzv_pg_macros),            // ICAP_ZV_LUT1
    CapValues(0x8008, twzv_gt_macros),            // ICAP_ZV_LUT2
    CapValues(0x8009, twzv_cc_macros),            // ICAP_ZV_COLORCORRECTION
    CapValues(0x8012, twzv_cl_macros),            // CAP_ZV_COMMANDLEVEL
    CapValues(0x8018, twzv_tpu_macros),           // CAP_ZV_TPUTYPE
    CapValues(0x8024, twzv_usm_macros),           // ICAP_ZV_UNSHARPMASKLEVEL
    CapValues(0x8020, twzv_dscr_macros),          // ICAP_ZV_DESCREENINGLEVEL
    CapValues(0x8017, twzv_ta_macros),            // CAP_ZV_TABLEARRANGEMENT
    CapValues(0x8028, twzv_dr_macros),            // ICAP_ZV_DUSTREMOVALLEVEL
    CapValues(0x802D, twzv_ice_macros),           // ICAP_ZV_DIGITALICELEVEL
    CapValues(0x802A, twzv_gr_macros),            // ICAP_ZV_GRAINREDUCTIONLEVEL
    CapValues(0x8030, twzv_ht_macros),            // ICAP_ZV_HOLDERTYPE
    CapValues(0x8031, twzv_fs_macros),            // ICAP_ZV_FILMSIZE
    CapValues(0x8033, twzv_af_macros),            // CAP_ZV_AFLFILMTYPE
    CapValues(0x803B, twzv_fet_macros),           // CAP_ZV_FEEDERTYPE
    CapValues(0x803D, twzv_li_macros),            // CAP_ZV_LIDFILMTYPE
    CapValues(0x8081, twzv_autosizetype_macros),  // ICAP_ZV_AUTOSIZETYPE
    ValToCapEntry{0xFFFFFFFF, -1, nullptr},
};

// Every name table, for code that walks them all (the tests).
#define TWAINMON_TABLES(X)                                                                          \
    X(twrc_macros) X(dg_macros) X(dat_macros) X(dat_zv_macros) X(msg_macros) X(msg_zv_macros)      \
    X(cap_macros) X(icap_macros) X(cap_zv_macros) X(icap_zv_macros) X(twty_macros) X(twon_macros)  \
    X(twlg_macros) X(twcy_macros) X(twcc_macros) X(twcp_macros) X(twpt_macros) X(twff_macros)      \
    X(twbr_macros) X(twbo_macros) X(twft_macros) X(twlp_macros) X(twls_macros) X(twor_macros)      \
    X(twpf_macros) X(twpc_macros) X(twss_macros) X(twsx_macros) X(twun_macros) X(twdx_macros)      \
    X(twjc_macros) X(twaf_macros) X(twal_macros) X(twcb_macros) X(twde_macros) X(twfa_macros)      \
    X(twfo_macros) X(twps_macros) X(twpr_macros) X(twpm_macros) X(twbd_macros) X(twfl_macros)      \
    X(twfr_macros) X(twif_macros) X(twnf_macros) X(twov_macros) X(twzv_ui_macros)                  \
    X(twzv_ft_macros) X(twzv_em_macros) X(twzv_pg_macros) X(twzv_gt_macros) X(twzv_cc_macros)      \
    X(twzv_cl_macros) X(twzv_tpu_macros) X(twzv_usm_macros) X(twzv_dscr_macros) X(twzv_ta_macros)  \
    X(twzv_dr_macros) X(twzv_ice_macros) X(twzv_gr_macros) X(twzv_ht_macros) X(twzv_fs_macros)     \
    X(twzv_af_macros) X(twzv_fet_macros) X(twzv_li_macros) X(twzv_autosizetype_macros)

#endif  // TWAINMON_TWAINTBL_H
