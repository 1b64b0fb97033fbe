#pragma once
// Thin RAII layer over the SQLite C API: a connection handle and prepared
// statements that bind and read QVariants. Errors become Exception with the
// engine's numbers (busy archive, duplicate key, anything else).

#include "component/Exception.h"

#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The error for a result code of SQLite: an Italian description of what
// happened and what to do, SQLite's own message and the statement (or file)
// in the detail.
Exception SqliteError(int rc, const QString& message, const QString& statement);

// The refusal of a record whose values of a unique key are those of another
// record; `columns` names the key's columns ("Numero, Categoria").
Exception DuplicateValuesError(const QString& columns, const QString& detail);

class SqliteDb
{
public:
    SqliteDb() = default;
    // Opens (or creates, when `create`) the file; throws on failure.
    SqliteDb(const QString& path, bool create, int busyTimeoutMs);
    SqliteDb(SqliteDb&&) noexcept = default;
    SqliteDb& operator=(SqliteDb&&) noexcept = default;

    sqlite3* Handle() const { return m_db.get(); }
    bool IsOpen() const { return m_db != nullptr; }
    const QString& Path() const { return m_path; }

    // Runs one or more statements without parameters.
    void Exec(const QString& sql);
    qint64 LastInsertId() const;
    int Changes() const;

    // Raises the Exception that matches the connection's last error.
    [[noreturn]] void Raise(int rc, const QString& context) const;

private:
    struct Closer { void operator()(sqlite3* db) const; };
    std::unique_ptr<sqlite3, Closer> m_db;
    QString m_path;
};

class Statement
{
public:
    Statement(const SqliteDb& db, const QString& sql);
    Statement(Statement&&) noexcept = default;
    Statement& operator=(Statement&&) noexcept = default;

    // Binds in order: null, bool (0/1), integers, double, text, Currency
    // (as its units), QDateTime/QDate (as 'YYYY-MM-DD HH:MM:SS').
    void Bind(int index, const QVariant& value); // 1-based
    void BindAll(const QVariantList& values, int first = 1);
    // Steps once; true while a row is available.
    bool Step();
    void Reset();
    int ColumnCount() const;
    // A column as stored: null, qint64, double or QString.
    QVariant Column(int index) const; // 0-based
    bool IsNull(int index) const;
    qint64 ColumnInt(int index) const;
    const QString& Sql() const { return m_sql; }

private:
    struct Finalizer { void operator()(sqlite3_stmt* s) const; };
    const SqliteDb* m_db;
    std::unique_ptr<sqlite3_stmt, Finalizer> m_stmt;
    QString m_sql;
};

// Storage text of a date and time.
QString SqlDateText(const QDateTime& value);
