// The open sale without a window: how a sale starts, rows, covers, quantity
// steps and the typed quantity, header changes and the totals shown.

#include "SaleFixture.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/TableDef.h"
#include "sales/SaleRules.h"

#include <QSignalSpy>

namespace {

TEST_F(SaleTest, ASaleStartsWithTheFirstCustomerTheDefaultTypeAndTheSaleDateInsideItsOwnTransaction)
{
    SetSaleDate(QDate(2026, 3, 14));
    auto sale = NewSale();
    QSignalSpy header(sale.get(), &OpenSale::HeaderChanged);
    ASSERT_TRUE(sale->Add_Vendita());
    EXPECT_TRUE(dialogs.Calls().empty()) << "a stored default type and a customer need no question";
    EXPECT_EQ(header.count(), 1);

    const auto& receipt = sale->ReceiptData();
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Cliente")).toString(), QStringLiteral("Cliente generico"));
    EXPECT_EQ(receipt->GetValue(QStringLiteral("TipoDocumento")).toString(), QStringLiteral("Ricevuta fiscale"));
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Data")).toDate(), QDate(2026, 3, 14));
    EXPECT_EQ(receipt->GetValue(QStringLiteral("AnnoFiscale")).toLongLong(), 2026);
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
    EXPECT_EQ(sale->CoverCount(), 0);
    EXPECT_EQ(sale->PerCoverText(), QStringLiteral("0"));
    EXPECT_FALSE(sale->HasRows());
    EXPECT_EQ(archive.engine->TransactionDepth(), 1) << "one outermost transaction per sale";
    EXPECT_EQ(Committed(QStringLiteral("SELECT count(*) FROM Ricevute")).toLongLong(), 0)
        << "nothing of an open sale is visible outside it";

    // Abandoned: nothing of it stays and the archive is free.
    sale->Close_Vendita();
    EXPECT_FALSE(archive.engine->InTransaction());
    EXPECT_EQ(archive.Table(QStringLiteral("Ricevute"))->RecordCount(), 0);
}

TEST_F(SaleTest, ADefaultTypeThatNoLongerExistsAsksForTheTypeAndClosingTheListLeavesNothingOpen)
{
    SetDefault(QStringLiteral("TipoDocDefault"), 9999);
    OpenSale sale(archive.database, archive.engine);
    ASSERT_EQ(sale.Load(), OpenSale::LoadResult::Ready);

    dialogs.AnswerSelection(std::nullopt);
    EXPECT_FALSE(sale.Add_Vendita());
    ASSERT_EQ(dialogs.Count(DialogKind::SelectionList), 1);
    EXPECT_EQ(dialogs.LastCall().table, QStringLiteral("TipiDocumento"));
    EXPECT_FALSE(sale.IsOpen());
    EXPECT_FALSE(archive.engine->InTransaction()) << "a sale that never started leaves no transaction behind";
    EXPECT_EQ(archive.Table(QStringLiteral("Ricevute"))->RecordCount(), 0);

    // Chosen this time; the next sale starts again as the first one did.
    dialogs.AnswerSelection(Key(QStringLiteral("TipiDocumento"), "Preconto"));
    ASSERT_TRUE(sale.Add_Vendita());
    EXPECT_EQ(sale.ReceiptData()->GetValue(QStringLiteral("TipoDocumento")).toString(), QStringLiteral("Preconto"));
}

TEST_F(SaleTest, AnArchiveWithoutCustomersAsksForOneAndLoadRefusesWithoutTypes)
{
    archive.Table(QStringLiteral("Clienti"))->DeleteRecord();
    auto sale = NewSale();
    dialogs.AnswerSelection(std::nullopt);
    EXPECT_FALSE(sale->Add_Vendita());
    EXPECT_EQ(dialogs.LastCall().table, QStringLiteral("Clienti"));
    EXPECT_FALSE(archive.engine->InTransaction());

    // No payment types: the till refuses to open, with the critical icon.
    auto payments = archive.Table(QStringLiteral("TipiPagamento"));
    while (!payments->IsEmptySet()) {
        payments->MoveFirst();
        payments->DeleteRecord();
    }
    OpenSale refused(archive.database, archive.engine);
    dialogs.AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Ok);
    EXPECT_EQ(refused.Load(), OpenSale::LoadResult::NoPaymentTypes);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("E' necessario impostare almeno un tipo di pagamento valido"));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Critical);

    auto types = archive.Table(QStringLiteral("TipiDocumento"));
    while (!types->IsEmptySet()) {
        types->MoveFirst();
        types->DeleteRecord();
    }
    EXPECT_EQ(refused.Load(), OpenSale::LoadResult::NoDocumentTypes);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("E' necessario impostare almeno un tipo documento valido"));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Critical);
}

