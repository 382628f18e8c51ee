// The TWAIN code lookups the rules stand on: every name and every "ERROR!(n)" of the transcript
// finds its code, and every operation row is found by its codes.
#include <gtest/gtest.h>

#include <string>

#include "TwainProtocol.h"

using namespace twainlog::check;

namespace {

TEST(TwainProtocolTest, NamesAndUnnamedCodesFindTheirCodes) {
    for (const NamedCode& row : kDats) {
        EXPECT_EQ(DatCode(row.name), row.value) << row.name;
        EXPECT_EQ(DatCode("ERROR!(" + std::to_string(row.value) + ")"), row.value) << row.name;
    }
    for (const NamedCode& row : kMsgs) {
        EXPECT_EQ(MsgCode(row.name), row.value) << row.name;
        EXPECT_EQ(MsgCode("ERROR!(" + std::to_string(row.value) + ")"), row.value) << row.name;
    }
    EXPECT_EQ(DatCode("ERROR!(1027)"), 0x0403);  // DAT_ENTRYPOINT, which the monitor does not name
    EXPECT_FALSE(DatCode("DAT_ZV_HARDWAREINFO"));
    EXPECT_FALSE(DatCode("DAT_CAPABILIT"));
    EXPECT_FALSE(MsgCode("ERROR!(70000)"));
    EXPECT_FALSE(MsgCode("ERROR!()"));
    EXPECT_FALSE(MsgCode("ERROR!(12"));
    EXPECT_EQ(ReturnCodeOf("TWRC_XFERDONE"), 6);
    EXPECT_EQ(ReturnCodeOf("ERROR!(10)"), 10);  // TWRC_BUSY
    EXPECT_FALSE(ReturnCodeOf(""));
}

TEST(TwainProtocolTest, CapabilitiesByNameNumberAndUnnamedCode) {
    EXPECT_EQ(CapCode("ICAP_PIXELTYPE"), 0x0101);
    EXPECT_EQ(CapCode("CAP_EXTENDEDCAPS"), 0x1006);
    EXPECT_EQ(CapCode("257"), 0x0101);     // CAP_EXTENDEDCAPS items are written in decimal
    EXPECT_EQ(CapCode("-32767"), 0x8001);  // a signed item type
    EXPECT_EQ(CapCode("ERROR!(4400)"), 4400);
    EXPECT_FALSE(CapCode("ICAP_NOSUCH"));
    EXPECT_FALSE(CapCode("12a"));
    EXPECT_FALSE(CapCode(""));
}

TEST(TwainProtocolTest, EveryOperationIsFoundByItsCodes) {
    for (const Operation& op : kOperations) {
        const Operation* found = FindOperation(op.datCode, op.msgCode);
        ASSERT_NE(found, nullptr) << op.dat << "/" << op.msg;
        EXPECT_EQ(found, &op) << op.dat << "/" << op.msg << " has two rows";
        EXPECT_NE(op.valid | op.conditional, 0) << op.dat << "/" << op.msg;
    }
    EXPECT_EQ(FindOperation(0x0101, 0x0006), nullptr);  // DAT_IMAGEINFO/MSG_SET
    const Operation* set = FindOperation(0x0001, 0x0006);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->valid, StateBit(4));
    EXPECT_EQ(set->conditional, StateBit(5) | StateBit(6) | StateBit(7));
}

}  // namespace
