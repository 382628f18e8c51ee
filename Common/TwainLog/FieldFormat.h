// Conversions that recur in the structure formatters, each defined once.
#ifndef TWAINMON_FIELDFORMAT_H
#define TWAINMON_FIELDFORMAT_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "TwainTypes.h"

namespace twfmt {

// The line end of every transcript line: one object, so the formatters can know it by its address.
inline constexpr char CRLF[] = "\r\n";

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
// "%s" would); returns the length written. Copied byte by byte: the texts are short, so this is
// cheaper than measuring them first.
inline size_t CopyText(const char* pszText, char* pszOut, size_t nOut) {
    if (nOut == 0) return 0;
    size_t i = 0;
    for (; i + 1 < nOut && pszText[i] != '\0'; ++i) pszOut[i] = pszText[i];
    pszOut[i] = '\0';
    return i;
}

// A word of 16 bytes, for copies.
struct Bytes16 {
    char b[16];
};

// Copies n bytes (sizeof(Word) <= n <= 2 * sizeof(Word)) as two overlapping words, the first and
// the last of the n bytes, each read and written inside them.
template <typename Word>
inline void CopyTwoWords(char* pOut, const char* p, size_t n) {
    Word head, tail;
    memcpy(&head, p, sizeof head);
    memcpy(&tail, p + n - sizeof tail, sizeof tail);
    memcpy(pOut, &head, sizeof head);
    memcpy(pOut + n - sizeof tail, &tail, sizeof tail);
}

// Copies n bytes. Names and the pieces of a line are short: up to 32 bytes are moved as words,
// without a call into the C library or the slow start of a string instruction.
inline void CopyShort(char* pOut, const char* p, size_t n) {
    if (n > 32) {
        memcpy(pOut, p, n);
    } else if (n >= 16) {
        CopyTwoWords<Bytes16>(pOut, p, n);
    } else if (n >= 8) {
        CopyTwoWords<uint64_t>(pOut, p, n);
    } else if (n >= 4) {
        CopyTwoWords<uint32_t>(pOut, p, n);
    } else {
        for (size_t i = 0; i < n; ++i) pOut[i] = p[i];
    }
}

// Copies N bytes, N known while compiling: the copy is chosen then.
template <size_t N>
inline void CopyFixed(char* pOut, const char* p) {
    if constexpr (N > 32) {
        memcpy(pOut, p, N);
    } else if constexpr (N >= 16) {
        CopyTwoWords<Bytes16>(pOut, p, N);
    } else if constexpr (N >= 8) {
        CopyTwoWords<uint64_t>(pOut, p, N);
    } else if constexpr (N >= 4) {
        CopyTwoWords<uint32_t>(pOut, p, N);
    } else {
        for (size_t i = 0; i < N; ++i) pOut[i] = p[i];
    }
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
