#include "ShellLineParser.h"

#include <gtest/gtest.h>

using Kind = ShellLineParser::Kind;
using Args = std::vector<std::string>;

TEST(ShellLineParser, BlankAndCommentLinesHoldNoCall)
{
    for (const char* line : {"", "   ", "\t \t", "# a comment", "   # indented comment", "#", "\r"})
        EXPECT_EQ(ShellLineParser::parse(line).kind, Kind::Skip) << '"' << line << '"';
}

TEST(ShellLineParser, SplitsCalls)
{
    const struct {
        const char* line;
        Args arguments;
    } cases[] = {
        {"  GetValue\t/Mixing/Mix/Fader/Level/MMS   3 0  ", {"GetValue", "/Mixing/Mix/Fader/Level/MMS", "3", "0"}},
        {"SetTitle #1 100", {"SetTitle", "#1", "100"}},
        {"SetTitle \"Band  A\tlate\" \"\" 200", {"SetTitle", "Band  A\tlate", "", "200"}},
        {R"(SetComment "say \"hi\" \\ back\\" 1)", {"SetComment", R"(say "hi" \ back\)", "1"}},
        {R"(LoadData C:\setups\a.KX9F)", {"LoadData", R"(C:\setups\a.KX9F)"}},
        {"LoadData \"/tmp/my file.KX9F\"\r", {"LoadData", "/tmp/my file.KX9F"}},
    };
    for (const auto& c : cases) {
        const auto r = ShellLineParser::parse(c.line);
        ASSERT_EQ(r.kind, Kind::Call) << c.line;
        EXPECT_EQ(r.arguments, c.arguments) << c.line;
    }
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
