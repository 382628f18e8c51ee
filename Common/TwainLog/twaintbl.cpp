// The lookups over the name tables.
//
// Each table keeps its rows in their declared order; beside it, built at compile time, is a hash
// index of its values: an open-addressed table holding, for each value, the first row that has it,
// so a lookup finds the row a scan from the top would, in one or two probes.
#include "twaintbl.h"

#include <cstring>

#include "FieldFormat.h"
#include "LineFormat.h"

namespace {

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

// A hash index of a table of N rows, the terminator row included (and left out of the index).
// Each slot holds a row number plus one; 0 is an empty slot.
template <size_t N>
struct HashIndex {
    static constexpr unsigned kBits = BitsFor(N);
    uint16_t slot[size_t{1} << kBits];
};

// Enters rows 0 to rows - 1, whose keys keyAt gives, into 2^bits slots of row numbers plus one.
template <typename T, typename KeyAt>
constexpr void EnterRows(T* slots, unsigned bits, size_t rows, KeyAt keyAt) {
    const size_t mask = (size_t{1} << bits) - 1;
    for (size_t row = 0; row < rows; ++row) {
        const int64_t key = keyAt(row);
        size_t s = Slot(key, bits);
        // A later row with a value already indexed is never the first: it is left out.
        while (slots[s] != 0 && keyAt(slots[s] - 1u) != key) s = (s + 1) & mask;
        if (slots[s] == 0) slots[s] = static_cast<T>(row + 1);
    }
}

template <size_t N, typename Entry, typename KeyOf>
constexpr HashIndex<N> BuildIndex(const Entry (&table)[N], KeyOf keyOf) {
    static_assert(N <= 0xFFFF, "row numbers are 16-bit");
    HashIndex<N> index{};
    EnterRows(index.slot, HashIndex<N>::kBits, N - 1, [&](size_t row) { return keyOf(table[row]); });
    return index;
}

constexpr int64_t ValueKey(const MacroEntry& entry) { return entry.value; }
constexpr int64_t CapKey(const ValToCapEntry& entry) { return entry.cap; }

// The first row whose key is code, or -1.
template <typename Entry, typename KeyOf>
long FindRow(const Entry* table, const uint16_t* slots, unsigned bits, int64_t code, KeyOf keyOf) {
    const size_t mask = (size_t{1} << bits) - 1;
    for (size_t s = Slot(code, bits);; s = (s + 1) & mask) {
        const uint16_t rowPlusOne = slots[s];
        if (rowPlusOne == 0) return -1;
        if (keyOf(table[rowPlusOne - 1]) == code) return rowPlusOne - 1;
    }
}

// One name table with its index.
struct TableIndex {
    const MacroEntry* table;
    size_t rows;
    const uint16_t* slots;
    unsigned bits;
};

template <size_t N>
constexpr bool NamesFit(const MacroEntry (&table)[N]) {
    for (const MacroEntry& entry : table) {
        if (entry.length >= kNameBufferSize) return false;
    }
    return true;
}
#define TWAINMON_NAMES_FIT(t) static_assert(NamesFit(t), "every name of " #t " fits a name buffer");
TWAINMON_TABLES(TWAINMON_NAMES_FIT)
#undef TWAINMON_NAMES_FIT

#define TWAINMON_HASH_INDEX(t) constexpr auto kIndex_##t = BuildIndex(t, ValueKey);
TWAINMON_TABLES(TWAINMON_HASH_INDEX)
#undef TWAINMON_HASH_INDEX

#define TWAINMON_TABLE_INDEX(t) TableIndex{t, RowCount(t), kIndex_##t.slot, kIndex_##t.kBits},
constexpr TableIndex kIndexes[] = {TWAINMON_TABLES(TWAINMON_TABLE_INDEX)};
#undef TWAINMON_TABLE_INDEX

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

constexpr auto kCapNames = BuildPairIndex(cap_macros, icap_macros);
constexpr auto kCapZvNames = BuildPairIndex(cap_zv_macros, icap_zv_macros);

// The value directories, indexed by capability.
constexpr auto kValToCapIndex = BuildIndex(VALTOCAP, CapKey);
constexpr auto kValToCapZvIndex = BuildIndex(VALTOCAPZV, CapKey);

// The index of a table given by its address: an open-addressed hash of the addresses, filled once
// on first use (in static storage, no allocation). Beside it, for each row of the two value
// directories, the index of that row's value table.
class IndexByTable {
public:
    IndexByTable() {
        for (const TableIndex& index : kIndexes) {
            size_t slot = Slot(index.table);
            while (m_slots[slot] != nullptr) slot = (slot + 1) % kSlots;
            m_slots[slot] = &index;
        }
        FillDirectory(VALTOCAP, m_valToCap);
        FillDirectory(VALTOCAPZV, m_valToCapZv);
    }
    // The index of a table of rows rows, or nullptr for a table that is not one of the name tables
    // (or only part of one).
    const TableIndex* Find(const MacroEntry* table, size_t rows) const {
        for (size_t slot = Slot(table);; slot = (slot + 1) % kSlots) {
            const TableIndex* index = m_slots[slot];
            if (index == nullptr) return nullptr;
            if (index->table == table) return index->rows == rows ? index : nullptr;
        }
    }
    // The index of the value table of a row of VALTOCAP (bStandard) or VALTOCAPZV, or nullptr.
    const TableIndex* ValueTable(bool bStandard, size_t row) const {
        return bStandard ? m_valToCap[row] : m_valToCapZv[row];
    }

private:
    static constexpr size_t kSlots = 256;  // a power of two, well above the number of tables
    static_assert(sizeof(kIndexes) / sizeof(kIndexes[0]) < kSlots / 2, "the hash stays sparse");
    static size_t Slot(const MacroEntry* table) {
        return static_cast<size_t>((reinterpret_cast<uintptr_t>(table) * UINT64_C(0x9E3779B97F4A7C15)) >> 56);
    }
    template <size_t N>
    void FillDirectory(const ValToCapEntry (&directory)[N], const TableIndex* (&indexes)[N]) const {
        for (size_t row = 0; row + 1 < N; ++row) {
            indexes[row] = Find(directory[row].table, static_cast<size_t>(directory[row].count - 1));
        }
    }

