// How script text becomes tokens: literals of every form, names in any
// case, and the line numbers that error reports rely on.
#include "script/ConsoleRunner.h"
#include "script/Lexer.h"
#include "script/ScriptError.h"

#include <gtest/gtest.h>

using namespace vbs;

namespace {

std::vector<Token> Lex(const char* text)
{
    return Tokenize(QString::fromUtf8(text));
}

TEST(Lexer, LiteralsTakeTheirSubtypes)
{
    const auto t = Lex("1 32768 2147483648 1.5 .5 1e3 &HFF &HFFFF &H10000 &O17 \"a\"\"b\" #3/1/2026#");
    ASSERT_GE(t.size(), 12u);
    EXPECT_EQ(t[0].value.TypeName(), QStringLiteral("Integer"));
    EXPECT_EQ(t[1].value.TypeName(), QStringLiteral("Long"));
    EXPECT_EQ(t[2].value.TypeName(), QStringLiteral("Double"));
    EXPECT_DOUBLE_EQ(t[3].value.DblValue(), 1.5);
    EXPECT_DOUBLE_EQ(t[4].value.DblValue(), 0.5);
    EXPECT_DOUBLE_EQ(t[5].value.DblValue(), 1000.0);
    EXPECT_EQ(t[6].value.IntValue(), 255);
    EXPECT_EQ(t[7].value.IntValue(), -1); // four hex digits make an Integer
    EXPECT_EQ(t[8].value.IntValue(), 65536);
    EXPECT_EQ(t[9].value.IntValue(), 15);
    EXPECT_EQ(t[10].value.StrValue(), QStringLiteral("a\"b"));
    EXPECT_EQ(t[11].value.TypeName(), QStringLiteral("Date"));
    EXPECT_DOUBLE_EQ(t[11].value.DblValue(), 46082.0); // month first, whatever the locale
}

TEST(Lexer, NamesKeywordsCommentsAndLines)
{
    const auto t = Lex("DIM x ' comment\r\nrem another\n  If [End] _\n  Then obj.Prop:x=1");
    std::vector<std::pair<int, QString>> names;
    for (const Token& token : t)
        if (token.type == Tok::Name)
            names.emplace_back(token.line, token.lower);
    const std::vector<std::pair<int, QString>> expected = {
        {1, QStringLiteral("dim")}, {1, QStringLiteral("x")}, {3, QStringLiteral("if")},
        {3, QStringLiteral("end")}, {4, QStringLiteral("then")}, {4, QStringLiteral("obj")},
        {4, QStringLiteral("prop")}, {4, QStringLiteral("x")},
    };
    EXPECT_EQ(names, expected);
    EXPECT_EQ(t[0].keyword, Kw::Dim);
    const auto bracketed = std::find_if(t.begin(), t.end(), [](const Token& k) { return k.bracketed; });
    ASSERT_NE(bracketed, t.end());
    EXPECT_EQ(bracketed->keyword, Kw::None); // [End] is a name, not a keyword
}

TEST(Lexer, MalformedTextRaisesCompileErrors)
{
    const struct { const char* text; qint32 number; int line; } cases[] = {
        {"x = \"open", Err::UnterminatedString, 1},
        {"\n\nx = 1 ? 2", Err::InvalidCharacter, 3},
        {"x = &HFFFFFFFFF", Err::InvalidNumber, 1},
        {"x = 12abc", Err::ExpectedEndOfStatement, 1},
        {"x = #not a date#", Err::Syntax, 1},
        {"x = [unclosed", Err::ExpectedIdentifier, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            Lex(c.text);
            ADD_FAILURE() << "no error";
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), c.number);
            EXPECT_EQ(e.Line(), c.line);
        }
    }
}

TEST(ScriptFiles, DecodeByByteOrderMarkThenUtf8ThenCodePage1252)
{
    EXPECT_EQ(DecodeScriptFile(QByteArray("\xEF\xBB\xBF" "caff\xC3\xA8")), QStringLiteral("caffè"));
    EXPECT_EQ(DecodeScriptFile(QByteArray("caff\xC3\xA8")), QStringLiteral("caffè"));
    EXPECT_EQ(DecodeScriptFile(QByteArray("caff\xE8 \x80")), QStringLiteral("caffè €"));
    const QByteArray utf16("\xFF\xFE" "a\0\xE8\0", 6);
    EXPECT_EQ(DecodeScriptFile(utf16), QStringLiteral("aè"));
}

} // namespace
