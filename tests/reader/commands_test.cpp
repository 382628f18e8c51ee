// The commands on hand-made transcripts: summary, check's records, diff and its alignment.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "CheckFeed.h"
#include "Diff.h"
#include "ReaderTestSupport.h"

using readertest::Lines;
using readertest::TempFile;
using readertest::Twainlog;

namespace {

std::vector<std::string> Call(int seq, const std::string& triplet, const std::string& rc, int state,
                              const std::vector<std::string>& block = {}) {
    char number[32];
    std::snprintf(number, sizeof number, "[%05d] [APP] ", seq);
    std::vector<std::string> lines = {number + triplet, "        Return Code = [" + rc + "]",
                                      "pData   = <0x0000" + std::to_string(1000 + seq) + ">"};
    lines.insert(lines.end(), block.begin(), block.end());
    if (rc == "TWRC_FAILURE") {
        lines.push_back("*** Inspect Error Status Start ***");
        lines.push_back("*** Inspect Error Status End   ***");
    } else {
        lines.push_back("");
        lines.push_back("TWAIN Status = [" + std::to_string(state) + "]");
    }
    return lines;
}

std::vector<std::string> OneValue(const std::string& cap, const std::string& value) {
    return {"  TW_CAPABILITY = {",
            "    Cap        = [" + cap + "]",
            "    ConType    = [TWON_ONEVALUE]",
            "    hContainer = <0x12345678>",
            "    TW_ONEVALUE = {",
            "      ItemType = [TWTY_FIX32]",
            "      Item     = [" + value + "]",
            "    }",
            "  }"};
}

std::vector<std::string> Status(const std::string& cc) { return {"  TW_STATUS = {", "    ConditionCode = [" + cc + "]", "  }"}; }

std::string Session(const std::vector<std::vector<std::string>>& calls) {
    std::string s;
    for (const auto& c : calls) s += Lines(c);
    return s;
}

const std::string kImageInfo = "DG_IMAGE/DAT_IMAGEINFO/MSG_GET";
std::vector<std::string> Info(const std::string& w, const std::string& h) {
    return {"  TW_IMAGEINFO = {", "    ImageWidth       = [" + w + "]", "    ImageLength      = [" + h + "]",
            "    BitsPerPixel     = [8]", "    PixelType        = [TWPT_GRAY]", "  }"};
}

}  // namespace

TEST(Summary, FailuresWithTheirConditionTransfersAndCapabilitiesSet) {
    TempFile a(Session({
        Call(1, "DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_XRESOLUTION)", "TWRC_SUCCESS", 4, OneValue("ICAP_XRESOLUTION", "300.000")),
        Call(2, "DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_YRESOLUTION)", "TWRC_FAILURE", 4, OneValue("ICAP_YRESOLUTION", "9.000")),
        Call(3, "DG_CONTROL/DAT_STATUS/MSG_GET", "TWRC_SUCCESS", 4, Status("TWCC_BADVALUE")),
        Call(4, "DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS", "TWRC_SUCCESS", 5),
        Call(5, kImageInfo, "TWRC_SUCCESS", 6, Info("300", "150")),
        Call(6, "DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET", "TWRC_XFERDONE", 7),
        Call(7, kImageInfo, "TWRC_FAILURE", 6),
        Call(8, "DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER", "TWRC_SUCCESS", 5),
        {"[00009] [APP] DG_CONTROL/DAT_USERINTERFACE/MSG_DISABLEDS"},
    }));
    auto run = Twainlog("summary '" + a.Path() + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string& out = run.out;
    EXPECT_NE(out.find("  calls: 9\n"), std::string::npos) << out;
    EXPECT_NE(out.find("         2  DG_IMAGE/DAT_IMAGEINFO/MSG_GET\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  state: highest 7, at the end 5\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  transfers: 1\n    line 53: 300 x 150, 8 bits per pixel, TWPT_GRAY\n"), std::string::npos) << out;
    EXPECT_NE(out.find("    line 1: MSG_SET ICAP_XRESOLUTION = 300.000: accepted (TWRC_SUCCESS)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("    line 15: MSG_SET ICAP_YRESOLUTION = 9.000: refused (TWRC_FAILURE)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  failures: 2\n"
                       "    line 15: [2] DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_YRESOLUTION): TWRC_FAILURE, condition TWCC_BADVALUE\n"
                       "    line 58: [7] DG_IMAGE/DAT_IMAGEINFO/MSG_GET: TWRC_FAILURE\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  incomplete last record: line 68, DG_CONTROL/DAT_USERINTERFACE/MSG_DISABLEDS: the host stopped"),
              std::string::npos)
        << out;

    // Two files: each, then the total with failures by triplet and condition, most frequent first.
    TempFile b(Session({
        Call(1, "DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_PIXELTYPE)", "TWRC_FAILURE", 4),
        Call(2, "DG_CONTROL/DAT_STATUS/MSG_GET", "TWRC_SUCCESS", 4, Status("TWCC_BADVALUE")),
        {"bad line"},
    }));
    run = Twainlog("summary '" + a.Path() + "' '" + b.Path() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("  unreadable lines: 1 (line 14)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("total over 2 files: 11 calls, 1 transfers, 3 failures\n"
                           "         2  DG_CONTROL/DAT_CAPABILITY/MSG_SET: TWCC_BADVALUE\n"
                           "         1  DG_IMAGE/DAT_IMAGEINFO/MSG_GET\n"),
              std::string::npos)
        << run.out;

    run = Twainlog("summary --json '" + a.Path() + "' '" + b.Path() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"conditionCode\":\"TWCC_BADVALUE\""), std::string::npos) << run.out;
    // One JSON object: the files, then the total.
    EXPECT_EQ(run.out.rfind("{\"files\":[{\"file\":", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("}],\"total\":{\"files\":2,\"calls\":11,\"transfers\":1,\"failures\":3,"), std::string::npos) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);

    run = Twainlog("summary /nonexistent/file");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("/nonexistent/file: No such file or directory"), std::string::npos) << run.err;
}

