// The commands that need a view, as a user finds them in the menus: off
// while there is no view, whatever windows came and went over the main
// window.

#include "MainWindowFixture.h"

#include "browser/MainMenus.h"
#include "browser/SectionTree.h"
#include "support/QtPrinting.h"
#include "support/UserInput.h"

#include <QFile>
#include <QLineEdit>
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

// A command that does not apply now (no view) is refused with a beep, from
// the keys as from the menus; every command of the window is built, so none
// beeps for want of one.
TEST_F(MainWindowTest, CommandsThatRunNothingBeep)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));

    // Without a view, Insert is refused.
    UserInput::ClickTreeItem(*main.TreeView(), "Archivio");
    UserInput::PressKey(Qt::Key_Insert);
    EXPECT_EQ(dialogs.Beeps(), 1);

    UserInput::ClickTreeItem(*main.TreeView(), "Clienti");
    // F9 opens the till (closed again at once here): no beep.
    dialogs.AnswerWindow([](QDialog&) { return int(QDialog::Rejected); });
    UserInput::PressShortcut(QKeySequence(Qt::Key_F9));
    EXPECT_EQ(dialogs.Beeps(), 1);

    // A built command runs without a beep.
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Aggiorna")});
    EXPECT_EQ(dialogs.Beeps(), 1);

    // Without a view again, Enter (the grid's edit) is refused too.
    UserInput::ClickTreeItem(*main.TreeView(), "Stampe");
    UserInput::PressKey(Qt::Key_Return);
    EXPECT_EQ(dialogs.Beeps(), 2);

    // "Associati" on a page without a grid has no related items: a beep, no empty menu.
    UserInput::ClickToolButton(*main.Menus().ToolBar(), main.ToolButton(QStringLiteral("Related")));
    EXPECT_EQ(dialogs.Beeps(), 3);
    EXPECT_FALSE(main.Menu(QStringLiteral("mnuAssociation"))->isVisible());
}

// Letters typed in the tree go to the tree (it finds items by their first
// letters) while no search is there to take them; with a view that has a
// field to search in, they open the search with what was typed.
TEST_F(MainWindowTest, TypedLettersReachTheTreeWhileNoSearchTakesThem)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ClickTreeItem(*main.TreeView(), "Archivio");
    ASSERT_TRUE(main.ToolButton(QStringLiteral("Find"))->property("Tag").toString().isEmpty()) << "no view, no search";
    UserInput::TypeText(QStringLiteral("s"));
    const QTreeWidgetItem* node = SelectedNode(*main.TreeView());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->text(0), QStringLiteral("Stampe"));
    EXPECT_EQ(dialogs.Beeps(), 0);

    UserInput::ClickTreeItem(*main.TreeView(), "Clienti");
    ASSERT_FALSE(main.ToolButton(QStringLiteral("Find"))->property("Tag").toString().isEmpty())
        << "the view has a field to search in";
    QString proposed;
    dialogs.AnswerWindow([&proposed](QDialog& search) {
        proposed = search.findChild<QLineEdit*>(QStringLiteral("txtSearch"))->text();
        return int(QDialog::Rejected);
    });
    UserInput::TypeText(QStringLiteral("s"));
    EXPECT_EQ(dialogs.LastCall().window, QStringLiteral("frmSearchText"));
    EXPECT_EQ(proposed, QStringLiteral("s"));
    EXPECT_EQ(SelectedNode(*main.TreeView())->text(0), QStringLiteral("Clienti"));
}

} // namespace
