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
    TW_OUT("  TW_CIECOLOR = {%s", CRLF);
    // The colour space is a TWPT_ pixel type.
    TW_NAMED("    ColorSpace      = [%s]%s", twpt_macros, pCie->ColorSpace);
    TW_OUT("    LowEndian       = [%d]%s", pCie->LowEndian, CRLF);
    TW_OUT("    DeviceDependent = [%d]%s", pCie->DeviceDependent, CRLF);
    // Shown as its unsigned 32-bit value, like every "%ld" field: -1 shows as 4294967295.
    TW_OUT("    VersionNumber   = [%ld]%s", twfmt::U32(static_cast<TW_UINT32>(pCie->VersionNumber)), CRLF);
    TW_OUT("    StageABC=%s", CRLF);
    TwTransformStageAnalyze(&pCie->StageABC);
    TW_OUT("    StageLMN=%s", CRLF);
    TwTransformStageAnalyze(&pCie->StageLMN);
    TW_OUT("    WhitePoint=%s", CRLF);
    TwCiePointAnalyze(&pCie->WhitePoint);
    TW_OUT("    BlackPoint=%s", CRLF);
    TwCiePointAnalyze(&pCie->BlackPoint);
    TW_OUT("    WhitePaper=%s", CRLF);
    TwCiePointAnalyze(&pCie->WhitePaper);
    TW_OUT("    BlackInk=%s", CRLF);
    TwCiePointAnalyze(&pCie->BlackInk);
    // Only the first sample lies inside the structure; the table beyond it is not shown.
    TW_OUT("    Samples[]       = [%.3f]%s", twfmt::Fix32(pCie->Samples[0]), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwTransformStageAnalyze(const TW_TRANSFORMSTAGE* pStage) {
    if (pStage == nullptr) return true;
    TW_OUT("    TW_TRANSFORMSTAGE = {%s", CRLF);
    for (int i = 0; i < 3; ++i) {
        TW_OUT("      Decode[%d] =%s", i, CRLF);
        TwDecodeFunctionAnalyze(&pStage->Decode[i]);
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            TW_OUT("      Mix[%d][%d] = [%.3f]%s", i, j, twfmt::Fix32(pStage->Mix[i][j]), CRLF);
        }
    }
    TW_OUT("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwDecodeFunctionAnalyze(const TW_DECODEFUNCTION* pDecode) {
    if (pDecode == nullptr) return true;
    TW_OUT("      TW_DECODEFUNCTION = {%s", CRLF);
    TW_OUT("        StartIn     = [%.3f]%s", twfmt::Fix32(pDecode->StartIn), CRLF);
    TW_OUT("        BreakIn     = [%.3f]%s", twfmt::Fix32(pDecode->BreakIn), CRLF);
    TW_OUT("        EndIn       = [%.3f]%s", twfmt::Fix32(pDecode->EndIn), CRLF);
    TW_OUT("        StartOut    = [%.3f]%s", twfmt::Fix32(pDecode->StartOut), CRLF);
    TW_OUT("        BreakOut    = [%.3f]%s", twfmt::Fix32(pDecode->BreakOut), CRLF);
    TW_OUT("        EndOut      = [%.3f]%s", twfmt::Fix32(pDecode->EndOut), CRLF);
    TW_OUT("        Gamma       = [%.3f]%s", twfmt::Fix32(pDecode->Gamma), CRLF);
    TW_OUT("        SampleCount = [%.3f]%s", twfmt::Fix32(pDecode->SampleCount), CRLF);
    TW_OUT("      }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwCiePointAnalyze(const TW_CIEPOINT* pPoint) {
    if (pPoint == nullptr) return true;
    TW_OUT("    TW_CIEPOINT = {%s", CRLF);
    TW_OUT("      X = [%.3f]%s", twfmt::Fix32(pPoint->X), CRLF);
    TW_OUT("      Y = [%.3f]%s", twfmt::Fix32(pPoint->Y), CRLF);
    TW_OUT("      Z = [%.3f]%s", twfmt::Fix32(pPoint->Z), CRLF);
    TW_OUT("    }%s", CRLF);
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
    TW_OUT("  %s = {%s", pszStructure, CRLF);
    // Only the first element lies inside the structure; the rest of the curve is not shown.
    TW_OUT("    Response[0] =%s", CRLF);
    TwElement8Analyze(&pResponse[0]);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwElement8Analyze(const TW_ELEMENT8* pElement) {
    if (pElement == nullptr) return true;
    TW_OUT("    TW_ELEMENT8 = {%s", CRLF);
    TW_OUT("      Index    = [%d]%s", pElement->Index, CRLF);
    TW_OUT("      Channel1 = [%d]%s", pElement->Channel1, CRLF);
    TW_OUT("      Channel2 = [%d]%s", pElement->Channel2, CRLF);
    TW_OUT("      Channel3 = [%d]%s", pElement->Channel3, CRLF);
    TW_OUT("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwPalette8Analyze(const TW_PALETTE8* pPalette) {
    // The palette is acknowledged, not shown: no field of it is read.
    if (pPalette == nullptr) return true;
    TW_OUT("  TW_PALETTE8 = { it does not display. }%s", CRLF);
    return true;
}
