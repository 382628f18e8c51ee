// The transfer blocks (memory and file set-up, memory-transfer strip with its TW_MEMORY, JPEG
// compression with its tables, and the single 32-bit item), rendered through the analyser's result
// step as a host call would leave them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "TestSupport.h"

using testsupport::FakePointer;
using testsupport::LineOf;
using testsupport::Lines;
using testsupport::RenderBlock;

namespace {

// A TW_MEMORY block whose header continues the line opened by label.
std::string MemoryLines(const std::string& label, const std::string& flags, const std::string& length,
                        const std::string& theMem) {
    return Lines({label + "    TW_MEMORY = {", "      Flags  = [" + flags + "]", "      Length = [" + length + "]",
                  "      TheMem = <" + theMem + ">", "    }"});
}

}  // namespace

TEST(XferFormat, SetupMemAndFileXferBlocks) {
    TW_SETUPMEMXFER mem{0xFFFFFFFFu, 0x80000000u, 65536};
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &mem),
              Lines({"  TW_SETUPMEMXFER = {",
                     "    MinBufSize = [4294967295]",
                     "    MaxBufSize = [2147483648]",
                     "    Preferred  = [65536]",
                     "  }"}));

    // A name that fills all 256 bytes without a NUL shows exactly those bytes (nothing of the Format
    // field after it); VRefNum is signed, Format is looked up without sign.
    TW_SETUPFILEXFER file{};
    memset(file.FileName, 'f', sizeof(file.FileName));
    file.Format = 2;
    file.VRefNum = -1;
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &file),
              Lines({"  TW_SETUPFILEXFER = {",
                     "    FileName = [" + std::string(256, 'f') + "]",
                     "    Format   = [TWFF_BMP]",
                     "    VRefNum  = [-1]",
                     "  }"}));
    file.Format = 0xFFFF;
    EXPECT_EQ(LineOf(RenderBlock(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &file), "    Format"),
              "    Format   = [ERROR!(65535)]");
}

TEST(XferFormat, ImageMemXferBlock) {
    TW_IMAGEMEMXFER xfer{2, 7650, 0xFFFFFFFFu, 64, 0x80000000u, 128, 489600, {}};
    xfer.Memory = TW_MEMORY{0x11, 0xFFFFFFFEu, FakePointer<TW_MEMREF>(0x00007F0012345000ull)};
    // The closing brace of this block stands at the left margin.
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer),
              Lines({"  TW_IMAGEMEMXFER = {",
                     "    Compression  = [TWCP_GROUP31D]",
                     "    BytesPerRow  = [7650]",
                     "    Columns      = [4294967295]",
                     "    Rows         = [64]",
                     "    XOffset      = [2147483648]",
                     "    YOffset      = [128]",
                     "    BytesWritten = [489600]",
                     "    Memory       =",
                     "    TW_MEMORY = {",
                     "      Flags  = [0x11]",
                     "      Length = [4294967294]",
                     "      TheMem = <0x12345000>",
                     "    }",
                     "}"}));
}

TEST(XferFormat, JpegCompressionBlock) {
    TW_JPEGCOMPRESSION jpeg{};
    jpeg.ColorSpace = 2;  // TWPT_RGB
    jpeg.SubSampling = 0xFFFFFFFFu;
    jpeg.NumComponents = 3;
    jpeg.RestartFrequency = 0xFFFF;
    const TW_UINT16 quantMap[4] = {0, 1, 0xFFFF, 2};
    const TW_UINT16 huffmanMap[4] = {3, 0, 1, 0xFFFF};
    memcpy(jpeg.QuantMap, quantMap, sizeof(quantMap));
    memcpy(jpeg.HuffmanMap, huffmanMap, sizeof(huffmanMap));
    for (int i = 0; i < 4; ++i) {
        jpeg.QuantTable[i] = TW_MEMORY{i == 3 ? 0u : 0x1u, 64u + i, FakePointer<TW_MEMREF>(0x1000 + 0x100 * i)};
    }
    for (int i = 0; i < 2; ++i) {
        jpeg.HuffmanDC[i] = TW_MEMORY{0x2, 28u + i, FakePointer<TW_MEMREF>(0x2000 + 0x100 * i)};
        jpeg.HuffmanAC[i] = TW_MEMORY{0x12, 0xFFFFFFFFu - i, FakePointer<TW_MEMREF>(0xA00003000ull + 0x100 * i)};
    }
    // Each table label runs into its TW_MEMORY header on one line and is never closed; Flags are
    // hexadecimal without leading zeros (0 is 0x0).
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_JPEGCOMPRESSION, MSG_GET, &jpeg),
              Lines({"  TW_JPEGCOMPRESSION = {",
                     "    ColorSpace       = [TWPT_RGB]",
                     "    SubSampling      = [4294967295]",
                     "    NumComponents    = [3]",
                     "    RestartFrequency = [65535]",
                     "    QuantMap[]       = {0,1,65535,2}"}) +
                  MemoryLines("    QuantTable[0]   = {", "0x1", "64", "0x00001000") +
                  MemoryLines("    QuantTable[1]   = {", "0x1", "65", "0x00001100") +
                  MemoryLines("    QuantTable[2]   = {", "0x1", "66", "0x00001200") +
                  MemoryLines("    QuantTable[3]   = {", "0x0", "67", "0x00001300") +
                  Lines({"    HuffmanMap[]     = {3,0,1,65535}"}) +
                  MemoryLines("    HuffmanDC[0]    = {", "0x2", "28", "0x00002000") +
                  MemoryLines("    HuffmanDC[1]    = {", "0x2", "29", "0x00002100") +
                  MemoryLines("    HuffmanAC[0]    = {", "0x12", "4294967295", "0x00003000") +
                  MemoryLines("    HuffmanAC[1]    = {", "0x12", "4294967294", "0x00003100") + Lines({"  }"}));
}

TEST(XferFormat, Uint32Block) {
    // The transfer-group mask: the item the data pointer leads to, read as exactly four bytes (from
    // a heap block of that size, so a wider read would be caught).
    std::unique_ptr<TW_UINT32> group(new TW_UINT32(0xFFFFFFFEu));
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_XFERGROUP, MSG_GET, group.get()),
              Lines({"  TW_UINT32 = {", "    Item = <0xfffffffe>", "  }"}));
    // A null data pointer still gives the block, with eight zeros.
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_XFERGROUP, MSG_GET, nullptr),
              Lines({"  TW_UINT32 = {", "    Item = <0x00000000>", "  }"}));

    if (__BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__) GTEST_SKIP() << "the cases below are for a little-endian host";
    // An item at an odd address is read without an alignment fault.
    unsigned char bytes[8] = {0, 0x78, 0x56, 0x34, 0x12, 0, 0, 0};
    EXPECT_EQ(LineOf(RenderBlock(DG_CONTROL, DAT_XFERGROUP, MSG_SET, bytes + 1), "    Item"), "    Item = <0x12345678>");
    // The native image handle: its low 32 bits, as eight lower-case digits.
    TW_HANDLE image = FakePointer<TW_HANDLE>(0x00007FABCDEF0123ull);
    EXPECT_EQ(RenderBlock(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image),
              Lines({"  TW_UINT32 = {", "    Item = <0xcdef0123>", "  }"}));
}
