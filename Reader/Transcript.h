// The streaming reader of a transcript: lines in, call records out, one record at a time.
#ifndef TWAINLOG_TRANSCRIPT_H
#define TWAINLOG_TRANSCRIPT_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace twainlog {

// One line of a record's data block, as written (leading blanks kept, line end removed).
struct BlockLine {
    std::string_view text;
    std::size_t line = 0;
};

// One call record. Every view points into the parser's own storage and stays valid until the
// parser's next Next().
struct Record {
    std::size_t line = 0;       // 1-based line of the triplet line (of the result line for an event)
    bool event = false;         // a claimed window event: no triplet line, no number
    bool hasSeq = false;
    long seq = 0;
    std::string_view source;    // "APP"
    std::string_view dg, dat, msg;
    bool hasCap = false;        // the triplet line names a capability (in parentheses)
    std::string_view cap;
    bool hasRc = false;
    std::string_view rc;        // "TWRC_SUCCESS"
    bool hasData = false;
    std::string_view data;      // "0x5a1c2e40"
    bool hasState = false;
    int state = 0;
    bool failed = false;        // the failure lines follow
    bool truncated = false;     // the rendering was cut ("Size of CAP_xxx too long")
    bool incomplete = false;    // the record stops early
    std::vector<BlockLine> block;

    std::string Triplet() const;  // "DG/DAT/MSG"
};

// Reads a file (or any descriptor) in large blocks and hands out its lines without their line
// ends (LF or CR LF). A line longer than the buffer is cut; the rest up to its line end is skipped.
class LineSource {
public:
    static constexpr std::size_t kBlock = 1 << 20;
    static constexpr std::size_t kMaxLine = 1 << 16;
    // blockSize and maxLine other than the defaults serve the tests (maxLine <= blockSize).
    explicit LineSource(int fd, std::size_t blockSize = kBlock, std::size_t maxLine = kMaxLine);
    // The next line, or false at the end. The view is valid until the following call. cut is set
    // when the line was longer than kMaxLine.
    bool Next(std::string_view& line, bool& cut);
    bool Failed() const { return error_ != 0; }
    int Error() const { return error_; }
    std::uint64_t BytesRead() const { return bytesRead_; }

private:
    bool Fill();
    int fd_;
    std::size_t maxLine_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0, end_ = 0;
    bool eof_ = false;
    bool skipping_ = false;
    int error_ = 0;
    std::uint64_t bytesRead_ = 0;
};

class Parser {
public:
    // Lines that belong to no record, reported with their 1-based line number.
    struct Unreadable {
        std::size_t line;
        std::string_view text;
        const char* why;
    };
    using UnreadableSink = void (*)(void* context, const Unreadable&);

    explicit Parser(int fd, std::size_t blockSize = LineSource::kBlock, std::size_t maxLine = LineSource::kMaxLine);
    void OnUnreadable(UnreadableSink sink, void* context) { sink_ = sink; sinkContext_ = context; }
    // Fills record with the next call record; false at the end of the input.
    bool Next(Record& record);
    std::size_t Lines() const { return lineNo_; }
    std::size_t UnreadableLines() const { return unreadable_; }
    std::uint64_t Bytes() const { return source_.BytesRead(); }
    bool ReadFailed() const { return source_.Failed(); }
    int ReadError() const { return source_.Error(); }

private:
    enum class Kind : std::uint8_t { Triplet, Result, Data, Block, State, FailStart, FailEnd };
    struct Stored {
        std::uint32_t offset, length;
        std::size_t line;
        Kind kind;
    };
    bool TakeLine(std::string_view& line, std::size_t& lineNo);
    // Returns true when the line ends the current record (it starts the next one).
    bool Feed(std::string_view line, std::size_t lineNo);
    void Store(std::string_view line, std::size_t lineNo, Kind kind);
    void Reject(std::string_view line, std::size_t lineNo, const char* why);
    void Start(std::string_view line, std::size_t lineNo, bool event);
    void Finish(Record& record);

    LineSource source_;
    UnreadableSink sink_ = nullptr;
    void* sinkContext_ = nullptr;
    std::size_t lineNo_ = 0;
    std::size_t unreadable_ = 0;

    // A line (or the rest of one, after the overflow message) read but not yet fed.
    bool hasPending_ = false;
    std::string_view pending_;
    std::size_t pendingLine_ = 0;

    // The record being read.
    bool open_ = false;
    bool event_ = false;
    std::size_t recordLine_ = 0;
    bool hasResult_ = false, hasData_ = false, stateSeen_ = false;
    bool failStart_ = false, failEnd_ = false, truncated_ = false;
    std::uint64_t reportBytes_ = 0;  // bytes of the report so far, counting CR LF line ends
    std::unique_ptr<char[]> arena_;  // the record's lines, kMaxRecordBytes at most
    std::size_t arenaUsed_ = 0;
    std::vector<Stored> lines_;
    bool full_ = false;
};

// "ItemType     = [TWTY_UINT16]" and friends: the shapes a data block line takes.
struct BlockItem {
    enum Kind : std::uint8_t {
        Open,        // "Name = {"
        OpenLabel,   // "Label = {    Name = {": a label that its inner block closes
        Introducer,  // "Name =": the block on the next line belongs to Name
        Field,       // "Name = [value]", "Name = <value>", "Name = {value}"
        Item,        // "  3:value," in an item list
        Close,       // "}"
        Text,        // anything else
    };
    Kind kind = Text;
    std::string_view name;   // Open, OpenLabel (the label), Introducer, Field
    std::string_view inner;  // OpenLabel: the inner block's name
    std::string_view value;  // Field, Item (with its comma), Text (trimmed line)
    char bracket = 0;        // Field: '[', '<' or '{'
};

BlockItem ClassifyBlockLine(std::string_view line);

// The DAT a claimed event's block names ("TW_IMAGEINFO" gives DAT_IMAGEINFO); DAT_EVENT otherwise.
std::string_view EventDat(std::string_view structureName);

std::string_view Trim(std::string_view text);

}  // namespace twainlog

#endif  // TWAINLOG_TRANSCRIPT_H
