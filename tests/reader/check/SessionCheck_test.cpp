// The protocol rules on hand-built sessions: each rule's violation is found at the right record,
// and well-behaved sessions, including the gaps real TWAIN 2 stacks leave, give nothing.
// Brief() names a finding by the index of the record it concerns: "4 error".
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "SessionCheckSupport.h"

using namespace checksupport;
using twainlog::check::FormatFinding;
using Brief = std::vector<std::string>;

namespace {

bool Says(const Session& s, std::size_t i, const std::string& text) {
    return i < s.findings.size() && s.findings[i].message.find(text) != std::string::npos;
}

// Plays the records, then the end of the transcript.
void Play(Session& s, const std::vector<Call>& calls) { s.Add(calls).Finish(); }

TEST(SessionCheckTest, WellBehavedSessionsGiveNothing) {
    Session memory;  // announced by a window event, three buffers
    Play(memory, {kOpenDsm, kOpenDs, Cap("MSG_GET", "CAP_SUPPORTEDCAPS"), Cap("MSG_SET", "ICAP_PIXELTYPE"), kEnable,
                  Event("MSG_XFERREADY"), kImageInfo, kMemBuffer, kMemBuffer, kMemLast, EndXfer("0"), kDisable,
                  kCloseDs, kCloseDsm});
    EXPECT_EQ(memory.Brief(), Brief{}) << memory.Text();

    // The manager's own calls before MSG_OPENDS (DAT_ENTRYPOINT named by number), from state 3;
    // a native transfer; MSG_ENDXFER with a count left stays in 6 without a new MSG_XFERREADY; a
    // cancelled transfer reset from 7; a failed call in between.
    Session two;
    Play(two, {Op("DG_CONTROL/DAT_IDENTITY/MSG_GET"), Op("DG_CONTROL/ERROR!(1027)/MSG_SET"), kOpenDs, kEnable,
               Event("MSG_XFERREADY"), kImageInfo, kNative, kImageInfo, EndXfer("1"), kImageInfo,
               Op("DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET", "TWRC_CANCEL"), kReset, kDisable, kCloseDs});
    EXPECT_EQ(two.Brief(), Brief{}) << two.Text();
}

TEST(SessionCheckTest, TransferAnnouncedThroughTheCallbackIsANote) {
    Session s;  // no MSG_XFERREADY event before DAT_IMAGEINFO (record 5)
    Play(s, {kOpenDsm, kOpenDs, kEnable, Cap("MSG_GET", "ICAP_XRESOLUTION"), EndXfer("0"), kImageInfo, kMemLast,
             EndXfer("0"), kDisable, kCloseDs});
    // (MSG_ENDXFER in state 5 is an error: only a transfer call stands for the announcement.)
    EXPECT_EQ(s.Brief(), (Brief{"4 error", "5 note"})) << s.Text();

    Session refused;  // refused by the source, the transfer call does not stand for one either
    Play(refused, {kOpenDsm, kOpenDs, kEnable, Op("DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET", "TWRC_FAILURE"),
                   Status("TWCC_SEQERROR"), kDisable, kCloseDs});
    EXPECT_EQ(refused.Brief(), (Brief{"3 error", "3 warning"})) << refused.Text();
}

TEST(SessionCheckTest, CallsOutsideTheirStates) {
    // DAT_IMAGEINFO with the source only open (refused: state stays 4); MSG_ENABLEDS twice (the
    // second accepted by a lax source: still state 5); DAT_ENTRYPOINT, shown by number, after 3.
    Session s;
    Play(s, {kOpenDsm, kOpenDs, Op("DG_IMAGE/DAT_IMAGEINFO/MSG_GET", "TWRC_FAILURE"), Status("TWCC_SEQERROR"), kEnable,
             kEnable, Op("DG_CONTROL/ERROR!(1027)/MSG_GET"), kDisable, kCloseDs, kCloseDsm});
    EXPECT_EQ(s.Brief(), (Brief{"2 error", "2 warning", "5 error", "6 error"})) << s.Text();
    EXPECT_TRUE(Says(s, 0, "sent in state 4; TWAIN allows it in state 6 (7 after")) << s.Text();
    EXPECT_TRUE(Says(s, 3, "DAT_ENTRYPOINT/MSG_GET sent in state 5; TWAIN allows it in state 3")) << s.Text();

    // Refused transitions leave the state: the retries and the set in between are right.
    Session refused;
    Play(refused, {kOpenDsm, Op("DG_CONTROL/DAT_IDENTITY/MSG_OPENDS", "TWRC_FAILURE"), kOpenDs,
                   Op("DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS", "TWRC_FAILURE"), Cap("MSG_SET", "ICAP_PIXELTYPE"),
                   kEnable, kDisable, Op("DG_CONTROL/DAT_IDENTITY/MSG_CLOSEDS", "TWRC_FAILURE"), kCloseDs});
    EXPECT_EQ(refused.Brief(), (Brief{"1 warning", "3 warning", "7 warning"})) << refused.Text();
}

TEST(SessionCheckTest, CapabilitySetWhileEnabledDependsOnExtendedCaps) {
    const auto run = [](Session& s, std::vector<Call> calls) {
        calls.insert(calls.begin(), {kOpenDsm, kOpenDs});
        for (const Call& c : {kEnable, Cap("MSG_SET", "ICAP_PIXELTYPE"), kDisable, kCloseDs}) calls.push_back(c);
        Play(s, calls);
    };
    Session unknown;  // never read
    run(unknown, {});
    EXPECT_EQ(unknown.Brief(), Brief{"3 warning"}) << unknown.Text();
    EXPECT_TRUE(Says(unknown, 0, "does not show CAP_EXTENDEDCAPS")) << unknown.Text();

    Session listed;  // ICAP_PIXELTYPE is 257: the monitor writes the list's items in decimal
    run(listed, {Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"4353", "257"})});
    EXPECT_EQ(listed.Brief(), Brief{}) << listed.Text();

    Session missing;
    run(missing, {Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"4353"})});
    EXPECT_EQ(missing.Brief(), Brief{"4 error"}) << missing.Text();
    EXPECT_TRUE(Says(missing, 0, "ICAP_PIXELTYPE is not in CAP_EXTENDEDCAPS (line 21)")) << missing.Text();

    Session reopened;  // a reopened source is at its defaults: the earlier read no longer counts
    run(reopened, {Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"257"}), kCloseDs, kOpenDs});
    EXPECT_EQ(reopened.Brief(), Brief{"6 warning"}) << reopened.Text();

    Session cut;  // a cut list does not show what the source allows
    Call list = Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"257"});
    list.truncated = true;
    run(cut, {list});
    EXPECT_EQ(cut.Brief(), (Brief{"2 warning", "4 warning"})) << cut.Text();
}

