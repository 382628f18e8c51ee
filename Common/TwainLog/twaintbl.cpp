// The lookups over the name tables.
#include "twaintbl.h"

#include <cstdio>
#include <cstring>

bool LookupMacroName(const MacroEntry* table, size_t rows, int64_t code, char* pszOut) {
    for (size_t i = 0; i < rows; ++i) {
        if (table[i].value == code) {
            // Names are at most 33 characters: they always fit the 64-byte buffer.
            const size_t n = strnlen(table[i].name, kNameBufferSize - 1);
            memcpy(pszOut, table[i].name, n);
            pszOut[n] = '\0';
            return true;
        }
    }
    // Not found: the terminator's name with the code as a signed 32-bit decimal.
    snprintf(pszOut, kNameBufferSize, "%s(%d)", table[rows].name, static_cast<int32_t>(code));
    return false;
}

void LookupCapName(TW_UINT16 cap, char* pszOut) {
    if (cap <= 0x8000) {
        if (!LookupMacroName(cap_macros, cap, pszOut)) LookupMacroName(icap_macros, cap, pszOut);
    } else {
        if (!LookupMacroName(cap_zv_macros, cap, pszOut)) LookupMacroName(icap_zv_macros, cap, pszOut);
    }
}

void LookupCapValueName(TW_UINT16 cap, TW_UINT16 value, char* pszOut) {
    for (const ValToCapEntry* row = cap <= 0x8000 ? VALTOCAP : VALTOCAPZV; row->cap != 0xFFFFFFFF; ++row) {
        if (row->cap == cap) {
            LookupMacroName(row->table, static_cast<size_t>(row->count - 1), value, pszOut);
            return;
        }
    }
    snprintf(pszOut, kNameBufferSize, "%d", value);
}
