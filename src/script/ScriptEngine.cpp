#include "script/ScriptEngine.h"

#include "script/Interpreter.h"
#include "script/Lexer.h"
#include "script/Parser.h"
#include "script/Program.h"
#include "script/Resolver.h"

#include <new>

namespace vbs {

namespace {
// Runs `work`, turning whatever it raises into a script error.
template<typename F>
std::optional<ScriptError> Guarded(F&& work)
{
    try {
        work();
        return std::nullopt;
    } catch (const VbError& e) {
        return ScriptError::From(e);
    } catch (const std::bad_alloc&) {
        return ScriptError::From(VbError(Err::OutOfMemory));
    } catch (const std::exception& e) {
        ScriptError error;
        error.number = 51;
        error.description = QStringLiteral("Errore interno dello script: ") + QString::fromLocal8Bit(e.what());
        return error;
    }
}

std::unique_ptr<Unit> ParseText(const QString& text)
{
    Parser parser(Tokenize(text));
    return parser.ParseUnit();
}
} // namespace

ScriptEngine::ScriptEngine() : m_vm(std::make_unique<Interpreter>(nullptr))
{
}

ScriptEngine::ScriptEngine(std::shared_ptr<const CompiledScript> compiled)
    : m_vm(std::make_unique<Interpreter>(std::move(compiled)))
{
}

ScriptEngine::~ScriptEngine() = default;

std::shared_ptr<const CompiledScript> ScriptEngine::Compile(const QString& text, ScriptError* error)
{
    auto program = std::make_shared<Program>();
    const std::optional<ScriptError> failure = Guarded([&] {
        std::unique_ptr<Unit> unit = ParseText(text);
        GlobalScope scope(nullptr, program.get());
        ResolveUnit(*unit, scope);
        program->units.push_back(std::move(unit));
    });
    if (failure) {
        if (error)
            *error = *failure;
        return nullptr;
    }
    if (error)
        *error = ScriptError();
    return program;
}

Limits& ScriptEngine::GetLimits()
{
    return m_vm->GetLimits();
}

void ScriptEngine::SetLimits(const Limits& limits)
{
    m_vm->GetLimits() = limits;
}

void ScriptEngine::SetDialogs(Dialogs dialogs)
{
    m_vm->GetDialogs() = std::move(dialogs);
}

void ScriptEngine::AddObject(const QString& name, std::shared_ptr<ScriptObject> object)
{
    m_vm->AddNamedValue(name, Variant::Object(std::move(object)));
}

void ScriptEngine::AddFunction(const QString& name, HostFunction function)
{
    m_vm->AddHostFunction(name, std::move(function));
}

bool ScriptEngine::Fail(ScriptError* error, ScriptError value)
{
    m_lastError = std::move(value);
    if (error)
        *error = m_lastError;
    return false;
}

bool ScriptEngine::Start(ScriptError* error)
{
    if (const auto failure = Guarded([&] { m_vm->StartBase(); }))
        return Fail(error, *failure);
    return true;
}

bool ScriptEngine::AddCode(const QString& text, ScriptError* error)
{
    if (!Start(error))
        return false;
    if (const auto failure = Guarded([&] { m_vm->AddUnit(ParseText(text)); }))
        return Fail(error, *failure);
    m_lastError = ScriptError();
    if (error)
        *error = m_lastError;
    return true;
}

bool ScriptEngine::HasFunction(const QString& name) const
{
    return m_vm->FindProc(name.toLower()) != nullptr;
}

std::vector<std::pair<QString, int>> ScriptEngine::Functions() const
{
    return m_vm->Procedures();
}

bool ScriptEngine::Run(const QString& name, std::vector<Variant>& args, Variant* result, ScriptError* error)
{
    if (!Start(error))
        return false;
    const ProcDef* proc = m_vm->FindProc(name.toLower());
    if (!proc) {
        ScriptError missing = ScriptError::From(VbError(Err::ProcNotDefined));
        missing.description += QStringLiteral(": '") + name + QLatin1Char('\'');
        return Fail(error, missing);
    }
    Variant value;
    if (const auto failure = Guarded([&] { value = m_vm->CallFromHost(*proc, args); }))
        return Fail(error, *failure);
    if (result)
        *result = std::move(value);
    m_lastError = ScriptError();
    if (error)
        *error = m_lastError;
    return true;
}

bool ScriptEngine::Evaluate(const QString& expression, Variant* result, ScriptError* error)
{
    if (!Start(error))
        return false;
    Variant value;
    if (const auto failure = Guarded([&] { value = m_vm->EvalFromHost(expression); }))
        return Fail(error, *failure);
    if (result)
        *result = std::move(value);
    return true;
}

Variant ScriptEngine::Call(const QString& name, std::vector<Variant>& args)
{
    Variant result;
    ScriptError error;
    if (!Run(name, args, &result, &error))
        throw error.ToVbError();
    return result;
}

} // namespace vbs
