// The fixed texts of a call's record in the log, around its data block: the analyser and the entry
// write them (ParaAnalyze.cpp, CallRecord.h), the reader of transcripts looks for them. They are
// string literals, so the analyser's formats are put together from them while compiling.
#ifndef TWAINMON_RECORDTEXT_H
#define TWAINMON_RECORDTEXT_H

// The result block: "        Return Code = [TWRC_SUCCESS]", then "pData   = <0x5a1c2e40>".
#define TWAINMON_RESULT_LABEL "Return Code = ["
#define TWAINMON_DATA_LABEL "pData   = <"
// The state line, after an empty line: "TWAIN Status = [4]".
#define TWAINMON_STATE_LABEL "TWAIN Status = ["
// The two lines after the record of a failed call.
#define TWAINMON_FAILURE_START "*** Inspect Error Status Start ***"
#define TWAINMON_FAILURE_END "*** Inspect Error Status End   ***"
// After a rendering cut at the text's room, with no line end.
#define TWAINMON_TOO_LONG "Size of CAP_xxx too long"

#endif  // TWAINMON_RECORDTEXT_H
