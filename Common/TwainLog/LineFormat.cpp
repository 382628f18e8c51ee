#include "LineFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace linefmt {

namespace {

// The decimal digits of v, written backwards ending at pEnd; returns the first digit.
char* DecimalDigits(unsigned long long v, char* pEnd) {
    char* p = pEnd;
    do {
        *--p = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    return p;
}

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

// Copies n bytes. The pieces of a line are short: up to 16 bytes are moved as words, without a
// call into the C library.
inline void CopyShort(char* pOut, const char* p, size_t n) {
    if (n > 16) {
        memcpy(pOut, p, n);
    } else if (n >= 8) {
        CopyTwoWords<uint64_t>(pOut, p, n);
    } else if (n >= 4) {
        CopyTwoWords<uint32_t>(pOut, p, n);
    } else {
        for (size_t i = 0; i < n; ++i) pOut[i] = p[i];
    }
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
    // A piece of the format: constant text, moved a word at a time.
    void PutLiteral(const char* p, size_t n) {
        if (n > Free()) {
            n = Free();
            m_bCut = true;
        }
        CopyShort(m_p, p, n);
        m_p += n;
    }
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
    // A plain "%d" or "%ld".
    void PutSigned(long long v) {
        if (Free() >= kDecimalRoom) {
            m_p += linefmt::Decimal(v, m_p);
        } else {
            char buf[kDecimalRoom];
            Put(buf, linefmt::Decimal(v, buf));
        }
    }
    // A plain "%.3f": a TW_FIX32 value straight into the room when it surely fits; any other
    // double by snprintf.
    void PutFixed3(double d) {
        char buf[kFixed3Room];
        char* const pText = Free() >= kFixed3Room ? m_p : buf;
        const size_t n = Fixed3(d, pText);
        if (n == 0) {
            Snprintf("%.3f", d);
        } else if (pText == m_p) {
            m_p += n;
        } else {
            Put(buf, n);
        }
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

// One conversion: %[-0][width][.precision][length]conversion.
struct Conversion {
    enum Length : uint8_t { None, Char, Short, Long, LongLong, SizeT };
    uint8_t nSpec = 0;  // bytes from its '%' to just past its conversion letter
    char conversion = '\0';  // '\0': out of the bounds below, left to vsnprintf
    Length length = None;
    bool bLeft = false;
    bool bZero = false;
    int16_t nPrecision = -1;  // none
    uint16_t nWidth = 0;
};

// Conversions longer than this, and widths and precisions above 9999 and 999, are left to vsnprintf.
constexpr ptrdiff_t kMaxSpec = 32;

Conversion Parse(const char* pszPercent) {
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
    while (*f >= '0' && *f <= '9' && conv.nWidth < 1000) conv.nWidth = static_cast<uint16_t>(conv.nWidth * 10 + (*f++ - '0'));
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

// Whether Convert writes this conversion exactly as printf would; the others are left to vsnprintf.
bool Supported(const Conversion& conv) {
    const bool bSized = conv.length != Conversion::None;
    switch (conv.conversion) {
        case 's':
        case 'c': return !bSized && !conv.bZero && conv.nPrecision < 0;
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X': return conv.nPrecision < 0;
        case 'f': return !bSized || conv.length == Conversion::Long;
        case '%': return !bSized && !conv.bLeft && !conv.bZero && conv.nWidth == 0 && conv.nPrecision < 0;
        default: return false;
    }
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

// A signed number's text (its sign, if any, then its digits) in the conversion's width.
void PutNumberText(Sink& sink, const char* pText, size_t n, const Conversion& conv) {
    const bool bNegative = pText[0] == '-';
    sink.Number(bNegative, pText + (bNegative ? 1 : 0), n - (bNegative ? 1 : 0), conv.nWidth, conv.bLeft, conv.bZero);
}

// Writes one supported conversion, whose text starts at pszSpec, and takes its argument.
void Convert(Sink& sink, const Conversion& conv, const char* pszSpec, va_list* args) {
    char buf[24];
    char* const pEnd = buf + sizeof buf;
    switch (conv.conversion) {
        case 's': {
            const char* psz = va_arg(*args, const char*);
            if (psz == nullptr) psz = "(null)";  // as glibc shows it
            if (conv.nWidth == 0) {
                sink.PutUntil(psz, '\0');
            } else {
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
        case 'i': {
            PutNumberText(sink, buf, Decimal(SignedArg(conv.length, args), buf), conv);
            return;
        }
        case 'u':
        case 'x':
        case 'X': {
            const unsigned long long v = UnsignedArg(conv.length, args);
            const char* p = conv.conversion == 'u' ? DecimalDigits(v, pEnd) : Hexadecimal(v, conv.conversion == 'X', pEnd);
            sink.Number(false, p, static_cast<size_t>(pEnd - p), conv.nWidth, conv.bLeft, conv.bZero);
            return;
        }
        case 'f': {
            const double d = va_arg(*args, double);
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

// A format parsed once: each conversion with the literal text before it, and the literal text
// after the last one. Formats with more conversions than fit, a conversion left to vsnprintf, or
// pieces of 64 KiB and more are not compiled.
struct Program {
    static constexpr size_t kMaxSteps = 6;
    struct Step {
        // The conversions the formatters use most, without width or flags, run without the
        // general converter.
        enum Kind : uint8_t { Text, Fix32, Int, Long, Other };
        uint16_t nLiteral;  // bytes of literal text before the conversion
        Kind kind;
        Conversion conv;
    };
    const char* pszFormat;  // the literal it was parsed from; nullptr in an unused slot
    bool bCompiled;
    uint8_t nSteps;
    uint16_t nTail;  // bytes of literal text after the last conversion
    Step steps[kMaxSteps];
};

Program::Step::Kind KindOf(const Conversion& conv) {
    if (conv.bLeft || conv.bZero || conv.nWidth != 0) return Program::Step::Other;
    const bool bNoPrecision = conv.nPrecision < 0;
    switch (conv.conversion) {
        case 's': return conv.length == Conversion::None && bNoPrecision ? Program::Step::Text : Program::Step::Other;
        case 'f':
            return conv.nPrecision == 3 && (conv.length == Conversion::None || conv.length == Conversion::Long)
                       ? Program::Step::Fix32
                       : Program::Step::Other;
        case 'd':
        case 'i':
            if (!bNoPrecision) return Program::Step::Other;
            if (conv.length == Conversion::None) return Program::Step::Int;
            return conv.length == Conversion::Long ? Program::Step::Long : Program::Step::Other;
        default: return Program::Step::Other;
    }
}

void Compile(const char* pszFormat, Program* pProgram) {
    pProgram->pszFormat = pszFormat;
    pProgram->bCompiled = false;
    pProgram->nSteps = 0;
    const char* f = pszFormat;
    for (;;) {
        const char* pszPercent = f;
        while (*pszPercent != '%' && *pszPercent != '\0') ++pszPercent;
        const size_t nLiteral = static_cast<size_t>(pszPercent - f);
        if (nLiteral > UINT16_MAX) return;
        if (*pszPercent == '\0') {
            pProgram->nTail = static_cast<uint16_t>(nLiteral);
            pProgram->bCompiled = true;
            return;
        }
        const Conversion conv = Parse(pszPercent);
        if (!Supported(conv) || pProgram->nSteps == Program::kMaxSteps) return;
        pProgram->steps[pProgram->nSteps++] = Program::Step{static_cast<uint16_t>(nLiteral), KindOf(conv), conv};
        f = pszPercent + conv.nSpec;
    }
}

void Run(const Program& program, Sink& sink, va_list* args) {
    const char* f = program.pszFormat;
    for (size_t i = 0; i < program.nSteps; ++i) {
        const Program::Step& step = program.steps[i];
        sink.PutLiteral(f, step.nLiteral);
        f += step.nLiteral;
        switch (step.kind) {
            case Program::Step::Text: {
                const char* psz = va_arg(*args, const char*);
                sink.PutUntil(psz != nullptr ? psz : "(null)", '\0');  // glibc shows a null text so
                break;
            }
            case Program::Step::Fix32: sink.PutFixed3(va_arg(*args, double)); break;
            case Program::Step::Int: sink.PutSigned(va_arg(*args, int)); break;
            case Program::Step::Long: sink.PutSigned(va_arg(*args, long)); break;
            case Program::Step::Other: Convert(sink, step.conv, f, args); break;
        }
        f += step.conv.nSpec;
    }
    sink.PutLiteral(f, program.nTail);
}

// The programs of the literal formats, found by address: an open-addressed hash table filled on
// first use of each format and never emptied (a module has a fixed set of literals). It lives in
// static storage, zero-initialised, so it is ready before any load-time code runs. The transcript
// is rendered one call at a time, so the table needs no lock.
class ProgramCache {
public:
    // The program of a literal format; nullptr when the table is full.
    const Program* Find(const char* pszLiteral) {
        for (size_t n = 0, slot = Slot(pszLiteral); n < kSlots; ++n, slot = (slot + 1) % kSlots) {
            Program& program = m_slots[slot];
            if (program.pszFormat == pszLiteral) return &program;
            if (program.pszFormat == nullptr) {
                Compile(pszLiteral, &program);
                return &program;
            }
        }
        return nullptr;
    }

private:
    static constexpr size_t kSlots = 512;  // a power of two, well above the formatters' formats
    static size_t Slot(const char* psz) {
        return static_cast<size_t>((reinterpret_cast<uintptr_t>(psz) * UINT64_C(0x9E3779B97F4A7C15)) >> 55);
    }
    Program m_slots[kSlots];
};

ProgramCache g_programs;

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

size_t Decimal(long long v, char* pOut) {
    char buf[24];
    char* const pEnd = buf + sizeof buf;
    const unsigned long long magnitude =
        v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    char* p = DecimalDigits(magnitude, pEnd);
    if (v < 0) *--p = '-';
    const size_t n = static_cast<size_t>(pEnd - p);
    for (size_t i = 0; i < n; ++i) pOut[i] = p[i];
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

    // Sign, whole part (at most 32768: five digits), point, three decimals.
    uint32_t whole = thousandths / 1000;
    const uint32_t fraction = thousandths % 1000;
    char* p = pOut;
    if (std::signbit(d)) *p++ = '-';  // also "-0.000" for a tiny negative value, as printf shows it
    const size_t nWhole = whole < 10 ? 1 : whole < 100 ? 2 : whole < 1000 ? 3 : whole < 10000 ? 4 : 5;
    for (size_t i = nWhole; i-- > 0; whole /= 10) p[i] = static_cast<char>('0' + whole % 10);
    p += nWhole;
    p[0] = '.';
    p[1] = static_cast<char>('0' + fraction / 100);
    p[2] = static_cast<char>('0' + fraction / 10 % 10);
    p[3] = static_cast<char>('0' + fraction % 10);
    return static_cast<size_t>(p + 4 - pOut);
}

const char* Format(char* pOut, size_t nRoom, const char* pszFormat, va_list* args, Written* pWritten) {
    Sink sink(pOut, nRoom);
    const char* pszRest = Interpret(sink, pszFormat, args);
    pWritten->nLength = sink.Length();
    pWritten->bCut = sink.Cut();
    return pszRest;
}

const char* FormatLiteral(char* pOut, size_t nRoom, const char* pszLiteral, va_list* args, Written* pWritten) {
    const Program* pProgram = g_programs.Find(pszLiteral);
    if (pProgram == nullptr || !pProgram->bCompiled) return Format(pOut, nRoom, pszLiteral, args, pWritten);
    Sink sink(pOut, nRoom);
    Run(*pProgram, sink, args);
    pWritten->nLength = sink.Length();
    pWritten->bCut = sink.Cut();
    return nullptr;
}

}  // namespace linefmt
