// The lookups the rules stand on, and the operation table against TWAIN's published list of valid
// states (tests/data/twain-valid-states.tsv), the way the country codes are checked against theirs.
#include "TwainProtocol.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

using namespace twainlog::check;

namespace {

TEST(TwainProtocolTest, CodesByNameAndByNumber) {
    // The monitor's names, TWAIN 2's beyond them, and the monitor's text for a code it lacks.
    EXPECT_EQ(DatCode("DAT_CAPABILITY"), 0x0001);
    EXPECT_EQ(DatCode("DAT_ENTRYPOINT"), 0x0403);
    EXPECT_EQ(DatCode("ERROR!(1027)"), 0x0403);
    EXPECT_FALSE(DatCode("DAT_ZV_HARDWAREINFO"));  // the maker's own: not checked
    EXPECT_EQ(MsgCode("MSG_RESETALL"), 0x0A01);
    EXPECT_EQ(MsgCode("ERROR!(2561)"), 0x0A01);
    EXPECT_FALSE(MsgCode("ERROR!(70000)"));
    EXPECT_FALSE(MsgCode("ERROR!(12"));
    EXPECT_FALSE(MsgCode("ERROR!()"));
    EXPECT_EQ(ReturnCodeOf("TWRC_SCANNERLOCKED"), 11);
    EXPECT_EQ(ReturnCodeOf("ERROR!(10)"), 10);  // TWRC_BUSY, as the monitor shows it
    EXPECT_FALSE(ReturnCodeOf(""));
    EXPECT_EQ(CapCode("ICAP_PIXELTYPE"), 0x0101);
    EXPECT_EQ(CapCode("ICAP_ZV_TEXTENHANCEMENT"), 0x8043);  // a second name of a code finds it too
    EXPECT_EQ(CapCode("257"), 0x0101);     // CAP_EXTENDEDCAPS items are written in decimal
    EXPECT_EQ(CapCode("-32767"), 0x8001);  // a signed item type
    EXPECT_FALSE(CapCode("12a"));

    for (const Operation& op : kOperations) EXPECT_EQ(FindOperation(op.datCode, op.msgCode), &op) << op.dat << op.msg;
    EXPECT_EQ(FindOperation(DAT_IMAGEINFO, MSG_SET), nullptr);
}

using Triplet = std::string;  // "DG/DAT/MSG"

// The list's valid states per operation. An operation listed once per direction (application to
// manager, to source) is allowed in the states of either: a transcript does not say whom a call
// was addressed to.
std::map<Triplet, detail::StateSets> ValidStatesList() {
    std::ifstream file(TWAINMON_SOURCE_DIR "/tests/data/twain-valid-states.tsv");
    EXPECT_TRUE(file.good()) << "tests/data/twain-valid-states.tsv";
    std::map<Triplet, detail::StateSets> listed;
    std::string line;
    std::getline(file, line);  // the header
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string dg, dat, msg, states;
        std::getline(fields, dg, '\t');
        std::getline(fields, dat, '\t');
        std::getline(fields, msg, '\t');
        std::getline(fields, states, '\t');
        const detail::StateSets sets = detail::ParseStates(states);
        detail::StateSets& operation = listed[dg + "/" + dat + "/" + msg];
        operation.valid |= sets.valid;
        operation.conditional |= sets.conditional;
    }
    return listed;
}

// Every operation of the list is a row, allowed in the same states, and every row is in the list.
// Where TWAIN's text says more than its state lists, the table says so too (TwainOperations.inc):
// a state the list allows may be conditional here, never the other way round; MSG_RESET of the
// pending transfers is allowed in 7 after a cancelled transfer; the withdrawn MSG_CHECKSTATUS and
// the undocumented DAT_TWUNKIDENTITY, which managers still answer, have rows the list lacks.
TEST(TwainProtocolTest, OperationsMatchTheValidStatesList) {
    const std::map<Triplet, detail::StateSets> listed = ValidStatesList();
    ASSERT_FALSE(listed.empty());
    const std::map<Triplet, StateSet> kMoreThanListed = {{"DG_CONTROL/DAT_PENDINGXFERS/MSG_RESET", StateBit(7)}};
    const std::set<Triplet> kUnlisted = {"DG_CONTROL/DAT_STATUS/MSG_CHECKSTATUS", "DG_CONTROL/DAT_TWUNKIDENTITY/MSG_GET"};

    for (const auto& [triplet, sets] : listed) {
        const std::size_t a = triplet.find('/'), b = triplet.rfind('/');
        const auto dat = DatCode(triplet.substr(a + 1, b - a - 1));
        const auto msg = MsgCode(triplet.substr(b + 1));
        ASSERT_TRUE(dat && msg) << triplet << ": a name the tables lack";
        const Operation* op = FindOperation(*dat, *msg);
        ASSERT_NE(op, nullptr) << triplet << " has no row";
        EXPECT_EQ(std::string(op->dg), triplet.substr(0, a)) << triplet;
        const auto more = kMoreThanListed.find(triplet);
        const StateSet extra = more != kMoreThanListed.end() ? more->second : 0;
        EXPECT_EQ(op->valid | op->conditional, sets.valid | sets.conditional | extra) << triplet;
        EXPECT_EQ(sets.conditional & ~op->conditional, 0) << triplet << ": conditional in the list, not here";
    }
    for (const Operation& op : kOperations) {
        const Triplet triplet = std::string(op.dg) + "/" + std::string(op.dat) + "/" + std::string(op.msg);
        EXPECT_TRUE(listed.count(triplet) == 1 || kUnlisted.count(triplet) == 1) << triplet << " is not in the list";
    }
}

}  // namespace
