// twainlog: reads, checks and compares TwainMonitor transcripts.
#include <fcntl.h>
#include <unistd.h>

#include <boost/program_options.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "CheckFeed.h"
#include "Diff.h"
#include "Json.h"
#include "Report.h"
#include "Summary.h"
#include "Transcript.h"

namespace po = boost::program_options;
using namespace twainlog;

namespace {

constexpr int kOk = 0, kFound = 1, kTrouble = 2;
// Unreadable lines reported one by one per file; the rest are counted.
constexpr std::size_t kUnreadableShown = 100;

const char* const kUsage =
    "usage: twainlog COMMAND [OPTIONS] [FILE...]\n"
    "\n"
    "Reads transcripts written by TwainMonitor.\n"
    "\n"
    "commands:\n"
    "  json      the call records as JSON Lines, one object per call\n"
    "  summary   calls, states, transfers, capabilities set, failures of each session\n"
    "  check     the TWAIN protocol rules applied to each session, as diagnostics\n"
    "  diff      two sessions' calls aligned, and what differs between them\n"
    "  report    one HTML page that shows the sessions at a glance\n"
    "\n"
    "`twainlog COMMAND --help` tells more.\n";

struct CommandHelp {
    const char* usage;
    const char* text;
};

// An input file, or standard input for "-".
class Input {
public:
    explicit Input(const std::string& name) : name_(name) {
        if (name == "-") {
            fd_ = 0;
            shown_ = "<stdin>";
        } else {
            fd_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
            error_ = fd_ < 0 ? errno : 0;
            shown_ = name;
        }
    }
    ~Input() {
        if (fd_ > 0) ::close(fd_);
    }
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;
    bool Ok() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    const std::string& Name() const { return shown_; }
    void Complain() const { std::fprintf(stderr, "twainlog: %s: %s\n", shown_.c_str(), std::strerror(error_)); }

private:
    std::string name_, shown_;
    int fd_ = -1;
    int error_ = 0;
};

// Tells how many unreadable lines a file had in all, when only the first few were shown.
void TellUnreadableTotal(const std::string& file, std::size_t all, std::size_t shown) {
    if (all > shown) {
        std::fprintf(stderr, "%s: warning: %zu unreadable lines in all, the first %zu shown\n", file.c_str(), all, shown);
    }
}

// Reports unreadable lines on standard error, "FILE:LINE: warning: ...", the first few of each file.
struct UnreadableReport {
    const std::string* file;
    std::size_t shown = 0;
    SessionSummary* summary = nullptr;
    bool quiet = false;

