// Properties of the built monitor on thousands of random calls made through its DS_Entry as a host
// makes them, with a data source whose results are a function of the call alone (PropertyTarget.cpp):
//   - the host receives exactly what a direct call of another object of that data source returns:
//     the return code, the data block and the container;
//   - the log grows by exactly the record a separate analyser that has seen the same calls renders:
//     the triplet line, the result report (cut at 5120 bytes and followed by the overflow message
//     when longer) and, after a failed call, the two failure lines;
//   - nothing outside the data block, the origin identity and the container is read or written:
//     each is the host's own memory of exactly its size, flush against a guard page (HostMemory.h),
//     and the container's handle a header of two words that the data source made itself.
#include <CoreServices/CoreServices.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "CallRecord.h"
#include "DataBlock.h"
#include "HostMemory.h"
#include "ModuleHarness.h"
#include "ParaAnalyze.h"
#include "TestSupport.h"
#include "TextBuffer.h"

namespace {

struct Triplet {
    TW_UINT32 DG;
    TW_UINT16 DAT;
    TW_UINT16 MSG;
};
// The triplets that move the tracked state, so that every state comes up.
const Triplet kStateTriplets[] = {
    {DG_CONTROL, DAT_PARENT, MSG_OPENDSM},        {DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM},
    {DG_CONTROL, DAT_IDENTITY, MSG_OPENDS},       {DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS},
    {DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS}, {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS},
    {DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT},    {DG_CONTROL, DAT_NULL, MSG_XFERREADY},
    {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET},        {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET},
    {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},  {DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET},
};
const TW_UINT32 kDgs[] = {DG_CONTROL, DG_CONTROL, DG_IMAGE, DG_AUDIO};
// The codes of one or two name tables, and some of them once more.
std::vector<TW_UINT16> Codes(std::initializer_list<const NameTable*> tables, std::initializer_list<TW_UINT16> again) {
    std::vector<TW_UINT16> codes(again);
    for (const NameTable* table : tables) {
        for (const MacroEntry& row : *table) codes.push_back(static_cast<TW_UINT16>(row.value));
    }
    return codes;
}
// Every DAT the monitor names, capabilities and events once more; every MSG, window events twice more.
const std::vector<TW_UINT16> kDats =
    Codes({&dat_macros, &dat_zv_macros}, {DAT_CAPABILITY, DAT_CAPABILITY, DAT_EVENT, DAT_EVENT});
const std::vector<TW_UINT16> kMsgs = Codes({&msg_macros, &msg_zv_macros}, {MSG_PROCESSEVENT, MSG_PROCESSEVENT});

// A state triplet, or a triplet of known (now and then raw) DG, DAT and MSG.
Triplet RandomTriplet(std::mt19937_64& rng) {
    if (rng() % 4 == 0) return kStateTriplets[rng() % std::size(kStateTriplets)];
    const auto pick = [&rng](const auto& known) { return rng() % 8 == 0 ? rng() : known[rng() % std::size(known)]; };
    return {static_cast<TW_UINT32>(pick(kDgs)), static_cast<TW_UINT16>(pick(kDats)), static_cast<TW_UINT16>(pick(kMsgs))};
}

// What the file has from its current offset on.
std::string ReadNew(int fd) {
    std::string bytes;
    char chunk[8192];
    for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) bytes.append(chunk, static_cast<size_t>(n));
    return bytes;
}

