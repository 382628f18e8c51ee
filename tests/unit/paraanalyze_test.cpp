// The analyser's core: triplet line, state tracker, result block and its gates.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>

#include "ParaAnalyze.h"
#include "TestSupport.h"

using testsupport::Lines;

namespace {

char* Data(void* p) { return static_cast<char*>(p); }
char* FakePointer(uintptr_t value) { return reinterpret_cast<char*>(value); }

std::string Triplet(CParaAnalyze& a, unsigned DG, unsigned short DAT, unsigned short MSG, char* pData = nullptr) {
    CTextBuffer buf;
    a.TripletAnalyze(nullptr, nullptr, DG, DAT, MSG, pData, &buf);
    return buf.Text();
}

std::string Result(CParaAnalyze& a, unsigned short DAT, unsigned short MSG, char* pData, unsigned short rc,
                   unsigned DG = DG_CONTROL) {
    CTextBuffer buf;
    a.ParaAnalyze(nullptr, nullptr, DG, DAT, MSG, pData, rc, &buf);
    return buf.Text();
}

TEST(TripletLine, NumbersShownTripletsWithoutGaps) {
    CParaAnalyze a;
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS), "[00001] [APP] DG_CONTROL/DAT_IDENTITY/MSG_OPENDS\r\n");
    // Window events and transfer-ready notices leave no line and use no number.
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT), "");
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_IMAGEMEMXFER, MSG_PROCESSEVENT), "");
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_NULL, MSG_XFERREADY), "");
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_NULL, MSG_CLOSEDSREQ), "[00002] [APP] DG_CONTROL/DAT_NULL/MSG_CLOSEDSREQ\r\n");
    EXPECT_EQ(Triplet(a, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET),
              "[00003] [APP] DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET\r\n");
}

TEST(TripletLine, NamesFromStandardAndExtensionTables) {
    CParaAnalyze a;
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_CUSTOMBASE, MSG_ZV_TIMERRESET),
              "[00001] [APP] DG_CONTROL/DAT_CUSTOMBASE/MSG_ZV_TIMERRESET\r\n");
    EXPECT_EQ(Triplet(a, 8, 0x0401, 0x8003), "[00002] [APP] ERROR!(8)/ERROR!(1025)/ERROR!(32771)\r\n");
    EXPECT_EQ(Triplet(a, DG_AUDIO, 0x8020, MSG_CUSTOMBASE), "[00003] [APP] DG_AUDIO/ERROR!(32800)/MSG_CUSTOMBASE\r\n");
    EXPECT_EQ(Triplet(a, 0xFFFFFFFF, DAT_ZV_HARDWAREINFO, MSG_GET),
              "[00004] [APP] ERROR!(-1)/DAT_ZV_HARDWAREINFO/MSG_GET\r\n");
}

TEST(TripletLine, CapabilityNameInParentheses) {
    CParaAnalyze a;
    TW_CAPABILITY cap = {ICAP_XRESOLUTION, TWON_ONEVALUE, nullptr};
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_CAPABILITY, MSG_GET, Data(&cap)),
              "[00001] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_GET (ICAP_XRESOLUTION)\r\n");
    cap.Cap = 0x1023;
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_CAPABILITY, MSG_SET, Data(&cap)),
              "[00002] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_SET (ERROR!(4131))\r\n");
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_CAPABILITY, MSG_RESET, nullptr),
              "[00003] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_RESET ()\r\n");
}

TEST(TripletLine, SourceTagAndCapabilityNameBuffer) {
    CParaAnalyze a;
    a.Init(nullptr);  // leaves the tag as it was
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_NULL, MSG_NULL), "[00001] [APP] DG_CONTROL/DAT_NULL/MSG_NULL\r\n");
    a.Init("0123456789012345678901234567890123456789");
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_NULL, MSG_NULL),
              "[00002] [0123456789012345678901234567890] DG_CONTROL/DAT_NULL/MSG_NULL\r\n");
    a.Init("DSM");
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_NULL, MSG_NULL), "[00003] [DSM] DG_CONTROL/DAT_NULL/MSG_NULL\r\n");

    TW_CAPABILITY cap = {ICAP_ZV_FILMTYPE, 0, nullptr};
    char name[64] = "untouched";
    EXPECT_TRUE(a.GetStringOfCapability(nullptr, name, sizeof(name)));
    EXPECT_STREQ(name, "untouched");
    EXPECT_FALSE(a.GetStringOfCapability(&cap, name, 16));  // "ICAP_ZV_FILMTYPE" needs 17
    EXPECT_STREQ(name, "untouched");
    EXPECT_TRUE(a.GetStringOfCapability(&cap, name, 17));
    EXPECT_STREQ(name, "ICAP_ZV_FILMTYPE");
}

