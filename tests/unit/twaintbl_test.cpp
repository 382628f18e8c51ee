// The name tables against the TWAIN facts, and the three lookup rules.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
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

// Every table with its row count as the TWAIN lists give it.
struct TableInfo {
    const char* name;
    const NameTable& table;
    size_t count;
};
#define T(table, count) TableInfo{#table, table, count}
const TableInfo kTables[] = {
    T(twrc_macros, 11),    T(dg_macros, 3),        T(dat_macros, 33),      T(dat_zv_macros, 14),
    T(msg_macros, 35),     T(msg_zv_macros, 2),    T(cap_macros, 50),      T(icap_macros, 76),
    T(cap_zv_macros, 23),  T(icap_zv_macros, 59),  T(twty_macros, 13),     T(twon_macros, 12),
    T(twlg_macros, 129),   T(twcy_macros, 239),    T(twcc_macros, 23),     T(twcp_macros, 13),
    T(twpt_macros, 9),     T(twff_macros, 10),     T(twbr_macros, 4),      T(twbo_macros, 2),
    T(twft_macros, 9),     T(twlp_macros, 2),      T(twls_macros, 7),      T(twor_macros, 6),
    T(twpf_macros, 2),     T(twpc_macros, 2),      T(twss_macros, 58),     T(twsx_macros, 3),
    T(twun_macros, 6),     T(twdx_macros, 3),      T(twjc_macros, 5),      T(twaf_macros, 4),
    T(twal_macros, 9),     T(twcb_macros, 3),      T(twde_macros, 18),     T(twfa_macros, 4),
    T(twfo_macros, 2),     T(twps_macros, 2),      T(twpr_macros, 8),      T(twpm_macros, 3),
    T(twbd_macros, 4),     T(twfl_macros, 5),      T(twfr_macros, 2),      T(twif_macros, 7),
    T(twnf_macros, 4),     T(twov_macros, 5),      T(twzv_ui_macros, 7),   T(twzv_ft_macros, 5),
    T(twzv_em_macros, 3),  T(twzv_pg_macros, 2),   T(twzv_gt_macros, 3),   T(twzv_cc_macros, 3),
    T(twzv_cl_macros, 2),  T(twzv_tpu_macros, 4),  T(twzv_usm_macros, 4),  T(twzv_dscr_macros, 4),
    T(twzv_ta_macros, 2),  T(twzv_dr_macros, 3),   T(twzv_ice_macros, 2),  T(twzv_gr_macros, 3),
    T(twzv_ht_macros, 6),  T(twzv_fs_macros, 6),   T(twzv_af_macros, 2),   T(twzv_fet_macros, 2),
    T(twzv_li_macros, 2),  T(twzv_autosizetype_macros, 2),
};
#undef T

TEST(NameTables, RowCountsAndTerminators) {
    for (const TableInfo& t : kTables) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(t.table.count, t.count);
        EXPECT_STREQ(t.table.rows[t.count].name, "ERROR!");
        EXPECT_EQ(t.table.rows[t.count].value, -1);
        for (const MacroEntry& row : t.table) EXPECT_STRNE(row.name, "ERROR!");
    }
    EXPECT_EQ(std::size(VALTOCAP), 31u);
    EXPECT_EQ(std::size(VALTOCAPZV), 20u);
}

// A sample of codes against their TWAIN values.
TEST(NameTables, SampleOfTwainValues) {
    EXPECT_EQ(DG_IMAGE, 2u);
    EXPECT_EQ(DAT_XFERGROUP, 0x000A);
    EXPECT_EQ(DAT_EXTIMAGEINFO, 0x010B);
    EXPECT_EQ(DAT_SETUPFILEXFER2, 0x0301);
    EXPECT_EQ(DAT_ZV_DUALIMAGE, 0x8017);
    EXPECT_EQ(MSG_PROCESSEVENT, 0x0601);
    EXPECT_EQ(MSG_CLOSEDSREQ, 0x0102);
    EXPECT_EQ(TWRC_DATANOTAVAILABLE, 9);
    EXPECT_EQ(TWCC_BADPROTOCOL, 9);
    EXPECT_EQ(TWTY_STR255, 12);
    EXPECT_EQ(TWON_RANGE, 6u);
    EXPECT_EQ(CAP_SUPPORTEDCAPS, 0x1005);
    EXPECT_EQ(ICAP_SUPPORTEDSIZES, 0x1122);
    EXPECT_EQ(ICAP_ZV_OVERSCANMARGIN, 0x8066);
    EXPECT_EQ(TWPT_CIEXYZ, 8);
    EXPECT_EQ(TWLG_JAPANESE, 68);
    EXPECT_EQ(TWCY_JAPAN, 81);
}

// Every country row carries the TWAIN value of its name, as listed in the published code list.
TEST(NameTables, CountriesMatchTheStandardList) {
    std::ifstream file(TWAINMON_SOURCE_DIR "/../shared/twain-country-codes.tsv");
    if (!file) GTEST_SKIP() << "the country code list is not beside the checkout";
    std::map<std::string, int64_t> standard;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("name\t", 0) == 0) continue;
        std::istringstream fields(line);
        std::string name;
        int64_t value;
        fields >> name >> value;
        standard[name] = value;
    }
    ASSERT_EQ(standard.size(), twcy_macros.count);
    for (const MacroEntry& row : twcy_macros) {
        ASSERT_EQ(standard.count(row.name), 1u) << row.name;
        EXPECT_EQ(row.value, standard[row.name]) << row.name;
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

TEST(NameIndex, EveryTableAnswersAsAScan) {
    for (const TableInfo& t : kTables) {
        for (size_t i = 0; i <= t.table.count; ++i) {
            for (int64_t delta : {-1, 0, 1}) {
                const int64_t code = t.table.rows[i].value + delta;
                char buf[kNameBufferSize];
                const bool bFound = LookupMacroName(t.table, code, buf);
                bool bScanFound = false;
                ASSERT_EQ(buf, Scan(t.table, code, &bScanFound)) << t.name << " code " << code;
                ASSERT_EQ(bFound, bScanFound) << t.name << " code " << code;
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
