// Capability values: the text of each item type, value names through both value directories, the
// supported-capabilities list and the extension version, item lists and their overflow. Every case
// goes through the analyser's result step with the container in a memory handle, as a host call
// leaves it, and is compared with the whole record written out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "CapabilitySupport.h"
#include "ParaAnalyze.h"
#include "TestSupport.h"
#include "TextBuffer.h"

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

std::vector<unsigned char> Text(const std::string& text, size_t nField) {
    std::vector<unsigned char> bytes(nField, 0);
    memcpy(bytes.data(), text.data(), std::min(text.size(), nField));
    return bytes;
}

struct OneValueCase {
    TW_UINT16 cap;
    const char* capName;
    TW_UINT16 type;
    const char* typeName;
    std::vector<unsigned char> item;  // the bytes from Item on
    const char* text;                 // the Item line's text
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
                                                               std::string("      Item     = [") + c.text + "]",
                                                               "    }"})));
}

// An array of TWTY_UINT16 items for a capability, rendered whole (sets cap's handle to the box).
std::string RenderUint16Array(TW_CAPABILITY& cap, Container& box, const std::vector<TW_UINT16>& items) {
    box.Put<TW_UINT16>(0, TWTY_UINT16);
    box.Put<TW_UINT32>(4, static_cast<TW_UINT32>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) box.Put<TW_UINT16>(8 + 2 * i, items[i]);
    cap.hContainer = box.Handle();
    return Render(cap);
}

}  // namespace

TEST(CapValue, EachItemTypeText) {
    const OneValueCase cases[] = {
        // Eight-bit values in hexadecimal; a signed one is widened with its sign first.
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_INT8, "TWTY_INT8", Bytes<TW_INT8>(5), "0x05"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_INT8, "TWTY_INT8", Bytes<TW_INT8>(-2), "0xfffffffe"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_INT8, "TWTY_INT8", Bytes<TW_INT8>(-1), "0xffffffff"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_UINT8, "TWTY_UINT8", Bytes<TW_UINT8>(200), "0xc8"},
        // Sixteen and 32 bits: signed decimal, a TWTY_UINT32 too.
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_INT16, "TWTY_INT16", Bytes<TW_INT16>(-2), "-2"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_INT16, "TWTY_INT16", Bytes<TW_INT16>(32767), "32767"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_INT32, "TWTY_INT32", Bytes<TW_INT32>(-100000), "-100000"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_UINT32, "TWTY_UINT32", Bytes<TW_UINT32>(0xFFFFFFFFu), "-1"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_UINT32, "TWTY_UINT32", Bytes<TW_UINT32>(0x80000000u), "-2147483648"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", TWTY_UINT32, "TWTY_UINT32", Bytes<TW_UINT32>(7), "7"},
        // Any non-zero bool is true, the high byte alone too.
        {CAP_FEEDERENABLED, "CAP_FEEDERENABLED", TWTY_BOOL, "TWTY_BOOL", Bytes<TW_BOOL>(0x0100), "true"},
        {CAP_FEEDERENABLED, "CAP_FEEDERENABLED", TWTY_BOOL, "TWTY_BOOL", Bytes<TW_BOOL>(0), "false"},
        // FIX32: Whole (signed) + Frac / 65536, three decimals.
        {ICAP_XRESOLUTION, "ICAP_XRESOLUTION", TWTY_FIX32, "TWTY_FIX32", Bytes(Fix(1, 0x8000)), "1.500"},
        {ICAP_XRESOLUTION, "ICAP_XRESOLUTION", TWTY_FIX32, "TWTY_FIX32", Bytes(Fix(-1, 0x8000)), "-0.500"},
        {ICAP_XRESOLUTION, "ICAP_XRESOLUTION", TWTY_FIX32, "TWTY_FIX32", Bytes(Fix(300, 0)), "300.000"},
        {ICAP_XRESOLUTION, "ICAP_XRESOLUTION", TWTY_FIX32, "TWTY_FIX32", Bytes(Fix(2, 0x4000)), "2.250"},
        {ICAP_XRESOLUTION, "ICAP_XRESOLUTION", TWTY_FIX32, "TWTY_FIX32", Bytes(Fix(-32768, 0xFFFF)), "-32767.000"},
        // A frame value goes on past Item: Left, Top, Right, Bottom.
        {ICAP_FRAMES, "ICAP_FRAMES", TWTY_FRAME, "TWTY_FRAME",
         Bytes(TW_FRAME{Fix(1, 0x8000), Fix(0, 0x4000), Fix(8, 0x8000), Fix(-11, 0)}),
         "1.500,0.250,8.500,-11.000"},
        // Texts up to their NUL, at most their type's size less one.
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR32, "TWTY_STR32", Text("Sim One", 34), "Sim One"},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR32, "TWTY_STR32", Text(std::string(40, 'A'), 34),
         "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR64, "TWTY_STR64", Text(std::string(66, 'b'), 66),
         "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR128, "TWTY_STR128", Text("a[b]c", 130), "a[b]c"},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR255, "TWTY_STR255", Text("", 256), ""},
        // A type this monitor does not know: the 32 bits at Item, signed.
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", 13, "ERROR!(13)", Bytes<TW_UINT32>(0xFFFFFFFEu), "-2"},
        {CAP_XFERCOUNT, "CAP_XFERCOUNT", 0xFFFF, "ERROR!(65535)", Bytes<TW_UINT32>(12345), "12345"},
    };
    for (const OneValueCase& c : cases) ExpectOneValue(c);

    // The 255-character text of a TWTY_STR255 field without NUL.
    std::string longText(255, 'z');
    ExpectOneValue({CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_STR255, "TWTY_STR255", Text(std::string(300, 'z'), 256),
                    longText.c_str()});
}

