// What `twainlog report` decides, read back from the page it writes: the embedded data of hand-made
// sessions (figures, rows, states, findings, capabilities, transfers), the escaping that keeps a
// transcript's text out of the markup, bytes that are not UTF-8, several files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <rapidjson/document.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Json.h"
#include "Report.h"
#include "ReaderTestSupport.h"

using readertest::TempFile;
using readertest::Twainlog;

namespace {

using Lines = std::vector<std::string>;

Lines Numbered(int seq, const std::string& triplet, const std::string& rc, const Lines& block, const std::string& state) {
    char number[16];
    std::snprintf(number, sizeof number, "[%05d]", seq);
    Lines lines = {std::string(number) + " [APP] " + triplet, "        Return Code = [" + rc + "]", "pData   = <0x00001000>"};
    lines.insert(lines.end(), block.begin(), block.end());
    if (state.empty()) {
        lines.insert(lines.end(), {"*** Inspect Error Status Start ***", "*** Inspect Error Status End   ***"});
    } else {
        lines.insert(lines.end(), {"", "TWAIN Status = [" + state + "]"});
    }
    return lines;
}

Lines OneValue(const std::string& cap, const std::string& value) {
    return {"  TW_CAPABILITY = {", "    Cap        = [" + cap + "]", "    ConType    = [TWON_ONEVALUE]",
            "    hContainer = <0x00002000>", "    TW_ONEVALUE = {", "      ItemType = [TWTY_FIX32]",
            "      Item     = [" + value + "]", "    }", "  }"};
}

const Lines kPixelTypes = {"  TW_CAPABILITY = {", "    Cap        = [ICAP_PIXELTYPE]", "    ConType    = [TWON_ENUMERATION]",
                           "    hContainer = <0x00002000>", "    TW_ENUMERATION = {", "      ItemType     = [TWTY_UINT16]",
                           "      NumItems     = [3]", "      CurrentIndex = [2]", "      DefaultIndex = [2]",
                           "      ItemList = {", "          0:TWPT_BW,", "          1:TWPT_GRAY,", "          2:TWPT_RGB",
                           "      }", "    }", "  }"};

Lines MemXfer(const std::string& written) {
    return {"  TW_IMAGEMEMXFER = {", "    BytesWritten = [" + written + "]", "    Memory       =", "    TW_MEMORY = {",
            "      Length = [32768]", "    }", "}"};
}

// A scan with a refused setting: 14 call records, one of them a window event.
std::string ScanSession() {
    std::string s;
    for (const Lines& call : std::vector<Lines>{
             Numbered(1, "DG_CONTROL/DAT_IDENTITY/MSG_OPENDS", "TWRC_SUCCESS", {"  TW_IDENTITY = {", "    ProductName = [Zorva Scan 2]", "  }"}, "4"),
             Numbered(2, "DG_CONTROL/DAT_CAPABILITY/MSG_GET (ICAP_PIXELTYPE)", "TWRC_SUCCESS", kPixelTypes, "4"),
             Numbered(3, "DG_CONTROL/DAT_CAPABILITY/MSG_GET (ICAP_PIXELTYPE)", "TWRC_SUCCESS", kPixelTypes, "4"),
             Numbered(4, "DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_XRESOLUTION)", "TWRC_SUCCESS", OneValue("ICAP_XRESOLUTION", "300.000"), "4"),
             Numbered(5, "DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_YRESOLUTION)", "TWRC_FAILURE", OneValue("ICAP_YRESOLUTION", "9.000"), ""),
             Numbered(6, "DG_CONTROL/DAT_STATUS/MSG_GET", "TWRC_SUCCESS", {"  TW_STATUS = {", "    ConditionCode = [TWCC_BADVALUE]", "  }"}, "4"),
             Numbered(7, "DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS", "TWRC_SUCCESS", {}, "5"),
             {"        Return Code = [TWRC_DSEVENT]", "pData   = <0x00003000>", "  TW_EVENT = {", "    TWMessage = [MSG_XFERREADY]", "  }", "",
              "TWAIN Status = [6]"},
             Numbered(8, "DG_IMAGE/DAT_IMAGEINFO/MSG_GET", "TWRC_SUCCESS",
                      {"  TW_IMAGEINFO = {", "    ImageWidth       = [300]", "    ImageLength      = [150]", "    BitsPerPixel     = [24]",
                       "    PixelType        = [TWPT_RGB]", "  }"},
                      "6"),
             Numbered(9, "DG_IMAGE/DAT_IMAGEMEMXFER/MSG_GET", "TWRC_SUCCESS", MemXfer("1000"), "7"),
             Numbered(10, "DG_IMAGE/DAT_IMAGEMEMXFER/MSG_GET", "TWRC_XFERDONE", MemXfer("500"), "7"),
             Numbered(11, "DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER", "TWRC_SUCCESS", {"  TW_PENDINGXFERS = {", "    Count = [0]", "  }"}, "5"),
             Numbered(12, "DG_CONTROL/DAT_USERINTERFACE/MSG_DISABLEDS", "TWRC_SUCCESS", {}, "4"),
             // The monitor's own line says otherwise than the rules here.
             Numbered(13, "DG_CONTROL/DAT_IDENTITY/MSG_CLOSEDS", "TWRC_SUCCESS", {}, "4"),
         }) {
        s += readertest::Lines(call);
    }
    return s;
}

// The page's three data elements, parsed, with the string table their references point into.
struct Page {
    std::string html;
    rapidjson::Document rows, session, strings;

