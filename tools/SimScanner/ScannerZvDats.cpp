// The simulated scanner's identity and the maker's extension DATs: hardware description, auto
// exposure, colour matrix, colour smoothing, unsharp mask, skew and frame settings.
#include <cmath>
#include <cstring>

#include "SimScanner.h"

namespace simscan {

namespace {

// A length-prefixed name: the first byte counts the characters that follow.
template <size_t N>
void CopyCounted(TW_UINT8 (&field)[N], const char* text) {
    const size_t n = strnlen(text, N - 1);
    memset(field, 0, N);
    field[0] = static_cast<TW_UINT8>(n);
    memcpy(field + 1, text, n);
}

void SetMatrix(TW_FIX32 (&matrix)[9], const double (&values)[9]) {
    for (int i = 0; i < 9; ++i) matrix[i] = ToFix32(values[i]);
}

// Colour corrections of the flatbed and the film unit (each row sums to 1).
const double kCorrectionFB[9] = {1.1563, -0.1094, -0.0469, -0.0625, 1.1250, -0.0625, -0.0156, -0.1406, 1.1562};
const double kCorrectionPosi[9] = {1.2031, -0.1563, -0.0468, -0.0938, 1.1875, -0.0937, -0.0313, -0.2031, 1.2344};
const double kCorrectionNega[9] = {1.0938, -0.0625, -0.0313, -0.0469, 1.0781, -0.0312, 0.0000, -0.0938, 1.0938};
const double kVrxCorrectionFB[9] = {1.1250, -0.0938, -0.0312, -0.0469, 1.0938, -0.0469, -0.0156, -0.1094, 1.1250};
const double kVrxCorrectionPosi[9] = {1.1719, -0.1406, -0.0313, -0.0781, 1.1563, -0.0782, -0.0313, -0.1719, 1.2032};
const double kVrxCorrectionNega[9] = {1.0625, -0.0469, -0.0156, -0.0313, 1.0469, -0.0156, 0.0000, -0.0781, 1.0781};

}  // namespace

TW_IDENTITY ScannerIdentity() {
    // The Id is given by the manager at MSG_OPENDS.
    return Identity(0, TW_VERSION{2, 3, TWLG_ENGLISH_USA, TWCY_USA, "2.3.0 Jun 12 2024"}, "ZORVA", "Zorva Scan",
                    "Zorva Scan 2");
}

TWZV_HARDWAREINFO ScannerHardwareInfo() {
    TWZV_HARDWAREINFO info = {};
    info.ModelID = 0x0000B70A;
    CopyCounted(info.ProductName, "Zorva Scan 2");
    CopyCounted(info.ModelName, "ZV-F3200");
    info.OptXResolution = 3200;
    info.OptYResolution = 6400;
    info.MinResolution = 50;
    info.MaxResolution = 12800;
    info.MaxMoireResolution = 1200;
    info.MaxPixelofWidth = 27200;      // 8.5 inches at 3200 dpi
    info.PixelSizeofFB[0] = 27200;     // 8.5 x 11.7 inches
    info.PixelSizeofFB[1] = 37440;
    info.PixelSizeofADF[0] = 0;        // no document feeder
    info.PixelSizeofADF[1] = 0;
    info.PixelSizeofTPU[0] = 4800;     // 1.5 x 4.5 inches of film
    info.PixelSizeofTPU[1] = 14400;
    info.BitDepth = 0x30;              // 48-bit colour input
    info.InterfaceSupport = 0x0003;    // USB and FireWire
    info.CommandType = 2;
    info.ConnectInterfaceType = 1;     // connected by USB
    info.FullAutoModeSupport = 1;
    info.SimpleModeSupport = 1;
    info.DocumentModeSupport = 1;
    info.AdvancedModeSupport = 1;
    info.VRXSupport = 0;
    info.FIT3 = 0;
    info.AutoLayoutSupportFB = 1;
    info.AutoLayoutSupportADF = 0;
    info.HalftoneSupport = 1;
    info.HTModeSupport = 1;
    info.HTDitherSupport = 1;
    info.HTKDWSupport = 0;
    info.HTJQNSupport = 0;
    info.TableArrangement = 0;
    info.OptionSupport = 0x0001;       // the film unit is fitted
    info.FocusSupport = 1;
    info.FocusArea[0] = 0;
    info.FocusArea[1] = 250;           // 2.5 mm above the glass
    CopyText(info.ProfileNameFB, "ZORVA ZV-F3200 Reflective");
    CopyText(info.ProfileNameTPU, "ZORVA ZV-F3200 Film");
    SetMatrix(info.ColorCorrectionFB, kCorrectionFB);
    SetMatrix(info.ColorCorrectionPOSI, kCorrectionPosi);
    SetMatrix(info.ColorCorrectionNEGA, kCorrectionNega);
    SetMatrix(info.VRXColorCorrectionFB, kVrxCorrectionFB);
    SetMatrix(info.VRXColorCorrectionPOSI, kVrxCorrectionPosi);
    SetMatrix(info.VRXColorCorrectionNEGA, kVrxCorrectionNega);
    CopyText(info.ROMVersion, "1.04 (2023-10-17)");
    return info;
}

TWZV_AUTOEXPOSURE DefaultAutoExposure() {
    TWZV_AUTOEXPOSURE exposure = {};
    exposure.Handle = 0;
    exposure.Left = 0;
    exposure.Top = 0;
    exposure.Right = 2550;  // the whole glass at 300 dpi
    exposure.Bottom = 3510;
    exposure.FilmType = TWZV_FT_REFLECTIVE;
    exposure.PreScanGamma = TWZV_PG_18;
    exposure.ScreenGamma = ToFix32(2.2);
    exposure.GrayBalance = 0;
    return exposure;
}

TWZV_RGBMATRIX DefaultRgbMatrix() {
    TWZV_RGBMATRIX matrix = {};
    SetMatrix(matrix.ColorCoeff, kCorrectionFB);
    return matrix;
}

TWZV_COLORSMOOTHING DefaultColorSmoothing() {
    TWZV_COLORSMOOTHING smoothing = {};
    smoothing.Handle = 0;
    smoothing.LeftX = 0;
    smoothing.LeftY = 128;
    smoothing.TopX = 128;
    smoothing.TopY = 255;
    smoothing.RightX = 255;
    smoothing.RightY = 128;
    smoothing.BottomX = 128;
    smoothing.BottomY = 0;
    smoothing.Reserved = 0;
    return smoothing;
}

TWZV_USMPARAM DefaultUnsharpMask() { return TWZV_USMPARAM{110, 2, 4}; }

// ---- The maker's DATs --------------------------------------------------------------------------

TW_UINT16 CSimScanner::DatZvHardwareInfo(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    if (pData == nullptr) return Fail(TWCC_BADVALUE);
    *reinterpret_cast<TWZV_HARDWAREINFO*>(pData) = ScannerHardwareInfo();
    return TWRC_SUCCESS;
}

TW_UINT16 CSimScanner::DatZvAutoExposure(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    return WholeSetting(MSG, pData, &m_autoExposure, DefaultAutoExposure());
}

TW_UINT16 CSimScanner::DatZvRgbMatrix(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    return WholeSetting(MSG, pData, &m_rgbMatrix, DefaultRgbMatrix());
}

TW_UINT16 CSimScanner::DatZvColorSmoothing(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    return WholeSetting(MSG, pData, &m_colorSmoothing, DefaultColorSmoothing());
}

TW_UINT16 CSimScanner::DatZvUnsharpMaskParam(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    return WholeSetting(MSG, pData, &m_unsharpMask, DefaultUnsharpMask());
}

TW_UINT16 CSimScanner::DatZvUsmInfo(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    TWZV_USMINFO* pInfo = reinterpret_cast<TWZV_USMINFO*>(pData);
    if (pInfo == nullptr) return Fail(TWCC_BADVALUE);
    // The unsharp mask as it applies at the current resolution and film type.
    *pInfo = TWZV_USMINFO();
    pInfo->InputResolution = static_cast<TW_UINT16>(std::lround(m_caps.CurrentFix32(ICAP_XRESOLUTION)));
    pInfo->InUSMLevel = 1;  // medium
    pInfo->InFilmType = m_caps.CurrentUint16(ICAP_ZV_FILMTYPE);
    pInfo->USMParm = m_unsharpMask;
    pInfo->ReviseParm.InputRevise = TWZV_THRESHOLDINFO{0, 8, 255, 247};
    pInfo->ReviseParm.OutputRevise = TWZV_THRESHOLDINFO{0, 4, 255, 251};
    pInfo->ReviseParm.BlurMax = 3;
    return TWRC_SUCCESS;
}

TW_UINT16 CSimScanner::DatZvSkewInfo(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    TWZV_LOCATIONDATA* pLocation = reinterpret_cast<TWZV_LOCATIONDATA*>(pData);
    if (pLocation == nullptr) return Fail(TWCC_BADVALUE);
    if (!m_bHaveScanned) return Fail(TWCC_SEQERROR);
    // Where the document lies on the last page scanned: a margin around it and a slight
    // clockwise skew (tangent 9/1000).
    *pLocation = TWZV_LOCATIONDATA();
    pLocation->BitsPerPixel = m_page.bitsPerPixel;
    pLocation->topPoint = 12;
    pLocation->leftPoint = 8;
    pLocation->locateW = m_page.width > 16 ? static_cast<TW_UINT32>(m_page.width - 16) : 0;
    pLocation->locateH = m_page.length > 24 ? static_cast<TW_UINT32>(m_page.length - 24) : 0;
    pLocation->ActualImgW = static_cast<TW_UINT32>(m_page.width);
    pLocation->ActualImgH = static_cast<TW_UINT32>(m_page.length);
    pLocation->xTangent = 1000;
    pLocation->yTangent = 9;
    pLocation->Theta = ToFix32(std::atan2(9.0, 1000.0) * 180.0 / 3.14159265358979323846);
    return TWRC_SUCCESS;
}

TW_UINT16 CSimScanner::DatZvSettingFrame(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    TWZV_SETTINGFRAME* pFrame = reinterpret_cast<TWZV_SETTINGFRAME*>(pData);
    if (pFrame == nullptr) return Fail(TWCC_BADVALUE);
    switch (MSG) {
        case MSG_GET:
            *pFrame = m_settingFrame;
            return TWRC_SUCCESS;
        case MSG_SET:
            // The number of frames is the scanner's; the application picks one of them.
            if (!Negotiable()) return Fail(TWCC_SEQERROR);
            if (pFrame->CurrentNum < 1 || pFrame->CurrentNum > m_settingFrame.NumFrame) return Fail(TWCC_BADVALUE);
            m_settingFrame.CurrentNum = pFrame->CurrentNum;
            return TWRC_SUCCESS;
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

}  // namespace simscan
