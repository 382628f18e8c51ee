// The TWAIN protocol rules over a recorded session.
//
// The state model. The checker keeps the set of TWAIN states the session may be in, derived from
// the recorded calls and their return codes by TWAIN's transitions; normally that set holds one
// state. It widens where the transcript cannot tell: at the start (state 3, the manager that
// loaded the source being open, or 2 when the recording begins before MSG_OPENDSM), after records
// were lost (any state), and after a call whose outcome is not recorded (the state before or after
// it). It narrows again with every call that the source answered normally, since a source answers
// normally only in a state that allows the call. A call is reported when no state of the set
// allows it, so an uncertain state never gives a false error.
//
// Transitions happen on success only: TWRC_SUCCESS (and TWRC_CHECKSTATUS, success with a
// remark) for the calls that open, enable, disable and close; TWRC_SUCCESS, TWRC_XFERDONE or
// TWRC_CANCEL for a transfer, which then stands in state 7 until MSG_ENDXFER or MSG_RESET. A
// failed call leaves the state as it was: TWAIN's sources fail a call before acting on it, and the
// recovery that TWAIN prescribes after a sequence error (step down with MSG_ENDXFER, MSG_RESET,
// MSG_DISABLEDS, ignoring failures) relies on exactly that. A call sent in a state that does not
// allow it is reported once, and if the source carried it out all the same the state follows what
// the source did, so one mistake does not turn every later call into an error.
//
// The source's own messages (MSG_XFERREADY, MSG_CLOSEDSREQ) show up as claimed window events, or
// not at all when the source uses the manager's callback. The first call of a transfer in state 5
// (DAT_IMAGEINFO, DAT_IMAGE*XFER), answered normally, therefore stands for the callback's
// MSG_XFERREADY: a note, and state 6 from there.
//
// Findings reach the sink in line order. A finding that later records settle (a failure, by the
// condition code asked right after it; a transfer, by its MSG_ENDXFER; a close request, by
// MSG_DISABLEDS) keeps its place, and the findings after it wait. Past kMaxHeld waiting findings the
// oldest gives up its place: it is reported at the record that settles it, naming its own line.
#include "SessionCheck.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string_view>
#include <utility>

#include "TwainProtocol.h"

