/* For scripts/check-mac: the Memory Manager calls that the shared declarations of the Apple calls
 * lack, declared as Apple documents them, on top of those declarations. */
#ifndef TWAINMON_CHECKDECLS_CORESERVICES_H
#define TWAINMON_CHECKDECLS_CORESERVICES_H

#include_next <CoreServices/CoreServices.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef signed char SInt8;

/* The handle's flags: 0x80 locked, 0x40 purgeable, 0x20 resource. */
SInt8 HGetState(Handle h);
void HSetState(Handle h, SInt8 flags);

#ifdef __cplusplus
}
#endif

#endif
