// The analyser's core: the triplet line, the log header, the TWAIN state tracker and the result report.
#include "ParaAnalyze.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "DataBlock.h"
#include "FieldFormat.h"
#include "RecordText.h"
#include "twaintbl.h"

using twfmt::CRLF;

// Constant-initialised (constexpr constructor): ready before the module initialiser runs, which
// may come before the module's dynamic initialisers and sets the tracked state. The compiler
// refuses a constructor that would make it a dynamic initialisation.
#if defined(__clang__)
[[clang::require_constant_initialization]]
#elif defined(__GNUC__)
__constinit
#endif
CParaAnalyze g_cParaAnalyze;

// ---- Triplet line and log header ---------------------------------------------------------------

void CParaAnalyze::Init(const char* pszSource) {
    if (pszSource == nullptr) return;
    const size_t n = strnlen(pszSource, sizeof(m_szSource) - 1);
    memcpy(m_szSource, pszSource, n);
    memset(m_szSource + n, 0, sizeof(m_szSource) - n);
}

bool CParaAnalyze::TripletAnalyze(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, unsigned int DG, unsigned short DAT,
                                  unsigned short MSG, char* pData, CTextBuffer* pszOutput) {
    m_pOrigin = pOrigin;
    m_pDest = pDest;
    m_DG = DG;
    m_DAT = DAT;
    m_MSG = MSG;
    m_pData = pData;
    m_pszOutput = pszOutput;
    return CreateStringOfTriplet();
}

bool CParaAnalyze::CreateStringOfTriplet() {
    // Transfer-ready notices and window events are not shown (events arrive for every window
    // event of the host, so this test comes before any work).
    if ((m_DAT == DAT_NULL && m_MSG == MSG_XFERREADY) || m_MSG == MSG_PROCESSEVENT) return false;

    ++m_lTripletCount;
    TW_OUT("[%05ld] ", m_lTripletCount);
    TW_OUT("[%s] ", m_szSource);

    // The message's name is looked up last, into m_szName, where it stays after the line.
    char szDG[kNameBufferSize];
    char szDAT[kNameBufferSize];
    LookupMacroName(dg_macros, static_cast<int32_t>(m_DG), szDG);
    LookupDatName(m_DAT, szDAT);
    LookupMsgName(m_MSG, m_szName);

    if (m_DAT == DAT_CAPABILITY) {
        char szCap[kNameBufferSize] = {};
        GetStringOfCapability(reinterpret_cast<const TW_CAPABILITY*>(m_pData), szCap, sizeof(szCap));
        TW_OUT("%s/%s/%s (%s)%s", szDG, szDAT, m_szName, szCap, CRLF);
    } else {
        TW_OUT("%s/%s/%s%s", szDG, szDAT, m_szName, CRLF);
    }
    return true;
}

bool CParaAnalyze::GetStringOfCapability(const TW_CAPABILITY* pCap, char* pszOutput, unsigned int size) {
    if (pCap == nullptr) return true;
    char szName[1024] = {};
    LookupCapName(pCap->Cap, szName);
    const size_t n = strlen(szName);
    if (n + 1 > size) return false;
    memcpy(pszOutput, szName, n + 1);
    return true;
}

bool CParaAnalyze::HeaderMake(CTextBuffer* pszOutput) {
    static const char kHeader[] =
        "////////////////////////////////////////////////\r\n"
        "           VIDOZ Idavovi Zazu Ver1.10\r\n"
        "////////////////////////////////////////////////\r\n";
    pszOutput->Append(kHeader, sizeof(kHeader) - 1);

    // The reentrant forms leave the host's own localtime/asctime results alone.
    const time_t now = time(nullptr);
    struct tm local;
    char szTime[64] = {};
    localtime_r(&now, &local);
    asctime_r(&local, szTime);
    szTime[strcspn(szTime, "\n")] = '\0';
    char szLine[128];
    const int n = snprintf(szLine, sizeof(szLine), "  << Current time = %s >>%s", szTime, CRLF);
    if (n > 0) pszOutput->Append(szLine, static_cast<size_t>(n) < sizeof(szLine) ? static_cast<size_t>(n) : sizeof(szLine) - 1);
    return true;
}

// ---- TWAIN state tracker -----------------------------------------------------------------------

namespace {

bool IsImageTransfer(unsigned short DAT) {
    return DAT == DAT_IMAGEMEMXFER || DAT == DAT_IMAGENATIVEXFER || DAT == DAT_IMAGEFILEXFER;
}

// The message of the TW_EVENT at pData. The event gate reads it from the blocks of other data types
// too, which a host aligns for their own structure only (a TW_SETUPMEMXFER for 4 bytes, a TW_EVENT
// needs 8), so it is copied out rather than read through a TW_EVENT pointer.
TW_UINT16 EventMessage(const char* pData) {
    TW_UINT16 message;
    memcpy(&message, pData + offsetof(TW_EVENT, TWMessage), sizeof message);
    return message;
}

}  // namespace

