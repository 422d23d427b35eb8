#include "CountingHeap.h"
#include "support/OVariant.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

TEST(OVariant, KindsAndConversions)
{
    bool ok = true;
    OVariant none;
    EXPECT_FALSE(none.isValid());
    EXPECT_EQ(none.size(), 0u);
    EXPECT_TRUE(none.toInt(&ok) == 0 && !ok);
    EXPECT_TRUE(none.toString(&ok) == nullptr && !ok);
    OVariant v(-7);
    EXPECT_EQ(v.type(), OVariant::Integer);
    EXPECT_TRUE(v.toInt(&ok) == -7 && ok);
    EXPECT_FLOAT_EQ(v.toFloat(), -7.0f);
    EXPECT_EQ(v.size(), 4u);
    EXPECT_EQ(v.toString(), nullptr);
    v = 2.5f;
    EXPECT_EQ(v.type(), OVariant::Real);
    EXPECT_TRUE(v.toInt(&ok) == 0 && !ok);
    EXPECT_FLOAT_EQ(v.toFloat(), 2.5f);

    // Signed types assign integers, unsigned ones unsigned values.
    const std::pair<OVariant, std::pair<std::uint32_t, int>> assigned[] = {
        {OVariant() = static_cast<signed char>(-1), {OVariant::Integer, -1}},
        {OVariant() = static_cast<short>(-300), {OVariant::Integer, -300}},
        {OVariant() = static_cast<long>(-5), {OVariant::Integer, -5}},
        {OVariant() = static_cast<unsigned char>(200), {OVariant::Unsigned, 200}},
        {OVariant() = static_cast<unsigned short>(65535), {OVariant::Unsigned, 65535}},
        {OVariant() = 0xFFFFFFFFul, {OVariant::Unsigned, -1}}, // the same 32 bits
    };
    for (const auto& [value, expected] : assigned) {
        EXPECT_EQ(value.type(), expected.first);
        EXPECT_EQ(value.toInt(), expected.second);
    }
    EXPECT_GT(assigned[5].first.toFloat(), 4.29e9f); // read as unsigned, not as -1
}

TEST(OVariant, EqualityFollowsTheLeftKind)
{
    OVariant minusOne(-1), allOnes, five(5), fiveReal;
    allOnes = 0xFFFFFFFFu;
    fiveReal = 5.0f;
    EXPECT_TRUE(minusOne == allOnes && allOnes == minusOne);
    EXPECT_FALSE(five == fiveReal); // an integer on the left compares integers
    EXPECT_TRUE(fiveReal == five);  // a real converts the right with toFloat
    OVariant a("abc", 1023), b("abc", 1023), c("abd", 1023), d("ab", 1023);
    EXPECT_TRUE(a == b && a != c && !(a == d) && !(a == five));
    EXPECT_TRUE(OVariant() != OVariant()); // two empty values are not equal
    const unsigned char bytes[] = {1, 2, 3}, other[] = {1, 2, 4};
    OVariant blockA, blockB, blockC;
    blockA.setBinary(bytes, 3);
    blockB.setBinary(bytes, 3);
    blockC.setBinary(other, 3);
    EXPECT_TRUE(blockA == blockB && !(blockA == blockC) && !(blockA == a));
}

TEST(OVariant, TextsAndByteBlocksWithinTheirLimits)
{
    CountingHeap heap;
    {
        const std::string exact(1023, 'a');
        OVariant v;
        EXPECT_EQ(v.setString(exact.c_str(), 2000), OVariant::Ok);
        EXPECT_EQ(v.toString(), exact);
        EXPECT_EQ(v.size(), 1024u);
        EXPECT_STREQ(heap.lastLabel, "OVariant::m_Value.m_pString");
        EXPECT_EQ(v.setString(std::string(1024, 'a').c_str(), 2000), OVariant::BadArgument);
        EXPECT_STREQ(v.toString(), "ERROR:");
        EXPECT_EQ(v.size(), 7u);
        // The limit cuts the text short without an error.
        EXPECT_EQ(v.setString("abcdef", 3), OVariant::Ok);
        EXPECT_STREQ(v.toString(), "abc");
        bool ok = false;
        EXPECT_EQ(v.stringSize(&ok), 4u);
        EXPECT_TRUE(ok);
        EXPECT_EQ(v.setString(nullptr, 10), OVariant::Ok);
        EXPECT_STREQ(v.toString(), "");
        EXPECT_EQ(OVariant(3).stringSize(&ok), 0u);
        EXPECT_FALSE(ok);
        heap.failNext = true;
        EXPECT_EQ(v.setString("new", 10), OVariant::NoMemory);
        EXPECT_FALSE(v.isValid());

        const unsigned char data[] = {0x00, 0xFF, 0x10};
        EXPECT_EQ(v.setBinary(data, 3), OVariant::Ok);
        EXPECT_EQ(v.type(), OVariant::Binary);
        EXPECT_EQ(v.size(), 3u);
        EXPECT_EQ(std::memcmp(v.toBinary(), data, 3), 0);
        EXPECT_STREQ(heap.lastLabel, "OVariant::m_Value.m_pBinary");
        // Big-endian length in front of the data.
        const unsigned char length[] = {0, 0, 0, 3};
        EXPECT_EQ(std::memcmp(v.toBinary() - 4, length, 4), 0);
        const std::pair<const void*, std::uint32_t> bad[] = {{data, 0}, {nullptr, 3}, {data, 0xFFFFFFFCu}};
        for (const auto& [bytes, size] : bad) {
            EXPECT_EQ(v.setBinary(bytes, size), OVariant::BadArgument) << size;
            EXPECT_FALSE(v.isValid());
        }
        // Above the heap's 16 MiB block limit: no memory rather than a crash.
        static unsigned char big[0x1000000];
        EXPECT_EQ(v.setBinary(big, 0xFFFFFC), OVariant::NoMemory);
        EXPECT_FALSE(v.isValid());
    }
    EXPECT_EQ(heap.outstanding(), 0u);
}

TEST(OVariant, CopiesOwnTheirMemoryMovesHandItOver)
{
    CountingHeap heap;
    {
        OVariant text("hello", 1023);
        OVariant copy(text);
        EXPECT_TRUE(copy == text);
        EXPECT_NE(copy.toString(), text.toString());
        OVariant assigned(1);
        assigned = text;
        assigned = assigned; // self-assignment keeps the text
        EXPECT_STREQ(assigned.toString(), "hello");
        const unsigned char bytes[] = {9, 8};
        OVariant block;
        block.setBinary(bytes, 2);
        OVariant blockCopy(block);
        EXPECT_TRUE(blockCopy == block);
        text = 42; // a kind change releases the old memory, as does clear()
        block.clear();
        EXPECT_EQ(heap.outstanding(), 3u); // copy, assigned, blockCopy

        OVariant moved(7);
        moved = std::move(copy);
        EXPECT_STREQ(moved.toString(), "hello");
        // The moved-from value keeps its kind but no longer owns the text.
        EXPECT_EQ(copy.type(), OVariant::String);
        EXPECT_EQ(copy.toString(), nullptr);
        EXPECT_EQ(copy.size(), 0u);
        EXPECT_EQ(heap.outstanding(), 3u);
    }
    EXPECT_EQ(heap.outstanding(), 0u);
}
