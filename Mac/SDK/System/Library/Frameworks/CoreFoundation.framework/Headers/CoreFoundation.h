/* CoreFoundation, the part the monitor calls: declarations for building the Mac bundle without
 * Apple's SDK. Types, signatures and constant values are those of Apple's documentation; the code
 * behind them is the system's own framework. */
#ifndef TWAINMON_SDK_COREFOUNDATION_H
#define TWAINMON_SDK_COREFOUNDATION_H

#include <MacTypes.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef signed long CFIndex;
typedef unsigned long CFTypeID;
typedef const void *CFTypeRef;
typedef UInt32 CFStringEncoding;
typedef CFIndex CFURLPathStyle;

typedef const struct __CFAllocator *CFAllocatorRef;
typedef const struct __CFString *CFStringRef;
typedef const struct __CFURL *CFURLRef;
typedef struct __CFBundle *CFBundleRef;

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

/* CFSTR("literal"): a constant CFStringRef. The compiler lays it out in the image itself (it
 * refers to ___CFConstantStringClassReference); without that support it is made at run time. */
CFStringRef __CFStringMakeConstantString(const char *cStr);
#if defined(__CONSTANT_CFSTRINGS__)
#define CFSTR(cStr) ((CFStringRef)__builtin___CFStringMakeConstantString("" cStr ""))
#else
#define CFSTR(cStr) __CFStringMakeConstantString("" cStr "")
#endif

void CFRelease(CFTypeRef cf);

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator, const UInt8 *buffer,
                                                 CFIndex bufLen, Boolean isDirectory);
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory);
CFStringRef CFURLCopyLastPathComponent(CFURLRef url);

CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);
void *CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName);

CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char *cStr, CFStringEncoding encoding);
CFStringRef CFStringCreateWithPascalString(CFAllocatorRef alloc, ConstStr255Param pStr,
                                           CFStringEncoding encoding);
const UniChar *CFStringGetCharactersPtr(CFStringRef theString);
CFIndex CFStringGetLength(CFStringRef theString);
void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar *buffer);
Boolean CFStringGetCString(CFStringRef theString, char *buffer, CFIndex bufferSize,
                           CFStringEncoding encoding);
CFStringEncoding CFStringGetSystemEncoding(void);

#ifdef __cplusplus
}
#endif

#endif
