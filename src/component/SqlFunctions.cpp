#include "component/SqlFunctions.h"

#include "component/Currency.h"
#include "component/Exception.h"
#include "component/SqlDialectDecimal.h"
#include "component/SqlDialectPattern.h"

#include <QString>
#include <cmath>
#include <memory>
#include <optional>
#include <sqlite3.h>

namespace {

using SqlDialect::ExactDecimal;
using SqlDialect::LikePattern;

const char* const OverflowMessage = "Importo fuori dall'intervallo consentito";
const char* const NotNumericMessage = "Valore non numerico";
const char* const LikeMessage = "Motivo di Like non valido: «[» non chiuso da «]»";
const char* const DivisionMessage = "Divisione per zero";

constexpr double TwoTo63 = 9223372036854775808.0;

QString TextOf(sqlite3_value* value)
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QString::fromUtf8(bytes, sqlite3_value_bytes(value));
}

void ResultText(sqlite3_context* context, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

bool AnyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    }
    return false;
}

// A whole number from a rounded real; nullopt outside 64 bits.
std::optional<qint64> WholeNumber(double rounded)
{
    if (!std::isfinite(rounded) || rounded < -TwoTo63 || rounded >= TwoTo63)
        return std::nullopt;
    return qint64(rounded);
}

// Stored currency units: whole numbers as they are; a real (written by hand)
// rounded half to even.
std::optional<qint64> UnitsOf(sqlite3_value* value)
{
    switch (sqlite3_value_numeric_type(value)) {
    case SQLITE_INTEGER:
        return sqlite3_value_int64(value);
    case SQLITE_FLOAT:
        return WholeNumber(std::nearbyint(sqlite3_value_double(value)));
    default:
        return std::nullopt;
    }
}

void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) {
        sqlite3_result_null(context);
        return;
    }
    // The compiled pattern is kept while the same pattern is passed row after row.
    if (const auto* cached = static_cast<const LikePattern*>(sqlite3_get_auxdata(context, 0))) {
        sqlite3_result_int(context, cached->Matches(TextOf(argv[1])) ? 1 : 0);
        return;
    }
    std::optional<LikePattern> compiled = LikePattern::Compile(TextOf(argv[0]));
    if (!compiled) {
        sqlite3_result_error(context, LikeMessage, -1);
        return;
    }
    sqlite3_result_int(context, compiled->Matches(TextOf(argv[1])) ? 1 : 0);
    sqlite3_set_auxdata(context, 0, std::make_unique<LikePattern>(std::move(*compiled)).release(),
                        [](void* p) { delete static_cast<LikePattern*>(p); });
}

void CurrencyFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    sqlite3_value* value = argv[0];
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        sqlite3_result_null(context);
        return;
    case SQLITE_INTEGER: {
        qint64 units = 0;
        if (__builtin_mul_overflow(sqlite3_value_int64(value), Currency::Scale, &units))
            sqlite3_result_error(context, OverflowMessage, -1);
        else
            sqlite3_result_int64(context, units);
        return;
    }
    case SQLITE_FLOAT:
        try {
            sqlite3_result_int64(context, Currency::FromDouble(sqlite3_value_double(value)).Units());
        } catch (const Exception&) {
            sqlite3_result_error(context, OverflowMessage, -1);
        }
        return;
    default: {
        const std::optional<ExactDecimal> decimal = ExactDecimal::Parse(TextOf(value));
        const std::optional<qint64> units = decimal ? decimal->MultiplyUnits(Currency::Scale) : std::nullopt;
        if (units)
            sqlite3_result_int64(context, *units);
        else
            sqlite3_result_error(context, decimal ? OverflowMessage : NotNumericMessage, -1);
        return;
    }
    }
}

template <bool Divide>
void ExactFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) {
        sqlite3_result_null(context);
        return;
    }
    const std::optional<qint64> units = UnitsOf(argv[0]);
    const std::optional<ExactDecimal> factor = ExactDecimal::Parse(TextOf(argv[1]));
    if (!units || !factor) {
        sqlite3_result_error(context, NotNumericMessage, -1);
        return;
    }
    if (Divide && factor->IsZero()) {
        sqlite3_result_error(context, DivisionMessage, -1);
        return;
    }
    const std::optional<qint64> result = Divide ? factor->DivideUnits(*units) : factor->MultiplyUnits(*units);
    if (result)
        sqlite3_result_int64(context, *result);
    else
        sqlite3_result_error(context, OverflowMessage, -1);
}

void FoldFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    ResultText(context, TextOf(argv[0]).toCaseFolded());
}

template <bool Upper>
void CaseFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QString text = TextOf(argv[0]);
    ResultText(context, Upper ? text.toUpper() : text.toLower());
}

// Whole-number functions: `Round` maps a real to a whole real; beyond 64 bits
// the result stays a real, or is an error when `Bounded`.
template <double (*Round)(double), bool Bounded>
void WholeFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    switch (sqlite3_value_numeric_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(context);
        return;
    case SQLITE_INTEGER:
        sqlite3_result_int64(context, sqlite3_value_int64(argv[0]));
        return;
    case SQLITE_FLOAT: {
        const double rounded = Round(sqlite3_value_double(argv[0]));
        if (const std::optional<qint64> whole = WholeNumber(rounded))
            sqlite3_result_int64(context, *whole);
        else if (Bounded || !std::isfinite(rounded))
            sqlite3_result_error(context, OverflowMessage, -1);
        else
            sqlite3_result_double(context, rounded);
        return;
    }
    default:
        sqlite3_result_error(context, NotNumericMessage, -1);
        return;
    }
}

double Floor(double v) { return std::floor(v); }
double NearestEven(double v) { return std::nearbyint(v); }

void Register(sqlite3* db, const char* name, int argc, void (*function)(sqlite3_context*, int, sqlite3_value**))
{
    sqlite3_create_function_v2(db, name, argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                               function, nullptr, nullptr, nullptr);
}

} // namespace

bool IsSqlFunctionMessage(const QString& message)
{
    for (const char* own : {OverflowMessage, NotNumericMessage, LikeMessage, DivisionMessage})
        if (message == QString::fromUtf8(own))
            return true;
    return false;
}

void RegisterSqlFunctions(sqlite3* db)
{
    Register(db, "mens_like", 2, LikeFunction);
    Register(db, "mens_cur", 1, CurrencyFunction);
    Register(db, "mens_curdiv", 2, ExactFunction<true>);
    Register(db, "mens_curmul", 2, ExactFunction<false>);
    Register(db, "mens_upper", 1, CaseFunction<true>);
    Register(db, "mens_lower", 1, CaseFunction<false>);
    Register(db, "mens_fold", 1, FoldFunction);
    Register(db, "mens_int", 1, WholeFunction<Floor, false>);
    Register(db, "mens_clng", 1, WholeFunction<NearestEven, true>);
}
