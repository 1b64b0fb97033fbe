#pragma once
// The million-receipt archive of the benchmarks, opened once per program as
// the application opens it, with a second, plain SQLite connection to it for
// the baselines.

#include "ArchiveGenerator.h"

#include "component/ComponentGlobal.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Sqlite.h"
#include "data/DB.h"

#include <memory>

struct BenchArchive
{
    std::shared_ptr<DatabaseEngine> engine;
    std::shared_ptr<DatabaseObject> database;
    SqliteDb raw;
};

inline BenchArchive& TheArchive()
{
    static BenchArchive archive = [] {
        const QString path = BenchmarkArchive();
        BenchArchive a;
        a.engine = std::make_shared<DatabaseEngine>();
        a.engine->OpenDatabaseFile(3, path);
        a.database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QStringLiteral("bench"), nullptr, nullptr);
        a.database->AttachEngine(a.engine);
        a.raw = SqliteDb(path, false, 5000);
        return a;
    }();
    return archive;
}
