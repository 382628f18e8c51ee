// `twainlog summary`: what a session did, in a few lines.
#ifndef TWAINLOG_SUMMARY_H
#define TWAINLOG_SUMMARY_H

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Json.h"
#include "Transcript.h"

namespace twainlog {

// Lists are kept in full up to this many entries; beyond, only counted.
constexpr std::size_t kSummaryDetail = 1000;
// Distinct triplets (or failure kinds) counted one by one; beyond, under "(other)".
constexpr std::size_t kSummaryKinds = 10000;

struct Counts {
    std::map<std::string, std::size_t> byKey;
    void Add(const std::string& key, std::size_t n = 1);
    // Most frequent first, then by name.
    std::vector<std::pair<std::string, std::size_t>> Sorted() const;
};

class SessionSummary {
public:
    explicit SessionSummary(std::string file) : file_(std::move(file)) {}
    void Add(const Record& record);
    void Unreadable(std::size_t line);
    void Finish(std::size_t lines, std::uint64_t bytes);

    void PrintText(std::FILE* out) const;
    void WriteJson(JsonWriter& w) const;

    const std::string& File() const { return file_; }
    std::size_t Calls() const { return calls_; }
    std::size_t Transfers() const { return transfers_; }
    std::size_t Failures() const { return failures_; }
    // Failures by "DG/DAT/MSG: CONDITION" (the condition code when the next call asked for it).
    const Counts& FailureKinds() const { return failureKinds_; }

private:
    struct Image {
        std::size_t line;
        std::string width, height, bitsPerPixel, pixelType;
    };
    struct CapSet {
        std::size_t line;
        std::string cap, msg, value, rc;
        bool accepted;
    };
    struct Failure {
        std::size_t line;
        long seq;
        bool hasSeq;
        std::string triplet, cap, rc, condition;
    };
    std::string file_;
    std::size_t calls_ = 0, events_ = 0;
    Counts perTriplet_;
    bool anyState_ = false;
    int highest_ = 0, last_ = 0;
    std::size_t transfers_ = 0;
    Image latestInfo_{};
    bool haveInfo_ = false;
    std::vector<Image> images_;
    std::size_t capSets_ = 0;
    std::vector<CapSet> sets_;
    std::size_t failures_ = 0;
    std::vector<Failure> failureList_;
    Counts failureKinds_;
    bool lastWasFailure_ = false;  // the previous record failed: a DAT_STATUS now tells its condition
    std::string pendingKind_;
    std::size_t truncatedCount_ = 0;
    std::vector<std::size_t> truncated_;
    bool incomplete_ = false;
    std::size_t incompleteLine_ = 0;
    std::string incompleteTriplet_;
    std::size_t unreadableCount_ = 0;
    std::vector<std::size_t> unreadable_;
    std::size_t lines_ = 0;
    std::uint64_t bytes_ = 0;
};

// The total across several files.
class SummaryTotal {
public:
    void Add(const SessionSummary& s);
    void PrintText(std::FILE* out) const;
    void WriteJson(JsonWriter& w) const;

private:
    std::size_t files_ = 0, calls_ = 0, transfers_ = 0, failures_ = 0;
    Counts failureKinds_;
};

}  // namespace twainlog

#endif  // TWAINLOG_SUMMARY_H
