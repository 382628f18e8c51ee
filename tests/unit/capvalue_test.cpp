// Capability values (each item type, value names, supported capabilities, extension version) and item
// lists, rendered through the analyser's result step with the container in a handle of its size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CapabilitySupport.h"
#include "ParaAnalyze.h"
#include "TestSupport.h"
#include "TextBuffer.h"

using capsupport::ArrayItemList;
using capsupport::CapabilityBlock;
using capsupport::Container;
using capsupport::Fix;
using capsupport::Render;
using capsupport::SuccessRecord;
using testsupport::Lines;

namespace {

template <typename T>
std::vector<unsigned char> Bytes(const T& value) {
    std::vector<unsigned char> bytes(sizeof(T));
    memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

// A text field of nField bytes: the text, then zeros.
std::vector<unsigned char> Text(const std::string& text, size_t nField) {
    std::vector<unsigned char> bytes(nField, 0);
    memcpy(bytes.data(), text.data(), text.size());
    return bytes;
}

struct OneValueCase {
    TW_UINT16 cap;
    const char* capName;
    TW_UINT16 type;
    const char* typeName;
    std::vector<unsigned char> item;  // the bytes from Item on
    std::string text;                 // the Item line's text
};

// A one-value container holding exactly the ItemType, the padding and the item's bytes (at least
// the 4 bytes of Item), rendered and compared whole.
void ExpectOneValue(const OneValueCase& c) {
    SCOPED_TRACE(std::string(c.capName) + " " + c.typeName + " -> " + c.text);
    Container box(4 + std::max<size_t>(4, c.item.size()));
    box.Put<TW_UINT16>(0, c.type);
    box.PutBytes(4, c.item.data(), c.item.size());
    TW_CAPABILITY cap{c.cap, TWON_ONEVALUE, box.Handle()};
    EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, c.capName, "TWON_ONEVALUE",
                                                              {"    TW_ONEVALUE = {",
                                                               std::string("      ItemType = [") + c.typeName + "]",
                                                               "      Item     = [" + c.text + "]", "    }"})));
}

}  // namespace

