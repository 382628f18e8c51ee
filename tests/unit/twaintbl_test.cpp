// The name tables against the TWAIN facts (the published country list, the codes two names
// share), the lookup rules, and the indexes that answer as a scan from the top would.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TwainTypes.h"

namespace {

std::string Name(const NameTable& table, int64_t code) {
    char buf[kNameBufferSize];
    LookupMacroName(table, code, buf);
    return buf;
}

std::string CapName(TW_UINT16 cap) {
    char buf[kNameBufferSize];
    LookupCapName(cap, buf);
    return buf;
}

std::string CapValue(TW_UINT16 cap, TW_UINT16 value) {
    char buf[kNameBufferSize];
    LookupCapValueName(cap, value, buf);
    return buf;
}

// The country rows are the published code list, name by name in its order (where two names share
// a value the first one is shown, so the order matters) and value by value.
TEST(NameTables, CountriesAreThePublishedList) {
    std::ifstream file(TWAINMON_SOURCE_DIR "/tests/data/twain-country-codes.tsv");
    ASSERT_TRUE(file.good()) << "tests/data/twain-country-codes.tsv";
    std::vector<std::pair<std::string, int64_t>> published;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("name\t", 0) == 0) continue;
        std::istringstream fields(line);
        std::string name;
        int64_t value = 0;
        fields >> name >> value;
        published.emplace_back(name, value);
    }
    ASSERT_EQ(published.size(), twcy_macros.count);
    size_t i = 0;
    for (const MacroEntry& row : twcy_macros) {
        EXPECT_EQ(row.name, published[i].first) << "row " << i;
        EXPECT_EQ(row.value, published[i].second) << row.name;
        ++i;
    }
}

TEST(NameTables, FirstRowWinsForSharedValues) {
    EXPECT_EQ(Name(twlg_macros, 13), "TWLG_USA");
    EXPECT_EQ(Name(twlg_macros, 0), "TWLG_DAN");
    EXPECT_EQ(Name(twcy_macros, 27), "TWCY_ANDORRA");
    EXPECT_EQ(Name(twcy_macros, 7), "TWCY_USSR");
    EXPECT_EQ(Name(twcy_macros, 33), "TWCY_FRANCE");
    EXPECT_EQ(Name(twcy_macros, 39), "TWCY_ITALY");
    EXPECT_EQ(Name(twcy_macros, 41), "TWCY_LIECHTENSTEIN");
    EXPECT_EQ(Name(twcy_macros, 82), "TWCY_KOREA");
    EXPECT_EQ(Name(twcy_macros, 508), "TWCY_MIQUELON");
    EXPECT_EQ(Name(twcy_macros, 1009), "TWCY_CHRISTMASIS");
    EXPECT_EQ(Name(twcy_macros, 1043), "TWCY_FUTANAIS");
    EXPECT_EQ(Name(twcy_macros, 8015), "TWCY_GRENEDINES");
    EXPECT_EQ(Name(twcy_macros, 8016), "TWCY_TOBAGO");
    EXPECT_EQ(Name(twor_macros, 3), "TWOR_ROT270");
    EXPECT_EQ(Name(twss_macros, 1), "TWSS_A4LETTER");
    EXPECT_EQ(Name(twss_macros, 12), "TWSS_B3");  // also TWSS_ISOB3
    EXPECT_EQ(Name(twif_macros, 3), "TWIF_BANDPASS");
    EXPECT_EQ(CapName(0x8043), "ICAP_ZV_ADE");
}

