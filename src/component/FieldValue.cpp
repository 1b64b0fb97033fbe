#include "component/FieldValue.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "component/CurrencyObject.h"
#include "component/Exception.h"
#include "component/SqlDialect.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <limits>

namespace FieldValue {

namespace {

const QLocale& Italian()
{
    static const QLocale locale(QLocale::Italian, QLocale::Italy);
    return locale;
}

[[noreturn]] void Invalid(const QVariant& value, const QString& column, const QString& what)
{
    throw Exception(ComponentError::InvalidValue,
                    QStringLiteral("Valore non valido per il campo «%1»: «%2» non è %3")
                        .arg(column, value.toString(), what));
}

bool IsCurrency(const QVariant& v) { return v.metaType() == QMetaType::fromType<Currency>(); }

std::optional<double> ToDouble(const QVariant& value)
{
    if (IsCurrency(value))
        return value.value<Currency>().ToDouble();
    switch (value.typeId()) {
    case QMetaType::QString:
        return ParseNumber(value.toString());
    case QMetaType::Bool:
        return value.toBool() ? -1.0 : 0.0;
    default: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (ok)
            return d;
        return std::nullopt;
    }
    }
}

} // namespace

bool IsNull(const QVariant& value) { return !value.isValid() || value.isNull(); }

bool IsWholeNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

std::optional<double> ParseNumber(const QString& text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // A comma is the Italian decimal separator (points then group thousands);
    // without a comma the point is the decimal separator.
    bool ok = false;
    const double d = t.contains(u',') ? Italian().toDouble(t, &ok) : QLocale::c().toDouble(t, &ok);
    if (ok)
        return d;
    return std::nullopt;
}

std::optional<QDateTime> ParseDateTime(const QString& text)
{
    const QString t = text.trimmed();
    static const char* const formats[] = {"dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy HH:mm", "dd/MM/yyyy", "d/M/yyyy H:mm:ss",
                                          "d/M/yyyy H:mm", "d/M/yyyy", "dd/MM/yy", "d/M/yy",
                                          "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd"};
    for (const char* f : formats) {
        QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(f));
        if (dt.isValid()) {
            if (QString::fromLatin1(f).count(u'y') == 2 && dt.date().year() < 1930)
                dt = dt.addYears(100);
            return dt;
        }
    }
    return std::nullopt;
}

QVariant Normalize(const QVariant& value, int type, int size, const QString& column)
{
    if (IsNull(value))
        return QVariant();
    switch (type) {
    case FieldType::Long: {
        if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QVariant();
        const auto d = ToDouble(value);
        if (!d || !std::isfinite(*d) || std::fabs(*d) > 9.0e15)
            Invalid(value, column, QStringLiteral("un numero intero"));
        return QVariant(qint64(std::nearbyint(*d)));
    }
    case FieldType::Double: {
        if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QVariant();
        const auto d = ToDouble(value);
        if (!d || !std::isfinite(*d))
            Invalid(value, column, QStringLiteral("un numero"));
        return QVariant(*d);
    }
    case FieldType::Currency: {
        if (IsCurrency(value))
            return value;
        if (value.typeId() == QMetaType::QString) {
            const QString t = value.toString().trimmed();
            if (t.isEmpty())
                return QVariant();
            // Exact parse of what was typed, in either notation.
            QString plain = t;
            if (plain.contains(u',')) {
                plain.remove(u'.');
                plain.replace(u',', u'.');
            }
            if (auto c = Currency::FromDecimalText(plain))
                return QVariant::fromValue(*c);
            Invalid(value, column, QStringLiteral("un importo"));
        }
        if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            const qint64 n = value.toLongLong();
            if (n > std::numeric_limits<qint64>::max() / Currency::Scale || n < std::numeric_limits<qint64>::min() / Currency::Scale)
                Invalid(value, column, QStringLiteral("un importo"));
            return QVariant::fromValue(Currency::FromUnits(n * Currency::Scale));
        }
        const auto d = ToDouble(value);
        if (!d)
            Invalid(value, column, QStringLiteral("un importo"));
        return QVariant::fromValue(Currency::FromDouble(*d));
    }
    case FieldType::Boolean: {
        if (value.typeId() == QMetaType::Bool)
            return value;
        if (value.typeId() == QMetaType::QString) {
            const QString t = value.toString().trimmed().toUpper();
            if (t == QLatin1String("TRUE") || t == QLatin1String("VERO") || t == QStringLiteral("SÌ") ||
                t == QLatin1String("SI") || t == QLatin1String("-1") || t == QLatin1String("1"))
                return QVariant(true);
            if (t == QLatin1String("FALSE") || t == QLatin1String("FALSO") || t == QLatin1String("NO") ||
                t == QLatin1String("0") || t.isEmpty())
                return QVariant(false);
            Invalid(value, column, QStringLiteral("un valore Sì/No"));
        }
        const auto d = ToDouble(value);
        if (!d)
            Invalid(value, column, QStringLiteral("un valore Sì/No"));
        return QVariant(*d != 0.0);
    }
    case FieldType::Date:
    case FieldType::DateTime: {
        QDateTime dt;
        if (value.typeId() == QMetaType::QDateTime)
            dt = value.toDateTime();
        else if (value.typeId() == QMetaType::QDate)
            dt = value.toDate().startOfDay();
        else if (value.typeId() == QMetaType::QString) {
            if (value.toString().trimmed().isEmpty())
                return QVariant();
            if (auto parsed = ParseDateTime(value.toString()))
                dt = *parsed;
        }
        if (!dt.isValid() || dt.date().year() < 100 || dt.date().year() > 9999)
            Invalid(value, column, QStringLiteral("una data"));
        const QTime t = dt.time();
        return QVariant(QDateTime(dt.date(), QTime(t.hour(), t.minute(), t.second())));
    }
    default: {
        QString text;
        if (IsCurrency(value))
            text = value.value<Currency>().ToString();
        else if (value.typeId() == QMetaType::QDateTime)
            text = Format(value, FieldType::Date);
        else
            text = value.toString();
        if (size > 0 && text.size() > size)
            throw Exception(ComponentError::TextTooLong,
                            QStringLiteral("Il testo per il campo «%1» è lungo %2 caratteri: il massimo è %3")
                                .arg(column)
                                .arg(text.size())
                                .arg(size));
        return QVariant(text);
    }
    }
}

