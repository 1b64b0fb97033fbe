// The grid tools over a decade of sales (1,000,000 receipts), each case
// beside the hand-written SQLite statements that do the same data work: a
// "contains" filter on the receipts' notes with the count and first screen
// the grid then shows, the next match of a search, the total of a month's
// receipts as the totals menu gives it, and the first page of a year's
// receipt list.
//
// The engine's cases run under the statement watch the main window puts on
// every such command (the message window and its stop button after a tenth
// of a second); the longest stretch between two of its calls is reported as
// "intervallo_max_ms": the longest the window can go without being repainted
// or stopped.
//
// Uses the archive of bench/archive (MENSORA_BENCH_ARCHIVE, generated when missing).

#include "ArchiveGenerator.h"
#include "BenchArchive.h"
#include "RatioReporter.h"

#include "app/AppSettings.h"
#include "browser/ArchiveReport.h"
#include "browser/DateSelection.h"
#include "browser/GridCriteria.h"
#include "browser/GridTotals.h"
#include "browser/PeriodSelection.h"
#include "browser/ReportPrinting.h"
#include "component/ComponentGlobal.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Sqlite.h"
#include "component/Table.h"
#include "data/DB.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

namespace {

constexpr int kScreenRows = 30;
const int kYear = QDate::currentDate().year() - 1;


std::shared_ptr<DataObject> Open(const QString& table, const QString& criteria = {}, const QString& order = {})
{
    BenchArchive& a = TheArchive();
    return a.database->Tables().Item(table).OpenDataObject(a.engine, criteria, order, {}, {}, true);
}

// The watch of the main window's long commands: a clock read each call, the
// longest stretch kept.
class Watch
{
public:
    Watch() : m_watch(*TheArchive().engine, [this] { return Tick(); }) { m_clock.start(); }
    double LongestMs() const { return double(m_longest) / 1e6; }

private:
    bool Tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
        return true;
    }

    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    ScopedStatementWatch m_watch;
};

qint64 ReadScreen(DataObject& view)
{
    qint64 sum = view.RecordCount();
    for (int r = 0; r < kScreenRows; ++r) {
        const RowPager::Row* row = view.RowAt(r);
        if (!row)
            break;
        for (int f = 1; f < view.FieldCount(); ++f)
            sum += view.DisplayText(f, row->values[f]).size();
    }
    return sum;
}

qint64 RawScreen(const QString& count, const QString& rows, int rowCount = kScreenRows)
{
    SqliteDb& db = TheArchive().raw;
    Statement n(db, count);
    n.Step();
    qint64 sum = n.ColumnInt(0);
    Statement s(db, rows);
    for (int r = 0; r < rowCount && s.Step(); ++r)
        for (int c = 0; c < s.ColumnCount(); ++c)
            sum += s.Column(c).toString().size();
    return sum;
}

const QString kReceiptColumns = QStringLiteral(
    "r.OID, r.Importo_Ricevuta, r.Numero, r.Data, r.AnnoFiscale, r.Note, d.Descrizione, c.Ragione_Sociale, "
    "r.OID_TipoDocumento, r.OID_Cliente FROM Ricevute r LEFT JOIN TipiDocumento d ON d.OID = r.OID_TipoDocumento "
    "LEFT JOIN Clienti c ON c.OID = r.OID_Cliente");

// --- a "contains" filter on the notes, then the count and first screen

void FilterNote_engine(benchmark::State& state)
{
    Open(QStringLiteral("Ricevute"), {}, QStringLiteral("AnnoFiscale,Numero"))->RowAt(0); // its order index exists
    double longest = 0;
    for (auto _ : state) {
        auto receipts = Open(QStringLiteral("Ricevute"), {}, QStringLiteral("AnnoFiscale,Numero"));
        Watch watch;
        receipts->SetFilter(GridCriteria::LikeCriteria(receipts->Database(), QStringLiteral("Note"), QStringLiteral("glutine"), true));
        benchmark::DoNotOptimize(ReadScreen(*receipts));
        longest = std::max(longest, watch.LongestMs());
    }
    state.counters["intervallo_max_ms"] = longest;
}

