#pragma once
// A small archive in an in-memory SQLite database, stored as the archive
// engine stores it, with a name resolver over it: translated SQL is checked by
// running it and looking at the rows it selects.

#include "component/SqlDialect.h"
#include "component/SqlFunctions.h"

#include <QMap>
#include <QStringList>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

namespace SqlDialectTest {

struct ColumnDef
{
    QString name;
    int typeCode;
};

// Tables and columns of the archive used by the tests.
inline const QMap<QString, QList<ColumnDef>>& Tables()
{
    using namespace FieldType;
    static const QMap<QString, QList<ColumnDef>> schema = {
        {QStringLiteral("Ricevute"),
         {{"OID", Long}, {"Importo_Ricevuta", FieldType::Currency}, {"Numero", Long}, {"Data", Date}, {"AnnoFiscale", Long},
          {"Note", Text}, {"OID_TipoDocumento", Long}, {"OID_Cliente", Long}}},
        {QStringLiteral("TipiDocumento"), {{"OID", Long}, {"Descrizione", Text}, {"Fattura", Boolean}}},
        {QStringLiteral("RigheRicevute"),
         {{"OID", Long}, {"Nome", Text}, {"Prezzo", FieldType::Currency}, {"Quantità", Double}, {"Importo_Riga", FieldType::Currency},
          {"Ordine_Menù", Long}, {"OID_Portata", Long}, {"OID_Menu", Long}, {"OID_Ricevute_Righe", Long}}},
        {QStringLiteral("Portate"), {{"OID", Long}, {"Descrizione", Text}, {"Ordine_Di_Stampa", Long}}},
        {QStringLiteral("Menu"),
         {{"OID", Long}, {"Nome", Text}, {"Descrizione", Text}, {"Prezzo", FieldType::Currency}, {"Ordine_Menù", Long},
          {"OID_Portata", Long}, {"Fuori_Menù", Boolean}}},
        {QStringLiteral("Clienti"), {{"OID", Long}, {"Ragione_Sociale", Text}}},
    };
    return schema;
}

// Resolves the names of one table; a name of another table adds the join
// that reaches it.
class FakeResolver : public SqlNameResolver
{
public:
    explicit FakeResolver(QString table) : m_table(std::move(table)) {}

    std::optional<SqlColumn> ResolveColumn(const QString& qualifier, const QString& name) override
    {
        QString table = m_table;
        if (!qualifier.isEmpty()) {
            table = FindKey(qualifier);
            if (table.isEmpty())
                return std::nullopt;
        }
        for (const ColumnDef& c : Tables()[table]) {
            if (c.name.compare(name, Qt::CaseInsensitive) == 0) {
                if (table != m_table && !AddJoin(table))
                    return std::nullopt;
                return SqlColumn{QStringLiteral("\"%1\".\"%2\"").arg(table, c.name), c.typeCode};
            }
        }
        return std::nullopt;
    }

    QString Joins() const { return m_joins.join(u' '); }
    const QString& Table() const { return m_table; }

private:
    static QString FindKey(const QString& name)
    {
        for (auto it = Tables().begin(); it != Tables().end(); ++it) {
            if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                return it.key();
        }
        return {};
    }

    bool AddJoin(const QString& other)
    {
        static const QMap<QString, QString> links = {
            {"Ricevute>TipiDocumento", "\"Ricevute\".\"OID_TipoDocumento\""},
            {"Ricevute>Clienti", "\"Ricevute\".\"OID_Cliente\""},
            {"RigheRicevute>Ricevute", "\"RigheRicevute\".\"OID_Ricevute_Righe\""},
            {"RigheRicevute>Portate", "\"RigheRicevute\".\"OID_Portata\""},
            {"RigheRicevute>Menu", "\"RigheRicevute\".\"OID_Menu\""},
            {"Menu>Portate", "\"Menu\".\"OID_Portata\""},
        };
        const QString link = links.value(m_table + u'>' + other);
        if (link.isEmpty())
            return false;
        const QString join = QStringLiteral("LEFT JOIN \"%1\" ON \"%1\".\"OID\" = %2").arg(other, link);
        if (!m_joins.contains(join))
            m_joins.append(join);
        return true;
    }

