// The leveled logger: prefix layout, message text, line ends, timestamp and locale.
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "LogFile.h"
#include "TestSupport.h"
#include "TwainLog.h"

namespace {

using ENUM_LOG_LEVEL_TW::enumLogLevel_tw;

// The timestamp's shape: 'd' stands for any decimal digit, every other character for itself.
const char kTimestampShape[] = "dddd/dd/dd dd:dd:dd.ddd";  // 2026/12/05 09:05:07.004
const size_t kTimestampLength = sizeof kTimestampShape - 1;

bool IsTimestamp(const std::string& text) {
    if (text.size() != kTimestampLength) {
        return false;
    }
    for (size_t i = 0; i < kTimestampLength; ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (kTimestampShape[i] == 'd' ? !digit : text[i] != kTimestampShape[i]) {
            return false;
        }
    }
    return true;
}

std::string Format(CTwainLog& log, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = log.FormatString(format, args);
    va_end(args);
    return text;
}

// Each test writes into a temporary log file; g_pLogFile is null again afterwards.
class TwainLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_pLogFile = tmpfile();
        ASSERT_NE(nullptr, g_pLogFile);
    }
    void TearDown() override {
        if (g_pLogFile != nullptr) {
            fclose(g_pLogFile);
            g_pLogFile = nullptr;
        }
    }

    // What the log received since the last call, with the leading "[timestamp]" checked and
    // replaced by "[T]" so the rest can be compared whole.
    std::string Logged() {
        std::string all = testsupport::FileBytesOnDisk(g_pLogFile);
        std::string fresh = all.substr(m_consumed);
        m_consumed = all.size();
        bool stamped = fresh.size() >= kTimestampLength + 2 && fresh[0] == '[' &&
                       IsTimestamp(fresh.substr(1, kTimestampLength)) && fresh[kTimestampLength + 1] == ']';
        EXPECT_TRUE(stamped) << fresh;
        if (!stamped) {
            return fresh;
        }
        return "[T]" + fresh.substr(kTimestampLength + 2);
    }

    CTwainLog m_log;
    size_t m_consumed = 0;
};

TEST_F(TwainLogTest, PrefixWithFileAndLine) {
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "DS_Entry", "src\\log/entry.cpp", 7, "abc");
    EXPECT_EQ("[T] INFO from \"DS_Entry\" (File: entry.cpp                               , Line:    7) abc\n",
              Logged());

    // The later separator wins, whichever kind it is; a line of five digits is written in full.
    m_log.Message(ENUM_LOG_LEVEL_TW::ERROR, "o", "a/b\\c", 12345, "x");
    EXPECT_EQ("[T] ERROR from \"o\" (File: c                                       , Line: 12345) x\n", Logged());

    // No separator: the whole path. A 50-character name is written with no padding.
    std::string fifty = "abcdefghij0123456789abcdefghij0123456789abcdef.cpp";
    ASSERT_EQ(50u, fifty.size());
    m_log.Message(ENUM_LOG_LEVEL_TW::TRACE, "o", fifty.c_str(), 0, "x");
    EXPECT_EQ("[T] TRACE from \"o\" (File: abcdefghij0123456789abcdefghij0123456789abcdef.cpp, Line:    0) x\n",
              Logged());

    // A path ending in a slash has an empty name: 40 blanks. Negative lines are right-aligned too.
    m_log.Message(ENUM_LOG_LEVEL_TW::WARNING, "o", "dir/", -5, "x");
    EXPECT_EQ("[T] WARNING from \"o\" (File:                                         , Line:   -5) x\n", Logged());
}

TEST_F(TwainLogTest, ShortPrefixWithoutFile) {
    m_log.Message(ENUM_LOG_LEVEL_TW::WARNING, "CDSMInterface", nullptr, 99, "lock %d of %s", 3, "hCap");
    EXPECT_EQ("[T] WARNING from \"CDSMInterface\" lock 3 of hCap\n", Logged());
    // A missing origin is shown as an empty one rather than crashing the host.
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, nullptr, nullptr, 0, "x");
    EXPECT_EQ("[T] INFO from \"\" x\n", Logged());
}

TEST_F(TwainLogTest, LevelsOutsideTheTableHaveNoName) {
    m_log.Message(static_cast<enumLogLevel_tw>(0), "o", nullptr, 0, "x");
    EXPECT_EQ("[T]  from \"o\" x\n", Logged());
    m_log.Message(static_cast<enumLogLevel_tw>(5), "o", "f.cpp", 1, "x");
    EXPECT_EQ("[T]  from \"o\" (File: f.cpp                                   , Line:    1) x\n", Logged());
    EXPECT_EQ("", m_log.GetLevelName(static_cast<enumLogLevel_tw>(-1)));
}

TEST_F(TwainLogTest, EveryMessageEndsInExactlyOneLineFeed) {
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "abc\n");
    EXPECT_EQ("[T] INFO from \"o\" abc\n", Logged());
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "%s", "");
    EXPECT_EQ("[T] INFO from \"o\" \n", Logged());
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, nullptr);
    EXPECT_EQ("[T] INFO from \"o\" \n", Logged());
    // Line breaks inside the text stay; a CR the text brings stays before the LF.
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "one\ntwo");
    EXPECT_EQ("[T] INFO from \"o\" one\ntwo\n", Logged());
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "crlf\r\n");
    EXPECT_EQ("[T] INFO from \"o\" crlf\r\n", Logged());
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "cr\r");
    EXPECT_EQ("[T] INFO from \"o\" cr\r\n", Logged());
}

