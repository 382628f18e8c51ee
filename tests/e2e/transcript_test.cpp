// The whole transcript of a scripted session, byte for byte. The session player plays a session
// through the built TwainMonitor.ds and the simulated scanner; the log it leaves is compared with
// a transcript written by hand from the log formats and from the values the session passes and
// the scanner returns (tests/e2e/expected/<session>.txt, CR LF line ends as in the log).
//
// Only the addresses differ between runs: the eight hexadecimal digits of the pointer and handle
// fields named in kPointerLabels are replaced by ######## before the comparison, unless they are
// all zeros (a null pointer is the same in every run and is compared as it is). Every other byte
// is compared exactly.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModuleHarness.h"

namespace {

// The labels of the lines whose "<0x%08x>" value is an address: the line starts with the label,
// and the eight digits follow it.
const char* const kPointerLabels[] = {
    "pData   = <0x",             // the result block
    "    hContainer = <0x",      // TW_CAPABILITY
    "      TheMem = <0x",        // TW_MEMORY
    "    hParent = <0x",         // TW_USERINTERFACE
    "    pEvent    = <0x",       // TW_EVENT
    "    hData      = <0x",      // TW_CUSTOMDSDATA
    "    Item = <0x",            // TW_UINT32 of a native transfer: the image handle
};

bool IsLowerHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// Replaces the digits of every non-null address on a labelled line with ########. A value that is
// not exactly eight lower-case digits and a ">" is left alone, so the comparison shows it.
std::string MaskPointers(const std::string& log) {
    std::string masked = log;
    for (size_t lineStart = 0; lineStart < masked.size();) {
        for (const char* label : kPointerLabels) {
            const std::string prefix(label);
            const size_t digits = lineStart + prefix.size();
            if (masked.compare(lineStart, prefix.size(), prefix) != 0 || digits + 9 > masked.size()) continue;
            bool bAddress = masked[digits + 8] == '>';
            for (size_t i = 0; i < 8 && bAddress; ++i) bAddress = IsLowerHexDigit(masked[digits + i]);
            if (bAddress && masked.compare(digits, 8, "00000000") != 0) masked.replace(digits, 8, "########");
            break;
        }
        const size_t lineEnd = masked.find('\n', lineStart);
        if (lineEnd == std::string::npos) break;
        lineStart = lineEnd + 1;
    }
    return masked;
}

// A line for a failure message, its CR and other control bytes made visible.
std::string Visible(const std::string& line) {
    std::string text;
    for (char c : line) {
        if (c == '\r') {
            text += "\\r";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            char szByte[8];
            snprintf(szByte, sizeof szByte, "\\x%02x", static_cast<unsigned char>(c));
            text += szByte;
        } else {
            text += c;
        }
    }
    return text;
}

// The lines of a text, each with its CR (if any) but without its LF; a last line without LF
// counts too.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at) + "<no line end>");
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

// Where two texts first part, line by line, with a few lines of context.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> want = Lines(expected), got = Lines(actual);
    size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
    std::string text = "expected " + std::to_string(want.size()) + " lines, the log has " +
                       std::to_string(got.size()) + "; first difference at line " + std::to_string(i + 1) + "\n";
    const size_t from = i >= 3 ? i - 3 : 0;
    for (size_t k = from; k < i; ++k) text += "    same:     " + Visible(want[k]) + "\n";
    text += "    expected: " + (i < want.size() ? Visible(want[i]) : std::string("<end of transcript>")) + "\n";
    text += "    log:      " + (i < got.size() ? Visible(got[i]) : std::string("<end of log>")) + "\n";
    return text;
}

// Runs the session player on the built module; its exit code and standard error.
struct PlayerRun {
    int exitCode = -1;
    std::string err;
};

