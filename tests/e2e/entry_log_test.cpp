// What the built module writes, loaded as a host loads it: the log file's name and bytes, the
// message at unload, the failure marker lines, the silence of unclaimed events, the cut of an
// over-long rendering, and the refusal of a planted link.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <CoreServices/CoreServices.h>
#include <gtest/gtest.h>

#include "FieldFormat.h"
#include "ModuleHarness.h"
#include "ScannerInterface.h"
#include "TestSupport.h"

using harness::CChildSession;
using harness::Occurrences;
using harness::ChildResult;
using harness::PointerFromReport;
using harness::RunInChild;
using testsupport::Lines;
using testsupport::ResultLines;
using testsupport::StateLines;

namespace {

const char kFailureLines[] = "*** Inspect Error Status Start ***\r\n*** Inspect Error Status End   ***\r\n";

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

std::vector<std::string> StateNumbers(const std::string& log) {
    static const std::regex kState("\r\nTWAIN Status = \\[(-?\\d+)\\]\r\n");
    std::vector<std::string> states;
    for (std::sregex_iterator it(log.begin(), log.end(), kState), end; it != end; ++it) states.push_back((*it)[1]);
    return states;
}

// The records of a log: each from its triplet line up to the next.
std::vector<std::string> Records(const std::string& log) {
    static const std::regex kTriplet("\\[\\d{5,}\\] \\[APP\\] ");
    std::vector<size_t> starts;
    for (std::sregex_iterator it(log.begin(), log.end(), kTriplet), end; it != end; ++it) {
        starts.push_back(static_cast<size_t>(it->position()));
    }
    std::vector<std::string> records;
    for (size_t i = 0; i < starts.size(); ++i) {
        const size_t end = i + 1 < starts.size() ? starts[i + 1] : log.size();
        records.push_back(log.substr(starts[i], end - starts[i]));
    }
    return records;
}

}  // namespace

TEST_F(EntryLogTest, ShortSessionLeavesExactRecordsInAFileNamedAfterTheLoad) {
    const time_t before = time(nullptr);
    const ChildResult child = RunInChild([](CChildSession& session) {
        session.Report("rc", session.Call(DG_CONTROL, DAT_NULL, MSG_NULL, nullptr));
        TW_EVENT event = {nullptr, MSG_NULL};  // the source is not enabled: not its event
        session.Report("rc", session.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event));
        session.Report("rc", session.Call(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr));
        session.Report("rc", session.Call(DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr));
        session.Report("rc", session.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr));
        session.Report("rc", session.Call(DG_CONTROL, 0x0400, MSG_GET, nullptr));
    });
    const time_t after = time(nullptr);
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"1", "5", "0", "1", "1", "1"}));
    EXPECT_EQ(child.stderrText, "Close Log File.\n");

    // Twainlog_YYYYMMDD_hhmmss_mmmm.txt, the local time of the load.
    const std::vector<std::string> names = harness::LogFolderEntries();
    ASSERT_EQ(names.size(), 1u);
    std::smatch m;
    const std::regex kName("Twainlog_(\\d{4})(\\d{2})(\\d{2})_(\\d{2})(\\d{2})(\\d{2})_(\\d{4})\\.txt");
    ASSERT_TRUE(std::regex_match(names[0], m, kName)) << names[0];
    struct tm stamp = {};
    stamp.tm_year = std::stoi(m[1]) - 1900;
    stamp.tm_mon = std::stoi(m[2]) - 1;
    stamp.tm_mday = std::stoi(m[3]);
    stamp.tm_hour = std::stoi(m[4]);
    stamp.tm_min = std::stoi(m[5]);
    stamp.tm_sec = std::stoi(m[6]);
    stamp.tm_isdst = -1;
    const time_t loaded = mktime(&stamp);
    EXPECT_GE(loaded, before - 1);
    EXPECT_LE(loaded, after + 1);
    EXPECT_LE(std::stoi(m[7]), 1000);

    // The unclaimed event leaves nothing and no gap in the numbering; the transfer-ready notice
    // leaves only the failure lines of its failed call.
    EXPECT_EQ(harness::ReadOnlyLog(),
              Lines({"[00001] [APP] DG_CONTROL/DAT_NULL/MSG_NULL",
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

TEST_F(EntryLogTest, WithoutTheLogFolderNothingIsWrittenAnywhere) {
    harness::RemoveLogFolder();
    const ChildResult child = RunInChild([](CChildSession& session) {
        TW_IDENTITY source;
        OpenSource(session, &source);
        TW_CAPABILITY duplex = {simscan::CAP_DUPLEX, TWON_DONTCARE16, nullptr};
        session.Report("rc", session.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &duplex));
        session.Report("rc", session.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source));
    });
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"0", "1", "0"}));
    EXPECT_EQ(child.stderrText, "");  // no file, so no closing message
    EXPECT_FALSE(std::filesystem::exists(harness::LogFolder()));
}

