// The TW_CAPABILITY block and its four containers, rendered through the analyser's result step with
// the container in a memory handle of exactly its size; failed calls and unknown container types,
// which must leave the handle alone; and containers whose fields claim more than the handle holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CapabilitySupport.h"
#include "TestSupport.h"
#include "TextBuffer.h"

using capsupport::ArrayItemList;
using capsupport::CapabilityBlock;
using capsupport::Container;
using capsupport::Fix;
using capsupport::ItemListOf;
using capsupport::kPixelTypeList;
using capsupport::PixelTypes;
using capsupport::PoisonHandle;
using capsupport::Render;
using capsupport::SuccessRecord;
using testsupport::Lines;
using testsupport::ResultLines;

namespace {

// An enumeration of TWTY_UINT16 items in a handle of exactly nSize bytes (at least its 16 bytes of
// fixed fields); the items that fit are stored.
void FillEnumeration(Container& box, size_t nSize, TW_UINT32 numItems, TW_UINT32 current, TW_UINT32 def,
                     const std::vector<TW_UINT16>& items) {
    box.Put<TW_UINT16>(0, TWTY_UINT16);
    box.Put<TW_UINT32>(4, numItems);
    box.Put<TW_UINT32>(8, current);
    box.Put<TW_UINT32>(12, def);
    for (size_t i = 0; i < items.size() && 16 + 2 * i + 2 <= nSize; ++i) box.Put<TW_UINT16>(16 + 2 * i, items[i]);
}

}  // namespace

TEST(CapContainer, PixelTypeEnumeration) {
    // The whole record of a successful MSG_GET: three items in exactly the 22 bytes they need.
    Container box(16 + 3 * 2);
    FillEnumeration(box, 22, 3, 2, 2, {0, 1, 2});
    TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ENUMERATION, box.Handle()};
    EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_PIXELTYPE", "TWON_ENUMERATION",
                                                              PixelTypes(3, kPixelTypeList))));

    // One byte less: the third item does not lie wholly inside and is not read. Indices are shown
    // as unsigned numbers only, even when they point past the list.
    Container shorter(21);
    FillEnumeration(shorter, 21, 3, 0xFFFFFFFFu, 7, {2, 1});
    shorter.Put<char>(20, 0x55);
    cap.hContainer = shorter.Handle();
    const std::string text = Render(cap);
    EXPECT_NE(text.find("      CurrentIndex = [4294967295]\r\n"), std::string::npos) << text;
    EXPECT_EQ(ItemListOf(text), Lines({"      ItemList = {", "          0:TWPT_RGB,", "          1:TWPT_GRAY,",
                                       "        ... 1 of 3 items lie outside the container", "      }"}));
}

TEST(CapContainer, Ranges) {
    // ICAP_BRIGHTNESS from -1000 to 1000 in steps of 1, as a reset returns it (the container is
    // shown whatever the message).
    Container box(sizeof(TW_RANGE));
    box.Put<TW_UINT16>(0, TWTY_FIX32);
    const TW_FIX32 values[5] = {Fix(-1000, 0), Fix(1000, 0), Fix(1, 0), Fix(0, 0), Fix(-12, 0x8000)};
    box.PutBytes(4, values, sizeof(values));
    TW_CAPABILITY range{ICAP_BRIGHTNESS, TWON_RANGE, box.Handle()};
    EXPECT_EQ(Render(range, MSG_RESET), SuccessRecord(range, CapabilityBlock(range, "ICAP_BRIGHTNESS", "TWON_RANGE",
                                                                  {"    TW_RANGE = {",
                                                                   "      ItemType     = [TWTY_FIX32]",
                                                                   "      MinValue     = [-1000.000]",
                                                                   "      MaxValue     = [1000.000]",
                                                                   "      StepSize     = [1.000]",
                                                                   "      DefaultValue = [0.000]",
                                                                   "      CurrentValue = [-11.500]",
                                                                   "    }"})));

    // Frames and texts are read as their type says from each field's address, never past the
    // container: a frame needing bytes past its end shows that it lies outside.
    const TW_FIX32 wholes[5] = {Fix(1, 0), Fix(2, 0), Fix(3, 0), Fix(4, 0), Fix(5, 0)};
    box.Put<TW_UINT16>(0, TWTY_FRAME);
    box.PutBytes(4, wholes, sizeof(wholes));
    std::string text = Render(range);
    EXPECT_NE(text.find(Lines({"      MinValue     = [1.000,2.000,3.000,4.000]",
                               "      MaxValue     = [2.000,3.000,4.000,5.000]",
                               "      StepSize     = [!!! outside the container !!!]",
                               "      DefaultValue = [!!! outside the container !!!]",
                               "      CurrentValue = [!!! outside the container !!!]"})),
              std::string::npos)
        << text;
    box.Put<TW_UINT16>(0, TWTY_STR255);
    box.PutBytes(4, "abcdefghijklmnopqrst", 20);  // no NUL up to the container's end ...
    box.Put<char>(12, '\0');                       // ... but one in the third field
    text = Render(range);
    EXPECT_NE(text.find(Lines({"      MinValue     = [abcdefgh]", "      MaxValue     = [efgh]",
                               "      StepSize     = []", "      DefaultValue = [mnopqrst]",
                               "      CurrentValue = [qrst]"})),
              std::string::npos)
        << text;
}

