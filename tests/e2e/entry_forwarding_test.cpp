// Forwarding through the built module: the host receives exactly what the real data source
// returns, with or without a log, and a missing or broken data source fails calls without a crash.
#include <CoreServices/CoreServices.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModuleHarness.h"
#include "ScannerInterface.h"
#include "TestSupport.h"

using harness::CChildSession;
using harness::ChildResult;
using harness::Hex;
using harness::HandleBytes;
using harness::RunInChild;
using testsupport::Lines;

namespace {

template <typename T>
std::string Bytes(const T& value) {
    return Hex(&value, sizeof value);
}

// Sends every call both through the monitor and straight to a second instance of the scanner,
// with data blocks that start out the same, and reports each call whose return code or data
// differ between the two.
class CTwinHost {
public:
    explicit CTwinHost(CChildSession& session) : m_session(session) {}

    bool Ready() const { return m_direct.Loaded(); }

    // A structure compared byte for byte; the monitor's copy is left in *pOut.
    template <typename T>
    TW_UINT16 Same(const char* name, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, const T& initial,
                   T* pOut = nullptr) {
        T viaMonitor = initial;
        T direct = initial;
        const TW_UINT16 rc = Both(DG, DAT, MSG, &viaMonitor, &direct);
        Check(name, Bytes(viaMonitor), Bytes(direct));
        if (pOut != nullptr) *pOut = viaMonitor;
        return rc;
    }

    TW_UINT16 SameWithoutData(const char* name, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG) {
        Both(DG, DAT, MSG, nullptr, nullptr);
        Check(name, "", "");
        return m_rcMonitor;
    }

    // A capability: the structure and the container behind its handle. For MSG_SET each side
    // gets its own copy of the application's container.
    TW_UINT16 SameCap(const char* name, TW_UINT16 MSG, TW_UINT16 cap, TW_UINT16 conType = TWON_DONTCARE16,
                      const std::string& container = "") {
        TW_CAPABILITY viaMonitor = {cap, conType, NewContainer(container)};
        TW_CAPABILITY direct = {cap, conType, NewContainer(container)};
        Handle hMonitorApp = viaMonitor.hContainer, hDirectApp = direct.hContainer;
        Both(DG_CONTROL, DAT_CAPABILITY, MSG, &viaMonitor, &direct);
        Check(name, Bytes(viaMonitor.Cap) + Bytes(viaMonitor.ConType) + HandleBytes(viaMonitor.hContainer),
              Bytes(direct.Cap) + Bytes(direct.ConType) + HandleBytes(direct.hContainer));
        // The application frees its own containers and those the sources made for it.
        for (Handle h : {viaMonitor.hContainer, direct.hContainer, hMonitorApp, hDirectApp}) {
            if (h != nullptr && h != hMonitorApp && h != hDirectApp) DisposeHandle(h);
        }
        if (hMonitorApp != nullptr) DisposeHandle(hMonitorApp);
        if (hDirectApp != nullptr) DisposeHandle(hDirectApp);
        return m_rcMonitor;
    }

    // A memory-transfer strip: each side its own buffer; the strips and descriptions must match.
    TW_UINT16 SameStrip(TW_UINT32 nBufferSize) {
        std::vector<char> monitorBuffer(nBufferSize), directBuffer(nBufferSize);
        TW_IMAGEMEMXFER viaMonitor = {}, direct = {};
        viaMonitor.Memory = TW_MEMORY{simscan::TWMF_APPOWNS | simscan::TWMF_POINTER, nBufferSize, monitorBuffer.data()};
        direct.Memory = TW_MEMORY{simscan::TWMF_APPOWNS | simscan::TWMF_POINTER, nBufferSize, directBuffer.data()};
        Both(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &viaMonitor, &direct);
        viaMonitor.Memory.TheMem = direct.Memory.TheMem = nullptr;
        Check("DAT_IMAGEMEMXFER", Bytes(viaMonitor) + Hex(monitorBuffer.data(), monitorBuffer.size()),
              Bytes(direct) + Hex(directBuffer.data(), directBuffer.size()));
        return m_rcMonitor;
    }

    // The JPEG settings: the tables are each instance's own, so their contents are compared.
    TW_UINT16 SameJpeg() {
        TW_JPEGCOMPRESSION viaMonitor = {}, direct = {};
        Both(DG_IMAGE, DAT_JPEGCOMPRESSION, MSG_GET, &viaMonitor, &direct);
        Check("DAT_JPEGCOMPRESSION", JpegBytes(&viaMonitor), JpegBytes(&direct));
        return m_rcMonitor;
    }

private:
    TW_UINT16 Both(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pMonitor, void* pDirect) {
        m_rcMonitor = m_session.Call(DG, DAT, MSG, pMonitor);
        m_rcDirect = m_direct.Call(&m_session.Application(), DG, DAT, MSG, pDirect);
        return m_rcMonitor;
    }

