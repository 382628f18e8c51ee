// The leveled logger: one diagnostic line per message, written to the log file.
#ifndef TWAINMON_TWAINLOG_H
#define TWAINMON_TWAINLOG_H

#include <cstdarg>
#include <string>

namespace ENUM_LOG_LEVEL_TW {
enum enumLogLevel_tw { TRACE = 1, INFO = 2, WARNING = 3, ERROR = 4 };
}

class CTwainLog {
public:
    virtual ~CTwainLog() {}

    // Nothing in the monitor logs through it: it stays as the logger's documented interface.
    void Message(ENUM_LOG_LEVEL_TW::enumLogLevel_tw level, const char* origin, const char* file, int line,
                 const char* format, ...) __attribute__((format(printf, 6, 7)));
    std::string GetHeader();
    std::string GetLevelName(ENUM_LOG_LEVEL_TW::enumLogLevel_tw level);
    std::string FormatString(const char* format, va_list args);
    void OutputDebugString(const char* text);
};

#endif  // TWAINMON_TWAINLOG_H
