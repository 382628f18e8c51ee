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
        Out("%s", pszLabel);
        SetColorCoeffData(pCoeff);
        Out("]%s", CRLF);
    };

    Out("  TWZV_HARDWAREINFO = {%s", CRLF);
    Out("    ModelID                = [0x%02x]%s", pInfo->ModelID, CRLF);
    Out("    ProductName            = [%s]%s", NameText(pInfo->ProductName).c_str(), CRLF);
    Out("    ModelName              = [%s]%s", NameText(pInfo->ModelName).c_str(), CRLF);
    Out("    OptXResolution         = [%ld]%s", U32(pInfo->OptXResolution), CRLF);
    Out("    OptYResolution         = [%ld]%s", U32(pInfo->OptYResolution), CRLF);
    Out("    MinResolution          = [%ld]%s", U32(pInfo->MinResolution), CRLF);
    Out("    MaxResolution          = [%ld]%s", U32(pInfo->MaxResolution), CRLF);
    Out("    MaxMoireResolution     = [%ld]%s", U32(pInfo->MaxMoireResolution), CRLF);
    Out("    MaxPixelofWidth        = [%ld]%s", U32(pInfo->MaxPixelofWidth), CRLF);
    Out("    PixelSizeofFB[0]       = [%ld]%s", U32(pInfo->PixelSizeofFB[0]), CRLF);
    Out("    PixelSizeofFB[1]       = [%ld]%s", U32(pInfo->PixelSizeofFB[1]), CRLF);
    Out("    PixelSizeofADF[0]      = [%ld]%s", U32(pInfo->PixelSizeofADF[0]), CRLF);
    Out("    PixelSizeofADF[1]      = [%ld]%s", U32(pInfo->PixelSizeofADF[1]), CRLF);
    Out("    PixelSizeofTPU[0]      = [%ld]%s", U32(pInfo->PixelSizeofTPU[0]), CRLF);
    Out("    PixelSizeofTPU[1]      = [%ld]%s", U32(pInfo->PixelSizeofTPU[1]), CRLF);
    Out("    BitDepth               = [0x%02x]%s", pInfo->BitDepth, CRLF);
    Out("    InterfaceSupport       = [%d]%s", pInfo->InterfaceSupport, CRLF);
    Out("    CommandType            = [%ld]%s", U32(pInfo->CommandType), CRLF);
    Out("    ConnectInterfaceType   = [%ld]%s", U32(pInfo->ConnectInterfaceType), CRLF);
    Out("    StandAloneModeSupport  = [%s]%s", Truth(AnyByteSet(pInfo->StandAloneModeSupport)), CRLF);
    Out("    FullAutoModeSupport    = [%s]%s", Truth(pInfo->FullAutoModeSupport), CRLF);
    Out("    SimpleModeSupport      = [%s]%s", Truth(pInfo->SimpleModeSupport), CRLF);
    Out("    DocumentModeSupport    = [%s]%s", Truth(pInfo->DocumentModeSupport), CRLF);
    Out("    AdvancedModeSupport    = [%s]%s", Truth(pInfo->AdvancedModeSupport), CRLF);
    Out("    VRXSupport             = [%s]%s", Truth(pInfo->VRXSupport), CRLF);
    Out("    FIT3                   = [%s]%s", Truth(pInfo->FIT3), CRLF);
    Out("    AutoLayoutSupportFB    = [%s]%s", Truth(pInfo->AutoLayoutSupportFB), CRLF);
    Out("    AutoLayoutSupportADF   = [%s]%s", Truth(pInfo->AutoLayoutSupportADF), CRLF);
    Out("    HalftoneSupport        = [%s]%s", Truth(pInfo->HalftoneSupport), CRLF);
    Out("    HTModeSupport          = [%s]%s", Truth(pInfo->HTModeSupport), CRLF);
    Out("    HTDitherSupport        = [%s]%s", Truth(pInfo->HTDitherSupport), CRLF);
    Out("    HTKDWSupport           = [%s]%s", Truth(pInfo->HTKDWSupport), CRLF);
    Out("    HTJQNSupport           = [%s]%s", Truth(pInfo->HTJQNSupport), CRLF);
    Out("    TableArrangement       = [%d]%s", pInfo->TableArrangement, CRLF);
    Out("    OptionSupport          = [0x%04x]%s", static_cast<unsigned int>(pInfo->OptionSupport), CRLF);
    Out("    FocusSupport           = [%d]%s", pInfo->FocusSupport, CRLF);
    Out("    FocusArea[0]           = [%ld]%s", U32(pInfo->FocusArea[0]), CRLF);
    Out("    FocusArea[1]           = [%ld]%s", U32(pInfo->FocusArea[1]), CRLF);
    Out("    ProfileNameFB          = [%s]%s", twfmt::FieldText(pInfo->ProfileNameFB).c_str(), CRLF);
    Out("    ProfileNameTPU         = [%s]%s", twfmt::FieldText(pInfo->ProfileNameTPU).c_str(), CRLF);
    ColorLine("    ColorCorrectionFB      = [", pInfo->ColorCorrectionFB);
    ColorLine("    ColorCorrectionPOSI    = [", pInfo->ColorCorrectionPOSI);
    ColorLine("    ColorCorrectionNEGA    = [", pInfo->ColorCorrectionNEGA);
    ColorLine("    VRXColorCorrectionFB   = [", pInfo->VRXColorCorrectionFB);
    ColorLine("    VRXColorCorrectionPOSI = [", pInfo->VRXColorCorrectionPOSI);
    ColorLine("    VRXColorCorrectionNEGA = [", pInfo->VRXColorCorrectionNEGA);
    Out("    ROMVersion             = [%s]%s", twfmt::FieldText(pInfo->ROMVersion).c_str(), CRLF);
    Out("  }%s", CRLF);
    return true;
}

