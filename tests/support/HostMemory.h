// Memory made the way a strict host makes it: each data block and each handle header exactly its
// size, its last byte right before a page that cannot be touched, so a read or a write one byte too
// far faults at once, in every build (AddressSanitizer's redzones do the same, but only in its own
// build, and never inside memory our own stand-ins allocated).
//
// A handle here is the host's own two-word header, built by the host as the handle contract has it,
// not by the platform's NewHandleClear: a monitor that wrote a third word into it would fault.
// Nothing is remembered, so what one module made another may free (the session player frees the
// containers the simulated scanner answered with).
//
// Flush against the guard means a block is aligned only as far as its size is: a block of one
// structure is aligned for it (a structure's size is a multiple of its alignment), a container of
// 22 bytes starts at an even address only. Write and read such memory with memcpy (Put, Get).
#ifndef TWAINMON_HOSTMEMORY_H
#define TWAINMON_HOSTMEMORY_H

#include <cstddef>
#include <cstring>

namespace hostmem {

// The header of a handle as hosts build it: the block's address and its size, nothing after them.
struct Header {
    char* master;
    size_t size;
};
static_assert(sizeof(Header) == 2 * sizeof(void*), "a handle's header is two words");

// A zero-filled block of exactly nSize bytes ending flush against an inaccessible page (for 0
// bytes, the address of that page); null when memory is short. FreeBlock takes the same size.
void* NewBlock(size_t nSize);
void FreeBlock(void* pBlock, size_t nSize);

// A handle of nSize zero-filled bytes: its header and its block each flush against a page that
// cannot be touched. Null when memory is short.
char** NewHandle(size_t nSize);
// Frees a handle NewHandle made, in whichever module, from what its header says; null is ignored.
void FreeHandle(char** hHandle);

// Stores or loads a value of a plain type in a handle's block, at any address.
template <typename T>
void Put(char** hHandle, size_t nOffset, const T& value) {
    memcpy(*hHandle + nOffset, &value, sizeof value);
}
template <typename T>
T Get(char** hHandle, size_t nOffset) {
    T value;
    memcpy(&value, *hHandle + nOffset, sizeof value);
    return value;
}

// A block of its own for the life of the object.
class CBlock {
public:
    explicit CBlock(size_t nSize) : m_pData(static_cast<char*>(NewBlock(nSize))), m_nSize(nSize) {}
    ~CBlock() { FreeBlock(m_pData, m_nSize); }
    CBlock(const CBlock&) = delete;
    CBlock& operator=(const CBlock&) = delete;

    char* Data() const { return m_pData; }
    size_t Size() const { return m_nSize; }
    template <typename T>
    T* As() const {
        return reinterpret_cast<T*>(m_pData);
    }

private:
    char* m_pData;
    size_t m_nSize;
};

}  // namespace hostmem

#endif  // TWAINMON_HOSTMEMORY_H
