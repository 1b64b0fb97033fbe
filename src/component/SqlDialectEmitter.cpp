#include "component/SqlDialectEmitter.h"

#include "component/SqlDialectDecimal.h"
#include "component/SqlDialectPattern.h"
#include "component/SqlLexer.h"
#include "component/Sqlite.h"

#include <QDateTime>
#include <algorithm>
#include <QHash>
#include <cmath>

namespace SqlDialect {

namespace {

// Bounds on what one translation may produce; only pathological input (values
// repeated inside nested functions) comes near them.
constexpr qsizetype MaxSqlLength = 400000;
constexpr qsizetype MaxParams = 30000;
// SQLite refuses longer LIKE patterns; mens_like has no such bound.
constexpr qsizetype MaxLikePatternBytes = 10000;

bool IsNumeric(ValueType t)
{
    return t == ValueType::Integer || t == ValueType::Real || t == ValueType::Boolean || t == ValueType::Currency;
}

ValueType NumericResult(const Typed& a, const Typed& b)
{
    auto whole = [](ValueType t) { return t == ValueType::Integer || t == ValueType::Boolean; };
    if (a.type == ValueType::Null || b.type == ValueType::Null)
        return ValueType::Null;
    if (whole(a.type) && whole(b.type))
        return ValueType::Integer;
    if (IsNumeric(a.type) && IsNumeric(b.type))
        return ValueType::Real;
    return ValueType::Unknown;
}

enum class Function {
    Year, Month, Day, Hour, Minute, Second, Weekday, Date, Now, DateSerial,
    UCase, LCase, Len, Left, Right, Mid, Trim, LTrim, RTrim,
    Abs, Int, Fix, IIf, Nz, IsNull, CStr, CLng, CDbl, CCur,
};

struct FunctionInfo
{
    Function function;
    int minArgs;
    int maxArgs;
};

const QHash<QString, FunctionInfo>& Functions()
{
    static const QHash<QString, FunctionInfo> functions = {
        {QStringLiteral("YEAR"), {Function::Year, 1, 1}},
        {QStringLiteral("MONTH"), {Function::Month, 1, 1}},
        {QStringLiteral("DAY"), {Function::Day, 1, 1}},
        {QStringLiteral("HOUR"), {Function::Hour, 1, 1}},
        {QStringLiteral("MINUTE"), {Function::Minute, 1, 1}},
        {QStringLiteral("SECOND"), {Function::Second, 1, 1}},
        {QStringLiteral("WEEKDAY"), {Function::Weekday, 1, 2}},
        {QStringLiteral("DATE"), {Function::Date, 0, 0}},
        {QStringLiteral("NOW"), {Function::Now, 0, 0}},
        {QStringLiteral("DATESERIAL"), {Function::DateSerial, 3, 3}},
        {QStringLiteral("UCASE"), {Function::UCase, 1, 1}},
        {QStringLiteral("LCASE"), {Function::LCase, 1, 1}},
        {QStringLiteral("LEN"), {Function::Len, 1, 1}},
        {QStringLiteral("LEFT"), {Function::Left, 2, 2}},
        {QStringLiteral("RIGHT"), {Function::Right, 2, 2}},
        {QStringLiteral("MID"), {Function::Mid, 2, 3}},
        {QStringLiteral("TRIM"), {Function::Trim, 1, 1}},
        {QStringLiteral("LTRIM"), {Function::LTrim, 1, 1}},
        {QStringLiteral("RTRIM"), {Function::RTrim, 1, 1}},
        {QStringLiteral("ABS"), {Function::Abs, 1, 1}},
        {QStringLiteral("INT"), {Function::Int, 1, 1}},
        {QStringLiteral("FIX"), {Function::Fix, 1, 1}},
        {QStringLiteral("IIF"), {Function::IIf, 3, 3}},
        {QStringLiteral("NZ"), {Function::Nz, 1, 2}},
        {QStringLiteral("ISNULL"), {Function::IsNull, 1, 1}},
        {QStringLiteral("CSTR"), {Function::CStr, 1, 1}},
        {QStringLiteral("CLNG"), {Function::CLng, 1, 1}},
        {QStringLiteral("CDBL"), {Function::CDbl, 1, 1}},
        {QStringLiteral("CCUR"), {Function::CCur, 1, 1}},
    };
    return functions;
}

} // namespace

ValueType TypeOfField(int typeCode)
{
    if (FieldType::IsText(typeCode))
        return ValueType::Text;
    if (FieldType::IsDate(typeCode))
        return ValueType::Date;
    switch (typeCode) {
    case FieldType::Long:
        return ValueType::Integer;
    case FieldType::Boolean:
        return ValueType::Boolean;
    case FieldType::Double:
        return ValueType::Real;
    case FieldType::Currency:
        return ValueType::Currency;
    default:
        return ValueType::Unknown;
    }
}

SqlEmitter::SqlEmitter(const ErrorContext& context, SqlNameResolver& resolver)
    : m_context(context), m_resolver(resolver)
{
}

Typed SqlEmitter::Compose(QStringView pattern, ValueType type, std::initializer_list<const Typed*> args) const
{
    Typed out;
    out.type = type;
    const std::vector<const Typed*> list(args);
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'$' && i + 1 < pattern.size() && pattern[i + 1].isDigit()) {
            const Typed& arg = *list[size_t(pattern[++i].digitValue() - 1)];
            out.sql += arg.sql;
            out.params += arg.params;
        } else {
            out.sql += c;
        }
    }
    if (out.sql.size() > MaxSqlLength || out.params.size() > MaxParams)
        ThrowSyntax(m_context, 0, QStringLiteral("espressione troppo complessa"));
    return out;
}

