// The log file sink.
//
// Logging is switched on by nothing but the existence of the log folder: setupTwainLog, run at
// load, opens one new file named after the local date and time of the load; every call's text is
// appended to it and flushed at once; cleanupTwainLog closes it at unload. The folder is never
// created here.
#include "LogFile.h"

#include <CoreServices/CoreServices.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "MonitorPaths.h"
#include "ParaAnalyze.h"
#include "TwainLog.h"

FILE* g_pLogFile = nullptr;
CTwainLog* g_pcTwainLog = nullptr;

namespace {

// Every path and name of this file is held in a buffer of this size.
const size_t kPathBufferSize = 256;

// The folder CreateZSTempDirectory makes.
const char kTempFolderName[] = "ZORVAScanTwainLog";

// The message for the failures of CreateZSTempDirectory (a blank at its end, no line end).
void ReportTempDirectoryFailure(const char* parentPath) {
    fprintf(stderr, "Output debug image data file is put in: %s ", parentPath);
}

// A load that finds its name taken tries the next millisecond; after a second's worth of names it
// gives up and logs nothing.
const int kMaxNameTries = 1000;

}  // namespace

// Creates the log file of this load and opens it for appending. The file is created exclusively, so
// every load has a file of its own, and its records never mix with another load's. The folder is
// shared by every user and the name can be guessed: a symbolic link planted at that name makes the
// name taken, it is never followed (O_EXCL, O_NOFOLLOW). The descriptor is closed in programs the
// host starts (O_CLOEXEC).
FILE* CreateLogFile(const char* pszFolder, WallTime stamp) {
    for (int nTry = 0; nTry < kMaxNameTries; ++nTry, stamp = stamp.Next()) {
        char szName[kPathBufferSize];
        if (!MakeLogFileName(szName, sizeof szName, pszFolder, stamp)) return nullptr;
        const int fd = open(szName, O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        FILE* pFile = fdopen(fd, "a");
        if (pFile == nullptr) {
            close(fd);
            return nullptr;
        }
        return pFile;
    }
    return nullptr;
}

bool MakeLogFileName(char* pszOut, size_t nSize, const char* pszFolder, const WallTime& stamp) {
    if (pszOut == nullptr || nSize == 0 || pszFolder == nullptr) {
        return false;
    }
    const struct tm& local = stamp.local;
    char szStamp[kPathBufferSize];
    int nStamp = snprintf(szStamp, sizeof szStamp, "%04d%02d%02d_%02d%02d%02d_%04d", local.tm_year + 1900,
                          local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                          stamp.milliseconds);
    if (nStamp < 0 || static_cast<size_t>(nStamp) >= sizeof szStamp) {
        return false;
    }
    int nName = snprintf(pszOut, nSize, "%s/Twainlog_%s.txt", pszFolder, szStamp);
    if (nName < 0 || static_cast<size_t>(nName) >= nSize) {
        pszOut[0] = '\0';
        return false;
    }
    return true;
}

void setupTwainLog() {
    const char* pszFolderPath = TWAINMON_LOG_FOLDER;
    if (strlen(pszFolderPath) >= kPathBufferSize) {
        return;  // a folder path that does not fit its buffer is never tested in part
    }
    char szFolder[kPathBufferSize] = {};
    memcpy(szFolder, pszFolderPath, strlen(pszFolderPath));
    if (access(szFolder, F_OK) == -1) {
        return;  // no folder: no logger, no file, the tracked state stays as it is
    }

    delete g_pcTwainLog;
    g_pcTwainLog = new (std::nothrow) CTwainLog();

    if (g_pLogFile == nullptr) {
        g_pLogFile = CreateLogFile(szFolder, WallTime::Now());
    }

    // Every log starts in state 3: the source manager that loads this data source is open.
    g_cParaAnalyze.SetTwainStatus(3);
}

void WriteLogFile(const unsigned char* text, unsigned long length) {
    if (g_pLogFile == nullptr) {
        return;
    }
    if (text != nullptr && length != 0) {
        fwrite(text, 1, length, g_pLogFile);
    }
    fflush(g_pLogFile);
}

void detachTwainLogInChild() {
    if (g_pLogFile == nullptr) return;
    // The stream is flushed after every text, but a thread of the parent may have been between
    // the two at the moment of the fork; the parent writes that text itself. The child's copy of
    // the descriptor is pointed at the null device, so whatever its copy of the stream still holds
    // goes nowhere when the child flushes its streams at exit.
    const int nNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nNull < 0) return;
    dup2(nNull, fileno(g_pLogFile));
    close(nNull);
}

void cleanupTwainLog() {
    delete g_pcTwainLog;
    g_pcTwainLog = nullptr;

    if (g_pLogFile != nullptr) {
        static const char kCloseMessage[] = "Close Log File.\n";
        fwrite(kCloseMessage, 1, sizeof kCloseMessage - 1, stderr);
        fclose(g_pLogFile);
        g_pLogFile = nullptr;
    }
}

int CreateZSTempDirectory(char* parentPath) {
    if (parentPath == nullptr) {
        return paramErr;
    }
    size_t nPathLength = strlen(parentPath);
    if (nPathLength >= kPathBufferSize) {
        return paramErr;  // refused before any conversion: the path does not fit its buffer
    }
    char szParent[kPathBufferSize];
    memset(szParent, 0, sizeof szParent);
    memcpy(szParent, parentPath, nPathLength);

    FSRef parentRef;
    Boolean isDirectory = false;  // reported by the conversion, not looked at
    OSStatus status = FSPathMakeRef(reinterpret_cast<const UInt8*>(szParent), &parentRef, &isDirectory);
    if (status != noErr) {
        ReportTempDirectoryFailure(parentPath);
        return status;
    }

    CFStringRef name = CFStringCreateWithCString(kCFAllocatorDefault, kTempFolderName, kCFStringEncodingMacRoman);
    if (name == nullptr) {
        ReportTempDirectoryFailure(parentPath);
        return memFullErr;
    }

    CFIndex nNameLength = CFStringGetLength(name);
    const UniChar* pNameChars = CFStringGetCharactersPtr(name);
    UniChar* pNameCopy = nullptr;
    if (pNameChars == nullptr) {
        pNameCopy = static_cast<UniChar*>(malloc(static_cast<size_t>(nNameLength) * 2));
        if (pNameCopy == nullptr) {
            ReportTempDirectoryFailure(parentPath);
            CFRelease(name);
            return memFullErr;
        }
        CFStringGetCharacters(name, CFRangeMake(0, nNameLength), pNameCopy);
        pNameChars = pNameCopy;
    }

    OSErr err = FSCreateDirectoryUnicode(&parentRef, static_cast<UniCharCount>(nNameLength), pNameChars,
                                         kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr);

    free(pNameCopy);
    CFRelease(name);
    return err;
}
