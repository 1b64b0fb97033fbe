// No script may freeze or crash the till: endless loops, runaway recursion,
// huge arrays and strings and absurd nesting all end in script errors.
#include "script/ScriptEngine.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <gtest/gtest.h>

using vbs::ScriptEngine;
using vbs::ScriptError;
using vbs::Variant;

namespace {

ScriptError RunTop(const QString& code, vbs::Limits limits = vbs::Limits())
{
    ScriptEngine engine;
    engine.SetLimits(limits);
    ScriptError error;
    engine.AddCode(code, &error);
    return error;
}

TEST(Limits, EndlessLoopsStopWithATimeLimitErrorThatResumeNextCannotSwallow)
{
    vbs::Limits limits;
    limits.timeLimitMs = 100;
    QElapsedTimer timer;
    timer.start();
    const ScriptError error = RunTop(QStringLiteral("On Error Resume Next\nDo\n x = x + 1\nLoop\nEcho 1"), limits);
    EXPECT_EQ(error.number, vbs::Err::TimeLimit);
    EXPECT_EQ(error.line, 2); // the loop
    EXPECT_LT(timer.elapsed(), 2000);

    limits.timeLimitMs = 0;
    limits.maxSteps = 1000;
    EXPECT_EQ(RunTop(QStringLiteral("Sub R\n R\nEnd Sub\nWhile True\nWend"), limits).number, vbs::Err::TimeLimit);
}

TEST(Limits, RunawayRecursionRaisesOutOfStackSpace)
{
    const ScriptError error = RunTop(QStringLiteral("Function F(n)\n F = F(n + 1) + 1\nEnd Function\nx = F(1)"));
    EXPECT_EQ(error.number, vbs::Err::OutOfStack);
    EXPECT_EQ(error.line, 2);
    // Code that executes itself recurses too.
    EXPECT_EQ(RunTop(QStringLiteral("s = \"Execute s\"\nExecute s")).number, vbs::Err::OutOfStack);
    EXPECT_EQ(RunTop(QStringLiteral("s = \"Eval(s)\"\nx = Eval(s)")).number, vbs::Err::OutOfStack);
    // The engine stays usable after it.
    ScriptEngine engine;
    ASSERT_TRUE(engine.AddCode(QStringLiteral("Function F(n)\n If n > 0 Then F = F(n - 1) + 1 Else F = 0\nEnd Function")));
    std::vector<Variant> args{Variant::Long(200)};
    Variant result;
    ASSERT_TRUE(engine.Run(QStringLiteral("F"), args, &result));
    EXPECT_EQ(result.IntValue(), 200);
}

TEST(Limits, HugeArraysAndStringsRaiseMemoryErrors)
{
    EXPECT_EQ(RunTop(QStringLiteral("Dim a(100000, 100000)")).number, vbs::Err::OutOfMemory);
    EXPECT_EQ(RunTop(QStringLiteral("ReDim a(2000000000)")).number, vbs::Err::OutOfMemory);
    EXPECT_EQ(RunTop(QStringLiteral("s = Space(100000000)")).number, vbs::Err::OutOfStringSpace);
    EXPECT_EQ(RunTop(QStringLiteral("s = \"xx\"\nFor i = 1 To 40\n s = s & s\nNext")).number,
              vbs::Err::OutOfStringSpace);
    EXPECT_EQ(RunTop(QStringLiteral("ReDim a(-5)")).number, vbs::Err::SubscriptRange);
}

TEST(Limits, DeepNestingIsACompileErrorNotACrash)
{
    const QString deep = QStringLiteral("x = ") + QString(5000, QLatin1Char('(')) + QStringLiteral("1")
                         + QString(5000, QLatin1Char(')'));
    EXPECT_EQ(RunTop(deep).number, vbs::Err::OutOfStack);
    QString ifs;
    for (int i = 0; i < 3000; ++i)
        ifs += QStringLiteral("If True Then\n");
    EXPECT_EQ(RunTop(ifs).number, vbs::Err::OutOfStack);
    // Long chains of nested objects are released without deep recursion
    // (with no time limit: an unoptimised build on a busy machine is slow).
    vbs::Limits untimed;
    untimed.timeLimitMs = 0;
    EXPECT_EQ(RunTop(QStringLiteral("Class N\n Public Nx\nEnd Class\nSet h = Nothing\nFor i = 1 To 200000\n"
                                    " Set nd = New N\n Set nd.Nx = h\n Set h = nd\nNext\nSet nd = Nothing\nSet h = Nothing\n"
                                    "a = Empty\nFor i = 1 To 200000\n a = Array(a)\nNext\na = 0"),
                     untimed)
                  .number,
              0);
}

TEST(Limits, RandomTextNeverCrashes)
{
    const QStringList pieces = {
        QStringLiteral("If "), QStringLiteral("Then\n"), QStringLiteral("End If\n"), QStringLiteral("For i = 1 To 3\n"),
        QStringLiteral("Next\n"), QStringLiteral("x"), QStringLiteral(" = "), QStringLiteral("("), QStringLiteral(")"),
        QStringLiteral("\"a\""), QStringLiteral(" & "), QStringLiteral("Function F(a)\n"), QStringLiteral("End Function\n"),
        QStringLiteral("F(x)"), QStringLiteral(", "), QStringLiteral("Class C\n"), QStringLiteral("End Class\n"),
        QStringLiteral("Set "), QStringLiteral("New C"), QStringLiteral("."), QStringLiteral("Do\n"), QStringLiteral("Loop\n"),
        QStringLiteral(":"), QStringLiteral("1.5"), QStringLiteral("Null"), QStringLiteral("On Error Resume Next\n"),
        QStringLiteral("ReDim Preserve x(2)\n"), QStringLiteral("Execute \"x = 1\"\n"), QStringLiteral("\n"),
    };
    vbs::Limits limits;
    limits.timeLimitMs = 50;
    QRandomGenerator random(1234);
    for (int round = 0; round < 400; ++round) {
        QString text;
        const int count = random.bounded(1, 30);
        for (int i = 0; i < count; ++i)
            text += pieces[random.bounded(pieces.size())];
        RunTop(text, limits); // must simply return
    }
    SUCCEED();
}

} // namespace
