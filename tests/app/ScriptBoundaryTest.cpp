// Errors crossing between the application and the script engine keep their
// number, Italian description and source both ways.
#include "app/ScriptBoundary.h"
#include "script/HostObject.h"

#include <gtest/gtest.h>

using vbs::Variant;

namespace {

TEST(ScriptBoundary, AScriptFailureReachesTheApplicationAsException)
{
    vbs::ScriptEngine engine;
    ASSERT_TRUE(engine.AddCode(QStringLiteral("Function Half(n)\n  Half = n / 2\nEnd Function\n"
                                              "Function Raises()\n  Err.Raise vbObjectError + 7, \"Stampa\", \"Carta esaurita\"\n"
                                              "End Function\n")));
    std::vector<Variant> args{Variant::Int(9)};
    EXPECT_EQ(CallScript(engine, QStringLiteral("Half"), args).DblValue(), 4.5);

    std::vector<Variant> none;
    try {
        CallScript(engine, QStringLiteral("Raises"), none);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), qint32(0x80040007u));
        EXPECT_EQ(e.Description(), QStringLiteral("Carta esaurita"));
        EXPECT_EQ(e.Source(), QStringLiteral("Stampa"));
    }
    try {
        CallScript(engine, QStringLiteral("Manca"), none);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), 35);
        EXPECT_EQ(e.Description(), QStringLiteral("Sub o Function non definita: 'Manca'"));
    }
}

// The application's code that a script calls may fail with its own
// Exception: the script sees it in Err, or stops with it.
TEST(ScriptBoundary, AnApplicationExceptionReachesTheScriptAsItsError)
{
    vbs::ScriptEngine engine;
    engine.AddFunction(QStringLiteral("Archivio"), ForScript([](std::span<Variant>) -> Variant {
                           throw Exception(3044, QStringLiteral("Percorso non valido"), QStringLiteral("Archivio"));
                       }));
    auto printer = std::make_shared<vbs::HostObject>(QStringLiteral("Stampante"));
    printer->AddMethod(QStringLiteral("Stampa"), ForScript([](vbs::Args) -> Variant {
                           throw Exception(482, QStringLiteral("Errore della stampante"));
                       }));
    printer->AddProperty(
        QStringLiteral("Carta"), ForScript([](vbs::Args) { return Variant::Long(1); }),
        ForScript([](vbs::Args, const Variant&) { throw Exception(380, QStringLiteral("Valore non valido")); }));
    engine.AddObject(QStringLiteral("Stampante"), printer);
    ASSERT_TRUE(engine.AddCode(QStringLiteral(
        "Function Prova()\n"
        "  On Error Resume Next\n"
        "  x = Archivio()\n"
        "  r = Err.Number & \" \" & Err.Description & \" \" & Err.Source\n"
        "  Err.Clear\n"
        "  Stampante.Stampa\n"
        "  r = r & \"|\" & Err.Number & \" \" & Err.Description\n"
        "  Err.Clear\n"
        "  Stampante.Carta = 2\n"
        "  Prova = r & \"|\" & Err.Number & \" \" & Stampante.Carta\n"
        "End Function\n"
        "Sub Ferma()\n"
        "  Stampante.Stampa\n"
        "End Sub\n")));
    std::vector<Variant> none;
    EXPECT_EQ(CallScript(engine, QStringLiteral("Prova"), none).StrValue(),
              QStringLiteral("3044 Percorso non valido Archivio|482 Errore della stampante|380 1"));

    vbs::ScriptError error;
    EXPECT_FALSE(engine.Run(QStringLiteral("Ferma"), none, nullptr, &error));
    EXPECT_EQ(error.number, 482);
    EXPECT_EQ(error.description, QStringLiteral("Errore della stampante"));
    EXPECT_EQ(error.line, 13);
}

} // namespace
