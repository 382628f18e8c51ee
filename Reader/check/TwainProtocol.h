// The TWAIN 2.4 codes and operations the protocol rules work with: the valid states of every
// operation, and the codes by name.
//
// Data argument types, messages and return codes are named by the monitor's own tables
// (twaintbl.h). The codes TWAIN 2 added that the monitor does not name are rows of tables of the
// same kind here: the rules read them, the monitor never does, so its transcripts still show those
// codes as "ERROR!(n)".
#ifndef TWAINLOG_TWAINPROTOCOL_H
#define TWAINLOG_TWAINPROTOCOL_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "twaintbl.h"

// ---- Codes of TWAIN 2 beyond the monitor's tables -----------------------------------------------

#define TWAINLOG_DAT_TWAIN2_ROWS(X)  \
    X(DAT_STATUSUTF8, 0x11)          \
    X(DAT_CALLBACK2, 0x12)           \
    X(DAT_METRICS, 0x13)             \
    X(DAT_TWAINDIRECT, 0x14)         \
    X(DAT_FILTER, 0x10C)             \
    X(DAT_ICCPROFILE, 0x401)         \
    X(DAT_IMAGEMEMFILEXFER, 0x402)   \
    X(DAT_ENTRYPOINT, 0x403)
TWAINMON_NAME_TABLE(dat_twain2_macros, uint16_t, TWAINLOG_DAT_TWAIN2_ROWS);

#define TWAINLOG_MSG_TWAIN2_ROWS(X)          \
    X(MSG_GETHELP, 0x9)                      \
    X(MSG_GETLABEL, 0xA)                     \
    X(MSG_GETLABELENUM, 0xB)                 \
    X(MSG_SETCONSTRAINT, 0xC)                \
    X(MSG_STOPFEEDER, 0x702)                 \
    X(MSG_COPY, 0x80A)                       \
    X(MSG_AUTOMATICCAPTUREDIRECTORY, 0x80B)  \
    X(MSG_REGISTER_CALLBACK, 0x902)          \
    X(MSG_INVOKE_CALLBACK, 0x903)            \
    X(MSG_RESETALL, 0xA01)                   \
    X(MSG_SETTASK, 0xB01)
TWAINMON_NAME_TABLE(msg_twain2_macros, uint16_t, TWAINLOG_MSG_TWAIN2_ROWS);

// TWRC_BUSY and TWRC_SCANNERLOCKED came with TWAIN 2.2.
#define TWAINLOG_TWRC_TWAIN2_ROWS(X)  \
    X(TWRC_BUSY, 0xA)                 \
    X(TWRC_SCANNERLOCKED, 0xB)
TWAINMON_NAME_TABLE(twrc_twain2_macros, uint16_t, TWAINLOG_TWRC_TWAIN2_ROWS);

namespace twainlog {
namespace check {

// A set of TWAIN states: bit s for state s (1 to 7).
using StateSet = std::uint8_t;
constexpr StateSet StateBit(int s) { return static_cast<StateSet>(1u << s); }
constexpr StateSet kAnyState = 0xFE;  // 1 to 7

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
                                  std::uint16_t datCode, std::uint16_t msgCode, std::string_view states,
                                  Condition condition, Effect effect, int to) {
    const StateSets sets = ParseStates(states);
    Operation op{};
    op.dg = dg;
    op.dat = dat;
    op.msg = msg;
    op.datCode = datCode;
    op.msgCode = msgCode;
    op.valid = sets.valid;
    op.conditional = sets.conditional;
    op.condition = condition;
    op.effect = effect;
    op.to = static_cast<std::uint8_t>(to);
    return op;
}

}  // namespace detail

// Each row names its codes by their enumerators: a name that no table holds does not compile.
// clang-format off
#define TWAIN_OPERATION(dg, dat, msg, states, condition, effect, to) \
    detail::MakeOperation(#dg, #dat, #msg, dat, msg, states, Condition::condition, Effect::effect, to),
inline constexpr Operation kOperations[] = {
#include "TwainOperations.inc"
};
#undef TWAIN_OPERATION
// clang-format on

// ---- Lookups -----------------------------------------------------------------------------------

// The code of a DAT or MSG text as a transcript shows it: a TWAIN 2.4 name (the monitor's tables,
// then TWAIN 2's above), or the monitor's "ERROR!(n)" for a code its tables lack. None for any
// other text (the maker's own names).
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
