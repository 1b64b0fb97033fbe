#pragma once
// A grid command that may run long on a big archive (a search over a
// million receipts, a total of a year): once its statements have run for a
// tenth of a second, the message window appears over the window with a stop
// button, stays painted while the statement runs, and a stop confirmed
// there ends the statement (Exception Interrupted). Quick commands never
// show it.

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <memory>

class DatabaseEngine;
class ScopedStatementWatch;
class QWidget;

class LongOperation
{
public:
    // `frozen`: a view over the archive that is not repainted meanwhile (its
    // rows are read again afterwards).
    LongOperation(DatabaseEngine& engine, QWidget* owner, QString text, QWidget* frozen = nullptr);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    bool MessageShown() const { return m_shown; }

    // The time after which the message appears, in milliseconds.
    static int Delay();
    // While alive, the message appears after `milliseconds` (tests).
    class ScopedDelay
    {
    public:
        explicit ScopedDelay(int milliseconds);
        ~ScopedDelay();

    private:
        int m_previous;
    };

private:
    bool KeepGoing();

    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_frozen;
    QString m_text;
    QElapsedTimer m_clock;
    bool m_shown = false;
    bool m_frozenUpdates = true;
    std::unique_ptr<ScopedStatementWatch> m_watch;
};
