#include "ReportTables.h"

#include <charconv>

#include "Block.h"

namespace twainlog {

namespace {

// A container's text is cut here (at a character's start), with an ellipsis.
constexpr std::size_t kMaxValueText = 512;

void Clip(std::string& text) {
    if (text.size() <= kMaxValueText) return;
    std::size_t cut = kMaxValueText;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
    text += "\xE2\x80\xA6";  // U+2026
}

}  // namespace

void ContainerFields::Clear() {
    conType_ = item_ = currentIndex_ = minValue_ = maxValue_ = stepSize_ = currentValue_ = std::string_view();
    items_.clear();
    target_ = nullptr;
    lists_ = objectsInList_ = 0;
}

void ContainerFields::Key(std::string_view k) {
    target_ = k == "ConType"        ? &conType_
              : k == "Item"         ? &item_
              : k == "CurrentIndex" ? &currentIndex_
              : k == "MinValue"     ? &minValue_
              : k == "MaxValue"     ? &maxValue_
              : k == "StepSize"     ? &stepSize_
              : k == "CurrentValue" ? &currentValue_
                                    : nullptr;
}

void ContainerFields::String(std::string_view s, char) {
    if (lists_ > 0 && objectsInList_ == 0) {
        items_.push_back(s);
    } else if (target_ != nullptr) {
        *target_ = s;
    }
    target_ = nullptr;
}

void ContainerFields::StartObject() {
    if (lists_ > 0) ++objectsInList_;
}

void ContainerFields::EndObject() {
    if (objectsInList_ > 0) --objectsInList_;
}

std::string ContainerFields::Text() const {
    std::string text;
    if (conType_ == "TWON_RANGE") {
        text.append(minValue_).append("..").append(maxValue_).append(" step ").append(stepSize_);
        if (!currentValue_.empty()) text.append(" (current ").append(currentValue_).append(")");
    } else if (!items_.empty()) {
        for (std::size_t i = 0; i < items_.size() && text.size() <= kMaxValueText; ++i) {
            if (i > 0) text += ", ";
            text.append(items_[i]);
        }
        std::size_t current = 0;
        const char* end = currentIndex_.data() + currentIndex_.size();
        if (conType_ == "TWON_ENUMERATION" && !currentIndex_.empty() &&
            std::from_chars(currentIndex_.data(), end, current).ptr == end && current < items_.size()) {
            text.append(" (current ").append(items_[current]).append(")");
        }
    } else {
        text.assign(item_);
    }
    Clip(text);
    return text;
}

// ---- Capabilities ------------------------------------------------------------------------------

void CapabilityTable::Add(const Record& r, std::size_t row, const ContainerFields& fields) {
    SettlePending(&r);
    if (r.dat != "DAT_CAPABILITY") return;
    const std::string name(r.cap);
    auto found = byName_.find(name);
    if (found == byName_.end()) {
        if (caps_.size() >= kMaxCapabilities) {
            ++notListed_;
            return;
        }
        found = byName_.emplace(name, caps_.size()).first;
        caps_.push_back(Capability{name, {}, {}, 0});
    }
    Entry entry;
    entry.msg = r.msg;
    entry.value = fields.Text();
    entry.rc = r.rc;
    entry.accepted = SetAccepted(r.rc);
    entry.row = row;
    const bool set = r.msg == "MSG_SET" || r.msg == "MSG_SETCONSTRAINT";
    if (CallFailed(r)) {
        pending_ = true;
        pendingSet_ = set;
        pendingCap_ = found->second;
        pendingEntry_ = std::move(entry);
        return;
    }
    Keep(caps_[found->second], set, std::move(entry));
}

void CapabilityTable::EndFile() { SettlePending(nullptr); }

void CapabilityTable::SettlePending(const Record* next) {
    if (!pending_) return;
    // A window event between the failure and the application's next call does not settle it.
    if (next != nullptr && next->event && !CallFailed(*next)) return;
    pending_ = false;
    std::string_view condition;
    if (next != nullptr && next->dat == "DAT_STATUS" && next->msg == "MSG_GET" && !CallFailed(*next) &&
        FindField(*next, "ConditionCode", condition)) {
        pendingEntry_.condition = condition;
    }
    Keep(caps_[pendingCap_], pendingSet_, std::move(pendingEntry_));
}

void CapabilityTable::Keep(Capability& cap, bool set, Entry entry) {
    std::vector<Entry>& list = set ? cap.set : cap.reported;
    for (Entry& e : list) {
        if (e.msg == entry.msg && e.value == entry.value && e.rc == entry.rc && e.condition == entry.condition) {
            ++e.count;
            return;
        }
    }
    if (list.size() < kMaxEntries) {
        list.push_back(std::move(entry));
    } else {
        ++cap.more;
    }
}

void CapabilityTable::Write(JsonWriter& w, StringTable& strings) const {
    auto entries = [&](const std::vector<Entry>& list) {
        w.StartArray();
        for (const Entry& e : list) {
            w.StartArray();
            strings.Write(w, e.msg);
            strings.Write(w, e.value);
            strings.Write(w, e.rc);
            strings.Write(w, e.condition);
            w.Uint(e.accepted ? 1 : 0);
            w.Uint64(e.row);
            w.Uint64(e.count);
            w.EndArray();
        }
        w.EndArray();
    };
    w.StartArray();
    for (const Capability& cap : caps_) {
        w.StartObject();
        w.Key("cap");
        strings.Write(w, cap.name);
        w.Key("reported");
        entries(cap.reported);
        w.Key("set");
        entries(cap.set);
        w.Key("more");
        w.Uint64(cap.more);
        w.EndObject();
    }
    w.EndArray();
}

// ---- Transfers ---------------------------------------------------------------------------------

void TransferTable::Add(const Record& r, std::size_t row, std::size_t file) {
    const std::string_view dat = r.dat;
    if (dat == "DAT_IMAGEINFO") {
        if (CallFailed(r)) return;
        Info info;
        info.have = true;
        info.row = row;
        const ImageInfoFields fields = ReadImageInfo(r);
        info.width = fields.width;
        info.length = fields.length;
        info.bitsPerPixel = fields.bitsPerPixel;
        info.pixelType = fields.pixelType;
        if (open_) {
            // Asked in state 7, after the image came: it describes this one.
            Call(row);
            if (!current_.info.have) current_.info = std::move(info);
        } else {
            latestInfo_ = std::move(info);
        }
        return;
    }
    if (IsImageTransferDat(dat) && (r.msg == "MSG_GET" || r.event)) {
        // The next image without MSG_ENDXFER between: the last one is over all the same.
        if (open_ && (current_.rc == "TWRC_XFERDONE" || current_.rc == "TWRC_CANCEL")) Close();
        if (!open_) {
            if (CallFailed(r)) return;  // refused: no transfer began
            open_ = true;
            current_ = Transfer{};
            current_.file = file;
            current_.mechanism = dat;
            current_.memory = dat == "DAT_IMAGEMEMXFER" || dat == "DAT_IMAGEMEMFILEXFER";
            current_.first = row;
            if (latestInfo_.have) {
                current_.first = latestInfo_.row;
                Call(latestInfo_.row);
                current_.info = std::move(latestInfo_);
                latestInfo_ = Info{};
            }
        }
        Call(row);
        current_.rc = r.rc;
        std::string_view written;
        std::uint64_t bytes = 0;
        if (current_.memory && FindField(r, "BytesWritten", written) &&
            std::from_chars(written.data(), written.data() + written.size(), bytes).ec == std::errc()) {
            current_.bytes += bytes;
        }
        return;
    }
    if (!open_) return;
    if (dat == "DAT_EXTIMAGEINFO") {
        Call(row);
    } else if (dat == "DAT_PENDINGXFERS" && (r.msg == "MSG_ENDXFER" || r.msg == "MSG_RESET") && !CallFailed(r)) {
        Call(row);
        Close();
    }
}

void TransferTable::EndFile() {
    if (open_) Close();
    latestInfo_ = Info{};
}

void TransferTable::Call(std::size_t row) {
    current_.last = row;
    ++current_.calls;
    if (current_.rows.size() < kMaxRows) current_.rows.push_back(row);
}

void TransferTable::Close() {
    open_ = false;
    if (current_.rc == "TWRC_XFERDONE") ++done_;
    if (current_.rc == "TWRC_CANCEL") ++cancelled_;
    if (transfers_.size() < kMaxTransfers) {
        transfers_.push_back(std::move(current_));
    } else {
        ++notListed_;
    }
}

void TransferTable::Write(JsonWriter& w, StringTable& strings) const {
    w.StartArray();
    for (const Transfer& t : transfers_) {
        w.StartArray();
        w.Uint64(t.file);
        w.Uint64(t.first);
        w.Uint64(t.last);
        strings.Write(w, t.mechanism);
        strings.Write(w, t.rc);
        strings.Write(w, t.info.width);
        strings.Write(w, t.info.length);
        strings.Write(w, t.info.bitsPerPixel);
        strings.Write(w, t.info.pixelType);
        if (t.memory) {
            w.Uint64(t.bytes);
        } else {
            w.Int(-1);
        }
        w.StartArray();
        for (std::size_t row : t.rows) w.Uint64(row);
        w.EndArray();
        w.Uint64(t.calls);
        w.EndArray();
    }
    w.EndArray();
}

}  // namespace twainlog
