#include "Summary.h"

#include <algorithm>

#include "Block.h"

namespace twainlog {

namespace {

// Texts kept for the report are clipped, so that lines of any length cannot fill the memory.
constexpr std::size_t kMaxText = 256;

std::string Str(std::string_view v) { return std::string(v.substr(0, kMaxText)); }

void PrintLines(std::FILE* out, const std::vector<std::size_t>& lines, std::size_t count) {
    std::fprintf(out, " (line");
    if (lines.size() > 1) std::fprintf(out, "s");
    for (std::size_t i = 0; i < lines.size(); ++i) std::fprintf(out, "%s %zu", i ? "," : "", lines[i]);
    if (count > lines.size()) std::fprintf(out, " and %zu more", count - lines.size());
    std::fprintf(out, ")");
}

void WriteCounts(JsonWriter& w, const Counts& c) {
    w.StartArray();
    for (const auto& [key, n] : c.Sorted()) {
        w.StartObject();
        WriteStr(w, "key", key);
        w.Key("count");
        w.Uint64(n);
        w.EndObject();
    }
    w.EndArray();
}

}  // namespace

void Counts::Add(const std::string& key, std::size_t n) {
    if (key.size() > kMaxText) {
        Add(key.substr(0, kMaxText), n);
        return;
    }
    auto it = byKey.find(key);
    if (it != byKey.end()) {
        it->second += n;
    } else if (byKey.size() < kSummaryKinds) {
        byKey.emplace(key, n);
    } else {
        byKey["(other)"] += n;
    }
}

std::vector<std::pair<std::string, std::size_t>> Counts::Sorted() const {
    std::vector<std::pair<std::string, std::size_t>> v(byKey.begin(), byKey.end());
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return v;
}

void SessionSummary::Add(const Record& r) {
    thread_local std::string key;
    ++calls_;
    if (r.event) ++events_;
    key.assign(r.dg).append("/").append(r.dat).append("/").append(r.msg);
    perTriplet_.Add(key);
    const std::string_view dat = r.dat;

    if (lastWasFailure_) {
        lastWasFailure_ = false;
        std::string_view cc;
        if (dat == "DAT_STATUS" && r.msg == "MSG_GET" && FindField(r, "ConditionCode", cc)) {
            if (!failureList_.empty() && failureList_.back().condition.empty()) failureList_.back().condition = Str(cc);
            pendingKind_.append(": ").append(cc);
        }
        failureKinds_.Add(pendingKind_);
    }
    if (r.hasState) {
        if (!anyState_ || r.state > highest_) highest_ = r.state;
        anyState_ = true;
        last_ = r.state;
    }
    if (dat == "DAT_IMAGEINFO" && r.rc == "TWRC_SUCCESS") {
        const ImageInfoFields info = ReadImageInfo(r);
        latestInfo_ = Image{r.line, Str(info.width), Str(info.length), Str(info.bitsPerPixel), Str(info.pixelType)};
        haveInfo_ = true;
    }
    if (IsImageTransferDat(dat) && r.rc == "TWRC_XFERDONE") {
        ++transfers_;
        if (images_.size() < kSummaryDetail) {
            Image image = haveInfo_ ? latestInfo_ : Image{0, {}, {}, {}, {}};
            image.line = r.line;
            images_.push_back(std::move(image));
        }
        haveInfo_ = false;
    }
    if (dat == "DAT_CAPABILITY" && (r.msg == "MSG_SET" || r.msg == "MSG_SETCONSTRAINT")) {
        ++capSets_;
        if (sets_.size() < kSummaryDetail) {
            thread_local std::vector<std::string_view> items;
            CapItems(r, items);
            std::string value;
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (i) value += ", ";
                value.append(items[i]);
            }
            sets_.push_back(CapSet{r.line, Str(r.cap), Str(r.msg), Str(value), Str(r.rc), SetAccepted(r.rc)});
        }
    }
    if (CallFailed(r)) {
        ++failures_;
        Failure f{r.line, r.seq, r.hasSeq, Str(key), Str(r.cap), Str(r.rc), {}};
        pendingKind_ = key;
        lastWasFailure_ = true;
        if (failureList_.size() < kSummaryDetail) failureList_.push_back(std::move(f));
    }
    if (r.truncated) {
        ++truncatedCount_;
        if (truncated_.size() < kSummaryDetail) truncated_.push_back(r.line);
    }
    incomplete_ = r.incomplete;
    if (r.incomplete) {
        incompleteLine_ = r.line;
        incompleteTriplet_ = key;
        if (r.hasCap) incompleteTriplet_.append(" (").append(r.cap).append(")");
    }
}

