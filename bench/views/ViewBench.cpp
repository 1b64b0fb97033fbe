// Loading a section's view in the main window (offscreen) over a decade of
// sales, up to its first screen of text, beside the SQLite statements that
// read the same: the count of the set and its first rows.
//
// Uses the archive of bench/archive (MENSORA_BENCH_ARCHIVE, a file named
// Mensora.mdb; generated when missing).

#include "ArchiveGenerator.h"
#include "RatioReporter.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/ArchiveSession.h"
#include "browser/DateSelection.h"
#include "browser/PeriodSelection.h"
#include "browser/ViewRules.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "component/widgets/DataObjectModel.h"
#include "browser/SectionTree.h"
#include "browser/frmMain.h"
#include "browser/frmSetParamStat.h"
#include "component/Exception.h"
#include "component/Sqlite.h"
#include "component/widgets/QtDialogService.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kScreenRows = 30;

// Answers the list parameters with the last full year of the archive; a
// message box (a failed opening) is noted, not shown.
class BenchDialogs : public QtDialogService
{
public:
    MsgResult MessageBox(const QString& text, MsgButtons, MsgIcon, MsgDefault, const QString&) override
    {
        messages.append(text);
        return MsgResult::Ok;
    }
    QStringList messages;

    int ExecModal(QDialog& window) override
    {
        if (auto* parameters = qobject_cast<frmSetParamStat*>(&window)) {
            const int year = QDate::currentDate().year() - 1;
            parameters->txtDaData->setText(QDate(year, 1, 1).toString(QStringLiteral("dd/MM/yy")));
            parameters->txtAData->setText(QDate(year, 12, 31).toString(QStringLiteral("dd/MM/yy")));
            parameters->cmdSearch->click();
            return window.result();
        }
        return QDialog::Rejected;
    }
};

struct Bench
{
    BenchDialogs dialogs;
    std::unique_ptr<ScopedDialogService> use;
    std::unique_ptr<AppPaths::ScopedGridLayoutFile> layouts;
    QTemporaryDir scratch;
    std::unique_ptr<frmMain> main;
    SqliteDb raw;
};

QString g_archivePath;

Bench& TheBench()
{
    static Bench bench = [] {
        const QString path = g_archivePath;
        Bench b;
        b.use = std::make_unique<ScopedDialogService>(b.dialogs);
        b.layouts = std::make_unique<AppPaths::ScopedGridLayoutFile>(b.scratch.filePath(QStringLiteral("bench.INI")));
        Settings() = DefaultSettings();
        Settings().RootDir = QFileInfo(path).absolutePath();
        b.main = std::make_unique<frmMain>();
        b.main->resize(1024, 768);
        b.main->show();
        b.main->Activate();
        CurrentDateSelection().SelectAll();
        if (ArchiveSession::Instance().IsDatabaseReady())
            b.raw = SqliteDb(path, false, 5000);
        return b;
    }();
    return bench;
}

// Opens the benchmark's archive in the main window; what went wrong, or an
// empty text.
QString SetUp()
{
    try {
        g_archivePath = BenchmarkArchive();
    } catch (const Exception& e) {
        return QStringLiteral("impossibile generare l'archivio di prova: ") + e.Description();
    }
    if (QFileInfo(g_archivePath).fileName() != QLatin1String("Mensora.mdb"))
        return QStringLiteral("l'archivio di prova deve chiamarsi Mensora.mdb, come la finestra principale lo cerca "
                              "nella cartella di lavoro: %1").arg(g_archivePath);
    Bench& b = TheBench();
    if (!ArchiveSession::Instance().IsDatabaseReady())
        return QStringLiteral("impossibile aprire l'archivio di prova %1. %2")
            .arg(g_archivePath, b.dialogs.messages.join(u' ').replace(u'\r', u' '));
    return {};
}

// Every cell of the first screen, as the grid paints it.
qint64 ReadFirstScreen(QTableView& view)
{
    qint64 sum = 0;
    QAbstractItemModel* model = view.model();
    const int rows = std::min(kScreenRows, model->rowCount());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            sum += model->data(model->index(r, c)).toString().size();
    return sum;
}

void LoadSection(benchmark::State& state, int node)
{
    Bench& b = TheBench();
    QTreeWidget& tree = *b.main->TreeView();
    tree.setCurrentItem(NodeAt(tree, node)); // also loads the view once
    for (auto _ : state) {
        b.main->RefreshDetailView();
        benchmark::DoNotOptimize(ReadFirstScreen(*b.main->GridView()));
    }
}

