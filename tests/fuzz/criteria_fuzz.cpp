// Feeds random text to the query dialect translator and runs what it accepts
// on an in-memory SQLite database. Rejecting text is fine (an Exception);
// producing SQL that SQLite cannot prepare, or parameters that do not match
// the placeholders, is a bug and aborts.
//
// The first byte chooses what the rest is: criteria, order, select list or
// statement.

#include "component/Exception.h"
#include "component/SqlDialect.h"
#include "component/SqlFunctions.h"

#include <QMap>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace {

struct Column
{
    const char* name;
    int type;
};

const QMap<QString, QList<Column>>& Tables()
{
    using namespace FieldType;
    static const QMap<QString, QList<Column>> tables = {
        {"Ricevute",
         {{"OID", Long}, {"Importo_Ricevuta", Currency}, {"Numero", Long}, {"Data", Date}, {"AnnoFiscale", Long},
          {"Note", Text}, {"OID_TipoDocumento", Long}, {"Saldato", Boolean}}},
        {"TipiDocumento", {{"OID", Long}, {"Descrizione", Text}}},
        {"RigheRicevute",
         {{"OID", Long}, {"Nome", Text}, {"Prezzo", Currency}, {"Quantità", Double}, {"Importo_Riga", Currency},
          {"Ordine_Menù", Long}, {"OID_Ricevute_Righe", Long}}},
    };
    return tables;
}

class Resolver : public SqlNameResolver
{
public:
    explicit Resolver(QString table) : m_table(std::move(table)) {}

    std::optional<SqlColumn> ResolveColumn(const QString& qualifier, const QString& name) override
    {
        QString table = m_table;
        if (!qualifier.isEmpty()) {
            table.clear();
            for (const QString& t : Tables().keys())
                if (t.compare(qualifier, Qt::CaseInsensitive) == 0)
                    table = t;
            if (table.isEmpty())
                return std::nullopt;
        }
        for (const Column& c : Tables()[table]) {
            if (QString::fromUtf8(c.name).compare(name, Qt::CaseInsensitive) != 0)
                continue;
            if (table != m_table) {
                const QString link = m_table == u"Ricevute" ? QStringLiteral("\"Ricevute\".\"OID_TipoDocumento\"")
                                                             : QStringLiteral("\"%1\".\"OID\"").arg(m_table);
                const QString join = QStringLiteral(" LEFT JOIN \"%1\" ON \"%1\".\"OID\" = %2").arg(table, link);
                if (!m_joins.contains(join))
                    m_joins += join;
            }
            return SqlColumn{QStringLiteral("\"%1\".\"%2\"").arg(table, QString::fromUtf8(c.name)), c.type};
        }
        return std::nullopt;
    }

    QString m_table;
    QString m_joins;
};

sqlite3* Database()
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        RegisterSqlFunctions(d);
        for (auto it = Tables().begin(); it != Tables().end(); ++it) {
            QStringList columns;
            for (const Column& c : it.value()) {
                const bool text = FieldType::IsText(c.type) || FieldType::IsDate(c.type);
                columns << QStringLiteral("\"%1\" %2").arg(QString::fromUtf8(c.name),
                                                            text ? "TEXT COLLATE NOCASE"
                                                                 : c.type == FieldType::Double ? "REAL" : "INTEGER");
            }
            const QByteArray sql = QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(it.key(), columns.join(", ")).toUtf8();
            sqlite3_exec(d, sql.constData(), nullptr, nullptr, nullptr);
        }
        sqlite3_exec(d,
                     "INSERT INTO Ricevute VALUES (1, 155000, 1, '2026-03-01 12:30:00', 2026, 'Tavolo 4', 1, 1),"
                     " (2, NULL, 2, '2026-03-31 10:05:00', 2026, 'Caffè', 2, 0);"
                     "INSERT INTO TipiDocumento VALUES (1, 'Fattura'), (2, 'Ricevuta');"
                     "INSERT INTO RigheRicevute VALUES (1, 'Coperto', 20000, 2, 40000, 0, 1),"
                     " (2, 'CAFFÈ [x]', 12000, 0.5, 6000, 1, 2);",
                     nullptr, nullptr, nullptr);
        // A query runs only so long: the point is whether SQLite accepts it.
        sqlite3_progress_handler(d, 100000, [](void*) { return 1; }, nullptr);
        return d;
    }();
    return db;
}

