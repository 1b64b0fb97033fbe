// Loading a section's view in the main window: date and month selections,
// the period lists, preset selections, refresh keeping order and record,
// per-field menus, and grid layouts kept per table.

#include "MainWindowFixture.h"

#include "browser/DateSelection.h"
#include "browser/MainMenus.h"
#include "browser/PeriodSelection.h"
#include "browser/SectionTree.h"
#include "browser/frmDateSetting.h"
#include "browser/frmSetParamStat.h"
#include "component/ComplexFilter.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/GridLayout.h"
#include "component/Table.h"
#include "support/UserInput.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>

namespace {

class ViewLoading : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        CurrentDateSelection() = DateSelection();
        frmSetParamStat::ResetKept();
    }

    frmMain& Open()
    {
        frmMain& main = OpenWindow();
        auto& session = ArchiveSession::Instance();
        auto receipts = session.Database()->Tables().Item(QStringLiteral("Ricevute")).OpenDataObject(session.Engine());
        const QList<QDateTime> dates = {QDateTime(QDate(2026, 3, 1), QTime(12, 0)), QDateTime(QDate(2026, 3, 31), QTime(23, 30)),
                                        QDateTime(QDate(2026, 4, 1), QTime(9, 0)), QDateTime::currentDateTime()};
        for (const QDateTime& when : dates)
            receipts->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Cliente generico"), QStringLiteral("Data"), when,
                                 QStringLiteral("TipoDocumento"), QStringLiteral("Ricevuta fiscale")});
        EXPECT_TRUE(UserInput::BringToFront(main));
        return main;
    }

    // A section chosen with a click on its tree item.
    static void Select(frmMain& main, int index) { UserInput::ClickTreeItem(*main.TreeView(), NodeAt(*main.TreeView(), index)); }

    // The view's menu entries, chosen through the menu bar.
    static void Refresh(frmMain& main) { UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Aggiorna")}); }
    static void ChooseDates(frmMain& main, const QString& entry)
    {
        UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), main.Action(QStringLiteral("mnuSelection"))->text(), entry});
    }

    static QStringList Tags(frmMain& main, const QString& array)
    {
        QStringList tags;
        for (QAction* action : main.Menus().ArrayElements(array))
            tags.append(action->data().toString());
        return tags;
    }
};

TEST_F(ViewLoading, ReceiptsStartWithTodayAndFollowTheDateSelection)
{
    frmMain& main = Open();
    Select(main, 5);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(main.CurrentDataObject()->Criteria(),
              QStringLiteral("Data >= #%1# AND Data < #%2#").arg(today.toString(QStringLiteral("MM/dd/yyyy")), today.addDays(1).toString(QStringLiteral("MM/dd/yyyy"))));
    EXPECT_EQ(main.CurrentDataObject()->RecordCount(), 1);
    EXPECT_FALSE(main.DateButton()->isHidden());
    EXPECT_TRUE(main.DateButton()->text().startsWith(QStringLiteral("Ricevuta  < ")));
    EXPECT_TRUE(main.Action(QStringLiteral("mnuSelDate"))->isChecked());
    EXPECT_TRUE(main.Action(QStringLiteral("mnuFiscalPrint"))->isEnabled());

    // March 2026 by month, chosen in the date window.
    dialogs.AnswerWindow([](QDialog& w) {
        auto& window = static_cast<frmDateSetting&>(w);
        window.calTimeSetting->setSelectedDate(QDate(2026, 3, 10));
        window.cmdSetting->click();
        return window.result();
    });
    ChooseDates(main, QStringLiteral("Imposta &Mese..."));
    EXPECT_EQ(main.CurrentDataObject()->Criteria(), QStringLiteral("Month(Data) = 3 AND Year(Data) = 2026"));
    EXPECT_EQ(main.CurrentDataObject()->RecordCount(), 2);
    EXPECT_EQ(main.DateButton()->text(), QStringLiteral("Ricevuta  < marzo 2026 >"));
    EXPECT_EQ(main.DateButton()->toolTip(), QStringLiteral("Dati del mese 03/2026 relativi a Data Ricevuta"));
    EXPECT_EQ(main.Action(QStringLiteral("mnuSelection"))->text(), QStringLiteral("Solo in data Ricevuta  < marzo 2026 >"));

    ChooseDates(main, QStringLiteral("&Tutti"));
    EXPECT_EQ(main.CurrentDataObject()->Criteria(), QString());
    EXPECT_EQ(main.DateButton()->text(), QStringLiteral("< tutti >"));
    EXPECT_TRUE(main.Action(QStringLiteral("mnuSelAll"))->isChecked());

    // A section without a date field hides the date button.
    Select(main, 3);
    EXPECT_TRUE(main.DateButton()->isHidden());
}