    void Check(const char* name, const std::string& viaMonitor, const std::string& direct) {
        m_session.Report("rc", m_rcMonitor);
        if (m_rcMonitor != m_rcDirect) m_session.Report("mismatch", std::string(name) + " return code");
        if (viaMonitor != direct) m_session.Report("mismatch", std::string(name) + " data");
    }

    static Handle NewContainer(const std::string& bytes) {
        if (bytes.empty()) return nullptr;
        Handle h = NewHandleClear(static_cast<Size>(bytes.size()));
        memcpy(*h, bytes.data(), bytes.size());
        return h;
    }

    static std::string JpegBytes(TW_JPEGCOMPRESSION* pJpeg) {
        std::string tables;
        for (TW_MEMORY* pMemory : {&pJpeg->QuantTable[0], &pJpeg->QuantTable[1], &pJpeg->QuantTable[2],
                                   &pJpeg->QuantTable[3], &pJpeg->HuffmanDC[0], &pJpeg->HuffmanDC[1],
                                   &pJpeg->HuffmanAC[0], &pJpeg->HuffmanAC[1]}) {
            if (pMemory->TheMem != nullptr) tables += Hex(pMemory->TheMem, pMemory->Length);
            pMemory->TheMem = nullptr;
        }
        return Bytes(*pJpeg) + tables;
    }

    CChildSession& m_session;
    harness::CDirectScanner m_direct;
    TW_UINT16 m_rcMonitor = 0;
    TW_UINT16 m_rcDirect = 0;
};

template <typename T>
std::string OneValue(TW_UINT16 itemType, const T& value) {
    std::string bytes(offsetof(TW_ONEVALUE, Item) + (sizeof value > 4 ? sizeof value : 4), '\0');
    memcpy(&bytes[0], &itemType, sizeof itemType);
    memcpy(&bytes[offsetof(TW_ONEVALUE, Item)], &value, sizeof value);
    return bytes;
}

TW_FIX32 Fix(TW_INT16 whole, TW_UINT16 frac = 0) { return TW_FIX32{whole, frac}; }

// A whole scan with negotiation, failures, every kind of data block and a transfer in strips.
void PlayTwinScan(CChildSession& session) {
    CTwinHost host(session);
    if (!host.Ready()) {
        session.Report("mismatch", "the scanner could not be loaded directly");
        return;
    }
    TW_IDENTITY source = {};
    source.Id = reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(2));
    host.SameWithoutData("MSG_OPENDSM", DG_CONTROL, DAT_PARENT, MSG_OPENDSM);
    host.Same("DAT_IDENTITY/MSG_GET", DG_CONTROL, DAT_IDENTITY, MSG_GET, TW_IDENTITY());
    host.Same("MSG_OPENDS", DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, source);

    host.SameCap("CAP_SUPPORTEDCAPS", MSG_GET, CAP_SUPPORTEDCAPS);
    host.SameCap("ICAP_PIXELTYPE", MSG_GET, ICAP_PIXELTYPE);
    host.SameCap("ICAP_XRESOLUTION current", MSG_GETCURRENT, ICAP_XRESOLUTION);
    host.SameCap("ICAP_BRIGHTNESS default", MSG_GETDEFAULT, ICAP_BRIGHTNESS);
    host.SameCap("ICAP_BRIGHTNESS", MSG_GET, ICAP_BRIGHTNESS);
    host.SameCap("ICAP_FRAMES support", MSG_QUERYSUPPORT, ICAP_FRAMES);
    host.SameCap("CAP_ZV_PRODUCTNAME", MSG_GET, CAP_ZV_PRODUCTNAME);
    host.SameCap("CAP_DUPLEX", MSG_GET, simscan::CAP_DUPLEX);
    host.Same("DAT_STATUS", DG_CONTROL, DAT_STATUS, MSG_GET, TW_STATUS());
    const TW_FRAME frame = {Fix(1), Fix(1), Fix(1, 0x8000), Fix(1, 0x4000)};
    host.SameCap("set ICAP_FRAMES", MSG_SET, ICAP_FRAMES, TWON_ONEVALUE, OneValue(TWTY_FRAME, frame));
    host.SameCap("set ICAP_XFERMECH", MSG_SET, ICAP_XFERMECH, TWON_ONEVALUE,
                 OneValue(TWTY_UINT16, static_cast<TW_UINT16>(simscan::TWSX_MEMORY)));
    host.SameCap("set ICAP_XRESOLUTION 333", MSG_SET, ICAP_XRESOLUTION, TWON_ONEVALUE, OneValue(TWTY_FIX32, Fix(333)));
    host.Same("DAT_STATUS", DG_CONTROL, DAT_STATUS, MSG_GET, TW_STATUS());
    host.SameCap("reset ICAP_BRIGHTNESS", MSG_RESET, ICAP_BRIGHTNESS);

