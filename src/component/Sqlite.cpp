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

namespace {

// The columns a unique index refused, from the storage's message
// ("UNIQUE constraint failed: T.a, T.OID_b" gives "a, b").
QString RefusedColumns(const QString& message)
{
    const qsizetype colon = message.indexOf(u':');
    if (colon < 0)
        return {};
    QStringList columns;
    for (QString column : message.mid(colon + 1).split(u',', Qt::SkipEmptyParts)) {
        column = column.trimmed();
        column = column.mid(column.lastIndexOf(u'.') + 1);
        if (column.startsWith(QLatin1String("OID_")))
            column = column.mid(4);
        columns.append(column);
    }
    return columns.join(QStringLiteral(", "));
}

} // namespace

Exception DuplicateValuesError(const QString& columns, const QString& detail)
{
    return Exception(ComponentError::Duplicate,
                     columns.isEmpty()
                         ? QStringLiteral("Dati duplicati: esiste già un record con gli stessi valori. "
                                          "Cambiare i valori e riprovare.")
                         : QStringLiteral("Dati duplicati: esiste già un record con gli stessi valori di «%1». "
                                          "Cambiare i valori e riprovare.")
                               .arg(columns),
                     QString(), detail);
}

Exception SqliteError(int rc, const QString& message, const QString& statement)
{
    QString detail = QStringLiteral("SQLite: %1 (codice %2)").arg(message).arg(rc);
    if (!statement.isEmpty())
        detail += QStringLiteral("\r\n") + statement;
    const auto error = [&detail](qint32 number, const QString& description) {
        return Exception(number, description, QString(), detail);
    };
    const int primary = rc & 0xff;
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return error(ComponentError::Busy,
                     QStringLiteral("Archivio occupato: un'altra sessione lo sta modificando. Riprovare tra poco."));
    case SQLITE_CONSTRAINT: {
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            return DuplicateValuesError(RefusedColumns(message), detail);
        return error(ComponentError::InvalidValue,
                     QStringLiteral("Dati non validi: l'archivio non accetta i valori dati. Correggere i valori e riprovare."));
    }
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return error(ComponentError::Io,
                     QStringLiteral("Il file non è un archivio valido o è danneggiato. Ripristinare una copia di "
                                    "sicurezza dell'archivio, oppure scegliere un'altra cartella di lavoro."));
    case SQLITE_FULL:
        return error(ComponentError::Io,
                     QStringLiteral("Il disco è pieno: l'archivio non può essere scritto. Liberare spazio sul disco e riprovare."));
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return error(ComponentError::Io,
                     QStringLiteral("L'archivio non può essere modificato: il file o la sua cartella sono in sola "
                                    "lettura. Controllare i permessi del file e della cartella."));
    case SQLITE_CANTOPEN:
        return error(ComponentError::Io,
                     QStringLiteral("Impossibile aprire il file dell'archivio. Controllare che la cartella di lavoro "
                                    "esista e sia accessibile."));
    case SQLITE_IOERR:
        return error(ComponentError::Io,
                     QStringLiteral("Errore di lettura o scrittura dell'archivio sul disco. Controllare il disco (o "
                                    "la rete) e riprovare."));
    case SQLITE_NOMEM:
        return error(ComponentError::Sql,
                     QStringLiteral("Memoria insufficiente per l'operazione sull'archivio. Chiudere altri programmi e riprovare."));
    case SQLITE_INTERRUPT:
        return error(ComponentError::Interrupted, QStringLiteral("Operazione sull'archivio interrotta."));
    case SQLITE_TOOBIG:
        return error(ComponentError::InvalidValue,
                     QStringLiteral("Valore troppo grande per l'archivio. Ridurre il testo o il valore e riprovare."));
    default:
        break;
    }
    // The archive's own functions explain their refusals in Italian.
    if (IsSqlFunctionMessage(message))
        return error(ComponentError::Sql,
                     QStringLiteral("Operazione sull'archivio non riuscita: %1. Controllare i criteri e i valori usati.")
                         .arg(message));
    return error(ComponentError::Sql,
                 QStringLiteral("Operazione sull'archivio non riuscita. Riprovare; se l'errore si ripete, salvare "
                                "i dettagli e inviarli all'assistenza."));
}

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
        throw SqliteError(rc, reason, path);
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
    throw SqliteError(rc, message, context);
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
