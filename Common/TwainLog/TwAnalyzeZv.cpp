// Formatters of the maker's ZV extension structures: hardware information, image correction
// (auto exposure, RGB matrix, colour smoothing, unsharp mask) and position/frame data.
//
// Each formatter is one line per field, in the order of the structure, with the line's format as
// it appears in the log. A null structure pointer writes nothing. The structures belong to the
// application and the real data source: they are only read, and never past their own bytes.
#include <CoreFoundation/CoreFoundation.h>

#include <cstddef>
#include <cstring>

#include "FieldFormat.h"
#include "ParaAnalyze.h"
#include "twaintbl.h"

using twfmt::CRLF;

namespace {

// ProductName and ModelName: a length byte followed by the characters, in a 34-byte field.
constexpr size_t kNameField = sizeof(TWZV_HARDWAREINFO::ProductName);
constexpr size_t kNameMaxChars = kNameField - 1;  // 33 characters fit after the length byte
// The converted name is at most 127 bytes of text plus its NUL.
constexpr CFIndex kNameTextSize = 128;

// A length-prefixed name as text in the system's default encoding.
//
// The field is first copied into a Pascal string of our own whose length is clamped to the 33
// characters the field can hold, so a bad length byte never makes the conversion read past the
// field. When the platform cannot convert the name, the copied bytes are shown as they are.
class NameText {
public:
    explicit NameText(const TW_UINT8 (&field)[kNameField]) {
        unsigned char pstr[kNameField];
        const size_t nChars = field[0] < kNameMaxChars ? field[0] : kNameMaxChars;
        pstr[0] = static_cast<unsigned char>(nChars);
        memcpy(pstr + 1, field + 1, nChars);

        const CFStringEncoding encoding = CFStringGetSystemEncoding();
        bool bConverted = false;
        CFStringRef str = CFStringCreateWithPascalString(kCFAllocatorDefault, pstr, encoding);
        if (str != nullptr) {
            bConverted = CFStringGetCString(str, m_szText, kNameTextSize, encoding) != 0;
            CFRelease(str);
        }
        if (!bConverted) {
            memcpy(m_szText, pstr + 1, nChars);
            m_szText[nChars] = '\0';
        }
    }
    const char* c_str() const { return m_szText; }

private:
    char m_szText[kNameTextSize];
};
static_assert(kNameMaxChars < kNameTextSize, "an unconverted name must fit the text buffer");

// The stand-alone mode flag: its exact width inside its 8 bytes is unknown, so it counts as set
// when any of them is non-zero.
template <size_t N>
unsigned int AnyByteSet(const TW_UINT8 (&bytes)[N]) {
    unsigned int nSet = 0;
    for (size_t i = 0; i < N; ++i) nSet |= bytes[i];
    return nSet;
}

}  // namespace

// ---- Hardware information (DAT_ZV_HARDWAREINFO) -------------------------------------------------

