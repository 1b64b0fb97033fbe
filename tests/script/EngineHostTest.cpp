// The engine as the application drives it: adding code, calling functions
// by name, by-reference arguments written back, errors with number,
// Italian description and line, compiled scripts run on fresh state.
#include "script/FieldCollection.h"
#include "script/HostObject.h"
#include "script/ScriptEngine.h"

#include <gtest/gtest.h>

using vbs::ScriptEngine;
using vbs::ScriptError;
using vbs::Variant;

namespace {

TEST(EngineHost, SyntaxErrorsComeBackWithNumberDescriptionAndLine)
{
    ScriptEngine engine;
    ScriptError error;
    EXPECT_FALSE(engine.AddCode(QStringLiteral("Function F()\r\n  F = 1\r\n  If F Then\r\nEnd Function\r\n"), &error));
    EXPECT_EQ(error.number, 1012); // Expected 'If': End Function came first
    EXPECT_EQ(error.line, 4);
    EXPECT_FALSE(error.description.isEmpty());

    EXPECT_FALSE(engine.AddCode(QStringLiteral("x = \"aperta\n"), &error));
    EXPECT_EQ(error.number, 1033);
    EXPECT_EQ(error.line, 1);

    // A failed text leaves no names behind; a later text may use them.
    EXPECT_FALSE(engine.HasFunction(QStringLiteral("F")));
    EXPECT_TRUE(engine.AddCode(QStringLiteral("Function F()\n F = 2\nEnd Function"), &error));
    std::vector<Variant> none;
    Variant result;
    EXPECT_TRUE(engine.Run(QStringLiteral("f"), none, &result));
    EXPECT_EQ(result.IntValue(), 2);
}

TEST(EngineHost, RunsFunctionsByNameAndWritesByRefArgumentsBack)
{
    ScriptEngine engine;
    ASSERT_TRUE(engine.AddCode(QStringLiteral(
        "Function Scale(ByRef a, ByVal b, c)\n"
        "  a = a * 10 : b = b * 10 : c = \"cambiato\"\n"
        "  Scale = a + b\n"
        "End Function\n"
        "Sub NoValue(x)\n  x = Empty\nEnd Sub\n")));
    std::vector<Variant> args{Variant::Int(2), Variant::Int(3), Variant::Str(QStringLiteral("prima"))};
    Variant result;
    ScriptError error;
    ASSERT_TRUE(engine.Run(QStringLiteral("SCALE"), args, &result, &error)) << error.description.toStdString();
    EXPECT_EQ(result.IntValue(), 50);
    EXPECT_EQ(args[0].IntValue(), 20);
    EXPECT_EQ(args[1].IntValue(), 3);
    EXPECT_EQ(args[2].StrValue(), QStringLiteral("cambiato"));

    std::vector<Variant> one{Variant::Int(1)};
    EXPECT_TRUE(engine.Run(QStringLiteral("NoValue"), one, &result));
    EXPECT_TRUE(result.IsEmpty());
    EXPECT_TRUE(one[0].IsEmpty());

    EXPECT_FALSE(engine.Run(QStringLiteral("Scale"), one, &result, &error));
    EXPECT_EQ(error.number, 450);
    EXPECT_FALSE(engine.Run(QStringLiteral("Manca"), one, &result, &error));
    EXPECT_EQ(error.number, 35);
}

TEST(EngineHost, RuntimeErrorsCarryTheLineOfTheFailingStatement)
{
    ScriptEngine engine;
    ASSERT_TRUE(engine.AddCode(QStringLiteral(
        "' riga 1\n"
        "Function Outer(n)\n"
        "  Outer = Inner(n) + 1\n"
        "End Function\n"
        "Function Inner(n)\n"
        "  Inner = 10 \\ n\n"
        "End Function\n"
        "Function Raises()\n"
        "  Err.Raise vbObjectError + 7, \"Stampa\", \"Carta esaurita\"\n"
        "End Function\n")));
    std::vector<Variant> args{Variant::Int(0)};
    ScriptError error;
    EXPECT_FALSE(engine.Run(QStringLiteral("Outer"), args, nullptr, &error));
    EXPECT_EQ(error.number, 11);
    EXPECT_EQ(error.line, 6);
    EXPECT_EQ(error.description, QStringLiteral("Divisione per zero"));

    std::vector<Variant> none;
    try {
        engine.Call(QStringLiteral("Raises"), none);
        FAIL() << "no exception";
    } catch (const vbs::VbError& e) {
        EXPECT_EQ(e.Number(), qint32(0x80040007u));
        EXPECT_EQ(e.Description(), QStringLiteral("Carta esaurita"));
        EXPECT_EQ(e.Source(), QStringLiteral("Stampa"));
        EXPECT_EQ(e.Line(), 9);
    }
}

TEST(EngineHost, CompiledScriptRunsEachCallOnFreshState)
{
    ScriptError error;
    const auto compiled = ScriptEngine::Compile(QStringLiteral(
        "Dim counter\n"
        "counter = 100\n"
        "Function Next1()\n"
        "  counter = counter + 1\n"
        "  Next1 = counter\n"
        "End Function\n"),
        &error);
    ASSERT_TRUE(compiled) << error.description.toStdString();
    for (int i = 0; i < 3; ++i) {
        ScriptEngine engine(compiled);
        std::vector<Variant> none;
        Variant result;
        ASSERT_TRUE(engine.Run(QStringLiteral("Next1"), none, &result));
        EXPECT_EQ(result.IntValue(), 101); // no value survives from one call to the next
    }
    // The same engine keeps its state between calls.
    ScriptEngine engine(compiled);
    std::vector<Variant> none;
    Variant result;
    engine.Run(QStringLiteral("Next1"), none, &result);
    engine.Run(QStringLiteral("Next1"), none, &result);
    EXPECT_EQ(result.IntValue(), 102);

    EXPECT_FALSE(ScriptEngine::Compile(QStringLiteral("Sub X(\nEnd Sub"), &error));
    EXPECT_EQ(error.line, 1);
}

TEST(EngineHost, HostObjectsAndFieldCollections)
{
    auto fields = std::make_shared<vbs::FieldCollection>();
    fields->Set(QStringLiteral("Nome"), Variant::Str(QStringLiteral("Lasagne")));
    fields->Set(QStringLiteral("Importo_Riga"), Variant::CurrencyUnits(125000));
    ScriptEngine engine;
    ASSERT_TRUE(engine.AddCode(QStringLiteral(
        "Function Describe(flds)\n"
        "  Dim f, s\n"
        "  For Each f In flds\n"
        "    s = s & f.Name & \"=\" & f & \";\"\n"
        "  Next\n"
        "  Describe = s & flds(\"nome\").Value & \"|\" & flds.Item(\"NOME\") & \"|\" & flds(0) & \"|\" & flds.Count\n"
        "End Function\n"
        "Function Missing(flds)\n"
        "  Missing = flds(\"Prezzo\")\n"
        "End Function\n"
        "Function NullNote(flds)\n"
        "  NullNote = IsNull(Len(flds(\"Note\"))) And Trim(flds(\"Note\") & \"\") = \"\" And TypeName(flds(\"Note\")) = \"Field\"\n"
        "End Function\n")));
    std::vector<Variant> args{Variant::Object(fields)};
    Variant result;
    ScriptError error;
    ASSERT_TRUE(engine.Run(QStringLiteral("Describe"), args, &result, &error)) << error.description.toStdString();
    EXPECT_EQ(result.StrValue(), QStringLiteral("Nome=Lasagne;Importo_Riga=12,5;Lasagne|Lasagne|Lasagne|2"));

    EXPECT_FALSE(engine.Run(QStringLiteral("Missing"), args, &result, &error));
    EXPECT_EQ(error.number, 3265);
    EXPECT_EQ(error.line, 9);

    // Built-in functions take a field's value, so a Null field stays Null.
    fields->Set(QStringLiteral("Note"), Variant::Null());
    ASSERT_TRUE(engine.Run(QStringLiteral("NullNote"), args, &result, &error)) << error.description.toStdString();
    EXPECT_TRUE(result.BoolValue());
}

TEST(EngineHost, ObjectsPassedByReferenceAreWrittenBackWhenReplaced)
{
    auto first = std::make_shared<vbs::HostObject>(QStringLiteral("Printer"));
    first->AddProperty(QStringLiteral("Id"), [](vbs::Args) { return Variant::Int(1); });
    ScriptEngine engine;
    ASSERT_TRUE(engine.AddCode(QStringLiteral(
        "Class Other\n  Public Id\nEnd Class\n"
        "Function Swap(prn)\n"
        "  Dim old : old = prn.Id\n"
        "  Set prn = New Other\n"
        "  prn.Id = old + 1\n"
        "  Swap = True\n"
        "End Function\n"
        "Function Drop(prn)\n  Set prn = Nothing\n  Drop = IsObject(prn)\nEnd Function\n")));
    std::vector<Variant> args{Variant::Object(first)};
    Variant result;
    ASSERT_TRUE(engine.Run(QStringLiteral("Swap"), args, &result));
    ASSERT_TRUE(args[0].IsObject());
    EXPECT_EQ(args[0].ObjValue()->TypeName(), QStringLiteral("Other"));
    Variant id;
    ASSERT_TRUE(engine.Evaluate(QStringLiteral("2 + 0"), &id));
    ASSERT_TRUE(engine.Run(QStringLiteral("Drop"), args, &result));
    EXPECT_TRUE(args[0].IsNothing());
    EXPECT_TRUE(result.BoolValue());
}

TEST(EngineHost, MsgBoxAndInputBoxGoThroughTheApplication)
{
    ScriptEngine engine;
    ASSERT_TRUE(engine.AddCode(QStringLiteral(
        "Function Ask()\n  Ask = MsgBox(\"Stampare?\", vbYesNo, \"Cassa\") & \"/\" & InputBox(\"Copie\")\nEnd Function")));
    std::vector<Variant> none;
    Variant result;
    ASSERT_TRUE(engine.Run(QStringLiteral("Ask"), none, &result));
    EXPECT_EQ(result.StrValue(), QStringLiteral("1/"));

    QString seen;
    vbs::Dialogs dialogs;
    dialogs.msgBox = [&seen](const QString& prompt, int buttons, const QString& title) {
        seen = QStringLiteral("%1|%2|%3").arg(prompt).arg(buttons).arg(title);
        return 6;
    };
    dialogs.inputBox = [](const QString&, const QString&, const QString&) { return QStringLiteral("2"); };
    engine.SetDialogs(dialogs);
    ASSERT_TRUE(engine.Run(QStringLiteral("Ask"), none, &result));
    EXPECT_EQ(result.StrValue(), QStringLiteral("6/2"));
    EXPECT_EQ(seen, QStringLiteral("Stampare?|4|Cassa"));
}

TEST(EngineHost, NamedObjectsAndFunctionsAreReachableFromScriptLevelCode)
{
    ScriptEngine engine;
    QStringList log;
    engine.AddFunction(QStringLiteral("Log"), [&log](std::span<Variant> args) {
        log << args[0].StrValue();
        return Variant();
    });
    auto counter = std::make_shared<vbs::HostObject>(QStringLiteral("Counter"));
    int value = 0;
    counter->AddProperty(QStringLiteral("Value"), [&value](vbs::Args) { return Variant::Long(value); },
                         [&value](vbs::Args, const Variant& v) { value = int(v.IntValue()); });
    counter->SetDefaultMember(QStringLiteral("Value"));
    engine.AddObject(QStringLiteral("Contatore"), counter);
    ASSERT_TRUE(engine.AddCode(QStringLiteral("Contatore.Value = 41\nContatore.Value = Contatore + 1\nLog \"fatto\"")));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(log, QStringList{QStringLiteral("fatto")});
}

} // namespace
