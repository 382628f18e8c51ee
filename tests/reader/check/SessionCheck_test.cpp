// The protocol rules on hand-built sessions: each rule's violation is found at the right record,
// and well-behaved sessions, including the gaps real TWAIN 2 stacks leave, give nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "SessionCheckSupport.h"

using namespace checksupport;
using twainlog::check::FormatFinding;

namespace {

bool Mentions(const Finding& f, const std::string& text) { return f.message.find(text) != std::string::npos; }

TEST(SessionCheckTest, WellBehavedSessionsGiveNothing) {
    // Memory transfer announced by a window event.
    {
        Session s;
        s.Add(WellBehavedSession()).Finish();
        EXPECT_TRUE(s.findings.empty()) << s.Text();
    }
    // Two images: MSG_ENDXFER with a pending count stays in 6, no second MSG_XFERREADY; a native
    // transfer; the manager's own calls before MSG_OPENDS (DAT_ENTRYPOINT shown by number); the
    // recording starting at MSG_OPENDS (state 3); a cancelled transfer reset from 7.
    {
        Session s;
        s.Add({Op("DG_CONTROL/DAT_IDENTITY/MSG_GET"), Op("DG_CONTROL/ERROR!(1027)/MSG_SET"), kOpenDs, kEnable,
               Event("MSG_XFERREADY"), kImageInfo, kNative, kImageInfo, EndXfer("1"), kImageInfo,
               Op("DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET", "TWRC_CANCEL"), kReset, kDisable, kCloseDs})
            .Finish();
        EXPECT_TRUE(s.findings.empty()) << s.Text();
    }
}

TEST(SessionCheckTest, TransferAnnouncedThroughTheCallbackIsANote) {
    Session s;
    s.Add(OpenAndEnable());
    const std::size_t line = s.Add(kImageInfo);  // no MSG_XFERREADY event before it
    s.Add({kMemLast, EndXfer("0"), kDisable, kCloseDs, kCloseDsm}).Finish();
    ASSERT_EQ(s.findings.size(), 1u) << s.Text();
    EXPECT_EQ(s.findings[0].severity, Severity::Note);
    EXPECT_EQ(s.findings[0].line, line);
    EXPECT_EQ(s.Errors() + s.Warnings(), 0);

    // Refused by the source, the same call does not stand for an announcement.
    Session refused;
    refused.Add(OpenAndEnable());
    refused.Add(Op("DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET", "TWRC_FAILURE"));
    refused.Add(Status("TWCC_SEQERROR"));
    EXPECT_EQ(refused.Of(Severity::Note).size(), 0u);
    ASSERT_EQ(refused.Of(Severity::Error).size(), 1u) << refused.Text();
    EXPECT_TRUE(Mentions(refused.Of(Severity::Error)[0], "sent in state 5")) << refused.Text();
}

TEST(SessionCheckTest, CallsOutsideTheirStates) {
    Session s;
    s.Add({kOpenDsm, kOpenDs});
    const std::size_t info = s.Add(Op("DG_IMAGE/DAT_IMAGEINFO/MSG_GET", "TWRC_FAILURE"));
    s.Add(Status("TWCC_SEQERROR"));
    s.Add(kEnable);
    const std::size_t again = s.Add(kEnable);  // accepted by a lax source: still an error, still state 5
    const std::size_t entry = s.Add(Op("DG_CONTROL/ERROR!(1027)/MSG_GET"));
    s.Add({kDisable, kCloseDs, kCloseDsm}).Finish();

    const std::vector<Finding> errors = s.Of(Severity::Error);
    ASSERT_EQ(errors.size(), 3u) << s.Text();
    EXPECT_EQ(errors[0].line, info);
    EXPECT_TRUE(Mentions(errors[0], "state 4")) << s.Text();
    EXPECT_TRUE(Mentions(errors[0], "allows it in state 6")) << s.Text();
    EXPECT_EQ(errors[1].line, again);
    EXPECT_EQ(errors[2].line, entry);
    EXPECT_TRUE(Mentions(errors[2], "DAT_ENTRYPOINT/MSG_GET sent in state 5")) << s.Text();
    // The failed DAT_IMAGEINFO left state 4, and the session ended cleanly.
    EXPECT_EQ(s.Warnings(), 1);
}

TEST(SessionCheckTest, FailedCallsLeaveTheState) {
    // Each refused transition leaves the session where it was: the retries and the capability set
    // in between are in their right states.
    Session s;
    s.Add({kOpenDsm, Op("DG_CONTROL/DAT_IDENTITY/MSG_OPENDS", "TWRC_FAILURE"), Status("TWCC_NODS"), kOpenDs,
           Op("DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS", "TWRC_FAILURE"), Status("TWCC_OPERATIONERROR"),
           Cap("MSG_SET", "ICAP_PIXELTYPE"), kEnable, kDisable, Op("DG_CONTROL/DAT_IDENTITY/MSG_CLOSEDS", "TWRC_FAILURE"),
           Status("TWCC_SEQERROR"), kCloseDs, kCloseDsm})
        .Finish();
    EXPECT_EQ(s.Errors(), 0) << s.Text();
    EXPECT_EQ(s.Warnings(), 3) << s.Text();
}

TEST(SessionCheckTest, CapabilitySetWhileEnabledDependsOnExtendedCaps) {
    const Call setPixelType = Cap("MSG_SET", "ICAP_PIXELTYPE");
    const auto run = [&](Session& s, std::vector<Call> before) {
        s.Add({kOpenDsm, kOpenDs});
        s.Add(before);
        s.Add(kEnable);
        s.Add(setPixelType);
        s.Add({kDisable, kCloseDs}).Finish();
    };
    // Not read: the transcript cannot tell.
    Session unknown;
    run(unknown, {});
    ASSERT_EQ(unknown.findings.size(), 1u) << unknown.Text();
    EXPECT_EQ(unknown.findings[0].severity, Severity::Warning);
    EXPECT_TRUE(Mentions(unknown.findings[0], "does not show CAP_EXTENDEDCAPS")) << unknown.Text();

    // Read, ICAP_PIXELTYPE (257) listed: allowed. The monitor writes the list's items in decimal.
    Session listed;
    run(listed, {Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"4353", "257"})});
    EXPECT_TRUE(listed.findings.empty()) << listed.Text();

    // Read, not listed: an error naming the capability.
    Session missing;
    run(missing, {Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"4353"})});
    ASSERT_EQ(missing.Of(Severity::Error).size(), 1u) << missing.Text();
    EXPECT_TRUE(Mentions(missing.Of(Severity::Error)[0], "ICAP_PIXELTYPE is not in CAP_EXTENDEDCAPS")) << missing.Text();

    // A reopened source starts from its defaults again: the earlier read no longer counts.
    Session reopened;
    run(reopened, {Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"257"}), kCloseDs, kOpenDs});
    ASSERT_EQ(reopened.findings.size(), 1u) << reopened.Text();
    EXPECT_EQ(reopened.findings[0].severity, Severity::Warning);
}

