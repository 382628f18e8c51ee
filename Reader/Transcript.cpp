#include "Transcript.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include <array>

// The monitor's own headers: the record's fixed texts, the names of its tables and its data types.
#include "DataBlock.h"
#include "RecordText.h"
#include "twaintbl.h"

namespace twainlog {

namespace {

constexpr std::string_view kOverflow = TWAINMON_TOO_LONG;
constexpr std::string_view kResultPrefix = TWAINMON_RESULT_LABEL;
constexpr std::string_view kDataPrefix = TWAINMON_DATA_LABEL;
constexpr std::string_view kStatePrefix = TWAINMON_STATE_LABEL;
constexpr std::string_view kFailStart = TWAINMON_FAILURE_START;
constexpr std::string_view kFailEnd = TWAINMON_FAILURE_END;
// A rendering is cut at 5120 bytes; the overflow message is looked for only in reports that long.
constexpr std::uint64_t kOverflowSearchFrom = 4096;
constexpr std::size_t kMaxRecordLines = 1 << 14;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimLeft(std::string_view text) {
    std::size_t i = 0;
    // Indentation is mostly blanks: eight at a time.
    constexpr std::uint64_t kBlanks = 0x2020202020202020ull;
    while (i + 8 <= text.size()) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word != kBlanks) break;
        i += 8;
    }
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return text.substr(i);
}

// The text between the brackets of "PREFIX...]" (or '>'), from a line that starts with prefix.
bool Bracketed(std::string_view line, std::string_view prefix, char close, std::string_view& value) {
    if (!StartsWith(line, prefix) || line.size() == prefix.size() || line.back() != close) return false;
    value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
    return true;
}

bool ParseState(std::string_view line, int& state) {
    std::string_view value;
    if (!Bracketed(line, kStatePrefix, ']', value) || value.empty() || value.size() > 9) return false;
    std::size_t i = value[0] == '-' ? 1 : 0;
    if (i == value.size()) return false;
    int n = 0;
    for (; i < value.size(); ++i) {
        if (!IsDigit(value[i])) return false;
        n = n * 10 + (value[i] - '0');
    }
    state = value[0] == '-' ? -n : n;
    return true;
}

}  // namespace

std::string_view Trim(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return text.substr(b, e - b);
}

std::string Record::Triplet() const {
    std::string t;
    t.reserve(dg.size() + dat.size() + msg.size() + 2);
    t.append(dg).append("/").append(dat).append("/").append(msg);
    return t;
}

// ---- LineSource --------------------------------------------------------------------------------

LineSource::LineSource(int fd, std::size_t blockSize, std::size_t maxLine)
    : fd_(fd), maxLine_(maxLine), buffer_(blockSize > maxLine + 2 ? blockSize : maxLine + 2) {}

bool LineSource::Fill() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    while (end_ < buffer_.size()) {
        ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (n < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            eof_ = true;
            return false;
        }
        if (n == 0) {
            eof_ = true;
            return false;
        }
        end_ += static_cast<std::size_t>(n);
        bytesRead_ += static_cast<std::uint64_t>(n);
        return true;
    }
    return true;
}

bool LineSource::NextSlow(std::string_view& line, bool& cut) {
    cut = false;
    // Hands out a line's text, cut to maxLine_ bytes.
    auto emit = [&](const char* start, std::size_t length) {
        if (length > maxLine_) {
            length = maxLine_;
            cut = true;
        }
        line = std::string_view(start, length);
        return true;
    };
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const void* nl = available ? std::memchr(start, '\n', available) : nullptr;
        if (nl != nullptr) {
            std::size_t length = static_cast<std::size_t>(static_cast<const char*>(nl) - start);
            begin_ += length + 1;
            if (skipping_) {
                skipping_ = false;
                continue;
            }
            if (length > 0 && start[length - 1] == '\r') --length;
            return emit(start, length);
        }
        if (skipping_) {
            // The rest of a line already cut: dropped up to its line end.
            begin_ = end_ = 0;
            if (eof_ || !Fill()) {
                if (end_ == 0) return false;
            }
            continue;
        }
        if (available >= maxLine_ + 2) {
            // Longer than a line may be, whatever its line end: hand out its start, drop the rest.
            begin_ = end_;
            skipping_ = true;
            return emit(start, available);
        }
        if (!eof_ && Fill()) continue;
        // The end of the input: a last line without a line end (Fill may have moved it).
        const char* last = buffer_.data() + begin_;
        std::size_t length = end_ - begin_;
        if (length == 0) return false;
        if (last[length - 1] == '\r') --length;
        begin_ = end_;
        return emit(last, length);
    }
}

