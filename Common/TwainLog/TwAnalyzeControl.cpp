// Formatters of the control structures: identity and version, status, user interface, pending
// transfers, event hand-off and custom data-source data.
//
// Each formatter is a list of lines, one per shown field in structure order, with the format of the
// transcript. A null structure pointer gives no block. The structures are only read.
#include <cstdint>

#include "FieldFormat.h"
#include "ParaAnalyze.h"
#include "twaintbl.h"

using twfmt::CRLF;

bool CParaAnalyze::TwIdentityAnalyze(const TW_IDENTITY* pIdentity) {
    if (pIdentity == nullptr) return true;
    // The application's own identity, handed over when it opens the data-source manager.
    if (m_MSG == MSG_OPENDSM) {
        TW_OUT("  pOrigin:TW_IDENTITY = {%s", CRLF);
    } else {
        TW_OUT("  TW_IDENTITY = {%s", CRLF);
    }
    // Id is pointer-sized: shown as a signed 64-bit number.
    TW_OUT("    Id              = [%ld]%s", static_cast<long>(reinterpret_cast<intptr_t>(pIdentity->Id)), CRLF);
    TW_OUT("    Version         =%s", CRLF);
    TwVersionAnalyze(&pIdentity->Version);
    TW_OUT("    ProtocolMajor   = [%d]%s", pIdentity->ProtocolMajor, CRLF);
    TW_OUT("    ProtocolMinor   = [%d]%s", pIdentity->ProtocolMinor, CRLF);
    TW_OUT("    SupportedGroups = [%ld]%s", twfmt::U32(pIdentity->SupportedGroups), CRLF);
    TW_OUT("    Manufacturer    = [%s]%s", twfmt::FieldText(pIdentity->Manufacturer).c_str(), CRLF);
    TW_OUT("    ProductFamily   = [%s]%s", twfmt::FieldText(pIdentity->ProductFamily).c_str(), CRLF);
    TW_OUT("    ProductName     = [%s]%s", twfmt::FieldText(pIdentity->ProductName).c_str(), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwVersionAnalyze(const TW_VERSION* pVersion) {
    if (pVersion == nullptr) return true;
    TW_OUT("    TW_VERSION = {%s", CRLF);
    TW_OUT("      MajorNum = [%d]%s", pVersion->MajorNum, CRLF);
    TW_OUT("      MinorNum = [%d]%s", pVersion->MinorNum, CRLF);
    // Both codes are unsigned 16-bit: 0xFFFF is 65535, never the table's -1 row.
    TW_NAMED("      Language = [%s]%s", twlg_macros, pVersion->Language);
    TW_NAMED("      Country  = [%s]%s", twcy_macros, pVersion->Country);
    TW_OUT("      Info     = [%s]%s", twfmt::FieldText(pVersion->Info).c_str(), CRLF);
    TW_OUT("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwStatusAnalyze(const TW_STATUS* pStatus) {
    if (pStatus == nullptr) return true;
    TW_OUT("  TW_STATUS = {%s", CRLF);
    TW_NAMED("    ConditionCode = [%s]%s", twcc_macros, pStatus->ConditionCode);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwUserInterfaceAnalyze(const TW_USERINTERFACE* pUI) {
    if (pUI == nullptr) return true;
    TW_OUT("  TW_USERINTERFACE = {%s", CRLF);
    TW_OUT("    ShowUI  = [%s]%s", twfmt::Truth(pUI->ShowUI), CRLF);
    TW_OUT("    ModalUI = [%s]%s", twfmt::Truth(pUI->ModalUI), CRLF);
    TW_OUT("    hParent = <0x%08x>%s", twfmt::Low32(pUI->hParent), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwPendingXfersAnalyze(const TW_PENDINGXFERS* pPending) {
    if (pPending == nullptr) return true;
    TW_OUT("  TW_PENDINGXFERS = {%s", CRLF);
    // Signed, so the "undetermined number of transfers" count 0xFFFF shows as -1.
    TW_OUT("    Count = [%d]%s", static_cast<TW_INT16>(pPending->Count), CRLF);
    TW_OUT("    EOJ   = [%ld]%s", twfmt::U32(pPending->EOJ), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwEventAnalyze(const TW_EVENT* pEvent) {
    // An event that carries no message for the application leaves no block.
    if (pEvent == nullptr || pEvent->TWMessage == MSG_NULL) return true;
    TW_OUT("  TW_EVENT = {%s", CRLF);
    TW_OUT("    pEvent    = <0x%08x>%s", twfmt::Low32(pEvent->pEvent), CRLF);
    TW_NAMED("    TWMessage = [%s]%s", NameSet::Msgs, pEvent->TWMessage);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwCustomDsDataAnalyze(const TW_CUSTOMDSDATA* pCustom) {
    if (pCustom == nullptr) return true;
    TW_OUT("  TW_CUSTOMDSDATA = {%s", CRLF);
    // The length is shown signed: a length with its top bit set shows negative.
    TW_OUT("    InfoLength = [%d]%s", static_cast<TW_INT32>(pCustom->InfoLength), CRLF);
    TW_OUT("    hData      = <0x%08x>%s", twfmt::Low32(pCustom->hData), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}