TEST(TripletLine, CounterWidensPastFiveDigits) {
    CParaAnalyze a;
    for (int i = 0; i < 99999; ++i) Triplet(a, DG_CONTROL, DAT_NULL, MSG_NULL);
    EXPECT_EQ(Triplet(a, DG_CONTROL, DAT_NULL, MSG_NULL), "[100000] [APP] DG_CONTROL/DAT_NULL/MSG_NULL\r\n");
}

TEST(LogHeader, FourLinesWithTheLocalTime) {
    CParaAnalyze a;
    CTextBuffer buf;
    buf.Append("before\r\n");
    EXPECT_TRUE(a.HeaderMake(&buf));
    const std::string slashes(48, '/');
    const std::regex expected("before\r\n" + slashes + "\r\n           VIDOZ Idavovi Zazu Ver1\\.10\r\n" + slashes +
                              "\r\n  << Current time = [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d \\d{4} >>\r\n");
    EXPECT_TRUE(std::regex_match(std::string(buf.Text()), expected)) << buf.Text();
}

// One row of the transition table: from state, triplet, data, expected state.
struct Transition {
    int from;
    unsigned short DAT;
    unsigned short MSG;
    int to;
};

TEST(StateTracker, TransitionTable) {
    const Transition rows[] = {
        {2, DAT_PARENT, MSG_OPENDSM, 3},          {3, DAT_PARENT, MSG_CLOSEDSM, 2},
        {3, DAT_IDENTITY, MSG_OPENDS, 4},         {4, DAT_IDENTITY, MSG_CLOSEDS, 3},
        {4, DAT_USERINTERFACE, MSG_ENABLEDS, 5},  {5, DAT_USERINTERFACE, MSG_DISABLEDS, 4},
        {6, DAT_IMAGEMEMXFER, MSG_GET, 7},        {6, DAT_IMAGENATIVEXFER, MSG_GET, 7},
        {6, DAT_IMAGEFILEXFER, MSG_GET, 7},       {6, DAT_IMAGEMEMXFER, MSG_PROCESSEVENT, 7},
        {6, DAT_PENDINGXFERS, MSG_RESET, 5},      {7, DAT_IMAGEMEMXFER, MSG_GET, 7},
        // The first five messages move the state whatever the DAT.
        {3, DAT_NULL, MSG_OPENDS, 4},             {4, DAT_STATUS, MSG_ENABLEDS, 5},
        // Combinations no row covers change nothing.
        {3, DAT_IDENTITY, MSG_OPENDSM, 3},        {3, DAT_USERINTERFACE, MSG_ENABLEDS, 3},
        {5, DAT_IDENTITY, MSG_DISABLEDS, 5},      {7, DAT_PENDINGXFERS, MSG_RESET, 7},
        {5, DAT_IMAGEINFO, MSG_GET, 5},           {6, DAT_IMAGEINFO, MSG_GET, 6},
        {4, DAT_USERINTERFACE, MSG_ENABLEDSUIONLY, 4}, {3, DAT_IDENTITY, MSG_USERSELECT, 3},
        {0, DAT_IDENTITY, MSG_OPENDS, 0},         {0, DAT_PARENT, MSG_OPENDSM, 0},
    };
    for (const Transition& row : rows) {
        CParaAnalyze a;
        a.SetTwainStatus(row.from);
        EXPECT_EQ(a.UpDateTwainStatus(DG_CONTROL, row.DAT, row.MSG, nullptr), row.to)
            << "from " << row.from << " DAT " << row.DAT << " MSG " << row.MSG;
    }
}

