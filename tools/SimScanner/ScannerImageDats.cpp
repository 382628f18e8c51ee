// The simulated scanner's image DATs: the page description, its layout, the three transfer
// mechanisms, and the compression, colour and tone settings.
#include <CoreServices/CoreServices.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "HostMemory.h"
#include "SimScanner.h"

namespace simscan {

namespace {

// The standard JPEG quantisation tables (luminance and chrominance, in natural order) and DC
// Huffman tables (16 code-length counts, then the symbols); the scanner's AC tables are the
// standard ones too, which JPEG lets a source leave out (null memory).
const TW_UINT16 kLuminanceQuant[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,  14, 13, 16, 24, 40,  57,
    69, 56, 14, 17, 22,  29,  51,  87,  80, 62, 18, 22, 37,  56,  68,  109, 103, 77, 24, 35, 55,  64,
    81, 104, 113, 92, 49, 64, 78,  87,  103, 121, 120, 101, 72, 92, 95, 98,  112, 100, 103, 99};
const TW_UINT16 kChrominanceQuant[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
const TW_UINT8 kLuminanceDc[28] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0,
                                   0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
const TW_UINT8 kChrominanceDc[28] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0,
                                     0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// A table the scanner owns, described for the application.
TW_MEMORY ScannerTable(const void* pTable, size_t nBytes) {
    TW_MEMORY memory;
    memory.Flags = TWMF_DSOWNS | TWMF_POINTER;
    memory.Length = static_cast<TW_UINT32>(nBytes);
    memory.TheMem = const_cast<char*>(static_cast<const char*>(pTable));
    return memory;
}

TW_DECODEFUNCTION Decode(double breakIn, double breakOut, double gamma) {
    TW_DECODEFUNCTION decode;
    decode.StartIn = ToFix32(0);
    decode.BreakIn = ToFix32(breakIn);
    decode.EndIn = ToFix32(1);
    decode.StartOut = ToFix32(0);
    decode.BreakOut = ToFix32(breakOut);
    decode.EndOut = ToFix32(1);
    decode.Gamma = ToFix32(gamma);
    decode.SampleCount = ToFix32(0);
    return decode;
}

TW_CIEPOINT Point(double x, double y, double z) { return TW_CIEPOINT{ToFix32(x), ToFix32(y), ToFix32(z)}; }

void SetMix(TW_TRANSFORMSTAGE* pStage, const double (&mix)[3][3]) {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) pStage->Mix[i][j] = ToFix32(mix[i][j]);
    }
}

}  // namespace

TW_JPEGCOMPRESSION DefaultJpegCompression() {
    TW_JPEGCOMPRESSION jpeg = {};
    jpeg.ColorSpace = TWPT_RGB;
    jpeg.SubSampling = 0x10110000;  // 2:1:1 chroma subsampling
    jpeg.NumComponents = 3;
    jpeg.RestartFrequency = 0;
    const TW_UINT16 kMap[4] = {0, 1, 1, 0};
    memcpy(jpeg.QuantMap, kMap, sizeof kMap);
    memcpy(jpeg.HuffmanMap, kMap, sizeof kMap);
    jpeg.QuantTable[0] = ScannerTable(kLuminanceQuant, sizeof kLuminanceQuant);
    jpeg.QuantTable[1] = ScannerTable(kChrominanceQuant, sizeof kChrominanceQuant);
    jpeg.HuffmanDC[0] = ScannerTable(kLuminanceDc, sizeof kLuminanceDc);
    jpeg.HuffmanDC[1] = ScannerTable(kChrominanceDc, sizeof kChrominanceDc);
    return jpeg;
}

TW_CIECOLOR ScannerCieColor() {
    // The scanner's RGB is sRGB: a gamma-2.4 curve with a linear toe, then the sRGB primaries
    // to CIE XYZ under a D65 white.
    TW_CIECOLOR cie = {};
    cie.ColorSpace = TWPT_RGB;
    cie.LowEndian = 0;
    cie.DeviceDependent = 1;
    cie.VersionNumber = 1;
    const double kToXyz[3][3] = {{0.4124, 0.3576, 0.1805}, {0.2126, 0.7152, 0.0722}, {0.0193, 0.1192, 0.9505}};
    const double kIdentity[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int i = 0; i < 3; ++i) {
        cie.StageABC.Decode[i] = Decode(0.04045, 0.0031308, 2.4);
        cie.StageLMN.Decode[i] = Decode(0, 0, 1);
    }
    SetMix(&cie.StageABC, kToXyz);
    SetMix(&cie.StageLMN, kIdentity);
    cie.WhitePoint = Point(0.9505, 1.0, 1.089);
    cie.BlackPoint = Point(0, 0, 0);
    cie.WhitePaper = Point(0.9505, 1.0, 1.089);
    cie.BlackInk = Point(0.0019, 0.002, 0.0022);
    cie.Samples[0] = ToFix32(0);
    return cie;
}

