// The log file sink: file name, raw appends, closing, and the temporary folder service with the
// File Manager calls it relies on.
#include <CoreServices/CoreServices.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "LogFile.h"
#include "TestSupport.h"
#include "TwainLog.h"

namespace {

struct tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
    struct tm t;
    memset(&t, 0, sizeof t);
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

// A fresh empty folder, removed with its contents at the end of the test.
class TempFolder {
public:
    TempFolder() {
        const char* base = getenv("TMPDIR");
        m_path = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/sink_test_XXXXXX";
        if (mkdtemp(&m_path[0]) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed";
        }
    }
    ~TempFolder() {
        std::string command = "rm -rf '" + m_path + "'";
        if (system(command.c_str()) != 0) {
            ADD_FAILURE() << "could not remove " << m_path;
        }
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Each test starts and ends with no log file and no logger.
class LogFileTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (g_pLogFile != nullptr) {
            fclose(g_pLogFile);
            g_pLogFile = nullptr;
        }
        delete g_pcTwainLog;
        g_pcTwainLog = nullptr;
    }
};

TEST(MakeLogFileName, StampsLocalTimeAndRoundedMilliseconds) {
    char name[256];
    struct tm load = LocalTime(2026, 12, 5, 9, 8, 50);

    ASSERT_TRUE(MakeLogFileName(name, sizeof name, "/Users/Shared/ZORVA/ZorvaScan2/LOG/TWAIN", load, 123456));
    EXPECT_STREQ("/Users/Shared/ZORVA/ZorvaScan2/LOG/TWAIN/Twainlog_20261205_090850_0123.txt", name);

    // Rounded half up; 999600 microseconds round to a millisecond field of 1000.
    ASSERT_TRUE(MakeLogFileName(name, sizeof name, "/L", load, 999600));
    EXPECT_STREQ("/L/Twainlog_20261205_090850_1000.txt", name);
    ASSERT_TRUE(MakeLogFileName(name, sizeof name, "/L", load, 499));
    EXPECT_STREQ("/L/Twainlog_20261205_090850_0000.txt", name);
    ASSERT_TRUE(MakeLogFileName(name, sizeof name, "/L", load, 500));
    EXPECT_STREQ("/L/Twainlog_20261205_090850_0001.txt", name);
}

TEST(MakeLogFileName, RefusesANameThatDoesNotFit) {
    struct tm load = LocalTime(2026, 12, 5, 9, 8, 50);
    // "/Twainlog_20261205_090850_0123.txt" is 34 characters: a folder of 221 gives 255, which
    // fits 256 bytes with its NUL; one more character does not.
    std::string folder(221, 'f');
    char name[256];
    ASSERT_TRUE(MakeLogFileName(name, sizeof name, folder.c_str(), load, 123456));
    EXPECT_EQ(255u, strlen(name));

    folder += 'f';
    EXPECT_FALSE(MakeLogFileName(name, sizeof name, folder.c_str(), load, 123456));
    EXPECT_FALSE(MakeLogFileName(name, sizeof name, nullptr, load, 0));
}

TEST_F(LogFileTest, WriteAppendsExactBytesAndFlushesAtOnce) {
    g_pLogFile = tmpfile();
    ASSERT_NE(nullptr, g_pLogFile);

    const unsigned char first[] = "[00001] [APP] line\r\n";
    WriteLogFile(first, sizeof first - 1);
    EXPECT_EQ("[00001] [APP] line\r\n", testsupport::FileBytesOnDisk(g_pLogFile));

    // Embedded NUL and a length shorter than the text: exactly length bytes, nothing added.
    const unsigned char second[] = {'a', '\0', 'b', '\r', '\n', 'X', 'Y'};
    WriteLogFile(second, 5);
    EXPECT_EQ(std::string("[00001] [APP] line\r\na\0b\r\n", 25), testsupport::FileBytesOnDisk(g_pLogFile));

    // Length 0 writes nothing but still flushes what the stream holds.
    fputs("held", g_pLogFile);
    WriteLogFile(second, 0);
    EXPECT_EQ(std::string("[00001] [APP] line\r\na\0b\r\nheld", 29), testsupport::FileBytesOnDisk(g_pLogFile));
}

TEST_F(LogFileTest, CleanupDeletesLoggerAndClosesFileWithMessageOnStandardError) {
    TempFolder folder;
    std::string path = folder.Path() + "/log.txt";
    g_pLogFile = fopen(path.c_str(), "a");
    ASSERT_NE(nullptr, g_pLogFile);
    g_pcTwainLog = new CTwainLog();
    const unsigned char text[] = "body\r\n";
    WriteLogFile(text, sizeof text - 1);

    testing::internal::CaptureStderr();
    cleanupTwainLog();
    EXPECT_EQ("Close Log File.\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ(nullptr, g_pLogFile);
    EXPECT_EQ(nullptr, g_pcTwainLog);

    // The closing message went to standard error only, not into the log.
    FILE* reread = fopen(path.c_str(), "r");
    ASSERT_NE(nullptr, reread);
    EXPECT_EQ("body\r\n", testsupport::FileBytesOnDisk(reread));
    fclose(reread);

    // Unloading again, with no file open: no message.
    g_pcTwainLog = new CTwainLog();
    testing::internal::CaptureStderr();
    cleanupTwainLog();
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    EXPECT_EQ(nullptr, g_pcTwainLog);
}

TEST(CreateZSTempDirectory, RefusesNullAndOverlongPathsSilently) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(-50, CreateZSTempDirectory(nullptr));
    std::string tooLong = "/" + std::string(255, 'x');  // 256 characters: no room for the NUL
    EXPECT_EQ(-50, CreateZSTempDirectory(&tooLong[0]));
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
}

TEST(CreateZSTempDirectory, ReportsAMissingParent) {
    TempFolder folder;
    std::string missing = folder.Path() + "/gone";
    testing::internal::CaptureStderr();
    EXPECT_EQ(-43, CreateZSTempDirectory(&missing[0]));
    EXPECT_EQ("Output debug image data file is put in: " + missing + " ", testing::internal::GetCapturedStderr());
    EXPECT_FALSE(IsFolder(missing));

    // 255 characters still fit the buffer: refused by the lookup, with the message.
    std::string longest = "/" + std::string(254, 'y');
    testing::internal::CaptureStderr();
    EXPECT_EQ(-43, CreateZSTempDirectory(&longest[0]));
    EXPECT_EQ("Output debug image data file is put in: " + longest + " ", testing::internal::GetCapturedStderr());
}

TEST(CreateZSTempDirectory, MakesTheFolderOnceThenReportsItExists) {
    TempFolder folder;
    std::string parent = folder.Path();
    testing::internal::CaptureStderr();
    EXPECT_EQ(0, CreateZSTempDirectory(&parent[0]));
    EXPECT_TRUE(IsFolder(parent + "/ZORVAScanTwainLog"));
    EXPECT_EQ(-48, CreateZSTempDirectory(&parent[0]));

    // A parent with a trailing slash names the same folder; a parent that is a file is no folder.
    std::string slashed = parent + "/";
    EXPECT_EQ(-48, CreateZSTempDirectory(&slashed[0]));
    std::string file = parent + "/ZORVAScanTwainLog/plain";
    fclose(fopen(file.c_str(), "w"));
    EXPECT_EQ(dirNFErr, CreateZSTempDirectory(&file[0]));
    EXPECT_EQ("", testing::internal::GetCapturedStderr());  // step 5's errors print nothing
}

TEST(FileManager, PathMakeRefResolvesExistingObjects) {
    TempFolder folder;
    FSRef ref;
    Boolean isDirectory = 7;
    EXPECT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.Path().c_str()), &ref, &isDirectory));
    EXPECT_EQ(1, isDirectory);
    EXPECT_STREQ(folder.Path().c_str(), ref.path);

    std::string file = folder.Path() + "/f";
    fclose(fopen(file.c_str(), "w"));
    EXPECT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(file.c_str()), &ref, &isDirectory));
    EXPECT_EQ(0, isDirectory);

    std::string missing = folder.Path() + "/none/deeper";
    EXPECT_EQ(fnfErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(missing.c_str()), &ref, nullptr));
    std::string underFile = file + "/x";
    EXPECT_EQ(fnfErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(underFile.c_str()), &ref, nullptr));
    EXPECT_EQ(paramErr, FSPathMakeRef(nullptr, &ref, nullptr));
    std::string tooLong(sizeof ref.path, 'z');
    EXPECT_EQ(paramErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(tooLong.c_str()), &ref, nullptr));
}

