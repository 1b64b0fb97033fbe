#pragma once
// The built-in functions and constants of the language. Each function takes
// its arguments by value (an omitted one is a Missing variant) and raises
// VbError on failure.

#include "script/Variant.h"

#include <QString>
#include <optional>
#include <span>

namespace vbs {

class Interpreter;

using BuiltinFn = Variant (*)(Interpreter& vm, std::span<Variant> args);

struct BuiltinInfo
{
    const char* name;
    int minArgs;
    int maxArgs;
    BuiltinFn fn;
    // Most functions work on values: an object argument is replaced by its
    // default member's value first. These few look at the object itself.
    bool keepsObjects = false;
};

namespace Builtins {

// -1 when no built-in function has that (lower-case) name.
int Find(const QString& lower);
const BuiltinInfo& Get(int index);
// The vb... constants.
std::optional<Variant> Constant(const QString& lower);

// The families, each registering its functions into the table.
void AddStringFunctions(std::vector<BuiltinInfo>& table);
void AddConversionFunctions(std::vector<BuiltinInfo>& table);
void AddMathFunctions(std::vector<BuiltinInfo>& table);
void AddDateFunctions(std::vector<BuiltinInfo>& table);
void AddFormatFunctions(std::vector<BuiltinInfo>& table);
void AddArrayFunctions(std::vector<BuiltinInfo>& table);
void AddEngineFunctions(std::vector<BuiltinInfo>& table);
void AddByteAndEscapeFunctions(std::vector<BuiltinInfo>& table);

// Helpers shared by the families.
inline bool Has(std::span<Variant> args, size_t i)
{
    return i < args.size() && !args[i].IsMissing();
}

} // namespace Builtins
} // namespace vbs
