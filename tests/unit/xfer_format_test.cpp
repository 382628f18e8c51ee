// The transfer blocks (memory and file set-up, memory-transfer strip with its TW_MEMORY, JPEG
// compression with its tables, and the single 32-bit item), rendered through the analyser's result
// step as a host call would leave them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ParaAnalyze.h"
#include "TestSupport.h"
#include "TextBuffer.h"

using testsupport::Lines;
using testsupport::RenderResult;
using testsupport::ResultLines;
using testsupport::StateLines;

namespace {

template <typename T>
T FakePointer(uint64_t value) {
    return reinterpret_cast<T>(static_cast<uintptr_t>(value));
}

// A nested TW_MEMORY block whose header continues the line opened by pszLabel.
std::vector<std::string> MemoryLines(const std::string& label, const std::string& flags, const std::string& length,
                                     const std::string& theMem) {
    return {label + "    TW_MEMORY = {", "      Flags  = [" + flags + "]", "      Length = [" + length + "]",
            "      TheMem = <" + theMem + ">", "    }"};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bool LittleEndian() {
    const uint16_t probe = 1;
    unsigned char first = 0;
    memcpy(&first, &probe, 1);
    return first == 1;
}

}  // namespace

TEST(XferFormat, SetupMemXferBlock) {
    TW_SETUPMEMXFER setup{16384, 1048576, 65536};
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup),
              ResultLines("TWRC_SUCCESS", &setup) +
                  Lines({"  TW_SETUPMEMXFER = {",
                         "    MinBufSize = [16384]",
                         "    MaxBufSize = [1048576]",
                         "    Preferred  = [65536]",
                         "  }"}) +
                  StateLines(0));

    setup = TW_SETUPMEMXFER{0xFFFFFFFFu, 0x80000000u, 0};
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup),
              ResultLines("TWRC_SUCCESS", &setup) +
                  Lines({"  TW_SETUPMEMXFER = {",
                         "    MinBufSize = [4294967295]",
                         "    MaxBufSize = [2147483648]",
                         "    Preferred  = [0]",
                         "  }"}) +
                  StateLines(0));

    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(XferFormat, SetupFileXferBlock) {
    TW_SETUPFILEXFER setup{};
    strcpy(setup.FileName, "/tmp/scan 1.tif");
    setup.Format = 0;  // TWFF_TIFF
    setup.VRefNum = 0;
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup),
              ResultLines("TWRC_SUCCESS", &setup) +
                  Lines({"  TW_SETUPFILEXFER = {",
                         "    FileName = [/tmp/scan 1.tif]",
                         "    Format   = [TWFF_TIFF]",
                         "    VRefNum  = [0]",
                         "  }"}) +
                  StateLines(0));

    // A name that fills all 256 bytes without a NUL shows exactly those bytes (nothing of the
    // Format field after it); a Format outside the table shows the not-found text with its
    // unsigned value; VRefNum is signed.
    memset(setup.FileName, 'f', sizeof(setup.FileName));
    setup.Format = 0xFFFF;
    setup.VRefNum = static_cast<TW_INT16>(0xFFFF);
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &setup),
              ResultLines("TWRC_SUCCESS", &setup) +
                  Lines({"  TW_SETUPFILEXFER = {",
                         "    FileName = [" + std::string(256, 'f') + "]",
                         "    Format   = [ERROR!(65535)]",
                         "    VRefNum  = [-1]",
                         "  }"}) +
                  StateLines(0));

    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(XferFormat, ImageMemXferBlock) {
    TW_IMAGEMEMXFER xfer{};
    xfer.Compression = 0;  // TWCP_NONE
    xfer.BytesPerRow = 7650;
    xfer.Columns = 2550;
    xfer.Rows = 64;
    xfer.XOffset = 0;
    xfer.YOffset = 128;
    xfer.BytesWritten = 489600;
    xfer.Memory.Flags = 0x11;
    xfer.Memory.Length = 489600;
    xfer.Memory.TheMem = FakePointer<TW_MEMREF>(0x00007F0012345000ull);
    // The closing brace of this block stands at the left margin.
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer, TWRC_XFERDONE),
              ResultLines("TWRC_XFERDONE", &xfer) +
                  Lines({"  TW_IMAGEMEMXFER = {",
                         "    Compression  = [TWCP_NONE]",
                         "    BytesPerRow  = [7650]",
                         "    Columns      = [2550]",
                         "    Rows         = [64]",
                         "    XOffset      = [0]",
                         "    YOffset      = [128]",
                         "    BytesWritten = [489600]",
                         "    Memory       =",
                         "    TW_MEMORY = {",
                         "      Flags  = [0x11]",
                         "      Length = [489600]",
                         "      TheMem = <0x12345000>",
                         "    }",
                         "}"}) +
                  StateLines(0));

    // Flags in hexadecimal without leading zeros (0 is 0x0), 32-bit fields without sign, a code
    // outside the table, a null memory pointer.
    xfer.Compression = 13;
    xfer.BytesPerRow = xfer.Columns = xfer.Rows = 0xFFFFFFFFu;
    xfer.XOffset = xfer.YOffset = xfer.BytesWritten = 0x80000000u;
    xfer.Memory.Flags = 0;
    xfer.Memory.Length = 0xFFFFFFFFu;
    xfer.Memory.TheMem = nullptr;
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer),
              ResultLines("TWRC_SUCCESS", &xfer) +
                  Lines({"  TW_IMAGEMEMXFER = {",
                         "    Compression  = [ERROR!(13)]",
                         "    BytesPerRow  = [4294967295]",
                         "    Columns      = [4294967295]",
                         "    Rows         = [4294967295]",
                         "    XOffset      = [2147483648]",
                         "    YOffset      = [2147483648]",
                         "    BytesWritten = [2147483648]",
                         "    Memory       =",
                         "    TW_MEMORY = {",
                         "      Flags  = [0x0]",
                         "      Length = [4294967295]",
                         "      TheMem = <0x00000000>",
                         "    }",
                         "}"}) +
                  StateLines(0));

    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(XferFormat, JpegCompressionBlock) {
    TW_JPEGCOMPRESSION jpeg{};
    jpeg.ColorSpace = 2;  // TWPT_RGB
    jpeg.SubSampling = 0x10001;
    jpeg.NumComponents = 3;
    jpeg.RestartFrequency = 0;
    const TW_UINT16 maps[4] = {0, 1, 1, 0};
    memcpy(jpeg.QuantMap, maps, sizeof(maps));
    memcpy(jpeg.HuffmanMap, maps, sizeof(maps));
    for (int i = 0; i < 4; ++i) {
        jpeg.QuantTable[i] = TW_MEMORY{0x1, 64, FakePointer<TW_MEMREF>(0x1000 + 0x100 * i)};
    }
    for (int i = 0; i < 2; ++i) {
        jpeg.HuffmanDC[i] = TW_MEMORY{0x2, 28, FakePointer<TW_MEMREF>(0x2000 + 0x100 * i)};
        jpeg.HuffmanAC[i] = TW_MEMORY{0x12, 178, FakePointer<TW_MEMREF>(0xA00003000ull + 0x100 * i)};
    }
    // Each table label runs into its TW_MEMORY header on one line and is never closed.
    const std::vector<std::string> expected =
        std::vector<std::string>{"  TW_JPEGCOMPRESSION = {",
                                 "    ColorSpace       = [TWPT_RGB]",
                                 "    SubSampling      = [65537]",
                                 "    NumComponents    = [3]",
                                 "    RestartFrequency = [0]",
                                 "    QuantMap[]       = {0,1,1,0}"} +
        MemoryLines("    QuantTable[0]   = {", "0x1", "64", "0x00001000") +
        MemoryLines("    QuantTable[1]   = {", "0x1", "64", "0x00001100") +
        MemoryLines("    QuantTable[2]   = {", "0x1", "64", "0x00001200") +
        MemoryLines("    QuantTable[3]   = {", "0x1", "64", "0x00001300") +
        std::vector<std::string>{"    HuffmanMap[]     = {0,1,1,0}"} +
        MemoryLines("    HuffmanDC[0]    = {", "0x2", "28", "0x00002000") +
        MemoryLines("    HuffmanDC[1]    = {", "0x2", "28", "0x00002100") +
        MemoryLines("    HuffmanAC[0]    = {", "0x12", "178", "0x00003000") +
        MemoryLines("    HuffmanAC[1]    = {", "0x12", "178", "0x00003100") + std::vector<std::string>{"  }"};
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_JPEGCOMPRESSION, MSG_GET, &jpeg),
              ResultLines("TWRC_SUCCESS", &jpeg) + Lines(expected) + StateLines(0));

    // The widest values: unnamed colour space, all-ones 16- and 32-bit fields (unsigned), handles
    // above 4 GiB. The block stays well inside the text buffer.
    jpeg.ColorSpace = 0xFFFF;
    jpeg.SubSampling = 0xFFFFFFFFu;
    jpeg.NumComponents = 0xFFFF;
    jpeg.RestartFrequency = 0xFFFF;
    for (TW_UINT16& m : jpeg.QuantMap) m = 0xFFFF;
    for (TW_UINT16& m : jpeg.HuffmanMap) m = 0xFFFF;
    const TW_MEMORY wide{0xFFFFFFFFu, 0xFFFFFFFFu, FakePointer<TW_MEMREF>(0xFFFFFFFFFFFFFFFFull)};
    for (TW_MEMORY& m : jpeg.QuantTable) m = wide;
    for (TW_MEMORY& m : jpeg.HuffmanDC) m = wide;
    for (TW_MEMORY& m : jpeg.HuffmanAC) m = wide;
    const std::string F = "0xffffffff";
    const std::string L = "4294967295";
    const std::string wideBlock = Lines(
        std::vector<std::string>{"  TW_JPEGCOMPRESSION = {",
                                 "    ColorSpace       = [ERROR!(65535)]",
                                 "    SubSampling      = [4294967295]",
                                 "    NumComponents    = [65535]",
                                 "    RestartFrequency = [65535]",
                                 "    QuantMap[]       = {65535,65535,65535,65535}"} +
        MemoryLines("    QuantTable[0]   = {", F, L, F) + MemoryLines("    QuantTable[1]   = {", F, L, F) +
        MemoryLines("    QuantTable[2]   = {", F, L, F) + MemoryLines("    QuantTable[3]   = {", F, L, F) +
        std::vector<std::string>{"    HuffmanMap[]     = {65535,65535,65535,65535}"} +
        MemoryLines("    HuffmanDC[0]    = {", F, L, F) + MemoryLines("    HuffmanDC[1]    = {", F, L, F) +
        MemoryLines("    HuffmanAC[0]    = {", F, L, F) + MemoryLines("    HuffmanAC[1]    = {", F, L, F) +
        std::vector<std::string>{"  }"});
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_JPEGCOMPRESSION, MSG_GET, &jpeg),
              ResultLines("TWRC_SUCCESS", &jpeg) + wideBlock + StateLines(0));
    EXPECT_LT(wideBlock.size(), 1400u);

    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_JPEGCOMPRESSION, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(XferFormat, Uint32Block) {
    // The transfer-group mask: the item the data pointer leads to, read as exactly four bytes
    // (here a heap block of that size, so a wider read would be caught).
    std::unique_ptr<TW_UINT32> group(new TW_UINT32(DG_IMAGE));
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_XFERGROUP, MSG_GET, group.get()),
              ResultLines("TWRC_SUCCESS", group.get()) +
                  Lines({"  TW_UINT32 = {", "    Item = <0x00000002>", "  }"}) + StateLines(0));
    *group = 0xFFFFFFFFu;
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_XFERGROUP, MSG_GET, group.get()),
              ResultLines("TWRC_SUCCESS", group.get()) +
                  Lines({"  TW_UINT32 = {", "    Item = <0xffffffff>", "  }"}) + StateLines(0));

    // A null data pointer still gives the block, with eight zeros.
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_XFERGROUP, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) +
                  Lines({"  TW_UINT32 = {", "    Item = <0x00000000>", "  }"}) + StateLines(0));
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, nullptr, TWRC_CANCEL),
              ResultLines("TWRC_CANCEL", nullptr) +
                  Lines({"  TW_UINT32 = {", "    Item = <0x00000000>", "  }"}) + StateLines(0));

    if (!LittleEndian()) GTEST_SKIP() << "the byte-level cases below are written for a little-endian host";

    // An item at an odd address is read without an alignment fault.
    unsigned char bytes[8] = {0, 0x78, 0x56, 0x34, 0x12, 0, 0, 0};
    const std::string odd = RenderResult(DG_CONTROL, DAT_XFERGROUP, MSG_SET, bytes + 1);
    EXPECT_NE(odd.find("    Item = <0x12345678>\r\n"), std::string::npos) << odd;

    // The native image handle: its low 32 bits, as eight lower-case digits.
    TW_HANDLE image = FakePointer<TW_HANDLE>(0x00007FABCDEF0123ull);
    EXPECT_EQ(RenderResult(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image, TWRC_XFERDONE),
              ResultLines("TWRC_XFERDONE", &image) +
                  Lines({"  TW_UINT32 = {", "    Item = <0xcdef0123>", "  }"}) + StateLines(0));
}
