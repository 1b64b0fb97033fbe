// One running copy: a second start is refused and brings the first to the
// front; a copy that crashed does not lock the user out.

#include "app/SingleInstance.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QUuid>
#include <gtest/gtest.h>

#include <csignal>

namespace {

QString UniqueKey()
{
    return QStringLiteral("MensoraTest-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// A process id that no process has.
qint64 DeadPid()
{
    for (qint64 pid = 4000000; pid > 1000; --pid) {
        if (::kill(pid_t(pid), 0) != 0)
            return pid;
    }
    return 0;
}

} // namespace

TEST(SingleInstance, TheSecondStartIsRefusedAndActivatesTheFirst)
{
    const QString key = UniqueKey();
    SingleInstance first(key);
    ASSERT_FALSE(first.IsAnotherRunning());
    QSignalSpy activations(&first, &SingleInstance::ActivationRequested);

    SingleInstance second(key);
    EXPECT_TRUE(second.IsAnotherRunning());
    second.NotifyFirstInstance();
    EXPECT_TRUE(activations.wait(5000));
    EXPECT_EQ(activations.size(), 1);
    EXPECT_FALSE(first.IsAnotherRunning()) << "the first copy stays the first";

    EXPECT_EQ(SingleInstance::AlreadyRunningMessage(),
              QStringLiteral("L'applicazione e' stata gia' avviata\r\rControlla la barra dei menu' per la "
                             "riattivazione premendo doppio click sull'icona corrispondente..."));
}

TEST(SingleInstance, ALockAndSocketLeftByACrashAreTakenOver)
{
    const QString key = UniqueKey();
    SingleInstance crashed(key);
    {
        QFile lock(crashed.LockFilePath());
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(DeadPid()) + "\nmensora\n\n");
    }
    // A socket file nobody listens on, as a killed copy leaves it.
    {
        QLocalServer stale;
        stale.setSocketOptions(QLocalServer::UserAccessOption);
        ASSERT_TRUE(stale.listen(crashed.ServerName()));
        const QString socketPath = stale.fullServerName();
        stale.close();
        QFile socket(socketPath);
        ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    }

    SingleInstance next(key);
    EXPECT_FALSE(next.IsAnotherRunning());
    QSignalSpy activations(&next, &SingleInstance::ActivationRequested);
    SingleInstance later(key);
    EXPECT_TRUE(later.IsAnotherRunning());
    later.NotifyFirstInstance();
    EXPECT_TRUE(activations.wait(5000));
    QLocalServer::removeServer(next.ServerName());
}

TEST(SingleInstance, TheLockEndsWithTheCopy)
{
    const QString key = UniqueKey();
    {
        SingleInstance first(key);
        ASSERT_FALSE(first.IsAnotherRunning());
    }
    SingleInstance again(key);
    EXPECT_FALSE(again.IsAnotherRunning());
}
