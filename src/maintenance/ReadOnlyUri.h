#pragma once
// The address under which SQLite opens another archive file for reading
// only. Immutable when no journal of an open session lies beside it: then
// nothing is locked and no file is created beside it.

#include <QString>

QString ReadOnlyUri(const QString& path);
