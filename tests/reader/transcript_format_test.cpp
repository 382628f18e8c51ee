// The parser on small transcripts written by hand, one per quirk of the log format.
#include <gtest/gtest.h>

#include <algorithm>

#include "Block.h"
#include "Json.h"
#include "ReaderTestSupport.h"

using readertest::Lines;
using readertest::Parse;

namespace {

const std::vector<std::string> kCapGet = {
    "[00003] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_GET (ICAP_PIXELTYPE)",
    "        Return Code = [TWRC_SUCCESS]",
    "pData   = <0x5a1c2e40>",
    "  TW_CAPABILITY = {",
    "    Cap        = [ICAP_PIXELTYPE]",
    "    ConType    = [TWON_ENUMERATION]",
    "    hContainer = <0x5a1c3f00>",
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
    "TWAIN Status = [4]",
};

std::string Lf(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\n";
    return s;
}

}  // namespace

TEST(TranscriptFormat, RecordFieldsAndItemListFromCrLfAndLfAlike) {
    for (const std::string& text : {Lines(kCapGet), Lf(kCapGet)}) {
        std::vector<std::pair<std::size_t, std::string>> bad;
        auto records = Parse(text, &bad);
        ASSERT_EQ(records.size(), 1u);
        const auto& r = records[0];
        EXPECT_EQ(r.line, 1u);
        EXPECT_TRUE(r.hasSeq);
        EXPECT_EQ(r.seq, 3);
        EXPECT_EQ(r.triplet, "DG_CONTROL/DAT_CAPABILITY/MSG_GET");
        EXPECT_EQ(r.cap, "ICAP_PIXELTYPE");
        EXPECT_EQ(r.rc, "TWRC_SUCCESS");
        EXPECT_EQ(r.data, "0x5a1c2e40");
        EXPECT_TRUE(r.hasState);
        EXPECT_EQ(r.state, 4);
        EXPECT_FALSE(r.failed || r.truncated || r.incomplete);
        EXPECT_EQ(r.json,
                  "{\"file\":\"f\",\"line\":1,\"seq\":3,\"source\":\"APP\",\"dg\":\"DG_CONTROL\",\"dat\":\"DAT_CAPABILITY\","
                  "\"msg\":\"MSG_GET\",\"cap\":\"ICAP_PIXELTYPE\",\"rc\":\"TWRC_SUCCESS\",\"data\":\"0x5a1c2e40\",\"state\":4,"
                  "\"block\":{\"TW_CAPABILITY\":{\"Cap\":\"ICAP_PIXELTYPE\",\"ConType\":\"TWON_ENUMERATION\","
                  "\"hContainer\":\"0x5a1c3f00\",\"TW_ENUMERATION\":{\"ItemType\":\"TWTY_UINT16\",\"NumItems\":\"3\","
                  "\"CurrentIndex\":\"2\",\"DefaultIndex\":\"2\",\"ItemList\":[\"TWPT_BW\",\"TWPT_GRAY\",\"TWPT_RGB\"]}}}}");
        EXPECT_TRUE(bad.empty());
    }
}

// Items keep a comma of their own on the last item; a list cut by its container's size says so
// in a line of its own, kept in the array.
TEST(TranscriptFormat, ItemListsWithStringsAndMissingItems) {
    auto records = Parse(Lines({
        "[00001] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_GET (CAP_AUTHOR)",
        "        Return Code = [TWRC_SUCCESS]",
        "pData   = <0x00001000>",
        "  TW_CAPABILITY = {",
        "    TW_ARRAY = {",
        "      ItemList = {",
        "          0:a: b,",
        "          1:x=1,,",
        "         12:ends,",
        "      }",
        "      ItemList = {",
        "          0:one,",
        "        ... 3 of 4 items lie outside the container",
        "      }",
        "    }",
        "  }",
        "",
        "TWAIN Status = [4]",
    }));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].block,
              "{\"TW_CAPABILITY\":{\"TW_ARRAY\":{\"ItemList\":[\"a: b\",\"x=1,\",\"ends,\"],"
              "\"ItemList#2\":[\"one\",{\"#text\":\"... 3 of 4 items lie outside the container\"}]}}}");
}

