// The blocks of the maker's ZV extension structures, rendered through the result report as the
// entry renders them. Expected texts are written from the log formats, field by field.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

#include "ParaAnalyze.h"
#include "TestSupport.h"
#include "TextBuffer.h"
#include "TwainTypes.h"

using testsupport::Lines;
using testsupport::RenderResult;
using testsupport::ResultLines;
using testsupport::StateLines;

namespace {

// A successful DG_CONTROL / <dat> / MSG_GET call, as a fresh analyser (state 0) renders it.
std::string Render(TW_UINT16 dat, void* pData) { return RenderResult(DG_CONTROL, dat, MSG_GET, pData); }

// What every shown call has around its block: the result lines and the state line.
std::string Head(const void* pData) { return ResultLines("TWRC_SUCCESS", pData); }
const std::string kTail = StateLines(0);

// The block alone: the rendering with the result lines and the state line checked and removed.
std::string Block(TW_UINT16 dat, void* pData) {
    const std::string text = Render(dat, pData);
    const std::string head = Head(pData);
    if (text.size() < head.size() + kTail.size()) {
        ADD_FAILURE() << "too short: " << text;
        return "";
    }
    EXPECT_EQ(text.compare(0, head.size(), head), 0) << text;
    EXPECT_EQ(text.compare(text.size() - kTail.size(), kTail.size(), kTail), 0) << text;
    return text.substr(head.size(), text.size() - head.size() - kTail.size());
}

// The line of a block that starts with the given label (its line end removed), or "" when none does.
std::string LineOf(const std::string& block, const std::string& label) {
    size_t start = 0;
    while (start < block.size()) {
        size_t end = block.find("\r\n", start);
        if (end == std::string::npos) end = block.size();
        if (block.compare(start, label.size(), label) == 0) return block.substr(start, end - start);
        start = end + 2;
    }
    return "";
}

TW_FIX32 Fix(TW_INT16 whole, TW_UINT16 frac) { return TW_FIX32{whole, frac}; }

// Sets a length-prefixed name field.
void SetName(TW_UINT8 (&field)[34], const char* text) {
    const size_t n = strlen(text);
    field[0] = static_cast<TW_UINT8>(n);
    memcpy(field + 1, text, n);
}

const char* const kZeroMatrix = "0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000";

}  // namespace

TEST(ZvHardwareInfo, AllZeroStructureGivesTheFortyNineLines) {
    TWZV_HARDWAREINFO info;
    memset(&info, 0, sizeof(info));
    const std::string z = kZeroMatrix;
    EXPECT_EQ(Block(DAT_ZV_HARDWAREINFO, &info),
              Lines({"  TWZV_HARDWAREINFO = {",
                     "    ModelID                = [0x00]",
                     "    ProductName            = []",
                     "    ModelName              = []",
                     "    OptXResolution         = [0]",
                     "    OptYResolution         = [0]",
                     "    MinResolution          = [0]",
                     "    MaxResolution          = [0]",
                     "    MaxMoireResolution     = [0]",
                     "    MaxPixelofWidth        = [0]",
                     "    PixelSizeofFB[0]       = [0]",
                     "    PixelSizeofFB[1]       = [0]",
                     "    PixelSizeofADF[0]      = [0]",
                     "    PixelSizeofADF[1]      = [0]",
                     "    PixelSizeofTPU[0]      = [0]",
                     "    PixelSizeofTPU[1]      = [0]",
                     "    BitDepth               = [0x00]",
                     "    InterfaceSupport       = [0]",
                     "    CommandType            = [0]",
                     "    ConnectInterfaceType   = [0]",
                     "    StandAloneModeSupport  = [false]",
                     "    FullAutoModeSupport    = [false]",
                     "    SimpleModeSupport      = [false]",
                     "    DocumentModeSupport    = [false]",
                     "    AdvancedModeSupport    = [false]",
                     "    VRXSupport             = [false]",
                     "    FIT3                   = [false]",
                     "    AutoLayoutSupportFB    = [false]",
                     "    AutoLayoutSupportADF   = [false]",
                     "    HalftoneSupport        = [false]",
                     "    HTModeSupport          = [false]",
                     "    HTDitherSupport        = [false]",
                     "    HTKDWSupport           = [false]",
                     "    HTJQNSupport           = [false]",
                     "    TableArrangement       = [0]",
                     "    OptionSupport          = [0x0000]",
                     "    FocusSupport           = [0]",
                     "    FocusArea[0]           = [0]",
                     "    FocusArea[1]           = [0]",
                     "    ProfileNameFB          = []",
                     "    ProfileNameTPU         = []",
                     "    ColorCorrectionFB      = [" + z + "]",
                     "    ColorCorrectionPOSI    = [" + z + "]",
                     "    ColorCorrectionNEGA    = [" + z + "]",
                     "    VRXColorCorrectionFB   = [" + z + "]",
                     "    VRXColorCorrectionPOSI = [" + z + "]",
                     "    VRXColorCorrectionNEGA = [" + z + "]",
                     "    ROMVersion             = []",
                     "  }"}));
}