TEST(NameLookup, WideningAndNotFoundText) {
    EXPECT_EQ(Name(dat_macros, 0x8000), "DAT_CUSTOMBASE");
    EXPECT_EQ(Name(dat_zv_macros, 0x8001), "DAT_ZV_AUTOEXPOSURE");
    EXPECT_EQ(Name(dat_zv_macros, 0x8012), "ERROR!(32786)");
    EXPECT_EQ(Name(dat_macros, 0x0400), "ERROR!(1024)");
    EXPECT_EQ(Name(msg_zv_macros, 0x8003), "ERROR!(32771)");
    EXPECT_EQ(Name(twon_macros, 1), "TWON_PROTOCOLMAJOR");
    EXPECT_EQ(Name(twon_macros, 9), "TWON_PROTOCOLMINOR");
    EXPECT_EQ(Name(twon_macros, 0xFFFF), "TWON_DONTCARE16");
    EXPECT_EQ(Name(twon_macros, 0xFFFFFFFFLL), "TWON_DONTCARE32");
    // A 16-bit language of 0xFFFF widened without sign is not TWLG_USERLOCALE (-1); with sign it is.
    EXPECT_EQ(Name(twlg_macros, static_cast<TW_UINT16>(0xFFFF)), "ERROR!(65535)");
    EXPECT_EQ(Name(twlg_macros, static_cast<TW_INT16>(-1)), "TWLG_USERLOCALE");
    EXPECT_EQ(Name(twpt_macros, static_cast<TW_INT16>(-1)), "ERROR!(-1)");
    // The not-found text shows the code as a signed 32-bit number; it always fits 64 bytes.
    EXPECT_EQ(Name(dg_macros, 0xFFFFFFFFLL), "ERROR!(-1)");
    EXPECT_EQ(Name(dg_macros, INT64_C(-2147483648)), "ERROR!(-2147483648)");
    EXPECT_EQ(Name(twrc_macros, 10), "ERROR!(10)");
    // The terminator's value never matches a code.
    EXPECT_EQ(Name(twrc_macros, -1), "ERROR!(-1)");
    EXPECT_FALSE(LookupMacroName(twrc_macros, -1, std::string(64, 'x').data()));
}

TEST(NameLookup, CapabilityNames) {
    EXPECT_EQ(CapName(0x8000), "CAP_CUSTOMBASE");
    EXPECT_EQ(CapName(0x0001), "CAP_XFERCOUNT");
    EXPECT_EQ(CapName(0x0101), "ICAP_PIXELTYPE");
    EXPECT_EQ(CapName(0x1023), "ERROR!(4131)");
    EXPECT_EQ(CapName(0x1201), "ERROR!(4609)");
    EXPECT_EQ(CapName(0x8001), "CAP_ZV_VERSION");
    EXPECT_EQ(CapName(0x8003), "ICAP_ZV_FILMTYPE");
    EXPECT_EQ(CapName(0x8081), "ICAP_ZV_AUTOSIZETYPE");
    EXPECT_EQ(CapName(0xFFFF), "ERROR!(65535)");
}

TEST(NameLookup, CapabilityValuesThroughTheDirectories) {
    EXPECT_EQ(CapValue(ICAP_PIXELTYPE, 2), "TWPT_RGB");
    EXPECT_EQ(CapValue(ICAP_PIXELTYPE, 9), "ERROR!(9)");
    EXPECT_EQ(CapValue(ICAP_ORIENTATION, 3), "TWOR_ROT270");
    EXPECT_EQ(CapValue(ICAP_SUPPORTEDSIZES, 1), "TWSS_A4LETTER");
    EXPECT_EQ(CapValue(0x1147, 3), "TWIF_BANDPASS");  // ICAP_IMAGEFILTER
    EXPECT_EQ(CapValue(0x1201, 3), "TWAF_AU");         // named although the capability is not
    EXPECT_EQ(CapValue(ICAP_BITDEPTH, 24), "24");      // no directory row: plain decimal
    EXPECT_EQ(CapValue(ICAP_BITDEPTH, 65535), "65535");
    EXPECT_EQ(CapValue(0x1022, 0x8000), "TWDE_CUSTOMEVENTS");  // CAP_DEVICEEVENT
    EXPECT_EQ(CapValue(ICAP_ZV_FILMTYPE, 4), "TWZV_FT_REFLECTIVEDOCUMENT");
    EXPECT_EQ(CapValue(0x803B, 1), "TWZV_FT_MPF");  // CAP_ZV_FEEDERTYPE
    EXPECT_EQ(CapValue(0x8081, 2), "ERROR!(2)");
    EXPECT_EQ(CapValue(0x8002, 7), "7");  // CAP_ZV_TPUENABLED has no value table
}

