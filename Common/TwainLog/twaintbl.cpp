// The lookups over the name tables. Each table carries its own hash index (twaintbl.h); here are
// the indexes that span more than one table: the capability names, looked up in two tables one
// after the other, and the value directories.
#include "twaintbl.h"

#include "FieldFormat.h"
#include "LineSink.h"

namespace {

using twtbl::BitsFor;
using twtbl::EnterRows;
using twtbl::Slot;

// The capability names, looked up in two tables one after the other (cap_macros then icap_macros
// up to 0x8000, cap_zv_macros then icap_zv_macros above): one index over both tables of a pair,
// holding for each code the row that order finds, finds the name in one probe sequence.
template <size_t N1, size_t N2>
struct PairIndex {
    static constexpr size_t kRows = (N1 - 1) + (N2 - 1);
    static constexpr unsigned kBits = BitsFor(kRows);
    const MacroEntry* slot[size_t{1} << kBits];  // the rows themselves; nullptr in an empty slot

    // The row a lookup in the first table and then the second finds, or nullptr.
    const MacroEntry* Find(int64_t code) const {
        constexpr size_t kMask = (size_t{1} << kBits) - 1;
        for (size_t s = Slot(code, kBits);; s = (s + 1) & kMask) {
            const MacroEntry* entry = slot[s];
            if (entry == nullptr || entry->value == code) return entry;
        }
    }
};

template <size_t N1, size_t N2>
constexpr PairIndex<N1, N2> BuildPairIndex(const MacroEntry (&first)[N1], const MacroEntry (&second)[N2]) {
    using Index = PairIndex<N1, N2>;
    static_assert(Index::kRows <= 0xFFFF, "row numbers are 16-bit");
    constexpr size_t kSlots = size_t{1} << Index::kBits;
    const auto rowAt = [&](size_t row) -> const MacroEntry& {
        return row < N1 - 1 ? first[row] : second[row - (N1 - 1)];
    };
    // Filled by row numbers plus one first (a pointer cannot be compared with null while
    // compiling everywhere), then by the rows.
    uint16_t rowPlusOne[kSlots] = {};
    EnterRows(rowPlusOne, Index::kBits, Index::kRows, [&](size_t row) { return rowAt(row).value; });
    Index index{};
    for (size_t s = 0; s < kSlots; ++s) {
        if (rowPlusOne[s] != 0) index.slot[s] = &rowAt(rowPlusOne[s] - 1u);
    }
    return index;
}

constexpr auto kCapNames = BuildPairIndex(twtbl::cap_macros_rows, twtbl::icap_macros_rows);
constexpr auto kCapZvNames = BuildPairIndex(twtbl::cap_zv_macros_rows, twtbl::icap_zv_macros_rows);

// A value directory's index by capability: the directory's rows, by slot.
template <size_t N>
struct DirectoryIndex {
    static constexpr unsigned kBits = BitsFor(N + 1);
    uint16_t slot[size_t{1} << kBits];

    // The value table of a capability, or nullptr.
    const NameTable* Find(const ValToCapEntry (&directory)[N], uint32_t cap) const {
        constexpr size_t kMask = (size_t{1} << kBits) - 1;
        for (size_t s = Slot(cap, kBits);; s = (s + 1) & kMask) {
            if (slot[s] == 0) return nullptr;
            if (directory[slot[s] - 1].cap == cap) return directory[slot[s] - 1].names;
        }
    }
};

template <size_t N>
constexpr DirectoryIndex<N> BuildDirectoryIndex(const ValToCapEntry (&directory)[N]) {
    DirectoryIndex<N> index{};
    EnterRows(index.slot, DirectoryIndex<N>::kBits, N, [&](size_t row) { return int64_t{directory[row].cap}; });
    return index;
}

constexpr auto kValToCapIndex = BuildDirectoryIndex(VALTOCAP);
constexpr auto kValToCapZvIndex = BuildDirectoryIndex(VALTOCAPZV);

// Names are at most 33 characters (checked while compiling): with their NUL they always fit the
// 64-byte buffer. A not-found text is already there.
size_t CopyName(std::string_view name, char* pszOut) {
    if (name.data() != pszOut) twfmt::CopyShort(pszOut, name.data(), name.size());
    pszOut[name.size()] = '\0';
    return name.size();
}

}  // namespace

std::string_view NotFoundName(const NameTable& table, int64_t code, char* pszOut) {
    // "%s(%d)": the terminator's name with the code as a signed 32-bit decimal. The terminator's
    // name is short, so the text always fits the 64-byte buffer.
    static_assert(kNameBufferSize >= 32 + linefmt::kDecimalRoom, "the not-found text fits");
    size_t n = 0;
    for (const char* psz = table.rows[table.count].name; *psz != '\0' && n < 30; ++psz) pszOut[n++] = *psz;
    pszOut[n++] = '(';
    n += linefmt::Decimal(static_cast<int32_t>(code), pszOut + n);
    pszOut[n++] = ')';
    pszOut[n] = '\0';
    return std::string_view(pszOut, n);
}

namespace {

// A capability's name: an item list of CAP_SUPPORTEDCAPS looks up one per item, so LookupCapName
// takes it straight.
std::string_view CapNameOf(uint16_t cap, char* pszNotFound) {
    const MacroEntry* entry = cap <= 0x8000 ? kCapNames.Find(cap) : kCapZvNames.Find(cap);
    if (entry != nullptr) return std::string_view(entry->name, entry->length);
    // Found in neither table: the not-found text of the second.
    return NotFoundName(cap <= 0x8000 ? icap_macros : icap_zv_macros, cap, pszNotFound);
}

}  // namespace

std::string_view NameOf(NameSet names, int64_t code, char* pszNotFound) {
    const auto code16 = static_cast<uint16_t>(code);
    switch (names) {
        case NameSet::Dats: return NameOf(DatNames(code16), code16, pszNotFound);
        case NameSet::Msgs: return NameOf(MsgNames(code16), code16, pszNotFound);
        case NameSet::Capabilities: break;
    }
    return CapNameOf(code16, pszNotFound);
}

bool LookupMacroName(const NameTable& table, int64_t code, char* pszOut) {
    const MacroEntry* entry = table.Find(code);
    if (entry == nullptr) {
        NotFoundName(table, code, pszOut);
        return false;
    }
    CopyName(std::string_view(entry->name, entry->length), pszOut);
    return true;
}

void LookupDatName(uint16_t dat, char* pszOut) { CopyName(NameOf(DatNames(dat), dat, pszOut), pszOut); }

void LookupMsgName(uint16_t msg, char* pszOut) { CopyName(NameOf(MsgNames(msg), msg, pszOut), pszOut); }

size_t LookupCapName(uint16_t cap, char* pszOut) { return CopyName(CapNameOf(cap, pszOut), pszOut); }

size_t LookupCapValueName(uint16_t cap, uint16_t value, char* pszOut) {
    const NameTable* names =
        cap <= 0x8000 ? kValToCapIndex.Find(VALTOCAP, cap) : kValToCapZvIndex.Find(VALTOCAPZV, cap);
    if (names == nullptr) {
        const size_t n = linefmt::Decimal(value, pszOut);  // "%d"
        pszOut[n] = '\0';
        return n;
    }
    return CopyName(NameOf(*names, value, pszOut), pszOut);
}
