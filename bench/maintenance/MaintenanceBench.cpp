// The maintenance operations at scale, each beside the hand-written SQLite
// statements that do the same work:
// - the euro conversion of the million-receipt archive (every amount, the
//   amounts the rules derive made again), in a transaction rolled back so
//   that the file stays as generated;
// - the import of 100,000 receipts with their rows and payments (customers,
//   document types, payment types and courses resolved by name) into a new
//   archive.
// - the daily copy of the million-receipt archive in steps of 256 pages,
//   beside one step of SQLite's backup API.
// Each operation also reports the longest wait between two progress reports
// (counter max_gap_ms): the progress window moves at least that often.
//
// MENSORA_BENCH_ARCHIVE names the million-receipt archive (generated when
// missing); the 100,000-receipt source is generated beside it.

#include "ArchiveGenerator.h"
#include "RatioReporter.h"

#include "component/ComponentGlobal.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Sqlite.h"
#include "data/DB.h"
#include "maintenance/ArchiveBackup.h"
#include "maintenance/ArchiveImport.h"
#include "maintenance/EuroConversion.h"
#include "maintenance/ReadOnlyUri.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

// The longest time between two calls.
class GapMeter
{
public:
    GapMeter() { m_timer.start(); }
    void Tick()
    {
        const qint64 gap = m_timer.restart();
        m_longest = std::max(m_longest, gap);
        m_overOneSecond += gap > 1000 ? 1 : 0;
        ++m_ticks;
    }
    // Restarts the clock after work that is not the operation's.
    void Resume() { m_timer.restart(); }
    qint64 OverOneSecond() const { return m_overOneSecond; }
    double LongestMs() const { return double(m_longest); }
    qint64 Ticks() const { return m_ticks; }

private:
    QElapsedTimer m_timer;
    qint64 m_longest = 0;
    qint64 m_ticks = 0;
    qint64 m_overOneSecond = 0;
};

struct Opened
{
    std::shared_ptr<DatabaseEngine> engine;
    std::shared_ptr<DatabaseObject> database;
};

Opened OpenArchive(const QString& path)
{
    Opened a;
    a.engine = std::make_shared<DatabaseEngine>();
    a.engine->OpenDatabaseFile(3, path);
    a.database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QStringLiteral("bench"), nullptr, nullptr);
    a.database->AttachEngine(a.engine);
    return a;
}

// --- euro conversion of the million-receipt archive

void EuroConversion_engine(benchmark::State& state)
{
    Opened a = OpenArchive(BenchmarkArchive());
    GapMeter gaps;
    for (auto _ : state) {
        a.engine->BeginTransaction();
        EuroConversion conversion(*a.database);
        conversion.Run([&](qint64, qint64) {
            gaps.Tick();
            return true;
        });
        state.PauseTiming();
        a.engine->RollbackTransaction();
        state.ResumeTiming();
        gaps.Resume();
    }
    state.counters["max_gap_ms"] = gaps.LongestMs();
    state.counters["gaps_over_1s"] = double(gaps.OverOneSecond());
    state.counters["progress_reports"] = double(gaps.Ticks());
}

// units / 1936.27 to four decimals, halves away from zero, in plain SQL.
QString Euro(const QString& x)
{
    return QStringLiteral("(CASE WHEN %1 >= 0 THEN (%1 * 200 + 193627) / 387254 ELSE -((-%1 * 200 + 193627) / 387254) END)")
        .arg(x);
}

// A row amount as the row rule gives it: price times quantity, to cents.
QString RowAmount(const QString& price)
{
    return QStringLiteral("(CAST(round(%1 * \"Quantità\" / 100.0) AS INTEGER) * 100)").arg(price);
}