TEST(SessionCheckTest, CallsInState7DependOnTheTransfersCourse) {
    // DAT_IMAGEINFO between buffers (TWAIN: in 7 after TWRC_XFERDONE only), DAT_EXTIMAGEINFO after
    // the last one, a further buffer after it, MSG_RESET after a transfer that was not cancelled.
    Session s;
    Play(s, {kOpenDsm, kOpenDs, kEnable, Event("MSG_XFERREADY"), kMemBuffer, kImageInfo, kMemLast,
             Op("DG_IMAGE/DAT_EXTIMAGEINFO/MSG_GET"), kMemBuffer, kReset, kDisable, kCloseDs});
    EXPECT_EQ(s.Brief(), (Brief{"5 warning", "8 warning", "9 warning"})) << s.Text();
    EXPECT_TRUE(Says(s, 1, "the transfer had ended with TWRC_XFERDONE")) << s.Text();
}

TEST(SessionCheckTest, SessionEndingWithTheSourceOpenOrEnabled) {
    Session open;
    Play(open, {kOpenDsm, kOpenDs, Cap("MSG_GET", "ICAP_XRESOLUTION")});
    EXPECT_EQ(open.Brief(), Brief{"2 error"}) << open.Text();
    EXPECT_TRUE(Says(open, 0, "still open (state 4)")) << open.Text();

    Session enabled;
    Play(enabled, {kOpenDsm, kOpenDs, kEnable});
    EXPECT_TRUE(Says(enabled, 0, "still enabled (state 5)")) << enabled.Text();

    Session closed;  // the manager may stay open
    Play(closed, {kOpenDsm, kOpenDs, kCloseDs});
    EXPECT_EQ(closed.Brief(), Brief{}) << closed.Text();
}