PlayerRun PlaySession(const std::string& session) {
    PlayerRun run;
    char szDir[] = "/tmp/twainmon-transcript.XXXXXX";
    if (mkdtemp(szDir) == nullptr) return run;
    const std::string errPath = std::string(szDir) + "/err";
    fflush(stdout);
    fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (null >= 0) dup2(null, STDOUT_FILENO);
        if (err >= 0) dup2(err, STDERR_FILENO);
        char* argv[] = {const_cast<char*>(TWAINMON_SESSIONPLAYER_PATH), const_cast<char*>(TWAINMON_MODULE_PATH),
                        const_cast<char*>(session.c_str()), nullptr};
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    run.err = harness::ReadFile(errPath);
    unlink(errPath.c_str());
    rmdir(szDir);
    return run;
}

std::string ExpectedTranscript(const std::string& session) {
    return harness::ReadFile(std::string(TWAINMON_SOURCE_DIR) + "/tests/e2e/expected/" + session + ".txt");
}

class TranscriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness::InstallScanner();
        harness::MakeEmptyLogFolder();
    }
    void TearDown() override { harness::RemoveLogFolder(); }

    // Plays the session and compares its whole log with the expected transcript. On a mismatch
    // the masked log is kept as <session>.actual.txt in the working folder for a closer look.
    void PlayAndCompare(const std::string& session) {
        const std::string expected = ExpectedTranscript(session);
        ASSERT_FALSE(expected.empty()) << "no expected transcript for " << session;
        // Every LF of the transcript must follow a CR, as in the log; a checkout that turned the
        // line ends into LF would otherwise fail at the first line.
        for (size_t at = expected.find('\n'); at != std::string::npos; at = expected.find('\n', at + 1)) {
            ASSERT_TRUE(at > 0 && expected[at - 1] == '\r')
                << "the expected transcript of " << session << " has lost its CR LF line ends at byte " << at;
        }

        const PlayerRun run = PlaySession(session);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string log = MaskPointers(harness::ReadOnlyLog());
        if (log != expected) {
            const std::string actualPath = session + ".actual.txt";
            std::ofstream(actualPath, std::ios::binary) << log;
            ADD_FAILURE() << "the transcript of the session \"" << session << "\" differs (masked log kept in "
                          << actualPath << ")\n"
                          << FirstDifference(expected, log);
        }
    }
};

}  // namespace

// Open, negotiate over every container kind, the hardware description, one page in five memory
// strips after five of the host's own events, end, disable, close.
TEST_F(TranscriptTest, ScanSessionLeavesExactlyTheExpectedTranscript) { PlayAndCompare("scan"); }

// Failures of several kinds, each with its failure lines, and the condition each leaves for
// DAT_STATUS; calls out of sequence while enabled.
TEST_F(TranscriptTest, ErrorSessionLeavesExactlyTheExpectedTranscript) { PlayAndCompare("error"); }

// The masking touches the digits of the labelled address lines only, and leaves null addresses,
// malformed values and lines with other labels as they are.
TEST(TranscriptMask, HidesOnlyNonNullAddressesOfTheLabelledLines) {
    const std::string log =
        "pData   = <0x7ffc1a2b>\r\n"
        "pData   = <0x00000000>\r\n"
        "    hContainer = <0x5a5a0010>\r\n"
        "      TheMem = <0xdeadbeef>\r\n"
        "    pEvent    = <0x0badf00d>\r\n"
        "    Item = <0x00c0ffee>\r\n"
        "    hParent = <0x1234567>\r\n"   // seven digits: left for the comparison to show
        "    hData      = <0x1234ABCD>\r\n"  // upper case: left as it is
        "  pData   = <0x12345678>\r\n"       // not at the start of the line
        "    ModelID                = [0xb70a]\r\n";
    EXPECT_EQ(MaskPointers(log),
              "pData   = <0x########>\r\n"
              "pData   = <0x00000000>\r\n"
              "    hContainer = <0x########>\r\n"
              "      TheMem = <0x########>\r\n"
              "    pEvent    = <0x########>\r\n"
              "    Item = <0x########>\r\n"
              "    hParent = <0x1234567>\r\n"
              "    hData      = <0x1234ABCD>\r\n"
              "  pData   = <0x12345678>\r\n"
              "    ModelID                = [0xb70a]\r\n");
}
