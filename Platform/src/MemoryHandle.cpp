// Memory Manager handles of our CoreServices stand-in: a handle is the address of a header
// { master pointer, size, state flags }. Blocks never move, so locking only keeps the flag that
// HGetState reports.
#include <CoreServices/CoreServices.h>

#include <cstdlib>

namespace {

// Per thread, so that threads allocating at once each see the result of their own call.
thread_local OSErr g_lastMemError = noErr;

HandleHeader* HeaderOf(Handle h) { return reinterpret_cast<HandleHeader*>(h); }

}  // namespace

Handle NewHandleClear(Size byteCount) {
    if (byteCount < 0) {
        g_lastMemError = paramErr;
        return nullptr;
    }
    HandleHeader* header = static_cast<HandleHeader*>(malloc(sizeof(HandleHeader)));
    // A block of 0 bytes still gets a distinct address, as on the Mac.
    char* block = static_cast<char*>(calloc(byteCount > 0 ? static_cast<size_t>(byteCount) : 1, 1));
    if (header == nullptr || block == nullptr) {
        free(header);
        free(block);
        g_lastMemError = memFullErr;
        return nullptr;
    }
    header->master = block;
    header->size = static_cast<size_t>(byteCount);
    header->state = 0;
    g_lastMemError = noErr;
    return reinterpret_cast<Handle>(header);
}

void DisposeHandle(Handle h) {
    if (h == nullptr) return;
    free(HeaderOf(h)->master);
    free(HeaderOf(h));
}

void HLock(Handle h) {
    if (h != nullptr) HeaderOf(h)->state = static_cast<SInt8>(HeaderOf(h)->state | kHandleLockedMask);
}

void HUnlock(Handle h) {
    if (h != nullptr) HeaderOf(h)->state = static_cast<SInt8>(HeaderOf(h)->state & ~kHandleLockedMask);
}

SInt8 HGetState(Handle h) { return h != nullptr ? HeaderOf(h)->state : 0; }

void HSetState(Handle h, SInt8 flags) {
    if (h != nullptr) HeaderOf(h)->state = flags;
}

Size GetHandleSize(Handle h) { return h != nullptr ? static_cast<Size>(HeaderOf(h)->size) : 0; }

OSErr MemError(void) { return g_lastMemError; }
