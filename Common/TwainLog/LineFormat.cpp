#include "LineFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "LineSink.h"

namespace linefmt {

namespace {

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

// A signed number's text (its sign, if any, then its digits) in the conversion's width.
void PutNumberText(Sink& sink, const char* pText, size_t n, const Conversion& conv) {
    const bool bNegative = pText[0] == '-';
    sink.Number(bNegative, pText + (bNegative ? 1 : 0), n - (bNegative ? 1 : 0), conv.nWidth, conv.bLeft, conv.bZero);
}

// Writes one supported conversion, whose text starts at pszSpec, and takes its argument.
void Convert(Sink& sink, const Conversion& conv, const char* pszSpec, va_list* args) {
    switch (conv.conversion) {
        case 's': {
            const char* psz = va_arg(*args, const char*);
            if (conv.nWidth == 0) {
                sink.PutText(psz);
            } else {
                if (psz == nullptr) psz = "(null)";  // as glibc shows it
                sink.Field(psz, strlen(psz), conv.nWidth, conv.bLeft);
            }
            return;
        }
        case 'c': {
            const char c = static_cast<char>(va_arg(*args, int));
            sink.Field(&c, 1, conv.nWidth, conv.bLeft);
            return;
        }
        case 'd':
        case 'i': PutSignedConversion(sink, conv, SignedArg(conv.length, args)); return;
        case 'u':
        case 'x':
        case 'X': PutUnsignedConversion(sink, conv, UnsignedArg(conv.length, args)); return;
        case 'f': {
            const double d = va_arg(*args, double);
            char buf[kFixed3Room];
            const size_t n = conv.nPrecision == 3 ? Fixed3(d, buf) : 0;
            if (n == 0) {
                // Not a TW_FIX32 "%.3f": printf's own text for this one conversion.
                char szSpec[kMaxSpec + 1];
                memcpy(szSpec, pszSpec, conv.nSpec);
                szSpec[conv.nSpec] = '\0';
                sink.Snprintf(szSpec, d);
                return;
            }
            PutNumberText(sink, buf, n, conv);
            return;
        }
        case '%': sink.Put("%", 1); return;
        default: return;  // not supported: never called
    }
}

// Formats with the parser, conversion by conversion (see Format).
const char* Interpret(Sink& sink, const char* pszFormat, va_list* args) {
    const char* f = pszFormat;
    for (;;) {
        // The literal text up to the next conversion. Once text is dropped, all that follows
        // would be dropped too.
        f = sink.PutUntil(f, '%');
        if (*f == '\0' || sink.Cut()) return nullptr;
        const Conversion conv = Parse(f);
        if (!Supported(conv)) return f;
        Convert(sink, conv, f, args);
        f += conv.nSpec;
    }
}

}  // namespace

void Sink::PutCut(const char* p, size_t n) { Put(p, n); }

void Sink::PutSignedCut(long long v) {
    Conversion conv;
    conv.conversion = 'd';
    PutSignedConversion(*this, conv, v);
}

void Sink::PutUnsignedCut(unsigned long long v, size_t nWidth) {
    Conversion conv;
    conv.conversion = 'u';
    conv.nWidth = static_cast<uint16_t>(nWidth);
    PutUnsignedConversion(*this, conv, v);
}

void Sink::PutFixed3Cut(double d) {
    char buf[kFixed3Room];
    const size_t n = Fixed3(d, buf);
    if (n == 0) {
        Snprintf("%.3f", d);
    } else {
        Put(buf, n);
    }
}

void Sink::Snprintf(const char* pszSpec, double d) {
    const int n = snprintf(m_p, Free() + 1, pszSpec, d);
    if (n < 0) return;
    if (static_cast<size_t>(n) > Free()) {
        m_p = m_pEnd;
        m_bCut = true;
    } else {
        m_p += n;
    }
}

void PutSignedConversion(Sink& sink, const Conversion& conv, long long v) {
    char buf[kDecimalRoom];
    PutNumberText(sink, buf, Decimal(v, buf), conv);
}

void PutUnsignedConversion(Sink& sink, const Conversion& conv, unsigned long long v) {
    char buf[24];
    char* const pEnd = buf + sizeof buf;
    const char* p = conv.conversion == 'u' ? DecimalDigits(v, pEnd) : Hexadecimal(v, conv.conversion == 'X', pEnd);
    sink.Number(false, p, static_cast<size_t>(pEnd - p), conv.nWidth, conv.bLeft, conv.bZero);
}

size_t Decimal(long long v, char* pOut) {
    // Written in place, last digit first, once the length is known.
    const unsigned long long magnitude =
        v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    const size_t n = DigitCount(magnitude) + (v < 0 ? 1 : 0);
    DecimalDigits(magnitude, pOut + n);
    if (v < 0) pOut[0] = '-';
    return n;
}

size_t Fixed3(double d, char* pOut) {
    // The value in 65536ths must be a whole number (NaN and infinities fail the range test).
    const double scaled = d * 65536.0;
    if (!(std::fabs(scaled) <= 2147483648.0)) return 0;
    const int64_t units = static_cast<int64_t>(scaled);
    if (static_cast<double>(units) != scaled) return 0;

    // Thousandths = units * 1000 / 65536, rounded to nearest with ties to even: printf rounds the
    // exact binary value this way, and a tie is exactly representable here.
    const uint64_t magnitude = static_cast<uint64_t>(units < 0 ? -units : units) * 1000u;
    uint32_t thousandths = static_cast<uint32_t>(magnitude >> 16);
    const uint32_t rest = static_cast<uint32_t>(magnitude & 0xFFFFu);
    if (rest > 0x8000u || (rest == 0x8000u && (thousandths & 1u) != 0)) ++thousandths;

    // Sign, whole part (at most 32768: five digits), point, three decimals. Most values have a
    // single whole digit.
    uint32_t whole = thousandths / 1000;
    const uint32_t fraction = thousandths - whole * 1000;
    char* p = pOut;
    *p = '-';
    p += std::signbit(d) ? 1 : 0;  // also "-0.000" for a tiny negative value, as printf shows it
    if (whole < 10) {
        *p++ = static_cast<char>('0' + whole);
    } else {
        p += DigitCount(whole);
        DecimalDigits(whole, p);
    }
    const uint32_t hundreds = fraction / 100;
    const uint32_t rest2 = fraction - hundreds * 100;
    p[0] = '.';
    p[1] = static_cast<char>('0' + hundreds);
    p[2] = static_cast<char>('0' + rest2 / 10);
    p[3] = static_cast<char>('0' + rest2 % 10);
    return static_cast<size_t>(p + 4 - pOut);
}

const char* Format(char* pOut, size_t nRoom, const char* pszFormat, va_list* args, Written* pWritten) {
    Sink sink(pOut, nRoom);
    const char* pszRest = Interpret(sink, pszFormat, args);
    pWritten->nLength = sink.Length();
    pWritten->bCut = sink.Cut();
    return pszRest;
}

}  // namespace linefmt
