// The grid tools of the main window used as a user uses them: menus opened
// and clicked, toolbar buttons pressed, cells and headers clicked, keys typed
// in the grid and in the search dialog, answers given in the dialogs.

#include "MainWindowFixture.h"

#include "app/DesktopOpener.h"
#include "browser/DateSelection.h"
#include "browser/HtmlExport.h"
#include "browser/LongOperation.h"
#include "browser/MainMenus.h"
#include "browser/frmReportPreview.h"
#include "browser/frmSearchText.h"
#include "browser/frmSetParamStat.h"
#include "component/ComplexFilter.h"
#include "component/Currency.h"
#include "component/DataExport.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "component/widgets/GridBinding.h"
#include "printing/TicketPrinters.h"
#include "printing/frmTicketPreview.h"
#include "support/UserInput.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

using UserInput::ChooseMenu;

class GridTools : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        CurrentDateSelection() = DateSelection();
        CurrentDateSelection().SelectAll();
        frmSetParamStat::ResetKept();
    }

    frmMain& Open()
    {
        frmMain& main = OpenWindow();
        // Every date, as after "Tutti" in the date menu.
        CurrentDateSelection().SelectAll();
        main.resize(1000, 700);
        EXPECT_TRUE(UserInput::BringToFront(main));
        return main;
    }

    static std::shared_ptr<DataObject> Table(const QString& name, const QString& criteria = {})
    {
        auto& session = ArchiveSession::Instance();
        return session.Database()->Tables().Item(name).OpenDataObject(session.Engine(), criteria);
    }

    static void AddCustomer(const QString& name, const QString& town, const QString& note = {})
    {
        Table(QStringLiteral("Clienti"))->AddRecord({QStringLiteral("Ragione_Sociale"), name, QStringLiteral("Comune"), town,
                                                     QStringLiteral("Note"), note});
    }

    static void AddReceipt(const QDateTime& when, double amount, const QString& customer = QStringLiteral("Cliente generico"))
    {
        Table(QStringLiteral("Ricevute"))->AddRecord({QStringLiteral("Cliente"), customer, QStringLiteral("Data"), when,
                                                      QStringLiteral("TipoDocumento"), QStringLiteral("Ricevuta fiscale"),
                                                      QStringLiteral("Importo_Ricevuta"),
                                                      QVariant::fromValue(Currency::FromDouble(amount))});
    }

    void AddTownsfolk()
    {
        AddCustomer(QStringLiteral("D'Angelo Mario"), QStringLiteral("Pisa"));
        AddCustomer(QStringLiteral("Rossi Anna"), QStringLiteral("Pisa"));
        AddCustomer(QStringLiteral("Bianchi Luca"), QStringLiteral("Lucca"));
        AddCustomer(QStringLiteral("a = b snc"), QStringLiteral("Pisa"));
        AddCustomer(QString::fromUtf8("Caffè Società"), QStringLiteral("Livorno"), QStringLiteral("[promo] 10%"));
    }

    static void Show(frmMain& main, const QString& section)
    {
        UserInput::ClickTreeItem(*main.TreeView(), section);
        ASSERT_FALSE(main.GridView()->isHidden()) << section.toStdString();
        ASSERT_TRUE(UserInput::BringToFront(main));
    }

    static int Rows(frmMain& main) { return main.Grid().Model().rowCount(); }
    static int Column(frmMain& main, const QString& field) { return main.Grid().Model().ColumnOfField(field); }

    static QString Cell(frmMain& main, int row, const QString& field)
    {
        const auto& model = main.Grid().Model();
        return model.data(model.index(row, model.ColumnOfField(field))).toString();
    }

    static QStringList ColumnTexts(frmMain& main, const QString& field)
    {
        QStringList texts;
        for (int row = 0; row < Rows(main); ++row)
            texts.append(Cell(main, row, field));
        return texts;
    }

    // The row showing a value in a column, or -1.
    static int RowOf(frmMain& main, const QString& field, const QString& text)
    {
        return int(ColumnTexts(main, field).indexOf(text));
    }

    static void WaitForDeferredCommand(frmMain& main)
    {
        EXPECT_TRUE(QTest::qWaitFor([&main] { return !main.tmFunc().IsPending() && !main.tmFunc().IsBusy(); }, 2000));
    }

    // The column-value dialog answered as a user: the text typed over what
    // is proposed, F2 for "Intern." when asked, then Enter (or F3, Esc).
    static std::function<int(QDialog&)> Type(const QString& text, bool f2 = false, Qt::Key confirm = Qt::Key_Return,
                                             std::function<void(frmSearchText&)> look = {})
    {
        return [=](QDialog& window) {
            auto& dialog = static_cast<frmSearchText&>(window);
            if (look)
                look(dialog);
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            dialog.activateWindow();
            dialog.txtSearch->setFocus();
            UserInput::TypeText(text);
            if (f2)
                QTest::keyClick(dialog.txtSearch, Qt::Key_F2);
            QTest::keyClick(dialog.txtSearch, confirm);
            // The window system gives the activation back to the owner.
            if (QWidget* owner = dialog.parentWidget()) {
                EXPECT_TRUE(UserInput::BringToFront(*owner->window()));
            }
            return dialog.result();
        };
    }

    // The first text of an error report's question, as the user reads it.
    static bool IsErrorReport(const DialogCall& call, const QString& lead)
    {
        return call.kind == DialogKind::MessageBox && call.text.startsWith(lead)
               && call.text.endsWith(QStringLiteral("Visualizzare dettagli ?"));
    }
};