TEST_F(EntryLogTest, LogStartsInStateThreeAndMarksOnlyFailedCalls) {
    const ChildResult child = RunInChild([](CChildSession& session) {
        TW_IDENTITY source;
        OpenSource(session, &source);
        session.Report("pSource", reinterpret_cast<uintptr_t>(&source));
        TW_STATUS status = {};
        TW_CAPABILITY duplex = {simscan::CAP_DUPLEX, TWON_DONTCARE16, nullptr};
        session.Report("rc", session.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &duplex));
        session.Report("rc", session.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status));
        session.Report("condition", status.ConditionCode);
        session.Report("rc", session.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status));
        session.Report("condition", status.ConditionCode);
        session.Report("rc", session.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source));
    });
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"0", "1", "0", "0", "0"}));
    // The condition of the failure is reported once, then the source starts afresh.
    EXPECT_EQ(child.Values("condition"), (std::vector<std::string>{"13", "0"}));

    const std::string log = harness::ReadOnlyLog();
    // A log opened at load starts from state 3: the source opens into 4 and closes into 3;
    // the failed call shows no state.
    EXPECT_EQ(StateNumbers(log), (std::vector<std::string>{"4", "4", "4", "3"}));
    EXPECT_EQ(log.substr(0, 150).find("[00001] [APP] DG_CONTROL/DAT_IDENTITY/MSG_OPENDS\r\n" +
                                      ResultLines("TWRC_SUCCESS", PointerFromReport(child.Value("pSource")))),
              0u);

    const std::vector<std::string> records = Records(log);
    ASSERT_EQ(records.size(), 5u);
    for (size_t i = 0; i < records.size(); ++i) {
        const bool bFailed = child.Values("rc")[i] == "1";
        EXPECT_EQ(Occurrences(records[i], kFailureLines), bFailed ? 1u : 0u) << records[i];
        EXPECT_EQ(Occurrences(records[i], "*** Inspect"), bFailed ? 2u : 0u) << records[i];
    }
    // The failed call's record ends with the two lines, back to back, after its result.
    EXPECT_NE(records[1].find("        Return Code = [TWRC_FAILURE]\r\n"), std::string::npos);
    EXPECT_EQ(records[1].substr(records[1].size() - (sizeof kFailureLines - 1)), kFailureLines);
    EXPECT_NE(records[2].find("    ConditionCode = [TWCC_CAPUNSUPPORTED]\r\n"), std::string::npos) << records[2];
    EXPECT_NE(records[3].find("    ConditionCode = [TWCC_SUCCESS]\r\n"), std::string::npos) << records[3];
}

