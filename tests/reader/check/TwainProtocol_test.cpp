// The lookups the rules stand on: names and the monitor's "ERROR!(n)" find their codes, and
// every operation row is found by its codes, once.
#include "TwainProtocol.h"

#include <gtest/gtest.h>

#include <string>

using namespace twainlog::check;

namespace {

TEST(TwainProtocolTest, CodesByNameAndByNumber) {
    for (const NamedCode& row : kMsgs) {
        EXPECT_EQ(MsgCode(row.name), row.value) << row.name;
        EXPECT_EQ(MsgCode("ERROR!(" + std::to_string(row.value) + ")"), row.value) << row.name;
    }
    for (const NamedCode& row : kDats) EXPECT_EQ(DatCode(row.name), row.value) << row.name;
    EXPECT_EQ(DatCode("ERROR!(1027)"), 0x0403);  // DAT_ENTRYPOINT, which the monitor does not name
    EXPECT_FALSE(DatCode("DAT_ZV_HARDWAREINFO"));
    EXPECT_FALSE(MsgCode("ERROR!(70000)"));
    EXPECT_FALSE(MsgCode("ERROR!(12"));
    EXPECT_EQ(ReturnCodeOf("ERROR!(10)"), 10);  // TWRC_BUSY
    EXPECT_EQ(CapCode("ICAP_PIXELTYPE"), 0x0101);
    EXPECT_EQ(CapCode("257"), 0x0101);     // CAP_EXTENDEDCAPS items are written in decimal
    EXPECT_EQ(CapCode("-32767"), 0x8001);  // a signed item type
    EXPECT_FALSE(CapCode("12a"));

    for (const Operation& op : kOperations) EXPECT_EQ(FindOperation(op.datCode, op.msgCode), &op) << op.dat << op.msg;
    EXPECT_EQ(FindOperation(0x0101, 0x0006), nullptr);  // DAT_IMAGEINFO/MSG_SET
}

}  // namespace