Typed SqlEmitter::Param(const QVariant& value, ValueType type) const
{
    Typed out;
    out.sql = QStringLiteral("?");
    out.params.append(value);
    out.type = type;
    return out;
}

Typed SqlEmitter::Value(const Typed& value)
{
    if (value.type != ValueType::Currency)
        return value;
    Typed out;
    out.sql = QStringLiteral("(") + value.sql + QStringLiteral(" / 10000.0)");
    out.params = value.params;
    out.type = ValueType::Real;
    return out;
}

Typed SqlEmitter::Emit(const Node& node)
{
    switch (node.kind) {
    case Node::Kind::Null:
    case Node::Kind::Boolean:
    case Node::Kind::Number:
    case Node::Kind::Text:
    case Node::Kind::Date:
        return Literal(node);
    case Node::Kind::Column:
        return Column(node);
    case Node::Kind::Call:
        return Call(node);
    case Node::Kind::Negate: {
        const Typed operand = Emit(*node.children[0]);
        if (operand.type == ValueType::Currency)
            return Compose(u"(- $1)", ValueType::Currency, {&operand});
        const Typed value = Value(operand);
        const ValueType type = value.type == ValueType::Integer || value.type == ValueType::Real ? value.type
                                                                                                 : ValueType::Unknown;
        return Compose(u"(- $1)", type, {&value});
    }
    case Node::Kind::Not: {
        const Typed operand = Value(Emit(*node.children[0]));
        return Compose(u"(NOT $1)", ValueType::Boolean, {&operand});
    }
    case Node::Kind::Binary:
        return Arithmetic(node);
    case Node::Kind::Logical:
    case Node::Kind::Concat:
        return Join(node);
    case Node::Kind::Compare:
        return Comparison(node);
    case Node::Kind::Like:
        return Like(node);
    case Node::Kind::Between:
    case Node::Kind::In:
        return Group(node);
    case Node::Kind::IsNull: {
        const Typed operand = Emit(*node.children[0]);
        return Compose(node.flag ? u"($1 IS NOT NULL)" : u"($1 IS NULL)", ValueType::Boolean, {&operand});
    }
    }
    return {};
}

