#include "CountingHeap.h"
#include "support/OVariant.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <utility>

TEST(OVariant, KindsAndAccessors)
{
    OVariant none;
    EXPECT_FALSE(none.isValid());
    EXPECT_EQ(none.type(), OVariant::None);
    EXPECT_EQ(none.size(), 0u);
    bool ok = true;
    EXPECT_EQ(none.toInt(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(none.toString(&ok), nullptr);
    EXPECT_FALSE(ok);

    OVariant number(-7);
    EXPECT_EQ(number.type(), OVariant::Integer);
    EXPECT_EQ(number.toInt(&ok), -7);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(number.toFloat(), -7.0f);
    EXPECT_EQ(number.size(), 4u);
    EXPECT_EQ(number.toString(), nullptr);

    OVariant real;
    real = 2.5f;
    EXPECT_EQ(real.type(), OVariant::Real);
    EXPECT_EQ(real.size(), 4u);
    EXPECT_EQ(real.toInt(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_FLOAT_EQ(real.toFloat(), 2.5f);
}

TEST(OVariant, AssignmentsChooseSignedOrUnsigned)
{
    OVariant v;
    v = static_cast<signed char>(-1);
    EXPECT_EQ(v.type(), OVariant::Integer);
    EXPECT_EQ(v.toInt(), -1);
    v = static_cast<short>(-300);
    EXPECT_EQ(v.toInt(), -300);
    v = static_cast<long>(-5);
    EXPECT_EQ(v.type(), OVariant::Integer);
    EXPECT_EQ(v.toInt(), -5);

    v = static_cast<unsigned char>(200);
    EXPECT_EQ(v.type(), OVariant::Unsigned);
    EXPECT_EQ(v.toInt(), 200);
    v = static_cast<unsigned short>(65535);
    EXPECT_EQ(v.toInt(), 65535);

    v = 0xFFFFFFFFul;
    EXPECT_EQ(v.type(), OVariant::Unsigned);
    EXPECT_GT(v.toFloat(), 4.29e9f);    // read as unsigned, not as -1
    EXPECT_EQ(v.toInt(), -1);            // same 32 bits
    EXPECT_EQ(v.size(), 4u);
}

TEST(OVariant, EqualityFollowsTheLeftKind)
{
    OVariant minusOne(-1);
    OVariant allOnes;
    allOnes = 0xFFFFFFFFu;
    EXPECT_TRUE(minusOne == allOnes);
    EXPECT_TRUE(allOnes == minusOne);

    OVariant five(5);
    OVariant fiveReal;
    fiveReal = 5.0f;
    EXPECT_FALSE(five == fiveReal);      // integer vs real: the left is integer
    EXPECT_TRUE(fiveReal == five);       // real converts the right with toFloat

    OVariant a("abc", 1023), b("abc", 1023), c("abd", 1023), d("ab", 1023);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_FALSE(a == d);
    EXPECT_TRUE(a != c);
    EXPECT_FALSE(a == five);

    OVariant none1, none2;
    EXPECT_FALSE(none1 == none2);        // two empty values are not equal
    EXPECT_TRUE(none1 != none2);

    const unsigned char bytes[] = {1, 2, 3};
    const unsigned char other[] = {1, 2, 4};
    OVariant blockA, blockB, blockC;
    blockA.setBinary(bytes, 3);
    blockB.setBinary(bytes, 3);
    blockC.setBinary(other, 3);
    EXPECT_TRUE(blockA == blockB);
    EXPECT_FALSE(blockA == blockC);
    EXPECT_FALSE(blockA == a);
}

TEST(OVariant, TextLimits)
{
    HeapZeroGuard guard;
    {
        const std::string exact(1023, 'a');
        OVariant v;
        EXPECT_EQ(v.setString(exact.c_str(), 2000), OVariant::Ok);
        EXPECT_EQ(std::string(v.toString()), exact);
        EXPECT_EQ(v.size(), 1024u);
        EXPECT_EQ(v.stringSize(), 1024u);
        EXPECT_STREQ(guard.heap().lastLabel, "OVariant::m_Value.m_pString");

        const std::string tooLong(1024, 'a');
        EXPECT_EQ(v.setString(tooLong.c_str(), 2000), OVariant::BadArgument);
        EXPECT_STREQ(v.toString(), "ERROR:");
        EXPECT_EQ(v.size(), 7u);

        // The limit cuts the text short without an error.
        EXPECT_EQ(v.setString("abcdef", 3), OVariant::Ok);
        EXPECT_STREQ(v.toString(), "abc");

        EXPECT_EQ(v.setString(nullptr, 10), OVariant::Ok);
        EXPECT_STREQ(v.toString(), "");
        EXPECT_EQ(v.size(), 1u);

        OVariant abc("abc", 1023);
        EXPECT_EQ(abc.size(), 4u);
        bool ok = false;
        EXPECT_EQ(abc.stringSize(&ok), 4u);
        EXPECT_TRUE(ok);
        OVariant n(3);
        EXPECT_EQ(n.stringSize(&ok), 0u);
        EXPECT_FALSE(ok);
    }
    EXPECT_EQ(guard.heap().outstanding(), 0u);
}

TEST(OVariant, TextAllocationFailureLeavesNone)
{
    HeapZeroGuard guard;
    OVariant v("old", 10);
    guard.heap().failNext = true;
    EXPECT_EQ(v.setString("new", 10), OVariant::NoMemory);
    EXPECT_FALSE(v.isValid());
    EXPECT_EQ(guard.heap().outstanding(), 0u);
}

TEST(OVariant, ByteBlocks)
{
    HeapZeroGuard guard;
    {
        const unsigned char data[] = {0x00, 0xFF, 0x10};
        OVariant v;
        EXPECT_EQ(v.setBinary(data, 3), OVariant::Ok);
        EXPECT_EQ(v.type(), OVariant::Binary);
        EXPECT_EQ(v.size(), 3u);
        EXPECT_EQ(std::memcmp(v.toBinary(), data, 3), 0);
        EXPECT_STREQ(guard.heap().lastLabel, "OVariant::m_Value.m_pBinary");
        // Big-endian length in front of the data.
        const unsigned char* raw = v.toBinary() - 4;
        EXPECT_EQ(raw[0], 0);
        EXPECT_EQ(raw[3], 3);

        EXPECT_EQ(v.setBinary(data, 0), OVariant::BadArgument);
        EXPECT_FALSE(v.isValid());
        EXPECT_EQ(v.setBinary(nullptr, 3), OVariant::BadArgument);
        EXPECT_EQ(v.setBinary(data, 0xFFFFFFFCu), OVariant::BadArgument);
        EXPECT_FALSE(v.isValid());
        // Above the heap's 16 MiB block limit: no memory rather than a crash.
        static unsigned char big[0x1000000];
        EXPECT_EQ(v.setBinary(big, 0xFFFFFC), OVariant::NoMemory);
        EXPECT_FALSE(v.isValid());
    }
    EXPECT_EQ(guard.heap().outstanding(), 0u);
}

TEST(OVariant, CopiesOwnTheirMemoryAndKindChangesReleaseIt)
{
    HeapZeroGuard guard;
    {
        OVariant text("hello", 1023);
        OVariant copy(text);
        EXPECT_TRUE(copy == text);
        EXPECT_NE(copy.toString(), text.toString());

        OVariant assigned(1);
        assigned = text;
        EXPECT_STREQ(assigned.toString(), "hello");
        assigned = assigned;                     // self-assignment keeps the text
        EXPECT_STREQ(assigned.toString(), "hello");

        const unsigned char bytes[] = {9, 8};
        OVariant block;
        block.setBinary(bytes, 2);
        OVariant blockCopy(block);
        EXPECT_TRUE(blockCopy == block);

        text = 42;                               // text -> integer releases the text
        EXPECT_EQ(text.toInt(), 42);
        block.clear();
        EXPECT_FALSE(block.isValid());
        EXPECT_EQ(guard.heap().outstanding(), 3u);   // copy, assigned, blockCopy
    }
    EXPECT_EQ(guard.heap().outstanding(), 0u);
    EXPECT_EQ(guard.heap().allocations, guard.heap().releases);
}

TEST(OVariant, MoveHandsOverTheText)
{
    HeapZeroGuard guard;
    {
        OVariant source("moved", 1023);
        OVariant target(7);
        target = std::move(source);
        EXPECT_STREQ(target.toString(), "moved");
        // The moved-from value keeps its kind but no longer owns the text.
        EXPECT_EQ(source.type(), OVariant::String);
        EXPECT_EQ(source.toString(), nullptr);
        EXPECT_EQ(source.size(), 0u);
        EXPECT_EQ(guard.heap().outstanding(), 1u);
    }
    EXPECT_EQ(guard.heap().outstanding(), 0u);
}