// ---- The indexes answer as a scan from the top ---------------------------------------------------

std::string Scan(const NameTable& table, int64_t code, bool* pbFound = nullptr) {
    for (const MacroEntry& row : table) {
        if (row.value == code) {
            if (pbFound != nullptr) *pbFound = true;
            return row.name;
        }
    }
    if (pbFound != nullptr) *pbFound = false;
    return std::string(table.rows[table.count].name) + "(" + std::to_string(static_cast<int32_t>(code)) + ")";
}

// The tables the formatters name fields from, and those of the value directories: every code
// next to a row's value answers as the scan does.
TEST(NameIndex, EveryTableAnswersAsAScan) {
    std::vector<const NameTable*> tables = {&twrc_macros, &dg_macros,   &twty_macros, &twon_macros,
                                            &twcc_macros, &twlg_macros, &twcy_macros};
    for (const ValToCapEntry& row : VALTOCAP) tables.push_back(row.names);
    for (const ValToCapEntry& row : VALTOCAPZV) tables.push_back(row.names);
    for (const NameTable* table : tables) {
        for (size_t i = 0; i <= table->count; ++i) {
            for (int64_t delta : {-1, 0, 1}) {
                const int64_t code = table->rows[i].value + delta;
                char buf[kNameBufferSize];
                const bool bFound = LookupMacroName(*table, code, buf);
                bool bScanFound = false;
                ASSERT_EQ(buf, Scan(*table, code, &bScanFound)) << table->rows[0].name << " code " << code;
                ASSERT_EQ(bFound, bScanFound) << table->rows[0].name << " code " << code;
            }
        }
    }
}

TEST(NameIndex, CapabilitiesDatsMsgsAndValuesAnswerAsAScan) {
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
        const bool bStandard = code <= 0x8000;
        std::string expected = Scan(bStandard ? cap_macros : cap_zv_macros, code);
        if (expected.find("ERROR!(") == 0) expected = Scan(bStandard ? icap_macros : icap_zv_macros, code);
        char buf[kNameBufferSize];
        const size_t n = LookupCapName(static_cast<TW_UINT16>(code), buf);
        ASSERT_EQ(buf, expected) << code;
        ASSERT_EQ(n, expected.size()) << code;
        LookupDatName(static_cast<TW_UINT16>(code), buf);
        ASSERT_EQ(buf, Scan(bStandard ? dat_macros : dat_zv_macros, code)) << code;
        LookupMsgName(static_cast<TW_UINT16>(code), buf);
        ASSERT_EQ(buf, Scan(bStandard ? msg_macros : msg_zv_macros, code)) << code;
    }
    std::vector<ValToCapEntry> directories(std::begin(VALTOCAP), std::end(VALTOCAP));
    directories.insert(directories.end(), std::begin(VALTOCAPZV), std::end(VALTOCAPZV));
    {
        for (const ValToCapEntry& row : directories) {
            for (uint32_t value : {0u, 1u, 2u, 3u, 7u, 15u, 16u, 100u, 0x8000u, 0xFFFFu}) {
                char buf[kNameBufferSize];
                const size_t n =
                    LookupCapValueName(static_cast<TW_UINT16>(row.cap), static_cast<TW_UINT16>(value), buf);
                const std::string expected = Scan(*row.names, value);
                EXPECT_EQ(buf, expected) << row.cap;
                EXPECT_EQ(n, expected.size()) << row.cap;
            }
        }
    }
}

}  // namespace
