// The simulated scanner on its own, as the tests and the demo rely on it: the containers it
// makes, the negotiation rules, the status after a failure and the page it transfers.
#include <CoreServices/CoreServices.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModuleHarness.h"
#include "ScannerInterface.h"

namespace {

class SimScannerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scanner.Loaded());
        m_source.Id = reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(7));
        ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &m_source), TWRC_SUCCESS);
    }

    TW_UINT16 Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData) {
        return m_scanner.Call(&m_application, DG, DAT, MSG, pData);
    }

    // A get of any kind: the return code and the container's bytes, freed as an application does.
    TW_UINT16 GetCap(TW_UINT16 MSG, TW_UINT16 cap, TW_UINT16* pConType, std::string* pContainer) {
        TW_CAPABILITY capability = {cap, TWON_DONTCARE16, nullptr};
        const TW_UINT16 rc = Call(DG_CONTROL, DAT_CAPABILITY, MSG, &capability);
        *pConType = capability.ConType;
        *pContainer = harness::HandleBytes(capability.hContainer);
        if (capability.hContainer != nullptr) DisposeHandle(capability.hContainer);
        return rc;
    }

    TW_UINT16 Condition() {
        TW_STATUS status = {};
        EXPECT_EQ(Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
        return status.ConditionCode;
    }

    harness::CDirectScanner m_scanner;
    TW_IDENTITY m_application = {};
    TW_IDENTITY m_source = {};
};

template <typename T>
std::string Raw(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// A container's ItemType with the two bytes of padding after it, as a cleared handle holds them.
std::string ItemTypeField(TW_UINT16 itemType) { return Raw(itemType) + std::string(2, '\0'); }

}  // namespace

TEST_F(SimScannerTest, ContainersHoldTheCapabilitiesAsAnApplicationReadsThem) {
    TW_UINT16 conType = 0;
    std::string container;

    // Pixel types: an enumeration of three, RGB current and default.
    ASSERT_EQ(GetCap(MSG_GET, ICAP_PIXELTYPE, &conType, &container), TWRC_SUCCESS);
    EXPECT_EQ(conType, TWON_ENUMERATION);
    const TW_UINT16 kTypes[3] = {simscan::TWPT_BW, simscan::TWPT_GRAY, simscan::TWPT_RGB};
    EXPECT_EQ(container, ItemTypeField(TWTY_UINT16) + Raw(TW_UINT32{3}) + Raw(TW_UINT32{2}) + Raw(TW_UINT32{2}) +
                             Raw(kTypes));

    // Brightness: a fixed-point range from -1000 to 1000 in steps of 1, default and current 0.
    ASSERT_EQ(GetCap(MSG_GET, ICAP_BRIGHTNESS, &conType, &container), TWRC_SUCCESS);
    EXPECT_EQ(conType, TWON_RANGE);
    const TW_FIX32 kMin = {-1000, 0}, kMax = {1000, 0}, kStep = {1, 0}, kZero = {0, 0};
    EXPECT_EQ(container,
              ItemTypeField(TWTY_FIX32) + Raw(kMin) + Raw(kMax) + Raw(kStep) + Raw(kZero) + Raw(kZero));

    // The maker's version 2.3, and the support flags as a 32-bit one-value.
    ASSERT_EQ(GetCap(MSG_GET, CAP_ZV_VERSION, &conType, &container), TWRC_SUCCESS);
    EXPECT_EQ(container, ItemTypeField(TWTY_UINT16) + Raw(TW_UINT32{0x0203}));
    ASSERT_EQ(GetCap(MSG_QUERYSUPPORT, CAP_ZV_VERSION, &conType, &container), TWRC_SUCCESS);
    EXPECT_EQ(container, ItemTypeField(TWTY_INT32) +
                             Raw(simscan::TWQC_GET | simscan::TWQC_GETCURRENT | simscan::TWQC_GETDEFAULT));

    // A frame continues past Item inside its one-value.
    ASSERT_EQ(GetCap(MSG_GET, ICAP_FRAMES, &conType, &container), TWRC_SUCCESS);
    const TW_FRAME kBed = {{0, 0}, {0, 0}, {8, 0x8000}, {11, 0xB333}};
    EXPECT_EQ(container, ItemTypeField(TWTY_FRAME) + Raw(kBed));
}

