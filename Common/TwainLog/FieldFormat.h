// Conversions that recur in the structure formatters, each defined once.
#ifndef TWAINMON_FIELDFORMAT_H
#define TWAINMON_FIELDFORMAT_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "TwainTypes.h"

namespace twfmt {

// The line end of every transcript line.
constexpr const char* CRLF = "\r\n";

// TW_FIX32 as a number: Whole (signed, stored first) + Frac (unsigned) / 65536, in double.
inline double Fix32(const TW_FIX32& v) {
    return static_cast<double>(v.Whole) + static_cast<double>(v.Frac) * (1.0 / 65536.0);
}

// A pointer or handle for "<0x%08x>": its low 32 bits.
inline unsigned int Low32(const void* p) {
    return static_cast<unsigned int>(reinterpret_cast<uintptr_t>(p) & 0xFFFFFFFFu);
}

// A 32-bit field for "%ld": widened without sign, so it never shows negative.
inline long U32(TW_UINT32 v) { return static_cast<long>(v); }

// A TW_BOOL or flag: "true" when non-zero.
inline const char* Truth(unsigned int v) { return v != 0 ? "true" : "false"; }

// A NUL-terminated text into an output of nOut bytes, cut to fit and terminated (as snprintf's
// "%s" would). Copied byte by byte: the texts are short, so this is cheaper than measuring first.
inline void CopyText(const char* pszText, char* pszOut, size_t nOut) {
    if (nOut == 0) return;
    size_t i = 0;
    for (; i + 1 < nOut && pszText[i] != '\0'; ++i) pszOut[i] = pszText[i];
    pszOut[i] = '\0';
}

// A fixed-size text field: its bytes up to the first NUL, never past the field, always terminated.
template <size_t N>
struct FieldText {
    char text[N + 1];
    explicit FieldText(const char (&field)[N]) {
        const size_t n = strnlen(field, N);
        memcpy(text, field, n);
        text[n] = '\0';
    }
    const char* c_str() const { return text; }
};

}  // namespace twfmt

#endif  // TWAINMON_FIELDFORMAT_H
