// Export of a data object's records to a file: what a spreadsheet and a
// browser get, the progress sink, and that a stopped or failed export never
// leaves a half-written file.
#include "EngineDialogsArchive.h"

#include "component/DataExport.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Records the calls of an export; answers false from the given count on.
class ProgressLog : public itfProgress
{
public:
    explicit ProgressLog(qint64 stopAt = -1) : m_stopAt(stopAt) {}
    bool OnProgress(int, qint64 total, qint64 count) override
    {
        calls << QStringLiteral("progress %1/%2").arg(count).arg(total);
        return m_stopAt < 0 || count < m_stopAt;
    }
    bool OnStopped() override { return false; }
    void OnStart(int, qint64 total) override { calls << QStringLiteral("start %1").arg(total); }
    void OnEnd(int, qint64 total) override { calls << QStringLiteral("end %1").arg(total); }

    QStringList calls;

private:
    qint64 m_stopAt;
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(DataExport, CsvIsWhatAnItalianSpreadsheetReads)
{
    DialogTest::Archive archive;
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Prezzo DESC"));
    dishes->SetFilter(QStringLiteral("Prezzo > 5"));
    const QString path = archive.Path(QStringLiteral("piatti.csv"));
    ProgressLog progress;
    ASSERT_TRUE(DataExport::Export(*dishes, DataExport::Csv, path, &progress));

    const QByteArray bytes = ReadAll(path);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6) << bytes.constData();
    EXPECT_EQ(lines[0], QStringLiteral("Nome;Prezzo di vendita;Ultima Data;Porzioni;Peso;Disponibile;Categoria"));
    EXPECT_EQ(lines[1], QStringLiteral("Panna cotta;1234,50;09/03/2024 20:30:00;2;0,25;Sì;Dolci"));
    EXPECT_EQ(lines[2], QStringLiteral("\"Risotto \"\"nero\"\"; al nero\";12,50;09/03/2024 20:30:00;2;0,25;Sì;Primi"));
    EXPECT_EQ(lines[3], QStringLiteral("Lasagne;9,00;09/03/2024 20:30:00;2;0,25;Sì;Primi"));
    EXPECT_EQ(lines[4], QStringLiteral("Pasta 50% <integrale>;7,00;09/03/2024 20:30:00;2;0,25;Sì;"));
    EXPECT_EQ(lines[5], QString());
    EXPECT_EQ(progress.calls, (QStringList{"start 4", "progress 4/4", "end 4"}));
}

TEST(DataExport, CsvQuotesOnlyWhenItMust)
{
    EXPECT_EQ(DataExport::CsvField(QStringLiteral("semplice, con virgola")), QStringLiteral("semplice, con virgola"));
    EXPECT_EQ(DataExport::CsvField(QStringLiteral("a;b")), QStringLiteral("\"a;b\""));
    EXPECT_EQ(DataExport::CsvField(QStringLiteral("riga\nnuova")), QStringLiteral("\"riga\nnuova\""));
    EXPECT_EQ(DataExport::CsvField(QStringLiteral("a \"b\"")), QStringLiteral("\"a \"\"b\"\"\""));
}

TEST(DataExport, HtmlIsAnEscapedTableWithItalianFormats)
{
    DialogTest::Archive archive;
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    const QString path = archive.Path(QStringLiteral("TableData.htm"));
    ASSERT_TRUE(DataExport::Export(*dishes, DataExport::Html, path, nullptr,
                                   {QStringLiteral("Nome"), QStringLiteral("Prezzo"), QStringLiteral("Codice")}));
    const QString html = QString::fromUtf8(ReadAll(path));
    EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<title>Piatti del giorno</title>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><th>Nome</th><th>Prezzo di vendita</th><th>Codice</th></tr>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><td>Panna cotta</td><td class=\"n\">1.234,50</td><td></td></tr>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>Pasta 50% &lt;integrale&gt;</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>Risotto &quot;nero&quot;; al nero</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>Tiramisù</td>")));
    EXPECT_LT(html.indexOf(QStringLiteral("Lasagne")), html.indexOf(QStringLiteral("Tiramisù")));
    EXPECT_TRUE(html.trimmed().endsWith(QStringLiteral("</html>")));
}

TEST(DataExport, ProgressEveryHundredRecordsAndAStopWritesNothing)
{
    DialogTest::Archive archive;
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    archive.InsertDishes(245);
    const QString path = archive.Path(QStringLiteral("piatti.csv"));

    ProgressLog all;
    ASSERT_TRUE(DataExport::Export(*dishes, DataExport::Csv, path, &all));
    EXPECT_EQ(all.calls, (QStringList{"start 250", "progress 100/250", "progress 200/250", "progress 250/250", "end 250"}));
    EXPECT_EQ(QString::fromUtf8(ReadAll(path)).count(QStringLiteral("\r\n")), 251);

    QFile previous(path);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("esportazione precedente");
    previous.close();
    ProgressLog stopping(200);
    EXPECT_FALSE(DataExport::Export(*dishes, DataExport::Csv, path, &stopping));
    EXPECT_EQ(stopping.calls, (QStringList{"start 250", "progress 100/250", "progress 200/250", "end 250"}));
    EXPECT_EQ(ReadAll(path), QByteArray("esportazione precedente"));
}

TEST(DataExport, RefusalsAreErrorsAndLeaveNoFile)
{
    DialogTest::Archive archive;
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    const QString path = archive.Path(QStringLiteral("piatti.txt"));
    auto numberOf = [&](auto&& run) {
        try {
            run();
        } catch (const Exception& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf([&] { DataExport::Export(*dishes, 7, path); }), ComponentError::InvalidValue);
    EXPECT_EQ(numberOf([&] { DataExport::Export(*dishes, DataExport::Csv, path, nullptr, {QStringLiteral("Colore")}); }),
              ComponentError::UnknownField);
    EXPECT_FALSE(QFile::exists(path));

    ProgressLog progress;
    EXPECT_EQ(numberOf([&] { DataExport::Export(*dishes, DataExport::Csv, archive.Path(QStringLiteral("no/x/y.csv")), &progress); }),
              ComponentError::Io);
}