TEST(ZvHardwareInfo, EveryRenderingAtItsEdges) {
    TWZV_HARDWAREINFO info;
    memset(&info, 0, sizeof(info));
    info.ModelID = 1715004;
    SetName(info.ProductName, "Scanner 9000");
    info.ProductName[20] = 'x';  // past the length: ignored
    info.ModelName[0] = 0;       // empty name; the bytes after the length are ignored
    memset(info.ModelName + 1, 'Q', 33);
    info.OptXResolution = 0xFFFFFFFFu;
    info.OptYResolution = 6400;
    info.MinResolution = 50;
    info.MaxResolution = 12800;
    info.MaxMoireResolution = 1;
    info.MaxPixelofWidth = 0x80000000u;
    info.PixelSizeofFB[0] = 10200;
    info.PixelSizeofFB[1] = 14040;
    info.PixelSizeofADF[0] = 2;
    info.PixelSizeofADF[1] = 3;
    info.PixelSizeofTPU[0] = 4;
    info.PixelSizeofTPU[1] = 0xFFFFFFFBu;
    info.BitDepth = 5;
    info.InterfaceSupport = 0xFFFF;
    info.CommandType = 7;
    info.ConnectInterfaceType = 8;
    info.StandAloneModeSupport[7] = 1;
    info.FullAutoModeSupport = 2;
    info.SimpleModeSupport = 0x8000;
    info.DocumentModeSupport = 1;
    info.VRXSupport = 0xFFFF;
    info.AutoLayoutSupportADF = 1;
    info.HTModeSupport = 0x0100;
    info.HTJQNSupport = 1;
    info.TableArrangement = 0xFFFF;
    info.OptionSupport = 0x00AB;
    info.FocusSupport = 1;
    info.FocusArea[0] = 0xFFFFFFFFu;
    info.FocusArea[1] = 300;
    memset(info.ProfileNameFB, 'F', sizeof(info.ProfileNameFB));  // no NUL: all 34 bytes, no more
    strcpy(info.ProfileNameTPU, "Film profile");
    const TW_FIX32 identity[9] = {Fix(1, 0), Fix(0, 0), Fix(0, 0), Fix(0, 0), Fix(1, 0),
                                  Fix(0, 0), Fix(0, 0), Fix(0, 0), Fix(1, 0)};
    memcpy(info.ColorCorrectionFB, identity, sizeof(identity));
    const TW_FIX32 edges[9] = {Fix(-2, 32768),   Fix(0, 1),     Fix(-1, 49152), Fix(-32768, 0), Fix(32767, 65535),
                               Fix(2, 13107),    Fix(-1, 0),    Fix(0, 65535),  Fix(-32767, 0)};
    memcpy(info.ColorCorrectionPOSI, edges, sizeof(edges));
    info.VRXColorCorrectionNEGA[8] = Fix(3, 32768);
    strcpy(info.ROMVersion, "1.02.0A");

    const std::string z = kZeroMatrix;
    EXPECT_EQ(Block(DAT_ZV_HARDWAREINFO, &info),
              Lines({"  TWZV_HARDWAREINFO = {",
                     "    ModelID                = [0x1a2b3c]",
                     "    ProductName            = [Scanner 9000]",
                     "    ModelName              = []",
                     "    OptXResolution         = [4294967295]",
                     "    OptYResolution         = [6400]",
                     "    MinResolution          = [50]",
                     "    MaxResolution          = [12800]",
                     "    MaxMoireResolution     = [1]",
                     "    MaxPixelofWidth        = [2147483648]",
                     "    PixelSizeofFB[0]       = [10200]",
                     "    PixelSizeofFB[1]       = [14040]",
                     "    PixelSizeofADF[0]      = [2]",
                     "    PixelSizeofADF[1]      = [3]",
                     "    PixelSizeofTPU[0]      = [4]",
                     "    PixelSizeofTPU[1]      = [4294967291]",
                     "    BitDepth               = [0x05]",
                     "    InterfaceSupport       = [65535]",
                     "    CommandType            = [7]",
                     "    ConnectInterfaceType   = [8]",
                     "    StandAloneModeSupport  = [true]",
                     "    FullAutoModeSupport    = [true]",
                     "    SimpleModeSupport      = [true]",
                     "    DocumentModeSupport    = [true]",
                     "    AdvancedModeSupport    = [false]",
                     "    VRXSupport             = [true]",
                     "    FIT3                   = [false]",
                     "    AutoLayoutSupportFB    = [false]",
                     "    AutoLayoutSupportADF   = [true]",
                     "    HalftoneSupport        = [false]",
                     "    HTModeSupport          = [true]",
                     "    HTDitherSupport        = [false]",
                     "    HTKDWSupport           = [false]",
                     "    HTJQNSupport           = [true]",
                     "    TableArrangement       = [65535]",
                     "    OptionSupport          = [0x00ab]",
                     "    FocusSupport           = [1]",
                     "    FocusArea[0]           = [4294967295]",
                     "    FocusArea[1]           = [300]",
                     "    ProfileNameFB          = [FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF]",
                     "    ProfileNameTPU         = [Film profile]",
                     "    ColorCorrectionFB      = [1.000,0.000,0.000,0.000,1.000,0.000,0.000,0.000,1.000]",
                     "    ColorCorrectionPOSI    = [-1.500,0.000,-0.250,-32768.000,32768.000,2.200,-1.000,1.000,"
                     "-32767.000]",
                     "    ColorCorrectionNEGA    = [" + z + "]",
                     "    VRXColorCorrectionFB   = [" + z + "]",
                     "    VRXColorCorrectionPOSI = [" + z + "]",
                     "    VRXColorCorrectionNEGA = [0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000,3.500]",
                     "    ROMVersion             = [1.02.0A]",
                     "  }"}));

    // The stand-alone flag is set by any one of its eight bytes, wherever the flag lies in them.
    for (size_t i = 0; i < sizeof(info.StandAloneModeSupport); ++i) {
        memset(info.StandAloneModeSupport, 0, sizeof(info.StandAloneModeSupport));
        info.StandAloneModeSupport[i] = 0x80;
        EXPECT_EQ(LineOf(Block(DAT_ZV_HARDWAREINFO, &info), "    StandAloneModeSupport"),
                  "    StandAloneModeSupport  = [true]")
            << "byte " << i;
    }
    // ModelID below 0x10 keeps two digits; BitDepth at its widest has all eight.
    info.ModelID = 5;
    info.BitDepth = 0xFFFFFFFFu;
    const std::string block = Block(DAT_ZV_HARDWAREINFO, &info);
    EXPECT_EQ(LineOf(block, "    ModelID"), "    ModelID                = [0x05]");
    EXPECT_EQ(LineOf(block, "    BitDepth"), "    BitDepth               = [0xffffffff]");
}

