#pragma once
// The main window's deferred commands (tmFunc): a pop-up menu's handler
// names a command and returns; once the menu has closed the timer runs it,
// one command at a time.

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// A command name and, for the menu arrays ("mnuRefItem(3)"), its index; -1
// when the name carries none.
struct DeferredName
{
    QString name;
    int index = -1;
};
DeferredName ParseDeferredName(const QString& tag);

class DeferredCommand : public QObject
{
    Q_OBJECT

public:
    explicit DeferredCommand(QObject* parent = nullptr);

    // Runs `handler` for a command name (or a menu array's name, with the
    // element's index).
    void Register(const QString& name, std::function<void(int index)> handler);

    // Stores the command in the tag and starts the timer.
    void Post(const QString& command);

    // The timer's tick: nothing while a previous tick still runs; otherwise
    // the tag is read and cleared, the timer stopped, and the command run. A
    // tag that names no command does nothing.
    void Tick();

    const QString& Tag() const { return m_tag; }
    bool IsBusy() const { return m_busy; }
    bool IsPending() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
    QString m_tag;
    bool m_busy = false;
    QHash<QString, std::function<void(int)>> m_handlers;
};
