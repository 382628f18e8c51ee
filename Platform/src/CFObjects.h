// The objects behind our CoreFoundation stand-in references. Every object starts with its kind,
// so CFRelease can tell what it holds.
#ifndef TWAINMON_PLATFORM_CFOBJECTS_H
#define TWAINMON_PLATFORM_CFOBJECTS_H

#include <CoreFoundation/CoreFoundation.h>

enum CFObjectKind : CFTypeID { kCFObjectString = 1, kCFObjectURL = 2, kCFObjectBundle = 3 };

struct CFObjectBase {
    CFTypeID kind;
    bool constant;  // made by CFSTR: lives as long as the module, CFRelease ignores it
};

struct __CFString {
    CFObjectBase base;
    CFIndex length;  // bytes, without the NUL
    char* bytes;     // NUL-terminated copy of the text
};

struct __CFURL {
    CFObjectBase base;
    char* path;  // NUL-terminated file-system path
};

struct __CFBundle {
    CFObjectBase base;
    char* path;    // the bundle directory
    void* module;  // the loaded executable, or null until a function is looked up
};

// A new string holding a copy of length bytes (which need no NUL); null when out of memory.
__CFString* NewCFString(const char* bytes, size_t length);

void ReleaseCFString(__CFString* string);
void ReleaseCFURL(__CFURL* url);
void ReleaseCFBundle(__CFBundle* bundle);

#endif
