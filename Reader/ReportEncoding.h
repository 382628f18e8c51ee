// The data a report page carries: JSON inside <script type="application/json"> elements, in a
// compact form that the page's script reads (Reader/report/report.js).
//
//   a text      its number in the string table, or the text itself (a JSON string)
//   a block     an object as [key, value, key, value, ...], an item list as [-1, item, ...]: the
//               block model of Block.h, the one `twainlog json` shows
#ifndef TWAINLOG_REPORTENCODING_H
#define TWAINLOG_REPORTENCODING_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "Json.h"
#include "Transcript.h"

namespace twainlog {

// Each distinct text once, in a table written after the data, referred to by its number. The table
// is bounded, so that a transcript full of unique values (pointers) costs a fixed amount of memory:
// texts longer than kMaxLength, and new ones once kMaxStrings are known, are written where they
// occur.
class StringTable {
public:
    static constexpr std::size_t kMaxStrings = 1 << 16;
    static constexpr std::size_t kMaxLength = 128;
    StringTable();  // the empty text is number 0
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;
    // Writes a reference to text: its number, or the text.
    void Write(JsonWriter& w, std::string_view text);
    // The table: an array of the texts, in the order of their numbers.
    void WriteTable(JsonWriter& w) const;
    std::size_t Size() const { return texts_.size(); }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    // An open-addressing index of the texts (the lookup runs for every text of every block).
    struct Slot {
        std::uint32_t number = 0;  // the text's number + 1; 0: empty
        std::uint32_t hash = 0;
    };
    static std::uint64_t Hash(std::string_view text);
    void Grow();
    std::string_view Store(std::string_view text);
    std::vector<Slot> slots_;
    std::vector<std::string_view> texts_;
    std::vector<std::unique_ptr<char[]>> blocks_;  // the texts' bytes
    std::size_t blockUsed_ = kBlock;
};

// JSON text for a script element: JsonWriter's text, written out with every '<' as "\u003c" (a '<'
// stands only inside strings), so that no text of a transcript can end the element or open a
// comment in it. Flushing in the middle of a value is allowed.
class ScriptJson {
public:
    explicit ScriptJson(std::FILE* out) : out_(out), writer_(buffer_) {}
    ~ScriptJson() { Flush(); }
    ScriptJson(const ScriptJson&) = delete;
    ScriptJson& operator=(const ScriptJson&) = delete;
    JsonWriter& Writer() { return writer_; }
    // Starts the next value (the writer takes one at a time).
    void Restart();
    void FlushWhenFull() {
        if (buffer_.GetSize() >= kFlushAt) Flush();
    }
    void Flush();

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    std::FILE* out_;
    rapidjson::StringBuffer buffer_;
    JsonWriter writer_;
};

class ContainerFields;

// Writes a record's data block in the compact form above; fields, when given, gathers the
// capability container's fields on the way.
void WriteBlock(JsonWriter& w, StringTable& strings, const std::vector<BlockLine>& lines, ContainerFields* fields = nullptr);

}  // namespace twainlog

#endif  // TWAINLOG_REPORTENCODING_H