TEST(CapContainer, NoContainerLinesForAFailedCallAnUnknownTypeOrANullHandle) {
    // Following any of the poisoned handles would crash. A failed call also has no state line.
    TW_CAPABILITY failed{ICAP_PIXELTYPE, TWON_ENUMERATION, PoisonHandle()};
    EXPECT_EQ(Render(failed, MSG_GET, TWRC_FAILURE),
              ResultLines("TWRC_FAILURE", &failed) + CapabilityBlock(failed, "ICAP_PIXELTYPE", "TWON_ENUMERATION", {}));
    const struct {
        TW_CAPABILITY cap;
        const char* capName;
        const char* conName;
    } cases[] = {
        {{ICAP_PIXELTYPE, TWON_DONTCARE16, PoisonHandle()}, "ICAP_PIXELTYPE", "TWON_DONTCARE16"},
        {{0x1023, 7, PoisonHandle()}, "ERROR!(4131)", "ERROR!(7)"},
        {{ICAP_PIXELTYPE, TWON_ONEVALUE, nullptr}, "ICAP_PIXELTYPE", "TWON_ONEVALUE"},
    };
    for (const auto& c : cases) {
        TW_CAPABILITY cap = c.cap;
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, c.capName, c.conName, {}))) << c.conName;
    }
}

TEST(CapContainer, ItemsOutsideTheContainerAreNeverRead) {
    // An array of nothing but its fixed fields.
    EXPECT_EQ(ArrayItemList(ICAP_PIXELTYPE, TWTY_UINT16, 2, nullptr, 0),
              Lines({"      ItemList = {", "        ... 2 of 2 items lie outside the container", "      }"}));
    // Every item a 32-bit count can hold, of 34-byte texts, with room for one and a half; the half
    // has no NUL before the container's end.
    const std::vector<unsigned char> texts(34 + 17, 'x');
    EXPECT_EQ(ArrayItemList(CAP_ZV_PRODUCTNAME, TWTY_STR32, 0xFFFFFFFFu, texts.data(), texts.size()),
              Lines({"      ItemList = {", "          0:" + std::string(33, 'x') + ",",
                     "        ... 4294967294 of 4294967295 items lie outside the container", "      }"}));
    // A type out of range: its items are never read, each is shown as not implemented.
    EXPECT_EQ(ArrayItemList(CAP_XFERCOUNT, 13, 2, nullptr, 0),
              Lines({"      ItemList = {", "          0:!!! not implemented.!!!,", "          1:!!! not implemented.!!!",
                     "      }"}));

    // An unknown type with the largest count runs into the end of the text. Only a list that stops
    // once the text is full ends in time here.
    Container huge(8);
    huge.Put<TW_UINT16>(0, 0xFFFF);
    huge.Put<TW_UINT32>(4, 0xFFFFFFFFu);
    TW_CAPABILITY cap{CAP_XFERCOUNT, TWON_ARRAY, huge.Handle()};
    EXPECT_EQ(Render(cap).size(), CTextBuffer::kRoom);
}

TEST(CapContainer, ContainersSmallerThanTheirFixedFields) {
    // One byte short of the fixed fields of each container (no bytes at all for an array).
    const struct {
        TW_UINT16 conType;
        const char* name;
        size_t size;
        size_t needs;
    } cases[] = {{TWON_ONEVALUE, "ONEVALUE", 7, 8},
                 {TWON_ENUMERATION, "ENUMERATION", 15, 16},
                 {TWON_ARRAY, "ARRAY", 0, 8},
                 {TWON_RANGE, "RANGE", 23, 24}};
    for (const auto& c : cases) {
        Container box(c.size);
        if (c.size >= 2) box.Put<TW_UINT16>(0, TWTY_UINT16);
        TW_CAPABILITY cap{ICAP_PIXELTYPE, c.conType, box.Handle()};
        const std::string tw = std::string("TW_") + c.name;
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_PIXELTYPE", std::string("TWON_") + c.name,
                                                                  {"    " + tw + " = {",
                                                                   "      !!! container too small: " +
                                                                       std::to_string(c.size) + " bytes, " + tw +
                                                                       " needs " + std::to_string(c.needs) + " !!!",
                                                                   "    }"})));
    }
}