namespace twainlog {
namespace check {

namespace {

// Names as the transcript shows them, from the monitor's tables.
constexpr std::string_view kFailure = RowName(twrc_macros, TWRC_FAILURE);
constexpr std::string_view kExtendedCaps = RowName(cap_macros, CAP_EXTENDEDCAPS);
constexpr std::string_view kDeviceEvent = RowName(cap_macros, CAP_DEVICEEVENT);

constexpr StateSet kTransferStates = StateBit(6) | StateBit(7);
constexpr StateSet kEnabledStates = StateBit(5) | StateBit(6) | StateBit(7);
constexpr StateSet kSourceClosedStates = StateBit(1) | StateBit(2) | StateBit(3);
constexpr StateSet kManagerStates = StateBit(2) | StateBit(3) | StateBit(4) | StateBit(5) | StateBit(6) | StateBit(7);

// Held findings beyond which a finding that waits for the future (a transfer that may still end)
// gives up its place in line and is reported where it becomes certain instead.
constexpr std::size_t kMaxHeld = 1024;

bool Has(StateSet set, int s) { return (set & StateBit(s)) != 0; }

int Lowest(StateSet set) {
    for (int s = 1; s <= 7; ++s) {
        if (Has(set, s)) return s;
    }
    return 0;
}

// Where a call may be: "5", "5 or 6", "2, 3, 4, 5, 6 or 7" (joiner "or"). Where TWAIN allows it:
// "4", "6 and 7", "4-7" (joiner "and", a run of three or more as a range).
std::string StatesText(StateSet set, const char* joiner) {
    int states[8];
    int n = 0;
    for (int s = 1; s <= 7; ++s) {
        if (Has(set, s)) states[n++] = s;
    }
    if (joiner[0] == 'a' && n >= 3 && states[n - 1] - states[0] == n - 1) {
        return std::to_string(states[0]) + "-" + std::to_string(states[n - 1]);
    }
    std::string text;
    for (int i = 0; i < n; ++i) {
        if (i > 0) text += (i == n - 1) ? std::string(" ") + joiner + " " : std::string(", ");
        text += std::to_string(states[i]);
    }
    return text;
}

std::string StateWord(StateSet set, bool any = false) { return any || (set & (set - 1)) == 0 ? "state " : "states "; }

std::string SeqText(long seq) {
    char text[32];
    std::snprintf(text, sizeof(text), "[%05ld]", seq);
    return text;
}

// The return codes with which a source answers a call it accepted in its state.
bool IsNormalAnswer(std::uint16_t rc) {
    return rc <= TWRC_DATANOTAVAILABLE && rc != TWRC_FAILURE;
}

bool IsAnnouncingTransfer(std::uint16_t dat) {
    return dat == DAT_IMAGEINFO || dat == DAT_IMAGEMEMXFER || dat == DAT_IMAGENATIVEXFER || dat == DAT_IMAGEFILEXFER ||
           dat == DAT_IMAGEMEMFILEXFER;
}

const char* ConditionText(Condition condition) {
    switch (condition) {
        case Condition::ExtendedCaps:
            return "for capabilities listed in CAP_EXTENDEDCAPS";
        case Condition::DeviceEvents:
            return "once CAP_DEVICEEVENT is set to some event";
        case Condition::AfterBuffer:
            return "for the next buffer of a transfer whose last buffer came with TWRC_SUCCESS";
        case Condition::AfterXferDone:
            return "after the transfer ended with TWRC_XFERDONE";
        case Condition::AfterCancel:
            return "after the transfer ended with TWRC_CANCEL";
        case Condition::None:
            break;
    }
    return "";
}

// Conditions on the transfer's course are read from TWAIN's prose rather than its state lists,
// and sources differ in them: not met, they give warnings. The capability conditions stand in the
// state lists themselves: not met, they give errors.
bool IsHardCondition(Condition condition) {
    return condition == Condition::ExtendedCaps || condition == Condition::DeviceEvents;
}

}  // namespace

// ---- The checker ---------------------------------------------------------------------------------

struct SessionChecker::Impl {
    enum class Tri : std::uint8_t { Unknown, Yes, No };
    enum class Phase : std::uint8_t { None, Buffering, Done, Cancelled, Unknown };
    enum class Outcome : std::uint8_t { Failed, Unknown, Answered };

    // Where a finding about a record is reported.
    struct Subject {
        std::size_t line = 0;
        std::optional<long> seq;
        std::string triplet;
        std::string cap;
    };

    struct Held {
        Finding finding;
        bool open = true;
        bool drop = false;
    };

    // A finding that waits for later records: a failure (for the condition code that may follow),
    // a transfer (that should end), a close request (that should be answered).
    struct Hold {
        bool active = false;
        bool late = false;  // gave up its place in line (kMaxHeld)
        std::uint64_t slot = 0;
        Subject subject;
        std::string detail;  // the failure's return code; the request's message
    };

    explicit Impl(Sink s) : sink(std::move(s)) {}

    Sink sink;
    int errors = 0, warnings = 0;
    bool finished = false;

    // The session as far as the transcript shows it.
    StateSet states = StateBit(2) | StateBit(3);
    std::optional<long> lastSeq;
    bool anyRecord = false;
    Phase phase = Phase::None;
    bool audio = false;  // the current transfer is of the audio group
    Tri extendedKnown = Tri::Unknown;
    std::vector<std::uint16_t> extendedCaps;
    std::size_t extendedLine = 0;
    Tri deviceEvents = Tri::Unknown;

    // The record being checked, and after it the last one.
    Subject current;

    std::deque<Held> held;
    std::uint64_t frontId = 0;
    Hold failure, transfer, closeRequest;

    // ---- Delivery in line order ----

    void Deliver(const Finding& finding) {
        if (finding.severity == Severity::Error) ++errors;
        if (finding.severity == Severity::Warning) ++warnings;
        if (sink) sink(finding);
    }

    void Flush() {
        while (!held.empty() && !held.front().open) {
            if (!held.front().drop) Deliver(held.front().finding);
            held.pop_front();
            ++frontId;
        }
    }

    void Emit(Finding finding) {
        if (held.empty()) {
            Deliver(finding);
            return;
        }
        held.push_back(Held{std::move(finding), false, false});
        Bound();
    }

