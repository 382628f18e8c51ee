#include "ReportEncoding.h"

#include <cstring>

#include "Block.h"
#include "ReportTables.h"

namespace twainlog {

namespace {

// The block model's events as the compact form: objects and item lists both become arrays, the
// item list marked by its leading -1 (a reference is never negative). The events also reach the
// container's fields, when they are wanted.
class BlockEncoder {
public:
    BlockEncoder(JsonWriter& w, StringTable& strings, ContainerFields* fields) : w_(w), strings_(strings), fields_(fields) {}
    void Key(std::string_view k) {
        strings_.Write(w_, k);
        if (fields_ != nullptr) fields_->Key(k);
    }
    void String(std::string_view s, char bracket) {
        strings_.Write(w_, s);
        if (fields_ != nullptr) fields_->String(s, bracket);
    }
    void StartObject() {
        w_.StartArray();
        if (fields_ != nullptr) fields_->StartObject();
    }
    void EndObject() {
        w_.EndArray();
        if (fields_ != nullptr) fields_->EndObject();
    }
    void StartArray() {
        w_.StartArray();
        w_.Int(-1);
        if (fields_ != nullptr) fields_->StartArray();
    }
    void EndArray() {
        w_.EndArray();
        if (fields_ != nullptr) fields_->EndArray();
    }

private:
    JsonWriter& w_;
    StringTable& strings_;
    ContainerFields* fields_;
};

}  // namespace

StringTable::StringTable() : slots_(1024) {
    texts_.emplace_back();
    const std::uint64_t hash = Hash(std::string_view());
    slots_[hash & (slots_.size() - 1)] = Slot{1, static_cast<std::uint32_t>(hash)};
}

std::uint64_t StringTable::Hash(std::string_view text) {
    // Eight bytes at a time, each word mixed in by a multiply and a shift.
    auto mix = [](std::uint64_t h, std::uint64_t word) {
        h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
        return h ^ (h >> 31);
    };
    std::uint64_t h = (text.size() + 1) * 0x9E3779B97F4A7C15ull;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        h = mix(h, word);
    }
    if (i < text.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, text.size() - i);
        h = mix(h, word);
    }
    return h ^ (h >> 29);
}

// Twice the slots, once half of them are taken; at most 2 * kMaxStrings.
void StringTable::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.number == 0) continue;
        std::size_t at = Hash(texts_[slot.number - 1]) & mask;
        while (slots_[at].number != 0) at = (at + 1) & mask;
        slots_[at] = slot;
    }
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
        const std::uint64_t hash = Hash(text);
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = hash & mask;
        for (; slots_[at].number != 0; at = (at + 1) & mask) {
            const Slot& slot = slots_[at];
            if (slot.hash == static_cast<std::uint32_t>(hash) && texts_[slot.number - 1] == text) {
                w.Uint(slot.number - 1);
                return;
            }
        }
        if (texts_.size() < kMaxStrings) {
            const auto number = static_cast<std::uint32_t>(texts_.size());
            texts_.push_back(Store(text));
            slots_[at] = Slot{number + 1, static_cast<std::uint32_t>(hash)};
            if (texts_.size() * 2 > slots_.size()) Grow();
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

void WriteBlock(JsonWriter& w, StringTable& strings, const std::vector<BlockLine>& lines, ContainerFields* fields) {
    BlockEncoder encoder(w, strings, fields);
    w.StartArray();
    WalkBlock(lines, encoder);
    w.EndArray();
}

}  // namespace twainlog
