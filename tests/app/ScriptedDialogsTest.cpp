// The scripted dialog service must catch a dialog the test did not expect,
// or every test that relies on it would pass without checking anything.
#include "support/ScriptedDialogs.h"

#include <gtest/gtest-spi.h>

TEST(ScriptedDialogs, AnswersInOrderAndRecordsEveryCall)
{
    ScriptedDialogs dialogs;
    dialogs.AnswerMessage(MsgResult::No).AnswerInput(QStringLiteral("12")).AnswerSaveFile(std::nullopt);
    DialogService& service = dialogs;
    EXPECT_EQ(service.MessageBox(QStringLiteral("Confermi ?"), MsgButtons::YesNo, MsgIcon::Question,
                                 MsgDefault::Button2, QStringLiteral("ATTENZIONE")),
              MsgResult::No);
    EXPECT_EQ(service.InputBox(QStringLiteral("Coperti:"), QString(), QStringLiteral("1")), QStringLiteral("12"));
    service.Beep();
    EXPECT_EQ(service.GetSaveFileName(QString(), QStringLiteral("/tmp"), QStringLiteral("LastError.txt"),
                                      QStringLiteral("Testo|*.txt")),
              std::nullopt);

    ASSERT_EQ(dialogs.Calls().size(), 4u);
    const DialogCall& box = dialogs.Calls()[0];
    EXPECT_EQ(box.text, QStringLiteral("Confermi ?"));
    EXPECT_EQ(box.title, QStringLiteral("ATTENZIONE"));
    EXPECT_EQ(box.buttons, MsgButtons::YesNo);
    EXPECT_EQ(box.icon, MsgIcon::Question);
    EXPECT_EQ(box.defaultButton, MsgDefault::Button2);
    EXPECT_EQ(dialogs.Calls()[1].defaultText, QStringLiteral("1"));
    EXPECT_EQ(dialogs.Beeps(), 1);
    EXPECT_EQ(dialogs.LastCall().filter, QStringLiteral("Testo|*.txt"));
}

TEST(ScriptedDialogs, UnexpectedDialogsFailTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Sicuro ?"), MsgButtons::YesNo, MsgIcon::Question,
                                         MsgDefault::Button2, QString()),
                      MsgResult::No);
        },
        "Unscripted message box");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.AnswerMessage(MsgResult::Yes);
            EXPECT_EQ(dialogs.InputBox(QStringLiteral("Nome"), QString(), QString()), std::nullopt);
        },
        "where the script expected a message box");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.AnswerPrinterSetup(true);
        },
        "never used");
}

TEST(ScriptedDialogs, ScopedOverrideRestoresThePreviousService)
{
    ScriptedDialogs outer;
    ScriptedDialogs inner;
    {
        ScopedDialogService useOuter(outer);
        EXPECT_EQ(DialogServiceDetail::g_current, &outer);
        {
            ScopedDialogService useInner(inner);
            EXPECT_EQ(DialogServiceDetail::g_current, &inner);
        }
        EXPECT_EQ(DialogServiceDetail::g_current, &outer);
    }
    EXPECT_EQ(DialogServiceDetail::g_current, nullptr);
}
