// A benchmark that cannot prepare its archive says why and stops, instead of
// timing nothing and then crashing.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct BenchRun
{
    bool finished = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QString err;
};

BenchRun RunBench(const QString& program, const QString& archive)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MENSORA_BENCH_ARCHIVE"), archive);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(program, {QStringLiteral("--benchmark_min_time=0.001s")});
    BenchRun run;
    run.finished = process.waitForFinished(60000);
    run.status = process.exitStatus();
    run.exitCode = process.exitCode();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TEST(BenchSetUp, AnArchiveThatCannotBeOpenedStopsTheBenchmarkWithAReason)
{
    const QString bench = QCoreApplication::applicationDirPath() + QStringLiteral("/../bench");
    const QString views = bench + QStringLiteral("/views/view_bench");
    const QString archive = bench + QStringLiteral("/archive/archive_bench");
    if (!QFileInfo::exists(views) || !QFileInfo::exists(archive))
        GTEST_SKIP() << "the benchmarks are not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    // Named otherwise than the main window looks for it.
    const QString other = dir.filePath(QStringLiteral("altro.mdb"));
    WriteFile(other, QByteArray());
    BenchRun run = RunBench(views, other);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, QProcess::NormalExit) << run.err.toStdString();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Mensora.mdb"))) << run.err.toStdString();

    // Not an archive at all.
    const QString garbage = dir.filePath(QStringLiteral("Mensora.mdb"));
    WriteFile(garbage, QByteArray(4096, 'x'));
    for (const QString& program : {views, archive}) {
        run = RunBench(program, garbage);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, QProcess::NormalExit) << program.toStdString() << run.err.toStdString();
        EXPECT_EQ(run.exitCode, 1) << program.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("non è un archivio valido"))) << run.err.toStdString();
    }
}

} // namespace