TEST(TranscriptFormat, ImageMemXferBlockClosingAtTheLeftMargin) {
    auto records = Parse(Lines({
        "[00035] [APP] DG_IMAGE/DAT_IMAGEMEMXFER/MSG_GET",
        "        Return Code = [TWRC_XFERDONE]",
        "pData   = <0x72847340>",
        "  TW_IMAGEMEMXFER = {",
        "    Compression  = [TWCP_NONE]",
        "    BytesPerRow  = [900]",
        "    Memory       =",
        "    TW_MEMORY = {",
        "      Flags  = [0x11]",
        "      Length = [27000]",
        "      TheMem = <0x4629b000>",
        "    }",
        "}",
        "",
        "TWAIN Status = [7]",
        "[00036] [APP] DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER",
    }));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].block,
              "{\"TW_IMAGEMEMXFER\":{\"Compression\":\"TWCP_NONE\",\"BytesPerRow\":\"900\",\"Memory\":{\"TW_MEMORY\":"
              "{\"Flags\":\"0x11\",\"Length\":\"27000\",\"TheMem\":\"0x4629b000\"}}}}");
    EXPECT_EQ(records[0].state, 7);
    EXPECT_FALSE(records[0].incomplete);
    EXPECT_EQ(records[1].line, 16u);
}

// Each label shares its line with the TW_MEMORY block it holds and is never closed; the block's
// own closing brace ends the whole structure.
TEST(TranscriptFormat, JpegLabelsThatNeverClose) {
    std::vector<std::string> lines = {
        "[00007] [APP] DG_IMAGE/DAT_JPEGCOMPRESSION/MSG_GET",
        "        Return Code = [TWRC_SUCCESS]",
        "pData   = <0x00002000>",
        "  TW_JPEGCOMPRESSION = {",
        "    ColorSpace       = [TWPT_RGB]",
        "    QuantMap[]       = {0,1,1,0}",
    };
    for (int i = 0; i < 2; ++i) {
        lines.push_back("    QuantTable[" + std::to_string(i) + "]   = {    TW_MEMORY = {");
        lines.push_back("      Flags  = [0x0]");
        lines.push_back("      TheMem = <0x00000000>");
        lines.push_back("    }");
    }
    lines.push_back("    HuffmanAC[1]    = {    TW_MEMORY = {");
    lines.push_back("      Length = [0]");
    lines.push_back("    }");
    lines.push_back("  }");
    lines.push_back("");
    lines.push_back("TWAIN Status = [4]");
    std::vector<std::pair<std::size_t, std::string>> bad;
    auto records = Parse(Lines(lines), &bad);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].block,
              "{\"TW_JPEGCOMPRESSION\":{\"ColorSpace\":\"TWPT_RGB\",\"QuantMap[]\":\"0,1,1,0\","
              "\"QuantTable[0]\":{\"TW_MEMORY\":{\"Flags\":\"0x0\",\"TheMem\":\"0x00000000\"}},"
              "\"QuantTable[1]\":{\"TW_MEMORY\":{\"Flags\":\"0x0\",\"TheMem\":\"0x00000000\"}},"
              "\"HuffmanAC[1]\":{\"TW_MEMORY\":{\"Length\":\"0\"}}}}");
    EXPECT_TRUE(bad.empty());
}

// Names seen twice in one object, lines of no known shape, an introducer with no block after it,
// an inline block and a stray closing brace all keep their place in the block.
TEST(TranscriptFormat, RepeatedNamesAndOddLinesKeptInTheBlock) {
    auto records = Parse(Lines({
        "[00001] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_GET (CAP_X)",
        "        Return Code = [TWRC_SUCCESS]",
        "pData   = <0x00001000>",
        "  TW_CAPABILITY = {",
        "    Cap        = [CAP_X]",
        "    Cap        = [CAP_Y]",
        "    TW_ONEVALUE = {",
        "      !!! container too small: 4 bytes, TW_ONEVALUE needs 8 !!!",
        "    }",
        "    Frame =",
        "    Cap        = [CAP_Z]",
        "  }",
        "  TW_PALETTE8 = { it does not display. }",
        "  }",
        "",
        "TWAIN Status = [4]",
    }));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].block,
              "{\"TW_CAPABILITY\":{\"Cap\":\"CAP_X\",\"Cap#2\":\"CAP_Y\",\"TW_ONEVALUE\":{\"#text\":\"!!! container too "
              "small: 4 bytes, TW_ONEVALUE needs 8 !!!\"},\"Frame\":\"\",\"Cap#3\":\"CAP_Z\"},"
              "\"TW_PALETTE8\":\"it does not display.\",\"#text\":\"}\"}");
}

