// The main window's ticket settings entry, reached through the menus' access
// keys, opens the ticket settings window modally.

#include "MainWindowFixture.h"
#include "support/UserInput.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

TEST_F(MainWindowTest, TheTicketSettingsEntryOpensTheSettingsWindow)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    QString opened;
    dialogs.AnswerWindow([&](QDialog& window) {
        opened = window.objectName() + u'|' + window.windowTitle();
        return int(QDialog::Rejected);
    });
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Configurazione"),
                                 QStringLiteral("Impostazione stampa &Ricevute...")});
    EXPECT_EQ(opened, QStringLiteral("frmTicketPrintSetting|Impostazione stampa ricevute"));
}
