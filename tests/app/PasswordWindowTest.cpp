// The access password window: start-up and change flows, the messages, and
// the file left behind.

#include "app/PasswordStore.h"
#include "app/frmPassword.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PasswordWindowTest : public ::testing::Test
{
protected:
    static QLineEdit* Box(QDialog& w, const char* name) { return w.findChild<QLineEdit*>(QLatin1String(name)); }
    static QCheckBox* Change(QDialog& w) { return w.findChild<QCheckBox*>(QStringLiteral("chkNew")); }
    static void Click(QDialog& w, const char* name) { w.findChild<QPushButton*>(QLatin1String(name))->click(); }
    static int Result(QDialog& w) { return w.result(); }

    // Plays one attempt: types the texts and presses "Conferma".
    static void Attempt(QDialog& w, const QString& password, const QString& newPwd = {}, const QString& confirm = {})
    {
        if (Box(w, "txtPassword")->isEnabled())
            Box(w, "txtPassword")->setText(password);
        Box(w, "txtNewPwd")->setText(newPwd);
        Box(w, "txtConfirmNewPwd")->setText(confirm);
        Click(w, "cmdConfirm");
    }

    QByteArray FileBytes() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("prtct1.sys"));
    ScopedPasswordFile m_file{m_path};
    ScriptedDialogs m_dialogs;
    ScopedDialogService m_use{m_dialogs};
};

} // namespace

TEST_F(PasswordWindowTest, WithoutAPasswordStartUpAsksNothing)
{
    EXPECT_TRUE(frmPassword::CheckAccess(nullptr, false, false));
    EXPECT_TRUE(m_dialogs.Calls().empty());
}

TEST_F(PasswordWindowTest, TheChangeCommandWithoutAPasswordAcceptsAtOnce)
{
    m_dialogs.AnswerWindow([](QDialog& w) {
        EXPECT_FALSE(Box(w, "txtPassword")->isEnabled());
        EXPECT_EQ(Box(w, "txtPassword")->text(), QString());
        EXPECT_TRUE(Change(w)->isChecked());
        EXPECT_FALSE(Change(w)->isEnabled());
        EXPECT_TRUE(dynamic_cast<frmPassword&>(w).IsTall());
        EXPECT_TRUE(Box(w, "txtNewPwd")->isEnabled());
        Attempt(w, QString());
        return Result(w);
    });
    m_dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_TRUE(frmPassword::CheckAccess(nullptr, true, false));
    EXPECT_EQ(m_dialogs.Calls()[0].window, QStringLiteral("frmPassword"));
    EXPECT_EQ(m_dialogs.Beeps(), 1);
    EXPECT_EQ(m_dialogs.LastCall().text, QStringLiteral("La password e' stata modificata.\r\r"
                                                         "NOTA: Senza password sono disattivate tutte le restrizioni di accesso."));
    EXPECT_EQ(m_dialogs.LastCall().icon, MsgIcon::Information);
    EXPECT_EQ(FileBytes(), QByteArray()) << "an empty password still writes an empty file";
}

TEST_F(PasswordWindowTest, SettingChangingAndRemovingAPassword)
{
    // Set "Cassa1" from the change command.
    m_dialogs.AnswerWindow([](QDialog& w) {
        Attempt(w, QString(), QStringLiteral("Cassa1"), QStringLiteral("Cassa1"));
        return Result(w);
    });
    m_dialogs.AnswerMessage(MsgResult::Ok);
    frmPassword::CheckAccess(nullptr, true, false);
    EXPECT_EQ(m_dialogs.LastCall().text, QStringLiteral("La password e' stata modificata."));
    EXPECT_EQ(FileBytes(), ScrambleText(QStringLiteral("Cassa1"), true).toLatin1());
    EXPECT_FALSE(QFileInfo(m_path).permissions().testFlag(QFile::WriteOwner)) << "read-only after each write";

    // The change command shows the current password, unscrambled, disabled.
    m_dialogs.AnswerWindow([](QDialog& w) {
        EXPECT_EQ(Box(w, "txtPassword")->text(), QStringLiteral("Cassa1"));
        // A mismatched confirmation keeps the window and the file.
        Attempt(w, QString(), QStringLiteral("nuova"), QStringLiteral("Nuova"));
        EXPECT_EQ(Result(w), 0);
        Attempt(w, QString(), QString(), QString());
        return Result(w);
    });
    m_dialogs.AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Ok);
    frmPassword::CheckAccess(nullptr, true, false);
    const DialogCall& mismatch = m_dialogs.Calls()[m_dialogs.Calls().size() - 3];
    EXPECT_EQ(mismatch.kind, DialogKind::MessageBox);
    EXPECT_EQ(mismatch.text, QStringLiteral("La password di conferma non corrisponde..."));
    EXPECT_EQ(mismatch.icon, MsgIcon::Exclamation);
    EXPECT_EQ(m_dialogs.Beeps(), 3);

    // Removed: the next start-up asks nothing.
    EXPECT_EQ(FileBytes(), QByteArray());
    const std::size_t calls = m_dialogs.Calls().size();
    EXPECT_TRUE(frmPassword::CheckAccess(nullptr, false, false));
    EXPECT_EQ(m_dialogs.Calls().size(), calls);
}

