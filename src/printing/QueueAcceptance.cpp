#include "printing/QueueAcceptance.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

QString QueueRefusal(const QString& queue, int timeoutMs)
{
    const QString lpstat = QStandardPaths::findExecutable(QStringLiteral("lpstat"));
    if (queue.isEmpty() || lpstat.isEmpty())
        return {};
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(lpstat, {QStringLiteral("-a"), queue});
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(500);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    // "<queue> accepting requests since ..." or "<queue> not accepting requests since ..."
    const QString prefix = queue + QStringLiteral(" not accepting ");
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardOutput()).split(u'\n');
    for (const QString& line : lines)
        if (line.startsWith(prefix))
            return QStringLiteral("La stampante \"%1\" non accetta lavori di stampa (le richieste vengono rifiutate).")
                .arg(queue);
    return {};
}
