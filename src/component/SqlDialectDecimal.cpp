#include "component/SqlDialectDecimal.h"

#include <limits>

namespace SqlDialect {

namespace {

using Wide = unsigned __int128;

constexpr int MaxSignificantDigits = 18;
constexpr int MaxExponent = 400;
constexpr Wide Limit = Wide(std::numeric_limits<qint64>::max()) + 1; // magnitude of INT64_MIN

// q rounded with remainder r over divisor d, halves to even.
Wide RoundHalfEven(Wide q, Wide r, Wide d)
{
    const Wide twice = r * 2;
    if (twice > d || (twice == d && (q & 1) != 0))
        ++q;
    return q;
}

std::optional<qint64> Signed(Wide magnitude, bool negative)
{
    if (magnitude > Limit || (!negative && magnitude == Limit))
        return std::nullopt;
    if (magnitude == Limit)
        return std::numeric_limits<qint64>::min();
    const qint64 value = qint64(magnitude);
    return negative ? -value : value;
}

Wide Magnitude(qint64 units) { return units < 0 ? Wide(0) - Wide(__int128(units)) : Wide(units); }

} // namespace

std::optional<ExactDecimal> ExactDecimal::Parse(const QString& input)
{
    const QString text = input.trimmed();
    ExactDecimal result;
    int i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        result.negative = text[i++] == u'-';
    QString allDigits;
    int fractionDigits = 0;
    bool separator = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            allDigits += c;
            if (separator)
                ++fractionDigits;
        } else if ((c == u'.' || c == u',') && !separator) {
            separator = true;
        } else {
            break;
        }
    }
    if (allDigits.isEmpty())
        return std::nullopt;
    int exponent = 0;
    if (i < text.size()) {
        if (text[i] != u'e' && text[i] != u'E')
            return std::nullopt;
        bool ok = false;
        const QString exponentText = text.mid(i + 1);
        if (exponentText.isEmpty() || exponentText.size() > 6 || exponentText[0].isSpace())
            return std::nullopt;
        exponent = exponentText.toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    exponent -= fractionDigits;
    int first = 0;
    while (first < allDigits.size() && allDigits[first] == u'0')
        ++first;
    allDigits = allDigits.mid(first);
    while (allDigits.endsWith(u'0')) {
        allDigits.chop(1);
        ++exponent;
    }
    if (allDigits.isEmpty())
        return ExactDecimal{result.negative, 0, 0};
    if (allDigits.size() > MaxSignificantDigits || exponent > MaxExponent || exponent < -MaxExponent)
        return std::nullopt;
    result.digits = allDigits.toULongLong();
    result.exponent = exponent;
    return result;
}

std::optional<qint64> ExactDecimal::MultiplyUnits(qint64 units) const
{
    const bool resultNegative = negative != (units < 0);
    Wide product = Magnitude(units) * digits; // below 2^63 * 10^18 < 2^123
    if (product == 0)
        return 0;
    if (exponent >= 0) {
        for (int k = 0; k < exponent; ++k) {
            product *= 10;
            if (product > Limit)
                return std::nullopt;
        }
        return Signed(product, resultNegative);
    }
    if (-exponent > 38)
        return 0; // the product is below 10^38, so the quotient rounds to 0
    Wide divisor = 1;
    for (int k = 0; k < -exponent; ++k)
        divisor *= 10;
    return Signed(RoundHalfEven(product / divisor, product % divisor, divisor), resultNegative);
}

std::optional<qint64> ExactDecimal::DivideUnits(qint64 units) const
{
    if (digits == 0)
        return std::nullopt;
    const bool resultNegative = negative != (units < 0);
    const Wide dividend = Magnitude(units);
    if (exponent > 0) {
        Wide divisor = digits;
        for (int k = 0; k < exponent; ++k) {
            divisor *= 10;
            if (divisor > (Wide(1) << 100))
                return 0; // the quotient is below 2^-37
        }
        return Signed(RoundHalfEven(dividend / divisor, dividend % divisor, divisor), resultNegative);
    }
    // dividend * 10^-exponent / digits, one decimal digit at a time.
    Wide quotient = dividend / digits;
    Wide remainder = dividend % digits;
    for (int k = 0; k < -exponent; ++k) {
        remainder *= 10;
        quotient = quotient * 10 + remainder / digits;
        remainder %= digits;
        if (quotient > Limit)
            return std::nullopt;
    }
    return Signed(RoundHalfEven(quotient, remainder, digits), resultNegative);
}

std::optional<qint64> ExactDecimal::ExactUnits() const
{
    if (digits != 0 && exponent < -4)
        return std::nullopt;
    return MultiplyUnits(10000);
}

} // namespace SqlDialect
