// What the built module writes, loaded as a host loads it: the log file's name and bytes, the
// message at unload, the silence of unclaimed events, the cut of an over-long rendering, and the
// refusal of a planted link.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <CoreServices/CoreServices.h>
#include <gtest/gtest.h>

#include "FieldFormat.h"
#include "HostMemory.h"
#include "ModuleHarness.h"
#include "ScannerInterface.h"
#include "TestSupport.h"
#include "WallClock.h"

using harness::CChildSession;
using harness::ChildResult;
using harness::PointerFromReport;
using harness::RunInChild;
using testsupport::Lines;
using testsupport::ResultLines;
using testsupport::StateLines;

namespace {

class EntryLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness::InstallScanner();
        harness::MakeEmptyLogFolder();
    }
    void TearDown() override { harness::RemoveLogFolder(); }
};

void OpenSource(CChildSession& session, TW_IDENTITY* pSource) {
    *pSource = TW_IDENTITY();
    pSource->Id = reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(2));
    session.Report("rc", session.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, pSource));
}

// The log file's path for a load at the given time: "<log folder>/Twainlog_YYYYMMDD_hhmmss_mmmm.txt",
// local time, the millisecond field 0000 to 0999.
std::string LogPath(const WallTime& time) {
    char szName[64];
    const size_t n = strftime(szName, sizeof szName, "Twainlog_%Y%m%d_%H%M%S_", &time.local);
    snprintf(szName + n, sizeof szName - n, "%04d.txt", time.milliseconds);
    return harness::LogFolder() + "/" + szName;
}

bool NotLater(const WallTime& a, const WallTime& b) {
    return a.seconds < b.seconds || (a.seconds == b.seconds && a.milliseconds <= b.milliseconds);
}

// The second rendering of a successful MSG_SET of CAP_EXTENDEDCAPS with a TW_ARRAY of
// TWTY_UINT16 items, in state 4, written out from the formats of its lines.
std::string ExtendedCapsRendering(const std::vector<TW_UINT16>& items, const void* pData, const void* hContainer) {
    char szLine[64];
    snprintf(szLine, sizeof szLine, "    hContainer = <0x%08x>", twfmt::Low32(hContainer));
    std::vector<std::string> lines = {"  TW_CAPABILITY = {", "    Cap        = [CAP_EXTENDEDCAPS]",
                                      "    ConType    = [TWON_ARRAY]", szLine, "    TW_ARRAY = {",
                                      "      ItemType = [TWTY_UINT16]",
                                      "      NumItems = [" + std::to_string(items.size()) + "]", "      ItemList = {"};
    for (size_t i = 0; i < items.size(); ++i) {
        snprintf(szLine, sizeof szLine, "        %3zu:%u%s", i, items[i], i + 1 < items.size() ? "," : "");
        lines.push_back(szLine);
    }
    lines.insert(lines.end(), {"      }", "    }", "  }"});
    return ResultLines("TWRC_SUCCESS", pData) + Lines(lines) + StateLines(4);
}

// Capability codes the scanner supports whose rendering is exactly nLength bytes: five-digit
// codes until it is long enough, then some shortened by 4, 2 or 1 digits.
std::vector<TW_UINT16> ItemsRenderingTo(size_t nLength) {
    const TW_UINT16 kShorterBy[] = {CAP_ZV_VERSION, ICAP_BRIGHTNESS, ICAP_PIXELTYPE, 0, CAP_XFERCOUNT};
    std::vector<TW_UINT16> items;
    while (ExtendedCapsRendering(items, nullptr, nullptr).size() < nLength) items.push_back(CAP_ZV_VERSION);
    size_t nOver = ExtendedCapsRendering(items, nullptr, nullptr).size() - nLength;
    for (TW_UINT16& item : items) {
        const size_t nCut = nOver >= 4 ? 4 : nOver == 3 ? 2 : nOver;
        item = kShorterBy[nCut];
        nOver -= nCut;
    }
    return items;
}

}  // namespace

