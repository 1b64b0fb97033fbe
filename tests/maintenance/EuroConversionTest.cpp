// The euro conversion: exact division, every currency column (the rows'
// price too), the rules' amounts still holding afterwards, the questions and
// messages, and all-or-nothing under stop and failure.

#include "MaintenanceArchive.h"

#include "app/AppSettings.h"
#include "app/SettingsStore.h"
#include "app/frmMessage.h"
#include "maintenance/EuroConversion.h"
#include "maintenance/modEuroConversion.h"
#include "support/ScriptedDialogs.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kLastQuestion = QStringLiteral("Confermi?");
const QString kAlreadyDone = QStringLiteral("CONVERSIONE GIA' EFFETTUATA!!!\r\rConfermi?");

Currency Lire(qint64 lire) { return Currency::FromUnits(lire * Currency::Scale); }

TEST(EuroArithmetic, DividesExactlyAndRoundsOnceHalvesAwayFromZero)
{
    EXPECT_EQ(EuroConversion::ToEuro(Money("19362.70")), Money("10")) << "no trace of binary fractions";
    EXPECT_EQ(EuroConversion::ToEuro(Money("-19362.70")), Money("-10"));
    EXPECT_EQ(EuroConversion::ToEuro(Lire(1000)), Money("0.5165"));   // 0.516457...
    EXPECT_EQ(EuroConversion::ToEuro(Lire(1)), Money("0.0005"));      // 0.000516...
    EXPECT_EQ(EuroConversion::ToEuro(Lire(3)), Money("0.0015"));      // 0.001549...
    EXPECT_EQ(EuroConversion::ToEuro(Lire(999999999)), Money("516456.8986"));
    EXPECT_EQ(EuroConversion::ToEuro(Currency()), Currency());

    // A quotient of exactly 0.00005 goes to 0.0001, away from zero, either sign.
    const Currency two = Money("2");
    EXPECT_EQ(Money("0.0001").DivExact(two, Currency::Halves::AwayFromZero), Money("0.0001"));
    EXPECT_EQ(Money("-0.0001").DivExact(two, Currency::Halves::AwayFromZero), Money("-0.0001"));
    EXPECT_EQ(Money("0.0003").DivExact(two, Currency::Halves::AwayFromZero), Money("0.0002"));
    EXPECT_EQ(Money("0.0001").DivExact(two), Currency()) << "the engine's default stays halves to even";

    // With 1936.27 no quotient falls halfway: 193627 is odd.
    for (qint64 units = 1; units < 4000000; units += 997) {
        const __int128 twice = __int128(units) * 2 * Currency::Scale;
        EXPECT_NE(twice % EuroConversion::Rate().Units(), 0) << units;
        if (twice % EuroConversion::Rate().Units() == 0)
            break;
    }
}

class EuroConversionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        lasagne = archive.AddMenuItem(QStringLiteral("Lasagne"), QStringLiteral("19362,70"), QStringLiteral("PRIMI"));
        wine = archive.AddMenuItem(QStringLiteral("Vino"), 1000, QStringLiteral("VARIE"));
        bread = archive.AddMenuItem(QStringLiteral("Pane"), 1500, QStringLiteral("VARIE"));
        const QDateTime when(QDate(2001, 6, 1), QTime(13, 0));
        // Three wines of 1000 lire: 0.5165 euro each, 1.55 for the row (the
        // rule rounds a row to cents), where 3000 / 1936.27 would be 1.5494.
        first = archive.AddReceipt(QStringLiteral("Ricevuta fiscale"), when, QStringLiteral("Cliente generico"),
                                   {{lasagne, 1}, {wine, 3}, {bread, 2.5}});
        second = archive.AddReceipt(QStringLiteral("Fattura"), when.addSecs(60), QStringLiteral("Cliente generico"),
                                    {{wine, 1}});
    }

    void TearDown() override { DestroyMessageWindow(); }

    Currency Amount(const QString& sql) { return Currency::FromUnits(archive.Value(sql).toLongLong()); }

    // Every amount of the archive, to see that nothing changed.
    QStringList Amounts()
    {
        return archive.Texts(QStringLiteral("SELECT 'M', OID, Prezzo FROM Menu UNION ALL SELECT 'R', OID, Prezzo || ' ' || "
                                            "Importo_Riga FROM RigheRicevute UNION ALL SELECT 'T', OID, Importo_Ricevuta FROM "
                                            "Ricevute UNION ALL SELECT 'P', OID, Importo FROM PagamentiCliente"));
    }

    // Rows edited by hand (those of `handEdited`) need not be price times quantity.
    void ExpectRulesHold(const QVariant& handEdited = {})
    {
        auto rows = archive.Table(QStringLiteral("RigheRicevute"));
        for (bool more = rows->MoveFirst(); more; more = rows->MoveNext()) {
            if (rows->GetValue(QStringLiteral("OID_Ricevute_Righe")) == handEdited)
                continue;
            const Currency price = rows->GetValue(QStringLiteral("Prezzo")).value<Currency>();
            const double quantity = rows->GetValue(QStringLiteral("Quantità")).toDouble();
            EXPECT_EQ(rows->GetValue(QStringLiteral("Importo_Riga")).value<Currency>(),
                      archive.database->AdjustAmount(price.Mul(quantity), 0, 1.0))
                << "row " << rows->ValueAt(0).toLongLong();
        }
        EXPECT_EQ(archive.Texts(QStringLiteral("SELECT r.OID FROM Ricevute r WHERE r.Importo_Ricevuta <> (SELECT sum(w.Importo_Riga) "
                                               "FROM RigheRicevute w WHERE w.OID_Ricevute_Righe = r.OID) OR r.Importo_Ricevuta "
                                               "<> (SELECT p.Importo FROM PagamentiCliente p WHERE p.OID_Ricevute_Pagamento = r.OID)")),
                  QStringList()) << "every total is the sum of its rows and was paid exactly";
    }

    QTemporaryDir dir;
    ScopedSettingsFile store{dir.filePath(QStringLiteral("Mensora.ini"))};
    ScriptedDialogs dialogs;
    ScopedDialogService useDialogs{dialogs};
    MaintenanceArchive archive;
    QVariant lasagne, wine, bread, first, second;
};