TEST_F(GridTools, ColumnFiltersComeFromTheMenusAndShowInTheStatusBar)
{
    frmMain& main = Open();
    AddTownsfolk();
    Show(main, QStringLiteral("Clienti"));
    ASSERT_EQ(Rows(main), 6);

    dialogs.AnswerWindow(Type(QStringLiteral("D'Angelo"), false, Qt::Key_Return, [](frmSearchText& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Filtra"));
        EXPECT_EQ(dialog.lblFieldName->text(), QStringLiteral("Ragione_Sociale"));
        EXPECT_TRUE(dialog.cmdNext->isHidden()) << "a filter has no next match";
    }));
    ChooseMenu(main, {"&Dati", "&Filtra", "Filtra colonna", "Ragione_Sociale"});
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")), QStringList{QStringLiteral("D'Angelo Mario")});
    EXPECT_EQ(main.StatusMsg(), QStringLiteral("Attivato filtro (Ragione_Sociale = 'D'Angelo*')"));
    EXPECT_TRUE(main.ToolButton(QStringLiteral("Filter"))->isChecked());
    QAction* byName = main.Action(QStringLiteral("mnuFilterItems(1)"));
    EXPECT_EQ(byName->text(), QStringLiteral("Ragione_Sociale = 'D'Angelo*'"));
    EXPECT_TRUE(byName->isChecked());

    // A second column, "contains" ticked with F2.
    const int town = int(main.ColumnFilterState().IndexOf(QStringLiteral("Comune"))) + 1;
    ASSERT_GT(town, 1);
    dialogs.AnswerWindow(Type(QStringLiteral("is"), true));
    ChooseMenu(main, {"&Dati", "&Filtra", "Filtra colonna", "Comune"});
    EXPECT_EQ(main.StatusMsg(), QStringLiteral("Attivato filtro (Ragione_Sociale = 'D'Angelo*' AND Comune = '*is*')"));
    EXPECT_EQ(main.CurrentDataObject()->Filter(),
              QStringLiteral("Ragione_Sociale Like 'D''Angelo*' AND Comune Like '*is*'"));
    EXPECT_EQ(Rows(main), 1);

    // Esc on the filtered column takes its condition away; the other stays.
    dialogs.AnswerWindow(Type(QString(), false, Qt::Key_Escape));
    ChooseMenu(main, {"&Dati", "&Filtra", "Filtra colonna", "Ragione_Sociale = 'D'Angelo*'"});
    EXPECT_EQ(main.StatusMsg(), QStringLiteral("Attivato filtro (Comune = '*is*')"));
    EXPECT_FALSE(byName->isChecked());
    EXPECT_EQ(byName->text(), QStringLiteral("Ragione_Sociale"));
    EXPECT_EQ(Rows(main), 3);

    // " = " in the text is the user's, not the filter's.
    dialogs.AnswerWindow(Type(QStringLiteral("a = b")));
    ChooseMenu(main, {"&Dati", "&Filtra", "Filtra colonna", "Ragione_Sociale"});
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")), QStringList{QStringLiteral("a = b snc")});

    // Ordering, then cancelling every filter: the order stays.
    UserInput::ClickHeader(*main.GridView()->horizontalHeader(), Column(main, QStringLiteral("Ragione_Sociale")));
    EXPECT_EQ(main.CurrentDataObject()->Sort(), QStringLiteral("Ragione_Sociale"));
    ChooseMenu(main, {"&Dati", "&Filtra", "&Annulla filtro"});
    EXPECT_EQ(Rows(main), 6);
    EXPECT_EQ(main.CurrentDataObject()->Sort(), QStringLiteral("Ragione_Sociale"));
    EXPECT_EQ(main.StatusMsg(), QStringLiteral("Disattivato filtro"));
    EXPECT_FALSE(main.ToolButton(QStringLiteral("Filter"))->isChecked());
    EXPECT_EQ(main.Action(QStringLiteral("mnuFilterItems(1)"))->text(), QStringLiteral("Ragione_Sociale"));
    EXPECT_EQ(Cell(main, 0, QStringLiteral("Ragione_Sociale")), QStringLiteral("a = b snc"));
}

TEST_F(GridTools, FilterTextsWithBracketsPercentsStarsAndAccents)
{
    frmMain& main = Open();
    AddTownsfolk();
    Show(main, QStringLiteral("Clienti"));
    const auto filterNotes = [&](const QString& text, bool contains) {
        dialogs.AnswerWindow(Type(text, contains));
        UserInput::ClickCell(*main.GridView(), 0, Column(main, QStringLiteral("Note")));
        // Through the right click on a cell of the column, with its value proposed.
        UserInput::RightClickCell(*main.GridView(), 0, Column(main, QStringLiteral("Note")));
        UserInput::ChoosePopupEntry({"&Filtra colonna con stesso valore..."});
    };
    filterNotes(QStringLiteral("[promo"), false);
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")), QStringList{QString::fromUtf8("Caffè Società")});
    EXPECT_TRUE(dialogs.Calls().back().kind == DialogKind::Window) << "no error";
    ChooseMenu(main, {"&Dati", "&Filtra", "&Annulla filtro"});
    filterNotes(QStringLiteral("0%"), true);
    EXPECT_EQ(Rows(main), 1) << "a percent sign is looked for, not a wildcard";
    ChooseMenu(main, {"&Dati", "&Filtra", "&Annulla filtro"});

    // "Intern." is still ticked from the last time: F2 unticks it.
    dialogs.AnswerWindow(Type(QString::fromUtf8("caffè*tà"), true));
    ChooseMenu(main, {"&Dati", "&Filtra", "Filtra colonna", "Ragione_Sociale"});
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")), QStringList{QString::fromUtf8("Caffè Società")});
    EXPECT_EQ(main.StatusMsg(), QString::fromUtf8("Attivato filtro (Ragione_Sociale = 'caffè*tà*')"));
}

TEST_F(GridTools, AFilterOnACellValueMatchesAmountsAndDatesAsShown)
{
    frmMain& main = Open();
    const QDateTime noon(QDate(2026, 3, 5), QTime(12, 30));
    AddReceipt(noon, 12.5);
    AddReceipt(QDateTime(QDate(2026, 3, 5), QTime(20, 0)), 12.5);
    AddReceipt(noon, 7);
    AddReceipt(QDateTime(QDate(2026, 3, 6), QTime(12, 30)), 12.5);
    Show(main, QStringLiteral("Ricevute"));
    ASSERT_EQ(Rows(main), 4);
    const int amount = Column(main, QStringLiteral("Importo_Ricevuta"));
    const int date = Column(main, QStringLiteral("Data"));
    const int first = RowOf(main, QStringLiteral("Data"), QStringLiteral("05/03/2026 12:30:00"));
    ASSERT_GE(first, 0);
    const int row = Cell(main, first, QStringLiteral("Importo_Ricevuta")) == QStringLiteral("12,50") ? first : first + 1;
    ASSERT_EQ(Cell(main, row, QStringLiteral("Importo_Ricevuta")), QStringLiteral("12,50"));

    UserInput::RightClickCell(*main.GridView(), row, amount);
    UserInput::ChoosePopupEntry({"&Filtra colonna con stesso valore..."});
    EXPECT_EQ(Rows(main), 3);
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Importo_Ricevuta")),
              (QStringList{QStringLiteral("12,50"), QStringLiteral("12,50"), QStringLiteral("12,50")}));
    EXPECT_TRUE(main.Action(QStringLiteral("mnuFilterComplex"))->isChecked());
    EXPECT_FALSE(main.Action(QStringLiteral("mnuFilterShort"))->isEnabled());
    EXPECT_TRUE(main.ToolButton(QStringLiteral("Filter"))->isChecked());

    const int noonRow = RowOf(main, QStringLiteral("Data"), QStringLiteral("05/03/2026 12:30:00"));
    UserInput::RightClickCell(*main.GridView(), noonRow, date);
    UserInput::ChoosePopupEntry({"&Filtra colonna con stesso valore..."});
    EXPECT_EQ(Rows(main), 1) << "both conditions: 12,50 on 5 March at 12:30";

    UserInput::RightClickCell(*main.GridView(), 0, date);
    UserInput::ChoosePopupEntry({"&Annulla filtro colonna"});
    EXPECT_EQ(Rows(main), 3);
    UserInput::RightClickCell(*main.GridView(), 0, amount);
    UserInput::ChoosePopupEntry({"Annulla &tutti i filtri"});
    EXPECT_EQ(Rows(main), 4);
    EXPECT_TRUE(main.Action(QStringLiteral("mnuFilterShort"))->isEnabled());
    EXPECT_FALSE(main.Action(QStringLiteral("mnuFilterComplex"))->isChecked());
}

