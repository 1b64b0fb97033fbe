// FormatNumber, FormatCurrency and FormatPercent, the Italian way.
#include "script/Builtins.h"
#include "script/Convert.h"
#include "script/NumberText.h"
#include "script/ScriptError.h"

namespace vbs::Builtins {

namespace {

using Args = std::span<Variant>;

// A tristate argument: -1 true, 0 false, -2 (or left out) the locale's choice.
bool Tristate(Args a, size_t i, bool localeDefault)
{
    if (!Has(a, i))
        return localeDefault;
    const qint32 v = Convert::ToLong(a[i]);
    if (v == -2)
        return localeDefault;
    return v != 0;
}

QString Formatted(Args a, double scale)
{
    if (a[0].IsNull() || a[0].IsMissing())
        throw VbError(Err::TypeMismatch);
    const double value = Convert::ToDouble(Convert::ToNumber(a[0])) * scale;
    qint32 digits = Has(a, 1) ? Convert::ToLong(a[1]) : -1;
    if (digits < -1 || digits > 99)
        throw VbError(Err::InvalidCall);
    if (digits == -1)
        digits = 2;
    return NumberText::Fixed(value, digits, Tristate(a, 2, true), false, Tristate(a, 4, true));
}

bool Negative(const QString& text)
{
    return text.startsWith(QLatin1Char('-'));
}

QString WithParens(Args a, const QString& text)
{
    if (Negative(text) && Tristate(a, 3, false))
        return QLatin1Char('(') + text.mid(1) + QLatin1Char(')');
    return text;
}

Variant FormatNumber(Interpreter&, Args a)
{
    return Variant::Str(WithParens(a, Formatted(a, 1.0)));
}

Variant FormatPercent(Interpreter&, Args a)
{
    return Variant::Str(WithParens(a, Formatted(a, 100.0) + QLatin1Char('%')));
}

Variant FormatCurrency(Interpreter&, Args a)
{
    const QString number = Formatted(a, 1.0);
    const QString euro = QStringLiteral("€ ");
    if (!Negative(number))
        return Variant::Str(euro + number);
    if (Tristate(a, 3, false))
        return Variant::Str(QLatin1Char('(') + euro + number.mid(1) + QLatin1Char(')'));
    return Variant::Str(QLatin1Char('-') + euro + number.mid(1));
}

} // namespace

void AddFormatFunctions(std::vector<BuiltinInfo>& t)
{
    t.push_back({"FormatNumber", 1, 5, FormatNumber});
    t.push_back({"FormatCurrency", 1, 5, FormatCurrency});
    t.push_back({"FormatPercent", 1, 5, FormatPercent});
}

} // namespace vbs::Builtins