TEST_F(EntryLogTest, UnclaimedEventsWriteNothingAndTheClaimedOneWritesItsRecord) {
    const ChildResult child = RunInChild([](CChildSession& session) {
        TW_IDENTITY source;
        OpenSource(session, &source);
        TW_USERINTERFACE ui = {1, 0, nullptr};  // the scanner's dialog is shown
        session.Report("rc", session.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
        session.Report("size", session.LogSize());
        // The host's own events, idle time while the lamp warms up, a click on the scanner's
        // dialog (claimed, with nothing to report), then the page.
        const TW_UINT16 kEvents[] = {simscan::kUpdateEvt, simscan::kKeyDown, simscan::kNullEvent,
                                     simscan::kNullEvent, simscan::kMouseDown, simscan::kNullEvent};
        TW_EVENT event;
        simscan::SimEventRecord record;
        for (TW_UINT16 what : kEvents) {
            record = simscan::SimEventRecord{what, 0, 0, 0, 0, 0};
            event = TW_EVENT{reinterpret_cast<TW_MEMREF>(&record), MSG_NULL};
            session.Report("rc", session.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event));
            session.Report("message", event.TWMessage);
            session.Report("size", session.LogSize());
        }
        session.Report("pEvent", reinterpret_cast<uintptr_t>(&event));
        session.Report("pRecord", reinterpret_cast<uintptr_t>(&record));
    });
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"0", "0", "5", "5", "5", "5", "4", "4"}));
    EXPECT_EQ(child.Values("message"), (std::vector<std::string>{"0", "0", "0", "0", "0", "257"}));

    const std::vector<std::string> sizes = child.Values("size");
    ASSERT_EQ(sizes.size(), 7u);
    for (size_t i = 1; i < 6; ++i) EXPECT_EQ(sizes[i], sizes[0]) << "event " << i << " wrote to the log";

    // The claimed event: no triplet line, its result, its event block, the state 6.
    const std::string log = harness::ReadOnlyLog();
    ASSERT_EQ(log.size(), std::stoul(sizes[6]));
    const std::string tail = log.substr(std::stoul(sizes[0]));
    const std::string result = ResultLines("TWRC_DSEVENT", PointerFromReport(child.Value("pEvent")));
    EXPECT_EQ(tail.substr(0, result.size()), result) << tail;
    EXPECT_EQ(tail.find("[APP]"), std::string::npos) << tail;
    EXPECT_NE(tail.find("    TWMessage = [MSG_XFERREADY]\r\n"), std::string::npos) << tail;
    EXPECT_EQ(tail.substr(tail.size() - StateLines(6).size()), StateLines(6)) << tail;
}

namespace {

// The second rendering of a successful MSG_SET of CAP_EXTENDEDCAPS with a TW_ARRAY of
// TWTY_UINT16 items, in state 4, written out from the formats of its lines.
std::string ExtendedCapsRendering(const std::vector<TW_UINT16>& items, const void* pData, const void* hContainer) {
    char szLine[64];
    std::string text = ResultLines("TWRC_SUCCESS", pData);
    text += Lines({"  TW_CAPABILITY = {", "    Cap        = [CAP_EXTENDEDCAPS]", "    ConType    = [TWON_ARRAY]"});
    snprintf(szLine, sizeof szLine, "    hContainer = <0x%08x>", twfmt::Low32(hContainer));
    text += Lines({szLine, "    TW_ARRAY = {", "      ItemType = [TWTY_UINT16]",
                   "      NumItems = [" + std::to_string(items.size()) + "]", "      ItemList = {"});
    for (size_t i = 0; i < items.size(); ++i) {
        snprintf(szLine, sizeof szLine, "        %3zu:%u%s", i, items[i], i + 1 < items.size() ? "," : "");
        text += Lines({szLine});
    }
    text += Lines({"      }", "    }", "  }"});
    return text + StateLines(4);
}

// Capability codes the scanner supports, of 1, 3, 4 and 5 decimal digits.
const TW_UINT16 kCodeByDigits[] = {0, CAP_XFERCOUNT, 0, ICAP_PIXELTYPE, ICAP_BRIGHTNESS, CAP_ZV_VERSION};

// A list whose rendering is exactly nLength bytes long.
std::vector<TW_UINT16> ItemsRenderingTo(size_t nLength) {
    for (size_t n = 300; n > 0; --n) {
        std::vector<TW_UINT16> items(n, CAP_XFERCOUNT);
        const size_t base = ExtendedCapsRendering(items, nullptr, nullptr).size();
        if (base > nLength) continue;
        size_t extra = nLength - base;
        if (extra == 1 || extra > 4 * n) continue;  // one more digit exactly cannot be had
        for (TW_UINT16& item : items) {
            size_t more = extra < 4 ? extra : 4;
            if (extra - more == 1) --more;  // never leave a single digit to add
            item = kCodeByDigits[1 + more];
            extra -= more;
        }
        return items;
    }
    return {};
}

}  // namespace

