// Handles as hosts make them: a header of two words that the host built itself, its block, each flush
// against a guard page (HostMemory.h). Whatever a host passes, the monitor reads at most the header's
// two words and the block's size, writes nothing, and leaves the handle locked or unlocked as it
// found it; the platform's lock calls keep their state off the host's memory.
#include <CoreServices/CoreServices.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "CDSMInterface.h"
#include "CapabilitySupport.h"
#include "HostMemory.h"
#include "TestSupport.h"

using capsupport::CapabilityBlock;
using capsupport::kPixelTypeList;
using capsupport::PixelTypes;
using capsupport::SuccessRecord;

namespace {

// An enumeration of TWTY_UINT16 pixel types in a handle of the host's making: its fixed fields claim
// numItems items, current and default index 2; items holds those that fit in a block of nSize bytes.
char** NewPixelTypes(TW_UINT32 numItems, size_t nSize) {
    char** h = hostmem::NewHandle(nSize);
    const TW_UINT16 items[] = {TWPT_BW, TWPT_GRAY, TWPT_RGB};
    hostmem::Put(h, offsetof(TW_ENUMERATION, ItemType), TW_UINT16{TWTY_UINT16});
    hostmem::Put(h, offsetof(TW_ENUMERATION, NumItems), numItems);
    hostmem::Put(h, offsetof(TW_ENUMERATION, CurrentIndex), TW_UINT32{2});
    hostmem::Put(h, offsetof(TW_ENUMERATION, DefaultIndex), TW_UINT32{2});
    memcpy(*h + offsetof(TW_ENUMERATION, ItemList), items, nSize - offsetof(TW_ENUMERATION, ItemList));
    return h;
}

// What a handle shows of the host's memory: the header's two words and the bytes of its block.
std::string HostBytes(char** h) {
    if (h == nullptr) return "";
    hostmem::Header header;
    memcpy(&header, h, sizeof header);
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    if (header.master != nullptr) bytes.append(header.master, header.size);
    return bytes;
}

}  // namespace

TEST(MemoryHandles, WhatAHostMayPassShowsBoundedAndComesBackUntouchedInTheStateItWasIn) {
    const size_t kWhole = offsetof(TW_ENUMERATION, ItemList) + 3 * sizeof(TW_UINT16);  // 22 bytes
    // A header with no block behind it: the host's own two words, the master pointer null.
    const hostmem::CBlock emptyHeader(sizeof(hostmem::Header));
    *emptyHeader.As<hostmem::Header>() = hostmem::Header{nullptr, kWhole};
    const SInt8 kLocked = SInt8(kHandleLockedMask), kPurgeable = SInt8(kHandlePurgeableMask);
    const struct {
        const char* what;
        char** h;
        SInt8 hostState;  // the flags the host set on the handle
        std::vector<std::string> lines;
    } cases[] = {
        {"null handle", nullptr, 0, {}},
        {"null master pointer", reinterpret_cast<char**>(emptyHeader.Data()), 0, {}},
        {"zero-size block",
         hostmem::NewHandle(0),
         0,
         {"    TW_ENUMERATION = {", "      !!! container too small: 0 bytes, TW_ENUMERATION needs 16 !!!", "    }"}},
        {"size below the counts",
         NewPixelTypes(3, kWhole - 2),
         0,
         PixelTypes(3, {"      ItemList = {", "          0:TWPT_BW,", "          1:TWPT_GRAY,",
                        "        ... 1 of 3 items lie outside the container", "      }"})},
        {"locked by the host", NewPixelTypes(3, kWhole), kLocked, PixelTypes(3, kPixelTypeList)},
        {"locked and purgeable", NewPixelTypes(3, kWhole), SInt8(kLocked | kPurgeable), PixelTypes(3, kPixelTypeList)},
        {"purgeable, not locked", NewPixelTypes(3, kWhole), kPurgeable, PixelTypes(3, kPixelTypeList)},
        {"unlocked", NewPixelTypes(3, kWhole), 0, PixelTypes(3, kPixelTypeList)},
    };
    for (const auto& c : cases) {
        if (c.hostState != 0) HSetState(c.h, c.hostState);
        const std::string bytesBefore = HostBytes(c.h);
        const hostmem::CBlock block(sizeof(TW_CAPABILITY));
        TW_CAPABILITY& cap = *block.As<TW_CAPABILITY>();
        cap = TW_CAPABILITY{ICAP_PIXELTYPE, TWON_ENUMERATION, c.h};

        EXPECT_EQ(capsupport::Render(cap), SuccessRecord(cap, CapabilityBlock(cap, "ICAP_PIXELTYPE", "TWON_ENUMERATION", c.lines)))
            << c.what;
        EXPECT_EQ(HostBytes(c.h), bytesBefore) << c.what;
        // The host's flags, every one, and no lock of the monitor's.
        EXPECT_EQ(HGetState(c.h), c.hostState) << c.what;
        HSetState(c.h, 0);
    }
    for (const auto& c : cases) {
        if (c.h != cases[1].h) hostmem::FreeHandle(c.h);
    }
}