void EuroConversion_baseline(benchmark::State& state)
{
    SqliteDb db(BenchmarkArchive(), false, 5000);
    const QString statements =
        QStringLiteral(
            "CREATE TEMP TABLE seen(oid INTEGER PRIMARY KEY, payment INTEGER);"
            "INSERT INTO seen SELECT r.OID, (SELECT CASE WHEN count(*) = 1 AND max(p.Importo) = r.Importo_Ricevuta THEN "
            "max(p.OID) END FROM PagamentiCliente p WHERE p.OID_Ricevute_Pagamento = r.OID) FROM Ricevute r WHERE "
            "r.Importo_Ricevuta = (SELECT coalesce(sum(w.Importo_Riga), 0) FROM RigheRicevute w WHERE w.OID_Ricevute_Righe = r.OID);"
            "UPDATE PagamentiCliente SET Importo = %1;"
            "UPDATE Menu SET Prezzo = %2;"
            "UPDATE RigheRicevute SET Prezzo = %2, Importo_Riga = CASE WHEN Prezzo > 0 AND \"Quantità\" IS NOT NULL AND "
            "Importo_Riga = %3 THEN %4 ELSE %5 END;"
            "UPDATE Ricevute SET Importo_Ricevuta = CASE WHEN OID IN (SELECT oid FROM seen) THEN (SELECT coalesce(sum(w.Importo_Riga), 0) "
            "FROM RigheRicevute w WHERE w.OID_Ricevute_Righe = Ricevute.OID) ELSE %6 END;"
            "UPDATE PagamentiCliente SET Importo = (SELECT r.Importo_Ricevuta FROM Ricevute r WHERE r.OID = "
            "PagamentiCliente.OID_Ricevute_Pagamento) WHERE OID IN (SELECT payment FROM seen WHERE payment IS NOT NULL);")
            .arg(Euro(QStringLiteral("Importo")), Euro(QStringLiteral("Prezzo")), RowAmount(QStringLiteral("Prezzo")),
                 RowAmount(Euro(QStringLiteral("Prezzo"))), Euro(QStringLiteral("Importo_Riga")),
                 Euro(QStringLiteral("Importo_Ricevuta")));
    for (auto _ : state) {
        db.Exec(QStringLiteral("BEGIN IMMEDIATE"));
        db.Exec(statements);
        state.PauseTiming();
        db.Exec(QStringLiteral("ROLLBACK"));
        state.ResumeTiming();
    }
}

// --- import of 100,000 receipts into a new archive

QString ImportSource()
{
    const QString path = QFileInfo(BenchmarkArchive()).absoluteDir().filePath(QStringLiteral("Sorgente100k.mdb"));
    if (!QFileInfo::exists(path)) {
        std::printf("Generazione dell'archivio da importare %s ...\n", qPrintable(path));
        GeneratorOptions options;
        options.receipts = 100000;
        options.seed = 4242;
        const GeneratorReport r = GenerateArchive(path, options);
        std::printf("%lld ricevute, %lld righe in %.1f s\n", r.receipts, r.rows, r.seconds);
    }
    return path;
}

// A new archive made by the application's definition, closed.
QString NewTarget(QTemporaryDir& dir, int k)
{
    const QString path = dir.filePath(QStringLiteral("Destinazione%1.mdb").arg(k));
    {
        DatabaseEngine creator;
        creator.CreateDatabaseFile(3, path);
    }
    OpenArchive(path);
    return path;
}

void Import100k_engine(benchmark::State& state)
{
    const QString source = ImportSource();
    QTemporaryDir dir;
    GapMeter gaps;
    int k = 0;
    qint64 added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Opened target = OpenArchive(NewTarget(dir, ++k));
        state.ResumeTiming();
        gaps.Resume();
        ArchiveImport import(*target.database, QStringLiteral("Ricevute"));
        import.Open(source);
        target.engine->BeginTransaction();
        import.Copy([&](qint64, qint64) {
            gaps.Tick();
            return true;
        });
        target.engine->CommitTransaction();
        import.Close();
        added = import.Added();
    }
    state.counters["receipts"] = double(added);
    state.counters["max_gap_ms"] = gaps.LongestMs();
    state.counters["gaps_over_1s"] = double(gaps.OverOneSecond());
}