TEST_F(GridTools, ADateCellShowsItsTimeWhole)
{
    frmMain& main = Open();
    AddReceipt(QDateTime(QDate(2026, 12, 28), QTime(23, 58, 58)), 12.5);
    Show(main, QStringLiteral("Ricevute"));
    ASSERT_EQ(Rows(main), 1);
    const QString shown = Cell(main, 0, QStringLiteral("Data"));
    ASSERT_EQ(shown, QStringLiteral("28/12/2026 23:58:58"));
    QTableView& grid = *main.GridView();
    const QRect cell = grid.visualRect(main.Grid().Model().index(0, Column(main, QStringLiteral("Data"))));
    EXPECT_GE(cell.width(), grid.fontMetrics().horizontalAdvance(shown) + 4)
        << "the time the filter on the cell's value matches is seen, not elided";
}

TEST_F(GridTools, TheComplexFilterAndItsSavedFilters)
{
    frmMain& main = Open();
    AddTownsfolk();
    {
        auto saved = ArchiveSession::Instance().Database()->Tables().Item(QStringLiteral("Clienti")).CreateComplexFilter();
        saved->AddCondition(QStringLiteral("Comune"), QStringLiteral("Lucca"));
        saved->Save(QStringLiteral("Lucchesi"));
    }
    Show(main, QStringLiteral("Clienti"));
    ASSERT_EQ(main.Menus().ArrayElements(QStringLiteral("mnuFilterComplexItems")).size(), 1);

    dialogs.AnswerComplexFilter([](ComplexFilter& filter) {
        filter.AddCondition(QStringLiteral("Comune"), QStringLiteral("Pisa"));
        return true;
    });
    UserInput::PressShortcut(QKeySequence(Qt::CTRL | Qt::Key_F3));
    WaitForDeferredCommand(main);
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("FILTRO COMPLESSO"));
    EXPECT_EQ(main.CurrentDataObject()->Filter(), QStringLiteral("Comune = 'Pisa'"));
    EXPECT_EQ(Rows(main), 3);
    EXPECT_TRUE(main.Action(QStringLiteral("mnuFilterComplex"))->isChecked());

    // A saved filter opens the dialog on its conditions.
    dialogs.AnswerComplexFilter([](ComplexFilter& filter) {
        EXPECT_EQ(filter.Render(), QStringLiteral("Comune = 'Lucca'"));
        return true;
    });
    ChooseMenu(main, {"&Dati", "&Filtra", "Lucchesi"});
    WaitForDeferredCommand(main);
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")), QStringList{QStringLiteral("Bianchi Luca")});

    // Deleted meanwhile: said so, nothing changes.
    main.ComplexFilterObject()->Delete(QStringLiteral("Lucchesi"));
    dialogs.AnswerMessage(MsgResult::Ok);
    ChooseMenu(main, {"&Dati", "&Filtra", "Lucchesi"});
    WaitForDeferredCommand(main);
    EXPECT_EQ(dialogs.LastCall().text, QString::fromUtf8("Un filtro con questo nome non è presente!"));
    EXPECT_EQ(dialogs.LastCall().buttons, MsgButtons::Ok);
    EXPECT_EQ(Rows(main), 1);

    // Emptied in the dialog: the complex filter is off.
    dialogs.AnswerComplexFilter([](ComplexFilter& filter) {
        filter.Clear();
        return true;
    });
    ChooseMenu(main, {"&Dati", "&Filtra", "Imposta &filtro complesso..."});
    WaitForDeferredCommand(main);
    EXPECT_EQ(Rows(main), 6);
    EXPECT_FALSE(main.Action(QStringLiteral("mnuFilterComplex"))->isChecked());
    EXPECT_TRUE(main.Action(QStringLiteral("mnuFilterShort"))->isEnabled());
    EXPECT_TRUE(main.Menus().ArrayElements(QStringLiteral("mnuFilterComplexItems")).isEmpty()) << "rebuilt from the archive";
}

TEST_F(GridTools, HeaderClicksToggleTheOrderAndTheCombinedOrderIsKept)
{
    frmMain& main = Open();
    AddTownsfolk();
    Show(main, QStringLiteral("Clienti"));
    QHeaderView& header = *main.GridView()->horizontalHeader();
    const int name = Column(main, QStringLiteral("Ragione_Sociale"));
    UserInput::ClickHeader(header, name);
    EXPECT_EQ(main.CurrentDataObject()->Sort(), QStringLiteral("Ragione_Sociale"));
    EXPECT_EQ(Cell(main, 0, QStringLiteral("Ragione_Sociale")), QStringLiteral("a = b snc"));
    UserInput::ClickHeader(header, name);
    EXPECT_EQ(main.CurrentDataObject()->Sort(), QStringLiteral("Ragione_Sociale DESC"));
    EXPECT_EQ(Cell(main, 0, QStringLiteral("Ragione_Sociale")), QStringLiteral("Rossi Anna"));
    EXPECT_EQ(header.sortIndicatorOrder(), Qt::DescendingOrder);
    UserInput::ClickHeader(header, name);
    EXPECT_EQ(main.CurrentDataObject()->Sort(), QStringLiteral("Ragione_Sociale ASC"));

    // The order menu, by right click on the header.
    UserInput::RightClickHeader(header, name);
    UserInput::ChoosePopupEntry({"Ordina colonna", "Comune"});
    EXPECT_EQ(main.CurrentDataObject()->Sort(), QStringLiteral("Comune"));

    dialogs.AnswerOrder(QStringLiteral("Comune, Ragione_Sociale DESC"));
    ChooseMenu(main, {"&Dati", "&Ordina", "&Ordinamento combinato..."});
    WaitForDeferredCommand(main);
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Ordinamento Complesso"));
    EXPECT_EQ(dialogs.LastCall().defaultText, QStringLiteral("Comune"));
    EXPECT_EQ(main.CurrentDataObject()->Sort(), QStringLiteral("Comune, Ragione_Sociale DESC"));
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")).mid(0, 2),
              (QStringList{QStringLiteral("Cliente generico"), QString::fromUtf8("Caffè Società")}))
        << "no town first, then Livorno";

    ChooseMenu(main, {"&Dati", "&Ordina", "&Annulla ordinamento"});
    EXPECT_EQ(main.CurrentDataObject()->Sort(), QString());
}

