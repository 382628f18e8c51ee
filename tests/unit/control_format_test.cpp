// The control structure blocks (identity, status, user interface, pending transfers, event, custom
// data-source data), rendered through the analyser's result step as a host call would leave them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "ParaAnalyze.h"
#include "TestSupport.h"
#include "TextBuffer.h"

using testsupport::Lines;
using testsupport::RenderResult;
using testsupport::ResultLines;
using testsupport::StateLines;

namespace {

template <size_t N>
void Put(char (&field)[N], const char* text) {
    memset(field, 0, N);
    memcpy(field, text, strnlen(text, N));
}

template <typename T>
T FakePointer(uint64_t value) {
    return reinterpret_cast<T>(static_cast<uintptr_t>(value));
}

TW_IDENTITY SimIdentity() {
    TW_IDENTITY id{};
    id.Id = FakePointer<TW_MEMREF>(7);
    id.Version.MajorNum = 2;
    id.Version.MinorNum = 1;
    id.Version.Language = 13;  // TWLG_USA
    id.Version.Country = 81;   // TWCY_JAPAN
    Put(id.Version.Info, "2.1 (sim)");
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 9;
    id.SupportedGroups = 3;
    Put(id.Manufacturer, "Maker");
    Put(id.ProductFamily, "Scanners");
    Put(id.ProductName, "Sim One");
    return id;
}

}  // namespace

