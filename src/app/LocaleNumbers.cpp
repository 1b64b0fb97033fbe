#include "app/LocaleNumbers.h"

#include "component/FieldText.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>

double LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    QByteArray digits;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(char(c.unicode()));
        else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            digits.append('.');
        } else
            break;
    }
    if (digits.isEmpty() || digits == ".")
        return 0.0;
    bool ok = false;
    const double value = digits.toDouble(&ok);
    return ok ? value : 0.0;
}

double RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1.0;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

QString SingleText(float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

std::optional<float> ParseSingle(const QString& text)
{
    // Read as the editors read numbers typed by hand.
    const std::optional<QString> plain = FieldText::PlainNumber(text);
    if (!plain)
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(*plain, &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(value);
}
