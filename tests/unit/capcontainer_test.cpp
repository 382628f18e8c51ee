// The TW_CAPABILITY block and its four containers, rendered through the analyser's result step with
// the container in a memory handle; failed calls and unknown container types, which must leave the
// handle alone; and containers whose fields claim more than the handle holds.
#include <gtest/gtest.h>

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
    Container box(16 + 3 * 2);
    FillEnumeration(box, 22, 3, 2, 2, {0, 1, 2});
    TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ENUMERATION, box.Handle()};
    char szHandle[32];
    snprintf(szHandle, sizeof(szHandle), "<0x%08x>",
             static_cast<unsigned int>(reinterpret_cast<uintptr_t>(box.Handle()) & 0xFFFFFFFFu));
    EXPECT_EQ(Render(cap), ResultLines("TWRC_SUCCESS", &cap) + Lines({"  TW_CAPABILITY = {",
                                                                        "    Cap        = [ICAP_PIXELTYPE]",
                                                                        "    ConType    = [TWON_ENUMERATION]",
                                                                        std::string("    hContainer = ") + szHandle,
                                                                        "    TW_ENUMERATION = {",
                                                                        "      ItemType     = [TWTY_UINT16]",
                                                                        "      NumItems     = [3]",
                                                                        "      CurrentIndex = [2]",
                                                                        "      DefaultIndex = [2]",
                                                                        "      ItemList = {",
                                                                        "          0:TWPT_BW,",
                                                                        "          1:TWPT_GRAY,",
                                                                        "          2:TWPT_RGB",
                                                                        "      }",
                                                                        "    }",
                                                                        "  }",
                                                                        "",
                                                                        "TWAIN Status = [0]"}));
    // The container is only read.
    EXPECT_EQ(GetHandleSize(box.Handle()), 22);
    TW_UINT32 numItems = 0;
    memcpy(&numItems, box.Data() + 4, sizeof(numItems));
    EXPECT_EQ(numItems, 3u);

    // Indices are shown as numbers only, even when they point past the list.
    Container far(16 + 2 * 2);
    FillEnumeration(far, 20, 2, 0xFFFFFFFF, 7, {8, 9});
    TW_CAPABILITY odd{ICAP_PIXELTYPE, TWON_ENUMERATION, far.Handle()};
    EXPECT_EQ(Render(odd), SuccessRecord(odd, CapabilityBlock(odd, "ICAP_PIXELTYPE", "TWON_ENUMERATION",
                                                              {"    TW_ENUMERATION = {",
                                                               "      ItemType     = [TWTY_UINT16]",
                                                               "      NumItems     = [2]",
                                                               "      CurrentIndex = [4294967295]",
                                                               "      DefaultIndex = [7]",
                                                               "      ItemList = {",
                                                               "          0:TWPT_CIEXYZ,",
                                                               "          1:ERROR!(9)",
                                                               "      }",
                                                               "    }"})));
}

TEST(CapContainer, OneValues) {
    // MSG_SET of a resolution: a FIX32 one-value.
    Container resolution(sizeof(TW_ONEVALUE));
    resolution.Put<TW_UINT16>(0, TWTY_FIX32);
    resolution.Put(4, Fix(300, 0));
    TW_CAPABILITY cap{ICAP_XRESOLUTION, TWON_ONEVALUE, resolution.Handle()};
    EXPECT_EQ(Render(cap, MSG_SET), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_XRESOLUTION", "TWON_ONEVALUE",
                                                                        {"    TW_ONEVALUE = {",
                                                                         "      ItemType = [TWTY_FIX32]",
                                                                         "      Item     = [300.000]",
                                                                         "    }"})));

    // MSG_QUERYSUPPORT: the support flags as a signed decimal, without names.
    Container flags(sizeof(TW_ONEVALUE));
    flags.Put<TW_UINT16>(0, TWTY_INT32);
    flags.Put<TW_INT32>(4, 0x3F);
    TW_CAPABILITY qcap{ICAP_PIXELTYPE, TWON_ONEVALUE, flags.Handle()};
    EXPECT_EQ(Render(qcap, MSG_QUERYSUPPORT),
              SuccessRecord(qcap, CapabilityBlock(qcap, "ICAP_PIXELTYPE", "TWON_ONEVALUE",
                                                  {"    TW_ONEVALUE = {", "      ItemType = [TWTY_INT32]",
                                                   "      Item     = [63]", "    }"})));
}