TEST(CapValue, ValueNamesThroughBothDirectories) {
    const OneValueCase cases[] = {
        // Standard capabilities: their value table, the not-found text, or plain decimal.
        {ICAP_PIXELTYPE, "ICAP_PIXELTYPE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(2), "TWPT_RGB"},
        {ICAP_PIXELTYPE, "ICAP_PIXELTYPE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(9), "ERROR!(9)"},
        {ICAP_ORIENTATION, "ICAP_ORIENTATION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(3), "TWOR_ROT270"},
        {ICAP_SUPPORTEDSIZES, "ICAP_SUPPORTEDSIZES", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(1), "TWSS_A4LETTER"},
        {ICAP_BITDEPTH, "ICAP_BITDEPTH", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(8), "8"},
        {ICAP_BITDEPTH, "ICAP_BITDEPTH", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0xFFFF), "65535"},
        {ICAP_PIXELTYPE, "ICAP_PIXELTYPE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0xFFFF), "ERROR!(65535)"},
        // Extension capabilities go to the extension directory.
        {ICAP_ZV_FILMTYPE, "ICAP_ZV_FILMTYPE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(1), "TWZV_FT_NEGA"},
        {CAP_ZV_UIMODE, "CAP_ZV_UIMODE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(6), "TWZV_UI_EXTRALIDFILM"},
        {CAP_ZV_UIMODE, "CAP_ZV_UIMODE", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(7), "ERROR!(7)"},
        {CAP_ZV_PRODUCTNAME, "CAP_ZV_PRODUCTNAME", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(5), "5"},
        // Only TWTY_UINT16 values are named: the same value as an INT16 stays a number.
        {ICAP_PIXELTYPE, "ICAP_PIXELTYPE", TWTY_INT16, "TWTY_INT16", Bytes<TW_INT16>(2), "2"},
    };
    for (const OneValueCase& c : cases) ExpectOneValue(c);
}

TEST(CapValue, ExtensionVersionAndSupportedCapsValues) {
    const OneValueCase cases[] = {
        {CAP_ZV_VERSION, "CAP_ZV_VERSION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0x0102), "1.2"},
        {CAP_ZV_VERSION, "CAP_ZV_VERSION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0x0110), "1.10"},
        {CAP_ZV_VERSION, "CAP_ZV_VERSION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0x020A), "2.a"},
        {CAP_ZV_VERSION, "CAP_ZV_VERSION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0x0203), "2.3"},
        {CAP_ZV_VERSION, "CAP_ZV_VERSION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0x0005), "0.5"},
        {CAP_ZV_VERSION, "CAP_ZV_VERSION", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0xFF00), "ff.0"},
        {CAP_SUPPORTEDCAPS, "CAP_SUPPORTEDCAPS", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0x0101), "ICAP_PIXELTYPE"},
        {CAP_SUPPORTEDCAPS, "CAP_SUPPORTEDCAPS", TWTY_UINT16, "TWTY_UINT16", Bytes<TW_UINT16>(0), ""},
    };
    for (const OneValueCase& c : cases) ExpectOneValue(c);
}

TEST(CapValue, SupportedCapsList) {
    // The example list of three capability codes.
    Container example(8 + 3 * 2);
    TW_CAPABILITY cap{CAP_SUPPORTEDCAPS, TWON_ARRAY, nullptr};
    const std::string exampleText = RenderUint16Array(cap, example, {0x1005, 0x0101, 0x8001});
    EXPECT_EQ(exampleText,
              SuccessRecord(cap, CapabilityBlock(cap, "CAP_SUPPORTEDCAPS", "TWON_ARRAY",
                                                 {"    TW_ARRAY = {",
                                                  "      ItemType = [TWTY_UINT16]",
                                                  "      NumItems = [3]",
                                                  "      ItemList = {",
                                                  "          0:CAP_SUPPORTEDCAPS,",
                                                  "          1:ICAP_PIXELTYPE,",
                                                  "          2:CAP_ZV_VERSION",
                                                  "      }",
                                                  "    }"})));

    // Item 0 is empty; codes are named from both capability tables of their range (0x8043 by its
    // first row), and codes in none of them show the not-found text.
    Container odd(8 + 6 * 2);
    const std::string oddText = RenderUint16Array(cap, odd, {0x0001, 0, 0x8043, 0x1201, 0x1023, 0x8000});
    EXPECT_EQ(oddText,
              SuccessRecord(cap, CapabilityBlock(cap, "CAP_SUPPORTEDCAPS", "TWON_ARRAY",
                                                 {"    TW_ARRAY = {",
                                                  "      ItemType = [TWTY_UINT16]",
                                                  "      NumItems = [6]",
                                                  "      ItemList = {",
                                                  "          0:CAP_XFERCOUNT,",
                                                  "          1:,",
                                                  "          2:ICAP_ZV_ADE,",
                                                  "          3:ERROR!(4609),",
                                                  "          4:ERROR!(4131),",
                                                  "          5:CAP_CUSTOMBASE",
                                                  "      }",
                                                  "    }"})));
}

TEST(CapValue, ItemLists) {
    // No items: the two bracket lines only.
    {
        Container box(16);
        box.Put<TW_UINT16>(0, TWTY_UINT16);
        TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ENUMERATION, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_PIXELTYPE", "TWON_ENUMERATION",
                                                                  {"    TW_ENUMERATION = {",
                                                                   "      ItemType     = [TWTY_UINT16]",
                                                                   "      NumItems     = [0]",
                                                                   "      CurrentIndex = [0]",
                                                                   "      DefaultIndex = [0]",
                                                                   "      ItemList = {",
                                                                   "      }",
                                                                   "    }"})));
    }
    // Frames are not rendered item by item; the indices and commas stay.
    {
        Container box(8 + 3 * 16);
        box.Put<TW_UINT16>(0, TWTY_FRAME);
        box.Put<TW_UINT32>(4, 3);
        box.Put(8, TW_FRAME{Fix(1, 0), Fix(2, 0), Fix(3, 0), Fix(4, 0)});
        TW_CAPABILITY cap{ICAP_FRAMES, TWON_ARRAY, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_FRAMES", "TWON_ARRAY",
                                                                  {"    TW_ARRAY = {",
                                                                   "      ItemType = [TWTY_FRAME]",
                                                                   "      NumItems = [3]",
                                                                   "      ItemList = {",
                                                                   "          0:!!! not implemented.!!!,",
                                                                   "          1:!!! not implemented.!!!,",
                                                                   "          2:!!! not implemented.!!!",
                                                                   "      }",
                                                                   "    }"})));
    }
    // Items step by their type's size: 1 byte for INT8, 34 for STR32 (a full item without NUL
    // shows its 33 characters, nothing of the next item).
    {
        Container box(16 + 4);
        box.Put<TW_UINT16>(0, TWTY_INT8);
        box.Put<TW_UINT32>(4, 4);
        box.Put<TW_UINT32>(8, 3);
        box.Put<TW_UINT32>(12, 1);
        const TW_INT8 items[] = {5, -2, 0x7F, -128};
        box.PutBytes(16, items, sizeof(items));
        TW_CAPABILITY cap{CAP_XFERCOUNT, TWON_ENUMERATION, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "CAP_XFERCOUNT", "TWON_ENUMERATION",
                                                                  {"    TW_ENUMERATION = {",
                                                                   "      ItemType     = [TWTY_INT8]",
                                                                   "      NumItems     = [4]",
                                                                   "      CurrentIndex = [3]",
                                                                   "      DefaultIndex = [1]",
                                                                   "      ItemList = {",
                                                                   "          0:0x05,",
                                                                   "          1:0xfffffffe,",
                                                                   "          2:0x7f,",
                                                                   "          3:0xffffff80",
                                                                   "      }",
                                                                   "    }"})));
    }
    {
        Container box(8 + 3 * 34);
        box.Put<TW_UINT16>(0, TWTY_STR32);
        box.Put<TW_UINT32>(4, 3);
        box.PutBytes(8, "Alpha", 5);
        memset(box.Data() + 8 + 34, 'Q', 34);
        box.PutBytes(8 + 68, "Gamma", 5);
        TW_CAPABILITY cap{CAP_ZV_PRODUCTNAME, TWON_ARRAY, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "CAP_ZV_PRODUCTNAME", "TWON_ARRAY",
                                                                  {"    TW_ARRAY = {",
                                                                   "      ItemType = [TWTY_STR32]",
                                                                   "      NumItems = [3]",
                                                                   "      ItemList = {",
                                                                   "          0:Alpha,",
                                                                   "          1:" + std::string(33, 'Q') + ",",
                                                                   "          2:Gamma",
                                                                   "      }",
                                                                   "    }"})));
    }
}

