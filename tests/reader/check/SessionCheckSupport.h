// Hand-built call records for the protocol rules, and a session that collects what they find.
#ifndef TWAINLOG_SESSIONCHECKSUPPORT_H
#define TWAINLOG_SESSIONCHECKSUPPORT_H

#include <string>
#include <vector>

#include "SessionCheck.h"

namespace checksupport {

using twainlog::check::Call;
using twainlog::check::Finding;
using twainlog::check::Severity;

// A numbered call: "DG_CONTROL/DAT_CAPABILITY/MSG_SET", its return code, its capability.
inline Call Op(const std::string& triplet, const std::string& rc = "TWRC_SUCCESS", const std::string& cap = "") {
    Call call;
    const std::size_t a = triplet.find('/');
    const std::size_t b = triplet.find('/', a + 1);
    call.dg = triplet.substr(0, a);
    call.dat = triplet.substr(a + 1, b - a - 1);
    call.msg = triplet.substr(b + 1);
    call.rc = rc;
    call.cap = cap;
    call.failed = rc == "TWRC_FAILURE";
    return call;
}

inline Call Cap(const std::string& msg, const std::string& cap, const std::string& rc = "TWRC_SUCCESS",
                std::vector<std::string> items = {}) {
    Call call = Op("DG_CONTROL/DAT_CAPABILITY/" + msg, rc, cap);
    call.capItems = std::move(items);
    return call;
}

// A claimed window event carrying the source's message.
inline Call Event(const std::string& message) {
    Call call = Op("DG_CONTROL/DAT_EVENT/MSG_PROCESSEVENT", "TWRC_DSEVENT");
    call.event = true;
    call.eventMessage = message;
    return call;
}

inline Call Status(const std::string& conditionCode) {
    Call call = Op("DG_CONTROL/DAT_STATUS/MSG_GET");
    call.conditionCode = conditionCode;
    return call;
}

inline Call EndXfer(const std::string& count) {
    Call call = Op("DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER");
    call.pendingCount = count;
    return call;
}

inline const Call kOpenDsm = Op("DG_CONTROL/DAT_PARENT/MSG_OPENDSM");
inline const Call kOpenDs = Op("DG_CONTROL/DAT_IDENTITY/MSG_OPENDS");
inline const Call kEnable = Op("DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS");
inline const Call kDisable = Op("DG_CONTROL/DAT_USERINTERFACE/MSG_DISABLEDS");
inline const Call kCloseDs = Op("DG_CONTROL/DAT_IDENTITY/MSG_CLOSEDS");
inline const Call kCloseDsm = Op("DG_CONTROL/DAT_PARENT/MSG_CLOSEDSM");
inline const Call kImageInfo = Op("DG_IMAGE/DAT_IMAGEINFO/MSG_GET");
inline const Call kMemBuffer = Op("DG_IMAGE/DAT_IMAGEMEMXFER/MSG_GET");
inline const Call kMemLast = Op("DG_IMAGE/DAT_IMAGEMEMXFER/MSG_GET", "TWRC_XFERDONE");
inline const Call kNative = Op("DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET", "TWRC_XFERDONE");
inline const Call kReset = Op("DG_CONTROL/DAT_PENDINGXFERS/MSG_RESET");

// Feeds records with line numbers 10 apart and consecutive sequence numbers (events unnumbered),
// and keeps every finding.
class Session {
public:
    Session() : checker_([this](const Finding& f) { findings.push_back(f); }) {}

    // The line the record was given (its own, if it has one).
    std::size_t Add(Call call) {
        if (call.line == 0) {
            call.line = line_;
            line_ += 10;
        }
        if (!call.event && !call.seq) call.seq = ++seq_;
        if (call.seq) seq_ = *call.seq;
        checker_.Add(call);
        return call.line;
    }
    Session& Add(const std::vector<Call>& calls) {
        for (const Call& call : calls) Add(call);
        return *this;
    }
    Session& Finish() {
        checker_.Finish();
        return *this;
    }

    int Errors() const { return checker_.Errors(); }
    int Warnings() const { return checker_.Warnings(); }
    std::vector<Finding> Of(Severity severity) const {
        std::vector<Finding> of;
        for (const Finding& f : findings) {
            if (f.severity == severity) of.push_back(f);
        }
        return of;
    }
    // The findings as compiler lines, for failure messages.
    std::string Text() const {
        std::string text;
        for (const Finding& f : findings) text += twainlog::check::FormatFinding("t.txt", f) + "\n";
        return text;
    }

    std::vector<Finding> findings;

private:
    twainlog::check::SessionChecker checker_;
    std::size_t line_ = 1;
    long seq_ = 0;
};

// Opened and ready: manager and source open, one capability set, the source enabled.
inline std::vector<Call> OpenAndEnable() {
    return {kOpenDsm, kOpenDs, Cap("MSG_GET", "CAP_SUPPORTEDCAPS"), Cap("MSG_SET", "ICAP_PIXELTYPE"), kEnable};
}

// One image in memory buffers, announced by a window event, and the way back down.
inline std::vector<Call> WellBehavedSession() {
    std::vector<Call> calls = OpenAndEnable();
    for (const Call& c : {Event("MSG_XFERREADY"), kImageInfo, kMemBuffer, kMemBuffer, kMemLast, EndXfer("0"),
                          kDisable, kCloseDs, kCloseDsm}) {
        calls.push_back(c);
    }
    return calls;
}

}  // namespace checksupport

#endif  // TWAINLOG_SESSIONCHECKSUPPORT_H
