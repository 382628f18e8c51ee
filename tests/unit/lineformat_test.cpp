// The compiled formats and their conversions against the C library's snprintf.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CompiledFormat.h"
#include "FieldFormat.h"
#include "LineSink.h"
#include "TextBuffer.h"

namespace {

template <typename... Args>
std::string Printf(const char* pszFormat, Args... args) {
    char buf[512];
    snprintf(buf, sizeof buf, pszFormat, args...);
    return buf;
}

// Every TW_FIX32 "%.3f" must carry printf's digits, ties (a remainder of exactly half a thousandth)
// included: every fraction with wholes at the edges of the range and of digit counts.
TEST(LineFormat, Fix32ThreeDecimalsAsPrintf) {
    const int kWholes[] = {-32768, -32767, -10000, -1000, -2, -1, 0, 1, 2, 9, 10, 99, 255, 1000, 32766, 32767};
    for (int whole : kWholes) {
        for (unsigned frac = 0; frac <= 0xFFFF; ++frac) {
            const TW_FIX32 v{static_cast<TW_INT16>(whole), static_cast<TW_UINT16>(frac)};
            const double d = twfmt::Fix32(v);
            char szFast[linefmt::kFixed3Room + 1] = {};
            const size_t n = linefmt::Fixed3(d, szFast);
            ASSERT_EQ(std::string(szFast, n), Printf("%.3f", d)) << whole << " + " << frac << "/65536";
        }
    }
    // Not a whole number of 65536ths, or not finite: not a TW_FIX32 value.
    char buf[linefmt::kFixed3Room];
    EXPECT_EQ(linefmt::Fixed3(1.0 / 3, buf), 0u);
    EXPECT_EQ(linefmt::Fixed3(1e300, buf), 0u);
}

// Formats split at compile time give printf's text for every conversion they take, with any
// argument values, and are cut at the room like any other text.
#define COMPILED(...)                                \
    [&] {                                            \
        CTextBuffer text;                            \
        TWAINMON_APPEND(text, __VA_ARGS__);          \
        return std::string(text.Text(), text.Length()); \
    }()

TEST(LineFormat, CompiledFormatsAsPrintf) {
    for (long long v : {0LL, 1LL, -1LL, 999LL, -1000LL, 65535LL, INT_MIN + 0LL, INT_MAX + 0LL, LLONG_MIN, LLONG_MAX}) {
        const int n = static_cast<int>(v);
        const long l = static_cast<long>(v);
        const unsigned u = static_cast<unsigned>(v);
        EXPECT_EQ(COMPILED("[%d][%ld][%05ld][%-5d][%3u][%u]%s", n, l, l, n, u, u, twfmt::CRLF),
                  Printf("[%d][%ld][%05ld][%-5d][%3u][%u]%s", n, l, l, n, u, u, "\r\n"));
        EXPECT_EQ(COMPILED("<0x%08x> %02x %04x %x %X|%zu|%hd|%hhu", u, u, u, u, u, static_cast<size_t>(v), n, u),
                  Printf("<0x%08x> %02x %04x %x %X|%zu|%hd|%hhu", u, u, u, u, u, static_cast<size_t>(v), n, u));
    }
    for (double d : {0.0, -0.5, 1.0 / 65536, -1.0 / 65536, 32767.99998, -32768.0, 0.0005, 1.0 / 3}) {
        EXPECT_EQ(COMPILED("        Gamma       = [%.3f]%s", d, twfmt::CRLF),
                  Printf("        Gamma       = [%.3f]%s", d, "\r\n"));
    }
    EXPECT_EQ(COMPILED("%d|%d|%u|%X|%02x|%04x|%08x|%zu|%lld|%hd|%hhu", INT_MIN, INT_MAX, UINT_MAX, 0xABCDu, 0x5u,
                       0xFFFFFu, 0u, SIZE_MAX, LLONG_MIN, 70000, 300),
              Printf("%d|%d|%u|%X|%02x|%04x|%08x|%zu|%lld|%hd|%hhu", INT_MIN, INT_MAX, UINT_MAX, 0xABCDu, 0x5u,
                     0xFFFFFu, 0u, SIZE_MAX, LLONG_MIN, 70000, 300));
    EXPECT_EQ(COMPILED("[%05ld][%05ld][%3u][%-5d]", -42L, 4294967295L, 1234u, 9),
              Printf("[%05ld][%05ld][%3u][%-5d]", -42L, 4294967295L, 1234u, 9));
    const char szName[] = "ICAP_PIXELTYPE";
    EXPECT_EQ(COMPILED("%s|%s|%8s|%-8s|%s", szName, "", "ab", "ab", static_cast<const char*>(nullptr)),
              "ICAP_PIXELTYPE||      ab|ab      |(null)");
    EXPECT_EQ(COMPILED("no conversion"), "no conversion");
    EXPECT_EQ(COMPILED("%s", "\r\n"), "\r\n");  // another object with the line end's text

    // Cut at the room: exactly the first bytes, flagged, whichever piece crosses it.
    const std::string filler(CTextBuffer::kRoom, '.');
    for (size_t nFree = 0; nFree < 22; ++nFree) {  // the text takes 22 bytes
        CTextBuffer text;
        text.Append(filler.c_str(), CTextBuffer::kRoom - nFree);
        TWAINMON_APPEND(text, "ab%dcd%s[%.3f]%3u%s", -12, "xyz", 1.5, 7u, twfmt::CRLF);
        const std::string whole = filler.substr(0, CTextBuffer::kRoom - nFree) + "ab-12cdxyz[1.500]  7\r\n";
        EXPECT_EQ(std::string(text.Text(), text.Length()), whole.substr(0, CTextBuffer::kRoom)) << nFree;
        EXPECT_TRUE(text.Overflowed());
        EXPECT_EQ(text.Text()[text.Length()], '\0');
    }
    CTextBuffer exact;
    exact.Append(filler.c_str(), CTextBuffer::kRoom - 4);
    TWAINMON_APPEND(exact, "%d%s", 12, "ab");  // exactly four bytes: fits
    EXPECT_FALSE(exact.Overflowed());
    EXPECT_TRUE(exact.Full());
}

// A value text written into a short output is cut and terminated as snprintf cuts it.
TEST(LineFormat, PrintIntoAShortOutputAsSnprintf) {
    for (size_t nOutput = 1; nOutput <= 24; ++nOutput) {
        char buf[24];
        memset(buf, 'x', sizeof buf);
        const size_t n = linefmt::PrintWith(buf, nOutput, [](linefmt::Sink& sink) {
            TWAINMON_PUT(sink, "%.3f,%.3f|0x%02x|%d", 1.5, -0.25, 0xABu, -7);
        });
        char expected[24];
        snprintf(expected, nOutput, "%.3f,%.3f|0x%02x|%d", 1.5, -0.25, 0xABu, -7);
        EXPECT_STREQ(buf, expected) << nOutput;
        EXPECT_EQ(n, strlen(expected)) << nOutput;
    }
}

TEST(LineFormat, DecimalAsPrintf) {
    std::vector<long long> values = {LLONG_MAX, LLONG_MIN, -2147483648LL};
    for (long long v = -1000; v <= 100000; ++v) values.push_back(v);
    for (long long power = 10; power <= LLONG_MAX / 10; power *= 10) {  // every digit count's edges
        for (long long v : {power - 1, power, power + 1}) values.insert(values.end(), {v, -v});
    }
    for (long long v : values) {
        char buf[linefmt::kDecimalRoom];
        ASSERT_EQ(std::string(buf, linefmt::Decimal(v, buf)), Printf("%lld", v));
    }
}

}  // namespace
