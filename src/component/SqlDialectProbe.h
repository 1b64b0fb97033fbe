#pragma once
// SQLite parses with a fixed stack and bounds the depth of expressions: a
// translation that is deep enough to pass the translator's own limits may
// still be refused. The probe asks SQLite itself, leaving room for the nesting
// the archive engine adds around a criteria.

#include "component/SqlDialectErrors.h"

namespace SqlDialect {

// Raises Syntax ("espressione troppo complessa") when SQLite could not parse
// `expression` nested a few levels inside a query.
void EnsureSqliteCanParse(const ErrorContext& context, const QString& expression);

} // namespace SqlDialect