TEST_F(SaleTest, ChoosingAMenuItemAddsARowAndChoosingItAgainRaisesItsQuantity)
{
    auto sale = StartedSale();
    QSignalSpy totals(sale.get(), &OpenSale::TotalsChanged);
    const qint64 primi = Key(QStringLiteral("Portate"), "PRIMI");

    dialogs.AnswerSelection(item["Carbonara"]);
    ASSERT_TRUE(sale->ChooseMenuItem(primi));
    const DialogCall list = dialogs.LastCall();
    EXPECT_EQ(list.table, QStringLiteral("Menu"));
    EXPECT_EQ(list.field, QStringLiteral("Nome")) << "typing searches the names";
    EXPECT_EQ(Total(*sale), Money("11"));
    EXPECT_GE(totals.count(), 1) << "the total reaches the window through the receipt's change";

    dialogs.AnswerSelection(item["Carbonara"]);
    ASSERT_TRUE(sale->ChooseMenuItem(primi));
    EXPECT_EQ(sale->RowsData()->RecordCount(), 1) << "one row per menu item";
    EXPECT_EQ(QuantityOf(*sale, "Carbonara"), 2);
    EXPECT_EQ(Total(*sale), Money("22"));
    EXPECT_EQ(sale->TotalText(), QStringLiteral("22,00"));

    dialogs.AnswerSelection(item["Lasagne"]);
    ASSERT_TRUE(sale->ChooseMenuItem(primi));
    EXPECT_EQ(sale->RowsData()->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Lasagne"))
        << "the rows are positioned on the row just added";
    EXPECT_EQ(Total(*sale), Money("34"));

    // Closing the list changes nothing; no course under the cursor only beeps.
    dialogs.AnswerSelection(std::nullopt);
    EXPECT_FALSE(sale->ChooseMenuItem(primi));
    EXPECT_FALSE(sale->ChooseMenuItem(QVariant()));
    EXPECT_EQ(dialogs.Beeps(), 1);
    EXPECT_EQ(Total(*sale), Money("34"));
}

TEST_F(SaleTest, CoversKeepOneCoverRowWhoseQuantityIsTheNumberOfCovers)
{
    auto sale = StartedSale();
    sale->AddMenuItem(item["Tagliata"]);
    EXPECT_TRUE(sale->SetCovers(QStringLiteral("  3")));
    EXPECT_EQ(QuantityOf(*sale, "Coperto"), 3);
    EXPECT_TRUE(sale->SetCovers(QStringLiteral("5")));
    EXPECT_EQ(QuantityOf(*sale, "Coperto"), 5);
    EXPECT_EQ(sale->RowsData()->RecordCount(), 2);
    EXPECT_EQ(Total(*sale), Money("24"));
    EXPECT_EQ(sale->PerCoverText(), QStringLiteral("4,80"));

    // 0 covers leaves the cover row; a text that is no number goes back to
    // "  0" and keeps the covers there were.
    EXPECT_TRUE(sale->SetCovers(QStringLiteral("0")));
    EXPECT_EQ(QuantityOf(*sale, "Coperto"), 5);
    EXPECT_EQ(sale->PerCoverText(), QStringLiteral("0"));
    EXPECT_TRUE(sale->SetCovers(QStringLiteral("4")));
    EXPECT_FALSE(sale->SetCovers(QString()));
    EXPECT_EQ(sale->CoverCount(), 4);
    EXPECT_EQ(QuantityOf(*sale, "Coperto"), 4);
    EXPECT_EQ(Total(*sale), Money("23"));
    EXPECT_EQ(sale->PerCoverText(), QStringLiteral("5,75"));
}

TEST_F(SaleTest, WithoutACoverItemTheCoversAreRefusedWithAMessage)
{
    auto cover = archive.Table(QStringLiteral("Menu"), QStringLiteral("Nome = 'Coperto'"));
    cover->SetValue(QStringLiteral("Nome"), QStringLiteral("Servizio"));
    cover->SaveRecord();
    auto sale = StartedSale();
    EXPECT_TRUE(sale->CoverItemKey().isNull());
    dialogs.AnswerMessage(MsgResult::Ok);
    sale->SetCovers(QStringLiteral("2"));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Nel Menù deve essere presente la voce Coperto con il relativo importo"));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Information);
    EXPECT_FALSE(sale->HasRows());
}

TEST_F(SaleTest, StepKeysNeverCrossZeroFromAboveAndLeaveFreeRowsAlone)
{
    auto sale = StartedSale();
    sale->AddMenuItem(item["Acqua"]);
    const std::optional<qint64> first = 0;

    EXPECT_EQ(sale->StepUp(first), OpenSale::StepResult::Done);
    EXPECT_EQ(QuantityOf(*sale, "Acqua"), 2);
    EXPECT_EQ(Total(*sale), Money("4"));
    EXPECT_EQ(sale->StepDown(first), OpenSale::StepResult::Done);
    EXPECT_EQ(sale->StepDown(first), OpenSale::StepResult::Done);
    EXPECT_EQ(QuantityOf(*sale, "Acqua"), 1) << "\"-\" on 1 stores nothing";
    EXPECT_EQ(dialogs.Beeps(), 1);

    // A return typed as -1: "+" jumps to 1, with a beep.
    sale->SetQuantity(first, -1);
    EXPECT_EQ(Total(*sale), Money("-2"));
    EXPECT_EQ(sale->StepUp(first), OpenSale::StepResult::Done);
    EXPECT_EQ(QuantityOf(*sale, "Acqua"), 1);
    EXPECT_EQ(dialogs.Beeps(), 2);

    // A typed 1,5: "-" gives 0,5, and a further "-" only beeps; it never
    // turns the row into a return.
    sale->SetQuantity(first, 1.5);
    EXPECT_EQ(sale->StepDown(first), OpenSale::StepResult::Done);
    EXPECT_EQ(QuantityOf(*sale, "Acqua"), 0.5);
    EXPECT_EQ(sale->StepDown(first), OpenSale::StepResult::Done);
    EXPECT_EQ(QuantityOf(*sale, "Acqua"), 0.5);
    EXPECT_EQ(Total(*sale), Money("1"));
    EXPECT_EQ(dialogs.Beeps(), 3);
    sale->SetQuantity(first, 1);

    // A free row is left to the control (the character goes on); no row under
    // the cursor swallows the key.
    sale->AddMenuItem(item["Pane"]);
    EXPECT_EQ(sale->StepUp(1), OpenSale::StepResult::NotApplicable);
    EXPECT_EQ(sale->StepDown(1), OpenSale::StepResult::NotApplicable);
    EXPECT_EQ(QuantityOf(*sale, "Pane"), 1);
    EXPECT_EQ(sale->StepUp(std::nullopt), OpenSale::StepResult::NoRow);
    EXPECT_EQ(sale->StepDown(std::nullopt), OpenSale::StepResult::NoRow);
    EXPECT_EQ(dialogs.Beeps(), 3);
    EXPECT_EQ(Total(*sale), Money("2"));
}

TEST_F(SaleTest, TheTypedQuantityIsReadWithTheLocaleSoOneCommaFiveIsOneAndAHalf)
{
    auto sale = StartedSale();
    sale->AddMenuItem(item["Tagliata"]);

    dialogs.AnswerInput(QStringLiteral("1,5"));
    ASSERT_TRUE(sale->EditQuantity(0));
    const DialogCall box = dialogs.LastCall();
    EXPECT_EQ(box.title, QStringLiteral("Vendita"));
    EXPECT_EQ(box.text, QStringLiteral("IMPOSTARE LA QUANTITA' PER L'ARTICOLO:\r\r< Tagliata >"));
    EXPECT_EQ(box.defaultText, QStringLiteral("1"));
    EXPECT_EQ(QuantityOf(*sale, "Tagliata"), 1.5);
    EXPECT_EQ(Total(*sale), Money("28.50"));

    // The proposal is the quantity as the cashier reads it.
    dialogs.AnswerInput(QStringLiteral("  2.5 "));
    ASSERT_TRUE(sale->EditQuantity(0));
    EXPECT_EQ(dialogs.LastCall().defaultText, QStringLiteral("1,5"));
    EXPECT_EQ(QuantityOf(*sale, "Tagliata"), 2.5);

    // Not a number: refused with its message; empty or cancelled: nothing.
    dialogs.AnswerInput(QStringLiteral("abc")).AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(sale->EditQuantity(0));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Il valore impostato non è valido"));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    dialogs.AnswerInput(QString()).AnswerInput(std::nullopt);
    EXPECT_FALSE(sale->EditQuantity(0));
    EXPECT_FALSE(sale->EditQuantity(0));
    EXPECT_EQ(QuantityOf(*sale, "Tagliata"), 2.5);

    // Without a row under the cursor: a beep and no question.
    const auto asked = dialogs.Calls().size();
    EXPECT_FALSE(sale->EditQuantity(std::nullopt));
    EXPECT_EQ(dialogs.Calls().size(), asked + 1);
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::Beep);
}

