// The control structure blocks (identity, status, user interface, pending transfers, event, custom
// data-source data), rendered through the analyser's result step as a host call would leave them;
// and, for the data block of every DAT, what a null pointer and the types never shown leave.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "DataBlock.h"
#include "TestSupport.h"

using testsupport::FakePointer;
using testsupport::LineOf;
using testsupport::Lines;
using testsupport::RenderBlock;
using testsupport::RenderResult;
using testsupport::ResultLines;
using testsupport::StateLines;

TEST(ControlFormat, IdentityBlock) {
    // Edge values: a negative Id, a language code with all bits set (read unsigned: 65535, not the
    // table's -1 row), a country code two rows share (the first wins), all 32 group bits, a text
    // field without a NUL (exactly its 34 bytes, nothing of the next field), one with text after its
    // NUL, and an empty one.
    TW_IDENTITY id{};
    id.Id = FakePointer<TW_MEMREF>(static_cast<uint64_t>(-5));
    id.Version = TW_VERSION{2, 1, 0xFFFF, 7, "2.1 (sim)"};
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 9;
    id.SupportedGroups = 0xFFFFFFFFu;
    memset(id.Manufacturer, 'M', sizeof(id.Manufacturer));
    memcpy(id.ProductFamily, "Sim\0Hidden", 10);
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_IDENTITY, MSG_GET, &id),
              Lines({"  TW_IDENTITY = {",
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
                     "    Manufacturer    = [" + std::string(34, 'M') + "]",
                     "    ProductFamily   = [Sim]",
                     "    ProductName     = []",
                     "  }"}));

    // The header says pOrigin for MSG_OPENDSM whatever the DAT; Id is 64 bits wide; a named language.
    id.Id = FakePointer<TW_MEMREF>(0x100000000ull);
    id.Version.Language = 13;
    const std::string block = RenderBlock(DG_CONTROL, DAT_IDENTITY, MSG_OPENDSM, &id);
    EXPECT_EQ(block.rfind(Lines({"  pOrigin:TW_IDENTITY = {", "    Id              = [4294967296]"}), 0), 0u) << block;
    EXPECT_EQ(LineOf(block, "      Language"), "      Language = [TWLG_USA]");
}

TEST(ControlFormat, StatusUserInterfacePendingXfersAndCustomDsDataBlocks) {
    TW_STATUS status{0xA, 0x1234};  // the Reserved field is never shown
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_STATUS, MSG_GET, &status),
              Lines({"  TW_STATUS = {", "    ConditionCode = [TWCC_BADVALUE]", "  }"}));
    status.ConditionCode = 0xFFFF;
    EXPECT_EQ(LineOf(RenderBlock(DG_CONTROL, DAT_STATUS, MSG_GET, &status), "    Cond"),
              "    ConditionCode = [ERROR!(65535)]");

    // Any non-zero BOOL is true; a handle above 4 GiB shows its low 32 bits.
    TW_USERINTERFACE ui{0x8000, 0, FakePointer<TW_HANDLE>(0xFEDCBA9876543210ull)};
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui),
              Lines({"  TW_USERINTERFACE = {",
                     "    ShowUI  = [true]",
                     "    ModalUI = [false]",
                     "    hParent = <0x76543210>",
                     "  }"}));

    // Count is signed (0xFFFF: an undetermined number, -1); EOJ is unsigned 32-bit.
    TW_PENDINGXFERS pending{0xFFFF, 0xFFFFFFFFu};
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending),
              Lines({"  TW_PENDINGXFERS = {", "    Count = [-1]", "    EOJ   = [4294967295]", "  }"}));

    // The length is read signed; a null handle shows eight zeros.
    TW_CUSTOMDSDATA custom{0x80000000u, nullptr};
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_CUSTOMDSDATA, MSG_GET, &custom),
              Lines({"  TW_CUSTOMDSDATA = {", "    InfoLength = [-2147483648]", "    hData      = <0x00000000>", "  }"}));
}

TEST(ControlFormat, EventBlock) {
    // A claimed transfer-ready event: the whole record, with the move from state 5 to 6.
    TW_EVENT event{FakePointer<TW_MEMREF>(0x00007FFF12345678ull), MSG_XFERREADY};
    EXPECT_EQ(RenderResult(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event, TWRC_DSEVENT, nullptr, 5),
              ResultLines("TWRC_DSEVENT", &event) +
                  Lines({"  TW_EVENT = {", "    pEvent    = <0x12345678>", "    TWMessage = [MSG_XFERREADY]", "  }"}) +
                  StateLines(6));

    // An event without a message has no block, also where the result report lets it through.
    event.TWMessage = MSG_NULL;
    EXPECT_EQ(RenderBlock(DG_CONTROL, DAT_EVENT, MSG_GET, &event), "");

    // Messages up to MSG_CUSTOMBASE are named from the standard table, higher ones from the maker's.
    struct {
        TW_UINT16 message;
        const char* name;
    } const cases[] = {{0x8000, "MSG_CUSTOMBASE"}, {0x8001, "MSG_ZV_TIMERRESET"}, {0x8002, "MSG_ZV_XFERREQUEST"},
                       {0x8003, "ERROR!(32771)"}};
    for (const auto& c : cases) {
        event.TWMessage = c.message;
        EXPECT_EQ(LineOf(RenderBlock(DG_CONTROL, DAT_EVENT, MSG_GET, &event), "    TWMessage"),
                  std::string("    TWMessage = [") + c.name + "]");
    }
}

// Every data type's block opens with the structure name its row gives, the name by which the reader
// of transcripts knows the data type. The blocks are read from bytes of 0x5A (which any
// formatter shows) in a failed call, whose capability container is not followed.
TEST(FormatDispatch, EveryBlockOpensWithItsRowsStructureName) {
    std::vector<unsigned char> data;
    TW_IDENTITY origin{};
    for (const DataType& type : kDataTypes) {
        data.assign(type.size, 0x5A);
        const TW_UINT16 MSG = type.dat == DAT_PARENT ? MSG_OPENDSM : MSG_GET;
        const std::string text = RenderResult(DG_CONTROL, type.dat, MSG, data.data(), TWRC_FAILURE, &origin);
        std::string block = text.substr(ResultLines("TWRC_FAILURE", data.data()).size());
        block.erase(0, block.find_first_not_of(' '));  // two blanks, four for TWZV_USMPARAM
        EXPECT_EQ(block.rfind(std::string(type.structure) + " = {", 0), 0u) << "DAT " << type.dat << ":\n" << text;
    }
}

// Every structure formatter writes nothing for a null data pointer (the single 32-bit item aside,
// see xfer_format_test), and the types whose data block is never shown write nothing even with one:
// only the result lines and the state line remain.
TEST(FormatDispatch, NoBlockForANullDataPointerOrASilentType) {
    for (const DataType& type : kDataTypes) {
        if (type.dat == DAT_XFERGROUP || type.dat == DAT_IMAGENATIVEXFER) continue;
        EXPECT_EQ(RenderBlock(DG_CONTROL, type.dat, MSG_GET, nullptr), "") << "DAT " << type.dat;
    }
    unsigned char data[600];
    memset(data, 0x5A, sizeof(data));
    for (const NameTable* table : {&dat_macros, &dat_zv_macros}) {
        for (const MacroEntry& row : *table) {
            const auto dat = static_cast<TW_UINT16>(row.value);
            if (FindDataType(dat) == nullptr) {
                EXPECT_EQ(RenderBlock(DG_CONTROL, dat, MSG_GET, data), "") << row.name;
            }
        }
    }
}