// The same view without the window: rules, criteria, data object, the grid
// model's count and first screen.
void LoadSectionData(benchmark::State& state, const QString& key)
{
    Bench& b = TheBench();
    auto& session = ArchiveSession::Instance();
    DatabaseObject& database = *session.Database();
    ViewRules rules = RulesOfSection(key, QString(), RigheJoinCriteria(database));
    if (rules.asksForPeriod) {
        const int year = QDate::currentDate().year() - 1;
        rules.criteria = ApplyPeriod(rules.criteria, {true, QString(), QDate(year, 1, 1), QDate(year, 12, 31)}, database,
                                     session.Engine()).criteria;
    }
    DataObjectModel model;
    for (auto _ : state) {
        auto view = database.Tables().Item(rules.table).OpenDataObject(session.Engine(), rules.criteria, rules.order, QString(),
                                                                        rules.select, true);
        model.SetDataObject(view);
        qint64 sum = model.rowCount();
        const int rows = std::min(kScreenRows, model.rowCount());
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < model.columnCount(); ++c)
                sum += model.data(model.index(r, c)).toString().size();
        benchmark::DoNotOptimize(sum);
    }
    (void)b;
}

void RawScreen(benchmark::State& state, const QString& count, const QString& rows)
{
    SqliteDb& db = TheBench().raw;
    for (auto _ : state) {
        Statement n(db, count);
        n.Step();
        qint64 sum = n.ColumnInt(0);
        Statement s(db, rows);
        for (int r = 0; r < kScreenRows && s.Step(); ++r)
            for (int c = 0; c < s.ColumnCount(); ++c)
                sum += s.Column(c).toString().size();
        benchmark::DoNotOptimize(sum);
    }
}

const QString kYearStart = QStringLiteral("'%1-01-01 00:00:00'").arg(QDate::currentDate().year() - 1);
const QString kYearEnd = QStringLiteral("'%1-01-01 00:00:00'").arg(QDate::currentDate().year());

void Receipts_engine(benchmark::State& state) { LoadSection(state, 5); }
void Receipts_data(benchmark::State& state) { LoadSectionData(state, QStringLiteral("Ricevute")); }
void Receipts_baseline(benchmark::State& state)
{
    RawScreen(state, QStringLiteral("SELECT count(*) FROM Ricevute"),
              QStringLiteral("SELECT r.Importo_Ricevuta, r.Numero, r.Data, r.AnnoFiscale, r.Note, d.Descrizione, c.Ragione_Sociale "
                             "FROM Ricevute r LEFT JOIN TipiDocumento d ON d.OID = r.OID_TipoDocumento "
                             "LEFT JOIN Clienti c ON c.OID = r.OID_Cliente ORDER BY r.AnnoFiscale, r.Numero, r.OID LIMIT 50"));
}

void SoldItems_engine(benchmark::State& state) { LoadSection(state, 9); }
void SoldItems_data(benchmark::State& state) { LoadSectionData(state, QStringLiteral("Lista Venduto")); }
void SoldItems_baseline(benchmark::State& state)
{
    RawScreen(state,
              QStringLiteral("SELECT count(*) FROM RigheRicevute w JOIN Ricevute r ON r.OID = w.OID_Ricevute_Righe "
                             "WHERE r.Data >= %1 AND r.Data < %2").arg(kYearStart, kYearEnd),
              QStringLiteral("SELECT w.Nome, w.Descrizione, w.Prezzo, w.\"Ordine_Menù\", p.Descrizione, w.Importo_Riga, "
                             "w.\"Quantità\", r.Data FROM RigheRicevute w JOIN Ricevute r ON r.OID = w.OID_Ricevute_Righe "
                             "LEFT JOIN Portate p ON p.OID = w.OID_Portata WHERE r.Data >= %1 AND r.Data < %2 "
                             "ORDER BY r.Data, w.OID LIMIT 50").arg(kYearStart, kYearEnd));
}

void Menu_engine(benchmark::State& state) { LoadSection(state, 2); }
void Menu_data(benchmark::State& state) { LoadSectionData(state, QStringLiteral("Menu")); }
void Menu_baseline(benchmark::State& state)
{
    RawScreen(state, QStringLiteral("SELECT count(*) FROM Menu"),
              QStringLiteral("SELECT m.Nome, m.Descrizione, m.Prezzo, m.\"Ordine_Menù\", p.Descrizione FROM Menu m "
                             "LEFT JOIN Portate p ON p.OID = m.OID_Portata ORDER BY m.\"Ordine_Menù\", m.OID LIMIT 50"));
}

} // namespace

BENCHMARK(Receipts_engine)->Name("Ricevute_tutte/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(Receipts_data)->Name("Ricevute_tutte/engine_solo_dati")->Unit(benchmark::kMillisecond);
BENCHMARK(Receipts_baseline)->Name("Ricevute_tutte/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(SoldItems_engine)->Name("ListaVenduto_un_anno/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(SoldItems_data)->Name("ListaVenduto_un_anno/engine_solo_dati")->Unit(benchmark::kMillisecond);
BENCHMARK(SoldItems_baseline)->Name("ListaVenduto_un_anno/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(Menu_engine)->Name("Menu/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(Menu_data)->Name("Menu/engine_solo_dati")->Unit(benchmark::kMillisecond);
BENCHMARK(Menu_baseline)->Name("Menu/baseline")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    benchmark::Initialize(&argc, argv);
    if (const QString problem = SetUp(); !problem.isEmpty()) {
        std::fprintf(stderr, "view_bench: %s\n", qPrintable(problem));
        TheBench().main.reset();
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    TheBench().main.reset();
    benchmark::Shutdown();
    return 0;
}
