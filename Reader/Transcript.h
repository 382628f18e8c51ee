// The streaming reader of a transcript: lines in, call records out, one record at a time.
#ifndef TWAINLOG_TRANSCRIPT_H
#define TWAINLOG_TRANSCRIPT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
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
    // when the line was longer than maxLine (and is cut there).
    bool Next(std::string_view& line, bool& cut) {
        // The common case inline: a whole line in the block.
        const std::size_t available = end_ - begin_;
        if (!skipping_ && available > 0) {
            const char* start = buffer_.data() + begin_;
            const void* nl = std::memchr(start, '\n', available);
            if (nl != nullptr) {
                std::size_t length = static_cast<std::size_t>(static_cast<const char*>(nl) - start);
                if (length <= maxLine_) {
                    begin_ += length + 1;
                    if (length > 0 && start[length - 1] == '\r') --length;
                    line = std::string_view(start, length);
                    cut = false;
                    return true;
                }
            }
        }
        return NextSlow(line, cut);
    }
    bool Failed() const { return error_ != 0; }
    int Error() const { return error_; }
    std::uint64_t BytesRead() const { return bytesRead_; }

private:
    bool NextSlow(std::string_view& line, bool& cut);
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

    // No record of the monitor comes near kMaxRecord bytes; a longer one is not one of its records.
    static constexpr std::size_t kMaxRecord = 1 << 18;
    // Sizes other than the defaults serve the tests and the fuzz target.
    explicit Parser(int fd, std::size_t blockSize = LineSource::kBlock, std::size_t maxLine = LineSource::kMaxLine,
                    std::size_t maxRecord = kMaxRecord);
    void OnUnreadable(UnreadableSink sink, void* context) { sink_ = sink; sinkContext_ = context; }
    // Fills record with the next call record; false at the end of the input.
    bool Next(Record& record);
    std::size_t Lines() const { return lineNo_; }
    std::size_t UnreadableLines() const { return unreadable_; }
    std::uint64_t Bytes() const { return source_.BytesRead(); }
    bool ReadFailed() const { return source_.Failed(); }
    int ReadError() const { return source_.Error(); }

private:
    struct Triplet {
        long seq = 0;
        std::string_view source, dg, dat, msg, cap;
        bool hasCap = false;
    };
    static bool ParseTriplet(std::string_view line, Triplet& t);
    bool TakeLine(std::string_view& line, std::size_t& lineNo);
    void Feed(std::string_view line, std::size_t lineNo);
    // Copies a line of the current record into its arena; false (and the line reported) when the
    // record is already as long as a record may be.
    bool Store(std::string_view line, std::size_t lineNo, std::string_view& stored);
    void Reject(std::string_view line, std::size_t lineNo, const char* why);
    // Hands the current record to the caller of Next, if there is one, and starts a new one in
    // the other arena: the record handed out stays valid while the next is read.
    void Start(std::string_view line, std::size_t lineNo, bool event, const Triplet* triplet);
    void Finish(Record& record);

    LineSource source_;
    UnreadableSink sink_ = nullptr;
    void* sinkContext_ = nullptr;
    std::size_t lineNo_ = 0;
    std::size_t unreadable_ = 0;

    // The rest of a line after the overflow message, read but not yet fed.
    bool hasPending_ = false;
    std::string_view pending_;
    std::size_t pendingLine_ = 0;

    Record* out_ = nullptr;  // where Next wants the next record
    bool emitted_ = false;   // it is there

    // The record being read.
    bool open_ = false;
    Record current_;
    bool stateSeen_ = false, failStart_ = false, failEnd_ = false, truncated_ = false, full_ = false;
    std::uint64_t reportBytes_ = 0;  // bytes of the report so far, counting CR LF line ends
    std::unique_ptr<char[]> arenas_[2];  // the lines of the current and the previous record
    int arena_ = 0;
    std::size_t arenaUsed_ = 0;
    std::size_t maxRecord_;
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
