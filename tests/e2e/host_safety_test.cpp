// The monitor in hosts that misbehave or use the process as they please: calls from several threads
// at once, a data source that calls back into the monitor, a thread cancelled inside a call, a
// child forked without exec, several loads in quick succession, and an exception from the source.
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <CoreServices/CoreServices.h>
#include <gtest/gtest.h>

#include "HostMemory.h"
#include "ModuleHarness.h"
#include "ReaderTestSupport.h"
#include "TestSupport.h"

using harness::CChildSession;
using harness::ChildResult;
using harness::RunInChild;
using readertest::Simple;

namespace {

class HostSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness::InstallBundleExecutable(TWAINMON_PROBE_TARGET_PATH);
        harness::MakeEmptyLogFolder();
        m_eventsPath = harness::LogFolder() + "/../probe-events";
        std::remove(m_eventsPath.c_str());
        m_options.environment = {{"TWAINMON_PROBE_EVENTS", m_eventsPath},
                                 {"TWAINMON_PROBE_MONITOR", TWAINMON_MODULE_PATH}};
    }
    void TearDown() override {
        harness::RemoveLogFolder();
        std::remove(m_eventsPath.c_str());
    }

    // The probe's factory and release lines, "create <pid>" and "release <pid>".
    std::string ProbeEvents() const { return harness::ReadFile(m_eventsPath); }

    std::string m_eventsPath;
    harness::ChildOptions m_options;
};

// The kinds of call the threads make: each always renders the same record but for its number and
// its pointers. The unclaimed event leaves nothing.
enum CallKind { kIdentity, kStatus, kGetCapability, kSetCapability, kClaimedEvent, kFailure, kUnclaimedEvent, kKinds };

// A capability call of the host's own memory, flush against guard pages: the TW_CAPABILITY, and
// for MSG_SET a one-value container in a handle the host makes itself. MSG_GET brings a container
// of the data source's making. The host frees them all.
TW_UINT16 CallCapability(CChildSession& session, TW_UINT16 MSG) {
    const hostmem::CBlock block(sizeof(TW_CAPABILITY));
    TW_CAPABILITY* pCap = block.As<TW_CAPABILITY>();
    *pCap = {ICAP_PIXELTYPE, TWON_DONTCARE16, nullptr};
    if (MSG == MSG_SET) {
        pCap->ConType = TWON_ONEVALUE;
        pCap->hContainer = hostmem::NewHandle(sizeof(TW_ONEVALUE));
        *reinterpret_cast<TW_ONEVALUE*>(*pCap->hContainer) = TW_ONEVALUE{TWTY_UINT16, TWPT_GRAY};
    }
    const TW_UINT16 rc = session.Call(DG_CONTROL, DAT_CAPABILITY, MSG, pCap);
    hostmem::FreeHandle(pCap->hContainer);
    return rc;
}

TW_UINT16 CallOfKind(CChildSession& session, int kind) {
    switch (kind) {
        case kIdentity: {
            TW_IDENTITY identity = TW_IDENTITY();
            return session.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity);
        }
        case kStatus: {
            TW_STATUS status = {};
            return session.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        }
        case kGetCapability:
            return CallCapability(session, MSG_GET);
        case kSetCapability:
            return CallCapability(session, MSG_SET);
        case kClaimedEvent:
        case kUnclaimedEvent: {
            char hostEvent = 0;
            TW_EVENT event = {kind == kClaimedEvent ? &hostEvent : nullptr, MSG_NULL};
            return session.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        }
        default: {
            TW_PENDINGXFERS pending = {};
            return session.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending);
        }
    }
}

// The records of a log as twainlog reads them; a line it cannot place in a record fails the test.
std::vector<Simple> Records(const std::string& log) {
    std::vector<std::pair<std::size_t, std::string>> unreadable;
    std::vector<Simple> records = readertest::Parse(log, &unreadable);
    for (const auto& line : unreadable) ADD_FAILURE() << "line " << line.first << ": " << line.second;
    return records;
}