Typed SqlEmitter::Literal(const Node& node)
{
    Typed out;
    switch (node.kind) {
    case Node::Kind::Null:
        out.sql = QStringLiteral("NULL");
        out.type = ValueType::Null;
        break;
    case Node::Kind::Boolean:
        out = Param(qint64(node.flag ? 1 : 0), ValueType::Boolean);
        break;
    case Node::Kind::Number: {
        bool ok = false;
        const bool whole = !node.text.contains(u'.') && !node.text.contains(u'e', Qt::CaseInsensitive);
        const qint64 integer = whole ? node.text.toLongLong(&ok) : 0;
        if (ok) {
            out = Param(integer, ValueType::Integer);
        } else {
            const double real = node.text.toDouble(&ok);
            if (!ok || !std::isfinite(real))
                ThrowSyntax(m_context, node.position, QStringLiteral("numero non valido «%1»").arg(node.text));
            out = Param(real, ValueType::Real);
        }
        break;
    }
    case Node::Kind::Text:
        out = Param(node.text, ValueType::Text);
        break;
    case Node::Kind::Date:
        out = Param(StorageDateText(node.date), ValueType::Date);
        break;
    default:
        break;
    }
    out.literal = &node;
    return out;
}

Typed SqlEmitter::Column(const Node& node)
{
    const std::optional<SqlColumn> column = m_resolver.ResolveColumn(node.qualifier, node.text);
    if (!column)
        ThrowUnknownField(m_context, node.position,
                          node.qualifier.isEmpty() ? node.text : node.qualifier + u'.' + node.text);
    Typed out;
    out.sql = column->sql;
    out.type = TypeOfField(column->typeCode);
    out.column = column;
    return out;
}

Typed SqlEmitter::AsDate(const Typed& value)
{
    if (!value.literal || value.literal->kind != Node::Kind::Text)
        return value;
    const std::optional<QDateTime> date = ParseDateText(value.literal->text);
    if (!date)
        ThrowSyntax(m_context, value.literal->position,
                    QStringLiteral("data non valida '%1' (atteso mese/giorno/anno)").arg(value.literal->text.left(40)));
    Typed out = Param(StorageDateText(*date), ValueType::Date);
    out.literal = value.literal;
    return out;
}

std::optional<qint64> SqlEmitter::LiteralUnits(const Typed& value, bool exactOnly, bool strict)
{
    if (!value.literal || (value.literal->kind != Node::Kind::Number && value.literal->kind != Node::Kind::Text))
        return std::nullopt;
    const std::optional<ExactDecimal> decimal = ExactDecimal::Parse(value.literal->text);
    if (!decimal) {
        if (strict && value.literal->kind == Node::Kind::Text)
            ThrowSyntax(m_context, value.literal->position,
                        QStringLiteral("il testo '%1' non è un importo").arg(value.literal->text.left(40)));
        return std::nullopt;
    }
    return exactOnly ? decimal->ExactUnits() : decimal->MultiplyUnits(10000);
}

void SqlEmitter::Align(const std::vector<Typed*>& group, bool comparing)
{
    const auto any = [&](ValueType t) {
        return std::any_of(group.begin(), group.end(), [&](const Typed* v) { return v->type == t; });
    };
    if (any(ValueType::Currency)) {
        std::vector<std::optional<qint64>> units(group.size());
        bool allCurrency = true;
        for (size_t i = 0; i < group.size(); ++i) {
            const ValueType t = group[i]->type;
            if (t == ValueType::Currency || t == ValueType::Null)
                continue;
            units[i] = LiteralUnits(*group[i], true, comparing);
            if (!units[i])
                allCurrency = false;
        }
        for (size_t i = 0; i < group.size(); ++i) {
            if (allCurrency && units[i])
                *group[i] = Param(*units[i], ValueType::Currency);
            else if (!allCurrency)
                *group[i] = Value(*group[i]);
        }
        return;
    }
    if (comparing && any(ValueType::Date)) {
        for (Typed* v : group)
            *v = AsDate(*v);
    }
}