TEST_F(PasswordWindowTest, StartUpRefusesTheWrongLetterCaseWithTheHint)
{
    WritePassword(m_path, QStringLiteral("Segreto"));
    m_dialogs.AnswerWindow([](QDialog& w) {
        EXPECT_FALSE(dynamic_cast<frmPassword&>(w).IsTall());
        EXPECT_FALSE(Change(w)->isChecked());
        EXPECT_TRUE(Change(w)->isEnabled());
        EXPECT_TRUE(Box(w, "txtPassword")->isEnabled());
        Attempt(w, QStringLiteral("segreto"));
        EXPECT_EQ(Result(w), 0);
        Attempt(w, QStringLiteral("Segreto"));
        return Result(w);
    });
    m_dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_TRUE(frmPassword::CheckAccess(nullptr, false, false));
    const DialogCall& refusal = m_dialogs.Calls()[2];
    EXPECT_EQ(m_dialogs.Calls()[1].kind, DialogKind::Beep);
    EXPECT_EQ(refusal.text, QStringLiteral("La password non è corretta.\r\rFare attenzione all'utilizzo delle maiuscole/minuscole"));
    EXPECT_EQ(refusal.icon, MsgIcon::Information);
    EXPECT_EQ(refusal.buttons, MsgButtons::Ok);

    m_dialogs.AnswerWindow([](QDialog& w) {
        Click(w, "cmdCancel");
        return Result(w);
    });
    EXPECT_FALSE(frmPassword::CheckAccess(nullptr, false, false)) << "Annulla refuses access";
}

TEST_F(PasswordWindowTest, TheChangeBoxGrowsTheWindowAndCanBeHidden)
{
    WritePassword(m_path, QStringLiteral("abc"));
    m_dialogs.AnswerWindow([](QDialog& w) {
        w.show();
        const int shortHeight = w.height();
        EXPECT_EQ(w.focusWidget(), Box(w, "txtPassword"));
        Change(w)->click();
        EXPECT_TRUE(dynamic_cast<frmPassword&>(w).IsTall());
        EXPECT_TRUE(Box(w, "txtConfirmNewPwd")->isVisible());
        EXPECT_GT(w.height(), shortHeight);
        Change(w)->click();
        EXPECT_EQ(w.height(), shortHeight);
        EXPECT_FALSE(Box(w, "txtNewPwd")->isEnabled());
        Box(w, "txtPassword")->setText(QStringLiteral("abc"));
        Click(w, "cmdConfirm");
        return Result(w);
    });
    EXPECT_TRUE(frmPassword::CheckAccess(nullptr, false, false));

    m_dialogs.AnswerWindow([](QDialog& w) {
        EXPECT_TRUE(Change(w)->isHidden());
        Click(w, "cmdCancel");
        return Result(w);
    });
    EXPECT_FALSE(frmPassword::CheckAccess(nullptr, false, true));
}

TEST_F(PasswordWindowTest, UnusableFilesAndPasswordsAreReported)
{
    // A password that the file cannot hold keeps the old one.
    WritePassword(m_path, QStringLiteral("abc"));
    m_dialogs.AnswerWindow([](QDialog& w) {
        Attempt(w, QString(), QStringLiteral("\u20acuro"), QStringLiteral("\u20acuro"));
        EXPECT_EQ(Result(w), 0);
        Click(w, "cmdCancel");
        return Result(w);
    });
    m_dialogs.AnswerMessage(MsgResult::Ok);
    frmPassword::CheckAccess(nullptr, true, false);
    EXPECT_TRUE(m_dialogs.LastCall().text.startsWith(QStringLiteral("Modifica della password fallita: \r\r")));
    EXPECT_EQ(FileBytes(), ScrambleText(QStringLiteral("abc"), true).toLatin1());

    // A password file that cannot be read keeps the archive closed.
    ScopedPasswordFile unreadable(m_dir.path());
    m_dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(frmPassword::CheckAccess(nullptr, false, false));
    EXPECT_TRUE(m_dialogs.LastCall().text.startsWith(QStringLiteral("Impossibile verificare la password di accesso.\r\r")));
    EXPECT_EQ(m_dialogs.LastCall().icon, MsgIcon::Critical);
}

TEST_F(PasswordWindowTest, TypedAtStartUpWithTheKeyboardAlone)
{
    // The window opens with the focus in the password box; Enter confirms;
    // a wrong password is selected for typing again.
    WritePassword(m_path, QStringLiteral("Segreto"));
    m_dialogs.AnswerWindow([](QDialog& w) {
        w.show();
        EXPECT_TRUE(UserInput::BringToFront(w));
        EXPECT_EQ(QApplication::focusWidget(), Box(w, "txtPassword"));
        UserInput::TypeText(QStringLiteral("segreto"));
        UserInput::PressKey(Qt::Key_Return);
        EXPECT_TRUE(w.isVisible()) << "letter case counts";
        EXPECT_EQ(QApplication::focusWidget(), Box(w, "txtPassword"));
        UserInput::TypeText(QStringLiteral("Segreto"));
        UserInput::PressKey(Qt::Key_Return);
        return Result(w);
    });
    m_dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_TRUE(frmPassword::CheckAccess(nullptr, false, false));
    EXPECT_EQ(m_dialogs.Beeps(), 1);
}