void Import100k_baseline(benchmark::State& state)
{
    const QString source = ImportSource();
    QTemporaryDir dir;
    int k = 0;
    const QString customers = QStringLiteral(
        "m.Ragione_Sociale IS c.Ragione_Sociale AND m.Indirizzo IS c.Indirizzo AND m.CAP IS c.CAP AND m.Comune IS c.Comune "
        "AND m.Provincia IS c.Provincia AND m.Partita_Iva IS c.Partita_Iva AND m.Telefono IS c.Telefono AND m.Cellulare IS "
        "c.Cellulare AND m.Fax IS c.Fax AND m.Note IS c.Note");
    const QString columns = QStringLiteral("Ragione_Sociale, Indirizzo, CAP, Comune, Provincia, Partita_Iva, Telefono, Cellulare, Fax, Note");
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = NewTarget(dir, ++k);
        state.ResumeTiming();
        SqliteDb db(path, false, 5000);
        {
            Statement attach(db, QStringLiteral("ATTACH DATABASE ?1 AS s"));
            attach.Bind(1, ReadOnlyUri(source));
            attach.Step();
        }
        db.Exec(QStringLiteral("BEGIN IMMEDIATE"));
        db.Exec(QStringLiteral(
                    "CREATE TEMP TABLE mc(src INTEGER PRIMARY KEY, cur INTEGER);"
                    "INSERT INTO mc SELECT c.OID, (SELECT m.OID FROM main.Clienti m WHERE %1 ORDER BY m.OID LIMIT 1) FROM s.Clienti c "
                    "WHERE c.OID IN (SELECT OID_Cliente FROM s.Ricevute UNION SELECT OID_Cliente FROM s.PagamentiCliente);"
                    "INSERT INTO main.Clienti(%2) SELECT %2 FROM s.Clienti c WHERE c.OID IN (SELECT src FROM mc WHERE cur IS NULL);"
                    "UPDATE mc SET cur = (SELECT m.OID FROM main.Clienti m, s.Clienti c WHERE c.OID = mc.src AND %1 ORDER BY m.OID LIMIT 1) WHERE cur IS NULL;")
                    .arg(customers, columns));
        for (const auto& [table, map, used] : {std::tuple{"TipiDocumento", "mt", "SELECT OID_TipoDocumento FROM s.Ricevute"},
                                               std::tuple{"TipiPagamento", "mp", "SELECT OID_Pagamento FROM s.PagamentiCliente"},
                                               std::tuple{"Portate", "mo", "SELECT OID_Portata FROM s.RigheRicevute"}}) {
            const QString extra = QLatin1String(table) == QLatin1String("TipiDocumento") ? QStringLiteral(", Fattura, Ricevuta_Fiscale")
                                  : QLatin1String(table) == QLatin1String("Portate")     ? QStringLiteral(", Ordine_Di_Stampa")
                                                                                         : QString();
            db.Exec(QStringLiteral(
                        "CREATE TEMP TABLE %2(src INTEGER PRIMARY KEY, cur INTEGER);"
                        "INSERT INTO %2 SELECT c.OID, (SELECT m.OID FROM main.%1 m WHERE m.Descrizione = c.Descrizione) FROM s.%1 c "
                        "WHERE c.OID IN (%3);"
                        "INSERT INTO main.%1(Descrizione%4) SELECT Descrizione%4 FROM s.%1 c WHERE c.OID IN (SELECT src FROM %2 WHERE cur IS NULL);"
                        "UPDATE %2 SET cur = (SELECT m.OID FROM main.%1 m, s.%1 c WHERE c.OID = %2.src AND m.Descrizione = c.Descrizione) "
                        "WHERE cur IS NULL;")
                        .arg(QLatin1String(table), QLatin1String(map), QLatin1String(used), extra));
        }
        db.Exec(QStringLiteral(
            "CREATE TEMP TABLE mm(src INTEGER PRIMARY KEY, cur INTEGER);"
            "INSERT INTO mm SELECT c.OID, (SELECT m.OID FROM main.Menu m WHERE m.Nome IS c.Nome ORDER BY m.OID LIMIT 1) FROM s.Menu c;"));
        QString off;
        {
            Statement offset(db, QStringLiteral("SELECT coalesce((SELECT max(OID) FROM main.Ricevute), 0) - (SELECT min(OID) FROM s.Ricevute) + 1"));
            offset.Step();
            off = QString::number(offset.ColumnInt(0));
            Statement taken(db, QStringLiteral("SELECT count(*) FROM s.Ricevute r JOIN mt ON mt.src = r.OID_TipoDocumento WHERE EXISTS "
                                               "(SELECT 1 FROM main.Ricevute m WHERE m.Numero = r.Numero AND m.OID_TipoDocumento = "
                                               "mt.cur AND m.AnnoFiscale = r.AnnoFiscale)"));
            taken.Step();
        }
        db.Exec(QStringLiteral(
                    "INSERT INTO main.Ricevute(OID, Importo_Ricevuta, Numero, Data, AnnoFiscale, Note, OID_TipoDocumento, OID_Cliente) "
                    "SELECT r.OID + %1, r.Importo_Ricevuta, r.Numero, r.Data, r.AnnoFiscale, r.Note, mt.cur, mc.cur FROM s.Ricevute r "
                    "LEFT JOIN mt ON mt.src = r.OID_TipoDocumento LEFT JOIN mc ON mc.src = r.OID_Cliente;"
                    "INSERT INTO main.RigheRicevute(Nome, Descrizione, Prezzo, \"Ordine_Menù\", Importo_Riga, \"Quantità\", OID_Portata, "
                    "OID_Menu, OID_Ricevute_Righe) SELECT w.Nome, w.Descrizione, w.Prezzo, w.\"Ordine_Menù\", w.Importo_Riga, "
                    "w.\"Quantità\", mo.cur, mm.cur, w.OID_Ricevute_Righe + %1 FROM s.RigheRicevute w LEFT JOIN mo ON mo.src = "
                    "w.OID_Portata LEFT JOIN mm ON mm.src = w.OID_Menu;"
                    "INSERT INTO main.PagamentiCliente(DataPagamento, Importo, Note, OID_Cliente, OID_Pagamento, OID_Ricevute_Pagamento) "
                    "SELECT p.DataPagamento, p.Importo, p.Note, mc.cur, mp.cur, p.OID_Ricevute_Pagamento + %1 FROM s.PagamentiCliente p "
                    "LEFT JOIN mc ON mc.src = p.OID_Cliente LEFT JOIN mp ON mp.src = p.OID_Pagamento;"
                    "COMMIT; DROP TABLE mc; DROP TABLE mt; DROP TABLE mp; DROP TABLE mo; DROP TABLE mm;")
                    .arg(off));
        db.Exec(QStringLiteral("DETACH DATABASE s"));
    }
}

