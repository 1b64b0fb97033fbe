#pragma once
// Runs one of the project's programs (a tool, a benchmark) as its users do:
// in a process of its own, keeping its exit and what it wrote.

#include <QCoreApplication>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

struct ToolRun
{
    bool finished = false;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    int exitCode = -1;
    QString out;
    QString err;
};

// A program built beside the test executables: <build>/<folder>/<name>.
inline QString BuiltProgram(const QString& folder, const QString& name)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../") + folder + u'/' + name;
}

// environment: variables set on top of this process's own.
inline ToolRun RunTool(const QString& program, const QStringList& arguments,
                       const QMap<QString, QString>& environment = {}, const QString& workingDirectory = {},
                       int timeoutMs = 30000)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (auto it = environment.begin(); it != environment.end(); ++it)
        env.insert(it.key(), it.value());
    process.setProcessEnvironment(env);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    ToolRun run;
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(1000);
        return run;
    }
    run.exitStatus = process.exitStatus();
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
