// Memory Manager handles of our CoreServices stand-in: a handle is the address of a two-word header
// { master pointer, size }. Hosts make such headers themselves, so the only bytes of a handle read
// here are those two words (and DisposeHandle frees only what NewHandleClear made).
//
// Blocks never move, so locking changes nothing but the state HGetState reports. That state is
// kept in a table of our own, keyed by the handle's address: writing it next to the header, as an
// extra field, would write into whatever the host keeps after a header it built to two words.
#include <CoreServices/CoreServices.h>
#include <pthread.h>

#include <cstdint>
#include <cstdlib>

namespace {

// Per thread, so that threads allocating at once each see the result of their own call.
thread_local OSErr g_lastMemError = noErr;

HandleHeader* HeaderOf(Handle h) { return reinterpret_cast<HandleHeader*>(h); }

// ---- The handles' states -------------------------------------------------------------------------
//
// The handles whose state is not 0, with their state: a hash table with linear probing, under one
// mutex, so that threads may lock and unlock handles at once. All of it is constant-initialised
// and has nothing to destroy, so it serves from the first call to the last, at load and unload
// too, and a call allocates nothing. A handle that finds the table full is not recorded: its state
// reads 0, which costs nothing but the report, since blocks never move.

struct HandleState {
    Handle handle;  // null: the slot is free
    SInt8 state;
};

constexpr size_t kSlotBits = 10;
constexpr size_t kSlots = size_t{1} << kSlotBits;
constexpr size_t kMaxStates = kSlots * 3 / 4;  // keeps every search short and a slot always free

pthread_mutex_t g_statesMutex = PTHREAD_MUTEX_INITIALIZER;
HandleState g_states[kSlots];
size_t g_nStates = 0;

size_t HomeSlot(Handle h) {
    const uint64_t address = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(h));
    return static_cast<size_t>(((address >> 3) * 0x9E3779B97F4A7C15u) >> (64 - kSlotBits));
}

// The slot that holds h, or the free slot where it would go. The caller holds the mutex.
size_t SlotOf(Handle h) {
    size_t i = HomeSlot(h);
    while (g_states[i].handle != nullptr && g_states[i].handle != h) i = (i + 1) % kSlots;
    return i;
}

// Frees slot i and moves later entries of its run back, so that every entry stays reachable from
// its home slot without a gap. The caller holds the mutex.
void FreeSlot(size_t i) {
    for (size_t j = (i + 1) % kSlots; g_states[j].handle != nullptr; j = (j + 1) % kSlots) {
        const size_t home = HomeSlot(g_states[j].handle);
        const bool bHomeInRun = i <= j ? (home > i && home <= j) : (home > i || home <= j);
        if (!bHomeInRun) {
            g_states[i] = g_states[j];
            i = j;
        }
    }
    g_states[i] = HandleState{nullptr, 0};
    --g_nStates;
}

// Clears the flags in clear, then sets those in set; returns the state before.
SInt8 ChangeState(Handle h, int clear, int set) {
    if (h == nullptr) return 0;
    pthread_mutex_lock(&g_statesMutex);
    const size_t i = SlotOf(h);
    const SInt8 before = g_states[i].handle != nullptr ? g_states[i].state : 0;
    const SInt8 after = static_cast<SInt8>((before & ~clear) | set);
    if (g_states[i].handle != nullptr) {
        if (after != 0) {
            g_states[i].state = after;
        } else {
            FreeSlot(i);
        }
    } else if (after != 0 && g_nStates < kMaxStates) {
        g_states[i] = HandleState{h, after};
        ++g_nStates;
    }
    pthread_mutex_unlock(&g_statesMutex);
    return before;
}

constexpr int kAllFlags = 0xFF;

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
    g_lastMemError = noErr;
    return reinterpret_cast<Handle>(header);
}

void DisposeHandle(Handle h) {
    if (h == nullptr) return;
    ChangeState(h, kAllFlags, 0);  // a later handle at this address starts unlocked
    free(HeaderOf(h)->master);
    free(HeaderOf(h));
}

void HLock(Handle h) { ChangeState(h, 0, kHandleLockedMask); }

void HUnlock(Handle h) { ChangeState(h, kHandleLockedMask, 0); }

SInt8 HGetState(Handle h) { return ChangeState(h, 0, 0); }

void HSetState(Handle h, SInt8 flags) { ChangeState(h, kAllFlags, static_cast<unsigned char>(flags)); }

Size GetHandleSize(Handle h) { return h != nullptr ? static_cast<Size>(HeaderOf(h)->size) : 0; }

OSErr MemError(void) { return g_lastMemError; }