TEST(ControlFormat, IdentityBlock) {
    TW_IDENTITY id = SimIdentity();
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_IDENTITY, MSG_GET, &id),
              ResultLines("TWRC_SUCCESS", &id) +
                  Lines({"  TW_IDENTITY = {",
                         "    Id              = [7]",
                         "    Version         =",
                         "    TW_VERSION = {",
                         "      MajorNum = [2]",
                         "      MinorNum = [1]",
                         "      Language = [TWLG_USA]",
                         "      Country  = [TWCY_JAPAN]",
                         "      Info     = [2.1 (sim)]",
                         "    }",
                         "    ProtocolMajor   = [1]",
                         "    ProtocolMinor   = [9]",
                         "    SupportedGroups = [3]",
                         "    Manufacturer    = [Maker]",
                         "    ProductFamily   = [Scanners]",
                         "    ProductName     = [Sim One]",
                         "  }"}) +
                  StateLines(0));

    // The origin's identity when the data-source manager is opened, with edge values: a negative
    // Id, a language code with all bits set (read unsigned: 65535, not the -1 row), a shared
    // country value (first row wins), all 32 group bits, a text field without a NUL (exactly its 34
    // bytes, nothing of the next field), one with text after its NUL and an empty one.
    TW_IDENTITY origin = SimIdentity();
    origin.Id = FakePointer<TW_MEMREF>(static_cast<uint64_t>(-5));
    origin.Version.Language = 0xFFFF;
    origin.Version.Country = 7;
    origin.SupportedGroups = 0xFFFFFFFFu;
    memset(origin.Manufacturer, 'M', sizeof(origin.Manufacturer));
    memcpy(origin.ProductFamily, "Sim\0Hidden", 10);
    Put(origin.ProductName, "");
    const std::string m34(34, 'M');
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr, TWRC_SUCCESS, &origin),
              ResultLines("TWRC_SUCCESS", nullptr) +
                  Lines({"  pOrigin:TW_IDENTITY = {",
                         "    Id              = [-5]",
                         "    Version         =",
                         "    TW_VERSION = {",
                         "      MajorNum = [2]",
                         "      MinorNum = [1]",
                         "      Language = [ERROR!(65535)]",
                         "      Country  = [TWCY_USSR]",
                         "      Info     = [2.1 (sim)]",
                         "    }",
                         "    ProtocolMajor   = [1]",
                         "    ProtocolMinor   = [9]",
                         "    SupportedGroups = [4294967295]",
                         "    Manufacturer    = [" + m34 + "]",
                         "    ProductFamily   = [Sim]",
                         "    ProductName     = []",
                         "  }"}) +
                  StateLines(0));

    // Id is 64 bits wide: a value past 32 bits is shown whole. The header follows the message
    // alone, so DAT_IDENTITY with MSG_OPENDSM also says pOrigin.
    TW_IDENTITY wide = SimIdentity();
    wide.Id = FakePointer<TW_MEMREF>(0x100000000ull);
    const std::string text = RenderResult(DG_CONTROL, DAT_IDENTITY, MSG_OPENDSM, &wide);
    EXPECT_NE(text.find(Lines({"  pOrigin:TW_IDENTITY = {", "    Id              = [4294967296]"})),
              std::string::npos)
        << text;

    // DAT_PARENT with any other message shows no identity, and a null identity gives no block.
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr, TWRC_SUCCESS, &origin),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_IDENTITY, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(ControlFormat, StatusBlock) {
    TW_STATUS status{};
    status.ConditionCode = 0xA;  // TWCC_BADVALUE
    status.Reserved = 0x1234;    // never shown
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_STATUS, MSG_GET, &status),
              ResultLines("TWRC_SUCCESS", &status) +
                  Lines({"  TW_STATUS = {", "    ConditionCode = [TWCC_BADVALUE]", "  }"}) + StateLines(0));

    status.ConditionCode = 0x7;  // a gap in the table
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_STATUS, MSG_GET, &status),
              ResultLines("TWRC_SUCCESS", &status) +
                  Lines({"  TW_STATUS = {", "    ConditionCode = [ERROR!(7)]", "  }"}) + StateLines(0));

    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_STATUS, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(ControlFormat, UserInterfaceBlock) {
    TW_USERINTERFACE ui{};
    ui.ShowUI = 1;
    ui.ModalUI = 0;
    ui.hParent = FakePointer<TW_HANDLE>(0xABCDEF);
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui),
              ResultLines("TWRC_SUCCESS", &ui) +
                  Lines({"  TW_USERINTERFACE = {",
                         "    ShowUI  = [true]",
                         "    ModalUI = [false]",
                         "    hParent = <0x00abcdef>",
                         "  }"}) +
                  StateLines(0));

    // Any non-zero BOOL is true; a handle above 4 GiB shows its low 32 bits.
    ui.ShowUI = 0x8000;
    ui.ModalUI = 0xFFFF;
    ui.hParent = FakePointer<TW_HANDLE>(0xFEDCBA9876543210ull);
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui),
              ResultLines("TWRC_SUCCESS", &ui) +
                  Lines({"  TW_USERINTERFACE = {",
                         "    ShowUI  = [true]",
                         "    ModalUI = [true]",
                         "    hParent = <0x76543210>",
                         "  }"}) +
                  StateLines(0));
}

