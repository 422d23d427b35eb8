#include "ShellLineParser.h"

#include <gtest/gtest.h>

using Kind = ShellLineParser::Kind;

// The edges of the shell's quoting; the shell's own tests show its lines.
TEST(ShellLineParser, BlanksCommentsQuotesAndEscapes)
{
    const struct {
        const char* line;
        Kind kind;
        std::vector<std::string> arguments;
        const char* error = "";
    } rows[] = {
        {"", Kind::Skip, {}},
        {"\t \t", Kind::Skip, {}},
        {"   # indented comment", Kind::Skip, {}},
        {"\r", Kind::Skip, {}},
        {"  GetValue\t/Mixing/Mix/Fader/Level/MMS   3 0  ", Kind::Call, {"GetValue", "/Mixing/Mix/Fader/Level/MMS", "3", "0"}},
        {"SetTitle #1 100", Kind::Call, {"SetTitle", "#1", "100"}},
        {"SetTitle \"Band  A\tlate\" \"\" 200", Kind::Call, {"SetTitle", "Band  A\tlate", "", "200"}},
        {R"(SetComment "say \"hi\" \\ back\\" 1)", Kind::Call, {"SetComment", R"(say "hi" \ back\)", "1"}},
        {R"(LoadData C:\setups\a.KX9F)", Kind::Call, {"LoadData", R"(C:\setups\a.KX9F)"}},
        {"LoadData \"/tmp/my file.KX9F\"\r", Kind::Call, {"LoadData", "/tmp/my file.KX9F"}},
        {"SetTitle \"open 100", Kind::Error, {}, "unterminated quote opened at column 10"},
        {R"(SetTitle "abc\)", Kind::Error, {}, "unterminated quote"},   // a final backslash cannot close it
        {R"(SetTitle "a\nb" 1)", Kind::Error, {}, "unknown escape \\n"},
        {R"(SetTitle "a"b 1)", Kind::Error, {}, "followed by a blank"},
        {R"(SetTitle a"b" 1)", Kind::Error, {}, "quote inside an unquoted argument"},
    };
    for (const auto& row : rows) {
        const auto r = ShellLineParser::parse(row.line);
        EXPECT_EQ(r.kind, row.kind) << row.line;
        EXPECT_EQ(r.arguments, row.arguments) << row.line;
        EXPECT_NE(r.error.find(row.error), std::string::npos) << row.line << ": " << r.error;
    }
}