// A 3x3 colour matrix: nine fixed-point values separated by commas, no spaces, no line end.
void CParaAnalyze::SetColorCoeffData(const TW_FIX32* pCoeff) {
    constexpr int kCoeffs = 9;
    for (int i = 0; i < kCoeffs; ++i) {
        Out("%.3f%s", twfmt::Fix32(pCoeff[i]), i < kCoeffs - 1 ? "," : "");
    }
}

// ---- Image correction (DAT_ZV_AUTOEXPOSURE ... DAT_ZV_USMINFO) ---------------------------------

bool CParaAnalyze::TwZvAutoExposureAnalyze(const TWZV_AUTOEXPOSURE* pExposure) {
    if (pExposure == nullptr) return true;
    Out("  TWZV_AUTOEXPOSURE = {%s", CRLF);
    Out("    Handle       = <0x%08x>%s", pExposure->Handle, CRLF);
    Out("    Left         = [%d]%s", pExposure->Left, CRLF);
    Out("    Top          = [%d]%s", pExposure->Top, CRLF);
    Out("    Right        = [%d]%s", pExposure->Right, CRLF);
    Out("    Bottom       = [%d]%s", pExposure->Bottom, CRLF);
    LookupMacroName(twzv_ft_macros, pExposure->FilmType, m_szName);
    Out("    FilmType     = [%s]%s", m_szName, CRLF);
    LookupMacroName(twzv_pg_macros, pExposure->PreScanGamma, m_szName);
    Out("    PreScanGamma = [%s]%s", m_szName, CRLF);
    Out("    ScreenGamma  = [%.3f]%s", twfmt::Fix32(pExposure->ScreenGamma), CRLF);
    Out("    GrayBalance  = [%ld]%s", twfmt::U32(pExposure->GrayBalance), CRLF);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvRgbMatrixAnalyze(const TWZV_RGBMATRIX* pMatrix) {
    if (pMatrix == nullptr) return true;
    Out("  TWZV_RGBMATRIX = {%s", CRLF);
    Out("%s", "    ColorCoeff = {");
    SetColorCoeffData(pMatrix->ColorCoeff);
    Out("}%s", CRLF);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvColorSmoothingAnalyze(const TWZV_COLORSMOOTHING* pSmoothing) {
    if (pSmoothing == nullptr) return true;
    using twfmt::U32;
    Out("  TWZV_COLORSMOOTHING = {%s", CRLF);
    Out("    Handle       = <0x%08x>%s", pSmoothing->Handle, CRLF);
    Out("    LeftX        = [%ld]%s", U32(pSmoothing->LeftX), CRLF);
    Out("    LeftY        = [%ld]%s", U32(pSmoothing->LeftY), CRLF);
    Out("    TopX         = [%ld]%s", U32(pSmoothing->TopX), CRLF);
    Out("    TopY         = [%ld]%s", U32(pSmoothing->TopY), CRLF);
    Out("    RightX       = [%ld]%s", U32(pSmoothing->RightX), CRLF);
    Out("    RightY       = [%ld]%s", U32(pSmoothing->RightY), CRLF);
    Out("    BottomX      = [%ld]%s", U32(pSmoothing->BottomX), CRLF);
    Out("    BottomY      = [%ld]%s", U32(pSmoothing->BottomY), CRLF);
    Out("    Reserved     = [%ld]%s", U32(pSmoothing->Reserved), CRLF);
    Out("  }%s", CRLF);
    return true;
}

// Four spaces before the name at every level: it is also the block of DAT_ZV_UNSHARPMASKPARAM.
bool CParaAnalyze::TwUnsharpMaskAnalyze(const TWZV_USMPARAM* pParam) {
    if (pParam == nullptr) return true;
    Out("    TWZV_USMPARAM = {%s", CRLF);
    Out("      Amount    = [%d]%s", pParam->Amount, CRLF);
    Out("      Radius    = [%d]%s", pParam->Radius, CRLF);
    Out("      Threshold = [%d]%s", pParam->Threshold, CRLF);
    Out("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvUsmInfoAnalyze(const TWZV_USMINFO* pInfo) {
    if (pInfo == nullptr) return true;
    Out("  TWZV_USMINFO = {%s", CRLF);
    Out("    InputResolution = [%d]%s", pInfo->InputResolution, CRLF);
    Out("    InUSMLevel      = [%d]%s", pInfo->InUSMLevel, CRLF);
    Out("    InFilmType      = [%d]%s", pInfo->InFilmType, CRLF);
    Out("    USMParm         = %s", CRLF);
    TwUnsharpMaskAnalyze(&pInfo->USMParm);
    Out("    ReviseParm      = %s", CRLF);
    TwZvReviseBaseParamAnalyze(&pInfo->ReviseParm);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvReviseBaseParamAnalyze(const TWZV_REVISEBASEPARM* pParam) {
    if (pParam == nullptr) return true;
    Out("    TWZV_REVISEBASEPARM = {%s", CRLF);
    Out("      InputRevise  = %s", CRLF);
    TwZvThresholdInfoAnalyze(&pParam->InputRevise);
    Out("      OutputRevise = %s", CRLF);
    TwZvThresholdInfoAnalyze(&pParam->OutputRevise);
    Out("      BlurMax      = [%d]%s", pParam->BlurMax, CRLF);
    Out("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvThresholdInfoAnalyze(const TWZV_THRESHOLDINFO* pInfo) {
    if (pInfo == nullptr) return true;
    Out("      TWZV_THRESHOLDINFO = {%s", CRLF);
    Out("        ShadowL    = [%d]%s", pInfo->ShadowL, CRLF);
    Out("        ShadowH    = [%d]%s", pInfo->ShadowH, CRLF);
    Out("        HighlightH = [%d]%s", pInfo->HighlightH, CRLF);
    Out("        HighlightL = [%d]%s", pInfo->HighlightL, CRLF);
    Out("      }%s", CRLF);
    return true;
}

// ---- Position and frame (DAT_ZV_SKEWINFO, DAT_ZV_SETTINGFRAME) ----------------------------------

bool CParaAnalyze::TwZvSkewInfoAnalyze(const TWZV_LOCATIONDATA* pLocation) {
    if (pLocation == nullptr) return true;
    using twfmt::U32;
    Out("  TWZV_LOCATIONDATA = {%s", CRLF);
    Out("    BitsPerPixel = [%d]%s", pLocation->BitsPerPixel, CRLF);
    Out("    topPoint     = [%ld]%s", U32(pLocation->topPoint), CRLF);
    Out("    leftPoint    = [%ld]%s", U32(pLocation->leftPoint), CRLF);
    Out("    locateW      = [%ld]%s", U32(pLocation->locateW), CRLF);
    Out("    locateH      = [%ld]%s", U32(pLocation->locateH), CRLF);
    Out("    ActualImgW   = [%ld]%s", U32(pLocation->ActualImgW), CRLF);
    Out("    ActualImgH   = [%ld]%s", U32(pLocation->ActualImgH), CRLF);
    Out("    xTangent     = [%ld]%s", U32(pLocation->xTangent), CRLF);
    Out("    yTangent     = [%ld]%s", U32(pLocation->yTangent), CRLF);
    Out("    Theta        = [%.3f]%s", twfmt::Fix32(pLocation->Theta), CRLF);
    Out("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwZvSettingFrameAnalyze(const TWZV_SETTINGFRAME* pFrame) {
    if (pFrame == nullptr) return true;
    Out("  TWZV_SETTINGFRAME = {%s", CRLF);
    Out("    NumFrame    = [%d]%s", pFrame->NumFrame, CRLF);
    Out("    CurrentNum  = [%d]%s", pFrame->CurrentNum, CRLF);
    Out("  }%s", CRLF);
    return true;
}

// ---- Extension types whose data block is not shown ----------------------------------------------

bool CParaAnalyze::TwZvEventAnalyze() { return true; }
bool CParaAnalyze::TwZvRedCorrectionMatrixAnalyze() { return true; }
bool CParaAnalyze::TwZvTwainCallbackMsgAnalyze() { return true; }
