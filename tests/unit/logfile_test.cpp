// The log file sink: file name, raw appends, closing, and the temporary folder service with the
// File Manager calls it relies on.
#include <CoreServices/CoreServices.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

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

// The stamp of a load at local time 2026-12-05 09:08:50 plus usec microseconds, from one reading.
WallTime LoadAt(long usec) {
    struct tm load = {};
    EXPECT_NE(nullptr, strptime("2026-12-05 09:08:50", "%Y-%m-%d %H:%M:%S", &load));
    load.tm_isdst = -1;
    struct timeval tv = {mktime(&load), usec};
    return WallTime::FromTimeval(tv);
}

std::string NameOf(const WallTime& stamp, const char* folder = "/L") {
    char name[256];
    EXPECT_TRUE(MakeLogFileName(name, sizeof name, folder, stamp));
    return name;
}

TEST(MakeLogFileName, StampsLocalTimeAndRoundedMillisecondsOfOneReading) {
    EXPECT_EQ("/Users/Shared/ZORVA/ZorvaScan2/LOG/TWAIN/Twainlog_20261205_090850_0123.txt",
              NameOf(LoadAt(123456), "/Users/Shared/ZORVA/ZorvaScan2/LOG/TWAIN"));
    // Rounded half up; 999500 microseconds and more are the next second's first millisecond, never
    // a field of 1000 under the old second.
    EXPECT_EQ("/L/Twainlog_20261205_090850_0001.txt", NameOf(LoadAt(500)));
    EXPECT_EQ("/L/Twainlog_20261205_090850_0999.txt", NameOf(LoadAt(999499)));
    EXPECT_EQ("/L/Twainlog_20261205_090851_0000.txt", NameOf(LoadAt(999600)));
    // The next millisecond carries into the seconds the same way.
    EXPECT_EQ("/L/Twainlog_20261205_090851_0000.txt", NameOf(LoadAt(999000).Next()));

    // The 34 characters after the folder: a folder of 221 gives 255, which fits 256 bytes with the
    // NUL; one more character does not.
    char name[256];
    std::string folder(221, 'f');
    ASSERT_TRUE(MakeLogFileName(name, sizeof name, folder.c_str(), LoadAt(0)));
    EXPECT_EQ(255u, strlen(name));
    folder += 'f';
    EXPECT_FALSE(MakeLogFileName(name, sizeof name, folder.c_str(), LoadAt(0)));
    EXPECT_FALSE(MakeLogFileName(name, sizeof name, nullptr, LoadAt(0)));
}

TEST(CreateLogFile, EveryLoadGetsAFileOfItsOwnAtTheNextFreeMillisecond) {
    TempFolder folder;
    const char* path = folder.m_path.c_str();
    // Two loads in the same millisecond, the last of a second: the second load takes the next
    // second's first millisecond, and a third the one after it.
    const WallTime stamp = LoadAt(998700);
    FILE* files[3];
    for (FILE*& file : files) {
        file = CreateLogFile(path, stamp);
        ASSERT_NE(nullptr, file);
    }
    for (FILE* file : files) {
        fputs("x", file);
        fflush(file);
    }
    for (const char* name : {"/Twainlog_20261205_090850_0999.txt", "/Twainlog_20261205_090851_0000.txt",
                             "/Twainlog_20261205_090851_0001.txt"}) {
        FILE* reread = fopen((folder.m_path + name).c_str(), "r");
        ASSERT_NE(nullptr, reread) << name;
        // Each load wrote to its own file.
        EXPECT_EQ("x", testsupport::FileBytesOnDisk(reread)) << name;
        fclose(reread);
    }
    for (FILE* file : files) fclose(file);
    // No folder, no file.
    EXPECT_EQ(nullptr, CreateLogFile((folder.m_path + "/missing").c_str(), stamp));
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
