#include "component/Connection.h"

#include "component/ComponentErrors.h"
#include "component/DatabaseEngine.h"
#include "component/Exception.h"
#include "component/QueryResolver.h"
#include "component/Schema.h"
#include "component/SchemaStore.h"

#include <map>

using SqlDialect::QuoteName;

int Connection::Execute(const QString& statement)
{
    try {
        return ExecuteTranslated(statement);
    } catch (const Exception& e) {
        m_lastError = e.Description();
        throw;
    }
}

int Connection::ExecuteTranslated(const QString& statement)
{
    auto schema = m_engine.AttachedSchema();
    if (!schema)
        throw Exception(ComponentError::NotOpen, QStringLiteral("Nessuna definizione di archivio collegata al motore"));
    std::map<QString, std::unique_ptr<QueryResolver>> resolvers;
    auto provider = [&](const QString& table) -> SqlNameResolver* {
        auto def = schema->Find(table);
        if (!def)
            return nullptr;
        auto& slot = resolvers[def->name];
        if (!slot)
            slot = std::make_unique<QueryResolver>(*schema, *def);
        return slot.get();
    };
    const SqlStatement translated = SqlDialect::TranslateStatement(statement, provider);
    switch (translated.kind) {
    case SqlStatement::Kind::AlterDropColumn:
        DropColumn(translated.table, translated.name);
        m_engine.DataChanged();
        return 0;
    case SqlStatement::Kind::AlterDropConstraint:
        DropConstraint(translated.table, translated.name);
        return 0;
    case SqlStatement::Kind::Update:
    case SqlStatement::Kind::Delete:
        break;
    }
    SqliteDb& db = m_engine.Db();
    Statement s(db, translated.sql.sql);
    s.BindAll(translated.sql.params);
    s.Step();
    m_engine.DataChanged();
    return db.Changes();
}

void Connection::DropColumn(const QString& table, const QString& column)
{
    SqliteDb& db = m_engine.Db();
    if (auto def = m_engine.AttachedSchema()->Find(table); def && def->FindPhysical(column))
        throw Exception(ComponentError::Definition,
                        QStringLiteral("La colonna %1.%2 fa parte della definizione e non può essere eliminata").arg(table, column));
    bool present = false;
    for (const QString& existing : SchemaStore::ExistingColumns(db, table))
        present = present || existing.compare(column, Qt::CaseInsensitive) == 0;
    if (!present)
        return; // already gone: dropping is idempotent, so an upgrade can be repeated
    AtomicWrite write(m_engine);
    for (const QString& index : SchemaStore::IndexesOnColumn(db, table, column))
        db.Exec(QStringLiteral("DROP INDEX %1").arg(QuoteName(index)));
    db.Exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(QuoteName(table), QuoteName(column)));
    write.Commit();
}

void Connection::DropConstraint(const QString& table, const QString& name)
{
    SqliteDb& db = m_engine.Db();
    db.Exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(QuoteName(SchemaStore::IndexName(table, name))));
}

void Connection::BeginTrans() { m_engine.BeginTransaction(); }
void Connection::CommitTrans() { m_engine.CommitTransaction(); }
void Connection::RollbackTrans() { m_engine.RollbackTransaction(); }
