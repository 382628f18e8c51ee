// Name tables: every TWAIN code the transcript shows by name, and the lookups that name them.
//
// Each table is declared once, as a list of X(NAME, value) rows in its fixed order, aliases
// included; where two rows share a value the first one wins. TWAINMON_NAME_TABLE turns the list
// into the codes' enumerators, the table's rows closed by ("ERROR!", -1), and the table's own hash
// index of its values, all while compiling. Row counts come from the lists, never written twice.
#ifndef TWAINMON_TWAINTBL_H
#define TWAINMON_TWAINTBL_H

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

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

// Every lookup writes into a caller's buffer of at least this many bytes.
constexpr size_t kNameBufferSize = 64;

// The name of every table's terminator row: a code no row holds is shown as this name with the
// code in parentheses, "ERROR!(1024)".
inline constexpr char kNotFoundName[] = "ERROR!";

namespace twtbl {

// The slot of a key in a hash index of 2^bits slots (Fibonacci hashing).
constexpr size_t Slot(int64_t key, unsigned bits) {
    return static_cast<size_t>((static_cast<uint64_t>(key) * UINT64_C(0x9E3779B97F4A7C15)) >> (64 - bits));
}

// The number of bits of a power of two at least twice the rows: probes stay short.
constexpr unsigned BitsFor(size_t rows) {
    unsigned bits = 1;
    while ((size_t{1} << bits) < 2 * rows) ++bits;
    return bits;
}

// Enters rows 0 to rows - 1, whose keys keyAt gives, into 2^bits slots of row numbers plus one
// (0 is an empty slot). A later row with a key already entered is never the first: it is left out.
template <typename T, typename KeyAt>
constexpr void EnterRows(T* slots, unsigned bits, size_t rows, KeyAt keyAt) {
    const size_t mask = (size_t{1} << bits) - 1;
    for (size_t row = 0; row < rows; ++row) {
        const int64_t key = keyAt(row);
        size_t s = Slot(key, bits);
        while (slots[s] != 0 && keyAt(slots[s] - 1u) != key) s = (s + 1) & mask;
        if (slots[s] == 0) slots[s] = static_cast<T>(row + 1);
    }
}

// The hash index of a table of N rows (N - 1 and the terminator, which is left out).
template <size_t N>
struct Index {
    static constexpr unsigned kBits = BitsFor(N);
    uint16_t slot[size_t{1} << kBits];
};

template <size_t N>
constexpr Index<N> BuildIndex(const MacroEntry (&rows)[N]) {
    static_assert(N <= 0xFFFF, "row numbers are 16-bit");
    Index<N> index{};
    EnterRows(index.slot, Index<N>::kBits, N - 1, [&](size_t row) { return rows[row].value; });
    return index;
}

// FNV-1a over a name's bytes: the key of a name in an index of names.
constexpr uint64_t NameHash(const char* p, size_t n) {
    uint64_t h = UINT64_C(0xcbf29ce484222325);
    for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(p[i])) * UINT64_C(0x100000001b3);
    return h;
}

template <size_t N>
constexpr bool NamesFit(const MacroEntry (&rows)[N]) {
    for (const MacroEntry& row : rows) {
        if (row.length > 33) return false;
    }
    return true;
}

}  // namespace twtbl

// A name table: its rows, in their declared order and closed by the terminator, with its index.
struct NameTable {
    const MacroEntry* rows;
    size_t count;  // rows, the terminator excluded
    const uint16_t* slots;
    unsigned bits;

    // The first row whose value is code, or nullptr.
    const MacroEntry* Find(int64_t code) const {
        const size_t mask = (size_t{1} << bits) - 1;
        for (size_t s = twtbl::Slot(code, bits);; s = (s + 1) & mask) {
            const uint16_t rowPlusOne = slots[s];
            if (rowPlusOne == 0) return nullptr;
            if (rows[rowPlusOne - 1].value == code) return &rows[rowPlusOne - 1];
        }
    }
    constexpr const MacroEntry* begin() const { return rows; }
    constexpr const MacroEntry* end() const { return rows + count; }
};

// ---- Lookups by name ----------------------------------------------------------------------------
// The monitor names codes; the reader of transcripts goes the other way. A table looked up by name
// gets an index of its names, built while compiling where it is first used, so the monitor itself
// carries none.

namespace twtbl {

// The index of a table's names: the slots hold row numbers plus one, keyed by the names' hashes.
template <const NameTable& Table>
struct NameIndex {
    static constexpr unsigned kBits = BitsFor(Table.count + 1);
    uint16_t slot[size_t{1} << kBits];
};

template <const NameTable& Table>
constexpr NameIndex<Table> BuildNameIndex() {
    NameIndex<Table> index{};
    EnterRows(index.slot, NameIndex<Table>::kBits, Table.count, [](size_t row) {
        return static_cast<int64_t>(NameHash(Table.rows[row].name, Table.rows[row].length));
    });
    return index;
}

template <const NameTable& Table>
inline constexpr NameIndex<Table> kNameIndex = BuildNameIndex<Table>();

// The row a name lookup finds, the first row of that name, by its number; Table.count when no row
// has the name. (Row numbers rather than pointers: a sanitizer build cannot compare a pointer with
// null while compiling.)
template <const NameTable& Table>
constexpr size_t FindName(std::string_view name) {
    constexpr auto& index = kNameIndex<Table>;
    constexpr size_t kMask = (size_t{1} << NameIndex<Table>::kBits) - 1;
    const auto key = static_cast<int64_t>(NameHash(name.data(), name.size()));
    for (size_t s = Slot(key, NameIndex<Table>::kBits);; s = (s + 1) & kMask) {
        const uint16_t rowPlusOne = index.slot[s];
        if (rowPlusOne == 0) return Table.count;
        const MacroEntry& row = Table.rows[rowPlusOne - 1];
        if (std::string_view(row.name, row.length) == name) return rowPlusOne - 1u;
    }
}

// Every row is found by its own name (a name whose hash an earlier row's shares would be lost).
template <const NameTable& Table>
constexpr bool EveryNameFound() {
    for (size_t i = 0; i < Table.count; ++i) {
        const size_t row = FindName<Table>(std::string_view(Table.rows[i].name, Table.rows[i].length));
        if (row == Table.count || std::string_view(Table.rows[row].name) != Table.rows[i].name) return false;
    }
    return true;
}

}  // namespace twtbl

// The way back from a name to its code: the value of the first row called name, or false when no
// row is.
template <const NameTable& Table>
bool LookupMacroCode(std::string_view name, int64_t& code) {
    static_assert(twtbl::EveryNameFound<Table>(), "every name of the table is found by its name");
    const size_t row = twtbl::FindName<Table>(name);
    if (row == Table.count) return false;
    code = Table.rows[row].value;
    return true;
}

// The name of the first row of a table that holds code, while compiling (empty when none does):
// for the texts a reader of transcripts compares with.
constexpr std::string_view RowName(const NameTable& table, int64_t code) {
    for (const MacroEntry& row : table) {
        if (row.value == code) return std::string_view(row.name, row.length);
    }
    return std::string_view();
}

