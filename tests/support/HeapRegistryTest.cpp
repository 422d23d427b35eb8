#include "CountingHeap.h"
#include "support/GlobalHeapManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using OLIB::HeapRegistry;

// A block: heap number and big-endian size in its 8-byte header, then
// zeroed data; sizes 1..0xFFFFFF only.
TEST(HeapRegistry, BlocksCarryTheirHeaderAndLimits)
{
    // Heap 0 is the global heap, quiet; the others are empty.
    EXPECT_STREQ(HeapRegistry::getHeapManager(0)->name(), "GlobalHeapManager");
    EXPECT_EQ(HeapRegistry::getHeapManager(0)->heapKind(), -1);
    EXPECT_TRUE(!HeapRegistry::getHeapManager(1) && !HeapRegistry::getHeapManager(31) && !HeapRegistry::getHeapManager(32));
    EXPECT_FALSE(HeapRegistry::isHeapLogged(0) || HeapRegistry::isHeapLogged(32));
    EXPECT_EQ(HeapRegistry::installHeap(32, nullptr), nullptr);
    testing::internal::CaptureStdout();
    HeapRegistry::releaseBlock(HeapRegistry::allocateBlock(0, "quiet", 32));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    CountingHeap heap;
    EXPECT_EQ(HeapRegistry::allocateBlock(0, "t", 0), nullptr);
    EXPECT_EQ(HeapRegistry::allocateBlock(0, "t", 0x1000000), nullptr);
    EXPECT_EQ(heap.lastLabel, nullptr) << "the heap was asked";
    EXPECT_EQ(HeapRegistry::allocateBlock(7, "t", 4), nullptr);
    heap.failNext = true;
    EXPECT_EQ(HeapRegistry::allocateBlock(0, "t", 10), nullptr);

    void* data = HeapRegistry::allocateBlock(0, "label", 3);
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(heap.lastLabel, "label");
    const unsigned char expected[11] = {0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(static_cast<unsigned char*>(data) - 8, expected, sizeof expected), 0);
    void* largest = HeapRegistry::allocateBlock(0, "t", 0xFFFFFF);
    ASSERT_NE(largest, nullptr);
    const unsigned char sizeBytes[4] = {0, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(std::memcmp(static_cast<unsigned char*>(largest) - 8, sizeBytes, 4), 0);
    EXPECT_EQ(HeapRegistry::releaseBlock(data), 0u);
    EXPECT_EQ(HeapRegistry::releaseBlock(largest), 0u);
    EXPECT_EQ(heap.outstanding(), 0u);

    // Release failures report the sign bit only: no block, a header naming a
    // heap that does not exist, a block heap 0 never handed out.
    EXPECT_EQ(HeapRegistry::releaseBlock(nullptr), 0x80000000u);
    unsigned char noHeap[16] = {5, 0, 0, 8};
    EXPECT_EQ(HeapRegistry::releaseBlock(noHeap + 8), 0x80000000u);
    unsigned char foreign[16] = {0, 0, 0, 8};
    EXPECT_EQ(HeapRegistry::releaseBlock(foreign + 8), 0x80000000u);
}

TEST(GlobalHeapManager, LogsOnlyWhenAskedAndCutsLinesAt255)
{
    OLIB::GlobalHeapManager heap;
    testing::internal::CaptureStdout();
    heap.release(heap.allocate(16, false, "quiet"), false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    testing::internal::CaptureStdout();
    heap.release(heap.allocate(16, true, nullptr), true);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("(          16) = ????"), std::string::npos) << out;
    EXPECT_NE(out.find("GlobalHeapManager::delete > 0x"), std::string::npos) << out;
    // Full pointer width: 16 hex digits after 0x.
    const auto at = out.find("GlobalHeapManager::new    > 0x");
    ASSERT_NE(at, std::string::npos) << out;
    EXPECT_EQ(out.find(' ', at + 30), at + 30 + 16) << out;
    EXPECT_EQ(heap.release(nullptr, true), 0x80000000u);

    testing::internal::CaptureStdout();
    heap.log("%s", std::string(400, 'x').c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(255, 'x'));
}
