// Formatters of the colour and tone structures: the CIE colour description with its transform
// stages, decode functions and CIE points, the grey and RGB response curves with their first
// TW_ELEMENT8, and the 8-bit palette (acknowledged by one line).
//
// Each formatter is a list of lines, one per shown field in structure order, with the format of the
// transcript. A null structure pointer gives no block. The structures are only read.
#include "FieldFormat.h"
#include "ParaAnalyze.h"
#include "twaintbl.h"

using twfmt::CRLF;

bool CParaAnalyze::TwCieColorAnalyze(const TW_CIECOLOR* pCie) {
    if (pCie == nullptr) return true;
    Out("  TW_CIECOLOR = {%s", CRLF);
    // The colour space is a TWPT_ pixel type.
    LookupMacroName(twpt_macros, pCie->ColorSpace, m_szName);
    Out("    ColorSpace      = [%s]%s", m_szName, CRLF);
    Out("    LowEndian       = [%d]%s", pCie->LowEndian, CRLF);
    Out("    DeviceDependent = [%d]%s", pCie->DeviceDependent, CRLF);
    // Shown as its unsigned 32-bit value, like every "%ld" field: -1 shows as 4294967295.
    Out("    VersionNumber   = [%ld]%s", twfmt::U32(static_cast<TW_UINT32>(pCie->VersionNumber)), CRLF);
    Out("    StageABC=%s", CRLF);
    TwTransformStageAnalyze(&pCie->StageABC);
    Out("    StageLMN=%s", CRLF);
    TwTransformStageAnalyze(&pCie->StageLMN);
    Out("    WhitePoint=%s", CRLF);
    TwCiePointAnalyze(&pCie->WhitePoint);
    Out("    BlackPoint=%s", CRLF);
    TwCiePointAnalyze(&pCie->BlackPoint);
    Out("    WhitePaper=%s", CRLF);
    TwCiePointAnalyze(&pCie->WhitePaper);
    Out("    BlackInk=%s", CRLF);
    TwCiePointAnalyze(&pCie->BlackInk);
    // Only the first sample lies inside the structure; the table beyond it is not shown.
    Out("    Samples[]       = [%.3f]%s", twfmt::Fix32(pCie->Samples[0]), CRLF);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwTransformStageAnalyze(const TW_TRANSFORMSTAGE* pStage) {
    if (pStage == nullptr) return true;
    Out("    TW_TRANSFORMSTAGE = {%s", CRLF);
    for (int i = 0; i < 3; ++i) {
        Out("      Decode[%d] =%s", i, CRLF);
        TwDecodeFunctionAnalyze(&pStage->Decode[i]);
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            Out("      Mix[%d][%d] = [%.3f]%s", i, j, twfmt::Fix32(pStage->Mix[i][j]), CRLF);
        }
    }
    Out("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwDecodeFunctionAnalyze(const TW_DECODEFUNCTION* pDecode) {
    if (pDecode == nullptr) return true;
    Out("      TW_DECODEFUNCTION = {%s", CRLF);
    Out("        StartIn     = [%.3f]%s", twfmt::Fix32(pDecode->StartIn), CRLF);
    Out("        BreakIn     = [%.3f]%s", twfmt::Fix32(pDecode->BreakIn), CRLF);
    Out("        EndIn       = [%.3f]%s", twfmt::Fix32(pDecode->EndIn), CRLF);
    Out("        StartOut    = [%.3f]%s", twfmt::Fix32(pDecode->StartOut), CRLF);
    Out("        BreakOut    = [%.3f]%s", twfmt::Fix32(pDecode->BreakOut), CRLF);
    Out("        EndOut      = [%.3f]%s", twfmt::Fix32(pDecode->EndOut), CRLF);
    Out("        Gamma       = [%.3f]%s", twfmt::Fix32(pDecode->Gamma), CRLF);
    Out("        SampleCount = [%.3f]%s", twfmt::Fix32(pDecode->SampleCount), CRLF);
    Out("      }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwCiePointAnalyze(const TW_CIEPOINT* pPoint) {
    if (pPoint == nullptr) return true;
    Out("    TW_CIEPOINT = {%s", CRLF);
    Out("      X = [%.3f]%s", twfmt::Fix32(pPoint->X), CRLF);
    Out("      Y = [%.3f]%s", twfmt::Fix32(pPoint->Y), CRLF);
    Out("      Z = [%.3f]%s", twfmt::Fix32(pPoint->Z), CRLF);
    Out("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwGrayResponseAnalyze(const TW_GRAYRESPONSE* pResponse) {
    if (pResponse == nullptr) return true;
    return TwResponseAnalyze("TW_GRAYRESPONSE", pResponse->Response);
}

bool CParaAnalyze::TwRgbResponseAnalyze(const TW_RGBRESPONSE* pResponse) {
    if (pResponse == nullptr) return true;
    return TwResponseAnalyze("TW_RGBRESPONSE", pResponse->Response);
}

bool CParaAnalyze::TwResponseAnalyze(const char* pszStructure, const TW_ELEMENT8* pResponse) {
    Out("  %s = {%s", pszStructure, CRLF);
    // Only the first element lies inside the structure; the rest of the curve is not shown.
    Out("    Response[0] =%s", CRLF);
    TwElement8Analyze(&pResponse[0]);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwElement8Analyze(const TW_ELEMENT8* pElement) {
    if (pElement == nullptr) return true;
    Out("    TW_ELEMENT8 = {%s", CRLF);
    Out("      Index    = [%d]%s", pElement->Index, CRLF);
    Out("      Channel1 = [%d]%s", pElement->Channel1, CRLF);
    Out("      Channel2 = [%d]%s", pElement->Channel2, CRLF);
    Out("      Channel3 = [%d]%s", pElement->Channel3, CRLF);
    Out("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwPalette8Analyze(const TW_PALETTE8* pPalette) {
    // The palette is acknowledged, not shown: no field of it is read.
    if (pPalette == nullptr) return true;
    Out("  TW_PALETTE8 = { it does not display. }%s", CRLF);
    return true;
}