    QString m_table;
    QStringList m_joins;
};

struct DbCloser
{
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StmtFinalizer
{
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

class TestDb
{
public:
    TestDb()
    {
        sqlite3* raw = nullptr;
        sqlite3_open(":memory:", &raw);
        m_db.reset(raw);
        RegisterSqlFunctions(raw);
        for (auto it = Tables().begin(); it != Tables().end(); ++it) {
            QStringList columns;
            for (const ColumnDef& c : it.value()) {
                QString type = QStringLiteral("INTEGER");
                if (FieldType::IsText(c.typeCode) || FieldType::IsDate(c.typeCode))
                    type = QStringLiteral("TEXT COLLATE NOCASE");
                else if (c.typeCode == FieldType::Double)
                    type = QStringLiteral("REAL");
                columns << QStringLiteral("\"%1\" %2").arg(c.name, type) +
                               (c.name == u"OID" ? QStringLiteral(" PRIMARY KEY") : QString());
            }
            Exec(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(it.key(), columns.join(u", ")));
        }
        Exec("INSERT INTO TipiDocumento VALUES (1, 'Fattura', 1), (2, 'Ricevuta fiscale', 0),"
             " (3, 'Ricevuta non fiscale', 0), (4, 'Preconto', 0)");
        Exec("INSERT INTO Clienti VALUES (1, 'Cliente generico'), (2, 'Rossi S.r.l.')");
        Exec("INSERT INTO Portate VALUES (1, 'VARIE', 50), (2, 'ANTIPASTI', 100), (3, 'PRIMI', 150), (4, 'SECONDI', 200)");
        Exec("INSERT INTO Ricevute VALUES"
             " (1, 155000, 1, '2026-03-01 12:30:00', 2026, 'Tavolo 4', 2, 1),"
             " (2, 100000, 2, '2026-03-31 10:05:00', 2026, NULL, 2, 1),"
             " (3, 1, 1, '2026-12-07 20:00:00', 2026, 'Caffè', 3, 2),"
             " (4, 193627000, 1, '2025-12-31 23:59:59', 2025, 'Perché no', 1, 2),"
             " (5, NULL, 3, '2026-04-01 00:00:00', 2026, 'it''s', 2, NULL)");
        Exec("INSERT INTO RigheRicevute VALUES"
             " (1, 'Coperto', 20000, 2, 40000, 0, 1, 1, 1),"
             " (2, 'Coperto bambini', 10000, 1, 10000, 1, 1, 2, 1),"
             " (3, 'Spaghetti', 105000, 1, 105000, 10, 3, 3, 1),"
             " (4, 'Caffè', 12000, 1, 12000, 5, 1, 4, 2),"
             " (5, 'CAFFÈ corretto', 25000, 1, 25000, 6, 1, 5, 2),"
             " (6, 'Tagliata 100%_extra', 180000, 0.5, 90000, 20, 4, 6, 3),"
             " (7, 'Ñoquis [chef]', 99000, NULL, NULL, 30, 3, 7, NULL)");
        Exec("INSERT INTO Menu VALUES"
             " (1, 'Coperto', 'Coperto', 10000, 0, 1, 0),"
             " (2, 'Spaghetti', 'Spaghetti allo scoglio', 105000, 10, 3, 0),"
             " (3, 'Tiramisù', 'Dolce', 50000, 5, 1, 1)");
    }

    sqlite3* Handle() const { return m_db.get(); }

    // Prepares and binds; a prepare failure fails the test with SQLite's message.
    StmtPtr Prepare(const QString& sql, const QVariantList& params = {})
    {
        sqlite3_stmt* raw = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(m_db.get(), utf8.constData(), int(utf8.size()), &raw, nullptr);
        StmtPtr stmt(raw);
        EXPECT_EQ(rc, SQLITE_OK) << sqlite3_errmsg(m_db.get()) << " in " << sql.toStdString();
        if (rc != SQLITE_OK)
            return nullptr;
        EXPECT_EQ(sqlite3_bind_parameter_count(raw), params.size()) << sql.toStdString();
        for (int i = 0; i < params.size(); ++i) {
            const QVariant& p = params[i];
            switch (p.typeId()) {
            case QMetaType::QString: {
                const QByteArray text = p.toString().toUtf8();
                sqlite3_bind_text(raw, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::Double:
                sqlite3_bind_double(raw, i + 1, p.toDouble());
                break;
            case QMetaType::Bool:
                sqlite3_bind_int(raw, i + 1, p.toBool() ? 1 : 0);
                break;
            case QMetaType::LongLong:
                sqlite3_bind_int64(raw, i + 1, p.toLongLong());
                break;
            default:
                ADD_FAILURE() << "unexpected parameter type " << p.typeName();
            }
        }
        return stmt;
    }

    // Runs a statement; returns SQLite's error message, empty on success.
    QString Exec(const QString& sql, const QVariantList& params = {})
    {
        StmtPtr stmt = Prepare(sql, params);
        if (!stmt)
            return QStringLiteral("prepare");
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        }
        return rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(m_db.get()));
    }

    QVariant Scalar(const QString& sql, const QVariantList& params = {})
    {
        StmtPtr stmt = Prepare(sql, params);
        if (!stmt || sqlite3_step(stmt.get()) != SQLITE_ROW)
            return QVariant(QStringLiteral("<errore: %1>").arg(QString::fromUtf8(sqlite3_errmsg(m_db.get()))));
        switch (sqlite3_column_type(stmt.get(), 0)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return QVariant(qint64(sqlite3_column_int64(stmt.get(), 0)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt.get(), 0));
        default:
            return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0))));
        }
    }

    // The OIDs of `table`'s rows that `criteria` selects, in OID order.
    QList<qint64> Select(const QString& table, const QString& criteria)
    {
        FakeResolver resolver(table);
        const SqlFragment where = SqlDialect::TranslateCriteria(criteria, resolver);
        QString sql = QStringLiteral("SELECT \"%1\".\"OID\" FROM \"%1\" %2").arg(table, resolver.Joins());
        if (!where.sql.isEmpty())
            sql += QStringLiteral(" WHERE ") + where.sql;
        sql += QStringLiteral(" ORDER BY \"%1\".\"OID\"").arg(table);
        QList<qint64> oids;
        StmtPtr stmt = Prepare(sql, where.params);
        while (stmt && sqlite3_step(stmt.get()) == SQLITE_ROW)
            oids.append(sqlite3_column_int64(stmt.get(), 0));
        return oids;
    }

    // The value of an expression of `table` for the row with the given OID.
    QVariant Evaluate(const QString& table, qint64 oid, const QString& expression)
    {
        FakeResolver resolver(table);
        const QList<SqlOrderTerm> terms = SqlDialect::TranslateOrder(expression, resolver);
        if (terms.size() != 1)
            return QStringLiteral("<%1 termini>").arg(terms.size());
        QVariantList params = terms[0].expr.params;
        params.append(oid);
        return Scalar(QStringLiteral("SELECT %1 FROM \"%2\" %3 WHERE \"%2\".\"OID\" = ?")
                          .arg(terms[0].expr.sql, table, resolver.Joins()),
                      params);
    }

private:
    std::unique_ptr<sqlite3, DbCloser> m_db;
};

using Oids = QList<qint64>;

} // namespace SqlDialectTest

// Readable failure messages.
inline void PrintTo(const QList<qint64>& list, std::ostream* os)
{
    *os << "{";
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", " : "") << list[i];
    *os << "}";
}
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QVariant& value, std::ostream* os)
{
    *os << value.typeName() << "(" << value.toString().toStdString() << ")";
}