// ---- Parser ------------------------------------------------------------------------------------

// "[00012] [APP] DG/DAT/MSG (CAP)"; false when the line has another shape.
bool Parser::ParseTriplet(std::string_view line, Triplet& t) {
    if (line.size() < 4 || line[0] != '[') return false;
    std::size_t i = 1;
    long seq = 0;
    while (i < line.size() && IsDigit(line[i])) {
        if (i > 18) return false;
        seq = seq * 10 + (line[i] - '0');
        ++i;
    }
    if (i == 1 || i + 2 >= line.size() || line[i] != ']' || line[i + 1] != ' ' || line[i + 2] != '[') return false;
    const std::size_t sourceStart = i + 3;
    const std::size_t sourceEnd = line.find("] ", sourceStart);
    if (sourceEnd == std::string_view::npos) return false;
    std::string_view rest = line.substr(sourceEnd + 2);
    std::string_view triplet = rest;
    t.hasCap = false;
    t.cap = std::string_view();
    const std::size_t space = rest.find(' ');
    if (space != std::string_view::npos) {
        triplet = rest.substr(0, space);
        std::string_view tail = rest.substr(space + 1);
        if (tail.size() < 2 || tail.front() != '(' || tail.back() != ')') return false;
        t.cap = tail.substr(1, tail.size() - 2);
        t.hasCap = true;
    }
    const std::size_t slash1 = triplet.find('/');
    if (slash1 == std::string_view::npos) return false;
    const std::size_t slash2 = triplet.find('/', slash1 + 1);
    if (slash2 == std::string_view::npos || triplet.find('/', slash2 + 1) != std::string_view::npos) return false;
    t.seq = seq;
    t.source = line.substr(sourceStart, sourceEnd - sourceStart);
    t.dg = triplet.substr(0, slash1);
    t.dat = triplet.substr(slash1 + 1, slash2 - slash1 - 1);
    t.msg = triplet.substr(slash2 + 1);
    return true;
}

Parser::Parser(int fd, std::size_t blockSize, std::size_t maxLine, std::size_t maxRecord)
    : source_(fd, blockSize, maxLine), maxRecord_(maxRecord) {
    arenas_[0].reset(new char[maxRecord]);
    arenas_[1].reset(new char[maxRecord]);
    current_.block.reserve(256);
}

bool Parser::TakeLine(std::string_view& line, std::size_t& lineNo) {
    if (hasPending_) {
        hasPending_ = false;
        line = pending_;
        lineNo = pendingLine_;
        return true;
    }
    bool cut = false;
    for (;;) {
        if (!source_.Next(line, cut)) return false;
        lineNo = ++lineNo_;
        if (!cut) return true;
        Reject(line.substr(0, 80), lineNo, "line too long");
    }
}

void Parser::Reject(std::string_view line, std::size_t lineNo, const char* why) {
    ++unreadable_;
    if (sink_ != nullptr) sink_(sinkContext_, Unreadable{lineNo, line, why});
}

bool Parser::Store(std::string_view line, std::size_t lineNo, std::string_view& stored) {
    if (full_ || arenaUsed_ + line.size() > maxRecord_ || current_.block.size() >= kMaxRecordLines) {
        full_ = true;
        Reject(line, lineNo, "record too long");
        return false;
    }
    char* to = arenas_[arena_].get() + arenaUsed_;
    if (!line.empty()) std::memcpy(to, line.data(), line.size());
    arenaUsed_ += line.size();
    stored = std::string_view(to, line.size());
    return true;
}

