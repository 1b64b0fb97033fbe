#pragma once
// Amounts written in tests as they are read: Money("12.50").

#include "component/Currency.h"

#include <QString>

inline Currency Money(const char* text)
{
    return *Currency::FromDecimalText(QString::fromLatin1(text));
}
