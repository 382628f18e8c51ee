/* CoreServices, the part the monitor calls (Memory Manager, File Manager): declarations for
 * building the Mac bundle without Apple's SDK. Types, signatures and constant values are those of
 * Apple's documentation; the code behind them is the system's own framework.
 *
 * These are Carbon calls that Apple has deprecated. They are marked so here too, which makes the
 * cross build insist, as Apple's SDK does, that only the sources meant to use them are compiled
 * with the deprecation warning silenced. */
#ifndef TWAINMON_SDK_CORESERVICES_H
#define TWAINMON_SDK_CORESERVICES_H

#include <CoreFoundation/CoreFoundation.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TWAINMON_SDK_CARBON_DEPRECATED __attribute__((deprecated))

enum {
    fnfErr = -43,
    dupFNErr = -48,
    paramErr = -50,
    memFullErr = -108,
    dirNFErr = -120
};

/* Memory Manager */
enum { kHandleIsResourceBit = 5, kHandlePurgeableBit = 6, kHandleLockedBit = 7 };
enum { kHandleIsResourceMask = 0x20, kHandlePurgeableMask = 0x40, kHandleLockedMask = 0x80 };

Handle NewHandleClear(Size byteCount) TWAINMON_SDK_CARBON_DEPRECATED;
void DisposeHandle(Handle h) TWAINMON_SDK_CARBON_DEPRECATED;
void HLock(Handle h) TWAINMON_SDK_CARBON_DEPRECATED;
void HUnlock(Handle h) TWAINMON_SDK_CARBON_DEPRECATED;
SInt8 HGetState(Handle h) TWAINMON_SDK_CARBON_DEPRECATED;
void HSetState(Handle h, SInt8 flags) TWAINMON_SDK_CARBON_DEPRECATED;
Size GetHandleSize(Handle h) TWAINMON_SDK_CARBON_DEPRECATED;
OSErr MemError(void) TWAINMON_SDK_CARBON_DEPRECATED;

/* File Manager */
typedef struct FSRef {
    UInt8 hidden[80];
} FSRef;
typedef struct FSSpec FSSpec;
typedef FSSpec *FSSpecPtr;
typedef struct FSCatalogInfo FSCatalogInfo;
typedef UInt32 FSCatalogInfoBitmap;
enum { kFSCatInfoNone = 0x00000000 };

OSStatus FSPathMakeRef(const UInt8 *path, FSRef *ref, Boolean *isDirectory) TWAINMON_SDK_CARBON_DEPRECATED;
OSErr FSCreateDirectoryUnicode(const FSRef *parentRef, UniCharCount nameLength, const UniChar *name,
                               FSCatalogInfoBitmap whichInfo, const FSCatalogInfo *catalogInfo,
                               FSRef *newRef, FSSpecPtr newSpec, UInt32 *newDirID) TWAINMON_SDK_CARBON_DEPRECATED;

#undef TWAINMON_SDK_CARBON_DEPRECATED

#ifdef __cplusplus
}
#endif

#endif
