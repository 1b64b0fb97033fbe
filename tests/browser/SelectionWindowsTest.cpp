// The parameters window of the receipt lists and the date window.

#include "browser/ParamStatRules.h"
#include "browser/frmDateSetting.h"
#include "browser/frmSetParamStat.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(ParamStatRules, ChecksComeInOrderWithTheirMessages)
{
    struct Case { const char* from; const char* to; const char* message; ParamStatCheck::Focus focus; };
    const Case cases[] = {
        {"__/__/__", "01/03/26", "Impostare il campo Da Data", ParamStatCheck::Focus::From},
        {"31/02/26", "01/03/26", "Campo Da Data non valido", ParamStatCheck::Focus::From},
        {"01/03/26", "__/__/__", "Impostare il campo a Data", ParamStatCheck::Focus::To},
        {"01/03/26", "45/03/26", "Campo A Data non valido", ParamStatCheck::Focus::To},
        {"02/03/26", "01/03/26", "-Il campo \"A Data\" non può contenere un valore minore del campo \"Da Data\".",
         ParamStatCheck::Focus::From},
    };
    for (const Case& c : cases) {
        const ParamStatCheck check = CheckParamStat(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
        EXPECT_FALSE(check.ok) << c.from << " " << c.to;
        EXPECT_EQ(check.message, QString::fromUtf8(c.message));
        EXPECT_EQ(check.focus, c.focus);
    }
    EXPECT_EQ(CheckParamStat(QStringLiteral("02/03/26"), QStringLiteral("01/03/26")).icon, MsgIcon::Information);
    const ParamStatCheck same = CheckParamStat(QStringLiteral("01/03/26"), QStringLiteral("01/03/26"));
    EXPECT_TRUE(same.ok) << "equal dates are accepted";
    EXPECT_EQ(same.from, QDate(2026, 3, 1));
    QDate d;
    EXPECT_EQ(ParseTypedDate(QStringLiteral("15/06/99"), &d), TypedDate::Valid);
    EXPECT_EQ(d, QDate(1999, 6, 15));
}

TEST(ParamStatWindow, ConfirmedValuesAreKeptForTheNextOpening)
{
    frmSetParamStat::ResetKept();
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    {
        frmSetParamStat window({QStringLiteral("Fattura"), QStringLiteral("Preconto")});
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Impostazione criteri di ricerca"));
        EXPECT_EQ(window.txtDaData->displayText(), QStringLiteral("__/__/__"));
        dialogs.AnswerMessage(MsgResult::Ok);
        window.cmdSearch->click();
        EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Impostare il campo Da Data"));
        EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::None);
        EXPECT_FALSE(window.Confirmed());
        window.cmbTipoDoc->setCurrentText(QStringLiteral(" Preconto "));
        window.txtDaData->setText(QStringLiteral("01/03/26"));
        window.txtAData->setText(QStringLiteral("31/03/26"));
        window.cmdSearch->click();
        EXPECT_TRUE(window.Confirmed());
    }
    EXPECT_EQ(frmSetParamStat::Sel_TipoDoc(), QStringLiteral("Preconto"));
    EXPECT_EQ(frmSetParamStat::Sel_DaData(), QDate(2026, 3, 1));
    EXPECT_EQ(frmSetParamStat::Sel_AData(), QDate(2026, 3, 31));
    frmSetParamStat again({});
    EXPECT_EQ(again.txtDaData->text(), QStringLiteral("01/03/26"));
    EXPECT_EQ(again.cmbTipoDoc->currentText(), QStringLiteral("Preconto"));
    again.cmdClear->click();
    EXPECT_EQ(again.txtAData->displayText(), QStringLiteral("__/__/__"));
    EXPECT_EQ(again.cmbTipoDoc->currentText(), QString());
    frmSetParamStat::ResetKept();
}

TEST(DateWindow, ReturnsTheChosenDayOrNothing)
{
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    dialogs.AnswerWindow([](QDialog& w) {
        auto& window = static_cast<frmDateSetting&>(w);
        EXPECT_EQ(window.calTimeSetting->selectedDate(), QDate(2026, 3, 15));
        window.calTimeSetting->setSelectedDate(QDate(2026, 4, 2));
        window.cmdSetting->click();
        return window.result();
    });
    EXPECT_EQ(frmDateSetting::SetDate(QDateTime(QDate(2026, 3, 15), QTime(10, 0))), QDateTime(QDate(2026, 4, 2), QTime(0, 0)));
    dialogs.AnswerWindow([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_FALSE(frmDateSetting::SetDate(QDateTime()).has_value());
}

} // namespace

namespace {

// The date window with the keyboard and the mouse: arrows move the day,
// Enter takes it, a double click takes the day clicked, Escape nothing.
TEST(DateWindow, ChosenWithTheKeyboardOrADoubleClick)
{
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    dialogs.AnswerWindow([](QDialog& w) {
        auto& window = static_cast<frmDateSetting&>(w);
        window.show();
        EXPECT_TRUE(UserInput::BringToFront(window));
        UserInput::Click(*window.calTimeSetting->findChild<QAbstractItemView*>());
        window.calTimeSetting->setSelectedDate(QDate(2026, 3, 15)); // the click picked a day; start again from the 15th
        UserInput::PressKey(Qt::Key_Right);
        UserInput::PressKey(Qt::Key_Down);
        UserInput::PressKey(Qt::Key_Return);
        return window.result();
    });
    EXPECT_EQ(frmDateSetting::SetDate(QDateTime(QDate(2026, 3, 15), QTime(10, 0))), QDateTime(QDate(2026, 3, 23), QTime(0, 0)));

    dialogs.AnswerWindow([](QDialog& w) {
        auto& window = static_cast<frmDateSetting&>(w);
        window.show();
        EXPECT_TRUE(UserInput::BringToFront(window));
        UserInput::PressKey(Qt::Key_Escape);
        return window.result();
    });
    EXPECT_FALSE(frmDateSetting::SetDate(QDateTime(QDate(2026, 3, 15), QTime(10, 0))).has_value());
}

// The parameters window filled with the keyboard alone: the dates typed
// into their masks, Enter to search.
TEST(ParamStatWindow, FilledWithTheKeyboard)
{
    frmSetParamStat::ResetKept();
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    frmSetParamStat window({QStringLiteral("Fattura"), QStringLiteral("Ricevuta fiscale")});
    ASSERT_TRUE(UserInput::BringToFront(window));
    UserInput::Click(*window.txtDaData);
    UserInput::PressKey(Qt::Key_Home);
    UserInput::TypeText(QStringLiteral("010326"));
    UserInput::PressKey(Qt::Key_Tab);
    UserInput::TypeText(QStringLiteral("310326"));
    UserInput::PressKey(Qt::Key_Return);
    EXPECT_TRUE(window.Confirmed()) << dialogs.Calls().size();
    EXPECT_EQ(frmSetParamStat::Sel_DaData(), QDate(2026, 3, 1));
    EXPECT_EQ(frmSetParamStat::Sel_AData(), QDate(2026, 3, 31));
    frmSetParamStat::ResetKept();
}

} // namespace