TEST(MemoryHandles, LockingThroughTheDataSourceServicesKeepsTheHostsStateAndTwoWords) {
    char** h = hostmem::NewHandle(5);
    memcpy(*h, "abcde", 5);
    const std::string bytesBefore = HostBytes(h);
    EXPECT_EQ(CDSMInterface::MemorySize(h), 5u);

    // Found unlocked: locked while read, unlocked again.
    signed char found = -1;
    EXPECT_EQ(CDSMInterface::LockMemory(h, &found), *h);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(HGetState(h), SInt8(kHandleLockedMask));
    CDSMInterface::UnlockMemory(h, found);
    EXPECT_EQ(HGetState(h), 0);

    // Found locked and purgeable by the host: both flags stay.
    HLock(h);
    HSetState(h, static_cast<SInt8>(HGetState(h) | kHandlePurgeableMask));
    const SInt8 hostState = HGetState(h);
    EXPECT_EQ(hostState, SInt8(kHandleLockedMask | kHandlePurgeableMask));
    EXPECT_EQ(CDSMInterface::LockMemory(h, &found), *h);
    EXPECT_EQ(found, hostState);
    CDSMInterface::UnlockMemory(h, found);
    EXPECT_EQ(HGetState(h), hostState);
    HUnlock(h);
    EXPECT_EQ(HGetState(h), SInt8(kHandlePurgeableMask));

    // The data source's own pair on it.
    EXPECT_EQ(CDSMInterface::LockMemory(h), *h);
    CDSMInterface::UnlockMemory(h);
    HSetState(h, 0);
    EXPECT_EQ(HGetState(h), 0);
    EXPECT_EQ(HostBytes(h), bytesBefore);
    hostmem::FreeHandle(h);
}

TEST(MemoryHandles, StatesOfManyHandlesAreKeptApartAndForgottenAtDispose) {
    // Hundreds locked at once, then every other one unlocked: each keeps its own state.
    std::vector<char**> handles;
    for (int i = 0; i < 700; ++i) handles.push_back(hostmem::NewHandle(1));
    for (char** h : handles) HLock(h);
    for (size_t i = 0; i < handles.size(); i += 2) HUnlock(handles[i]);
    for (size_t i = 0; i < handles.size(); ++i) {
        ASSERT_EQ(HGetState(handles[i]), i % 2 == 0 ? 0 : SInt8(kHandleLockedMask)) << i;
    }
    for (char** h : handles) {
        HUnlock(h);
        hostmem::FreeHandle(h);
    }

    // Disposed while locked: a later handle, at that address or another, starts unlocked, and
    // the disposed ones take no room from it.
    for (int i = 0; i < 5000; ++i) {
        Handle h = NewHandleClear(1);
        HLock(h);
        DisposeHandle(h);
    }
    Handle h = NewHandleClear(1);
    EXPECT_EQ(HGetState(h), 0);
    HLock(h);
    EXPECT_EQ(HGetState(h), SInt8(kHandleLockedMask));
    DisposeHandle(h);
}

TEST(MemoryHandles, ConcurrentHostThreadsEachFindTheirOwnHandlesAsTheyLeftThem) {
    // Four host threads, each rendering capabilities of handles it makes itself, half of them
    // locked by the thread, while the others do the same.
    const std::string expected = testsupport::Lines(PixelTypes(3, kPixelTypeList));
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 300; ++i) {
                char** h = NewPixelTypes(3, offsetof(TW_ENUMERATION, ItemList) + 3 * sizeof(TW_UINT16));
                const bool bLocked = i % 2 == 0;
                if (bLocked) HLock(h);
                TW_CAPABILITY cap = {ICAP_PIXELTYPE, TWON_ENUMERATION, h};
                const bool bShown = capsupport::Render(cap).find(expected) != std::string::npos;
                const bool bState = HGetState(h) == (bLocked ? SInt8(kHandleLockedMask) : 0);
                failures[t] += !bShown + !bState;
                HUnlock(h);
                hostmem::FreeHandle(h);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

TEST(MemoryHandlesDeathTest, AByteBeyondAHostsBlockOrHeaderFaults) {
    // What the guard pages stand for: a third word written after a header, or a read one byte past
    // a block, stops the program in this build too, sanitizers or not.
    char** h = hostmem::NewHandle(3);
    EXPECT_DEATH(reinterpret_cast<volatile char*>(h)[sizeof(hostmem::Header)] = 0, "");
    EXPECT_DEATH(
        {
            const volatile char* pBlock = *h;
            const char c = pBlock[3];
            (void)c;
        },
        "");
    hostmem::FreeHandle(h);
}
