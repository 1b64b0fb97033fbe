#include "app/SingleInstance.h"

#include "app/AppInfo.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr int kConnectTimeout = 2000; // milliseconds
const QByteArray kActivate = QByteArrayLiteral("activate\n");

QString RuntimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = QDir::tempPath();
    return folder;
}

QString UserName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return user;
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), m_key(key)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultKey()
{
    return AppInfo::ProductName() + QLatin1Char('-') + UserName();
}

QString SingleInstance::LockFilePath() const
{
    return QDir(RuntimeFolder()).filePath(ServerName() + QStringLiteral(".lock"));
}

QString SingleInstance::ServerName() const
{
    // A short name fit for a socket path, the same for every copy of the user.
    const QByteArray hash = QCryptographicHash::hash(m_key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return AppInfo::ProductName() + QLatin1Char('-') + QString::fromLatin1(hash);
}

QString SingleInstance::AlreadyRunningMessage()
{
    return QStringLiteral("L'applicazione e' stata gia' avviata\r\r"
                          "Controlla la barra dei menu' per la riattivazione premendo "
                          "doppio click sull'icona corrispondente...");
}

bool SingleInstance::IsAnotherRunning()
{
    if (m_lock && m_server)
        return false;
    auto lock = std::make_unique<QLockFile>(LockFilePath());
    // A running copy keeps its lock however long it runs; a lock whose copy
    // is gone is taken over by tryLock.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        Listen();
        return false;
    }
    if (lock->error() == QLockFile::LockFailedError)
        return true;
    // The lock file cannot be used at all (no writable folder): ask the
    // server instead, and never lock the user out.
    QLocalSocket probe;
    probe.connectToServer(ServerName());
    if (probe.waitForConnected(kConnectTimeout))
        return true;
    Listen();
    return false;
}

void SingleInstance::NotifyFirstInstance()
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kConnectTimeout))
        return;
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeout);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kConnectTimeout);
}

void SingleInstance::Listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(ServerName())) {
        // A socket left by a copy that crashed: only this copy holds the lock.
        QLocalServer::removeServer(ServerName());
        m_server->listen(ServerName());
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kActivate.trimmed()))
                    Q_EMIT ActivationRequested();
            });
        }
    });
}
