// Placeholder: the entry point is not written yet.
#include "TwainTypes.h"
extern "C" __attribute__((visibility("default"))) TW_UINT16 DS_Entry(pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF) {
    return TWRC_FAILURE;
}