TEST(CapContainer, Ranges) {
    // ICAP_BRIGHTNESS from -1000 to 1000 in steps of 1.
    Container box(sizeof(TW_RANGE));
    box.Put<TW_UINT16>(0, TWTY_FIX32);
    box.Put(4, Fix(-1000, 0));
    box.Put(8, Fix(1000, 0));
    box.Put(12, Fix(1, 0));
    box.Put(16, Fix(0, 0));
    box.Put(20, Fix(-12, 0x8000));
    TW_CAPABILITY cap{ICAP_BRIGHTNESS, TWON_RANGE, box.Handle()};
    EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_BRIGHTNESS", "TWON_RANGE",
                                                              {"    TW_RANGE = {",
                                                               "      ItemType     = [TWTY_FIX32]",
                                                               "      MinValue     = [-1000.000]",
                                                               "      MaxValue     = [1000.000]",
                                                               "      StepSize     = [1.000]",
                                                               "      DefaultValue = [0.000]",
                                                               "      CurrentValue = [-11.500]",
                                                               "    }"})));

    // Frames and texts are read as their type says from each field's address, never past the
    // container: a frame needing bytes past the end shows that it lies outside.
    Container frames(sizeof(TW_RANGE));
    frames.Put<TW_UINT16>(0, TWTY_FRAME);
    for (int i = 0; i < 5; ++i) frames.Put(4 + 4 * i, Fix(static_cast<TW_INT16>(i + 1), 0));
    TW_CAPABILITY fcap{ICAP_FRAMES, TWON_RANGE, frames.Handle()};
    EXPECT_EQ(Render(fcap), SuccessRecord(fcap, CapabilityBlock(fcap, "ICAP_FRAMES", "TWON_RANGE",
                                                                {"    TW_RANGE = {",
                                                                 "      ItemType     = [TWTY_FRAME]",
                                                                 "      MinValue     = [1.000,2.000,3.000,4.000]",
                                                                 "      MaxValue     = [2.000,3.000,4.000,5.000]",
                                                                 "      StepSize     = [!!! outside the container !!!]",
                                                                 "      DefaultValue = [!!! outside the container !!!]",
                                                                 "      CurrentValue = [!!! outside the container !!!]",
                                                                 "    }"})));

    Container texts(sizeof(TW_RANGE));
    texts.Put<TW_UINT16>(0, TWTY_STR255);
    texts.PutBytes(4, "abcdefghijklmnopqrst", 20);  // no NUL up to the container's end ...
    texts.Put<char>(12, '\0');                       // ... but one in the third field
    TW_CAPABILITY tcap{CAP_ZV_PRODUCTNAME, TWON_RANGE, texts.Handle()};
    EXPECT_EQ(Render(tcap), SuccessRecord(tcap, CapabilityBlock(tcap, "CAP_ZV_PRODUCTNAME", "TWON_RANGE",
                                                                {"    TW_RANGE = {",
                                                                 "      ItemType     = [TWTY_STR255]",
                                                                 "      MinValue     = [abcdefgh]",
                                                                 "      MaxValue     = [efgh]",
                                                                 "      StepSize     = []",
                                                                 "      DefaultValue = [mnopqrst]",
                                                                 "      CurrentValue = [qrst]",
                                                                 "    }"})));
}

TEST(CapContainer, FailedCallAndUnknownContainerLeaveTheHandleAlone) {
    // Following any of these handles would crash: the block shows no container for them.
    TW_CAPABILITY failed{ICAP_PIXELTYPE, TWON_ENUMERATION, PoisonHandle()};
    EXPECT_EQ(Render(failed, MSG_GET, TWRC_FAILURE),
              ResultLines("TWRC_FAILURE", &failed) +
                  Lines({"  TW_CAPABILITY = {", "    Cap        = [ICAP_PIXELTYPE]", "    ConType    = [TWON_ENUMERATION]",
                         "    hContainer = <0x00000010>", "  }"}));

    TW_CAPABILITY dontCare{ICAP_PIXELTYPE, TWON_DONTCARE16, PoisonHandle()};
    EXPECT_EQ(Render(dontCare), SuccessRecord(dontCare, Lines({"  TW_CAPABILITY = {", "    Cap        = [ICAP_PIXELTYPE]",
                                                                "    ConType    = [TWON_DONTCARE16]",
                                                                "    hContainer = <0x00000010>", "  }"})));

    TW_CAPABILITY major{CAP_XFERCOUNT, 1, PoisonHandle()};
    EXPECT_EQ(Render(major), SuccessRecord(major, CapabilityBlock(major, "CAP_XFERCOUNT", "TWON_PROTOCOLMAJOR", {})));

    TW_CAPABILITY seven{0x1023, 7, PoisonHandle()};
    EXPECT_EQ(Render(seven), SuccessRecord(seven, CapabilityBlock(seven, "ERROR!(4131)", "ERROR!(7)", {})));

    // A null handle shows no container whatever the type.
    TW_CAPABILITY empty{ICAP_PIXELTYPE, TWON_ONEVALUE, nullptr};
    EXPECT_EQ(Render(empty), SuccessRecord(empty, Lines({"  TW_CAPABILITY = {", "    Cap        = [ICAP_PIXELTYPE]",
                                                          "    ConType    = [TWON_ONEVALUE]",
                                                          "    hContainer = <0x00000000>", "  }"})));

    // A failed call with a real container: nothing of it is shown either.
    Container box(sizeof(TW_ONEVALUE));
    TW_CAPABILITY real{ICAP_PIXELTYPE, TWON_ONEVALUE, box.Handle()};
    EXPECT_EQ(Render(real, MSG_SET, TWRC_FAILURE),
              ResultLines("TWRC_FAILURE", &real) + CapabilityBlock(real, "ICAP_PIXELTYPE", "TWON_ONEVALUE", {}));
}

