#pragma once
// Writes a realistic restaurant archive of many receipts through raw SQL: the
// file is first created by the application's own definition, so that it
// opens as any archive the till wrote.

#include <QString>
#include <QtGlobal>

struct GeneratorOptions
{
    qint64 receipts = 1000000;
    int years = 10;
    quint64 seed = 20261207;
    int customers = 2000;
};

struct GeneratorReport
{
    qint64 receipts = 0;
    qint64 rows = 0;
    qint64 payments = 0;
    double seconds = 0.0;
};

// Creates `path` (which must not exist) and fills it. Throws Exception.
GeneratorReport GenerateArchive(const QString& path, const GeneratorOptions& options);

// The archive of a million receipts that the benchmarks share: the file
// MENSORA_BENCH_ARCHIVE names (it must be called Mensora.mdb for the views'
// benchmark), or bench-data/1M/Mensora.mdb; generated when missing.
QString BenchmarkArchive();
