#pragma once
// Error reporting shared by the parts of the dialect translator: every message
// names the fault, its position (counted from 1) and quotes the text it was
// found in.

#include <QString>

namespace SqlDialect {

// What is being translated, for the messages: "Criterio non valido" and the text.
struct ErrorContext
{
    QString lead;
    QString text;
};

// «text», cut to a readable length.
QString QuotedSource(const QString& text);

[[noreturn]] void ThrowSyntax(const ErrorContext& context, int position, const QString& problem);
[[noreturn]] void ThrowUnknownField(const ErrorContext& context, int position, const QString& name);
[[noreturn]] void ThrowUnknownFunction(const ErrorContext& context, int position, const QString& name);
[[noreturn]] void ThrowUnknownTable(const ErrorContext& context, int position, const QString& name);

} // namespace SqlDialect