TEST_F(EuroConversionTest, EveryCurrencyColumnOneStatementPerTable)
{
    EuroConversion conversion(*archive.database);
    QStringList planned;
    for (const EuroConversion::TableWork& work : conversion.Work())
        planned.append(work.table + u':' + work.columns.join(u','));
    EXPECT_EQ(planned, (QStringList{QStringLiteral("PagamentiCliente:Importo"), QStringLiteral("Menu:Prezzo"),
                                    QStringLiteral("RigheRicevute:Prezzo,Importo_Riga"),
                                    QStringLiteral("Ricevute:Importo_Ricevuta")}))
        << "tables without an amount get no statement; the rows' price is converted with the rows";
    for (const EuroConversion::TableWork& work : conversion.Work())
        EXPECT_TRUE(work.statement.startsWith(QStringLiteral("UPDATE \"") + work.table + QStringLiteral("\" SET ")));
}

TEST_F(EuroConversionTest, ConvertsEveryAmountAndTheRulesStillHold)
{
    SetCurrencyConverted(false);
    // A row whose amount was changed by hand keeps its own converted value.
    archive.Exec(QStringLiteral("UPDATE RigheRicevute SET Importo_Riga = 12000000 WHERE OID_Ricevute_Righe = %1 AND Nome = 'Vino'")
                     .arg(second.toLongLong()));
    archive.Exec(QStringLiteral("UPDATE Ricevute SET Importo_Ricevuta = 12000000 WHERE OID = %1").arg(second.toLongLong()));
    archive.Exec(QStringLiteral("UPDATE PagamentiCliente SET Importo = 12000000 WHERE OID_Ricevute_Pagamento = %1").arg(second.toLongLong()));

    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    EXPECT_TRUE(ConvertToEuro(*archive.database, nullptr));

    ASSERT_EQ(dialogs.Calls().size(), 2u);
    EXPECT_EQ(dialogs.Calls()[0].text, kLastQuestion);
    EXPECT_EQ(dialogs.Calls()[0].title, QStringLiteral("Conversione Valuta"));
    EXPECT_EQ(dialogs.Calls()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.Calls()[0].defaultButton, MsgDefault::Button2);
    EXPECT_EQ(dialogs.Calls()[1].text, QStringLiteral("Conversione terminata."));
    EXPECT_EQ(dialogs.Calls()[1].buttons, MsgButtons::Ok);
    EXPECT_TRUE(CurrencyConverted());
    EXPECT_FALSE(archive.engine->InTransaction());

    EXPECT_EQ(Amount(QStringLiteral("SELECT Prezzo FROM Menu WHERE Nome = 'Lasagne'")), Money("10"));
    EXPECT_EQ(Amount(QStringLiteral("SELECT Prezzo FROM Menu WHERE Nome = 'Coperto'")), Money("0.0005"));
    EXPECT_EQ(Amount(QStringLiteral("SELECT Prezzo FROM RigheRicevute WHERE Nome = 'Vino' AND OID_Ricevute_Righe = %1").arg(first.toLongLong())),
              Money("0.5165")) << "the price the rows carry from the menu";
    EXPECT_EQ(Amount(QStringLiteral("SELECT Importo_Riga FROM RigheRicevute WHERE Nome = 'Vino' AND OID_Ricevute_Righe = %1").arg(first.toLongLong())),
              Money("1.55"));
    EXPECT_EQ(Amount(QStringLiteral("SELECT Importo_Riga FROM RigheRicevute WHERE Nome = 'Pane'")), Money("1.94"))
        << "0.7747 times 2.5";
    EXPECT_EQ(Amount(QStringLiteral("SELECT Importo_Ricevuta FROM Ricevute WHERE OID = %1").arg(first.toLongLong())),
              Money("13.49"));
    // The amounts edited by hand are divided as they are.
    EXPECT_EQ(Amount(QStringLiteral("SELECT Importo_Riga FROM RigheRicevute WHERE OID_Ricevute_Righe = %1").arg(second.toLongLong())),
              Money("0.6197"));
    EXPECT_EQ(Amount(QStringLiteral("SELECT Importo FROM PagamentiCliente WHERE OID_Ricevute_Pagamento = %1").arg(second.toLongLong())),
              Money("0.6197"));

    ExpectRulesHold(second);

    // A later change of quantity multiplies a price in euro.
    auto rows = archive.Table(QStringLiteral("RigheRicevute"), QStringLiteral("Nome = 'Vino' AND OID_Ricevute_Righe = %1").arg(first.toLongLong()));
    rows->SetValue(QStringLiteral("Quantità"), 4);
    rows->SaveRecord();
    EXPECT_EQ(rows->GetValue(QStringLiteral("Importo_Riga")).value<Currency>(), Money("2.07"));
}