TEST(CheckFeed, RecordsBecomeCallsWithTheFieldsTheRulesRead) {
    const std::string text = Session({
        Call(1, "DG_CONTROL/DAT_CAPABILITY/MSG_GET (CAP_EXTENDEDCAPS)", "TWRC_SUCCESS", 4,
             {"  TW_CAPABILITY = {", "    TW_ARRAY = {", "      ItemList = {", "          0:ICAP_XRESOLUTION,",
              "          1:ICAP_YRESOLUTION", "      }", "    }", "  }"}),
        Call(2, "DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_XRESOLUTION)", "TWRC_SUCCESS", 4, OneValue("ICAP_XRESOLUTION", "300.000")),
        Call(3, "DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER", "TWRC_SUCCESS", 5,
             {"  TW_PENDINGXFERS = {", "    Count = [-1]", "    EOJ   = [0]", "  }"}),
        Call(4, "DG_CONTROL/DAT_STATUS/MSG_GET", "TWRC_SUCCESS", 4, Status("TWCC_SEQERROR")),
        {"        Return Code = [TWRC_DSEVENT]", "pData   = <0x1>", "  TW_EVENT = {", "    pEvent    = <0x2>",
         "    TWMessage = [MSG_CLOSEDSREQ]", "  }", "", "TWAIN Status = [5]"},
    });
    TempFile file(text);
    FILE* f = std::fopen(file.Path().c_str(), "rb");
    twainlog::Parser parser(fileno(f));
    twainlog::Record r;
    twainlog::check::Call c;
    std::vector<twainlog::check::Call> calls;
    while (parser.Next(r)) {
        twainlog::FillCall(r, c);
        calls.push_back(c);
    }
    std::fclose(f);
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].capItems, (std::vector<std::string>{"ICAP_XRESOLUTION", "ICAP_YRESOLUTION"}));
    EXPECT_EQ(calls[0].cap, "CAP_EXTENDEDCAPS");
    EXPECT_EQ(calls[1].capItems, (std::vector<std::string>{"300.000"}));
    EXPECT_EQ(calls[1].seq, 2);
    EXPECT_EQ(calls[2].pendingCount, "-1");
    EXPECT_TRUE(calls[2].capItems.empty());
    EXPECT_EQ(calls[3].conditionCode, "TWCC_SEQERROR");
    EXPECT_TRUE(calls[4].event);
    EXPECT_FALSE(calls[4].seq.has_value());
    EXPECT_EQ(calls[4].dat, "DAT_EVENT");
    EXPECT_EQ(calls[4].msg, "MSG_PROCESSEVENT");
    EXPECT_EQ(calls[4].eventMessage, "MSG_CLOSEDSREQ");
    EXPECT_EQ(calls[4].rc, "TWRC_DSEVENT");
}

