// The archive generator's command line: help and wrong arguments write the
// usage and create no file; a right command writes the archive.
#include "support/ToolProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString ToolPath()
{
    return BuiltProgram(QStringLiteral("tools/mkarchive"), QStringLiteral("mkarchive"));
}

ToolRun Mkarchive(const QTemporaryDir& dir, const QStringList& arguments)
{
    return RunTool(ToolPath(), arguments, {}, dir.path());
}

TEST(Mkarchive, ArgumentsAreCheckedBeforeAnythingIsWritten)
{
    if (!QFileInfo::exists(ToolPath()))
        GTEST_SKIP() << "mkarchive is not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    const ToolRun help = Mkarchive(dir, {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("uso: mkarchive"))) << help.out.toStdString();

    const QList<QStringList> wrong = {
        {QStringLiteral("--bogus"), QStringLiteral("a.mdb")},
        {QStringLiteral("--receipts")},
        {QStringLiteral("--receipts"), QStringLiteral("tante"), QStringLiteral("a.mdb")},
        {QStringLiteral("--receipts"), QStringLiteral("0"), QStringLiteral("a.mdb")},
        {QStringLiteral("a.mdb"), QStringLiteral("b.mdb")},
        {},
    };
    for (const QStringList& arguments : wrong) {
        const ToolRun run = Mkarchive(dir, arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("uso: mkarchive"))) << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "no file was written";

    const ToolRun made = Mkarchive(dir, {QStringLiteral("--receipts"), QStringLiteral("20"), QStringLiteral("--seed"),
                                     QStringLiteral("7"), QStringLiteral("prova.mdb")});
    EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(made.out.startsWith(QStringLiteral("20 ricevute"))) << made.out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("prova.mdb"))));
}

} // namespace