std::optional<SqlEmitter::DatePart> SqlEmitter::DatePartEquality(const Node& node)
{
    if (node.kind != Node::Kind::Compare || node.text != u"=")
        return std::nullopt;
    for (int side = 0; side < 2; ++side) {
        const Node& call = *node.children[size_t(side)];
        const Node& number = *node.children[size_t(1 - side)];
        if (call.kind != Node::Kind::Call || call.children.size() != 1 || number.kind != Node::Kind::Number
            || call.children[0]->kind != Node::Kind::Column)
            continue;
        const QString name = call.text.toUpper();
        if (name != QLatin1String("YEAR") && name != QLatin1String("MONTH"))
            continue;
        bool whole = false;
        const int value = number.text.toInt(&whole);
        const bool year = name == QLatin1String("YEAR");
        if (!whole || (year && (value < 1 || value > 9998)) || (!year && (value < 1 || value > 12)))
            continue;
        Typed column = Emit(*call.children[0]);
        if (!column.column || !FieldType::IsDate(column.column->typeCode))
            continue;
        return DatePart{year, std::move(column), value};
    }
    return std::nullopt;
}

Typed SqlEmitter::DateRange(const Typed& column, const QDate& from, const QDate& to)
{
    // Dates are stored as 'YYYY-MM-DD HH:MM:SS' text: a range of text.
    Typed out;
    out.type = ValueType::Boolean;
    out.sql = QStringLiteral("(%1 >= ? AND %1 < ?)").arg(column.sql);
    out.params = column.params;
    out.params.append(SqlDateText(from.startOfDay()));
    out.params += column.params;
    out.params.append(SqlDateText(to.startOfDay()));
    return out;
}

Typed SqlEmitter::Comparison(const Node& node)
{
    if (const std::optional<DatePart> part = DatePartEquality(node); part && part->year)
        return DateRange(part->column, QDate(part->value, 1, 1), QDate(part->value + 1, 1, 1));
    Typed left = Emit(*node.children[0]);
    Typed right = Emit(*node.children[1]);
    Align({&left, &right});
    // Text columns compare without case through their collation; other text
    // (functions, literals) is given the same collation here.
    const bool nocase = left.type == ValueType::Text && right.type == ValueType::Text && !left.column && !right.column;
    const QString pattern = QStringLiteral("($1 ") + node.text + QStringLiteral(" $2") +
                            (nocase ? QStringLiteral(" COLLATE NOCASE)") : QStringLiteral(")"));
    return Compose(pattern, ValueType::Boolean, {&left, &right});
}

Typed SqlEmitter::Like(const Node& node)
{
    const Typed value = Value(Emit(*node.children[0]));
    const Node& patternNode = *node.children[1];
    Typed result;
    if (patternNode.kind == Node::Kind::Text) {
        int errorIndex = 0;
        const std::optional<LikePattern> pattern = LikePattern::Compile(patternNode.text, &errorIndex, false);
        if (!pattern)
            ThrowSyntax(m_context, patternNode.position,
                        QStringLiteral("motivo di Like non valido: «[» al carattere %1 non è chiuso da «]»")
                            .arg(errorIndex + 1));
        bool escape = false;
        const std::optional<QString> sqliteLike = pattern->ToSqliteLike(&escape);
        if (sqliteLike && sqliteLike->toUtf8().size() <= MaxLikePatternBytes) {
            // A pattern that starts with a wildcard can use no index: written
            // into the statement, it spares SQLite the new preparation that
            // every binding of a Like pattern causes ("find next" repeats it).
            Typed param;
            const bool printable = sqliteLike->isValidUtf16()
                                   && std::all_of(sqliteLike->cbegin(), sqliteLike->cend(),
                                                  [](QChar c) { return c.unicode() >= 0x20; });
            if (printable && (sqliteLike->startsWith(u'%') || sqliteLike->startsWith(u'_'))) {
                param.sql = SqlDialect::TextLiteral(*sqliteLike);
                param.type = ValueType::Text;
            } else {
                param = Param(*sqliteLike, ValueType::Text);
            }
            result = Compose(escape ? u"($1 LIKE $2 ESCAPE '\\')" : u"($1 LIKE $2)", ValueType::Boolean,
                             {&value, &param});
        } else {
            const Typed param = Param(patternNode.text, ValueType::Text);
            result = Compose(u"mens_like($1, $2)", ValueType::Boolean, {&param, &value});
        }
    } else {
        const Typed pattern = Value(Emit(patternNode));
        result = Compose(u"mens_like($1, $2)", ValueType::Boolean, {&pattern, &value});
    }
    if (node.flag)
        result = Compose(u"(NOT $1)", ValueType::Boolean, {&result});
    return result;
}

