// Memory and notify services over the platform's memory handles.
#include "CDSMInterface.h"

#include <CoreServices/CoreServices.h>

char** CDSMInterface::AllocMemory(unsigned int size) { return NewHandleClear(static_cast<Size>(size)); }

void CDSMInterface::FreeMemory(char** handle) { DisposeHandle(handle); }

char* CDSMInterface::LockMemory(char** handle) {
    HLock(handle);
    return *handle;  // read after locking: the address stays valid until UnlockMemory
}

void CDSMInterface::UnlockMemory(char** handle) { HUnlock(handle); }

unsigned short CDSMInterface::NotifyRequest(unsigned short /*msg*/, TW_IDENTITY /*origin*/, TW_IDENTITY /*dest*/) {
    return 0;  // no message reaches the application
}
