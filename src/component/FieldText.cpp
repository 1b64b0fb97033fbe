#include "component/FieldText.h"

#include "component/Currency.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"

#include <QDateTime>
#include <QLocale>

namespace FieldText {

namespace {

QString Plain(double value, char format, int precision)
{
    static const QLocale italian = [] {
        QLocale locale(QLocale::Italian, QLocale::Italy);
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return locale;
    }();
    return italian.toString(value, format, precision);
}

} // namespace

QString EditText(const QVariant& value, int type, int decimals)
{
    if (FieldValue::IsNull(value))
        return {};
    switch (type) {
    case FieldType::Currency: {
        const Currency amount = value.metaType() == QMetaType::fromType<Currency>()
                                    ? value.value<Currency>()
                                    : Currency::FromDouble(value.toDouble());
        return Plain(amount.Rounded(decimals).ToDouble(), 'f', decimals);
    }
    case FieldType::Double: {
        QString text = Plain(value.toDouble(), 'f', 6);
        if (text.contains(u',')) {
            while (text.endsWith(u'0'))
                text.chop(1);
            if (text.endsWith(u','))
                text.chop(1);
        }
        return text;
    }
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
