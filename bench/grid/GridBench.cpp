// A screenful of the grid over 200,000 records, read through the lazy
// model (the count and the pages shown), against the baseline of a model
// that reads the whole set before showing anything.

#include "component/widgets/DataObjectModelTestArchive.h"

#include "component/Exception.h"
#include "component/Sqlite.h"
#include "component/widgets/DataObjectModel.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int Records = 200000;
constexpr int ScreenRows = 30;

GridTest::Archive& SharedArchive()
{
    static GridTest::Archive archive;
    static const bool filled = (archive.InsertDishes(Records), true);
    (void)filled;
    return archive;
}

void ReadScreen(const DataObjectModel& model, int firstRow)
{
    for (int row = firstRow; row < firstRow + ScreenRows && row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            benchmark::DoNotOptimize(model.data(model.index(row, column)));
}

// Opening a view and showing its first screen.
void BM_LazyFirstScreen(benchmark::State& state)
{
    GridTest::Archive& archive = SharedArchive();
    for (auto _ : state) {
        DataObjectModel model(archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome")));
        ReadScreen(model, 0);
    }
}
BENCHMARK(BM_LazyFirstScreen)->Unit(benchmark::kMillisecond);

// Opening a view and jumping to its last screen.
void BM_LazyLastScreen(benchmark::State& state)
{
    GridTest::Archive& archive = SharedArchive();
    for (auto _ : state) {
        DataObjectModel model(archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome")));
        ReadScreen(model, model.rowCount() - ScreenRows);
    }
}
BENCHMARK(BM_LazyLastScreen)->Unit(benchmark::kMillisecond);

// Scrolling page by page through an open view (each screen a new page).
void BM_LazyScrollScreen(benchmark::State& state)
{
    GridTest::Archive& archive = SharedArchive();
    DataObjectModel model(archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome")));
    int first = 0;
    for (auto _ : state) {
        ReadScreen(model, first);
        first = (first + 64) % (Records - ScreenRows);
    }
}
BENCHMARK(BM_LazyScrollScreen)->Unit(benchmark::kMicrosecond);

// Baseline: the same rows and columns read into memory before the first screen.
void BM_BaselineLoadAllFirstScreen(benchmark::State& state)
{
    GridTest::Archive& archive = SharedArchive();
    for (auto _ : state) {
        Statement s(archive.engine->Db(),
                    QStringLiteral("SELECT \"Piatti\".\"Nome\", \"Prezzo\", \"Ultima_Data\", \"Porzioni\", \"Peso\", "
                                   "\"Disponibile\", \"Categorie\".\"Descrizione\" FROM \"Piatti\" LEFT JOIN \"Categorie\" "
                                   "ON \"Categorie\".\"OID\" = \"Piatti\".\"OID_Categoria\" ORDER BY \"Piatti\".\"Nome\", "
                                   "\"Piatti\".\"OID\""));
        QList<QVariantList> rows;
        while (s.Step()) {
            QVariantList row;
            for (int c = 0; c < 7; ++c)
                row.append(s.Column(c));
            rows.append(std::move(row));
        }
        for (int row = 0; row < ScreenRows; ++row)
            for (const QVariant& value : rows[row])
                benchmark::DoNotOptimize(value.toString());
    }
}
BENCHMARK(BM_BaselineLoadAllFirstScreen)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    try {
        SharedArchive();
    } catch (const Exception& e) {
        std::fprintf(stderr, "grid_bench: impossibile preparare l'archivio di prova: %s\n", qPrintable(e.Description()));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
