// The two tables of a report page that gather calls: the capabilities a session touched, and the
// images it transferred. Both are fed the records in file order with each record's row (its number
// among all the rows of the page) and are written at the end, their texts through the string table.
#ifndef TWAINLOG_REPORTTABLES_H
#define TWAINLOG_REPORTTABLES_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ReportEncoding.h"
#include "Transcript.h"

namespace twainlog {

// The fields of a capability container, gathered from the block model's events while the block is
// written (WriteBlock), so that the block is read once. Views into the record's lines.
class ContainerFields {
public:
    void Clear();
    // A block model visitor (Block.h).
    void Key(std::string_view k);
    void String(std::string_view s, char);
    void StartObject();
    void EndObject();
    void StartArray() { ++lists_; }
    void EndArray() { --lists_; }

    // The values as one line: "TWPT_BW, TWPT_GRAY, TWPT_RGB (current TWPT_RGB)", "-1000.000..1000.000
    // step 1.000 (current 0.000)", or the one value of a TW_ONEVALUE. Empty when there is no container.
    std::string Text() const;

private:
    std::string_view conType_, item_, currentIndex_, minValue_, maxValue_, stepSize_, currentValue_;
    std::vector<std::string_view> items_;
    std::string_view* target_ = nullptr;
    int lists_ = 0, objectsInList_ = 0;
};

// Every capability touched: what the source reported of it (each message but MSG_SET and
// MSG_SETCONSTRAINT), and each value the application set with the source's answer. An answer that
// comes again (same message, value, return code and condition code) is counted, not repeated. A
// failed call takes the condition code of the record after it when that is DAT_STATUS/MSG_GET.
class CapabilityTable {
public:
    // Kept per capability and per list; beyond, counted.
    static constexpr std::size_t kMaxEntries = 32;
    // Capabilities kept; beyond, counted.
    static constexpr std::size_t kMaxCapabilities = 1000;

    // fields: the record's container, when it is a DAT_CAPABILITY call.
    void Add(const Record& record, std::size_t row, const ContainerFields& fields);
    void EndFile();  // a failure at the end of a file has no condition code
    // [{"cap": ref, "reported": [entry...], "set": [entry...], "more": n}, ...], entry being
    // [msg, value, rc, condition, accepted (0/1), first row, count].
    void Write(JsonWriter& w, StringTable& strings) const;
    std::size_t NotListed() const { return notListed_; }

private:
    struct Entry {
        std::string msg, value, rc, condition;
        bool accepted = false;
        std::size_t row = 0, count = 1;
    };
    struct Capability {
        std::string name;
        std::vector<Entry> reported, set;
        std::size_t more = 0;  // answers not kept
    };
    void Keep(Capability& cap, bool set, Entry entry);
    void SettlePending(const Record* next);

    std::vector<Capability> caps_;
    std::unordered_map<std::string, std::size_t> byName_;
    std::size_t notListed_ = 0;  // calls on capabilities beyond kMaxCapabilities
    // A failed call waiting for the condition code.
    bool pending_ = false;
    bool pendingSet_ = false;
    std::size_t pendingCap_ = 0;
    Entry pendingEntry_;
};

// The images transferred: each from its first transfer call (DAT_IMAGE*XFER/MSG_GET answered
// normally) to MSG_ENDXFER or MSG_RESET, with the DAT_IMAGEINFO that describes it, its mechanism
// (the transfer call's DAT), the last transfer call's return code, and the calls that carried it.
class TransferTable {
public:
    static constexpr std::size_t kMaxTransfers = 10000;
    static constexpr std::size_t kMaxRows = 32;  // calls listed per transfer; beyond, counted

    void Add(const Record& record, std::size_t row, std::size_t file);
    void EndFile();
    // [[file, first row, last row, mechanism, rc, width, length, bits per pixel, pixel type,
    //   bytes (memory transfers; -1 otherwise), [rows...], calls], ...]
    void Write(JsonWriter& w, StringTable& strings) const;
    std::size_t Done() const { return done_; }            // ended with TWRC_XFERDONE
    std::size_t Cancelled() const { return cancelled_; }  // ended with TWRC_CANCEL
    std::size_t NotListed() const { return notListed_; }

private:
    struct Info {
        bool have = false;
        std::size_t row = 0;
        std::string width, length, bitsPerPixel, pixelType;
    };
    struct Transfer {
        std::size_t file = 0, first = 0, last = 0, calls = 0;
        std::string mechanism, rc;
        Info info;
        bool memory = false;
        std::uint64_t bytes = 0;
        std::vector<std::size_t> rows;
    };
    void Call(std::size_t row);
    void Close();

    std::vector<Transfer> transfers_;
    bool open_ = false;
    Transfer current_;
    Info latestInfo_;
    std::size_t done_ = 0, cancelled_ = 0, notListed_ = 0;
};

}  // namespace twainlog

#endif  // TWAINLOG_REPORTTABLES_H
