// The commands on the transcripts the session player leaves when it plays through the built
// monitor with the simulated scanner: scan, error and all.
#include <gtest/gtest.h>

#include <rapidjson/document.h>

#include <sstream>

#include "ModuleHarness.h"
#include "ReaderTestSupport.h"

using readertest::TempFile;
using readertest::Twainlog;

namespace {

// The lines of a text, without their line ends.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Every record of `twainlog json` is valid JSON, points at its own first line, and together they
// account for every triplet line and every claimed event of the transcript.
void CheckJson(const std::string& transcript) {
    TempFile file(transcript);
    auto run = Twainlog("json '" + file.Path() + "'");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = SplitLines(transcript);
    std::size_t triplets = 0, events = 0;
    for (const std::string& l : lines) {
        if (!l.empty() && l[0] == '[') ++triplets;
        if (l == "        Return Code = [TWRC_DSEVENT]") ++events;
    }
    std::size_t records = 0, seen = 0;
    for (const std::string& json : SplitLines(run.out)) {
        rapidjson::Document d;
        ASSERT_FALSE(d.Parse(json.c_str()).HasParseError()) << json;
        ++records;
        const std::size_t line = d["line"].GetUint64();
        ASSERT_GE(line, 1u);
        ASSERT_LE(line, lines.size());
        if (d.HasMember("seq")) {
            char number[32];
            std::snprintf(number, sizeof number, "[%05lld] ", static_cast<long long>(d["seq"].GetInt64()));
            EXPECT_EQ(lines[line - 1].rfind(number, 0), 0u) << lines[line - 1];
            EXPECT_EQ(d["seq"].GetInt64(), static_cast<long long>(++seen));  // no gap, in order
        } else {
            EXPECT_TRUE(d["event"].GetBool());
            EXPECT_EQ(lines[line - 1], "        Return Code = [TWRC_DSEVENT]");
        }
        EXPECT_FALSE(d.HasMember("incomplete") || d.HasMember("truncated")) << json;
        ASSERT_TRUE(d["block"].IsObject());
    }
    EXPECT_EQ(records, triplets + events);
}

}  // namespace

TEST(ReaderOnSessions, ScanSession) {
    const std::string scan = harness::PlaySession("scan");
    ASSERT_FALSE(scan.empty());
    CheckJson(scan);
    TempFile file(scan);
    auto run = Twainlog("summary '" + file.Path() + "'");
    EXPECT_EQ(run.status, 0);
    for (const char* expected : {"  state: highest 7, at the end 2\n", "  transfers: 1\n",
                                 "300 x 150, 24 bits per pixel, TWPT_RGB\n", "  capabilities set: 7\n",
                                 "MSG_SET ICAP_XFERMECH = TWSX_MEMORY: accepted (TWRC_SUCCESS)\n", "  failures: 0\n",
                                 "  truncated renderings: 0\n", "  incomplete last record: none\n",
                                 "  unreadable lines: 0\n"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << " not in\n" << run.out;
    }
    // A well-behaved session: nothing wrong.
    run = Twainlog("check '" + file.Path() + "'");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, file.Path() + ": 0 errors, 0 warnings\n");

    // The same session played again: other pointers and handles, the same calls.
    TempFile again(harness::PlaySession("scan"));
    run = Twainlog("diff '" + file.Path() + "' '" + again.Path() + "'");
    EXPECT_EQ(run.status, 0) << run.out;
}

TEST(ReaderOnSessions, ErrorSession) {
    const std::string error = harness::PlaySession("error");
    CheckJson(error);
    TempFile file(error);
    auto run = Twainlog("summary '" + file.Path() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("  failures: 6\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("(CAP_DUPLEX): TWRC_FAILURE, condition TWCC_CAPUNSUPPORTED\n"), std::string::npos) << run.out;

    // Each mistake is found once: DAT_IMAGEINFO with the source only open and a second
    // MSG_ENABLEDS (errors); a capability set while enabled, CAP_EXTENDEDCAPS never read; six
    // failures, each with the condition code asked right after it (warnings).
    run = Twainlog("check '" + file.Path() + "'");
    EXPECT_EQ(run.status, 1) << run.out;
    std::vector<std::string> found;  // "[seq] severity"
    for (const std::string& line : SplitLines(run.out)) {
        const std::size_t at = line.find(": [");
        const std::size_t severity = line.rfind(": ", at - 1);
        if (at != std::string::npos && severity != std::string::npos) {
            found.push_back(line.substr(at + 2, 7) + " " + line.substr(severity + 2, at - severity - 2));
        }
    }
    EXPECT_EQ(found, (std::vector<std::string>{"[00003] warning", "[00006] warning", "[00008] warning",
                                               "[00010] error", "[00010] warning", "[00013] error",
                                               "[00013] warning", "[00015] warning", "[00015] warning"}))
        << run.out;
    for (const char* finding :
         {":45: warning: [00003] DG_CONTROL/DAT_CAPABILITY/MSG_GET (CAP_DUPLEX): call failed (TWRC_FAILURE): "
          "TWCC_CAPUNSUPPORTED\n",
          ":107: error: [00010] DG_IMAGE/DAT_IMAGEINFO/MSG_GET: sent in state 4",
          ":142: error: [00013] DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS: "}) {
        EXPECT_NE(run.out.find(file.Path() + finding), std::string::npos) << finding << " not in\n" << run.out;
    }

    TempFile scan(harness::PlaySession("scan"));
    run = Twainlog("diff '" + scan.Path() + "' '" + file.Path() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("+ " + file.Path() + ":45: [00003] DG_CONTROL/DAT_CAPABILITY/MSG_GET (CAP_DUPLEX)\n"),
              std::string::npos)
        << run.out;
}

TEST(ReaderOnSessions, EveryDataTypeTheScannerAnswers) {
    const std::string all = harness::PlaySession("all");
    CheckJson(all);
    TempFile file(all);
    auto run = Twainlog("summary --json '" + file.Path() + "'");
    EXPECT_EQ(run.status, 0);
    rapidjson::Document d;
    ASSERT_FALSE(d.Parse(run.out.c_str()).HasParseError()) << run.out;
    EXPECT_EQ(d["unreadableLines"].GetUint64(), 0u);
    EXPECT_GT(d["transfers"].GetUint64(), 0u);
    EXPECT_GT(d["events"].GetUint64(), 0u);
    run = Twainlog("check --json '" + file.Path() + "'");
    EXPECT_NE(run.status, 2);
    for (const std::string& json : SplitLines(run.out)) {
        rapidjson::Document finding;
        EXPECT_FALSE(finding.Parse(json.c_str()).HasParseError()) << json;
    }
}