// Names with bad length bytes and a firmware version without a NUL: the block shows what lies inside
// each field and nothing beyond it. The structure is allocated with exactly its own size, so a read
// past its end is caught by AddressSanitizer.
TEST(ZvHardwareInfo, TextFieldsNeverReadPastTheirRoom) {
    std::unique_ptr<TWZV_HARDWAREINFO> info(new TWZV_HARDWAREINFO);
    memset(info.get(), 0, sizeof(TWZV_HARDWAREINFO));
    const std::string p33(33, 'P');
    const std::string m33(33, 'M');

    // Length 255 in ProductName: only the 33 characters of the field, not ModelName's bytes.
    info->ProductName[0] = 255;
    memset(info->ProductName + 1, 'P', 33);
    // Length 34 in ModelName, one more than fits: the 33 characters, not OptXResolution's bytes.
    info->ModelName[0] = 34;
    memset(info->ModelName + 1, 'M', 33);
    info->OptXResolution = 0x41414141u;
    memset(info->ROMVersion, 'R', sizeof(info->ROMVersion));

    std::string block = Block(DAT_ZV_HARDWAREINFO, info.get());
    EXPECT_EQ(LineOf(block, "    ProductName"), "    ProductName            = [" + p33 + "]");
    EXPECT_EQ(LineOf(block, "    ModelName"), "    ModelName              = [" + m33 + "]");
    EXPECT_EQ(LineOf(block, "    ROMVersion"), "    ROMVersion             = [" + std::string(64, 'R') + "]");

    // A length of exactly 33 is the full field; a length of 0 is empty whatever follows.
    info->ProductName[0] = 33;
    info->ModelName[0] = 0;
    info->ROMVersion[10] = '\0';
    block = Block(DAT_ZV_HARDWAREINFO, info.get());
    EXPECT_EQ(LineOf(block, "    ProductName"), "    ProductName            = [" + p33 + "]");
    EXPECT_EQ(LineOf(block, "    ModelName"), "    ModelName              = []");
    EXPECT_EQ(LineOf(block, "    ROMVersion"), "    ROMVersion             = [RRRRRRRRRR]");
}