    Finding MakeFinding(const Subject& subject, Severity severity, std::string message) const {
        Finding finding;
        finding.line = subject.line;
        finding.severity = severity;
        finding.seq = subject.seq;
        finding.triplet = subject.triplet;
        finding.cap = subject.cap;
        finding.message = std::move(message);
        return finding;
    }

    void Report(Severity severity, std::string message) { Emit(MakeFinding(current, severity, std::move(message))); }

    void Start(Hold& hold, std::string detail = {}) {
        hold.active = true;
        hold.late = false;
        hold.subject = current;
        hold.detail = std::move(detail);
        hold.slot = frontId + held.size();
        held.push_back(Held{});
        Bound();
    }

    // Ends a hold: with a finding about the record that started it, or with none.
    void Resolve(Hold& hold, Severity severity, std::string message, bool withFinding = true) {
        if (!hold.active) return;
        hold.active = false;
        if (hold.late) {
            // Its place in line is gone: reported at the record that settles it.
            if (withFinding) {
                std::string where = "(line " + std::to_string(hold.subject.line) + ") ";
                Emit(MakeFinding(current, severity, where + message));
            }
            return;
        }
        Held& entry = held[hold.slot - frontId];
        entry.open = false;
        if (withFinding) {
            entry.finding = MakeFinding(hold.subject, severity, std::move(message));
        } else {
            entry.drop = true;
        }
        Flush();
    }

    void Drop(Hold& hold) { Resolve(hold, Severity::Note, {}, false); }

    void Bound() {
        while (held.size() > kMaxHeld && held.front().open) {
            for (Hold* hold : {&transfer, &closeRequest, &failure}) {
                if (hold->active && !hold->late && hold->slot == frontId) {
                    hold->late = true;
                    held.front().open = false;
                    held.front().drop = true;
                }
            }
            if (held.front().open) break;  // not reached: every open entry belongs to a hold
            Flush();
        }
    }

    // ---- The rules ----

    void Add(const Call& call) {
        if (finished) return;
        current.line = call.line;
        current.seq = call.seq;
        current.triplet.clear();
        if (!call.dg.empty() || !call.dat.empty() || !call.msg.empty()) {
            current.triplet.append(call.dg).append(1, '/').append(call.dat).append(1, '/').append(call.msg);
        }
        current.cap = call.cap;
        anyRecord = true;

        const bool lost = CheckSequence(call);
        const bool failed = call.failed || call.rc == kFailure;
        // A failure's finding waits for the next call record (a window event is not one, unless it
        // failed itself).
        if (failure.active && (!call.event || failed)) AnswerFailure(call, lost);
        if (call.truncated) {
            Report(Severity::Warning,
                   "rendering cut short (\"Size of CAP_xxx too long\"): the values after the cut are missing");
        }
        if (call.incomplete) {
            Report(Severity::Warning, call.rc.empty()
                                          ? "record incomplete: the host stopped inside this call, before its "
                                            "return code was written"
                                          : "record incomplete: the host stopped inside this call");
        }
        CheckProtocol(call);
        if (failed) Start(failure, call.rc.empty() ? std::string(kFailure) : call.rc);
    }

    // Records lost: from one numbered record to the next, the number grows by one, from 1 on.
    // Returns whether records were lost before this one.
    bool CheckSequence(const Call& call) {
        if (call.event || !call.seq) return false;
        const long seq = *call.seq;
        const std::optional<long> previous = lastSeq;
        lastSeq = seq;
        // (Compared without overflow: the numbers come from whatever the transcript holds.)
        if (previous ? *previous < seq && static_cast<unsigned long>(seq) - static_cast<unsigned long>(*previous) == 1
                     : seq == 1) {
            return false;
        }
        if (!previous && seq > 1) {
            Report(Severity::Warning, seq == 2 ? "record [00001] is missing: the transcript starts at " + SeqText(seq)
                                               : "records [00001] to " + SeqText(seq - 1) +
                                                     " are missing: the transcript starts at " + SeqText(seq));
        } else if (previous && seq > *previous) {
            const unsigned long count = static_cast<unsigned long>(seq) - static_cast<unsigned long>(*previous) - 1;
            Report(Severity::Warning, std::to_string(count) + (count == 1 ? " record" : " records") + " lost between " +
                                          SeqText(*previous) + " and " + SeqText(seq));
        } else {
            Report(Severity::Warning, "sequence number goes back: " + SeqText(seq) +
                                          (previous ? " after " + SeqText(*previous) : std::string()));
        }
        LoseTrack();
        return true;
    }

