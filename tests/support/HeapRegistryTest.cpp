#include "CountingHeap.h"
#include "support/GlobalHeapManager.h"
#include "support/HeapRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using OLIB::HeapRegistry;

TEST(HeapRegistry, HeapZeroIsTheGlobalHeapAndUnknownNumbersHaveNone)
{
    ASSERT_NE(HeapRegistry::getHeapManager(0), nullptr);
    EXPECT_STREQ(HeapRegistry::getHeapManager(0)->name(), "GlobalHeapManager");
    EXPECT_EQ(HeapRegistry::getHeapManager(0)->heapKind(), -1);
    EXPECT_EQ(HeapRegistry::getHeapManager(1), nullptr);
    EXPECT_EQ(HeapRegistry::getHeapManager(31), nullptr);
    EXPECT_EQ(HeapRegistry::getHeapManager(32), nullptr);
    EXPECT_FALSE(HeapRegistry::isHeapLogged(0));
    EXPECT_FALSE(HeapRegistry::isHeapLogged(32));
}

TEST(HeapRegistry, SizeLimitsAreCheckedBeforeTheHeapIsAsked)
{
    HeapZeroGuard guard;
    EXPECT_EQ(HeapRegistry::allocateBlock(0, "t", 0), nullptr);
    EXPECT_EQ(HeapRegistry::allocateBlock(0, "t", 0x1000000), nullptr);
    EXPECT_EQ(guard.heap().allocations, 0);
    EXPECT_EQ(guard.heap().lastLabel, nullptr);
    EXPECT_EQ(HeapRegistry::allocateBlock(7, "t", 4), nullptr);   // empty entry

    void* largest = HeapRegistry::allocateBlock(0, "t", 0xFFFFFF);
    ASSERT_NE(largest, nullptr);
    const auto* header = static_cast<unsigned char*>(largest) - 8;
    EXPECT_EQ(header[1], 0xFF);
    EXPECT_EQ(header[2], 0xFF);
    EXPECT_EQ(header[3], 0xFF);
    EXPECT_EQ(HeapRegistry::releaseBlock(largest), 0u);
    EXPECT_EQ(guard.heap().outstanding(), 0u);
}

TEST(HeapRegistry, BlockHeaderAndZeroedData)
{
    HeapZeroGuard guard;
    void* data = HeapRegistry::allocateBlock(0, "label", 3);
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(guard.heap().lastLabel, "label");
    const auto* bytes = static_cast<unsigned char*>(data) - 8;
    const unsigned char expected[11] = {0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes, expected, sizeof expected), 0);
    EXPECT_EQ(HeapRegistry::releaseBlock(data), 0u);
    EXPECT_EQ(guard.heap().outstanding(), 0u);
}

TEST(HeapRegistry, ReleaseFailuresReportTheSignBitOnly)
{
    EXPECT_EQ(HeapRegistry::releaseBlock(nullptr), 0x80000000u);

    // A block whose header names a heap that does not exist.
    unsigned char fake[16] = {5, 0, 0, 8};
    EXPECT_EQ(HeapRegistry::releaseBlock(fake + 8), 0x80000000u);

    HeapZeroGuard guard;
    unsigned char foreign[16] = {0, 0, 0, 8};   // heap 0, but never allocated there
    EXPECT_EQ(HeapRegistry::releaseBlock(foreign + 8), 0x80000000u);
}

TEST(HeapRegistry, AllocationFailureGivesNull)
{
    HeapZeroGuard guard;
    guard.heap().failNext = true;
    EXPECT_EQ(HeapRegistry::allocateBlock(0, "x", 10), nullptr);
}

TEST(GlobalHeapManager, LogsOnlyWhenAsked)
{
    OLIB::GlobalHeapManager heap;

    testing::internal::CaptureStdout();
    void* quiet = heap.allocate(16, false, "quiet");
    heap.release(quiet, false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    testing::internal::CaptureStdout();
    void* loud = heap.allocate(16, true, nullptr);
    heap.release(loud, true);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("GlobalHeapManager::new    > 0x"), std::string::npos) << out;
    EXPECT_NE(out.find("(          16) = ????"), std::string::npos) << out;
    EXPECT_NE(out.find("GlobalHeapManager::delete > 0x"), std::string::npos) << out;
    // Full pointer width: 16 hex digits after 0x.
    const auto at = out.find("new    > 0x");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(out.find(' ', at + 11), at + 11 + 16) << out;

    EXPECT_EQ(heap.release(nullptr, true), 0x80000000u);
}

TEST(GlobalHeapManager, LogLineIsCutAt255Characters)
{
    OLIB::GlobalHeapManager heap;
    const std::string longText(400, 'x');
    testing::internal::CaptureStdout();
    heap.log("%s", longText.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(255, 'x'));
}

TEST(GlobalHeapManager, RegistryHeapsStayQuiet)
{
    testing::internal::CaptureStdout();
    void* p = HeapRegistry::allocateBlock(0, "quiet", 32);
    HeapRegistry::releaseBlock(p);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
