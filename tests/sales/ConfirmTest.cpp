// Confirming and abandoning a sale: the payment through the record editor,
// the ticket and its retry question, the defaults for the next sale, the
// commit, and what stays in the archive when something goes wrong.

#include "SaleFixture.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "printing/TicketPrinters.h"

namespace {

class ConfirmTest : public SaleTest
{
protected:
    // A sale of a lasagne and a water, ready to confirm.
    std::unique_ptr<OpenSale> SaleOfTwoRows()
    {
        auto sale = StartedSale();
        sale->AddMenuItem(item["Lasagne"]);
        sale->AddMenuItem(item["Acqua"]);
        sale->SetTicketPrinter([this](DataObject& receipt) {
            printed.append(receipt.GetValue(QStringLiteral("Numero")).toLongLong());
            return printResults.isEmpty() ? true : printResults.takeFirst();
        });
        return sale;
    }

    qint64 CommittedCount(const char* table)
    {
        return Committed(QStringLiteral("SELECT count(*) FROM %1").arg(QString::fromLatin1(table))).toLongLong();
    }

    QList<qint64> printed;
    QList<bool> printResults;
};

TEST_F(ConfirmTest, ASaleWithoutRowsIsNotConfirmed)
{
    auto sale = StartedSale();
    bool printerUsed = false;
    sale->SetTicketPrinter([&](DataObject&) { return printerUsed = true; });
    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_EQ(sale->Confirm(true), OpenSale::ConfirmResult::NoRows);
    ASSERT_EQ(dialogs.Calls().size(), 1u) << "no payment is asked for";
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Nessun articolo\r\rDevi inserire gli articoli della vendita..."));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_FALSE(printerUsed);
    EXPECT_TRUE(sale->IsOpen()) << "the sale stays open";
}

TEST_F(ConfirmTest, ConfirmingRecordsThePaymentPrintsKeepsTheDefaultsAndCommits)
{
    auto sale = SaleOfTwoRows();
    sale->SetCovers(QStringLiteral("2"));
    sale->ReceiptData()->SetValue(QStringLiteral("Note"), QStringLiteral("Tavolo 4, senza glutine"));
    const qint64 receiptKey = sale->ReceiptData()->ValueAt(0).toLongLong();
    const qint64 card = Key(QStringLiteral("TipiPagamento"), "Bonifico");
    QList<bool> busy;

    dialogs.AnswerSelection(card).AnswerRecordEditorOk();
    ASSERT_EQ(sale->Confirm(true, [&](bool on) { busy.append(on); }), OpenSale::ConfirmResult::Confirmed);
    EXPECT_EQ(dialogs.Calls().at(0).table, QStringLiteral("TipiPagamento"));
    EXPECT_EQ(dialogs.Calls().at(1).table, QStringLiteral("PagamentiCliente"));
    EXPECT_FALSE(dialogs.Calls().at(1).newRecord) << "the editor opens on the payment just recorded";
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::Beep);
    EXPECT_EQ(printed, QList<qint64>{1});
    EXPECT_EQ(busy, (QList<bool>{true, false}));
    EXPECT_FALSE(sale->IsOpen());
    EXPECT_FALSE(archive.engine->InTransaction());

    // Another session sees the whole sale.
    EXPECT_EQ(CommittedCount("Ricevute"), 1);
    EXPECT_EQ(CommittedCount("RigheRicevute"), 3);
    EXPECT_EQ(Committed(QStringLiteral("SELECT Importo_Ricevuta FROM Ricevute")).toLongLong(), Money("16").Units());
    EXPECT_EQ(Committed(QStringLiteral("SELECT Note FROM Ricevute")).toString(), QStringLiteral("Tavolo 4, senza glutine"));
    EXPECT_EQ(CommittedCount("PagamentiCliente"), 1);
    EXPECT_EQ(Committed(QStringLiteral("SELECT Importo FROM PagamentiCliente WHERE OID_Ricevute_Pagamento = %1")
                            .arg(receiptKey))
                  .toLongLong(),
              Money("16").Units());
    EXPECT_EQ(Committed(QStringLiteral("SELECT OID_Pagamento FROM PagamentiCliente")).toLongLong(), card);

    EXPECT_EQ(Default(QStringLiteral("PagamentoDefault")), QString::number(card));
    EXPECT_EQ(Default(QStringLiteral("TipoDocDefault")), QString::number(Key(QStringLiteral("TipiDocumento"), "Ricevuta fiscale")));
    EXPECT_EQ(Default(QStringLiteral("ClienteDefault")), QString::number(archive.Table(QStringLiteral("Clienti"))->ValueAt(0).toLongLong()));

