#include "HostMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace hostmem {

namespace {

size_t PageSize() {
    static const size_t nPage = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return nPage;
}

// The bytes of the whole pages that hold nSize bytes.
size_t DataBytes(size_t nSize) { return (nSize + PageSize() - 1) / PageSize() * PageSize(); }

}  // namespace

void* NewBlock(size_t nSize) {
    const size_t nPage = PageSize();
    if (nSize > SIZE_MAX - 2 * nPage) return nullptr;
    // The data pages and the guard after them, in one mapping; anonymous pages come zero-filled.
    const size_t nData = DataBytes(nSize);
    void* pMapping = mmap(nullptr, nData + nPage, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pMapping == MAP_FAILED) return nullptr;
    if (nData != 0 && mprotect(pMapping, nData, PROT_READ | PROT_WRITE) != 0) {
        munmap(pMapping, nData + nPage);
        return nullptr;
    }
    return static_cast<char*>(pMapping) + nData - nSize;
}

void FreeBlock(void* pBlock, size_t nSize) {
    if (pBlock == nullptr) return;
    const size_t nData = DataBytes(nSize);
    munmap(static_cast<char*>(pBlock) + nSize - nData, nData + PageSize());
}

char** NewHandle(size_t nSize) {
    char* pBlock = static_cast<char*>(NewBlock(nSize));
    Header* pHeader = static_cast<Header*>(NewBlock(sizeof(Header)));
    if (pBlock == nullptr || pHeader == nullptr) {
        FreeBlock(pBlock, nSize);
        FreeBlock(pHeader, sizeof(Header));
        return nullptr;
    }
    pHeader->master = pBlock;
    pHeader->size = nSize;
    return &pHeader->master;
}

void FreeHandle(char** hHandle) {
    if (hHandle == nullptr) return;
    Header* pHeader = reinterpret_cast<Header*>(hHandle);
    FreeBlock(pHeader->master, pHeader->size);
    FreeBlock(pHeader, sizeof(Header));
}

}  // namespace hostmem