TEST_F(GridTools, SearchWithTheDialogF3AndTheNotFoundMessage)
{
    frmMain& main = Open();
    AddTownsfolk();
    AddCustomer(QStringLiteral("Rossetti Bruno"), QStringLiteral("Pisa"));
    Show(main, QStringLiteral("Clienti"));
    UserInput::ClickHeader(*main.GridView()->horizontalHeader(), Column(main, QStringLiteral("Ragione_Sociale")));

    // The "Find" button searches the default field at once.
    dialogs.AnswerWindow(Type(QStringLiteral("ro"), true, Qt::Key_Return, [](frmSearchText& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Cerca in"));
        EXPECT_EQ(dialog.lblFieldName->text(), QStringLiteral("Ragione Sociale"));
        EXPECT_EQ(dialog.chkInternal->text(), QStringLiteral(" [F2] &Intern."));
        EXPECT_EQ(dialog.chkInternal->toolTip(), QStringLiteral("Cerca anche all'interno delle stringhe"));
        EXPECT_EQ(dialog.cmdNext->text(), QStringLiteral("&Successivo [F3]"));
        EXPECT_FALSE(dialog.cmdNext->isHidden());
        EXPECT_TRUE(dialog.cmdOk->isDefault());
    }));
    UserInput::ClickToolButton(*main.Menus().ToolBar(), main.ToolButton(QStringLiteral("Find")));
    const QModelIndex found = main.GridView()->currentIndex();
    ASSERT_TRUE(found.isValid());
    EXPECT_EQ(Cell(main, found.row(), QStringLiteral("Ragione_Sociale")), QStringLiteral("Rossetti Bruno"))
        << "the first name holding \"ro\" in name order";
    EXPECT_EQ(main.SearchValues().rememberedField, QStringLiteral("Ragione Sociale"));
    EXPECT_TRUE(main.SearchValues().contains);

    // F3: the next match after the current row.
    UserInput::PressKey(Qt::Key_F3);
    EXPECT_EQ(Cell(main, main.GridView()->currentIndex().row(), QStringLiteral("Ragione_Sociale")), QStringLiteral("Rossi Anna"));

    // Not found: the message, the row stays.
    const int before = main.GridView()->currentIndex().row();
    dialogs.AnswerWindow(Type(QStringLiteral("zzz"), false, Qt::Key_Return, [](frmSearchText& dialog) {
        EXPECT_EQ(dialog.txtSearch->text(), QStringLiteral("ro")) << "the text proposed again for the same field";
        EXPECT_TRUE(dialog.cmdNext->isDefault());
    }));
    dialogs.AnswerMessage(MsgResult::Ok);
    ChooseMenu(main, {"&Dati", "&Cerca", "Ragione Sociale"});
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral(" 'zzz' non trovato"));
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Ricerca in Ragione Sociale"));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Information);
    EXPECT_EQ(main.GridView()->currentIndex().row(), before);

    // A one-letter text is looked for at the start whatever the box said.
    dialogs.AnswerWindow(Type(QStringLiteral("a"), true, Qt::Key_Return, [](frmSearchText& dialog) {
        EXPECT_TRUE(dialog.chkInternal->isChecked());
    }));
    ChooseMenu(main, {"&Dati", "&Cerca", "Ragione Sociale"});
    EXPECT_FALSE(main.SearchValues().contains);
    EXPECT_EQ(Cell(main, main.GridView()->currentIndex().row(), QStringLiteral("Ragione_Sociale")), QStringLiteral("a = b snc"));

    // After Esc, "next" opens the dialog rather than searching.
    dialogs.AnswerWindow(Type(QString(), false, Qt::Key_Escape));
    ChooseMenu(main, {"&Dati", "&Cerca", "Ragione Sociale"});
    dialogs.AnswerWindow(Type(QStringLiteral("Bia")));
    UserInput::PressKey(Qt::Key_F3);
    EXPECT_EQ(Cell(main, main.GridView()->currentIndex().row(), QStringLiteral("Ragione_Sociale")), QStringLiteral("Bianchi Luca"));

    // The "Find" button's list of fields: the search opens on the one chosen.
    dialogs.AnswerWindow(Type(QStringLiteral("Luc"), false, Qt::Key_Return, [](frmSearchText& dialog) {
        EXPECT_EQ(dialog.lblFieldName->text(), QStringLiteral("Comune"));
    }));
    QTimer::singleShot(0, [] { UserInput::ChoosePopupEntry({"Comune"}); });
    auto* find = qobject_cast<QToolButton*>(main.Menus().ToolBar()->widgetForAction(main.ToolButton(QStringLiteral("Find"))));
    ASSERT_NE(find, nullptr);
    QTest::mouseClick(find, Qt::LeftButton, {}, QPoint(find->width() - 4, find->height() / 2)); // its arrow
    EXPECT_EQ(Cell(main, main.GridView()->currentIndex().row(), QStringLiteral("Comune")), QStringLiteral("Lucca"));
    EXPECT_EQ(main.ToolButton(QStringLiteral("Find"))->property("Tag").toString(),
              QString::number(main.Menus().FindItems()->actions().indexOf(
                                  UserInput::FindMenuEntry(main.Menus().FindItems()->actions(), QStringLiteral("Comune"))) + 1));

    // A quote and an accent.
    dialogs.AnswerWindow(Type(QString::fromUtf8("d'a")));
    ChooseMenu(main, {"&Dati", "&Cerca", "Ragione Sociale"});
    EXPECT_EQ(Cell(main, main.GridView()->currentIndex().row(), QStringLiteral("Ragione_Sociale")), QStringLiteral("D'Angelo Mario"));
    dialogs.AnswerWindow(Type(QString::fromUtf8("società"), true));
    ChooseMenu(main, {"&Dati", "&Cerca", "Ragione Sociale"});
    EXPECT_EQ(Cell(main, main.GridView()->currentIndex().row(), QStringLiteral("Ragione_Sociale")),
              QString::fromUtf8("Caffè Società"));
}

