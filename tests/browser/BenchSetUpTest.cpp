// A benchmark that cannot prepare its archive says why and stops, instead of
// timing nothing and then crashing.
#include "support/ToolProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ToolRun RunBench(const QString& program, const QString& archive)
{
    return RunTool(program, {QStringLiteral("--benchmark_min_time=0.001s")},
                   {{QStringLiteral("MENSORA_BENCH_ARCHIVE"), archive},
                    {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}},
                   {}, 60000);
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TEST(BenchSetUp, AnArchiveThatCannotBeOpenedStopsTheBenchmarkWithAReason)
{
    const QString views = BuiltProgram(QStringLiteral("bench/views"), QStringLiteral("view_bench"));
    const QString archive = BuiltProgram(QStringLiteral("bench/archive"), QStringLiteral("archive_bench"));
    if (!QFileInfo::exists(views) || !QFileInfo::exists(archive))
        GTEST_SKIP() << "the benchmarks are not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    // Named otherwise than the main window looks for it.
    const QString other = dir.filePath(QStringLiteral("altro.mdb"));
    WriteFile(other, QByteArray());
    ToolRun run = RunBench(views, other);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << run.err.toStdString();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Mensora.mdb"))) << run.err.toStdString();

    // Not an archive at all.
    const QString garbage = dir.filePath(QStringLiteral("Mensora.mdb"));
    WriteFile(garbage, QByteArray(4096, 'x'));
    for (const QString& program : {views, archive}) {
        run = RunBench(program, garbage);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << program.toStdString() << run.err.toStdString();
        EXPECT_EQ(run.exitCode, 1) << program.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("non è un archivio valido"))) << run.err.toStdString();
    }
}

} // namespace