TEST(CapContainer, ContainerExactlyAsLargeAsItClaimsAndOneByteSmaller) {
    // Three items in exactly 22 bytes: all of them.
    Container exact(22);
    FillEnumeration(exact, 22, 3, 0, 1, {2, 1, 0});
    TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ENUMERATION, exact.Handle()};
    const std::vector<std::string> head = {"    TW_ENUMERATION = {", "      ItemType     = [TWTY_UINT16]",
                                           "      NumItems     = [3]", "      CurrentIndex = [0]",
                                           "      DefaultIndex = [1]", "      ItemList = {"};
    std::vector<std::string> lines = head;
    lines.insert(lines.end(), {"          0:TWPT_RGB,", "          1:TWPT_GRAY,", "          2:TWPT_BW", "      }", "    }"});
    EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_PIXELTYPE", "TWON_ENUMERATION", lines)));

    // One byte less: the third item does not lie wholly inside and is not read.
    Container shorter(21);
    FillEnumeration(shorter, 21, 3, 0, 1, {2, 1});
    shorter.Put<char>(20, 0x55);
    cap.hContainer = shorter.Handle();
    lines = head;
    lines.insert(lines.end(), {"          0:TWPT_RGB,", "          1:TWPT_GRAY,",
                               "        ... 1 of 3 items lie outside the container", "      }", "    }"});
    EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_PIXELTYPE", "TWON_ENUMERATION", lines)));
}