TEST_F(EuroConversionTest, ANewInstallationWarnsAndNoChangesNothing)
{
    const QStringList before = Amounts();
    dialogs.AnswerMessage(MsgResult::No);
    EXPECT_FALSE(ConvertToEuro(*archive.database, nullptr));
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].text, kAlreadyDone) << "no key stored reads as converted";
    EXPECT_EQ(dialogs.Calls()[0].defaultButton, MsgDefault::Button2);
    EXPECT_EQ(Amounts(), before);

    // A second conversion, after the warning, divides again.
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    EXPECT_TRUE(ConvertToEuro(*archive.database, nullptr));
    EXPECT_EQ(Amount(QStringLiteral("SELECT Prezzo FROM Menu WHERE Nome = 'Lasagne'")), Money("10"));
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    EXPECT_TRUE(ConvertToEuro(*archive.database, nullptr));
    EXPECT_EQ(dialogs.Calls()[3].text, kAlreadyDone);
    EXPECT_EQ(Amount(QStringLiteral("SELECT Prezzo FROM Menu WHERE Nome = 'Lasagne'")), Money("0.0052"));
}

TEST_F(EuroConversionTest, StopHalfWayLeavesEveryAmountAsItWas)
{
    SetCurrencyConverted(false);
    // Enough rows for the work to run in several ranges.
    archive.Exec(QStringLiteral("WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 12000) "
                                "INSERT INTO RigheRicevute(Nome, Prezzo, \"Quantità\", Importo_Riga) SELECT 'Caffè', "
                                "15000000, 1, 15000000 FROM n"));
    const QStringList before = Amounts();
    // The user presses Stop once the bar has moved, and confirms.
    QProgressBar* bar = MessageWindow().findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    bool pressed = false;
    QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int value) {
        if (value > bar->maximum() / 2 && !pressed) {
            pressed = true;
            QTimer::singleShot(0, [] { MessageWindow().findChild<QPushButton*>(QStringLiteral("cmdStop"))->click(); });
        }
    });
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Yes);
    EXPECT_FALSE(ConvertToEuro(*archive.database, nullptr));
    EXPECT_TRUE(pressed);
    ASSERT_EQ(dialogs.Calls().size(), 2u) << "no end message";
    EXPECT_EQ(dialogs.Calls()[1].text, QStringLiteral("Confermi l'interruzione ?"));
    EXPECT_EQ(Amounts(), before);
    EXPECT_FALSE(CurrencyConverted());
    EXPECT_FALSE(archive.engine->InTransaction());
    EXPECT_FALSE(MessageWindow().isVisible());
}

TEST_F(EuroConversionTest, AFailureInTheMiddleIsRolledBackThenReported)
{
    SetCurrencyConverted(false);
    // The receipts come last: everything before them is converted already.
    archive.Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Ricevute BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"));
    const QStringList before = Amounts();
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::No);
    EXPECT_FALSE(ConvertToEuro(*archive.database, nullptr));
    ASSERT_EQ(dialogs.Calls().size(), 2u);
    EXPECT_TRUE(dialogs.Calls()[1].text.startsWith(QStringLiteral("Conversione interrotta: Errore dell'archivio: disco pieno")))
        << dialogs.Calls()[1].text.toStdString();
    EXPECT_EQ(dialogs.Calls()[1].icon, MsgIcon::Critical);
    EXPECT_EQ(Amounts(), before);
    EXPECT_FALSE(CurrencyConverted());
    EXPECT_FALSE(archive.engine->InTransaction());

    // The archive is usable at once.
    archive.Exec(QStringLiteral("DROP TRIGGER refuse"));
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    EXPECT_TRUE(ConvertToEuro(*archive.database, nullptr));
    ExpectRulesHold();
}

} // namespace