TEST_F(SaleTest, QuantityFromCoversDeleteAndEditWorkOnTheRowUnderTheCursor)
{
    auto sale = StartedSale();
    sale->AddMenuItem(item["Bruschette"]);
    sale->AddMenuItem(item["Acqua"]);
    sale->SetCovers(QStringLiteral("4"));
    // Rows: Bruschette, Acqua, Coperto.
    sale->QuantityFromCovers(1);
    EXPECT_EQ(QuantityOf(*sale, "Acqua"), 4);
    EXPECT_EQ(Total(*sale), Money("17.50"));

    // Deleting takes the row out of the archive too, not only off the receipt.
    const qint64 water = sale->RowsData()->ValueAt(0).toLongLong();
    sale->DeleteRow(1);
    EXPECT_EQ(archive.Table(QStringLiteral("RigheRicevute"), QStringLiteral("OID = %1").arg(water))->RecordCount(), 0);
    EXPECT_EQ(Total(*sale), Money("9.50"));
    EXPECT_EQ(sale->RowsData()->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Coperto"))
        << "after a deletion the rows show their last row";

    // The record editor shows the row with the menu item's own values locked.
    dialogs.AnswerRecordEditor([](DataObject& row) {
        row.SetValue(QStringLiteral("Quantità"), 3);
        return true;
    });
    sale->EditRow(0);
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::RecordEditor);
    EXPECT_EQ(dialogs.LastCall().baseTableOption, 255);
    EXPECT_EQ(QuantityOf(*sale, "Bruschette"), 3);
    EXPECT_EQ(Total(*sale), Money("20.50"));

    // No row under the cursor: each action only beeps.
    sale->DeleteRow(std::nullopt);
    sale->EditRow(std::nullopt);
    sale->QuantityFromCovers(std::nullopt);
    EXPECT_EQ(dialogs.Beeps(), 3);
    EXPECT_EQ(sale->RowsData()->RecordCount(), 2);
}