TEST(Check, UnreadableLinesAreWarningsAndAnUnreadableFileIsStatusTwo) {
    TempFile file(Session({{"nonsense"}, Call(1, "DG_CONTROL/DAT_STATUS/MSG_GET", "TWRC_SUCCESS", 3, Status("TWCC_SUCCESS"))}));
    auto run = Twainlog("check '" + file.Path() + "'");
    EXPECT_NE(run.out.find(file.Path() + ":1: warning: unreadable line: line of no known shape\n"), std::string::npos) << run.out;
    run = Twainlog("check --json '" + file.Path() + "'");
    EXPECT_NE(run.out.find("{\"file\":\"" + file.Path() + "\",\"line\":1,\"severity\":\"warning\",\"message\":\"unreadable line: "),
              std::string::npos)
        << run.out;
    run = Twainlog("check /nonexistent");
    EXPECT_EQ(run.status, 2);
    run = Twainlog("check --no-such-option x");
    EXPECT_EQ(run.status, 2);
    for (const char* command : {"json", "summary", "check", "diff"}) {
        run = Twainlog(std::string(command) + " --help");
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("example:"), std::string::npos) << command;
    }
}

namespace {

// The length of a longest common subsequence, by the textbook table.
std::size_t LcsLength(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    std::vector<std::vector<std::size_t>> t(a.size() + 1, std::vector<std::size_t>(b.size() + 1, 0));
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            t[i][j] = a[i - 1] == b[j - 1] ? t[i - 1][j - 1] + 1 : std::max(t[i - 1][j], t[i][j - 1]);
        }
    }
    return t[a.size()][b.size()];
}

}  // namespace

TEST(Diff, AlignmentIsALongestCommonSubsequence) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint32_t> a(random() % 30), b(random() % 30);
        const std::uint32_t symbols = 1 + random() % 5;
        for (auto& x : a) x = random() % symbols;
        for (auto& x : b) x = random() % symbols;
        const auto pairs = twainlog::Align(a, b);
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            ASSERT_EQ(a[pairs[i].first], b[pairs[i].second]);
            if (i > 0) {
                ASSERT_LT(pairs[i - 1].first, pairs[i].first);
                ASSERT_LT(pairs[i - 1].second, pairs[i].second);
            }
        }
        ASSERT_EQ(pairs.size(), LcsLength(a, b)) << "round " << round;
    }
}

TEST(Diff, OnlyWhatDiffersAndNeverPointersOrNumbers) {
    const auto set = [](int seq, const std::string& value, const std::string& rc) {
        return Call(seq, "DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_XRESOLUTION)", rc, 4, OneValue("ICAP_XRESOLUTION", value));
    };
    const auto status = [](int seq) { return Call(seq, "DG_CONTROL/DAT_STATUS/MSG_GET", "TWRC_SUCCESS", 4, Status("TWCC_SUCCESS")); };
    TempFile a(Session({status(1), set(2, "300.000", "TWRC_SUCCESS"), status(3)}));
    // Other numbers and pointers, the same calls.
    std::string shifted = Session({status(11), set(12, "300.000", "TWRC_SUCCESS"), status(13)});
    TempFile same(shifted);
    auto run = Twainlog("diff '" + a.Path() + "' '" + same.Path() + "'");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("the sessions match: 3 calls"), std::string::npos);

    TempFile b(Session({status(1), Call(2, "DG_CONTROL/DAT_IDENTITY/MSG_GET", "TWRC_SUCCESS", 4), set(3, "600.000", "TWRC_CHECKSTATUS")}));
    run = Twainlog("diff '" + a.Path() + "' '" + b.Path() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "--- " + a.Path() + "\n+++ " + b.Path() + "\n" +
                           "+ " + b.Path() + ":9: [00002] DG_CONTROL/DAT_IDENTITY/MSG_GET\n" +
                           "~ " + a.Path() + ":9 " + b.Path() + ":14: DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_XRESOLUTION)\n" +
                           "    rc: TWRC_SUCCESS | TWRC_CHECKSTATUS\n" +
                           "    TW_CAPABILITY.TW_ONEVALUE.Item: 300.000 | 600.000\n" +
                           "- " + a.Path() + ":23: [00003] DG_CONTROL/DAT_STATUS/MSG_GET\n" +
                           "1 calls only in " + a.Path() + ", 1 only in " + b.Path() + ", 1 aligned calls differ\n");

    run = Twainlog("diff '" + a.Path() + "'");
    EXPECT_EQ(run.status, 2);
    run = Twainlog("diff '" + a.Path() + "' /nonexistent");
    EXPECT_EQ(run.status, 2);
}