TEST(TranscriptFormat, FailureLinesEndTheRecordWithoutAStateLine) {
    std::vector<std::pair<std::size_t, std::string>> bad;
    auto records = Parse(Lines({
                             "[00003] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_GET (CAP_DUPLEX)",
                             "        Return Code = [TWRC_FAILURE]",
                             "pData   = <0x6aacd5e0>",
                             "  TW_CAPABILITY = {",
                             "    Cap        = [CAP_DUPLEX]",
                             "  }",
                             "*** Inspect Error Status Start ***",
                             "*** Inspect Error Status End   ***",
                             "    Stray      = [1]",
                             "*** Inspect Error Status End   ***",
                             "[00004] [APP] DG_CONTROL/DAT_STATUS/MSG_GET",
                             "        Return Code = [TWRC_SUCCESS]",
                             "pData   = <0x6aacd5cc>",
                             "  TW_STATUS = {",
                             "    ConditionCode = [TWCC_CAPUNSUPPORTED]",
                             "  }",
                             "",
                             "TWAIN Status = [4]",
                             "[00005] [APP] DG_CONTROL/DAT_IDENTITY/MSG_CLOSEDS",
                             "        Return Code = [TWRC_FAILURE]",
                             "pData   = <0x6aacd5cc>",
                             "*** Inspect Error Status Start ***",
                         }),
                         &bad);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_TRUE(records[0].failed);
    EXPECT_FALSE(records[0].hasState);
    EXPECT_FALSE(records[0].incomplete);
    EXPECT_FALSE(records[1].failed);
    // The host stopped between the two failure lines.
    EXPECT_TRUE(records[2].failed);
    EXPECT_TRUE(records[2].incomplete);
    ASSERT_EQ(bad.size(), 2u);
    EXPECT_EQ(bad[0].first, 9u);
    EXPECT_EQ(bad[1].first, 10u);
}

// The monitor never numbers window events: a claimed one's result block follows the record before
// it directly, and names its data type by its block.
TEST(TranscriptFormat, ClaimedEventsWithoutATripletLine) {
    auto records = Parse(Lines({
        "[00031] [APP] DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS",
        "        Return Code = [TWRC_SUCCESS]",
        "pData   = <0x72847280>",
        "",
        "TWAIN Status = [5]",
        "        Return Code = [TWRC_DSEVENT]",
        "pData   = <0xe8a65a10>",
        "  TW_EVENT = {",
        "    pEvent    = <0xe8a65a20>",
        "    TWMessage = [MSG_XFERREADY]",
        "  }",
        "",
        "TWAIN Status = [6]",
        "        Return Code = [TWRC_DSEVENT]",
        "pData   = <0xe8a65a10>",
        "  TW_IMAGEINFO = {",
        "    ImageWidth       = [300]",
        "  }",
        "",
        "TWAIN Status = [6]",
        "[00032] [APP] DG_IMAGE/DAT_IMAGEINFO/MSG_GET",
        "        Return Code = [TWRC_SUCCESS]",
    }));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_TRUE(records[1].event);
    EXPECT_FALSE(records[1].hasSeq);
    EXPECT_EQ(records[1].line, 6u);
    EXPECT_EQ(records[1].triplet, "DG_CONTROL/DAT_EVENT/MSG_PROCESSEVENT");
    EXPECT_EQ(records[1].state, 6);
    EXPECT_EQ(records[1].json.find("\"seq\""), std::string::npos);
    EXPECT_NE(records[1].json.find("\"event\":true"), std::string::npos);
    EXPECT_EQ(records[2].triplet, "DG_CONTROL/DAT_IMAGEINFO/MSG_PROCESSEVENT");
    EXPECT_EQ(records[2].line, 14u);
    // The last record stops after its result line.
    EXPECT_EQ(records[3].seq, 32);
    EXPECT_TRUE(records[3].incomplete);
}

