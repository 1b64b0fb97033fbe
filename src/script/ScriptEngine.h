#pragma once
// The script engine as the application uses it: add script text, expose
// objects and functions, run a function by name with arguments (written
// back when passed by reference), and get errors with number, Italian
// description and line.
//
// Parse once, run often: Compile() turns a text into an immutable compiled
// script; each ScriptEngine made from it starts from fresh script state, so
// nothing a call leaves in script variables reaches the next.

#include "script/Limits.h"
#include "script/ScriptError.h"
#include "script/ScriptObject.h"
#include "script/Variant.h"

#include <QString>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace vbs {

class Interpreter;
struct Program;
using CompiledScript = Program;
using HostFunction = std::function<Variant(std::span<Variant> args)>;

class ScriptEngine
{
public:
    ScriptEngine();
    explicit ScriptEngine(std::shared_ptr<const CompiledScript> compiled);
    ~ScriptEngine();
    ScriptEngine(const ScriptEngine&) = delete;
    ScriptEngine& operator=(const ScriptEngine&) = delete;

    // Null (and `error` filled) when the text does not compile.
    static std::shared_ptr<const CompiledScript> Compile(const QString& text, ScriptError* error = nullptr);

    Limits& GetLimits();
    void SetLimits(const Limits& limits);
    void SetDialogs(Dialogs dialogs);
    // Named objects and functions that every script-level name can reach.
    void AddObject(const QString& name, std::shared_ptr<ScriptObject> object);
    void AddFunction(const QString& name, HostFunction function);

    // Compiles the text and runs its script-level code.
    bool AddCode(const QString& text, ScriptError* error = nullptr);
    bool HasFunction(const QString& name) const;
    // The Functions and Subs at script level, with their parameter counts.
    std::vector<std::pair<QString, int>> Functions() const;
    // Runs a Function or Sub; `args` receive what by-reference parameters
    // were set to; `result` the function's value.
    bool Run(const QString& name, std::vector<Variant>& args, Variant* result = nullptr, ScriptError* error = nullptr);
    bool Evaluate(const QString& expression, Variant* result, ScriptError* error = nullptr);
    // The same as Run, raising VbError on failure.
    Variant Call(const QString& name, std::vector<Variant>& args);

    const ScriptError& LastError() const { return m_lastError; }

private:
    bool Fail(ScriptError* error, ScriptError value);
    bool Start(ScriptError* error);

    std::unique_ptr<Interpreter> m_vm;
    ScriptError m_lastError;
};

} // namespace vbs
