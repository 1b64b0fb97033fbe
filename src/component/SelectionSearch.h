#pragma once
// The criteria of the selection list's search box: the records whose field
// begins with what was typed, wildcards in the typed text taken literally.

#include <QString>

QString StartsWithCriteria(const QString& field, const QString& typed);
