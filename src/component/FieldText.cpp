#include "component/FieldText.h"

#include "component/Currency.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"

#include <QDateTime>
#include <QLocale>

namespace FieldText {

QString EditText(const QVariant& value, int type, int decimals)
{
    if (FieldValue::IsNull(value))
        return {};
    switch (type) {
    case FieldType::Currency:
        return FieldValue::AmountText(value, decimals, false);
    case FieldType::Double:
        return FieldValue::NumberText(value.toDouble(), -1, false);
    default:
        return FieldValue::Format(value, type);
    }
}

QVariant Parse(const QString& text, int type, int size, const QString& field)
{
    if (type == FieldType::Boolean && text.trimmed().isEmpty())
        return QVariant(false);
    if (text.isEmpty() || (!FieldType::IsText(type) && text.trimmed().isEmpty()))
        return QVariant();
    return FieldValue::Normalize(FieldType::IsText(type) ? text : text.trimmed(), type, size, field);
}

} // namespace FieldText
