// Lookups of TWAIN codes and operations: built once into sorted arrays, searched by string_view.
#include "TwainProtocol.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <unordered_map>

// The monitor's own name tables: capabilities are named in transcripts by these rows.
#include "twaintbl.h"

namespace twainlog {
namespace check {

namespace {

// Names to codes by open addressing: every record looks up its DAT and MSG, so one hash over the
// name's bytes and, mostly, one comparison.
class NameIndex {
public:
    template <std::size_t N>
    explicit NameIndex(const NamedCode (&table)[N]) {
        static_assert(N < kSlots / 2, "the index stays at most half full");
        for (const NamedCode& row : table) {
            std::size_t slot = Hash(row.name);
            while (slots_[slot] != nullptr) slot = (slot + 1) % kSlots;
            slots_[slot] = &row;
        }
    }

    std::optional<std::uint16_t> Find(std::string_view name) const {
        for (std::size_t slot = Hash(name);; slot = (slot + 1) % kSlots) {
            const NamedCode* row = slots_[slot];
            if (row == nullptr) return std::nullopt;
            if (row->name == name) return row->value;
        }
    }

private:
    static constexpr std::size_t kSlots = 256;

    static std::size_t Hash(std::string_view name) {
        std::uint32_t h = 2166136261u;  // FNV-1a
        for (const char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return (h ^ (h >> 16)) % kSlots;
    }

    std::array<const NamedCode*, kSlots> slots_{};
};

std::optional<std::uint16_t> Code16(std::optional<long> n) {
    if (!n || *n < 0 || *n > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(*n);
}

std::uint32_t OperationKey(std::uint16_t dat, std::uint16_t msg) { return (std::uint32_t{dat} << 16) | msg; }

}  // namespace

std::optional<long> UnnamedCode(std::string_view text) {
    // "ERROR!(%d)": the monitor's not-found text, the code as a signed 32-bit number.
    constexpr std::string_view kPrefix = "ERROR!(";
    if (text.size() < kPrefix.size() + 2 || text.substr(0, kPrefix.size()) != kPrefix || text.back() != ')') {
        return std::nullopt;
    }
    const char* first = text.data() + kPrefix.size();
    const char* last = text.data() + text.size() - 1;
    long value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last) return std::nullopt;
    return value;
}

std::optional<std::uint16_t> DatCode(std::string_view text) {
    static const NameIndex index(kDats);
    if (auto code = index.Find(text)) return code;
    return Code16(UnnamedCode(text));
}

std::optional<std::uint16_t> MsgCode(std::string_view text) {
    static const NameIndex index(kMsgs);
    if (auto code = index.Find(text)) return code;
    return Code16(UnnamedCode(text));
}

std::optional<std::uint16_t> ReturnCodeOf(std::string_view text) {
    // The common codes first, without a search.
    if (text == "TWRC_SUCCESS") return 0;
    if (text == "TWRC_FAILURE") return 1;
    for (const NamedCode& row : kReturnCodes) {
        if (row.name == text) return row.value;
    }
    return Code16(UnnamedCode(text));
}

std::optional<std::uint16_t> CapCode(std::string_view text) {
    // Rare (capability sets in states 5 to 7, reads of CAP_EXTENDEDCAPS), so a hash map built on
    // first use. Where the monitor's tables name one code twice, either name maps to it.
    static const auto names = [] {
        std::unordered_map<std::string_view, std::uint16_t> map;
        for (const NameTable* table : {&cap_macros, &icap_macros, &cap_zv_macros, &icap_zv_macros}) {
            for (const MacroEntry& row : *table) {
                map.emplace(std::string_view(row.name, row.length), static_cast<std::uint16_t>(row.value));
            }
        }
        return map;
    }();
    if (const auto it = names.find(text); it != names.end()) return it->second;
    if (!text.empty() && (text.front() == '-' || (text.front() >= '0' && text.front() <= '9'))) {
        // An item shown as a number (CAP_EXTENDEDCAPS lists its capabilities as TWTY_UINT16 values,
        // which the monitor writes in decimal; a signed item type shows negative numbers).
        long value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
        if (value < 0) value += 0x10000;
        return Code16(value);
    }
    return Code16(UnnamedCode(text));
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
