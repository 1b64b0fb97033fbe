#include "component/CurrencyObject.h"

namespace {
const Currency kRate = Currency::FromUnits(19362700);
}

Currency ConversionCurrencyForEuro::FromBase(Currency amount) const { return amount.MulExact(kRate); }
Currency ConversionCurrencyForOther::FromBase(Currency amount) const { return amount.DivExact(kRate); }
