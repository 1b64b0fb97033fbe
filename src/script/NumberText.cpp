#include "script/NumberText.h"

#include <QByteArray>
#include <cmath>
#include <cstdio>

namespace vbs::NumberText {

namespace {
QString FromGeneral(double value, int precision)
{
    if (value == 0.0)
        return QStringLiteral("0");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", precision, value);
    QString text = QString::fromLatin1(buffer);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString Group(const QString& digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char('.');
        out += digits[i];
    }
    return out;
}
} // namespace

QString FromDouble(double value)
{
    return FromGeneral(value, 15);
}

QString FromSingle(float value)
{
    return FromGeneral(double(value), 7);
}

QString FromCurrency(qint64 units)
{
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    QString text = QString::number(magnitude / 10000);
    quint64 fraction = magnitude % 10000;
    if (fraction) {
        QString decimals = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += QLatin1Char(',') + decimals;
    }
    return negative ? QLatin1Char('-') + text : text;
}

std::optional<double> Parse(const QString& input)
{
    const QString text = input.trimmed();
    if (text.isEmpty() || text.size() > 400)
        return std::nullopt;
    if (text.startsWith(QLatin1Char('&')) && text.size() > 2) {
        const QChar kind = text[1].toUpper();
        const int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (!base)
            return std::nullopt;
        bool ok = false;
        const qulonglong n = text.mid(2).toULongLong(&ok, base);
        if (!ok || n > 0xFFFFFFFFull)
            return std::nullopt;
        // Four hexadecimal digits or fewer are an Integer, so &HFFFF is -1.
        if (n <= 0xFFFF && text.size() - 2 <= (base == 16 ? 4 : 6))
            return double(qint16(quint16(n)));
        return double(qint32(quint32(n)));
    }
    QByteArray plain;
    plain.reserve(text.size());
    qsizetype i = 0;
    if (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))
        plain += char(text[i++].unicode());
    bool digits = false, decimal = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            plain += char(c.unicode());
            digits = true;
        } else if (c == QLatin1Char('.') && !decimal && digits) {
            continue; // thousands separator
        } else if (c == QLatin1Char(',') && !decimal) {
            plain += '.';
            decimal = true;
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E') || text[i] == QLatin1Char('d')
                            || text[i] == QLatin1Char('D'))) {
        qsizetype j = i + 1;
        QByteArray exponent = "e";
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            exponent += char(text[j++].unicode());
        const qsizetype start = j;
        while (j < text.size() && text[j].isDigit() && text[j].unicode() < 128 && j - start < 6)
            exponent += char(text[j++].unicode());
        if (j == start)
            return std::nullopt;
        plain += exponent;
        i = j;
    }
    if (i != text.size())
        return std::nullopt;
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString Fixed(double value, int decimals, bool leadingZero, bool parensForNegative, bool group)
{
    decimals = qBound(0, decimals, 20);
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(std::fabs(value) * scale) / scale;
    const bool negative = value < 0 && rounded != 0.0;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    QString text = QString::fromLatin1(buffer);
    QString intPart = text.section(QLatin1Char('.'), 0, 0);
    const QString fracPart = text.section(QLatin1Char('.'), 1, 1);
    if (group)
        intPart = Group(intPart);
    if (intPart == QLatin1String("0") && !leadingZero && decimals > 0)
        intPart.clear();
    text = fracPart.isEmpty() ? intPart : intPart + QLatin1Char(',') + fracPart;
    if (negative)
        text = parensForNegative ? QLatin1Char('(') + text + QLatin1Char(')') : QLatin1Char('-') + text;
    return text;
}

} // namespace vbs::NumberText