TEST(SessionCheckTest, TransferNeverEnded) {
    // Disabled inside the transfer: reported at the transfer's first call, before the
    // MSG_DISABLEDS sent in state 7.
    Session s;
    Play(s, {kOpenDsm, kOpenDs, kEnable, Event("MSG_XFERREADY"), kMemBuffer, kMemLast, kDisable, kCloseDs});
    EXPECT_EQ(s.Brief(), (Brief{"4 error", "6 error"})) << s.Text();
    EXPECT_TRUE(Says(s, 0, "transfer never ended: DAT_USERINTERFACE/MSG_DISABLEDS at line 61")) << s.Text();

    // The transcript ends inside the transfer; a failed MSG_ENDXFER does not end it.
    Session cut;
    Play(cut, {kOpenDsm, kOpenDs, kEnable, Event("MSG_XFERREADY"), kNative,
               Op("DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER", "TWRC_FAILURE")});
    EXPECT_EQ(cut.Brief(), (Brief{"4 error", "5 warning", "5 error"})) << cut.Text();
    EXPECT_TRUE(Says(cut, 0, "transcript ends")) << cut.Text();
}

TEST(SessionCheckTest, CloseRequestMustBeAnsweredWithDisable) {
    Session answered;  // after stepping down from 6
    Play(answered,
         {kOpenDsm, kOpenDs, kEnable, Event("MSG_XFERREADY"), Event("MSG_CLOSEDSREQ"), kReset, kDisable, kCloseDs});
    EXPECT_EQ(answered.Brief(), Brief{}) << answered.Text();

    Session ignored;
    Play(ignored, {kOpenDsm, kOpenDs, kEnable, Event("MSG_CLOSEDSREQ"), Cap("MSG_GET", "ICAP_XRESOLUTION")});
    EXPECT_EQ(ignored.Brief(), (Brief{"3 error", "4 error"})) << ignored.Text();
    EXPECT_TRUE(Says(ignored, 0, "before MSG_DISABLEDS")) << ignored.Text();

    Session closed;  // answered by closing the source instead
    Play(closed, {kOpenDsm, kOpenDs, kEnable, Event("MSG_CLOSEDSREQ"), kCloseDs});
    EXPECT_EQ(closed.Brief(), (Brief{"3 error", "4 error"})) << closed.Text();
    EXPECT_TRUE(Says(closed, 0, "DAT_IDENTITY/MSG_CLOSEDS at line 41")) << closed.Text();
}

TEST(SessionCheckTest, FailuresAreWarningsWithTheConditionCodeAskedNext) {
    Call unnamed = Op("DG_CONTROL/DAT_PARENT/MSG_CLOSEDSM", "ERROR!(1)");
    unnamed.failed = true;  // failure lines after a return code the monitor did not name
    Session s;
    Play(s, {kOpenDsm, kOpenDs, Cap("MSG_GET", "CAP_DUPLEX", "TWRC_FAILURE"), Status("TWCC_CAPUNSUPPORTED"),
             Cap("MSG_SET", "ICAP_XRESOLUTION", "TWRC_FAILURE"), Cap("MSG_GET", "ICAP_XRESOLUTION"),
             Status("TWCC_BADVALUE"), kCloseDs, unnamed});
    EXPECT_EQ(s.Brief(), (Brief{"2 warning", "4 warning", "8 warning"})) << s.Text();
    EXPECT_TRUE(Says(s, 0, "call failed (TWRC_FAILURE): TWCC_CAPUNSUPPORTED")) << s.Text();
    EXPECT_TRUE(Says(s, 1, "did not ask for the condition code")) << s.Text();  // the status came too late
    EXPECT_TRUE(Says(s, 2, "(ERROR!(1)); the transcript ends")) << s.Text();
}

TEST(SessionCheckTest, LostRecords) {
    // 4 and 5 lost after a failure: the status may answer another call; the lost records may have
    // enabled the source and announced a transfer. Then the numbers go back.
    Call afterGap = Status("TWCC_BADCAP");
    afterGap.seq = 6;
    Call back = kOpenDs;
    back.seq = 3;
    Session s;
    Play(s, {kOpenDsm, kOpenDs, Cap("MSG_GET", "CAP_DUPLEX", "TWRC_FAILURE"), afterGap, kMemLast, EndXfer("0"),
             kDisable, kCloseDs, back, kCloseDs});
    EXPECT_EQ(s.Brief(), (Brief{"2 warning", "3 warning", "8 warning"})) << s.Text();
    EXPECT_TRUE(Says(s, 0, "the condition code is unknown")) << s.Text();
    EXPECT_TRUE(Says(s, 1, "2 records lost between [00003] and [00006]")) << s.Text();

    // Starting after its first records; an answered call narrows the unknown state again.
    Call first = Cap("MSG_GET", "ICAP_XRESOLUTION");
    first.seq = 4;
    Session late;
    Play(late, {first, kOpenDs, kCloseDs});
    EXPECT_EQ(late.Brief(), (Brief{"0 warning", "1 error"})) << late.Text();
    EXPECT_TRUE(Says(late, 0, "records [00001] to [00003] are missing")) << late.Text();
}

