// The parts of the bounded line output that are not inline: conversions that may not fit, and the
// decimal and TW_FIX32 texts.
#include "LineSink.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace linefmt {

namespace {

// A signed number's text (its sign, if any, then its digits) in the conversion's width.
void PutNumberText(Sink& sink, const char* pText, size_t n, const Conversion& conv) {
    const bool bNegative = pText[0] == '-';
    sink.Number(bNegative, pText + (bNegative ? 1 : 0), n - (bNegative ? 1 : 0), conv.nWidth, conv.bLeft, conv.bZero);
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

}  // namespace linefmt