TEST(TranscriptFormat, IncompleteLastRecords) {
    auto onlyTriplet = Parse(Lines({"[00009] [APP] DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET"}));
    ASSERT_EQ(onlyTriplet.size(), 1u);
    EXPECT_TRUE(onlyTriplet[0].incomplete);
    EXPECT_EQ(onlyTriplet[0].rc, "");
    EXPECT_EQ(onlyTriplet[0].json.find("\"rc\""), std::string::npos);
    // The last line without its line end, cut inside the block.
    auto cut = Parse("[00001] [APP] DG_CONTROL/DAT_STATUS/MSG_GET\r\n        Return Code = [TWRC_SUCCESS]\r\n"
                     "pData   = <0x1>\r\n  TW_STATUS = {\r\n    ConditionCode = [TWCC_SUCC");
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_TRUE(cut[0].incomplete);
    EXPECT_EQ(cut[0].block, "{\"TW_STATUS\":{\"#text\":\"ConditionCode = [TWCC_SUCC\"}}");
}

namespace {

// A capability record whose report (from its result line on, CR LF counted) is cut at exactly
// 5120 bytes and followed by the overflow message and then by next, on the same line.
std::string Overflowing(const std::string& next) {
    std::string report = Lines({"        Return Code = [TWRC_SUCCESS]", "pData   = <0x00001000>", "  TW_CAPABILITY = {",
                               "    TW_ARRAY = {", "      ItemList = {"});
    for (int i = 0; report.size() < 5120; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "        %3d:CAP_SUPPORTEDCAPS,\r\n", i);
        report += line;
    }
    report.resize(5120);
    return "[00001] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_GET (CAP_SUPPORTEDCAPS)\r\n" + report +
           "Size of CAP_xxx too long" + next;
}

}  // namespace

TEST(TranscriptFormat, OverflowMessageFollowedByTheNextRecordOnTheSameLine) {
    const std::string next = "[00002] [APP] DG_CONTROL/DAT_STATUS/MSG_GET\r\n        Return Code = [TWRC_SUCCESS]\r\n"
                             "pData   = <0x1>\r\n\r\nTWAIN Status = [4]\r\n";
    std::vector<std::pair<std::size_t, std::string>> bad;
    auto records = Parse(Overflowing(next), &bad);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(records[0].truncated);
    EXPECT_FALSE(records[0].incomplete);
    EXPECT_FALSE(records[0].hasState);
    EXPECT_EQ(records[1].seq, 2);
    const std::string alone = Overflowing("");
    EXPECT_EQ(records[1].line, static_cast<std::size_t>(std::count(alone.begin(), alone.end(), '\n')) + 1);
    EXPECT_EQ(records[1].state, 4);
    EXPECT_TRUE(bad.empty());

    // A failed call's failure lines, and a claimed event's result line, follow the same way.
    auto failed = Parse(Overflowing("*** Inspect Error Status Start ***\r\n*** Inspect Error Status End   ***\r\n"
                                    "        Return Code = [TWRC_DSEVENT]\r\npData   = <0x2>\r\n\r\nTWAIN Status = [6]\r\n"));
    ASSERT_EQ(failed.size(), 2u);
    EXPECT_TRUE(failed[0].truncated);
    EXPECT_TRUE(failed[0].failed);
    EXPECT_TRUE(failed[1].event);
    EXPECT_EQ(failed[1].state, 6);

    // The cut through the state line: its piece stays in the block, nothing is unreadable.
    std::string report = Lines({"        Return Code = [TWRC_SUCCESS]", "pData   = <0x00001000>", "  TW_STATUS = {"});
    while (report.size() < 5000) report += "    Data = [x]\r\n";
    // One more field, just long enough that the empty line and "TWAIN Sta" end at byte 5120.
    report += "    Data = [" + std::string(5120 - 11 - report.size() - 15, 'x') + "]\r\n";
    report += "\r\nTWAIN Sta";
    ASSERT_EQ(report.size(), 5120u);
    const std::string state = "[00001] [APP] DG_CONTROL/DAT_STATUS/MSG_GET\r\n" + report;
    bad.clear();
    auto cutState = Parse(state + "Size of CAP_xxx too long", &bad);
    ASSERT_EQ(cutState.size(), 1u);
    EXPECT_TRUE(cutState[0].truncated);
    EXPECT_TRUE(bad.empty());
    EXPECT_NE(cutState[0].block.find("\"#text\":\"TWAIN St"), std::string::npos) << cutState[0].block;

    // The message as the very end of the file.
    auto last = Parse(Overflowing(""));
    ASSERT_EQ(last.size(), 1u);
    EXPECT_TRUE(last[0].truncated);
    EXPECT_FALSE(last[0].incomplete);
}

