// The colour and tone blocks (CIE colour with its stages, decode functions and points; grey and RGB
// response; palette), rendered through the analyser's result step as a host call would leave them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ParaAnalyze.h"
#include "TestSupport.h"
#include "TextBuffer.h"

using testsupport::Lines;
using testsupport::RenderResult;
using testsupport::ResultLines;
using testsupport::StateLines;

namespace {

TW_FIX32 Fix(int whole, unsigned frac) { return TW_FIX32{static_cast<TW_INT16>(whole), static_cast<TW_UINT16>(frac)}; }

void SetDecode(TW_DECODEFUNCTION& d, int first, unsigned frac) {
    TW_FIX32* const fields[8] = {&d.StartIn, &d.BreakIn, &d.EndIn, &d.StartOut,
                                 &d.BreakOut, &d.EndOut, &d.Gamma, &d.SampleCount};
    for (int k = 0; k < 8; ++k) *fields[k] = Fix(first - k * (first < 0 ? 1 : -1), frac);
}

void FillAll(TW_CIECOLOR& cie, TW_FIX32 value) {
    for (TW_TRANSFORMSTAGE* stage : {&cie.StageABC, &cie.StageLMN}) {
        for (TW_DECODEFUNCTION& d : stage->Decode) {
            d = TW_DECODEFUNCTION{value, value, value, value, value, value, value, value};
        }
        for (auto& row : stage->Mix) std::fill(std::begin(row), std::end(row), value);
    }
    for (TW_CIEPOINT* p : {&cie.WhitePoint, &cie.BlackPoint, &cie.WhitePaper, &cie.BlackInk}) {
        *p = TW_CIEPOINT{value, value, value};
    }
    cie.Samples[0] = value;
}

}  // namespace

