// The till window driven as the cashier drives it: keys to the focused
// control, clicks on grid cells, headings, buttons and the up-down control.

#include "SaleFixture.h"

#include "app/FormState.h"
#include "component/CurrencyObject.h"
#include "component/DatabaseObject.h"
#include "component/Sqlite.h"
#include "component/widgets/GridBinding.h"
#include "printing/TicketPrinters.h"
#include "sales/SaleRules.h"
#include "sales/UpDownControl.h"
#include "sales/frmVendite.h"
#include "support/UserInput.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

namespace {

using namespace UserInput;

// Courses in the courses grid, in the archive's order.
enum CourseRow { Varie = 0, Antipasti = 1, Primi = 2, Secondi = 3 };

class SaleWindowTest : public SaleTest
{
protected:
    void SetUp() override
    {
        SaleTest::SetUp();
        SetDefault(QStringLiteral("TipoDocDefault"), Key(QStringLiteral("TipiDocumento"), "Ricevuta fiscale"));
        SetDefault(QStringLiteral("PagamentoDefault"), Key(QStringLiteral("TipiPagamento"), "Contanti"));
        // As the application opens the archive: amounts also in lire.
        archive.database->SetConversionCurrency(std::make_shared<ConversionCurrencyForEuro>());
    }

    // Opens the till as the main window does and lets `drive` play the cashier.
    int RunTill(const std::function<void(frmVendite&)>& drive)
    {
        dialogs.AnswerShownWindow([&](QDialog& window) {
            auto& till = static_cast<frmVendite&>(window);
            Idle();
            drive(till);
        });
        return frmVendite::ShowModal(nullptr, archive.database, archive.engine);
    }

    static void Idle()
    {
        for (int i = 0; i < 3; ++i)
            QTest::qWait(0);
    }

    // The rows grid as the cashier reads it: "quantity name amount" per row.
    static QStringList Rows(const frmVendite& till)
    {
        QStringList rows;
        const QAbstractItemModel* model = till.dgRighe->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                if (c != 2)
                    cells << model->index(r, c).data().toString();
            rows << cells.join(u' ');
        }
        return rows;
    }

    static int CurrentRow(const frmVendite& till) { return till.dgRighe->currentIndex().row(); }

    // Tickets go to a recording target.
    ScopedTicketPrinter tickets;
};