TEST(SessionCheckTest, IncompleteRecord) {
    // The host stopped inside MSG_CLOSEDS: the source may be open or closed after it.
    Call close = kCloseDs;
    close.rc.clear();
    close.incomplete = true;
    Session s;
    Play(s, {kOpenDsm, kOpenDs, close, Cap("MSG_GET", "ICAP_XRESOLUTION"), kCloseDs});
    EXPECT_EQ(s.Brief(), Brief{"2 warning"}) << s.Text();
    EXPECT_TRUE(Says(s, 0, "stopped inside")) << s.Text();
}

TEST(SessionCheckTest, OperationsTwainDoesNotHaveAndTheMakersOwn) {
    Session s;  // the maker's codes, named or not, are the maker's to define
    Play(s, {kOpenDsm, kOpenDs, Op("DG_IMAGE/DAT_IMAGEINFO/MSG_SET"), Op("DG_CONTROL/DAT_ZV_HARDWAREINFO/MSG_GET"),
             Op("DG_CONTROL/ERROR!(32790)/MSG_GET"), kCloseDs});
    EXPECT_EQ(s.Brief(), Brief{"2 warning"}) << s.Text();
    EXPECT_TRUE(Says(s, 0, "not an operation of TWAIN 2.4")) << s.Text();
}

bool InLineOrder(const Session& s) {
    return std::is_sorted(s.findings.begin(), s.findings.end(),
                          [](const Finding& a, const Finding& b) { return a.line < b.line; });
}

TEST(SessionCheckTest, FindingsStayInLineOrder) {
    // Thousands of failures inside a transfer that never ends: held too long, the transfer's
    // finding is reported where it became certain, naming its start.
    Session s;
    s.Add({kOpenDsm, kOpenDs, kEnable, Event("MSG_XFERREADY"), kMemBuffer});
    s.Add(std::vector<Call>(3000, Cap("MSG_GET", "ICAP_XRESOLUTION", "TWRC_FAILURE")));
    s.Finish();
    EXPECT_TRUE(InLineOrder(s));
    EXPECT_EQ(s.Warnings(), 3000);
    EXPECT_EQ(s.Errors(), 2);
    EXPECT_TRUE(std::any_of(s.findings.begin(), s.findings.end(), [](const Finding& f) {
        return f.message.find("(line 41) transfer never ended") != std::string::npos;
    })) << s.findings.back().message;

    // Records drawn at random from real and broken texts, numbers and flags.
    const std::vector<Call> pool = {kOpenDsm,
                                    kOpenDs,
                                    kEnable,
                                    kDisable,
                                    kCloseDs,
                                    kCloseDsm,
                                    kImageInfo,
                                    kMemBuffer,
                                    kMemLast,
                                    kNative,
                                    kReset,
                                    EndXfer("0"),
                                    EndXfer("65535"),
                                    EndXfer(""),
                                    Event("MSG_XFERREADY"),
                                    Event("MSG_CLOSEDSREQ"),
                                    Event(""),
                                    Status("TWCC_SEQERROR"),
                                    Cap("MSG_SET", "ICAP_PIXELTYPE", "TWRC_FAILURE"),
                                    Cap("MSG_GET", "CAP_EXTENDEDCAPS", "TWRC_SUCCESS", {"257", "x", "ERROR!(9)"}),
                                    Op("DG_CONTROL/ERROR!(1027)/ERROR!(99999)"),
                                    Op("//"),
                                    Op("DG_X/DAT_Y/MSG_Z", "junk")};
    unsigned state = 12345;
    const auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    for (int round = 0; round < 20; ++round) {
        Session r;
        long seq = 0;
        for (int i = 0; i < 400; ++i) {
            Call call = pool[next(pool.size())];
            call.failed = call.failed || next(10) == 0;
            call.truncated = next(20) == 0;
            call.incomplete = next(30) == 0;
            const long top = std::numeric_limits<long>::max();
            const unsigned jump = next(40);
            seq = jump == 0 ? -seq : jump == 1 || seq == top ? top - next(2) : seq + 1;
            if (!call.event) call.seq = seq;
            r.Add({call});
        }
        r.Finish();
        EXPECT_TRUE(InLineOrder(r));
        const auto notes = std::count_if(r.findings.begin(), r.findings.end(),
                                         [](const Finding& f) { return f.severity == Severity::Note; });
        EXPECT_EQ(r.Errors() + r.Warnings() + notes, static_cast<long>(r.findings.size()));
    }
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
}

}  // namespace
