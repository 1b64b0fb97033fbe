#include "component/DatabaseEngine.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/SchemaStore.h"

#include <QFileInfo>

namespace {
int g_busyTimeoutMs = 3000;
} // namespace

DatabaseEngine::DatabaseEngine() : m_connection(*this) {}

DatabaseEngine::~DatabaseEngine()
{
    m_cache.clear();
    if (m_db.IsOpen() && m_depth > 0) {
        // A transaction left open is abandoned, never half-committed.
        try {
            m_db.Exec(QStringLiteral("ROLLBACK"));
        } catch (const Exception&) {
        }
    }
}

void DatabaseEngine::SetBusyTimeout(int milliseconds) { g_busyTimeoutMs = milliseconds; }
int DatabaseEngine::BusyTimeout() { return g_busyTimeoutMs; }

SqliteDb& DatabaseEngine::Db()
{
    if (!m_db.IsOpen())
        throw Exception(ComponentError::NotOpen, QStringLiteral("L'archivio non è aperto"));
    return m_db;
}

void DatabaseEngine::CreateDatabaseFile(int, const QString& path, int, int)
{
    if (QFileInfo::exists(path))
        throw Exception(ComponentError::Io, QStringLiteral("Il file «%1» esiste già: l'archivio non viene ricreato").arg(path));
    SqliteDb db(path, true, g_busyTimeoutMs);
    db.Exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    SchemaStore::CreateMetadata(db);
}

void DatabaseEngine::OpenDatabaseFile(int, const QString& path, int, int, void*, int, int, bool, bool, int, int)
{
    if (!QFileInfo(path).isFile())
        throw Exception(ComponentError::Io, QStringLiteral("Archivio non trovato: %1").arg(path));
    m_cache.clear();
    m_db = SqliteDb(path, false, g_busyTimeoutMs);
    m_depth = 0;
    Configure();
    ++m_generation;
}

void DatabaseEngine::Configure()
{
    // Refuse anything that is not an SQLite file before touching it. The
    // probe is finished before the journal mode changes: an open statement
    // holds a read transaction, and an empty file (a new archive made by
    // hand or a failed copy) must switch to WAL here.
    {
        Statement probe(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        probe.Step();
    }
    m_db.Exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    m_db.Exec(QStringLiteral("PRAGMA synchronous=FULL"));
    m_db.Exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    m_db.Exec(QStringLiteral("PRAGMA cache_size=-8192"));
}

void DatabaseEngine::BeginTransaction()
{
    Db();
    if (m_depth == 0)
        m_db.Exec(QStringLiteral("BEGIN IMMEDIATE"));
    else
        m_db.Exec(QStringLiteral("SAVEPOINT mensora_%1").arg(m_depth));
    ++m_depth;
}

void DatabaseEngine::CommitTransaction()
{
    if (m_depth == 0)
        throw Exception(ComponentError::Transaction, QStringLiteral("Nessuna transazione aperta da confermare"));
    if (m_depth == 1)
        m_db.Exec(QStringLiteral("COMMIT"));
    else
        m_db.Exec(QStringLiteral("RELEASE mensora_%1").arg(m_depth - 1));
    --m_depth;
}

void DatabaseEngine::RollbackTransaction()
{
    if (m_depth == 0)
        throw Exception(ComponentError::Transaction, QStringLiteral("Nessuna transazione aperta da annullare"));
    --m_depth;
    if (m_depth == 0) {
        m_db.Exec(QStringLiteral("ROLLBACK"));
    } else {
        m_db.Exec(QStringLiteral("ROLLBACK TO mensora_%1").arg(m_depth));
        m_db.Exec(QStringLiteral("RELEASE mensora_%1").arg(m_depth));
    }
    ++m_generation;
}

void DatabaseEngine::Refresh()
{
    m_cache.clear();
    ++m_generation;
}

std::unique_ptr<Statement> DatabaseEngine::TakeStatement(const QString& sql)
{
    auto it = m_cache.find(sql);
    if (it != m_cache.end() && !it->second.empty()) {
        std::unique_ptr<Statement> stmt = std::move(it->second.back());
        it->second.pop_back();
        return stmt;
    }
    return std::make_unique<Statement>(Db(), sql);
}

void DatabaseEngine::ReturnStatement(const QString& sql, std::unique_ptr<Statement> stmt)
{
    if (!stmt || !m_db.IsOpen())
        return;
    stmt->Reset();
    if (m_cache.size() > 512)
        m_cache.clear();
    auto& pool = m_cache[sql];
    if (pool.size() < 4)
        pool.push_back(std::move(stmt));
}

DatabaseEngine::CachedStatement::CachedStatement(DatabaseEngine& engine, const QString& sql)
    : m_engine(engine), m_sql(sql), m_stmt(engine.TakeStatement(sql))
{
}

DatabaseEngine::CachedStatement::~CachedStatement() { m_engine.ReturnStatement(m_sql, std::move(m_stmt)); }

AtomicWrite::AtomicWrite(DatabaseEngine& engine) : m_engine(engine) { m_engine.BeginTransaction(); }

AtomicWrite::~AtomicWrite()
{
    if (!m_done) {
        try {
            m_engine.RollbackTransaction();
        } catch (const Exception&) {
        }
    }
}

void AtomicWrite::Commit()
{
    m_engine.CommitTransaction();
    m_done = true;
}