void SessionSummary::Unreadable(std::size_t line) {
    ++unreadableCount_;
    if (unreadable_.size() < kSummaryDetail) unreadable_.push_back(line);
}

void SessionSummary::Finish(std::size_t lines, std::uint64_t bytes) {
    if (lastWasFailure_) {
        lastWasFailure_ = false;
        failureKinds_.Add(pendingKind_);
    }
    lines_ = lines;
    bytes_ = bytes;
}

void SessionSummary::PrintText(std::FILE* out) const {
    std::fprintf(out, "%s: %zu lines, %llu bytes\n", file_.c_str(), lines_, static_cast<unsigned long long>(bytes_));
    std::fprintf(out, "  calls: %zu", calls_);
    if (events_) std::fprintf(out, " (%zu of them window events)", events_);
    std::fprintf(out, "\n");
    for (const auto& [triplet, n] : perTriplet_.Sorted()) std::fprintf(out, "    %6zu  %s\n", n, triplet.c_str());
    if (anyState_) {
        std::fprintf(out, "  state: highest %d, at the end %d\n", highest_, last_);
    } else {
        std::fprintf(out, "  state: no state line\n");
    }
    std::fprintf(out, "  transfers: %zu\n", transfers_);
    for (const Image& i : images_) {
        std::fprintf(out, "    line %zu: ", i.line);
        if (i.width.empty() && i.height.empty()) {
            std::fprintf(out, "no image information before it\n");
        } else {
            std::fprintf(out, "%s x %s, %s bits per pixel, %s\n", i.width.c_str(), i.height.c_str(),
                         i.bitsPerPixel.c_str(), i.pixelType.c_str());
        }
    }
    if (transfers_ > images_.size()) std::fprintf(out, "    ... and %zu more\n", transfers_ - images_.size());
    std::fprintf(out, "  capabilities set: %zu\n", capSets_);
    for (const CapSet& s : sets_) {
        std::fprintf(out, "    line %zu: %s %s = %s: %s (%s)\n", s.line, s.msg.c_str(), s.cap.c_str(),
                     s.value.empty() ? "(not shown)" : s.value.c_str(), s.accepted ? "accepted" : "refused", s.rc.c_str());
    }
    if (capSets_ > sets_.size()) std::fprintf(out, "    ... and %zu more\n", capSets_ - sets_.size());
    std::fprintf(out, "  failures: %zu\n", failures_);
    for (const Failure& f : failureList_) {
        std::fprintf(out, "    line %zu: ", f.line);
        if (f.hasSeq) std::fprintf(out, "[%ld] ", f.seq);
        std::fprintf(out, "%s", f.triplet.c_str());
        if (!f.cap.empty()) std::fprintf(out, " (%s)", f.cap.c_str());
        std::fprintf(out, ": %s", f.rc.empty() ? "no return code" : f.rc.c_str());
        if (!f.condition.empty()) std::fprintf(out, ", condition %s", f.condition.c_str());
        std::fprintf(out, "\n");
    }
    if (failures_ > failureList_.size()) std::fprintf(out, "    ... and %zu more\n", failures_ - failureList_.size());
    std::fprintf(out, "  truncated renderings: %zu", truncatedCount_);
    if (truncatedCount_) PrintLines(out, truncated_, truncatedCount_);
    std::fprintf(out, "\n");
    if (incomplete_) {
        std::fprintf(out, "  incomplete last record: line %zu, %s: the host stopped inside this call\n", incompleteLine_,
                     incompleteTriplet_.c_str());
    } else {
        std::fprintf(out, "  incomplete last record: none\n");
    }
    std::fprintf(out, "  unreadable lines: %zu", unreadableCount_);
    if (unreadableCount_) PrintLines(out, unreadable_, unreadableCount_);
    std::fprintf(out, "\n");
}