// All of each record of log that is the same in every run: everything but its number and its
// pointers, with the number of lines it spans (blank lines included, which the reader passes over).
std::vector<std::string> Wholes(const std::string& log, const std::vector<Simple>& records) {
    const size_t lineCount = static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
    std::vector<std::string> wholes;
    for (size_t i = 0; i < records.size(); ++i) {
        const Simple& r = records[i];
        std::string whole = r.event ? "claimed event" : "[" + r.source + "] " + r.triplet;
        if (!r.cap.empty()) whole += " (" + r.cap + ")";
        whole += " -> " + r.rc;
        if (r.hasState) whole += ", state " + std::to_string(r.state);
        if (r.failed) whole += ", failed";
        if (r.truncated) whole += ", truncated";
        if (r.incomplete) whole += ", incomplete";
        const size_t next = i + 1 < records.size() ? records[i + 1].line : lineCount + 1;
        // The data pointer's line as the log has it, masked with the pointers of the block.
        const std::string data = r.data.empty() ? "" : "pData   = <" + r.data + ">\r\n";
        wholes.push_back(whole + ", " + std::to_string(next - r.line) + " lines\n" + testsupport::MaskPointers(data + r.text));
    }
    return wholes;
}

// Every record of log is one of the records of referenceLog, whole, and the numbered ones are
// numbered 1, 2, 3... in file order. Returns the records of each kind.
std::map<std::string, int> CheckRecords(const std::string& log, const std::string& referenceLog) {
    const std::vector<std::string> referenceWholes = Wholes(referenceLog, Records(referenceLog));
    const std::set<std::string> kinds(referenceWholes.begin(), referenceWholes.end());
    const std::vector<Simple> records = Records(log);
    const std::vector<std::string> wholes = Wholes(log, records);
    std::map<std::string, int> counts;
    long expectedNumber = 1;
    for (size_t i = 0; i < records.size(); ++i) {
        if (kinds.count(wholes[i]) == 0) {
            ADD_FAILURE() << "record [" << records[i].seq << "] at line " << records[i].line << " is not whole:\n"
                          << wholes[i];
            break;
        }
        if (records[i].hasSeq && records[i].seq != expectedNumber++) {
            ADD_FAILURE() << "record [" << records[i].seq << "] out of order, expected " << expectedNumber - 1;
            break;
        }
        ++counts[wholes[i]];
    }
    return counts;
}

}  // namespace

TEST_F(HostSafetyTest, ConcurrentCallsLeaveWholeRecordsNumberedInFileOrder) {
    // The reference: one call of each kind, one after another.
    ChildResult child = RunInChild(
        [](CChildSession& session) {
            for (int kind = 0; kind < kKinds; ++kind) CallOfKind(session, kind);
        },
        m_options);
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    const std::string reference = harness::ReadOnlyLog();
    ASSERT_EQ(Records(reference).size(), 6u);  // the unclaimed event left nothing

    // Four threads, each making every kind of call in a rotation of its own, and its own handles.
    const int kThreads = 4, kRounds = 400;
    harness::MakeEmptyLogFolder();
    child = RunInChild(
        [&](CChildSession& session) {
            std::atomic<int> wrongResults(0);
            std::vector<std::thread> threads;
            for (int t = 0; t < kThreads; ++t) {
                threads.emplace_back([&session, &wrongResults, t] {
                    for (int i = 0; i < kRounds * kKinds; ++i) {
                        const int kind = (i + t) % kKinds;
                        const TW_UINT16 rc = CallOfKind(session, kind);
                        const TW_UINT16 expected = kind == kFailure          ? TWRC_FAILURE
                                                   : kind == kClaimedEvent   ? TWRC_DSEVENT
                                                   : kind == kUnclaimedEvent ? TWRC_NOTDSEVENT
                                                                             : TWRC_SUCCESS;
                        if (rc != expected) ++wrongResults;
                    }
                });
            }
            for (std::thread& thread : threads) thread.join();
            session.Report("wrong", wrongResults.load());
        },
        m_options);
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Value("wrong"), "0");
    const std::map<std::string, int> counts = CheckRecords(harness::ReadOnlyLog(), reference);
    EXPECT_EQ(counts.size(), 6u);
    for (const auto& count : counts) EXPECT_EQ(count.second, kThreads * kRounds) << count.first;
}