TEST(CapValue, ItemIndexWidensFromOneThousand) {
    // No 5120-byte rendering reaches index 1000, so the line itself is checked.
    CParaAnalyze analyser;
    CTextBuffer buffer;
    analyser.ParaAnalyze(nullptr, nullptr, DG_CONTROL, DAT_CAPABILITY, MSG_GET, nullptr, TWRC_SUCCESS, &buffer);
    buffer.Clear();
    analyser.MakeItemLine(7, "TWPT_BW", false);
    analyser.MakeItemLine(999, "a", false);
    analyser.MakeItemLine(1000, "b", false);
    analyser.MakeItemLine(123456, "c", true);
    EXPECT_EQ(std::string(buffer.Text(), buffer.Length()),
              Lines({"          7:TWPT_BW,", "        999:a,", "        1000:b,", "        123456:c"}));
}

TEST(CapValue, LongSupportedCapsListKeepsTheFirst5120Bytes) {
    struct Named {
        TW_UINT16 code;
        const char* name;
    };
    const Named caps[] = {{0x1005, "CAP_SUPPORTEDCAPS"}, {0x0101, "ICAP_PIXELTYPE"}, {0x8001, "CAP_ZV_VERSION"},
                          {0x1118, "ICAP_XRESOLUTION"}, {0x8081, "ICAP_ZV_AUTOSIZETYPE"}};
    const size_t kItems = 400;
    std::vector<TW_UINT16> codes;
    std::vector<std::string> lines = {"    TW_ARRAY = {", "      ItemType = [TWTY_UINT16]", "      NumItems = [400]",
                                      "      ItemList = {"};
    for (size_t i = 0; i < kItems; ++i) {
        const Named& c = caps[i % 5];
        codes.push_back(c.code);
        char index[16];
        snprintf(index, sizeof(index), "%3zu", i);
        lines.push_back(std::string("        ") + index + ":" + c.name + (i + 1 < kItems ? "," : ""));
    }
    lines.push_back("      }");
    lines.push_back("    }");

    Container box(8 + 2 * kItems);
    TW_CAPABILITY cap{CAP_SUPPORTEDCAPS, TWON_ARRAY, nullptr};
    for (size_t i = 0; i < kItems; ++i) box.Put<TW_UINT16>(8 + 2 * i, codes[i]);
    box.Put<TW_UINT16>(0, TWTY_UINT16);
    box.Put<TW_UINT32>(4, kItems);
    cap.hContainer = box.Handle();

    const std::string full = SuccessRecord(cap, CapabilityBlock(cap, "CAP_SUPPORTEDCAPS", "TWON_ARRAY", lines));
    ASSERT_GT(full.size(), CTextBuffer::kRoom);

    CParaAnalyze analyser;
    CTextBuffer buffer;
    analyser.ParaAnalyze(nullptr, nullptr, DG_CONTROL, DAT_CAPABILITY, MSG_GET, reinterpret_cast<char*>(&cap),
                         TWRC_SUCCESS, &buffer);
    EXPECT_TRUE(buffer.Overflowed());
    EXPECT_EQ(buffer.Length(), CTextBuffer::kRoom);
    EXPECT_EQ(std::string(buffer.Text(), buffer.Length()), full.substr(0, CTextBuffer::kRoom));
}

TEST(CapValue, HugeListStopsOnceTheTextIsFull) {
    // Sixteen million items that all lie inside the container: rendering them all would take
    // seconds; only the ones that fit the text are formatted.
    const size_t kItems = 16u * 1024u * 1024u;
    Container box(8 + 2 * kItems);
    box.Put<TW_UINT16>(0, TWTY_UINT16);
    box.Put<TW_UINT32>(4, static_cast<TW_UINT32>(kItems));
    for (size_t i = 0; i < kItems; ++i) box.Put<TW_UINT16>(8 + 2 * i, 0x1023);  // named in no table
    TW_CAPABILITY cap{CAP_SUPPORTEDCAPS, TWON_ARRAY, box.Handle()};

    CParaAnalyze analyser;
    CTextBuffer buffer;
    const auto start = std::chrono::steady_clock::now();
    analyser.ParaAnalyze(nullptr, nullptr, DG_CONTROL, DAT_CAPABILITY, MSG_GET, reinterpret_cast<char*>(&cap),
                         TWRC_SUCCESS, &buffer);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(buffer.Overflowed());
    EXPECT_EQ(buffer.Length(), CTextBuffer::kRoom);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 1000);
}
