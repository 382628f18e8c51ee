// Memory and notify services a data source gets from its platform and data-source manager.
#ifndef TWAINMON_CDSMINTERFACE_H
#define TWAINMON_CDSMINTERFACE_H

#include <cstddef>

#include "TwainTypes.h"

class CDSMInterface {
public:
    CDSMInterface() = delete;

    static char** AllocMemory(unsigned int size);
    static void FreeMemory(char** handle);
    // Locks the block and returns the address of its data, valid until UnlockMemory, which unlocks
    // it: the pair a data source uses on its own handles.
    static char* LockMemory(char** handle);
    static void UnlockMemory(char** handle);
    // Locks the block and returns the address of its data, valid until UnlockMemory. *pnState
    // receives the handle's state as the caller found it (locked or not) for UnlockMemory: the
    // handle belongs to the host or the real data source, which may hold a lock of its own.
    static char* LockMemory(char** handle, signed char* pnState);
    // Puts the handle back in the state LockMemory found it in: a block that was locked stays
    // locked, one that was not is unlocked again.
    static void UnlockMemory(char** handle, signed char nState);
    // The block's size in bytes; 0 when the platform reports none.
    static size_t MemorySize(char** handle);
    static unsigned short NotifyRequest(unsigned short msg, TW_IDENTITY origin, TW_IDENTITY dest);
};

#endif  // TWAINMON_CDSMINTERFACE_H
