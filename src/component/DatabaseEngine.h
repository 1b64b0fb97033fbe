#pragma once
// The archive file and its connection: creation, opening (WAL journal, full
// synchronous commits), nested transactions, a cache of prepared statements
// and a generation counter that tells data objects when stored data changed.

#include "component/Connection.h"
#include "component/Sqlite.h"

#include <QHash>
#include <functional>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

class Schema;

class DatabaseEngine
{
public:
    DatabaseEngine();
    ~DatabaseEngine();
    DatabaseEngine(const DatabaseEngine&) = delete;
    DatabaseEngine& operator=(const DatabaseEngine&) = delete;

    // Makes a new, empty archive file; refuses to overwrite an existing one.
    void CreateDatabaseFile(int kind, const QString& path, int reserved1 = 0, int reserved2 = 0);
    // Opens an existing archive file. The extra arguments of the classic
    // signature are accepted and ignored.
    void OpenDatabaseFile(int kind, const QString& path, int reserved1 = 0, int reserved2 = 0,
                          void* owner = nullptr, int mode = 5, int reserved3 = 0, bool exclusive = true,
                          bool readWrite = true, int reserved4 = 0, int reserved5 = -2);
    bool IsOpen() const { return m_db.IsOpen(); }
    const QString& Path() const { return m_db.Path(); }

    ::Connection& Connection() { return m_connection; }

    void BeginTransaction();
    void CommitTransaction();
    void RollbackTransaction();
    bool InTransaction() const { return m_depth > 0; }
    int TransactionDepth() const { return m_depth; }
    // Drops cached statements and tells data objects to read again.
    void Refresh();

    // How long an operation waits for another session's lock.
    static void SetBusyTimeout(int milliseconds);
    static int BusyTimeout();

    // Internal services for the engine's own objects.
    SqliteDb& Db();
    quint64 Generation() const { return m_generation; }
    void DataChanged() { ++m_generation; }
    void SetSchema(std::shared_ptr<const Schema> schema) { m_schema = std::move(schema); }
    std::shared_ptr<const Schema> AttachedSchema() const { return m_schema; }
    // True the first time an order of a table is looked at in this session.
    bool MarkOrderChecked(const QString& key) { return m_checkedOrders.insert(key).second; }
    // True while a statement in progress is asking its watcher whether to go
    // on (see ScopedStatementWatch): readers that the watcher's window events
    // may wake must not read the archive then.
    bool IsWatching() const { return m_watching; }

    // A prepared statement borrowed from the cache; returned, reset, on scope exit.
    class CachedStatement
    {
    public:
        CachedStatement(DatabaseEngine& engine, const QString& sql);
        ~CachedStatement();
        CachedStatement(const CachedStatement&) = delete;
        CachedStatement& operator=(const CachedStatement&) = delete;
        Statement* operator->() { return m_stmt.get(); }
        Statement& operator*() { return *m_stmt; }

    private:
        DatabaseEngine& m_engine;
        QString m_sql;
        std::unique_ptr<Statement> m_stmt;
    };

private:
    void Configure();
    std::unique_ptr<Statement> TakeStatement(const QString& sql);
    void ReturnStatement(const QString& sql, std::unique_ptr<Statement> stmt);

    friend class ScopedStatementWatch;
    static int OnStatementProgress(void* engine);

    SqliteDb m_db;
    ::Connection m_connection;
    std::function<bool()> m_watch;
    bool m_watching = false;
    int m_depth = 0;
    quint64 m_generation = 1;
    std::shared_ptr<const Schema> m_schema;
    std::set<QString> m_checkedOrders;
    struct TextHash
    {
        size_t operator()(const QString& s) const { return qHash(s); }
    };
    std::unordered_map<QString, std::vector<std::unique_ptr<Statement>>, TextHash> m_cache;
};

// While alive, every statement of the engine calls `keepGoing` every few
// milliseconds of work; when it answers false the statement stops and raises
// ComponentError::Interrupted. It lets a long search or total show a message
// window, keep it painted and offer a stop button. Watches nest: the inner
// one is in force until it ends.
class ScopedStatementWatch
{
public:
    ScopedStatementWatch(DatabaseEngine& engine, std::function<bool()> keepGoing);
    ~ScopedStatementWatch();
    ScopedStatementWatch(const ScopedStatementWatch&) = delete;
    ScopedStatementWatch& operator=(const ScopedStatementWatch&) = delete;

private:
    DatabaseEngine& m_engine;
    std::function<bool()> m_previous;
};

// Runs a group of writes atomically: a transaction of its own when none is
// open, else a savepoint inside the open one. Rolled back unless committed.
class AtomicWrite
{
public:
    explicit AtomicWrite(DatabaseEngine& engine);
    ~AtomicWrite();
    AtomicWrite(const AtomicWrite&) = delete;
    AtomicWrite& operator=(const AtomicWrite&) = delete;
    void Commit();

private:
    DatabaseEngine& m_engine;
    bool m_done = false;
};