TEST_F(HostSafetyTest, SourceCallingBackIntoTheMonitorIsLoggedWholeBeforeTheOuterCall) {
    const ChildResult child = RunInChild(
        [](CChildSession& session) {
            TW_CUSTOMDSDATA custom = {};
            session.Report("rc", session.Call(DG_CONTROL, DAT_CUSTOMDSDATA, MSG_GET, &custom));
        },
        m_options);
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Value("rc"), "0");
    const std::vector<Simple> records = Records(harness::ReadOnlyLog());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].triplet, "DG_CONTROL/DAT_IDENTITY/MSG_GET");
    EXPECT_EQ(records[0].seq, 1);
    EXPECT_NE(records[0].text.find("ProductName     = [Probe]"), std::string::npos) << records[0].text;
    EXPECT_EQ(records[1].triplet, "DG_CONTROL/DAT_CUSTOMDSDATA/MSG_GET");
    EXPECT_EQ(records[1].seq, 2);
}

namespace {

std::atomic<bool> g_returnedWithCancelPending(false);

// Cancelled while the real data source blocks: the thread unwinds out of DS_Entry.
void* CallIntoBlockingSource(void* pSession) {
    TW_UINT32 group = 0;
    static_cast<CChildSession*>(pSession)->Call(DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group);
    return nullptr;
}

// Cancelled before the call: the record is written whole and the call returns; the cancel takes
// effect at the host's next cancellation point.
void* CallWithCancelPending(void* pSession) {
    pthread_cancel(pthread_self());
    TW_IDENTITY identity = TW_IDENTITY();
    static_cast<CChildSession*>(pSession)->Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity);
    g_returnedWithCancelPending = true;
    pthread_testcancel();
    return nullptr;
}

}  // namespace

TEST_F(HostSafetyTest, CancelledThreadUnwindsWithoutHarmToTheProcessOrTheLog) {
    const ChildResult child = RunInChild(
        [](CChildSession& session) {
            for (void* (*body)(void*) : {&CallIntoBlockingSource, &CallWithCancelPending}) {
                pthread_t thread;
                if (pthread_create(&thread, nullptr, body, &session) != 0) return;
                if (body == &CallIntoBlockingSource) usleep(100 * 1000);
                pthread_cancel(thread);
                void* result = nullptr;
                pthread_join(thread, &result);
                session.Report("cancelled", result == PTHREAD_CANCELED ? "yes" : "no");
            }
            session.Report("returned", g_returnedWithCancelPending ? "yes" : "no");
            // The lock was not left held by either thread.
            TW_STATUS status = {};
            session.Report("rc", session.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status));
        },
        m_options);
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("cancelled"), (std::vector<std::string>{"yes", "yes"}));
    EXPECT_EQ(child.Value("returned"), "yes");
    EXPECT_EQ(child.Value("rc"), "0");
    // The blocked call never returned, so it left no record.
    const std::vector<Simple> records = Records(harness::ReadOnlyLog());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].triplet, "DG_CONTROL/DAT_IDENTITY/MSG_GET");
    EXPECT_TRUE(records[0].hasState && records[0].state == 3) << records[0].json;
    EXPECT_EQ(records[1].triplet, "DG_CONTROL/DAT_STATUS/MSG_GET");
    EXPECT_EQ(records[1].seq, 2);
}

