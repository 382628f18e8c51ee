// Formats split at compile time. A printf-style format given as a string literal is broken into
// its literal pieces and conversions while compiling, so appending it copies pieces of known length
// and converts each argument as its conversion says: no parsing and no va_list at run time. The
// text is exactly what snprintf would write, cut at the buffer's room like any other append.
//
//   struct XFormat { static constexpr const char* Text() { return "X = [%.3f]%s"; } };
//   linefmt::AppendCompiled<XFormat>(text, XFormat::Text(), x, twfmt::CRLF);
//
// The formatters do this through TW_OUT (ParaAnalyze.h), which also has the compiler check the
// arguments against the format as it checks printf's (CheckPrintf). A format may hold the
// conversions %s, %d, %i, %u, %x and %X (flags '-' and '0', a width, the lengths h hh l ll z) and
// "%.3f" for TW_FIX32 values; anything else fails to compile.
#ifndef TWAINMON_COMPILEDFORMAT_H
#define TWAINMON_COMPILEDFORMAT_H

#include <cstddef>
#include <string_view>
#include <type_traits>
#include <utility>

#include "FieldFormat.h"
#include "LineSink.h"
#include "TextBuffer.h"

namespace linefmt {

// Never called: a call in dead code has the compiler check a format against its arguments.
__attribute__((format(printf, 1, 2))) inline void CheckPrintf(const char*, ...) {}

// Whether a compiled format can hold the conversion: it takes one argument and is written here
// exactly as printf writes it.
constexpr bool Splittable(const Conversion& conv) {
    switch (conv.conversion) {
        case 's': return conv.length == Conversion::None && !conv.bZero && conv.nPrecision < 0;
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X': return conv.nPrecision < 0;
        case 'f':
            return conv.nPrecision == 3 && !conv.bLeft && !conv.bZero && conv.nWidth == 0 &&
                   (conv.length == Conversion::None || conv.length == Conversion::Long);
        default: return false;
    }
}

// The number of conversions of a format; a malformed one counts and ends the count.
constexpr size_t ConversionCount(const char* f) {
    for (size_t n = 0;; ++n) {
        while (*f != '%' && *f != '\0') ++f;
        if (*f == '\0') return n;
        const Conversion conv = Parse(f);
        if (conv.conversion == '\0') return n + 1;
        f += conv.nSpec;
    }
}

// A format's pieces: each conversion with the literal text before it (offset and length in the
// format), and the literal text after the last one.
template <size_t N>
struct SplitFormat {
    struct Step {
        size_t nOffset;
        size_t nLiteral;
        Conversion conv;
    };
    Step steps[N == 0 ? 1 : N];
    size_t nTailOffset;
    size_t nTail;
    bool bValid;  // every conversion is one a compiled format can hold
};

template <size_t N>
constexpr SplitFormat<N> Split(const char* pszFormat) {
    SplitFormat<N> split{};
    split.bValid = true;
    size_t offset = 0;
    for (size_t i = 0;; ++i) {
        size_t n = 0;
        while (pszFormat[offset + n] != '%' && pszFormat[offset + n] != '\0') ++n;
        if (pszFormat[offset + n] == '\0') {
            split.nTailOffset = offset;
            split.nTail = n;
            return split;
        }
        const Conversion conv = Parse(pszFormat + offset + n);
        if (i == N || !Splittable(conv)) {
            split.bValid = false;
            return split;
        }
        split.steps[i] = {offset, n, conv};
        offset += n + conv.nSpec;
    }
}

// The split form of a format class (a class with a static constexpr Text()).
template <typename Format>
struct Compiled {
    static constexpr size_t kCount = ConversionCount(Format::Text());
    static constexpr SplitFormat<kCount> kSplit = Split<kCount>(Format::Text());
};

// An argument as printf takes it for the conversion's length (the compiler has checked that its
// type is the one printf expects, so this gives printf's value).
template <Conversion::Length L, typename T>
constexpr long long SignedAs(T v) {
    switch (L) {
        case Conversion::Char: return static_cast<signed char>(static_cast<int>(v));
        case Conversion::Short: return static_cast<short>(static_cast<int>(v));
        case Conversion::Long: return static_cast<long>(v);
        case Conversion::LongLong: return static_cast<long long>(v);
        case Conversion::SizeT: return static_cast<ptrdiff_t>(static_cast<size_t>(v));
        case Conversion::None: break;
    }
    return static_cast<int>(v);
}

template <Conversion::Length L, typename T>
constexpr unsigned long long UnsignedAs(T v) {
    switch (L) {
        case Conversion::Char: return static_cast<unsigned char>(static_cast<unsigned int>(v));
        case Conversion::Short: return static_cast<unsigned short>(static_cast<unsigned int>(v));
        case Conversion::Long: return static_cast<unsigned long>(v);
        case Conversion::LongLong: return static_cast<unsigned long long>(v);
        case Conversion::SizeT: return static_cast<size_t>(v);
        case Conversion::None: break;
    }
    return static_cast<unsigned int>(v);
}

// The literal piece before conversion I, then the conversion of its argument.
template <typename Format, size_t I, typename Arg>
inline void PutStep(Sink& sink, Arg arg) {
    constexpr auto kStep = Compiled<Format>::kSplit.steps[I];
    constexpr Conversion kConv = kStep.conv;
    sink.template PutLiteral<kStep.nLiteral>(Format::Text() + kStep.nOffset);
    if constexpr (kConv.conversion == 's' && std::is_same<Arg, std::string_view>::value) {
        // A text of known length (a name from the tables).
        if constexpr (kConv.nWidth != 0) {
            sink.Field(arg.data(), arg.size(), kConv.nWidth, kConv.bLeft);
        } else {
            sink.PutShort(arg.data(), arg.size());
        }
    } else if constexpr (kConv.conversion == 's') {
        static_assert(std::is_convertible<Arg, const char*>::value, "%s takes a text");
        const char* psz = arg;
        if constexpr (kConv.nWidth != 0) {
            if (psz == nullptr) psz = "(null)";  // as glibc shows it
            sink.Field(psz, strlen(psz), kConv.nWidth, kConv.bLeft);
        } else if (psz == twfmt::CRLF) {
            sink.template PutLiteral<2>(twfmt::CRLF);  // the line end, known by its address
        } else {
            sink.PutText(psz);
        }
    } else if constexpr (kConv.conversion == 'd' || kConv.conversion == 'i') {
        static_assert(std::is_integral<Arg>::value || std::is_enum<Arg>::value, "%d takes an integer");
        const long long v = SignedAs<kConv.length>(arg);
        if constexpr (kConv.nWidth == 0 && !kConv.bLeft && !kConv.bZero) {
            sink.PutSigned(v);
        } else {
            PutSignedConversion(sink, kConv, v);
        }
    } else if constexpr (kConv.conversion == 'f') {
        static_assert(std::is_floating_point<Arg>::value, "%.3f takes a double");
        sink.PutFixed3(static_cast<double>(arg));
    } else {
        static_assert(std::is_integral<Arg>::value || std::is_enum<Arg>::value, "%u and %x take an integer");
        const unsigned long long v = UnsignedAs<kConv.length>(arg);
        if constexpr (kConv.conversion == 'u' && !kConv.bLeft && !kConv.bZero && kConv.nWidth <= 8) {
            sink.PutUnsigned(v, kConv.nWidth);
        } else {
            PutUnsignedConversion(sink, kConv, v);
        }
    }
}

template <typename Format, size_t... I, typename... Args>
inline void PutSteps(Sink& sink, std::index_sequence<I...>, Args... args) {
    (PutStep<Format, I>(sink, args), ...);
}

// Writes the format (the same literal as Format::Text()) with its arguments to the sink.
template <typename Format, typename... Args>
inline void PutCompiled(Sink& sink, const char* /* pszFormat */, Args... args) {
    using Split = Compiled<Format>;
    static_assert(Split::kSplit.bValid, "a compiled format holds only %s %d %i %u %x %X and %.3f");
    static_assert(Split::kCount == sizeof...(Args), "one argument per conversion");
    PutSteps<Format>(sink, std::index_sequence_for<Args...>{}, args...);
    sink.template PutLiteral<Split::kSplit.nTail>(Format::Text() + Split::kSplit.nTailOffset);
}

// Has put(sink) write into the text's free room, and the text take what it wrote.
template <typename Put>
inline void AppendWith(CTextBuffer& text, Put put) {
    Sink sink(text.End(), text.Free());
    put(sink);
    text.Took(sink.Length(), sink.Cut());
}

// Has put(sink) write into an output of nOutput bytes (at least 1), cut and terminated as
// snprintf would; returns the length written.
template <typename Put>
inline size_t PrintWith(char* pszOutput, size_t nOutput, Put put) {
    Sink sink(pszOutput, nOutput - 1);
    put(sink);
    pszOutput[sink.Length()] = '\0';
    return sink.Length();
}

// Appends the format with its arguments to the text.
template <typename Format, typename... Args>
inline void AppendCompiled(CTextBuffer& text, const char* pszFormat, Args... args) {
    AppendWith(text, [&](Sink& sink) { PutCompiled<Format>(sink, pszFormat, args...); });
}

}  // namespace linefmt

