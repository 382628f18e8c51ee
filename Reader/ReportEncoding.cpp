#include "ReportEncoding.h"

#include <cstring>

#include "Block.h"

namespace twainlog {

namespace {

// The block model's events as the compact form: objects and item lists both become arrays, the
// item list marked by its leading -1 (a reference is never negative).
class BlockEncoder {
public:
    BlockEncoder(JsonWriter& w, StringTable& strings) : w_(w), strings_(strings) {}
    void Key(std::string_view k) { strings_.Write(w_, k); }
    void String(std::string_view s, char) { strings_.Write(w_, s); }
    void StartObject() { w_.StartArray(); }
    void EndObject() { w_.EndArray(); }
    void StartArray() {
        w_.StartArray();
        w_.Int(-1);
    }
    void EndArray() { w_.EndArray(); }

private:
    JsonWriter& w_;
    StringTable& strings_;
};

}  // namespace

StringTable::StringTable() {
    numbers_.reserve(1024);
    numbers_.emplace(std::string_view(), 0);
    texts_.emplace_back();
}

std::string_view StringTable::Store(std::string_view text) {
    if (blockUsed_ + text.size() > kBlock) {
        blocks_.emplace_back(new char[kBlock]);
        blockUsed_ = 0;
    }
    char* to = blocks_.back().get() + blockUsed_;
    std::memcpy(to, text.data(), text.size());
    blockUsed_ += text.size();
    return std::string_view(to, text.size());
}

void StringTable::Write(JsonWriter& w, std::string_view text) {
    if (text.size() <= kMaxLength) {
        auto found = numbers_.find(text);
        if (found != numbers_.end()) {
            w.Uint(found->second);
            return;
        }
        if (texts_.size() < kMaxStrings) {
            const auto number = static_cast<std::uint32_t>(texts_.size());
            texts_.push_back(Store(text));
            numbers_.emplace(texts_.back(), number);
            w.Uint(number);
            return;
        }
    }
    WriteString(w, text);
}

void StringTable::WriteTable(JsonWriter& w) const {
    w.StartArray();
    for (std::string_view text : texts_) WriteString(w, text);
    w.EndArray();
}

void ScriptJson::Restart() { writer_.Reset(buffer_); }

void ScriptJson::Flush() {
    const char* p = buffer_.GetString();
    std::size_t n = buffer_.GetSize();
    while (n > 0) {
        const void* lt = std::memchr(p, '<', n);
        const std::size_t before = lt != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lt) - p) : n;
        std::fwrite(p, 1, before, out_);
        if (lt == nullptr) break;
        std::fwrite("\\u003c", 1, 6, out_);
        p += before + 1;
        n -= before + 1;
    }
    buffer_.Clear();
}

void WriteBlock(JsonWriter& w, StringTable& strings, const std::vector<BlockLine>& lines) {
    BlockEncoder encoder(w, strings);
    w.StartArray();
    WalkBlock(lines, encoder);
    w.EndArray();
}

}  // namespace twainlog