void Parser::Start(std::string_view line, std::size_t lineNo, bool event, const Triplet* triplet) {
    if (open_ && out_ != nullptr) {
        Finish(*out_);
        emitted_ = true;
    }
    open_ = true;
    stateSeen_ = failStart_ = failEnd_ = truncated_ = full_ = false;
    reportBytes_ = 0;
    arena_ ^= 1;
    arenaUsed_ = 0;
    std::vector<BlockLine> block = std::move(current_.block);
    block.clear();
    current_ = Record();
    current_.block = std::move(block);
    current_.line = lineNo;
    current_.event = event;
    std::string_view stored;
    Store(line, lineNo, stored);
    if (event) {
        reportBytes_ = line.size() + 2;
        current_.hasRc = Bracketed(TrimLeft(stored), kResultPrefix, ']', current_.rc);
        current_.dg = RowName(dg_macros, DG_CONTROL);
        current_.dat = RowName(dat_macros, DAT_EVENT);
        current_.msg = RowName(msg_macros, MSG_PROCESSEVENT);
        return;
    }
    // The triplet's parts, moved from the line read to its copy.
    auto moved = [&](std::string_view part) {
        return std::string_view(stored.data() + (part.data() - line.data()), part.size());
    };
    current_.hasSeq = true;
    current_.seq = triplet->seq;
    current_.source = moved(triplet->source);
    current_.dg = moved(triplet->dg);
    current_.dat = moved(triplet->dat);
    current_.msg = moved(triplet->msg);
    current_.hasCap = triplet->hasCap;
    if (triplet->hasCap) current_.cap = moved(triplet->cap);
}

void Parser::Feed(std::string_view line, std::size_t lineNo) {
    const bool closed = stateSeen_ || failStart_ || truncated_;
    // A rendering longer than 5120 bytes is cut and followed by the overflow message, with no
    // line end: what follows it on the line is the next thing written.
    if (open_ && current_.hasRc && !closed) {
        reportBytes_ += line.size() + 2;
        if (reportBytes_ >= kOverflowSearchFrom) {
            const std::size_t at = line.find(kOverflow);
            if (at != std::string_view::npos) {
                std::string_view before = line.substr(0, at);
                std::string_view after = line.substr(at + kOverflow.size());
                if (!before.empty()) {
                    reportBytes_ -= line.size() + 2;
                    if (before[0] == ' ' || before[0] == '}') {
                        Feed(before, lineNo);
                    } else {
                        // The cut went through a line of another shape ("TWAIN Sta"): keep its piece.
                        std::string_view stored;
                        if (Store(before, lineNo, stored)) current_.block.push_back(BlockLine{stored, lineNo});
                    }
                }
                truncated_ = true;
                if (!after.empty()) {
                    hasPending_ = true;
                    pending_ = after;
                    pendingLine_ = lineNo;
                }
                return;
            }
        }
    }

    if (line.empty()) return;
    const char c = line[0];
    std::string_view stored;
    if (c == ' ' || c == '}' || c == '\t') {
        std::string_view trimmed = TrimLeft(line);
        if (!trimmed.empty() && trimmed[0] == 'R' && StartsWith(trimmed, kResultPrefix) && trimmed.back() == ']') {
            if (open_ && !current_.hasRc && !closed) {
                if (Store(line, lineNo, stored)) {
                    current_.hasRc = Bracketed(TrimLeft(stored), kResultPrefix, ']', current_.rc);
                    reportBytes_ = line.size() + 2;
                }
                return;
            }
            // A result block with no triplet line of its own: a claimed window event.
            Start(line, lineNo, true, nullptr);
            return;
        }
        if (open_ && !closed) {
            if (Store(line, lineNo, stored)) current_.block.push_back(BlockLine{stored, lineNo});
            return;
        }
        Reject(line, lineNo, open_ ? "data block line after the end of its record" : "data block line outside a record");
        return;
    }
    if (c == '[') {
        Triplet triplet;
        if (ParseTriplet(line, triplet)) {
            Start(line, lineNo, false, &triplet);
            return;
        }
        Reject(line, lineNo, "not a triplet line");
        return;
    }
    if (c == 'p' && StartsWith(line, kDataPrefix)) {
        if (open_ && current_.hasRc && !current_.hasData && !closed && line.back() == '>') {
            if (Store(line, lineNo, stored)) current_.hasData = Bracketed(stored, kDataPrefix, '>', current_.data);
            return;
        }
        Reject(line, lineNo, "data pointer line out of place");
        return;
    }
    if (c == 'T' && StartsWith(line, kStatePrefix)) {
        int state = 0;
        if (open_ && current_.hasRc && !closed && ParseState(line, state)) {
            stateSeen_ = true;
            current_.hasState = true;
            current_.state = state;
            return;
        }
        Reject(line, lineNo, "state line out of place");
        return;
    }
    if (c == '*') {
        if (line == kFailStart && open_ && !failStart_) {
            failStart_ = true;
            return;
        }
        if (line == kFailEnd && open_ && failStart_ && !failEnd_) {
            failEnd_ = true;
            return;
        }
    }
    Reject(line, lineNo, "line of no known shape");
}