// Runs in the child that has loaded the monitor: makes the random calls, reports the first broken
// property ("failure") and how often each kind of record came up.
void CheckRandomCalls(harness::CChildSession& session, int nCalls) {
    void* hTarget = dlopen(TWAINMON_PROPERTY_TARGET_PATH, RTLD_NOW | RTLD_LOCAL);
    const auto create =
        hTarget != nullptr ? reinterpret_cast<CreateTwainWrapperProc>(dlsym(hTarget, "CreateTwainWrapper")) : nullptr;
    TripletOperator* pDirect = nullptr;
    if (create != nullptr) create(nullptr, &pDirect);
    const auto logs = harness::LogFolderEntries();
    const int logFd = logs.size() == 1 ? open((harness::LogFolder() + "/" + logs[0]).c_str(), O_RDONLY | O_CLOEXEC) : -1;
    if (pDirect == nullptr || logFd < 0) {
        return session.Report("failure", "set-up: the direct data source or the one log file is missing");
    }
    ReadNew(logFd);

    std::mt19937_64 rng(0x7A0F5EEDu);
    CParaAnalyze mirror;  // as the module's: line counter 0 and, the log folder existing, state 3
    mirror.SetTwainStatus(3);
    std::map<std::string, long> seen;
    for (int i = 0; i < nCalls; ++i) {
        const Triplet t = RandomTriplet(rng);
        // The host's block and origin, each flush against a guard page; a twin for the direct call.
        const size_t nBlock = DataBlockSize(t.DAT);
        const hostmem::CBlock viaMonitor(nBlock), origin(sizeof(TW_IDENTITY));
        std::unique_ptr<char[]> direct(new char[nBlock]);
        for (size_t k = 0; k < nBlock; ++k) direct[k] = viaMonitor.Data()[k] = static_cast<char>(rng());
        for (size_t k = 0; k < origin.Size(); ++k) origin.Data()[k] = static_cast<char>(rng());
        const bool bNullData = rng() % 32 == 0;
        TW_IDENTITY* pOrigin = rng() % 32 == 0 ? nullptr : origin.As<TW_IDENTITY>();
        char* pData = bNullData ? nullptr : viaMonitor.Data();
        const auto fail = [&](const std::string& what) {
            char call[96];
            snprintf(call, sizeof call, "call %d: DG 0x%x DAT 0x%04x MSG 0x%04x%s%s: ", i, t.DG, t.DAT, t.MSG,
                     bNullData ? " null data" : "", pOrigin == nullptr ? " null origin" : "");
            session.Report("failure", call + what);
        };

        const TW_UINT16 rcDirect = pDirect->OperateTriplet(pOrigin, t.DG, t.DAT, t.MSG, bNullData ? nullptr : direct.get());
        const TW_UINT16 rc = session.CallFrom(pOrigin, t.DG, t.DAT, t.MSG, pData);
        if (rc != rcDirect) return fail("return code " + std::to_string(rc) + ", the data source's " + std::to_string(rcDirect));
        // The containers are new handles of each call: equal in size and bytes, not in address.
        Handle hDirect = nullptr, hMonitor = nullptr;
        if (t.DAT == DAT_CAPABILITY && pData != nullptr) {
            const size_t at = offsetof(TW_CAPABILITY, hContainer);
            memcpy(&hDirect, direct.get() + at, sizeof hDirect);
            memcpy(&hMonitor, pData + at, sizeof hMonitor);
            if ((hDirect == nullptr) != (hMonitor == nullptr) ||
                harness::HandleBytes(hDirect) != harness::HandleBytes(hMonitor)) {
                return fail("the container differs from the data source's");
            }
            memcpy(direct.get() + at, &hMonitor, sizeof hMonitor);
            seen["containers"] += hMonitor != nullptr;
        }
        if (nBlock != 0 && memcmp(direct.get(), viaMonitor.Data(), nBlock) != 0) {
            return fail("the data block differs from the data source's");
        }

        CTextBuffer text;
        std::string expected;
        record::WriteRecord(mirror, text, pOrigin, t.DG, t.DAT, t.MSG, pData, rc, true,
                            [&expected](const char* p, size_t n) { expected.append(p, n); });
        const std::string written = ReadNew(logFd);
        if (written != expected) {
            return fail("the log did not grow by the record: " + testsupport::FirstDifference(expected, written));
        }

        seen[expected.empty() ? "silent" : "shown"] += 1;
        seen["overflows"] += text.Overflowed();
        seen["failures"] += rc == TWRC_FAILURE;
        seen["claimed"] += t.DAT == DAT_EVENT && t.MSG == MSG_PROCESSEVENT && !expected.empty();
        hostmem::FreeHandle(hDirect);
        hostmem::FreeHandle(hMonitor);
    }
    seen["triplets"] = static_cast<long>(mirror.TripletCount());
    for (const auto& count : seen) session.Report(count.first, static_cast<unsigned long long>(count.second));
    close(logFd);
    pDirect->Release();
    dlclose(hTarget);
}

TEST(CallProperties, HostReceivesTheTargetsResultAndTheLogGrowsByTheRecord) {
    const int kCalls = 20000;
    harness::InstallBundleExecutable(TWAINMON_PROPERTY_TARGET_PATH);
    harness::MakeEmptyLogFolder();
    const auto result = harness::RunInChild([&](harness::CChildSession& session) { CheckRandomCalls(session, kCalls); });
    harness::InstallScanner();  // the root as the other end-to-end tests expect it
    ASSERT_TRUE(result.Completed()) << result.stderrText;
    EXPECT_EQ(result.Values("failure"), std::vector<std::string>{});
    // The random mix reached every kind of record.
    const std::pair<const char*, long> kLeast[] = {{"shown", kCalls / 2}, {"silent", 1},     {"overflows", 1},
                                                   {"failures", 1},       {"containers", 100}, {"claimed", 1},
                                                   {"triplets", kCalls / 2}};
    for (const auto& least : kLeast) EXPECT_GE(std::stol("0" + result.Value(least.first)), least.second) << least.first;
}

}  // namespace
