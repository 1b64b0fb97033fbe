#include "script/NumberText.h"

#include <QByteArray>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// Rounds on the number's 15 significant decimal digits, halves away from
// zero, so that 2.675 (stored as 2.67499999...) shows as 2,68 like the
// amount it stands for.
QString Fixed(double value, int decimals, bool leadingZero, bool parensForNegative, bool group)
{
    decimals = qBound(0, decimals, 20);
    if (!std::isfinite(value))
        return QString::number(value); // only the application can hand over such a value
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    // buffer: d.dddddddddddddde[+-]xx
    QByteArray digits;
    digits += buffer[0];
    digits += QByteArray(buffer + 2, 14);
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    // Digits before the decimal point: exponent + 1 (may be zero or less).
    int pointAt = exponent + 1;
    if (pointAt < 0) {
        digits.prepend(QByteArray(-pointAt, '0'));
        pointAt = 0;
    }
    const int keep = pointAt + decimals;
    if (digits.size() < keep + 1)
        digits.append(QByteArray(keep + 1 - digits.size(), '0'));
    const bool roundUp = digits[keep] >= '5';
    digits.truncate(keep);
    if (roundUp) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (digits[i] == '9') {
                digits[i] = '0';
            } else {
                digits[i] = char(digits[i] + 1);
                break;
            }
        }
        if (i < 0) {
            digits.prepend('1');
            ++pointAt;
        }
    }
    QString intPart = QString::fromLatin1(digits.left(pointAt));
    const QString fracPart = QString::fromLatin1(digits.mid(pointAt));
    while (intPart.size() > 1 && intPart.startsWith(QLatin1Char('0')))
        intPart.remove(0, 1);
    if (intPart.isEmpty())
        intPart = QStringLiteral("0");
    const bool negative = value < 0 && digits.count('0') != digits.size();
    if (group)
        intPart = Group(intPart);
    if (intPart == QLatin1String("0") && !leadingZero && decimals > 0)
        intPart.clear();
    QString text = fracPart.isEmpty() ? intPart : intPart + QLatin1Char(',') + fracPart;
    if (negative)
        text = parensForNegative ? QLatin1Char('(') + text + QLatin1Char(')') : QLatin1Char('-') + text;
    return text;
}

} // namespace vbs::NumberText
