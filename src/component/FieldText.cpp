#include "component/FieldText.h"

#include "component/Currency.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

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

namespace {

bool HasFraction(const QString& plain)
{
    const qsizetype point = plain.indexOf(u'.');
    for (qsizetype i = point + 1; point >= 0 && i < plain.size(); ++i)
        if (plain[i] != u'0')
            return true;
    return false;
}

} // namespace

std::optional<QString> PlainNumber(const QString& text)
{
    static const QRegularExpression shape(QStringLiteral("^([-+]?)([0-9.]*)(?:,([0-9]*))?$"));
    static const QRegularExpression grouped(QStringLiteral("^[1-9][0-9]{0,2}(\\.[0-9]{3})+$"));
    const QRegularExpressionMatch match = shape.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const bool decimalComma = match.capturedLength(3) > 0 || text.contains(u',');
    QString whole = match.captured(2);
    QString fraction = match.captured(3);
    if (whole.contains(u'.')) {
        if (grouped.match(whole).hasMatch()) {
            // Grouped as the grid shows it: "1.500", "1.234.567".
            whole.remove(u'.');
        } else if (!decimalComma && whole.count(u'.') == 1) {
            // A point that groups nothing can only be a decimal point: "1.5".
            fraction = whole.mid(whole.indexOf(u'.') + 1);
            whole.truncate(whole.indexOf(u'.'));
        } else {
            return std::nullopt;
        }
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    QString plain = match.captured(1) == QLatin1String("-") ? QStringLiteral("-") : QString();
    plain += whole.isEmpty() ? QStringLiteral("0") : whole;
    if (!fraction.isEmpty())
        plain += u'.' + fraction;
    return plain;
}

QVariant Parse(const QString& text, int type, int size, const QString& field)
{
    if (type == FieldType::Boolean && text.trimmed().isEmpty())
        return QVariant(false);
    if (text.isEmpty() || (!FieldType::IsText(type) && text.trimmed().isEmpty()))
        return QVariant();
    if (type == FieldType::Long || type == FieldType::Double || type == FieldType::Currency) {
        const std::optional<QString> plain = PlainNumber(text);
        if (!plain || (type == FieldType::Long && HasFraction(*plain))) {
            const QString what = type == FieldType::Long       ? QStringLiteral("un numero intero")
                                 : type == FieldType::Currency ? QStringLiteral("un importo")
                                                               : QStringLiteral("un numero");
            throw Exception(ComponentError::InvalidValue,
                            QStringLiteral("Valore non valido per il campo «%1»: «%2» non è %3. Scrivere i decimali dopo "
                                           "la virgola e, se si vuole, il punto per le migliaia: 1.500,50")
                                .arg(field, text.trimmed(), what));
        }
        return FieldValue::Normalize(*plain, type, size, field);
    }
    return FieldValue::Normalize(FieldType::IsText(type) ? text : text.trimmed(), type, size, field);
}

} // namespace FieldText