TEST(SessionCheckTest, SessionEndingWithTheSourceOpenOrEnabled) {
    Session open;
    open.Add({kOpenDsm, kOpenDs});
    const std::size_t last = open.Add(Cap("MSG_GET", "ICAP_XRESOLUTION"));
    open.Finish();
    ASSERT_EQ(open.findings.size(), 1u) << open.Text();
    EXPECT_EQ(open.findings[0].severity, Severity::Error);
    EXPECT_EQ(open.findings[0].line, last);
    EXPECT_TRUE(Mentions(open.findings[0], "still open (state 4)")) << open.Text();

    Session enabled;
    enabled.Add(OpenAndEnable()).Finish();
    ASSERT_EQ(enabled.findings.size(), 1u) << enabled.Text();
    EXPECT_TRUE(Mentions(enabled.findings[0], "still enabled (state 5)")) << enabled.Text();

    // Closed but the manager left open: nothing wrong with the source.
    Session closed;
    closed.Add({kOpenDsm, kOpenDs, kCloseDs}).Finish();
    EXPECT_TRUE(closed.findings.empty()) << closed.Text();
}

TEST(SessionCheckTest, TransferNeverEnded) {
    // Disabled in the middle of a transfer: the transfer's first call is reported, then the
    // MSG_DISABLEDS sent in state 7, in line order.
    Session s;
    s.Add(OpenAndEnable());
    s.Add({Event("MSG_XFERREADY"), kImageInfo});
    const std::size_t start = s.Add(kMemBuffer);
    s.Add(kMemLast);
    const std::size_t disable = s.Add(kDisable);
    s.Add({kCloseDs, kCloseDsm}).Finish();
    const std::vector<Finding> errors = s.Of(Severity::Error);
    ASSERT_EQ(errors.size(), 2u) << s.Text();
    EXPECT_EQ(errors[0].line, start);
    EXPECT_TRUE(Mentions(errors[0], "transfer never ended: DAT_USERINTERFACE/MSG_DISABLEDS at line")) << s.Text();
    EXPECT_EQ(errors[1].line, disable);

    // The transcript ends inside the transfer; a failed MSG_ENDXFER does not end it.
    Session cut;
    cut.Add(OpenAndEnable());
    cut.Add(Event("MSG_XFERREADY"));
    const std::size_t native = cut.Add(kNative);
    cut.Add(Op("DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER", "TWRC_FAILURE"));
    cut.Finish();
    ASSERT_FALSE(cut.findings.empty());
    EXPECT_EQ(cut.findings[0].line, native);
    EXPECT_TRUE(Mentions(cut.findings[0], "transcript ends")) << cut.Text();
    EXPECT_TRUE(std::is_sorted(cut.findings.begin(), cut.findings.end(),
                               [](const Finding& a, const Finding& b) { return a.line < b.line; }));
    EXPECT_EQ(cut.Errors(), 2);  // the transfer, and the source left enabled
}