    const TableIndex* m_slots[kSlots] = {};
    const TableIndex* m_valToCap[sizeof(VALTOCAP) / sizeof(VALTOCAP[0])] = {};
    const TableIndex* m_valToCapZv[sizeof(VALTOCAPZV) / sizeof(VALTOCAPZV[0])] = {};
};

const IndexByTable& Indexes() {
    static const IndexByTable s_indexes;
    return s_indexes;
}

// Names are at most 33 characters (checked while compiling, above): they always fit the 64-byte
// buffer, and are copied with their NUL at their known length. Returns the length.
size_t CopyName(const MacroEntry& entry, char* pszOut) {
    twfmt::CopyShort(pszOut, entry.name, entry.length + size_t{1});
    return entry.length;
}

size_t NotFound(const MacroEntry* table, size_t rows, int64_t code, char* pszOut) {
    // "%s(%d)": the terminator's name with the code as a signed 32-bit decimal. The terminator's
    // name is short, so the text always fits the 64-byte buffer.
    static_assert(kNameBufferSize >= 32 + linefmt::kDecimalRoom, "the not-found text fits");
    size_t n = 0;
    for (const char* psz = table[rows].name; *psz != '\0' && n < 30; ++psz) pszOut[n++] = *psz;
    pszOut[n++] = '(';
    n += linefmt::Decimal(static_cast<int32_t>(code), pszOut + n);
    pszOut[n++] = ')';
    pszOut[n] = '\0';
    return n;
}

long FindRow(const TableIndex& index, int64_t code) {
    return FindRow(index.table, index.slots, index.bits, code, ValueKey);
}

// The first row of a table (rows long, terminator excluded) whose value is code, by the table's
// index when it has one, else by a scan from the top; -1 when no row has it.
long FindMacroRow(const MacroEntry* table, size_t rows, int64_t code) {
    const TableIndex* index = Indexes().Find(table, rows);
    if (index != nullptr) return FindRow(*index, code);
    for (size_t i = 0; i < rows; ++i) {
        if (table[i].value == code) return static_cast<long>(i);
    }
    return -1;
}

// The name of a row found for code, or the not-found text when none was; returns its length.
size_t WriteName(const MacroEntry* table, size_t rows, long row, int64_t code, char* pszOut) {
    return row >= 0 ? CopyName(table[row], pszOut) : NotFound(table, rows, code, pszOut);
}

}  // namespace

bool LookupMacroName(const MacroEntry* table, size_t rows, int64_t code, char* pszOut) {
    const long row = FindMacroRow(table, rows, code);
    WriteName(table, rows, row, code, pszOut);
    return row >= 0;
}

size_t LookupCapName(TW_UINT16 cap, char* pszOut) {
    const MacroEntry* entry = cap <= 0x8000 ? kCapNames.Find(cap) : kCapZvNames.Find(cap);
    if (entry != nullptr) return CopyName(*entry, pszOut);
    // Found in neither table: the not-found text of the second.
    return cap <= 0x8000 ? NotFound(icap_macros, RowCount(icap_macros), cap, pszOut)
                         : NotFound(icap_zv_macros, RowCount(icap_zv_macros), cap, pszOut);
}

size_t LookupCapValueName(TW_UINT16 cap, TW_UINT16 value, char* pszOut) {
    const bool bStandard = cap <= 0x8000;
    const ValToCapEntry* directory = bStandard ? VALTOCAP : VALTOCAPZV;
    const long row = bStandard ? FindRow(VALTOCAP, kValToCapIndex.slot, kValToCapIndex.kBits, cap, CapKey)
                               : FindRow(VALTOCAPZV, kValToCapZvIndex.slot, kValToCapZvIndex.kBits, cap, CapKey);
    if (row < 0) {
        const size_t n = linefmt::Decimal(value, pszOut);  // "%d"
        pszOut[n] = '\0';
        return n;
    }
    const MacroEntry* table = directory[row].table;
    const size_t rows = static_cast<size_t>(directory[row].count - 1);
    const TableIndex* index = Indexes().ValueTable(bStandard, static_cast<size_t>(row));
    const long valueRow = index != nullptr ? FindRow(*index, value) : FindMacroRow(table, rows, value);
    return WriteName(table, rows, valueRow, value, pszOut);
}