TEST_F(ViewLoading, TakingsListAsksForItsPeriodAndKeepsTheLastDayWhole)
{
    frmMain& main = Open();
    dialogs.AnswerWindow([](QDialog& w) {
        auto& window = static_cast<frmSetParamStat&>(w);
        window.txtDaData->setText(QStringLiteral("01/03/26"));
        window.txtAData->setText(QStringLiteral("31/03/26"));
        window.cmdSearch->click();
        return window.result();
    });
    Select(main, 10); // Lista Corrispettivi
    EXPECT_EQ(SelectionDescription(), QStringLiteral("Da Data: 01/03/2026 a Data: 31/03/2026 - Tutti i Tipi di Documento"));
    EXPECT_EQ(main.StatusMsg(), SelectionDescription());
    EXPECT_EQ(main.CurrentDataObject()->RecordCount(), 2) << "the receipt of 31 March at 23:30 is in";
    EXPECT_TRUE(main.DateButton()->isHidden());

    dialogs.AnswerWindow([](QDialog&) { return int(QDialog::Rejected); });
    Refresh(main);
    EXPECT_EQ(SelectionDescription(), QStringLiteral("Tutte le Date - Tutti i Tipi di Documento"));
    EXPECT_EQ(main.CurrentDataObject()->RecordCount(), 4);
}

TEST_F(ViewLoading, PresetSelectionsAreAskedBeforeTheView)
{
    frmMain& main = Open();
    Select(main, 5);
    // Store a preset for the section: notes equal to "tavolo".
    dialogs.AnswerComplexFilter([](ComplexFilter& filter) {
        filter.AddCondition(QStringLiteral("Note"), QStringLiteral("tavolo"));
        return true;
    });
    dialogs.AnswerMessage(MsgResult::Ok);
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("Selezioni predefinite"),
                                 QStringLiteral("Richiedi selezioni prima di visualizzare i dati...")});
    EXPECT_TRUE(dialogs.LastCall().text.startsWith(QStringLiteral("Selezioni predefinite impostate.")));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Information);
    EXPECT_TRUE(main.Action(QStringLiteral("mnuDataSelBeforeQuery"))->isChecked());

    // Reloading asks it first and adds the date selection to it.
    dialogs.AnswerComplexFilterConfirmed(true);
    Refresh(main);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(main.CurrentDataObject()->Criteria(),
              QStringLiteral("(Note = 'tavolo') AND Data >= #%1# AND Data < #%2#").arg(today.toString(QStringLiteral("MM/dd/yyyy")), today.addDays(1).toString(QStringLiteral("MM/dd/yyyy"))));
    EXPECT_EQ(main.Title(1)->text(), QStringLiteral(" Dettagli:  [selezioni impostate]"));

    // A preset with its own date condition replaces the date selection.
    dialogs.AnswerComplexFilter([](ComplexFilter& filter) {
        filter.Clear();
        filter.AddCondition(QStringLiteral("Data"), QDateTime(QDate(2026, 3, 1), QTime(12, 0)));
        return true;
    });
    Refresh(main);
    EXPECT_EQ(main.CurrentDataObject()->Criteria(), QStringLiteral("Data = #03/01/2026 12:00:00#"));
    EXPECT_TRUE(main.DateButton()->isHidden());

    // Cancelled, and no data wanted.
    dialogs.AnswerComplexFilterConfirmed(false).AnswerMessage(MsgResult::No);
    Refresh(main);
    const DialogCall& question = dialogs.LastCall();
    EXPECT_EQ(question.text, QStringLiteral("Selezioni predefinite annullate...\r\rVuoi visualizzare tutti i dati?"));
    EXPECT_EQ(question.defaultButton, MsgDefault::Button2);
    EXPECT_EQ(main.CurrentDataObject()->Criteria(),
              QStringLiteral("(OID Is Null) AND Data >= #%1# AND Data < #%2#").arg(today.toString(QStringLiteral("MM/dd/yyyy")), today.addDays(1).toString(QStringLiteral("MM/dd/yyyy"))));
    EXPECT_EQ(main.CurrentDataObject()->RecordCount(), 0);
    EXPECT_EQ(main.Title(1)->text(), QStringLiteral(" Dettagli:  [nessun dato richiesto]"));

    // Deleting the preset.
    dialogs.AnswerMessage(MsgResult::Ok);
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("Selezioni predefinite"),
                                 QStringLiteral("Elimina selezioni")});
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Selezioni predefinite eliminate."));
    EXPECT_FALSE(main.Action(QStringLiteral("mnuDataSelBeforeQuery"))->isChecked());
    Refresh(main);
    EXPECT_EQ(main.Title(1)->text(), QStringLiteral(" Dettagli:"));
}

