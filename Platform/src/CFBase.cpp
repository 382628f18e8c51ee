// CFRelease and the default allocator of our CoreFoundation stand-in.
#include "CFObjects.h"

const CFAllocatorRef kCFAllocatorDefault = nullptr;

void CFRelease(CFTypeRef cf) {
    if (cf == nullptr) return;
    // Every object starts with a CFObjectBase (see CFObjects.h).
    const CFObjectBase* base = static_cast<const CFObjectBase*>(cf);
    switch (base->kind) {
        case kCFObjectString:
            ReleaseCFString(const_cast<__CFString*>(static_cast<const __CFString*>(cf)));
            break;
        case kCFObjectURL:
            ReleaseCFURL(const_cast<__CFURL*>(static_cast<const __CFURL*>(cf)));
            break;
        case kCFObjectBundle:
            ReleaseCFBundle(const_cast<__CFBundle*>(static_cast<const __CFBundle*>(cf)));
            break;
        default:
            break;
    }
}
