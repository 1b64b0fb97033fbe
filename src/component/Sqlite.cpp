#include "component/Sqlite.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "component/Exception.h"
#include "component/FieldValue.h"
#include "component/SqlFunctions.h"

#include <QDateTime>
#include <sqlite3.h>

void SqliteDb::Closer::operator()(sqlite3* db) const { sqlite3_close_v2(db); }
void Statement::Finalizer::operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }

SqliteDb::SqliteDb(const QString& path, bool create, int busyTimeoutMs) : m_path(path)
{
    sqlite3* raw = nullptr;
    // URI names let another archive be attached for reading only.
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    m_db.reset(raw);
    if (rc != SQLITE_OK) {
        const QString reason = raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QString();
        m_db.reset();
        throw Exception(ComponentError::Io,
                        QStringLiteral("Impossibile aprire l'archivio «%1»: %2").arg(path, reason));
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, busyTimeoutMs);
    RegisterSqlFunctions(raw);
}

void SqliteDb::Exec(const QString& sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db.get(), sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (err)
        sqlite3_free(err);
    if (rc != SQLITE_OK)
        Raise(rc, sql);
}

qint64 SqliteDb::LastInsertId() const { return sqlite3_last_insert_rowid(m_db.get()); }
int SqliteDb::Changes() const { return sqlite3_changes(m_db.get()); }

void SqliteDb::Raise(int rc, const QString& context) const
{
    const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db.get())) : QString();
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw Exception(ComponentError::Busy,
                        QStringLiteral("Archivio occupato: un'altra sessione lo sta modificando. Riprovare tra poco."));
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
        throw Exception(ComponentError::Duplicate,
                        QStringLiteral("Dati duplicati: esiste già un record con gli stessi valori (%1).").arg(message));
    if (primary == SQLITE_INTERRUPT)
        throw Exception(ComponentError::Interrupted, QStringLiteral("Operazione interrotta"));
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
        throw Exception(ComponentError::Io, QStringLiteral("L'archivio è danneggiato o non è un archivio valido: %1").arg(message));
    if (primary == SQLITE_FULL || primary == SQLITE_IOERR || primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN)
        throw Exception(ComponentError::Io, QStringLiteral("Errore di scrittura dell'archivio: %1").arg(message));
    Q_UNUSED(context);
    throw Exception(ComponentError::Sql, QStringLiteral("Errore dell'archivio: %1").arg(message));
}

Statement::Statement(const SqliteDb& db, const QString& sql) : m_db(&db), m_sql(sql)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db.Handle(), utf8.constData(), int(utf8.size()), &raw, nullptr);
    m_stmt.reset(raw);
    if (rc != SQLITE_OK)
        db.Raise(rc, sql);
}

QString SqlDateText(const QDateTime& value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void Statement::Bind(int index, const QVariant& value)
{
    sqlite3_stmt* s = m_stmt.get();
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(s, index);
    } else if (FieldValue::IsWholeNumber(value)) {
        rc = sqlite3_bind_int64(s, index, value.toLongLong());
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(s, index, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(s, index, value.toDouble());
            break;
        case QMetaType::QDateTime:
            rc = sqlite3_bind_text16(s, index, SqlDateText(value.toDateTime()).utf16(), -1, SQLITE_TRANSIENT);
            break;
        case QMetaType::QDate:
            rc = sqlite3_bind_text16(s, index, SqlDateText(value.toDate().startOfDay()).utf16(), -1, SQLITE_TRANSIENT);
            break;
        default:
            if (value.metaType() == QMetaType::fromType<Currency>()) {
                rc = sqlite3_bind_int64(s, index, value.value<Currency>().Units());
            } else {
                const QString text = value.toString();
                rc = sqlite3_bind_text16(s, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
            }
        }
    }
    if (rc != SQLITE_OK)
        m_db->Raise(rc, m_sql);
}

void Statement::BindAll(const QVariantList& values, int first)
{
    for (int i = 0; i < values.size(); ++i)
        Bind(first + i, values[i]);
}

bool Statement::Step()
{
    const int rc = sqlite3_step(m_stmt.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt.get());
    m_db->Raise(rc, m_sql);
}

void Statement::Reset()
{
    sqlite3_reset(m_stmt.get());
    sqlite3_clear_bindings(m_stmt.get());
}

int Statement::ColumnCount() const { return sqlite3_column_count(m_stmt.get()); }

bool Statement::IsNull(int index) const { return sqlite3_column_type(m_stmt.get(), index) == SQLITE_NULL; }

qint64 Statement::ColumnInt(int index) const { return sqlite3_column_int64(m_stmt.get(), index); }

QVariant Statement::Column(int index) const
{
    sqlite3_stmt* s = m_stmt.get();
    switch (sqlite3_column_type(s, index)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(s, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(s, index));
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        // Text is stored as UTF-8; Qt's decoder is faster than SQLite's.
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(s, index));
        const int bytes = sqlite3_column_bytes(s, index);
        return QVariant(QString::fromUtf8(data, bytes));
    }
    default:
        return QVariant();
    }
}
