// libFuzzer target: any bytes read as a transcript. The parser must neither crash nor read out of
// bounds, every record must come out as valid JSON in valid UTF-8, the records must be the same
// whatever the size of the blocks the file is read in, and the summary, the protocol rules and the
// report page must take every record; each of the page's data elements must hold valid JSON in
// valid UTF-8 that no text of the transcript ends early.
#include <sys/mman.h>
#include <unistd.h>

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CheckFeed.h"
#include "Json.h"
#include "Report.h"
#include "Summary.h"
#include "Transcript.h"

namespace {

void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "transcript_fuzzer: %s\n%s\n", what, detail.c_str());
    std::abort();
}

struct Outcome {
    std::string json;  // all records, one per line
    std::vector<std::size_t> unreadable;
    std::size_t lines = 0;
    twainlog::ReportWriter* report = nullptr;  // takes the unreadable lines too, when given
};

void CountUnreadable(void* context, const twainlog::Parser::Unreadable& u) {
    auto* outcome = static_cast<Outcome*>(context);
    outcome->unreadable.push_back(u.line);
    if (outcome->report != nullptr) twainlog::ReportWriter::Unreadable(outcome->report, u);
}

// The report page's data: each of its three elements holds JSON, valid in valid UTF-8, up to its
// own end tag (a '<' of the transcript's texts is escaped, so none can end it early).
void CheckPage(const std::string& page) {
    std::size_t at = 0;
    for (const char* id : {"twainlog-rows", "twainlog-session", "twainlog-strings"}) {
        const std::string open = std::string("<script type=\"application/json\" id=\"") + id + "\">";
        const std::size_t begin = page.find(open, at);
        if (begin == std::string::npos) Fail("the page lacks a data element", id);
        const std::size_t start = begin + open.size();
        at = page.find('<', start);
        if (at == std::string::npos || page.compare(at, 9, "</script>") != 0) Fail("a data element ends early", id);
        rapidjson::Document document;
        document.Parse<rapidjson::kParseValidateEncodingFlag>(page.data() + start, at - start);
        if (document.HasParseError()) Fail(rapidjson::GetParseError_En(document.GetParseError()), page.substr(start, at - start));
    }
}

// Reads the input in blocks of blockSize. With feedRules the records also go to the summary, the
// protocol rules and the report, whose page is checked.
Outcome Read(int fd, std::size_t blockSize, bool feedRules) {
    ::lseek(fd, 0, SEEK_SET);
    Outcome outcome;
    char* page = nullptr;
    std::size_t pageSize = 0;
    std::FILE* pageFile = nullptr;
    std::unique_ptr<twainlog::ReportWriter> report;
    if (feedRules) {
        pageFile = ::open_memstream(&page, &pageSize);
        if (pageFile == nullptr) std::abort();
        report = std::make_unique<twainlog::ReportWriter>(pageFile);
        report->StartFile("fuzz");
        outcome.report = report.get();
    }
    twainlog::Parser parser(fd, blockSize, 256, 1 << 13);
    parser.OnUnreadable(&CountUnreadable, &outcome);
    twainlog::Record record;
    twainlog::SessionSummary summary("fuzz");
    twainlog::check::SessionChecker checker([](const twainlog::check::Finding& f) {
        (void)twainlog::check::FormatFinding("fuzz", f);
    });
    twainlog::check::Call call;
    std::size_t lastLine = 0;
    while (parser.Next(record)) {
        if (record.line < lastLine || record.line == 0) Fail("records out of line order", std::to_string(record.line));
        lastLine = record.line;
        rapidjson::StringBuffer buffer;
        twainlog::JsonWriter writer(buffer);
        twainlog::WriteRecord(writer, "fuzz", record);
        if (!writer.IsComplete()) Fail("unfinished JSON", buffer.GetString());
        rapidjson::Document document;
        document.Parse<rapidjson::kParseValidateEncodingFlag>(buffer.GetString(), buffer.GetSize());
        if (document.HasParseError()) Fail(rapidjson::GetParseError_En(document.GetParseError()), buffer.GetString());
        outcome.json.append(buffer.GetString(), buffer.GetSize()).push_back('\n');
        if (feedRules) {
            summary.Add(record);
            twainlog::FillCall(record, call);
            checker.Add(call);
            report->Add(record);
        }
    }
    if (feedRules) {
        checker.Finish();
        summary.Finish(parser.Lines(), parser.Bytes());
        report->EndFile(parser.Lines(), parser.Bytes(), "");
        report->Finish();
        report.reset();
        outcome.report = nullptr;
        if (std::fclose(pageFile) != 0) std::abort();
        CheckPage(std::string(page, pageSize));
        std::free(page);
    }
    outcome.lines = parser.Lines();
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int fd = [] {
        int f = ::memfd_create("transcript", 0);
        if (f < 0) std::abort();
        return f;
    }();
    if (::ftruncate(fd, 0) != 0) std::abort();
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
    const Outcome large = Read(fd, 1 << 12, true);
    const Outcome small = Read(fd, 256, false);
    if (large.json != small.json) Fail("records depend on the block size", large.json + "\n---\n" + small.json);
    if (large.unreadable != small.unreadable || large.lines != small.lines) Fail("unreadable lines depend on the block size", "");
    return 0;
}