// The widest block (every value at its longest text) is 2,572 bytes plus the firmware text, and fits
// the text buffer whole together with the result lines and the state line.
TEST(ZvHardwareInfo, LongestBlockFitsTheTextBuffer) {
    TWZV_HARDWAREINFO info;
    memset(&info, 0xFF, sizeof(info));
    SetName(info.ProductName, std::string(33, 'p').c_str());
    SetName(info.ModelName, std::string(33, 'm').c_str());
    memset(info.StandAloneModeSupport, 0, sizeof(info.StandAloneModeSupport));
    for (TW_UINT16* flag : {&info.FullAutoModeSupport, &info.SimpleModeSupport, &info.DocumentModeSupport,
                            &info.AdvancedModeSupport, &info.VRXSupport, &info.FIT3, &info.AutoLayoutSupportFB,
                            &info.AutoLayoutSupportADF, &info.HalftoneSupport, &info.HTModeSupport,
                            &info.HTDitherSupport, &info.HTKDWSupport, &info.HTJQNSupport}) {
        *flag = 0;
    }
    memset(info.ProfileNameFB, 'f', 33);
    info.ProfileNameFB[33] = '\0';
    memset(info.ProfileNameTPU, 't', 33);
    info.ProfileNameTPU[33] = '\0';
    for (TW_FIX32* matrix : {info.ColorCorrectionFB, info.ColorCorrectionPOSI, info.ColorCorrectionNEGA,
                             info.VRXColorCorrectionFB, info.VRXColorCorrectionPOSI, info.VRXColorCorrectionNEGA}) {
        for (int i = 0; i < 9; ++i) matrix[i] = Fix(-32767, 0);
    }
    const size_t nRom = 63;
    memset(info.ROMVersion, 'r', nRom);
    info.ROMVersion[nRom] = '\0';

    CParaAnalyze analyser;
    CTextBuffer buffer;
    analyser.ParaAnalyze(nullptr, nullptr, DG_CONTROL, DAT_ZV_HARDWAREINFO, MSG_GET, reinterpret_cast<char*>(&info),
                         TWRC_SUCCESS, &buffer);
    EXPECT_FALSE(buffer.Overflowed());
    const std::string text(buffer.Text(), buffer.Length());
    const std::string head = Head(&info);
    ASSERT_EQ(text.size(), head.size() + 2572 + nRom + kTail.size());
    EXPECT_LE(text.size(), CTextBuffer::kRoom);
    EXPECT_EQ(text.substr(text.size() - kTail.size()), kTail);

    const std::string block = text.substr(head.size(), 2572 + nRom);
    EXPECT_EQ(LineOf(block, "    ModelID"), "    ModelID                = [0xffffffff]");
    EXPECT_EQ(LineOf(block, "    OptionSupport"), "    OptionSupport          = [0xffff]");
    EXPECT_EQ(LineOf(block, "    InterfaceSupport"), "    InterfaceSupport       = [65535]");
    EXPECT_EQ(LineOf(block, "    ColorCorrectionNEGA"),
              "    ColorCorrectionNEGA    = [-32767.000,-32767.000,-32767.000,-32767.000,-32767.000,"
              "-32767.000,-32767.000,-32767.000,-32767.000]");
}