// The log opened at load starts in state 3: MSG_CLOSEDSM takes it to 2. The unclaimed event
// leaves nothing and no gap in the numbering; the transfer-ready notice leaves only the failure
// lines of its failed call.
TEST_F(EntryLogTest, ShortSessionLeavesExactRecordsInAFileNamedAfterTheLoad) {
    // Read as the module reads its clock, so that its reading, taken in between, lies in between
    // (time() runs a few milliseconds behind this clock after a second begins).
    const WallTime before = WallTime::Now();
    const ChildResult child = RunInChild([](CChildSession& session) {
        session.Report("rc", session.Call(DG_CONTROL, DAT_NULL, MSG_NULL, nullptr));
        TW_EVENT event = {nullptr, MSG_NULL};  // the source is not enabled: not its event
        session.Report("rc", session.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event));
        session.Report("rc", session.Call(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr));
        session.Report("rc", session.Call(DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr));
        session.Report("rc", session.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr));
        session.Report("rc", session.Call(DG_CONTROL, 0x0400, MSG_GET, nullptr));
    });
    const WallTime after = WallTime::Now();
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"1", "5", "0", "1", "1", "1"}));
    EXPECT_EQ(child.stderrText, "Close Log File.\n");

    // Twainlog_YYYYMMDD_hhmmss_mmmm.txt, the local time of the load.
    const std::vector<std::string> names = harness::LogFolderEntries();
    ASSERT_EQ(names.size(), 1u);
    const std::string path = harness::LogFolder() + "/" + names[0];
    bool bNamedAfterTheLoad = false;
    for (WallTime t = before; NotLater(t, after) && !bNamedAfterTheLoad; t = t.Next()) {
        bNamedAfterTheLoad = path == LogPath(t);
    }
    EXPECT_TRUE(bNamedAfterTheLoad) << names[0];

    EXPECT_EQ(harness::ReadFile(path), Lines({"[00001] [APP] DG_CONTROL/DAT_NULL/MSG_NULL",
                                              "        Return Code = [TWRC_FAILURE]",
                                              "pData   = <0x00000000>",
                                              "*** Inspect Error Status Start ***",
                                              "*** Inspect Error Status End   ***",
                                              "[00002] [APP] DG_CONTROL/DAT_PARENT/MSG_CLOSEDSM",
                                              "        Return Code = [TWRC_SUCCESS]",
                                              "pData   = <0x00000000>",
                                              "",
                                              "TWAIN Status = [2]",
                                              "*** Inspect Error Status Start ***",
                                              "*** Inspect Error Status End   ***",
                                              "[00003] [APP] DG_IMAGE/DAT_IMAGEFILEXFER/MSG_GET",
                                              "        Return Code = [TWRC_FAILURE]",
                                              "pData   = <0x00000000>",
                                              "*** Inspect Error Status Start ***",
                                              "*** Inspect Error Status End   ***",
                                              "[00004] [APP] DG_CONTROL/ERROR!(1024)/MSG_GET",
                                              "        Return Code = [TWRC_FAILURE]",
                                              "pData   = <0x00000000>",
                                              "*** Inspect Error Status Start ***",
                                              "*** Inspect Error Status End   ***"}));
}

TEST_F(EntryLogTest, UnclaimedEventsWriteNothingAndTheClaimedOneWritesItsRecord) {
    const ChildResult child = RunInChild([](CChildSession& session) {
        TW_IDENTITY source;
        OpenSource(session, &source);
        TW_USERINTERFACE ui = {1, 0, nullptr};  // the scanner's dialog is shown
        session.Report("rc", session.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
        // The host's own events, idle time while the lamp warms up, a click on the scanner's
        // dialog (claimed, with nothing to report), then the page.
        TW_EVENT event;
        simscan::SimEventRecord record;
        for (TW_UINT16 what : {simscan::kUpdateEvt, simscan::kKeyDown, simscan::kNullEvent, simscan::kNullEvent,
                               simscan::kMouseDown, simscan::kNullEvent}) {
            record = simscan::SimEventRecord{what, 0, 0, 0, 0, 0};
            event = TW_EVENT{reinterpret_cast<TW_MEMREF>(&record), MSG_NULL};
            session.Report("rc", session.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event));
        }
        session.Report("pEvent", reinterpret_cast<uintptr_t>(&event));
        session.Report("pRecord", reinterpret_cast<uintptr_t>(&record));
    });
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"0", "0", "5", "5", "5", "5", "4", "4"}));
    // After the record of MSG_ENABLEDS (state 5) only the page's event: no triplet line, its
    // result, its event block, the state 6.
    char szEvent[40];
    snprintf(szEvent, sizeof szEvent, "    pEvent    = <0x%08x>", twfmt::Low32(PointerFromReport(child.Value("pRecord"))));
    const std::string log = harness::ReadOnlyLog();
    const size_t enabled = log.find(StateLines(5));
    ASSERT_NE(enabled, std::string::npos);
    EXPECT_EQ(log.substr(enabled + StateLines(5).size()),
              ResultLines("TWRC_DSEVENT", PointerFromReport(child.Value("pEvent"))) +
                  Lines({"  TW_EVENT = {", szEvent, "    TWMessage = [MSG_XFERREADY]", "  }"}) + StateLines(6));
}

