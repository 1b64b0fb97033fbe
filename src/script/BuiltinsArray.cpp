// Array, LBound and UBound.
#include "script/ArrayOps.h"
#include "script/Builtins.h"
#include "script/Convert.h"
#include "script/Interpreter.h"
#include "script/ScriptError.h"

namespace vbs::Builtins {

namespace {

using Args = std::span<Variant>;

Variant ArrayFn(Interpreter& vm, Args a)
{
    vm.CheckArraySize(qint64(a.size()));
    std::vector<Variant> values;
    values.reserve(a.size());
    for (Variant& v : a)
        values.push_back(v.IsMissing() ? Variant() : std::move(v));
    return ArrayOps::FromValues(std::move(values));
}

int Dimension(Args a)
{
    if (!a[0].IsArray())
        throw VbError(Err::TypeMismatch);
    return Has(a, 1) ? Convert::ToLong(a[1]) : 1;
}

Variant LBound(Interpreter&, Args a)
{
    const int d = Dimension(a);
    ArrayOps::UpperBound(*a[0].ArrValue(), d); // checks the dimension
    return Variant::Long(0);
}

Variant UBound(Interpreter&, Args a)
{
    const int d = Dimension(a);
    return Variant::Long(ArrayOps::UpperBound(*a[0].ArrValue(), d));
}

} // namespace

void AddArrayFunctions(std::vector<BuiltinInfo>& t)
{
    t.push_back({"Array", 0, 1 << 20, ArrayFn, true});
    t.push_back({"LBound", 1, 2, LBound});
    t.push_back({"UBound", 1, 2, UBound});
}

} // namespace vbs::Builtins