    static void Sink(void* context, const Parser::Unreadable& u) {
        auto* self = static_cast<UnreadableReport*>(context);
        if (self->summary != nullptr) self->summary->Unreadable(u.line);
        if (self->quiet || self->shown >= kUnreadableShown) return;
        ++self->shown;
        std::string text(u.text.substr(0, 60));
        for (char& c : text) {
            if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        }
        std::fprintf(stderr, "%s:%zu: warning: unreadable line (%s): %s\n", self->file->c_str(), u.line, u.why, text.c_str());
    }
    void Finish(const Parser& parser) const {
        if (!quiet) TellUnreadableTotal(*file, parser.UnreadableLines(), shown);
    }
};

bool ReadFailed(const Input& in, const Parser& parser) {
    if (!parser.ReadFailed()) return false;
    std::fprintf(stderr, "twainlog: %s:%zu: %s\n", in.Name().c_str(), parser.Lines() + 1,
                 std::strerror(parser.ReadError()));
    return true;
}

// Parses the options of one command, which takes the files it reads as its positional arguments
// ("file"); returns -1 to go on, or an exit status.
int ParseOptions(int argc, char** argv, po::options_description& options, po::variables_map& vm,
                 const CommandHelp& help) {
    options.add_options()("file", po::value<std::vector<std::string>>(), "transcript")("help,h", "show this help");
    po::positional_options_description positional;
    positional.add("file", -1);
    try {
        po::store(po::command_line_parser(argc, argv).options(options).positional(positional).run(), vm);
        po::notify(vm);
    } catch (const po::error& e) {
        std::fprintf(stderr, "twainlog: %s\n%s", e.what(), help.usage);
        return kTrouble;
    }
    if (vm.count("help")) {
        std::cout << help.usage << "\n" << help.text << "\n" << options;
        return kOk;
    }
    return -1;
}

std::vector<std::string> Files(const po::variables_map& vm, bool stdinWhenNone) {
    std::vector<std::string> files;
    if (vm.count("file")) files = vm["file"].as<std::vector<std::string>>();
    if (files.empty() && stdinWhenNone) files.push_back("-");
    return files;
}

// Reads the files in turn: read(in, parser) reads one that opened and returns its status (kOk,
// kFound or kTrouble); one that cannot be opened is reported and counts as kTrouble. Returns the
// worst status of them all.
template <typename ReadFile>
int ReadEach(const std::vector<std::string>& files, ReadFile read) {
    int status = kOk;
    for (const std::string& name : files) {
        Input in(name);
        if (!in.Ok()) {
            in.Complain();
            status = kTrouble;
            continue;
        }
        Parser parser(in.Fd());
        status = std::max(status, read(in, parser));
    }
    return status;
}

int Json(int argc, char** argv) {
    const CommandHelp help{
        "usage: twainlog json [FILE...]\n",
        "Writes every call record as one JSON object per line (JSON Lines), in file order, reading\n"
        "standard input when no FILE or '-' is given. Fields: file, line, seq, source, dg, dat, msg,\n"
        "cap, rc, data, state, failed, truncated, incomplete, event, block.\n"
        "\n"
        "example:\n"
        "  twainlog json Twainlog_20261207_101500_0001.txt | jq -c 'select(.rc == \"TWRC_FAILURE\")'\n"};
    po::options_description options("options");
    po::variables_map vm;
    int status = ParseOptions(argc, argv, options, vm, help);
    if (status >= 0) return status;
    JsonOut out(stdout);
    Record record;
    status = ReadEach(Files(vm, true), [&](const Input& in, Parser& parser) {
        UnreadableReport report{&in.Name()};
        parser.OnUnreadable(&UnreadableReport::Sink, &report);
        while (parser.Next(record)) {
            WriteRecord(out.Writer(), in.Name(), record);
            out.EndLine();
        }
        report.Finish(parser);
        return ReadFailed(in, parser) ? kTrouble : kOk;
    });
    out.Flush();
    return status;
}

int Summary(int argc, char** argv) {
    const CommandHelp help{
        "usage: twainlog summary [--json] FILE...\n",
        "Reports each session: calls in all and per triplet, the highest state and the state at the\n"
        "end, transfers with each image's size, capabilities set, failures with their condition code,\n"
        "truncated renderings, an incomplete last record and unreadable lines. Given several files,\n"
        "a total across them follows.\n"
        "\n"
        "example:\n"
        "  twainlog summary LOG/TWAIN/Twainlog_*.txt\n"};
    po::options_description options("options");
    options.add_options()("json", "the same as one JSON object ({\"files\": [...], \"total\": {...}} for several)");
    po::variables_map vm;
    int status = ParseOptions(argc, argv, options, vm, help);
    if (status >= 0) return status;
    const bool json = vm.count("json") > 0;
    const std::vector<std::string> files = Files(vm, true);
    JsonOut out(stdout);
    SummaryTotal total;
    Record record;
    const bool several = files.size() > 1;
    if (json && several) {
        out.Writer().StartObject();
        out.Writer().Key("files");
        out.Writer().StartArray();
    }
    status = ReadEach(files, [&](const Input& in, Parser& parser) {
        SessionSummary summary(in.Name());
        UnreadableReport report{&in.Name()};
        report.summary = &summary;
        report.quiet = true;  // the summary lists them
        parser.OnUnreadable(&UnreadableReport::Sink, &report);
        while (parser.Next(record)) summary.Add(record);
        const bool failed = ReadFailed(in, parser);
        summary.Finish(parser.Lines(), parser.Bytes());
        total.Add(summary);
        if (json) {
            summary.WriteJson(out.Writer());
            if (several) {
                out.Flush();  // the object grows file by file; what is written goes out
            } else {
                out.EndLine();
            }
        } else {
            summary.PrintText(stdout);
        }
        return failed ? kTrouble : kOk;
    });
    if (several) {
        if (json) {
            out.Writer().EndArray();
            out.Writer().Key("total");
            total.WriteJson(out.Writer());
            out.Writer().EndObject();
            out.EndLine();
        } else {
            std::printf("\n");
            total.PrintText(stdout);
        }
    }
    out.Flush();
    return status;
}

const char* SeverityName(check::Severity s) {
    switch (s) {
    case check::Severity::Note:
        return "note";
    case check::Severity::Warning:
        return "warning";
    case check::Severity::Error:
        return "error";
    }
    return "warning";
}

struct CheckOutput {
    JsonOut* json = nullptr;
    const std::string* file = nullptr;
    std::size_t unreadable = 0;

