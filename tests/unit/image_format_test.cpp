// The image description blocks (image info, image layout with its frame, extended image info with
// its first entry), rendered through the analyser's result step as a host call would leave them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ParaAnalyze.h"
#include "TestSupport.h"

using testsupport::Lines;
using testsupport::RenderResult;
using testsupport::ResultLines;
using testsupport::StateLines;

namespace {

TW_FIX32 Fix(TW_INT16 whole, TW_UINT16 frac) { return TW_FIX32{whole, frac}; }

}  // namespace

TEST(ImageFormat, ImageInfoBlock) {
    TW_IMAGEINFO info{};
    info.XResolution = Fix(300, 0);
    info.YResolution = Fix(150, 0x8000);
    info.ImageWidth = 2550;
    info.ImageLength = 3300;
    info.SamplesPerPixel = 3;
    info.BitsPerSample[0] = info.BitsPerSample[1] = info.BitsPerSample[2] = 8;
    info.BitsPerPixel = 24;
    info.Planar = 0;
    info.PixelType = 2;    // TWPT_RGB
    info.Compression = 0;  // TWCP_NONE
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info),
              ResultLines("TWRC_SUCCESS", &info) +
                  Lines({"  TW_IMAGEINFO = {",
                         "    XResolution      = [300.000]",
                         "    YResolution      = [150.500]",
                         "    ImageWidth       = [2550]",
                         "    ImageLength      = [3300]",
                         "    SamplesPerPixel  = [3]",
                         "    BitsPerSamples[] = {8,8,8,0,0,0,0,0}",
                         "    BitsPerPixel     = [24]",
                         "    Planar           = [false]",
                         "    PixelType        = [TWPT_RGB]",
                         "    Compression      = [TWCP_NONE]",
                         "  }"}) +
                  StateLines(0));

    // Edge values: fractions that round away or to a negative zero, the most negative Whole,
    // negative 32-bit sizes, all eight samples listed whatever SamplesPerPixel says (0xFFFF is -1),
    // a PixelType of 0xFFFF looked up signed (-1) and a Compression of 0xFFFF unsigned (65535).
    info.XResolution = Fix(-1, 0x8000);
    info.YResolution = Fix(-1, 0xFFFF);
    info.ImageWidth = -1;
    info.ImageLength = INT32_MIN;
    info.SamplesPerPixel = 1;
    const TW_INT16 bits[8] = {-1, 1, 2, 3, 4, 5, 32767, -32768};
    for (int i = 0; i < 8; ++i) info.BitsPerSample[i] = bits[i];
    info.BitsPerPixel = -2;
    info.Planar = 0x0100;
    info.PixelType = static_cast<TW_INT16>(0xFFFF);
    info.Compression = 0xFFFF;
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info),
              ResultLines("TWRC_SUCCESS", &info) +
                  Lines({"  TW_IMAGEINFO = {",
                         "    XResolution      = [-0.500]",
                         "    YResolution      = [-0.000]",
                         "    ImageWidth       = [-1]",
                         "    ImageLength      = [-2147483648]",
                         "    SamplesPerPixel  = [1]",
                         "    BitsPerSamples[] = {-1,1,2,3,4,5,32767,-32768}",
                         "    BitsPerPixel     = [-2]",
                         "    Planar           = [true]",
                         "    PixelType        = [ERROR!(-1)]",
                         "    Compression      = [ERROR!(65535)]",
                         "  }"}) +
                  StateLines(0));

    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(ImageFormat, ImageLayoutBlock) {
    TW_IMAGELAYOUT layout{};
    layout.Frame = TW_FRAME{Fix(0, 0), Fix(0, 1), Fix(8, 0x8000), Fix(11, 0)};  // 1/65536 shows as 0.000
    layout.DocumentNumber = 1;
    layout.PageNumber = 2;
    layout.FrameNumber = 3;
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout),
              ResultLines("TWRC_SUCCESS", &layout) +
                  Lines({"  TW_IMAGELAYOUT = {",
                         "    Frame          =",
                         "    TW_FRAME = {",
                         "      Left   = [0.000]",
                         "      Top    = [0.000]",
                         "      Right  = [8.500]",
                         "      Bottom = [11.000]",
                         "    }",
                         "    DocumentNumber = [1]",
                         "    PageNumber     = [2]",
                         "    FrameNumber    = [3]",
                         "  }"}) +
                  StateLines(0));

    // Signed wholes with unsigned fractions, and 32-bit numbers shown without sign.
    layout.Frame = TW_FRAME{Fix(-1, 0x8000), Fix(1, 0x4000), Fix(-32768, 0), Fix(32767, 0xFFFF)};
    layout.DocumentNumber = 0xFFFFFFFFu;
    layout.PageNumber = 0x80000000u;
    layout.FrameNumber = 0;
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout),
              ResultLines("TWRC_SUCCESS", &layout) +
                  Lines({"  TW_IMAGELAYOUT = {",
                         "    Frame          =",
                         "    TW_FRAME = {",
                         "      Left   = [-0.500]",
                         "      Top    = [1.250]",
                         "      Right  = [-32768.000]",
                         "      Bottom = [32768.000]",
                         "    }",
                         "    DocumentNumber = [4294967295]",
                         "    PageNumber     = [2147483648]",
                         "    FrameNumber    = [0]",
                         "  }"}) +
                  StateLines(0));

    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(ImageFormat, ExtImageInfoBlock) {
    // Five entries in the application's block: only the first one is shown.
    struct {
        TW_EXTIMAGEINFO head;
        TW_INFO more[4];
    } block{};
    block.head.NumInfos = 5;
    block.head.Info[0] = TW_INFO{0x1200, 4, 1, 0, 300};  // TWTY_UINT16, TWRC_SUCCESS
    for (TW_INFO& info : block.more) info = TW_INFO{0x1201, 5, 2, 8, 77};
    const std::string info0 = Lines({"    TW_INFO = {",
                                     "      InfoID   = [4608]",
                                     "      ItemType = [TWTY_UINT16]",
                                     "      NumItems = [1]",
                                     "      CondCode = [TWRC_SUCCESS]",
                                     "      Item     = [300]",
                                     "    }"});
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_EXTIMAGEINFO, MSG_GET, &block),
              ResultLines("TWRC_SUCCESS", &block) +
                  Lines({"  TW_EXTIMAGEINFO = {", "    NumInfos = [5]", "    Info     ="}) + info0 + Lines({"  }"}) +
                  StateLines(0));

    // NumInfos 0 still shows the entry; all-ones counts are unsigned; codes outside the tables
    // show the not-found text; CondCode is a TWRC_ return code.
    TW_EXTIMAGEINFO ext{};
    ext.NumInfos = 0;
    ext.Info[0] = TW_INFO{0xFFFF, 13, 0xFFFF, 8, 0xFFFFFFFFu};
    const std::string edge = Lines({"    TW_INFO = {",
                                    "      InfoID   = [65535]",
                                    "      ItemType = [ERROR!(13)]",
                                    "      NumItems = [65535]",
                                    "      CondCode = [TWRC_INFONOTSUPPORTED]",
                                    "      Item     = [4294967295]",
                                    "    }"});
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_EXTIMAGEINFO, MSG_GET, &ext),
              ResultLines("TWRC_SUCCESS", &ext) +
                  Lines({"  TW_EXTIMAGEINFO = {", "    NumInfos = [0]", "    Info     ="}) + edge + Lines({"  }"}) +
                  StateLines(0));

    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_EXTIMAGEINFO, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}
