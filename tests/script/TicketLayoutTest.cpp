// Realistic ticket layouts driven the way ticket emission drives them: the
// text compiled once, each mask and row call on fresh script state, field
// collections and a print object that records what it is asked to draw.
#include "script/Convert.h"
#include "script/FieldCollection.h"
#include "script/HostObject.h"
#include "script/ScriptEngine.h"

#include <gtest/gtest.h>

using vbs::Variant;

namespace {

class FakePrinter : public vbs::HostObject
{
public:
    FakePrinter() : HostObject(QStringLiteral("clsScriptPrinter"))
    {
        AddMethod(QStringLiteral("TxtOut"), [this](vbs::Args a) {
            ExpectArgs(a, 3, 3);
            calls << QStringLiteral("TxtOut %1,%2,%3").arg(Text(*a[0]), Text(*a[1]), Text(*a[2]));
            return Variant();
        });
        AddMethod(QStringLiteral("BoxOut"), [this](vbs::Args a) {
            ExpectArgs(a, 4, 4);
            calls << QStringLiteral("BoxOut %1,%2,%3,%4").arg(Text(*a[0]), Text(*a[1]), Text(*a[2]), Text(*a[3]));
            return Variant();
        });
        AddMethod(QStringLiteral("SetFont"), [this](vbs::Args a) {
            ExpectArgs(a, 4, 4);
            calls << QStringLiteral("SetFont %1,%2,%3,%4").arg(Text(*a[0]), Text(*a[1]), Text(*a[2]), Text(*a[3]));
            return Variant();
        });
    }
    static QString Text(const Variant& v);
    QStringList calls;
};

QString FakePrinter::Text(const Variant& v)
{
    return vbs::Convert::ToString(v);
}

const char* const Layout = R"vbs(Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)
  ' Intestazione
  prn.SetFont 12, True, False, "Arial"
  prn.TxtOut 2, 5, UCase(sName)
  prn.SetFont 9, False, False, ""
  prn.TxtOut 8, 5, fldsTipoDoc("Descrizione") & " n. " & flds("Numero") & " del " & flds("Data")
  If Not IsNull(fldsCliente("Ragione_Sociale")) Then
    prn.TxtOut 12, 5, fldsCliente("Ragione_Sociale").Value
    If fldsCliente("Comune") <> "" Then prn.TxtOut 16, 5, fldsCliente("CAP") & " " & fldsCliente("Comune") & " (" & fldsCliente("Provincia") & ")"
  End If
  prn.BoxOut 20, 4, 50, 72
  If bTotal Then
    prn.SetFont 10, True, False, ""
    prn.TxtOut 75, 5, "TOTALE" & Space(10) & FormatCurrency(flds("Importo_Ricevuta"))
  Else
    prn.TxtOut 75, 5, "segue..."
  End If
  PrintTicketMask = True
End Function

Function PrintTicketRow(flds, prn, nRow)
  Dim sNome, sImporto
  If nRow = 3 And flds("Nome") = "Stop" Then
    PrintTicketRow = False
    Exit Function
  End If
  sNome = Left(flds("Nome") & Space(20), 20)
  sImporto = FormatNumber(flds("Importo_Riga"), 2)
  sImporto = Space(10 - Len(sImporto)) & sImporto
  prn.TxtOut 0, 5, flds("Quantità") & " x " & sNome & sImporto
  PrintTicketRow = True
End Function
)vbs";

std::shared_ptr<vbs::FieldCollection> Fields(std::initializer_list<std::pair<const char*, Variant>> values)
{
    auto fields = std::make_shared<vbs::FieldCollection>();
    for (const auto& [name, value] : values)
        fields->Set(QString::fromUtf8(name), value);
    return fields;
}

class TicketLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        vbs::ScriptError error;
        compiled = vbs::ScriptEngine::Compile(QString::fromUtf8(Layout), &error);
        ASSERT_TRUE(compiled) << error.description.toStdString() << " line " << error.line;
        printer = std::make_shared<FakePrinter>();
    }

    bool Mask(bool total, Variant customerName = Variant::Str(QStringLiteral("Rossi S.r.l.")))
    {
        auto receipt = Fields({{"Numero", Variant::Long(17)},
                               {"Data", Variant::Date(46082.0)},
                               {"Importo_Ricevuta", Variant::CurrencyUnits(325000)},
                               {"Note", Variant::Null()}});
        auto customer = Fields({{"Ragione_Sociale", customerName},
                                {"CAP", Variant::Str(QStringLiteral("20100"))},
                                {"Comune", Variant::Str(QStringLiteral("Milano"))},
                                {"Provincia", Variant::Str(QStringLiteral("MI"))}});
        auto docType = Fields({{"Descrizione", Variant::Str(QStringLiteral("Ricevuta"))}});
        std::vector<Variant> args{Variant::Object(receipt), Variant::Object(customer), Variant::Object(docType),
                                  Variant::Object(printer), Variant::Str(QStringLiteral("Da Mario")),
                                  Variant::Bool(total)};
        vbs::ScriptEngine engine(compiled);
        Variant result;
        vbs::ScriptError error;
        EXPECT_TRUE(engine.Run(QStringLiteral("PrintTicketMask"), args, &result, &error))
            << error.description.toStdString() << " line " << error.line;
        return vbs::Convert::ToBool(result);
    }

    bool Row(int n, const char* name, qint64 amountUnits, int quantity)
    {
        auto row = Fields({{"Nome", Variant::Str(QString::fromUtf8(name))},
                           {"Importo_Riga", Variant::CurrencyUnits(amountUnits)},
                           {"Quantità", Variant::Int(qint16(quantity))}});
        std::vector<Variant> args{Variant::Object(row), Variant::Object(printer), Variant::Long(n)};
        vbs::ScriptEngine engine(compiled);
        Variant result;
        vbs::ScriptError error;
        EXPECT_TRUE(engine.Run(QStringLiteral("PrintTicketRow"), args, &result, &error))
            << error.description.toStdString() << " line " << error.line;
        return vbs::Convert::ToBool(result);
    }

    std::shared_ptr<const vbs::CompiledScript> compiled;
    std::shared_ptr<FakePrinter> printer;
};

TEST_F(TicketLayout, RowsArePaddedAndTheLastMaskPrintsTheTotal)
{
    EXPECT_TRUE(Row(1, "Lasagne", 180000, 2));
    EXPECT_TRUE(Row(2, "Acqua", 15000, 1));
    EXPECT_TRUE(Mask(true));
    const QStringList expected = {
        QStringLiteral("TxtOut 0,5,2 x Lasagne                  18,00"),
        QStringLiteral("TxtOut 0,5,1 x Acqua                     1,50"),
        QStringLiteral("SetFont 12,Vero,Falso,Arial"),
        QStringLiteral("TxtOut 2,5,DA MARIO"),
        QStringLiteral("SetFont 9,Falso,Falso,"),
        QStringLiteral("TxtOut 8,5,Ricevuta n. 17 del 01/03/2026"),
        QStringLiteral("TxtOut 12,5,Rossi S.r.l."),
        QStringLiteral("TxtOut 16,5,20100 Milano (MI)"),
        QStringLiteral("BoxOut 20,4,50,72"),
        QStringLiteral("SetFont 10,Vero,Falso,"),
        QStringLiteral("TxtOut 75,5,TOTALE          € 32,50"),
    };
    EXPECT_EQ(printer->calls, expected);
}

TEST_F(TicketLayout, AContinuedTicketPrintsNoTotalAndSkipsAMissingCustomer)
{
    EXPECT_TRUE(Mask(false, Variant::Null()));
    EXPECT_TRUE(printer->calls.contains(QStringLiteral("TxtOut 75,5,segue...")));
    for (const QString& call : printer->calls) {
        EXPECT_FALSE(call.contains(QStringLiteral("TOTALE")));
        EXPECT_FALSE(call.contains(QStringLiteral("Milano")));
    }
}

TEST_F(TicketLayout, ALayoutReturningFalseOnRowThreeStopsThere)
{
    EXPECT_TRUE(Row(1, "Pane", 10000, 1));
    EXPECT_TRUE(Row(2, "Vino", 90000, 1));
    EXPECT_FALSE(Row(3, "Stop", 0, 1));
    EXPECT_EQ(printer->calls.size(), 2);
}

TEST_F(TicketLayout, TheDefaultScriptsRunAndReturnTrue)
{
    const QString defaults = QStringLiteral(
        "Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)\r\n"
        "  ' Riportare False per annullare la stampa\r\n"
        "  PrintTicketMask = True\r\n\r\nEnd Function\r\n\r\n"
        "Function PrintTicketRow(flds, prn, nRow)\r\n"
        "  PrintTicketRow = True\r\n\r\nEnd Function\r\n\r\n");
    vbs::ScriptEngine engine;
    ASSERT_TRUE(engine.AddCode(defaults));
    std::vector<Variant> args{Variant::Object(Fields({})), Variant::Object(printer), Variant::Long(1)};
    Variant result;
    ASSERT_TRUE(engine.Run(QStringLiteral("PrintTicketRow"), args, &result));
    EXPECT_TRUE(result.BoolValue());
}

} // namespace
