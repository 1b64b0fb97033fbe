#pragma once
// The connection of an archive as the application sees it: statements in the
// archive's dialect and the classic transaction calls.

#include <QString>

class DatabaseEngine;

class Connection
{
public:
    explicit Connection(DatabaseEngine& engine) : m_engine(engine) {}

    // Executes an UPDATE, DELETE or ALTER TABLE ... DROP statement written in
    // the archive's dialect; returns the number of records changed.
    int Execute(const QString& statement);
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    // Description of the last error raised through this connection.
    const QString& LastError() const { return m_lastError; }

private:
    int ExecuteTranslated(const QString& statement);
    void DropColumn(const QString& table, const QString& column);
    void DropConstraint(const QString& table, const QString& name);

    DatabaseEngine& m_engine;
    QString m_lastError;
};
