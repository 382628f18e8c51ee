// The record one call leaves in the log, piece by piece, as the entry writes it: the triplet line,
// the result report (one longer than the text's room is written up to the room, then the overflow
// message) and, for a failed call, the two failure lines.
#ifndef TWAINMON_CALLRECORD_H
#define TWAINMON_CALLRECORD_H

#include <cstddef>

#include "ParaAnalyze.h"
#include "RecordText.h"
#include "TextBuffer.h"
#include "TwainTypes.h"

namespace record {

inline constexpr char kTooLongMessage[] = TWAINMON_TOO_LONG;  // no line end
static_assert(sizeof(kTooLongMessage) - 1 == 24, "the overflow message is 24 bytes");
inline constexpr char kErrorStatusStart[] = TWAINMON_FAILURE_START "\r\n";
inline constexpr char kErrorStatusEnd[] = TWAINMON_FAILURE_END "\r\n";

// Renders the call with the analyser into text (the call's own) and hands each piece of its record
// to write(pText, nLength); the failure lines only when bFailureLines.
template <typename Write>
void WriteRecord(CParaAnalyze& analyser, CTextBuffer& text, pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT,
                 TW_UINT16 MSG, TW_MEMREF pData, TW_UINT16 rc, bool bFailureLines, Write write) {
    text.Clear();
    analyser.TripletAnalyze(pOrigin, nullptr, DG, DAT, MSG, pData, &text);
    if (!text.Empty()) write(text.Text(), text.Length());

    text.Clear();
    analyser.ParaAnalyze(pOrigin, nullptr, DG, DAT, MSG, pData, rc, &text);
    if (!text.Empty()) {
        write(text.Text(), text.Length());
        if (text.Overflowed()) write(kTooLongMessage, sizeof(kTooLongMessage) - 1);
    }

    if (rc == TWRC_FAILURE && bFailureLines) {
        write(kErrorStatusStart, sizeof(kErrorStatusStart) - 1);
        write(kErrorStatusEnd, sizeof(kErrorStatusEnd) - 1);
    }
}

}  // namespace record

#endif  // TWAINMON_CALLRECORD_H
