// Formatters of the transfer structures: memory and file transfer set-up, the memory-transfer strip
// and the TW_MEMORY descriptor it shares with the JPEG tables, the JPEG compression parameters, and
// the single 32-bit item of the transfer-group and native-transfer calls.
//
// Each formatter is a list of lines, one per shown field in structure order, with the format of the
// transcript. A null structure pointer gives no block (TwUint32 excepted). The structures are only
// read; image data and JPEG tables are never shown, only their descriptors.
#include <cstring>

#include "FieldFormat.h"
#include "ParaAnalyze.h"
#include "twaintbl.h"

using twfmt::CRLF;

bool CParaAnalyze::TwSetupMemXferAnalyze(const TW_SETUPMEMXFER* pSetup) {
    if (pSetup == nullptr) return true;
    TW_OUT("  TW_SETUPMEMXFER = {%s", CRLF);
    TW_OUT("    MinBufSize = [%ld]%s", twfmt::U32(pSetup->MinBufSize), CRLF);
    TW_OUT("    MaxBufSize = [%ld]%s", twfmt::U32(pSetup->MaxBufSize), CRLF);
    TW_OUT("    Preferred  = [%ld]%s", twfmt::U32(pSetup->Preferred), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwSetupFileXferAnalyze(const TW_SETUPFILEXFER* pSetup) {
    if (pSetup == nullptr) return true;
    TW_OUT("  TW_SETUPFILEXFER = {%s", CRLF);
    TW_OUT("    FileName = [%s]%s", twfmt::FieldText(pSetup->FileName).c_str(), CRLF);
    TW_NAMED("    Format   = [%s]%s", twff_macros, pSetup->Format);
    TW_OUT("    VRefNum  = [%d]%s", pSetup->VRefNum, CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwImageMemXferAnalyze(const TW_IMAGEMEMXFER* pXfer) {
    if (pXfer == nullptr) return true;
    TW_OUT("  TW_IMAGEMEMXFER = {%s", CRLF);
    TW_NAMED("    Compression  = [%s]%s", twcp_macros, pXfer->Compression);
    TW_OUT("    BytesPerRow  = [%ld]%s", twfmt::U32(pXfer->BytesPerRow), CRLF);
    TW_OUT("    Columns      = [%ld]%s", twfmt::U32(pXfer->Columns), CRLF);
    TW_OUT("    Rows         = [%ld]%s", twfmt::U32(pXfer->Rows), CRLF);
    TW_OUT("    XOffset      = [%ld]%s", twfmt::U32(pXfer->XOffset), CRLF);
    TW_OUT("    YOffset      = [%ld]%s", twfmt::U32(pXfer->YOffset), CRLF);
    TW_OUT("    BytesWritten = [%ld]%s", twfmt::U32(pXfer->BytesWritten), CRLF);
    TW_OUT("    Memory       =%s", CRLF);
    TwMemoryAnalyze(&pXfer->Memory);
    // This block's closing brace stands at the left margin; stored logs have it so.
    TW_OUT("}%s", CRLF);
    return true;
}

bool CParaAnalyze::TwMemoryAnalyze(const TW_MEMORY* pMemory) {
    if (pMemory == nullptr) return true;
    TW_OUT("    TW_MEMORY = {%s", CRLF);
    // The TWMF_ bits are shown as plain hexadecimal, without leading zeros.
    TW_OUT("      Flags  = [0x%x]%s", pMemory->Flags, CRLF);
    TW_OUT("      Length = [%ld]%s", twfmt::U32(pMemory->Length), CRLF);
    TW_OUT("      TheMem = <0x%08x>%s", twfmt::Low32(pMemory->TheMem), CRLF);
    TW_OUT("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwJpegCompressionAnalyze(const TW_JPEGCOMPRESSION* pJpeg) {
    if (pJpeg == nullptr) return true;
    TW_OUT("  TW_JPEGCOMPRESSION = {%s", CRLF);
    TW_NAMED("    ColorSpace       = [%s]%s", twpt_macros, pJpeg->ColorSpace);
    TW_OUT("    SubSampling      = [%ld]%s", twfmt::U32(pJpeg->SubSampling), CRLF);
    TW_OUT("    NumComponents    = [%d]%s", pJpeg->NumComponents, CRLF);
    TW_OUT("    RestartFrequency = [%d]%s", pJpeg->RestartFrequency, CRLF);
    TW_OUT("    QuantMap[]       = {");
    MakeNumberList(pJpeg->QuantMap);
    // Each table label runs straight into its TW_MEMORY header on the same line and is never
    // closed: readers of stored logs rely on this shape.
    for (int i = 0; i < 4; ++i) {
        TW_OUT("    QuantTable[%d]   = {", i);
        TwMemoryAnalyze(&pJpeg->QuantTable[i]);
    }
    TW_OUT("    HuffmanMap[]     = {");
    MakeNumberList(pJpeg->HuffmanMap);
    for (int i = 0; i < 2; ++i) {
        TW_OUT("    HuffmanDC[%d]    = {", i);
        TwMemoryAnalyze(&pJpeg->HuffmanDC[i]);
    }
    for (int i = 0; i < 2; ++i) {
        TW_OUT("    HuffmanAC[%d]    = {", i);
        TwMemoryAnalyze(&pJpeg->HuffmanAC[i]);
    }
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwUint32(const TW_UINT32* pData) {
    // The data block of DAT_XFERGROUP is the 32-bit group mask, that of DAT_IMAGENATIVEXFER the
    // image handle; both begin with the 32-bit item shown here (for the handle, its low half on a
    // little-endian host). Exactly four bytes are read, without alignment assumptions. A null data
    // pointer still gives the block, with an item of zero.
    TW_UINT32 item = 0;
    if (pData != nullptr) memcpy(&item, pData, sizeof(item));
    TW_OUT("  TW_UINT32 = {%s", CRLF);
    TW_OUT("    Item = <0x%08x>%s", item, CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}