Typed SqlEmitter::Group(const Node& node)
{
    std::vector<Typed> values;
    values.reserve(node.children.size());
    for (const NodePtr& child : node.children)
        values.push_back(Emit(*child));
    std::vector<Typed*> group;
    for (Typed& v : values)
        group.push_back(&v);
    Align(group);
    Typed out;
    out.type = ValueType::Boolean;
    out.sql = QStringLiteral("(") + values[0].sql + (node.flag ? QStringLiteral(" NOT") : QString());
    out.params = values[0].params;
    if (node.kind == Node::Kind::Between) {
        out.sql += QStringLiteral(" BETWEEN ") + values[1].sql + QStringLiteral(" AND ") + values[2].sql + u')';
        out.params += values[1].params;
        out.params += values[2].params;
    } else {
        out.sql += QStringLiteral(" IN (");
        for (size_t i = 1; i < values.size(); ++i) {
            if (i > 1)
                out.sql += QStringLiteral(", ");
            out.sql += values[i].sql;
            out.params += values[i].params;
        }
        out.sql += QStringLiteral("))");
    }
    return Compose(u"$1", ValueType::Boolean, {&out});
}

Typed SqlEmitter::Join(const Node& node)
{
    const bool concat = node.kind == Node::Kind::Concat;
    const QString separator = concat ? QStringLiteral(" || ") : u' ' + node.text + u' ';
    // Month(d) = m And Year(d) = y: the month as one range of d.
    std::vector<std::optional<Typed>> ranges(node.children.size());
    std::vector<bool> merged(node.children.size(), false);
    if (!concat && node.text.compare(QLatin1String("AND"), Qt::CaseInsensitive) == 0) {
        std::vector<std::optional<DatePart>> parts;
        for (const NodePtr& child : node.children)
            parts.push_back(DatePartEquality(*child));
        for (size_t y = 0; y < parts.size(); ++y)
            for (size_t m = 0; m < parts.size() && parts[y] && parts[y]->year; ++m)
                if (parts[m] && !parts[m]->year && !merged[m] && parts[m]->column.sql == parts[y]->column.sql
                    && parts[m]->column.params == parts[y]->column.params) {
                    const QDate first(parts[y]->value, parts[m]->value, 1);
                    ranges[y] = DateRange(parts[y]->column, first, first.addMonths(1));
                    merged[m] = true;
                    break;
                }
    }
    Typed out;
    out.type = concat ? ValueType::Text : ValueType::Boolean;
    out.sql = QStringLiteral("(");
    bool first = true;
    for (size_t i = 0; i < node.children.size(); ++i) {
        if (merged[i])
            continue;
        const Typed operand = ranges[i] ? *ranges[i] : Value(Emit(*node.children[i]));
        if (!std::exchange(first, false))
            out.sql += separator;
        // '&' reads Null as an empty text.
        out.sql += concat ? QStringLiteral("COALESCE(") + operand.sql + QStringLiteral(", '')") : operand.sql;
        out.params += operand.params;
        if (out.sql.size() > MaxSqlLength)
            ThrowSyntax(m_context, node.position, QStringLiteral("espressione troppo complessa"));
    }
    out.sql += u')';
    return out;
}

std::optional<Typed> SqlEmitter::ExactCurrencyArithmetic(const QString& op, const Typed& left, const Typed& right)
{
    // An amount with a number written in the text stays exact: Prezzo * 3,
    // Prezzo / 1936.27, Prezzo + 0.5 are computed on the units.
    const bool currencyLeft = left.type == ValueType::Currency;
    const Typed& amount = currencyLeft ? left : right;
    const Typed& other = currencyLeft ? right : left;
    if (amount.type != ValueType::Currency || !other.literal || other.literal->kind != Node::Kind::Number)
        return std::nullopt;
    const std::optional<ExactDecimal> decimal = ExactDecimal::Parse(other.literal->text);
    if (!decimal)
        return std::nullopt;
    const Typed factor = Param(other.literal->text, ValueType::Text);
    if (op == u"*")
        return Compose(u"mens_curmul($1, $2)", ValueType::Currency, {&amount, &factor});
    if (op == u"/" && currencyLeft && !decimal->IsZero())
        return Compose(u"mens_curdiv($1, $2)", ValueType::Currency, {&amount, &factor});
    if (op == u"+" || op == u"-") {
        const std::optional<qint64> units = decimal->ExactUnits();
        if (!units)
            return std::nullopt;
        const Typed addend = Param(*units, ValueType::Currency);
        const QString pattern = QStringLiteral("($1 ") + op + QStringLiteral(" $2)");
        return currencyLeft ? Compose(pattern, ValueType::Currency, {&left, &addend})
                            : Compose(pattern, ValueType::Currency, {&addend, &right});
    }
    return std::nullopt;
}