    // Lost records may have done anything: any state, and no open transfer or request that the
    // transcript could still show answered.
    void LoseTrack() {
        states = kManagerStates;
        phase = Phase::Unknown;
        Drop(transfer);
        Drop(closeRequest);
    }

    // A failure's finding, once the next record shows whether the application asked for the
    // condition code (DG_CONTROL/DAT_STATUS/MSG_GET right after it).
    void AnswerFailure(const Call& next, bool lost) {
        std::string message = "call failed (" + failure.detail + ")";
        const bool asked = DatCode(next.dat) == DAT_STATUS && MsgCode(next.msg) == MSG_GET;
        if (lost) {
            message += "; records were lost after it, the condition code is unknown";
        } else if (asked && !next.failed && next.rc != kFailure && !next.conditionCode.empty()) {
            message += ": " + next.conditionCode;
        } else {
            message += "; the application did not ask for the condition code";
        }
        Resolve(failure, Severity::Warning, std::move(message));
    }

    void CheckProtocol(const Call& call) {
        const std::optional<std::uint16_t> dat = DatCode(call.dat);
        const std::optional<std::uint16_t> msg = MsgCode(call.msg);
        const Operation* op = nullptr;
        bool fromSource = false;  // one of the source's messages (DAT_NULL)
        if (call.event && !call.eventMessage.empty()) {
            // A claimed event stands for the message it carries.
            const std::optional<std::uint16_t> carried = MsgCode(call.eventMessage);
            if (carried) op = FindOperation(DAT_NULL, *carried);
            if (op == nullptr) return;
            fromSource = true;
        } else if (dat && msg) {
            op = FindOperation(*dat, *msg);
            if (op == nullptr) {
                // Standard codes that make no TWAIN operation together (the maker's own codes, from
                // 0x8000 on, are the maker's to define).
                if (*dat < DAT_CUSTOMBASE && *msg < MSG_CUSTOMBASE) {
                    Report(Severity::Warning, call.dat + "/" + call.msg + " is not an operation of TWAIN 2.4");
                }
                return;
            }
            fromSource = op->datCode == DAT_NULL;
        } else {
            return;  // the maker's own operations: their states are the maker's to define
        }

        // The monitor writes a record after the source has answered: a record cut before its
        // return code (the host stopped while it was being written) leaves the answer unknown, one
        // cut after it does not.
        const bool failed = call.failed || call.rc == kFailure;
        const std::optional<std::uint16_t> rc = ReturnCodeOf(call.rc);
        Outcome outcome = Outcome::Answered;
        if (failed) {
            outcome = Outcome::Failed;
        } else if (!fromSource && !rc) {
            outcome = Outcome::Unknown;
        }
        const bool normal = outcome == Outcome::Answered && (fromSource || IsNormalAnswer(*rc));

        // The callback's MSG_XFERREADY, seen through the transfer call it allowed.
        const StateSet allowed = op->valid | op->conditional;
        if ((states & allowed) == 0 && Has(states, 5) && normal && IsAnnouncingTransfer(op->datCode)) {
            Report(Severity::Note,
                   "no MSG_XFERREADY in the transcript: the source announced the transfer through the manager's "
                   "callback; state 6 from here");
            states = StateBit(6);
        }

        CheckStates(call, *op, fromSource);

        StateSet before = states;
        if (normal && (before & allowed) != 0) before &= allowed;
        StateSet after = 0;
        for (int s = 1; s <= 7; ++s) {
            if (Has(before, s)) after |= Next(s, *op, outcome, rc, call, fromSource);
        }
        states = after;

        Follow(call, *op, outcome, rc, fromSource);
    }

