// The whole transcript of a scripted session, byte for byte. The session player plays a session
// through the built TwainMonitor.ds and the simulated scanner; the log it leaves is compared with
// a transcript written by hand from the log formats and from the values the session passes and
// the scanner returns (tests/e2e/expected/<session>.txt, CR LF line ends as in the log). A change
// to the simulated scanner's answers shows here: re-derive the transcripts by hand, or leave the
// scanner alone.
//
// Only the addresses differ between runs: they are masked (testsupport::MaskPointers) before the
// comparison; every other byte is compared exactly.
#include <string>

#include <gtest/gtest.h>

#include "ModuleHarness.h"

namespace {

// Plays the session and compares its whole masked log with the expected transcript.
void PlayAndCompare(const std::string& session) {
    const std::string log = testsupport::MaskPointers(harness::PlaySession(session));
    const std::string expected =
        harness::ReadFile(std::string(TWAINMON_SOURCE_DIR) + "/tests/e2e/expected/" + session + ".txt");
    ASSERT_FALSE(expected.empty()) << "no expected transcript for " << session;
    EXPECT_TRUE(log == expected) << "the transcript of the session \"" << session << "\" differs: "
                                 << testsupport::FirstDifference(expected, log);
}

}  // namespace

// Open, negotiate over every container kind, the hardware description, one page in five memory
// strips after five of the host's own events, end, disable, close.
TEST(Transcript, ScanSessionLeavesExactlyTheExpectedTranscript) { PlayAndCompare("scan"); }

// Failures of several kinds, each with its failure lines, and the condition each leaves for
// DAT_STATUS; calls out of sequence while enabled.
TEST(Transcript, ErrorSessionLeavesExactlyTheExpectedTranscript) { PlayAndCompare("error"); }