// The first of a macro's arguments (there may be only one).
#define TWAINMON_FIRST_ARGUMENT(...) TWAINMON_FIRST_ARGUMENT_(__VA_ARGS__, unused)
#define TWAINMON_FIRST_ARGUMENT_(first, ...) first

// Appends printf-style text to a CTextBuffer, TWAINMON_APPEND(text, "format", arguments...), or
// writes it to a linefmt::Sink, TWAINMON_PUT(sink, "format", arguments...). The format must be a
// string literal.
#define TWAINMON_APPEND(text, ...) TWAINMON_COMPILED_FORMAT_(AppendCompiled, text, __VA_ARGS__)
#define TWAINMON_PUT(sink, ...) TWAINMON_COMPILED_FORMAT_(PutCompiled, sink, __VA_ARGS__)

// Appends a line whose first %s takes a text of known length (a std::string_view) and whose
// second the line end: TWAINMON_APPEND_LINE_WITH(text, "Name = [%s]%s", view). The format must be
// a string literal.
#define TWAINMON_APPEND_LINE_WITH(text, format, view)                                                 \
    do {                                                                                              \
        struct CompiledFormat_ {                                                                      \
            static constexpr const char* Text() { return format; }                                    \
        };                                                                                            \
        if (false) linefmt::CheckPrintf(format, "", twfmt::CRLF);                                     \
        linefmt::AppendCompiled<CompiledFormat_>(text, format, std::string_view(view), twfmt::CRLF); \
    } while (0)

#define TWAINMON_COMPILED_FORMAT_(function, target, ...)                                                 \
    do {                                                                                                 \
        struct CompiledFormat_ {                                                                         \
            static constexpr const char* Text() { return TWAINMON_FIRST_ARGUMENT(__VA_ARGS__); }        \
        };                                                                                               \
        if (false) linefmt::CheckPrintf(__VA_ARGS__);                                                   \
        linefmt::function<CompiledFormat_>(target, __VA_ARGS__);                                         \
    } while (0)

#endif  // TWAINMON_COMPILEDFORMAT_H