TEST_F(GridTools, TypingInTheGridOpensTheSearchWithWhatWasTyped)
{
    frmMain& main = Open();
    AddTownsfolk();
    Show(main, QStringLiteral("Clienti"));
    UserInput::ClickCell(*main.GridView(), 0, 1);

    dialogs.AnswerWindow([](QDialog& window) {
        auto& dialog = static_cast<frmSearchText&>(window);
        EXPECT_EQ(dialog.lblFieldName->text(), QStringLiteral("Ragione Sociale"));
        EXPECT_EQ(dialog.txtSearch->text(), QStringLiteral("b")) << "the typed letter is not lost";
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.txtSearch->setFocus();
        QTest::keyClicks(dialog.txtSearch, QStringLiteral("ianchi"));
        QTest::keyClick(dialog.txtSearch, Qt::Key_Return);
        return dialog.result();
    });
    QTest::keyClicks(main.GridView(), QStringLiteral("b"));
    EXPECT_EQ(Cell(main, main.GridView()->currentIndex().row(), QStringLiteral("Ragione_Sociale")), QStringLiteral("Bianchi Luca"));
    EXPECT_EQ(dialogs.Count(DialogKind::Window), 1);

    // The accented vowels have keys of their own on an Italian keyboard: "è"
    // opens the search as "b" does, and reaches the box.
    QString seen;
    const auto look = [&seen](QDialog& window) {
        seen = static_cast<frmSearchText&>(window).txtSearch->text();
        return int(QDialog::Rejected);
    };
    dialogs.AnswerWindow(look).AnswerWindow(look);
    QTest::sendKeyEvent(QTest::Click, main.GridView(), Qt::Key_Egrave, QString::fromUtf8("è"), Qt::NoModifier);
    EXPECT_EQ(seen, QString::fromUtf8("è"));
    seen.clear();
    QKeyEvent egrave(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("è"));
    QApplication::sendEvent(main.GridView(), &egrave);
    EXPECT_EQ(dialogs.Count(DialogKind::Window), 3) << "both forms of the key open the search";
    EXPECT_EQ(seen, QString::fromUtf8("è"));
}

TEST_F(GridTools, TotalsAndAveragesOfTheFilteredRows)
{
    frmMain& main = Open();
    Table(QStringLiteral("Menu"))->AddRecord({QStringLiteral("Nome"), QStringLiteral("Tagliata"), QStringLiteral("Prezzo"),
                                              QStringLiteral("16,5"), QStringLiteral("Portata"), QStringLiteral("SECONDI")});
    Table(QStringLiteral("Menu"))->AddRecord({QStringLiteral("Nome"), QStringLiteral("Tiramisù"), QStringLiteral("Prezzo"),
                                              QStringLiteral("5"), QStringLiteral("Portata"), QStringLiteral("VARIE")});
    Show(main, QString::fromUtf8("Menù"));

    dialogs.AnswerMessage(MsgResult::Ok);
    ChooseMenu(main, {"&Strumenti", "&Totalizza", "Prezzo"});
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Totale < Prezzo >\r\r22,50")) << "Coperto 1,00 + 16,50 + 5,00";
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::None);
    EXPECT_EQ(dialogs.LastCall().title, QString());

    dialogs.AnswerWindow(Type(QStringLiteral("T")));
    ChooseMenu(main, {"&Dati", "&Filtra", "Filtra colonna", "Nome"});
    dialogs.AnswerMessage(MsgResult::Ok);
    ChooseMenu(main, {"&Strumenti", "&Media", "Prezzo"});
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Media < Prezzo >\r\r10,75"));

    // No rows left: reported, and the window goes on.
    dialogs.AnswerWindow(Type(QStringLiteral("zzz")));
    ChooseMenu(main, {"&Dati", "&Filtra", "Filtra colonna", "Nome = 'T*'"});
    ASSERT_EQ(Rows(main), 0);
    dialogs.AnswerMessage(MsgResult::No);
    ChooseMenu(main, {"&Strumenti", "&Media", "Prezzo"});
    EXPECT_TRUE(IsErrorReport(dialogs.LastCall(), QStringLiteral("Calcolo della media fallito: ")))
        << dialogs.LastCall().text.toStdString();
    dialogs.AnswerMessage(MsgResult::Ok);
    ChooseMenu(main, {"&Strumenti", "&Totalizza", "Prezzo"});
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Totale < Prezzo >\r\r0,00"));
}

TEST_F(GridTools, DeletingRowsTwoAndFourDeletesExactlyThose)
{
    frmMain& main = Open();
    for (const char* name : {"Anna", "Bruno", "Carla", "Dario", "Elena"})
        AddCustomer(QString::fromUtf8(name), QStringLiteral("Pisa"));
    Show(main, QStringLiteral("Clienti"));
    UserInput::ClickHeader(*main.GridView()->horizontalHeader(), Column(main, QStringLiteral("Ragione_Sociale")));
    ASSERT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")).mid(0, 5),
              (QStringList{"Anna", "Bruno", "Carla", "Cliente generico", "Dario"}));

    UserInput::ClickCell(*main.GridView(), 1, 1);
    UserInput::ClickCell(*main.GridView(), 4, 1, Qt::ControlModifier);
    dialogs.AnswerMessage(MsgResult::Ok);
    UserInput::PressKey(Qt::Key_Delete);
    EXPECT_EQ(dialogs.Calls().front().text, QStringLiteral("Confermi l'eliminazione dei dati selezionati ?"));
    EXPECT_EQ(dialogs.Calls().front().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(dialogs.Calls().front().icon, MsgIcon::Question);
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")),
              (QStringList{"Anna", "Carla", "Cliente generico", "Elena"}));

    // Cancel deletes nothing.
    UserInput::ClickCell(*main.GridView(), 0, 1);
    dialogs.AnswerMessage(MsgResult::Cancel);
    ChooseMenu(main, {"&Dati", "&Elimina"});
    EXPECT_EQ(Rows(main), 4);
}

