// Compile errors: the number a script sees and the line and column of the
// offending token, for the mistakes people make when editing a layout.
#include "script/ScriptEngine.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char* code;
    qint32 number;
    int line;
    int column;
};

TEST(CompileErrors, ReportNumberLineAndColumn)
{
    const Case cases[] = {
        {"x = 1 +\n", 1023, 1, 8},                            // expected expression
        {"If x Then\nx = 1\n", 1014, 3, 1},                    // missing End If
        {"For i = 1 To 3\nx = i\n", 1020, 3, 1},               // missing Next
        {"Do\nLoop Loop\n", 1025, 2, 6},                       // expected end of statement
        {"x = \"abc\nEcho x\n", 1033, 1, 9},                   // unterminated string
        {"x = 1 $ 2\n", 1032, 1, 7},                           // invalid character
        {"Function F(a, a)\nEnd Function\n", 1041, 1, 15},     // name redefined
        {"Sub S\nEnd Function\n", 1016, 2, 5},                 // expected Sub
        {"Dim a\nDim a\n", 1041, 2, 5},                        // name redefined
        {"Exit For\n", 1039, 1, 1},                            // exit outside a loop
        {"Property Get P\nEnd Property\n", 1048, 1, 1},        // outside a class
        {"Class C\nPrivate Sub Class_Initialize(x)\nEnd Sub\nEnd Class\n", 1053, 2, 0},
        {"Const K = x\n", 1045, 1, 7},                         // not a constant
        {"Next\n", 1055, 1, 1},
        {"x = Me\n", 1037, 1, 5},
        {"Select Case x\nCase 1\nx = 2\n", 1014, 4, 1},
        {"  x = (1, 2)\n", 1006, 1, 9},
        {"Call\n", 1010, 1, 5},
        // Procedures may stand in blocks of script-level code, not inside another procedure,
        // and share no name with a variable or a class.
        {"Sub A\nIf x Then\nSub B\nEnd Sub\nEnd If\nEnd Sub\n", 1002, 3, 1},
        {"Dim F\nSub F\nEnd Sub\n", 1041, 1, 5},
        {"Class C\nEnd Class\nIf x Then\nSub C\nEnd Sub\nEnd If\n", 1041, 4, 0},
        {"If x Then\nPublic y\nEnd If\n", 1002, 2, 1},
        // A fixed array's bounds are integer literals.
        {"n = 3\nDim a(n)\n", 1026, 2, 7},
        {"Dim a(2, 1.5)\n", 1026, 1, 10},
        {"Const K = x ^ 2\n", 1045, 1, 7},
        // An argument list in parentheses needs Call.
        {"Sub S(a, b)\nEnd Sub\nS(1, 2)\n", 1044, 3, 2},
        {"d.Add(\"a\", 1)\n", 1044, 1, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        vbs::ScriptEngine engine;
        vbs::ScriptError error;
        EXPECT_FALSE(engine.AddCode(QString::fromUtf8(c.code), &error));
        EXPECT_EQ(error.number, c.number) << error.description.toStdString();
        EXPECT_EQ(error.line, c.line);
        if (c.column) {
            EXPECT_EQ(error.column, c.column);
        }
        EXPECT_FALSE(error.description.isEmpty());
    }
}

TEST(CompileErrors, NothingRunsWhenAnyLineIsWrong)
{
    vbs::ScriptEngine engine;
    int calls = 0;
    engine.AddFunction(QStringLiteral("Mark"), [&calls](std::span<vbs::Variant>) {
        ++calls;
        return vbs::Variant();
    });
    EXPECT_FALSE(engine.AddCode(QStringLiteral("Mark\nMark\nx = (\n")));
    EXPECT_EQ(calls, 0);
}

} // namespace