TEST(ZvImageCorrection, AutoExposureBlockAndItsNamedValues) {
    TWZV_AUTOEXPOSURE exposure;
    memset(&exposure, 0, sizeof(exposure));
    exposure.Handle = 4660;
    exposure.Left = -1;
    exposure.Top = 32767;
    exposure.Right = -32768;
    exposure.Bottom = 100;
    exposure.FilmType = 4;
    exposure.PreScanGamma = 1;
    exposure.ScreenGamma = Fix(2, 13107);
    exposure.GrayBalance = 0xFFFF;
    EXPECT_EQ(Block(DAT_ZV_AUTOEXPOSURE, &exposure),
              Lines({"  TWZV_AUTOEXPOSURE = {",
                     "    Handle       = <0x00001234>",
                     "    Left         = [-1]",
                     "    Top          = [32767]",
                     "    Right        = [-32768]",
                     "    Bottom       = [100]",
                     "    FilmType     = [TWZV_FT_REFLECTIVEDOCUMENT]",
                     "    PreScanGamma = [TWZV_PG_18]",
                     "    ScreenGamma  = [2.200]",
                     "    GrayBalance  = [65535]",
                     "  }"}));

    // Values outside the tables, widened without sign; a handle with all bits set.
    exposure.Handle = 0xFFFFFFFFu;
    exposure.FilmType = 7;
    exposure.PreScanGamma = 2;
    std::string block = Block(DAT_ZV_AUTOEXPOSURE, &exposure);
    EXPECT_EQ(LineOf(block, "    Handle"), "    Handle       = <0xffffffff>");
    EXPECT_EQ(LineOf(block, "    FilmType"), "    FilmType     = [ERROR!(7)]");
    EXPECT_EQ(LineOf(block, "    PreScanGamma"), "    PreScanGamma = [ERROR!(2)]");
    exposure.FilmType = 0;
    exposure.PreScanGamma = 0xFFFF;
    block = Block(DAT_ZV_AUTOEXPOSURE, &exposure);
    EXPECT_EQ(LineOf(block, "    FilmType"), "    FilmType     = [TWZV_FT_POSI]");
    EXPECT_EQ(LineOf(block, "    PreScanGamma"), "    PreScanGamma = [ERROR!(65535)]");
}

TEST(ZvImageCorrection, RgbMatrixAndColorSmoothingBlocks) {
    TWZV_RGBMATRIX matrix = {{Fix(1, 0), Fix(0, 0), Fix(0, 0), Fix(0, 0), Fix(1, 0), Fix(0, 0), Fix(0, 0),
                              Fix(0, 0), Fix(1, 0)}};
    EXPECT_EQ(Block(DAT_ZV_RGBMATRIX, &matrix),
              Lines({"  TWZV_RGBMATRIX = {",
                     "    ColorCoeff = {1.000,0.000,0.000,0.000,1.000,0.000,0.000,0.000,1.000}",
                     "  }"}));

    TWZV_COLORSMOOTHING smoothing = {0x00ABCDEFu, 0xFFFFFFFFu, 1, 2, 3, 4, 5, 6, 0x80000000u, 0xFFFFFFFEu};
    EXPECT_EQ(Block(DAT_ZV_COLORSMOOTHING, &smoothing),
              Lines({"  TWZV_COLORSMOOTHING = {",
                     "    Handle       = <0x00abcdef>",
                     "    LeftX        = [4294967295]",
                     "    LeftY        = [1]",
                     "    TopX         = [2]",
                     "    TopY         = [3]",
                     "    RightX       = [4]",
                     "    RightY       = [5]",
                     "    BottomX      = [6]",
                     "    BottomY      = [2147483648]",
                     "    Reserved     = [4294967294]",
                     "  }"}));
}

