/* Stand-in for the part of CoreFoundation the monitor calls, on platforms that do not have it.
 * Same names, types and meaning as on the Mac; implemented in Platform/src. */
#ifndef TWAINMON_PLATFORM_COREFOUNDATION_H
#define TWAINMON_PLATFORM_COREFOUNDATION_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned char Boolean;
typedef uint8_t UInt8;
typedef uint16_t UInt16;
typedef uint32_t UInt32;
typedef int8_t SInt8;
typedef int16_t SInt16;
typedef int32_t SInt32;
typedef UInt16 UniChar;
typedef unsigned long UniCharCount;
typedef const unsigned char* ConstStr255Param;
typedef signed long CFIndex;
typedef unsigned long CFTypeID;
typedef const void* CFTypeRef;
typedef UInt32 CFStringEncoding;
typedef CFIndex CFURLPathStyle;

typedef const struct __CFAllocator* CFAllocatorRef;
typedef const struct __CFString* CFStringRef;
typedef const struct __CFURL* CFURLRef;
typedef struct __CFBundle* CFBundleRef;

typedef struct {
    CFIndex location;
    CFIndex length;
} CFRange;

static inline CFRange CFRangeMake(CFIndex loc, CFIndex len) {
    CFRange range;
    range.location = loc;
    range.length = len;
    return range;
}

enum {
    kCFStringEncodingMacRoman = 0,
    kCFStringEncodingASCII = 0x0600,
    kCFStringEncodingUTF8 = 0x08000100
};

enum {
    kCFURLPOSIXPathStyle = 0,
    kCFURLHFSPathStyle = 1,
    kCFURLWindowsPathStyle = 2
};

extern const CFAllocatorRef kCFAllocatorDefault;

/* CFSTR("literal"): a constant string that lives as long as the process; CFRelease ignores it. */
CFStringRef __CFStringMakeConstantString(const char* cStr);
#define CFSTR(cStr) __CFStringMakeConstantString("" cStr "")

/* Releases a string, URL or bundle made by the calls below. */
void CFRelease(CFTypeRef cf);

/* URLs: a file-system path. */
CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator, const UInt8* buffer, CFIndex bufLen,
                                                 Boolean isDirectory);
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath, CFURLPathStyle pathStyle,
                                       Boolean isDirectory);
CFStringRef CFURLCopyLastPathComponent(CFURLRef url);

/* Bundles: a directory X.bundle whose executable is the shared object X.bundle/Contents/MacOS/X.
 * CFBundleCreate gives null when the directory does not exist; the executable is loaded by the
 * first CFBundleGetFunctionPointerForName, which gives null when it cannot be loaded or lacks the
 * name. CFRelease of the bundle unloads the executable. */
CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);
void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName);

/* Strings: the bytes are kept as given; characters are the bytes, one UniChar each. */
CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr, CFStringEncoding encoding);
CFStringRef CFStringCreateWithPascalString(CFAllocatorRef alloc, ConstStr255Param pStr, CFStringEncoding encoding);
const UniChar* CFStringGetCharactersPtr(CFStringRef theString);
CFIndex CFStringGetLength(CFStringRef theString);
void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer);
Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);
CFStringEncoding CFStringGetSystemEncoding(void);

#ifdef __cplusplus
}
#endif

#endif
