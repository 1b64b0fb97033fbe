#include "component/SqlDialect.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/SqlDialectEmitter.h"
#include "component/SqlDialectProbe.h"
#include "component/SqlParser.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

SqlFragment AllOf(std::initializer_list<SqlFragment> parts)
{
    QList<const SqlFragment*> present;
    for (const SqlFragment& p : parts)
        if (!p.sql.isEmpty())
            present.append(&p);
    if (present.size() == 1)
        return *present.first();
    SqlFragment result;
    for (const SqlFragment* p : present) {
        if (!result.sql.isEmpty())
            result.sql += QStringLiteral(" AND ");
        result.sql += u'(' + p->sql + u')';
        result.params += p->params;
    }
    return result;
}

namespace SqlDialect {

namespace {

QString UnquoteName(const QString& quoted)
{
    return quoted.mid(1, quoted.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
}

// The column of `table` that a resolved name stores into: C of "table"."C" or
// of "C"; nullopt for anything else (a column reached through a join, an
// expression), which UPDATE cannot assign.
std::optional<QString> StoredColumnName(const QString& sql, const QString& table)
{
    static const QRegularExpression plainColumn(QStringLiteral(R"(^(?:("(?:[^"]|"")*")\.)?("(?:[^"]|"")*")$)"));
    const QRegularExpressionMatch match = plainColumn.match(sql);
    if (!match.hasMatch())
        return std::nullopt;
    const QString qualifier = match.captured(1);
    if (!qualifier.isEmpty() && UnquoteName(qualifier).compare(table, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return match.captured(2);
}

// A table name followed by its resolver; raises UnknownTable.
SqlNameResolver& TableResolver(SqlParser& parser, const ResolverProvider& resolverFor, QString* table)
{
    const Token name = parser.ExpectName(QStringLiteral("il nome di una tabella"));
    *table = name.text;
    SqlNameResolver* resolver = resolverFor ? resolverFor(name.text) : nullptr;
    if (!resolver)
        ThrowUnknownTable(parser.Context(), name.position, name.text);
    return *resolver;
}

void AppendFragment(SqlFragment& target, const QString& sql, const SqlFragment& part)
{
    target.sql += sql + part.sql;
    target.params += part.params;
}

SqlFragment WhereClause(SqlParser& parser, SqlEmitter& emitter)
{
    if (!parser.AcceptWord(u"WHERE"))
        return {};
    const NodePtr condition = parser.ParseExpression();
    const SqlFragment translated = emitter.Condition(*condition);
    EnsureSqliteCanParse(parser.Context(), translated.sql);
    SqlFragment where;
    AppendFragment(where, QStringLiteral(" WHERE "), translated);
    return where;
}

void ExpectStatementEnd(SqlParser& parser)
{
    parser.AcceptSymbol(u";");
    parser.ExpectEnd();
}

SqlStatement Update(SqlParser& parser, const ResolverProvider& resolverFor)
{
    SqlStatement statement;
    statement.kind = SqlStatement::Kind::Update;
    SqlNameResolver& resolver = TableResolver(parser, resolverFor, &statement.table);
    SqlEmitter emitter(parser.Context(), resolver);
    parser.ExpectWord(u"SET");
    statement.sql.sql = QStringLiteral("UPDATE ") + QuoteName(statement.table) + QStringLiteral(" SET ");
    bool first = true;
    do {
        Token name = parser.ExpectName(QStringLiteral("il nome di un campo"));
        QString qualifier;
        if (parser.AcceptSymbol(u".")) {
            qualifier = name.text;
            name = parser.ExpectName(QStringLiteral("il nome di un campo dopo «.»"));
        }
        parser.ExpectSymbol(u"=", QStringLiteral("«=» dopo il nome del campo"));
        const NodePtr value = parser.ParseExpression();
        const QString written = qualifier.isEmpty() ? name.text : qualifier + u'.' + name.text;
        const std::optional<SqlColumn> target = resolver.ResolveColumn(qualifier, name.text);
        if (!target)
            ThrowUnknownField(parser.Context(), name.position, written);
        const std::optional<QString> stored = StoredColumnName(target->sql, statement.table);
        if (!stored)
            ThrowUnknownField(parser.Context(), name.position, written + QStringLiteral(" (campo non modificabile)"));
        const SqlFragment assigned = emitter.Assignment(*target, *value);
        EnsureSqliteCanParse(parser.Context(), assigned.sql);
        AppendFragment(statement.sql, (first ? QString() : QStringLiteral(", ")) + *stored + QStringLiteral(" = "),
                       assigned);
        first = false;
    } while (parser.AcceptSymbol(u","));
    AppendFragment(statement.sql, QString(), WhereClause(parser, emitter));
    ExpectStatementEnd(parser);
    return statement;
}

SqlStatement Delete(SqlParser& parser, const ResolverProvider& resolverFor)
{
    SqlStatement statement;
    statement.kind = SqlStatement::Kind::Delete;
    // DELETE * FROM T and DELETE T.* FROM T mean DELETE FROM T.
    if (!parser.AcceptSymbol(u"*") && parser.Peek().IsName() && parser.Peek(1).IsSymbol(u".") &&
        parser.Peek(2).IsSymbol(u"*")) {
        parser.Next();
        parser.Next();
        parser.Next();
    }
    parser.ExpectWord(u"FROM");
    SqlNameResolver& resolver = TableResolver(parser, resolverFor, &statement.table);
    SqlEmitter emitter(parser.Context(), resolver);
    statement.sql.sql = QStringLiteral("DELETE FROM ") + QuoteName(statement.table);
    AppendFragment(statement.sql, QString(), WhereClause(parser, emitter));
    ExpectStatementEnd(parser);
    return statement;
}

SqlStatement Alter(SqlParser& parser, const ResolverProvider& resolverFor)
{
    SqlStatement statement;
    parser.ExpectWord(u"TABLE");
    TableResolver(parser, resolverFor, &statement.table);
    parser.ExpectWord(u"DROP");
    if (parser.AcceptWord(u"CONSTRAINT")) {
        statement.kind = SqlStatement::Kind::AlterDropConstraint;
    } else {
        statement.kind = SqlStatement::Kind::AlterDropColumn;
        // "COLUMN" is optional, but may also be the name of the column itself.
        if (parser.Peek().IsWord(u"COLUMN") && parser.Peek(1).IsName())
            parser.Next();
    }
    statement.name = parser.ExpectName(QStringLiteral("il nome di un campo o di un vincolo")).text;
    ExpectStatementEnd(parser);
    return statement;
}

} // namespace

SqlFragment TranslateCriteria(const QString& text, SqlNameResolver& resolver)
{
    if (text.trimmed().isEmpty())
        return {};
    const ErrorContext context{QStringLiteral("Criterio non valido"), text};
    SqlParser parser(context);
    const NodePtr condition = parser.ParseExpression();
    parser.ExpectEnd();
    SqlEmitter emitter(context, resolver);
    SqlFragment translated = emitter.Condition(*condition);
    EnsureSqliteCanParse(context, translated.sql);
    return translated;
}

QList<SqlOrderTerm> TranslateOrder(const QString& text, SqlNameResolver& resolver)
{
    QList<SqlOrderTerm> terms;
    if (text.trimmed().isEmpty())
        return terms;
    const ErrorContext context{QStringLiteral("Ordinamento non valido"), text};
    SqlParser parser(context);
    SqlEmitter emitter(context, resolver);
    while (true) {
        const NodePtr expression = parser.ParseExpression();
        const Typed value = emitter.Emit(*expression);
        SqlOrderTerm term;
        EnsureSqliteCanParse(context, value.sql);
        term.expr = {value.sql, value.params};
        term.typeCode = value.column ? value.column->typeCode : -1;
        term.descending = parser.AcceptWord(u"DESC");
        if (!term.descending)
            parser.AcceptWord(u"ASC");
        terms.append(std::move(term));
        if (!parser.AcceptSymbol(u","))
            break;
    }
    parser.ExpectEnd();
    return terms;
}

QList<SqlSelectItem> ParseSelectList(const QString& text)
{
    QList<SqlSelectItem> items;
    if (text.trimmed().isEmpty())
        return items;
    const ErrorContext context{QStringLiteral("Elenco dei campi non valido"), text};
    SqlParser parser(context);
    const QString expected = QStringLiteral("un nome di campo o «*»");
    while (true) {
        SqlSelectItem item;
        if (parser.AcceptSymbol(u"*")) {
            item.star = true;
        } else {
            const Token first = parser.ExpectName(expected);
            if (parser.AcceptSymbol(u".")) {
                item.qualifier = first.text;
                if (parser.AcceptSymbol(u"*"))
                    item.star = true;
                else
                    item.name = parser.ExpectName(expected).text;
            } else {
                item.name = first.text;
            }
        }
        items.append(item);
        if (!parser.AcceptSymbol(u","))
            break;
    }
    parser.ExpectEnd();
    return items;
}

SqlStatement TranslateStatement(const QString& text, const ResolverProvider& resolverFor)
{
    const ErrorContext context{QStringLiteral("Istruzione non valida"), text};
    SqlParser parser(context);
    if (parser.AcceptWord(u"UPDATE"))
        return Update(parser, resolverFor);
    if (parser.AcceptWord(u"DELETE"))
        return Delete(parser, resolverFor);
    if (parser.AcceptWord(u"ALTER"))
        return Alter(parser, resolverFor);
    parser.Fail(parser.Peek(), QStringLiteral("sono ammesse solo UPDATE, DELETE e ALTER TABLE, trovato %1")
                                   .arg(Describe(parser.Peek())));
}

QString TextLiteral(const QString& text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

QString NumberLiteral(double value)
{
    if (!std::isfinite(value))
        throw Exception(ComponentError::InvalidValue, QStringLiteral("Numero non valido in un criterio: %1").arg(value));
    // Plain decimals where they stay short (0.0001, not 1e-04), an exponent beyond.
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0 || (magnitude >= 1e-10 && magnitude < 1e21);
    return QString::number(value, plain ? 'f' : 'g', QLocale::FloatingPointShortest);
}

QString QuoteName(const QString& identifier)
{
    QString quoted;
    quoted.reserve(identifier.size() + 2);
    quoted += u'"';
    if (identifier.contains(u'"'))
        quoted += QString(identifier).replace(u'"', QStringLiteral("\"\""));
    else
        quoted += identifier;
    quoted += u'"';
    return quoted;
}

QString DateLiteral(const QDateTime& value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    if (!value.isValid() || d.year() < 1 || d.year() > 9999)
        throw Exception(ComponentError::InvalidValue, QStringLiteral("Data non valida in un criterio"));
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return QString::asprintf("#%02d/%02d/%04d#", d.month(), d.day(), d.year());
    return QString::asprintf("#%02d/%02d/%04d %02d:%02d:%02d#", d.month(), d.day(), d.year(), t.hour(), t.minute(),
                             t.second());
}

} // namespace SqlDialect
