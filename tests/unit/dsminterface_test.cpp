// The memory services a data source gets from its platform: blocks of its own, zero-filled, and their
// locks. (NotifyRequest reaches nobody and returns 0: nothing there to test.)
#include <CoreServices/CoreServices.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CDSMInterface.h"

TEST(CDSMInterface, BlocksAreZeroFilledAndLockingReachesTheirDataUnchanged) {
    char** h = CDSMInterface::AllocMemory(16);
    ASSERT_NE(nullptr, h);
    ASSERT_EQ(16, GetHandleSize(h));
    EXPECT_EQ(std::string(16, '\0'), std::string(*h, 16));

    memcpy(*h, "0123456789abcdef", 16);
    char* pData = CDSMInterface::LockMemory(h);
    EXPECT_EQ(*h, pData);  // the block's first byte
    EXPECT_EQ("0123456789abcdef", std::string(pData, 16));
    CDSMInterface::UnlockMemory(h);
    EXPECT_EQ("0123456789abcdef", std::string(*h, 16));
    EXPECT_EQ(0, HGetState(h) & kHandleLockedMask);
    CDSMInterface::FreeMemory(h);

    // An empty block is still a block of its own.
    char** hEmpty = CDSMInterface::AllocMemory(0);
    ASSERT_NE(nullptr, hEmpty);
    EXPECT_EQ(0, GetHandleSize(hEmpty));
    CDSMInterface::FreeMemory(hEmpty);
}