    // The next sale: same document type, next number, no covers, and the
    // payment type proposed without asking.
    ASSERT_TRUE(sale->Add_Vendita());
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("TipoDocumento")).toString(), QStringLiteral("Ricevuta fiscale"));
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("Numero")).toLongLong(), 2);
    EXPECT_EQ(sale->CoverCount(), 0) << "the covers of the last sale are not carried over";
    EXPECT_EQ(sale->PerCoverText(), QStringLiteral("0"));
    sale->AddMenuItem(item["Tagliata"]);
    dialogs.AnswerRecordEditorOk();
    ASSERT_EQ(sale->Confirm(false), OpenSale::ConfirmResult::Confirmed);
    EXPECT_EQ(printed.size(), 1) << "\"Stampa\" unchecked prints nothing";
    EXPECT_EQ(Committed(QStringLiteral("SELECT OID_Pagamento FROM PagamentiCliente ORDER BY OID DESC")).toLongLong(), card);
}

TEST_F(ConfirmTest, CancellingThePaymentEditorKeepsTheSaleOpenWithoutAPaymentAndConfirmingLaterRecordsOne)
{
    auto sale = SaleOfTwoRows();
    SetDefault(QStringLiteral("PagamentoDefault"), Key(QStringLiteral("TipiPagamento"), "Contanti"));

    dialogs.AnswerRecordEditor([](DataObject& payment) {
        payment.SetValue(QStringLiteral("Note"), QStringLiteral("ripensamento"));
        return false;
    });
    EXPECT_EQ(sale->Confirm(true), OpenSale::ConfirmResult::NoPayment);
    EXPECT_TRUE(sale->IsOpen());
    EXPECT_TRUE(printed.isEmpty());
    EXPECT_TRUE(sale->ReceiptData()->OpenReference(QStringLiteral("Pagamento"))->IsEmptySet()) << "no link to a payment";
    EXPECT_EQ(archive.Table(QStringLiteral("PagamentiCliente"))->RecordCount(), 0)
        << "the payment is deleted, not left behind without its receipt";

    // Closing the payment type list leaves the sale open too.
    SetDefault(QStringLiteral("PagamentoDefault"), QString());
    dialogs.AnswerSelection(std::nullopt);
    EXPECT_EQ(sale->Confirm(true), OpenSale::ConfirmResult::NoPayment);
    EXPECT_EQ(archive.Table(QStringLiteral("PagamentiCliente"))->RecordCount(), 0);

    dialogs.AnswerSelection(Key(QStringLiteral("TipiPagamento"), "Contanti")).AnswerRecordEditorOk();
    ASSERT_EQ(sale->Confirm(true), OpenSale::ConfirmResult::Confirmed);
    EXPECT_EQ(CommittedCount("PagamentiCliente"), 1) << "exactly one payment for one sale";
    EXPECT_EQ(CommittedCount("Ricevute"), 1);
}

TEST_F(ConfirmTest, AFailedPrintIsOfferedAgainAndNoStillCommits)
{
    auto sale = SaleOfTwoRows();
    SetDefault(QStringLiteral("PagamentoDefault"), Key(QStringLiteral("TipiPagamento"), "Contanti"));
    printResults = {false, false, true};
    dialogs.AnswerRecordEditorOk().AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Yes);
    ASSERT_EQ(sale->Confirm(true), OpenSale::ConfirmResult::Confirmed);
    EXPECT_EQ(printed.size(), 3);
    const DialogCall question = dialogs.Calls().at(1);
    EXPECT_EQ(question.text, QStringLiteral("La ricevuta non e' stata stampata correttamente...\r\rVuoi riprovare ?"));
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::Exclamation);

    ASSERT_TRUE(sale->Add_Vendita());
    sale->AddMenuItem(item["Carbonara"]);
    printResults = {false};
    dialogs.AnswerRecordEditorOk().AnswerMessage(MsgResult::No);
    ASSERT_EQ(sale->Confirm(true), OpenSale::ConfirmResult::Confirmed);
    EXPECT_EQ(printed.size(), 4);
    EXPECT_EQ(CommittedCount("Ricevute"), 2) << "a ticket not printed does not lose the sale";
}

