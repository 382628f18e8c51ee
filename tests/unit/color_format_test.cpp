// The colour and tone blocks (CIE colour with its stages, decode functions and points; grey and RGB
// response; palette), rendered through the analyser's result step as a host call would leave them.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"

using testsupport::Fix;
using testsupport::Lines;
using testsupport::RenderBlock;

TEST(ColorFormat, CieColorBlock) {
    TW_CIECOLOR cie{};
    cie.ColorSpace = 8;  // TWPT_CIEXYZ
    cie.LowEndian = 1;
    cie.DeviceDependent = -1;
    cie.VersionNumber = -1;  // shown as its unsigned 32-bit value
    // StageABC.Decode[0] counts up field by field from 10; every other decode function holds one
    // value throughout. Mix[i][j] is i + j / 4 in StageABC and 100 + 3i + j in StageLMN.
    cie.StageABC.Decode[0] = {Fix(10, 0), Fix(11, 0), Fix(12, 0), Fix(13, 0),
                              Fix(14, 0), Fix(15, 0), Fix(16, 0), Fix(17, 0)};
    const TW_FIX32 same[5] = {Fix(1, 0x8000), Fix(2, 0x8000), Fix(-1, 0), Fix(-2, 0), Fix(-3, 0)};
    TW_DECODEFUNCTION* const others[5] = {&cie.StageABC.Decode[1], &cie.StageABC.Decode[2], &cie.StageLMN.Decode[0],
                                          &cie.StageLMN.Decode[1], &cie.StageLMN.Decode[2]};
    for (int k = 0; k < 5; ++k) *others[k] = {same[k], same[k], same[k], same[k], same[k], same[k], same[k], same[k]};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            cie.StageABC.Mix[i][j] = Fix(i, 0x4000u * j);
            cie.StageLMN.Mix[i][j] = Fix(100 + 3 * i + j, 0);
        }
    }
    cie.WhitePoint = {Fix(1, 0), Fix(2, 0), Fix(3, 0)};
    cie.BlackPoint = {Fix(4, 0x8000), Fix(5, 0x8000), Fix(6, 0x8000)};
    cie.WhitePaper = {Fix(7, 0xC000), Fix(8, 0xC000), Fix(9, 0xC000)};
    cie.BlackInk = {Fix(-1, 0), Fix(-2, 0), Fix(-3, 0)};
    cie.Samples[0] = Fix(42, 0x2000);

    // The nested blocks, each under the line that introduces it.
    const auto decode = [](int index, const std::vector<std::string>& v) {
        return Lines({"      Decode[" + std::to_string(index) + "] =", "      TW_DECODEFUNCTION = {",
                      "        StartIn     = [" + v[0] + "]", "        BreakIn     = [" + v[1] + "]",
                      "        EndIn       = [" + v[2] + "]", "        StartOut    = [" + v[3] + "]",
                      "        BreakOut    = [" + v[4] + "]", "        EndOut      = [" + v[5] + "]",
                      "        Gamma       = [" + v[6] + "]", "        SampleCount = [" + v[7] + "]", "      }"});
    };
    const auto all = [](const char* value) { return std::vector<std::string>(8, value); };
    const auto point = [](const std::string& label, const char* x, const char* y, const char* z) {
        return Lines({"    " + label + "=", "    TW_CIEPOINT = {", std::string("      X = [") + x + "]",
                      std::string("      Y = [") + y + "]", std::string("      Z = [") + z + "]", "    }"});
    };
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_CIECOLOR, MSG_GET, &cie),
              Lines({"  TW_CIECOLOR = {",
                     "    ColorSpace      = [TWPT_CIEXYZ]",
                     "    LowEndian       = [1]",
                     "    DeviceDependent = [-1]",
                     "    VersionNumber   = [4294967295]",
                     "    StageABC=",
                     "    TW_TRANSFORMSTAGE = {"}) +
                  decode(0, {"10.000", "11.000", "12.000", "13.000", "14.000", "15.000", "16.000", "17.000"}) +
                  decode(1, all("1.500")) + decode(2, all("2.500")) +
                  Lines({"      Mix[0][0] = [0.000]",
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
                         "    TW_TRANSFORMSTAGE = {"}) +
                  decode(0, all("-1.000")) + decode(1, all("-2.000")) + decode(2, all("-3.000")) +
                  Lines({"      Mix[0][0] = [100.000]",
                         "      Mix[0][1] = [101.000]",
                         "      Mix[0][2] = [102.000]",
                         "      Mix[1][0] = [103.000]",
                         "      Mix[1][1] = [104.000]",
                         "      Mix[1][2] = [105.000]",
                         "      Mix[2][0] = [106.000]",
                         "      Mix[2][1] = [107.000]",
                         "      Mix[2][2] = [108.000]",
                         "    }"}) +
                  point("WhitePoint", "1.000", "2.000", "3.000") + point("BlackPoint", "4.500", "5.500", "6.500") +
                  point("WhitePaper", "7.750", "8.750", "9.750") + point("BlackInk", "-1.000", "-2.000", "-3.000") +
                  Lines({"    Samples[]       = [42.125]", "  }"}));

    // The widest values: 3,409 bytes, two thirds of the text buffer, so the whole record fits.
    // Everything from StageABC on is TW_FIX32.
    const TW_FIX32 widest = Fix(-32768, 0);
    for (size_t at = offsetof(TW_CIECOLOR, StageABC); at + sizeof(widest) <= sizeof(cie); at += sizeof(widest)) {
        memcpy(reinterpret_cast<char*>(&cie) + at, &widest, sizeof(widest));
    }
    cie.ColorSpace = 0xFFFF;
    cie.LowEndian = cie.DeviceDependent = -32768;
    const std::string block = RenderBlock(DG_IMAGE, DAT_CIECOLOR, MSG_GET, &cie);
    EXPECT_EQ(block.size(), 3409u);
    EXPECT_EQ(block.rfind(Lines({"  TW_CIECOLOR = {", "    ColorSpace      = [ERROR!(65535)]",
                                 "    LowEndian       = [-32768]", "    DeviceDependent = [-32768]"}),
                          0),
              0u)
        << block;
}

TEST(ColorFormat, ResponseAndPaletteBlocks) {
    // Grey and RGB share the block but for its header. Only the first element is shown; its bytes
    // are unsigned.
    TW_ELEMENT8 curve[256];
    for (int i = 0; i < 256; ++i) curve[i] = TW_ELEMENT8{static_cast<TW_UINT8>(i), 1, 2, 3};
    curve[0] = TW_ELEMENT8{0xFF, 0x80, 0x7F, 0x01};
    const std::string body = Lines({"    Response[0] =",
                                    "    TW_ELEMENT8 = {",
                                    "      Index    = [255]",
                                    "      Channel1 = [128]",
                                    "      Channel2 = [127]",
                                    "      Channel3 = [1]",
                                    "    }",
                                    "  }"});
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_GRAYRESPONSE, MSG_SET, curve), Lines({"  TW_GRAYRESPONSE = {"}) + body);
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_RGBRESPONSE, MSG_SET, curve), Lines({"  TW_RGBRESPONSE = {"}) + body);

    // The palette is acknowledged by one line; none of its fields is shown.
    TW_PALETTE8 palette{};
    palette.NumColors = 256;
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_PALETTE8, MSG_GET, &palette), Lines({"  TW_PALETTE8 = { it does not display. }"}));
}
