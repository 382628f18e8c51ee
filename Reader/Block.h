// A record's data block read as nested objects, the way `twainlog json` shows it:
//
//   "Name = {"                  opens an object under "Name"
//   "ItemList = {"              opens an array of the item texts (index and comma removed)
//   "Field = [v]", "<v>", "{v}" "Field": "v"
//   "Name ="                    the block opened on the next line is the value of "Name":
//                               "Version": {"TW_VERSION": {...}}; with nothing opened after it, ""
//   "Label = {    Name = {"     the same, on one line: "QuantTable[0]": {"TW_MEMORY": {...}}; the
//                               label closes with its inner block (the transcript never closes it)
//   "}"                         closes the innermost open block, wherever it stands on the line
//   anything else               "#text": the trimmed line (in an item list, {"#text": ...})
//
// A name seen again in the same object gets "#2", "#3"... after it, so no key repeats.
#ifndef TWAINLOG_BLOCK_H
#define TWAINLOG_BLOCK_H

#include <string>
#include <string_view>
#include <vector>

#include "Transcript.h"

namespace twainlog {

// Walks the block and calls the visitor like a SAX writer: Key, String(value, bracket),
// StartObject, EndObject, StartArray, EndArray. The outermost object is the visitor's own (not
// announced). Keys passed to Key stay valid only during the call.
template <class Visitor>
void WalkBlock(const std::vector<BlockLine>& lines, Visitor& v);

// The value of the first field called name ("ConditionCode"), or false.
bool FindField(const Record& record, std::string_view name, std::string_view& value);

// A capability's values: the item texts of an item list (index and comma removed), or the Item of
// a one-value container.
void CapItems(const Record& record, std::vector<std::string_view>& items);

// ---- What a call says, for the commands that gather calls (summary, report) --------------------

// A failed call: the failure lines follow it, or it returned TWRC_FAILURE.
inline bool CallFailed(const Record& r) { return r.failed || r.rc == "TWRC_FAILURE"; }

// A DAT that transfers an image: the transfer's mechanism.
bool IsImageTransferDat(std::string_view dat);

// A value set with MSG_SET that the source took: TWRC_SUCCESS, or TWRC_CHECKSTATUS (taken, changed).
inline bool SetAccepted(std::string_view rc) { return rc == "TWRC_SUCCESS" || rc == "TWRC_CHECKSTATUS"; }

// The image a DAT_IMAGEINFO block describes (empty where a field is missing): views into the record.
struct ImageInfoFields {
    std::string_view width, length, bitsPerPixel, pixelType;
};
ImageInfoFields ReadImageInfo(const Record& record);

// ---- implementation ----------------------------------------------------------------------------

namespace detail {

struct Frame {
    bool array;
    int closes;            // JSON containers this block's "}" ends (2 under a label or introducer)
    std::size_t keysBegin;  // its keys in the shared key list
};

class KeyList {
public:
    // Registers name in the object whose keys start at begin; returns the key to write.
    std::string_view Unique(std::string_view name, std::size_t begin) {
        int seen = 0;
        for (std::size_t i = begin; i < keys_.size(); ++i) {
            if (keys_[i] == name) ++seen;
        }
        keys_.push_back(name);
        if (seen == 0) return name;
        scratch_.assign(name.data(), name.size());
        scratch_ += '#';
        scratch_ += std::to_string(seen + 1);
        return scratch_;
    }
    std::size_t Size() const { return keys_.size(); }
    void Truncate(std::size_t n) { keys_.resize(n); }
    void Clear() { keys_.clear(); }

private:
    std::vector<std::string_view> keys_;
    std::string scratch_;
};

// An item's text: its comma removed unless it is the list's last item (the next line closes).
inline std::string_view ItemText(std::string_view value, bool last) {
    if (!last && !value.empty() && value.back() == ',') value.remove_suffix(1);
    return value;
}

inline bool NextCloses(const std::vector<BlockLine>& lines, std::size_t i) {
    if (i + 1 >= lines.size()) return true;
    return ClassifyBlockLine(lines[i + 1].text).kind == BlockItem::Close;
}

}  // namespace detail

template <class Visitor>
void WalkBlock(const std::vector<BlockLine>& lines, Visitor& v) {
    thread_local detail::KeyList keys;
    thread_local std::vector<detail::Frame> stack;
    keys.Clear();
    stack.clear();
    stack.push_back(detail::Frame{false, 0, 0});
    std::string_view introducer;
    bool hasIntroducer = false;

    auto key = [&](std::string_view name) { v.Key(keys.Unique(name, stack.back().keysBegin)); };
    auto text = [&](std::string_view t) {
        if (stack.back().array) {
            v.StartObject();
            v.Key("#text");
            v.String(t, 0);
            v.EndObject();
        } else {
            key("#text");
            v.String(t, 0);
        }
    };
    // Opens "outer": {"inner": { ... or, without outer, "inner": { (an array for an item list).
    auto open = [&](std::string_view outer, std::string_view inner) {
        const bool inArray = stack.back().array;
        int closes = 1;
        if (inArray) {
            v.StartObject();
            ++closes;
        }
        if (!outer.empty()) {
            if (inArray) {
                v.Key(outer);
            } else {
                key(outer);
            }
            v.StartObject();
            ++closes;
            v.Key(inner);
        } else if (inArray) {
            v.Key(inner);
        } else {
            key(inner);
        }
        const bool array = inner == "ItemList";
        if (array) {
            v.StartArray();
        } else {
            v.StartObject();
        }
        stack.push_back(detail::Frame{array, closes, keys.Size()});
    };
    auto close = [&]() {
        detail::Frame f = stack.back();
        stack.pop_back();
        keys.Truncate(f.keysBegin);
        if (f.array) {
            v.EndArray();
        } else {
            v.EndObject();
        }
        for (int i = 1; i < f.closes; ++i) v.EndObject();
    };

    for (std::size_t i = 0; i < lines.size(); ++i) {
        BlockItem item = ClassifyBlockLine(lines[i].text);
        if (hasIntroducer) {
            hasIntroducer = false;
            if (item.kind == BlockItem::Open) {
                open(introducer, item.name);
                continue;
            }
            if (stack.back().array) {
                text(introducer);
            } else {
                key(introducer);
                v.String(std::string_view(), 0);
            }
        }
        switch (item.kind) {
        case BlockItem::Open:
            open(std::string_view(), item.name);
            break;
        case BlockItem::OpenLabel:
            open(item.name, item.inner);
            break;
        case BlockItem::Introducer:
            introducer = item.name;
            hasIntroducer = true;
            break;
        case BlockItem::Field:
            if (stack.back().array) {
                v.StartObject();
                v.Key(item.name);
                v.String(item.value, item.bracket);
                v.EndObject();
            } else {
                key(item.name);
                v.String(item.value, item.bracket);
            }
            break;
        case BlockItem::Item:
            if (stack.back().array) {
                v.String(detail::ItemText(item.value, detail::NextCloses(lines, i)), 0);
            } else {
                text(Trim(lines[i].text));
            }
            break;
        case BlockItem::Close:
            if (stack.size() > 1) {
                close();
            } else {
                text(item.value);
            }
            break;
        case BlockItem::Text:
            text(item.value);
            break;
        }
    }
    if (hasIntroducer) {
        if (stack.back().array) {
            text(introducer);
        } else {
            key(introducer);
            v.String(std::string_view(), 0);
        }
    }
    while (stack.size() > 1) close();
}

}  // namespace twainlog

#endif  // TWAINLOG_BLOCK_H
