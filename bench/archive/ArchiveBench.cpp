// The archive engine over a decade of sales (1,000,000 receipts), each case
// beside the hand-written SQLite statements that do the same work.
//
// The archive is generated once (MENSORA_BENCH_ARCHIVE names it; default
// bench-data/1M/Mensora.mdb in the working directory) and reused. Writes run
// inside a transaction that is rolled back, so the file stays as generated.

#include "ArchiveGenerator.h"
#include "BenchArchive.h"
#include "RatioReporter.h"

#include "component/ComponentGlobal.h"
#include "component/Currency.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Sqlite.h"
#include "component/Table.h"
#include "data/DB.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

long g_emptyProcessKb = 0;


std::shared_ptr<DataObject> Open(const QString& table, const QString& criteria = {}, const QString& order = {})
{
    BenchArchive& a = TheArchive();
    return a.database->Tables().Item(table).OpenDataObject(a.engine, criteria, order);
}

// --- open a view ordered by fiscal year and number, read its first 50 rows

void OpenRead50_engine(benchmark::State& state)
{
    Open(QStringLiteral("Ricevute"), {}, QStringLiteral("AnnoFiscale,Numero"))->RowAt(0); // warm: its order index exists
    const long before = ResidentKilobytes();
    qint64 sum = 0;
    for (auto _ : state) {
        auto receipts = Open(QStringLiteral("Ricevute"), {}, QStringLiteral("AnnoFiscale,Numero"));
        for (int i = 0; i < 50; ++i) {
            const RowPager::Row* row = receipts->RowAt(i);
            sum += row->oid + row->values[2].toLongLong() + row->values.last().toString().size();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["memoria_sopra_processo_vuoto_MB"] = double(ResidentKilobytes() - g_emptyProcessKb) / 1024.0;
    state.counters["memoria_della_vista_MB"] = double(ResidentKilobytes() - before) / 1024.0;
}

void OpenRead50_baseline(benchmark::State& state)
{
    SqliteDb& db = TheArchive().raw;
    qint64 sum = 0;
    for (auto _ : state) {
        Statement s(db, QStringLiteral(
            "SELECT r.OID, r.Importo_Ricevuta, r.Numero, r.Data, r.AnnoFiscale, r.Note, d.Descrizione, c.Ragione_Sociale, "
            "r.OID_TipoDocumento, r.OID_Cliente FROM Ricevute r LEFT JOIN TipiDocumento d ON d.OID = r.OID_TipoDocumento "
            "LEFT JOIN Clienti c ON c.OID = r.OID_Cliente ORDER BY r.AnnoFiscale, r.Numero, r.OID LIMIT 64"));
        for (int i = 0; i < 50 && s.Step(); ++i)
            sum += s.ColumnInt(0) + s.ColumnInt(2) + s.Column(7).toString().size() + s.Column(3).toString().size() +
                   s.Column(5).toString().size() + s.Column(6).toString().size();
        benchmark::DoNotOptimize(sum);
    }
}

// The parts of the case above: opening alone, and reading alone.
void OpenOnly_engine(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Open(QStringLiteral("Ricevute"), {}, QStringLiteral("AnnoFiscale,Numero")));
}

// --- sum of every receipt's total

void SumTotals_engine(benchmark::State& state)
{
    auto receipts = Open(QStringLiteral("Ricevute"));
    for (auto _ : state)
        benchmark::DoNotOptimize(receipts->Aggregate(QStringLiteral("Importo_Ricevuta"), 0).value<Currency>().Units());
}

void SumTotals_baseline(benchmark::State& state)
{
    for (auto _ : state) {
        Statement s(TheArchive().raw, QStringLiteral("SELECT sum(Importo_Ricevuta) FROM Ricevute"));
        s.Step();
        benchmark::DoNotOptimize(s.ColumnInt(0));
    }
}

// --- find a note that matches only near the end

void FindNote_engine(benchmark::State& state)
{
    auto receipts = Open(QStringLiteral("Ricevute"));
    for (auto _ : state) {
        if (!receipts->FindFirst(QStringLiteral("Note Like '*xyz*'")))
            state.SkipWithError("nota non trovata");
        benchmark::DoNotOptimize(receipts->ValueAt(0));
    }
}

void FindNote_baseline(benchmark::State& state)
{
    for (auto _ : state) {
        Statement s(TheArchive().raw, QStringLiteral("SELECT OID, Numero, Note FROM Ricevute WHERE Note LIKE '%xyz%' ORDER BY OID LIMIT 1"));
        if (!s.Step())
            state.SkipWithError("nota non trovata");
        benchmark::DoNotOptimize(s.ColumnInt(0));
    }
}

// --- the cashier adds a row to an open receipt; rules update amount and total

void CashierStep_engine(benchmark::State& state)
{
    BenchArchive& a = TheArchive();
    a.engine->BeginTransaction();
    {
        auto receipts = Open(QStringLiteral("Ricevute"));
        receipts->AddRecord({QStringLiteral("Cliente"), qint64(1), QStringLiteral("Data"), QDateTime::currentDateTime(),
                             QStringLiteral("TipoDocumento"), qint64(2)});
        auto rows = receipts->OpenReference(QStringLiteral("Righe"), QStringLiteral("RigheRicevute.OID"),
                                            QStringLiteral("*,Quantità, Nome, Prezzo, Importo_Riga"));
        qint64 item = 2;
        for (auto _ : state) {
            rows->AddRecord({QStringLiteral("OID_Menu"), item});
            item = item % 30 + 2;
        }
        benchmark::DoNotOptimize(receipts->GetValue(QStringLiteral("Importo_Ricevuta")));
    }
    a.engine->RollbackTransaction();
}

void CashierStep_baseline(benchmark::State& state)
{
    SqliteDb& db = TheArchive().raw;
    db.Exec(QStringLiteral("BEGIN IMMEDIATE"));
    db.Exec(QStringLiteral("INSERT INTO Ricevute(Importo_Ricevuta, Numero, Data, AnnoFiscale, Note, OID_TipoDocumento, OID_Cliente) "
                           "VALUES(0, 999999, '2026-12-07 12:00:00', 2026, '', 2, 1)"));
    const qint64 receipt = db.LastInsertId();
    qint64 item = 2;
    for (auto _ : state) {
        Statement menu(db, QStringLiteral("SELECT Nome, Descrizione, Prezzo, \"Ordine_Menù\", OID_Portata FROM Menu WHERE OID = ?"));
        menu.Bind(1, item);
        menu.Step();
        Statement insert(db, QStringLiteral("INSERT INTO RigheRicevute(Nome, Descrizione, Prezzo, \"Ordine_Menù\", OID_Portata, "
                                            "OID_Menu, \"Quantità\", Importo_Riga, OID_Ricevute_Righe) VALUES(?,?,?,?,?,?,1,?,?)"));
        for (int i = 0; i < 5; ++i)
            insert.Bind(i + 1, menu.Column(i));
        insert.Bind(6, item);
        insert.Bind(7, menu.Column(2));
        insert.Bind(8, receipt);
        insert.Step();
        Statement total(db, QStringLiteral("UPDATE Ricevute SET Importo_Ricevuta = (SELECT sum(Importo_Riga) FROM RigheRicevute "
                                           "WHERE OID_Ricevute_Righe = ?1) WHERE OID = ?1"));
        total.Bind(1, receipt);
        total.Step();
        item = item % 30 + 2;
    }
    db.Exec(QStringLiteral("ROLLBACK"));
}

// --- a new receipt numbered by the rule (highest number of its type and year, plus one)

void NewReceipt_engine(benchmark::State& state)
{
    BenchArchive& a = TheArchive();
    a.engine->BeginTransaction();
    {
        auto receipts = Open(QStringLiteral("Ricevute"));
        for (auto _ : state)
            receipts->AddRecord({QStringLiteral("Cliente"), qint64(1), QStringLiteral("Data"), QDateTime::currentDateTime(),
                                 QStringLiteral("TipoDocumento"), qint64(2)});
    }
    a.engine->RollbackTransaction();
}

void NewReceipt_baseline(benchmark::State& state)
{
    SqliteDb& db = TheArchive().raw;
    db.Exec(QStringLiteral("BEGIN IMMEDIATE"));
    for (auto _ : state) {
        Statement next(db, QStringLiteral("SELECT coalesce(max(Numero), 0) + 1 FROM Ricevute WHERE OID_TipoDocumento = 2 AND AnnoFiscale = 2026"));
        next.Step();
        Statement insert(db, QStringLiteral("INSERT INTO Ricevute(Importo_Ricevuta, Numero, Data, AnnoFiscale, Note, "
                                            "OID_TipoDocumento, OID_Cliente) VALUES(0, ?, ?, 2026, '', 2, 1)"));
        insert.Bind(1, next.ColumnInt(0));
        insert.Bind(2, QDateTime::currentDateTime());
        insert.Step();
    }
    db.Exec(QStringLiteral("ROLLBACK"));
}

} // namespace

BENCHMARK(OpenRead50_engine)->Name("OpenRead50/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenRead50_baseline)->Name("OpenRead50/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenOnly_engine)->Name("OpenOnly/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK(SumTotals_engine)->Name("SumTotals/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(SumTotals_baseline)->Name("SumTotals/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(FindNote_engine)->Name("FindNoteNearEnd/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(FindNote_baseline)->Name("FindNoteNearEnd/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(CashierStep_engine)->Name("CashierStep/engine")->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(CashierStep_baseline)->Name("CashierStep/baseline")->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(NewReceipt_engine)->Name("NewReceipt/engine")->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(NewReceipt_baseline)->Name("NewReceipt/baseline")->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

int main(int argc, char** argv)
{
    g_emptyProcessKb = ResidentKilobytes();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    try {
        TheArchive();
    } catch (const Exception& e) {
        std::fprintf(stderr, "archive_bench: impossibile preparare l'archivio di prova: %s\n", qPrintable(e.Description()));
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
