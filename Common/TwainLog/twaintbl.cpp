// The lookups over the name tables.
//
// Each table keeps its rows in their declared order; beside it, built at compile time, is a hash
// index of its values: an open-addressed table holding, for each value, the first row that has it,
// so a lookup finds the row a scan from the top would, in one or two probes.
#include "twaintbl.h"


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

template <size_t N, typename Entry, typename KeyOf>
constexpr HashIndex<N> BuildIndex(const Entry (&table)[N], KeyOf keyOf) {
    static_assert(N <= 0xFFFF, "row numbers are 16-bit");
    HashIndex<N> index{};
    constexpr size_t kMask = (size_t{1} << HashIndex<N>::kBits) - 1;
    for (size_t row = 0; row + 1 < N; ++row) {
        const int64_t key = keyOf(table[row]);
        size_t s = Slot(key, HashIndex<N>::kBits);
        // A later row with a value already indexed is never the first: it is left out.
        while (index.slot[s] != 0 && keyOf(table[index.slot[s] - 1]) != key) s = (s + 1) & kMask;
        if (index.slot[s] == 0) index.slot[s] = static_cast<uint16_t>(row + 1);
    }
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

#define TWAINMON_HASH_INDEX(t) constexpr auto kIndex_##t = BuildIndex(t, ValueKey);
TWAINMON_TABLES(TWAINMON_HASH_INDEX)
#undef TWAINMON_HASH_INDEX

#define TWAINMON_TABLE_INDEX(t) TableIndex{t, RowCount(t), kIndex_##t.slot, kIndex_##t.kBits},
constexpr TableIndex kIndexes[] = {TWAINMON_TABLES(TWAINMON_TABLE_INDEX)};
#undef TWAINMON_TABLE_INDEX

constexpr TableIndex kCapIndex = {cap_macros, RowCount(cap_macros), kIndex_cap_macros.slot, kIndex_cap_macros.kBits};
constexpr TableIndex kIcapIndex = {icap_macros, RowCount(icap_macros), kIndex_icap_macros.slot,
                                   kIndex_icap_macros.kBits};
constexpr TableIndex kCapZvIndex = {cap_zv_macros, RowCount(cap_zv_macros), kIndex_cap_zv_macros.slot,
                                    kIndex_cap_zv_macros.kBits};
constexpr TableIndex kIcapZvIndex = {icap_zv_macros, RowCount(icap_zv_macros), kIndex_icap_zv_macros.slot,
                                     kIndex_icap_zv_macros.kBits};

// The value directories, indexed by capability.
constexpr auto kValToCapIndex = BuildIndex(VALTOCAP, CapKey);
constexpr auto kValToCapZvIndex = BuildIndex(VALTOCAPZV, CapKey);

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
    // "%s(%d)": the terminator's name with the code as a signed 32-bit decimal. The terminator's
    // name is short, so the text always fits the 64-byte buffer.
    static_assert(kNameBufferSize >= 32 + linefmt::kDecimalRoom, "the not-found text fits");
    size_t n = 0;
    for (const char* psz = table[rows].name; *psz != '\0' && n < 30; ++psz) pszOut[n++] = *psz;
    pszOut[n++] = '(';
    n += linefmt::Decimal(static_cast<int32_t>(code), pszOut + n);
    pszOut[n++] = ')';
    pszOut[n] = '\0';
}

long FindRow(const TableIndex& index, int64_t code) {
    return FindRow(index.table, index.slots, index.bits, code, ValueKey);
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
    const long row = bStandard ? FindRow(VALTOCAP, kValToCapIndex.slot, kValToCapIndex.kBits, cap, CapKey)
                               : FindRow(VALTOCAPZV, kValToCapZvIndex.slot, kValToCapZvIndex.kBits, cap, CapKey);
    if (row < 0) {
        pszOut[linefmt::Decimal(value, pszOut)] = '\0';  // "%d"
        return;
    }
    LookupMacroName(directory[row].table, static_cast<size_t>(directory[row].count - 1), value, pszOut);
}