bool CParaAnalyze::TwHardwareInfoAnalyze(const TWZV_HARDWAREINFO* pInfo) {
    if (pInfo == nullptr) return true;
    using twfmt::Truth;
    using twfmt::U32;

    // A colour matrix line: the label, the nine coefficients, then the closing bracket.
    const auto ColorLine = [this](const char* pszLabel, const TW_FIX32* pCoeff) {
        TW_OUT("%s", pszLabel);
        SetColorCoeffData(pCoeff);
        TW_OUT("]%s", CRLF);
    };

    TW_OUT("  TWZV_HARDWAREINFO = {%s", CRLF);
    TW_OUT("    ModelID                = [0x%02x]%s", pInfo->ModelID, CRLF);
    TW_OUT("    ProductName            = [%s]%s", NameText(pInfo->ProductName).c_str(), CRLF);
    TW_OUT("    ModelName              = [%s]%s", NameText(pInfo->ModelName).c_str(), CRLF);
    TW_OUT("    OptXResolution         = [%ld]%s", U32(pInfo->OptXResolution), CRLF);
    TW_OUT("    OptYResolution         = [%ld]%s", U32(pInfo->OptYResolution), CRLF);
    TW_OUT("    MinResolution          = [%ld]%s", U32(pInfo->MinResolution), CRLF);
    TW_OUT("    MaxResolution          = [%ld]%s", U32(pInfo->MaxResolution), CRLF);
    TW_OUT("    MaxMoireResolution     = [%ld]%s", U32(pInfo->MaxMoireResolution), CRLF);
    TW_OUT("    MaxPixelofWidth        = [%ld]%s", U32(pInfo->MaxPixelofWidth), CRLF);
    TW_OUT("    PixelSizeofFB[0]       = [%ld]%s", U32(pInfo->PixelSizeofFB[0]), CRLF);
    TW_OUT("    PixelSizeofFB[1]       = [%ld]%s", U32(pInfo->PixelSizeofFB[1]), CRLF);
    TW_OUT("    PixelSizeofADF[0]      = [%ld]%s", U32(pInfo->PixelSizeofADF[0]), CRLF);
    TW_OUT("    PixelSizeofADF[1]      = [%ld]%s", U32(pInfo->PixelSizeofADF[1]), CRLF);
    TW_OUT("    PixelSizeofTPU[0]      = [%ld]%s", U32(pInfo->PixelSizeofTPU[0]), CRLF);
    TW_OUT("    PixelSizeofTPU[1]      = [%ld]%s", U32(pInfo->PixelSizeofTPU[1]), CRLF);
    TW_OUT("    BitDepth               = [0x%02x]%s", pInfo->BitDepth, CRLF);
    TW_OUT("    InterfaceSupport       = [%d]%s", pInfo->InterfaceSupport, CRLF);
    TW_OUT("    CommandType            = [%ld]%s", U32(pInfo->CommandType), CRLF);
    TW_OUT("    ConnectInterfaceType   = [%ld]%s", U32(pInfo->ConnectInterfaceType), CRLF);
    TW_OUT("    StandAloneModeSupport  = [%s]%s", Truth(AnyByteSet(pInfo->StandAloneModeSupport)), CRLF);
    TW_OUT("    FullAutoModeSupport    = [%s]%s", Truth(pInfo->FullAutoModeSupport), CRLF);
    TW_OUT("    SimpleModeSupport      = [%s]%s", Truth(pInfo->SimpleModeSupport), CRLF);
    TW_OUT("    DocumentModeSupport    = [%s]%s", Truth(pInfo->DocumentModeSupport), CRLF);
    TW_OUT("    AdvancedModeSupport    = [%s]%s", Truth(pInfo->AdvancedModeSupport), CRLF);
    TW_OUT("    VRXSupport             = [%s]%s", Truth(pInfo->VRXSupport), CRLF);
    TW_OUT("    FIT3                   = [%s]%s", Truth(pInfo->FIT3), CRLF);
    TW_OUT("    AutoLayoutSupportFB    = [%s]%s", Truth(pInfo->AutoLayoutSupportFB), CRLF);
    TW_OUT("    AutoLayoutSupportADF   = [%s]%s", Truth(pInfo->AutoLayoutSupportADF), CRLF);
    TW_OUT("    HalftoneSupport        = [%s]%s", Truth(pInfo->HalftoneSupport), CRLF);
    TW_OUT("    HTModeSupport          = [%s]%s", Truth(pInfo->HTModeSupport), CRLF);
    TW_OUT("    HTDitherSupport        = [%s]%s", Truth(pInfo->HTDitherSupport), CRLF);
    TW_OUT("    HTKDWSupport           = [%s]%s", Truth(pInfo->HTKDWSupport), CRLF);
    TW_OUT("    HTJQNSupport           = [%s]%s", Truth(pInfo->HTJQNSupport), CRLF);
    TW_OUT("    TableArrangement       = [%d]%s", pInfo->TableArrangement, CRLF);
    TW_OUT("    OptionSupport          = [0x%04x]%s", static_cast<unsigned int>(pInfo->OptionSupport), CRLF);
    TW_OUT("    FocusSupport           = [%d]%s", pInfo->FocusSupport, CRLF);
    TW_OUT("    FocusArea[0]           = [%ld]%s", U32(pInfo->FocusArea[0]), CRLF);
    TW_OUT("    FocusArea[1]           = [%ld]%s", U32(pInfo->FocusArea[1]), CRLF);
    TW_OUT("    ProfileNameFB          = [%s]%s", twfmt::FieldText(pInfo->ProfileNameFB).c_str(), CRLF);
    TW_OUT("    ProfileNameTPU         = [%s]%s", twfmt::FieldText(pInfo->ProfileNameTPU).c_str(), CRLF);
    ColorLine("    ColorCorrectionFB      = [", pInfo->ColorCorrectionFB);
    ColorLine("    ColorCorrectionPOSI    = [", pInfo->ColorCorrectionPOSI);
    ColorLine("    ColorCorrectionNEGA    = [", pInfo->ColorCorrectionNEGA);
    ColorLine("    VRXColorCorrectionFB   = [", pInfo->VRXColorCorrectionFB);
    ColorLine("    VRXColorCorrectionPOSI = [", pInfo->VRXColorCorrectionPOSI);
    ColorLine("    VRXColorCorrectionNEGA = [", pInfo->VRXColorCorrectionNEGA);
    TW_OUT("    ROMVersion             = [%s]%s", twfmt::FieldText(pInfo->ROMVersion).c_str(), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

// A 3x3 colour matrix: nine fixed-point values separated by commas, no spaces, no line end.
void CParaAnalyze::SetColorCoeffData(const TW_FIX32* pCoeff) {
    constexpr int kCoeffs = 9;
    for (int i = 0; i < kCoeffs; ++i) {
        TW_OUT("%.3f%s", twfmt::Fix32(pCoeff[i]), i < kCoeffs - 1 ? "," : "");
    }
}

// ---- Image correction (DAT_ZV_AUTOEXPOSURE ... DAT_ZV_USMINFO) ---------------------------------

bool CParaAnalyze::TwZvAutoExposureAnalyze(const TWZV_AUTOEXPOSURE* pExposure) {
    if (pExposure == nullptr) return true;
    TW_OUT("  TWZV_AUTOEXPOSURE = {%s", CRLF);
    TW_OUT("    Handle       = <0x%08x>%s", pExposure->Handle, CRLF);
    TW_OUT("    Left         = [%d]%s", pExposure->Left, CRLF);
    TW_OUT("    Top          = [%d]%s", pExposure->Top, CRLF);
    TW_OUT("    Right        = [%d]%s", pExposure->Right, CRLF);
    TW_OUT("    Bottom       = [%d]%s", pExposure->Bottom, CRLF);
    TW_NAMED("    FilmType     = [%s]%s", twzv_ft_macros, pExposure->FilmType);
    TW_NAMED("    PreScanGamma = [%s]%s", twzv_pg_macros, pExposure->PreScanGamma);
    TW_OUT("    ScreenGamma  = [%.3f]%s", twfmt::Fix32(pExposure->ScreenGamma), CRLF);
    TW_OUT("    GrayBalance  = [%ld]%s", twfmt::U32(pExposure->GrayBalance), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvRgbMatrixAnalyze(const TWZV_RGBMATRIX* pMatrix) {
    if (pMatrix == nullptr) return true;
    TW_OUT("  TWZV_RGBMATRIX = {%s", CRLF);
    TW_OUT("%s", "    ColorCoeff = {");
    SetColorCoeffData(pMatrix->ColorCoeff);
    TW_OUT("}%s", CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvColorSmoothingAnalyze(const TWZV_COLORSMOOTHING* pSmoothing) {
    if (pSmoothing == nullptr) return true;
    using twfmt::U32;
    TW_OUT("  TWZV_COLORSMOOTHING = {%s", CRLF);
    TW_OUT("    Handle       = <0x%08x>%s", pSmoothing->Handle, CRLF);
    TW_OUT("    LeftX        = [%ld]%s", U32(pSmoothing->LeftX), CRLF);
    TW_OUT("    LeftY        = [%ld]%s", U32(pSmoothing->LeftY), CRLF);
    TW_OUT("    TopX         = [%ld]%s", U32(pSmoothing->TopX), CRLF);
    TW_OUT("    TopY         = [%ld]%s", U32(pSmoothing->TopY), CRLF);
    TW_OUT("    RightX       = [%ld]%s", U32(pSmoothing->RightX), CRLF);
    TW_OUT("    RightY       = [%ld]%s", U32(pSmoothing->RightY), CRLF);
    TW_OUT("    BottomX      = [%ld]%s", U32(pSmoothing->BottomX), CRLF);
    TW_OUT("    BottomY      = [%ld]%s", U32(pSmoothing->BottomY), CRLF);
    TW_OUT("    Reserved     = [%ld]%s", U32(pSmoothing->Reserved), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

// Four spaces before the name at every level: it is also the block of DAT_ZV_UNSHARPMASKPARAM.
bool CParaAnalyze::TwUnsharpMaskAnalyze(const TWZV_USMPARAM* pParam) {
    if (pParam == nullptr) return true;
    TW_OUT("    TWZV_USMPARAM = {%s", CRLF);
    TW_OUT("      Amount    = [%d]%s", pParam->Amount, CRLF);
    TW_OUT("      Radius    = [%d]%s", pParam->Radius, CRLF);
    TW_OUT("      Threshold = [%d]%s", pParam->Threshold, CRLF);
    TW_OUT("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvUsmInfoAnalyze(const TWZV_USMINFO* pInfo) {
    if (pInfo == nullptr) return true;
    TW_OUT("  TWZV_USMINFO = {%s", CRLF);
    TW_OUT("    InputResolution = [%d]%s", pInfo->InputResolution, CRLF);
    TW_OUT("    InUSMLevel      = [%d]%s", pInfo->InUSMLevel, CRLF);
    TW_OUT("    InFilmType      = [%d]%s", pInfo->InFilmType, CRLF);
    TW_OUT("    USMParm         = %s", CRLF);
    TwUnsharpMaskAnalyze(&pInfo->USMParm);
    TW_OUT("    ReviseParm      = %s", CRLF);
    TwZvReviseBaseParamAnalyze(&pInfo->ReviseParm);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvReviseBaseParamAnalyze(const TWZV_REVISEBASEPARM* pParam) {
    if (pParam == nullptr) return true;
    TW_OUT("    TWZV_REVISEBASEPARM = {%s", CRLF);
    TW_OUT("      InputRevise  = %s", CRLF);
    TwZvThresholdInfoAnalyze(&pParam->InputRevise);
    TW_OUT("      OutputRevise = %s", CRLF);
    TwZvThresholdInfoAnalyze(&pParam->OutputRevise);
    TW_OUT("      BlurMax      = [%d]%s", pParam->BlurMax, CRLF);
    TW_OUT("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvThresholdInfoAnalyze(const TWZV_THRESHOLDINFO* pInfo) {
    if (pInfo == nullptr) return true;
    TW_OUT("      TWZV_THRESHOLDINFO = {%s", CRLF);
    TW_OUT("        ShadowL    = [%d]%s", pInfo->ShadowL, CRLF);
    TW_OUT("        ShadowH    = [%d]%s", pInfo->ShadowH, CRLF);
    TW_OUT("        HighlightH = [%d]%s", pInfo->HighlightH, CRLF);
    TW_OUT("        HighlightL = [%d]%s", pInfo->HighlightL, CRLF);
    TW_OUT("      }%s", CRLF);
    return true;
}

// ---- Position and frame (DAT_ZV_SKEWINFO, DAT_ZV_SETTINGFRAME) ----------------------------------

bool CParaAnalyze::TwZvSkewInfoAnalyze(const TWZV_LOCATIONDATA* pLocation) {
    if (pLocation == nullptr) return true;
    using twfmt::U32;
    TW_OUT("  TWZV_LOCATIONDATA = {%s", CRLF);
    TW_OUT("    BitsPerPixel = [%d]%s", pLocation->BitsPerPixel, CRLF);
    TW_OUT("    topPoint     = [%ld]%s", U32(pLocation->topPoint), CRLF);
    TW_OUT("    leftPoint    = [%ld]%s", U32(pLocation->leftPoint), CRLF);
    TW_OUT("    locateW      = [%ld]%s", U32(pLocation->locateW), CRLF);
    TW_OUT("    locateH      = [%ld]%s", U32(pLocation->locateH), CRLF);
    TW_OUT("    ActualImgW   = [%ld]%s", U32(pLocation->ActualImgW), CRLF);
    TW_OUT("    ActualImgH   = [%ld]%s", U32(pLocation->ActualImgH), CRLF);
    TW_OUT("    xTangent     = [%ld]%s", U32(pLocation->xTangent), CRLF);
    TW_OUT("    yTangent     = [%ld]%s", U32(pLocation->yTangent), CRLF);
    TW_OUT("    Theta        = [%.3f]%s", twfmt::Fix32(pLocation->Theta), CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvSettingFrameAnalyze(const TWZV_SETTINGFRAME* pFrame) {
    if (pFrame == nullptr) return true;
    TW_OUT("  TWZV_SETTINGFRAME = {%s", CRLF);
    TW_OUT("    NumFrame    = [%d]%s", pFrame->NumFrame, CRLF);
    TW_OUT("    CurrentNum  = [%d]%s", pFrame->CurrentNum, CRLF);
    TW_OUT("  }%s", CRLF);
    return true;
}
