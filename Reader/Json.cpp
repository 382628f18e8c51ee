#include "Json.h"

#include <cstdint>

#include "Block.h"

namespace twainlog {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when the byte starts none.
std::size_t Utf8Length(const unsigned char* s, std::size_t i, std::size_t n) {
    const unsigned char c = s[i];
    auto cont = [&](std::size_t k) { return i + k < n && (s[i + k] & 0xC0) == 0x80; };
    if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if (c == 0xE0 && s[i + 1] < 0xA0) return 0;  // overlong
        if (c == 0xED && s[i + 1] >= 0xA0) return 0;  // surrogates
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if (c == 0xF0 && s[i + 1] < 0x90) return 0;  // overlong
        if (c == 0xF4 && s[i + 1] >= 0x90) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

// The repaired copy, from the first byte that is not plain ASCII on.
std::string_view Repair(std::string_view text, std::size_t from, std::string& scratch) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    bool changed = false;
    scratch.assign(text.data(), from);
    for (std::size_t i = from; i < n;) {
        if (s[i] < 0x80) {
            scratch += static_cast<char>(s[i]);
            ++i;
            continue;
        }
        std::size_t len = Utf8Length(s, i, n);
        if (len > 0) {
            scratch.append(text.data() + i, len);
            i += len;
            continue;
        }
        scratch += static_cast<char>(0xC0 | (s[i] >> 6));
        scratch += static_cast<char>(0x80 | (s[i] & 0x3F));
        changed = true;
        ++i;
    }
    return changed ? std::string_view(scratch) : text;
}

class JsonVisitor {
public:
    explicit JsonVisitor(JsonWriter& w) : w_(w) {}
    void Key(std::string_view k) { WriteKey(w_, k); }
    void String(std::string_view s, char) { WriteString(w_, s); }
    void StartObject() { w_.StartObject(); }
    void EndObject() { w_.EndObject(); }
    void StartArray() { w_.StartArray(); }
    void EndArray() { w_.EndArray(); }

private:
    JsonWriter& w_;
};

}  // namespace

std::string_view ValidUtf8(std::string_view text, std::string& scratch) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (s[i] >= 0x80) return Repair(text, i, scratch);
    }
    return text;
}

void WriteString(JsonWriter& writer, std::string_view text) {
    thread_local std::string scratch;
    std::string_view valid = ValidUtf8(text, scratch);
    writer.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
}

void WriteKey(JsonWriter& writer, std::string_view text) {
    thread_local std::string scratch;
    std::string_view valid = ValidUtf8(text, scratch);
    writer.Key(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
}

void WriteRecord(JsonWriter& w, std::string_view file, const Record& r) {
    w.StartObject();
    w.Key("file");
    WriteString(w, file);
    w.Key("line");
    w.Uint64(r.line);
    if (r.hasSeq) {
        w.Key("seq");
        w.Int64(r.seq);
    }
    if (r.event) {
        w.Key("event");
        w.Bool(true);
    } else {
        w.Key("source");
        WriteString(w, r.source);
    }
    w.Key("dg");
    WriteString(w, r.dg);
    w.Key("dat");
    WriteString(w, r.dat);
    w.Key("msg");
    WriteString(w, r.msg);
    if (r.hasCap) {
        w.Key("cap");
        WriteString(w, r.cap);
    }
    if (r.hasRc) {
        w.Key("rc");
        WriteString(w, r.rc);
    }
    if (r.hasData) {
        w.Key("data");
        WriteString(w, r.data);
    }
    if (r.hasState) {
        w.Key("state");
        w.Int(r.state);
    }
    if (r.failed) {
        w.Key("failed");
        w.Bool(true);
    }
    if (r.truncated) {
        w.Key("truncated");
        w.Bool(true);
    }
    if (r.incomplete) {
        w.Key("incomplete");
        w.Bool(true);
    }
    w.Key("block");
    w.StartObject();
    JsonVisitor visitor(w);
    WalkBlock(r.block, visitor);
    w.EndObject();
    w.EndObject();
}

void JsonOut::EndLine() {
    buffer_.Put('\n');
    writer_.Reset(buffer_);
    if (buffer_.GetSize() >= (1u << 16)) Flush();
}

void JsonOut::Flush() {
    if (buffer_.GetSize() > 0) {
        std::fwrite(buffer_.GetString(), 1, buffer_.GetSize(), out_);
        buffer_.Clear();
    }
}

}  // namespace twainlog