TEST_F(GridTools, AShiftClickRangeStopsAtTheFirstRecordInUse)
{
    frmMain& main = Open();
    for (const char* name : {"Anna", "Bruno", "Dario"})
        AddCustomer(QString::fromUtf8(name), QStringLiteral("Pisa"));
    AddReceipt(QDateTime(QDate(2026, 3, 5), QTime(12, 0)), 10, QStringLiteral("Bruno"));
    Show(main, QStringLiteral("Clienti"));
    UserInput::ClickHeader(*main.GridView()->horizontalHeader(), Column(main, QStringLiteral("Ragione_Sociale")));
    UserInput::ClickCell(*main.GridView(), 0, 1);
    UserInput::ClickCell(*main.GridView(), 2, 1, Qt::ShiftModifier);
    EXPECT_EQ(main.GridView()->selectionModel()->selectedRows().size(), 3);

    dialogs.AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Ok);
    UserInput::ClickToolButton(*main.Menus().ToolBar(), main.ToolButton(QStringLiteral("Delete")));
    EXPECT_EQ(dialogs.LastCall().text, QString::fromUtf8("Non puoi eliminare i dati perchè risultano in uso..."));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")),
              (QStringList{"Bruno", "Cliente generico", "Dario"})) << "Anna went, Bruno stopped the rest";
    EXPECT_FALSE(MessageWindow().isVisible());

    // One row in use: the archive refuses it and says why.
    UserInput::ClickCell(*main.GridView(), 0, 1);
    dialogs.AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::No);
    ChooseMenu(main, {"&Dati", "&Elimina"});
    EXPECT_TRUE(IsErrorReport(dialogs.LastCall(), QStringLiteral("Eliminazione dati fallita: ")));
    EXPECT_EQ(Rows(main), 3);
}

TEST_F(GridTools, AMultiRowDeleteStoppedHalfWayKeepsWhatWasDeleted)
{
    frmMain& main = Open();
    for (const char* name : {"Anna", "Bruno", "Carla", "Dario"})
        AddCustomer(QString::fromUtf8(name), QStringLiteral("Pisa"));
    Show(main, QStringLiteral("Clienti"));
    UserInput::ClickHeader(*main.GridView()->horizontalHeader(), Column(main, QStringLiteral("Ragione_Sociale")));
    UserInput::ClickCell(*main.GridView(), 0, 1);
    UserInput::ClickCell(*main.GridView(), 3, 1, Qt::ShiftModifier); // Anna .. Cliente generico? no: Anna, Bruno, Carla, Cliente generico
    UserInput::ClickCell(*main.GridView(), 3, 1, Qt::ControlModifier); // not the generic customer
    UserInput::ClickCell(*main.GridView(), 4, 1, Qt::ControlModifier); // Dario
    ASSERT_EQ(main.GridView()->selectionModel()->selectedRows().size(), 4);

    // The user presses Stop once two records are gone, and confirms.
    auto customers = Table(QStringLiteral("Clienti"));
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* stop = MessageWindow().findChild<QPushButton*>(QStringLiteral("cmdStop"));
        if (stop && stop->isVisible() && customers->RecordCount() <= 3) {
            watcher.stop();
            stop->click();
        }
    });
    watcher.start();
    dialogs.AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::No);
    ChooseMenu(main, {"&Dati", "&Elimina"});
    EXPECT_EQ(dialogs.Calls().at(1).text, QStringLiteral("Confermi l'interruzione ?"));
    EXPECT_TRUE(IsErrorReport(dialogs.LastCall(), QStringLiteral("Eliminazione dati fallita: ")));
    EXPECT_EQ(ColumnTexts(main, QStringLiteral("Ragione_Sociale")),
              (QStringList{"Carla", "Cliente generico", "Dario"}));
    EXPECT_FALSE(MessageWindow().isVisible());
    EXPECT_TRUE(main.isEnabled());
}

TEST_F(GridTools, ListSectionsRefuseNewAndDeleteWithABeep)
{
    frmMain& main = Open();
    AddTownsfolk();
    Show(main, QStringLiteral("Lista Clienti"));
    UserInput::ClickCell(*main.GridView(), 0, 1);
    UserInput::PressKey(Qt::Key_Delete);
    ChooseMenu(main, {"&Dati", "&Nuovo..."});
    EXPECT_EQ(dialogs.Beeps(), 2);
    EXPECT_EQ(dialogs.Calls().size(), 2u) << "no question asked";
    EXPECT_EQ(Rows(main), 6);
}

TEST_F(GridTools, NewAndEditUseTheRecordEditor)
{
    frmMain& main = Open();
    AddTownsfolk();
    Show(main, QStringLiteral("Clienti"));
    dialogs.AnswerRecordEditor([](DataObject& record) {
        record.SetValue(QStringLiteral("Ragione_Sociale"), QStringLiteral("Nuovo Cliente"));
        return true;
    });
    UserInput::ClickToolButton(*main.Menus().ToolBar(), main.ToolButton(QStringLiteral("New")));
    EXPECT_TRUE(dialogs.LastCall().newRecord);
    EXPECT_EQ(Rows(main), 7);
    EXPECT_GE(RowOf(main, QStringLiteral("Ragione_Sociale"), QStringLiteral("Nuovo Cliente")), 0);

    // A double click edits the row clicked.
    const int row = RowOf(main, QStringLiteral("Ragione_Sociale"), QStringLiteral("Bianchi Luca"));
    dialogs.AnswerRecordEditor([](DataObject& record) {
        EXPECT_EQ(record.GetValue(QStringLiteral("Ragione_Sociale")).toString(), QStringLiteral("Bianchi Luca"));
        record.SetValue(QStringLiteral("Comune"), QStringLiteral("Viareggio"));
        return true;
    });
    UserInput::DoubleClickCell(*main.GridView(), row, 1);
    EXPECT_FALSE(dialogs.LastCall().newRecord);
    EXPECT_EQ(Cell(main, row, QStringLiteral("Comune")), QStringLiteral("Viareggio"));

    // Enter in the grid edits too; cancelling stores nothing.
    dialogs.AnswerRecordEditor([](DataObject& record) {
        record.SetValue(QStringLiteral("Comune"), QStringLiteral("Roma"));
        return false;
    });
    UserInput::PressKey(Qt::Key_Return);
    EXPECT_EQ(dialogs.Count(DialogKind::RecordEditor), 3);
    EXPECT_EQ(Cell(main, row, QStringLiteral("Comune")), QStringLiteral("Viareggio"));
}