    host.Same("DAT_ZV_HARDWAREINFO", DG_CONTROL, DAT_ZV_HARDWAREINFO, MSG_GET, TWZV_HARDWAREINFO());
    host.Same("DAT_CIECOLOR", DG_IMAGE, DAT_CIECOLOR, MSG_GET, TW_CIECOLOR());
    host.Same("DAT_ZV_USMINFO", DG_IMAGE, DAT_ZV_USMINFO, MSG_GET, TWZV_USMINFO());
    host.SameJpeg();

    host.Same("MSG_ENABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, TW_USERINTERFACE{0, 0, nullptr});
    simscan::SimEventRecord record = {simscan::kNullEvent, 0, 0, 0, 0, 0};
    const TW_EVENT event = {reinterpret_cast<TW_MEMREF>(&record), MSG_NULL};
    for (int i = 0; i < 10; ++i) {
        if (host.Same("MSG_PROCESSEVENT", DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, event) == TWRC_DSEVENT) break;
    }
    host.Same("DAT_IMAGEINFO", DG_IMAGE, DAT_IMAGEINFO, MSG_GET, TW_IMAGEINFO());
    host.Same("DAT_IMAGELAYOUT", DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, TW_IMAGELAYOUT());
    TW_SETUPMEMXFER setup = {};
    host.Same("DAT_SETUPMEMXFER", DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, TW_SETUPMEMXFER(), &setup);
    // Strips of eleven rows, the last one shorter.
    for (int i = 0; i < 100 && host.SameStrip(setup.MinBufSize * 11) == TWRC_SUCCESS; ++i) {
    }
    struct {
        TW_UINT32 NumInfos;
        TW_INFO Info[2];
    } ext = {2, {{simscan::TWEI_PAGENUMBER, 0, 0, 0, 0}, {0x1200, 0, 0, 0, 0}}};
    host.Same("DAT_EXTIMAGEINFO", DG_IMAGE, DAT_EXTIMAGEINFO, MSG_GET, ext);
    host.Same("MSG_ENDXFER", DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, TW_PENDINGXFERS());
    host.Same("MSG_DISABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, TW_USERINTERFACE{0, 0, nullptr});
    host.Same("MSG_CLOSEDS", DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, source);
    host.SameWithoutData("MSG_CLOSEDSM", DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM);
}

// The return codes of PlayTwinScan: failures where they belong, and a transfer of five strips
// (75 rows at 300 dpi in strips of 11) ending in TWRC_XFERDONE.
const std::vector<std::string> kTwinScanCodes = {
    "0", "0", "0",                                 // manager opened, identity, source opened
    "0", "0", "0", "0", "0", "0", "0", "1", "0",   // gets, CAP_DUPLEX fails, its status
    "0", "0", "1", "0", "0",                       // sets, the resolution 333 fails, status, reset
    "0", "0", "0", "0",                            // hardware, CIE colour, USM info, JPEG
    "0", "5", "5", "4",                            // enabled, two idle events warm up, the page
    "0", "0", "0",                                 // image info, layout, buffer sizes
    "0", "0", "0", "0", "0", "0", "6",             // seven strips, the last one XFERDONE
    "0", "0", "0", "0", "0"};                      // extended info, end, disable, close, close

void ExpectTwinScanForwarded(const ChildResult& child) {
    ASSERT_TRUE(child.Completed()) << child.stderrText;
    EXPECT_EQ(child.Values("mismatch"), std::vector<std::string>{});
    EXPECT_EQ(child.Values("rc"), kTwinScanCodes);
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

TEST_F(ForwardingTest, HostReceivesTheSourcesCodesAndDataUnchanged) {
    const ChildResult child = RunInChild(PlayTwinScan);
    ExpectTwinScanForwarded(child);
    EXPECT_EQ(child.stderrText, "Close Log File.\n");
    EXPECT_EQ(harness::LogFolderEntries().size(), 1u);
}

TEST_F(ForwardingTest, WithoutALogEveryCallIsStillForwarded) {
    harness::RemoveLogFolder();
    const ChildResult child = RunInChild(PlayTwinScan);
    ExpectTwinScanForwarded(child);
    EXPECT_EQ(child.stderrText, "");
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
        EXPECT_EQ(harness::ReadOnlyLog(), Lines({"[00001] [APP] DG_CONTROL/DAT_PARENT/MSG_CLOSEDSM",
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
