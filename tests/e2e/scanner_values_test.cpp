// The simulated scanner's answers that the golden transcripts (tests/e2e/expected) were derived
// from by hand, read straight from the scanner without the monitor. A change to the scanner fails
// here first, so it cannot silently rewrite what the analyser is tested against: change the
// values here and re-derive the transcripts by hand, or leave the scanner alone.
#include <CoreServices/CoreServices.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "HostMemory.h"
#include "ModuleHarness.h"
#include "ScannerInterface.h"

namespace {

std::string Text(const char* field) { return field; }
// A length-prefixed name of the maker's hardware description.
std::string Counted(const TW_UINT8* field) { return std::string(reinterpret_cast<const char*>(field + 1), field[0]); }
double Fix(const TW_FIX32& v) { return v.Whole + v.Frac / 65536.0; }

class ScannerValues : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scanner.Loaded());
        m_source.Id = reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(2));
        ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &m_source), TWRC_SUCCESS);
    }
    void TearDown() override { Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_source); }

    TW_UINT16 Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData) {
        return m_scanner.Call(&m_application, DG, DAT, MSG, pData);
    }
    // A MSG_SET of a one-value container.
    template <typename T>
    TW_UINT16 SetOneValue(TW_UINT16 cap, TW_UINT16 itemType, const T& value) {
        TW_HANDLE h = hostmem::NewHandle(offsetof(TW_ONEVALUE, Item) + sizeof value < sizeof(TW_ONEVALUE)
                                             ? sizeof(TW_ONEVALUE)
                                             : offsetof(TW_ONEVALUE, Item) + sizeof value);
        hostmem::Put(h, offsetof(TW_ONEVALUE, ItemType), itemType);
        hostmem::Put(h, offsetof(TW_ONEVALUE, Item), value);
        TW_CAPABILITY capability = {cap, TWON_ONEVALUE, h};
        const TW_UINT16 rc = Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
        hostmem::FreeHandle(h);
        return rc;
    }
    // The container of a MSG_GET of the capability, as the items of an enumeration of T.
    template <typename T>
    std::vector<T> Enumeration(TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32* pCurrent = nullptr) {
        TW_CAPABILITY capability = {cap, TWON_DONTCARE16, nullptr};
        EXPECT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability), TWRC_SUCCESS);
        EXPECT_EQ(capability.ConType, TWON_ENUMERATION);
        std::vector<T> items;
        if (capability.hContainer == nullptr) return items;
        // The scanner's block ends flush with its last item: its fields are copied out.
        TW_ENUMERATION fields;
        memcpy(&fields, *capability.hContainer, offsetof(TW_ENUMERATION, ItemList));
        EXPECT_EQ(fields.ItemType, itemType);
        items.resize(fields.NumItems);
        memcpy(items.data(), *capability.hContainer + offsetof(TW_ENUMERATION, ItemList), items.size() * sizeof(T));
        if (pCurrent != nullptr) *pCurrent = fields.CurrentIndex;
        hostmem::FreeHandle(capability.hContainer);
        return items;
    }

    harness::CDirectScanner m_scanner;
    TW_IDENTITY m_application = {};
    TW_IDENTITY m_source = {};
};

}  // namespace

TEST_F(ScannerValues, IdentityAndCapabilities) {
    EXPECT_EQ(m_source.Version.MajorNum, 2);
    EXPECT_EQ(m_source.Version.MinorNum, 3);
    EXPECT_EQ(m_source.Version.Language, TWLG_USA);
    EXPECT_EQ(m_source.Version.Country, TWCY_USA);
    EXPECT_EQ(Text(m_source.Version.Info), "2.3.0 Jun 12 2024");
    EXPECT_EQ(m_source.ProtocolMajor, 1);
    EXPECT_EQ(m_source.ProtocolMinor, 9);
    EXPECT_EQ(m_source.SupportedGroups, 3u);
    EXPECT_EQ(Text(m_source.Manufacturer), "ZORVA");
    EXPECT_EQ(Text(m_source.ProductFamily), "Zorva Scan");
    EXPECT_EQ(Text(m_source.ProductName), "Zorva Scan 2");

    TW_UINT32 current = 0;
    EXPECT_EQ(Enumeration<TW_UINT16>(ICAP_PIXELTYPE, TWTY_UINT16, &current),
              (std::vector<TW_UINT16>{TWPT_BW, TWPT_GRAY, TWPT_RGB}));
    EXPECT_EQ(current, 2u);
    std::vector<double> resolutions;
    for (const TW_FIX32& v : Enumeration<TW_FIX32>(ICAP_XRESOLUTION, TWTY_FIX32, &current)) resolutions.push_back(Fix(v));
    EXPECT_EQ(resolutions, (std::vector<double>{75, 150, 300, 600, 1200, 2400}));
    EXPECT_EQ(current, 2u);

    TW_CAPABILITY supported = {CAP_SUPPORTEDCAPS, TWON_DONTCARE16, nullptr};
    ASSERT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &supported), TWRC_SUCCESS);
    ASSERT_NE(supported.hContainer, nullptr);
    EXPECT_EQ(hostmem::Get<TW_UINT32>(supported.hContainer, offsetof(TW_ARRAY, NumItems)), 35u);
    hostmem::FreeHandle(supported.hContainer);
}