    void CheckStates(const Call& call, const Operation& op, bool fromSource) {
        if ((states & op.valid) != 0) return;
        // Allowed under its condition (the buffers of a memory transfer, in 7): settled before
        // any text is made.
        const StateSet conditional = states & op.conditional;
        std::string detail;
        const Tri met = conditional != 0 ? Evaluate(call, op.condition, detail) : Tri::No;
        if (conditional != 0 && met == Tri::Yes) return;

        std::string subject;
        if (fromSource) {
            subject = std::string(op.msg) + " arrived";
        } else if (call.dat != op.dat || call.msg != op.msg) {
            subject = std::string(op.dat) + "/" + std::string(op.msg) + " sent";  // named by number in the transcript
        } else {
            subject = "sent";
        }
        const std::string in = subject + " in " + StateWord(states, true) + StatesText(states, "or");

        if (conditional == 0) {
            std::string message = in + "; TWAIN allows it in " + StateWord(op.valid) + StatesText(op.valid, "and");
            if (op.conditional != 0 && op.valid != 0) {
                message += " (" + StatesText(op.conditional, "and") + " " + ConditionText(op.condition) + ")";
            } else if (op.conditional != 0) {
                message = in + "; TWAIN allows it in " + StateWord(op.conditional) + StatesText(op.conditional, "and") +
                          " " + ConditionText(op.condition);
            }
            Report(Severity::Error, std::move(message));
            return;
        }
        std::string message = in + ", where TWAIN allows it only " + ConditionText(op.condition);
        if (met == Tri::No) {
            Report(IsHardCondition(op.condition) ? Severity::Error : Severity::Warning, message + ": " + detail);
        } else {
            Report(Severity::Warning, message + "; " + detail);
        }
    }

    Tri Evaluate(const Call& call, Condition condition, std::string& detail) const {
        switch (condition) {
            case Condition::ExtendedCaps: {
                if (extendedKnown != Tri::Yes) {
                    detail = "the transcript does not show CAP_EXTENDEDCAPS";
                    return Tri::Unknown;
                }
                const std::optional<std::uint16_t> cap = CapCode(call.cap);
                if (!cap) {
                    detail = "the capability " +
                             (call.cap.empty() ? std::string("is not named") : call.cap + " is not known");
                    return Tri::Unknown;
                }
                for (std::uint16_t listed : extendedCaps) {
                    if (listed == *cap) return Tri::Yes;
                }
                detail = call.cap + " is not in CAP_EXTENDEDCAPS (line " + std::to_string(extendedLine) + ")";
                return Tri::No;
            }
            case Condition::DeviceEvents:
                if (deviceEvents == Tri::Unknown) detail = "the transcript does not show CAP_DEVICEEVENT set";
                if (deviceEvents == Tri::No) detail = "CAP_DEVICEEVENT is not set";
                return deviceEvents;
            case Condition::AfterBuffer:
            case Condition::AfterXferDone:
            case Condition::AfterCancel: {
                const Phase wanted = condition == Condition::AfterBuffer     ? Phase::Buffering
                                     : condition == Condition::AfterXferDone ? Phase::Done
                                                                             : Phase::Cancelled;
                if (phase == wanted) return Tri::Yes;
                switch (phase) {
                    case Phase::Unknown:
                        detail = "records were lost, the transfer's course is unknown";
                        return Tri::Unknown;
                    case Phase::Buffering:
                        detail = "the transfer goes on (its last buffer came with TWRC_SUCCESS)";
                        break;
                    case Phase::Done:
                        detail = "the transfer had ended with TWRC_XFERDONE";
                        break;
                    case Phase::Cancelled:
                        detail = "the transfer had ended with TWRC_CANCEL";
                        break;
                    case Phase::None:
                        detail = "no transfer came before it";
                        break;
                }
                return Tri::No;
            }
            case Condition::None:
                break;
        }
        return Tri::Yes;
    }

