// libFuzzer target: any bytes read as a transcript. The parser must neither crash nor read out of
// bounds, every record must come out as valid JSON in valid UTF-8, the records must be the same
// whatever the size of the blocks the file is read in, and the summary and the protocol rules
// must take every record.
#include <sys/mman.h>
#include <unistd.h>

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CheckFeed.h"
#include "Json.h"
#include "Summary.h"
#include "Transcript.h"

namespace {

void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "transcript_fuzzer: %s\n%s\n", what, detail.c_str());
    std::abort();
}

void CountUnreadable(void* context, const twainlog::Parser::Unreadable& u) {
    auto* lines = static_cast<std::vector<std::size_t>*>(context);
    lines->push_back(u.line);
}

struct Outcome {
    std::string json;  // all records, one per line
    std::vector<std::size_t> unreadable;
    std::size_t lines = 0;
};

Outcome Read(int fd, std::size_t blockSize, bool feedRules) {
    ::lseek(fd, 0, SEEK_SET);
    Outcome outcome;
    twainlog::Parser parser(fd, blockSize, 256, 1 << 13);
    parser.OnUnreadable(&CountUnreadable, &outcome.unreadable);
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
        }
    }
    if (feedRules) {
        checker.Finish();
        summary.Finish(parser.Lines(), parser.Bytes());
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