Typed SqlEmitter::Arithmetic(const Node& node)
{
    const QString& op = node.text;
    const Typed left = Emit(*node.children[0]);
    const Typed right = Emit(*node.children[1]);
    const bool plus = op == u"+";
    const bool minus = op == u"-";
    if (std::optional<Typed> exact = ExactCurrencyArithmetic(op, left, right))
        return *exact;
    if (plus || minus) {
        if (plus && left.type == ValueType::Text && right.type == ValueType::Text)
            return Compose(u"($1 || $2)", ValueType::Text, {&left, &right});
        if (left.type == ValueType::Currency && right.type == ValueType::Currency)
            return Compose(plus ? u"($1 + $2)" : u"($1 - $2)", ValueType::Currency, {&left, &right});
        if (minus && left.type == ValueType::Date && right.type == ValueType::Date)
            return Compose(u"(julianday($1) - julianday($2))", ValueType::Real, {&left, &right});
        // A date moved by a number of days (fractions are hours and minutes).
        const bool dateLeft = left.type == ValueType::Date && IsNumeric(right.type);
        if (dateLeft || (plus && right.type == ValueType::Date && IsNumeric(left.type))) {
            const Typed date = dateLeft ? left : right;
            const Typed days = Value(dateLeft ? right : left);
            return Compose(minus ? u"strftime('%Y-%m-%d %H:%M:%S', julianday($1) - $2)"
                                 : u"strftime('%Y-%m-%d %H:%M:%S', julianday($1) + $2)",
                           ValueType::Date, {&date, &days});
        }
    }
    const Typed a = Value(left);
    const Typed b = Value(right);
    if (op == u"/")
        return Compose(u"(CAST($1 AS REAL) / $2)", ValueType::Real, {&a, &b});
    // Integer division and Mod work on the operands rounded to whole numbers.
    if (op == u"\\")
        return Compose(u"(mens_clng($1) / mens_clng($2))", ValueType::Integer, {&a, &b});
    if (op == u"MOD")
        return Compose(u"(mens_clng($1) % mens_clng($2))", ValueType::Integer, {&a, &b});
    const QString pattern = QStringLiteral("($1 ") + op + QStringLiteral(" $2)");
    return Compose(pattern, NumericResult(a, b), {&a, &b});
}