TW_PALETTE8 DefaultPalette() {
    TW_PALETTE8 palette = {};
    palette.NumColors = 256;
    palette.PaletteType = TWPA_GRAY;
    for (int i = 0; i < 256; ++i) {
        const TW_UINT8 level = static_cast<TW_UINT8>(i);
        palette.Colors[i] = TW_ELEMENT8{level, level, level, level};
    }
    return palette;
}

// ---- Page description --------------------------------------------------------------------------

TW_UINT16 CSimScanner::DatImageInfo(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    TW_IMAGEINFO* pInfo = reinterpret_cast<TW_IMAGEINFO*>(pData);
    if (pInfo == nullptr) return Fail(TWCC_BADVALUE);
    if (m_session < Session::PageReady) return Fail(TWCC_SEQERROR);
    *pInfo = TW_IMAGEINFO();
    pInfo->XResolution = ToFix32(m_page.xResolution);
    pInfo->YResolution = ToFix32(m_page.yResolution);
    pInfo->ImageWidth = m_page.width;
    pInfo->ImageLength = m_page.length;
    pInfo->SamplesPerPixel = m_page.samplesPerPixel;
    for (int i = 0; i < m_page.samplesPerPixel; ++i) pInfo->BitsPerSample[i] = m_page.bitsPerSample;
    pInfo->BitsPerPixel = m_page.bitsPerPixel;
    pInfo->Planar = 0;
    pInfo->PixelType = static_cast<TW_INT16>(m_page.pixelType);
    pInfo->Compression = TWCP_NONE;
    return TWRC_SUCCESS;
}