bool Parser::Next(Record& record) {
    out_ = &record;
    emitted_ = false;
    std::string_view line;
    std::size_t lineNo = 0;
    while (!emitted_ && TakeLine(line, lineNo)) Feed(line, lineNo);
    out_ = nullptr;
    if (emitted_) return true;
    if (open_) {
        Finish(record);
        open_ = false;
        return true;
    }
    return false;
}

void Parser::Finish(Record& r) {
    current_.failed = failStart_;
    current_.truncated = truncated_;
    current_.incomplete =
        !truncated_ && (!current_.hasRc || !(stateSeen_ || failStart_) || (failStart_ && !failEnd_));
    if (current_.event && !current_.block.empty()) {
        BlockItem first = ClassifyBlockLine(current_.block.front().text);
        if (first.kind == BlockItem::Open) current_.dat = EventDat(first.name);
    }
    std::swap(r, current_);
}

// ---- Data block lines --------------------------------------------------------------------------

BlockItem ClassifyBlockLine(std::string_view line) {
    BlockItem item;
    std::string_view t = Trim(line);
    item.value = t;
    if (t.empty()) return item;
    if (t == "}") {
        item.kind = BlockItem::Close;
        return item;
    }
    if (IsDigit(t[0])) {
        std::size_t i = 0;
        while (i < t.size() && IsDigit(t[i])) ++i;
        if (i < t.size() && t[i] == ':') {
            item.kind = BlockItem::Item;
            item.value = t.substr(i + 1);
            return item;
        }
        return item;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos || eq == 0) return item;
    std::string_view name = Trim(t.substr(0, eq));
    std::string_view rest = Trim(t.substr(eq + 1));
    if (name.empty()) return item;
    item.name = name;
    if (rest.empty()) {
        item.kind = BlockItem::Introducer;
        return item;
    }
    const char open = rest.front();
    const char last = rest.back();
    if (rest.size() >= 2 && ((open == '[' && last == ']') || (open == '<' && last == '>'))) {
        item.kind = BlockItem::Field;
        item.bracket = open;
        item.value = rest.substr(1, rest.size() - 2);
        return item;
    }
    if (open == '{') {
        if (rest.size() == 1) {
            item.kind = BlockItem::Open;
            return item;
        }
        std::string_view inner = Trim(rest.substr(1));
        if (last == '}') {
            item.kind = BlockItem::Field;
            item.bracket = '{';
            item.value = Trim(rest.substr(1, rest.size() - 2));
            return item;
        }
        // "QuantTable[0]   = {    TW_MEMORY = {": a label whose block is the one opened after it.
        BlockItem nested = ClassifyBlockLine(inner);
        if (nested.kind == BlockItem::Open) {
            item.kind = BlockItem::OpenLabel;
            item.inner = nested.name;
            return item;
        }
    }
    item.name = std::string_view();
    return item;
}

namespace {

// The DAT each block's structure name stands for, derived while compiling from the monitor's table
// of data types. Where two data types show the same structure the first row's DAT is taken.
struct StructureDat {
    std::string_view structure, dat;
};

constexpr std::array<StructureDat, std::size(kDataTypes)> StructureDats() {
    std::array<StructureDat, std::size(kDataTypes)> map{};
    for (std::size_t i = 0; i < map.size(); ++i) {
        map[i] = {kDataTypes[i].structure, RowName(DatNames(kDataTypes[i].dat), kDataTypes[i].dat)};
    }
    return map;
}

constexpr auto kStructureDats = StructureDats();

}  // namespace

std::string_view EventDat(std::string_view structureName) {
    for (const StructureDat& row : kStructureDats) {
        if (row.structure == structureName) return row.dat;
    }
    return RowName(dat_macros, DAT_EVENT);
}

}  // namespace twainlog