    // The state after the call, from state s.
    StateSet Next(int s, const Operation& op, Outcome outcome, std::optional<std::uint16_t> rc, const Call& call,
                  bool fromSource) const {
        const StateSet stay = StateBit(s);
        if (outcome == Outcome::Failed) return stay;
        StateSet done = stay;  // the state had the call done what it does
        bool succeeded = false;
        const auto is = [&rc](std::uint16_t code) { return rc && *rc == code; };
        switch (op.effect) {
            case Effect::Nothing:
            case Effect::CloseRequest:
                return stay;
            case Effect::To:
            case Effect::OpenSource:
            case Effect::CloseSource:
            case Effect::Disable:
                done = StateBit(op.to);
                succeeded = fromSource || is(TWRC_SUCCESS) || is(TWRC_CHECKSTATUS);
                break;
            case Effect::Transfer:
                done = StateBit(7);
                succeeded = is(TWRC_SUCCESS) || is(TWRC_XFERDONE) || is(TWRC_CANCEL);
                break;
            case Effect::EndXfer:
                // Transfers pending (Count not 0, -1 for "unknown" included): 6; none: 5.
                if (audio) {
                    done = StateBit(6);
                } else if (call.pendingCount.empty()) {
                    done = StateBit(5) | StateBit(6);
                } else {
                    done = call.pendingCount == "0" ? StateBit(5) : StateBit(6);
                }
                succeeded = is(TWRC_SUCCESS);
                break;
            case Effect::ResetXfers:
                done = StateBit(audio ? 6 : 5);
                succeeded = is(TWRC_SUCCESS);
                break;
        }
        if (outcome == Outcome::Unknown) return stay | done;
        return succeeded ? done : stay;
    }

    // What the call leaves behind besides the state: the transfer's course, the capabilities the
    // rules depend on, and the findings that wait for later records.
    void Follow(const Call& call, const Operation& op, Outcome outcome, std::optional<std::uint16_t> rc,
                bool fromSource) {
        const bool answered = outcome == Outcome::Answered;
        const auto is = [&rc](std::uint16_t code) { return rc && *rc == code; };
        switch (op.effect) {
            case Effect::Transfer:
                if (answered && (is(TWRC_SUCCESS) || is(TWRC_XFERDONE) || is(TWRC_CANCEL))) {
                    const bool buffered = op.datCode == DAT_IMAGEMEMXFER || op.datCode == DAT_IMAGEMEMFILEXFER;
                    phase = is(TWRC_XFERDONE) ? Phase::Done
                            : is(TWRC_CANCEL) ? Phase::Cancelled
                            : buffered               ? Phase::Buffering
                                                     : Phase::Done;
                    audio = op.datCode == DAT_AUDIOFILEXFER || op.datCode == DAT_AUDIONATIVEXFER;
                    if (!transfer.active && Has(states, 7)) Start(transfer);
                }
                break;
            case Effect::EndXfer:
            case Effect::ResetXfers:
                if (outcome != Outcome::Failed) {
                    phase = Phase::None;
                    Drop(transfer);
                }
                break;
            case Effect::Disable:
                if (outcome != Outcome::Failed) Drop(closeRequest);
                break;
            case Effect::OpenSource:
                if (answered && (is(TWRC_SUCCESS) || is(TWRC_CHECKSTATUS))) {
                    // A newly opened source: its capabilities at their defaults (no device events).
                    extendedKnown = Tri::Unknown;
                    deviceEvents = Tri::No;
                    phase = Phase::None;
                    audio = false;
                }
                break;
            case Effect::CloseRequest:
                if (outcome != Outcome::Failed && !closeRequest.active && (states & kEnabledStates) != 0) {
                    Start(closeRequest, std::string(op.msg));
                }
                break;
            case Effect::To:
            case Effect::CloseSource:
            case Effect::Nothing:
                break;
        }
        if (op.datCode == DAT_CAPABILITY && answered && (is(TWRC_SUCCESS) || is(TWRC_CHECKSTATUS))) {
            LearnCapability(call, op);
        }

        // Findings that the state's course settles.
        if (transfer.active && (states & kTransferStates) == 0) {
            Resolve(transfer, Severity::Error,
                    "transfer never ended: " + NameForMessage(op, fromSource) + " at line " +
                        std::to_string(call.line) + " came before MSG_ENDXFER or MSG_RESET");
        }
        if (closeRequest.active && (states & kEnabledStates) == 0) {
            Resolve(closeRequest, Severity::Error,
                    closeRequest.detail + " not answered with MSG_DISABLEDS: " + NameForMessage(op, fromSource) +
                        " at line " + std::to_string(call.line) + " left the enabled states");
        }
    }

