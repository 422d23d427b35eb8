#include "ShellFormatter.h"

#include "host/DateTime.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(ShellFormatter, ScalarResults)
{
    EXPECT_EQ(ShellFormatter::ok(), "OK");
    EXPECT_EQ(ShellFormatter::integer(-42), "= -42");
    EXPECT_EQ(ShellFormatter::integer(2147483647), "= 2147483647");
    EXPECT_EQ(ShellFormatter::boolean(true), "= true");
    EXPECT_EQ(ShellFormatter::boolean(false), "= false");
}

TEST(ShellFormatter, TextsAreJsonStrings)
{
    EXPECT_EQ(ShellFormatter::text(""), "= \"\"");
    EXPECT_EQ(ShellFormatter::text("Encore \"Skyline\" C:\\x"), R"(= "Encore \"Skyline\" C:\\x")");
    EXPECT_EQ(ShellFormatter::text("a\nb\tc\x01"), R"(= "a\nb\tc\u0001")");
    // UTF-8 passes unchanged.
    EXPECT_EQ(ShellFormatter::text("B\xc3\xbchne"), "= \"B\xc3\xbchne\"");
}

TEST(ShellFormatter, Lists)
{
    EXPECT_EQ(ShellFormatter::integers({}), "= []");
    EXPECT_EQ(ShellFormatter::integers({0, 119, -1, 0}), "= [0,119,-1,0]");
    EXPECT_EQ(ShellFormatter::unsignedIntegers({0, 100, 4294967295u}), "= [0,100,4294967295]");
    EXPECT_EQ(ShellFormatter::texts(QStringList{QStringLiteral("/head"), QString(), QStringLiteral("Vox \"1\"")}),
              R"(= ["/head","","Vox \"1\""])");
    DateTime t;
    t.year = 24;
    t.month = 5;
    t.day = 13;
    t.hour = 21;
    t.minute = 0;
    t.second = 59;
    EXPECT_EQ(ShellFormatter::dateTime(t), "= [24,5,13,21,0,59]");
}

TEST(ShellFormatter, ExceptionsAndProblemsStayOnOneLine)
{
    EXPECT_EQ(ShellFormatter::exception("MixerException", "line 1\nline 2"),
              "! MixerException: line 1 line 2");
    EXPECT_EQ(ShellFormatter::problem("unknown operation: Foo\r"), "? unknown operation: Foo ");
}