TEST_F(ConfirmTest, TheTicketIsPrintedByEmissionOnTheStoredPrinterAndAPrinterNotReadyCanBeSkipped)
{
    ScopedTicketPrinter printer;
    Settings().Ticket.PrinterName = QStringLiteral("Cassa");
    auto sale = StartedSale();
    sale->AddMenuItem(item["Lasagne"]);
    sale->AddMenuItem(item["Lasagne"]);
    SetDefault(QStringLiteral("PagamentoDefault"), Key(QStringLiteral("TipiPagamento"), "Contanti"));
    dialogs.AnswerRecordEditorOk();
    ASSERT_EQ(sale->Confirm(true), OpenSale::ConfirmResult::Confirmed);
    EXPECT_EQ(printer.Record().printerNames, QStringList{QStringLiteral("Cassa")});
    EXPECT_EQ(printer.Record().Texts(), (QStringList{QStringLiteral("2 Lasagne"), QStringLiteral("Totale 24")}));
    EXPECT_EQ(printer.Record().Count(TicketRecord::Call::Kind::EndTickets), 1);

    // A printer that is not ready: emission says why, the retry question
    // follows, and "No" keeps the sale.
    printer.Record().Clear();
    printer.FailPrinting(QStringLiteral("Carta esaurita"));
    ASSERT_TRUE(sale->Add_Vendita());
    sale->AddMenuItem(item["Acqua"]);
    dialogs.AnswerRecordEditorOk().AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::No);
    ASSERT_EQ(sale->Confirm(true), OpenSale::ConfirmResult::Confirmed);
    EXPECT_TRUE(dialogs.Calls().at(dialogs.Calls().size() - 3).text.contains(QStringLiteral("Carta esaurita")));
    EXPECT_EQ(dialogs.Calls().at(dialogs.Calls().size() - 2).text,
              QStringLiteral("La ricevuta non e' stata stampata correttamente...\r\rVuoi riprovare ?"));
    EXPECT_EQ(CommittedCount("Ricevute"), 2);
}

TEST_F(ConfirmTest, ACommitTheArchiveRefusesIsReportedAndLeavesNothingHalfWritten)
{
    RefuseCommitsWithPayments();

    auto sale = SaleOfTwoRows();
    SetDefault(QStringLiteral("PagamentoDefault"), Key(QStringLiteral("TipiPagamento"), "Contanti"));
    QList<bool> busy;
    dialogs.AnswerRecordEditorOk();
    try {
        sale->Confirm(true, [&](bool on) { busy.append(on); });
        ADD_FAILURE() << "a refused commit was reported as a confirmed sale";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Number(), ComponentError::Sql) << error.Description().toStdString();
    }
    EXPECT_EQ(busy, (QList<bool>{true, false})) << "the window is given back on the way out";
    EXPECT_EQ(dialogs.Beeps(), 0);
    EXPECT_FALSE(sale->IsOpen());
    EXPECT_FALSE(archive.engine->InTransaction());
    for (const char* table : {"Ricevute", "RigheRicevute", "PagamentiCliente"})
        EXPECT_EQ(archive.Table(QString::fromLatin1(table))->RecordCount(), 0) << table;

    // The archive is free: the next sale starts and takes number 1 again.
    archive.engine->Db().Exec(QStringLiteral("DROP TRIGGER trap_payment"));
    ASSERT_TRUE(sale->Add_Vendita());
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
}

TEST_F(ConfirmTest, AnAbandonedSaleLeavesNoTraceAndItsNumberIsGivenAgain)
{
    auto sale = SaleOfTwoRows();
    sale->SetCovers(QStringLiteral("3"));
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
    sale->Close_Vendita();
    EXPECT_FALSE(archive.engine->InTransaction());
    for (const char* table : {"Ricevute", "RigheRicevute", "PagamentiCliente"})
        EXPECT_EQ(archive.Table(QString::fromLatin1(table))->RecordCount(), 0) << table;

    // A window that closes with its sale open (the object goes) rolls back too.
    ASSERT_TRUE(sale->Add_Vendita());
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
    sale->AddMenuItem(item["Carbonara"]);
    sale.reset();
    EXPECT_FALSE(archive.engine->InTransaction());
    EXPECT_EQ(archive.Table(QStringLiteral("Ricevute"))->RecordCount(), 0);
}

TEST_F(ConfirmTest, ASaleCannotNestInsideATransactionLeftOpen)
{
    // Nested, a sale's commit would only release a savepoint.
    auto sale = NewSale();
    archive.engine->BeginTransaction();
    dialogs.AnswerMessage(MsgResult::No);
    EXPECT_FALSE(sale->Add_Vendita());
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Critical);
    EXPECT_TRUE(dialogs.LastCall().text.startsWith(QStringLiteral("Impossibile iniziare la vendita: \r\r")));
    EXPECT_EQ(archive.engine->TransactionDepth(), 1);
    archive.engine->RollbackTransaction();
}

} // namespace
