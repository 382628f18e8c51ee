// Call records as JSON Lines.
#ifndef TWAINLOG_JSON_H
#define TWAINLOG_JSON_H

#include <cstdio>
#include <string>
#include <string_view>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "Transcript.h"

namespace twainlog {

// Text from the transcript as valid UTF-8: valid sequences pass unchanged; every byte that does not
// belong to one stands for the character of the same number (Latin-1), so 0xE9 becomes "é" (U+00E9)
// and no byte is lost. Returns text itself when it is valid, else the repaired copy in scratch.
std::string_view ValidUtf8(std::string_view text, std::string& scratch);

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

// Writes text as a JSON string, repaired as ValidUtf8 says.
void WriteString(JsonWriter& writer, std::string_view text);
void WriteKey(JsonWriter& writer, std::string_view text);
// Writes the member key: text, the text repaired as ValidUtf8 says.
inline void WriteStr(JsonWriter& writer, const char* key, std::string_view text) {
    writer.Key(key);
    WriteString(writer, text);
}

// Writes one record as a JSON object (without a line end).
void WriteRecord(JsonWriter& writer, std::string_view file, const Record& record);

// Collects JSON text and writes it to a stream in large pieces.
class JsonOut {
public:
    explicit JsonOut(std::FILE* out) : out_(out), writer_(buffer_) {}
    ~JsonOut() { Flush(); }
    JsonWriter& Writer() { return writer_; }
    // Ends the current JSON value with a line end.
    void EndLine();
    void Flush();

private:
    std::FILE* out_;
    rapidjson::StringBuffer buffer_;
    JsonWriter writer_;
};

}  // namespace twainlog

#endif  // TWAINLOG_JSON_H
