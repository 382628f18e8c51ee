// The name tables against the TWAIN facts, and the three lookup rules.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "twaintbl.h"

namespace {

struct TableInfo {
    const char* name;
    const MacroEntry* rows;
    size_t count;
};

#define TWAINMON_TABLE_INFO(t) TableInfo{#t, t, RowCount(t)},
const TableInfo kTables[] = {TWAINMON_TABLES(TWAINMON_TABLE_INFO)};
#undef TWAINMON_TABLE_INFO

const TableInfo& Table(const std::string& name) {
    for (const TableInfo& t : kTables) {
        if (name == t.name) return t;
    }
    throw std::runtime_error("no table " + name);
}

std::string Name(const MacroEntry* table, size_t rows, int64_t code) {
    char buf[kNameBufferSize];
    LookupMacroName(table, rows, code, buf);
    return buf;
}

template <size_t N>
std::string Name(const MacroEntry (&table)[N], int64_t code) {
    return Name(table, N - 1, code);
}

// The value of a name, the way the header file defines it for the tables.
template <size_t N>
int64_t ValueOf(const MacroEntry (&table)[N], const char* name) {
    for (size_t i = 0; i + 1 < N; ++i) {
        if (strcmp(table[i].name, name) == 0) return table[i].value;
    }
    ADD_FAILURE() << "no row " << name;
    return -2;
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

TEST(NameTables, RowCountsAndTerminators) {
    const std::map<std::string, size_t> expected = {
        {"twrc_macros", 11},     {"dg_macros", 3},          {"dat_macros", 33},        {"dat_zv_macros", 14},
        {"msg_macros", 35},      {"msg_zv_macros", 2},      {"cap_macros", 50},        {"icap_macros", 76},
        {"cap_zv_macros", 23},   {"icap_zv_macros", 59},    {"twty_macros", 13},       {"twon_macros", 12},
        {"twlg_macros", 129},    {"twcy_macros", 239},      {"twcc_macros", 23},       {"twcp_macros", 13},
        {"twpt_macros", 9},      {"twff_macros", 10},       {"twbr_macros", 4},        {"twbo_macros", 2},
        {"twft_macros", 9},      {"twlp_macros", 2},        {"twls_macros", 7},        {"twor_macros", 6},
        {"twpf_macros", 2},      {"twpc_macros", 2},        {"twss_macros", 58},       {"twsx_macros", 3},
        {"twun_macros", 6},      {"twdx_macros", 3},        {"twjc_macros", 5},        {"twaf_macros", 4},
        {"twal_macros", 9},      {"twcb_macros", 3},        {"twde_macros", 18},       {"twfa_macros", 4},
        {"twfo_macros", 2},      {"twps_macros", 2},        {"twpr_macros", 8},        {"twpm_macros", 3},
        {"twbd_macros", 4},      {"twfl_macros", 5},        {"twfr_macros", 2},        {"twif_macros", 7},
        {"twnf_macros", 4},      {"twov_macros", 5},        {"twzv_ui_macros", 7},     {"twzv_ft_macros", 5},
        {"twzv_em_macros", 3},   {"twzv_pg_macros", 2},     {"twzv_gt_macros", 3},     {"twzv_cc_macros", 3},
        {"twzv_cl_macros", 2},   {"twzv_tpu_macros", 4},    {"twzv_usm_macros", 4},    {"twzv_dscr_macros", 4},
        {"twzv_ta_macros", 2},   {"twzv_dr_macros", 3},     {"twzv_ice_macros", 2},    {"twzv_gr_macros", 3},
        {"twzv_ht_macros", 6},   {"twzv_fs_macros", 6},     {"twzv_af_macros", 2},     {"twzv_fet_macros", 2},
        {"twzv_li_macros", 2},   {"twzv_autosizetype_macros", 2},
    };
    ASSERT_EQ(expected.size(), std::size(kTables));
    for (const TableInfo& t : kTables) {
        SCOPED_TRACE(t.name);
        ASSERT_EQ(expected.count(t.name), 1u);
        EXPECT_EQ(t.count, expected.at(t.name));
        EXPECT_STREQ(t.rows[t.count].name, "ERROR!");
        EXPECT_EQ(t.rows[t.count].value, -1);
        for (size_t i = 0; i < t.count; ++i) {
            EXPECT_LE(strlen(t.rows[i].name), 33u) << t.rows[i].name;
            EXPECT_STRNE(t.rows[i].name, "ERROR!");
        }
    }
}

TEST(NameTables, HeaderConstantsMatchTheirRows) {
    EXPECT_EQ(ValueOf(dg_macros, "DG_IMAGE"), DG_IMAGE);
    EXPECT_EQ(ValueOf(dat_macros, "DAT_CAPABILITY"), DAT_CAPABILITY);
    EXPECT_EQ(ValueOf(dat_macros, "DAT_XFERGROUP"), DAT_XFERGROUP);
    EXPECT_EQ(ValueOf(dat_macros, "DAT_IMAGEMEMXFER"), DAT_IMAGEMEMXFER);
    EXPECT_EQ(ValueOf(dat_macros, "DAT_EXTIMAGEINFO"), DAT_EXTIMAGEINFO);
    EXPECT_EQ(ValueOf(dat_macros, "DAT_CALLBACK"), DAT_CALLBACK);
    EXPECT_EQ(ValueOf(dat_macros, "DAT_SETUPFILEXFER2"), DAT_SETUPFILEXFER2);
    EXPECT_EQ(ValueOf(dat_zv_macros, "DAT_ZV_USMINFO"), DAT_ZV_USMINFO);
    EXPECT_EQ(ValueOf(dat_zv_macros, "DAT_ZV_DUALIMAGE"), DAT_ZV_DUALIMAGE);
    EXPECT_EQ(ValueOf(msg_macros, "MSG_PROCESSEVENT"), MSG_PROCESSEVENT);
    EXPECT_EQ(ValueOf(msg_macros, "MSG_ENDXFER"), MSG_ENDXFER);
    EXPECT_EQ(ValueOf(msg_macros, "MSG_ENABLEDSUIONLY"), MSG_ENABLEDSUIONLY);
    EXPECT_EQ(ValueOf(msg_macros, "MSG_CLOSEDSREQ"), MSG_CLOSEDSREQ);
    EXPECT_EQ(ValueOf(twrc_macros, "TWRC_DATANOTAVAILABLE"), TWRC_DATANOTAVAILABLE);
    EXPECT_EQ(ValueOf(twcc_macros, "TWCC_CAPUNSUPPORTED"), TWCC_CAPUNSUPPORTED);
    EXPECT_EQ(ValueOf(twcc_macros, "TWCC_BADPROTOCOL"), TWCC_BADPROTOCOL);
    EXPECT_EQ(ValueOf(twty_macros, "TWTY_STR255"), TWTY_STR255);
    EXPECT_EQ(ValueOf(twon_macros, "TWON_RANGE"), TWON_RANGE);
    EXPECT_EQ(ValueOf(cap_macros, "CAP_SUPPORTEDCAPS"), CAP_SUPPORTEDCAPS);
    EXPECT_EQ(ValueOf(cap_macros, "CAP_DEVICEONLINE"), CAP_DEVICEONLINE);
    EXPECT_EQ(ValueOf(icap_macros, "ICAP_XRESOLUTION"), ICAP_XRESOLUTION);
    EXPECT_EQ(ValueOf(icap_macros, "ICAP_BITDEPTH"), ICAP_BITDEPTH);
    EXPECT_EQ(ValueOf(icap_macros, "ICAP_SUPPORTEDSIZES"), ICAP_SUPPORTEDSIZES);
    EXPECT_EQ(ValueOf(icap_macros, "ICAP_FRAMES"), ICAP_FRAMES);
    EXPECT_EQ(ValueOf(cap_zv_macros, "CAP_ZV_PRODUCTNAME"), CAP_ZV_PRODUCTNAME);
    EXPECT_EQ(ValueOf(icap_zv_macros, "ICAP_ZV_FILMTYPE"), ICAP_ZV_FILMTYPE);
    EXPECT_EQ(ValueOf(cap_macros, "CAP_DUPLEX"), CAP_DUPLEX);
    EXPECT_EQ(ValueOf(icap_zv_macros, "ICAP_ZV_OVERSCANMARGIN"), ICAP_ZV_OVERSCANMARGIN);
    EXPECT_EQ(ValueOf(twpt_macros, "TWPT_CIEXYZ"), TWPT_CIEXYZ);
    EXPECT_EQ(ValueOf(twss_macros, "TWSS_A5"), TWSS_A5);
    EXPECT_EQ(ValueOf(twlg_macros, "TWLG_JAPANESE"), TWLG_JAPANESE);
    EXPECT_EQ(ValueOf(twcy_macros, "TWCY_JAPAN"), TWCY_JAPAN);
    EXPECT_EQ(ValueOf(twzv_ft_macros, "TWZV_FT_REFLECTIVE"), TWZV_FT_REFLECTIVE);
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
    ASSERT_EQ(standard.size(), RowCount(twcy_macros));
    for (size_t i = 0; i < RowCount(twcy_macros); ++i) {
        ASSERT_EQ(standard.count(twcy_macros[i].name), 1u) << twcy_macros[i].name;
        EXPECT_EQ(twcy_macros[i].value, standard[twcy_macros[i].name]) << twcy_macros[i].name;
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

TEST(ValueDirectories, RowsPointAtTheirTables) {
    struct Row {
        uint32_t cap;
        const char* table;
    };
    const Row standard[] = {
        {0x112C, "twbr_macros"}, {0x111C, "twbo_macros"}, {0x0100, "twcp_macros"}, {0x1106, "twft_macros"},
        {0x110C, "twff_macros"}, {0x111E, "twlp_macros"}, {0x110E, "twls_macros"}, {0x1110, "twor_macros"},
        {0x111F, "twpf_macros"}, {0x0101, "twpt_macros"}, {0x1120, "twpc_macros"}, {0x1122, "twss_macros"},
        {0x0103, "twsx_macros"}, {0x0102, "twun_macros"}, {0x1012, "twdx_macros"}, {0x1017, "twjc_macros"},
        {0x1201, "twaf_macros"}, {0x1018, "twal_macros"}, {0x101D, "twcb_macros"}, {0x1022, "twde_macros"},
        {0x102D, "twfa_macros"}, {0x102E, "twfo_macros"}, {0x1020, "twps_macros"}, {0x1026, "twpr_macros"},
        {0x1029, "twpm_macros"}, {0x113B, "twbd_macros"}, {0x1146, "twfl_macros"}, {0x1136, "twfr_macros"},
        {0x1147, "twif_macros"}, {0x1148, "twnf_macros"}, {0x1149, "twov_macros"},
    };
    const Row extension[] = {
        {0x800F, "twzv_ui_macros"},   {0x8003, "twzv_ft_macros"},   {0x8005, "twzv_em_macros"},
        {0x8007, "twzv_pg_macros"},   {0x8008, "twzv_gt_macros"},   {0x8009, "twzv_cc_macros"},
        {0x8012, "twzv_cl_macros"},   {0x8018, "twzv_tpu_macros"},  {0x8024, "twzv_usm_macros"},
        {0x8020, "twzv_dscr_macros"}, {0x8017, "twzv_ta_macros"},   {0x8028, "twzv_dr_macros"},
        {0x802D, "twzv_ice_macros"},  {0x802A, "twzv_gr_macros"},   {0x8030, "twzv_ht_macros"},
        {0x8031, "twzv_fs_macros"},   {0x8033, "twzv_af_macros"},   {0x803B, "twzv_fet_macros"},
        {0x803D, "twzv_li_macros"},   {0x8081, "twzv_autosizetype_macros"},
    };
    auto check = [](const ValToCapEntry* directory, const Row* rows, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            SCOPED_TRACE(rows[i].table);
            const TableInfo& table = Table(rows[i].table);
            EXPECT_EQ(directory[i].cap, rows[i].cap);
            EXPECT_EQ(directory[i].table, table.rows);
            EXPECT_EQ(directory[i].count, static_cast<int32_t>(table.count + 1));
        }
        EXPECT_EQ(directory[count].cap, 0xFFFFFFFFu);
        EXPECT_EQ(directory[count].count, -1);
        EXPECT_EQ(directory[count].table, nullptr);
    };
    ASSERT_EQ(std::size(VALTOCAP), std::size(standard) + 1);
    ASSERT_EQ(std::size(VALTOCAPZV), std::size(extension) + 1);
    check(VALTOCAP, standard, std::size(standard));
    check(VALTOCAPZV, extension, std::size(extension));
}

}  // namespace
