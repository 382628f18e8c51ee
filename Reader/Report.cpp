#include "Report.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Block.h"
#include "CheckFeed.h"
#include "ReportPage.h"

namespace twainlog {

namespace {

constexpr char kRowsOpen[] = "<script type=\"application/json\" id=\"twainlog-rows\">";
constexpr char kSessionOpen[] = "</script>\n<script type=\"application/json\" id=\"twainlog-session\">";
constexpr char kStringsOpen[] = "</script>\n<script type=\"application/json\" id=\"twainlog-strings\">";
constexpr char kDataClose[] = "</script>\n";

enum RowFlag : unsigned { kFailed = 1, kTruncated = 2, kIncomplete = 4, kEvent = 8 };

template <std::size_t N>
void WritePiece(std::FILE* out, const char (&text)[N]) {
    std::fwrite(text, 1, N - 1, out);
}

template <std::size_t N>
void WritePieces(std::FILE* out, const std::string_view (&pieces)[N]) {
    for (std::string_view piece : pieces) std::fwrite(piece.data(), 1, piece.size(), out);
}

// The lowest of a set of states (bit s for state s); 0 for none. The state the session has surely
// reached when the transcript cannot tell which of several it is in.
int Lowest(std::uint8_t states) {
    for (int s = 1; s <= 7; ++s) {
        if ((states & (1u << s)) != 0) return s;
    }
    return 0;
}

void WriteCount(JsonWriter& w, const char* key, std::uint64_t n) {
    w.Key(key);
    w.Uint64(n);
}

}  // namespace

ReportWriter::ReportWriter(std::FILE* out) : out_(out), json_(out) {
    WritePieces(out_, reportpage::kHead);
    WritePiece(out_, kRowsOpen);
    json_.Writer().StartArray();
}

ReportWriter::~ReportWriter() = default;

void ReportWriter::StartFile(const std::string& name) {
    File file;
    file.name = name;
    file.firstRow = rows_;
    files_.push_back(std::move(file));
    fileLines_.clear();
    checker_ = std::make_unique<check::SessionChecker>([this](const check::Finding& f) { OnFinding(f); });
}

void ReportWriter::Add(const Record& r) {
    File& file = files_.back();
    const std::size_t row = rows_++;
    ++file.rows;
    fileLines_.push_back(r.line);

    FillCall(r, call_);
    checker_->Add(call_);
    const std::uint8_t states = checker_->States();
    file.highest = std::max(file.highest, Lowest(states));
    file.end = Lowest(states);
    const bool failed = CallFailed(r);
    if (failed) ++file.failures;
    transfers_.Add(r, row, files_.size() - 1);

    unsigned flags = 0;
    if (failed) flags |= kFailed;
    if (r.truncated) flags |= kTruncated;
    if (r.incomplete) flags |= kIncomplete;
    if (r.event) flags |= kEvent;
    JsonWriter& w = json_.Writer();
    w.StartArray();
    w.Uint64(files_.size() - 1);
    w.Uint64(r.line);
    w.Int64(r.hasSeq ? r.seq : -1);
    strings_.Write(w, r.source);
    triplet_.assign(r.dg).append(1, '/').append(r.dat).append(1, '/').append(r.msg);
    strings_.Write(w, triplet_);
    strings_.Write(w, r.cap);
    strings_.Write(w, r.rc);
    w.Uint(states);
    w.Int(r.hasState ? r.state : -1);
    w.Uint(flags);
    strings_.Write(w, r.data);
    const bool capability = r.dat == "DAT_CAPABILITY";
    if (capability) container_.Clear();
    WriteBlock(w, strings_, r.block, capability ? &container_ : nullptr);
    w.EndArray();
    json_.FlushWhenFull();
    caps_.Add(r, row, container_);
}

void ReportWriter::Unreadable(void* self, const Parser::Unreadable& u) {
    auto* report = static_cast<ReportWriter*>(self);
    File& file = report->files_.back();
    ++file.unreadable;
    ++file.findings[static_cast<int>(check::Severity::Warning)];
    if (file.unreadable <= kMaxUnreadable) {
        report->Keep(-1, check::Severity::Warning, std::string("unreadable line: ") + u.why, u.line);
    }
}

void ReportWriter::OnFinding(const check::Finding& f) {
    File& file = files_.back();
    ++file.findings[static_cast<int>(f.severity)];
    // Findings are reported at the line of the record they concern.
    auto after = std::upper_bound(fileLines_.begin(), fileLines_.end(), f.line);
    const long row = after == fileLines_.begin() ? -1 : static_cast<long>(file.firstRow + (after - fileLines_.begin()) - 1);
    Keep(row, f.severity, f.message, f.line);
}

void ReportWriter::Keep(long row, check::Severity severity, std::string message, std::size_t line) {
    if (findings_.size() >= kMaxFindings) {
        ++findingsNotListed_;
        return;
    }
    findings_.push_back(Kept{row, severity, std::move(message), files_.size() - 1, line});
}

void ReportWriter::EndFile(std::size_t lines, std::uint64_t bytes, const std::string& readError) {
    File& file = files_.back();
    // A file read only in part says nothing about how the session ended.
    if (readError.empty()) checker_->Finish();
    checker_.reset();
    caps_.EndFile();
    transfers_.EndFile();
    file.lines = lines;
    file.bytes = bytes;
    file.readError = readError;
}

void ReportWriter::Finish() {
    json_.Writer().EndArray();
    json_.Flush();
    WritePiece(out_, kSessionOpen);
    json_.Restart();
    WriteSession(json_.Writer());
    json_.Flush();
    WritePiece(out_, kStringsOpen);
    json_.Restart();
    strings_.WriteTable(json_.Writer());
    json_.Flush();
    WritePiece(out_, kDataClose);
    WritePieces(out_, reportpage::kTail);
}

void ReportWriter::WriteSession(JsonWriter& w) {
    w.StartObject();
    w.Key("files");
    w.StartArray();
    int highest = 0;
    std::size_t failures = 0, findings[3] = {0, 0, 0};
    for (const File& f : files_) {
        w.StartObject();
        WriteStr(w, "name", f.name);
        WriteCount(w, "firstRow", f.firstRow);
        WriteCount(w, "rows", f.rows);
        WriteCount(w, "lines", f.lines);
        WriteCount(w, "bytes", f.bytes);
        WriteCount(w, "highest", static_cast<std::uint64_t>(f.highest));
        WriteCount(w, "end", static_cast<std::uint64_t>(f.end));
        WriteCount(w, "failures", f.failures);
        WriteCount(w, "unreadable", f.unreadable);
        WriteCount(w, "notes", f.findings[0]);
        WriteCount(w, "warnings", f.findings[1]);
        WriteCount(w, "errors", f.findings[2]);
        if (!f.readError.empty()) WriteStr(w, "readError", f.readError);
        w.EndObject();
        highest = std::max(highest, f.highest);
        failures += f.failures;
        for (int s = 0; s < 3; ++s) findings[s] += f.findings[s];
    }
    w.EndArray();

    w.Key("figures");
    w.StartObject();
    WriteCount(w, "files", files_.size());
    WriteCount(w, "calls", rows_);
    WriteCount(w, "highest", static_cast<std::uint64_t>(highest));
    WriteCount(w, "end", static_cast<std::uint64_t>(files_.empty() ? 0 : files_.back().end));
    WriteCount(w, "transfers", transfers_.Done());
    WriteCount(w, "cancelled", transfers_.Cancelled());
    WriteCount(w, "failures", failures);
    WriteCount(w, "notes", findings[0]);
    WriteCount(w, "warnings", findings[1]);
    WriteCount(w, "errors", findings[2]);
    w.EndObject();

    w.Key("findings");
    w.StartArray();
    for (const Kept& f : findings_) {
        w.StartArray();
        w.Int64(f.row);
        w.Int(static_cast<int>(f.severity));
        strings_.Write(w, f.message);
        w.Uint64(f.file);
        w.Uint64(f.line);
        w.EndArray();
    }
    w.EndArray();
    WriteCount(w, "findingsNotListed", findingsNotListed_);

    w.Key("capabilities");
    caps_.Write(w, strings_);
    WriteCount(w, "capabilityCallsNotListed", caps_.NotListed());
    w.Key("transfers");
    transfers_.Write(w, strings_);
    WriteCount(w, "transfersNotListed", transfers_.NotListed());
    w.EndObject();
}

// ---- Output ------------------------------------------------------------------------------------

std::string DefaultReportName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > base) return path.substr(0, dot) + ".html";
    return path + ".html";
}

PageOutput::~PageOutput() {
    if (file_ != nullptr && file_ != stdout) {
        std::fclose(file_);
        ::unlink(temporary_.c_str());
    }
}

bool PageOutput::Open(const std::string& path, std::string& error) {
    path_ = path;
    if (path == "-") {
        file_ = stdout;
        return true;
    }
    temporary_ = path + ".XXXXXX";
    const int fd = ::mkstemp(&temporary_[0]);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; the page gets the mode any new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        error = path + ": " + std::strerror(errno);
        ::close(fd);
        ::unlink(temporary_.c_str());
        return false;
    }
    return true;
}

bool PageOutput::Commit(std::string& error) {
    std::FILE* file = file_;
    file_ = nullptr;
    const bool written = std::fflush(file) == 0 && std::ferror(file) == 0;
    const int writeError = errno;
    if (file == stdout) {
        if (!written) error = std::string("standard output: ") + std::strerror(writeError);
        return written;
    }
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = path_ + ": " + std::strerror(written ? errno : writeError);
        ::unlink(temporary_.c_str());
        return false;
    }
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        error = path_ + ": " + std::strerror(errno);
        ::unlink(temporary_.c_str());
        return false;
    }
    return true;
}

}  // namespace twainlog
