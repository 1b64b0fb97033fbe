// Conversion functions and subtype tests.
#include "script/Builtins.h"
#include "script/Convert.h"
#include "script/DateUtil.h"
#include "script/NumberText.h"
#include "script/ScriptError.h"
#include "script/ScriptObject.h"

namespace vbs::Builtins {

namespace {

using Args = std::span<Variant>;
using Tag = Variant::Tag;

const Variant& Value(Args a)
{
    if (a[0].IsMissing())
        throw VbError(Err::TypeMismatch);
    return a[0];
}

Variant CStr(Interpreter&, Args a)
{
    return Variant::Str(Convert::ToString(Value(a)));
}

Variant CInt(Interpreter&, Args a)
{
    return Variant::Int(Convert::ToInteger(Value(a)));
}

Variant CLng(Interpreter&, Args a)
{
    return Variant::Long(Convert::ToLong(Value(a)));
}

Variant CSng(Interpreter&, Args a)
{
    return Variant::Single(Convert::ToSingle(Value(a)));
}

Variant CDbl(Interpreter&, Args a)
{
    return Variant::Double(Convert::ToDouble(Value(a)));
}

Variant CCur(Interpreter&, Args a)
{
    return Variant::CurrencyUnits(Convert::ToCurrencyUnits(Value(a)));
}

Variant CByte(Interpreter&, Args a)
{
    return Variant::Byte(Convert::ToByte(Value(a)));
}

Variant CBool(Interpreter&, Args a)
{
    return Variant::Bool(Convert::ToBool(Value(a)));
}

Variant CDate(Interpreter&, Args a)
{
    return Variant::Date(Convert::ToDate(Value(a)));
}

Variant IsNumeric(Interpreter&, Args a)
{
    const Variant v = Convert::ValueOf(a[0]);
    switch (v.GetTag()) {
    case Tag::Empty:
    case Tag::Boolean:
    case Tag::Byte:
    case Tag::Integer:
    case Tag::Long:
    case Tag::Single:
    case Tag::Double:
    case Tag::Currency:
        return Variant::Bool(true);
    case Tag::String:
        return Variant::Bool(NumberText::Parse(v.StrValue()).has_value());
    default:
        return Variant::Bool(false);
    }
}

Variant IsNull(Interpreter&, Args a)
{
    return Variant::Bool(Convert::ValueOf(a[0]).IsNull());
}

Variant IsEmpty(Interpreter&, Args a)
{
    return Variant::Bool(Convert::ValueOf(a[0]).IsEmpty());
}

Variant IsDate(Interpreter&, Args a)
{
    const Variant v = Convert::ValueOf(a[0]);
    if (v.GetTag() == Tag::Date)
        return Variant::Bool(true);
    if (v.IsString())
        return Variant::Bool(DateUtil::Parse(v.StrValue()).has_value());
    return Variant::Bool(false);
}

Variant IsArray(Interpreter&, Args a)
{
    return Variant::Bool(a[0].IsArray());
}

Variant IsObject(Interpreter&, Args a)
{
    return Variant::Bool(a[0].IsObject());
}

Variant TypeName(Interpreter&, Args a)
{
    return Variant::Str(a[0].TypeName());
}

Variant VarType(Interpreter&, Args a)
{
    return Variant::Int(qint16(Convert::ValueOf(a[0]).VarTypeCode()));
}

} // namespace

void AddConversionFunctions(std::vector<BuiltinInfo>& t)
{
    t.push_back({"CStr", 1, 1, CStr});
    t.push_back({"CInt", 1, 1, CInt});
    t.push_back({"CLng", 1, 1, CLng});
    t.push_back({"CSng", 1, 1, CSng});
    t.push_back({"CDbl", 1, 1, CDbl});
    t.push_back({"CCur", 1, 1, CCur});
    t.push_back({"CByte", 1, 1, CByte});
    t.push_back({"CBool", 1, 1, CBool});
    t.push_back({"CDate", 1, 1, CDate});
    t.push_back({"IsNumeric", 1, 1, IsNumeric});
    t.push_back({"IsNull", 1, 1, IsNull});
    t.push_back({"IsEmpty", 1, 1, IsEmpty});
    t.push_back({"IsDate", 1, 1, IsDate});
    t.push_back({"IsArray", 1, 1, IsArray});
    t.push_back({"IsObject", 1, 1, IsObject, true});
    t.push_back({"TypeName", 1, 1, TypeName, true});
    t.push_back({"VarType", 1, 1, VarType});
}

} // namespace vbs::Builtins
