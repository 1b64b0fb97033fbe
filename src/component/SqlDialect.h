#pragma once
// Translation of the archive's query dialect into SQLite.
//
// The application writes criteria, orders, select lists and maintenance
// statements in the dialect of the original desktop database: dates between
// '#' in month/day/year order, '*' and '?' as Like wildcards, True/False,
// Year()/Month() and friends, '&' for concatenation, [bracketed] names. This
// module parses those strings and produces SQLite SQL in which every literal
// is a bound parameter. It knows nothing of tables: names are resolved through
// SqlNameResolver, which the archive engine implements over its definitions
// (and which records the joins a qualified name needs).
//
// Every malformed input raises Exception(ComponentError::Syntax, ...) with a
// message in Italian that names the fault and its position; an unknown name
// raises ComponentError::UnknownField, an unknown function
// ComponentError::UnknownFunction. Never a crash, never a silent empty result.
//
// Like patterns: '*' or '%' any run, '?' or '_' one character, '#' one digit,
// [abc], [a-z], [!a-z] one character of (or not of) a set, and [*], [?], [#]
// the character itself; letters match without regard to case. A pattern
// written as a literal with ASCII letters only becomes SQLite's LIKE (which
// can use a NOCASE index); any other pattern goes to mens_like.
//
// Amounts stay exact: a currency column compared with a number literal binds
// the literal in ten-thousandths, and an amount multiplied or divided by a
// literal (A = A / 1936.27) is computed on the units by mens_curmul and
// mens_curdiv. Elsewhere a currency column is read as a real amount. Text
// and number limits (length, nesting, what SQLite's parser can take) raise
// Syntax rather than exhaust the stack.

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <optional>

class QDateTime;

// Column type codes of the archive engine.
namespace FieldType {
constexpr int Text = 0;
constexpr int Long = 11;
constexpr int Boolean = 14;
constexpr int Double = 16;
constexpr int Date = 17;
constexpr int DateTime = 19;
constexpr int Currency = 20;

inline bool IsDate(int t) { return t == Date || t == DateTime; }
inline bool IsText(int t) { return t == Text || t == 1 || t == 2; }
} // namespace FieldType

// Storage conventions the translator must respect:
//  - text columns are TEXT declared COLLATE NOCASE;
//  - whole numbers INTEGER; yes/no INTEGER 0 or 1;
//  - decimals REAL;
//  - dates TEXT 'YYYY-MM-DD HH:MM:SS' (a date alone has 00:00:00);
//  - currency INTEGER counting ten-thousandths (12.5 is stored 125000).

// What a name stands for, as the resolver sees it.
struct SqlColumn
{
    QString sql;      // expression to emit, already quoted: "Ricevute"."Data"
    int typeCode = 0; // one of FieldType
};

class SqlNameResolver
{
public:
    virtual ~SqlNameResolver() = default;
    // `qualifier` is empty for a bare name. Names compare case-insensitively.
    // Returns nullopt when the name is unknown.
    virtual std::optional<SqlColumn> ResolveColumn(const QString& qualifier, const QString& name) = 0;
};

// SQL text with its positional parameters ('?' placeholders, in order).
struct SqlFragment
{
    QString sql;
    QVariantList params; // QString, qint64, double or bool (bound as 0/1)
};

// The non-empty fragments joined by AND, each in parentheses when more than
// one remains; params follow in order.
SqlFragment AllOf(std::initializer_list<SqlFragment> parts);

struct SqlOrderTerm
{
    SqlFragment expr;
    bool descending = false;
    int typeCode = FieldType::Text; // of the expression, when it is a plain column; else -1
};

struct SqlSelectItem
{
    bool star = false;  // "*": every column of the main table
    QString qualifier;  // table name, or empty
    QString name;       // column name (empty for "*")
};

// A maintenance statement. The archive engine executes Update and Delete as
// SQL; the Alter kinds change the table through the engine's own schema code,
// since they also touch its indexes and its definition records.
struct SqlStatement
{
    enum class Kind { Update, Delete, AlterDropColumn, AlterDropConstraint };
    Kind kind = Kind::Update;
    QString table;       // as written in the statement
    QString name;        // Alter: the column or constraint named
    SqlFragment sql;     // Update / Delete: the complete SQLite statement
};

namespace SqlDialect {

// A WHERE condition. Empty or blank text gives an empty fragment.
SqlFragment TranslateCriteria(const QString& text, SqlNameResolver& resolver);

// A comma-separated ORDER BY list; each term an expression with optional
// ASC/DESC. Empty text gives an empty list.
QList<SqlOrderTerm> TranslateOrder(const QString& text, SqlNameResolver& resolver);

// A select list: "*", "T.*"?, column names, qualified names, separated by commas.
// Only names and stars; anything else raises Syntax.
QList<SqlSelectItem> ParseSelectList(const QString& text);

// UPDATE, DELETE and ALTER TABLE ... DROP [COLUMN|CONSTRAINT] statements.
// `resolverFor` gives the resolver of the statement's table, or nullptr when
// the table is unknown (then UnknownTable is raised).
using ResolverProvider = std::function<SqlNameResolver*(const QString& table)>;
SqlStatement TranslateStatement(const QString& text, const ResolverProvider& resolverFor);

// An identifier quoted for SQLite: "Ordine_Menù", with inner quotes doubled.
QString QuoteName(const QString& identifier);

// Literals in the dialect, for code that composes criteria strings.
QString TextLiteral(const QString& text);        // 'it''s'
QString NumberLiteral(double value);             // 1936.27 (point, shortest exact form)
QString DateLiteral(const QDateTime& value);     // #03/31/2026# or #03/31/2026 10:05:00#

} // namespace SqlDialect
