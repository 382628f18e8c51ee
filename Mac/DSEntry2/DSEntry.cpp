// DS_Entry: the TWAIN data-source entry point of the monitor.
//
// Every call is first carried out by the real data source; then the triplet line and the result
// report are rendered and appended to the log. The host always receives the real data source's
// return code, and its data block is only read here.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "LogFile.h"
#include "MachOMain.h"
#include "ParaAnalyze.h"
#include "TextBuffer.h"
#include "TwainTypes.h"

namespace {

// The text of one rendering. Calls come one at a time on the host's thread, so one buffer
// serves them all; it is emptied before each rendering.
CTextBuffer g_cEntryText;

// Written after a rendering that did not fit the buffer (24 bytes, no line end).
const char kTooLongMessage[] = "Size of CAP_xxx too long";
static_assert(sizeof(kTooLongMessage) - 1 == 24, "the overflow message is 24 bytes");

// The lines that follow every call that ended with TWRC_FAILURE.
const char kErrorStatusStart[] = "*** Inspect Error Status Start ***";
const char kErrorStatusEnd[] = "*** Inspect Error Status End   ***";

void WriteText(const char* pText, size_t nLength) {
    WriteLogFile(reinterpret_cast<const unsigned char*>(pText), nLength);
}

// Writes one failure marker line, composed with its line end in a scratch buffer.
void WriteMarkerLine(const char* pszText) {
    char szScratch[256];
    snprintf(szScratch, sizeof szScratch, "%s%s", pszText, "\r\n");
    WriteText(szScratch, strlen(szScratch));
}

// Hands the call to the real data source. Without one (target bundle, factory or own image
// missing) the call fails; an exception from the foreign code fails it as well.
TW_UINT16 ForwardTriplet(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData) {
    if (g_pcTripletOperator == nullptr) return TWRC_FAILURE;
    try {
        return g_pcTripletOperator->OperateTriplet(pOrigin, DG, DAT, MSG, pData);
    } catch (...) {
        return TWRC_FAILURE;
    }
}

// Renders and writes the record of one call that has been carried out.
void LogCall(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData, TW_UINT16 rc) {
    static int stack = 0;  // 1 while the failure lines are being written
    CTextBuffer& text = g_cEntryText;

    // The triplet line. Window events the source does not claim render nothing at all, so
    // they cost no write.
    text.Clear();
    g_cParaAnalyze.TripletAnalyze(pOrigin, nullptr, DG, DAT, MSG, pData, &text);
    if (!text.Empty()) WriteText(text.Text(), text.Length());

    // The result report, the data block and the state line. A rendering that did not fit is
    // written up to the buffer's room and flagged with a message.
    text.Clear();
    g_cParaAnalyze.ParaAnalyze(pOrigin, nullptr, DG, DAT, MSG, pData, rc, &text);
    if (!text.Empty()) {
        if (text.Overflowed()) {
            WriteText(text.Text(), CTextBuffer::kRoom);
            WriteText(kTooLongMessage, sizeof(kTooLongMessage) - 1);
        } else {
            WriteText(text.Text(), text.Length());
        }
    }

    if (rc == TWRC_FAILURE && stack == 0) {
        stack = 1;
        WriteMarkerLine(kErrorStatusStart);
        WriteMarkerLine(kErrorStatusEnd);
        stack = 0;
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) TW_UINT16 DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG,
                                                                     TW_UINT16 DAT, TW_UINT16 MSG,
                                                                     TW_MEMREF pData) {
    const TW_UINT16 rc = ForwardTriplet(pOrigin, DG, DAT, MSG, pData);
    // Logging never changes what the host receives: not the result, not errno as the real data
    // source left it, and nothing it throws reaches the host.
    const int nSavedErrno = errno;
    try {
        LogCall(pOrigin, DG, DAT, MSG, pData, rc);
    } catch (...) {
    }
    errno = nSavedErrno;
    return rc;
}
