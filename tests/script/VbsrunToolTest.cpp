// The command-line runner: prints the script's output and reports a script
// error with its line and number and exit status 1.
#include "support/ToolProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString RunnerPath()
{
    return BuiltProgram(QStringLiteral("tools/vbsrun"), QStringLiteral("vbsrun"));
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

    const ToolRun run = RunTool(RunnerPath(), {script}, {}, {}, 10000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("Caffè 1,5\nERROR line=3 number=11: Divisione per zero\n"));
}

} // namespace
