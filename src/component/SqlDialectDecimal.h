#pragma once
// Exact decimal literals, for arithmetic on currency units that must not pass
// through binary floating point: 19362.70 / 1936.27 is exactly 10.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace SqlDialect {

// (negative ? -1 : 1) * digits * 10^exponent, with no trailing zero in digits.
struct ExactDecimal
{
    bool negative = false;
    quint64 digits = 0;
    int exponent = 0;

    // A decimal text with '.' or ',' as separator, an optional sign and an
    // optional exponent ("1936.27", "-5,5", "1E3"). nullopt when the text is
    // no number or has more than 18 significant digits.
    static std::optional<ExactDecimal> Parse(const QString& text);

    bool IsZero() const { return digits == 0; }
    // units * value and units / value, rounded half to even; nullopt on
    // overflow of 64 bits (and for a division by zero).
    std::optional<qint64> MultiplyUnits(qint64 units) const;
    std::optional<qint64> DivideUnits(qint64 units) const;
    // The value in ten-thousandths, when it has at most four decimals and fits.
    std::optional<qint64> ExactUnits() const;
};

} // namespace SqlDialect