TEST(FileManager, CreateDirectoryUnicodeCodes) {
    TempFolder folder;
    FSRef parent;
    ASSERT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.Path().c_str()), &parent, nullptr));

    const UniChar name[] = {'s', 'u', 'b'};
    FSRef made;
    UInt32 dirID = 0;
    EXPECT_EQ(noErr, FSCreateDirectoryUnicode(&parent, 3, name, kFSCatInfoNone, nullptr, &made, nullptr, &dirID));
    EXPECT_EQ(folder.Path() + "/sub", std::string(made.path));
    EXPECT_NE(0u, dirID);
    EXPECT_TRUE(IsFolder(folder.Path() + "/sub"));
    EXPECT_EQ(dupFNErr, FSCreateDirectoryUnicode(&parent, 3, name, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));

    // Only the given number of characters is taken.
    EXPECT_EQ(noErr, FSCreateDirectoryUnicode(&parent, 2, name, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(IsFolder(folder.Path() + "/su"));

    // Names that cannot be made here: non-ASCII, a slash, empty.
    const UniChar accented[] = {'c', 0x00E9};
    const UniChar slashed[] = {'a', '/', 'b'};
    EXPECT_EQ(paramErr, FSCreateDirectoryUnicode(&parent, 2, accented, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(paramErr, FSCreateDirectoryUnicode(&parent, 3, slashed, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(paramErr, FSCreateDirectoryUnicode(&parent, 0, name, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(IsFolder(folder.Path() + "/a"));

    // The parent removed after it was resolved.
    FSRef gone;
    std::string sub = folder.Path() + "/sub";
    ASSERT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(sub.c_str()), &gone, nullptr));
    ASSERT_EQ(0, rmdir(sub.c_str()));
    EXPECT_EQ(dirNFErr, FSCreateDirectoryUnicode(&gone, 3, name, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
