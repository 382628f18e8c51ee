// The blocks of the maker's ZV extension structures, rendered through the result report. Expected
// texts are written from the log formats; null data pointers are covered in control_format_test.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

#include "TestSupport.h"
#include "TwainTypes.h"

using testsupport::Fix;
using testsupport::LineOf;
using testsupport::Lines;

namespace {

std::string Block(TW_UINT16 dat, void* pData) { return testsupport::RenderBlock(DG_CONTROL, dat, MSG_GET, pData); }

// Stores values over the consecutive fields of a structure from the given offset on.
template <typename S, typename T>
void PutAt(S& s, size_t nOffset, const T& values) {
    memcpy(reinterpret_cast<char*>(&s) + nOffset, &values, sizeof(values));
}

}  // namespace

TEST(ZvHardwareInfo, WholeBlockWithEdgeValues) {
    TWZV_HARDWAREINFO info;
    memset(&info, 0, sizeof(info));
    info.ModelID = 5;  // two digits at least
    info.ProductName[0] = 12;
    memcpy(info.ProductName + 1, "Scanner 9000xx", 14);  // past the length: ignored
    memset(info.ModelName + 1, 'Q', 33);  // length 0: empty, whatever follows
    // The thirteen 32-bit fields from OptXResolution to BitDepth.
    const TW_UINT32 numbers[13] = {0xFFFFFFFFu, 6400, 50, 12800, 1, 0x80000000u, 10200, 14040, 2, 3, 4, 0xFFFFFFFBu, 0x0C};
    PutAt(info, offsetof(TWZV_HARDWAREINFO, OptXResolution), numbers);
    info.InterfaceSupport = 0xFFFF;
    info.CommandType = 7;
    info.ConnectInterfaceType = 8;
    info.StandAloneModeSupport[7] = 1;
    // The thirteen flags from FullAutoModeSupport to HTJQNSupport, TableArrangement, OptionSupport,
    // FocusSupport.
    const TW_UINT16 flags[16] = {2, 0x8000, 1, 0, 0xFFFF, 0, 0, 1, 0, 0x0100, 0, 0, 1, 0xFFFF, 0x00AB, 1};
    PutAt(info, offsetof(TWZV_HARDWAREINFO, FullAutoModeSupport), flags);
    info.FocusArea[0] = 0xFFFFFFFFu;
    info.FocusArea[1] = 300;
    memset(info.ProfileNameFB, 'F', sizeof(info.ProfileNameFB));  // no NUL: all 34 bytes, no more
    strcpy(info.ProfileNameTPU, "Film profile");
    const TW_FIX32 identity[9] = {Fix(1, 0), {}, {}, {}, Fix(1, 0), {}, {}, {}, Fix(1, 0)};
    memcpy(info.ColorCorrectionFB, identity, sizeof(identity));
    const TW_FIX32 edges[9] = {Fix(-2, 32768), Fix(0, 1),  Fix(-1, 49152), Fix(-32768, 0), Fix(32767, 65535),
                               Fix(2, 13107),  Fix(-1, 0), Fix(0, 65535),  Fix(-32767, 0)};
    memcpy(info.ColorCorrectionPOSI, edges, sizeof(edges));
    info.VRXColorCorrectionNEGA[8] = Fix(3, 32768);
    strcpy(info.ROMVersion, "1.02.0A");

    const std::string z = "0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000,0.000";
    EXPECT_EQ(Block(DAT_ZV_HARDWAREINFO, &info),
              Lines({"  TWZV_HARDWAREINFO = {",
                     "    ModelID                = [0x05]",
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
                     "    BitDepth               = [0x0c]",
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

    // Any one of the eight stand-alone bytes sets the flag: the last above, the first here.
    info.StandAloneModeSupport[7] = 0;
    info.StandAloneModeSupport[0] = 0x80;
    EXPECT_EQ(LineOf(Block(DAT_ZV_HARDWAREINFO, &info), "    StandAloneModeSupport"),
              "    StandAloneModeSupport  = [true]");
}

// The widest block (2,572 bytes plus the firmware text; it fits the text buffer whole): names whose
// length bytes claim more than the field holds, a firmware version without a NUL up to the end of
// the structure, which has exactly its own size, so AddressSanitizer sees any read past its end.
TEST(ZvHardwareInfo, WidestBlockReadsNothingPastItsFields) {
    std::unique_ptr<TWZV_HARDWAREINFO> info(new TWZV_HARDWAREINFO);
    memset(info.get(), 0xFF, sizeof(TWZV_HARDWAREINFO));
    memset(info->ProductName + 1, 'P', 33);
    info->ProductName[0] = 255;  // clamped to the 33 characters of the field, not ModelName's bytes
    memset(info->ModelName + 1, 'M', 33);
    info->ModelName[0] = 33;  // exactly full
    // Every flag "false", the longer text: the stand-alone bytes and the thirteen flags after them.
    const unsigned char noFlags[8 + 13 * 2] = {};
    PutAt(*info, offsetof(TWZV_HARDWAREINFO, StandAloneModeSupport), noFlags);
    strcpy(info->ProfileNameFB, std::string(33, 'f').c_str());
    strcpy(info->ProfileNameTPU, std::string(33, 't').c_str());
    for (TW_FIX32* matrix : {info->ColorCorrectionFB, info->ColorCorrectionPOSI, info->ColorCorrectionNEGA,
                             info->VRXColorCorrectionFB, info->VRXColorCorrectionPOSI, info->VRXColorCorrectionNEGA}) {
        for (int i = 0; i < 9; ++i) matrix[i] = Fix(-32767, 0);
    }
    memset(info->ROMVersion, 'R', sizeof(info->ROMVersion));

    const std::string block = Block(DAT_ZV_HARDWAREINFO, info.get());
    EXPECT_EQ(block.size(), 2572u + 64u);
    EXPECT_EQ(LineOf(block, "    ModelID"), "    ModelID                = [0xffffffff]");
    EXPECT_EQ(LineOf(block, "    BitDepth"), "    BitDepth               = [0xffffffff]");
    EXPECT_EQ(LineOf(block, "    ProductName"), "    ProductName            = [" + std::string(33, 'P') + "]");
    EXPECT_EQ(LineOf(block, "    ModelName"), "    ModelName              = [" + std::string(33, 'M') + "]");
    EXPECT_EQ(LineOf(block, "    ROMVersion"), "    ROMVersion             = [" + std::string(64, 'R') + "]");
}

TEST(ZvImageCorrection, AutoExposureBlock) {
    TWZV_AUTOEXPOSURE exposure = {4660, -1, 32767, -32768, 100, 4, 1, Fix(2, 13107), 0xFFFF};
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

    // Codes outside the tables, looked up without sign.
    exposure.FilmType = 7;
    exposure.PreScanGamma = 0xFFFF;
    EXPECT_NE(Block(DAT_ZV_AUTOEXPOSURE, &exposure)
                  .find(Lines({"    FilmType     = [ERROR!(7)]", "    PreScanGamma = [ERROR!(65535)]"})),
              std::string::npos);
}

TEST(ZvImageCorrection, RgbMatrixAndColorSmoothingBlocks) {
    TWZV_RGBMATRIX matrix = {{Fix(1, 0), {}, {}, Fix(0, 16384), Fix(1, 0), {}, {}, Fix(-2, 0), Fix(1, 0)}};
    EXPECT_EQ(Block(DAT_ZV_RGBMATRIX, &matrix),
              Lines({"  TWZV_RGBMATRIX = {",
                     "    ColorCoeff = {1.000,0.000,0.000,0.250,1.000,0.000,0.000,-2.000,1.000}",
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
    // As the block of DAT_ZV_UNSHARPMASKPARAM it keeps the four-space indentation it has nested.
    TWZV_USMPARAM param = {static_cast<TW_INT16>(0xFFFF), 3, -32768};
    const std::string usm =
        Lines({"    TWZV_USMPARAM = {", "      Amount    = [-1]", "      Radius    = [3]", "      Threshold = [-32768]",
               "    }"});
    EXPECT_EQ(Block(DAT_ZV_UNSHARPMASKPARAM, &param), usm);

    const auto threshold = [](const char* sl, const char* sh, const char* hh, const char* hl) {
        return Lines({"      TWZV_THRESHOLDINFO = {", std::string("        ShadowL    = [") + sl + "]",
                      std::string("        ShadowH    = [") + sh + "]", std::string("        HighlightH = [") + hh + "]",
                      std::string("        HighlightL = [") + hl + "]", "      }"});
    };
    TWZV_USMINFO info = {1200, 2, 4, param, {{0xFFFF, 10, 245, 250}, {0, 5, 240, 255}, 0xFFFF}};
    EXPECT_EQ(Block(DAT_ZV_USMINFO, &info),
              Lines({"  TWZV_USMINFO = {",
                     "    InputResolution = [1200]",
                     "    InUSMLevel      = [2]",
                     "    InFilmType      = [4]",
                     "    USMParm         = "}) +
                  usm +
                  Lines({"    ReviseParm      = ", "    TWZV_REVISEBASEPARM = {", "      InputRevise  = "}) +
                  threshold("65535", "10", "245", "250") + Lines({"      OutputRevise = "}) +
                  threshold("0", "5", "240", "255") + Lines({"      BlurMax      = [65535]", "    }", "  }"}));
}

TEST(ZvPosition, SkewInfoAndSettingFrameBlocks) {
    TWZV_LOCATIONDATA location = {-1, 10, 20, 0xFFFFFFFFu, 40, 5100, 7020, 0xFFFFFFFBu, 1000, Fix(-1, 49152)};
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
              Lines({"  TWZV_SETTINGFRAME = {", "    NumFrame    = [65535]", "    CurrentNum  = [1]", "  }"}));
}
