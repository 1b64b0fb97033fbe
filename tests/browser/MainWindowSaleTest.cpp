// A sale from the main window, as the cashier makes it: the "Vendite" button,
// the menu entry and F9 open the till; the receipts section shows the sale
// once the till closes, and after a restart.

#include "MainWindowFixture.h"

#include "app/SaleDate.h"
#include "app/SettingsStore.h"
#include "browser/MainMenus.h"
#include "browser/SectionItemPage.h"
#include "component/Currency.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "component/widgets/GridBinding.h"
#include "printing/TicketPrinters.h"
#include "sales/OpenSale.h"
#include "sales/frmVendite.h"
#include "support/UserInput.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>

namespace {

using namespace UserInput;

class MainWindowSaleTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        Settings().Ticket.VBScript = QStringLiteral(
            "Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)\r\n"
            "  If bTotal Then prn.TxtOut 10, 5, \"Totale \" & flds(\"Importo_Ricevuta\")\r\n"
            "  PrintTicketMask = True\r\n"
            "End Function\r\n"
            "Function PrintTicketRow(flds, prn, nRow)\r\n"
            "  prn.TxtOut 0, 5, flds(\"Quantità\") & \" \" & flds(\"Nome\")\r\n"
            "  PrintTicketRow = True\r\n"
            "End Function\r\n");
    }

    void TearDown() override
    {
        MainWindowTest::TearDown();
        QLocale::setDefault(QLocale::c());
    }

    std::shared_ptr<DataObject> Table(const QString& name, const QString& criteria = {})
    {
        const auto& session = ArchiveSession::Instance();
        return session.Database()->Tables().Item(name).OpenDataObject(session.Engine(), criteria);
    }

    qint64 Key(const QString& table, const QString& criteria)
    {
        return Table(table, criteria)->ValueAt(0).toLongLong();
    }

    qint64 AddDish(const QString& name, double price, const QString& course)
    {
        auto menu = Table(QStringLiteral("Menu"));
        menu->AddRecord({QStringLiteral("Nome"), name, QStringLiteral("Prezzo"), price, QStringLiteral("Portata"), course});
        return menu->ValueAt(0).toLongLong();
    }

    static void Idle()
    {
        for (int i = 0; i < 3; ++i)
            QTest::qWait(0);
    }

    // The grid's text at (row, field).
    static QString Cell(frmMain& main, int row, const QString& field)
    {
        const int column = main.Grid().Model().ColumnOfField(field);
        return main.GridView()->model()->index(row, column).data().toString();
    }

    ScopedTicketPrinter tickets;
};

TEST_F(MainWindowSaleTest, ASaleFromTheVenditeButtonEndsUpInTheReceiptsSection)
{
    frmMain& main = OpenWindow();
    const qint64 carbonara = AddDish(QStringLiteral("Carbonara"), 11, QStringLiteral("PRIMI"));
    const qint64 wine = AddDish(QStringLiteral("Vino rosso"), 14, QStringLiteral("VARIE"));
    // The "Ricevute" button of the start page.
    ASSERT_EQ(main.SectionItems().Item(4)->property("Tag").toString(), QStringLiteral("Ricevute"));
    Click(*main.SectionItems().Item(4));
    ASSERT_NE(main.CurrentDataObject(), nullptr);
    EXPECT_EQ(main.Grid().Model().rowCount(), 0);

    dialogs.AnswerShownWindow([&](QDialog& window) {
        auto& till = static_cast<frmVendite&>(window);
        Idle();
        ASSERT_TRUE(till.Sale().IsOpen());
        TypeText(QStringLiteral("3"));
        PressKey(Qt::Key_Tab);

        ClickCell(*till.dgPortate, 2, 0); // PRIMI
        dialogs.AnswerSelection(carbonara);
        PressKey(Qt::Key_Return);
        dialogs.AnswerSelection(carbonara);
        PressKey(Qt::Key_Return);
        ClickCell(*till.dgPortate, 0, 0); // VARIE
        dialogs.AnswerSelection(wine);
        PressKey(Qt::Key_Return);

        Click(*till.txtNumeroCoperti);
        Idle();
        TypeText(QStringLiteral("5"));
        PressKey(Qt::Key_Tab);

        // The wine: "+" twice, "-" once, then half a bottle less by F8.
        ClickCell(*till.dgRighe, 2, 1);
        TypeText(QStringLiteral("++-"));
        dialogs.AnswerInput(QStringLiteral("1,5"));
        PressKey(Qt::Key_F8);
        // The carbonara goes, and comes back as one.
        ClickCell(*till.dgRighe, 1, 1);
        PressKey(Qt::Key_F10);
        ClickCell(*till.dgPortate, 2, 0);
        dialogs.AnswerSelection(carbonara);
        PressKey(Qt::Key_Return);
        EXPECT_EQ(till.lblTotale->text(), QStringLiteral("37,00")) << "5 covers, 1,5 wine, 1 carbonara";
        PressKey(Qt::Key_F4);
        PressKey(Qt::Key_F4);
        EXPECT_TRUE(till.chkFiscalRecord->isChecked());

        // Payment type chosen, payment editor accepted, ticket printed.
        dialogs.AnswerSelection(Key(QStringLiteral("TipiPagamento"), QStringLiteral("Descrizione = 'Contanti'")));
        dialogs.AnswerRecordEditorOk();
        Click(*till.cmdConfirm);
        EXPECT_EQ(till.txtNumero->text(), QStringLiteral("2")) << "the next sale is open";
        Click(*till.cmdCancel);
    });
    // First sale of a new archive: the document type is asked once, as the till opens.
    dialogs.AnswerSelection(Key(QStringLiteral("TipiDocumento"), QStringLiteral("Descrizione = 'Ricevuta fiscale'")));
    ClickToolButton(*main.Menus().ToolBar(), main.ToolButton(QStringLiteral("Sale")));

    EXPECT_EQ(dialogs.Count(DialogKind::Window), 1);
    EXPECT_EQ(tickets.Record().Texts(), (QStringList{QStringLiteral("5 Coperto"), QStringLiteral("1,5 Vino rosso"),
                                                     QStringLiteral("1 Carbonara"), QStringLiteral("Totale 37")}));
    // The receipts section shows the sale as soon as the till closes.
    ASSERT_EQ(main.Grid().Model().rowCount(), 1);
    EXPECT_EQ(Cell(main, 0, QStringLiteral("Numero")), QStringLiteral("1"));
    EXPECT_EQ(Cell(main, 0, QStringLiteral("Importo_Ricevuta")), QStringLiteral("37,00"));
    EXPECT_EQ(Cell(main, 0, QStringLiteral("TipoDocumento")), QStringLiteral("Ricevuta fiscale"));
    auto receipt = Table(QStringLiteral("Ricevute"));
    EXPECT_EQ(receipt->OpenReference(QStringLiteral("Righe"))->RecordCount(), 3);
    EXPECT_EQ(receipt->OpenReference(QStringLiteral("Pagamento"))->GetValue(QStringLiteral("Importo")).value<Currency>(),
              receipt->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>());
    EXPECT_FALSE(ArchiveSession::Instance().Engine()->InTransaction());
}