    void Finding(const check::Finding& f) {
        if (json == nullptr) {
            std::string line = check::FormatFinding(*file, f);
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
            return;
        }
        JsonWriter& w = json->Writer();
        w.StartObject();
        w.Key("file");
        WriteString(w, *file);
        w.Key("line");
        w.Uint64(f.line);
        w.Key("severity");
        w.String(SeverityName(f.severity));
        if (f.seq) {
            w.Key("seq");
            w.Int64(*f.seq);
        }
        if (!f.triplet.empty()) {
            w.Key("triplet");
            WriteString(w, f.triplet);
        }
        if (!f.cap.empty()) {
            w.Key("cap");
            WriteString(w, f.cap);
        }
        w.Key("message");
        WriteString(w, f.message);
        w.EndObject();
        json->EndLine();
    }

    static void Unreadable(void* context, const Parser::Unreadable& u) {
        auto* self = static_cast<CheckOutput*>(context);
        if (++self->unreadable > kUnreadableShown) return;
        check::Finding f;
        f.line = u.line;
        f.severity = check::Severity::Warning;
        f.message = std::string("unreadable line: ") + u.why;
        self->Finding(f);
    }
};

int Check(int argc, char** argv) {
    const CommandHelp help{
        "usage: twainlog check [--json] FILE...\n",
        "Applies the TWAIN protocol rules to each recorded session and reports what is wrong like a\n"
        "compiler: FILE:LINE: error|warning|note: [seq] DG/DAT/MSG (CAP): message. The TWAIN state is\n"
        "derived from the recorded calls and their return codes (a transcript starts in state 3).\n"
        "Exit status: 0 nothing wrong, 1 errors found, 2 an input could not be read.\n"
        "\n"
        "example:\n"
        "  twainlog check Twainlog_20261207_101500_0001.txt\n"};
    po::options_description options("options");
    options.add_options()("json", "one JSON object per finding");
    po::variables_map vm;
    int status = ParseOptions(argc, argv, options, vm, help);
    if (status >= 0) return status;
    const bool json = vm.count("json") > 0;
    JsonOut out(stdout);
    Record record;
    check::Call call;
    status = ReadEach(Files(vm, true), [&](const Input& in, Parser& parser) {
        CheckOutput output;
        output.json = json ? &out : nullptr;
        output.file = &in.Name();
        check::SessionChecker checker([&output](const check::Finding& f) { output.Finding(f); });
        parser.OnUnreadable(&CheckOutput::Unreadable, &output);
        while (parser.Next(record)) {
            FillCall(record, call);
            checker.Add(call);
        }
        if (ReadFailed(in, parser)) return kTrouble;
        checker.Finish();
        out.Flush();
        TellUnreadableTotal(in.Name(), output.unreadable, std::min(output.unreadable, kUnreadableShown));
        if (!json) {
            std::printf("%s: %d errors, %zu warnings\n", in.Name().c_str(), checker.Errors(),
                        static_cast<std::size_t>(checker.Warnings()) + output.unreadable);
        }
        return checker.Errors() > 0 ? kFound : kOk;
    });
    out.Flush();
    return status;
}

int Diff(int argc, char** argv) {
    const CommandHelp help{
        "usage: twainlog diff A B\n",
        "Aligns the calls of two sessions by triplet and capability (a longest common subsequence),\n"
        "then prints only what differs: '-' a call only in A, '+' only in B, '~' aligned calls whose\n"
        "return code, state or field values differ (shown as A | B). Pointers, handles and sequence\n"
        "numbers never count. Exit status: 0 the sessions match, 1 they differ, 2 trouble.\n"
        "\n"
        "example:\n"
        "  twainlog diff works.txt fails.txt\n"};
    po::options_description options("options");
    po::variables_map vm;
    int status = ParseOptions(argc, argv, options, vm, help);
    if (status >= 0) return status;
    const std::vector<std::string> files = Files(vm, false);
    if (files.size() != 2) {
        std::fprintf(stderr, "twainlog diff: two files are needed\n%s", help.usage);
        return kTrouble;
    }
    std::string error;
    status = DiffFiles(files[0], files[1], stdout, error);
    if (status == kTrouble) std::fprintf(stderr, "twainlog: %s\n", error.c_str());
    return status;
}

int Report(int argc, char** argv) {
    const CommandHelp help{
        "usage: twainlog report FILE... [-o OUT.html]\n",
        "Writes one HTML page that shows the sessions at a glance: their figures, the TWAIN state\n"
        "against the calls (as `check` derives it) with failures and findings marked, every call with\n"
        "its data block, the capabilities negotiated and the images transferred. The page holds\n"
        "everything it shows and opens from disk in any current browser. Several files give one page,\n"
        "the files in order. Without -o the page is the first FILE with its extension made .html.\n"
        "\n"
        "example:\n"
        "  twainlog report Twainlog_20261207_101612_0002.txt   # writes Twainlog_20261207_101612_0002.html\n"};
    po::options_description options("options");
    options.add_options()("output,o", po::value<std::string>(), "the page to write ('-': standard output)");
    po::variables_map vm;
    int status = ParseOptions(argc, argv, options, vm, help);
    if (status >= 0) return status;
    const std::vector<std::string> files = Files(vm, false);
    if (files.empty()) {
        std::fprintf(stderr, "twainlog report: a FILE is needed\n%s", help.usage);
        return kTrouble;
    }
    std::string output = vm.count("output") ? vm["output"].as<std::string>() : std::string();
    if (output.empty()) {
        if (files[0] == "-") {
            std::fprintf(stderr, "twainlog report: reading standard input, -o OUT.html is needed\n");
            return kTrouble;
        }
        output = DefaultReportName(files[0]);
    }
    PageOutput page;
    std::string error;
    if (!page.Open(output, error)) {
        std::fprintf(stderr, "twainlog: %s\n", error.c_str());
        return kTrouble;
    }
    ReportWriter report(page.File());
    Record record;
    status = ReadEach(files, [&](const Input& in, Parser& parser) {
        report.StartFile(in.Name());
        parser.OnUnreadable(&ReportWriter::Unreadable, &report);
        while (parser.Next(record)) report.Add(record);
        const bool failed = ReadFailed(in, parser);
        report.EndFile(parser.Lines(), parser.Bytes(), failed ? std::strerror(parser.ReadError()) : "");
        return failed ? kTrouble : kOk;
    });
    report.Finish();
    if (!page.Commit(error)) {
        std::fprintf(stderr, "twainlog: %s\n", error.c_str());
        return kTrouble;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return kTrouble;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return kOk;
    }
    // The command's own options follow its name.
    argv[1] = argv[0];
    try {
        if (command == "json") return Json(argc - 1, argv + 1);
        if (command == "summary") return Summary(argc - 1, argv + 1);
        if (command == "check") return Check(argc - 1, argv + 1);
        if (command == "diff") return Diff(argc - 1, argv + 1);
        if (command == "report") return Report(argc - 1, argv + 1);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "twainlog: %s\n", e.what());
        return kTrouble;
    }
    std::fprintf(stderr, "twainlog: unknown command '%s'\n%s", command.c_str(), kUsage);
    return kTrouble;
}
