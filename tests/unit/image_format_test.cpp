// The image description blocks (image info, image layout with its frame, extended image info with
// its first entry), rendered through the analyser's result step as a host call would leave them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "TestSupport.h"

using testsupport::Fix;
using testsupport::LineOf;
using testsupport::Lines;
using testsupport::RenderBlock;

TEST(ImageFormat, ImageInfoBlock) {
    // Fractions that round away or to a negative zero, the most negative 32-bit size, all eight
    // samples listed whatever SamplesPerPixel says, any non-zero Planar true.
    TW_IMAGEINFO info{Fix(-1, 0x8000), Fix(-1, 0xFFFF), -1, INT32_MIN, 1, {-1, 1, 2, 3, 4, 5, 32767, -32768},
                      -2, 0x0100, 2, 5};
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info),
              Lines({"  TW_IMAGEINFO = {",
                     "    XResolution      = [-0.500]",
                     "    YResolution      = [-0.000]",
                     "    ImageWidth       = [-1]",
                     "    ImageLength      = [-2147483648]",
                     "    SamplesPerPixel  = [1]",
                     "    BitsPerSamples[] = {-1,1,2,3,4,5,32767,-32768}",
                     "    BitsPerPixel     = [-2]",
                     "    Planar           = [true]",
                     "    PixelType        = [TWPT_RGB]",
                     "    Compression      = [TWCP_GROUP4]",
                     "  }"}));

    // PixelType is looked up signed (0xFFFF is -1), Compression unsigned.
    info.PixelType = -1;
    info.Compression = 0xFFFF;
    EXPECT_NE(RenderBlock(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info)
                  .find(Lines({"    PixelType        = [ERROR!(-1)]", "    Compression      = [ERROR!(65535)]"})),
              std::string::npos);
}

TEST(ImageFormat, ImageLayoutBlock) {
    // Signed wholes with unsigned fractions (1/65536 shows as 0.000), and 32-bit numbers without sign.
    TW_IMAGELAYOUT layout{{Fix(-1, 0x8000), Fix(0, 1), Fix(-32768, 0), Fix(32767, 0xFFFF)}, 0xFFFFFFFFu, 0x80000000u, 3};
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout),
              Lines({"  TW_IMAGELAYOUT = {",
                     "    Frame          =",
                     "    TW_FRAME = {",
                     "      Left   = [-0.500]",
                     "      Top    = [0.000]",
                     "      Right  = [-32768.000]",
                     "      Bottom = [32768.000]",
                     "    }",
                     "    DocumentNumber = [4294967295]",
                     "    PageNumber     = [2147483648]",
                     "    FrameNumber    = [3]",
                     "  }"}));
}

TEST(ImageFormat, ExtImageInfoBlock) {
    // Five entries in the application's block: only the first one is shown. Its counts are
    // unsigned; CondCode is a TWRC_ return code.
    struct {
        TW_EXTIMAGEINFO head;
        TW_INFO more[4];
    } block{};
    block.head.NumInfos = 5;
    block.head.Info[0] = TW_INFO{0x1200, 4, 0xFFFF, 8, 0xFFFFFFFFu};
    for (TW_INFO& info : block.more) info = TW_INFO{0x1201, 5, 2, 0, 77};
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_EXTIMAGEINFO, MSG_GET, &block),
              Lines({"  TW_EXTIMAGEINFO = {",
                     "    NumInfos = [5]",
                     "    Info     =",
                     "    TW_INFO = {",
                     "      InfoID   = [4608]",
                     "      ItemType = [TWTY_UINT16]",
                     "      NumItems = [65535]",
                     "      CondCode = [TWRC_INFONOTSUPPORTED]",
                     "      Item     = [4294967295]",
                     "    }",
                     "  }"}));

    // NumInfos 0 still shows the entry.
    block.head.NumInfos = 0;
    EXPECT_EQ(LineOf(RenderBlock(DG_IMAGE, DAT_EXTIMAGEINFO, MSG_GET, &block), "      InfoID"),
              "      InfoID   = [4608]");
}