    explicit Page(std::string text) : html(std::move(text)) {
        Parse(rows, "twainlog-rows");
        Parse(session, "twainlog-session");
        Parse(strings, "twainlog-strings");
    }
    void Parse(rapidjson::Document& d, const std::string& id) {
        const std::string open = "<script type=\"application/json\" id=\"" + id + "\">";
        const std::size_t begin = html.find(open);
        ASSERT_NE(begin, std::string::npos) << id;
        const std::size_t end = html.find("</script>", begin);
        const std::string json = html.substr(begin + open.size(), end - begin - open.size());
        d.Parse(json.c_str(), json.size());
        ASSERT_FALSE(d.HasParseError()) << id << ": " << json.substr(0, 200);
    }
    std::string Text(const rapidjson::Value& ref) const {
        return ref.IsUint() ? strings[ref.GetUint()].GetString() : ref.GetString();
    }
    // A block of the compact form as the JSON `twainlog json` writes of it.
    std::string Block(const rapidjson::Value& node) const {
        rapidjson::StringBuffer buffer;
        twainlog::JsonWriter w(buffer);
        WriteNode(w, node);
        return buffer.GetString();
    }
    void WriteNode(twainlog::JsonWriter& w, const rapidjson::Value& node) const {
        if (!node.IsArray()) {
            twainlog::WriteString(w, Text(node));
        } else if (!node.Empty() && node[0].IsInt() && node[0].GetInt() == -1) {
            w.StartArray();
            for (rapidjson::SizeType k = 1; k < node.Size(); ++k) WriteNode(w, node[k]);
            w.EndArray();
        } else {
            w.StartObject();
            for (rapidjson::SizeType k = 0; k + 1 < node.Size(); k += 2) {
                twainlog::WriteKey(w, Text(node[k]));
                WriteNode(w, node[k + 1]);
            }
            w.EndObject();
        }
    }
    // An entry of the tables, each element as kinds says: 't' a text, '#' a number, 'a' a list.
    std::string Entry(const rapidjson::Value& e, const char* kinds) const {
        std::string s;
        for (rapidjson::SizeType k = 0; k < e.Size() && kinds[k] != 0; ++k) {
            if (k > 0) s += '|';
            s += kinds[k] == 't' ? Text(e[k]) : kinds[k] == 'a' ? std::string("[...]") : std::to_string(e[k].GetInt64());
        }
        return s;
    }
};

Page Report(const std::string& files) {
    auto run = Twainlog("report " + files + " -o -");
    EXPECT_EQ(run.status, 0) << run.err;
    return Page(run.out);
}

}  // namespace

