// Objects made by scripts and by the application: Class_Terminate when the
// last reference goes, cycles broken when the engine ends, objects that
// outlive their engine, and errors raised by the application's objects.
#include "script/HostObject.h"
#include "script/ScriptEngine.h"

#include <gtest/gtest.h>

using vbs::ScriptEngine;
using vbs::ScriptError;
using vbs::Variant;

namespace {

TEST(ObjectLifetime, TerminateRunsWhenTheLastReferenceGoesAndAtTheEnd)
{
    QStringList log;
    {
        ScriptEngine engine;
        engine.AddFunction(QStringLiteral("Log"), [&log](std::span<Variant> a) {
            log << a[0].StrValue();
            return Variant();
        });
        ASSERT_TRUE(engine.AddCode(QStringLiteral(
            "Class Tracked\n"
            "  Public Name\n"
            "  Sub Class_Terminate : Log \"fine \" & Name : End Sub\n"
            "End Class\n"
            "Function Make(n)\n  Set Make = New Tracked\n  Make.Name = n\nEnd Function\n"
            "Set a = Make(\"a\")\n"
            "Set b = Make(\"b\")\n"
            "Set a = Nothing\n"
            "Log \"dopo a\"\n"
            "Make \"temporaneo\"\n"
            "Log \"dopo temporaneo\"\n")));
        EXPECT_EQ(log, (QStringList{QStringLiteral("fine a"), QStringLiteral("dopo a"),
                                    QStringLiteral("fine temporaneo"), QStringLiteral("dopo temporaneo")}));
    }
    EXPECT_EQ(log.last(), QStringLiteral("fine b")); // script-level variables go with the engine
}

TEST(ObjectLifetime, CyclesAreBrokenAndOutlivingObjectsFailCleanly)
{
    Variant kept;
    {
        ScriptEngine engine;
        ASSERT_TRUE(engine.AddCode(QStringLiteral(
            "Class Node\n  Public Other\n  Public Function Hello() : Hello = \"ciao\" : End Function\nEnd Class\n"
            "Set x = New Node : Set y = New Node\n"
            "Set x.Other = y : Set y.Other = x\n"
            "Set d = CreateObject(\"Scripting.Dictionary\") : d.Add \"self\", d\n"
            "Function Keep()\n  Set Keep = x\nEnd Function\n")));
        std::vector<Variant> none;
        ASSERT_TRUE(engine.Run(QStringLiteral("Keep"), none, &kept));
        ASSERT_TRUE(kept.IsObject());
    }
    // The engine is gone: the object it made answers with an error, not a crash.
    EXPECT_EQ(kept.ObjValue()->TypeName(), QStringLiteral("Node"));
    std::vector<Variant*> none;
    EXPECT_THROW(kept.ObjValue()->Invoke(QStringLiteral("hello"), vbs::InvokeKind::Get, none), vbs::VbError);
}

TEST(ObjectLifetime, ErrorsOfTheApplicationsObjectsReachTheScript)
{
    auto printer = std::make_shared<vbs::HostObject>(QStringLiteral("Printer"));
    printer->AddMethod(QStringLiteral("TxtOut"), [](vbs::Args) -> Variant {
        throw vbs::VbError(qint32(0x80040000u + 1015), QStringLiteral("Stampante non pronta"));
    });
    printer->AddMethod(QStringLiteral("Twice"), [](vbs::Args a) {
        vbs::HostObject::ExpectArgs(a, 1, 1);
        return Variant::Long(qint32(a[0]->IntValue() * 2));
    });
    ScriptEngine engine;
    ASSERT_TRUE(engine.AddCode(QStringLiteral(
        "Function Print(prn)\n"
        "  prn.TxtOut 1, 2, \"x\"\n"
        "End Function\n"
        "Function Guarded(prn)\n"
        "  On Error Resume Next\n"
        "  prn.TxtOut 1, 2, \"x\"\n"
        "  Guarded = Err.Number & \" \" & Err.Description & \" \" & prn.Twice(21)\n"
        "End Function\n"
        "Function Wrong(prn)\n  Wrong = prn.Twice(1, 2)\nEnd Function\n"
        "Function Unknown(prn)\n  prn.Missing\nEnd Function\n")));
    std::vector<Variant> args{Variant::Object(printer)};
    ScriptError error;
    Variant result;
    EXPECT_FALSE(engine.Run(QStringLiteral("Print"), args, &result, &error));
    EXPECT_EQ(error.number, qint32(0x80040000u + 1015));
    EXPECT_EQ(error.description, QStringLiteral("Stampante non pronta"));
    EXPECT_EQ(error.line, 2);

    ASSERT_TRUE(engine.Run(QStringLiteral("Guarded"), args, &result, &error));
    EXPECT_EQ(result.StrValue().toStdString(), "-2147220489 Stampante non pronta 42");
    EXPECT_FALSE(engine.Run(QStringLiteral("Wrong"), args, &result, &error));
    EXPECT_EQ(error.number, 450);
    EXPECT_FALSE(engine.Run(QStringLiteral("Unknown"), args, &result, &error));
    EXPECT_EQ(error.number, 438);
}

TEST(ObjectLifetime, FreshEnginesShareNoArraysOrObjects)
{
    const auto compiled = ScriptEngine::Compile(QStringLiteral(
        "Dim totals(2)\n"
        "Set seen = CreateObject(\"Scripting.Dictionary\")\n"
        "Function AddRow(i)\n"
        "  totals(i) = totals(i) + 1\n"
        "  seen(i) = True\n"
        "  AddRow = totals(0) + totals(1) + totals(2) & \"/\" & seen.Count\n"
        "End Function\n"));
    ASSERT_TRUE(compiled);
    for (int i = 0; i < 3; ++i) {
        ScriptEngine engine(compiled);
        std::vector<Variant> args{Variant::Int(qint16(i))};
        Variant result;
        ASSERT_TRUE(engine.Run(QStringLiteral("AddRow"), args, &result));
        EXPECT_EQ(result.StrValue(), QStringLiteral("1/1"));
    }
}

} // namespace
