#pragma once
// An exact currency amount: a signed 64-bit count of ten-thousandths, as the
// archive stores it. Arithmetic between amounts is exact; conversions from
// floating point round halves to even at the fourth decimal.

#include <QMetaType>
#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

class Currency
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency FromUnits(qint64 units) { Currency c; c.m_units = units; return c; }
    static Currency FromDouble(double value);          // throws on overflow or NaN
    // Exact parse of a decimal text with '.' or ',' as separator (no grouping);
    // more than four decimals round halves to even. nullopt when not a number.
    static std::optional<Currency> FromDecimalText(const QString& text);

    constexpr qint64 Units() const { return m_units; }
    double ToDouble() const { return double(m_units) / double(Scale); }
    // Plain text with a '.' separator and only the decimals needed: "15.5", "-3", "0.0001".
    QString ToString() const;

    Currency operator+(Currency o) const;
    Currency operator-(Currency o) const;
    Currency operator-() const;
    Currency& operator+=(Currency o) { return *this = *this + o; }
    Currency& operator-=(Currency o) { return *this = *this - o; }
    // How an exact quotient or product that falls halfway between two
    // ten-thousandths is rounded.
    enum class Halves { ToEven, AwayFromZero };
    // Multiplication and division by a decimal number given as an amount
    // (exact, rounded once: halves to even unless asked otherwise), or by a
    // double (rounded once).
    Currency MulExact(Currency factor) const;
    Currency DivExact(Currency divisor, Halves halves = Halves::ToEven) const;
    Currency Mul(double factor) const { return FromDouble(ToDouble() * factor); }
    // Rounds to `decimals` (0..4) places, halves away from zero.
    Currency Rounded(int decimals) const;

    constexpr auto operator<=>(const Currency&) const = default;

private:
    qint64 m_units = 0;
};

Q_DECLARE_METATYPE(Currency)
