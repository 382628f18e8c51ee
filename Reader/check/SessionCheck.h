// The TWAIN protocol rules, applied to a recorded session one call record at a time.
#ifndef TWAINLOG_SESSIONCHECK_H
#define TWAINLOG_SESSIONCHECK_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace twainlog {
namespace check {

// One call record of a transcript, as the rules need it. Texts are as the transcript shows them
// ("DG_CONTROL", "DAT_CAPABILITY", "MSG_GET", "ICAP_PIXELTYPE", "TWRC_SUCCESS", "ERROR!(1027)").
struct Call {
    std::size_t line = 0;            // 1-based line of the record's first line
    std::optional<long> seq;         // the number in brackets; none for an unnumbered window event
    bool event = false;              // a claimed window event (no triplet line of its own)
    std::string dg, dat, msg;        // for an event: DG_CONTROL / DAT_EVENT (or the DAT its block names) / MSG_PROCESSEVENT
    std::string cap;                 // the capability the triplet line names; empty when none
    std::string rc;                  // the return code's name; empty when the record has none
    bool failed = false;             // the failure lines follow the record
    bool truncated = false;          // the rendering was cut ("Size of CAP_xxx too long")
    bool incomplete = false;         // the record stops early (the host stopped inside this call)
    std::string eventMessage;        // TW_EVENT TWMessage, when the block holds one ("MSG_XFERREADY")
    std::string pendingCount;        // TW_PENDINGXFERS Count, when the block holds one ("0", "65535")
    std::string conditionCode;       // TW_STATUS ConditionCode, when the block holds one ("TWCC_BADCAP")
    std::vector<std::string> capItems;  // the capability's values: the item texts of an item list
                                        // without index and comma ("ICAP_XRESOLUTION"), or the one
                                        // value of a TW_ONEVALUE ("Item")
};

enum class Severity { Note, Warning, Error };

// One diagnostic, reported at the line of the record it concerns.
struct Finding {
    std::size_t line = 0;
    Severity severity = Severity::Warning;
    std::optional<long> seq;
    std::string triplet;  // "DG/DAT/MSG"
    std::string cap;      // empty when none
    std::string message;  // what is wrong
};

class SessionChecker {
public:
    using Sink = std::function<void(const Finding&)>;
    // Findings go to sink in line order, as soon as they are certain.
    explicit SessionChecker(Sink sink);
    ~SessionChecker();
    SessionChecker(const SessionChecker&) = delete;
    SessionChecker& operator=(const SessionChecker&) = delete;
    void Add(const Call& call);  // the records, in file order
    void Finish();               // the end of the transcript: rules about how the session ended
    int Errors() const;
    int Warnings() const;
    // The TWAIN states the session may be in after the calls added so far: bit s for state s (1 to
    // 7). One bit as a rule; more where the transcript cannot tell (see SessionCheck.cpp).
    std::uint8_t States() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// "FILE:LINE: error|warning|note: [seq] DG/DAT/MSG (CAP): message" (no "[seq] " without a
// number, no " (CAP)" without a capability), no line end.
std::string FormatFinding(const std::string& file, const Finding& finding);

}  // namespace check
}  // namespace twainlog

#endif  // TWAINLOG_SESSIONCHECK_H
