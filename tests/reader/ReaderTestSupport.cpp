#include "ReaderTestSupport.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "Json.h"

namespace readertest {

TempFile::TempFile(const std::string& text) {
    char name[] = "/tmp/twainlog_test_XXXXXX";
    int fd = ::mkstemp(name);
    if (fd < 0) std::abort();
    path_ = name;
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

TempFile::~TempFile() { ::unlink(path_.c_str()); }

namespace {

void Collect(void* context, const twainlog::Parser::Unreadable& u) {
    auto* out = static_cast<std::vector<std::pair<std::size_t, std::string>>*>(context);
    out->emplace_back(u.line, u.why);
}

}  // namespace

std::vector<Simple> Parse(const std::string& text, std::vector<std::pair<std::size_t, std::string>>* unreadable) {
    TempFile file(text);
    int fd = ::open(file.Path().c_str(), O_RDONLY);
    twainlog::Parser parser(fd);
    std::vector<std::pair<std::size_t, std::string>> ignored;
    parser.OnUnreadable(&Collect, unreadable != nullptr ? unreadable : &ignored);
    std::vector<Simple> out;
    twainlog::Record r;
    while (parser.Next(r)) {
        Simple s{r.line,
                 r.event,
                 r.hasSeq,
                 r.seq,
                 std::string(r.source),
                 r.Triplet(),
                 std::string(r.cap),
                 std::string(r.rc),
                 std::string(r.data),
                 r.hasState,
                 r.state,
                 r.failed,
                 r.truncated,
                 r.incomplete,
                 {},
                 {},
                 {}};
        rapidjson::StringBuffer buffer;
        twainlog::JsonWriter writer(buffer);
        twainlog::WriteRecord(writer, "f", r);
        s.json = buffer.GetString();
        std::size_t at = s.json.find("\"block\":");
        s.block = s.json.substr(at + 8, s.json.size() - at - 9);
        for (const twainlog::BlockLine& line : r.block) s.text.append(line.text).append("\r\n");
        out.push_back(std::move(s));
    }
    ::close(fd);
    return out;
}

Run Twainlog(const std::string& arguments) {
    char errName[] = "/tmp/twainlog_err_XXXXXX";
    int errFd = ::mkstemp(errName);
    ::close(errFd);
    const std::string command = std::string("'") + TWAINLOG_PATH + "' " + arguments + " 2>'" + errName + "'";
    Run run{0, {}, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = testsupport::ReadFile(errName);
    ::unlink(errName);
    return run;
}

}  // namespace readertest