TEST_F(SaleWindowTest, AWholeSaleWithTheKeyboardFromCoversToConfirmation)
{
    const int result = RunTill([&](frmVendite& till) {
        EXPECT_EQ(till.windowTitle(), QStringLiteral("Emissione Ricevute"));
        ASSERT_TRUE(till.Sale().IsOpen()) << "the sale starts when the window is activated";
        EXPECT_EQ(QApplication::focusWidget(), till.txtNumeroCoperti);
        EXPECT_EQ(till.txtNumeroCoperti->text(), QStringLiteral("  0"));
        EXPECT_EQ(till.txtNumero->text(), QStringLiteral("1"));
        EXPECT_TRUE(till.txtNumero->isReadOnly());
        EXPECT_EQ(till.txtCliente->text(), QStringLiteral("Cliente generico"));
        EXPECT_EQ(till.cmbTipiDocumento->currentText(), QStringLiteral("Ricevuta fiscale"));
        EXPECT_EQ(till.lblTotale->text(), QStringLiteral("0,00"));
        EXPECT_EQ(till.lblTotaleSuCoperti->text(), QStringLiteral("0"));

        // Three covers, typed over the selected "  0".
        TypeText(QStringLiteral("3"));
        PressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), till.dgPortate);
        EXPECT_EQ(Rows(till), QStringList{QStringLiteral("3 Coperto 3,00")});
        EXPECT_EQ(till.lblTotaleSuCoperti->text(), QStringLiteral("1,00"));

        // A course chosen with Enter, then with a double click: one row of 2.
        ClickCell(*till.dgPortate, Primi, 0);
        dialogs.AnswerSelection(item["Carbonara"]);
        PressKey(Qt::Key_Return);
        EXPECT_EQ(dialogs.LastCall().table, QStringLiteral("Menu"));
        dialogs.AnswerSelection(item["Carbonara"]);
        DoubleClickCell(*till.dgPortate, Primi, 0);
        EXPECT_EQ(Rows(till), (QStringList{QStringLiteral("3 Coperto 3,00"), QStringLiteral("2 Carbonara 22,00")}));
        EXPECT_EQ(CurrentRow(till), 1) << "the grid shows the row just changed";
        EXPECT_EQ(till.lblTotale->text(), QStringLiteral("25,00"));

        // "+" and "-" step the row under the cursor, whichever control has the focus.
        TypeText(QStringLiteral("+"));
        EXPECT_EQ(Rows(till).at(1), QStringLiteral("3 Carbonara 33,00"));
        TypeText(QStringLiteral("-"));
        TypeText(QStringLiteral("-"));
        EXPECT_EQ(Rows(till).at(1), QStringLiteral("1 Carbonara 11,00"));
        TypeText(QStringLiteral("-"));
        EXPECT_EQ(Rows(till).at(1), QStringLiteral("1 Carbonara 11,00")) << "never below 1 by the keys";
        EXPECT_EQ(dialogs.Beeps(), 1);

        // F8 with a decimal comma.
        dialogs.AnswerInput(QStringLiteral("1,5"));
        PressKey(Qt::Key_F8);
        EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("IMPOSTARE LA QUANTITA' PER L'ARTICOLO:\r\r< Carbonara >"));
        EXPECT_EQ(Rows(till).at(1), QStringLiteral("1,5 Carbonara 16,50"));
        EXPECT_EQ(till.lblTotale->text(), QStringLiteral("19,50"));

        // Five covers: still one cover row.
        Click(*till.txtNumeroCoperti);
        Idle();
        TypeText(QStringLiteral("5"));
        PressKey(Qt::Key_Return);
        EXPECT_EQ(Rows(till), (QStringList{QStringLiteral("5 Coperto 5,00"), QStringLiteral("1,5 Carbonara 16,50")}));
        EXPECT_EQ(till.lblTotaleSuCoperti->text(), QStringLiteral("4,30"));

        // A second dish, then F5 gives it one per cover; F10 deletes it.
        ClickCell(*till.dgPortate, Antipasti, 0);
        dialogs.AnswerSelection(item["Bruschette"]);
        PressKey(Qt::Key_Return);
        PressKey(Qt::Key_F5);
        EXPECT_EQ(Rows(till).at(2), QStringLiteral("5 Bruschette 27,50"));
        PressKey(Qt::Key_F10);
        EXPECT_EQ(Rows(till).size(), 2);
        EXPECT_EQ(till.lblTotale->text(), QStringLiteral("21,50"));

        // F4 switches the ticket off and on again.
        ASSERT_TRUE(till.chkFiscalRecord->isChecked());
        PressKey(Qt::Key_F4);
        EXPECT_FALSE(till.chkFiscalRecord->isChecked());
        PressKey(Qt::Key_F4);
        EXPECT_TRUE(till.chkFiscalRecord->isChecked());

        // Confirmed with Alt+C: payment editor, ticket, beep, and the next
        // sale at once.
        dialogs.AnswerRecordEditorOk();
        PressKey(Qt::Key_C, Qt::AltModifier);
        // An access key presses its button as a click does, a moment later.
        ASSERT_TRUE(QTest::qWaitFor([&] { return tickets.Record().Count(TicketRecord::Call::Kind::EndTickets) > 0; }, 2000));
        EXPECT_EQ(tickets.Record().Count(TicketRecord::Call::Kind::EndTickets), 1);
        EXPECT_TRUE(tickets.Record().Texts().join(u'|').contains(QStringLiteral("Carbonara")));
        EXPECT_EQ(dialogs.LastCall().kind, DialogKind::Beep);
        ASSERT_TRUE(till.Sale().IsOpen());
        EXPECT_EQ(till.txtNumero->text(), QStringLiteral("2"));
        EXPECT_EQ(till.txtNumeroCoperti->text(), QStringLiteral("  0"));
        EXPECT_EQ(till.lblTotale->text(), QStringLiteral("0,00"));
        EXPECT_EQ(till.lblTotaleSuCoperti->text(), QStringLiteral("0"));
        EXPECT_TRUE(Rows(till).isEmpty());
        EXPECT_TRUE(till.cmdConfirm->isEnabled());
        EXPECT_TRUE(till.lblPrinterMsg->isHidden());
        EXPECT_EQ(QApplication::focusWidget(), till.txtNumeroCoperti);

        // "Annulla" on the empty sale closes the till.
        Click(*till.cmdCancel);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(archive.engine->InTransaction());
    auto receipts = archive.Table(QStringLiteral("Ricevute"));
    ASSERT_EQ(receipts->RecordCount(), 1) << "the empty second sale left nothing";
    EXPECT_EQ(receipts->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>(), Money("21.50"));
    EXPECT_EQ(receipts->OpenReference(QStringLiteral("Righe"))->RecordCount(), 2);
    EXPECT_EQ(receipts->OpenReference(QStringLiteral("Pagamento"))->GetValue(QStringLiteral("Importo")).value<Currency>(),
              Money("21.50"));
}