TEST(ColorFormat, CieColorBlock) {
    TW_CIECOLOR cie{};
    cie.ColorSpace = 8;  // TWPT_CIEXYZ
    cie.LowEndian = 1;
    cie.DeviceDependent = 0;
    cie.VersionNumber = 2;
    // StageABC: Decode[i] counts up from 10 * (i + 1); Mix[i][j] is i + j / 4.
    // StageLMN: Decode[i] counts down from -(10 * (i + 1)), plus one half; Mix is 100 + 3i + j.
    for (int i = 0; i < 3; ++i) {
        SetDecode(cie.StageABC.Decode[i], 10 * (i + 1), 0);
        SetDecode(cie.StageLMN.Decode[i], -10 * (i + 1), 0x8000);
        for (int j = 0; j < 3; ++j) {
            cie.StageABC.Mix[i][j] = Fix(i, 0x4000u * j);
            cie.StageLMN.Mix[i][j] = Fix(100 + 3 * i + j, 0);
        }
    }
    cie.WhitePoint = TW_CIEPOINT{Fix(1, 0), Fix(2, 0), Fix(3, 0)};
    cie.BlackPoint = TW_CIEPOINT{Fix(4, 0x8000), Fix(5, 0x8000), Fix(6, 0x8000)};
    cie.WhitePaper = TW_CIEPOINT{Fix(7, 0xC000), Fix(8, 0xC000), Fix(9, 0xC000)};
    cie.BlackInk = TW_CIEPOINT{Fix(-1, 0), Fix(-2, 0), Fix(-3, 0)};
    cie.Samples[0] = Fix(42, 0x2000);

    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_CIECOLOR, MSG_GET, &cie),
              ResultLines("TWRC_SUCCESS", &cie) +
                  Lines({"  TW_CIECOLOR = {",
                         "    ColorSpace      = [TWPT_CIEXYZ]",
                         "    LowEndian       = [1]",
                         "    DeviceDependent = [0]",
                         "    VersionNumber   = [2]",
                         "    StageABC=",
                         "    TW_TRANSFORMSTAGE = {",
                         "      Decode[0] =",
                         "      TW_DECODEFUNCTION = {",
                         "        StartIn     = [10.000]",
                         "        BreakIn     = [11.000]",
                         "        EndIn       = [12.000]",
                         "        StartOut    = [13.000]",
                         "        BreakOut    = [14.000]",
                         "        EndOut      = [15.000]",
                         "        Gamma       = [16.000]",
                         "        SampleCount = [17.000]",
                         "      }",
                         "      Decode[1] =",
                         "      TW_DECODEFUNCTION = {",
                         "        StartIn     = [20.000]",
                         "        BreakIn     = [21.000]",
                         "        EndIn       = [22.000]",
                         "        StartOut    = [23.000]",
                         "        BreakOut    = [24.000]",
                         "        EndOut      = [25.000]",
                         "        Gamma       = [26.000]",
                         "        SampleCount = [27.000]",
                         "      }",
                         "      Decode[2] =",
                         "      TW_DECODEFUNCTION = {",
                         "        StartIn     = [30.000]",
                         "        BreakIn     = [31.000]",
                         "        EndIn       = [32.000]",
                         "        StartOut    = [33.000]",
                         "        BreakOut    = [34.000]",
                         "        EndOut      = [35.000]",
                         "        Gamma       = [36.000]",
                         "        SampleCount = [37.000]",
                         "      }",
                         "      Mix[0][0] = [0.000]",
                         "      Mix[0][1] = [0.250]",
                         "      Mix[0][2] = [0.500]",
                         "      Mix[1][0] = [1.000]",
                         "      Mix[1][1] = [1.250]",
                         "      Mix[1][2] = [1.500]",
                         "      Mix[2][0] = [2.000]",
                         "      Mix[2][1] = [2.250]",
                         "      Mix[2][2] = [2.500]",
                         "    }",
                         "    StageLMN=",
                         "    TW_TRANSFORMSTAGE = {",
                         "      Decode[0] =",
                         "      TW_DECODEFUNCTION = {",
                         "        StartIn     = [-9.500]",
                         "        BreakIn     = [-10.500]",
                         "        EndIn       = [-11.500]",
                         "        StartOut    = [-12.500]",
                         "        BreakOut    = [-13.500]",
                         "        EndOut      = [-14.500]",
                         "        Gamma       = [-15.500]",
                         "        SampleCount = [-16.500]",
                         "      }",
                         "      Decode[1] =",
                         "      TW_DECODEFUNCTION = {",
                         "        StartIn     = [-19.500]",
                         "        BreakIn     = [-20.500]",
                         "        EndIn       = [-21.500]",
                         "        StartOut    = [-22.500]",
                         "        BreakOut    = [-23.500]",
                         "        EndOut      = [-24.500]",
                         "        Gamma       = [-25.500]",
                         "        SampleCount = [-26.500]",
                         "      }",
                         "      Decode[2] =",
                         "      TW_DECODEFUNCTION = {",
                         "        StartIn     = [-29.500]",
                         "        BreakIn     = [-30.500]",
                         "        EndIn       = [-31.500]",
                         "        StartOut    = [-32.500]",
                         "        BreakOut    = [-33.500]",
                         "        EndOut      = [-34.500]",
                         "        Gamma       = [-35.500]",
                         "        SampleCount = [-36.500]",
                         "      }",
                         "      Mix[0][0] = [100.000]",
                         "      Mix[0][1] = [101.000]",
                         "      Mix[0][2] = [102.000]",
                         "      Mix[1][0] = [103.000]",
                         "      Mix[1][1] = [104.000]",
                         "      Mix[1][2] = [105.000]",
                         "      Mix[2][0] = [106.000]",
                         "      Mix[2][1] = [107.000]",
                         "      Mix[2][2] = [108.000]",
                         "    }",
                         "    WhitePoint=",
                         "    TW_CIEPOINT = {",
                         "      X = [1.000]",
                         "      Y = [2.000]",
                         "      Z = [3.000]",
                         "    }",
                         "    BlackPoint=",
                         "    TW_CIEPOINT = {",
                         "      X = [4.500]",
                         "      Y = [5.500]",
                         "      Z = [6.500]",
                         "    }",
                         "    WhitePaper=",
                         "    TW_CIEPOINT = {",
                         "      X = [7.750]",
                         "      Y = [8.750]",
                         "      Z = [9.750]",
                         "    }",
                         "    BlackInk=",
                         "    TW_CIEPOINT = {",
                         "      X = [-1.000]",
                         "      Y = [-2.000]",
                         "      Z = [-3.000]",
                         "    }",
                         "    Samples[]       = [42.125]",
                         "  }"}) +
                  StateLines(0));

    // The widest values: 121 lines of 3409 bytes in all, two thirds of the text buffer, so the
    // whole record still fits. A negative VersionNumber shows as its unsigned 32-bit value.
    FillAll(cie, Fix(-32768, 0));
    cie.ColorSpace = 0xFFFF;
    cie.LowEndian = -32768;
    cie.DeviceDependent = -32768;
    cie.VersionNumber = -1;
    CParaAnalyze analyser;
    CTextBuffer buffer;
    analyser.ParaAnalyze(nullptr, nullptr, DG_IMAGE, DAT_CIECOLOR, MSG_GET, reinterpret_cast<char*>(&cie),
                         TWRC_SUCCESS, &buffer);
    const std::string text(buffer.Text(), buffer.Length());
    const std::string head = ResultLines("TWRC_SUCCESS", &cie);
    const std::string tail = StateLines(0);
    EXPECT_FALSE(buffer.Overflowed());
    ASSERT_GT(text.size(), head.size() + tail.size());
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    const std::string block = text.substr(head.size(), text.size() - head.size() - tail.size());
    EXPECT_EQ(block.size(), 3409u);
    EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 121);
    EXPECT_EQ(block.substr(0, 158), Lines({"  TW_CIECOLOR = {",
                                           "    ColorSpace      = [ERROR!(65535)]",
                                           "    LowEndian       = [-32768]",
                                           "    DeviceDependent = [-32768]",
                                           "    VersionNumber   = [4294967295]"}));
    EXPECT_NE(block.find(Lines({"      Mix[2][2] = [-32768.000]", "    }", "    WhitePoint="})), std::string::npos);
    EXPECT_EQ(block.substr(block.size() - 41), Lines({"    Samples[]       = [-32768.000]", "  }"}));

    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_CIECOLOR, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(ColorFormat, ResponseBlocks) {
    // Grey and RGB share the block but for its header; only the first element is shown.
    TW_ELEMENT8 curve[256];
    for (int i = 0; i < 256; ++i) {
        curve[i] = TW_ELEMENT8{static_cast<TW_UINT8>(i), static_cast<TW_UINT8>(255 - i), 0, 255};
    }
    auto body = [](const char* header, int index, int c1, int c2, int c3) {
        return Lines({header,
                      "    Response[0] =",
                      "    TW_ELEMENT8 = {",
                      "      Index    = [" + std::to_string(index) + "]",
                      "      Channel1 = [" + std::to_string(c1) + "]",
                      "      Channel2 = [" + std::to_string(c2) + "]",
                      "      Channel3 = [" + std::to_string(c3) + "]",
                      "    }",
                      "  }"});
    };
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_GRAYRESPONSE, MSG_SET, curve),
              ResultLines("TWRC_SUCCESS", curve) + body("  TW_GRAYRESPONSE = {", 0, 255, 0, 255) + StateLines(0));
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_RGBRESPONSE, MSG_SET, curve),
              ResultLines("TWRC_SUCCESS", curve) + body("  TW_RGBRESPONSE = {", 0, 255, 0, 255) + StateLines(0));

    // Bytes are unsigned: 0xFF is 255, 0x80 is 128.
    TW_RGBRESPONSE rgb{};
    rgb.Response[0] = TW_ELEMENT8{0xFF, 0x80, 0x7F, 0x01};
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_RGBRESPONSE, MSG_RESET, &rgb),
              ResultLines("TWRC_SUCCESS", &rgb) + body("  TW_RGBRESPONSE = {", 255, 128, 127, 1) + StateLines(0));

    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_GRAYRESPONSE, MSG_SET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_RGBRESPONSE, MSG_SET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(ColorFormat, Palette8Line) {
    TW_PALETTE8 palette{};
    palette.NumColors = 256;
    palette.Colors[255] = TW_ELEMENT8{255, 1, 2, 3};
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_PALETTE8, MSG_GET, &palette),
              ResultLines("TWRC_SUCCESS", &palette) + Lines({"  TW_PALETTE8 = { it does not display. }"}) +
                  StateLines(0));
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_PALETTE8, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}
