// The main window over a real archive: opening on activation, the section
// tree and its pages, the view commands, the currency entry, the sale date,
// the notifications and the close sequence.

#include "MainWindowFixture.h"

#include "app/SaleDate.h"
#include "browser/MainMenus.h"
#include "browser/SectionItemPage.h"
#include "browser/SectionTree.h"
#include "component/ComponentGlobal.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "component/widgets/GridBinding.h"
#include "support/UserInput.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

namespace {

const QStringList kViewEntries = {
    QStringLiteral("mnuOrder"),          QStringLiteral("mnuSave"),         QStringLiteral("mnuFileNew"),
    QStringLiteral("mnuFileProperties"), QStringLiteral("mnuFileDelete"),   QStringLiteral("mnuViewRefresh"),
    QStringLiteral("mnuSearch"),         QStringLiteral("mnuFilter"),       QStringLiteral("mnuPrintFunc"),
    QStringLiteral("mnuFieldFuncs"),     QStringLiteral("mnuDataSelection"),
};
const QStringList kViewButtons = {QStringLiteral("Save"), QStringLiteral("New"),    QStringLiteral("Properties"),
                                  QStringLiteral("Delete"), QStringLiteral("Find"), QStringLiteral("Filter"),
                                  QStringLiteral("Print")};

void ExpectViewCommands(const frmMain& window, bool enabled)
{
    for (const QString& name : kViewEntries)
        EXPECT_EQ(window.Action(name)->isEnabled(), enabled) << name.toStdString();
    for (const QString& key : kViewButtons)
        EXPECT_EQ(window.ToolButton(key)->isEnabled(), enabled) << key.toStdString();
}

TEST_F(MainWindowTest, ActivationOpensTheArchiveAndShowsTheArchivePage)
{
    SetSaleDate(QDate(2000, 1, 1));
    frmMain& main = OpenWindow();

    ASSERT_TRUE(ArchiveSession::Instance().IsDatabaseReady());
    EXPECT_EQ(SaleDate(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Mensora"));

    // Start-up selects "Archivio": its page, no grid, no view commands.
    const QTreeWidgetItem* node = SelectedNode(*main.TreeView());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->text(0), QStringLiteral("Archivio"));
    EXPECT_TRUE(main.GridView()->isHidden());
    ExpectViewCommands(main, false);
    EXPECT_EQ(main.StatusMsg(), QStringLiteral(" Sezione: <Archivio>"));
    EXPECT_FALSE(main.HideTreeButton()->isEnabled()) << "the tree cannot collapse while a group page is shown";

    const SectionItemPage& page = main.SectionItems();
    ASSERT_EQ(page.Count(), 4) << "header, Menu, Clienti, Ricevute";
    EXPECT_EQ(page.Item(1)->text(), QStringLiteral("VOCI PRINCIPALI PER LA SEZIONE ARCHIVIO :"));
    EXPECT_FALSE(page.Item(1)->isEnabled());
    EXPECT_TRUE(page.Item(1)->font().bold());
    EXPECT_EQ(page.Item(2)->text(), QStringLiteral("Menù"));
    EXPECT_EQ(page.Item(2)->property("Tag").toString(), QStringLiteral("Menu"));
    EXPECT_EQ(page.Item(2)->toolTip(), QStringLiteral("Apre la sezione <Menù> per la Visualizzazione/Modifica dei "
                                                      "dati oppure per la Stampa..."));
    EXPECT_EQ(page.Item(3)->property("Tag").toString(), QStringLiteral("Clienti"));
    EXPECT_EQ(page.Item(4)->property("Tag").toString(), QStringLiteral("Ricevute"));
    EXPECT_FALSE(page.Item(2)->icon().isNull());
    EXPECT_TRUE(page.Item(0)->isHidden()) << "the template stays hidden";

    // A second activation keeps the archive.
    const auto database = ArchiveSession::Instance().Database();
    main.Activate();
    EXPECT_EQ(ArchiveSession::Instance().Database(), database);
}

TEST_F(MainWindowTest, ASectionButtonOpensItsTableAndEnablesTheViewCommands)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    QPushButton* menu = main.SectionItems().Item(2);
    ASSERT_NE(menu, nullptr);
    UserInput::Click(*menu);

    const QTreeWidgetItem* node = SelectedNode(*main.TreeView());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(NodeKey(*node), QStringLiteral("Menu"));
    EXPECT_FALSE(main.GridView()->isHidden());
    ASSERT_NE(main.CurrentDataObject(), nullptr);
    EXPECT_EQ(main.CurrentDataObject()->TableName(), QStringLiteral("Menu"));
    EXPECT_GT(main.Grid().Model().rowCount(), 0) << "the default menu items";
    ExpectViewCommands(main, true);
    EXPECT_EQ(main.SectionItems().Count(), 0) << "the page gives way to the grid";
    EXPECT_TRUE(main.HideTreeButton()->isEnabled());
    EXPECT_EQ(main.StatusMsg(), QStringLiteral(" Sezione: <Menù>"));

    // Back to a group: the page again, commands off.
    UserInput::ClickTreeItem(*main.TreeView(), "Codifiche");
    EXPECT_TRUE(main.GridView()->isHidden());
    ExpectViewCommands(main, false);
    ASSERT_EQ(main.SectionItems().Count(), 4);
    EXPECT_EQ(main.SectionItems().Item(1)->text(), QStringLiteral("VOCI PRINCIPALI PER LA SEZIONE CODIFICHE :"));
}

TEST_F(MainWindowTest, EverySectionOpensItsTable)
{
    frmMain& main = OpenWindow();
    const QStringList tables = {QStringLiteral("Menu"),           QStringLiteral("Clienti"),
                                QStringLiteral("PagamentiCliente"), QStringLiteral("Ricevute"),
                                QStringLiteral("RigheRicevute"),  QStringLiteral("Ricevute"),
                                QStringLiteral("RigheRicevute"),  QStringLiteral("Ricevute"),
                                QStringLiteral("Clienti"),        QStringLiteral("Menu"),
                                QStringLiteral("TipiDocumento"),  QStringLiteral("TipiPagamento"),
                                QStringLiteral("Portate")};
    const int indexes[] = {2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 14, 15, 16};
    ASSERT_TRUE(UserInput::BringToFront(main));
    for (int i = 0; i < int(std::size(indexes)); ++i) {
        if (indexes[i] == 9 || indexes[i] == 10) // the period lists ask their parameters first
            dialogs.AnswerWindow([](QDialog&) { return int(QDialog::Rejected); });
        UserInput::ClickTreeItem(*main.TreeView(), NodeAt(*main.TreeView(), indexes[i]));
        ASSERT_NE(main.CurrentDataObject(), nullptr) << indexes[i];
        EXPECT_EQ(main.CurrentDataObject()->TableName(), tables[i]) << indexes[i];
        EXPECT_FALSE(main.GridView()->isHidden());
    }
    for (const DialogCall& call : dialogs.Calls())
        EXPECT_EQ(call.kind, DialogKind::Window) << "no section fails to load: " << call.text.toStdString();
}

TEST_F(MainWindowTest, ClickingAListButtonSelectsItsNodeInACollapsedGroup)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ClickTreeItem(*main.TreeView(), "Stampe");
    ASSERT_EQ(main.SectionItems().Count(), 6) << "header and the five lists";
    EXPECT_EQ(main.SectionItems().Item(3)->text(), QStringLiteral("Lista Venduto"));
    dialogs.AnswerWindow([](QDialog&) { return int(QDialog::Rejected); });
    UserInput::Click(*main.SectionItems().Item(3));
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Impostazione criteri di ricerca")) << "the list asks for its period first";
    const QTreeWidgetItem* node = SelectedNode(*main.TreeView());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(NodeIndex(*node), 9);
    EXPECT_TRUE(node->parent()->isExpanded());
    EXPECT_EQ(main.CurrentDataObject()->TableName(), QStringLiteral("RigheRicevute"));
}

