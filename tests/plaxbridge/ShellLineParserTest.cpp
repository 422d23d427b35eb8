#include "ShellLineParser.h"

#include <gtest/gtest.h>

using Kind = ShellLineParser::Kind;
using Args = std::vector<std::string>;

TEST(ShellLineParser, BlankAndCommentLinesHoldNoCall)
{
    for (const char* line : {"", "   ", "\t \t", "# a comment", "   # indented comment", "#", "\r"})
        EXPECT_EQ(ShellLineParser::parse(line).kind, Kind::Skip) << '"' << line << '"';
}

TEST(ShellLineParser, SplitsOnRunsOfBlanks)
{
    const auto r = ShellLineParser::parse("  GetValue\t/Mixing/Mix/Fader/Level/MMS   3 0  ");
    ASSERT_EQ(r.kind, Kind::Call);
    EXPECT_EQ(r.arguments, (Args{"GetValue", "/Mixing/Mix/Fader/Level/MMS", "3", "0"}));
}

TEST(ShellLineParser, HashInsideALineIsAnOrdinaryCharacter)
{
    const auto r = ShellLineParser::parse("SetTitle #1 100");
    ASSERT_EQ(r.kind, Kind::Call);
    EXPECT_EQ(r.arguments, (Args{"SetTitle", "#1", "100"}));
}

TEST(ShellLineParser, QuotedArgumentsKeepBlanksAndMayBeEmpty)
{
    const auto r = ShellLineParser::parse("SetTitle \"Band  A\tlate\" \"\" 200");
    ASSERT_EQ(r.kind, Kind::Call);
    EXPECT_EQ(r.arguments, (Args{"SetTitle", "Band  A\tlate", "", "200"}));
}

TEST(ShellLineParser, EscapesInsideQuotes)
{
    const auto r = ShellLineParser::parse(R"(SetComment "say \"hi\" \\ back\\" 1)");
    ASSERT_EQ(r.kind, Kind::Call);
    EXPECT_EQ(r.arguments, (Args{"SetComment", R"(say "hi" \ back\)", "1"}));
}

TEST(ShellLineParser, BackslashOutsideQuotesIsLiteral)
{
    const auto r = ShellLineParser::parse(R"(LoadData C:\setups\a.KX9F)");
    ASSERT_EQ(r.kind, Kind::Call);
    EXPECT_EQ(r.arguments, (Args{"LoadData", R"(C:\setups\a.KX9F)"}));
}

TEST(ShellLineParser, QuotedArgumentAtEndOfLineAndTrailingCarriageReturn)
{
    const auto r = ShellLineParser::parse("LoadData \"/tmp/my file.KX9F\"\r");
    ASSERT_EQ(r.kind, Kind::Call);
    EXPECT_EQ(r.arguments, (Args{"LoadData", "/tmp/my file.KX9F"}));
}

TEST(ShellLineParser, MalformedQuotingIsAnErrorNamingTheColumn)
{
    const auto unterminated = ShellLineParser::parse("SetTitle \"open 100");
    ASSERT_EQ(unterminated.kind, Kind::Error);
    EXPECT_NE(unterminated.error.find("unterminated quote"), std::string::npos);
    EXPECT_NE(unterminated.error.find("column 10"), std::string::npos);

    // A backslash as the last character cannot close the quote.
    EXPECT_EQ(ShellLineParser::parse(R"(SetTitle "abc\)").kind, Kind::Error);

    const auto escape = ShellLineParser::parse(R"(SetTitle "a\nb" 1)");
    ASSERT_EQ(escape.kind, Kind::Error);
    EXPECT_NE(escape.error.find("unknown escape \\n"), std::string::npos);

    const auto glued = ShellLineParser::parse(R"(SetTitle "a"b 1)");
    ASSERT_EQ(glued.kind, Kind::Error);
    EXPECT_NE(glued.error.find("followed by a blank"), std::string::npos);

    const auto stray = ShellLineParser::parse(R"(SetTitle a"b" 1)");
    ASSERT_EQ(stray.kind, Kind::Error);
    EXPECT_NE(stray.error.find("quote inside an unquoted argument"), std::string::npos);
}
