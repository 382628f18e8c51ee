// The lookups over the name tables.
//
// Each table keeps its rows in their declared order; beside it, built at compile time, is an index
// of its rows ordered by (value, row), so a lookup is a binary search that lands on the first row
// of a value, as a scan from the top would.
#include "twaintbl.h"

#include <cstdio>
#include <iterator>

#include "FieldFormat.h"

namespace {

// The keys of a table's rows in ascending order, each with its row number; equal keys keep the
// order of their rows. N counts the terminator row, which is left out (its slot stays unused).
template <size_t N>
struct SortedKeys {
    int64_t key[N];
    uint16_t row[N];
};

template <size_t N, typename Entry, typename KeyOf>
constexpr SortedKeys<N> SortKeys(const Entry (&table)[N], KeyOf keyOf) {
    static_assert(N - 1 <= 0xFFFF, "row numbers are 16-bit");
    SortedKeys<N> sorted{};
    // Insertion sort: stable, and these tables are small.
    for (size_t i = 0; i + 1 < N; ++i) {
        const int64_t key = keyOf(table[i]);
        size_t j = i;
        for (; j > 0 && sorted.key[j - 1] > key; --j) {
            sorted.key[j] = sorted.key[j - 1];
            sorted.row[j] = sorted.row[j - 1];
        }
        sorted.key[j] = key;
        sorted.row[j] = static_cast<uint16_t>(i);
    }
    return sorted;
}

constexpr int64_t ValueKey(const MacroEntry& entry) { return entry.value; }
constexpr int64_t CapKey(const ValToCapEntry& entry) { return entry.cap; }

// The first row whose key equals code, or -1. The search halves the range without a branch on
// the comparison (which would be mispredicted half the time); it ends on the first key not below
// code, the first row of that key.
long FindRow(const int64_t* keys, const uint16_t* rows, size_t count, int64_t code) {
    if (count == 0) return -1;
    const int64_t* first = keys;
    for (size_t n = count; n > 1; n -= n / 2) first = first[n / 2 - 1] < code ? first + n / 2 : first;
    if (*first < code) ++first;
    return first != keys + count && *first == code ? rows[first - keys] : -1;
}

// One name table with its index.
struct TableIndex {
    const MacroEntry* table;
    size_t rows;
    const int64_t* keys;
    const uint16_t* order;
};

#define TWAINMON_SORTED_KEYS(t) constexpr auto kSorted_##t = SortKeys(t, ValueKey);
TWAINMON_TABLES(TWAINMON_SORTED_KEYS)
#undef TWAINMON_SORTED_KEYS

#define TWAINMON_TABLE_INDEX(t) TableIndex{t, RowCount(t), kSorted_##t.key, kSorted_##t.row},
constexpr TableIndex kIndexes[] = {TWAINMON_TABLES(TWAINMON_TABLE_INDEX)};
#undef TWAINMON_TABLE_INDEX

constexpr TableIndex kCapIndex = {cap_macros, RowCount(cap_macros), kSorted_cap_macros.key, kSorted_cap_macros.row};
constexpr TableIndex kIcapIndex = {icap_macros, RowCount(icap_macros), kSorted_icap_macros.key,
                                   kSorted_icap_macros.row};
constexpr TableIndex kCapZvIndex = {cap_zv_macros, RowCount(cap_zv_macros), kSorted_cap_zv_macros.key,
                                    kSorted_cap_zv_macros.row};
constexpr TableIndex kIcapZvIndex = {icap_zv_macros, RowCount(icap_zv_macros), kSorted_icap_zv_macros.key,
                                     kSorted_icap_zv_macros.row};

// The value directories, indexed by capability (their terminator rows left out).
constexpr auto kSortedValToCap = SortKeys(VALTOCAP, CapKey);
constexpr auto kSortedValToCapZv = SortKeys(VALTOCAPZV, CapKey);
constexpr size_t kValToCapRows = std::size(VALTOCAP) - 1;
constexpr size_t kValToCapZvRows = std::size(VALTOCAPZV) - 1;

// The index of a table given by its address: an open-addressed hash of the addresses, filled once
// on first use (in static storage, no allocation).
class IndexByTable {
public:
    IndexByTable() {
        for (const TableIndex& index : kIndexes) {
            size_t slot = Slot(index.table);
            while (m_slots[slot] != nullptr) slot = (slot + 1) % kSlots;
            m_slots[slot] = &index;
        }
    }
    // The index of table, or nullptr for a table that is not one of the name tables.
    const TableIndex* Find(const MacroEntry* table) const {
        for (size_t slot = Slot(table);; slot = (slot + 1) % kSlots) {
            const TableIndex* index = m_slots[slot];
            if (index == nullptr || index->table == table) return index;
        }
    }

private:
    static constexpr size_t kSlots = 256;  // a power of two, well above the number of tables
    static_assert(sizeof(kIndexes) / sizeof(kIndexes[0]) < kSlots / 2, "the hash stays sparse");
    static size_t Slot(const MacroEntry* table) {
        return static_cast<size_t>((reinterpret_cast<uintptr_t>(table) * UINT64_C(0x9E3779B97F4A7C15)) >> 56);
    }
    const TableIndex* m_slots[kSlots] = {};
};

// Names are at most 33 characters: they always fit the 64-byte buffer.
void CopyName(const char* pszName, char* pszOut) { twfmt::CopyText(pszName, pszOut, kNameBufferSize); }

void NotFound(const MacroEntry* table, size_t rows, int64_t code, char* pszOut) {
    // The terminator's name with the code as a signed 32-bit decimal.
    snprintf(pszOut, kNameBufferSize, "%s(%d)", table[rows].name, static_cast<int32_t>(code));
}

long FindRow(const TableIndex& index, int64_t code) {
    return FindRow(index.keys, index.order, index.rows, code);
}

bool LookupIndexed(const TableIndex& index, int64_t code, char* pszOut) {
    const long row = FindRow(index, code);
    if (row < 0) {
        NotFound(index.table, index.rows, code, pszOut);
        return false;
    }
    CopyName(index.table[row].name, pszOut);
    return true;
}

}  // namespace

