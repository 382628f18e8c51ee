// The rules on the sessions the session player records (tests/e2e/expected): the scan session is
// clean, the error session's mistakes are each found once. The transcripts are read here by a
// small reader of their own, just enough to fill the call records these sessions need (neither
// reads CAP_EXTENDEDCAPS nor has a cut rendering).
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "SessionCheckSupport.h"

using namespace checksupport;

namespace {

// The text between the first "[" and the last "]" of a "Field = [value]" line, when the line's
// field is name.
bool FieldValue(const std::string& line, const std::string& name, std::string& value) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos || line.compare(start, name.size(), name) != 0) return false;
    const std::size_t open = line.find("= [", start + name.size());
    const std::size_t close = line.rfind(']');
    if (open == std::string::npos || close == std::string::npos || close < open) return false;
    value = line.substr(open + 3, close - open - 3);
    return true;
}

std::vector<Call> ReadTranscript(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::vector<Call> calls;
    std::string line;
    std::size_t number = 0;
    bool haveResult = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string value;
        if (line.size() > 8 && line[0] == '[' && line[6] == ']') {
            // "[00003] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_GET (CAP_SUPPORTEDCAPS)"
            const std::size_t triplet = line.find("] ", 8) + 2;
            const std::size_t space = line.find(' ', triplet);
            Call call = Op(line.substr(triplet, space - triplet), "");
            call.seq = std::stol(line.substr(1, 5));
            if (space != std::string::npos) call.cap = line.substr(space + 2, line.size() - space - 3);
            call.line = number;
            calls.push_back(call);
            haveResult = false;
        } else if (FieldValue(line, "Return Code", value)) {
            if (haveResult || calls.empty()) {
                // A claimed window event: its result block follows the record before it.
                Call event = Event("");
                event.line = number;
                calls.push_back(event);
            }
            calls.back().rc = value;
            haveResult = true;
        } else if (calls.empty()) {
            continue;
        } else if (FieldValue(line, "TWMessage", value)) {
            calls.back().eventMessage = value;
        } else if (FieldValue(line, "Count", value)) {
            calls.back().pendingCount = value;
        } else if (FieldValue(line, "ConditionCode", value)) {
            calls.back().conditionCode = value;
        } else if (line.find("*** Inspect Error Status Start ***") != std::string::npos) {
            calls.back().failed = true;
        }
    }
    return calls;
}

std::string Expected(const std::string& name) { return std::string(TWAINLOG_REPO_DIR) + "/tests/e2e/expected/" + name; }

TEST(TranscriptSessionsTest, ScanSessionIsClean) {
    const std::vector<Call> calls = ReadTranscript(Expected("scan.txt"));
    ASSERT_EQ(calls.size(), 44u);  // 43 calls and the MSG_XFERREADY event
    Session s;
    s.Add(calls).Finish();
    EXPECT_TRUE(s.findings.empty()) << s.Text();
}

TEST(TranscriptSessionsTest, ErrorSessionFindings) {
    Session s;
    s.Add(ReadTranscript(Expected("error.txt"))).Finish();
    // Wrong states: DAT_IMAGEINFO with the source only open, a second MSG_ENABLEDS; a capability
    // set while enabled, CAP_EXTENDEDCAPS never read; six failures, each with the condition code
    // asked right after it.
    std::vector<std::string> seen;
    for (const Finding& f : s.findings) {
        seen.push_back(std::to_string(*f.seq) + " " +
                       (f.severity == Severity::Error     ? "error"
                        : f.severity == Severity::Warning ? "warning"
                                                          : "note"));
    }
    const std::vector<std::string> expected = {"3 warning", "6 warning",  "8 warning",  "10 error",  "10 warning",
                                               "13 error",  "13 warning", "15 warning", "15 warning"};
    EXPECT_EQ(seen, expected) << s.Text();
    EXPECT_NE(s.Text().find("t.txt:107: error: [00010] DG_IMAGE/DAT_IMAGEINFO/MSG_GET: sent in state 4"),
              std::string::npos)
        << s.Text();
    EXPECT_NE(s.Text().find("[00003] DG_CONTROL/DAT_CAPABILITY/MSG_GET (CAP_DUPLEX): call failed (TWRC_FAILURE): "
                            "TWCC_CAPUNSUPPORTED"),
              std::string::npos)
        << s.Text();
}

}  // namespace