[[noreturn]] void Bug(const char* what, const QString& input, const QString& sql)
{
    std::fprintf(stderr, "%s: %s\ninput: %s\nsql: %s\n", what, sqlite3_errmsg(Database()), input.toUtf8().constData(),
                 sql.toUtf8().constData());
    std::abort();
}

void Run(const QString& input, const QString& sql, const QVariantList& params)
{
    sqlite3* db = Database();
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
        Bug("SQLite refused the translation", input, sql);
    if (sqlite3_bind_parameter_count(stmt) != params.size()) {
        sqlite3_finalize(stmt);
        Bug("parameters do not match the placeholders", input, sql);
    }
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& p = params[i];
        if (p.typeId() == QMetaType::QString) {
            const QByteArray text = p.toString().toUtf8();
            sqlite3_bind_text(stmt, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        } else if (p.typeId() == QMetaType::Double) {
            sqlite3_bind_double(stmt, i + 1, p.toDouble());
        } else if (p.typeId() == QMetaType::LongLong || p.typeId() == QMetaType::Bool) {
            sqlite3_bind_int64(stmt, i + 1, p.toLongLong());
        } else {
            sqlite3_finalize(stmt);
            Bug("unexpected parameter type", input, sql);
        }
    }
    // Errors while running (an overflow, a bad pattern in a column) are the
    // query's own; only preparing must never fail.
    for (int steps = 0; steps < 50 && sqlite3_step(stmt) == SQLITE_ROW; ++steps) {
    }
    sqlite3_finalize(stmt);
}

void Fuzz(char mode, const QString& text)
{
    switch (mode % 4) {
    case 0: {
        Resolver resolver(QStringLiteral("Ricevute"));
        const SqlFragment where = SqlDialect::TranslateCriteria(text, resolver);
        if (!where.sql.isEmpty())
            Run(text, "SELECT \"Ricevute\".\"OID\" FROM \"Ricevute\"" + resolver.m_joins + " WHERE " + where.sql,
                where.params);
        break;
    }
    case 1: {
        Resolver resolver(QStringLiteral("RigheRicevute"));
        const QList<SqlOrderTerm> terms = SqlDialect::TranslateOrder(text, resolver);
        QStringList parts;
        QVariantList params;
        for (const SqlOrderTerm& t : terms) {
            parts << t.expr.sql + (t.descending ? " DESC" : "");
            params += t.expr.params;
        }
        if (!parts.isEmpty())
            Run(text, "SELECT 1 FROM \"RigheRicevute\"" + resolver.m_joins + " ORDER BY " + parts.join(", "), params);
        break;
    }
    case 2:
        SqlDialect::ParseSelectList(text);
        break;
    default: {
        QList<std::shared_ptr<Resolver>> resolvers;
        const SqlStatement s = SqlDialect::TranslateStatement(text, [&](const QString& table) -> SqlNameResolver* {
            for (const QString& t : Tables().keys()) {
                if (t.compare(table, Qt::CaseInsensitive) == 0) {
                    resolvers.append(std::make_shared<Resolver>(t));
                    return resolvers.last().get();
                }
            }
            return nullptr;
        });
        if (s.kind == SqlStatement::Kind::Update || s.kind == SqlStatement::Kind::Delete) {
            sqlite3_exec(Database(), "SAVEPOINT fuzz", nullptr, nullptr, nullptr);
            Run(text, s.sql.sql, s.sql.params);
            sqlite3_exec(Database(), "ROLLBACK TO fuzz; RELEASE fuzz", nullptr, nullptr, nullptr);
        }
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    try {
        Fuzz(char(data[0]), text);
    } catch (const Exception&) {
        // A clear refusal is the right answer to malformed text.
    }
    return 0;
}
