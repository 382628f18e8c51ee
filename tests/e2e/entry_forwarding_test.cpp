// Forwarding through the built module: without a log folder every call still reaches the real data
// source and the host receives what it would have directly (call_properties_test checks this on
// random calls with a log); the factory is told the module's own name; a missing or broken data
// source fails calls without a crash.
#include <CoreServices/CoreServices.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostMemory.h"
#include "ModuleHarness.h"
#include "ScannerInterface.h"
#include "TestSupport.h"

using harness::CChildSession;
using harness::ChildResult;
using harness::RunInChild;

namespace {

template <typename T>
std::string Raw(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// A host's one-value container holding item, in a handle of the host's own making.
template <typename T>
Handle NewOneValue(TW_UINT16 itemType, const T& item) {
    Handle h = hostmem::NewHandle(offsetof(TW_ONEVALUE, Item) + (sizeof item > 4 ? sizeof item : 4));
    hostmem::Put(h, offsetof(TW_ONEVALUE, ItemType), itemType);
    hostmem::Put(h, offsetof(TW_ONEVALUE, Item), item);
    return h;
}

// Sends each call through the monitor and to a second instance of the scanner loaded directly,
// each with its own copy of the same data block. Reports every return code through the monitor,
// and each call whose return code or data differ between the two.
class CTwinHost {
public:
    explicit CTwinHost(CChildSession& session) : m_session(session) {}
    bool Ready() const { return m_direct.Loaded(); }

    // A structure compared whole; the monitor's copy is left in *pOut.
    template <typename T>
    TW_UINT16 Same(const char* name, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, T viaMonitor, T* pOut = nullptr) {
        T direct = viaMonitor;
        const TW_UINT16 rc = Both(name, DG, DAT, MSG, &viaMonitor, &direct, [](const T& block) { return Raw(block); });
        if (pOut != nullptr) *pOut = viaMonitor;
        return rc;
    }

    // A capability with the container behind its handle: the host's own one-value container
    // hOwn for a MSG_SET, else the one the source makes. The host frees them all.
    void SameCap(const char* name, TW_UINT16 MSG, TW_UINT16 cap, Handle hOwn = nullptr) {
        TW_CAPABILITY viaMonitor = {cap, static_cast<TW_UINT16>(hOwn != nullptr ? TWON_ONEVALUE : TWON_DONTCARE16), hOwn}, direct = viaMonitor;
        Both(name, DG_CONTROL, DAT_CAPABILITY, MSG, &viaMonitor, &direct, [](const TW_CAPABILITY& c) {
            return Raw(c.Cap) + Raw(c.ConType) + harness::HandleBytes(c.hContainer);
        });
        for (Handle h : {viaMonitor.hContainer, direct.hContainer}) {
            if (h != hOwn) hostmem::FreeHandle(h);
        }
        hostmem::FreeHandle(hOwn);
    }

    // A memory-transfer strip, each side into its own buffer.
    TW_UINT16 SameStrip(TW_UINT32 nBufferSize) {
        std::vector<char> monitorBuffer(nBufferSize), directBuffer(nBufferSize);
        TW_IMAGEMEMXFER viaMonitor = {}, direct = {};
        viaMonitor.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, nBufferSize, monitorBuffer.data()};
        direct.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, nBufferSize, directBuffer.data()};
        return Both("DAT_IMAGEMEMXFER", DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &viaMonitor, &direct,
                    [](const TW_IMAGEMEMXFER& strip) {
                        TW_IMAGEMEMXFER fields = strip;
                        fields.Memory.TheMem = nullptr;
                        return Raw(fields) + std::string(strip.Memory.TheMem, strip.Memory.Length);
                    });
    }

private:
    // Calls both; seen gives what the host sees of a block after the call.
    template <typename T, typename Seen>
    TW_UINT16 Both(const char* name, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, T* pMonitor, T* pDirect, Seen seen) {
        const TW_UINT16 rc = m_session.Call(DG, DAT, MSG, pMonitor);
        m_session.Report("rc", rc);
        if (m_direct.Call(&m_session.Application(), DG, DAT, MSG, pDirect) != rc || seen(*pMonitor) != seen(*pDirect)) {
            m_session.Report("mismatch", name);
        }
        return rc;
    }

    CChildSession& m_session;
    harness::CDirectScanner m_direct;
};

