// The whole transcript of a scripted session, byte for byte. The session player plays a session
// through the built TwainMonitor.ds and the simulated scanner; the log it leaves is compared with
// a transcript written by hand from the log formats and from the values the session passes and
// the scanner returns (tests/e2e/expected/<session>.txt, CR LF line ends as in the log). Those
// scanner values are pinned by scanner_values_test.
//
// Only the addresses differ between runs: on a line that starts with one of kPointerLabels, the
// eight lower-case hexadecimal digits after the label are replaced by ######## before the
// comparison, unless they are all zeros (a null pointer is the same in every run and is compared
// as it is). Every other byte is compared exactly.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "ModuleHarness.h"

namespace {

const char* const kPointerLabels[] = {
    "pData   = <0x",         // the result block
    "    hContainer = <0x",  // TW_CAPABILITY
    "      TheMem = <0x",    // TW_MEMORY
    "    hParent = <0x",     // TW_USERINTERFACE
    "    pEvent    = <0x",   // TW_EVENT
    "    hData      = <0x",  // TW_CUSTOMDSDATA
    "    Item = <0x",        // TW_UINT32 of a native transfer: the image handle
};

// A value that is not exactly eight lower-case digits and a ">" is left alone, so the comparison
// shows it.
std::string MaskPointers(std::string log) {
    for (size_t line = 0; line < log.size();) {
        for (const std::string label : kPointerLabels) {
            const size_t at = line + label.size();
            if (log.compare(line, label.size(), label) != 0 || at + 9 > log.size()) continue;
            const std::string digits = log.substr(at, 8);
            if (log[at + 8] == '>' && digits.find_first_not_of("0123456789abcdef") == std::string::npos &&
                digits != "00000000") {
                log.replace(at, 8, "########");
            }
            break;
        }
        const size_t end = log.find('\n', line);
        line = end == std::string::npos ? log.size() : end + 1;
    }
    return log;
}

// The first line (counted from 1) where the log parts from the transcript, as each has it, CRs
// shown as \r.
std::string FirstDifference(const std::string& expected, const std::string& log) {
    size_t at = 0, line = 1, lineStart = 0;
    for (; at < expected.size() && at < log.size() && expected[at] == log[at]; ++at) {
        if (expected[at] == '\n') {
            ++line;
            lineStart = at + 1;
        }
    }
    const auto lineOf = [lineStart](const std::string& text) {
        if (lineStart >= text.size()) return std::string("<end>");
        std::string shown;
        for (size_t i = lineStart; i < text.size() && text[i] != '\n'; ++i) {
            shown += text[i] == '\r' ? "\\r" : std::string(1, text[i]);
        }
        return shown;
    };
    return "first difference at line " + std::to_string(line) + " (byte " + std::to_string(at) +
           ")\n    expected: " + lineOf(expected) + "\n    log:      " + lineOf(log);
}

// Plays the session (the player's errors go to this test's standard error) and compares its whole
// masked log with the expected transcript.
void PlayAndCompare(const std::string& session) {
    harness::InstallScanner();
    harness::MakeEmptyLogFolder();
    const std::string command = std::string("'") + TWAINMON_SESSIONPLAYER_PATH + "' '" + TWAINMON_MODULE_PATH +
                                "' " + session + " >/dev/null";
    const int status = std::system(command.c_str());
    const std::string log = MaskPointers(harness::ReadOnlyLog());
    harness::RemoveLogFolder();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the session player failed: status " << status;
    const std::string expected =
        harness::ReadFile(std::string(TWAINMON_SOURCE_DIR) + "/tests/e2e/expected/" + session + ".txt");
    ASSERT_FALSE(expected.empty()) << "no expected transcript for " << session;
    EXPECT_TRUE(log == expected) << "the transcript of the session \"" << session << "\" differs: "
                                 << FirstDifference(expected, log);
}

}  // namespace

// Open, negotiate over every container kind, the hardware description, one page in five memory
// strips after five of the host's own events, end, disable, close.
TEST(Transcript, ScanSessionLeavesExactlyTheExpectedTranscript) { PlayAndCompare("scan"); }

// Failures of several kinds, each with its failure lines, and the condition each leaves for
// DAT_STATUS; calls out of sequence while enabled.
TEST(Transcript, ErrorSessionLeavesExactlyTheExpectedTranscript) { PlayAndCompare("error"); }
