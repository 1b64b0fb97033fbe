// A print queue that exists but refuses jobs is told before anything is sent.
// The system's `lpstat` is replaced by a script in a folder put first in PATH.

#include "printing/QueueAcceptance.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class QueueAcceptance : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ':' + m_path);
    }
    void TearDown() override { qputenv("PATH", m_path); }

    // An `lpstat` that prints `output` and ends with `status`.
    void FakeLpstat(const QByteArray& output, int status = 0)
    {
        QFile script(m_dir.filePath(QStringLiteral("lpstat")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n[ \"$1\" = \"-a\" ] || exit 9\n[ \"$LC_ALL\" = C ] || exit 8\ncat <<'EOF'\n" + output
                     + "EOF\nexit " + QByteArray::number(status) + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};

TEST_F(QueueAcceptance, AQueueThatRejectsJobsIsNotReady)
{
    FakeLpstat("Cassa not accepting requests since Tue Dec  8 12:11:54 2026 -\n\tRejecting Jobs\n");
    EXPECT_EQ(QueueRefusal(QStringLiteral("Cassa")),
              QStringLiteral("La stampante \"Cassa\" non accetta lavori di stampa (le richieste vengono rifiutate)."));

    // Only the line of the queue asked about counts.
    FakeLpstat("Cassa2 not accepting requests since Tue Dec  8 12:11:54 2026 -\nCassa accepting requests since Tue "
               "Dec  8 12:11:54 2026\n");
    EXPECT_EQ(QueueRefusal(QStringLiteral("Cassa")), QString());
}

TEST_F(QueueAcceptance, WithoutAClearAnswerTheQueueCountsAsAccepting)
{
    FakeLpstat("Cassa accepting requests since Tue Dec  8 12:11:54 2026\n");
    EXPECT_EQ(QueueRefusal(QStringLiteral("Cassa")), QString());
    // An unknown queue is reported elsewhere (not installed); a failing
    // command says nothing about the queue.
    FakeLpstat("lpstat: Invalid destination name in list \"Cassa\".\n", 1);
    EXPECT_EQ(QueueRefusal(QStringLiteral("Cassa")), QString());
    EXPECT_EQ(QueueRefusal(QString()), QString());
}

} // namespace
