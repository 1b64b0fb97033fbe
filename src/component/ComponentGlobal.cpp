#include "component/ComponentGlobal.h"

#include "component/Currency.h"
#include "component/DatabaseObject.h"
#include "component/FieldValue.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ComponentGlobal {

std::shared_ptr<DatabaseObject> CreateDatabaseObject(std::shared_ptr<itfDefDatabase> definition,
                                                     const QString& applicationName, itfNotifyEvent* notify,
                                                     std::shared_ptr<CurrencyObject> baseCurrency, int)
{
    return std::make_shared<DatabaseObject>(std::move(definition), applicationName, notify, std::move(baseCurrency));
}

namespace {

std::optional<long double> AsNumber(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<Currency>())
        return static_cast<long double>(v.value<Currency>().Units()) / Currency::Scale;
    if (FieldValue::IsWholeNumber(v))
        return static_cast<long double>(v.toLongLong());
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return static_cast<long double>(v.toDouble());
    case QMetaType::Bool:
        return v.toBool() ? -1.0L : 0.0L;
    default:
        return std::nullopt;
    }
}

} // namespace

bool ValuesEqual(const QVariant& a, const QVariant& b)
{
    const bool nullA = FieldValue::IsNull(a);
    const bool nullB = FieldValue::IsNull(b);
    if (nullA || nullB)
        return nullA && nullB;
    const auto na = AsNumber(a);
    const auto nb = AsNumber(b);
    if (na && nb)
        return *na == *nb;
    if (a.typeId() == QMetaType::QDateTime || b.typeId() == QMetaType::QDateTime) {
        const auto da = FieldValue::Normalize(a, 17, 0, QString()).toDateTime();
        const auto db = FieldValue::Normalize(b, 17, 0, QString()).toDateTime();
        return da == db;
    }
    if (na || nb) {
        const auto other = FieldValue::ParseNumber((na ? b : a).toString());
        return other && static_cast<long double>(*other) == (na ? *na : *nb);
    }
    return a.toString() == b.toString();
}

QString MessageText(int number, int)
{
    switch (number) {
    case EventTableCreated:
        return QStringLiteral("Creazione tabella");
    case EventTableUpgraded:
        return QStringLiteral("Aggiornamento tabella");
    case EventOpening:
        return QStringLiteral("Apertura archivio");
    case EventReading:
        return QStringLiteral("Lettura dati");
    case EventWriting:
        return QStringLiteral("Scrittura dati");
    case 124:
        return QStringLiteral("Operazione annullata dall'utente.");
    default:
        return QStringLiteral("Messaggio %1").arg(number);
    }
}

QString DocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace ComponentGlobal
