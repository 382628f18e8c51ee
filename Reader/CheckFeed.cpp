#include "CheckFeed.h"

#include "Block.h"

namespace twainlog {

void FillCall(const Record& r, check::Call& c) {
    c.line = r.line;
    c.seq = r.hasSeq ? std::optional<long>(r.seq) : std::nullopt;
    c.event = r.event;
    c.dg.assign(r.dg);
    c.dat.assign(r.dat);
    c.msg.assign(r.msg);
    c.cap.assign(r.cap);
    c.rc.assign(r.rc);
    c.failed = r.failed;
    c.truncated = r.truncated;
    c.incomplete = r.incomplete;
    c.eventMessage.clear();
    c.pendingCount.clear();
    c.conditionCode.clear();
    c.capItems.clear();
    std::string_view v;
    if (r.dat == "DAT_CAPABILITY") {
        thread_local std::vector<std::string_view> items;
        CapItems(r, items);
        c.capItems.assign(items.begin(), items.end());
    } else if (r.dat == "DAT_PENDINGXFERS") {
        if (FindField(r, "Count", v)) c.pendingCount.assign(v);
    } else if (r.dat == "DAT_STATUS") {
        if (FindField(r, "ConditionCode", v)) c.conditionCode.assign(v);
    }
    if (r.event || r.dat == "DAT_EVENT") {
        if (FindField(r, "TWMessage", v)) c.eventMessage.assign(v);
    }
}

}  // namespace twainlog
