// The TWAIN 2.4 codes and operations the protocol rules work with: data argument types, messages
// and return codes by name and by number, and the valid states of every operation.
#ifndef TWAINLOG_TWAINPROTOCOL_H
#define TWAINLOG_TWAINPROTOCOL_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace twainlog {
namespace check {

// A set of TWAIN states: bit s for state s (1 to 7).
using StateSet = std::uint8_t;
constexpr StateSet StateBit(int s) { return static_cast<StateSet>(1u << s); }
constexpr StateSet kAnyState = 0xFE;  // 1 to 7

struct NamedCode {
    std::string_view name;
    std::uint16_t value;
};

// ---- Codes of TWAIN 2.4 --------------------------------------------------------------------------

// clang-format off
inline constexpr NamedCode kDats[] = {
    {"DAT_NULL", 0x0000},          {"DAT_CAPABILITY", 0x0001},     {"DAT_EVENT", 0x0002},
    {"DAT_IDENTITY", 0x0003},      {"DAT_PARENT", 0x0004},         {"DAT_PENDINGXFERS", 0x0005},
    {"DAT_SETUPMEMXFER", 0x0006},  {"DAT_SETUPFILEXFER", 0x0007},  {"DAT_STATUS", 0x0008},
    {"DAT_USERINTERFACE", 0x0009}, {"DAT_XFERGROUP", 0x000A},      {"DAT_TWUNKIDENTITY", 0x000B},
    {"DAT_CUSTOMDSDATA", 0x000C},  {"DAT_DEVICEEVENT", 0x000D},    {"DAT_FILESYSTEM", 0x000E},
    {"DAT_PASSTHRU", 0x000F},      {"DAT_CALLBACK", 0x0010},       {"DAT_STATUSUTF8", 0x0011},
    {"DAT_CALLBACK2", 0x0012},     {"DAT_METRICS", 0x0013},        {"DAT_TWAINDIRECT", 0x0014},
    {"DAT_IMAGEINFO", 0x0101},     {"DAT_IMAGELAYOUT", 0x0102},    {"DAT_IMAGEMEMXFER", 0x0103},
    {"DAT_IMAGENATIVEXFER", 0x0104}, {"DAT_IMAGEFILEXFER", 0x0105}, {"DAT_CIECOLOR", 0x0106},
    {"DAT_GRAYRESPONSE", 0x0107},  {"DAT_RGBRESPONSE", 0x0108},    {"DAT_JPEGCOMPRESSION", 0x0109},
    {"DAT_PALETTE8", 0x010A},      {"DAT_EXTIMAGEINFO", 0x010B},   {"DAT_FILTER", 0x010C},
    {"DAT_AUDIOFILEXFER", 0x0201}, {"DAT_AUDIOINFO", 0x0202},      {"DAT_AUDIONATIVEXFER", 0x0203},
    {"DAT_SETUPFILEXFER2", 0x0301}, {"DAT_ICCPROFILE", 0x0401},    {"DAT_IMAGEMEMFILEXFER", 0x0402},
    {"DAT_ENTRYPOINT", 0x0403},
};

inline constexpr NamedCode kMsgs[] = {
    {"MSG_GET", 0x0001},           {"MSG_GETCURRENT", 0x0002},     {"MSG_GETDEFAULT", 0x0003},
    {"MSG_GETFIRST", 0x0004},      {"MSG_GETNEXT", 0x0005},        {"MSG_SET", 0x0006},
    {"MSG_RESET", 0x0007},         {"MSG_QUERYSUPPORT", 0x0008},   {"MSG_GETHELP", 0x0009},
    {"MSG_GETLABEL", 0x000A},      {"MSG_GETLABELENUM", 0x000B},   {"MSG_SETCONSTRAINT", 0x000C},
    {"MSG_XFERREADY", 0x0101},     {"MSG_CLOSEDSREQ", 0x0102},     {"MSG_CLOSEDSOK", 0x0103},
    {"MSG_DEVICEEVENT", 0x0104},   {"MSG_CHECKSTATUS", 0x0201},    {"MSG_OPENDSM", 0x0301},
    {"MSG_CLOSEDSM", 0x0302},      {"MSG_OPENDS", 0x0401},         {"MSG_CLOSEDS", 0x0402},
    {"MSG_USERSELECT", 0x0403},    {"MSG_DISABLEDS", 0x0501},      {"MSG_ENABLEDS", 0x0502},
    {"MSG_ENABLEDSUIONLY", 0x0503}, {"MSG_PROCESSEVENT", 0x0601},  {"MSG_ENDXFER", 0x0701},
    {"MSG_STOPFEEDER", 0x0702},    {"MSG_CHANGEDIRECTORY", 0x0801}, {"MSG_CREATEDIRECTORY", 0x0802},
    {"MSG_DELETE", 0x0803},        {"MSG_FORMATMEDIA", 0x0804},    {"MSG_GETCLOSE", 0x0805},
    {"MSG_GETFIRSTFILE", 0x0806},  {"MSG_GETINFO", 0x0807},        {"MSG_GETNEXTFILE", 0x0808},
    {"MSG_RENAME", 0x0809},        {"MSG_COPY", 0x080A},           {"MSG_AUTOMATICCAPTUREDIRECTORY", 0x080B},
    {"MSG_PASSTHRU", 0x0901},      {"MSG_REGISTER_CALLBACK", 0x0902}, {"MSG_INVOKE_CALLBACK", 0x0903},
    {"MSG_RESETALL", 0x0A01},      {"MSG_SETTASK", 0x0B01},
};
// clang-format on

// Return codes. TWRC_BUSY and TWRC_SCANNERLOCKED came with TWAIN 2.2.
enum class ReturnCode : std::uint16_t {
    Success = 0,
    Failure = 1,
    CheckStatus = 2,
    Cancel = 3,
    DsEvent = 4,
    NotDsEvent = 5,
    XferDone = 6,
    EndOfList = 7,
    InfoNotSupported = 8,
    DataNotAvailable = 9,
    Busy = 10,
    ScannerLocked = 11,
};

// clang-format off
inline constexpr NamedCode kReturnCodes[] = {
    {"TWRC_SUCCESS", 0},      {"TWRC_FAILURE", 1},          {"TWRC_CHECKSTATUS", 2},
    {"TWRC_CANCEL", 3},       {"TWRC_DSEVENT", 4},          {"TWRC_NOTDSEVENT", 5},
    {"TWRC_XFERDONE", 6},     {"TWRC_ENDOFLIST", 7},        {"TWRC_INFONOTSUPPORTED", 8},
    {"TWRC_DATANOTAVAILABLE", 9}, {"TWRC_BUSY", 10},        {"TWRC_SCANNERLOCKED", 11},
};
// clang-format on

// ---- Operations --------------------------------------------------------------------------------

// What, besides the valid states, an operation's "?" states depend on.
enum class Condition : std::uint8_t {
    None,
    ExtendedCaps,   // the capability is listed in CAP_EXTENDEDCAPS
    DeviceEvents,   // CAP_DEVICEEVENT has been set to some event
    AfterBuffer,    // the transfer goes on: the last buffer came with TWRC_SUCCESS
    AfterXferDone,  // the transfer ended with TWRC_XFERDONE
    AfterCancel,    // the transfer ended with TWRC_CANCEL
};

// What an operation does to the state when it succeeds.
enum class Effect : std::uint8_t {
    Nothing,
    To,            // to the row's state
    OpenSource,    // to 4; a newly opened source, whose capabilities are at their defaults
    CloseSource,   // to 3
    Disable,       // to 4; answers a close request
    Transfer,      // to 7: a transfer (or its next buffer)
    EndXfer,       // to 6 while transfers are pending (Count not 0), 5 when none are
    ResetXfers,    // to 5 (audio transfers: stays 6)
    CloseRequest,  // the source asks to be disabled: MSG_DISABLEDS must follow
};

struct Operation {
    std::string_view dg, dat, msg;
    std::uint16_t datCode, msgCode;
    StateSet valid;        // states allowed without condition
    StateSet conditional;  // states allowed under `condition`
    Condition condition;
    Effect effect;
    std::uint8_t to;  // the state for To, OpenSource, CloseSource, Disable, ResetXfers
};

namespace detail {

template <std::size_t N>
constexpr std::uint16_t CodeOf(const NamedCode (&table)[N], std::string_view name) {
    for (const NamedCode& row : table) {
        if (row.name == name) return row.value;
    }
    // Reached only while compiling the operation table: a name that the code tables lack.
    throw std::logic_error("TWAIN name missing from the code tables");
}

// "4,5-7?": the states allowed without condition (4), and those under the row's condition (5-7).
struct StateSets {
    StateSet valid = 0, conditional = 0;
};

constexpr StateSets ParseStates(std::string_view text) {
    StateSets sets;
    std::size_t i = 0;
    while (i < text.size()) {
        const int first = text[i] - '0';
        int last = first;
        ++i;
        if (i < text.size() && text[i] == '-') {
            last = text[i + 1] - '0';
            i += 2;
        }
        bool conditional = false;
        if (i < text.size() && text[i] == '?') {
            conditional = true;
            ++i;
        }
        if (i < text.size() && text[i] == ',') ++i;
        for (int s = first; s <= last; ++s) {
            if (conditional) {
                sets.conditional |= StateBit(s);
            } else {
                sets.valid |= StateBit(s);
            }
        }
    }
    return sets;
}

constexpr Operation MakeOperation(std::string_view dg, std::string_view dat, std::string_view msg,
                                  std::string_view states, Condition condition, Effect effect, int to) {
    const StateSets sets = ParseStates(states);
    Operation op{};
    op.dg = dg;
    op.dat = dat;
    op.msg = msg;
    op.datCode = CodeOf(kDats, dat);
    op.msgCode = CodeOf(kMsgs, msg);
    op.valid = sets.valid;
    op.conditional = sets.conditional;
    op.condition = condition;
    op.effect = effect;
    op.to = static_cast<std::uint8_t>(to);
    return op;
}

}  // namespace detail

// clang-format off
#define TWAIN_OPERATION(dg, dat, msg, states, condition, effect, to) \
    detail::MakeOperation(#dg, #dat, #msg, states, Condition::condition, Effect::effect, to),
inline constexpr Operation kOperations[] = {
#include "TwainOperations.inc"
};
#undef TWAIN_OPERATION
// clang-format on

// ---- Lookups -----------------------------------------------------------------------------------

// The code of a DAT or MSG text as a transcript shows it: a TWAIN 2.4 name, or the monitor's
// "ERROR!(n)" for a code its tables lack. None for any other text (the maker's own names).
std::optional<std::uint16_t> DatCode(std::string_view text);
std::optional<std::uint16_t> MsgCode(std::string_view text);
// The return code of a "TWRC_..." or "ERROR!(n)" text; none for an empty or unreadable one.
std::optional<std::uint16_t> ReturnCodeOf(std::string_view text);
// The capability code of a capability's name as the transcript shows it ("ICAP_PIXELTYPE",
// "CAP_ZV_UIMODE", "ERROR!(4400)"), or of a number ("4353"); none when unknown.
std::optional<std::uint16_t> CapCode(std::string_view text);

// The row of an operation; null when TWAIN 2.4 has no such operation.
const Operation* FindOperation(std::uint16_t dat, std::uint16_t msg);

// The number inside "ERROR!(n)", the monitor's text for a code without a name.
std::optional<long> UnnamedCode(std::string_view text);

}  // namespace check
}  // namespace twainlog

#endif  // TWAINLOG_TWAINPROTOCOL_H
