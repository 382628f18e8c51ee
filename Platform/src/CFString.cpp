// Strings of our CoreFoundation stand-in. A string keeps its bytes as given; its characters are
// those bytes, one UniChar each, which is exact for the ASCII names the monitor handles.
#include <cstdlib>
#include <cstring>

#include "CFObjects.h"

__CFString* NewCFString(const char* bytes, size_t length) {
    __CFString* string = static_cast<__CFString*>(malloc(sizeof(__CFString)));
    char* copy = static_cast<char*>(malloc(length + 1));
    if (string == nullptr || copy == nullptr) {
        free(string);
        free(copy);
        return nullptr;
    }
    memcpy(copy, bytes, length);
    copy[length] = '\0';
    string->base = CFObjectBase{kCFObjectString, false};
    string->length = static_cast<CFIndex>(length);
    string->bytes = copy;
    return string;
}

void ReleaseCFString(__CFString* string) {
    if (string->base.constant) return;
    free(string->bytes);
    free(string);
}

namespace {

// The strings made by CFSTR, kept until the module that made them is unloaded.
struct ConstantStrings {
    struct Node {
        __CFString* string;
        Node* next;
    };
    Node* head;

    // Constant-initialised: strings made while the module loads, before its dynamic
    // constructors run, must not be forgotten.
    constexpr ConstantStrings() : head(nullptr) {}
    ~ConstantStrings() {
        while (head != nullptr) {
            Node* next = head->next;
            free(head->string->bytes);
            free(head->string);
            free(head);
            head = next;
        }
    }
};

ConstantStrings g_constantStrings;

}  // namespace

CFStringRef __CFStringMakeConstantString(const char* cStr) {
    for (ConstantStrings::Node* node = g_constantStrings.head; node != nullptr; node = node->next) {
        if (strcmp(node->string->bytes, cStr) == 0) return node->string;
    }
    __CFString* string = NewCFString(cStr, strlen(cStr));
    ConstantStrings::Node* node = static_cast<ConstantStrings::Node*>(malloc(sizeof(ConstantStrings::Node)));
    if (string == nullptr || node == nullptr) {
        if (string != nullptr) ReleaseCFString(string);
        free(node);
        return nullptr;
    }
    string->base.constant = true;
    *node = ConstantStrings::Node{string, g_constantStrings.head};
    g_constantStrings.head = node;
    return string;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef /*alloc*/, const char* cStr, CFStringEncoding /*encoding*/) {
    if (cStr == nullptr) return nullptr;
    return NewCFString(cStr, strlen(cStr));
}

CFStringRef CFStringCreateWithPascalString(CFAllocatorRef /*alloc*/, ConstStr255Param pStr,
                                           CFStringEncoding /*encoding*/) {
    if (pStr == nullptr) return nullptr;
    return NewCFString(reinterpret_cast<const char*>(pStr + 1), pStr[0]);
}

const UniChar* CFStringGetCharactersPtr(CFStringRef /*theString*/) {
    // Allowed to give nothing: callers then copy the characters with CFStringGetCharacters.
    return nullptr;
}

CFIndex CFStringGetLength(CFStringRef theString) { return theString != nullptr ? theString->length : 0; }

void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer) {
    if (theString == nullptr || buffer == nullptr || range.location < 0 || range.length < 0 ||
        range.location > theString->length || range.length > theString->length - range.location) {
        return;
    }
    for (CFIndex i = 0; i < range.length; ++i) {
        buffer[i] = static_cast<unsigned char>(theString->bytes[range.location + i]);
    }
}

Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize, CFStringEncoding /*encoding*/) {
    if (theString == nullptr || buffer == nullptr || bufferSize <= theString->length) return false;
    memcpy(buffer, theString->bytes, static_cast<size_t>(theString->length) + 1);
    return true;
}

CFStringEncoding CFStringGetSystemEncoding(void) { return kCFStringEncodingMacRoman; }