TEST_F(MainWindowTest, AShortWindowWrapsTheSectionButtonsIntoColumns)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ClickTreeItem(*main.TreeView(), "Stampe");
    const int tall = main.SectionItems().Item(6)->x();
    EXPECT_EQ(tall, main.SectionItems().Item(2)->x()) << "one column in a tall window";

    main.resize(main.width(), 300);
    QCoreApplication::processEvents();
    ASSERT_EQ(main.SectionItems().Count(), 6);
    EXPECT_GT(main.SectionItems().Item(6)->x(), main.SectionItems().Item(2)->x()) << "a column to the right";
    for (int i = 2; i <= 6; ++i)
        EXPECT_LT(main.SectionItems().Item(i)->geometry().bottom(), main.centralWidget()->height());
}

TEST_F(MainWindowTest, TheCurrencyEntryNamesTheConversionCurrencyAndTogglesTheSetting)
{
    Settings().CurrencyConversion = false;
    frmMain& main = OpenWindow();
    QAction* entry = main.Action(QStringLiteral("mnuViewCurrencyConversion"));
    EXPECT_EQ(entry->text(), QStringLiteral("&Importi in Lire"));
    EXPECT_TRUE(entry->isVisible());
    EXPECT_FALSE(entry->isChecked());

    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Importi in Lire")});
    EXPECT_TRUE(entry->isChecked());
    EXPECT_TRUE(Settings().CurrencyConversion);
    auto stored = OpenSettingsStore();
    EXPECT_EQ(stored->value(QStringLiteral("Configuration/CurrencyConversion")).toString(), QStringLiteral("True"));
}