void FilterNote_baseline(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RawScreen(
            QStringLiteral("SELECT count(*) FROM Ricevute WHERE Note LIKE '%glutine%'"),
            QStringLiteral("SELECT ") + kReceiptColumns +
                QStringLiteral(" WHERE r.Note LIKE '%glutine%' ORDER BY r.AnnoFiscale, r.Numero, r.OID LIMIT 30")));
}

// --- the next match of a search, from the one found before

void FindNext_engine(benchmark::State& state)
{
    auto receipts = Open(QStringLiteral("Ricevute"), {}, QStringLiteral("AnnoFiscale,Numero"));
    const QString criteria = GridCriteria::LikeCriteria(receipts->Database(), QStringLiteral("Note"), QStringLiteral("glutine"), true);
    receipts->MoveFirst();
    double longest = 0;
    for (auto _ : state) {
        Watch watch;
        if (!receipts->FindFirst(criteria, true))
            receipts->MoveFirst();
        benchmark::DoNotOptimize(receipts->ValueAt(0));
        longest = std::max(longest, watch.LongestMs());
    }
    state.counters["intervallo_max_ms"] = longest;
}

void FindNext_baseline(benchmark::State& state)
{
    SqliteDb& db = TheArchive().raw;
    qint64 year = 0, number = 0, oid = 0;
    for (auto _ : state) {
        Statement s(db, QStringLiteral("SELECT AnnoFiscale, Numero, OID FROM Ricevute WHERE Note LIKE '%glutine%' "
                                       "AND (AnnoFiscale, Numero, OID) > (?, ?, ?) ORDER BY AnnoFiscale, Numero, OID LIMIT 1"));
        s.Bind(1, year);
        s.Bind(2, number);
        s.Bind(3, oid);
        if (s.Step()) {
            year = s.ColumnInt(0);
            number = s.ColumnInt(1);
            oid = s.ColumnInt(2);
        } else {
            year = number = oid = 0;
        }
        benchmark::DoNotOptimize(oid);
    }
}

// --- a search for a text no receipt holds: every note is read

void FindMissing_engine(benchmark::State& state)
{
    auto receipts = Open(QStringLiteral("Ricevute"), {}, QStringLiteral("AnnoFiscale,Numero"));
    const QString criteria = GridCriteria::LikeCriteria(receipts->Database(), QStringLiteral("Note"), QStringLiteral("xyz"), true);
    double longest = 0;
    for (auto _ : state) {
        Watch watch;
        benchmark::DoNotOptimize(receipts->FindFirst(criteria, false));
        longest = std::max(longest, watch.LongestMs());
    }
    state.counters["intervallo_max_ms"] = longest;
}

void FindMissing_baseline(benchmark::State& state)
{
    for (auto _ : state) {
        Statement s(TheArchive().raw, QStringLiteral("SELECT OID FROM Ricevute WHERE Note LIKE '%xyz%' "
                                                     "ORDER BY AnnoFiscale, Numero, OID LIMIT 1"));
        benchmark::DoNotOptimize(s.Step());
    }
}

// --- the total of a month's receipts, as the totals menu shows it

void MonthTotal_engine(benchmark::State& state)
{
    DateSelection month;
    month.SelectMonth(QDateTime(QDate(kYear, 3, 15), QTime(12, 0)));
    const QString criteria = month.ApplyTo(QString(), QStringLiteral("Data"));
    double longest = 0;
    for (auto _ : state) {
        auto receipts = Open(QStringLiteral("Ricevute"), criteria, QStringLiteral("AnnoFiscale,Numero"));
        Watch watch;
        benchmark::DoNotOptimize(GridTotals::Message(*receipts, QStringLiteral("Importo_Ricevuta"), GridTotals::Kind::Total));
        longest = std::max(longest, watch.LongestMs());
    }
    state.counters["intervallo_max_ms"] = longest;
}

void MonthTotal_baseline(benchmark::State& state)
{
    const QString sql = QStringLiteral("SELECT sum(Importo_Ricevuta) FROM Ricevute WHERE Data >= '%1-03-01 00:00:00' "
                                       "AND Data < '%1-04-01 00:00:00'").arg(kYear);
    for (auto _ : state) {
        Statement s(TheArchive().raw, sql);
        s.Step();
        benchmark::DoNotOptimize(s.ColumnInt(0));
    }
}

