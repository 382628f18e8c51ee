// The leveled logger: prefix layout, message text, line ends, timestamp and locale.
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "LogFile.h"
#include "TestSupport.h"
#include "TwainLog.h"

namespace {

using ENUM_LOG_LEVEL_TW::enumLogLevel_tw;

// The timestamp's shape: 'd' stands for any decimal digit, every other character for itself.
const std::string kTimestampShape = "dddd/dd/dd dd:dd:dd.ddd";  // 2026/12/05 09:05:07.004

bool IsTimestamp(const std::string& text) {
    if (text.size() != kTimestampShape.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kTimestampShape[i] == 'd' ? !digit : text[i] != kTimestampShape[i]) return false;
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
        if (g_pLogFile != nullptr) fclose(g_pLogFile);
        g_pLogFile = nullptr;
    }

    // What the log received since the last call (read from the file, so it was flushed), with the
    // leading "[timestamp]" checked and replaced by "[T]" so the rest can be compared whole.
    std::string Logged() {
        const std::string all = testsupport::FileBytesOnDisk(g_pLogFile);
        const std::string fresh = all.substr(m_consumed);
        m_consumed = all.size();
        const size_t n = kTimestampShape.size();
        const bool stamped = fresh.size() >= n + 2 && fresh[0] == '[' && IsTimestamp(fresh.substr(1, n)) && fresh[n + 1] == ']';
        EXPECT_TRUE(stamped) << fresh;
        return stamped ? "[T]" + fresh.substr(n + 2) : fresh;
    }

    CTwainLog m_log;
    size_t m_consumed = 0;
};

TEST_F(TwainLogTest, PrefixWithFileAndLine) {
    // The file name is what follows the later separator of either kind; the name is padded to 40
    // characters and the line to 4, longer ones are written in full.
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "DS_Entry", "src\\log/entry.cpp", 7, "abc");
    EXPECT_EQ("[T] INFO from \"DS_Entry\" (File: entry.cpp                               , Line:    7) abc\n",
              Logged());
    m_log.Message(ENUM_LOG_LEVEL_TW::ERROR, "o", "a/b\\c", 12345, "x");
    EXPECT_EQ("[T] ERROR from \"o\" (File: c                                       , Line: 12345) x\n", Logged());
    m_log.Message(ENUM_LOG_LEVEL_TW::TRACE, "o", "abcdefghij0123456789abcdefghij0123456789abcdef.cpp", 0, "x");
    EXPECT_EQ("[T] TRACE from \"o\" (File: abcdefghij0123456789abcdefghij0123456789abcdef.cpp, Line:    0) x\n",
              Logged());
    // A path ending in a slash has an empty name: 40 blanks. A level outside the table has no name.
    m_log.Message(static_cast<enumLogLevel_tw>(5), "o", "dir/", -5, "x");
    EXPECT_EQ("[T]  from \"o\" (File:                                         , Line:   -5) x\n", Logged());
}

TEST_F(TwainLogTest, ShortPrefixAndLineEnds) {
    m_log.Message(ENUM_LOG_LEVEL_TW::WARNING, "CDSMInterface", nullptr, 99, "lock %d of %s", 3, "hCap");
    EXPECT_EQ("[T] WARNING from \"CDSMInterface\" lock 3 of hCap\n", Logged());
    // A missing origin is shown as an empty one rather than crashing the host.
    m_log.Message(static_cast<enumLogLevel_tw>(0), nullptr, nullptr, 0, "x");
    EXPECT_EQ("[T]  from \"\" x\n", Logged());
    // Every message ends in exactly one LF; line breaks inside it and a CR of its own stay.
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "abc\n");
    EXPECT_EQ("[T] INFO from \"o\" abc\n", Logged());
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, nullptr);
    EXPECT_EQ("[T] INFO from \"o\" \n", Logged());
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "%s", "");
    EXPECT_EQ("[T] INFO from \"o\" \n", Logged());
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "one\ntwo\r");
    EXPECT_EQ("[T] INFO from \"o\" one\ntwo\r\n", Logged());
}

TEST_F(TwainLogTest, NothingIsWrittenWithoutAFile) {
    fclose(g_pLogFile);
    g_pLogFile = nullptr;
    testing::internal::CaptureStderr();
    m_log.Message(ENUM_LOG_LEVEL_TW::ERROR, "o", "f.cpp", 1, "dropped %d", 1);
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
}

TEST(TwainLogFormat, BufferGrowthAndAFormatThatCannotBeConverted) {
    CTwainLog log;
    // 99 characters fit the first buffer of 100; 100 need a second pass, which must see the
    // arguments from the start again.
    const std::string n97(97, 'n'), h98(98, 'h'), large(100000, 'L');
    EXPECT_EQ(n97 + "12", Format(log, "%s%d", n97.c_str(), 12));
    EXPECT_EQ(h98 + "12", Format(log, "%s%d", h98.c_str(), 12));
    EXPECT_EQ("<" + large + ">", Format(log, "<%s>", large.c_str()));

    // In the "C" locale a wide character outside ASCII cannot be converted: vsnprintf fails on
    // every pass however large the buffer, and the text is given up as empty.
    const std::string saved = setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(nullptr, setlocale(LC_CTYPE, "C"));
    EXPECT_EQ("", Format(log, "%ls", L"\u00e9"));
    setlocale(LC_CTYPE, saved.c_str());
}

TEST_F(TwainLogTest, LocaleRequestIsUndoneBeforeMessageReturns) {
    // "jpn" is made a name for the system's C.UTF-8 character classes (through LOCPATH), so that the
    // logger's request succeeds and its undoing can be seen.
    char dir[] = "/tmp/twainlog_locale_XXXXXX";
    if (access("/usr/lib/locale/C.utf8", R_OK) != 0 || mkdtemp(dir) == nullptr) {
        GTEST_SKIP() << "no C.UTF-8 locale here to stand in for \"jpn\"";
    }
    const std::string link = std::string(dir) + "/jpn";
    ASSERT_EQ(0, symlink("/usr/lib/locale/C.utf8", link.c_str()));
    ASSERT_EQ(0, setenv("LOCPATH", dir, 1));
    const std::string saved = setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(nullptr, setlocale(LC_CTYPE, "C"));

    // While the message is formatted "jpn" is in force, so the wide character converts; afterwards
    // the host's "C" is back.
    m_log.Message(ENUM_LOG_LEVEL_TW::INFO, "o", nullptr, 0, "%ls", L"\u00e9");
    EXPECT_EQ("[T] INFO from \"o\" \xc3\xa9\n", Logged());
    EXPECT_STREQ("C", setlocale(LC_CTYPE, nullptr));

    setlocale(LC_CTYPE, saved.c_str());
    unsetenv("LOCPATH");
    unlink(link.c_str());
    rmdir(dir);
}

}  // namespace