TW_UINT16 CSimScanner::DatImageLayout(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    TW_IMAGELAYOUT* pLayout = reinterpret_cast<TW_IMAGELAYOUT*>(pData);
    if (pLayout == nullptr) return Fail(TWCC_BADVALUE);
    switch (MSG) {
        case MSG_GET:
        case MSG_GETDEFAULT:
        case MSG_RESET: {
            if (MSG == MSG_RESET) {
                if (!Negotiable()) return Fail(TWCC_SEQERROR);
                m_caps.ResetFrame();
            }
            TW_FRAME frame = m_session >= Session::Enabled ? m_page.frame : m_caps.CurrentFrame();
            if (MSG == MSG_GETDEFAULT) {
                const CapValue defaultFrame = m_caps.Find(ICAP_FRAMES)->defaultValue;
                memcpy(&frame, defaultFrame.bytes.data(), sizeof frame);
            }
            pLayout->Frame = frame;
            pLayout->DocumentNumber = m_nDocumentNumber;
            pLayout->PageNumber = m_nPageNumber;
            pLayout->FrameNumber = 1;
            return TWRC_SUCCESS;
        }
        case MSG_SET:
            if (!Negotiable()) return Fail(TWCC_SEQERROR);
            if (!m_caps.SetCurrentFrame(pLayout->Frame)) return Fail(TWCC_BADVALUE);
            if (pLayout->DocumentNumber != 0) m_nDocumentNumber = pLayout->DocumentNumber;
            if (pLayout->PageNumber != 0) m_nPageNumber = pLayout->PageNumber;
            return TWRC_SUCCESS;
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

// ---- Transfers ---------------------------------------------------------------------------------

TW_UINT16 CSimScanner::DatImageMemXfer(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    TW_IMAGEMEMXFER* pXfer = reinterpret_cast<TW_IMAGEMEMXFER*>(pData);
    if (pXfer == nullptr || pXfer->Memory.TheMem == nullptr) return Fail(TWCC_BADVALUE);
    if (m_session < Session::PageReady || m_bPageDone || m_caps.CurrentUint16(ICAP_XFERMECH) != TWSX_MEMORY) {
        return Fail(TWCC_SEQERROR);
    }

    // The application's buffer: a pointer, or a handle to lock.
    unsigned char* pDest = reinterpret_cast<unsigned char*>(pXfer->Memory.TheMem);
    size_t nRoom = pXfer->Memory.Length;
    Handle hBuffer = nullptr;
    if ((pXfer->Memory.Flags & TWMF_HANDLE) != 0) {
        hBuffer = reinterpret_cast<Handle>(pXfer->Memory.TheMem);
        HLock(hBuffer);
        pDest = reinterpret_cast<unsigned char*>(*hBuffer);
        nRoom = std::min(nRoom, static_cast<size_t>(GetHandleSize(hBuffer)));
    }
    // As many whole rows as fit.
    const TW_UINT32 nRows =
        static_cast<TW_UINT32>(std::min<size_t>(nRoom / m_page.bytesPerRow, m_page.length - m_nNextRow));
    if (nRows == 0 || pDest == nullptr) {
        if (hBuffer != nullptr) HUnlock(hBuffer);
        return Fail(TWCC_BADVALUE);
    }
    RenderRows(m_page, m_nNextRow, nRows, pDest);
    if (hBuffer != nullptr) HUnlock(hBuffer);

    pXfer->Compression = TWCP_NONE;
    pXfer->BytesPerRow = m_page.bytesPerRow;
    pXfer->Columns = static_cast<TW_UINT32>(m_page.width);
    pXfer->Rows = nRows;
    pXfer->XOffset = 0;
    pXfer->YOffset = m_nNextRow;
    pXfer->BytesWritten = nRows * m_page.bytesPerRow;
    m_nNextRow += nRows;
    m_session = Session::Transferring;
    if (m_nNextRow < static_cast<TW_UINT32>(m_page.length)) return TWRC_SUCCESS;
    m_bPageDone = true;
    m_bHaveScanned = true;
    return TWRC_XFERDONE;
}

TW_UINT16 CSimScanner::DatImageNativeXfer(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    TW_HANDLE* phImage = reinterpret_cast<TW_HANDLE*>(pData);
    if (phImage == nullptr) return Fail(TWCC_BADVALUE);
    if (m_session != Session::PageReady || m_caps.CurrentUint16(ICAP_XFERMECH) != TWSX_NATIVE) {
        return Fail(TWCC_SEQERROR);
    }
    if (m_page.ImageBytes() > kMaxEncodedBytes) return Fail(TWCC_LOWMEMORY);

    // The page as a bitmap in a handle the application frees.
    const std::string bitmap = EncodeBitmap(m_page, false);
    Handle h = hostmem::NewHandle(bitmap.size());
    if (h == nullptr) return Fail(TWCC_LOWMEMORY);
    HLock(h);
    memcpy(*h, bitmap.data(), bitmap.size());
    HUnlock(h);
    *phImage = h;
    m_session = Session::Transferring;
    m_bPageDone = true;
    m_bHaveScanned = true;
    return TWRC_XFERDONE;
}

TW_UINT16 CSimScanner::DatImageFileXfer(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    if (m_session != Session::PageReady || m_caps.CurrentUint16(ICAP_XFERMECH) != TWSX_FILE) {
        return Fail(TWCC_SEQERROR);
    }
    if (m_page.ImageBytes() > kMaxEncodedBytes) return Fail(TWCC_LOWMEMORY);

    const std::string bitmap = EncodeBitmap(m_page, true);
    FILE* pFile = fopen(m_setupFile.FileName, "wb");
    if (pFile == nullptr) return Fail(TWCC_OPERATIONERROR);
    const bool bWritten = fwrite(bitmap.data(), 1, bitmap.size(), pFile) == bitmap.size();
    const bool bClosed = fclose(pFile) == 0;
    if (!bWritten || !bClosed) return Fail(TWCC_OPERATIONERROR);
    m_session = Session::Transferring;
    m_bPageDone = true;
    m_bHaveScanned = true;
    return TWRC_XFERDONE;
}

// ---- Compression, colour and tone --------------------------------------------------------------

TW_UINT16 CSimScanner::DatJpegCompression(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    return WholeSetting(MSG, pData, &m_jpeg, DefaultJpegCompression(),
                        [](const TW_JPEGCOMPRESSION& proposed, TW_JPEGCOMPRESSION* pTaken) {
                            // Grey (one component) or RGB (three); the scanner keeps its own tables.
                            const bool bGray = proposed.ColorSpace == TWPT_GRAY && proposed.NumComponents == 1;
                            const bool bRgb = proposed.ColorSpace == TWPT_RGB && proposed.NumComponents == 3;
                            if (!bGray && !bRgb) return false;
                            pTaken->ColorSpace = proposed.ColorSpace;
                            pTaken->SubSampling = proposed.SubSampling;
                            pTaken->NumComponents = proposed.NumComponents;
                            pTaken->RestartFrequency = proposed.RestartFrequency;
                            memcpy(pTaken->QuantMap, proposed.QuantMap, sizeof pTaken->QuantMap);
                            memcpy(pTaken->HuffmanMap, proposed.HuffmanMap, sizeof pTaken->HuffmanMap);
                            return true;
                        });
}

TW_UINT16 CSimScanner::DatCieColor(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    TW_CIECOLOR* pCie = reinterpret_cast<TW_CIECOLOR*>(pData);
    if (pCie == nullptr) return Fail(TWCC_BADVALUE);
    *pCie = ScannerCieColor();
    return TWRC_SUCCESS;
}

namespace {

// Response curves: the application passes one entry per level (256); MSG_RESET returns the
// scanner to its identity curve.
TW_UINT16 Response(TW_UINT16 MSG, const TW_ELEMENT8* pEntries, std::vector<TW_ELEMENT8>* pCurve) {
    if (MSG == MSG_SET) {
        pCurve->assign(pEntries, pEntries + kResponseEntries);
    } else {
        pCurve->clear();
    }
    return TWRC_SUCCESS;
}

}  // namespace

TW_UINT16 CSimScanner::DatGrayResponse(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_SET && MSG != MSG_RESET) return Fail(TWCC_BADPROTOCOL);
    if (pData == nullptr) return Fail(TWCC_BADVALUE);
    if (!Negotiable()) return Fail(TWCC_SEQERROR);
    return Response(MSG, reinterpret_cast<const TW_GRAYRESPONSE*>(pData)->Response, &m_grayResponse);
}

TW_UINT16 CSimScanner::DatRgbResponse(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_SET && MSG != MSG_RESET) return Fail(TWCC_BADPROTOCOL);
    if (pData == nullptr) return Fail(TWCC_BADVALUE);
    if (!Negotiable()) return Fail(TWCC_SEQERROR);
    return Response(MSG, reinterpret_cast<const TW_RGBRESPONSE*>(pData)->Response, &m_rgbResponse);
}