TEST_F(ViewLoading, RefreshKeepsTheSortAndTheRecord)
{
    frmMain& main = Open();
    auto& session = ArchiveSession::Instance();
    auto customers = session.Database()->Tables().Item(QStringLiteral("Clienti")).OpenDataObject(session.Engine());
    for (const char* name : {"Rossi", "Bianchi", "Verdi"})
        customers->AddRecord({QStringLiteral("Ragione_Sociale"), QString::fromLatin1(name)});
    Select(main, 3);
    auto view = main.CurrentDataObject();
    view->SetFilter(QStringLiteral("Ragione_Sociale Like 'R*' OR Ragione_Sociale Like 'V*'"));
    view->SetSort(QStringLiteral("Ragione_Sociale DESC"));
    ASSERT_TRUE(view->FindFirst(QStringLiteral("Ragione_Sociale = 'Rossi'")));
    const QVariant oid = view->ValueAt(0);

    Refresh(main);
    auto reloaded = main.CurrentDataObject();
    EXPECT_EQ(reloaded->DefaultOrder(), QStringLiteral("Ragione_Sociale DESC"));
    EXPECT_EQ(reloaded->Filter(), QString()) << "the filter is cleared";
    EXPECT_EQ(reloaded->ValueAt(0), oid);
    EXPECT_EQ(main.GridView()->currentIndex().row(), 1) << "Verdi, Rossi, Cliente generico, Bianchi";
}

TEST_F(ViewLoading, PerFieldMenusOfTheView)
{
    frmMain& main = Open();
    Select(main, 5);
    const QStringList totals = Tags(main, QStringLiteral("mnuTotalItems"));
    EXPECT_EQ(totals, (QStringList{"Importo_Ricevuta", "Numero", "AnnoFiscale"}));
    for (const QString& array : {QStringLiteral("mnuTotalItems"), QStringLiteral("mnuAverageItems")})
        for (const QString& tag : Tags(main, array))
            EXPECT_FALSE(tag.startsWith(QStringLiteral("OID")));
    EXPECT_EQ(Tags(main, QStringLiteral("mnuSearchItems")), (QStringList{"Note", "TipoDocumento", "Cliente"}));
    EXPECT_EQ(main.Menus().ArrayElements(QStringLiteral("mnuSearchItems")).first()->text(), QStringLiteral("Note"));
    EXPECT_EQ(main.ToolButton(QStringLiteral("Find"))->property("Tag").toString(), QStringLiteral("1"));
    EXPECT_EQ(main.Menus().FindItems()->actions().size(), 3);
    EXPECT_TRUE(Tags(main, QStringLiteral("mnuOrderItems")).contains(QStringLiteral("Data")));

    // Another view replaces them.
    Select(main, 14);
    EXPECT_EQ(Tags(main, QStringLiteral("mnuSearchItems")), QStringList{"Descrizione"});
    EXPECT_TRUE(Tags(main, QStringLiteral("mnuTotalItems")).isEmpty());
}

TEST_F(ViewLoading, GridLayoutIsSavedWhenTheTableChangesAndComesBack)
{
    Settings().CurrencyConversion = false; // no converted columns beside the prices
    frmMain& main = Open();
    Select(main, 2); // Menu
    ASSERT_NE(main.CurrentGridLayout(), nullptr);
    main.CurrentGridLayout()->SetFieldWidth(QStringLiteral("Nome"), 2880);
    main.CurrentGridLayout()->SetFieldSequence(QStringLiteral("Nome,Prezzo"));
    Select(main, 3); // Clienti: the layout of Menu is saved first
    QSettings ini(dir.filePath(QStringLiteral("mensora.INI")), QSettings::IniFormat);
    EXPECT_FALSE(ini.childGroups().filter(QStringLiteral("Menu")).isEmpty());
    EXPECT_EQ(main.CurrentGridLayout()->Table(), QStringLiteral("Clienti"));

    Select(main, 2);
    EXPECT_EQ(main.CurrentGridLayout()->FieldWidth(QStringLiteral("Nome")), 2880);
    EXPECT_EQ(main.GridView()->model()->columnCount(), 2);
    EXPECT_TRUE(main.Action(QStringLiteral("mnuGridFldSequence"))->isChecked());

    // All fields until the next rebinding; the sequence is kept.
    UserInput::PressShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_GT(main.GridView()->model()->columnCount(), 2);
    EXPECT_EQ(main.CurrentGridLayout()->FieldSequence(), QStringLiteral("Nome,Prezzo"));
    main.CurrentDataObject()->Requery();
    EXPECT_EQ(main.GridView()->model()->columnCount(), 2) << "a requery applies the layout again";

    // Back to the defaults, after the question.
    dialogs.AnswerMessage(MsgResult::No);
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Griglia"),
                                 QStringLiteral("Annulla sequenza campi e dimensioni")});
    EXPECT_EQ(main.CurrentGridLayout()->FieldSequence(), QStringLiteral("Nome,Prezzo"));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Vuoi ripristinare le impostazioni predefinite per la griglia corrente?"));
    dialogs.AnswerMessage(MsgResult::Yes);
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Griglia"),
                                 QStringLiteral("Annulla sequenza campi e dimensioni")});
    EXPECT_TRUE(main.CurrentGridLayout()->FieldSequence().isEmpty());
    EXPECT_FALSE(main.Action(QStringLiteral("mnuGridFldSequence"))->isChecked());

    dialogs.AnswerFieldSequence(QStringLiteral("Prezzo,Nome"));
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Griglia"),
                                 QStringLiteral("Imposta &sequenza campi...")});
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Sequenza di Visualizzazione Campi"));
    EXPECT_EQ(main.GridView()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Prezzo"));
}

} // namespace