TEST_F(SaleWindowTest, PlusMinusAndDeleteAreTakenEvenInTheNoteButAFreeRowLetsTheCharacterThrough)
{
    RunTill([&](frmVendite& till) {
        ClickCell(*till.dgPortate, Varie, 0);
        dialogs.AnswerSelection(item["Acqua"]);
        PressKey(Qt::Key_Return);

        Click(*till.txtNote);
        TypeText(QStringLiteral("Tavolo 7 + dolce"));
        EXPECT_EQ(till.txtNote->toPlainText(), QStringLiteral("Tavolo 7  dolce")) << "the \"+\" stepped the water";
        EXPECT_EQ(Rows(till).at(0), QStringLiteral("2 Acqua 4,00"));
        EXPECT_EQ(till.Sale().ReceiptData()->GetValue(QStringLiteral("Note")).toString(), QStringLiteral("Tavolo 7  dolce"))
            << "the note is stored as it is typed";

        // Ctrl+Enter makes a new line; Enter alone does nothing in the note.
        PressKey(Qt::Key_Return, Qt::ControlModifier);
        TypeText(QStringLiteral("x"));
        PressKey(Qt::Key_Return);
        EXPECT_EQ(till.txtNote->toPlainText(), QStringLiteral("Tavolo 7  dolce\nx"));

        // Bread is free: its "+" reaches the note.
        ClickCell(*till.dgPortate, Varie, 0);
        dialogs.AnswerSelection(item["Pane"]);
        PressKey(Qt::Key_Return);
        Click(*till.txtNote);
        PressKey(Qt::Key_End, Qt::ControlModifier);
        TypeText(QStringLiteral("+"));
        EXPECT_EQ(till.txtNote->toPlainText(), QStringLiteral("Tavolo 7  dolce\nx+"));
        EXPECT_TRUE(Rows(till).at(1).startsWith(QStringLiteral("1 Pane"))) << "no step on a free row";

        // Delete in the note deletes the row under the grid's cursor.
        PressKey(Qt::Key_Delete);
        EXPECT_EQ(Rows(till), QStringList{QStringLiteral("2 Acqua 4,00")});
        EXPECT_EQ(till.txtNote->toPlainText(), QStringLiteral("Tavolo 7  dolce\nx+"));

        // The up-down control steps like "+" and "-".
        Click(*till.spinQuantita->UpButton());
        EXPECT_EQ(Rows(till).at(0), QStringLiteral("3 Acqua 6,00"));
        Click(*till.spinQuantita->DownButton());
        Click(*till.spinQuantita->DownButton());
        EXPECT_EQ(Rows(till).at(0), QStringLiteral("1 Acqua 2,00"));

        // With no row at all "+" is swallowed and every row command beeps.
        PressKey(Qt::Key_F10);
        ASSERT_TRUE(Rows(till).isEmpty());
        const int beeps = dialogs.Beeps();
        TypeText(QStringLiteral("+"));
        EXPECT_EQ(till.txtNote->toPlainText(), QStringLiteral("Tavolo 7  dolce\nx+"));
        EXPECT_EQ(dialogs.Beeps(), beeps);
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_F8, Qt::Key_F10, Qt::Key_F12, Qt::Key_Delete})
            PressKey(key);
        Click(*till.cmdEdit_Quantita);
        EXPECT_EQ(dialogs.Beeps(), beeps + 6);
        Click(*till.cmdCancel);
    });
}