TEST_F(GridTools, ReprintPrintsTheReceiptOfTheSelectedRow)
{
    frmMain& main = Open();
    for (int i = 1; i <= 3; ++i)
        AddReceipt(QDateTime(QDate(2026, 3, i), QTime(12, 0)), 10 * i);
    Show(main, QStringLiteral("Ricevute"));
    UserInput::ClickCell(*main.GridView(), 1, 1);
    const QString number = Cell(main, 1, QStringLiteral("Numero"));
    ScopedTicketPrinter printer;
    Settings().Ticket.VBScript = QStringLiteral(
        "Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)\r\n"
        "  prn.TxtOut 10, 10, \"Ricevuta \" & flds(\"Numero\") & \" \" & FormatNumber(flds(\"Importo_Ricevuta\"), 2)\r\n"
        "  PrintTicketMask = True\r\nEnd Function\r\n"
        "Function PrintTicketRow(flds, prn, nRow)\r\n  PrintTicketRow = True\r\nEnd Function\r\n");

    dialogs.AnswerMessage(MsgResult::No);
    ChooseMenu(main, {"&Dati", "&Stampa dati", "&Ristampa ricevuta"});
    EXPECT_EQ(dialogs.Beeps(), 1);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Confermi la ristampa della ricevuta ?"));
    EXPECT_EQ(dialogs.LastCall().buttons, MsgButtons::YesNo);
    EXPECT_TRUE(printer.Record().lines.isEmpty()) << "No prints nothing";

    dialogs.AnswerMessage(MsgResult::Yes);
    ChooseMenu(main, {"&Dati", "&Stampa dati", "&Ristampa ricevuta"});
    EXPECT_TRUE(printer.Record().lines.join(u'\n').contains(QStringLiteral("Ricevuta %1 20,00").arg(number)))
        << "the selected row's receipt: " << printer.Record().lines.join(u'\n').toStdString();
}

// The text of a PDF.
QString PdfText(const QString& path)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    tool.waitForFinished(20000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

TEST_F(GridTools, PrintPreviewAndExportOfAList)
{
    frmMain& main = Open();
    for (int i = 0; i < 120; ++i)
        AddCustomer(QStringLiteral("Cliente %1").arg(i, 3, 10, QLatin1Char('0')), i % 2 ? QStringLiteral("Pisa") : QStringLiteral("Lucca"));
    Show(main, QStringLiteral("Lista Clienti"));
    dialogs.AnswerWindow(Type(QStringLiteral("Pisa")));
    ChooseMenu(main, {"&Dati", "&Filtra", "Filtra colonna", "Comune"});
    ASSERT_EQ(Rows(main), 60);

    // F8 prints: the print dialog, then every page to the chosen printer.
    const QString printed = dir.filePath(QStringLiteral("stampa.pdf"));
    dialogs.AnswerPrint([&printed](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    });
    UserInput::PressKey(Qt::Key_F8);
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::PrintDialog);
    const QString text = PdfText(printed);
    EXPECT_TRUE(text.contains(QStringLiteral("Clienti")));
    EXPECT_TRUE(text.contains(QStringLiteral("Cliente 001")));
    EXPECT_FALSE(text.contains(QStringLiteral("Cliente 000"))) << "only the filtered rows";
    EXPECT_TRUE(text.contains(QStringLiteral("Pag. 2/2")));

    // The preview: pages, navigation, zoom.
    dialogs.AnswerWindow([](QDialog& window) {
        auto& preview = static_cast<frmReportPreview&>(window);
        EXPECT_EQ(preview.PageCount(), 2);
        EXPECT_EQ(preview.CurrentPage(), 0);
        EXPECT_EQ(preview.Preview()->pageCount(), 2);
        preview.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&preview));
        UserInput::ClickToolButton(*preview.ToolBar(), preview.Command(QStringLiteral("cmdNext")));
        EXPECT_EQ(preview.CurrentPage(), 1);
        EXPECT_EQ(preview.PageBox()->value(), 2);
        EXPECT_FALSE(preview.Command(QStringLiteral("cmdNext"))->isEnabled());
        const qreal zoom = preview.Preview()->zoomFactor();
        UserInput::ClickToolButton(*preview.ToolBar(), preview.Command(QStringLiteral("cmdZoomIn")));
        EXPECT_GT(preview.Preview()->zoomFactor(), zoom);
        UserInput::ClickToolButton(*preview.ToolBar(), preview.Command(QStringLiteral("cmdClose")));
        return preview.result();
    });
    ChooseMenu(main, {"&Dati", "&Stampa dati", "&Anteprima..."});
    EXPECT_EQ(dialogs.LastCall().window, QStringLiteral("frmReportPreview"));
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Anteprima di stampa - Clienti"));

    // Export to PDF, replacing an older file only when the user agrees.
    const QString exported = dir.filePath(QStringLiteral("Clienti.pdf"));
    QFile old(exported);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("vecchio");
    old.close();
    dialogs.AnswerSaveFile(exported).AnswerMessage(MsgResult::No);
    ChooseMenu(main, {"&Dati", "&Stampa dati", "&Esporta stampa"});
    EXPECT_EQ(QFileInfo(exported).size(), 7);
    dialogs.AnswerSaveFile(exported).AnswerMessage(MsgResult::Yes);
    ChooseMenu(main, {"&Dati", "&Stampa dati", "&Esporta stampa"});
    EXPECT_TRUE(PdfText(exported).contains(QStringLiteral("Pag. 1/2")));
}

TEST_F(GridTools, InTheReceiptsSectionTheReportCommandsPreviewTheTicket)
{
    frmMain& main = Open();
    for (int i = 1; i <= 2; ++i)
        AddReceipt(QDateTime(QDate(2026, 3, i), QTime(12, 0)), 10 * i);
    Settings().Ticket.VBScript = QStringLiteral(
        "Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)\r\n"
        "  prn.TxtOut 10, 10, \"Totale \" & FormatNumber(flds(\"Importo_Ricevuta\"), 2)\r\n"
        "  PrintTicketMask = True\r\nEnd Function\r\n"
        "Function PrintTicketRow(flds, prn, nRow)\r\n  PrintTicketRow = True\r\nEnd Function\r\n");
    Show(main, QStringLiteral("Ricevute"));
    UserInput::ClickCell(*main.GridView(), 1, 1);
    for (const char* command : {"&Stampa", "&Anteprima...", "&Esporta stampa"}) {
        QStringList texts;
        dialogs.AnswerWindow([&texts](QDialog& window) {
            for (const TicketOp& op : static_cast<frmTicketPreview&>(window).Ops())
                if (op.kind == TicketOp::Kind::Text)
                    texts.append(op.text);
            return int(QDialog::Rejected);
        });
        ChooseMenu(main, {"&Dati", "&Stampa dati", command});
        EXPECT_EQ(dialogs.LastCall().window, QStringLiteral("frmTicketPreview")) << command;
        EXPECT_EQ(texts, QStringList{QStringLiteral("Totale 20,00")}) << command;
    }
}