TEST_F(MainWindowTest, ReleasingTheArchiveDropsTheViewAndTheNextActivationOpensTheNewFolder)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::Click(*main.SectionItems().Item(3));
    ASSERT_NE(main.CurrentDataObject(), nullptr);

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("altrove")));
    Settings().RootDir = dir.filePath(QStringLiteral("altrove"));
    main.ReleaseDatabase();
    EXPECT_FALSE(ArchiveSession::Instance().HasReferences());
    EXPECT_EQ(main.CurrentDataObject(), nullptr);
    EXPECT_EQ(main.Grid().Model().GetDataObject(), nullptr);

    // No archive there yet: the options window comes first; confirming it
    // as it is creates the archive in the new folder.
    dialogs.AnswerWindow([](QDialog& options) {
        EXPECT_EQ(options.objectName(), QStringLiteral("frmOptions"));
        auto* ok = options.findChild<QPushButton*>(QStringLiteral("cmdOk"));
        EXPECT_NE(ok, nullptr);
        if (ok)
            ok->click();
        return options.result();
    });
    main.Activate();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("altrove/Mensora.mdb"))));
    ASSERT_TRUE(ArchiveSession::Instance().IsDatabaseReady());
    const QTreeWidgetItem* node = SelectedNode(*main.TreeView());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(NodeIndex(*node), 3) << "the rebuilt tree keeps the selected position";
    EXPECT_EQ(main.CurrentDataObject()->TableName(), QStringLiteral("Clienti"));
}

TEST_F(MainWindowTest, OptionsLeftOnFirstRunEndTheProcess)
{
    dialogs.AnswerWindow([](QDialog&) { return int(QDialog::Rejected); });
    window = std::make_unique<frmMain>();
    QSignalSpy end(window.get(), &frmMain::EndProcessRequested);
    window->show();
    window->Activate();
    EXPECT_EQ(end.count(), 1);
    EXPECT_FALSE(QFile::exists(ArchivePath()));
    EXPECT_EQ(window->TreeView()->topLevelItemCount(), 0);
}

TEST_F(MainWindowTest, NotificationsGoToTheStatusBarAndQuestionsToAnOkCancelBox)
{
    frmMain& main = OpenWindow();
    itfNotifyEvent& sink = main;
    sink.OnEvent(ComponentGlobal::EventTableCreated, QStringLiteral("Clienti"));
    EXPECT_EQ(main.StatusMsg(), QStringLiteral("Creazione tabella <Clienti>..."));
    sink.OnEvent(ComponentGlobal::EventReading, QString());
    EXPECT_EQ(main.StatusMsg(), QStringLiteral("Lettura dati"));

    dialogs.AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Cancel).AnswerMessage(MsgResult::Ok);
    bool cancel = true;
    sink.OnQueryMessage(3, QStringLiteral("Procedere ?"), cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Procedere ?"));
    EXPECT_EQ(dialogs.LastCall().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.LastCall().defaultButton, MsgDefault::Button2) << "cancel came in True";

    cancel = false;
    sink.OnQueryMessage(1, QStringLiteral("Altro ?"), cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Question);
    EXPECT_EQ(dialogs.LastCall().defaultButton, MsgDefault::Button1);

    cancel = false;
    sink.OnQueryMessage(0, QStringLiteral("Ancora ?"), cancel);
    EXPECT_FALSE(cancel);
}

