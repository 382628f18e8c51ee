#include "LineFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace linefmt {

namespace {

// The decimal digits of v, written backwards ending at pEnd; returns the first digit.
char* Decimal(unsigned long long v, char* pEnd) {
    char* p = pEnd;
    do {
        *--p = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
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
    void Put(const char* p, size_t n) {
        if (n > Free()) {
            n = Free();
            m_bCut = true;
        }
        memcpy(m_p, p, n);
        m_p += n;
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
    // One conversion of a double by snprintf, written in place (the room has a byte for its NUL).
    void Snprintf(const char* pszSpec, double d) {
        const int n = snprintf(m_p, Free() + 1, pszSpec, d);
        if (n < 0) return;
        if (static_cast<size_t>(n) > Free()) {
            m_p = m_pEnd;
            m_bCut = true;
        } else {
            m_p += n;
        }
    }

    bool Cut() const { return m_bCut; }
    size_t Length() const { return static_cast<size_t>(m_p - m_pBegin); }

private:
    size_t Free() const { return static_cast<size_t>(m_pEnd - m_p); }

    char* m_p;
    char* const m_pBegin;
    char* const m_pEnd;
    bool m_bCut = false;
};

// The hexadecimal digits of v, written backwards ending at pEnd; returns the first digit.
char* Hexadecimal(unsigned long long v, bool bUpper, char* pEnd) {
    const char* const pszDigits = bUpper ? "0123456789ABCDEF" : "0123456789abcdef";
    char* p = pEnd;
    do {
        *--p = pszDigits[v & 0xF];
        v >>= 4;
    } while (v != 0);
    return p;
}

// The text of "%.3f" for a whole number of 65536ths of magnitude at most 32768 (every TW_FIX32),
// written backwards ending at pEnd (kFixed3Room bytes are enough); returns its first byte, or
// nullptr for any other double.
char* Fixed3Text(double d, char* pEnd) {
    // The value in 65536ths must be a whole number (NaN and infinities fail the range test).
    const double scaled = d * 65536.0;
    if (!(std::fabs(scaled) <= 2147483648.0)) return nullptr;
    const int64_t units = static_cast<int64_t>(scaled);
    if (static_cast<double>(units) != scaled) return nullptr;

    // Thousandths = units * 1000 / 65536, rounded to nearest with ties to even: printf rounds the
    // exact binary value this way, and a tie is exactly representable here.
    const uint64_t magnitude = static_cast<uint64_t>(units < 0 ? -units : units) * 1000u;
    uint32_t thousandths = static_cast<uint32_t>(magnitude >> 16);
    const uint32_t rest = static_cast<uint32_t>(magnitude & 0xFFFFu);
    if (rest > 0x8000u || (rest == 0x8000u && (thousandths & 1u) != 0)) ++thousandths;

    uint32_t whole = thousandths / 1000;
    uint32_t fraction = thousandths % 1000;
    char* p = pEnd;
    for (int i = 0; i < 3; ++i, fraction /= 10) *--p = static_cast<char>('0' + fraction % 10);
    *--p = '.';
    do {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (std::signbit(d)) *--p = '-';  // also "-0.000" for a tiny negative value, as printf shows it
    return p;
}

// One conversion: %[-0][width][.precision][length]conversion.
struct Conversion {
    const char* pszStart = nullptr;  // its '%'
    const char* pszEnd = nullptr;    // just past its conversion letter
    bool bLeft = false;
    bool bZero = false;
    size_t nWidth = 0;
    int nPrecision = -1;  // none
    enum Length { None, Char, Short, Long, LongLong, SizeT } length = None;
    char conversion = '\0';
};

Conversion Parse(const char* pszPercent) {
    Conversion conv;
    conv.pszStart = pszPercent;
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
    // Widths and precisions beyond these bounds are left to vsnprintf (as a '\0' conversion).
    while (*f >= '0' && *f <= '9' && conv.nWidth < 10000) conv.nWidth = conv.nWidth * 10 + static_cast<size_t>(*f++ - '0');
    if (*f == '.') {
        ++f;
        conv.nPrecision = 0;
        while (*f >= '0' && *f <= '9' && conv.nPrecision < 100) conv.nPrecision = conv.nPrecision * 10 + (*f++ - '0');
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
    if (*f >= '0' && *f <= '9') return conv;  // a width or precision out of bounds
    conv.conversion = *f;
    if (*f != '\0') ++f;
    conv.pszEnd = f;
    return conv;
}

long long SignedArg(Conversion::Length length, va_list* args) {
    switch (length) {
        case Conversion::Char: return static_cast<signed char>(va_arg(*args, int));
        case Conversion::Short: return static_cast<short>(va_arg(*args, int));
        case Conversion::Long: return va_arg(*args, long);
        case Conversion::LongLong: return va_arg(*args, long long);
        case Conversion::SizeT: return static_cast<long long>(static_cast<ptrdiff_t>(va_arg(*args, size_t)));
        case Conversion::None: break;
    }
    return va_arg(*args, int);
}

unsigned long long UnsignedArg(Conversion::Length length, va_list* args) {
    switch (length) {
        case Conversion::Char: return static_cast<unsigned char>(va_arg(*args, unsigned int));
        case Conversion::Short: return static_cast<unsigned short>(va_arg(*args, unsigned int));
        case Conversion::Long: return va_arg(*args, unsigned long);
        case Conversion::LongLong: return va_arg(*args, unsigned long long);
        case Conversion::SizeT: return va_arg(*args, size_t);
        case Conversion::None: break;
    }
    return va_arg(*args, unsigned int);
}

// Writes one conversion and takes its argument; false, taking nothing, for a conversion that is
// left to vsnprintf.
bool Convert(Sink& sink, const Conversion& conv, va_list* args) {
    const bool bSized = conv.length != Conversion::None;
    char buf[24];
    char* const pEnd = buf + sizeof buf;
    switch (conv.conversion) {
        case 's': {
            if (bSized || conv.bZero || conv.nPrecision >= 0) return false;
            const char* psz = va_arg(*args, const char*);
            if (psz == nullptr) psz = "(null)";  // as glibc shows it
            if (conv.nWidth == 0) {
                sink.PutUntil(psz, '\0');
            } else {
                sink.Field(psz, strlen(psz), conv.nWidth, conv.bLeft);
            }
            return true;
        }
        case 'c': {
            if (bSized || conv.bZero || conv.nPrecision >= 0) return false;
            const char c = static_cast<char>(va_arg(*args, int));
            sink.Field(&c, 1, conv.nWidth, conv.bLeft);
            return true;
        }
        case 'd':
        case 'i': {
            if (conv.nPrecision >= 0) return false;
            const long long v = SignedArg(conv.length, args);
            // The magnitude in unsigned arithmetic: the most negative value has no positive twin.
            const unsigned long long magnitude =
                v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
            const char* p = Decimal(magnitude, pEnd);
            sink.Number(v < 0, p, static_cast<size_t>(pEnd - p), conv.nWidth, conv.bLeft, conv.bZero);
            return true;
        }
        case 'u':
        case 'x':
        case 'X': {
            if (conv.nPrecision >= 0) return false;
            const unsigned long long v = UnsignedArg(conv.length, args);
            const char* p = conv.conversion == 'u' ? Decimal(v, pEnd) : Hexadecimal(v, conv.conversion == 'X', pEnd);
            sink.Number(false, p, static_cast<size_t>(pEnd - p), conv.nWidth, conv.bLeft, conv.bZero);
            return true;
        }
        case 'f': {
            if (bSized && conv.length != Conversion::Long) return false;
            const double d = va_arg(*args, double);
            const char* p = conv.nPrecision == 3 ? Fixed3Text(d, pEnd) : nullptr;
            if (p == nullptr) {
                // Not a TW_FIX32 "%.3f": printf's own text for this one conversion.
                char szSpec[32];
                const size_t nSpec = static_cast<size_t>(conv.pszEnd - conv.pszStart);
                if (nSpec < sizeof szSpec) {  // always: widths and precisions are bounded
                    memcpy(szSpec, conv.pszStart, nSpec);
                    szSpec[nSpec] = '\0';
                    sink.Snprintf(szSpec, d);
                }
                return true;
            }
            const bool bNegative = *p == '-';
            if (bNegative) ++p;
            sink.Number(bNegative, p, static_cast<size_t>(pEnd - p), conv.nWidth, conv.bLeft, conv.bZero);
            return true;
        }
        case '%':
            if (bSized || conv.bLeft || conv.bZero || conv.nWidth != 0 || conv.nPrecision >= 0) return false;
            sink.Put("%", 1);
            return true;
        default: return false;
    }
}

}  // namespace

size_t Fixed3(double d, char* pOut) {
    char buf[kFixed3Room];
    const char* p = Fixed3Text(d, buf + sizeof buf);
    if (p == nullptr) return 0;
    const size_t n = static_cast<size_t>(buf + sizeof buf - p);
    memcpy(pOut, p, n);
    return n;
}

const char* Format(char* pOut, size_t nRoom, const char* pszFormat, va_list* args, Written* pWritten) {
    Sink sink(pOut, nRoom);
    const char* pszRest = nullptr;
    const char* f = pszFormat;
    for (;;) {
        // The literal text up to the next conversion. Once text is dropped, all that follows
        // would be dropped too.
        f = sink.PutUntil(f, '%');
        if (*f == '\0' || sink.Cut()) break;

        // The plain conversions the transcript uses most, without the general parse.
        if (f[1] == 's') {
            const char* psz = va_arg(*args, const char*);
            sink.PutUntil(psz != nullptr ? psz : "(null)", '\0');  // glibc shows a null text so
            f += 2;
            continue;
        }
        if (f[1] == '.' && f[2] == '3' && f[3] == 'f') {
            char buf[kFixed3Room];
            const double d = va_arg(*args, double);
            const char* p = Fixed3Text(d, buf + sizeof buf);
            if (p != nullptr) {
                sink.Put(p, static_cast<size_t>(buf + sizeof buf - p));
            } else {
                sink.Snprintf("%.3f", d);
            }
            f += 4;
            continue;
        }
        const Conversion conv = Parse(f);
        if (!Convert(sink, conv, args)) {
            pszRest = f;
            break;
        }
        f = conv.pszEnd;
    }
    pWritten->nLength = sink.Length();
    pWritten->bCut = sink.Cut();
    return pszRest;
}

}  // namespace linefmt
