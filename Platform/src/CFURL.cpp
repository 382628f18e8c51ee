// File URLs of our CoreFoundation stand-in: a URL is its file-system path.
#include <cstdlib>
#include <cstring>

#include "CFObjects.h"

namespace {

__CFURL* NewCFURL(const char* path, size_t length) {
    __CFURL* url = static_cast<__CFURL*>(malloc(sizeof(__CFURL)));
    char* copy = static_cast<char*>(malloc(length + 1));
    if (url == nullptr || copy == nullptr) {
        free(url);
        free(copy);
        return nullptr;
    }
    memcpy(copy, path, length);
    copy[length] = '\0';
    url->base = CFObjectBase{kCFObjectURL, false};
    url->path = copy;
    return url;
}

}  // namespace

void ReleaseCFURL(__CFURL* url) {
    free(url->path);
    free(url);
}

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef /*allocator*/, const UInt8* buffer, CFIndex bufLen,
                                                 Boolean /*isDirectory*/) {
    if (buffer == nullptr || bufLen < 0) return nullptr;
    return NewCFURL(reinterpret_cast<const char*>(buffer), static_cast<size_t>(bufLen));
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef /*allocator*/, CFStringRef filePath, CFURLPathStyle pathStyle,
                                       Boolean /*isDirectory*/) {
    if (filePath == nullptr || pathStyle != kCFURLPOSIXPathStyle) return nullptr;
    return NewCFURL(filePath->bytes, static_cast<size_t>(filePath->length));
}

CFStringRef CFURLCopyLastPathComponent(CFURLRef url) {
    if (url == nullptr) return nullptr;
    // The last component, trailing slashes aside; the root stays "/".
    size_t end = strlen(url->path);
    while (end > 1 && url->path[end - 1] == '/') --end;
    size_t start = end;
    while (start > 0 && url->path[start - 1] != '/') --start;
    if (start == end && end > 0) return NewCFString("/", 1);
    return NewCFString(url->path + start, end - start);
}