QVariant ToStorage(const QVariant& normalized, int type)
{
    if (IsNull(normalized))
        return QVariant();
    switch (type) {
    case FieldType::Long:
        return QVariant(normalized.toLongLong());
    case FieldType::Boolean:
        return QVariant(qint64(normalized.toBool() ? 1 : 0));
    case FieldType::Double:
        return QVariant(normalized.toDouble());
    case FieldType::Currency:
        return QVariant(normalized.value<Currency>().Units());
    case FieldType::Date:
    case FieldType::DateTime:
        return QVariant(normalized.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    default:
        return QVariant(normalized.toString());
    }
}

QVariant FromStorage(const QVariant& stored, int type)
{
    if (IsNull(stored))
        return QVariant();
    switch (type) {
    case FieldType::Long:
        return QVariant(stored.toLongLong());
    case FieldType::Boolean:
        return QVariant(stored.toLongLong() != 0);
    case FieldType::Double:
        return QVariant(stored.toDouble());
    case FieldType::Currency:
        if (stored.typeId() == QMetaType::Double)
            return QVariant::fromValue(Currency::FromDouble(stored.toDouble() / double(Currency::Scale)));
        return QVariant::fromValue(Currency::FromUnits(stored.toLongLong()));
    case FieldType::Date:
    case FieldType::DateTime: {
        const QString text = stored.toString();
        if (text.size() == 19 && text[4] == u'-' && text[10] == u' ') {
            const QDate date(text.mid(0, 4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
            const QTime time(text.mid(11, 2).toInt(), text.mid(14, 2).toInt(), text.mid(17, 2).toInt());
            if (date.isValid() && time.isValid())
                return QVariant(QDateTime(date, time));
        }
        const QDateTime dt = QDateTime::fromString(text, Qt::ISODate);
        if (!dt.isValid())
            return QVariant(text);
        return QVariant(dt);
    }
    default:
        return stored.typeId() == QMetaType::QString ? stored : QVariant(stored.toString());
    }
}

QString NumberText(double value, int decimals, bool grouped)
{
    static const QLocale plain = [] {
        QLocale locale(QLocale::Italian, QLocale::Italy);
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return locale;
    }();
    const QLocale& locale = grouped ? Italian() : plain;
    if (decimals >= 0)
        return locale.toString(value, 'f', decimals);
    QString s = locale.toString(value, 'f', 6);
    if (s.contains(locale.decimalPoint())) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(locale.decimalPoint()))
            s.chop(locale.decimalPoint().size());
    }
    return s;
}

QString AmountText(const QVariant& value, int decimals, bool grouped)
{
    const Currency amount = IsCurrency(value) ? value.value<Currency>() : Currency::FromDouble(value.toDouble());
    return NumberText(amount.Rounded(decimals).ToDouble(), decimals, grouped);
}

QString FormatStoredDate(const QVariant& stored)
{
    if (IsNull(stored))
        return {};
    const QString text = stored.toString();
    if (text.size() != 19 || text[4] != u'-' || text[10] != u' ')
        return Format(FromStorage(stored, FieldType::Date), FieldType::Date);
    QString shown = text.mid(8, 2) + u'/' + text.mid(5, 2) + u'/' + text.mid(0, 4);
    if (!text.endsWith(QLatin1String("00:00:00")))
        shown += u' ' + text.mid(11);
    return shown;
}

QString Format(const QVariant& value, int type, const CurrencyObject* currency)
{
    if (IsNull(value))
        return {};
    switch (type) {
    case FieldType::Currency:
        return AmountText(value, currency ? currency->Decimals() : 2, true);
    case FieldType::Double:
        return NumberText(value.toDouble(), -1, true);
    case FieldType::Long:
        return QString::number(value.toLongLong());
    case FieldType::Boolean:
        return value.toBool() ? QStringLiteral("Sì") : QStringLiteral("No");
    case FieldType::Date:
    case FieldType::DateTime: {
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid())
            return value.toString();
        if (dt.time() == QTime(0, 0))
            return dt.toString(QStringLiteral("dd/MM/yyyy"));
        return dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    default:
        return value.toString();
    }
}

} // namespace FieldValue
