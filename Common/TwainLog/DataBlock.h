// What a call's data block holds, by its DAT.
#ifndef TWAINMON_DATABLOCK_H
#define TWAINMON_DATABLOCK_H

#include <cstddef>

#include "TwainTypes.h"

// The size in bytes of the structure a DAT's data block holds, or 0 when the monitor does not
// know it (no data block, or one it never reads).
size_t DataBlockSize(TW_UINT16 DAT);

#endif  // TWAINMON_DATABLOCK_H