TEST(SessionCheckTest, CloseRequestMustBeAnsweredWithDisable) {
    // Answered after stepping down from 6: nothing.
    Session answered;
    answered.Add(OpenAndEnable());
    answered.Add({Event("MSG_XFERREADY"), Event("MSG_CLOSEDSREQ"), kReset, kDisable, kCloseDs}).Finish();
    EXPECT_TRUE(answered.findings.empty()) << answered.Text();

    // Ignored until the end of the transcript.
    Session ignored;
    ignored.Add(OpenAndEnable());
    const std::size_t request = ignored.Add(Event("MSG_CLOSEDSREQ"));
    ignored.Add(Cap("MSG_GET", "ICAP_XRESOLUTION"));
    ignored.Finish();
    ASSERT_EQ(ignored.Of(Severity::Error).size(), 2u) << ignored.Text();
    EXPECT_EQ(ignored.Of(Severity::Error)[0].line, request);
    EXPECT_TRUE(Mentions(ignored.Of(Severity::Error)[0], "MSG_DISABLEDS")) << ignored.Text();

    // Answered by closing the source instead: the close request and the MSG_CLOSEDS are reported.
    Session closed;
    closed.Add(OpenAndEnable());
    const std::size_t event = closed.Add(Event("MSG_CLOSEDSREQ"));
    const std::size_t close = closed.Add(kCloseDs);
    closed.Finish();
    const std::vector<Finding> errors = closed.Of(Severity::Error);
    ASSERT_EQ(errors.size(), 2u) << closed.Text();
    EXPECT_EQ(errors[0].line, event);
    EXPECT_TRUE(Mentions(errors[0], "DAT_IDENTITY/MSG_CLOSEDS at line")) << closed.Text();
    EXPECT_EQ(errors[1].line, close);
}

TEST(SessionCheckTest, FailuresAreWarningsWithTheConditionCodeAskedNext) {
    Session s;
    s.Add({kOpenDsm, kOpenDs});
    const std::size_t asked = s.Add(Cap("MSG_GET", "CAP_DUPLEX", "TWRC_FAILURE"));
    s.Add(Status("TWCC_CAPUNSUPPORTED"));
    const std::size_t unasked = s.Add(Cap("MSG_SET", "ICAP_XRESOLUTION", "TWRC_FAILURE"));
    s.Add(Cap("MSG_GET", "ICAP_XRESOLUTION"));
    s.Add(Status("TWCC_BADVALUE"));  // too late: not the record right after the failure
    const std::size_t last = s.Add(Cap("MSG_GET", "ICAP_YRESOLUTION", "TWRC_FAILURE"));
    s.Add(kCloseDs);
    Call unnamed = Op("DG_CONTROL/DAT_PARENT/MSG_CLOSEDSM");
    unnamed.failed = true;  // failure lines after an unnamed return code
    unnamed.rc = "ERROR!(1)";
    const std::size_t end = s.Add(unnamed);
    s.Finish();

    const std::vector<Finding> warnings = s.Of(Severity::Warning);
    ASSERT_EQ(warnings.size(), 4u) << s.Text();
    EXPECT_EQ(warnings[0].line, asked);
    EXPECT_TRUE(Mentions(warnings[0], "TWCC_CAPUNSUPPORTED")) << s.Text();
    EXPECT_EQ(warnings[1].line, unasked);
    EXPECT_FALSE(Mentions(warnings[1], "TWCC_")) << s.Text();
    EXPECT_EQ(warnings[2].line, last);
    EXPECT_EQ(warnings[3].line, end);
    EXPECT_TRUE(Mentions(warnings[3], "transcript ends")) << s.Text();
    EXPECT_EQ(s.Errors(), 0);
}

