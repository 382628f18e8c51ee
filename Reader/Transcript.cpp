#include "Transcript.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace twainlog {

namespace {

constexpr std::string_view kOverflow = "Size of CAP_xxx too long";
constexpr std::string_view kResultPrefix = "Return Code = [";
constexpr std::string_view kDataPrefix = "pData   = <";
constexpr std::string_view kStatePrefix = "TWAIN Status = [";
constexpr std::string_view kFailStart = "*** Inspect Error Status Start ***";
constexpr std::string_view kFailEnd = "*** Inspect Error Status End   ***";
// A rendering is cut at 5120 bytes; the overflow message is looked for only in reports that long.
constexpr std::uint64_t kOverflowSearchFrom = 4096;
// No report of the monitor comes near this; a longer record is not one of its records.
constexpr std::size_t kMaxRecordBytes = 1 << 18;
constexpr std::size_t kMaxRecordLines = 1 << 14;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimLeft(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return text.substr(i);
}

// "[00012] [APP] DG/DAT/MSG (CAP)": fills the record's triplet fields; false when the line has
// another shape.
bool ParseTriplet(std::string_view line, Record& r) {
    if (line.size() < 4 || line[0] != '[') return false;
    std::size_t i = 1;
    long seq = 0;
    while (i < line.size() && IsDigit(line[i])) {
        if (i > 18) return false;
        seq = seq * 10 + (line[i] - '0');
        ++i;
    }
    if (i == 1 || i + 2 >= line.size() || line[i] != ']' || line[i + 1] != ' ' || line[i + 2] != '[') return false;
    std::size_t sourceStart = i + 3;
    std::size_t sourceEnd = line.find("] ", sourceStart);
    if (sourceEnd == std::string_view::npos) return false;
    std::string_view rest = line.substr(sourceEnd + 2);
    std::string_view triplet = rest;
    std::string_view cap;
    bool hasCap = false;
    std::size_t space = rest.find(' ');
    if (space != std::string_view::npos) {
        triplet = rest.substr(0, space);
        std::string_view tail = rest.substr(space + 1);
        if (tail.size() < 2 || tail.front() != '(' || tail.back() != ')') return false;
        cap = tail.substr(1, tail.size() - 2);
        hasCap = true;
    }
    std::size_t slash1 = triplet.find('/');
    if (slash1 == std::string_view::npos) return false;
    std::size_t slash2 = triplet.find('/', slash1 + 1);
    if (slash2 == std::string_view::npos || triplet.find('/', slash2 + 1) != std::string_view::npos) return false;
    r.hasSeq = true;
    r.seq = seq;
    r.source = line.substr(sourceStart, sourceEnd - sourceStart);
    r.dg = triplet.substr(0, slash1);
    r.dat = triplet.substr(slash1 + 1, slash2 - slash1 - 1);
    r.msg = triplet.substr(slash2 + 1);
    r.hasCap = hasCap;
    r.cap = cap;
    return true;
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

bool LineSource::Next(std::string_view& line, bool& cut) {
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

Parser::Parser(int fd, std::size_t blockSize, std::size_t maxLine) : source_(fd, blockSize, maxLine) {
    arena_.reset(new char[kMaxRecordBytes]);
    lines_.reserve(256);
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

void Parser::Store(std::string_view line, std::size_t lineNo, Kind kind) {
    if (full_ || arenaUsed_ + line.size() > kMaxRecordBytes || lines_.size() >= kMaxRecordLines) {
        full_ = true;
        Reject(line, lineNo, "record too long");
        return;
    }
    lines_.push_back(Stored{static_cast<std::uint32_t>(arenaUsed_), static_cast<std::uint32_t>(line.size()), lineNo, kind});
    if (!line.empty()) std::memcpy(arena_.get() + arenaUsed_, line.data(), line.size());
    arenaUsed_ += line.size();
}

void Parser::Start(std::string_view line, std::size_t lineNo, bool event) {
    open_ = true;
    event_ = event;
    recordLine_ = lineNo;
    hasResult_ = hasData_ = stateSeen_ = failStart_ = failEnd_ = truncated_ = full_ = false;
    reportBytes_ = 0;
    arenaUsed_ = 0;
    lines_.clear();
    if (event) {
        hasResult_ = true;
        reportBytes_ = line.size() + 2;
        Store(line, lineNo, Kind::Result);
    } else {
        Store(line, lineNo, Kind::Triplet);
    }
}

bool Parser::Feed(std::string_view line, std::size_t lineNo) {
    const bool closed = stateSeen_ || failStart_ || truncated_;
    // A rendering longer than 5120 bytes is cut and followed by the overflow message, with no
    // line end: what follows it on the line is the next thing written.
    if (open_ && hasResult_ && !closed) {
        reportBytes_ += line.size() + 2;
        if (reportBytes_ >= kOverflowSearchFrom) {
            std::size_t at = line.find(kOverflow);
            if (at != std::string_view::npos) {
                std::string_view before = line.substr(0, at);
                std::string_view after = line.substr(at + kOverflow.size());
                if (!before.empty()) {
                    reportBytes_ -= line.size() + 2;
                    if (before[0] == ' ' || before[0] == '}') {
                        Feed(before, lineNo);
                    } else {
                        // The cut went through a line of another shape ("TWAIN Sta"): keep its piece.
                        Store(before, lineNo, Kind::Block);
                    }
                }
                truncated_ = true;
                if (!after.empty()) {
                    hasPending_ = true;
                    pending_ = after;
                    pendingLine_ = lineNo;
                }
                return false;
            }
        }
    }

    if (line.empty()) return false;
    const char c = line[0];
    if (c == '[') {
        Record probe;
        if (ParseTriplet(line, probe)) {
            if (open_) return true;
            Start(line, lineNo, false);
            return false;
        }
        Reject(line, lineNo, "not a triplet line");
        return false;
    }
    if (c == ' ' || c == '}' || c == '\t') {
        std::string_view trimmed = TrimLeft(line);
        if (StartsWith(trimmed, kResultPrefix) && trimmed.back() == ']') {
            if (open_ && !hasResult_ && !closed) {
                hasResult_ = true;
                reportBytes_ = line.size() + 2;
                Store(line, lineNo, Kind::Result);
                return false;
            }
            // A result block with no triplet line of its own: a claimed window event.
            if (open_) return true;
            Start(line, lineNo, true);
            return false;
        }
        if (open_ && !closed) {
            Store(line, lineNo, Kind::Block);
            return false;
        }
        Reject(line, lineNo, open_ ? "data block line after the end of its record" : "data block line outside a record");
        return false;
    }
    if (c == 'p' && StartsWith(line, kDataPrefix)) {
        if (open_ && hasResult_ && !hasData_ && !closed && line.back() == '>') {
            hasData_ = true;
            Store(line, lineNo, Kind::Data);
            return false;
        }
        Reject(line, lineNo, "data pointer line out of place");
        return false;
    }
    if (c == 'T' && StartsWith(line, kStatePrefix)) {
        int state = 0;
        if (open_ && hasResult_ && !closed && ParseState(line, state)) {
            stateSeen_ = true;
            Store(line, lineNo, Kind::State);
            return false;
        }
        Reject(line, lineNo, "state line out of place");
        return false;
    }
    if (c == '*') {
        if (line == kFailStart && open_ && !failStart_) {
            failStart_ = true;
            Store(line, lineNo, Kind::FailStart);
            return false;
        }
        if (line == kFailEnd && open_ && failStart_ && !failEnd_) {
            failEnd_ = true;
            Store(line, lineNo, Kind::FailEnd);
            return false;
        }
    }
    Reject(line, lineNo, "line of no known shape");
    return false;
}

bool Parser::Next(Record& record) {
    std::string_view line;
    std::size_t lineNo = 0;
    if (open_) {
        // The previous call left the line that opened this record pending; start it afresh.
        open_ = false;
    }
    while (TakeLine(line, lineNo)) {
        if (Feed(line, lineNo)) {
            // The line starts the next record: hand this one out, read that line again next time.
            hasPending_ = true;
            pending_ = line;
            pendingLine_ = lineNo;
            Finish(record);
            return true;
        }
    }
    if (open_) {
        Finish(record);
        return true;
    }
    return false;
}

void Parser::Finish(Record& r) {
    r.line = recordLine_;
    r.event = event_;
    r.hasSeq = false;
    r.seq = 0;
    r.source = r.dg = r.dat = r.msg = r.cap = r.rc = r.data = std::string_view();
    r.hasCap = r.hasRc = r.hasData = r.hasState = false;
    r.state = 0;
    r.failed = failStart_;
    r.truncated = truncated_;
    r.incomplete = !truncated_ && (!hasResult_ || !(stateSeen_ || failStart_) || (failStart_ && !failEnd_));
    r.block.clear();
    for (const Stored& s : lines_) {
        std::string_view text(arena_.get() + s.offset, s.length);
        switch (s.kind) {
        case Kind::Triplet:
            ParseTriplet(text, r);
            break;
        case Kind::Result:
            r.hasRc = Bracketed(TrimLeft(text), kResultPrefix, ']', r.rc);
            break;
        case Kind::Data:
            r.hasData = Bracketed(text, kDataPrefix, '>', r.data);
            break;
        case Kind::State:
            r.hasState = ParseState(text, r.state);
            break;
        case Kind::Block:
            r.block.push_back(BlockLine{text, s.line});
            break;
        case Kind::FailStart:
        case Kind::FailEnd:
            break;
        }
    }
    if (event_) {
        r.dg = "DG_CONTROL";
        r.dat = "DAT_EVENT";
        r.msg = "MSG_PROCESSEVENT";
        if (!r.block.empty()) {
            BlockItem first = ClassifyBlockLine(r.block.front().text);
            if (first.kind == BlockItem::Open) r.dat = EventDat(first.name);
        }
    }
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

std::string_view EventDat(std::string_view s) {
    struct Pair {
        std::string_view structure, dat;
    };
    static constexpr Pair kPairs[] = {
        {"TW_EVENT", "DAT_EVENT"},
        {"TW_CAPABILITY", "DAT_CAPABILITY"},
        {"TW_IDENTITY", "DAT_IDENTITY"},
        {"pOrigin:TW_IDENTITY", "DAT_PARENT"},
        {"TW_PENDINGXFERS", "DAT_PENDINGXFERS"},
        {"TW_SETUPMEMXFER", "DAT_SETUPMEMXFER"},
        {"TW_SETUPFILEXFER", "DAT_SETUPFILEXFER"},
        {"TW_STATUS", "DAT_STATUS"},
        {"TW_USERINTERFACE", "DAT_USERINTERFACE"},
        {"TW_CUSTOMDSDATA", "DAT_CUSTOMDSDATA"},
        {"TW_IMAGEINFO", "DAT_IMAGEINFO"},
        {"TW_IMAGELAYOUT", "DAT_IMAGELAYOUT"},
        {"TW_IMAGEMEMXFER", "DAT_IMAGEMEMXFER"},
        {"TW_CIECOLOR", "DAT_CIECOLOR"},
        {"TW_GRAYRESPONSE", "DAT_GRAYRESPONSE"},
        {"TW_RGBRESPONSE", "DAT_RGBRESPONSE"},
        {"TW_JPEGCOMPRESSION", "DAT_JPEGCOMPRESSION"},
        {"TW_PALETTE8", "DAT_PALETTE8"},
        {"TW_EXTIMAGEINFO", "DAT_EXTIMAGEINFO"},
        {"TWZV_AUTOEXPOSURE", "DAT_ZV_AUTOEXPOSURE"},
        {"TWZV_RGBMATRIX", "DAT_ZV_RGBMATRIX"},
        {"TWZV_COLORSMOOTHING", "DAT_ZV_COLORSMOOTHING"},
        {"TWZV_HARDWAREINFO", "DAT_ZV_HARDWAREINFO"},
        {"TWZV_LOCATIONDATA", "DAT_ZV_SKEWINFO"},
        {"TWZV_USMPARAM", "DAT_ZV_UNSHARPMASKPARAM"},
        {"TWZV_SETTINGFRAME", "DAT_ZV_SETTINGFRAME"},
        {"TWZV_USMINFO", "DAT_ZV_USMINFO"},
    };
    for (const Pair& p : kPairs) {
        if (p.structure == s) return p.dat;
    }
    return "DAT_EVENT";
}

}  // namespace twainlog
