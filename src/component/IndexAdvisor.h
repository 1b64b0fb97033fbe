#pragma once
// Large tables read in an order that no index supports get an index of the
// engine's own for that order, created once and kept in the file, so that the
// first page of a sorted view is a seek instead of a sort of every record.

#include <QStringList>

class DatabaseEngine;

namespace IndexAdvisor {

// Below this many records a sort is cheap and no index is added.
constexpr qint64 LargeTable = 20000;

// Callers ask once per table and order in a session (DatabaseEngine::MarkOrderChecked).
void EnsureOrderIndex(DatabaseEngine& engine, const QString& table, const QStringList& columns);

} // namespace IndexAdvisor