// --- the first page of a year's receipt list ("Lista Corrispettivi")

std::shared_ptr<DataObject> YearList()
{
    auto& archive = TheArchive();
    const PeriodCriteria period = ApplyPeriod(QString(), {true, QString(), QDate(kYear, 1, 1), QDate(kYear, 12, 31)},
                                              *archive.database, archive.engine);
    SelectionDescription() = period.description;
    return Open(QStringLiteral("Ricevute"), period.criteria, QStringLiteral("Ricevute.OID_TipoDocumento, Ricevute.Numero"));
}

void FirstPage_engine(benchmark::State& state)
{
    QImage page(794, 1123, QImage::Format_RGB32); // A4 at 96 dots per inch, as the preview draws it
    YearList()->RowAt(0);                        // its order index exists
    for (auto _ : state) {
        auto list = YearList();
        auto report = ReportPrinting::MakeReport(list, drRicevute(), QStringLiteral("Lista Corrispettivi"));
        page.fill(Qt::white);
        report->Layout(page, QSizeF(page.width(), page.height()));
        QPainter painter(&page);
        report->PaintPage(painter, 0);
        benchmark::DoNotOptimize(report->PageCount());
    }
}

void FirstPage_data(benchmark::State& state)
{
    QImage page(794, 1123, QImage::Format_RGB32);
    auto probe = ReportPrinting::MakeReport(YearList(), drRicevute(), QStringLiteral("Lista Corrispettivi"));
    probe->Layout(page, QSizeF(page.width(), page.height()));
    const int rows = probe->Capacity(0);
    for (auto _ : state) {
        auto list = YearList();
        qint64 sum = list->RecordCount();
        for (int r = 0; r < rows; ++r)
            if (const RowPager::Row* row = list->RowAt(r))
                for (int f = 1; f < list->FieldCount(); ++f)
                    sum += list->DisplayText(f, row->values[f]).size();
        benchmark::DoNotOptimize(sum);
    }
    state.counters["righe_pagina"] = rows;
    state.counters["pagine"] = probe->PageCount();
}

void FirstPage_baseline(benchmark::State& state)
{
    QImage page(794, 1123, QImage::Format_RGB32);
    auto probe = ReportPrinting::MakeReport(YearList(), drRicevute(), QStringLiteral("Lista Corrispettivi"));
    probe->Layout(page, QSizeF(page.width(), page.height()));
    const int rows = probe->Capacity(0);
    const QString range = QStringLiteral("r.Data >= '%1-01-01 00:00:00' AND r.Data < '%2-01-01 00:00:00'").arg(kYear).arg(kYear + 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(RawScreen(
            QStringLiteral("SELECT count(*) FROM Ricevute r WHERE ") + range,
            QStringLiteral("SELECT ") + kReceiptColumns + QStringLiteral(" WHERE ") + range +
                QStringLiteral(" ORDER BY r.OID_TipoDocumento, r.Numero, r.OID LIMIT %1").arg(rows),
            rows));
}

} // namespace

BENCHMARK(FilterNote_engine)->Name("FiltroNote_contiene/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(FilterNote_baseline)->Name("FiltroNote_contiene/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(FindNext_engine)->Name("CercaSuccessivo/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK(FindNext_baseline)->Name("CercaSuccessivo/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(FindMissing_engine)->Name("CercaNonTrovato/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(FindMissing_baseline)->Name("CercaNonTrovato/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(MonthTotal_engine)->Name("TotaleMese/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK(MonthTotal_baseline)->Name("TotaleMese/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(FirstPage_engine)->Name("PrimaPaginaRicevuteAnno/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(FirstPage_data)->Name("PrimaPaginaRicevuteAnno/engine_solo_dati")->Unit(benchmark::kMillisecond);
BENCHMARK(FirstPage_baseline)->Name("PrimaPaginaRicevuteAnno/baseline")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    Settings() = DefaultSettings();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