Typed SqlEmitter::Call(const Node& node)
{
    const auto it = Functions().constFind(node.text.toUpper());
    if (it == Functions().constEnd())
        ThrowUnknownFunction(m_context, node.position, node.text);
    const FunctionInfo info = *it;
    const int count = int(node.children.size());
    if (count < info.minArgs || count > info.maxArgs) {
        const QString expected = info.minArgs == info.maxArgs ? QString::number(info.minArgs)
                                                               : QStringLiteral("da %1 a %2").arg(info.minArgs).arg(info.maxArgs);
        ThrowSyntax(m_context, node.position,
                    QStringLiteral("la funzione %1 vuole %2 argomenti, non %3").arg(node.text, expected).arg(count));
    }
    std::vector<Typed> args;
    for (const NodePtr& child : node.children)
        args.push_back(Emit(*child));
    const auto arg = [&](int i) { return Value(args[size_t(i)]); };
    const auto datePart = [&](QStringView format) {
        const Typed date = Value(AsDate(args[0]));
        return Compose(QStringLiteral("CAST(strftime('%1', $1) AS INTEGER)").arg(format), ValueType::Integer, {&date});
    };

    switch (info.function) {
    case Function::Year:
        return datePart(u"%Y");
    case Function::Month:
        return datePart(u"%m");
    case Function::Day:
        return datePart(u"%d");
    case Function::Hour:
        return datePart(u"%H");
    case Function::Minute:
        return datePart(u"%M");
    case Function::Second:
        return datePart(u"%S");
    case Function::Weekday: {
        // 1 for Sunday; with a first day of the week, 1 for that day.
        const Typed date = Value(AsDate(args[0]));
        if (count == 1)
            return Compose(u"(CAST(strftime('%w', $1) AS INTEGER) + 1)", ValueType::Integer, {&date});
        const Typed first = arg(1);
        return Compose(u"(((CAST(strftime('%w', $1) AS INTEGER) + 8 - $2) % 7) + 1)", ValueType::Integer,
                       {&date, &first});
    }
    case Function::Date:
        return Param(StorageDateText(QDateTime(QDate::currentDate(), QTime(0, 0), Qt::UTC)), ValueType::Date);
    case Function::Now: {
        const QDateTime now = QDateTime::currentDateTime();
        return Param(StorageDateText(QDateTime(now.date(), now.time(), Qt::UTC)), ValueType::Date);
    }
    case Function::DateSerial: {
        // Months and days out of range carry over, as DateSerial(2026, 13, 1)
        // is the first of January 2027.
        const Typed y = arg(0), m = arg(1), d = arg(2);
        return Compose(u"strftime('%Y-%m-%d %H:%M:%S', printf('%04d-01-01', $1), "
                       u"printf('%+d months', CAST($2 AS INTEGER) - 1), printf('%+d days', CAST($3 AS INTEGER) - 1))",
                       ValueType::Date, {&y, &m, &d});
    }
    case Function::UCase:
    case Function::LCase: {
        const Typed text = arg(0);
        return Compose(info.function == Function::UCase ? u"mens_upper($1)" : u"mens_lower($1)", ValueType::Text,
                       {&text});
    }
    case Function::Len: {
        const Typed text = arg(0);
        return Compose(u"length($1)", ValueType::Integer, {&text});
    }
    case Function::Left: {
        const Typed text = arg(0), n = arg(1);
        return Compose(u"substr($1, 1, $2)", ValueType::Text, {&text, &n});
    }
    case Function::Right: {
        const Typed text = arg(0), n = arg(1);
        return Compose(u"substr($1, -($2), $2)", ValueType::Text, {&text, &n});
    }
    case Function::Mid: {
        const Typed text = arg(0), start = arg(1);
        if (count == 2)
            return Compose(u"substr($1, $2)", ValueType::Text, {&text, &start});
        const Typed length = arg(2);
        return Compose(u"substr($1, $2, $3)", ValueType::Text, {&text, &start, &length});
    }
    case Function::Trim:
    case Function::LTrim:
    case Function::RTrim: {
        const Typed text = arg(0);
        const QStringView pattern = info.function == Function::Trim    ? u"trim($1)"
                                    : info.function == Function::LTrim ? u"ltrim($1)"
                                                                       : u"rtrim($1)";
        return Compose(pattern, ValueType::Text, {&text});
    }
    case Function::Abs: {
        if (args[0].type == ValueType::Currency)
            return Compose(u"abs($1)", ValueType::Currency, {&args[0]});
        const Typed v = arg(0);
        return Compose(u"abs($1)", IsNumeric(v.type) ? v.type : ValueType::Unknown, {&v});
    }
    case Function::Int: {
        const Typed v = arg(0);
        return Compose(u"mens_int($1)", ValueType::Integer, {&v});
    }
    case Function::Fix: {
        const Typed v = arg(0);
        return Compose(u"CAST($1 AS INTEGER)", ValueType::Integer, {&v});
    }
    case Function::IIf: {
        const Typed condition = arg(0);
        Align({&args[1], &args[2]}, false);
        ValueType type = args[1].type == args[2].type ? args[1].type : ValueType::Unknown;
        if (args[1].type == ValueType::Null)
            type = args[2].type;
        else if (args[2].type == ValueType::Null)
            type = args[1].type;
        if (type != ValueType::Currency) {
            args[1] = Value(args[1]);
            args[2] = Value(args[2]);
        }
        return Compose(u"(CASE WHEN $1 THEN $2 ELSE $3 END)", type, {&condition, &args[1], &args[2]});
    }
    case Function::Nz: {
        if (count == 1)
            args.push_back(args[0].type == ValueType::Text ? Param(QString(), ValueType::Text)
                                                           : Param(qint64(0), ValueType::Integer));
        Align({&args[0], &args[1]}, false);
        const ValueType type = args[0].type == args[1].type ? args[0].type : ValueType::Unknown;
        if (type != ValueType::Currency) {
            args[0] = Value(args[0]);
            args[1] = Value(args[1]);
        }
        return Compose(u"COALESCE($1, $2)", type, {&args[0], &args[1]});
    }
    case Function::IsNull:
        return Compose(u"($1 IS NULL)", ValueType::Boolean, {&args[0]});
    case Function::CStr: {
        const Typed v = arg(0);
        // Reals with at most 15 digits and no trailing zeros: 10 and 12.5, not 10.0.
        if (v.type == ValueType::Real)
            return Compose(u"(CASE WHEN $1 IS NULL THEN NULL ELSE printf('%.15g', $1) END)", ValueType::Text, {&v, &v});
        return Compose(u"CAST($1 AS TEXT)", ValueType::Text, {&v});
    }
    case Function::CLng: {
        const Typed v = arg(0);
        return Compose(u"mens_clng($1)", ValueType::Integer, {&v});
    }
    case Function::CDbl: {
        const Typed v = arg(0);
        return Compose(u"CAST($1 AS REAL)", ValueType::Real, {&v});
    }
    case Function::CCur: {
        if (args[0].type == ValueType::Currency)
            return args[0];
        if (args[0].literal && args[0].literal->kind == Node::Kind::Number) {
            if (const std::optional<qint64> units = LiteralUnits(args[0], false))
                return Param(*units, ValueType::Currency);
        }
        const Typed v = arg(0);
        return Compose(u"mens_cur($1)", ValueType::Currency, {&v});
    }
    }
    return {};
}