TEST_F(GridTools, ATableWithoutAListSaysSo)
{
    frmMain& main = Open();
    UserInput::ClickTreeItem(*main.TreeView(), QStringLiteral("Tipi Pagamento"));
    dialogs.AnswerMessage(MsgResult::Ok);
    UserInput::PressKey(Qt::Key_F8);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Nessun report di stampa disponibile per <TipiPagamento>"));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Information);
}

TEST_F(GridTools, ExportsToAFileAndToTheBrowser)
{
    frmMain& main = Open();
    AddTownsfolk();
    Show(main, QStringLiteral("Clienti"));
    const QString csv = dir.filePath(QStringLiteral("clienti.csv"));
    dialogs.AnswerExport(DataExport::Csv, csv);
    UserInput::ClickToolButton(*main.Menus().ToolBar(), main.ToolButton(QStringLiteral("Save")));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "UTF-8, marked for spreadsheets";
    const QString content = QString::fromUtf8(bytes);
    EXPECT_TRUE(content.contains(QString::fromUtf8("Caffè Società;")));
    EXPECT_FALSE(MessageWindow().isVisible());

    QList<QUrl> opened;
    ScopedDesktopOpener opener([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    HtmlExport::ScopedFolder folder(dir.path());
    ChooseMenu(main, {"&Dati", "&Web Browser..."});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(dir.filePath(QStringLiteral("TableData.htm"))));
    QFile page(dir.filePath(QStringLiteral("TableData.htm")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains(QStringLiteral("D'Angelo Mario")));

    // A browser that cannot be started is reported.
    ScopedDesktopOpener failing([](const QUrl&) { return false; });
    dialogs.AnswerMessage(MsgResult::No);
    ChooseMenu(main, {"&Dati", "&Web Browser..."});
    EXPECT_TRUE(IsErrorReport(dialogs.LastCall(), QStringLiteral("Esportazione dati fallita: ")));
}

TEST_F(GridTools, RelatedItemsOfAReceiptOpenInTheDataWindow)
{
    frmMain& main = Open();
    AddCustomer(QStringLiteral("Rossi Anna"), QStringLiteral("Pisa"));
    AddReceipt(QDateTime(QDate(2026, 3, 5), QTime(12, 0)), 12, QStringLiteral("Rossi Anna"));
    Show(main, QStringLiteral("Ricevute"));

    QStringList captions;
    for (const QString& array : {QStringLiteral("mnuRefItem"), QStringLiteral("mnuContItem"), QStringLiteral("mnuReferencedItem")}) {
        captions.append(main.Action(array + QStringLiteral("(0)"))->text());
        for (QAction* entry : main.Menus().ArrayElements(array))
            captions.append(entry->text() + u'=' + entry->data().toString());
    }
    EXPECT_EQ(captions, (QStringList{QStringLiteral("< Riferimenti >"), QStringLiteral("Tipi Documento (TipoDocumento)=1"),
                                     QStringLiteral("Clienti (Cliente)=2"), QStringLiteral("Righe Ricevute (Righe)=3"),
                                     QStringLiteral("Pagamenti del Cliente (Pagamento)=4"), QStringLiteral("< Contenitori >"),
                                     QStringLiteral("< Associati >"), QStringLiteral("TipoDocumento=1"),
                                     QStringLiteral("Cliente=2"), QStringLiteral("Righe=3"), QStringLiteral("Pagamento=4")}));
    EXPECT_FALSE(main.Action(QStringLiteral("mnuContItem(0)"))->isVisible()) << "no table contains receipts";

    // The row selector's right click, then a relation: after the menu has closed.
    UserInput::ClickRowHeader(*main.GridView(), 0, Qt::NoModifier, Qt::RightButton);
    dialogs.AnswerDataWindow([](DataObject& customers) {
        EXPECT_EQ(customers.TableName(), QStringLiteral("Clienti"));
        EXPECT_EQ(customers.RecordCount(), 1);
        EXPECT_EQ(customers.GetValue(QStringLiteral("Ragione_Sociale")).toString(), QStringLiteral("Rossi Anna"));
    });
    UserInput::ChoosePopupEntry({"Clienti (Cliente)"});
    WaitForDeferredCommand(main);
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Clienti (Cliente)"));

    // The reference opens its record in the editor; the toolbar button pops the menu up.
    dialogs.AnswerRecordEditorCancel();
    UserInput::ClickToolButton(*main.Menus().ToolBar(), main.ToolButton(QStringLiteral("Related")));
    UserInput::ChoosePopupEntry({"Cliente"});
    WaitForDeferredCommand(main);
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::RecordEditor);
    EXPECT_EQ(dialogs.LastCall().table, QStringLiteral("Clienti"));

    // From the customers' section: the receipts that name the customer.
    Show(main, QStringLiteral("Clienti"));
    const int rossi = RowOf(main, QStringLiteral("Ragione_Sociale"), QStringLiteral("Rossi Anna"));
    UserInput::ClickCell(*main.GridView(), rossi, 1);
    dialogs.AnswerDataWindow([](DataObject& receipts) {
        EXPECT_EQ(receipts.TableName(), QStringLiteral("Ricevute"));
        EXPECT_EQ(receipts.RecordCount(), 1);
    });
    ChooseMenu(main, {"&Dati", "Dati &associati", "Ricevute con stesso Cliente"});
    WaitForDeferredCommand(main);
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::DataWindow);
}

TEST_F(GridTools, ALongSearchShowsTheMessageWindowAndCanBeStopped)
{
    frmMain& main = Open();
    ArchiveSession::Instance().Engine()->BeginTransaction();
    for (int i = 0; i < 3000; ++i)
        AddCustomer(QStringLiteral("Cliente %1").arg(i), QStringLiteral("Pisa"), QStringLiteral("nota %1").arg(i));
    ArchiveSession::Instance().Engine()->CommitTransaction();
    Show(main, QStringLiteral("Clienti"));
    LongOperation::ScopedDelay atOnce(0);
    bool shown = false;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* stop = MessageWindow().findChild<QPushButton*>(QStringLiteral("cmdStop"));
        if (MessageWindow().isVisible() && stop && stop->isVisible()) {
            shown = true;
            watcher.stop();
            stop->click();
        }
    });
    watcher.start();
    dialogs.AnswerWindow(Type(QString::fromUtf8("è assente"), true)).AnswerMessage(MsgResult::Yes);
    ChooseMenu(main, {"&Dati", "&Cerca", "Note"});
    EXPECT_TRUE(shown);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Confermi l'interruzione ?"));
    EXPECT_FALSE(MessageWindow().isVisible());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(main.GridView()->updatesEnabled());
}

} // namespace
