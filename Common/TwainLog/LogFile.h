// The log file: opened at load when the log folder exists, appended to by every call, closed at unload.
#ifndef TWAINMON_LOGFILE_H
#define TWAINMON_LOGFILE_H

#include <cstddef>
#include <cstdio>
#include <ctime>

#include "WallClock.h"

class CTwainLog;

extern FILE* g_pLogFile;         // the open log file, or null
extern CTwainLog* g_pcTwainLog;  // the leveled logger while logging is on, or null

// True while a log file is open. Set at load and cleared at unload, which never run during a call,
// so a plain read is the whole test: with logging off a call costs no more than this.
inline bool IsLogFileOpen() { return g_pLogFile != nullptr; }

// Tests the log folder; when it exists renews the logger, creates a new file named after the time
// of the load unless one is open (the next free millisecond when that name is taken), and sets the
// tracked TWAIN state to 3.
void setupTwainLog();
// Appends length bytes of text and flushes; does nothing without a file.
void WriteLogFile(const unsigned char* text, unsigned long length);
// In a child the host forked: leaves the parent's log untouched, whatever the child's copy of the
// stream holds (nothing is written, nothing is closed).
void detachTwainLogInChild();
// Deletes the logger, then closes the file with "Close Log File.\n" on standard error.
void cleanupTwainLog();
// Creates the folder "ZORVAScanTwainLog" inside parentPath; a Mac OS error code (0 when made).
// Nothing calls it: it stays as part of the log sink's documented interface.
int CreateZSTempDirectory(char* parentPath);

// The log file's name for a load at the given time: "<folder>/Twainlog_YYYYMMDD_hhmmss_mmmm.txt"
// in a buffer of at least 256 bytes. False when it does not fit.
bool MakeLogFileName(char* pszOut, size_t nSize, const char* pszFolder, const WallTime& stamp);
// Creates and opens, for appending, a log file of its own in the folder: named after stamp, or after
// the next millisecond whose name is free. Null when none can be made.
FILE* CreateLogFile(const char* pszFolder, WallTime stamp);

#endif  // TWAINMON_LOGFILE_H
