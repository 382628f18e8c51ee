// Lookups of TWAIN codes and operations: names through the name tables' own indexes of their
// names, operations in a sorted array.
#include "TwainProtocol.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace twainlog {
namespace check {

namespace {

std::optional<std::uint16_t> Code16(std::optional<long> n) {
    if (!n || *n < 0 || *n > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(*n);
}

// The code of a name in the first table that holds it, or of the monitor's "ERROR!(n)".
template <const NameTable&... Tables>
std::optional<std::uint16_t> CodeOfName(std::string_view text) {
    std::int64_t code = 0;
    if ((LookupMacroCode<Tables>(text, code) || ...)) return static_cast<std::uint16_t>(code);
    return Code16(UnnamedCode(text));
}

std::uint32_t OperationKey(std::uint16_t dat, std::uint16_t msg) { return (std::uint32_t{dat} << 16) | msg; }

}  // namespace

std::optional<long> UnnamedCode(std::string_view text) {
    // The monitor's not-found text: "ERROR!(%d)", the code as a signed 32-bit number.
    constexpr std::string_view kName = kNotFoundName;
    if (text.size() < kName.size() + 3 || text.substr(0, kName.size()) != kName || text[kName.size()] != '(' ||
        text.back() != ')') {
        return std::nullopt;
    }
    const char* first = text.data() + kName.size() + 1;
    const char* last = text.data() + text.size() - 1;
    long value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last) return std::nullopt;
    return value;
}

std::optional<std::uint16_t> DatCode(std::string_view text) { return CodeOfName<dat_macros, dat_twain2_macros>(text); }

std::optional<std::uint16_t> MsgCode(std::string_view text) { return CodeOfName<msg_macros, msg_twain2_macros>(text); }

std::optional<std::uint16_t> ReturnCodeOf(std::string_view text) {
    return CodeOfName<twrc_macros, twrc_twain2_macros>(text);
}

std::optional<std::uint16_t> CapCode(std::string_view text) {
    // Where the monitor's tables name one code twice, either name finds it.
    if (auto code = CodeOfName<cap_macros, icap_macros, cap_zv_macros, icap_zv_macros>(text)) return code;
    if (!text.empty() && (text.front() == '-' || (text.front() >= '0' && text.front() <= '9'))) {
        // An item shown as a number (CAP_EXTENDEDCAPS lists its capabilities as TWTY_UINT16 values,
        // which the monitor writes in decimal; a signed item type shows negative numbers).
        long value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
        if (value < 0) value += 0x10000;
        return Code16(value);
    }
    return std::nullopt;
}

const Operation* FindOperation(std::uint16_t dat, std::uint16_t msg) {
    constexpr std::size_t kCount = std::size(kOperations);
    static const auto index = [] {
        std::array<const Operation*, kCount> rows{};
        for (std::size_t i = 0; i < kCount; ++i) rows[i] = &kOperations[i];
        std::sort(rows.begin(), rows.end(), [](const Operation* a, const Operation* b) {
            return OperationKey(a->datCode, a->msgCode) < OperationKey(b->datCode, b->msgCode);
        });
        return rows;
    }();
    const std::uint32_t key = OperationKey(dat, msg);
    const auto it = std::lower_bound(index.begin(), index.end(), key, [](const Operation* row, std::uint32_t k) {
        return OperationKey(row->datCode, row->msgCode) < k;
    });
    if (it != index.end() && OperationKey((*it)->datCode, (*it)->msgCode) == key) return *it;
    return nullptr;
}

}  // namespace check
}  // namespace twainlog
