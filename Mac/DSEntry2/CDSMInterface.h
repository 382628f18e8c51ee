// Memory and notify services a data source gets from its platform and data-source manager.
#ifndef TWAINMON_CDSMINTERFACE_H
#define TWAINMON_CDSMINTERFACE_H

#include "TwainTypes.h"

class CDSMInterface {
public:
    CDSMInterface() = delete;

    static char** AllocMemory(unsigned int size);
    static void FreeMemory(char** handle);
    static char* LockMemory(char** handle);
    static void UnlockMemory(char** handle);
    static unsigned short NotifyRequest(unsigned short msg, TW_IDENTITY origin, TW_IDENTITY dest);
};

#endif  // TWAINMON_CDSMINTERFACE_H