TEST(TranscriptFormat, UnreadableLinesCountedWithTheirNumbers) {
    std::vector<std::pair<std::size_t, std::string>> bad;
    auto records = Parse(Lines({
                             "garbage before anything",
                             "    Field = [1]",
                             "[12x] [APP] DG_CONTROL/DAT_NULL/MSG_GET",
                             "[00001] [APP] DG_CONTROL/DAT_STATUS/MSG_GET",
                             "        Return Code = [TWRC_SUCCESS]",
                             "pData   = <0x1>",
                             "pData   = <0x2>",
                             "TWAIN Status = [four]",
                             "",
                             "TWAIN Status = [4]",
                             "    After = [1]",
                             std::string("\x01\xff binary", 9),
                         }),
                         &bad);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].state, 4);
    std::vector<std::size_t> lines;
    for (const auto& b : bad) lines.push_back(b.first);
    EXPECT_EQ(lines, (std::vector<std::size_t>{1, 2, 3, 7, 8, 11, 12}));
}

TEST(TranscriptFormat, LinesAcrossReadBlocksAndOverlongLines) {
    // Records enough to cross several of the reader's blocks, then one line longer than a line may be.
    std::string text;
    const std::size_t count = 3 * twainlog::LineSource::kBlock / Lines(kCapGet).size() + 7;
    for (std::size_t i = 0; i < count; ++i) text += Lines(kCapGet);
    text += std::string(twainlog::LineSource::kMaxLine * 3, 'x') + "\r\n";
    text += Lines(kCapGet);
    std::vector<std::pair<std::size_t, std::string>> bad;
    auto records = Parse(text, &bad);
    ASSERT_EQ(records.size(), count + 1);
    for (std::size_t i = 0; i < records.size(); ++i) {
        ASSERT_EQ(records[i].block, records[0].block) << "record " << i;
        ASSERT_EQ(records[i].state, 4);
    }
    EXPECT_EQ(records.back().line, count * kCapGet.size() + 2);
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0].first, count * kCapGet.size() + 1);
}

TEST(TranscriptFormat, BytesThatAreNotUtf8BecomeTheirLatin1Characters) {
    std::string scratch;
    EXPECT_EQ(twainlog::ValidUtf8("plain", scratch), "plain");
    EXPECT_EQ(twainlog::ValidUtf8("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xa0", scratch), "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xa0");
    EXPECT_EQ(twainlog::ValidUtf8("caf\xe9", scratch), "caf\xc3\xa9");
    // A cut sequence, an overlong form, a surrogate and a stray continuation byte.
    EXPECT_EQ(twainlog::ValidUtf8("\xe2\x82", scratch), "\xc3\xa2\xc2\x82");
    EXPECT_EQ(twainlog::ValidUtf8("\xc0\xaf", scratch), "\xc3\x80\xc2\xaf");
    EXPECT_EQ(twainlog::ValidUtf8("\xed\xa0\x80", scratch), "\xc3\xad\xc2\xa0\xc2\x80");
    EXPECT_EQ(twainlog::ValidUtf8("a\x80", scratch), "a\xc2\x80");

    auto records = Parse(Lines({"[00001] [\xff\xfe] DG_CONTROL/DAT_IDENTITY/MSG_GET", "        Return Code = [TWRC_SUCCESS]",
                               "pData   = <0x1>", "  TW_IDENTITY = {", "    ProductName     = [Sc\x8anner\x01]", "  }", "",
                               "TWAIN Status = [4]"}));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_NE(records[0].json.find("\"source\":\"\xc3\xbf\xc3\xbe\""), std::string::npos) << records[0].json;
    EXPECT_NE(records[0].json.find("\"ProductName\":\"Sc\xc2\x8anner\\u0001\""), std::string::npos) << records[0].json;
}