TEST(SessionCheckTest, LostRecordsAreReportedAndLeaveTheStateOpen) {
    Session s;
    s.Add({kOpenDsm, kOpenDs});
    const std::size_t failed = s.Add(Cap("MSG_GET", "CAP_DUPLEX", "TWRC_FAILURE"));
    Call afterGap = Status("TWCC_BADCAP");
    afterGap.seq = 6;  // 4 and 5 lost: the status may not answer the failure
    const std::size_t gap = s.Add(afterGap);
    // The lost records may have enabled the source and announced a transfer: no errors for these.
    s.Add({kMemLast, EndXfer("0"), kDisable, kCloseDs});
    Call back = Op("DG_CONTROL/DAT_IDENTITY/MSG_OPENDS");
    back.seq = 3;
    const std::size_t goesBack = s.Add(back);
    s.Add(kCloseDs);
    s.Finish();

    EXPECT_EQ(s.Errors(), 0) << s.Text();
    const std::vector<Finding> warnings = s.Of(Severity::Warning);
    ASSERT_EQ(warnings.size(), 3u) << s.Text();
    EXPECT_EQ(warnings[0].line, failed);
    EXPECT_TRUE(Mentions(warnings[0], "condition code is unknown")) << s.Text();
    EXPECT_EQ(warnings[1].line, gap);
    EXPECT_TRUE(Mentions(warnings[1], "2 records lost between [00003] and [00006]")) << s.Text();
    EXPECT_EQ(warnings[2].line, goesBack);

    // A transcript that starts after its first records.
    Session late;
    Call first = Cap("MSG_GET", "ICAP_XRESOLUTION");
    first.seq = 4;
    late.Add(first);
    // The capability call, answered, shows the source open: opening it again is an error.
    const std::size_t reopen = late.Add(kOpenDs);
    late.Add(kCloseDs);
    late.Finish();
    ASSERT_EQ(late.findings.size(), 2u) << late.Text();
    EXPECT_TRUE(Mentions(late.findings[0], "records [00001] to [00003] are missing")) << late.Text();
    EXPECT_EQ(late.findings[1].line, reopen);
    EXPECT_EQ(late.findings[1].severity, Severity::Error);
}

TEST(SessionCheckTest, CutAndIncompleteRecords) {
    Session s;
    s.Add({kOpenDsm, kOpenDs});
    Call cut = Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"257"});
    cut.truncated = true;  // the list is cut: it does not show what the source allows
    const std::size_t cutLine = s.Add(cut);
    s.Add(kEnable);
    s.Add(Cap("MSG_SET", "ICAP_BRIGHTNESS"));
    s.Add(kDisable);
    Call close = kCloseDs;
    close.rc.clear();
    close.incomplete = true;  // the host stopped inside MSG_CLOSEDS: the source may be open or closed
    const std::size_t stopped = s.Add(close);
    s.Add(Cap("MSG_GET", "ICAP_XRESOLUTION"));  // it was open, then
    s.Add(kCloseDs);
    s.Finish();

    EXPECT_EQ(s.Errors(), 0) << s.Text();
    const std::vector<Finding> warnings = s.Of(Severity::Warning);
    ASSERT_EQ(warnings.size(), 3u) << s.Text();
    EXPECT_EQ(warnings[0].line, cutLine);
    EXPECT_TRUE(Mentions(warnings[1], "does not show CAP_EXTENDEDCAPS")) << s.Text();
    EXPECT_EQ(warnings[2].line, stopped);
    EXPECT_TRUE(Mentions(warnings[2], "stopped inside")) << s.Text();
}

TEST(SessionCheckTest, FindingsStayInLineOrderWhileATransferIsOpen) {
    // Thousands of failures inside a transfer that never ends: every finding arrives, in line
    // order, with the transfer's own finding first, however many the checker had to hold.
    Session s;
    s.Add(OpenAndEnable());
    s.Add(Event("MSG_XFERREADY"));
    const std::size_t start = s.Add(kMemBuffer);
    for (int i = 0; i < 3000; ++i) s.Add(Cap("MSG_GET", "ICAP_XRESOLUTION", "TWRC_FAILURE"));
    s.Finish();
    EXPECT_TRUE(std::is_sorted(s.findings.begin(), s.findings.end(),
                               [](const Finding& a, const Finding& b) { return a.line < b.line; }));
    EXPECT_EQ(s.Warnings(), 3000);
    EXPECT_EQ(s.Errors(), 2);
    const auto transfer = std::find_if(s.findings.begin(), s.findings.end(),
                                       [](const Finding& f) { return Mentions(f, "transfer never ended"); });
    ASSERT_NE(transfer, s.findings.end());
    // Held too long, the transfer's finding is reported where it became certain, naming its start.
    EXPECT_TRUE(Mentions(*transfer, "(line " + std::to_string(start) + ")")) << transfer->message;
}