// A note pasted that is longer than the receipt's column (128 characters) is
// refused with the archive's message; the note typed before stays, whole.
TEST_F(SaleWindowTest, APastedNoteLongerThanTheColumnIsRefusedNotCut)
{
    RunTill([&](frmVendite& till) {
        Click(*till.txtNote);
        TypeText(QStringLiteral("Sig.ra D'Angelo, \"senza glutine\" è già pagato"));
        const QString typed = till.txtNote->toPlainText();
        ASSERT_EQ(till.Sale().ReceiptData()->GetValue(QStringLiteral("Note")).toString(), typed);

        QGuiApplication::clipboard()->setText(QString(120, u'x'));
        dialogs.AnswerMessage(MsgResult::Ok);
        PressKey(Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(dialogs.Count(DialogKind::MessageBox), 1);
        EXPECT_EQ(dialogs.LastCall().text,
                  QStringLiteral("Il testo per il campo «Note» è lungo %1 caratteri: il massimo è 128").arg(typed.size() + 120));
        EXPECT_EQ(till.txtNote->toPlainText(), typed) << "refused whole, never cut to fit";
        EXPECT_EQ(till.Sale().ReceiptData()->GetValue(QStringLiteral("Note")).toString(), typed);

        // A paste that fits is taken.
        QGuiApplication::clipboard()->setText(QStringLiteral(" (tavolo 4)"));
        PressKey(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(till.Sale().ReceiptData()->GetValue(QStringLiteral("Note")).toString(), typed + QStringLiteral(" (tavolo 4)"));
        EXPECT_EQ(dialogs.Count(DialogKind::MessageBox), 1);
        Click(*till.cmdCancel);
    });
}

// Tab goes from control to control through the grids, as a cashier without
// a mouse needs: it neither stays in a grid nor moves its current row.
TEST_F(SaleWindowTest, TabLeavesTheGridsWithoutMovingTheirRows)
{
    RunTill([&](frmVendite& till) {
        ClickCell(*till.dgPortate, Primi, 0);
        dialogs.AnswerSelection(item["Carbonara"]);
        PressKey(Qt::Key_Return);
        dialogs.AnswerSelection(item["Lasagne"]);
        PressKey(Qt::Key_Return);
        ASSERT_EQ(CurrentRow(till), 1);

        Click(*till.txtNumeroCoperti);
        PressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), till.dgPortate);
        PressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), till.dgRighe);
        EXPECT_EQ(till.dgPortate->currentIndex().row(), int(Primi)) << "Tab left the course where it was";
        PressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), till.cmbTipiDocumento);
        EXPECT_EQ(CurrentRow(till), 1) << "Tab left the row where it was";
        PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), till.dgRighe);
        PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), till.dgPortate);
        EXPECT_EQ(CurrentRow(till), 1);
        EXPECT_EQ(till.dgPortate->currentIndex().row(), int(Primi));

        // Typing a course's first letter and Enter choose it, the keyboard alone.
        dialogs.AnswerSelection(item["Tagliata"]);
        TypeText(QStringLiteral("s"));
        PressKey(Qt::Key_Return);
        EXPECT_EQ(Rows(till).at(2), QStringLiteral("1 Tagliata 19,00"));

        dialogs.AnswerMessage(MsgResult::Yes);
        Click(*till.cmdCancel);
        Click(*till.cmdCancel);
    });
}