TEST_F(SaleTest, ADocumentTypeIsTakenByItsKeyEvenWithAQuoteInItsName)
{
    auto types = archive.Table(QStringLiteral("TipiDocumento"));
    types->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Ricevuta d'acconto")});
    const qint64 deposit = types->ValueAt(0).toLongLong();
    auto first = StartedSale();
    first->AddMenuItem(item["Acqua"]);
    QSignalSpy header(first.get(), &OpenSale::HeaderChanged);

    first->SetDocumentType(deposit);
    EXPECT_EQ(header.count(), 1);
    EXPECT_EQ(first->ReceiptData()->GetValue(QStringLiteral("TipoDocumento")).toString(), QStringLiteral("Ricevuta d'acconto"));
    EXPECT_EQ(first->ReceiptData()->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
    // The same type again changes nothing.
    first->SetDocumentType(deposit);
    EXPECT_EQ(header.count(), 1);
}

TEST_F(SaleTest, CustomerAndDateComeFromTheEngineWindows)
{
    auto customers = archive.Table(QStringLiteral("Clienti"));
    customers->AddRecord({QStringLiteral("Ragione_Sociale"), QStringLiteral("Trattoria da Mario")});
    const qint64 mario = customers->ValueAt(0).toLongLong();
    auto sale = StartedSale();

    dialogs.AnswerSelection(mario);
    sale->ChooseCustomer();
    EXPECT_EQ(dialogs.LastCall().table, QStringLiteral("Clienti"));
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("Cliente")).toString(), QStringLiteral("Trattoria da Mario"));
    dialogs.AnswerSelection(std::nullopt);
    sale->ChooseCustomer();
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("Cliente")).toString(), QStringLiteral("Trattoria da Mario"));

    // A date in another year renumbers the receipt within that year.
    dialogs.AnswerValueEditor(QDateTime(QDate(2025, 12, 31), QTime(23, 30)));
    sale->EditDate();
    EXPECT_EQ(dialogs.LastCall().field, QStringLiteral("Data"));
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("AnnoFiscale")).toLongLong(), 2025);
    EXPECT_FALSE(sale->ReceiptData()->IsEditing()) << "a changed date is stored at once";
}

