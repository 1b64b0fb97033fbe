#pragma once
// The operators of the language over variants: result subtypes, Null
// propagation, overflow promotion from Integer to Long to Double.

#include "script/Variant.h"

#include <optional>

namespace vbs::Ops {

enum class Compare { Eq, Ne, Lt, Le, Gt, Ge };

Variant Add(const Variant& a, const Variant& b);
Variant Sub(const Variant& a, const Variant& b);
Variant Mul(const Variant& a, const Variant& b);
Variant Div(const Variant& a, const Variant& b);
Variant IntDiv(const Variant& a, const Variant& b);
Variant Mod(const Variant& a, const Variant& b);
Variant Pow(const Variant& a, const Variant& b);
Variant Neg(const Variant& a);
Variant Concat(const Variant& a, const Variant& b);
Variant Not(const Variant& a);
Variant And(const Variant& a, const Variant& b);
Variant Or(const Variant& a, const Variant& b);
Variant Xor(const Variant& a, const Variant& b);
Variant Eqv(const Variant& a, const Variant& b);
Variant Imp(const Variant& a, const Variant& b);

// Comparison; a literal operand lets a string compare as a number.
Variant Cmp(Compare op, const Variant& a, const Variant& b, bool aLiteral = false, bool bLiteral = false);
// -1, 0, 1; nullopt when either side is Null.
std::optional<int> OrderGeneral(const Variant& a, const Variant& b, bool aLiteral, bool bLiteral, bool textCompare);
inline std::optional<int> Order(const Variant& a, const Variant& b, bool aLiteral, bool bLiteral, bool textCompare)
{
    if (a.IsIntegral() && b.IsIntegral())
        return a.IntValue() < b.IntValue() ? -1 : a.IntValue() > b.IntValue() ? 1 : 0;
    return OrderGeneral(a, b, aLiteral, bLiteral, textCompare);
}
bool Is(const Variant& a, const Variant& b);

} // namespace vbs::Ops
