/* Stand-in for the Memory Manager and File Manager calls the monitor uses, on platforms that do
 * not have them. Same names, types, result codes and meaning as on the Mac; implemented in
 * Platform/src. */
#ifndef TWAINMON_PLATFORM_CORESERVICES_H
#define TWAINMON_PLATFORM_CORESERVICES_H

#include <CoreFoundation/CoreFoundation.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef char* Ptr;
typedef Ptr* Handle;
typedef long Size;
typedef SInt16 OSErr;
typedef SInt32 OSStatus;

enum {
    noErr = 0,
    ioErr = -36,
    fnfErr = -43,
    dupFNErr = -48,
    paramErr = -50,
    memFullErr = -108,
    dirNFErr = -120,
    afpAccessDenied = -5000
};

/* Memory Manager. A handle is the address of a two-word header { char* master; size_t size; } and
 * nothing more: *handle is the block's data address, the second word its size in bytes. Hosts build
 * such headers themselves (applications for the TW_CAPABILITY containers they pass, data sources
 * for the ones they answer with), so no call here reads or writes past those two words of a handle
 * it did not make. Blocks never move: locking changes only the state HGetState reports, which the
 * stand-in keeps apart from the handle, never in the host's memory. */
typedef struct {
    char* master;
    size_t size;
} HandleHeader;
#ifdef __cplusplus
static_assert(sizeof(HandleHeader) == 2 * sizeof(void*), "a handle's header is two words, as hosts build it");
#endif

/* HGetState's flags, as on the Mac. */
enum { kHandleIsResourceBit = 5, kHandlePurgeableBit = 6, kHandleLockedBit = 7 };
enum { kHandleIsResourceMask = 0x20, kHandlePurgeableMask = 0x40, kHandleLockedMask = 0x80 };

Handle NewHandleClear(Size byteCount);
void DisposeHandle(Handle h);
void HLock(Handle h);
void HUnlock(Handle h);
SInt8 HGetState(Handle h);
void HSetState(Handle h, SInt8 flags);
Size GetHandleSize(Handle h);
OSErr MemError(void);

/* File Manager: a reference is a resolved path of an existing file-system object. */
typedef struct FSRef {
    char path[1024];
} FSRef;
typedef struct FSSpec FSSpec;
typedef FSSpec* FSSpecPtr;
typedef struct FSCatalogInfo FSCatalogInfo;
typedef UInt32 FSCatalogInfoBitmap;
enum { kFSCatInfoNone = 0x00000000 };

/* fnfErr when the path does not name an existing object, paramErr for a null or too long path. */
OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);
/* Creates the folder name (UTF-16) in parentRef: noErr, dupFNErr when it exists, dirNFErr when
 * the parent is gone or not a folder, afpAccessDenied without permission, ioErr otherwise. */
OSErr FSCreateDirectoryUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                               FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* catalogInfo, FSRef* newRef,
                               FSSpecPtr newSpec, UInt32* newDirID);

#ifdef __cplusplus
}
#endif

#endif