TEST(CapValue, EachItemTypeAndNamedValueText) {
    const std::string a34(34, 'A'), b66(66, 'b'), c130(130, 'c'), z256(256, 'z');
    const OneValueCase cases[] = {
        // Eight-bit values in hexadecimal; a signed one is widened with its sign first.
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_INT8, "TWTY_INT8", Bytes<TW_INT8>(-2), "0xfffffffe"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_UINT8, "TWTY_UINT8", Bytes<TW_UINT8>(200), "0xc8"},
        // Sixteen and 32 bits: signed decimal, a TWTY_UINT32 too.
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_INT16, "TWTY_INT16", Bytes<TW_INT16>(-2), "-2"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_INT32, "TWTY_INT32", Bytes<TW_INT32>(-100000), "-100000"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_UINT32, "TWTY_UINT32", Bytes<TW_UINT32>(0xFFFFFFFFu), "-1"},
        // Any non-zero bool is true, the high byte alone too.
        {CAP_FEEDERENABLED, "CAP_FEEDERENABLED", TWTY_BOOL, "TWTY_BOOL", Bytes<TW_BOOL>(0x0100), "true"},
        {CAP_FEEDERENABLED, "CAP_FEEDERENABLED", TWTY_BOOL, "TWTY_BOOL", Bytes<TW_BOOL>(0), "false"},
        // FIX32: Whole (signed) + Frac / 65536, three decimals.
        {ICAP_XRESOLUTION, "ICAP_XRESOLUTION", TWTY_FIX32, "TWTY_FIX32", Bytes(Fix(-1, 0x8000)), "-0.500"},
        {ICAP_XRESOLUTION, "ICAP_XRESOLUTION", TWTY_FIX32, "TWTY_FIX32", Bytes(Fix(300, 0)), "300.000"},
        // A frame value goes on past Item: Left, Top, Right, Bottom.
        {ICAP_FRAMES, "ICAP_FRAMES", TWTY_FRAME, "TWTY_FRAME",
         Bytes(TW_FRAME{Fix(1, 0x8000), Fix(0, 0x4000), Fix(8, 0x8000), Fix(-11, 0)}), "1.500,0.250,8.500,-11.000"},
        // Never past the container: a frame that does not fit in it, a text without a NUL before its end.
        {ICAP_FRAMES, "ICAP_FRAMES", TWTY_FRAME, "TWTY_FRAME", std::vector<unsigned char>(15, 0),
         "!!! outside the container !!!"},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR255, "TWTY_STR255", Text("ABCDEFGHIJ", 10), "ABCDEFGHIJ"},
        // Texts as they are, up to their NUL and at most their type's size less one (here no NUL).
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR32, "TWTY_STR32", Text("a[b] c", 34), "a[b] c"},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR32, "TWTY_STR32", Text(a34, 34), a34.substr(1)},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR64, "TWTY_STR64", Text(b66, 66), b66.substr(1)},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR128, "TWTY_STR128", Text(c130, 130), c130.substr(1)},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR255, "TWTY_STR255", Text(z256, 256), z256.substr(1)},
        // A type this monitor does not know (its name looked up without sign): the 32 bits at Item, signed.
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", 0xFFFF, "ERROR!(65535)", Bytes<TW_UINT32>(0xFFFFFFFEu), "-2"},
        // Standard capabilities: their value table (looked up without sign), or plain unsigned decimal.
        {ICAP_PIXELTYPE, "ICAP_PIXELTYPE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(2), "TWPT_RGB"},
        {ICAP_PIXELTYPE, "ICAP_PIXELTYPE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(9), "ERROR!(9)"},
        {ICAP_PIXELTYPE, "ICAP_PIXELTYPE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0xFFFF), "ERROR!(65535)"},
        {ICAP_BITDEPTH, "ICAP_BITDEPTH", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0xFFFF), "65535"},
        // Extension capabilities go to the extension directory.
        {ICAP_ZV_FILMTYPE, "ICAP_ZV_FILMTYPE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(1), "TWZV_FT_NEGA"},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(5), "5"},
        // Only TWTY_UINT16 values are named: the same value as an INT16 stays a number.
        {ICAP_PIXELTYPE, "ICAP_PIXELTYPE", TWTY_INT16, "TWTY_INT16", Bytes<TW_INT16>(2), "2"},
        // The extension version: high and low byte in hexadecimal without leading zeros.
        {CAP_ZV_VERSION, "CAP_ZV_VERSION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0x0110), "1.10"},
        {CAP_ZV_VERSION, "CAP_ZV_VERSION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0x020A), "2.a"},
        {CAP_ZV_VERSION, "CAP_ZV_VERSION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0xFF00), "ff.0"},
        // Supported capabilities: capability names, none for 0.
        {CAP_SUPPORTEDCAPS, "CAP_SUPPORTEDCAPS", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0x0101), "ICAP_PIXELTYPE"},
        {CAP_SUPPORTEDCAPS, "CAP_SUPPORTEDCAPS", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0), ""},
    };
    for (const OneValueCase& c : cases) ExpectOneValue(c);
}

TEST(CapValue, ItemLists) {
    // Capability codes named from both tables of their range (0x8043 by its first row), 0 empty,
    // codes in no table the not-found text.
    const TW_UINT16 codes[] = {0x1005, 0x0101, 0, 0x8043, 0x1201, 0x8001};
    EXPECT_EQ(ArrayItemList(CAP_SUPPORTEDCAPS, TWTY_UINT16, 6, codes, sizeof(codes)),
              Lines({"      ItemList = {",
                     "          0:CAP_SUPPORTEDCAPS,",
                     "          1:ICAP_PIXELTYPE,",
                     "          2:,",
                     "          3:ICAP_ZV_ADE,",
                     "          4:ERROR!(4609),",
                     "          5:CAP_ZV_VERSION",
                     "      }"}));
    // No items: the two bracket lines only.
    EXPECT_EQ(ArrayItemList(ICAP_PIXELTYPE, TWTY_UINT16, 0, nullptr, 0), Lines({"      ItemList = {", "      }"}));
    // Frames are not rendered item by item; the indices and commas stay.
    const TW_FRAME frames[2] = {{Fix(1, 0), Fix(2, 0), Fix(3, 0), Fix(4, 0)}, {}};
    EXPECT_EQ(ArrayItemList(ICAP_FRAMES, TWTY_FRAME, 2, frames, sizeof(frames)),
              Lines({"      ItemList = {", "          0:!!! not implemented.!!!,", "          1:!!! not implemented.!!!",
                     "      }"}));
    // Items step by their type's size: 1 byte for INT8, 34 for STR32 (a full item without NUL shows
    // its 33 characters, nothing of the next item).
    const TW_INT8 bytes[] = {5, -2, 0x7F, -128};
    EXPECT_EQ(ArrayItemList(CAP_XFERCOUNT, TWTY_INT8, 4, bytes, sizeof(bytes)),
              Lines({"      ItemList = {", "          0:0x05,", "          1:0xfffffffe,", "          2:0x7f,",
                     "          3:0xffffff80", "      }"}));
    char texts[3 * 34] = "Alpha";
    memset(texts + 34, 'Q', 34);
    memcpy(texts + 68, "Gamma", 6);
    EXPECT_EQ(ArrayItemList(CAP_ZV_PRODUCTNAME, TWTY_STR32, 3, texts, sizeof(texts)),
              Lines({"      ItemList = {", "          0:Alpha,", "          1:" + std::string(33, 'Q') + ",",
                     "          2:Gamma", "      }"}));
}

// 400 capability codes lying wholly inside their container render to more than the text buffer
// holds: the buffer keeps exactly the first 5120 bytes of the full text and says it overflowed,
// wherever in a line the room ends.
TEST(CapValue, LongListKeepsTheFirst5120Bytes) {
    struct Named {
        TW_UINT16 code;
        const char* name;
    };
    const Named caps[] = {{0x1005, "CAP_SUPPORTEDCAPS"}, {0x0101, "ICAP_PIXELTYPE"}, {0x8001, "CAP_ZV_VERSION"},
                          {0x1118, "ICAP_XRESOLUTION"}, {0x8081, "ICAP_ZV_AUTOSIZETYPE"}};
    const size_t kItems = 400;
    Container box(8 + 2 * kItems);
    box.Put<TW_UINT16>(0, TWTY_UINT16);
    box.Put<TW_UINT32>(4, kItems);
    std::vector<std::string> lines = {"    TW_ARRAY = {", "      ItemType = [TWTY_UINT16]", "      NumItems = [400]",
                                      "      ItemList = {"};
    for (size_t i = 0; i < kItems; ++i) {
        box.Put<TW_UINT16>(8 + 2 * i, caps[i % 5].code);
        char index[16];
        snprintf(index, sizeof(index), "%3zu", i);
        lines.push_back(std::string("        ") + index + ":" + caps[i % 5].name + (i + 1 < kItems ? "," : ""));
    }
    lines.insert(lines.end(), {"      }", "    }"});
    TW_CAPABILITY cap{CAP_SUPPORTEDCAPS, TWON_ARRAY, box.Handle()};
    const std::string full = SuccessRecord(cap, CapabilityBlock(cap, "CAP_SUPPORTEDCAPS", "TWON_ARRAY", lines));
    ASSERT_GT(full.size(), CTextBuffer::kRoom);

    // Text already in the buffer moves the cut through every column of an item line: the index,
    // the name written in place, the comma and the line end.
    for (size_t nBefore = 0; nBefore < 40; ++nBefore) {
        const std::string before(nBefore, '#');
        CParaAnalyze analyser;
        CTextBuffer buffer;
        buffer.Append(before.c_str());
        analyser.ParaAnalyze(nullptr, nullptr, DG_CONTROL, DAT_CAPABILITY, MSG_GET, reinterpret_cast<char*>(&cap),
                             TWRC_SUCCESS, &buffer);
        EXPECT_TRUE(buffer.Overflowed());
        ASSERT_EQ(std::string(buffer.Text(), buffer.Length()), (before + full).substr(0, CTextBuffer::kRoom))
            << nBefore;
    }
}