int CParaAnalyze::UpDateTwainStatus(unsigned int /*DG*/, unsigned short DAT, unsigned short MSG, char* pData) {
    int& state = m_nTwainStatus;
    switch (MSG) {
        case MSG_OPENDSM:
            if (state == 2) state = 3;
            break;
        case MSG_CLOSEDSM:
            if (state == 3) state = 2;
            break;
        case MSG_OPENDS:
            if (state == 3) state = 4;
            break;
        case MSG_CLOSEDS:
            if (state == 4) state = 3;
            break;
        case MSG_ENABLEDS:
            if (state == 4) state = 5;
            break;
        case MSG_DISABLEDS:
            if (DAT == DAT_USERINTERFACE && state == 5) state = 4;
            break;
        case MSG_PROCESSEVENT:
            if (DAT == DAT_EVENT) {
                if (state == 5 && pData != nullptr) {
                    const TW_UINT16 message = EventMessage(pData);
                    if (message == MSG_XFERREADY) state = 6;
                    if (message == MSG_CLOSEDSREQ) state = 4;
                }
            } else if (IsImageTransfer(DAT) && state == 6) {
                state = 7;
            }
            break;
        case MSG_GET:
            if (IsImageTransfer(DAT) && state == 6) state = 7;
            break;
        case MSG_ENDXFER:
            if (DAT == DAT_PENDINGXFERS && state >= 6 && pData != nullptr) {
                state = reinterpret_cast<const TW_PENDINGXFERS*>(pData)->Count != 0 ? 6 : 5;
            }
            break;
        case MSG_RESET:
            if (DAT == DAT_PENDINGXFERS && state == 6) state = 5;
            break;
        default:
            break;
    }
    return state;
}

void CParaAnalyze::PutTwainStatus(linefmt::Sink& sink) const {
    TWAINMON_PUT(sink, "%s" TWAINMON_STATE_LABEL "%d]%s", CRLF, m_nTwainStatus, CRLF);
}

int CParaAnalyze::MakeTwainStatusString(char* pszOutput) {
    return static_cast<int>(linefmt::PrintWith(pszOutput, 256, [this](linefmt::Sink& sink) { PutTwainStatus(sink); }));
}

int CParaAnalyze::SetTwainStatus(int nStatus) {
    m_nTwainStatus = nStatus;
    return nStatus;
}

int CParaAnalyze::GetTwainStatus() const { return m_nTwainStatus; }

void CParaAnalyze::InitTwainStatus() { m_nTwainStatus = 1; }

// ---- Result report -----------------------------------------------------------------------------

bool CParaAnalyze::ParaAnalyze(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, unsigned int DG, unsigned short DAT,
                               unsigned short MSG, char* pData, unsigned short RetCode, CTextBuffer* pszOutput) {
    m_pOrigin = pOrigin;
    m_pDest = pDest;
    m_DG = DG;
    m_DAT = DAT;
    m_MSG = MSG;
    m_pData = pData;
    m_RetCode = RetCode;
    m_pszOutput = pszOutput;

    const bool bShown = ResultMake();
    // An event the source did not claim leaves nothing at all.
    if (m_DAT == DAT_EVENT && !bShown) return true;
    DispatchDat();

    if (m_RetCode != TWRC_FAILURE && bShown) {
        UpDateTwainStatus(m_DG, m_DAT, m_MSG, m_pData);
        linefmt::AppendWith(*m_pszOutput, [this](linefmt::Sink& sink) { PutTwainStatus(sink); });
    }
    return true;
}

bool CParaAnalyze::ResultShown(unsigned short DAT, unsigned short MSG, const char* pData, unsigned short RetCode) {
    if (DAT == DAT_NULL && MSG == MSG_XFERREADY) return false;
    if (MSG == MSG_PROCESSEVENT) {
        // Shown only when the source claimed the event with a transfer-ready or close request.
        // The message is read only from a data block large enough to hold a TW_EVENT's TWMessage.
        if (RetCode != TWRC_DSEVENT || pData == nullptr) return false;
        if (DataBlockSize(DAT) < offsetof(TW_EVENT, TWMessage) + sizeof(TW_UINT16)) return false;
        const TW_UINT16 message = EventMessage(pData);
        if (message != MSG_XFERREADY && message != MSG_CLOSEDSREQ) return false;
    }
    return true;
}

bool CParaAnalyze::ResultMake() {
    if (!ResultShown(m_DAT, m_MSG, m_pData, m_RetCode)) return false;
    // The return code's name stays in m_szName after the block.
    LookupMacroName(twrc_macros, m_RetCode, m_szName);
    TW_OUT("        " TWAINMON_RESULT_LABEL "%s]%s", m_szName, CRLF);
    TW_OUT(TWAINMON_DATA_LABEL "0x%08x>%s", twfmt::Low32(m_pData), CRLF);
    return true;
}
