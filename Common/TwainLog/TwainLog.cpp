// The leveled logger: one diagnostic message per call, appended to the open log file as a prefix
// (time, level, origin, optionally source file and line) and the printf-style text, ended by LF.
#include "TwainLog.h"

#include <boost/format.hpp>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "LogFile.h"
#include "WallClock.h"

namespace {

// Puts the character classification locale back as it was when the guard was made, on every way
// out of the scope (an exception from the formatting included), so a message never leaves the
// host's locale changed.
class CCtypeLocaleGuard {
public:
    CCtypeLocaleGuard() {
        const char* pszCurrent = setlocale(LC_CTYPE, nullptr);
        if (pszCurrent != nullptr) {
            m_strSaved = pszCurrent;  // copied: the next setlocale may overwrite the returned text
            m_bSaved = true;
        }
    }
    ~CCtypeLocaleGuard() {
        if (m_bSaved) {
            setlocale(LC_CTYPE, m_strSaved.c_str());
        }
    }
    CCtypeLocaleGuard(const CCtypeLocaleGuard&) = delete;
    CCtypeLocaleGuard& operator=(const CCtypeLocaleGuard&) = delete;

private:
    std::string m_strSaved;
    bool m_bSaved = false;
};

// The first buffer FormatString tries.
const size_t kFirstFormatBuffer = 100;

// A vsnprintf that keeps failing (a character it cannot convert, say) would have the buffer
// doubled without end; past this size the text is given up as empty.
const size_t kMaxFailingFormatBuffer = 1024 * 1024;

// The file name of a source path: the part after the last '/' or '\', whichever comes later.
std::string FileNameOf(const char* pszPath) {
    const char* pszName = pszPath;
    for (const char* p = pszPath; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') {
            pszName = p + 1;
        }
    }
    return pszName;
}

}  // namespace

std::string CTwainLog::GetHeader() {
    const WallTime now = WallTime::Now();
    const struct tm& local = now.local;
    char szHeader[128];
    snprintf(szHeader, sizeof szHeader, "%04d/%02d/%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
             local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, now.milliseconds);
    return szHeader;
}

std::string CTwainLog::GetLevelName(ENUM_LOG_LEVEL_TW::enumLogLevel_tw level) {
    switch (level) {
        case ENUM_LOG_LEVEL_TW::TRACE:
            return "TRACE";
        case ENUM_LOG_LEVEL_TW::INFO:
            return "INFO";
        case ENUM_LOG_LEVEL_TW::WARNING:
            return "WARNING";
        case ENUM_LOG_LEVEL_TW::ERROR:
            return "ERROR";
        default:
            return std::string();
    }
}

std::string CTwainLog::FormatString(const char* format, va_list args) {
    if (format == nullptr) {
        return std::string();
    }
    std::vector<char> buffer(kFirstFormatBuffer);
    for (;;) {
        va_list pass;
        va_copy(pass, args);
        int n = vsnprintf(buffer.data(), buffer.size(), format, pass);
        va_end(pass);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size()) {
            return std::string(buffer.data(), static_cast<size_t>(n));
        }
        if (n >= 0) {
            buffer.resize(static_cast<size_t>(n) + 1);  // n is the length the text needs
        } else if (buffer.size() < kMaxFailingFormatBuffer) {
            buffer.resize(buffer.size() * 2);
        } else {
            return std::string();
        }
    }
}

void CTwainLog::OutputDebugString(const char* text) {
    if (g_pLogFile == nullptr || text == nullptr) {
        return;
    }
    fwrite(text, 1, strlen(text), g_pLogFile);
    fflush(g_pLogFile);
}

void CTwainLog::Message(ENUM_LOG_LEVEL_TW::enumLogLevel_tw level, const char* origin, const char* file, int line,
                        const char* format, ...) {
    CCtypeLocaleGuard localeGuard;
    setlocale(LC_CTYPE, "jpn");  // the result does not matter: the message goes on either way

    std::string strLevel = GetLevelName(level);
    std::string strTime = GetHeader();
    std::string strOrigin = origin != nullptr ? origin : "";

    std::string strPrefix;
    if (file != nullptr) {
        strPrefix = (boost::format("[%s] %s from \"%s\" (File: %-40s, Line: %4d) ") % strTime % strLevel % strOrigin %
                     FileNameOf(file) % line)
                        .str();
    } else {
        strPrefix = (boost::format("[%s] %s from \"%s\" ") % strTime % strLevel % strOrigin).str();
    }

    // va_end belongs in the function that called va_start, also when formatting throws.
    std::string strText;
    va_list args;
    va_start(args, format);
    try {
        strText = FormatString(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    if (strText.empty() || strText.back() != '\n') {
        strText += '\n';
    }

    OutputDebugString(strPrefix.c_str());
    OutputDebugString(strText.c_str());
}
