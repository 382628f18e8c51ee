// Properties of the built monitor, checked on thousands of random calls made through its DS_Entry
// as a host makes them, with a data source whose results are a function of the call alone
// (PropertyTarget.cpp):
//   - the host receives exactly the data source's return code, data block and container: the same
//     as a direct call of another object of that data source with the same call;
//   - the log grows by exactly the record of each call: the triplet line and the result report as
//     a separate analyser that has seen the same calls renders them, the report cut at 5120 bytes
//     and followed by the overflow message when longer, and the two failure lines after a failed
//     call;
//   - under the sanitizer build, nothing outside the data block, the origin identity and the
//     container is read: each is allocated with exactly its size.
#include <CoreServices/CoreServices.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "DataBlock.h"
#include "ModuleHarness.h"
#include "ParaAnalyze.h"
#include "TextBuffer.h"
#include "TripletOperator.h"
#include "TwainTypes.h"

namespace {

using harness::DSEntryProc;

// The bytes of a file from offset on.
std::string ReadFrom(int fd, off_t offset) {
    std::string bytes;
    char chunk[8192];
    for (;;) {
        const ssize_t n = pread(fd, chunk, sizeof chunk, offset);
        if (n <= 0) return bytes;
        bytes.append(chunk, static_cast<size_t>(n));
        offset += n;
    }
}

// ---- Random calls --------------------------------------------------------------------------------

const TW_UINT16 kDats[] = {0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009,
                           0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F, 0x0010, 0x0101, 0x0102, 0x0103,
                           0x0104, 0x0105, 0x0106, 0x0107, 0x0108, 0x0109, 0x010A, 0x010B, 0x0201, 0x0202,
                           0x0203, 0x0301, 0x8001, 0x8002, 0x8003, 0x8004, 0x8005, 0x8006, 0x8007, 0x8008,
                           0x8009, 0x800A, 0x800B, 0x8015, 0x8016, 0x8017, 0x0001, 0x0001, 0x0002, 0x0002};
const TW_UINT16 kMsgs[] = {0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0101,
                           0x0102, 0x0103, 0x0104, 0x0201, 0x0301, 0x0302, 0x0401, 0x0402, 0x0403, 0x0501,
                           0x0502, 0x0503, 0x0601, 0x0601, 0x0601, 0x0701, 0x8001, 0x8002};

// The triplets that move the tracked state, so that every state comes up.
struct Triplet {
    TW_UINT32 DG;
    TW_UINT16 DAT;
    TW_UINT16 MSG;
};
const Triplet kStateTriplets[] = {
    {DG_CONTROL, DAT_PARENT, MSG_OPENDSM},        {DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM},
    {DG_CONTROL, DAT_IDENTITY, MSG_OPENDS},       {DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS},
    {DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS}, {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS},
    {DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT},    {DG_CONTROL, DAT_NULL, MSG_XFERREADY},
    {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET},        {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET},
    {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},  {DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET},
};

struct Call {
    TW_UINT32 DG;
    TW_UINT16 DAT;
    TW_UINT16 MSG;
    bool bNullData;
    bool bNullOrigin;
};

template <typename T, size_t N>
T Pick(std::mt19937_64& rng, const T (&choices)[N]) {
    return choices[rng() % N];
}

Call RandomCall(std::mt19937_64& rng) {
    static const TW_UINT32 kDgs[] = {DG_CONTROL, DG_CONTROL, DG_IMAGE, DG_AUDIO};
    Call call{};
    if (rng() % 4 == 0) {
        const Triplet t = Pick(rng, kStateTriplets);
        call.DG = t.DG;
        call.DAT = t.DAT;
        call.MSG = t.MSG;
    } else {
        call.DG = rng() % 8 == 0 ? static_cast<TW_UINT32>(rng()) : Pick(rng, kDgs);
        call.DAT = rng() % 8 == 0 ? static_cast<TW_UINT16>(rng()) : Pick(rng, kDats);
        call.MSG = rng() % 8 == 0 ? static_cast<TW_UINT16>(rng()) : Pick(rng, kMsgs);
    }
    call.bNullData = rng() % 32 == 0;
    call.bNullOrigin = rng() % 32 == 0;
    return call;
}

std::string Describe(int index, const Call& call) {
    char text[160];
    snprintf(text, sizeof text, "call %d: DG 0x%x DAT 0x%04x MSG 0x%04x%s%s", index, call.DG, call.DAT, call.MSG,
             call.bNullData ? " null data" : "", call.bNullOrigin ? " null origin" : "");
    return text;
}

// The record the monitor must append for one call that returned rc, rendered by the separate
// analyser mirror from the data block as the monitor left it.
std::string ExpectedRecord(CParaAnalyze& mirror, TW_IDENTITY* pOrigin, const Call& call, char* pData, TW_UINT16 rc,
                           bool* pbOverflow) {
    std::string record;
    CTextBuffer text;
    mirror.TripletAnalyze(pOrigin, nullptr, call.DG, call.DAT, call.MSG, pData, &text);
    record.append(text.Text(), text.Length());
    text.Clear();
    mirror.ParaAnalyze(pOrigin, nullptr, call.DG, call.DAT, call.MSG, pData, rc, &text);
    record.append(text.Text(), text.Length());
    *pbOverflow = text.Overflowed();
    if (text.Overflowed()) record += "Size of CAP_xxx too long";
    if (rc == TWRC_FAILURE) record += "*** Inspect Error Status Start ***\r\n*** Inspect Error Status End   ***\r\n";
    return record;
}

// Escapes a text for a one-line report: CR, LF, backslash and other control bytes as \xNN.
std::string Escape(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

// Where two texts part, with some bytes of each from a little before.
std::string Difference(const std::string& expected, const std::string& actual) {
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    const size_t from = at > 40 ? at - 40 : 0;
    return "they differ at byte " + std::to_string(at) + " of " + std::to_string(expected.size()) + " expected / " +
           std::to_string(actual.size()) + " written; expected \"" + Escape(expected.substr(from, 120)) +
           "\", written \"" + Escape(actual.substr(from, 120)) + "\"";
}

// Runs in the child that has loaded the monitor: makes the random calls, compares, and reports the
// first broken property ("failure") and how often each kind of record came up.
void CheckRandomCalls(harness::CChildSession& session, int nCalls) {
    const auto fail = [&session](const std::string& what) { session.Report("failure", what); };

    // The loaded module's own entry (the harness loaded it; this only looks it up), so that the
    // calls can carry any origin identity, or none.
    void* hModule = dlopen(TWAINMON_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD);
    const DSEntryProc pfnEntry = hModule != nullptr ? reinterpret_cast<DSEntryProc>(dlsym(hModule, "DS_Entry")) : nullptr;
    const std::vector<std::string> logs = harness::LogFolderEntries();
    const std::string targetPath = harness::BundlePath() + "/Contents/MacOS/TwainWrapper";
    void* hTarget = dlopen(targetPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto create = hTarget != nullptr ? reinterpret_cast<CreateTwainWrapperProc>(dlsym(hTarget, "CreateTwainWrapper")) : nullptr;
    TripletOperator* pDirect = nullptr;
    if (create != nullptr) create(nullptr, &pDirect);
    const int logFd = logs.size() == 1 ? open((harness::LogFolder() + "/" + logs[0]).c_str(), O_RDONLY | O_CLOEXEC) : -1;
    if (pfnEntry == nullptr || pDirect == nullptr || logFd < 0) {
        fail("set-up: entry, direct data source or the one log file missing");
        return;
    }

    std::mt19937_64 rng(0x7A0F5EEDu);
    // The module's analyser starts with line counter 0 and, the log folder existing, state 3.
    CParaAnalyze mirror;
    mirror.SetTwainStatus(3);
    off_t logOffset = static_cast<off_t>(ReadFrom(logFd, 0).size());

    int nShown = 0, nSilent = 0, nOverflows = 0, nFailures = 0, nContainers = 0, nClaimed = 0;
    for (int i = 0; i < nCalls; ++i) {
        const Call call = RandomCall(rng);
        const std::string what = Describe(i, call) + ": ";
        const size_t nBlock = DataBlockSize(call.DAT);

        // The host's block and origin, each allocated with exactly its size, and a twin block for
        // the direct call.
        std::unique_ptr<char[]> viaMonitor(new char[nBlock]);
        std::unique_ptr<char[]> direct(new char[nBlock]);
        for (size_t k = 0; k < nBlock; ++k) viaMonitor[k] = static_cast<char>(rng());
        if (nBlock != 0) memcpy(direct.get(), viaMonitor.get(), nBlock);
        std::unique_ptr<TW_IDENTITY> origin(new TW_IDENTITY);
        for (size_t k = 0; k < sizeof(TW_IDENTITY); ++k) reinterpret_cast<char*>(origin.get())[k] = static_cast<char>(rng());
        TW_IDENTITY* pOrigin = call.bNullOrigin ? nullptr : origin.get();
        char* pMonitorData = call.bNullData ? nullptr : viaMonitor.get();
        char* pDirectData = call.bNullData ? nullptr : direct.get();

        const TW_UINT16 rcDirect = pDirect->OperateTriplet(pOrigin, call.DG, call.DAT, call.MSG, pDirectData);
        const TW_UINT16 rcMonitor = pfnEntry(pOrigin, call.DG, call.DAT, call.MSG, pMonitorData);
        if (rcDirect != rcMonitor) {
            return fail(what + "return code " + std::to_string(rcMonitor) + ", the data source returned " +
                        std::to_string(rcDirect));
        }

        // The containers are new handles of each call: equal in size and bytes, not in address.
        Handle hDirect = nullptr;
        Handle hMonitor = nullptr;
        if (call.DAT == DAT_CAPABILITY && !call.bNullData) {
            memcpy(&hDirect, direct.get() + offsetof(TW_CAPABILITY, hContainer), sizeof hDirect);
            memcpy(&hMonitor, viaMonitor.get() + offsetof(TW_CAPABILITY, hContainer), sizeof hMonitor);
            if ((hDirect == nullptr) != (hMonitor == nullptr) ||
                harness::HandleBytes(hDirect) != harness::HandleBytes(hMonitor)) {
                return fail(what + "the container differs from the data source's");
            }
            nContainers += hMonitor != nullptr ? 1 : 0;
            memcpy(direct.get() + offsetof(TW_CAPABILITY, hContainer), &hMonitor, sizeof hMonitor);
        }
        if (nBlock != 0 && memcmp(direct.get(), viaMonitor.get(), nBlock) != 0) {
            return fail(what + "the data block differs from the data source's");
        }

        bool bOverflow = false;
        const std::string expected = ExpectedRecord(mirror, pOrigin, call, pMonitorData, rcMonitor, &bOverflow);
        const std::string appended = ReadFrom(logFd, logOffset);
        logOffset += static_cast<off_t>(appended.size());
        if (appended != expected) return fail(what + "the log did not grow by the record: " + Difference(expected, appended));

        (expected.empty() ? nSilent : nShown) += 1;
        nOverflows += bOverflow ? 1 : 0;
        nFailures += rcMonitor == TWRC_FAILURE ? 1 : 0;
        nClaimed += call.DAT == DAT_EVENT && call.MSG == MSG_PROCESSEVENT && !expected.empty() ? 1 : 0;
        DisposeHandle(hDirect);
        DisposeHandle(hMonitor);
    }
    session.Report("shown", nShown);
    session.Report("silent", nSilent);
    session.Report("overflows", nOverflows);
    session.Report("failures", nFailures);
    session.Report("containers", nContainers);
    session.Report("claimed", nClaimed);
    session.Report("triplets", static_cast<unsigned long long>(mirror.TripletCount()));
    close(logFd);
    pDirect->Release();
    dlclose(hTarget);
    dlclose(hModule);
}

long Count(const harness::ChildResult& result, const char* key) {
    const std::string value = result.Value(key);
    return value.empty() ? -1 : std::stol(value);
}

TEST(CallProperties, HostReceivesTheTargetsResultAndTheLogGrowsByTheRecord) {
    const int kCalls = 20000;
    harness::InstallBundleExecutable(TWAINMON_PROPERTY_TARGET_PATH);
    harness::MakeEmptyLogFolder();
    const harness::ChildResult result =
        harness::RunInChild([&](harness::CChildSession& session) { CheckRandomCalls(session, kCalls); });
    harness::InstallScanner();  // the root as the other end-to-end tests expect it
    ASSERT_TRUE(result.Completed()) << result.stderrText;
    EXPECT_EQ("", result.Value("failure"));
    // The random mix reached every kind of record.
    EXPECT_GT(Count(result, "shown"), kCalls / 2);
    EXPECT_GT(Count(result, "silent"), 0);
    EXPECT_GT(Count(result, "overflows"), 0);
    EXPECT_GT(Count(result, "failures"), 0);
    EXPECT_GT(Count(result, "containers"), 100);
    EXPECT_GT(Count(result, "claimed"), 0);
    EXPECT_GT(Count(result, "triplets"), kCalls / 2);
}

}  // namespace