TEST_F(ScannerValues, HardwareDescription) {
    TWZV_HARDWAREINFO info = {};
    ASSERT_EQ(Call(DG_CONTROL, DAT_ZV_HARDWAREINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.ModelID, 0xB70Au);
    EXPECT_EQ(Counted(info.ProductName), "Zorva Scan 2");
    EXPECT_EQ(Counted(info.ModelName), "ZV-F3200");
    EXPECT_EQ(info.OptXResolution, 3200u);
    EXPECT_EQ(info.OptYResolution, 6400u);
    EXPECT_EQ(info.MaxResolution, 12800u);
    EXPECT_EQ(info.PixelSizeofFB[1], 37440u);
    EXPECT_EQ(info.BitDepth, 0x30u);
    EXPECT_EQ(Text(info.ProfileNameTPU), "ZORVA ZV-F3200 Film");
    EXPECT_NEAR(Fix(info.ColorCorrectionFB[0]), 1.156, 0.0005);
    EXPECT_EQ(std::string(info.ROMVersion, strnlen(info.ROMVersion, sizeof info.ROMVersion)), "1.04 (2023-10-17)");
}

TEST_F(ScannerValues, ThePage) {
    // As the scan session sets them.
    ASSERT_EQ(SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TW_UINT16{TWPT_RGB}), TWRC_SUCCESS);
    ASSERT_EQ(SetOneValue(ICAP_XRESOLUTION, TWTY_FIX32, simscan::ToFix32(300)), TWRC_SUCCESS);
    ASSERT_EQ(SetOneValue(ICAP_YRESOLUTION, TWTY_FIX32, simscan::ToFix32(300)), TWRC_SUCCESS);
    const TW_FRAME frame = {simscan::ToFix32(1), simscan::ToFix32(1), simscan::ToFix32(2), simscan::ToFix32(1.5)};
    ASSERT_EQ(SetOneValue(ICAP_FRAMES, TWTY_FRAME, frame), TWRC_SUCCESS);
    ASSERT_EQ(SetOneValue(ICAP_XFERMECH, TWTY_UINT16, TW_UINT16{TWSX_MEMORY}), TWRC_SUCCESS);

    TW_USERINTERFACE ui = {0, 0, nullptr};
    ASSERT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    simscan::SimEventRecord idle = {simscan::kNullEvent, 0, 0, 0, 0, 0};
    TW_EVENT event = {reinterpret_cast<TW_MEMREF>(&idle), MSG_NULL};
    for (int i = 0; i < 10 && Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) != TWRC_DSEVENT; ++i) {
    }
    ASSERT_EQ(event.TWMessage, MSG_XFERREADY);

    TW_IMAGEINFO info = {};
    ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(Fix(info.XResolution), 300.0);
    EXPECT_EQ(info.ImageWidth, 300);
    EXPECT_EQ(info.ImageLength, 150);
    EXPECT_EQ(info.SamplesPerPixel, 3);
    EXPECT_EQ(info.BitsPerPixel, 24);
    EXPECT_EQ(info.PixelType, TWPT_RGB);
    TW_IMAGELAYOUT layout = {};
    ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);
    EXPECT_EQ(Fix(layout.Frame.Right), 2.0);
    EXPECT_EQ(Fix(layout.Frame.Bottom), 1.5);
    TW_SETUPMEMXFER setup = {};
    ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
    EXPECT_EQ(setup.MinBufSize, 900u);
    EXPECT_EQ(setup.MaxBufSize, 1048576u);
    EXPECT_EQ(setup.Preferred, 32768u);
}
