// The commands that need a view, as a user finds them in the menus: off
// while there is no view, whatever windows came and went over the main
// window.

#include "MainWindowFixture.h"

#include "browser/MainMenus.h"
#include "browser/SectionTree.h"
#include "support/QtPrinting.h"
#include "support/UserInput.h"

#include <QFile>
#include <QMenu>

namespace {

// The "Dati" entries that are menus of their own and need a view.
const QStringList kViewMenus = {QStringLiteral("Cerca"), QStringLiteral("Filtra"), QStringLiteral("Ordina"),
                                QStringLiteral("Funzioni su campo corrente   (Click destro)"),
                                QStringLiteral("Selezioni predefinite"), QStringLiteral("Stampa dati")};

void ExpectViewMenus(frmMain& main, bool enabled)
{
    for (const QString& caption : kViewMenus)
        EXPECT_EQ(UserInput::MenuEntryEnabled(main, {QStringLiteral("Dati"), caption}), enabled) << caption.toStdString();
    EXPECT_EQ(UserInput::MenuEntryEnabled(main, {QStringLiteral("Visualizza"), QStringLiteral("Aggiorna")}), enabled);
}

TEST_F(MainWindowTest, AFailedOpeningLeavesTheViewCommandsOff)
{
    {
        QFile file(ArchivePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("questo file non e' un archivio, ma un testo qualsiasi scritto a mano.");
    }
    dialogs.AnswerMessage(MsgResult::Ok);
    frmMain& main = OpenWindow(false);
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Critical);
    EXPECT_TRUE(main.isEnabled()) << "the message window gave the window back";
    ASSERT_TRUE(UserInput::BringToFront(main));
    ExpectViewMenus(main, false);
}

TEST_F(MainWindowTest, ViewCommandsFollowTheViewAcrossMessageWindows)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    ExpectViewMenus(main, false);
    UserInput::ClickTreeItem(*main.TreeView(), "Menù");
    ExpectViewMenus(main, true);
    // The refresh shows a message window over a loaded view.
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Aggiorna")});
    ExpectViewMenus(main, true);
    UserInput::ClickTreeItem(*main.TreeView(), "Stampe");
    ExpectViewMenus(main, false);
}

} // namespace

namespace {

// The commands that nothing runs yet are refused with a beep, from the menu,
// the toolbar and the keys alike. The entries named here are the ones not
// built at the time of writing; a command built later takes its entry (as
// the test's own connections show) and its test moves to its own file.
TEST_F(MainWindowTest, CommandsThatRunNothingBeep)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));

    // Without a view, Insert is refused.
    UserInput::ClickTreeItem(*main.TreeView(), "Archivio");
    UserInput::PressKey(Qt::Key_Insert);
    EXPECT_EQ(dialogs.Beeps(), 1);

    UserInput::ClickTreeItem(*main.TreeView(), "Clienti");
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("&Web Browser...")});
    EXPECT_EQ(dialogs.Beeps(), 2);
    UserInput::ClickToolButton(*main.Menus().ToolBar(), main.ToolButton(QStringLiteral("New")));
    EXPECT_EQ(dialogs.Beeps(), 3);
    // F9 opens the till (closed again at once here): no beep.
    dialogs.AnswerWindow([](QDialog&) { return int(QDialog::Rejected); });
    UserInput::PressShortcut(QKeySequence(Qt::Key_F9));
    EXPECT_EQ(dialogs.Beeps(), 3);
    UserInput::PressKey(Qt::Key_Return);
    EXPECT_EQ(dialogs.Beeps(), 4);
    // A field of the search menu, made for this view.
    const QList<QAction*> fields = main.Menus().ArrayElements(QStringLiteral("mnuSearchItems"));
    ASSERT_FALSE(fields.isEmpty());
    const QString field = fields.first()->text();
    const QString tag = fields.first()->data().toString();
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("&Cerca"), field});
    EXPECT_EQ(dialogs.Beeps(), 5);

    // A built command runs without a beep.
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Aggiorna")});
    EXPECT_EQ(dialogs.Beeps(), 5);

    // Once something runs an entry, alone or through its menu, it no longer beeps.
    int browsers = 0;
    QObject::connect(main.Action(QStringLiteral("mnuViewWebBrowser")), &QAction::triggered, [&browsers] { ++browsers; });
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("&Web Browser...")});
    EXPECT_EQ(browsers, 1);
    QStringList searched;
    QObject::connect(main.Menu(QStringLiteral("mnuSearch")), &QMenu::triggered,
                     [&searched](QAction* entry) { searched << entry->data().toString(); });
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("&Cerca"), field});
    EXPECT_EQ(searched, QStringList{tag});
    EXPECT_EQ(dialogs.Beeps(), 5);
}

// Letters typed in the tree go to the tree (it finds items by their first
// letters) while no search is there to take them, also once a grid with a
// search field is loaded.
TEST_F(MainWindowTest, TypedLettersReachTheTreeWhileNoSearchTakesThem)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ClickTreeItem(*main.TreeView(), "Clienti");
    ASSERT_FALSE(main.ToolButton(QStringLiteral("Find"))->property("Tag").toString().isEmpty())
        << "the view has a field to search in";
    UserInput::TypeText(QStringLiteral("s"));
    const QTreeWidgetItem* node = SelectedNode(*main.TreeView());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->text(0), QStringLiteral("Stampe"));
    EXPECT_EQ(dialogs.Beeps(), 0);

    // With a search to receive them, they start it and stay out of the tree.
    QStringList typed;
    QObject::connect(&main, &frmMain::SearchKeyTyped, [&typed](int, const QString& text) { typed << text; });
    UserInput::ClickTreeItem(*main.TreeView(), "Clienti");
    UserInput::TypeText(QStringLiteral("s"));
    EXPECT_EQ(typed, QStringList{"s"});
    EXPECT_EQ(SelectedNode(*main.TreeView())->text(0), QStringLiteral("Clienti"));
}

} // namespace