TEST(StateTracker, EventsAndPendingTransfersReadTheDataBlock) {
    CParaAnalyze a;
    TW_EVENT event = {nullptr, MSG_XFERREADY};
    a.SetTwainStatus(5);
    EXPECT_EQ(a.UpDateTwainStatus(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, Data(&event)), 6);
    a.SetTwainStatus(5);
    event.TWMessage = MSG_CLOSEDSREQ;
    EXPECT_EQ(a.UpDateTwainStatus(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, Data(&event)), 4);
    a.SetTwainStatus(5);
    event.TWMessage = MSG_NULL;
    EXPECT_EQ(a.UpDateTwainStatus(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, Data(&event)), 5);
    EXPECT_EQ(a.UpDateTwainStatus(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, nullptr), 5);
    a.SetTwainStatus(6);
    event.TWMessage = MSG_XFERREADY;
    EXPECT_EQ(a.UpDateTwainStatus(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, Data(&event)), 6);

    TW_PENDINGXFERS pending = {};
    const struct {
        int from;
        TW_UINT16 count;
        int to;
    } endxfer[] = {{7, 2, 6}, {7, 0, 5}, {6, 0xFFFF, 6}, {6, 0, 5}, {5, 0, 5}, {4, 3, 4}};
    for (const auto& row : endxfer) {
        a.SetTwainStatus(row.from);
        pending.Count = row.count;
        EXPECT_EQ(a.UpDateTwainStatus(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, Data(&pending)), row.to);
    }
    a.SetTwainStatus(7);
    EXPECT_EQ(a.UpDateTwainStatus(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, nullptr), 7);
    EXPECT_EQ(a.UpDateTwainStatus(DG_CONTROL, DAT_IDENTITY, MSG_ENDXFER, Data(&pending)), 7);
}

TEST(ResultReport, ResultBlockAndStateLine) {
    CParaAnalyze a;
    a.SetTwainStatus(3);
    // The data block comes from its formatter; here only the frame around it is checked.
    const std::string text = Result(a, DAT_NULL, MSG_NULL, FakePointer(0x12345678), TWRC_SUCCESS);
    EXPECT_EQ(text, Lines({"        Return Code = [TWRC_SUCCESS]", "pData   = <0x12345678>", "", "TWAIN Status = [3]"}));
    char szState[256];
    a.MakeTwainStatusString(szState);
    EXPECT_STREQ(szState, "\r\nTWAIN Status = [3]\r\n");  // the state lines alone

    // A return code outside the table, and a pointer above 4 GiB shown by its low 32 bits.
    EXPECT_EQ(Result(a, DAT_IMAGEFILEXFER, MSG_GET, FakePointer(0x7FAB00C0FFEEull), 10),
              Lines({"        Return Code = [ERROR!(10)]", "pData   = <0x00c0ffee>", "", "TWAIN Status = [3]"}));
    EXPECT_EQ(Result(a, DAT_IMAGEFILEXFER, MSG_GET, nullptr, TWRC_CUSTOMBASE),
              Lines({"        Return Code = [TWRC_CUSTOMBASE]", "pData   = <0x00000000>", "", "TWAIN Status = [3]"}));
    // Codes without a dispatcher still get the result block and the state line.
    EXPECT_EQ(Result(a, DAT_ZV_DUALIMAGE, MSG_GET, nullptr, TWRC_CANCEL),
              Lines({"        Return Code = [TWRC_CANCEL]", "pData   = <0x00000000>", "", "TWAIN Status = [3]"}));
}

TEST(ResultReport, FailureShowsNoStateLineAndMovesNothing) {
    CParaAnalyze a;
    a.SetTwainStatus(3);
    EXPECT_EQ(Result(a, DAT_IDENTITY, MSG_OPENDS, nullptr, TWRC_FAILURE),
              Lines({"        Return Code = [TWRC_FAILURE]", "pData   = <0x00000000>"}));
    EXPECT_EQ(a.GetTwainStatus(), 3);
    // Any other return code moves the state, TWRC_CANCEL included.
    a.SetTwainStatus(6);
    Result(a, DAT_IMAGENATIVEXFER, MSG_GET, nullptr, TWRC_CANCEL, DG_IMAGE);
    EXPECT_EQ(a.GetTwainStatus(), 7);
}