TEST_F(SaleWindowTest, ArrowsHeadingsAndTheEngineWindowsOfTheRows)
{
    RunTill([&](frmVendite& till) {
        const std::pair<const char*, CourseRow> dishes[] = {{"Tagliata", Secondi}, {"Acqua", Varie}, {"Bruschette", Antipasti}};
        for (const auto& [dish, course] : dishes) {
            dialogs.AnswerSelection(item[dish]);
            ClickCell(*till.dgPortate, course, 0);
            PressKey(Qt::Key_Return);
        }
        // Down outside the rows grid only moves the focus there.
        ClickCell(*till.dgPortate, Secondi, 0);
        PressKey(Qt::Key_Down);
        EXPECT_EQ(QApplication::focusWidget(), till.dgRighe);
        EXPECT_EQ(till.dgPortate->currentIndex().row(), Secondi) << "the courses grid did not move";
        // Inside it the arrows move the row cursor.
        ClickCell(*till.dgRighe, 0, 1);
        PressKey(Qt::Key_Down);
        EXPECT_EQ(CurrentRow(till), 1);
        PressKey(Qt::Key_PageDown);
        EXPECT_EQ(CurrentRow(till), 2);

        // Headings: price ascending, then descending.
        QHeaderView& header = *till.dgRighe->horizontalHeader();
        const int price = till.dgRighe->model()->headerData(2, Qt::Horizontal).toString() == QStringLiteral("Prezzo") ? 2 : -1;
        ASSERT_EQ(price, 2);
        ClickHeader(header, price);
        EXPECT_EQ(Rows(till), (QStringList{QStringLiteral("1 Acqua 2,00"), QStringLiteral("1 Bruschette 5,50"),
                                           QStringLiteral("1 Tagliata 19,00")}));
        ClickHeader(header, price);
        EXPECT_EQ(Rows(till).first(), QStringLiteral("1 Tagliata 19,00"));

        // F12: the row in the record editor with its menu values locked.
        ClickCell(*till.dgRighe, 0, 1);
        dialogs.AnswerRecordEditor([](DataObject& row) {
            row.SetValue(QStringLiteral("Quantità"), 2);
            return true;
        });
        PressKey(Qt::Key_F12);
        EXPECT_EQ(dialogs.LastCall().baseTableOption, 255);
        EXPECT_TRUE(Rows(till).contains(QStringLiteral("2 Tagliata 38,00")));

        // F6 and the date button: the customer list and the value editor.
        auto customers = archive.Table(QStringLiteral("Clienti"));
        customers->AddRecord({QStringLiteral("Ragione_Sociale"), QStringLiteral("Studio Rossi & C.")});
        dialogs.AnswerSelection(customers->ValueAt(0).toLongLong());
        PressKey(Qt::Key_F6);
        EXPECT_EQ(till.txtCliente->text(), QStringLiteral("Studio Rossi & C."));
        dialogs.AnswerValueEditor(QDateTime(SaleDateValue(), QTime(21, 15)));
        Click(*till.cmdSet_DataOra);
        EXPECT_TRUE(till.txtData->text().endsWith(QStringLiteral("21:15:00"))) << till.txtData->text().toStdString();

        dialogs.AnswerMessage(MsgResult::Yes);
        Click(*till.cmdCancel);
        // No rows any more: the window closes without asking.
        Click(*till.cmdCancel);
    });
}

TEST_F(SaleWindowTest, CancellingAsksFirstAndTheNextSaleTakesTheSameNumber)
{
    RunTill([&](frmVendite& till) {
        ClickCell(*till.dgPortate, Primi, 0);
        dialogs.AnswerSelection(item["Lasagne"]);
        PressKey(Qt::Key_Return);

        dialogs.AnswerMessage(MsgResult::No);
        Click(*till.cmdCancel);
        const DialogCall question = dialogs.LastCall();
        EXPECT_EQ(question.text, QStringLiteral("Confermi l'annullamento della vendita ?"));
        EXPECT_EQ(question.buttons, MsgButtons::YesNo);
        EXPECT_EQ(question.icon, MsgIcon::Question);
        EXPECT_EQ(question.defaultButton, MsgDefault::Button2);
        EXPECT_EQ(Rows(till).size(), 1);

        // Escape is "Annulla" too.
        dialogs.AnswerMessage(MsgResult::Yes);
        PressKey(Qt::Key_Escape);
        ASSERT_TRUE(till.isVisible());
        EXPECT_TRUE(Rows(till).isEmpty());
        EXPECT_EQ(till.txtNumero->text(), QStringLiteral("1"));

        // The close box with rows asks the same question.
        ClickCell(*till.dgPortate, Primi, 0);
        dialogs.AnswerSelection(item["Lasagne"]);
        PressKey(Qt::Key_Return);
        dialogs.AnswerMessage(MsgResult::No);
        till.close();
        EXPECT_TRUE(till.isVisible());
        dialogs.AnswerMessage(MsgResult::Yes);
        till.close();
        EXPECT_FALSE(till.isVisible());
    });
    EXPECT_FALSE(archive.engine->InTransaction());
    EXPECT_EQ(archive.Table(QStringLiteral("Ricevute"))->RecordCount(), 0);
}