#define TWAINMON_ENUMERATOR_(name, value) name = value,
#define TWAINMON_ROW_(name, value) MacroEntry{#name, name},
// Declares the table `table` from the row list ROWS, its codes as enumerators of type Type (at
// namespace scope).
#define TWAINMON_NAME_TABLE(table, Type, ROWS)                                                        \
    enum : Type { ROWS(TWAINMON_ENUMERATOR_) };                                                       \
    namespace twtbl {                                                                                 \
    inline constexpr MacroEntry table##_rows[] = {ROWS(TWAINMON_ROW_) MacroEntry{kNotFoundName, -1}}; \
    inline constexpr auto table##_index = BuildIndex(table##_rows);                                   \
    static_assert(NamesFit(table##_rows), "every name of " #table " has at most 33 characters");      \
    }                                                                                                 \
    inline constexpr NameTable table {                                                                \
        twtbl::table##_rows, std::size(twtbl::table##_rows) - 1, twtbl::table##_index.slot,           \
            twtbl::table##_index.kBits                                                                \
    }

// ---- Lookups ------------------------------------------------------------------------------------

// Every lookup below is one of these two: a name with its length, read from the row itself, or
// the not-found text "ERROR!(<code as signed 32-bit>)" written into the caller's buffer.

// The not-found text of a table for code, written into pszOut.
std::string_view NotFoundName(const NameTable& table, int64_t code, char* pszOut);

// The name of the first row whose value equals code, or the not-found text in pszNotFound. The
// caller widens the field by its own type (unsigned without sign, signed with sign).
inline std::string_view NameOf(const NameTable& table, int64_t code, char* pszNotFound) {
    const MacroEntry* entry = table.Find(code);
    return entry != nullptr ? std::string_view(entry->name, entry->length) : NotFoundName(table, code, pszNotFound);
}

// The names that two tables share out (16-bit codes):
// - Dats, Msgs: the standard table up to 0x8000, the maker's (dat_zv_macros, msg_zv_macros) above;
// - Capabilities: cap_macros then icap_macros up to 0x8000, cap_zv_macros then icap_zv_macros
//   above, the not-found text that of the second.
enum class NameSet { Capabilities, Dats, Msgs };
std::string_view NameOf(NameSet names, int64_t code, char* pszNotFound);

// The same names written with their NUL into pszOut (kNameBufferSize bytes): LookupMacroName
// returns whether a row matched, LookupCapName the length of the text.
bool LookupMacroName(const NameTable& table, int64_t code, char* pszOut);
void LookupDatName(uint16_t dat, char* pszOut);
void LookupMsgName(uint16_t msg, char* pszOut);
size_t LookupCapName(uint16_t cap, char* pszOut);

// Value name of a capability's value through VALTOCAP (cap <= 0x8000) or VALTOCAPZV: the name,
// the not-found text when the capability's table lacks the value, or plain "%d" when the
// capability has no directory row. Returns the length of the text written.
size_t LookupCapValueName(uint16_t cap, uint16_t value, char* pszOut);

// ---- Name tables --------------------------------------------------------------------------------

#define TWAINMON_TWRC_ROWS(X)      \
    X(TWRC_CUSTOMBASE, 0x8000)     \
    X(TWRC_SUCCESS, 0x0)           \
    X(TWRC_FAILURE, 0x1)           \
    X(TWRC_CHECKSTATUS, 0x2)       \
    X(TWRC_CANCEL, 0x3)            \
    X(TWRC_DSEVENT, 0x4)           \
    X(TWRC_NOTDSEVENT, 0x5)        \
    X(TWRC_XFERDONE, 0x6)          \
    X(TWRC_ENDOFLIST, 0x7)         \
    X(TWRC_INFONOTSUPPORTED, 0x8)  \
    X(TWRC_DATANOTAVAILABLE, 0x9)
TWAINMON_NAME_TABLE(twrc_macros, uint16_t, TWAINMON_TWRC_ROWS);

#define TWAINMON_DG_ROWS(X)  \
    X(DG_CONTROL, 1)         \
    X(DG_IMAGE, 2)           \
    X(DG_AUDIO, 4)
TWAINMON_NAME_TABLE(dg_macros, uint32_t, TWAINMON_DG_ROWS);

#define TWAINMON_DAT_ROWS(X)       \
    X(DAT_NULL, 0x0)               \
    X(DAT_CUSTOMBASE, 0x8000)      \
    X(DAT_CAPABILITY, 0x1)         \
    X(DAT_EVENT, 0x2)              \
    X(DAT_IDENTITY, 0x3)           \
    X(DAT_PARENT, 0x4)             \
    X(DAT_PENDINGXFERS, 0x5)       \
    X(DAT_SETUPMEMXFER, 0x6)       \
    X(DAT_SETUPFILEXFER, 0x7)      \
    X(DAT_STATUS, 0x8)             \
    X(DAT_USERINTERFACE, 0x9)      \
    X(DAT_XFERGROUP, 0xA)          \
    X(DAT_TWUNKIDENTITY, 0xB)      \
    X(DAT_CUSTOMDSDATA, 0xC)       \
    X(DAT_DEVICEEVENT, 0xD)        \
    X(DAT_FILESYSTEM, 0xE)         \
    X(DAT_PASSTHRU, 0xF)           \
    X(DAT_IMAGEINFO, 0x101)        \
    X(DAT_IMAGELAYOUT, 0x102)      \
    X(DAT_IMAGEMEMXFER, 0x103)     \
    X(DAT_IMAGENATIVEXFER, 0x104)  \
    X(DAT_IMAGEFILEXFER, 0x105)    \
    X(DAT_CIECOLOR, 0x106)         \
    X(DAT_GRAYRESPONSE, 0x107)     \
    X(DAT_RGBRESPONSE, 0x108)      \
    X(DAT_JPEGCOMPRESSION, 0x109)  \
    X(DAT_PALETTE8, 0x10A)         \
    X(DAT_EXTIMAGEINFO, 0x10B)     \
    X(DAT_AUDIOFILEXFER, 0x201)    \
    X(DAT_AUDIOINFO, 0x202)        \
    X(DAT_AUDIONATIVEXFER, 0x203)  \
    X(DAT_CALLBACK, 0x10)          \
    X(DAT_SETUPFILEXFER2, 0x301)
TWAINMON_NAME_TABLE(dat_macros, uint16_t, TWAINMON_DAT_ROWS);

#define TWAINMON_DAT_ZV_ROWS(X)            \
    X(DAT_ZV_AUTOEXPOSURE, 0x8001)         \
    X(DAT_ZV_RGBMATRIX, 0x8002)            \
    X(DAT_ZV_COLORSMOOTHING, 0x8003)       \
    X(DAT_ZV_EVENT, 0x8004)                \
    X(DAT_ZV_HARDWAREINFO, 0x8005)         \
    X(DAT_ZV_SKEWINFO, 0x8006)             \
    X(DAT_ZV_UNSHARPMASKPARAM, 0x8007)     \
    X(DAT_ZV_REDCORRECTIONMATRIX, 0x8008)  \
    X(DAT_ZV_TWAINCALLBACKMSG, 0x8009)     \
    X(DAT_ZV_SETTINGFRAME, 0x800A)         \
    X(DAT_ZV_USMINFO, 0x800B)              \
    X(DAT_ZV_EDGEFILLAREA, 0x8015)         \
    X(DAT_ZV_COLORFILTER, 0x8016)          \
    X(DAT_ZV_DUALIMAGE, 0x8017)
TWAINMON_NAME_TABLE(dat_zv_macros, uint16_t, TWAINMON_DAT_ZV_ROWS);

#define TWAINMON_MSG_ROWS(X)       \
    X(MSG_NULL, 0x0)               \
    X(MSG_CUSTOMBASE, 0x8000)      \
    X(MSG_GET, 0x1)                \
    X(MSG_GETCURRENT, 0x2)         \
    X(MSG_GETDEFAULT, 0x3)         \
    X(MSG_GETFIRST, 0x4)           \
    X(MSG_GETNEXT, 0x5)            \
    X(MSG_SET, 0x6)                \
    X(MSG_RESET, 0x7)              \
    X(MSG_QUERYSUPPORT, 0x8)       \
    X(MSG_XFERREADY, 0x101)        \
    X(MSG_CLOSEDSREQ, 0x102)       \
    X(MSG_CLOSEDSOK, 0x103)        \
    X(MSG_DEVICEEVENT, 0x104)      \
    X(MSG_CHECKSTATUS, 0x201)      \
    X(MSG_OPENDSM, 0x301)          \
    X(MSG_CLOSEDSM, 0x302)         \
    X(MSG_OPENDS, 0x401)           \
    X(MSG_CLOSEDS, 0x402)          \
    X(MSG_USERSELECT, 0x403)       \
    X(MSG_DISABLEDS, 0x501)        \
    X(MSG_ENABLEDS, 0x502)         \
    X(MSG_ENABLEDSUIONLY, 0x503)   \
    X(MSG_PROCESSEVENT, 0x601)     \
    X(MSG_ENDXFER, 0x701)          \
    X(MSG_CHANGEDIRECTORY, 0x801)  \
    X(MSG_CREATEDIRECTORY, 0x802)  \
    X(MSG_DELETE, 0x803)           \
    X(MSG_FORMATMEDIA, 0x804)      \
    X(MSG_GETCLOSE, 0x805)         \
    X(MSG_GETFIRSTFILE, 0x806)     \
    X(MSG_GETINFO, 0x807)          \
    X(MSG_GETNEXTFILE, 0x808)      \
    X(MSG_RENAME, 0x809)           \
    X(MSG_PASSTHRU, 0x901)
TWAINMON_NAME_TABLE(msg_macros, uint16_t, TWAINMON_MSG_ROWS);

#define TWAINMON_MSG_ZV_ROWS(X)    \
    X(MSG_ZV_TIMERRESET, 0x8001)   \
    X(MSG_ZV_XFERREQUEST, 0x8002)
TWAINMON_NAME_TABLE(msg_zv_macros, uint16_t, TWAINMON_MSG_ZV_ROWS);

#define TWAINMON_CAP_ROWS(X)               \
    X(CAP_CUSTOMBASE, 0x8000)              \
    X(CAP_XFERCOUNT, 0x1)                  \
    X(CAP_AUTHOR, 0x1000)                  \
    X(CAP_CAPTION, 0x1001)                 \
    X(CAP_FEEDERENABLED, 0x1002)           \
    X(CAP_FEEDERLOADED, 0x1003)            \
    X(CAP_TIMEDATE, 0x1004)                \
    X(CAP_SUPPORTEDCAPS, 0x1005)           \
    X(CAP_EXTENDEDCAPS, 0x1006)            \
    X(CAP_AUTOFEED, 0x1007)                \
    X(CAP_CLEARPAGE, 0x1008)               \
    X(CAP_FEEDPAGE, 0x1009)                \
    X(CAP_REWINDPAGE, 0x100A)              \
    X(CAP_INDICATORS, 0x100B)              \
    X(CAP_SUPPORTEDCAPSEXT, 0x100C)        \
    X(CAP_PAPERDETECTABLE, 0x100D)         \
    X(CAP_UICONTROLLABLE, 0x100E)          \
    X(CAP_DEVICEONLINE, 0x100F)            \
    X(CAP_AUTOSCAN, 0x1010)                \
    X(CAP_THUMBNAILSENABLED, 0x1011)       \
    X(CAP_DUPLEX, 0x1012)                  \
    X(CAP_DUPLEXENABLED, 0x1013)           \
    X(CAP_ENABLEDSUIONLY, 0x1014)          \
    X(CAP_CUSTOMDSDATA, 0x1015)            \
    X(CAP_ENDORSER, 0x1016)                \
    X(CAP_JOBCONTROL, 0x1017)              \
    X(CAP_ALARMS, 0x1018)                  \
    X(CAP_ALARMVOLUME, 0x1019)             \
    X(CAP_AUTOMATICCAPTURE, 0x101A)        \
    X(CAP_TIMEBEFOREFIRSTCAPTURE, 0x101B)  \
    X(CAP_TIMEBETWEENCAPTURES, 0x101C)     \
    X(CAP_CLEARBUFFERS, 0x101D)            \
    X(CAP_MAXBATCHBUFFERS, 0x101E)         \
    X(CAP_DEVICETIMEDATE, 0x101F)          \
    X(CAP_POWERSUPPLY, 0x1020)             \
    X(CAP_CAMERAPREVIEWUI, 0x1021)         \
    X(CAP_DEVICEEVENT, 0x1022)             \
    X(CAP_SERIALNUMBER, 0x1024)            \
    X(CAP_PRINTER, 0x1026)                 \
    X(CAP_PRINTERENABLED, 0x1027)          \
    X(CAP_PRINTERINDEX, 0x1028)            \
    X(CAP_PRINTERMODE, 0x1029)             \
    X(CAP_PRINTERSTRING, 0x102A)           \
    X(CAP_PRINTERSUFFIX, 0x102B)           \
    X(CAP_LANGUAGE, 0x102C)                \
    X(CAP_FEEDERALIGNMENT, 0x102D)         \
    X(CAP_FEEDERORDER, 0x102E)             \
    X(CAP_REACQUIREALLOWED, 0x1030)        \
    X(CAP_BATTERYMINUTES, 0x1032)          \
    X(CAP_BATTERYPERCENTAGE, 0x1033)
TWAINMON_NAME_TABLE(cap_macros, uint16_t, TWAINMON_CAP_ROWS);

#define TWAINMON_ICAP_ROWS(X)                     \
    X(ICAP_COMPRESSION, 0x100)                    \
    X(ICAP_PIXELTYPE, 0x101)                      \
    X(ICAP_UNITS, 0x102)                          \
    X(ICAP_XFERMECH, 0x103)                       \
    X(ICAP_AUTOBRIGHT, 0x1100)                    \
    X(ICAP_BRIGHTNESS, 0x1101)                    \
    X(ICAP_CONTRAST, 0x1103)                      \
    X(ICAP_CUSTHALFTONE, 0x1104)                  \
    X(ICAP_EXPOSURETIME, 0x1105)                  \
    X(ICAP_FILTER, 0x1106)                        \
    X(ICAP_FLASHUSED, 0x1107)                     \
    X(ICAP_GAMMA, 0x1108)                         \
    X(ICAP_HALFTONES, 0x1109)                     \
    X(ICAP_HIGHLIGHT, 0x110A)                     \
    X(ICAP_IMAGEFILEFORMAT, 0x110C)               \
    X(ICAP_LAMPSTATE, 0x110D)                     \
    X(ICAP_LIGHTSOURCE, 0x110E)                   \
    X(ICAP_ORIENTATION, 0x1110)                   \
    X(ICAP_PHYSICALWIDTH, 0x1111)                 \
    X(ICAP_PHYSICALHEIGHT, 0x1112)                \
    X(ICAP_SHADOW, 0x1113)                        \
    X(ICAP_FRAMES, 0x1114)                        \
    X(ICAP_XNATIVERESOLUTION, 0x1116)             \
    X(ICAP_YNATIVERESOLUTION, 0x1117)             \
    X(ICAP_XRESOLUTION, 0x1118)                   \
    X(ICAP_YRESOLUTION, 0x1119)                   \
    X(ICAP_MAXFRAMES, 0x111A)                     \
    X(ICAP_TILES, 0x111B)                         \
    X(ICAP_BITORDER, 0x111C)                      \
    X(ICAP_CCITTKFACTOR, 0x111D)                  \
    X(ICAP_LIGHTPATH, 0x111E)                     \
    X(ICAP_PIXELFLAVOR, 0x111F)                   \
    X(ICAP_PLANARCHUNKY, 0x1120)                  \
    X(ICAP_ROTATION, 0x1121)                      \
    X(ICAP_SUPPORTEDSIZES, 0x1122)                \
    X(ICAP_THRESHOLD, 0x1123)                     \
    X(ICAP_XSCALING, 0x1124)                      \
    X(ICAP_YSCALING, 0x1125)                      \
    X(ICAP_BITORDERCODES, 0x1126)                 \
    X(ICAP_PIXELFLAVORCODES, 0x1127)              \
    X(ICAP_JPEGPIXELTYPE, 0x1128)                 \
    X(ICAP_TIMEFILL, 0x112A)                      \
    X(ICAP_BITDEPTH, 0x112B)                      \
    X(ICAP_BITDEPTHREDUCTION, 0x112C)             \
    X(ICAP_UNDEFINEDIMAGESIZE, 0x112D)            \
    X(ICAP_IMAGEDATASET, 0x112E)                  \
    X(ICAP_EXTIMAGEINFO, 0x112F)                  \
    X(ICAP_MINIMUMHEIGHT, 0x1130)                 \
    X(ICAP_MINIMUMWIDTH, 0x1131)                  \
    X(ICAP_AUTODISCARDBLANKPAGES, 0x1134)         \
    X(ICAP_FLIPROTATION, 0x1136)                  \
    X(ICAP_BARCODEDETECTIONENABLED, 0x1137)       \
    X(ICAP_SUPPORTEDBARCODETYPES, 0x1138)         \
    X(ICAP_BARCODEMAXSEARCHPRIORITIES, 0x1139)    \
    X(ICAP_BARCODESEARCHPRIORITIES, 0x113A)       \
    X(ICAP_BARCODESEARCHMODE, 0x113B)             \
    X(ICAP_BARCODEMAXRETRIES, 0x113C)             \
    X(ICAP_BARCODETIMEOUT, 0x113D)                \
    X(ICAP_ZOOMFACTOR, 0x113E)                    \
    X(ICAP_PATCHCODEDETECTIONENABLED, 0x113F)     \
    X(ICAP_SUPPORTEDPATCHCODETYPES, 0x1140)       \
    X(ICAP_PATCHCODEMAXSEARCHPRIORITIES, 0x1141)  \
    X(ICAP_PATCHCODESEARCHPRIORITIES, 0x1142)     \
    X(ICAP_PATCHCODESEARCHMODE, 0x1143)           \
    X(ICAP_PATCHCODEMAXRETRIES, 0x1144)           \
    X(ICAP_PATCHCODETIMEOUT, 0x1145)              \
    X(ICAP_FLASHUSED2, 0x1146)                    \
    X(ICAP_IMAGEFILTER, 0x1147)                   \
    X(ICAP_NOISEFILTER, 0x1148)                   \
    X(ICAP_OVERSCAN, 0x1149)                      \
    X(ICAP_AUTOMATICBORDERDETECTION, 0x1150)      \
    X(ICAP_AUTOMATICDESKEW, 0x1151)               \
    X(ICAP_AUTOMATICROTATE, 0x1152)               \
    X(ICAP_JPEGQUALITY, 0x1153)                   \
    X(ICAP_AUTOSIZE, 0x1156)                      \
    X(ICAP_IMAGEMERGE, 0x115C)
TWAINMON_NAME_TABLE(icap_macros, uint16_t, TWAINMON_ICAP_ROWS);

#define TWAINMON_CAP_ZV_ROWS(X)            \
    X(CAP_ZV_VERSION, 0x8001)              \
    X(CAP_ZV_TPUENABLED, 0x8002)           \
    X(CAP_ZV_PRODUCTNAME, 0x800C)          \
    X(CAP_ZV_UIMODE, 0x800F)               \
    X(CAP_ZV_AUTOLAYOUT, 0x8011)           \
    X(CAP_ZV_COMMANDLEVEL, 0x8012)         \
    X(CAP_ZV_MODELID, 0x8013)              \
    X(CAP_ZV_MODELNAME, 0x8014)            \
    X(CAP_ZV_PROGRESS, 0x8015)             \
    X(CAP_ZV_STARTBUTTONENABLED, 0x8016)   \
    X(CAP_ZV_TABLEARRANGEMENT, 0x8017)     \
    X(CAP_ZV_TPUTYPE, 0x8018)              \
    X(CAP_ZV_USERINTERFACE, 0x8019)        \
    X(CAP_ZV_INDICATORSTRING, 0x802B)      \
    X(CAP_ZV_AFLENABLED, 0x8032)           \
    X(CAP_ZV_AFLFILMTYPE, 0x8033)          \
    X(CAP_ZV_AFLLOADED, 0x8034)            \
    X(CAP_ZV_FEEDERTYPE, 0x803B)           \
    X(CAP_ZV_LIDFILMTYPE, 0x803D)          \
    X(CAP_ZV_FEEDERALIGNMENT, 0x803E)      \
    X(CAP_ZV_DOUBLEFEEDDETECTION, 0x804E)  \
    X(CAP_ZV_SUPPRESSDEVICEERROR, 0x8057)  \
    X(CAP_ZV_DUALIMAGE, 0x8068)
TWAINMON_NAME_TABLE(cap_zv_macros, uint16_t, TWAINMON_CAP_ZV_ROWS);

#define TWAINMON_ICAP_ZV_ROWS(X)                 \
    X(ICAP_ZV_FILMTYPE, 0x8003)                  \
    X(ICAP_ZV_DRAFTSCAN, 0x8004)                 \
    X(ICAP_ZV_EXPOSUREMODE, 0x8005)              \
    X(ICAP_ZV_LUT1, 0x8007)                      \
    X(ICAP_ZV_LUT2, 0x8008)                      \
    X(ICAP_ZV_COLORCORRECTION, 0x8009)           \
    X(ICAP_ZV_DESCREENING, 0x800A)               \
    X(ICAP_ZV_MAXRESFORDESCREENING, 0x800B)      \
    X(ICAP_ZV_FOCUS, 0x800D)                     \
    X(ICAP_ZV_UNSHARPMASK, 0x800E)               \
    X(ICAP_ZV_VELMAP, 0x8010)                    \
    X(ICAP_ZV_AUTOFOCUS, 0x801A)                 \
    X(ICAP_ZV_BACKSIDEIMGUPSIDEDOWN, 0x801B)     \
    X(ICAP_ZV_CMM, 0x801C)                       \
    X(ICAP_ZV_CMMSOURCENAME, 0x801D)             \
    X(ICAP_ZV_CMMTARGETNAME, 0x801E)             \
    X(ICAP_ZV_COLORSMOOTHING, 0x801F)            \
    X(ICAP_ZV_DESCREENINGLEVEL, 0x8020)          \
    X(ICAP_ZV_DISPLAYGAMMA, 0x8021)              \
    X(ICAP_ZV_MIRROR, 0x8022)                    \
    X(ICAP_ZV_SKEW, 0x8023)                      \
    X(ICAP_ZV_UNSHARPMASKLEVEL, 0x8024)          \
    X(ICAP_ZV_COLORADJUSTMENT, 0x8025)           \
    X(ICAP_ZV_COLORRESTORATION, 0x8026)          \
    X(ICAP_ZV_DUSTREMOVAL, 0x8027)               \
    X(ICAP_ZV_DUSTREMOVALLEVEL, 0x8028)          \
    X(ICAP_ZV_GRAINREDUCTION, 0x8029)            \
    X(ICAP_ZV_GRAINREDUCTIONLEVEL, 0x802A)       \
    X(ICAP_ZV_DIGITALICE, 0x802C)                \
    X(ICAP_ZV_DIGITALICELEVEL, 0x802D)           \
    X(ICAP_ZV_MAXRESFORDIGITALICE, 0x802E)       \
    X(ICAP_ZV_NEGAMODESUPPORT, 0x802F)           \
    X(ICAP_ZV_HOLDERTYPE, 0x8030)                \
    X(ICAP_ZV_FILMSIZE, 0x8031)                  \
    X(ICAP_ZV_AFLPREVIEWPHYSICALHEIGHT, 0x8035)  \
    X(ICAP_ZV_AFLPREVIEWPHYSICALWIDTH, 0x8036)   \
    X(ICAP_ZV_AFLSCANPHYSICALHEIGHT, 0x8037)     \
    X(ICAP_ZV_AFLSCANPHYSICALWIDTH, 0x8038)      \
    X(ICAP_ZV_AFLMOUNTPHYSICALHEIGHT, 0x8039)    \
    X(ICAP_ZV_AFLMOUNTPHYSICALWIDTH, 0x803A)     \
    X(ICAP_ZV_FEEDERTHUMBNAILENABLED, 0x803C)    \
    X(ICAP_ZV_ADE, 0x8043)                       \
    X(ICAP_ZV_ADFSUPPORTEDMINHEIGHT, 0x8045)     \
    X(ICAP_ZV_ADFSUPPORTEDMINWIDTH, 0x8046)      \
    X(ICAP_ZV_AUTOSIZE, 0x8050)                  \
    X(ICAP_ZV_AUTOCOLORDETECTION, 0x8051)        \
    X(ICAP_ZV_PUNCHHOLEREMOVAL, 0x8052)          \
    X(ICAP_ZV_BLANKPAGESKIP, 0x8053)             \
    X(ICAP_ZV_EDGEFILL, 0x8059)                  \
    X(ICAP_ZV_DROPOUTCOLOR, 0x8062)              \
    X(ICAP_ZV_OVERSCANMARGIN, 0x8066)            \
    X(ICAP_ZV_KDW, 0x8054)                       \
    X(ICAP_ZV_ADFMAXHEIGHT, 0x8056)              \
    X(ICAP_ZV_TEXTENHANCEMENT, 0x8043)           \
    X(ICAP_ZV_TEXTENHANCEMENTLEVEL, 0x8061)      \
    X(ICAP_ZV_COLORENHANCEMENT, 0x804A)          \
    X(ICAP_ZV_COLORENHANCEMENT2, 0x8063)         \
    X(ICAP_ZV_COLORSLIPREDUCTION, 0x8079)        \
    X(ICAP_ZV_AUTOSIZETYPE, 0x8081)
TWAINMON_NAME_TABLE(icap_zv_macros, uint16_t, TWAINMON_ICAP_ZV_ROWS);

#define TWAINMON_TWTY_ROWS(X)  \
    X(TWTY_INT8, 0)            \
    X(TWTY_INT16, 1)           \
    X(TWTY_INT32, 2)           \
    X(TWTY_UINT8, 3)           \
    X(TWTY_UINT16, 4)          \
    X(TWTY_UINT32, 5)          \
    X(TWTY_BOOL, 6)            \
    X(TWTY_FIX32, 7)           \
    X(TWTY_FRAME, 8)           \
    X(TWTY_STR32, 9)           \
    X(TWTY_STR64, 10)          \
    X(TWTY_STR128, 11)         \
    X(TWTY_STR255, 12)
TWAINMON_NAME_TABLE(twty_macros, uint16_t, TWAINMON_TWTY_ROWS);

#define TWAINMON_TWON_ROWS(X)       \
    X(TWON_PROTOCOLMINOR, 0x9)      \
    X(TWON_PROTOCOLMAJOR, 0x1)      \
    X(TWON_ARRAY, 0x3)              \
    X(TWON_ENUMERATION, 0x4)        \
    X(TWON_ONEVALUE, 0x5)           \
    X(TWON_RANGE, 0x6)              \
    X(TWON_ICONID, 0x3C2)           \
    X(TWON_DSMID, 0x1CD)            \
    X(TWON_DSMCODEID, 0x3F)         \
    X(TWON_DONTCARE8, 0xFF)         \
    X(TWON_DONTCARE16, 0xFFFF)      \
    X(TWON_DONTCARE32, 0xFFFFFFFF)
TWAINMON_NAME_TABLE(twon_macros, uint32_t, TWAINMON_TWON_ROWS);

#define TWAINMON_TWCC_ROWS(X)        \
    X(TWCC_CUSTOMBASE, 0x8000)       \
    X(TWCC_SUCCESS, 0x0)             \
    X(TWCC_BUMMER, 0x1)              \
    X(TWCC_LOWMEMORY, 0x2)           \
    X(TWCC_NODS, 0x3)                \
    X(TWCC_MAXCONNECTIONS, 0x4)      \
    X(TWCC_OPERATIONERROR, 0x5)      \
    X(TWCC_BADCAP, 0x6)              \
    X(TWCC_BADPROTOCOL, 0x9)         \
    X(TWCC_BADVALUE, 0xA)            \
    X(TWCC_SEQERROR, 0xB)            \
    X(TWCC_BADDEST, 0xC)             \
    X(TWCC_CAPUNSUPPORTED, 0xD)      \
    X(TWCC_CAPBADOPERATION, 0xE)     \
    X(TWCC_CAPSEQERROR, 0xF)         \
    X(TWCC_DENIED, 0x10)             \
    X(TWCC_FILEEXISTS, 0x11)         \
    X(TWCC_FILENOTFOUND, 0x12)       \
    X(TWCC_NOTEMPTY, 0x13)           \
    X(TWCC_PAPERJAM, 0x14)           \
    X(TWCC_PAPERDOUBLEFEED, 0x15)    \
    X(TWCC_FILEWRITEERROR, 0x16)     \
    X(TWCC_CHECKDEVICEONLINE, 0x17)
TWAINMON_NAME_TABLE(twcc_macros, uint16_t, TWAINMON_TWCC_ROWS);

#define TWAINMON_TWLG_ROWS(X)         \
    X(TWLG_DAN, 0)                    \
    X(TWLG_DUT, 1)                    \
    X(TWLG_ENG, 2)                    \
    X(TWLG_FCF, 3)                    \
    X(TWLG_FIN, 4)                    \
    X(TWLG_FRN, 5)                    \
    X(TWLG_GER, 6)                    \
    X(TWLG_ICE, 7)                    \
    X(TWLG_ITN, 8)                    \
    X(TWLG_NOR, 9)                    \
    X(TWLG_POR, 10)                   \
    X(TWLG_SPA, 11)                   \
    X(TWLG_SWE, 12)                   \
    X(TWLG_USA, 13)                   \
    X(TWLG_USERLOCALE, -1)            \
    X(TWLG_AFRIKAANS, 14)             \
    X(TWLG_ALBANIA, 15)               \
    X(TWLG_ARABIC, 16)                \
    X(TWLG_ARABIC_ALGERIA, 17)        \
    X(TWLG_ARABIC_BAHRAIN, 18)        \
    X(TWLG_ARABIC_EGYPT, 19)          \
    X(TWLG_ARABIC_IRAQ, 20)           \
    X(TWLG_ARABIC_JORDAN, 21)         \
    X(TWLG_ARABIC_KUWAIT, 22)         \
    X(TWLG_ARABIC_LEBANON, 23)        \
    X(TWLG_ARABIC_LIBYA, 24)          \
    X(TWLG_ARABIC_MOROCCO, 25)        \
    X(TWLG_ARABIC_OMAN, 26)           \
    X(TWLG_ARABIC_QATAR, 27)          \
    X(TWLG_ARABIC_SAUDIARABIA, 28)    \
    X(TWLG_ARABIC_SYRIA, 29)          \
    X(TWLG_ARABIC_TUNISIA, 30)        \
    X(TWLG_ARABIC_UAE, 31)            \
    X(TWLG_ARABIC_YEMEN, 32)          \
    X(TWLG_BASQUE, 33)                \
    X(TWLG_BYELORUSSIAN, 34)          \
    X(TWLG_BULGARIAN, 35)             \
    X(TWLG_CATALAN, 36)               \
    X(TWLG_CHINESE, 37)               \
    X(TWLG_CHINESE_HONGKONG, 38)      \
    X(TWLG_CHINESE_PRC, 39)           \
    X(TWLG_CHINESE_SINGAPORE, 40)     \
    X(TWLG_CHINESE_SIMPLIFIED, 41)    \
    X(TWLG_CHINESE_TAIWAN, 42)        \
    X(TWLG_CHINESE_TRADITIONAL, 43)   \
    X(TWLG_CROATIA, 44)               \
    X(TWLG_CZECH, 45)                 \
    X(TWLG_DANISH, 0)                 \
    X(TWLG_DUTCH, 1)                  \
    X(TWLG_DUTCH_BELGIAN, 46)         \
    X(TWLG_ENGLISH, 2)                \
    X(TWLG_ENGLISH_AUSTRALIAN, 47)    \
    X(TWLG_ENGLISH_CANADIAN, 48)      \
    X(TWLG_ENGLISH_IRELAND, 49)       \
    X(TWLG_ENGLISH_NEWZEALAND, 50)    \
    X(TWLG_ENGLISH_SOUTHAFRICA, 51)   \
    X(TWLG_ENGLISH_UK, 52)            \
    X(TWLG_ENGLISH_USA, 13)           \
    X(TWLG_ESTONIAN, 53)              \
    X(TWLG_FAEROESE, 54)              \
    X(TWLG_FARSI, 55)                 \
    X(TWLG_FINNISH, 4)                \
    X(TWLG_FRENCH, 5)                 \
    X(TWLG_FRENCH_BELGIAN, 56)        \
    X(TWLG_FRENCH_CANADIAN, 3)        \
    X(TWLG_FRENCH_LUXEMBOURG, 57)     \
    X(TWLG_FRENCH_SWISS, 58)          \
    X(TWLG_GERMAN, 6)                 \
    X(TWLG_GERMAN_AUSTRIAN, 59)       \
    X(TWLG_GERMAN_LUXEMBOURG, 60)     \
    X(TWLG_GERMAN_LIECHTENSTEIN, 61)  \
    X(TWLG_GERMAN_SWISS, 62)          \
    X(TWLG_GREEK, 63)                 \
    X(TWLG_HEBREW, 64)                \
    X(TWLG_HUNGARIAN, 65)             \
    X(TWLG_ICELANDIC, 7)              \
    X(TWLG_INDONESIAN, 66)            \
    X(TWLG_ITALIAN, 8)                \
    X(TWLG_ITALIAN_SWISS, 67)         \
    X(TWLG_JAPANESE, 68)              \
    X(TWLG_KOREAN, 69)                \
    X(TWLG_KOREAN_JOHAB, 70)          \
    X(TWLG_LATVIAN, 71)               \
    X(TWLG_LITHUANIAN, 72)            \
    X(TWLG_NORWEGIAN, 9)              \
    X(TWLG_NORWEGIAN_BOKMAL, 73)      \
    X(TWLG_NORWEGIAN_NYNORSK, 74)     \
    X(TWLG_POLISH, 75)                \
    X(TWLG_PORTUGUESE, 10)            \
    X(TWLG_PORTUGUESE_BRAZIL, 76)     \
    X(TWLG_ROMANIAN, 77)              \
    X(TWLG_RUSSIAN, 78)               \
    X(TWLG_SERBIAN_LATIN, 79)         \
    X(TWLG_SLOVAK, 80)                \
    X(TWLG_SLOVENIAN, 81)             \
    X(TWLG_SPANISH, 11)               \
    X(TWLG_SPANISH_MEXICAN, 82)       \
    X(TWLG_SPANISH_MODERN, 83)        \
    X(TWLG_SWEDISH, 12)               \
    X(TWLG_THAI, 84)                  \
    X(TWLG_TURKISH, 85)               \
    X(TWLG_UKRANIAN, 86)              \
    X(TWLG_ASSAMESE, 87)              \
    X(TWLG_BENGALI, 88)               \
    X(TWLG_BIHARI, 89)                \
    X(TWLG_BODO, 90)                  \
    X(TWLG_DOGRI, 91)                 \
    X(TWLG_GUJARATI, 92)              \
    X(TWLG_HARYANVI, 93)              \
    X(TWLG_HINDI, 94)                 \
    X(TWLG_KANNADA, 95)               \
    X(TWLG_KASHMIRI, 96)              \
    X(TWLG_MALAYALAM, 97)             \
    X(TWLG_MARATHI, 98)               \
    X(TWLG_MARWARI, 99)               \
    X(TWLG_MEGHALAYAN, 100)           \
    X(TWLG_MIZO, 101)                 \
    X(TWLG_NAGA, 102)                 \
    X(TWLG_ORISSI, 103)               \
    X(TWLG_PUNJABI, 104)              \
    X(TWLG_PUSHTU, 105)               \
    X(TWLG_SERBIAN_CYRILLIC, 106)     \
    X(TWLG_SIKKIMI, 107)              \
    X(TWLG_SWEDISH_FINLAND, 108)      \
    X(TWLG_TAMIL, 109)                \
    X(TWLG_TELUGU, 110)               \
    X(TWLG_TRIPURI, 111)              \
    X(TWLG_URDU, 112)                 \
    X(TWLG_VIETNAMESE, 113)
TWAINMON_NAME_TABLE(twlg_macros, int16_t, TWAINMON_TWLG_ROWS);

#define TWAINMON_TWCY_ROWS(X)    \
    X(TWCY_AFGHANISTAN, 1001)    \
    X(TWCY_ALGERIA, 213)         \
    X(TWCY_AMERICANSAMOA, 684)   \
    X(TWCY_ANDORRA, 27)          \
    X(TWCY_ANGOLA, 1002)         \
    X(TWCY_ANGUILLA, 8090)       \
    X(TWCY_ANTIGUA, 8091)        \
    X(TWCY_ARGENTINA, 54)        \
    X(TWCY_ARUBA, 297)           \
    X(TWCY_ASCENSIONI, 247)      \
    X(TWCY_AUSTRALIA, 61)        \
    X(TWCY_AUSTRIA, 43)          \
    X(TWCY_BAHAMAS, 8092)        \
    X(TWCY_BAHRAIN, 973)         \
    X(TWCY_BANGLADESH, 880)      \
    X(TWCY_BARBADOS, 8093)       \
    X(TWCY_BELGIUM, 32)          \
    X(TWCY_BELIZE, 501)          \
    X(TWCY_BENIN, 229)           \
    X(TWCY_BERMUDA, 8094)        \
    X(TWCY_BHUTAN, 1003)         \
    X(TWCY_BOLIVIA, 591)         \
    X(TWCY_BOTSWANA, 267)        \
    X(TWCY_BRITAIN, 6)           \
    X(TWCY_BRITVIRGINIS, 8095)   \
    X(TWCY_BRAZIL, 55)           \
    X(TWCY_BRUNEI, 673)          \
    X(TWCY_BULGARIA, 359)        \
    X(TWCY_BURKINAFASO, 1004)    \
    X(TWCY_BURMA, 1005)          \
    X(TWCY_BURUNDI, 1006)        \
    X(TWCY_CAMAROON, 237)        \
    X(TWCY_CANADA, 2)            \
    X(TWCY_CAPEVERDEIS, 238)     \
    X(TWCY_CAYMANIS, 8096)       \
    X(TWCY_CENTRALAFREP, 1007)   \
    X(TWCY_CHAD, 1008)           \
    X(TWCY_CHILE, 56)            \
    X(TWCY_CHINA, 86)            \
    X(TWCY_CHRISTMASIS, 1009)    \
    X(TWCY_COCOSIS, 1009)        \
    X(TWCY_COLOMBIA, 57)         \
    X(TWCY_COMOROS, 1010)        \
    X(TWCY_CONGO, 1011)          \
    X(TWCY_COOKIS, 1012)         \
    X(TWCY_COSTARICA, 506)       \
    X(TWCY_CUBA, 5)              \
    X(TWCY_CYPRUS, 357)          \
    X(TWCY_CZECHOSLOVAKIA, 42)   \
    X(TWCY_DENMARK, 45)          \
    X(TWCY_DJIBOUTI, 1013)       \
    X(TWCY_DOMINICA, 8097)       \
    X(TWCY_DOMINCANREP, 8098)    \
    X(TWCY_EASTERIS, 1014)       \
    X(TWCY_ECUADOR, 593)         \
    X(TWCY_EGYPT, 20)            \
    X(TWCY_ELSALVADOR, 503)      \
    X(TWCY_EQGUINEA, 1015)       \
    X(TWCY_ETHIOPIA, 251)        \
    X(TWCY_FALKLANDIS, 1016)     \
    X(TWCY_FAEROEIS, 298)        \
    X(TWCY_FIJIISLANDS, 679)     \
    X(TWCY_FINLAND, 358)         \
    X(TWCY_FRANCE, 33)           \
    X(TWCY_FRANTILLES, 596)      \
    X(TWCY_FRGUIANA, 594)        \
    X(TWCY_FRPOLYNEISA, 689)     \
    X(TWCY_FUTANAIS, 1043)       \
    X(TWCY_GABON, 241)           \
    X(TWCY_GAMBIA, 220)          \
    X(TWCY_GERMANY, 49)          \
    X(TWCY_GHANA, 233)           \
    X(TWCY_GIBRALTER, 350)       \
    X(TWCY_GREECE, 30)           \
    X(TWCY_GREENLAND, 299)       \
    X(TWCY_GRENADA, 8099)        \
    X(TWCY_GRENEDINES, 8015)     \
    X(TWCY_GUADELOUPE, 590)      \
    X(TWCY_GUAM, 671)            \
    X(TWCY_GUANTANAMOBAY, 5399)  \
    X(TWCY_GUATEMALA, 502)       \
    X(TWCY_GUINEA, 224)          \
    X(TWCY_GUINEABISSAU, 1017)   \
    X(TWCY_GUYANA, 592)          \
    X(TWCY_HAITI, 509)           \
    X(TWCY_HONDURAS, 504)        \
    X(TWCY_HONGKONG, 852)        \
    X(TWCY_HUNGARY, 36)          \
    X(TWCY_ICELAND, 354)         \
    X(TWCY_INDIA, 91)            \
    X(TWCY_INDONESIA, 62)        \
    X(TWCY_IRAN, 98)             \
    X(TWCY_IRAQ, 964)            \
    X(TWCY_IRELAND, 353)         \
    X(TWCY_ISRAEL, 972)          \
    X(TWCY_ITALY, 39)            \
    X(TWCY_IVORYCOAST, 225)      \
    X(TWCY_JAMAICA, 8010)        \
    X(TWCY_JAPAN, 81)            \
    X(TWCY_JORDAN, 962)          \
    X(TWCY_KENYA, 254)           \
    X(TWCY_KIRIBATI, 1018)       \
    X(TWCY_KOREA, 82)            \
    X(TWCY_KUWAIT, 965)          \
    X(TWCY_LAOS, 1019)           \
    X(TWCY_LEBANON, 1020)        \
    X(TWCY_LIBERIA, 231)         \
    X(TWCY_LIBYA, 218)           \
    X(TWCY_LIECHTENSTEIN, 41)    \
    X(TWCY_LUXENBOURG, 352)      \
    X(TWCY_MACAO, 853)           \
    X(TWCY_MADAGASCAR, 1021)     \
    X(TWCY_MALAWI, 265)          \
    X(TWCY_MALAYSIA, 60)         \
    X(TWCY_MALDIVES, 960)        \
    X(TWCY_MALI, 1022)           \
    X(TWCY_MALTA, 356)           \
    X(TWCY_MARSHALLIS, 692)      \
    X(TWCY_MAURITANIA, 1023)     \
    X(TWCY_MAURITIUS, 230)       \
    X(TWCY_MEXICO, 3)            \
    X(TWCY_MICRONESIA, 691)      \
    X(TWCY_MIQUELON, 508)        \
    X(TWCY_MONACO, 33)           \
    X(TWCY_MONGOLIA, 1024)       \
    X(TWCY_MONTSERRAT, 8011)     \
    X(TWCY_MOROCCO, 212)         \
    X(TWCY_MOZAMBIQUE, 1025)     \
    X(TWCY_NAMIBIA, 264)         \
    X(TWCY_NAURU, 1026)          \
    X(TWCY_NEPAL, 977)           \
    X(TWCY_NETHERLANDS, 31)      \
    X(TWCY_NETHANTILLES, 599)    \
    X(TWCY_NEVIS, 8012)          \
    X(TWCY_NEWCALEDONIA, 687)    \
    X(TWCY_NEWZEALAND, 64)       \
    X(TWCY_NICARAGUA, 505)       \
    X(TWCY_NIGER, 227)           \
    X(TWCY_NIGERIA, 234)         \
    X(TWCY_NIUE, 1027)           \
    X(TWCY_NORFOLKI, 1028)       \
    X(TWCY_NORWAY, 47)           \
    X(TWCY_OMAN, 968)            \
    X(TWCY_PAKISTAN, 92)         \
    X(TWCY_PALAU, 1029)          \
    X(TWCY_PANAMA, 507)          \
    X(TWCY_PARAGUAY, 595)        \
    X(TWCY_PERU, 51)             \
    X(TWCY_PHILLIPPINES, 63)     \
    X(TWCY_PITCAIRNIS, 1030)     \
    X(TWCY_PNEWGUINEA, 675)      \
    X(TWCY_POLAND, 48)           \
    X(TWCY_PORTUGAL, 351)        \
    X(TWCY_QATAR, 974)           \
    X(TWCY_REUNIONI, 1031)       \
    X(TWCY_ROMANIA, 40)          \
    X(TWCY_RWANDA, 250)          \
    X(TWCY_SAIPAN, 670)          \
    X(TWCY_SANMARINO, 39)        \
    X(TWCY_SAOTOME, 1033)        \
    X(TWCY_SAUDIARABIA, 966)     \
    X(TWCY_SENEGAL, 221)         \
    X(TWCY_SEYCHELLESIS, 1034)   \
    X(TWCY_SIERRALEONE, 1035)    \
    X(TWCY_SINGAPORE, 65)        \
    X(TWCY_SOLOMONIS, 1036)      \
    X(TWCY_SOMALI, 1037)         \
    X(TWCY_SOUTHAFRICA, 27)      \
    X(TWCY_SPAIN, 34)            \
    X(TWCY_SRILANKA, 94)         \
    X(TWCY_STHELENA, 1032)       \
    X(TWCY_STKITTS, 8013)        \
    X(TWCY_STLUCIA, 8014)        \
    X(TWCY_STPIERRE, 508)        \
    X(TWCY_STVINCENT, 8015)      \
    X(TWCY_SUDAN, 1038)          \
    X(TWCY_SURINAME, 597)        \
    X(TWCY_SWAZILAND, 268)       \
    X(TWCY_SWEDEN, 46)           \
    X(TWCY_SWITZERLAND, 41)      \
    X(TWCY_SYRIA, 1039)          \
    X(TWCY_TAIWAN, 886)          \
    X(TWCY_TANZANIA, 255)        \
    X(TWCY_THAILAND, 66)         \
    X(TWCY_TOBAGO, 8016)         \
    X(TWCY_TOGO, 228)            \
    X(TWCY_TONGAIS, 676)         \
    X(TWCY_TRINIDAD, 8016)       \
    X(TWCY_TUNISIA, 216)         \
    X(TWCY_TURKEY, 90)           \
    X(TWCY_TURKSCAICOS, 8017)    \
    X(TWCY_TUVALU, 1040)         \
    X(TWCY_UGANDA, 256)          \
    X(TWCY_USSR, 7)              \
    X(TWCY_UAEMIRATES, 971)      \
    X(TWCY_UNITEDKINGDOM, 44)    \
    X(TWCY_USA, 1)               \
    X(TWCY_URUGUAY, 598)         \
    X(TWCY_VANUATU, 1041)        \
    X(TWCY_VATICANCITY, 39)      \
    X(TWCY_VENEZUELA, 58)        \
    X(TWCY_WAKE, 1042)           \
    X(TWCY_WALLISIS, 1043)       \
    X(TWCY_WESTERNSAHARA, 1044)  \
    X(TWCY_WESTERNSAMOA, 1045)   \
    X(TWCY_YEMEN, 1046)          \
    X(TWCY_YUGOSLAVIA, 38)       \
    X(TWCY_ZAIRE, 243)           \
    X(TWCY_ZAMBIA, 260)          \
    X(TWCY_ZIMBABWE, 263)        \
    X(TWCY_ALBANIA, 355)         \
    X(TWCY_ARMENIA, 374)         \
    X(TWCY_AZERBAIJAN, 994)      \
    X(TWCY_BELARUS, 375)         \
    X(TWCY_BOSNIAHERZGO, 387)    \
    X(TWCY_CAMBODIA, 855)        \
    X(TWCY_CROATIA, 385)         \
    X(TWCY_CZECHREPUBLIC, 420)   \
    X(TWCY_DIEGOGARCIA, 246)     \
    X(TWCY_ERITREA, 291)         \
    X(TWCY_ESTONIA, 372)         \
    X(TWCY_GEORGIA, 995)         \
    X(TWCY_LATVIA, 371)          \
    X(TWCY_LESOTHO, 266)         \
    X(TWCY_LITHUANIA, 370)       \
    X(TWCY_MACEDONIA, 389)       \
    X(TWCY_MAYOTTEIS, 269)       \
    X(TWCY_MOLDOVA, 373)         \
    X(TWCY_MYANMAR, 95)          \
    X(TWCY_NORTHKOREA, 850)      \
    X(TWCY_PUERTORICO, 787)      \
    X(TWCY_RUSSIA, 7)            \
    X(TWCY_SERBIA, 381)          \
    X(TWCY_SLOVAKIA, 421)        \
    X(TWCY_SLOVENIA, 386)        \
    X(TWCY_SOUTHKOREA, 82)       \
    X(TWCY_UKRAINE, 380)         \
    X(TWCY_USVIRGINIS, 340)      \
    X(TWCY_VIETNAM, 84)
TWAINMON_NAME_TABLE(twcy_macros, uint16_t, TWAINMON_TWCY_ROWS);

#define TWAINMON_TWBR_ROWS(X)  \
    X(TWBR_THRESHOLD, 0)       \
    X(TWBR_HALFTONE, 1)        \
    X(TWBR_CUSTHALFTONE, 2)    \
    X(TWBR_DIFFUSION, 3)
TWAINMON_NAME_TABLE(twbr_macros, uint16_t, TWAINMON_TWBR_ROWS);

#define TWAINMON_TWBO_ROWS(X)  \
    X(TWBO_LSBFIRST, 0)        \
    X(TWBO_MSBFIRST, 1)
TWAINMON_NAME_TABLE(twbo_macros, uint16_t, TWAINMON_TWBO_ROWS);

#define TWAINMON_TWCP_ROWS(X)  \
    X(TWCP_NONE, 0)            \
    X(TWCP_PACKBITS, 1)        \
    X(TWCP_GROUP31D, 2)        \
    X(TWCP_GROUP31DEOL, 3)     \
    X(TWCP_GROUP32D, 4)        \
    X(TWCP_GROUP4, 5)          \
    X(TWCP_JPEG, 6)            \
    X(TWCP_LZW, 7)             \
    X(TWCP_JBIG, 8)            \
    X(TWCP_PNG, 9)             \
    X(TWCP_RLE4, 10)           \
    X(TWCP_RLE8, 11)           \
    X(TWCP_BITFIELDS, 12)
TWAINMON_NAME_TABLE(twcp_macros, uint16_t, TWAINMON_TWCP_ROWS);

#define TWAINMON_TWFT_ROWS(X)  \
    X(TWFT_RED, 0)             \
    X(TWFT_GREEN, 1)           \
    X(TWFT_BLUE, 2)            \
    X(TWFT_NONE, 3)            \
    X(TWFT_WHITE, 4)           \
    X(TWFT_CYAN, 5)            \
    X(TWFT_MAGENTA, 6)         \
    X(TWFT_YELLOW, 7)          \
    X(TWFT_BLACK, 8)
TWAINMON_NAME_TABLE(twft_macros, uint16_t, TWAINMON_TWFT_ROWS);

#define TWAINMON_TWFF_ROWS(X)  \
    X(TWFF_TIFF, 0)            \
    X(TWFF_PICT, 1)            \
    X(TWFF_BMP, 2)             \
    X(TWFF_XBM, 3)             \
    X(TWFF_JFIF, 4)            \
    X(TWFF_FPX, 5)             \
    X(TWFF_TIFFMULTI, 6)       \
    X(TWFF_PNG, 7)             \
    X(TWFF_SPIFF, 8)           \
    X(TWFF_EXIF, 9)
TWAINMON_NAME_TABLE(twff_macros, uint16_t, TWAINMON_TWFF_ROWS);

#define TWAINMON_TWLP_ROWS(X)  \
    X(TWLP_REFLECTIVE, 0)      \
    X(TWLP_TRANSMISSIVE, 1)
TWAINMON_NAME_TABLE(twlp_macros, uint16_t, TWAINMON_TWLP_ROWS);

#define TWAINMON_TWLS_ROWS(X)  \
    X(TWLS_RED, 0)             \
    X(TWLS_GREEN, 1)           \
    X(TWLS_BLUE, 2)            \
    X(TWLS_NONE, 3)            \
    X(TWLS_WHITE, 4)           \
    X(TWLS_UV, 5)              \
    X(TWLS_IR, 6)
TWAINMON_NAME_TABLE(twls_macros, uint16_t, TWAINMON_TWLS_ROWS);

#define TWAINMON_TWOR_ROWS(X)  \
    X(TWOR_ROT0, 0)            \
    X(TWOR_ROT90, 1)           \
    X(TWOR_ROT180, 2)          \
    X(TWOR_ROT270, 3)          \
    X(TWOR_PORTRAIT, 0)        \
    X(TWOR_LANDSCAPE, 3)
TWAINMON_NAME_TABLE(twor_macros, uint16_t, TWAINMON_TWOR_ROWS);

#define TWAINMON_TWPF_ROWS(X)  \
    X(TWPF_CHOCOLATE, 0)       \
    X(TWPF_VANILLA, 1)
TWAINMON_NAME_TABLE(twpf_macros, uint16_t, TWAINMON_TWPF_ROWS);

#define TWAINMON_TWPT_ROWS(X)  \
    X(TWPT_BW, 0)              \
    X(TWPT_GRAY, 1)            \
    X(TWPT_RGB, 2)             \
    X(TWPT_PALETTE, 3)         \
    X(TWPT_CMY, 4)             \
    X(TWPT_CMYK, 5)            \
    X(TWPT_YUV, 6)             \
    X(TWPT_YUVK, 7)            \
    X(TWPT_CIEXYZ, 8)
TWAINMON_NAME_TABLE(twpt_macros, uint16_t, TWAINMON_TWPT_ROWS);

#define TWAINMON_TWPC_ROWS(X)  \
    X(TWPC_CHUNKY, 0)          \
    X(TWPC_PLANAR, 1)
TWAINMON_NAME_TABLE(twpc_macros, uint16_t, TWAINMON_TWPC_ROWS);

#define TWAINMON_TWSS_ROWS(X)  \
    X(TWSS_NONE, 0)            \
    X(TWSS_A4LETTER, 1)        \
    X(TWSS_B5LETTER, 2)        \
    X(TWSS_USLETTER, 3)        \
    X(TWSS_USLEGAL, 4)         \
    X(TWSS_A5, 5)              \
    X(TWSS_B4, 6)              \
    X(TWSS_B6, 7)              \
    X(TWSS_USLEDGER, 9)        \
    X(TWSS_USEXECUTIVE, 10)    \
    X(TWSS_A3, 11)             \
    X(TWSS_B3, 12)             \
    X(TWSS_A6, 13)             \
    X(TWSS_C4, 14)             \
    X(TWSS_C5, 15)             \
    X(TWSS_C6, 16)             \
    X(TWSS_4A0, 17)            \
    X(TWSS_2A0, 18)            \
    X(TWSS_A0, 19)             \
    X(TWSS_A1, 20)             \
    X(TWSS_A2, 21)             \
    X(TWSS_A4, 1)              \
    X(TWSS_A7, 22)             \
    X(TWSS_A8, 23)             \
    X(TWSS_A9, 24)             \
    X(TWSS_A10, 25)            \
    X(TWSS_ISOB0, 26)          \
    X(TWSS_ISOB1, 27)          \
    X(TWSS_ISOB2, 28)          \
    X(TWSS_ISOB3, 12)          \
    X(TWSS_ISOB4, 6)           \
    X(TWSS_ISOB5, 29)          \
    X(TWSS_ISOB6, 7)           \
    X(TWSS_ISOB7, 30)          \
    X(TWSS_ISOB8, 31)          \
    X(TWSS_ISOB9, 32)          \
    X(TWSS_ISOB10, 33)         \
    X(TWSS_JISB0, 34)          \
    X(TWSS_JISB1, 35)          \
    X(TWSS_JISB2, 36)          \
    X(TWSS_JISB3, 37)          \
    X(TWSS_JISB4, 38)          \
    X(TWSS_JISB5, 2)           \
    X(TWSS_JISB6, 39)          \
    X(TWSS_JISB7, 40)          \
    X(TWSS_JISB8, 41)          \
    X(TWSS_JISB9, 42)          \
    X(TWSS_JISB10, 43)         \
    X(TWSS_C0, 44)             \
    X(TWSS_C1, 45)             \
    X(TWSS_C2, 46)             \
    X(TWSS_C3, 47)             \
    X(TWSS_C7, 48)             \
    X(TWSS_C8, 49)             \
    X(TWSS_C9, 50)             \
    X(TWSS_C10, 51)            \
    X(TWSS_USSTATEMENT, 52)    \
    X(TWSS_BUSINESSCARD, 53)
TWAINMON_NAME_TABLE(twss_macros, uint16_t, TWAINMON_TWSS_ROWS);

#define TWAINMON_TWSX_ROWS(X)  \
    X(TWSX_NATIVE, 0)          \
    X(TWSX_FILE, 1)            \
    X(TWSX_MEMORY, 2)
TWAINMON_NAME_TABLE(twsx_macros, uint16_t, TWAINMON_TWSX_ROWS);

#define TWAINMON_TWUN_ROWS(X)  \
    X(TWUN_INCHES, 0)          \
    X(TWUN_CENTIMETERS, 1)     \
    X(TWUN_PICAS, 2)           \
    X(TWUN_POINTS, 3)          \
    X(TWUN_TWIPS, 4)           \
    X(TWUN_PIXELS, 5)
TWAINMON_NAME_TABLE(twun_macros, uint16_t, TWAINMON_TWUN_ROWS);

#define TWAINMON_TWDX_ROWS(X)  \
    X(TWDX_NONE, 0)            \
    X(TWDX_1PASSDUPLEX, 1)     \
    X(TWDX_2PASSDUPLEX, 2)
TWAINMON_NAME_TABLE(twdx_macros, uint16_t, TWAINMON_TWDX_ROWS);

#define TWAINMON_TWJC_ROWS(X)  \
    X(TWJC_NONE, 0)            \
    X(TWJC_JSIC, 1)            \
    X(TWJC_JSIS, 2)            \
    X(TWJC_JSXC, 3)            \
    X(TWJC_JSXS, 4)
TWAINMON_NAME_TABLE(twjc_macros, uint16_t, TWAINMON_TWJC_ROWS);

#define TWAINMON_TWAF_ROWS(X)  \
    X(TWAF_WAV, 0)             \
    X(TWAF_AIFF, 1)            \
    X(TWAF_AU, 3)              \
    X(TWAF_SND, 4)
TWAINMON_NAME_TABLE(twaf_macros, uint16_t, TWAINMON_TWAF_ROWS);

#define TWAINMON_TWAL_ROWS(X)  \
    X(TWAL_ALARM, 0)           \
    X(TWAL_FEEDERERROR, 1)     \
    X(TWAL_FEEDERWARNING, 2)   \
    X(TWAL_BARCODE, 3)         \
    X(TWAL_DOUBLEFEED, 4)      \
    X(TWAL_JAM, 5)             \
    X(TWAL_PATCHCODE, 6)       \
    X(TWAL_POWER, 7)           \
    X(TWAL_SKEW, 8)
TWAINMON_NAME_TABLE(twal_macros, uint16_t, TWAINMON_TWAL_ROWS);

#define TWAINMON_TWCB_ROWS(X)  \
    X(TWCB_AUTO, 0)            \
    X(TWCB_CLEAR, 1)           \
    X(TWCB_NOCLEAR, 2)
TWAINMON_NAME_TABLE(twcb_macros, uint16_t, TWAINMON_TWCB_ROWS);

#define TWAINMON_TWDE_ROWS(X)           \
    X(TWDE_CUSTOMEVENTS, 0x8000)        \
    X(TWDE_CHECKAUTOMATICCAPTURE, 0x0)  \
    X(TWDE_CHECKBATTERY, 0x1)           \
    X(TWDE_CHECKDEVICEONLINE, 0x2)      \
    X(TWDE_CHECKFLASH, 0x3)             \
    X(TWDE_CHECKPOWERSUPPLY, 0x4)       \
    X(TWDE_CHECKRESOLUTION, 0x5)        \
    X(TWDE_DEVICEADDED, 0x6)            \
    X(TWDE_DEVICEOFFLINE, 0x7)          \
    X(TWDE_DEVICEREADY, 0x8)            \
    X(TWDE_DEVICEREMOVED, 0x9)          \
    X(TWDE_IMAGECAPTURED, 0xA)          \
    X(TWDE_IMAGEDELETED, 0xB)           \
    X(TWDE_PAPERDOUBLEFEED, 0xC)        \
    X(TWDE_PAPERJAM, 0xD)               \
    X(TWDE_LAMPFAILURE, 0xE)            \
    X(TWDE_POWERSAVE, 0xF)              \
    X(TWDE_POWERSAVENOTIFY, 0x10)
TWAINMON_NAME_TABLE(twde_macros, uint16_t, TWAINMON_TWDE_ROWS);

#define TWAINMON_TWFA_ROWS(X)  \
    X(TWFA_NONE, 0)            \
    X(TWFA_LEFT, 1)            \
    X(TWFA_CENTER, 2)          \
    X(TWFA_RIGHT, 3)
TWAINMON_NAME_TABLE(twfa_macros, uint16_t, TWAINMON_TWFA_ROWS);

#define TWAINMON_TWFO_ROWS(X)  \
    X(TWFO_FIRSTPAGEFIRST, 0)  \
    X(TWFO_LASTPAGEFIRST, 1)
TWAINMON_NAME_TABLE(twfo_macros, uint16_t, TWAINMON_TWFO_ROWS);

#define TWAINMON_TWPS_ROWS(X)  \
    X(TWPS_EXTERNAL, 0)        \
    X(TWPS_BATTERY, 1)
TWAINMON_NAME_TABLE(twps_macros, uint16_t, TWAINMON_TWPS_ROWS);

#define TWAINMON_TWPR_ROWS(X)         \
    X(TWPR_IMPRINTERTOPBEFORE, 0)     \
    X(TWPR_IMPRINTERTOPAFTER, 1)      \
    X(TWPR_IMPRINTERBOTTOMBEFORE, 2)  \
    X(TWPR_IMPRINTERBOTTOMAFTER, 3)   \
    X(TWPR_ENDORSERTOPBEFORE, 4)      \
    X(TWPR_ENDORSERTOPAFTER, 5)       \
    X(TWPR_ENDORSERBOTTOMBEFORE, 6)   \
    X(TWPR_ENDORSERBOTTOMAFTER, 7)
TWAINMON_NAME_TABLE(twpr_macros, uint16_t, TWAINMON_TWPR_ROWS);

#define TWAINMON_TWPM_ROWS(X)  \
    X(TWPM_SINGLESTRING, 0)    \
    X(TWPM_MULTISTRING, 1)     \
    X(TWPM_COMPOUNDSTRING, 2)
TWAINMON_NAME_TABLE(twpm_macros, uint16_t, TWAINMON_TWPM_ROWS);

#define TWAINMON_TWBD_ROWS(X)  \
    X(TWBD_HORZ, 0)            \
    X(TWBD_VERT, 1)            \
    X(TWBD_HORZVERT, 2)        \
    X(TWBD_VERTHORZ, 3)
TWAINMON_NAME_TABLE(twbd_macros, uint16_t, TWAINMON_TWBD_ROWS);

#define TWAINMON_TWFL_ROWS(X)  \
    X(TWFL_NONE, 0)            \
    X(TWFL_OFF, 1)             \
    X(TWFL_ON, 2)              \
    X(TWFL_AUTO, 3)            \
    X(TWFL_REDEYE, 4)
TWAINMON_NAME_TABLE(twfl_macros, uint16_t, TWAINMON_TWFL_ROWS);

#define TWAINMON_TWFR_ROWS(X)  \
    X(TWFR_BOOK, 0)            \
    X(TWFR_FANFOLD, 1)
TWAINMON_NAME_TABLE(twfr_macros, uint16_t, TWAINMON_TWFR_ROWS);

#define TWAINMON_TWIF_ROWS(X)  \
    X(TWIF_NONE, 0)            \
    X(TWIF_AUTO, 1)            \
    X(TWIF_LOWPASS, 2)         \
    X(TWIF_BANDPASS, 3)        \
    X(TWIF_HIGHPASS, 4)        \
    X(TWIF_TEXT, 3)            \
    X(TWIF_FINELINE, 4)
TWAINMON_NAME_TABLE(twif_macros, uint16_t, TWAINMON_TWIF_ROWS);

#define TWAINMON_TWNF_ROWS(X)  \
    X(TWNF_NONE, 0)            \
    X(TWNF_AUTO, 1)            \
    X(TWNF_LONEPIXEL, 2)       \
    X(TWNF_MAJORITYRULE, 3)
TWAINMON_NAME_TABLE(twnf_macros, uint16_t, TWAINMON_TWNF_ROWS);

#define TWAINMON_TWOV_ROWS(X)  \
    X(TWOV_NONE, 0)            \
    X(TWOV_AUTO, 1)            \
    X(TWOV_TOPBOTTOM, 2)       \
    X(TWOV_LEFTRIGHT, 3)       \
    X(TWOV_ALL, 4)
TWAINMON_NAME_TABLE(twov_macros, uint16_t, TWAINMON_TWOV_ROWS);

#define TWAINMON_TWZV_UI_ROWS(X)    \
    X(TWZV_UI_CONVENTIONAL, 0)      \
    X(TWZV_UI_ADVANCED, 1)          \
    X(TWZV_UI_EASY, 2)              \
    X(TWZV_UI_SIMPLE, 3)            \
    X(TWZV_UI_EASYUISUPPRESSED, 4)  \
    X(TWZV_UI_DOCUMENT, 5)          \
    X(TWZV_UI_EXTRALIDFILM, 6)
TWAINMON_NAME_TABLE(twzv_ui_macros, uint16_t, TWAINMON_TWZV_UI_ROWS);

#define TWAINMON_TWZV_FT_ROWS(X)      \
    X(TWZV_FT_POSI, 0)                \
    X(TWZV_FT_NEGA, 1)                \
    X(TWZV_FT_REFLECTIVE, 2)          \
    X(TWZV_FT_BWNEGA, 3)              \
    X(TWZV_FT_REFLECTIVEDOCUMENT, 4)
TWAINMON_NAME_TABLE(twzv_ft_macros, uint16_t, TWAINMON_TWZV_FT_ROWS);

#define TWAINMON_TWZV_EM_ROWS(X)  \
    X(TWZV_EM_NORMAL, 0)          \
    X(TWZV_EM_PREVIEW, 1)         \
    X(TWZV_EM_AUTO, 2)
TWAINMON_NAME_TABLE(twzv_em_macros, uint16_t, TWAINMON_TWZV_EM_ROWS);

#define TWAINMON_TWZV_PG_ROWS(X)  \
    X(TWZV_PG_10, 0)              \
    X(TWZV_PG_18, 1)
TWAINMON_NAME_TABLE(twzv_pg_macros, uint16_t, TWAINMON_TWZV_PG_ROWS);

#define TWAINMON_TWZV_GT_ROWS(X)  \
    X(TWZV_GT_NORMAL, 0)          \
    X(TWZV_GT_LINEAR, 1)          \
    X(TWZV_GT_PRESET, 2)
TWAINMON_NAME_TABLE(twzv_gt_macros, uint16_t, TWAINMON_TWZV_GT_ROWS);

#define TWAINMON_TWZV_CC_ROWS(X)  \
    X(TWZV_CC_DEFAULT, 0)         \
    X(TWZV_CC_NONE, 1)            \
    X(TWZV_CC_PRESET, 2)
TWAINMON_NAME_TABLE(twzv_cc_macros, uint16_t, TWAINMON_TWZV_CC_ROWS);

#define TWAINMON_TWZV_CL_ROWS(X)  \
    X(TWZV_CL_STANDARD, 0)        \
    X(TWZV_CL_DUMB, 1)
TWAINMON_NAME_TABLE(twzv_cl_macros, uint16_t, TWAINMON_TWZV_CL_ROWS);

#define TWAINMON_TWZV_TPU_ROWS(X)  \
    X(TWZV_TPU_NONE, 0)            \
    X(TWZV_TPU_TYPE1, 1)           \
    X(TWZV_TPU_TYPE2, 2)           \
    X(TWZV_TPU_TYPE3, 3)
TWAINMON_NAME_TABLE(twzv_tpu_macros, uint16_t, TWAINMON_TWZV_TPU_ROWS);

#define TWAINMON_TWZV_USM_ROWS(X)  \
    X(TWZV_USM_LOW, 0)             \
    X(TWZV_USM_MEDIUM, 1)          \
    X(TWZV_USM_HIGH, 2)            \
    X(TWZV_USM_CUSTOM, 3)
TWAINMON_NAME_TABLE(twzv_usm_macros, uint16_t, TWAINMON_TWZV_USM_ROWS);

#define TWAINMON_TWZV_DSCR_ROWS(X)  \
    X(TWZV_DSCR_COMMON, 0)          \
    X(TWZV_DSCR_85, 1)              \
    X(TWZV_DSCR_133, 2)             \
    X(TWZV_DSCR_175, 3)
TWAINMON_NAME_TABLE(twzv_dscr_macros, uint16_t, TWAINMON_TWZV_DSCR_ROWS);

#define TWAINMON_TWZV_TA_ROWS(X)  \
    X(TWZV_TA_LENGTHWAYS, 0)      \
    X(TWZV_TA_SIDEWAYS, 1)
TWAINMON_NAME_TABLE(twzv_ta_macros, uint16_t, TWAINMON_TWZV_TA_ROWS);

#define TWAINMON_TWZV_DR_ROWS(X)  \
    X(TWZV_DR_LOW, 0)             \
    X(TWZV_DR_MEDIUM, 1)          \
    X(TWZV_DR_HIGH, 2)
TWAINMON_NAME_TABLE(twzv_dr_macros, uint16_t, TWAINMON_TWZV_DR_ROWS);

#define TWAINMON_TWZV_ICE_ROWS(X)  \
    X(TWZV_ICE_LOW, 0)             \
    X(TWZV_ICE_HIGH, 1)
TWAINMON_NAME_TABLE(twzv_ice_macros, uint16_t, TWAINMON_TWZV_ICE_ROWS);

#define TWAINMON_TWZV_GR_ROWS(X)  \
    X(TWZV_GR_LOW, 0)             \
    X(TWZV_GR_MEDIUM, 1)          \
    X(TWZV_GR_HIGH, 2)
TWAINMON_NAME_TABLE(twzv_gr_macros, uint16_t, TWAINMON_TWZV_GR_ROWS);

#define TWAINMON_TWZV_HT_ROWS(X)  \
    X(TWZV_HT_NOSET, 0)           \
    X(TWZV_HT_REFLECT, 1)         \
    X(TWZV_HT_35MMSTRIP, 2)       \
    X(TWZV_HT_BROWNIE, 3)         \
    X(TWZV_HT_35MMMOUNT, 4)       \
    X(TWZV_HT_40X50, 5)
TWAINMON_NAME_TABLE(twzv_ht_macros, uint16_t, TWAINMON_TWZV_HT_ROWS);

#define TWAINMON_TWZV_FS_ROWS(X)  \
    X(TWZV_FS_NOSET, 0)           \
    X(TWZV_FS_60X45, 1)           \
    X(TWZV_FS_60X60, 2)           \
    X(TWZV_FS_60X70, 3)           \
    X(TWZV_FS_60X80, 4)           \
    X(TWZV_FS_60X90, 5)
TWAINMON_NAME_TABLE(twzv_fs_macros, uint16_t, TWAINMON_TWZV_FS_ROWS);

#define TWAINMON_TWZV_AF_ROWS(X)  \
    X(TWZV_AF_STRIP, 0)           \
    X(TWZV_AF_MOUNT, 1)
TWAINMON_NAME_TABLE(twzv_af_macros, uint16_t, TWAINMON_TWZV_AF_ROWS);

#define TWAINMON_TWZV_FET_ROWS(X)  \
    X(TWZV_FT_ADF, 0)              \
    X(TWZV_FT_MPF, 1)
TWAINMON_NAME_TABLE(twzv_fet_macros, uint16_t, TWAINMON_TWZV_FET_ROWS);

#define TWAINMON_TWZV_LI_ROWS(X)  \
    X(TWZV_LI_NORMAL, 0)          \
    X(TWZV_LI_EXTEND, 1)
TWAINMON_NAME_TABLE(twzv_li_macros, uint16_t, TWAINMON_TWZV_LI_ROWS);

#define TWAINMON_TWZV_AUTOSIZETYPE_ROWS(X)  \
    X(TWZV_AUTOSIZE_NORMAL, 0)              \
    X(TWZV_AUTOSIZE_LONG, 1)
TWAINMON_NAME_TABLE(twzv_autosizetype_macros, uint16_t, TWAINMON_TWZV_AUTOSIZETYPE_ROWS);

// The table that names a DAT or a MSG (NameSet::Dats, NameSet::Msgs).
constexpr const NameTable& DatNames(uint16_t dat) { return dat < 0x8001 ? dat_macros : dat_zv_macros; }
constexpr const NameTable& MsgNames(uint16_t msg) { return msg < 0x8001 ? msg_macros : msg_zv_macros; }

// ---- Value directories: which table names the values of a capability ----------------------------

struct ValToCapEntry {
    uint32_t cap;
    const NameTable* names;
};

// A capability of the TWAIN standard that has a value table but no row in the capability tables.
enum : uint16_t { ACAP_AUDIOFILEFORMAT = 0x1201 };

// Standard capabilities (0x8000 and below).
inline constexpr ValToCapEntry VALTOCAP[] = {
    {ICAP_BITDEPTHREDUCTION, &twbr_macros},
    {ICAP_BITORDER, &twbo_macros},
    {ICAP_COMPRESSION, &twcp_macros},
    {ICAP_FILTER, &twft_macros},
    {ICAP_IMAGEFILEFORMAT, &twff_macros},
    {ICAP_LIGHTPATH, &twlp_macros},
    {ICAP_LIGHTSOURCE, &twls_macros},
    {ICAP_ORIENTATION, &twor_macros},
    {ICAP_PIXELFLAVOR, &twpf_macros},
    {ICAP_PIXELTYPE, &twpt_macros},
    {ICAP_PLANARCHUNKY, &twpc_macros},
    {ICAP_SUPPORTEDSIZES, &twss_macros},
    {ICAP_XFERMECH, &twsx_macros},
    {ICAP_UNITS, &twun_macros},
    {CAP_DUPLEX, &twdx_macros},
    {CAP_JOBCONTROL, &twjc_macros},
    {ACAP_AUDIOFILEFORMAT, &twaf_macros},
    {CAP_ALARMS, &twal_macros},
    {CAP_CLEARBUFFERS, &twcb_macros},
    {CAP_DEVICEEVENT, &twde_macros},
    {CAP_FEEDERALIGNMENT, &twfa_macros},
    {CAP_FEEDERORDER, &twfo_macros},
    {CAP_POWERSUPPLY, &twps_macros},
    {CAP_PRINTER, &twpr_macros},
    {CAP_PRINTERMODE, &twpm_macros},
    {ICAP_BARCODESEARCHMODE, &twbd_macros},
    {ICAP_FLASHUSED2, &twfl_macros},
    {ICAP_FLIPROTATION, &twfr_macros},
    {ICAP_IMAGEFILTER, &twif_macros},
    {ICAP_NOISEFILTER, &twnf_macros},
    {ICAP_OVERSCAN, &twov_macros},
};

// Extension capabilities (0x8001 and above).
inline constexpr ValToCapEntry VALTOCAPZV[] = {
    {CAP_ZV_UIMODE, &twzv_ui_macros},
    {ICAP_ZV_FILMTYPE, &twzv_ft_macros},
    {ICAP_ZV_EXPOSUREMODE, &twzv_em_macros},
    {ICAP_ZV_LUT1, &twzv_pg_macros},
    {ICAP_ZV_LUT2, &twzv_gt_macros},
    {ICAP_ZV_COLORCORRECTION, &twzv_cc_macros},
    {CAP_ZV_COMMANDLEVEL, &twzv_cl_macros},
    {CAP_ZV_TPUTYPE, &twzv_tpu_macros},
    {ICAP_ZV_UNSHARPMASKLEVEL, &twzv_usm_macros},
    {ICAP_ZV_DESCREENINGLEVEL, &twzv_dscr_macros},
    {CAP_ZV_TABLEARRANGEMENT, &twzv_ta_macros},
    {ICAP_ZV_DUSTREMOVALLEVEL, &twzv_dr_macros},
    {ICAP_ZV_DIGITALICELEVEL, &twzv_ice_macros},
    {ICAP_ZV_GRAINREDUCTIONLEVEL, &twzv_gr_macros},
    {ICAP_ZV_HOLDERTYPE, &twzv_ht_macros},
    {ICAP_ZV_FILMSIZE, &twzv_fs_macros},
    {CAP_ZV_AFLFILMTYPE, &twzv_af_macros},
    {CAP_ZV_FEEDERTYPE, &twzv_fet_macros},
    {CAP_ZV_LIDFILMTYPE, &twzv_li_macros},
    {ICAP_ZV_AUTOSIZETYPE, &twzv_autosizetype_macros},
};

#endif  // TWAINMON_TWAINTBL_H
