#pragma once
// Turns parsed dialect expressions into SQLite SQL with bound parameters,
// following the storage conventions of SqlDialect.h: currency columns hold
// ten-thousandths, dates hold 'YYYY-MM-DD HH:MM:SS' text, yes/no holds 0 or 1.

#include "component/SqlAst.h"
#include "component/SqlDialect.h"
#include "component/SqlDialectErrors.h"

#include <initializer_list>
#include <optional>

namespace SqlDialect {

enum class ValueType { Null, Boolean, Integer, Real, Currency, Text, Date, Unknown };

ValueType TypeOfField(int typeCode);

// An emitted expression and what it holds. A Currency value counts
// ten-thousandths; `literal` is set for literals written in the text, so that
// a comparison can bind them in the form of the other side.
struct Typed
{
    QString sql;
    QVariantList params;
    ValueType type = ValueType::Unknown;
    const Node* literal = nullptr;
    std::optional<SqlColumn> column; // set for a plain column
};

class SqlEmitter
{
public:
    SqlEmitter(const ErrorContext& context, SqlNameResolver& resolver);

    Typed Emit(const Node& node);
    // A WHERE condition; raises Syntax for a text or a date, which cannot be one.
    SqlFragment Condition(const Node& node);
    // The value stored by UPDATE into `target`, converted to its storage form.
    SqlFragment Assignment(const SqlColumn& target, const Node& value);

private:
    Typed Literal(const Node& node);
    Typed Column(const Node& node);
    Typed Call(const Node& node);
    Typed Arithmetic(const Node& node);
    Typed Comparison(const Node& node);
    Typed Like(const Node& node);
    Typed Group(const Node& node); // Between and In
    Typed Join(const Node& node);  // And, Or, '&'

    // Year(d) = n or Month(d) = n on a date column d: compared as a range of
    // d (a year, or a month together with its year in the same And), so that
    // an index on d serves the view of a day's, a month's or a year's data.
    struct DatePart
    {
        bool year = false;
        Typed column;
        int value = 0;
    };
    std::optional<DatePart> DatePartEquality(const Node& node);
    static Typed DateRange(const Typed& column, const QDate& from, const QDate& to);

    // Makes a group of values comparable: literals bound as currency units
    // beside a currency, text literals read as dates beside a date, other
    // currencies turned into reals.
    void Align(const std::vector<Typed*>& group, bool comparing = true);
    Typed AsDate(const Typed& value);
    // A number or text literal as currency units; nullopt when it is none or,
    // with `exactOnly`, has more than four decimals. A text that is no number
    // raises Syntax when `strict`.
    std::optional<qint64> LiteralUnits(const Typed& value, bool exactOnly, bool strict = true);
    std::optional<Typed> ExactCurrencyArithmetic(const QString& op, const Typed& left, const Typed& right);

    // Substitutes $1..$9 in `pattern` by the arguments' SQL, taking their
    // parameters in the same order.
    Typed Compose(QStringView pattern, ValueType type, std::initializer_list<const Typed*> args) const;
    Typed Param(const QVariant& value, ValueType type) const;
    static Typed Value(const Typed& value); // a currency as a real amount

    const ErrorContext& m_context;
    SqlNameResolver& m_resolver;
};

} // namespace SqlDialect