TEST(CapContainer, LyingContainers) {
    // An enumeration claiming 1000 items with room for 3.
    {
        Container box(16 + 3 * 2);
        FillEnumeration(box, 22, 1000, 0, 0, {0, 1, 2});
        TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ENUMERATION, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_PIXELTYPE", "TWON_ENUMERATION",
                                                                  {"    TW_ENUMERATION = {",
                                                                   "      ItemType     = [TWTY_UINT16]",
                                                                   "      NumItems     = [1000]",
                                                                   "      CurrentIndex = [0]",
                                                                   "      DefaultIndex = [0]",
                                                                   "      ItemList = {",
                                                                   "          0:TWPT_BW,",
                                                                   "          1:TWPT_GRAY,",
                                                                   "          2:TWPT_RGB,",
                                                                   "        ... 997 of 1000 items lie outside the container",
                                                                   "      }",
                                                                   "    }"})));
    }
    // An array claiming every item a 32-bit count can hold, of 34-byte texts, with room for one and
    // a half; the last text has no NUL before the container's end.
    {
        Container box(8 + 34 + 17);
        box.Put<TW_UINT16>(0, TWTY_STR32);
        box.Put<TW_UINT32>(4, 0xFFFFFFFF);
        memset(box.Data() + 8, 'x', 34 + 17);
        TW_CAPABILITY cap{CAP_ZV_PRODUCTNAME, TWON_ARRAY, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "CAP_ZV_PRODUCTNAME", "TWON_ARRAY",
                                                                  {"    TW_ARRAY = {",
                                                                   "      ItemType = [TWTY_STR32]",
                                                                   "      NumItems = [4294967295]",
                                                                   "      ItemList = {",
                                                                   "          0:" + std::string(33, 'x') + ",",
                                                                   "        ... 4294967294 of 4294967295 items lie outside the container",
                                                                   "      }",
                                                                   "    }"})));
    }
    // An item type out of range: its items are not read, but shown as not implemented.
    {
        Container box(8);
        box.Put<TW_UINT16>(0, 13);
        box.Put<TW_UINT32>(4, 2);
        TW_CAPABILITY cap{CAP_XFERCOUNT, TWON_ARRAY, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "CAP_XFERCOUNT", "TWON_ARRAY",
                                                                  {"    TW_ARRAY = {",
                                                                   "      ItemType = [ERROR!(13)]",
                                                                   "      NumItems = [2]",
                                                                   "      ItemList = {",
                                                                   "          0:!!! not implemented.!!!,",
                                                                   "          1:!!! not implemented.!!!",
                                                                   "      }",
                                                                   "    }"})));
    }
    // ... and with a huge count it runs into the end of the text, which then reports the overflow.
    {
        Container box(8);
        box.Put<TW_UINT16>(0, 0xFFFF);
        box.Put<TW_UINT32>(4, 0xFFFFFFFF);
        TW_CAPABILITY cap{CAP_XFERCOUNT, TWON_ARRAY, box.Handle()};
        CParaAnalyze analyser;
        CTextBuffer buffer;
        analyser.ParaAnalyze(nullptr, nullptr, DG_CONTROL, DAT_CAPABILITY, MSG_GET, reinterpret_cast<char*>(&cap),
                             TWRC_SUCCESS, &buffer);
        EXPECT_TRUE(buffer.Overflowed());
        EXPECT_EQ(buffer.Length(), CTextBuffer::kRoom);
    }
    // A text one-value without a NUL: read up to the container's end, no further.
    {
        Container box(4 + 10);
        box.Put<TW_UINT16>(0, TWTY_STR255);
        box.PutBytes(4, "ABCDEFGHIJ", 10);
        TW_CAPABILITY cap{CAP_ZV_PRODUCTNAME, TWON_ONEVALUE, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "CAP_ZV_PRODUCTNAME", "TWON_ONEVALUE",
                                                                  {"    TW_ONEVALUE = {",
                                                                   "      ItemType = [TWTY_STR255]",
                                                                   "      Item     = [ABCDEFGHIJ]",
                                                                   "    }"})));
    }
    // A frame one-value whose frame does not fit after Item.
    {
        Container box(4 + 15);
        box.Put<TW_UINT16>(0, TWTY_FRAME);
        TW_CAPABILITY cap{ICAP_FRAMES, TWON_ONEVALUE, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_FRAMES", "TWON_ONEVALUE",
                                                                  {"    TW_ONEVALUE = {",
                                                                   "      ItemType = [TWTY_FRAME]",
                                                                   "      Item     = [!!! outside the container !!!]",
                                                                   "    }"})));
    }
}

TEST(CapContainer, ContainersSmallerThanTheirFixedFields) {
    struct Case {
        TW_UINT16 conType;
        const char* conName;
        size_t size;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {TWON_ONEVALUE, "TWON_ONEVALUE", 6,
         {"    TW_ONEVALUE = {", "      !!! container too small: 6 bytes, TW_ONEVALUE needs 8 !!!", "    }"}},
        {TWON_ENUMERATION, "TWON_ENUMERATION", 15,
         {"    TW_ENUMERATION = {", "      !!! container too small: 15 bytes, TW_ENUMERATION needs 16 !!!", "    }"}},
        {TWON_ARRAY, "TWON_ARRAY", 0,
         {"    TW_ARRAY = {", "      !!! container too small: 0 bytes, TW_ARRAY needs 8 !!!", "    }"}},
        {TWON_RANGE, "TWON_RANGE", 23,
         {"    TW_RANGE = {", "      !!! container too small: 23 bytes, TW_RANGE needs 24 !!!", "    }"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.conName);
        Container box(c.size);
        if (c.size >= 2) box.Put<TW_UINT16>(0, TWTY_UINT16);
        TW_CAPABILITY cap{ICAP_PIXELTYPE, c.conType, box.Handle()};
        EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_PIXELTYPE", c.conName, c.lines)));
    }

    // Exactly the fixed fields of an array: an empty list is all there is room for.
    Container fields(8);
    fields.Put<TW_UINT16>(0, TWTY_UINT16);
    fields.Put<TW_UINT32>(4, 2);
    TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ARRAY, fields.Handle()};
    EXPECT_EQ(Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_PIXELTYPE", "TWON_ARRAY",
                                                              {"    TW_ARRAY = {", "      ItemType = [TWTY_UINT16]",
                                                               "      NumItems = [2]", "      ItemList = {",
                                                               "        ... 2 of 2 items lie outside the container",
                                                               "      }", "    }"})));
}
