// Memory and notify services over the platform's memory handles. The only source that calls the
// Memory Manager, which Apple has deprecated: the build silences that warning for this file alone.
#include "CDSMInterface.h"

#include <CoreServices/CoreServices.h>

char** CDSMInterface::AllocMemory(unsigned int size) { return NewHandleClear(static_cast<Size>(size)); }

void CDSMInterface::FreeMemory(char** handle) { DisposeHandle(handle); }

char* CDSMInterface::LockMemory(char** handle) {
    HLock(handle);
    return *handle;  // read after locking: the address stays valid until UnlockMemory
}

void CDSMInterface::UnlockMemory(char** handle) { HUnlock(handle); }

char* CDSMInterface::LockMemory(char** handle, signed char* pnState) {
    *pnState = HGetState(handle);
    HLock(handle);
    return *handle;  // read after locking: the address stays valid until UnlockMemory
}

void CDSMInterface::UnlockMemory(char** handle, signed char nState) { HSetState(handle, nState); }

size_t CDSMInterface::MemorySize(char** handle) {
    const Size nSize = GetHandleSize(handle);
    return nSize > 0 ? static_cast<size_t>(nSize) : 0;
}

unsigned short CDSMInterface::NotifyRequest(unsigned short /*msg*/, TW_IDENTITY /*origin*/, TW_IDENTITY /*dest*/) {
    return 0;  // no message reaches the application
}
