#pragma once
// One running copy per user: a lock file in the runtime folder tells whether
// another copy is running, and a local server lets a second start ask the
// first one to come to the front.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // The key names the lock file and the server; the default one is the
    // product's name and the user's.
    explicit SingleInstance(const QString& key = DefaultKey(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy holds the lock. Otherwise this copy takes it
    // (a lock left by a copy that crashed is taken over) and starts listening
    // for the activation requests of later starts.
    bool IsAnotherRunning();

    // The second start: asks the first copy to come to the front.
    void NotifyFirstInstance();

    // The message a second start shows (title: the product name).
    static QString AlreadyRunningMessage();

    static QString DefaultKey();
    QString LockFilePath() const;
    QString ServerName() const;

Q_SIGNALS:
    // In the first copy: a later start asked to bring it to the front.
    void ActivationRequested();

private:
    void Listen();

    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
