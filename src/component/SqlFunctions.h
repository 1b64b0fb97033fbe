#pragma once
// SQL functions that translated queries rely on; registered on every
// connection the archive engine opens.
//   mens_like(pattern, value)    Like with '*' '%' any run, '?' '_' one character,
//                                case-insensitive over all of Unicode
//   mens_cur(real)               a real amount to currency units (ten-thousandths),
//                                halves to even
//   mens_curdiv(units, 'dec')    units divided by an exact decimal literal, halves to even
//   mens_curmul(units, 'dec')    units multiplied by an exact decimal literal, halves to even
// and, for the translator's own use: mens_upper, mens_lower (over all of
// Unicode), mens_int (the whole number not above) and mens_clng (rounded,
// halves to even); for the engine's unique names: mens_fold (the case fold
// over all of Unicode, as Like compares). Overflow is an SQL error, never a wrapped value.
#include <QString>

struct sqlite3;

void RegisterSqlFunctions(sqlite3* db);

// Whether a storage error message is one of these functions' own (Italian)
// refusals.
bool IsSqlFunctionMessage(const QString& message);
