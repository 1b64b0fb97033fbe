#pragma once
// The longest string a script may build, set by the engine for the call
// that runs now; operators and built-ins that grow strings check it.

#include <QtGlobal>

namespace vbs::StringLimit {

qint64 Max();
void Set(qint64 maxLength);
// Raises error 14 when a string of `length` characters would be too long.
void Check(qint64 length);

} // namespace vbs::StringLimit