TEST_F(TwainLogTest, NothingIsWrittenWithoutAFile) {
    fclose(g_pLogFile);
    g_pLogFile = nullptr;
    testing::internal::CaptureStderr();
    m_log.Message(ENUM_LOG_LEVEL_TW::ERROR, "o", "f.cpp", 1, "dropped %d", 1);
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
}

TEST_F(TwainLogTest, OutputDebugStringWritesTheTextAndFlushes) {
    m_log.OutputDebugString("raw\r\ntext");
    m_log.OutputDebugString("");
    EXPECT_EQ("raw\r\ntext", testsupport::FileBytesOnDisk(g_pLogFile));
}

TEST(TwainLogFormat, BufferGrowth) {
    CTwainLog log;
    EXPECT_EQ("", Format(log, nullptr));
    EXPECT_EQ("", Format(log, "%s", ""));
    EXPECT_EQ("7 seven", Format(log, "%d %s", 7, "seven"));

    // 99 characters fit the first buffer of 100; 100 need a second pass, which must see the
    // arguments from the start again.
    std::string ninetyNine(97, 'n');
    EXPECT_EQ(ninetyNine + "12", Format(log, "%s%d", ninetyNine.c_str(), 12));
    std::string hundred(98, 'h');
    EXPECT_EQ(hundred + "12", Format(log, "%s%d", hundred.c_str(), 12));
    std::string large(100000, 'L');
    EXPECT_EQ("<" + large + ">", Format(log, "<%s>", large.c_str()));
}

TEST(TwainLogFormat, AFormatThatCannotBeConvertedGivesAnEmptyText) {
    // In the "C" locale a wide character outside ASCII cannot be converted: vsnprintf fails on
    // every pass, however large the buffer.
    const char* previous = setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(nullptr, previous);
    std::string saved = previous;
    ASSERT_NE(nullptr, setlocale(LC_CTYPE, "C"));
    CTwainLog log;
    EXPECT_EQ("", Format(log, "%ls", L"\u00e9"));
    setlocale(LC_CTYPE, saved.c_str());
}

TEST(TwainLogHeader, TimestampFormatAndNoThousandthMillisecond) {
    CTwainLog log;
    time_t before = time(nullptr);
    std::string header = log.GetHeader();
    time_t after = time(nullptr);
    ASSERT_TRUE(IsTimestamp(header)) << header;

    // The header is the local time of the call (give or take a rounded-up millisecond).
    char low[32], high[32];
    struct tm t;
    strftime(low, sizeof low, "%Y/%m/%d %H:%M:%S", localtime_r(&before, &t));
    after += 1;
    strftime(high, sizeof high, "%Y/%m/%d %H:%M:%S.999", localtime_r(&after, &t));
    EXPECT_LE(std::string(low), header);
    EXPECT_LE(header, std::string(high));

    // Read the clock for a little over a second so a second boundary is crossed: every header
    // keeps three millisecond digits, and they never go back in time (a rounded-up 999.5 ms
    // moves on to the next second's .000).
    std::string previous = log.GetHeader();
    time_t start = time(nullptr);
    unsigned long reads = 0;
    while (time(nullptr) < start + 2) {
        std::string current = log.GetHeader();
        ++reads;
        ASSERT_TRUE(IsTimestamp(current)) << current;
        ASSERT_LE(previous, current);
        previous = current;
    }
    EXPECT_GT(reads, 0u);
}

// Makes "jpn" a name (through LOCPATH) for the system's C.UTF-8 character classes, where the
// system has them, so the logger's request succeeds and its undoing can be seen.
class JpnLocale {
public:
    JpnLocale() {
        const char* utf8 = "/usr/lib/locale/C.utf8";
        char dir[] = "/tmp/sink_locale_XXXXXX";
        if (access(utf8, R_OK) == 0 && mkdtemp(dir) != nullptr) {
            m_dir = dir;
            m_ready = symlink(utf8, (m_dir + "/jpn").c_str()) == 0 && setenv("LOCPATH", dir, 1) == 0;
        }
    }
    ~JpnLocale() {
        unsetenv("LOCPATH");
        if (!m_dir.empty()) {
            unlink((m_dir + "/jpn").c_str());
            rmdir(m_dir.c_str());
        }
    }
    bool Ready() const { return m_ready; }

private:
    std::string m_dir;
    bool m_ready = false;
};

TEST_F(TwainLogTest, LocaleRequestIsUndoneBeforeMessageReturns) {
    const char* previous = setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(nullptr, previous);
    std::string saved = previous;
    ASSERT_NE(nullptr, setlocale(LC_CTYPE, "C"));

    // Whether or not "jpn" exists, the host's setting is what it was.
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "plain");
    EXPECT_EQ("[T] INFO from \"o\" plain\n", Logged());
    EXPECT_STREQ("C", setlocale(LC_CTYPE, nullptr));

    JpnLocale jpn;
    if (jpn.Ready()) {
        // While the message is formatted, "jpn" is in force: the wide character converts.
        m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "%ls", L"\u00e9");
        EXPECT_EQ("[T] INFO from \"o\" \xc3\xa9\n", Logged());
        // Afterwards the host's "C" is back, and the same conversion fails again.
        EXPECT_STREQ("C", setlocale(LC_CTYPE, nullptr));
        char out[8];
        EXPECT_GT(0, snprintf(out, sizeof out, "%ls", L"\u00e9"));
    }
    setlocale(LC_CTYPE, saved.c_str());
    if (!jpn.Ready()) {
        GTEST_SKIP() << "no C.UTF-8 locale here to stand in for \"jpn\"";
    }
}

}  // namespace
