// Stands in for the protocol rules while they are not in the tree: finds nothing.
#include "SessionCheck.h"

namespace twainlog {
namespace check {

SessionChecker::SessionChecker(Sink) {}
void SessionChecker::Add(const Call&) {}
void SessionChecker::Finish() {}
int SessionChecker::Errors() const { return 0; }
int SessionChecker::Warnings() const { return 0; }

std::string FormatFinding(const std::string& file, const Finding& f) {
    static const char* const kNames[] = {"note", "warning", "error"};
    std::string s = file + ":" + std::to_string(f.line) + ": " + kNames[static_cast<int>(f.severity)] + ": ";
    if (f.seq) s += "[" + std::to_string(*f.seq) + "] ";
    if (!f.triplet.empty()) s += f.triplet;
    if (!f.cap.empty()) s += " (" + f.cap + ")";
    if (!f.triplet.empty()) s += ": ";
    return s + f.message;
}

}  // namespace check
}  // namespace twainlog
