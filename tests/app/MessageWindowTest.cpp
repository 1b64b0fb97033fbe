// The message window: progress texts, the stop request, the parent kept
// disabled while it is shown, and the archive engine's progress calls.

#include "app/frmMessage.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"

#include <QDialog>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MessageWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MessageWindow().SetClock([this] { return m_now; });
    }
    void TearDown() override { DestroyMessageWindow(); }

    frmMessage& Window() { return MessageWindow(); }
    QString Label(const char* name) { return Window().findChild<QLabel*>(QLatin1String(name))->text(); }
    QPushButton* Stop() { return Window().findChild<QPushButton*>(QStringLiteral("cmdStop")); }
    QProgressBar* Bar() { return Window().findChild<QProgressBar*>(QStringLiteral("pbNotify")); }

    qint64 m_now = 1000000;
    QWidget m_owner;
    ScriptedDialogs m_dialogs;
    ScopedDialogService m_use{m_dialogs};
};

} // namespace

TEST_F(MessageWindowTest, ShowsTheTextAndDisablesItsParentUntilUnloaded)
{
    m_owner.show();
    Window().ShowMsg(QStringLiteral("Inizializzazione del database..."), &m_owner);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Label("lblMessage"), QStringLiteral("Inizializzazione del database..."));
    EXPECT_FALSE(m_owner.isEnabled());
    EXPECT_FALSE(Bar()->isVisible());
    EXPECT_FALSE(Stop()->isVisible());
    EXPECT_EQ(Window().MaxProgress(), 0);

    // A second text over the same parent must not take the disabled state
    // as the one to restore.
    Window().ShowMsg(QStringLiteral("Chiusura di Mensora ..."), &m_owner);
    Window().Unload();
    EXPECT_FALSE(Window().isVisible());
    EXPECT_TRUE(m_owner.isEnabled());
    EXPECT_EQ(Label("lblMessage"), QStringLiteral("Attendere..."));
}

TEST_F(MessageWindowTest, TheParentGetsBackTheFocusItHad)
{
    // Disabling the parent moves its focus on; typing after the operation
    // must reach the box the user was typing in.
    auto* layout = new QVBoxLayout(&m_owner);
    auto* first = new QLineEdit;
    auto* second = new QLineEdit;
    layout->addWidget(first);
    layout->addWidget(second);
    ASSERT_TRUE(UserInput::BringToFront(m_owner));
    UserInput::Click(*second);
    UserInput::TypeText(QStringLiteral("ab"));
    Window().ShowMsg(QStringLiteral("Lettura Menù..."), &m_owner);
    Window().Unload();
    UserInput::TypeText(QStringLiteral("cd"));
    EXPECT_EQ(second->text(), QStringLiteral("abcd"));
    EXPECT_EQ(first->text(), QString());
}

TEST_F(MessageWindowTest, AnotherParentIsReleasedAndADisabledOneStaysDisabled)
{
    QWidget other;
    other.setEnabled(false);
    Window().ShowMsg(QStringLiteral("uno"), &m_owner);
    Window().ShowMsg(QStringLiteral("due"), &other);
    EXPECT_TRUE(m_owner.isEnabled());
    EXPECT_EQ(Window().ParentWindow(), &other);
    Window().Unload();
    EXPECT_FALSE(other.isEnabled());
}

TEST_F(MessageWindowTest, NotShownOverAWindowThatAModalWindowBlocks)
{
    m_owner.show();
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    Window().ShowMsg(QStringLiteral("Stampa in corso..."), &m_owner);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_TRUE(m_owner.isEnabled());
    EXPECT_EQ(Window().ParentWindow(), nullptr);
    EXPECT_TRUE(Window().Progress()) << "the operation goes on without the window";

    Window().ShowMsg(QStringLiteral("Stampa in corso..."), &modal);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_FALSE(modal.isEnabled());
    Window().Unload();
    EXPECT_TRUE(modal.isEnabled());
}

