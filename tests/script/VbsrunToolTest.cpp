// The command-line runner: prints the script's output and reports a script
// error with its line and number and exit status 1.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString RunnerPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/vbsrun/vbsrun");
}

TEST(Vbsrun, PrintsOutputAndReportsErrorsWithStatus)
{
    if (!QFileInfo::exists(RunnerPath()))
        GTEST_SKIP() << "vbsrun is not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString script = dir.filePath(QStringLiteral("prova.vbs"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // CR LF line ends and code page 1252 text, as older editors save them.
    file.write("Echo \"Caff\xE8\", 1.5\r\nok 1 = 1, \"mai\"\r\nx = 1 / 0\r\n");
    file.close();

    QProcess process;
    process.start(RunnerPath(), {script});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()),
              QStringLiteral("Caffè 1,5\nERROR line=3 number=11: Divisione per zero\n"));
}

} // namespace
