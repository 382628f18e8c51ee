// The bounded output the line formatters write into, and the parsed form of one printf
// conversion. Shared by the formats split at compile time (CompiledFormat.h) and the item lines
// that write their values in place.
#ifndef TWAINMON_LINESINK_H
#define TWAINMON_LINESINK_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "FieldFormat.h"

namespace linefmt {

// "%lld" of v: writes the text at pOut (at least kDecimalRoom bytes, no NUL) and returns its length.
constexpr size_t kDecimalRoom = 20;
size_t Decimal(long long v, char* pOut);

// "%.3f" of a double that is a whole number of 65536ths of magnitude at most 32768 (every TW_FIX32
// value): writes the text at pOut (at least kFixed3Room bytes) and returns its length; 0 for any
// other double.
constexpr size_t kFixed3Room = 16;
size_t Fixed3(double d, char* pOut);

// The number of decimal digits of v.
inline size_t DigitCount(unsigned long long v) {
    size_t n = 1;
    for (; v >= 100; v /= 100) n += 2;
    return v >= 10 ? n + 1 : n;
}

// "00" to "99", for writing two digits at a time.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The decimal digits of v, written backwards ending at pEnd; returns the first digit.
inline char* DecimalDigits(unsigned long long v, char* pEnd) {
    char* p = pEnd;
    for (; v >= 100; v /= 100) {
        p -= 2;
        memcpy(p, kDigitPairs + 2 * (v % 100), 2);
    }
    if (v >= 10) {
        p -= 2;
        memcpy(p, kDigitPairs + 2 * v, 2);
    } else {
        *--p = static_cast<char>('0' + v);
    }
    return p;
}

// The bounded output of one formatting: bytes past the room are dropped and remembered.
class Sink {
public:
    Sink(char* pOut, size_t nRoom) : m_p(pOut), m_pBegin(pOut), m_pEnd(pOut + nRoom) {}

    // Copies text up to its NUL or the stop character, whichever comes first; returns where it
    // stopped. Short texts are copied byte by byte: cheaper than measuring them first.
    // (The output position is kept in a local: a store through a char* could otherwise change
    // the member, which would be reloaded for every byte.)
    const char* PutUntil(const char* psz, char cStop) {
        char* p = m_p;
        for (; *psz != cStop && *psz != '\0'; ++psz) {
            if (p == m_pEnd) {
                m_bCut = true;
                break;
            }
            *p++ = *psz;
        }
        m_p = p;
        return psz;
    }
    // A piece of a format, N bytes of constant text: moved as words chosen while compiling.
    template <size_t N>
    void PutLiteral(const char* p) {
        if (N > Free()) {
            PutCut(p, N);
            return;
        }
        twfmt::CopyFixed<N>(m_p, p);
        m_p += N;
    }
    // A short text of known length that stands still in memory (a name): moved as words.
    void PutShort(const char* p, size_t n) {
        if (n > Free()) {
            PutCut(p, n);
            return;
        }
        twfmt::CopyShort(m_p, p, n);
        m_p += n;
    }
    // Put, out of line: a piece of a format that does not fit is rare.
    void PutCut(const char* p, size_t n);
    // A short text, typically digits just composed in a scratch buffer: copied byte by byte, as
    // it was written (a wider read of bytes just stored one at a time stalls the processor).
    void Put(const char* p, size_t n) {
        if (n > Free()) {
            n = Free();
            m_bCut = true;
        }
        char* pOut = m_p;
        for (size_t i = 0; i < n; ++i) pOut[i] = p[i];
        m_p = pOut + n;
    }
    void Fill(char c, size_t n) {
        if (n > Free()) {
            n = Free();
            m_bCut = true;
        }
        memset(m_p, c, n);
        m_p += n;
    }
    // A field of n bytes in a width: blanks before it, or after it when left-aligned.
    void Field(const char* p, size_t n, size_t nWidth, bool bLeft) {
        if (!bLeft && n < nWidth) Fill(' ', nWidth - n);
        Put(p, n);
        if (bLeft && n < nWidth) Fill(' ', nWidth - n);
    }
    // A number's sign and digits in a width: zero padding goes between the sign and the digits.
    void Number(bool bNegative, const char* pDigits, size_t nDigits, size_t nWidth, bool bLeft, bool bZero) {
        const size_t n = nDigits + (bNegative ? 1 : 0);
        if (bZero && !bLeft) {
            if (bNegative) Put("-", 1);
            if (n < nWidth) Fill('0', nWidth - n);
            Put(pDigits, nDigits);
            return;
        }
        if (!bLeft && n < nWidth) Fill(' ', nWidth - n);
        if (bNegative) Put("-", 1);
        Put(pDigits, nDigits);
        if (bLeft && n < nWidth) Fill(' ', nWidth - n);
    }
    // A plain "%s"; a null text shows as "(null)", as glibc shows it.
    void PutText(const char* psz) { PutUntil(psz != nullptr ? psz : "(null)", '\0'); }
    // The conversions the formats use most: the common case (room enough for any text of the
    // conversion) inline, the rest out of line (LineSink.cpp), so that each format's code
    // stays small.
    // A plain "%d" or "%ld".
    void PutSigned(long long v) {
        if (Free() < kDecimalRoom) return PutSignedCut(v);
        m_p += Decimal(v, m_p);
    }
    // A "%u" with no flags and a width of at most 8: blanks, then the digits, written in place
    // (digits composed elsewhere and copied would be read back just after being stored).
    void PutUnsigned(unsigned long long v, size_t nWidth) {
        if (nWidth > 8 || Free() < kDecimalRoom) return PutUnsignedCut(v, nWidth);
        const size_t nDigits = DigitCount(v);
        memcpy(m_p, "        ", 8);  // blanks first, the digits over their end
        m_p += nDigits < nWidth ? nWidth : nDigits;
        DecimalDigits(v, m_p);
    }
    // A plain "%.3f": a TW_FIX32 value straight into the room; any other double by snprintf.
    void PutFixed3(double d) {
        const size_t n = Free() >= kFixed3Room ? Fixed3(d, m_p) : 0;
        if (n == 0) return PutFixed3Cut(d);
        m_p += n;
    }
    // The same, where the text may not fit, or (for a double no formatter passes) is not a TW_FIX32
    // value.
    void PutSignedCut(long long v);
    void PutUnsignedCut(unsigned long long v, size_t nWidth);
    void PutFixed3Cut(double d);
    // One conversion of a double by snprintf, written in place (the room has a byte for its NUL).
    void Snprintf(const char* pszSpec, double d);

