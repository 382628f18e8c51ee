// Helpers of the reader's tests (and of the monitor's end-to-end tests that read a transcript record
// by record): transcripts written by hand, parsed in process or by the program.
#ifndef TWAINLOG_READERTESTSUPPORT_H
#define TWAINLOG_READERTESTSUPPORT_H

#include <cstdio>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "Transcript.h"

namespace readertest {

// Joins lines with CR LF, each line ended, as the monitor writes them.
using testsupport::Lines;

// A temporary file holding text, removed at the end of the scope.
class TempFile {
public:
    explicit TempFile(const std::string& text);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Parses text; each record's fields copied, with its JSON as `twainlog json` writes it (file "f").
struct Simple {
    std::size_t line;
    bool event, hasSeq;
    long seq;
    std::string source, triplet, cap, rc, data;
    bool hasState;
    int state;
    bool failed, truncated, incomplete;
    std::string json;  // the whole record as JSON
    std::string block;  // the "block" object alone, as JSON
    std::string text;   // the data block's lines as written, each ended with CR LF
};
std::vector<Simple> Parse(const std::string& text, std::vector<std::pair<std::size_t, std::string>>* unreadable = nullptr);

struct Run {
    int status;
    std::string out, err;
};
// Runs the built twainlog with arguments (already quoted as needed).
Run Twainlog(const std::string& arguments);

}  // namespace readertest

#endif  // TWAINLOG_READERTESTSUPPORT_H
