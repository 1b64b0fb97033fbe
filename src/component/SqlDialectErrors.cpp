#include "component/SqlDialectErrors.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"

namespace SqlDialect {

namespace {

constexpr int MaxQuotedLength = 120;

QString Where(const ErrorContext& context, int position)
{
    return QStringLiteral(" (posizione %1) in %2").arg(position + 1).arg(QuotedSource(context.text));
}

} // namespace

QString QuotedSource(const QString& text)
{
    QString shown = text;
    for (QChar& c : shown) {
        if (c.unicode() < 32)
            c = u' ';
    }
    if (shown.size() > MaxQuotedLength)
        shown = shown.left(MaxQuotedLength) + QStringLiteral("…");
    return QStringLiteral("«") + shown + QStringLiteral("»");
}

void ThrowSyntax(const ErrorContext& context, int position, const QString& problem)
{
    throw Exception(ComponentError::Syntax, context.lead + QStringLiteral(": ") + problem + Where(context, position));
}

void ThrowUnknownField(const ErrorContext& context, int position, const QString& name)
{
    throw Exception(ComponentError::UnknownField, QStringLiteral("Campo sconosciuto: ") + name + Where(context, position));
}

void ThrowUnknownFunction(const ErrorContext& context, int position, const QString& name)
{
    throw Exception(ComponentError::UnknownFunction,
                    QStringLiteral("Funzione sconosciuta: ") + name + Where(context, position));
}

void ThrowUnknownTable(const ErrorContext& context, int position, const QString& name)
{
    throw Exception(ComponentError::UnknownTable, QStringLiteral("Tabella sconosciuta: ") + name + Where(context, position));
}

} // namespace SqlDialect