// Depends on the capability container formatters: the expected text is that of their formats.
TEST_F(EntryLogTest, RenderingOf5120BytesIsWrittenWholeAndOneByteMoreIsCutWithTheMessage) {
    const std::vector<TW_UINT16> fits = ItemsRenderingTo(5120), overruns = ItemsRenderingTo(5121);
    const ChildResult child = RunInChild([&](CChildSession& session) {
        TW_IDENTITY source;
        OpenSource(session, &source);
        for (const std::vector<TW_UINT16>* pItems : {&fits, &overruns}) {
            Handle h = hostmem::NewHandle(offsetof(TW_ARRAY, ItemList) + 2 * pItems->size());
            hostmem::Put(h, offsetof(TW_ARRAY, ItemType), TW_UINT16{TWTY_UINT16});
            hostmem::Put(h, offsetof(TW_ARRAY, NumItems), static_cast<TW_UINT32>(pItems->size()));
            memcpy(*h + offsetof(TW_ARRAY, ItemList), pItems->data(), 2 * pItems->size());
            TW_CAPABILITY cap = {CAP_EXTENDEDCAPS, TWON_ARRAY, h};
            session.Report("rc", session.Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap));
            session.Report("pData", reinterpret_cast<uintptr_t>(&cap));
            session.Report("hContainer", reinterpret_cast<uintptr_t>(h));
            hostmem::FreeHandle(h);
        }
    });
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    ASSERT_EQ(child.Values("rc"), (std::vector<std::string>{"0", "0", "0"}));

    const std::vector<std::string> pData = child.Values("pData"), hContainer = child.Values("hContainer");
    const std::string whole = ExtendedCapsRendering(fits, PointerFromReport(pData[0]), PointerFromReport(hContainer[0]));
    const std::string cut = ExtendedCapsRendering(overruns, PointerFromReport(pData[1]), PointerFromReport(hContainer[1]));
    ASSERT_EQ(whole.size(), 5120u);
    ASSERT_EQ(cut.size(), 5121u);
    // After the opening record: the first rendering whole, the message right after the first 5120
    // bytes of the second, without a line end.
    const std::string kSet = "] [APP] DG_CONTROL/DAT_CAPABILITY/MSG_SET (CAP_EXTENDEDCAPS)\r\n";
    const std::string log = harness::ReadOnlyLog();
    const size_t first = log.find("[00002" + kSet);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.substr(first),
              "[00002" + kSet + whole + "[00003" + kSet + cut.substr(0, 5120) + "Size of CAP_xxx too long");
}

TEST_F(EntryLogTest, LinkPlantedAtTheLogFileNameIsRefusedAndItsTargetKept) {
    // The name carries the second and the millisecond of the load: plant a link at every name
    // of the next ten seconds (a loaded machine can take seconds to start the child), all
    // pointing at one file outside the log folder.
    const std::string target = harness::LogFolder() + "/../victim.txt";
    const std::string kVictim = "do not touch\n";
    std::ofstream(target) << kVictim;
    ASSERT_EQ(harness::ReadFile(target), kVictim);
    const time_t now = WallTime::Now().seconds;
    for (WallTime t = WallTime::FromSeconds(now, 0); t.seconds < now + 10; t = t.Next()) {
        ASSERT_EQ(symlink("../victim.txt", LogPath(t).c_str()), 0);
    }

    const ChildResult child = RunInChild([](CChildSession& session) {
        TW_IDENTITY source;
        OpenSource(session, &source);
        session.Report("rc", session.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source));
    });
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    // Calls are still forwarded; the module opened no file, so it has none to close.
    EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"0", "0"}));
    EXPECT_EQ(child.stderrText, "");
    EXPECT_EQ(harness::ReadFile(target), kVictim);
    for (const std::string& name : harness::LogFolderEntries()) {
        EXPECT_TRUE(std::filesystem::is_symlink(harness::LogFolder() + "/" + name)) << name << " is not a planted link";
    }
    std::filesystem::remove(target);
}