TEST(SessionCheckTest, AnyRecordsGiveOrderedFindings) {
    // Records drawn at random from real and broken texts, numbers and flags: every finding comes
    // out once, in line order, and the counts match what was delivered.
    const std::vector<Call> pool = {kOpenDsm, kOpenDs, kEnable, kDisable, kCloseDs, kCloseDsm, kImageInfo,
                                    kMemBuffer, kMemLast, kNative, kReset, EndXfer("0"), EndXfer("65535"),
                                    EndXfer(""), Event("MSG_XFERREADY"), Event("MSG_CLOSEDSREQ"), Event(""),
                                    Status("TWCC_SEQERROR"), Cap("MSG_SET", "ICAP_PIXELTYPE", "TWRC_FAILURE"),
                                    Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"257", "x", "ERROR!(9)"}),
                                    Op("DG_CONTROL/ERROR!(1027)/ERROR!(99999)"), Op("//"), Op("DG_X/DAT_Y/MSG_Z", "junk")};
    unsigned state = 12345;
    const auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    for (int round = 0; round < 20; ++round) {
        Session s;
        long seq = 0;
        for (int i = 0; i < 400; ++i) {
            Call call = pool[next(pool.size())];
            call.failed = call.failed || next(10) == 0;
            call.truncated = next(20) == 0;
            call.incomplete = next(30) == 0;
            if (call.event) {
                call.seq.reset();
            } else {
                const unsigned jump = next(40);
                const long top = std::numeric_limits<long>::max();
                seq = jump == 0 ? -seq : jump == 1 || seq == top ? top - next(2) : seq + 1;
                call.seq = seq;
            }
            s.Add(call);
        }
        s.Finish();
        EXPECT_TRUE(std::is_sorted(s.findings.begin(), s.findings.end(),
                                   [](const Finding& a, const Finding& b) { return a.line < b.line; }));
        EXPECT_EQ(static_cast<std::size_t>(s.Errors() + s.Warnings()) + s.Of(Severity::Note).size(), s.findings.size());
    }
}

TEST(SessionCheckTest, OperationsTwainDoesNotHaveAndTheMakersOwn) {
    Session s;
    s.Add({kOpenDsm, kOpenDs});
    const std::size_t bogus = s.Add(Op("DG_IMAGE/DAT_IMAGEINFO/MSG_SET"));
    s.Add(Op("DG_CONTROL/DAT_ZV_HARDWAREINFO/MSG_GET"));  // the maker's: no rule applies
    s.Add(Op("DG_CONTROL/ERROR!(32790)/MSG_GET"));       // an unnamed code of the maker's range
    s.Add(kCloseDs);
    s.Finish();
    ASSERT_EQ(s.findings.size(), 1u) << s.Text();
    EXPECT_EQ(s.findings[0].line, bogus);
    EXPECT_TRUE(Mentions(s.findings[0], "not an operation of TWAIN 2.4")) << s.Text();
}

TEST(SessionCheckTest, FormatFindingLikeACompiler) {
    Finding f;
    f.line = 627;
    f.severity = Severity::Error;
    f.seq = 35;
    f.triplet = "DG_CONTROL/DAT_CAPABILITY/MSG_SET";
    f.cap = "ICAP_PIXELTYPE";
    f.message = "what is wrong";
    EXPECT_EQ(FormatFinding("scan.txt", f),
              "scan.txt:627: error: [00035] DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_PIXELTYPE): what is wrong");
    f.seq.reset();
    f.cap.clear();
    f.severity = Severity::Note;
    f.triplet = "DG_CONTROL/DAT_EVENT/MSG_PROCESSEVENT";
    EXPECT_EQ(FormatFinding("a.txt", f), "a.txt:627: note: DG_CONTROL/DAT_EVENT/MSG_PROCESSEVENT: what is wrong");
    f.severity = Severity::Warning;
    f.triplet.clear();
    EXPECT_EQ(FormatFinding("a.txt", f), "a.txt:627: warning: what is wrong");
}

}  // namespace
