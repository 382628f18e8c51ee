// `twainlog report`: one HTML page that shows sessions at a glance.
//
// The page is the reader's own HTML, CSS and JavaScript (Reader/report/, compiled in) with the
// sessions' data embedded as JSON in three <script type="application/json"> elements, written as
// the records are read:
//
//   twainlog-rows     one array per record, in file order (the row numbers count from 0 across
//                     all files): [file, line, seq (-1: none), source, "DG/DAT/MSG", cap, rc,
//                     check's states after the call (bit s for state s), the monitor's state line
//                     (-1: none), flags (1 failed, 2 truncated, 4 incomplete, 8 window event),
//                     data pointer, block]
//   twainlog-session  {"files": [...], "figures": {...}, "findings": [[row (-1: none), severity
//                     (0 note, 1 warning, 2 error), message, file, line], ...], "capabilities",
//                     "transfers" (ReportTables.h), and the counts of what was not listed}
//   twainlog-strings  the string table the references point into (ReportEncoding.h)
#ifndef TWAINLOG_REPORT_H
#define TWAINLOG_REPORT_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ReportEncoding.h"
#include "ReportTables.h"
#include "Transcript.h"
#include "check/SessionCheck.h"

namespace twainlog {

class ReportWriter {
public:
    // Findings kept for the page; beyond, only counted.
    static constexpr std::size_t kMaxFindings = 200000;
    // Unreadable lines listed per file; beyond, only counted.
    static constexpr std::size_t kMaxUnreadable = 1000;

    // Writes the page's head at once.
    explicit ReportWriter(std::FILE* out);
    ~ReportWriter();
    ReportWriter(const ReportWriter&) = delete;
    ReportWriter& operator=(const ReportWriter&) = delete;

    void StartFile(const std::string& name);
    void Add(const Record& record);
    static void Unreadable(void* self, const Parser::Unreadable& u);  // a Parser::UnreadableSink
    // readError: the text of a read error that ended the file early, or empty.
    void EndFile(std::size_t lines, std::uint64_t bytes, const std::string& readError);
    // Writes the rest of the page.
    void Finish();

private:
    struct File {
        std::string name, readError;
        std::size_t firstRow = 0, rows = 0, lines = 0;
        std::uint64_t bytes = 0;
        int highest = 0, end = 0;
        std::size_t failures = 0, unreadable = 0;
        std::size_t findings[3] = {0, 0, 0};  // by severity
    };
    struct Kept {
        long row;  // -1: at no record (an unreadable line)
        check::Severity severity;
        std::string message;
        std::size_t file, line;
    };
    void OnFinding(const check::Finding& f);
    void Keep(long row, check::Severity severity, std::string message, std::size_t line);
    void WriteSession(JsonWriter& w);

    std::FILE* out_;
    ScriptJson json_;
    StringTable strings_;
    CapabilityTable caps_;
    ContainerFields container_;  // the current record's, when it is a capability call
    TransferTable transfers_;
    std::vector<File> files_;
    std::size_t rows_ = 0;
    std::vector<std::size_t> fileLines_;  // the current file's records' lines, for its findings
    std::unique_ptr<check::SessionChecker> checker_;
    check::Call call_;
    std::string triplet_;
    std::vector<Kept> findings_;
    std::size_t findingsNotListed_ = 0;
};

// The page a report of path goes to by default: its extension (if any) replaced by ".html".
std::string DefaultReportName(const std::string& path);

// Where the page is written: standard output for "-"; else a temporary file beside path, renamed to
// path once complete, so that a page is never left half written and an input named as the output
// is read whole before it is replaced.
class PageOutput {
public:
    PageOutput() = default;
    ~PageOutput();
    PageOutput(const PageOutput&) = delete;
    PageOutput& operator=(const PageOutput&) = delete;
    bool Open(const std::string& path, std::string& error);
    std::FILE* File() const { return file_; }
    bool Commit(std::string& error);

private:
    std::string path_, temporary_;
    std::FILE* file_ = nullptr;
};

}  // namespace twainlog

#endif  // TWAINLOG_REPORT_H