// --- the daily copy of the million-receipt archive

void Backup1M_engine(benchmark::State& state)
{
    const QString archive = BenchmarkArchive();
    QTemporaryDir dir;
    GapMeter gaps;
    int k = 0;
    for (auto _ : state) {
        gaps.Resume();
        ArchiveBackup::Copy(archive, dir.filePath(QStringLiteral("Copia%1.mdb").arg(++k)), [&](qint64, qint64) {
            gaps.Tick();
            return true;
        });
        state.PauseTiming();
        QFile::remove(dir.filePath(QStringLiteral("Copia%1.mdb").arg(k)));
        state.ResumeTiming();
    }
    state.counters["max_gap_ms"] = gaps.LongestMs();
    state.counters["steps"] = double(gaps.Ticks());
}

// The same copy in one step of the backup API.
void Backup1M_baseline(benchmark::State& state)
{
    const QString archive = BenchmarkArchive();
    QTemporaryDir dir;
    int k = 0;
    for (auto _ : state) {
        const QString target = dir.filePath(QStringLiteral("Copia%1.mdb").arg(++k));
        sqlite3* source = nullptr;
        sqlite3* destination = nullptr;
        sqlite3_open_v2(archive.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_open_v2(target.toUtf8().constData(), &destination, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_backup* backup = sqlite3_backup_init(destination, "main", source, "main");
        sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        sqlite3_close_v2(destination);
        sqlite3_close_v2(source);
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(Backup1M_engine)->Name("Backup1M/engine")->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(Backup1M_baseline)->Name("Backup1M/baseline")->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(EuroConversion_engine)->Name("EuroConversion1M/engine")->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(EuroConversion_baseline)->Name("EuroConversion1M/baseline")->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(Import100k_engine)->Name("Import100k/engine")->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(Import100k_baseline)->Name("Import100k/baseline")->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