SqlFragment SqlEmitter::Condition(const Node& node)
{
    const Typed value = Value(Emit(node));
    if (value.type == ValueType::Text || value.type == ValueType::Date)
        ThrowSyntax(m_context, node.position, QStringLiteral("l'espressione non è una condizione (manca un confronto?)"));
    return {value.sql, value.params};
}

SqlFragment SqlEmitter::Assignment(const SqlColumn& target, const Node& valueNode)
{
    const ValueType targetType = TypeOfField(target.typeCode);
    Typed value = Emit(valueNode);
    switch (targetType) {
    case ValueType::Currency:
        if (value.type == ValueType::Currency || value.type == ValueType::Null)
            break;
        if (const std::optional<qint64> units = LiteralUnits(value, false)) {
            value = Param(*units, ValueType::Currency);
            break;
        }
        value = Value(value);
        value = Compose(u"mens_cur($1)", ValueType::Currency, {&value});
        break;
    case ValueType::Date:
        value = AsDate(value);
        if (IsNumeric(value.type)) {
            // A number of days since 30 December 1899, as the dialect counts dates.
            value = Value(value);
            value = Compose(u"strftime('%Y-%m-%d %H:%M:%S', julianday('1899-12-30') + $1)", ValueType::Date,
                            {&value});
        }
        break;
    case ValueType::Boolean:
        if (IsNumeric(value.type) && value.type != ValueType::Boolean) {
            value = Value(value);
            value = Compose(u"($1 <> 0)", ValueType::Boolean, {&value});
        }
        break;
    case ValueType::Integer:
        if (value.type == ValueType::Real || value.type == ValueType::Currency) {
            value = Value(value);
            value = Compose(u"mens_clng($1)", ValueType::Integer, {&value});
        }
        break;
    default:
        value = Value(value);
        break;
    }
    return {value.sql, value.params};
}

} // namespace SqlDialect