TEST_F(MainWindowTest, PreviewedKeysRunTheirCommands)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::Click(*main.SectionItems().Item(2));
    QSignalSpy newRecord(main.Action(QStringLiteral("mnuFileNew")), &QAction::triggered);
    QSignalSpy deleteRecord(main.Action(QStringLiteral("mnuFileDelete")), &QAction::triggered);
    QSignalSpy edit(&main, &frmMain::EditRecordRequested);
    QSignalSpy euro(&main, &frmMain::EuroConversionRequested);
    QSignalSpy typed(&main, &frmMain::SearchKeyTyped);

    // Keys typed in the grid and in the tree alike.
    UserInput::ClickCell(*main.GridView(), 0, 0);
    UserInput::PressKey(Qt::Key_Insert);
    UserInput::PressKey(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(newRecord.count(), 2);
    UserInput::ClickTreeItem(*main.TreeView(), "Menù");
    UserInput::PressKey(Qt::Key_Delete);
    EXPECT_EQ(deleteRecord.count(), 1);
    UserInput::ClickCell(*main.GridView(), 0, 0);
    UserInput::PressKey(Qt::Key_Return);
    EXPECT_EQ(edit.count(), 1);
    QTest::mouseDClick(main.centralWidget(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(edit.count(), 2) << "a double click on the window edits as Enter does";

    // Typing goes to the controls until the search has a field.
    main.ToolButton(QStringLiteral("Find"))->setProperty("Tag", QString());
    UserInput::ClickCell(*main.GridView(), 0, 0);
    UserInput::PressKey(Qt::Key_A);
    EXPECT_EQ(typed.count(), 0);
    main.ToolButton(QStringLiteral("Find"))->setProperty("Tag", QStringLiteral("1"));
    UserInput::PressKey(Qt::Key_A);
    EXPECT_EQ(typed.count(), 1);

    dialogs.AnswerMessage(MsgResult::No).AnswerMessage(MsgResult::Yes);
    const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    UserInput::PressKey(Qt::Key_R, all);
    EXPECT_EQ(euro.count(), 0);
    const DialogCall& call = dialogs.LastCall();
    EXPECT_EQ(call.text, QStringLiteral("ATTENZIONE! - Questa operazione converte la valuta e deve essere guidata da "
                                        "supporto tecnico...\r\rContinuare ?\r\r"));
    EXPECT_EQ(call.buttons, MsgButtons::YesNo);
    EXPECT_EQ(call.icon, MsgIcon::Exclamation);
    EXPECT_EQ(call.defaultButton, MsgDefault::Button2);
    UserInput::ClickTreeItem(*main.TreeView(), "Menù");
    dialogs.AnswerMessage(MsgResult::No); // the conversion's own question
    UserInput::PressKey(Qt::Key_R, all);
    EXPECT_EQ(euro.count(), 1);
}

TEST_F(MainWindowTest, ToolbarButtonsRunTheirMenuCommands)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::Click(*main.SectionItems().Item(2));
    QSignalSpy sale(main.Action(QStringLiteral("mnuNewVendita")), &QAction::triggered);
    QSignalSpy properties(main.Action(QStringLiteral("mnuFileProperties")), &QAction::triggered);
    QToolBar& bar = *main.Menus().ToolBar();
    dialogs.AnswerWindow([](QDialog&) { return int(QDialog::Rejected); }); // the till
    UserInput::ClickToolButton(bar, main.ToolButton(QStringLiteral("Sale")));
    UserInput::ClickToolButton(bar, main.ToolButton(QStringLiteral("Properties")));
    EXPECT_EQ(sale.count(), 1);
    EXPECT_EQ(properties.count(), 1);

    main.ToolButton(QStringLiteral("Find"))->setProperty("Tag", QString()); // no search field yet
    const std::pair<const char*, const char*> popUps[] = {
        {"Related", "mnuAssociation"}, {"Filter", "mnuFilter"}, {"Find", "mnuSearch"}, {"Print", "mnuPrintFunc"}};
    for (const auto& [key, menu] : popUps) {
        UserInput::ClickToolButton(bar, main.ToolButton(QString::fromLatin1(key)));
        EXPECT_EQ(main.LastPopUp(), QString::fromLatin1(menu)) << key;
        main.Menu(QString::fromLatin1(menu))->close();
    }
    EXPECT_FALSE(main.ToolButton(QStringLiteral("Filter"))->isChecked()) << "the view has no filter";

    const QString before = main.LastPopUp();
    UserInput::ClickToolButton(bar, main.ToolButton(QStringLiteral("BarcodeReader")));
    UserInput::ClickToolButton(bar, main.ToolButton(QStringLiteral("FiscalPrinter")));
    EXPECT_EQ(main.LastPopUp(), before);
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls().front().title, QStringLiteral("Emissione Ricevute"));
}

TEST_F(MainWindowTest, HidingTheToolbarAndStatusBarGivesTheTreeTheirRoom)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    const QRect before = main.TreeView()->geometry().translated(main.centralWidget()->pos());
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Barra degli strumenti")});
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("Barra di &Stato")});
    QCoreApplication::processEvents();
    EXPECT_FALSE(main.Action(QStringLiteral("mnuViewToolbar"))->isChecked());
    EXPECT_TRUE(main.statusBar()->isHidden());
    const QRect after = main.TreeView()->geometry().translated(main.centralWidget()->pos());
    EXPECT_LT(after.top(), before.top());
    EXPECT_GT(after.bottom(), before.bottom());
}

} // namespace
