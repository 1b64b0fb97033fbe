#include "printing/TicketFields.h"

#include "component/Currency.h"
#include "component/DataObject.h"
#include "script/DateUtil.h"
#include "script/FieldCollection.h"

#include <QDateTime>

#include <limits>

namespace TicketFields {

vbs::Variant ScriptValue(const QVariant& value)
{
    using vbs::Variant;
    if (!value.isValid() || value.isNull())
        return Variant::Null();
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<Currency>())
        return Variant::CurrencyUnits(value.value<Currency>().Units());
    switch (type.id()) {
    case QMetaType::Bool:
        return Variant::Bool(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong: {
        const qint64 n = value.toLongLong();
        if (n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max())
            return Variant::Long(qint32(n));
        return Variant::Double(double(n));
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return Variant::Double(value.toDouble());
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        const QDateTime when = value.toDateTime();
        const QDate d = when.date();
        const QTime t = when.time();
        return Variant::Date(vbs::DateUtil::Combine(vbs::DateUtil::FromDate(d.year(), d.month(), d.day()),
                                                    vbs::DateUtil::FromTime(t.hour(), t.minute(), t.second())));
    }
    default:
        return Variant::Str(value.toString());
    }
}

std::shared_ptr<vbs::FieldCollection> Current(DataObject& data)
{
    auto fields = std::make_shared<vbs::FieldCollection>();
    const bool none = data.NoCurrentRecord();
    for (int i = 0; i < data.FieldCount(); ++i)
        fields->Set(data.Field(i).name, none ? vbs::Variant::Null() : ScriptValue(data.ValueAt(i)));
    return fields;
}

std::shared_ptr<vbs::FieldCollection> Referenced(DataObject& data, const QString& reference)
{
    const std::shared_ptr<DataObject> target = data.OpenReference(reference);
    target->MoveFirst();
    return Current(*target);
}

} // namespace TicketFields