TEST_F(MessageWindowTest, ProgressCountsAndShowsValueOfMaximumOrAPercentage)
{
    ScopedMessage message(QStringLiteral("Conversione..."), &m_owner);
    Window().StartProgress(0, false);
    EXPECT_EQ(Window().MaxProgress(), 1) << "a total of 0 counts as 1";
    EXPECT_TRUE(Bar()->isVisible());

    Window().StartProgress(20, true);
    EXPECT_TRUE(Stop()->isVisible());
    EXPECT_EQ(Label("lblCount"), QString());
    EXPECT_TRUE(Window().Progress(5));
    EXPECT_EQ(Label("lblCount"), QStringLiteral("5 / 20"));
    EXPECT_EQ(Bar()->value(), 5);
    Window().Progress();
    EXPECT_EQ(Label("lblCount"), QStringLiteral("6 / 20"));
    Window().Progress(25);
    EXPECT_EQ(Window().ProgressValue(), 6) << "a count above the maximum is ignored";

    Window().StartProgress(40000, false);
    Window().Progress(10000);
    EXPECT_EQ(Label("lblCount"), QStringLiteral("25 %"));

    // Totals beyond the bar's int range still count and show a percentage.
    Window().StartProgress(10'000'000'000LL, false);
    Window().Progress(2'500'000'000LL);
    EXPECT_EQ(Label("lblCount"), QStringLiteral("25 %"));
    EXPECT_EQ(Window().MaxProgress(), 10'000'000'000LL);

    Window().EndProgress();
    EXPECT_FALSE(Bar()->isVisible());
    EXPECT_EQ(Window().MaxProgress(), 0);
}

TEST_F(MessageWindowTest, RemainingTimeOnlyAfterFiveSeconds)
{
    ScopedMessage message(QStringLiteral("Importazione..."), &m_owner);
    Window().StartProgress(100, false);
    m_now += 4900;
    Window().Progress(10);
    EXPECT_EQ(Label("lblTime"), QString());
    m_now += 100; // 5 s for 10 of 100: 45 s to go
    Window().Progress(10);
    EXPECT_EQ(Label("lblTime"), QStringLiteral("00:00:45"));

    Window().StartProgress(1000000, false);
    EXPECT_EQ(Label("lblTime"), QString());
    m_now += 100000; // 100 s for 1 of 1,000,000
    Window().Progress(1);
    EXPECT_EQ(Label("lblTime"), QStringLiteral("1157gg 09:45:00"));
}

TEST_F(MessageWindowTest, ACompletedBarIsClosedByTheNextText)
{
    ScopedMessage message(QStringLiteral("uno"), &m_owner);
    Window().StartProgress(2, false);
    Window().Progress(2);
    Window().ShowMsg(QStringLiteral("due"), &m_owner);
    EXPECT_FALSE(Bar()->isVisible());
}

TEST_F(MessageWindowTest, StopAsksAndAnsweringYesTwiceUnloads)
{
    m_owner.show();
    Window().ShowMsg(QStringLiteral("Stampa..."), &m_owner);
    Window().StartProgress(10, true);

    m_dialogs.AnswerMessage(MsgResult::No);
    Stop()->click();
    ASSERT_EQ(m_dialogs.Calls().size(), 1u);
    const DialogCall& question = m_dialogs.LastCall();
    EXPECT_EQ(question.text, QStringLiteral("Confermi l'interruzione ?"));
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_TRUE(Window().Progress()) << "No lets the operation go on";

    m_dialogs.AnswerMessage(MsgResult::Yes);
    QTest::keyClick(&Window(), Qt::Key_Escape);
    EXPECT_TRUE(Window().Stopped());
    EXPECT_FALSE(Window().Progress());
    EXPECT_TRUE(Window().OnStopped());
    EXPECT_TRUE(Window().isVisible());

    m_dialogs.AnswerMessage(MsgResult::Yes);
    Stop()->click();
    EXPECT_FALSE(Window().isVisible());
    EXPECT_TRUE(m_owner.isEnabled());
    EXPECT_FALSE(Window().Progress()) << "the operation still sees the stop and ends itself";

    Window().StartProgress(5, false);
    EXPECT_FALSE(Window().Stopped()) << "new progress starts afresh";
    Window().Unload();
}

TEST_F(MessageWindowTest, EscWithoutAStopButtonAsksNothing)
{
    ScopedMessage message(QStringLiteral("Attendere..."), &m_owner);
    Window().StartProgress(10, false);
    QTest::keyClick(&Window(), Qt::Key_Escape);
    EXPECT_TRUE(m_dialogs.Calls().empty());
    EXPECT_TRUE(Window().isVisible());
}

TEST_F(MessageWindowTest, ArchiveEngineProgressCalls)
{
    ScopedMessage message(QStringLiteral("Apertura..."), &m_owner);
    itfProgress& sink = Window();
    sink.OnStart(1, 8);
    EXPECT_EQ(Window().MaxProgress(), 8);
    EXPECT_TRUE(Stop()->isVisible());
    EXPECT_TRUE(sink.OnProgress(1, 8, 3));
    EXPECT_EQ(Label("lblCount"), QStringLiteral("3 / 8"));
    // With no total the count is no count: the bar stays where it is.
    EXPECT_TRUE(sink.OnProgress(1, 0, 7));
    EXPECT_EQ(Window().ProgressValue(), 3);
    EXPECT_TRUE(sink.OnProgress(1, 8, 0));
    EXPECT_EQ(Window().ProgressValue(), 4);
    EXPECT_FALSE(sink.OnStopped());
    sink.OnEnd(1, 8);
    EXPECT_EQ(Window().MaxProgress(), 0);

    Window().StartProgress(5, false);
    Window().EndProgress();
    sink.OnProgress(1, 5, 2);
    EXPECT_TRUE(Stop()->isVisible()) << "a count with the bar hidden only offers the stop button";
}

TEST_F(MessageWindowTest, ScopedMessageUnloadsOnEveryPath)
{
    try {
        ScopedMessage message(QStringLiteral("Conversione..."), &m_owner);
        EXPECT_FALSE(m_owner.isEnabled());
        throw std::runtime_error("interrotta");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(m_owner.isEnabled());
    EXPECT_FALSE(Window().isVisible());
}
