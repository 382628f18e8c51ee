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

// Gives records without a line the lines 1, 11, 21 ... and records without a number the next
// one (events stay unnumbered), and keeps every finding.
class Session {
public:
    Session() : checker_([this](const Finding& f) { findings.push_back(f); }) {}

    Session& Add(std::vector<Call> calls) {
        for (Call& call : calls) {
            if (call.line == 0) call.line = 1 + 10 * count_;
            ++count_;
            if (!call.event && !call.seq) call.seq = seq_ + 1;
            if (call.seq) seq_ = *call.seq;
            checker_.Add(call);
        }
        return *this;
    }
    void Finish() { checker_.Finish(); }

    int Errors() const { return checker_.Errors(); }
    int Warnings() const { return checker_.Warnings(); }
    // The findings in short: "3 error" for an error about the record on line 31 (the fourth one
    // added, counting from 0).
    std::vector<std::string> Brief() const {
        static const char* const kWord[] = {"note", "warning", "error"};
        std::vector<std::string> brief;
        for (const Finding& f : findings) {
            brief.push_back(std::to_string((f.line - 1) / 10) + " " + kWord[static_cast<int>(f.severity)]);
        }
        return brief;
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
    std::size_t count_ = 0;
    long seq_ = 0;
};

}  // namespace checksupport

#endif  // TWAINLOG_SESSIONCHECKSUPPORT_H