TEST(ZvImageCorrection, UnsharpMaskBlocksAloneAndNested) {
    // As the block of DAT_ZV_UNSHARPMASKPARAM it keeps its four-space indentation.
    TWZV_USMPARAM param = {static_cast<TW_INT16>(0xFFFF), 3, -32768};
    EXPECT_EQ(Block(DAT_ZV_UNSHARPMASKPARAM, &param),
              Lines({"    TWZV_USMPARAM = {",
                     "      Amount    = [-1]",
                     "      Radius    = [3]",
                     "      Threshold = [-32768]",
                     "    }"}));

    TWZV_USMINFO info;
    memset(&info, 0, sizeof(info));
    info.InputResolution = 1200;
    info.InUSMLevel = 2;
    info.InFilmType = 4;  // a number here, not a film type name
    info.USMParm = param;
    info.ReviseParm.InputRevise = {0xFFFF, 10, 245, 250};
    info.ReviseParm.OutputRevise = {0, 5, 240, 255};
    info.ReviseParm.BlurMax = 0xFFFF;
    EXPECT_EQ(Block(DAT_ZV_USMINFO, &info),
              Lines({"  TWZV_USMINFO = {",
                     "    InputResolution = [1200]",
                     "    InUSMLevel      = [2]",
                     "    InFilmType      = [4]",
                     "    USMParm         = ",
                     "    TWZV_USMPARAM = {",
                     "      Amount    = [-1]",
                     "      Radius    = [3]",
                     "      Threshold = [-32768]",
                     "    }",
                     "    ReviseParm      = ",
                     "    TWZV_REVISEBASEPARM = {",
                     "      InputRevise  = ",
                     "      TWZV_THRESHOLDINFO = {",
                     "        ShadowL    = [65535]",
                     "        ShadowH    = [10]",
                     "        HighlightH = [245]",
                     "        HighlightL = [250]",
                     "      }",
                     "      OutputRevise = ",
                     "      TWZV_THRESHOLDINFO = {",
                     "        ShadowL    = [0]",
                     "        ShadowH    = [5]",
                     "        HighlightH = [240]",
                     "        HighlightL = [255]",
                     "      }",
                     "      BlurMax      = [65535]",
                     "    }",
                     "  }"}));
}

TEST(ZvPosition, SkewInfoAndSettingFrameBlocks) {
    TWZV_LOCATIONDATA location;
    memset(&location, 0, sizeof(location));
    location.BitsPerPixel = -1;
    location.topPoint = 10;
    location.leftPoint = 20;
    location.locateW = 0xFFFFFFFFu;
    location.locateH = 40;
    location.ActualImgW = 5100;
    location.ActualImgH = 7020;
    location.xTangent = static_cast<TW_UINT32>(-5);
    location.yTangent = 1000;
    location.Theta = Fix(-1, 49152);
    EXPECT_EQ(Block(DAT_ZV_SKEWINFO, &location),
              Lines({"  TWZV_LOCATIONDATA = {",
                     "    BitsPerPixel = [-1]",
                     "    topPoint     = [10]",
                     "    leftPoint    = [20]",
                     "    locateW      = [4294967295]",
                     "    locateH      = [40]",
                     "    ActualImgW   = [5100]",
                     "    ActualImgH   = [7020]",
                     "    xTangent     = [4294967291]",
                     "    yTangent     = [1000]",
                     "    Theta        = [-0.250]",
                     "  }"}));

    TWZV_SETTINGFRAME frame = {0xFFFF, 1};
    EXPECT_EQ(Block(DAT_ZV_SETTINGFRAME, &frame),
              Lines({"  TWZV_SETTINGFRAME = {",
                     "    NumFrame    = [65535]",
                     "    CurrentNum  = [1]",
                     "  }"}));
}

// DAT_ZV_EVENT, DAT_ZV_REDCORRECTIONMATRIX and DAT_ZV_TWAINCALLBACKMSG show no block even with data;
// a null data pointer gives no block for any extension type.
TEST(ZvDispatch, SilentTypesAndNullPointersGiveOnlyTheResultAndStateLines) {
    unsigned char data[600];
    memset(data, 0x5A, sizeof(data));
    for (TW_UINT16 dat : {DAT_ZV_EVENT, DAT_ZV_REDCORRECTIONMATRIX, DAT_ZV_TWAINCALLBACKMSG}) {
        EXPECT_EQ(Render(dat, data), Head(data) + kTail) << "DAT " << dat;
    }
    const std::string nullOnly = "        Return Code = [TWRC_SUCCESS]\r\npData   = <0x00000000>\r\n" + kTail;
    for (TW_UINT16 dat : {DAT_ZV_AUTOEXPOSURE, DAT_ZV_RGBMATRIX, DAT_ZV_COLORSMOOTHING, DAT_ZV_EVENT,
                          DAT_ZV_HARDWAREINFO, DAT_ZV_SKEWINFO, DAT_ZV_UNSHARPMASKPARAM, DAT_ZV_REDCORRECTIONMATRIX,
                          DAT_ZV_TWAINCALLBACKMSG, DAT_ZV_SETTINGFRAME, DAT_ZV_USMINFO}) {
        EXPECT_EQ(Render(dat, nullptr), nullOnly) << "DAT " << dat;
    }
}
