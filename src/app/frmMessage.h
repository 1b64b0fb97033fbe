#pragma once
// The message window: a short text over the window that started a long
// operation, with an optional progress bar, count, remaining time and stop
// button. One shared instance; the window it belongs to is disabled while it
// is shown. It is also the archive engine's progress sink.

#include "component/ComponentInterfaces.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class frmMessage : public QDialog, public itfProgress
{
    Q_OBJECT

public:
    frmMessage();
    ~frmMessage() override;

    // Shows the text over the parent (which is disabled meanwhile). Top and
    // left are in twips; -1 keeps the window where it is (centred over the
    // parent the first time). Not shown while a modal window that the parent
    // does not belong to is up.
    void ShowMsg(const QString& text, QWidget* parent, int top = -1, int left = -1);
    // Shows the bar from 0 to the total (0 counts as 1); the stop button only
    // when stopEnabled.
    void StartProgress(qint64 total, bool stopEnabled);
    // One step: a count above 0 sets the bar, 0 adds one; noCount only makes
    // sure the stop button is there. Lets pending input through; false once
    // the user has confirmed the stop.
    bool Progress(qint64 count = 0, bool noCount = false);
    // The bar's maximum while it is shown, else 0.
    qint64 MaxProgress() const;
    void EndProgress();
    bool Stopped() const { return m_stopped; }
    // Hides the window, gives the parent back its enabled state, and forgets
    // text, progress and the stop request.
    void Unload();

    // itfProgress, as the archive engine calls it.
    bool OnProgress(int p_evtAction, qint64 p_nTotal, qint64 p_nCount) override;
    bool OnStopped() override;
    void OnStart(int p_evtAction, qint64 p_nTotal) override;
    void OnEnd(int p_evtAction, qint64 p_nTotal) override;

    // The clock the remaining time is measured with, in milliseconds from any
    // fixed origin; an empty function restores the steady system clock.
    void SetClock(std::function<qint64()> msecsNow);

    QWidget* ParentWindow() const { return m_parent; }
    bool ProgressShown() const { return m_progressShown; }
    qint64 ProgressValue() const { return m_value; }

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void AskStop();
    void ReleaseParent();
    void UpdateBar(bool withTexts);
    void NextHourglassFrame();
    qint64 Now() const;

    QLabel* m_lblMessage = nullptr;
    QLabel* m_imgHourglass = nullptr;
    QFrame* m_frame = nullptr;
    QProgressBar* m_pbNotify = nullptr;
    QLabel* m_lblCount = nullptr;
    QLabel* m_lblTime = nullptr;
    QPushButton* m_cmdStop = nullptr;
    QTimer* m_tmHourglass = nullptr;

    QPointer<QWidget> m_parent;
    // The control that had the focus in the parent's window: disabling the
    // window moves the focus away from it, and it gets it back on release.
    QPointer<QWidget> m_parentFocus;
    bool m_parentWasEnabled = false;
    bool m_placed = false;
    bool m_stopped = false;
    bool m_progressShown = false;
    qint64 m_maximum = 1;
    qint64 m_value = 0;
    qint64 m_startMsecs = 0;
    int m_hourglassFrame = 0;
    std::function<qint64()> m_clock;
};

// The shared message window, created on first use.
frmMessage& MessageWindow();

// Destroys the shared message window (at the end of the run, and between
// tests); the next MessageWindow() creates a new one.
void DestroyMessageWindow();

// Shows a message for the lifetime of a scope and unloads it on every path.
class ScopedMessage
{
public:
    ScopedMessage(const QString& text, QWidget* parent, int top = -1, int left = -1);
    ~ScopedMessage();
    ScopedMessage(const ScopedMessage&) = delete;
    ScopedMessage& operator=(const ScopedMessage&) = delete;
};