TEST_F(MainWindowSaleTest, TheMenuEntryAndF9OpenTheTillAndAConfirmedSaleSurvivesARestart)
{
    frmMain& main = OpenWindow();
    const qint64 water = AddDish(QStringLiteral("Acqua"), 2, QStringLiteral("VARIE"));
    auto store = OpenSettingsStore();
    store->setValue(QStringLiteral("Ricevute/TipoDocDefault"),
                    QString::number(Key(QStringLiteral("TipiDocumento"), QStringLiteral("Descrizione = 'Preconto'"))));
    store->setValue(QStringLiteral("Ricevute/PagamentoDefault"),
                    QString::number(Key(QStringLiteral("TipiPagamento"), QStringLiteral("Descrizione = 'Contanti'"))));
    store->sync();

    // "Annulla" on an empty sale is the way out; the archive stays free.
    dialogs.AnswerShownWindow([&](QDialog& window) {
        Idle();
        Click(*static_cast<frmVendite&>(window).cmdCancel);
    });
    ChooseMenu(main, {QStringLiteral("&Strumenti"), QStringLiteral("Nuova &Vendita")});
    EXPECT_EQ(dialogs.Count(DialogKind::Window), 1);
    EXPECT_FALSE(ArchiveSession::Instance().Engine()->InTransaction());

    // F9: a sale whose payment editor is cancelled first, then confirmed.
    dialogs.AnswerShownWindow([&](QDialog& window) {
        auto& till = static_cast<frmVendite&>(window);
        Idle();
        EXPECT_EQ(till.txtNumero->text(), QStringLiteral("1")) << "the empty sale gave its number back";
        PressKey(Qt::Key_F4); // no ticket this time
        ClickCell(*till.dgPortate, 0, 0);
        dialogs.AnswerSelection(water);
        PressKey(Qt::Key_Return);
        dialogs.AnswerRecordEditorCancel();
        Click(*till.cmdConfirm);
        EXPECT_EQ(till.txtNumero->text(), QStringLiteral("1")) << "the sale is still open";
        dialogs.AnswerRecordEditorOk();
        Click(*till.cmdConfirm);
        Click(*till.cmdCancel);
    });
    ASSERT_TRUE(BringToFront(main));
    PressShortcut(QKeySequence(Qt::Key_F9));
    EXPECT_EQ(dialogs.Count(DialogKind::Window), 2);
    EXPECT_EQ(tickets.Record().Count(TicketRecord::Call::Kind::EndTickets), 0);

    // A restart: the archive released and opened again.
    window.reset();
    ArchiveSession::Instance().ReleaseDatabase();
    OpenWindow();
    auto receipts = Table(QStringLiteral("Ricevute"));
    ASSERT_EQ(receipts->RecordCount(), 1);
    EXPECT_EQ(receipts->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
    EXPECT_EQ(receipts->GetValue(QStringLiteral("TipoDocumento")).toString(), QStringLiteral("Preconto"));
    EXPECT_EQ(Table(QStringLiteral("PagamentiCliente"))->RecordCount(), 1) << "one payment, though the editor was cancelled once";
}

} // namespace
