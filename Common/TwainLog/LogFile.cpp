// Placeholder: the log file sink is not written yet.
#include "LogFile.h"

FILE* g_pLogFile = nullptr;
CTwainLog* g_pcTwainLog = nullptr;

void setupTwainLog() {}
void WriteLogFile(const unsigned char*, unsigned long) {}
void cleanupTwainLog() {}
int CreateZSTempDirectory(char*) { return -50; }
bool MakeLogFileName(char*, size_t, const char*, const struct tm&, long) { return false; }