bool LookupMacroName(const MacroEntry* table, size_t rows, int64_t code, char* pszOut) {
    static const IndexByTable s_indexes;
    const TableIndex* index = s_indexes.Find(table);
    if (index != nullptr && index->rows == rows) return LookupIndexed(*index, code, pszOut);

    // A table without an index (or only part of one): scanned from the top.
    for (size_t i = 0; i < rows; ++i) {
        if (table[i].value == code) {
            CopyName(table[i].name, pszOut);
            return true;
        }
    }
    NotFound(table, rows, code, pszOut);
    return false;
}

void LookupCapName(TW_UINT16 cap, char* pszOut) {
    const TableIndex& first = cap <= 0x8000 ? kCapIndex : kCapZvIndex;
    const TableIndex& second = cap <= 0x8000 ? kIcapIndex : kIcapZvIndex;
    const long row = FindRow(first, cap);
    if (row >= 0) {
        CopyName(first.table[row].name, pszOut);
    } else {
        LookupIndexed(second, cap, pszOut);
    }
}

void LookupCapValueName(TW_UINT16 cap, TW_UINT16 value, char* pszOut) {
    const bool bStandard = cap <= 0x8000;
    const ValToCapEntry* directory = bStandard ? VALTOCAP : VALTOCAPZV;
    const long row = bStandard ? FindRow(kSortedValToCap.key, kSortedValToCap.row, kValToCapRows, cap)
                               : FindRow(kSortedValToCapZv.key, kSortedValToCapZv.row, kValToCapZvRows, cap);
    if (row < 0) {
        snprintf(pszOut, kNameBufferSize, "%d", value);
        return;
    }
    LookupMacroName(directory[row].table, static_cast<size_t>(directory[row].count - 1), value, pszOut);
}