TEST(TranscriptFormat, TripletLinesWithUnknownNamesAndEmptyCapability) {
    auto records = Parse(Lines({
        "[1234567] [APP] DG_CONTROL/ERROR!(1027)/MSG_GET",
        "        Return Code = [ERROR!(10)]",
        "pData   = <0x00000000>",
        "",
        "TWAIN Status = [4]",
        "[00002] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_GET ()",
        "        Return Code = [TWRC_SUCCESS]",
        "pData   = <0x00000000>",
        "",
        "TWAIN Status = [4]",
    }));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].seq, 1234567);
    EXPECT_EQ(records[0].triplet, "DG_CONTROL/ERROR!(1027)/MSG_GET");
    EXPECT_EQ(records[0].rc, "ERROR!(10)");
    EXPECT_EQ(records[0].json.find("\"cap\""), std::string::npos);
    EXPECT_NE(records[1].json.find("\"cap\":\"\""), std::string::npos);
}

// Whether a line is too long depends on its text alone, never on where the read blocks end.
TEST(TranscriptFormat, TooLongLinesWhateverTheReadBlocks) {
    constexpr std::size_t kMaxLine = 32;
    std::string text;
    std::vector<std::size_t> tooLong;
    std::size_t line = 0;
    for (const char* end : {"\r\n", "\n"}) {
        for (std::size_t length = kMaxLine - 2; length <= kMaxLine + 3; ++length) {
            text += "    F = [" + std::string(length - 10, 'x') + "]" + end;
            ++line;
            if (length > kMaxLine) tooLong.push_back(line);
        }
    }
    text += "    Last = [no line end, and longer than thirty-two bytes]";
    tooLong.push_back(++line);
    readertest::TempFile file(text);
    for (std::size_t block : {kMaxLine, kMaxLine + 2, kMaxLine + 3, std::size_t{50}, std::size_t{4096}}) {
        FILE* f = std::fopen(file.Path().c_str(), "rb");
        twainlog::Parser parser(fileno(f), block, kMaxLine);
        std::vector<std::pair<std::size_t, std::string>> bad;
        parser.OnUnreadable(
            [](void* context, const twainlog::Parser::Unreadable& u) {
                static_cast<std::vector<std::pair<std::size_t, std::string>>*>(context)->emplace_back(u.line, u.why);
            },
            &bad);
        twainlog::Record record;
        EXPECT_FALSE(parser.Next(record));
        std::fclose(f);
        std::vector<std::size_t> cut;
        for (const auto& b : bad) {
            if (b.second == "line too long") cut.push_back(b.first);
        }
        EXPECT_EQ(cut, tooLong) << "blocks of " << block;
        EXPECT_EQ(bad.size(), line) << "blocks of " << block;  // all of them are outside a record
        EXPECT_EQ(parser.Lines(), line);
    }
}

// A record longer than a record may be keeps its start; the lines beyond are reported.
TEST(TranscriptFormat, RecordLongerThanARecordMayBe) {
    std::vector<std::string> lines = {"[00001] [APP] DG_CONTROL/DAT_STATUS/MSG_GET", "        Return Code = [TWRC_SUCCESS]",
                                      "pData   = <0x1>", "  TW_STATUS = {"};
    for (int i = 0; i < 20; ++i) lines.push_back("    Field" + std::to_string(i) + " = [" + std::to_string(i) + "]");
    lines.push_back("  }");
    lines.push_back("");
    lines.push_back("TWAIN Status = [4]");
    lines.push_back("[00002] [APP] DG_CONTROL/DAT_STATUS/MSG_GET");
    readertest::TempFile file(Lines(lines));
    FILE* f = std::fopen(file.Path().c_str(), "rb");
    twainlog::Parser parser(fileno(f), 4096, 256, 200);
    std::vector<std::size_t> bad;
    parser.OnUnreadable([](void* c, const twainlog::Parser::Unreadable& u) { static_cast<std::vector<std::size_t>*>(c)->push_back(u.line); },
                        &bad);
    twainlog::Record record;
    ASSERT_TRUE(parser.Next(record));
    EXPECT_EQ(record.state, 4);
    EXPECT_FALSE(record.incomplete);
    const std::size_t kept = record.block.size();
    EXPECT_GT(kept, 2u);
    EXPECT_LT(kept, 20u);
    EXPECT_EQ(bad.size(), 21 - (kept - 1));  // the fields and the closing brace beyond the record's room
    ASSERT_TRUE(parser.Next(record));
    EXPECT_EQ(record.seq, 2);
    EXPECT_FALSE(parser.Next(record));
    std::fclose(f);
}
