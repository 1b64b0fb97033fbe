#include "browser/PeriodSelection.h"

#include "component/ComponentErrors.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/SqlDialect.h"
#include "component/Table.h"

QString& SelectionDescription()
{
    static QString description;
    return description;
}

PeriodCriteria ApplyPeriod(const QString& criteria, const PeriodChoice& choice, DatabaseObject& database,
                           const std::shared_ptr<DatabaseEngine>& engine)
{
    PeriodCriteria result;
    if (!choice.confirmed) {
        result.criteria = criteria;
        result.description = QStringLiteral("Tutte le Date - Tutti i Tipi di Documento");
        return result;
    }
    const QString shortFrom = choice.from.toString(QStringLiteral("dd/MM/yyyy"));
    const QString shortTo = choice.to.toString(QStringLiteral("dd/MM/yyyy"));
    QString period = QStringLiteral("Ricevute.Data >= %1 AND Ricevute.Data < %2")
                         .arg(SqlDialect::DateLiteral(choice.from.startOfDay()),
                              SqlDialect::DateLiteral(choice.to.addDays(1).startOfDay()));
    const QString type = choice.documentType.trimmed();
    if (type.isEmpty()) {
        result.description = QStringLiteral("Da Data: %1 a Data: %2 - Tutti i Tipi di Documento").arg(shortFrom, shortTo);
    } else {
        auto types = database.Tables().Item(QStringLiteral("TipiDocumento"))
                         .OpenDataObject(engine, QStringLiteral("Descrizione=") + database.SqlText(type));
        if (types->IsEmptySet())
            throw Exception(ComponentError::InvalidValue,
                            QStringLiteral("Il tipo di documento «%1» non è presente in archivio").arg(type));
        result.description = QStringLiteral("Da Data: %1 a Data: %2 - Tipo Doc.: %3").arg(shortFrom, shortTo, type);
        // Qualified with its table: the sold items list reads the rows of
        // the receipts, which have no document type of their own.
        period += QStringLiteral("AND Ricevute.OID_TipoDocumento=%1").arg(types->ValueAt(0).toLongLong());
    }
    result.criteria = criteria.isEmpty() ? period : criteria + QStringLiteral(" AND ") + period;
    return result;
}
