// Runs every script of tests/script/corpus/<feature>/ through the engine
// with the Echo and ok subs, and compares what it writes with the .out file
// beside it: the output real scripts give under the Italian locale.
#include "script/ConsoleRunner.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString CorpusDir()
{
    return QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + QStringLiteral("/corpus");
}

QString ReadText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing %1>").arg(path);
    return vbs::DecodeScriptFile(file.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::vector<std::string> Features()
{
    std::vector<std::string> features;
    const QDir dir(CorpusDir());
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        features.push_back(name.toStdString());
    return features;
}

class Corpus : public ::testing::TestWithParam<std::string>
{
};

TEST_P(Corpus, ScriptsWriteTheExpectedOutput)
{
    const QString folder = CorpusDir() + QLatin1Char('/') + QString::fromStdString(GetParam());
    const QStringList scripts = QDir(folder).entryList({QStringLiteral("*.vbs")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(scripts.isEmpty());
    for (const QString& script : scripts) {
        SCOPED_TRACE(script.toStdString());
        const QString path = folder + QLatin1Char('/') + script;
        const vbs::ConsoleResult result = vbs::RunConsoleScript(ReadText(path));
        QString expectedPath = path;
        expectedPath.replace(expectedPath.size() - 4, 4, QStringLiteral(".out"));
        EXPECT_EQ(result.output.toStdString(), ReadText(expectedPath).toStdString());
        EXPECT_NE(result.exitCode, 2) << "an ok check failed";
    }
}

INSTANTIATE_TEST_SUITE_P(Features, Corpus, ::testing::ValuesIn(Features()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