TEST(ControlFormat, PendingXfersBlock) {
    TW_PENDINGXFERS pending{};
    pending.Count = 2;
    pending.EOJ = 0;
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending),
              ResultLines("TWRC_SUCCESS", &pending) +
                  Lines({"  TW_PENDINGXFERS = {", "    Count = [2]", "    EOJ   = [0]", "  }"}) + StateLines(0));

    // Count is signed (0xFFFF: an undetermined number, -1); EOJ is unsigned 32-bit.
    pending.Count = 0xFFFF;
    pending.EOJ = 0xFFFFFFFFu;
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending),
              ResultLines("TWRC_SUCCESS", &pending) +
                  Lines({"  TW_PENDINGXFERS = {", "    Count = [-1]", "    EOJ   = [4294967295]", "  }"}) +
                  StateLines(0));
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(ControlFormat, EventBlock) {
    // A claimed transfer-ready event: the whole record, with the move from state 5 to 6.
    TW_EVENT event{};
    event.pEvent = FakePointer<TW_MEMREF>(0x00007FFF12345678ull);
    event.TWMessage = MSG_XFERREADY;
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event, TWRC_DSEVENT, nullptr, 5),
              ResultLines("TWRC_DSEVENT", &event) +
                  Lines({"  TW_EVENT = {",
                         "    pEvent    = <0x12345678>",
                         "    TWMessage = [MSG_XFERREADY]",
                         "  }"}) +
                  StateLines(6));
    event.TWMessage = MSG_CLOSEDSREQ;
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event, TWRC_DSEVENT, nullptr, 5),
              ResultLines("TWRC_DSEVENT", &event) +
                  Lines({"  TW_EVENT = {",
                         "    pEvent    = <0x12345678>",
                         "    TWMessage = [MSG_CLOSEDSREQ]",
                         "  }"}) +
                  StateLines(4));

    // An event without a message leaves nothing at all, and the block never appears on its own.
    event.TWMessage = MSG_NULL;
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event, TWRC_DSEVENT, nullptr, 5), "");
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_EVENT, MSG_GET, &event),
              ResultLines("TWRC_SUCCESS", &event) + StateLines(0));
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_EVENT, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));

    // Messages up to MSG_CUSTOMBASE are named from the standard table, higher ones from the
    // maker's; a code in neither shows the not-found text.
    struct {
        TW_UINT16 message;
        const char* name;
    } const cases[] = {
        {0x8000, "MSG_CUSTOMBASE"},
        {0x8001, "MSG_ZV_TIMERRESET"},
        {0x8002, "MSG_ZV_XFERREQUEST"},
        {0x8003, "ERROR!(32771)"},
        {0x0104, "MSG_DEVICEEVENT"},
        {0x0105, "ERROR!(261)"},
    };
    event.pEvent = nullptr;
    for (const auto& c : cases) {
        event.TWMessage = c.message;
        EXPECT_EQ(RenderResult(DG_CONTROL, DAT_EVENT, MSG_GET, &event),
                  ResultLines("TWRC_SUCCESS", &event) +
                      Lines({"  TW_EVENT = {",
                             "    pEvent    = <0x00000000>",
                             std::string("    TWMessage = [") + c.name + "]",
                             "  }"}) +
                      StateLines(0))
            << c.message;
    }
}

TEST(ControlFormat, CustomDsDataBlock) {
    TW_CUSTOMDSDATA custom{};
    custom.InfoLength = 1024;
    custom.hData = FakePointer<TW_HANDLE>(0x1000000A0ull);
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_CUSTOMDSDATA, MSG_GET, &custom),
              ResultLines("TWRC_SUCCESS", &custom) +
                  Lines({"  TW_CUSTOMDSDATA = {",
                         "    InfoLength = [1024]",
                         "    hData      = <0x000000a0>",
                         "  }"}) +
                  StateLines(0));

    // The length is read signed.
    custom.InfoLength = 0x80000000u;
    custom.hData = nullptr;
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_CUSTOMDSDATA, MSG_SET, &custom),
              ResultLines("TWRC_SUCCESS", &custom) +
                  Lines({"  TW_CUSTOMDSDATA = {",
                         "    InfoLength = [-2147483648]",
                         "    hData      = <0x00000000>",
                         "  }"}) +
                  StateLines(0));
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_CUSTOMDSDATA, MSG_GET, nullptr),
              ResultLines("TWRC_SUCCESS", nullptr) + StateLines(0));
}

TEST(ControlFormat, TwunkWritesNothing) {
    // The Twunk identity call gets no data block, and its formatters write nothing when called.
    char block[64] = {1};
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_TWUNKIDENTITY, MSG_GET, block),
              ResultLines("TWRC_SUCCESS", block) + StateLines(0));

    CParaAnalyze analyser;
    CTextBuffer buffer;
    analyser.ParaAnalyze(nullptr, nullptr, DG_CONTROL, DAT_NULL, MSG_GET, nullptr, TWRC_SUCCESS, &buffer);
    const std::string before(buffer.Text(), buffer.Length());
    EXPECT_TRUE(analyser.TwTwunkIdentityAnalyze());
    EXPECT_TRUE(analyser.TwTwunkDsentryParamsAnalyze());
    EXPECT_TRUE(analyser.TwTwunkDsentryReturnAnalyze());
    EXPECT_EQ(std::string(buffer.Text(), buffer.Length()), before);
}