    bool Cut() const { return m_bCut; }
    size_t Length() const { return static_cast<size_t>(m_p - m_pBegin); }
    // For text written in place: where the next byte goes, the bytes of room left (one more byte
    // past them may take a NUL), then the length written there (at most Free()).
    char* End() const { return m_p; }
    size_t Free() const { return static_cast<size_t>(m_pEnd - m_p); }
    void Took(size_t n) { m_p += n; }

private:
    char* m_p;
    char* const m_pBegin;
    char* const m_pEnd;
    bool m_bCut = false;
};

// The hexadecimal digits of v, written backwards ending at pEnd; returns the first digit.
inline char* Hexadecimal(unsigned long long v, bool bUpper, char* pEnd) {
    const char* const pszDigits = bUpper ? "0123456789ABCDEF" : "0123456789abcdef";
    char* p = pEnd;
    do {
        *--p = pszDigits[v & 0xF];
        v >>= 4;
    } while (v != 0);
    return p;
}

// One conversion: %[-0][width][.precision][length]conversion.
struct Conversion {
    enum Length : uint8_t { None, Char, Short, Long, LongLong, SizeT };
    uint8_t nSpec = 0;  // bytes from its '%' to just past its conversion letter
    char conversion = '\0';  // '\0': out of the bounds below
    Length length = None;
    bool bLeft = false;
    bool bZero = false;
    int16_t nPrecision = -1;  // none
    uint16_t nWidth = 0;
};

// Conversions longer than this, and widths and precisions above 9999 and 999, are not parsed.
constexpr ptrdiff_t kMaxSpec = 32;

constexpr Conversion Parse(const char* pszPercent) {
    Conversion conv;
    const char* f = pszPercent + 1;
    for (;; ++f) {
        if (*f == '-') {
            conv.bLeft = true;
        } else if (*f == '0') {
            conv.bZero = true;
        } else {
            break;
        }
    }
    while (*f >= '0' && *f <= '9' && conv.nWidth < 1000) {
        conv.nWidth = static_cast<uint16_t>(conv.nWidth * 10 + (*f++ - '0'));
    }
    if (*f == '.') {
        ++f;
        conv.nPrecision = 0;
        while (*f >= '0' && *f <= '9' && conv.nPrecision < 100) {
            conv.nPrecision = static_cast<int16_t>(conv.nPrecision * 10 + (*f++ - '0'));
        }
    }
    if (f[0] == 'h' && f[1] == 'h') {
        conv.length = Conversion::Char;
        f += 2;
    } else if (f[0] == 'h') {
        conv.length = Conversion::Short;
        ++f;
    } else if (f[0] == 'l' && f[1] == 'l') {
        conv.length = Conversion::LongLong;
        f += 2;
    } else if (f[0] == 'l') {
        conv.length = Conversion::Long;
        ++f;
    } else if (f[0] == 'z') {
        conv.length = Conversion::SizeT;
        ++f;
    }
    // Left as '\0': a width or precision out of bounds, a format that ends inside the conversion,
    // or a conversion longer than any the transcript uses.
    if ((*f >= '0' && *f <= '9') || *f == '\0' || f + 1 - pszPercent > kMaxSpec) return conv;
    conv.conversion = *f;
    conv.nSpec = static_cast<uint8_t>(f + 1 - pszPercent);
    return conv;
}

// A signed or unsigned integer conversion (d i, or u x X) of a value already taken at the
// conversion's length, with its flags and width.
void PutSignedConversion(Sink& sink, const Conversion& conv, long long v);
void PutUnsignedConversion(Sink& sink, const Conversion& conv, unsigned long long v);

}  // namespace linefmt

#endif  // TWAINMON_LINESINK_H