// A scan with negotiation, a failure, events, and a transfer in strips of eleven rows.
void PlayTwinScan(CChildSession& session) {
    CTwinHost host(session);
    if (!host.Ready()) return session.Report("mismatch", "the scanner could not be loaded directly");
    TW_IDENTITY source = {};
    source.Id = reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(2));
    host.Same("MSG_OPENDS", DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, source);
    host.SameCap("ICAP_PIXELTYPE", MSG_GET, ICAP_PIXELTYPE);
    host.SameCap("CAP_DUPLEX", MSG_GET, CAP_DUPLEX);
    host.Same("DAT_STATUS", DG_CONTROL, DAT_STATUS, MSG_GET, TW_STATUS());
    host.SameCap("set ICAP_XFERMECH", MSG_SET, ICAP_XFERMECH, NewOneValue(TWTY_UINT16, TW_UINT16{TWSX_MEMORY}));
    // A quarter of an inch high: 75 rows at 300 dpi.
    const TW_FRAME frame = {{1, 0}, {1, 0}, {1, 0x8000}, {1, 0x4000}};
    host.SameCap("set ICAP_FRAMES", MSG_SET, ICAP_FRAMES, NewOneValue(TWTY_FRAME, frame));

    host.Same("MSG_ENABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, TW_USERINTERFACE{0, 0, nullptr});
    simscan::SimEventRecord idle = {simscan::kNullEvent, 0, 0, 0, 0, 0};
    for (int i = 0; i < 10; ++i) {
        const TW_EVENT event = {reinterpret_cast<TW_MEMREF>(&idle), MSG_NULL};
        if (host.Same("MSG_PROCESSEVENT", DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, event) == TWRC_DSEVENT) break;
    }
    host.Same("DAT_IMAGEINFO", DG_IMAGE, DAT_IMAGEINFO, MSG_GET, TW_IMAGEINFO());
    TW_SETUPMEMXFER setup = {};
    host.Same("DAT_SETUPMEMXFER", DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, TW_SETUPMEMXFER(), &setup);
    for (int i = 0; i < 20 && host.SameStrip(setup.MinBufSize * 11) == TWRC_SUCCESS; ++i) {
    }
    host.Same("MSG_ENDXFER", DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, TW_PENDINGXFERS());
    host.Same("MSG_DISABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, TW_USERINTERFACE{0, 0, nullptr});
    host.Same("MSG_CLOSEDS", DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, source);
}

class ForwardingTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness::InstallScanner();
        harness::MakeEmptyLogFolder();
    }
    void TearDown() override {
        harness::RemoveLogFolder();
        harness::InstallScanner();
    }
};

}  // namespace

TEST_F(ForwardingTest, WithoutALogEveryCallIsForwardedAndTheHostReceivesWhatTheSourceReturns) {
    harness::RemoveLogFolder();
    const ChildResult child = RunInChild(PlayTwinScan);
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("mismatch"), std::vector<std::string>{});
    // CAP_DUPLEX fails; two idle events warm the lamp up; 75 rows come in seven strips.
    EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"0", "0", "1", "0", "0", "0",  // open, negotiate
                                                             "0", "5", "5", "4",       // enabled, the page
                                                             "0", "0",                 // image info, buffer sizes
                                                             "0", "0", "0", "0", "0", "0", "6",  // strips
                                                             "0", "0", "0"}));         // end, disable, close
    EXPECT_EQ(child.stderrText, "");  // no file, so no closing message
    EXPECT_FALSE(std::filesystem::exists(harness::LogFolder()));
}

TEST_F(ForwardingTest, FactoryIsToldTheModulesOwnFileName) {
    harness::ChildOptions options;
    options.environment.emplace_back(simscan::kDebugVariable, "1");
    const ChildResult child = RunInChild([](CChildSession&) {}, options);
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.stderrText, "SimScanner: created for TwainMonitor.ds\nClose Log File.\n");
}

TEST_F(ForwardingTest, MissingOrBrokenSourceFailsEveryCallAndLogsIt) {
    // No bundle at all, then a bundle whose executable has no factory.
    for (void (*prepare)() : {&harness::RemoveBundle, &harness::InstallBundleWithoutFactory}) {
        prepare();
        harness::MakeEmptyLogFolder();
        const ChildResult child = RunInChild([](CChildSession& session) {
            session.Report("rc", session.Call(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr));
            TW_EVENT event = {nullptr, 0x1234};
            session.Report("rc", session.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event));
            session.Report("message", event.TWMessage);  // no source wrote it
            session.Report("rc", session.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr));
        });
        ASSERT_TRUE(child.Completed()) << child.stderrText;
        EXPECT_EQ(child.Values("rc"), (std::vector<std::string>{"1", "1", "1"}));
        EXPECT_EQ(child.Value("message"), "4660");
        EXPECT_EQ(child.stderrText, "Close Log File.\n");
        // The event is not shown, but its failure is marked like every other.
        EXPECT_EQ(harness::ReadOnlyLog(), testsupport::Lines({"[00001] [APP] DG_CONTROL/DAT_PARENT/MSG_CLOSEDSM",
                                                              "        Return Code = [TWRC_FAILURE]",
                                                              "pData   = <0x00000000>",
                                                              "*** Inspect Error Status Start ***",
                                                              "*** Inspect Error Status End   ***",
                                                              "*** Inspect Error Status Start ***",
                                                              "*** Inspect Error Status End   ***",
                                                              "[00002] [APP] DG_IMAGE/DAT_IMAGEFILEXFER/MSG_GET",
                                                              "        Return Code = [TWRC_FAILURE]",
                                                              "pData   = <0x00000000>",
                                                              "*** Inspect Error Status Start ***",
                                                              "*** Inspect Error Status End   ***"}));
    }
}
