// The log file sink: file name, raw appends, closing, and the temporary folder service with the
// File Manager calls it relies on.
#include <CoreServices/CoreServices.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "LogFile.h"
#include "TestSupport.h"
#include "TwainLog.h"

namespace {

// A fresh empty folder, removed with its contents at the end of the test.
class TempFolder {
public:
    TempFolder() : m_path("/tmp/sink_test_XXXXXX") {
        if (mkdtemp(&m_path[0]) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    }
    ~TempFolder() { EXPECT_EQ(0, system(("rm -rf '" + m_path + "'").c_str())); }
    std::string m_path;
};

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TEST(MakeLogFileName, StampsLocalTimeAndRoundedMilliseconds) {
    struct tm load = {};
    ASSERT_NE(nullptr, strptime("2026-12-05 09:08:50", "%Y-%m-%d %H:%M:%S", &load));
    char name[256];
    ASSERT_TRUE(MakeLogFileName(name, sizeof name, "/Users/Shared/ZORVA/ZorvaScan2/LOG/TWAIN", load, 123456));
    EXPECT_STREQ("/Users/Shared/ZORVA/ZorvaScan2/LOG/TWAIN/Twainlog_20261205_090850_0123.txt", name);
    // Rounded half up: 500 microseconds make 0001, and 999600 the field 1000.
    ASSERT_TRUE(MakeLogFileName(name, sizeof name, "/L", load, 500));
    EXPECT_STREQ("/L/Twainlog_20261205_090850_0001.txt", name);
    ASSERT_TRUE(MakeLogFileName(name, sizeof name, "/L", load, 999600));
    EXPECT_STREQ("/L/Twainlog_20261205_090850_1000.txt", name);

    // The 34 characters after the folder: a folder of 221 gives 255, which fits 256 bytes with the
    // NUL; one more character does not.
    std::string folder(221, 'f');
    ASSERT_TRUE(MakeLogFileName(name, sizeof name, folder.c_str(), load, 0));
    EXPECT_EQ(255u, strlen(name));
    folder += 'f';
    EXPECT_FALSE(MakeLogFileName(name, sizeof name, folder.c_str(), load, 0));
    EXPECT_FALSE(MakeLogFileName(name, sizeof name, nullptr, load, 0));
}

TEST(LogFile, WriteAppendsExactBytesAndCleanupClosesWithAMessage) {
    TempFolder folder;
    const std::string path = folder.m_path + "/log.txt";
    g_pLogFile = fopen(path.c_str(), "a+");  // readable too, for the checks
    ASSERT_NE(nullptr, g_pLogFile);
    g_pcTwainLog = new CTwainLog();

    // Exactly length bytes (an embedded NUL included, nothing added), on disk as soon as the call returns.
    const unsigned char text[] = {'a', '\0', 'b', '\r', '\n', 'X'};
    WriteLogFile(text, 5);
    EXPECT_EQ(std::string("a\0b\r\n", 5), testsupport::FileBytesOnDisk(g_pLogFile));
    // Length 0 writes nothing but still flushes what the stream holds.
    fputs("held", g_pLogFile);
    WriteLogFile(text, 0);
    EXPECT_EQ(std::string("a\0b\r\nheld", 9), testsupport::FileBytesOnDisk(g_pLogFile));

    // Closing deletes the logger and says so on standard error, not in the log.
    testing::internal::CaptureStderr();
    cleanupTwainLog();
    EXPECT_EQ("Close Log File.\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ(nullptr, g_pLogFile);
    EXPECT_EQ(nullptr, g_pcTwainLog);
    FILE* reread = fopen(path.c_str(), "r");
    ASSERT_NE(nullptr, reread);
    EXPECT_EQ(std::string("a\0b\r\nheld", 9), testsupport::FileBytesOnDisk(reread));
    fclose(reread);

    // With no file open, writing does nothing and unloading prints nothing.
    WriteLogFile(text, 5);
    g_pcTwainLog = new CTwainLog();
    testing::internal::CaptureStderr();
    cleanupTwainLog();
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    EXPECT_EQ(nullptr, g_pcTwainLog);
}

TEST(CreateZSTempDirectory, ResultCodesAndMessages) {
    TempFolder folder;
    // Null, and a path without room for its NUL in 256 bytes: refused silently.
    testing::internal::CaptureStderr();
    EXPECT_EQ(-50, CreateZSTempDirectory(nullptr));
    std::string tooLong = "/" + std::string(255, 'x');
    EXPECT_EQ(-50, CreateZSTempDirectory(&tooLong[0]));
    EXPECT_EQ("", testing::internal::GetCapturedStderr());

    // A parent that does not exist (also one of 255 characters, which still fits): the message and
    // the code of the path lookup.
    for (std::string missing : {folder.m_path + "/gone", "/" + std::string(254, 'y')}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(-43, CreateZSTempDirectory(&missing[0]));
        EXPECT_EQ("Output debug image data file is put in: " + missing + " ", testing::internal::GetCapturedStderr());
    }

    // Made once; then the folder exists. The errors of creating it print nothing.
    testing::internal::CaptureStderr();
    EXPECT_EQ(0, CreateZSTempDirectory(&folder.m_path[0]));
    EXPECT_TRUE(IsFolder(folder.m_path + "/ZORVAScanTwainLog"));
    EXPECT_EQ(-48, CreateZSTempDirectory(&folder.m_path[0]));
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
}

TEST(FileManager, RefusesWhatItCannotMakeSafely) {
    TempFolder folder;
    FSRef parent;
    ASSERT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.m_path.c_str()), &parent, nullptr));
    EXPECT_EQ(paramErr, FSPathMakeRef(nullptr, &parent, nullptr));
    const std::string tooLong(sizeof parent.path, 'z');
    EXPECT_EQ(paramErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(tooLong.c_str()), &parent, nullptr));

    // Only the given number of characters is taken; names that cannot be made here (non-ASCII,
    // a slash that would reach into another folder, empty) are refused.
    const UniChar name[] = {'s', 'u', 'b'};
    const UniChar accented[] = {'c', 0x00E9};
    const UniChar slashed[] = {'.', '/', 'b'};
    EXPECT_EQ(noErr, FSCreateDirectoryUnicode(&parent, 2, name, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(IsFolder(folder.m_path + "/su"));
    EXPECT_EQ(paramErr, FSCreateDirectoryUnicode(&parent, 2, accented, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(paramErr, FSCreateDirectoryUnicode(&parent, 3, slashed, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(paramErr, FSCreateDirectoryUnicode(&parent, 0, name, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(IsFolder(folder.m_path + "/b"));
}

}  // namespace