TEST_F(SimScannerTest, NegotiationRefusesWhatItCannotTakeAndReportsWhy) {
    TW_UINT16 conType = 0;
    std::string container;
    // Each failure leaves its condition for one DAT_STATUS, which then starts afresh.
    EXPECT_EQ(GetCap(MSG_GET, simscan::CAP_DUPLEX, &conType, &container), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_CAPUNSUPPORTED);
    EXPECT_EQ(Condition(), TWCC_SUCCESS);

    // The application's container is read, never taken: it stays the application's.
    Handle h = NewHandleClear(sizeof(TW_ONEVALUE));
    *reinterpret_cast<TW_ONEVALUE*>(*h) = TW_ONEVALUE{TWTY_FIX32, 0};
    TW_FIX32 resolution = {333, 0};
    memcpy(*h + offsetof(TW_ONEVALUE, Item), &resolution, sizeof resolution);
    TW_CAPABILITY set = {ICAP_XRESOLUTION, TWON_ONEVALUE, h};
    EXPECT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &set), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_BADVALUE);
    resolution = TW_FIX32{600, 0};
    memcpy(*h + offsetof(TW_ONEVALUE, Item), &resolution, sizeof resolution);
    EXPECT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &set), TWRC_SUCCESS);
    EXPECT_EQ(set.hContainer, h);
    DisposeHandle(h);
    ASSERT_EQ(GetCap(MSG_GETCURRENT, ICAP_XRESOLUTION, &conType, &container), TWRC_SUCCESS);
    EXPECT_EQ(container, ItemTypeField(TWTY_FIX32) + Raw(TW_FIX32{600, 0}));
    ASSERT_EQ(GetCap(MSG_RESET, ICAP_XRESOLUTION, &conType, &container), TWRC_SUCCESS);
    ASSERT_EQ(GetCap(MSG_GETCURRENT, ICAP_XRESOLUTION, &conType, &container), TWRC_SUCCESS);
    EXPECT_EQ(container, ItemTypeField(TWTY_FIX32) + Raw(TW_FIX32{300, 0}));

    // Read-only capabilities, and negotiation once enabled.
    EXPECT_EQ(GetCap(MSG_RESET, CAP_ZV_VERSION, &conType, &container), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_CAPBADOPERATION);
    TW_USERINTERFACE ui = {0, 0, nullptr};
    ASSERT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    EXPECT_EQ(GetCap(MSG_RESET, ICAP_PIXELTYPE, &conType, &container), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_SEQERROR);
    EXPECT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
}

TEST_F(SimScannerTest, MemoryTransferComesInStripsEndingWithXferDone) {
    // One inch by a tenth at 300 dpi in grey: 300 pixels by 30 rows of one byte each.
    Handle h = NewHandleClear(sizeof(TW_ONEVALUE));
    *reinterpret_cast<TW_ONEVALUE*>(*h) = TW_ONEVALUE{TWTY_UINT16, simscan::TWPT_GRAY};
    TW_CAPABILITY pixelType = {ICAP_PIXELTYPE, TWON_ONEVALUE, h};
    ASSERT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &pixelType), TWRC_SUCCESS);
    reinterpret_cast<TW_ONEVALUE*>(*h)->Item = simscan::TWSX_MEMORY;
    TW_CAPABILITY xferMech = {ICAP_XFERMECH, TWON_ONEVALUE, h};
    ASSERT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &xferMech), TWRC_SUCCESS);
    DisposeHandle(h);
    TW_IMAGELAYOUT layout = {{{0, 0}, {0, 0}, {1, 0}, {0, 0x199A}}, 1, 1, 1};
    ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout), TWRC_SUCCESS);

    TW_USERINTERFACE ui = {0, 0, nullptr};
    ASSERT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    TW_EVENT event = {nullptr, MSG_NULL};
    for (int i = 0; i < simscan::kWarmUpIdleEvents; ++i) {
        EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    }
    ASSERT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_XFERREADY);
    TW_IMAGEINFO info = {};
    ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.ImageWidth, 300);
    EXPECT_EQ(info.ImageLength, 30);
    EXPECT_EQ(info.BitsPerPixel, 8);

    // Strips of 7 rows: 4 of them, then the last 2 rows with TWRC_XFERDONE.
    std::vector<char> buffer(7 * 300);
    std::vector<TW_UINT32> offsets;
    TW_UINT16 rc = TWRC_SUCCESS;
    while (rc == TWRC_SUCCESS && offsets.size() < 10) {
        TW_IMAGEMEMXFER strip = {};
        strip.Memory = TW_MEMORY{simscan::TWMF_APPOWNS | simscan::TWMF_POINTER, 7 * 300, buffer.data()};
        rc = Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
        EXPECT_EQ(strip.BytesWritten, strip.Rows * 300);
        offsets.push_back(strip.YOffset);
    }
    EXPECT_EQ(rc, TWRC_XFERDONE);
    EXPECT_EQ(offsets, (std::vector<TW_UINT32>{0, 7, 14, 21, 28}));

    TW_PENDINGXFERS pending = {};
    EXPECT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 0);
    EXPECT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
}