TEST(Report, EmbeddedDataOfAScan) {
    const std::string text = ScanSession();
    TempFile file(text);
    Page page = Report("'" + file.Path() + "'");
    const auto& rows = page.rows;
    const auto parsed = readertest::Parse(text);
    ASSERT_EQ(rows.Size(), 14u);
    ASSERT_EQ(parsed.size(), 14u);

    // Each row: where it stands, what it is, the states after it, and its block as `json` has it.
    const int checkStates[] = {4, 4, 4, 4, 4, 4, 5, 6, 6, 7, 7, 5, 4, 3};
    const int monitorStates[] = {4, 4, 4, 4, -1, 4, 5, 6, 6, 7, 7, 5, 4, 4};
    for (rapidjson::SizeType i = 0; i < rows.Size(); ++i) {
        const auto& r = rows[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(r[0].GetUint(), 0u);
        EXPECT_EQ(r[1].GetUint64(), parsed[i].line);
        EXPECT_EQ(r[2].GetInt64(), parsed[i].hasSeq ? parsed[i].seq : -1);
        EXPECT_EQ(page.Text(r[4]), parsed[i].triplet);
        EXPECT_EQ(page.Text(r[5]), parsed[i].cap);
        EXPECT_EQ(page.Text(r[6]), parsed[i].rc);
        EXPECT_EQ(r[7].GetUint(), 1u << checkStates[i]);
        EXPECT_EQ(r[8].GetInt(), monitorStates[i]);
        EXPECT_EQ(r[9].GetUint(), i == 4 ? 1u : i == 7 ? 8u : 0u);  // failed; window event
        EXPECT_EQ(page.Text(r[10]), parsed[i].data);
        EXPECT_EQ(page.Block(r[11]), parsed[i].block);
    }
    EXPECT_EQ(page.Text(rows[0][3]), "APP");
    EXPECT_EQ(page.Text(rows[7][3]), "");

    const auto& s = page.session;
    EXPECT_EQ(s["files"][0]["name"].GetString(), file.Path());
    EXPECT_EQ(s["files"][0]["bytes"].GetUint64(), text.size());
    const auto& f = s["figures"];
    EXPECT_EQ(f["files"].GetUint(), 1u);
    EXPECT_EQ(f["calls"].GetUint(), 14u);
    EXPECT_EQ(f["highest"].GetUint(), 7u);
    EXPECT_EQ(f["end"].GetUint(), 3u);
    EXPECT_EQ(f["transfers"].GetUint(), 1u);
    EXPECT_EQ(f["failures"].GetUint(), 1u);
    EXPECT_EQ(f["errors"].GetUint(), 0u);
    EXPECT_EQ(f["warnings"].GetUint(), 1u);
    EXPECT_EQ(f["notes"].GetUint(), 0u);
    ASSERT_EQ(s["findings"].Size(), 1u);
    EXPECT_EQ(page.Entry(s["findings"][0], "##t##"), "4|1|call failed (TWRC_FAILURE): TWCC_BADVALUE|0|" + std::to_string(parsed[4].line));

    // The same answer twice is counted; a refusal carries the condition code asked after it.
    const auto& caps = s["capabilities"];
    ASSERT_EQ(caps.Size(), 3u);
    EXPECT_EQ(page.Text(caps[0]["cap"]), "ICAP_PIXELTYPE");
    ASSERT_EQ(caps[0]["reported"].Size(), 1u);
    EXPECT_EQ(page.Entry(caps[0]["reported"][0], "tttt###"), "MSG_GET|TWPT_BW, TWPT_GRAY, TWPT_RGB (current TWPT_RGB)|TWRC_SUCCESS||1|1|2");
    EXPECT_EQ(caps[0]["set"].Size(), 0u);
    EXPECT_EQ(page.Entry(caps[1]["set"][0], "tttt###"), "MSG_SET|300.000|TWRC_SUCCESS||1|3|1");
    EXPECT_EQ(page.Entry(caps[2]["set"][0], "tttt###"), "MSG_SET|9.000|TWRC_FAILURE|TWCC_BADVALUE|0|4|1");

    // From DAT_IMAGEINFO to MSG_ENDXFER; the memory buffers' bytes added up.
    ASSERT_EQ(s["transfers"].Size(), 1u);
    EXPECT_EQ(page.Entry(s["transfers"][0], "###tttttt#a#"), "0|8|11|DAT_IMAGEMEMXFER|TWRC_XFERDONE|300|150|24|TWPT_RGB|1500|[...]|4");
    const auto& calls = s["transfers"][0][10];
    ASSERT_EQ(calls.Size(), 4u);
    EXPECT_EQ(calls[0].GetUint(), 8u);
    EXPECT_EQ(calls[3].GetUint(), 11u);
}

TEST(Report, TextNeverBecomesMarkupAndBytesThatAreNotUtf8ComeOutAsInJson) {
    const std::string hostile = "</script><script>alert(1)</script><!-- <b>";
    const std::string longText(300, 'x');
    const std::string text = readertest::Lines(Numbered(1, "DG_CONTROL/DAT_IDENTITY/MSG_OPENDS", "TWRC_SUCCESS",
                                           {"  TW_IDENTITY = {", "    ProductName   = [" + hostile + "]",
                                            "    Manufacturer  = [Caf\xE9 \x8A]", "    ProductFamily = [" + longText + "]", "  }"},
                                           "4"));
    TempFile file(text);
    Page page = Report("'" + file.Path() + "'");

    // The page's own elements only: three data elements and its script, each closed once.
    std::size_t scripts = 0;
    for (std::size_t at = page.html.find("</script"); at != std::string::npos; at = page.html.find("</script", at + 1)) ++scripts;
    EXPECT_EQ(scripts, 4u);
    EXPECT_EQ(page.html.find("<!-- <b>"), std::string::npos);
    const std::size_t data = page.html.find("id=\"twainlog-rows\">");
    const std::size_t code = page.html.find("<script>", data);
    EXPECT_EQ(std::count(page.html.begin() + static_cast<long>(data), page.html.begin() + static_cast<long>(code), '<'), 5)
        << "only the data elements' own tags";

    // Read back, every text is what `twainlog json` gives: 0xE9 as U+00E9, 0x8A as U+008A.
    const auto parsed = readertest::Parse(text);
    EXPECT_EQ(page.Block(page.rows[0][11]), parsed[0].block);
    EXPECT_NE(parsed[0].block.find(hostile), std::string::npos);
    EXPECT_NE(parsed[0].block.find("Caf\xC3\xA9 \xC2\x8A"), std::string::npos);

    // The string table is bounded; texts beyond it stand where they occur.
    rapidjson::StringBuffer buffer;
    twainlog::JsonWriter w(buffer);
    twainlog::StringTable table;
    w.StartArray();
    for (std::size_t k = 0; k <= twainlog::StringTable::kMaxStrings; ++k) table.Write(w, "0x" + std::to_string(k));
    table.Write(w, "0x1");
    w.EndArray();
    EXPECT_EQ(table.Size(), twainlog::StringTable::kMaxStrings);
    const std::string out = buffer.GetString();
    EXPECT_EQ(out.substr(out.size() - 22), "\"0x65535\",\"0x65536\",2]");
}

TEST(Report, SeveralFilesMakeOnePageInOrder) {
    TempFile first(ScanSession());
    TempFile second("nonsense\r\n" + readertest::Lines(Numbered(1, "DG_CONTROL/DAT_IDENTITY/MSG_OPENDS", "TWRC_FAILURE", {}, "")));
    auto run = Twainlog("report '" + first.Path() + "' /nonexistent '" + second.Path() + "' -o -");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("/nonexistent: No such file or directory"), std::string::npos) << run.err;
    Page page(run.out);

    const auto& files = page.session["files"];
    ASSERT_EQ(files.Size(), 2u);
    EXPECT_EQ(files[1]["name"].GetString(), second.Path());
    EXPECT_EQ(files[1]["firstRow"].GetUint(), 14u);
    EXPECT_EQ(files[1]["rows"].GetUint(), 1u);
    EXPECT_EQ(files[1]["unreadable"].GetUint(), 1u);
    EXPECT_EQ(page.rows.Size(), 15u);
    EXPECT_EQ(page.rows[14][0].GetUint(), 1u);
    EXPECT_EQ(page.rows[14][1].GetUint(), 2u);
    // Each file is checked on its own: the second starts over in state 3 (or 2).
    EXPECT_EQ(page.rows[14][7].GetUint(), (1u << 2) | (1u << 3));
    const auto& figures = page.session["figures"];
    EXPECT_EQ(figures["files"].GetUint(), 2u);
    EXPECT_EQ(figures["failures"].GetUint(), 2u);
    EXPECT_EQ(figures["end"].GetUint(), 2u);
    // The unreadable line stands at no call; the failure at the second file's call.
    const auto& findings = page.session["findings"];
    ASSERT_EQ(findings.Size(), 3u);
    EXPECT_EQ(page.Entry(findings[1], "##t##"), "-1|1|unreadable line: line of no known shape|1|1");
    EXPECT_EQ(findings[2][0].GetInt(), 14);

    // Without -o, the page is the first file with .html; a page that cannot be written is trouble.
    EXPECT_EQ(twainlog::DefaultReportName("logs/Twainlog_1.txt"), "logs/Twainlog_1.html");
    EXPECT_EQ(twainlog::DefaultReportName("a.d/Twainlog"), "a.d/Twainlog.html");
    EXPECT_EQ(twainlog::DefaultReportName(".log"), ".log.html");
    run = Twainlog("report '" + first.Path() + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string written = first.Path() + ".html";
    EXPECT_EQ(testsupport::ReadFile(written).rfind("<!DOCTYPE html>", 0), 0u);
    ::unlink(written.c_str());
    run = Twainlog("report '" + first.Path() + "' -o /nonexistent/page.html");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("/nonexistent/page.html: No such file or directory"), std::string::npos) << run.err;
    run = Twainlog("report - < '" + first.Path() + "'");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(Twainlog("report --help").status, 0);
}