TEST_F(SaleWindowTest, TheDocumentTypeListTakesATypeWithAQuoteByItsKey)
{
    archive.Table(QStringLiteral("TipiDocumento"))->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Ricevuta d'acconto")});
    RunTill([&](frmVendite& till) {
        TypeText(QStringLiteral("4"));
        PressKey(Qt::Key_Tab);
        ClickCell(*till.dgPortate, Varie, 0);
        dialogs.AnswerSelection(item["Acqua"]);
        PressKey(Qt::Key_Return);

        // The list opened with a click, the type chosen with the arrows and Enter.
        Click(*till.cmbTipiDocumento);
        QAbstractItemView* list = till.cmbTipiDocumento->view();
        ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); }, 2000));
        const int deposit = till.cmbTipiDocumento->findText(QStringLiteral("Ricevuta d'acconto"));
        ASSERT_GE(deposit, 0);
        for (int row = list->currentIndex().row(); row > deposit; --row)
            QTest::keyClick(list, Qt::Key_Up);
        for (int row = list->currentIndex().row(); row < deposit; ++row)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        Idle();
        EXPECT_FALSE(list->isVisible());
        EXPECT_EQ(till.Sale().ReceiptData()->GetValue(QStringLiteral("TipoDocumento")).toString(),
                  QStringLiteral("Ricevuta d'acconto"));
        EXPECT_EQ(till.txtNumero->text(), QStringLiteral("1"));
        EXPECT_EQ(Rows(till).size(), 2);
        // The header shown again keeps the covers of the sale in sight.
        EXPECT_EQ(till.txtNumeroCoperti->text(), QStringLiteral("  4"));
        EXPECT_EQ(till.lblTotaleSuCoperti->text(), QStringLiteral("1,50"));

        dialogs.AnswerRecordEditorOk();
        Click(*till.cmdConfirm);
        // The next sale proposes the same type.
        EXPECT_EQ(till.cmbTipiDocumento->currentText(), QStringLiteral("Ricevuta d'acconto"));
        EXPECT_EQ(till.txtNumero->text(), QStringLiteral("2"));
        Click(*till.cmdCancel);
    });
}

TEST_F(SaleWindowTest, AConfirmationTheArchiveRefusesIsReportedAndTheTillClosesWithNothingWritten)
{
    RefuseCommitsWithPayments();
    RunTill([&](frmVendite& till) {
        ClickCell(*till.dgPortate, Secondi, 0);
        dialogs.AnswerSelection(item["Tagliata"]);
        PressKey(Qt::Key_Return);
        dialogs.AnswerRecordEditorOk().AnswerMessage(MsgResult::No);
        Click(*till.cmdConfirm);
        EXPECT_FALSE(till.isVisible());
    });
    const DialogCall report = dialogs.LastCall();
    EXPECT_TRUE(report.text.startsWith(QStringLiteral("Errore in conferma dati: \r\r"))) << report.text.toStdString();
    EXPECT_TRUE(report.text.endsWith(QStringLiteral("\r\rVisualizzare dettagli ?")));
    EXPECT_EQ(report.icon, MsgIcon::Critical);
    EXPECT_EQ(dialogs.Beeps(), 0) << "no sign of a confirmed sale";
    EXPECT_EQ(tickets.Record().Count(TicketRecord::Call::Kind::EndTickets), 1) << "printed before the commit";
    EXPECT_FALSE(archive.engine->InTransaction());
    for (const char* table : {"Ricevute", "RigheRicevute", "PagamentiCliente"})
        EXPECT_EQ(archive.Table(QString::fromLatin1(table))->RecordCount(), 0) << table;
}

