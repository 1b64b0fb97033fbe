// The main window's ticket settings entry, reached through the menus' access
// keys, opens the ticket settings window modally.

#include "MainWindowFixture.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

TEST_F(MainWindowTest, TheTicketSettingsEntryOpensTheSettingsWindow)
{
    frmMain& main = OpenWindow();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QString opened;
    dialogs.AnswerWindow([&](QDialog& window) {
        opened = window.objectName() + u'|' + window.windowTitle();
        return int(QDialog::Rejected);
    });
    QTest::keyClick(&main, Qt::Key_V, Qt::AltModifier);
    QWidget* view = QApplication::activePopupWidget();
    ASSERT_NE(view, nullptr);
    QTest::keyClick(view, Qt::Key_C);
    QWidget* config = QApplication::activePopupWidget();
    ASSERT_NE(config, nullptr);
    ASSERT_NE(config, view);
    QTest::keyClick(config, Qt::Key_R);
    QApplication::processEvents();
    EXPECT_EQ(opened, QStringLiteral("frmTicketPrintSetting|Impostazione stampa ricevute"));
}
