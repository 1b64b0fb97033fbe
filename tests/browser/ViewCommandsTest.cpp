// The commands that need a view, as a user finds them in the menus: off
// while there is no view, whatever windows came and went over the main
// window.

#include "MainWindowFixture.h"

#include "support/QtPrinting.h"
#include "support/UserInput.h"

#include <QFile>

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