TEST_F(SaleTest, AHeadingClickOrdersTheRowsAscendingThenDescending)
{
    EXPECT_EQ(NextColumnOrder(QString(), QStringLiteral("Nome")), QStringLiteral("Nome"));
    EXPECT_EQ(NextColumnOrder(QStringLiteral("Nome"), QStringLiteral("Nome")), QStringLiteral("Nome DESC"));
    EXPECT_EQ(NextColumnOrder(QStringLiteral("Nome DESC"), QStringLiteral("Nome")), QStringLiteral("Nome ASC"));
    EXPECT_EQ(NextColumnOrder(QStringLiteral("Nome ASC"), QStringLiteral("Nome")), QStringLiteral("Nome DESC"));
    EXPECT_EQ(NextColumnOrder(QStringLiteral("Nome DESC"), QStringLiteral("Prezzo")), QStringLiteral("Prezzo"));

    auto sale = StartedSale();
    sale->AddMenuItem(item["Carbonara"]);
    sale->AddMenuItem(item["Acqua"]);
    sale->AddMenuItem(item["Tagliata"]);
    const auto names = [&] {
        QStringList shown;
        auto rows = sale->RowsData();
        for (bool more = rows->MoveFirst(); more; more = rows->MoveNext())
            shown << rows->GetValue(QStringLiteral("Nome")).toString();
        return shown.join(u',');
    };
    sale->OrderRowsBy(QStringLiteral("Prezzo"));
    EXPECT_EQ(names(), QStringLiteral("Acqua,Carbonara,Tagliata"));
    sale->OrderRowsBy(QStringLiteral("Prezzo"));
    EXPECT_EQ(names(), QStringLiteral("Tagliata,Carbonara,Acqua"));
}

TEST_F(SaleTest, TheDateCheckAndTheQuantityText)
{
    // The early-morning date check: before seven, not from seven.
    const QDate today(2026, 12, 7);
    EXPECT_TRUE(NeedsDateWarning(today, QDateTime(today, QTime(6, 30))));
    EXPECT_TRUE(NeedsDateWarning(today, QDateTime(today, QTime(0, 20))));
    EXPECT_FALSE(NeedsDateWarning(today, QDateTime(today, QTime(7, 0))));
    EXPECT_FALSE(NeedsDateWarning(today.addDays(-1), QDateTime(today, QTime(6, 30))));

    const QLocale italian(QLocale::Italian, QLocale::Italy);
    EXPECT_EQ(ParseQuantity(QStringLiteral("1,5"), italian), 1.5);
    EXPECT_EQ(ParseQuantity(QStringLiteral("-2"), italian), -2.0);
    EXPECT_EQ(ParseQuantity(QStringLiteral("1.5"), italian), 1.5);
    EXPECT_FALSE(ParseQuantity(QStringLiteral("1,5kg"), italian));
    EXPECT_FALSE(ParseQuantity(QStringLiteral("inf"), italian));
    EXPECT_EQ(QuantityText(1234.5, italian), QStringLiteral("1234,5"));
}

} // namespace