void SessionSummary::WriteJson(JsonWriter& w) const {
    w.StartObject();
    WriteStr(w, "file", file_);
    w.Key("lines");
    w.Uint64(lines_);
    w.Key("bytes");
    w.Uint64(bytes_);
    w.Key("calls");
    w.Uint64(calls_);
    w.Key("events");
    w.Uint64(events_);
    w.Key("perTriplet");
    WriteCounts(w, perTriplet_);
    if (anyState_) {
        w.Key("highestState");
        w.Int(highest_);
        w.Key("finalState");
        w.Int(last_);
    }
    w.Key("transfers");
    w.Uint64(transfers_);
    w.Key("images");
    w.StartArray();
    for (const Image& i : images_) {
        w.StartObject();
        w.Key("line");
        w.Uint64(i.line);
        WriteStr(w, "width", i.width);
        WriteStr(w, "height", i.height);
        WriteStr(w, "bitsPerPixel", i.bitsPerPixel);
        WriteStr(w, "pixelType", i.pixelType);
        w.EndObject();
    }
    w.EndArray();
    w.Key("capabilitiesSet");
    w.Uint64(capSets_);
    w.Key("sets");
    w.StartArray();
    for (const CapSet& s : sets_) {
        w.StartObject();
        w.Key("line");
        w.Uint64(s.line);
        WriteStr(w, "msg", s.msg);
        WriteStr(w, "cap", s.cap);
        WriteStr(w, "value", s.value);
        WriteStr(w, "rc", s.rc);
        w.Key("accepted");
        w.Bool(s.accepted);
        w.EndObject();
    }
    w.EndArray();
    w.Key("failures");
    w.Uint64(failures_);
    w.Key("failureList");
    w.StartArray();
    for (const Failure& f : failureList_) {
        w.StartObject();
        w.Key("line");
        w.Uint64(f.line);
        if (f.hasSeq) {
            w.Key("seq");
            w.Int64(f.seq);
        }
        WriteStr(w, "triplet", f.triplet);
        if (!f.cap.empty()) WriteStr(w, "cap", f.cap);
        WriteStr(w, "rc", f.rc);
        if (!f.condition.empty()) WriteStr(w, "conditionCode", f.condition);
        w.EndObject();
    }
    w.EndArray();
    w.Key("truncated");
    w.StartArray();
    for (std::size_t line : truncated_) w.Uint64(line);
    w.EndArray();
    if (incomplete_) {
        w.Key("incomplete");
        w.StartObject();
        w.Key("line");
        w.Uint64(incompleteLine_);
        WriteStr(w, "call", incompleteTriplet_);
        w.EndObject();
    }
    w.Key("unreadableLines");
    w.Uint64(unreadableCount_);
    w.Key("unreadable");
    w.StartArray();
    for (std::size_t line : unreadable_) w.Uint64(line);
    w.EndArray();
    w.EndObject();
}

void SummaryTotal::Add(const SessionSummary& s) {
    ++files_;
    calls_ += s.Calls();
    transfers_ += s.Transfers();
    failures_ += s.Failures();
    for (const auto& [key, n] : s.FailureKinds().byKey) failureKinds_.Add(key, n);
}

void SummaryTotal::PrintText(std::FILE* out) const {
    std::fprintf(out, "total over %zu files: %zu calls, %zu transfers, %zu failures\n", files_, calls_, transfers_, failures_);
    for (const auto& [kind, n] : failureKinds_.Sorted()) std::fprintf(out, "    %6zu  %s\n", n, kind.c_str());
}

void SummaryTotal::WriteJson(JsonWriter& w) const {
    w.StartObject();
    w.Key("files");
    w.Uint64(files_);
    w.Key("calls");
    w.Uint64(calls_);
    w.Key("transfers");
    w.Uint64(transfers_);
    w.Key("failures");
    w.Uint64(failures_);
    w.Key("failuresByKind");
    WriteCounts(w, failureKinds_);
    w.EndObject();
}

}  // namespace twainlog