    static std::string NameForMessage(const Operation& op, bool fromSource) {
        if (fromSource) return std::string(op.msg);
        return std::string(op.dat) + "/" + std::string(op.msg);
    }

    void LearnCapability(const Call& call, const Operation& op) {
        if (op.msgCode == MSG_RESETALL) {
            extendedKnown = Tri::Unknown;
            deviceEvents = Tri::No;
            return;
        }
        // Only two capabilities matter here; the transcript names both, so most calls are passed
        // over without a lookup.
        if (call.cap != kExtendedCaps && call.cap != kDeviceEvent && !UnnamedCode(call.cap)) return;
        const std::optional<std::uint16_t> cap = CapCode(call.cap);
        if (cap == CAP_EXTENDEDCAPS) {
            if ((op.msgCode == MSG_GET || op.msgCode == MSG_GETCURRENT || op.msgCode == MSG_SET) && !call.truncated) {
                extendedCaps.clear();
                for (const std::string& item : call.capItems) {
                    if (const std::optional<std::uint16_t> listed = CapCode(item)) extendedCaps.push_back(*listed);
                }
                extendedKnown = Tri::Yes;
                extendedLine = call.line;
            } else if (op.msgCode == MSG_RESET || op.msgCode == MSG_SET) {
                extendedKnown = Tri::Unknown;
            }
        } else if (cap == CAP_DEVICEEVENT) {
            if (op.msgCode == MSG_SET && !call.truncated) {
                deviceEvents = call.capItems.empty() ? Tri::No : Tri::Yes;
            } else if (op.msgCode == MSG_RESET) {
                deviceEvents = Tri::No;
            } else if (op.msgCode == MSG_SET) {
                deviceEvents = Tri::Unknown;
            }
        }
    }

    void Finish() {
        if (finished) return;
        finished = true;
        // The findings of the end are reported at the last record.
        if (failure.active) {
            Resolve(failure, Severity::Warning,
                    "call failed (" + failure.detail + "); the transcript ends before the condition code");
        }
        Resolve(transfer, Severity::Error, "transfer never ended: the transcript ends before MSG_ENDXFER or MSG_RESET");
        Resolve(closeRequest, Severity::Error,
                closeRequest.detail + " not answered: the transcript ends before MSG_DISABLEDS");
        if (anyRecord && (states & kSourceClosedStates) == 0) {
            const int lowest = Lowest(states);
            std::string message = "the session ends with the source still ";
            message += lowest >= 5 ? "enabled" : "open";
            message += " (" + StateWord(states, true) + StatesText(states, "or") + "): ";
            message += lowest >= 5 ? "MSG_DISABLEDS and MSG_CLOSEDS are missing" : "MSG_CLOSEDS is missing";
            Report(Severity::Error, std::move(message));
        }
        Flush();
    }
};

SessionChecker::SessionChecker(Sink sink) : impl_(std::make_unique<Impl>(std::move(sink))) {}
SessionChecker::~SessionChecker() = default;
void SessionChecker::Add(const Call& call) { impl_->Add(call); }
void SessionChecker::Finish() { impl_->Finish(); }
int SessionChecker::Errors() const { return impl_->errors; }
int SessionChecker::Warnings() const { return impl_->warnings; }
std::uint8_t SessionChecker::States() const { return impl_->states; }

// ---- Compiler-style lines ----------------------------------------------------------------------

std::string FormatFinding(const std::string& file, const Finding& finding) {
    static constexpr const char* kSeverity[] = {"note", "warning", "error"};
    std::string line;
    line.reserve(file.size() + finding.triplet.size() + finding.cap.size() + finding.message.size() + 48);
    char number[24];
    const auto [end, ec] = std::to_chars(number, number + sizeof(number), finding.line);
    (void)ec;
    line.append(file).append(1, ':').append(number, end).append(": ");
    line.append(kSeverity[static_cast<int>(finding.severity)]).append(": ");
    if (finding.seq) line.append(SeqText(*finding.seq)).append(1, ' ');
    if (!finding.triplet.empty()) {
        line.append(finding.triplet);
        if (!finding.cap.empty()) line.append(" (").append(finding.cap).append(1, ')');
        line.append(": ");
    }
    line.append(finding.message);
    return line;
}

}  // namespace check
}  // namespace twainlog