TW_UINT16 CSimScanner::DatPalette8(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    return WholeSetting(MSG, pData, &m_palette, DefaultPalette(),
                        [](const TW_PALETTE8& proposed, TW_PALETTE8* pTaken) {
                            if (proposed.NumColors == 0 || proposed.NumColors > 256 || proposed.PaletteType > 2) {
                                return false;
                            }
                            *pTaken = proposed;
                            return true;
                        });
}

TW_UINT16 CSimScanner::DatExtImageInfo(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    TW_EXTIMAGEINFO* pExt = reinterpret_cast<TW_EXTIMAGEINFO*>(pData);
    if (pExt == nullptr || pExt->NumInfos == 0 || pExt->NumInfos > 100) return Fail(TWCC_BADVALUE);
    if (m_session != Session::Transferring) return Fail(TWCC_SEQERROR);
    // The application names the attributes it asks for; the scanner knows the page's numbers.
    TW_INFO* pInfo = pExt->Info;
    for (TW_UINT32 i = 0; i < pExt->NumInfos; ++i) {
        TW_INFO& info = pInfo[i];
        if (info.InfoID == TWEI_DOCUMENTNUMBER || info.InfoID == TWEI_PAGENUMBER) {
            info.ItemType = TWTY_UINT32;
            info.NumItems = 1;
            info.CondCode = TWRC_SUCCESS;
            info.Item = info.InfoID == TWEI_DOCUMENTNUMBER ? m_nDocumentNumber : m_nPageNumber;
        } else {
            info.ItemType = 0;
            info.NumItems = 0;
            info.CondCode = TWRC_INFONOTSUPPORTED;
            info.Item = 0;
        }
    }
    return TWRC_SUCCESS;
}

}  // namespace simscan
