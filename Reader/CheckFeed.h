// `twainlog check`: call records handed to the protocol rules.
#ifndef TWAINLOG_CHECKFEED_H
#define TWAINLOG_CHECKFEED_H

#include "Transcript.h"
#include "check/SessionCheck.h"

namespace twainlog {

// Fills call from record, reusing call's storage.
void FillCall(const Record& record, check::Call& call);

}  // namespace twainlog

#endif  // TWAINLOG_CHECKFEED_H
