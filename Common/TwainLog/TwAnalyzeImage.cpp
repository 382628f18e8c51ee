// Formatters of the image description structures: image info, image layout with its frame, and the
// extended image info with its first TW_INFO entry.
//
// Each formatter is a list of lines, one per shown field in structure order, with the format of the
// transcript. A null structure pointer gives no block. The structures are only read.
#include "FieldFormat.h"
#include "ParaAnalyze.h"
#include "twaintbl.h"

using twfmt::CRLF;

bool CParaAnalyze::TwImageInfoAnalyze(const TW_IMAGEINFO* pInfo) {
    if (pInfo == nullptr) return true;
    Out("  TW_IMAGEINFO = {%s", CRLF);
    Out("    XResolution      = [%.3f]%s", twfmt::Fix32(pInfo->XResolution), CRLF);
    Out("    YResolution      = [%.3f]%s", twfmt::Fix32(pInfo->YResolution), CRLF);
    Out("    ImageWidth       = [%d]%s", pInfo->ImageWidth, CRLF);
    Out("    ImageLength      = [%d]%s", pInfo->ImageLength, CRLF);
    Out("    SamplesPerPixel  = [%d]%s", pInfo->SamplesPerPixel, CRLF);
    // All eight entries, whatever SamplesPerPixel says, separated by commas without blanks.
    Out("    BitsPerSamples[] = {");
    for (size_t i = 0; i < 8; ++i) Out(i < 7 ? "%d," : "%d", pInfo->BitsPerSample[i]);
    Out("}%s", CRLF);
    Out("    BitsPerPixel     = [%d]%s", pInfo->BitsPerPixel, CRLF);
    Out("    Planar           = [%s]%s", twfmt::Truth(pInfo->Planar), CRLF);
    // PixelType is a signed field: 0xFFFF looks up -1.
    LookupMacroName(twpt_macros, static_cast<TW_INT16>(pInfo->PixelType), m_szName);
    Out("    PixelType        = [%s]%s", m_szName, CRLF);
    LookupMacroName(twcp_macros, pInfo->Compression, m_szName);
    Out("    Compression      = [%s]%s", m_szName, CRLF);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwImageLayoutAnalyze(const TW_IMAGELAYOUT* pLayout) {
    if (pLayout == nullptr) return true;
    Out("  TW_IMAGELAYOUT = {%s", CRLF);
    Out("    Frame          =%s", CRLF);
    TwFrameAnalyze(&pLayout->Frame);
    Out("    DocumentNumber = [%ld]%s", twfmt::U32(pLayout->DocumentNumber), CRLF);
    Out("    PageNumber     = [%ld]%s", twfmt::U32(pLayout->PageNumber), CRLF);
    Out("    FrameNumber    = [%ld]%s", twfmt::U32(pLayout->FrameNumber), CRLF);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwFrameAnalyze(const TW_FRAME* pFrame) {
    if (pFrame == nullptr) return true;
    Out("    TW_FRAME = {%s", CRLF);
    Out("      Left   = [%.3f]%s", twfmt::Fix32(pFrame->Left), CRLF);
    Out("      Top    = [%.3f]%s", twfmt::Fix32(pFrame->Top), CRLF);
    Out("      Right  = [%.3f]%s", twfmt::Fix32(pFrame->Right), CRLF);
    Out("      Bottom = [%.3f]%s", twfmt::Fix32(pFrame->Bottom), CRLF);
    Out("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwExtImageInfoAnalyze(const TW_EXTIMAGEINFO* pExtInfo) {
    if (pExtInfo == nullptr) return true;
    Out("  TW_EXTIMAGEINFO = {%s", CRLF);
    Out("    NumInfos = [%ld]%s", twfmt::U32(pExtInfo->NumInfos), CRLF);
    // Only the entry inside the structure itself is shown, even when NumInfos says 0: the entries
    // after it lie beyond the block the monitor knows to be there.
    Out("    Info     =%s", CRLF);
    TwInfoAnalyze(&pExtInfo->Info[0]);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwInfoAnalyze(const TW_INFO* pInfo) {
    if (pInfo == nullptr) return true;
    Out("    TW_INFO = {%s", CRLF);
    Out("      InfoID   = [%d]%s", pInfo->InfoID, CRLF);
    LookupMacroName(twty_macros, pInfo->ItemType, m_szName);
    Out("      ItemType = [%s]%s", m_szName, CRLF);
    Out("      NumItems = [%d]%s", pInfo->NumItems, CRLF);
    // The condition of an entry is a TWRC_ return code.
    LookupMacroName(twrc_macros, pInfo->CondCode, m_szName);
    Out("      CondCode = [%s]%s", m_szName, CRLF);
    Out("      Item     = [%ld]%s", twfmt::U32(pInfo->Item), CRLF);
    Out("    }%s", CRLF);
    return true;
}
