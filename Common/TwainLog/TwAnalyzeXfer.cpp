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
    Out("  TW_SETUPMEMXFER = {%s", CRLF);
    Out("    MinBufSize = [%ld]%s", twfmt::U32(pSetup->MinBufSize), CRLF);
    Out("    MaxBufSize = [%ld]%s", twfmt::U32(pSetup->MaxBufSize), CRLF);
    Out("    Preferred  = [%ld]%s", twfmt::U32(pSetup->Preferred), CRLF);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwSetupFileXferAnalyze(const TW_SETUPFILEXFER* pSetup) {
    if (pSetup == nullptr) return true;
    Out("  TW_SETUPFILEXFER = {%s", CRLF);
    Out("    FileName = [%s]%s", twfmt::FieldText(pSetup->FileName).c_str(), CRLF);
    LookupMacroName(twff_macros, pSetup->Format, m_szName);
    Out("    Format   = [%s]%s", m_szName, CRLF);
    Out("    VRefNum  = [%d]%s", pSetup->VRefNum, CRLF);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwImageMemXferAnalyze(const TW_IMAGEMEMXFER* pXfer) {
    if (pXfer == nullptr) return true;
    Out("  TW_IMAGEMEMXFER = {%s", CRLF);
    LookupMacroName(twcp_macros, pXfer->Compression, m_szName);
    Out("    Compression  = [%s]%s", m_szName, CRLF);
    Out("    BytesPerRow  = [%ld]%s", twfmt::U32(pXfer->BytesPerRow), CRLF);
    Out("    Columns      = [%ld]%s", twfmt::U32(pXfer->Columns), CRLF);
    Out("    Rows         = [%ld]%s", twfmt::U32(pXfer->Rows), CRLF);
    Out("    XOffset      = [%ld]%s", twfmt::U32(pXfer->XOffset), CRLF);
    Out("    YOffset      = [%ld]%s", twfmt::U32(pXfer->YOffset), CRLF);
    Out("    BytesWritten = [%ld]%s", twfmt::U32(pXfer->BytesWritten), CRLF);
    Out("    Memory       =%s", CRLF);
    TwMemoryAnalyze(&pXfer->Memory);
    // This block's closing brace stands at the left margin; stored logs have it so.
    Out("}%s", CRLF);
    return true;
}

bool CParaAnalyze::TwMemoryAnalyze(const TW_MEMORY* pMemory) {
    if (pMemory == nullptr) return true;
    Out("    TW_MEMORY = {%s", CRLF);
    // The TWMF_ bits are shown as plain hexadecimal, without leading zeros.
    Out("      Flags  = [0x%x]%s", pMemory->Flags, CRLF);
    Out("      Length = [%ld]%s", twfmt::U32(pMemory->Length), CRLF);
    Out("      TheMem = <0x%08x>%s", twfmt::Low32(pMemory->TheMem), CRLF);
    Out("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwJpegCompressionAnalyze(const TW_JPEGCOMPRESSION* pJpeg) {
    if (pJpeg == nullptr) return true;
    Out("  TW_JPEGCOMPRESSION = {%s", CRLF);
    LookupMacroName(twpt_macros, pJpeg->ColorSpace, m_szName);
    Out("    ColorSpace       = [%s]%s", m_szName, CRLF);
    Out("    SubSampling      = [%ld]%s", twfmt::U32(pJpeg->SubSampling), CRLF);
    Out("    NumComponents    = [%d]%s", pJpeg->NumComponents, CRLF);
    Out("    RestartFrequency = [%d]%s", pJpeg->RestartFrequency, CRLF);
    Out("    QuantMap[]       = {");
    for (size_t i = 0; i < 4; ++i) Out(i < 3 ? "%d," : "%d", pJpeg->QuantMap[i]);
    Out("}%s", CRLF);
    // Each table label runs straight into its TW_MEMORY header on the same line and is never
    // closed: readers of stored logs rely on this shape.
    for (int i = 0; i < 4; ++i) {
        Out("    QuantTable[%d]   = {", i);
        TwMemoryAnalyze(&pJpeg->QuantTable[i]);
    }
    Out("    HuffmanMap[]     = {");
    for (size_t i = 0; i < 4; ++i) Out(i < 3 ? "%d," : "%d", pJpeg->HuffmanMap[i]);
    Out("}%s", CRLF);
    for (int i = 0; i < 2; ++i) {
        Out("    HuffmanDC[%d]    = {", i);
        TwMemoryAnalyze(&pJpeg->HuffmanDC[i]);
    }
    for (int i = 0; i < 2; ++i) {
        Out("    HuffmanAC[%d]    = {", i);
        TwMemoryAnalyze(&pJpeg->HuffmanAC[i]);
    }
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwUint32(const void* pData) {
    // The data block of DAT_XFERGROUP is the 32-bit group mask, that of DAT_IMAGENATIVEXFER the
    // image handle; both begin with the 32-bit item shown here (for the handle, its low half on a
    // little-endian host). Exactly four bytes are read, without alignment assumptions. A null data
    // pointer still gives the block, with an item of zero.
    TW_UINT32 item = 0;
    if (pData != nullptr) memcpy(&item, pData, sizeof(item));
    Out("  TW_UINT32 = {%s", CRLF);
    Out("    Item = <0x%08x>%s", item, CRLF);
    Out("  }%s", CRLF);
    return true;
}
