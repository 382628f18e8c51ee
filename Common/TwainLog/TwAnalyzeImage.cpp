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
    TW_OUT("  TW_IMAGEINFO = {%s", CRLF);
    TW_OUT("    XResolution      = [%.3f]%s", twfmt::Fix32(pInfo->XResolution), CRLF);
    TW_OUT("    YResolution      = [%.3f]%s", twfmt::Fix32(pInfo->YResolution), CRLF);
    TW_OUT("    ImageWidth       = [%d]%s", pInfo->ImageWidth, CRLF);
    TW_OUT("    ImageLength      = [%d]%s", pInfo->ImageLength, CRLF);
    TW_OUT("    SamplesPerPixel  = [%d]%s", pInfo->SamplesPerPixel, CRLF);
    // All eight entries, whatever SamplesPerPixel says, separated by commas without blanks.
    TW_OUT("    BitsPerSamples[] = {");
    MakeNumberList(pInfo->BitsPerSample);
    TW_OUT("    BitsPerPixel     = [%d]%s", pInfo->BitsPerPixel, CRLF);
    TW_OUT("    Planar           = [%s]%s", twfmt::Truth(pInfo->Planar), CRLF);
    // PixelType is a signed field: 0xFFFF looks up -1.
    TW_NAMED("    PixelType        = [%s]%s", twpt_macros, static_cast<TW_INT16>(pInfo->PixelType));
    TW_NAMED("    Compression      = [%s]%s", twcp_macros, pInfo->Compression);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwImageLayoutAnalyze(const TW_IMAGELAYOUT* pLayout) {
    if (pLayout == nullptr) return true;
    TW_OUT("  TW_IMAGELAYOUT = {%s", CRLF);
    TW_OUT("    Frame          =%s", CRLF);
    TwFrameAnalyze(&pLayout->Frame);
    TW_OUT("    DocumentNumber = [%ld]%s", twfmt::U32(pLayout->DocumentNumber), CRLF);
    TW_OUT("    PageNumber     = [%ld]%s", twfmt::U32(pLayout->PageNumber), CRLF);
    TW_OUT("    FrameNumber    = [%ld]%s", twfmt::U32(pLayout->FrameNumber), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwFrameAnalyze(const TW_FRAME* pFrame) {
    if (pFrame == nullptr) return true;
    TW_OUT("    TW_FRAME = {%s", CRLF);
    TW_OUT("      Left   = [%.3f]%s", twfmt::Fix32(pFrame->Left), CRLF);
    TW_OUT("      Top    = [%.3f]%s", twfmt::Fix32(pFrame->Top), CRLF);
    TW_OUT("      Right  = [%.3f]%s", twfmt::Fix32(pFrame->Right), CRLF);
    TW_OUT("      Bottom = [%.3f]%s", twfmt::Fix32(pFrame->Bottom), CRLF);
    TW_OUT("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwExtImageInfoAnalyze(const TW_EXTIMAGEINFO* pExtInfo) {
    if (pExtInfo == nullptr) return true;
    TW_OUT("  TW_EXTIMAGEINFO = {%s", CRLF);
    TW_OUT("    NumInfos = [%ld]%s", twfmt::U32(pExtInfo->NumInfos), CRLF);
    // Only the entry inside the structure itself is shown, even when NumInfos says 0: the entries
    // after it lie beyond the block the monitor knows to be there.
    TW_OUT("    Info     =%s", CRLF);
    TwInfoAnalyze(&pExtInfo->Info[0]);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwInfoAnalyze(const TW_INFO* pInfo) {
    if (pInfo == nullptr) return true;
    TW_OUT("    TW_INFO = {%s", CRLF);
    TW_OUT("      InfoID   = [%d]%s", pInfo->InfoID, CRLF);
    TW_NAMED("      ItemType = [%s]%s", twty_macros, pInfo->ItemType);
    TW_OUT("      NumItems = [%d]%s", pInfo->NumItems, CRLF);
    // The condition of an entry is a TWRC_ return code.
    TW_NAMED("      CondCode = [%s]%s", twrc_macros, pInfo->CondCode);
    TW_OUT("      Item     = [%ld]%s", twfmt::U32(pInfo->Item), CRLF);
    TW_OUT("    }%s", CRLF);
    return true;
}