TEST(ResultReport, EventGate) {
    CParaAnalyze a;
    a.SetTwainStatus(5);
    TW_EVENT event = {nullptr, MSG_XFERREADY};
    // Not claimed by the source: nothing at all.
    EXPECT_EQ(Result(a, DAT_EVENT, MSG_PROCESSEVENT, Data(&event), TWRC_NOTDSEVENT), "");
    // Claimed, but with no message for the application: nothing either.
    event.TWMessage = MSG_NULL;
    EXPECT_EQ(Result(a, DAT_EVENT, MSG_PROCESSEVENT, Data(&event), TWRC_DSEVENT), "");
    event.TWMessage = MSG_DEVICEEVENT;
    EXPECT_EQ(Result(a, DAT_EVENT, MSG_PROCESSEVENT, Data(&event), TWRC_DSEVENT), "");
    EXPECT_EQ(Result(a, DAT_EVENT, MSG_PROCESSEVENT, nullptr, TWRC_DSEVENT), "");
    EXPECT_EQ(a.GetTwainStatus(), 5);

    // Claimed with a transfer-ready message: result block, event block and the new state.
    event.TWMessage = MSG_XFERREADY;
    const std::string text = Result(a, DAT_EVENT, MSG_PROCESSEVENT, Data(&event), TWRC_DSEVENT);
    EXPECT_EQ(text.rfind("        Return Code = [TWRC_DSEVENT]\r\npData   = <0x", 0), 0u) << text;
    const std::string tail = "\r\nTWAIN Status = [6]\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(a.GetTwainStatus(), 6);

    // Transfer-ready notices from the source are never shown.
    EXPECT_EQ(Result(a, DAT_NULL, MSG_XFERREADY, nullptr, TWRC_SUCCESS), "");
    EXPECT_EQ(a.GetTwainStatus(), 6);
}

TEST(ResultReport, ProcessEventOnOtherDataTypes) {
    CParaAnalyze a;
    a.SetTwainStatus(6);
    // A memory transfer block is large enough to be read as a TW_EVENT: its TWMessage bytes decide.
    TW_IMAGEMEMXFER xfer = {};
    xfer.Columns = MSG_XFERREADY;
    const std::string text = Result(a, DAT_IMAGEMEMXFER, MSG_PROCESSEVENT, Data(&xfer), TWRC_DSEVENT, DG_IMAGE);
    EXPECT_NE(text.find("TWAIN Status = [7]"), std::string::npos) << text;
    // A native transfer's block (one handle) is not: it is never read past its 8 bytes, the call
    // counts as not shown, and only its data block (whose dispatch does not depend on the gate) remains.
    a.SetTwainStatus(6);
    TW_HANDLE handle = nullptr;
    EXPECT_EQ(Result(a, DAT_IMAGENATIVEXFER, MSG_PROCESSEVENT, Data(&handle), TWRC_DSEVENT, DG_IMAGE),
              Lines({"  TW_UINT32 = {", "    Item = <0x00000000>", "  }"}));
    EXPECT_EQ(a.GetTwainStatus(), 6);
}

TEST(ResultReport, ParentShowsTheOriginOnlyWhenOpeningTheManager) {
    CParaAnalyze a;
    a.SetTwainStatus(3);
    TW_IDENTITY origin = {};
    CTextBuffer buf;
    a.ParaAnalyze(&origin, nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr, TWRC_SUCCESS, &buf);
    EXPECT_EQ(std::string(buf.Text()),
              Lines({"        Return Code = [TWRC_SUCCESS]", "pData   = <0x00000000>", "", "TWAIN Status = [2]"}));
    buf.Clear();
    a.ParaAnalyze(&origin, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr, TWRC_SUCCESS, &buf);
    EXPECT_NE(std::string(buf.Text()).find("  pOrigin:TW_IDENTITY = {\r\n"), std::string::npos) << buf.Text();
    EXPECT_EQ(a.GetTwainStatus(), 3);
}

}  // namespace