TEST_F(SaleWindowTest, WhileAnotherSessionHoldsTheArchiveTheTillSaysSoAndCloses)
{
    const int previous = DatabaseEngine::BusyTimeout();
    DatabaseEngine::SetBusyTimeout(100);
    archive.Open();
    archive.database->SetConversionCurrency(std::make_shared<ConversionCurrencyForEuro>());
    SqliteDb other(archive.Path(), false, 100);
    other.Exec(QStringLiteral("BEGIN IMMEDIATE"));

    dialogs.AnswerShownWindow([](QDialog&) {});
    dialogs.AnswerMessage(MsgResult::No);
    EXPECT_EQ(frmVendite::ShowModal(nullptr, archive.database, archive.engine), QDialog::Rejected);
    EXPECT_TRUE(dialogs.LastCall().text.contains(QStringLiteral("Archivio occupato"))) << dialogs.LastCall().text.toStdString();
    EXPECT_FALSE(archive.engine->InTransaction());

    other.Exec(QStringLiteral("ROLLBACK"));
    DatabaseEngine::SetBusyTimeout(previous);
}

TEST_F(SaleWindowTest, LoadingWarnsAboutTheDateBeforeSevenAndRefusesWithoutDocumentTypes)
{
    const QDate today = QDate::currentDate();
    SetSaleDate(today);
    {
        ScopedSaleClock early(QDateTime(today, QTime(6, 30)));
        frmVendite till(archive.database, archive.engine);
        dialogs.AnswerMessage(MsgResult::Ok);
        ASSERT_TRUE(till.Load());
        EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Controllare la data della ricevuta"));
        EXPECT_EQ(dialogs.LastCall().buttons, MsgButtons::Ok);
        EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::None);
        EXPECT_EQ(till.lblAltraValuta->text(), QStringLiteral("Lire:"));
        EXPECT_EQ(till.lblTotaleConv->toolTip(), QStringLiteral("Totale calcolato in Euro Lire"));
        EXPECT_EQ(till.cmbTipiDocumento->count(), 4);
        EXPECT_EQ(till.cmbTipiDocumento->itemText(0), QStringLiteral("Fattura")) << "by description";
    }
    {
        ScopedSaleClock seven(QDateTime(today, QTime(7, 0)));
        frmVendite till(archive.database, archive.engine);
        ASSERT_TRUE(till.Load());
        EXPECT_EQ(dialogs.Count(DialogKind::MessageBox), 1);
    }

    auto types = archive.Table(QStringLiteral("TipiDocumento"));
    while (!types->IsEmptySet()) {
        types->MoveFirst();
        types->DeleteRecord();
    }
    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_EQ(frmVendite::ShowModal(nullptr, archive.database, archive.engine), QDialog::Rejected);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("E' necessario impostare almeno un tipo documento valido"));
    EXPECT_EQ(dialogs.Count(DialogKind::Window), 0) << "the window never opened";
    EXPECT_FALSE(archive.engine->InTransaction());
}

TEST_F(SaleWindowTest, TheWindowKeepsItsMinimumSizeAndItsPlaceFromRunToRun)
{
    QRect placed;
    RunTill([&](frmVendite& till) {
        const QSize least = till.minimumSize();
        EXPECT_GE(least.height(), till.dgRighe->mapTo(&till, QPoint(0, 0)).y() + 2 * till.pnlBottom->sizeHint().height());
        till.resize(till.width(), 40);
        Idle();
        EXPECT_EQ(till.height(), least.height()) << "shrunk below its minimum, the window snaps back";
        till.setGeometry(140, 120, least.width() + 60, least.height() + 80);
        Idle();
        placed = till.geometry();
        Click(*till.cmdCancel);
    });
    EXPECT_FALSE(OpenSettingsStore()->value(QStringLiteral("frmVenditeSettings/Left")).toString().isEmpty());
    RunTill([&](frmVendite& till) {
        EXPECT_EQ(till.size(), placed.size());
        // Within the frame the platform may add around a window.
        EXPECT_LE((till.pos() - placed.topLeft()).manhattanLength(), 4)
            << till.pos().x() << "," << till.pos().y();
        Click(*till.cmdCancel);
    });
}

} // namespace
