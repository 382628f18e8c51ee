// DS_Entry: the TWAIN data-source entry point of the monitor.
//
// Every call is first carried out by the real data source; then, while a log file is open, the
// triplet line and the result report are rendered and appended to the log. The host always receives
// the real data source's return code, and its data block is only read here.
//
// TWAIN hosts make one call at a time, but a monitor is installed exactly where hosts misbehave:
// calls from several threads at once must not mix their records. Each call renders into text of
// its own, and the part that touches shared state (the analyser's numbering, stored call and
// tracked state, the log file, the failure-line flag) runs under one lock, taken after the forward
// returns. The forward itself never holds it, so a real data source that blocks, or that calls
// back into DS_Entry from inside its own call, cannot deadlock the host.
#include <pthread.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#if defined(__GLIBCXX__)
#include <cxxabi.h>
#endif

#include "CallRecord.h"
#include "LogFile.h"
#include "MachOMain.h"
#include "ParaAnalyze.h"
#include "TextBuffer.h"
#include "TwainTypes.h"

namespace {

// Serialises the records of calls made from several threads at once: a plain POSIX mutex,
// constant-initialised and never destroyed, so it is there from the first call to the last.
pthread_mutex_t g_logMutex = PTHREAD_MUTEX_INITIALIZER;

// Holds the log's lock for its lifetime.
class CLogLock {
public:
    CLogLock() { pthread_mutex_lock(&g_logMutex); }
    ~CLogLock() { pthread_mutex_unlock(&g_logMutex); }
    CLogLock(const CLogLock&) = delete;
    CLogLock& operator=(const CLogLock&) = delete;
};

void WriteText(const char* pText, size_t nLength) {
    WriteLogFile(reinterpret_cast<const unsigned char*>(pText), nLength);
}

// Holds off the cancellation of the calling thread for its lifetime: a cancel request that arrives
// while a record is being written takes effect at the host's next cancellation point, after
// DS_Entry has returned, so no record is ever cut short.
class CCancellationHold {
public:
    CCancellationHold() { pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &m_nSaved); }
    ~CCancellationHold() { pthread_setcancelstate(m_nSaved, nullptr); }
    CCancellationHold(const CCancellationHold&) = delete;
    CCancellationHold& operator=(const CCancellationHold&) = delete;

private:
    int m_nSaved = PTHREAD_CANCEL_ENABLE;
};

// Hands the call to the real data source. Without one (target bundle, factory or own image
// missing) the call fails; an exception from the foreign code fails it as well. A thread the host
// cancels inside the real data source unwinds on through here, as the host expects.
//
// Sanitizer builds leave this function uninstrumented: glibc's forced unwind is no C++ throw, so
// AddressSanitizer never clears the stack it unwinds and would trip over it when the unwind is
// caught and rethrown here, and the catch binds a reference to an object that does not exist.
#if defined(__GLIBCXX__)
__attribute__((noinline, no_sanitize("address", "undefined")))
#endif
TW_UINT16 ForwardTriplet(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData) {
    if (g_pcTripletOperator == nullptr) return TWRC_FAILURE;
    try {
        return g_pcTripletOperator->OperateTriplet(pOrigin, DG, DAT, MSG, pData);
#if defined(__GLIBCXX__)
    } catch (abi::__forced_unwind&) {
        throw;
#endif
    } catch (...) {
        return TWRC_FAILURE;
    }
}

// Renders and writes the record of one call that has been carried out. The caller holds the lock.
void LogCall(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData, TW_UINT16 rc) {
    static int stack = 0;  // 1 while a record is being written: its failure lines are written once
    CTextBuffer text;      // this call's own text
    const bool bFailureLines = stack == 0;
    stack = 1;
    struct CClearFlag {
        ~CClearFlag() { stack = 0; }  // also when a rendering throws
    } clearFlag;
    record::WriteRecord(g_cParaAnalyze, text, pOrigin, DG, DAT, MSG, pData, rc, bFailureLines, WriteText);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) TW_UINT16 DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG,
                                                                     TW_UINT16 DAT, TW_UINT16 MSG,
                                                                     TW_MEMREF pData) {
    const TW_UINT16 rc = ForwardTriplet(pOrigin, DG, DAT, MSG, pData);

    // With logging off (no log folder at load) the call is only forwarded: nothing of it is
    // rendered, no handle locked, nothing of the host's data read, no lock taken, no system call.
    if (!IsLogFileOpen()) return rc;

    // A window event the source did not claim leaves no text: it is done here, with no lock, no
    // formatting and no system call (events arrive for every window event of the host). A failed
    // call always leaves at least its failure lines.
    if (rc != TWRC_FAILURE && CParaAnalyze::IsUnclaimedEvent(DAT, MSG, pData, rc)) return rc;

    // The log, the numbering and the tracked state belong to the process that loaded the module:
    // a child the host forked without exec forwards its calls and logs none.
    if (!InLoadingProcess()) return rc;

    // Logging never changes what the host receives: not the result, not errno as the real data
    // source left it, and nothing it throws reaches the host.
    const int nSavedErrno = errno;
    try {
        CCancellationHold hold;
        CLogLock lock;
        LogCall(pOrigin, DG, DAT, MSG, pData, rc);
    } catch (...) {
    }
    errno = nSavedErrno;
    return rc;
}
