#include "component/Currency.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void Overflow()
{
    throw Exception(ComponentError::InvalidValue, QStringLiteral("Importo fuori dall'intervallo consentito"));
}

qint64 Checked(__int128 v)
{
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min())
        Overflow();
    return qint64(v);
}

// num / den rounded to the nearest integer, halves to even.
__int128 DivideHalfEven(__int128 num, __int128 den)
{
    if (den < 0) { num = -num; den = -den; }
    __int128 q = num / den;
    __int128 r = num % den;
    if (r < 0) { r += den; --q; }
    const __int128 twice = 2 * r;
    if (twice > den || (twice == den && (q % 2 != 0)))
        ++q;
    return q;
}

// num / den rounded to the nearest integer, halves away from zero.
__int128 DivideHalfAway(__int128 num, __int128 den)
{
    const bool negative = (num < 0) != (den < 0);
    const __int128 n = num < 0 ? -num : num;
    const __int128 d = den < 0 ? -den : den;
    __int128 q = n / d;
    if (2 * (n % d) >= d)
        ++q;
    return negative ? -q : q;
}

} // namespace

Currency Currency::FromDouble(double value)
{
    if (!std::isfinite(value))
        Overflow();
    const long double scaled = static_cast<long double>(value) * Scale;
    if (scaled > static_cast<long double>(std::numeric_limits<qint64>::max()) ||
        scaled < static_cast<long double>(std::numeric_limits<qint64>::min()))
        Overflow();
    // A double rarely holds a decimal exactly: 19362.7 is 19362.69999...; take
    // the nearest value with at most 9 decimals first, so that such noise does
    // not decide a halfway case.
    const long double cleaned = std::nearbyintl(scaled * 100000.0L) / 100000.0L;
    const long double floorV = std::floor(cleaned);
    const long double diff = cleaned - floorV;
    long double result = floorV;
    if (diff > 0.5L || (diff == 0.5L && std::fmod(floorV, 2.0L) != 0))
        result = floorV + 1;
    return FromUnits(static_cast<qint64>(result));
}

std::optional<Currency> Currency::FromDecimalText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    int i = 0;
    bool negative = false;
    if (t[0] == u'-' || t[0] == u'+') {
        negative = t[0] == u'-';
        ++i;
    }
    __int128 intPart = 0;
    __int128 frac = 0;
    int fracDigits = 0;
    bool anyDigit = false;
    bool seenSep = false;
    int exponent = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            anyDigit = true;
            const int d = c.unicode() - '0';
            if (!seenSep) {
                intPart = intPart * 10 + d;
            } else {
                frac = frac * 10 + d;
                ++fracDigits;
            }
            if (intPart > (__int128(1) << 100) || fracDigits > 30)
                return std::nullopt;
        } else if ((c == u'.' || c == u',') && !seenSep) {
            seenSep = true;
        } else if ((c == u'e' || c == u'E') && anyDigit) {
            bool ok = false;
            exponent = t.mid(i + 1).toInt(&ok);
            if (!ok || exponent > 20 || exponent < -20)
                return std::nullopt;
            break;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    __int128 pow10 = 1;
    for (int k = 0; k < fracDigits; ++k)
        pow10 *= 10;
    __int128 num = intPart * pow10 + frac; // value = num / pow10 * 10^exponent
    __int128 den = pow10;
    num *= Scale;
    for (int k = 0; k < exponent; ++k)
        num *= 10;
    for (int k = 0; k < -exponent; ++k)
        den *= 10;
    __int128 units = DivideHalfEven(num, den);
    if (negative)
        units = -units;
    if (units > std::numeric_limits<qint64>::max() || units < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return FromUnits(qint64(units));
}

QString Currency::ToString() const
{
    const bool negative = m_units < 0;
    const unsigned long long abs = negative ? 0ULL - static_cast<unsigned long long>(m_units)
                                            : static_cast<unsigned long long>(m_units);
    QString s = QString::number(abs / Scale);
    unsigned long long frac = abs % Scale;
    if (frac != 0) {
        QString f = QString::number(frac).rightJustified(4, u'0');
        while (f.endsWith(u'0'))
            f.chop(1);
        s += u'.' + f;
    }
    return negative ? u'-' + s : s;
}

Currency Currency::operator+(Currency o) const { return FromUnits(Checked(__int128(m_units) + o.m_units)); }
Currency Currency::operator-(Currency o) const { return FromUnits(Checked(__int128(m_units) - o.m_units)); }
Currency Currency::operator-() const { return FromUnits(Checked(-__int128(m_units))); }

Currency Currency::MulExact(Currency factor) const
{
    return FromUnits(Checked(DivideHalfEven(__int128(m_units) * factor.m_units, Scale)));
}

Currency Currency::DivExact(Currency divisor, Halves halves) const
{
    if (divisor.m_units == 0)
        throw Exception(ComponentError::InvalidValue, QStringLiteral("Divisione per zero"));
    const __int128 num = __int128(m_units) * Scale;
    return FromUnits(Checked(halves == Halves::AwayFromZero ? DivideHalfAway(num, divisor.m_units)
                                                            : DivideHalfEven(num, divisor.m_units)));
}

Currency Currency::Rounded(int decimals) const
{
    decimals = qBound(0, decimals, 4);
    qint64 step = 1;
    for (int k = decimals; k < 4; ++k)
        step *= 10;
    const qint64 absUnits = m_units < 0 ? -m_units : m_units;
    qint64 r = (absUnits + step / 2) / step * step;
    return FromUnits(m_units < 0 ? -r : r);
}