TEST_F(HostSafetyTest, ForkedChildForwardsItsCallsAndLeavesTheParentsSourceAndLogAlone) {
    const ChildResult child = RunInChild(
        [](CChildSession& session) {
            TW_IDENTITY identity = TW_IDENTITY();
            session.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity);
            const pid_t pid = fork();
            if (pid == 0) {
                // The forked child goes on calling, then exits as a program does, unloading the module.
                TW_IDENTITY childIdentity = TW_IDENTITY();
                const TW_UINT16 rc = session.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &childIdentity);
                session.Report("child", rc == TWRC_SUCCESS && std::string(childIdentity.ProductName) == "Probe"
                                            ? "forwarded"
                                            : "not forwarded");
                exit(0);
            }
            int status = 0;
            waitpid(pid, &status, 0);
            session.Report("pid", static_cast<unsigned long long>(getpid()));
            TW_STATUS twStatus = {};
            session.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &twStatus);
        },
        m_options);
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Value("child"), "forwarded");
    // One release, by the process that loaded the module, and one closing message.
    const std::string pid = child.Value("pid");
    EXPECT_EQ(ProbeEvents(), "create " + pid + "\nrelease " + pid + "\n");
    EXPECT_EQ(child.stderrText, "Close Log File.\n");
    const std::vector<Simple> records = Records(harness::ReadOnlyLog());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].seq, 1);
    EXPECT_EQ(records[1].triplet, "DG_CONTROL/DAT_STATUS/MSG_GET");
    EXPECT_EQ(records[1].seq, 2);
}

TEST_F(HostSafetyTest, LoadsAtTheSameMomentEachHaveAFileOfTheirOwn) {
    // Processes that load the module together, released by one byte each on a pipe; each makes one
    // call, which fails because the source throws, and exits.
    const int kLoads = 6;
    for (const auto& variable : m_options.environment) setenv(variable.first.c_str(), variable.second.c_str(), 1);
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < kLoads; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            char go;
            close(gate[1]);
            if (read(gate[0], &go, 1) != 1) _exit(2);
            void* pModule = dlopen(TWAINMON_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
            if (pModule == nullptr) _exit(3);
            const auto pfnEntry = reinterpret_cast<harness::DSEntryProc>(dlsym(pModule, "DS_Entry"));
            TW_SETUPFILEXFER setup = {};
            const TW_UINT16 rc = pfnEntry(nullptr, DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, reinterpret_cast<TW_MEMREF>(&setup));
            dlclose(pModule);
            _exit(rc == TWRC_FAILURE ? 0 : 4);
        }
        children.push_back(pid);
    }
    close(gate[0]);
    const std::string go(kLoads, 'g');
    ASSERT_EQ(write(gate[1], go.data(), go.size()), kLoads);
    close(gate[1]);
    for (const pid_t pid : children) {
        int status = 0;
        EXPECT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    for (const auto& variable : m_options.environment) unsetenv(variable.first.c_str());

    const std::vector<std::string> names = harness::LogFolderEntries();
    ASSERT_EQ(names.size(), static_cast<size_t>(kLoads));
    const std::string record = testsupport::Lines({"[00001] [APP] DG_CONTROL/DAT_SETUPFILEXFER/MSG_GET",
                                                   "        Return Code = [TWRC_FAILURE]"});
    for (const std::string& name : names) {
        const std::string log = harness::ReadFile(harness::LogFolder() + "/" + name);
        EXPECT_EQ(log.rfind(record, 0), 0u) << name << ":\n" << log;
        EXPECT_EQ(log.find("[00001]", 1), std::string::npos) << name << ":\n" << log;
    }
}

TEST_F(HostSafetyTest, WithLoggingOffTheHostsDataIsNeverTouched) {
    // Blocks of no bytes, flush against a guard page: a monitor that rendered these calls, or only
    // looked at their data to decide, would fault at the first byte. Without a log folder each
    // is forwarded, and the data source does not touch them either.
    harness::RemoveLogFolder();
    const ChildResult child = RunInChild(
        [](CChildSession& session) {
            const hostmem::CBlock untouchable(0);
            TW_IDENTITY* pOrigin = untouchable.As<TW_IDENTITY>();
            session.Report("rc", session.CallFrom(pOrigin, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, untouchable.Data()));
            session.Report("rc", session.CallFrom(pOrigin, DG_CONTROL, DAT_CAPABILITY, MSG_SET, untouchable.Data()));
            session.Report("rc", session.CallFrom(pOrigin, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, untouchable.Data()));
            session.Report("rc", session.CallFrom(pOrigin, DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, untouchable.Data()));
        },
        m_options);
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"0", "0", "0", "1"}));
    EXPECT_EQ(child.stderrText, "");
    EXPECT_EQ(harness::LogFolderEntries(), std::vector<std::string>{});
}