// Depends on the capability container formatters: the expected text is that of their formats.
TEST_F(EntryLogTest, RenderingOf5120BytesIsWrittenWholeAndOneByteMoreIsCutWithTheMessage) {
    const std::vector<TW_UINT16> fits = ItemsRenderingTo(5120);
    const std::vector<TW_UINT16> overruns = ItemsRenderingTo(5121);
    ASSERT_FALSE(fits.empty());
    ASSERT_FALSE(overruns.empty());

    const ChildResult child = RunInChild([&](CChildSession& session) {
        TW_IDENTITY source;
        OpenSource(session, &source);
        for (const std::vector<TW_UINT16>* pItems : {&fits, &overruns}) {
            Handle h = NewHandleClear(static_cast<Size>(offsetof(TW_ARRAY, ItemList) + 2 * pItems->size()));
            TW_ARRAY* pArray = reinterpret_cast<TW_ARRAY*>(*h);
            pArray->ItemType = TWTY_UINT16;
            pArray->NumItems = static_cast<TW_UINT32>(pItems->size());
            memcpy(*h + offsetof(TW_ARRAY, ItemList), pItems->data(), 2 * pItems->size());
            TW_CAPABILITY cap = {simscan::CAP_EXTENDEDCAPS, TWON_ARRAY, h};
            session.Report("rc", session.Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap));
            session.Report("pData", reinterpret_cast<uintptr_t>(&cap));
            session.Report("hContainer", reinterpret_cast<uintptr_t>(h));
            DisposeHandle(h);
        }
        session.Report("rc", session.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source));
    });
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    ASSERT_EQ(child.Values("rc"), (std::vector<std::string>{"0", "0", "0", "0"}));

    const std::vector<std::string> pData = child.Values("pData");
    const std::vector<std::string> hContainer = child.Values("hContainer");
    const std::string whole =
        ExtendedCapsRendering(fits, PointerFromReport(pData[0]), PointerFromReport(hContainer[0]));
    const std::string cut =
        ExtendedCapsRendering(overruns, PointerFromReport(pData[1]), PointerFromReport(hContainer[1]));
    ASSERT_EQ(whole.size(), 5120u);
    ASSERT_EQ(cut.size(), 5121u);

    const std::string kSetLine = "DG_CONTROL/DAT_CAPABILITY/MSG_SET (CAP_EXTENDEDCAPS)\r\n";
    const std::string log = harness::ReadOnlyLog();
    const size_t first = log.find("[00002] [APP] " + kSetLine);
    const size_t second = log.find("[00003] [APP] " + kSetLine);
    const size_t closing = log.find("[00004] [APP] DG_CONTROL/DAT_IDENTITY/MSG_CLOSEDS\r\n");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    ASSERT_NE(closing, std::string::npos);
    const size_t nTriplet = std::string("[00002] [APP] ").size() + kSetLine.size();
    EXPECT_EQ(log.substr(first + nTriplet, second - first - nTriplet), whole);
    // The message follows the first 5120 bytes directly, without a line end.
    EXPECT_EQ(log.substr(second + nTriplet, closing - second - nTriplet),
              cut.substr(0, 5120) + "Size of CAP_xxx too long");
}

TEST_F(EntryLogTest, LinkPlantedAtTheLogFileNameIsRefusedAndItsTargetKept) {
    // The name carries the second and the millisecond of the load: plant a link at every name
    // of the next three seconds, all pointing at one file outside the log folder.
    const std::string target = harness::LogFolder() + "/../victim.txt";
    const std::string kVictim = "do not touch\n";
    FILE* pVictim = fopen(target.c_str(), "w");
    ASSERT_NE(pVictim, nullptr);
    fputs(kVictim.c_str(), pVictim);
    fclose(pVictim);

    const time_t now = time(nullptr);
    for (time_t second = now; second < now + 3; ++second) {
        struct tm local;
        localtime_r(&second, &local);
        for (int ms = 0; ms <= 1000; ++ms) {
            char szName[512];
            snprintf(szName, sizeof szName, "%s/Twainlog_%04d%02d%02d_%02d%02d%02d_%04d.txt",
                     harness::LogFolder().c_str(), local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour, local.tm_min, local.tm_sec, ms);
            ASSERT_EQ(symlink("../victim.txt", szName), 0);
        }
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
        struct stat info;
        ASSERT_EQ(lstat((harness::LogFolder() + "/" + name).c_str(), &info), 0);
        EXPECT_TRUE(S_ISLNK(info.st_mode)) << name << " is not the planted link";
    }
    std::filesystem::remove(target);
}
