#include "script/Interpreter.h"

#include "script/ClassInstance.h"
#include "script/Dictionary.h"
#include "script/ErrObject.h"
#include "script/Lexer.h"
#include "script/Parser.h"
#include "script/Resolver.h"
#include "script/ScriptError.h"
#include "script/StringLimit.h"

#include <cmath>
#include <cstring>

namespace vbs {

namespace {
constexpr qint64 TickInterval = 256;

// Makes a frame the running one for a scope.
struct FrameSwitch
{
    FrameSwitch(Frame*& current, Frame* frame) : slot(current), saved(current) { current = frame; }
    ~FrameSwitch() { slot = saved; }
    Frame*& slot;
    Frame* saved;
};
} // namespace

// Sets up the limits when the application calls into the script; nested
// calls (a Class_Terminate run from the application's side) keep the outer ones.
class HostCallScope
{
public:
    explicit HostCallScope(Interpreter& vm) : m_vm(vm), m_savedLimit(StringLimit::Max())
    {
        if (m_vm.m_hostDepth++ == 0) {
            m_vm.m_stackBase = reinterpret_cast<const char*>(&m_marker);
            const int ms = m_vm.m_limits.timeLimitMs;
            m_vm.m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms > 0 ? ms : 0);
            m_vm.m_stepsLeft = m_vm.m_limits.maxSteps;
            m_vm.m_ticksLeft = m_vm.m_limits.maxSteps > 0 ? std::min(TickInterval, m_vm.m_limits.maxSteps)
                                                          : TickInterval;
        }
        StringLimit::Set(m_vm.m_limits.maxStringLength);
    }
    ~HostCallScope()
    {
        --m_vm.m_hostDepth;
        StringLimit::Set(m_savedLimit);
    }

private:
    Interpreter& m_vm;
    qint64 m_savedLimit;
    int m_marker = 0;
};

Interpreter::Interpreter(std::shared_ptr<const Program> base) : m_base(std::move(base))
{
    if (m_base) {
        m_own.firstSlot = m_base->SlotCount();
        m_globals.resize(size_t(m_base->SlotCount()));
    }
    m_errPtr = std::make_shared<ErrObject>();
    m_err = m_errPtr.get();
    m_frame = &m_topFrame;
}

Interpreter::~Interpreter()
{
    // Script-level variables go first, so that Class_Terminate runs for the
    // objects they held, within the usual limits.
    try {
        HostCallScope scope(*this);
        for (size_t i = 0; i < m_globals.size(); ++i) {
            Variant dying;
            dying.Swap(m_globals[i]);
        }
    } catch (...) {
    }
    m_dying = true;
    // Break reference cycles between objects the scripts made.
    std::vector<std::shared_ptr<ScriptObject>> alive;
    for (const auto& weak : m_created)
        if (auto object = weak.lock())
            alive.push_back(std::move(object));
    for (const auto& object : alive)
        object->ReleaseReferences();
    alive.clear();
    std::vector<Variant> globals(std::make_move_iterator(m_globals.begin()), std::make_move_iterator(m_globals.end()));
    m_globals.clear();
    globals.clear();
}

void Interpreter::AddHostFunction(const QString& name, HostFunction fn)
{
    GlobalScope scope(m_base.get(), &m_own);
    GlobalSymbol symbol;
    symbol.kind = GlobalSymbol::Kind::HostFunction;
    symbol.slot = int(m_hostFunctions.size());
    m_hostFunctions.push_back(std::move(fn));
    scope.Add(name.toLower(), symbol);
}

void Interpreter::AddNamedValue(const QString& name, const Variant& value)
{
    const QString lower = name.toLower();
    Variant* slot = FindGlobalVariable(lower);
    if (!slot) {
        GlobalScope scope(m_base.get(), &m_own);
        const int index = scope.AddVariable(lower);
        m_globals.resize(size_t(scope.SlotCount()));
        slot = &m_globals[size_t(index)];
    }
    *slot = value;
}

void Interpreter::AddUnit(std::unique_ptr<Unit> unit)
{
    HostCallScope scope(*this);
    {
        // A unit that fails to resolve leaves no names behind.
        const auto symbols = m_own.symbols;
        const auto constants = m_own.constants;
        const size_t variables = m_own.variableNames.size();
        try {
            GlobalScope globals(m_base.get(), &m_own);
            ResolveUnit(*unit, globals);
        } catch (...) {
            m_own.symbols = symbols;
            m_own.constants = constants;
            m_own.variableNames.resize(variables);
            throw;
        }
    }
    m_globals.resize(size_t(m_own.SlotCount()));
    m_own.units.push_back(std::move(unit));
    RunTopLevel(*m_own.units.back());
}

void Interpreter::StartBase()
{
    if (m_baseStarted || !m_base)
        return;
    m_baseStarted = true;
    HostCallScope scope(*this);
    for (const auto& unit : m_base->units)
        RunTopLevel(*unit);
}

void Interpreter::RunTopLevel(const Unit& unit)
{
    Frame frame;
    frame.optionExplicit = unit.optionExplicit;
    Frame* saved = m_frame;
    m_frame = &frame;
    try {
        ExecBlock(unit.topLevel, frame);
    } catch (...) {
        m_frame = saved;
        throw;
    }
    m_frame = saved;
}

const ProcDef* Interpreter::FindProc(const QString& lower) const
{
    const GlobalScope scope(m_base.get(), const_cast<Program*>(&m_own));
    const GlobalSymbol* s = scope.Find(lower);
    return s && s->kind == GlobalSymbol::Kind::Proc ? s->proc : nullptr;
}

std::vector<std::pair<QString, int>> Interpreter::Procedures() const
{
    std::vector<std::pair<QString, int>> result;
    for (const Program* layer : {m_base.get(), &m_own}) {
        if (!layer)
            continue;
        for (const GlobalSymbol& s : layer->symbols)
            if (s.kind == GlobalSymbol::Kind::Proc)
                result.emplace_back(s.proc->name, int(s.proc->params.size()));
    }
    std::sort(result.begin(), result.end());
    return result;
}

Variant* Interpreter::FindGlobalVariable(const QString& lower)
{
    const GlobalScope scope(m_base.get(), &m_own);
    const GlobalSymbol* s = scope.Find(lower);
    if (!s || s->kind != GlobalSymbol::Kind::Variable)
        return nullptr;
    if (size_t(s->slot) >= m_globals.size())
        m_globals.resize(size_t(m_own.SlotCount()));
    return &m_globals[size_t(s->slot)];
}

Variant Interpreter::CallFromHost(const ProcDef& proc, std::vector<Variant>& args)
{
    HostCallScope scope(*this);
    std::vector<Variant*> pointers;
    pointers.reserve(args.size());
    for (Variant& a : args)
        pointers.push_back(&a);
    return CallProc(proc, pointers, nullptr, nullptr);
}

Variant Interpreter::EvalFromHost(const QString& expression)
{
    HostCallScope scope(*this);
    return EvalCode(expression);
}

void Interpreter::CheckLimits()
{
    const qint64 interval = m_limits.maxSteps > 0 ? std::min(TickInterval, m_limits.maxSteps) : TickInterval;
    if (m_limits.maxSteps > 0) {
        m_stepsLeft -= interval;
        if (m_stepsLeft <= 0) {
            m_ticksLeft = 1;
            VbError e(Err::TimeLimit);
            e.SetFatal();
            throw e;
        }
    }
    m_ticksLeft = interval;
    if (m_limits.timeLimitMs > 0 && std::chrono::steady_clock::now() > m_deadline) {
        m_ticksLeft = 1;
        VbError e(Err::TimeLimit);
        e.SetFatal();
        throw e;
    }
}

void Interpreter::StackExhausted()
{
    throw VbError(Err::OutOfStack);
}

void Interpreter::CheckArraySize(qint64 elements) const
{
    if (elements > m_limits.maxArrayElements)
        throw VbError(Err::OutOfMemory);
}

void Interpreter::CheckStringSize(qint64 length) const
{
    if (length > m_limits.maxStringLength)
        throw VbError(Err::OutOfStringSpace);
}

namespace {
// The variables of one procedure call, on the machine stack unless there
// are many of them.
class LocalStore
{
public:
    explicit LocalStore(int count) : m_count(count)
    {
        if (count > Inline) {
            m_heapValues = std::make_unique<Variant[]>(size_t(count));
            m_heapSlots = std::make_unique<Variant*[]>(size_t(count));
            m_values = m_heapValues.get();
            m_slots = m_heapSlots.get();
        } else {
            m_values = reinterpret_cast<Variant*>(m_inlineValues);
            m_slots = m_inlineSlots;
            for (int i = 0; i < count; ++i)
                m_slots[i] = new (&m_values[i]) Variant();
            return;
        }
        for (int i = 0; i < count; ++i)
            m_slots[i] = &m_values[i];
    }
    ~LocalStore()
    {
        if (!m_heapValues)
            for (int i = 0; i < m_count; ++i)
                m_values[i].~Variant();
    }
    LocalStore(const LocalStore&) = delete;
    LocalStore& operator=(const LocalStore&) = delete;

    Variant& Value(int i) { return m_values[i]; }
    void Point(int i, Variant* variable) { m_slots[i] = variable; }
    Variant** Slots() { return m_slots; }

private:
    static constexpr int Inline = 8;
    int m_count;
    alignas(Variant) unsigned char m_inlineValues[Inline * sizeof(Variant)];
    Variant* m_inlineSlots[Inline];
    std::unique_ptr<Variant[]> m_heapValues;
    std::unique_ptr<Variant*[]> m_heapSlots;
    Variant* m_values;
    Variant** m_slots;
};

bool IsPlainVariable(const Expr& e)
{
    return (e.kind == ExprKind::Local || e.kind == ExprKind::Global || e.kind == ExprKind::Field
            || e.kind == ExprKind::Dynamic)
           && e.args.empty();
}
} // namespace

inline Variant Interpreter::RunProc(const ProcDef& proc, Variant** slots, ClassInstance* self,
                             const std::shared_ptr<ScriptObject>& me)
{
    CheckStack();
    Tick();
    Frame frame;
    frame.proc = &proc;
    frame.slots = slots;
    frame.me = me;
    frame.self = self;
    frame.optionExplicit = proc.optionExplicit;
    {
        FrameSwitch running(m_frame, &frame);
        ExecBlock(proc.body, frame);
    }
    if (proc.returnSlot < 0)
        return {};
    if (size_t(proc.returnSlot) < proc.params.size())
        return *slots[proc.returnSlot];
    return std::move(*slots[proc.returnSlot]);
}

Variant Interpreter::CallProc(const ProcDef& proc, Args args, ClassInstance* self,
                              const std::shared_ptr<ScriptObject>& me)
{
    if (args.size() != proc.params.size())
        throw VbError(Err::WrongArgCount);
    LocalStore locals(proc.localCount);
    for (size_t i = 0; i < args.size(); ++i) {
        const int slot = int(i);
        if (args[i]->IsMissing())
            continue;
        if (proc.params[i].byRef)
            locals.Point(slot, args[i]);
        else
            locals.Value(slot) = *args[i];
    }
    return RunProc(proc, locals.Slots(), self, me);
}

Variant Interpreter::CallDirect(const ProcDef& proc, const std::vector<ExprPtr>& argExprs, Frame& caller)
{
    if (argExprs.size() != proc.params.size())
        throw VbError(Err::WrongArgCount);
    LocalStore locals(proc.localCount);
    for (size_t i = 0; i < argExprs.size(); ++i) {
        const Expr* a = argExprs[i].get();
        const int slot = int(i);
        if (!a)
            continue;
        if (proc.params[i].byRef && IsPlainVariable(*a)) {
            if (Variant* variable = Ref(*a, caller, !a->explicitVar)) {
                locals.Point(slot, variable);
                continue;
            }
        }
        locals.Value(slot) = Eval(*a, caller);
    }
    return RunProc(proc, locals.Slots(), nullptr, nullptr);
}


Variant Interpreter::EvalCode(const QString& code)
{
    // Code that evaluates itself recurses without a procedure call.
    CheckStack();
    Tick();
    Frame& frame = *m_frame;
    ExprPtr expr;
    try {
        Parser parser(Tokenize(code));
        expr = parser.ParseLoneExpression();
        GlobalScope scope(m_base.get(), &m_own);
        ResolveExpression(*expr, scope, frame.proc, frame.self ? &frame.self->Class() : nullptr,
                          frame.optionExplicit);
    } catch (const VbError& e) {
        throw VbError(e.Number(), e.Description());
    }
    m_globals.resize(size_t(m_own.SlotCount()));
    return Eval(*expr, frame);
}

void Interpreter::ExecuteCode(const QString& code, bool global)
{
    CheckStack();
    Tick();
    Frame& frame = *m_frame;
    const bool inProc = !global && frame.proc;
    std::unique_ptr<Unit> unit;
    const auto symbols = m_own.symbols;
    const auto constants = m_own.constants;
    const size_t variables = m_own.variableNames.size();
    try {
        Parser parser(Tokenize(code));
        unit = parser.ParseUnit();
        GlobalScope scope(m_base.get(), &m_own);
        if (inProc)
            ResolveUnit(*unit, scope, frame.proc, frame.self ? &frame.self->Class() : nullptr);
        else
            ResolveUnit(*unit, scope);
    } catch (const VbError& e) {
        m_own.symbols = symbols;
        m_own.constants = constants;
        m_own.variableNames.resize(variables);
        throw VbError(e.Number(), e.Description());
    }
    m_globals.resize(size_t(m_own.SlotCount()));
    const Unit* running = unit.get();
    if (!unit->procs.empty() || !unit->classes.empty())
        m_own.units.push_back(std::move(unit));
    else
        m_transientUnits.push_back(std::move(unit));
    struct Drop
    {
        Interpreter& vm;
        const Unit* unit;
        ~Drop()
        {
            auto& t = vm.m_transientUnits;
            if (!t.empty() && t.back().get() == unit)
                t.pop_back();
        }
    } drop{*this, running};
    if (inProc) {
        ExecBlock(running->topLevel, frame);
    } else {
        Frame top;
        top.optionExplicit = running->optionExplicit;
        Frame* saved = m_frame;
        m_frame = &top;
        try {
            ExecBlock(running->topLevel, top);
        } catch (...) {
            m_frame = saved;
            throw;
        }
        m_frame = saved;
    }
}

std::shared_ptr<ScriptObject> Interpreter::CreateObject(const QString& progId)
{
    const QString id = progId.trimmed().toLower();
    if (id == QLatin1String("scripting.dictionary")) {
        auto dictionary = std::make_shared<Dictionary>();
        Track(dictionary);
        return dictionary;
    }
    throw VbError(Err::CannotCreateObject);
}

std::shared_ptr<ScriptObject> Interpreter::NewInstance(const ClassDef& cls)
{
    auto instance = std::make_shared<ClassInstance>(cls, *this, m_aliveToken);
    Track(instance);
    if (cls.initialize)
        CallProc(*cls.initialize, {}, instance.get(), instance);
    return instance;
}

void Interpreter::Track(const std::shared_ptr<ScriptObject>& object)
{
    if (m_created.size() >= m_createdCompactAt) {
        std::erase_if(m_created, [](const std::weak_ptr<ScriptObject>& w) { return w.expired(); });
        m_createdCompactAt = std::max<size_t>(1024, m_created.size() * 2);
    }
    m_created.push_back(object);
}

void Interpreter::RunTerminate(ClassInstance& instance, const ProcDef& terminate)
{
    if (m_dying)
        return;
    try {
        HostCallScope scope(*this);
        CallProc(terminate, {}, &instance, nullptr);
    } catch (...) {
        // An error in Class_Terminate cannot reach anyone: the object is gone.
    }
}

float Interpreter::Random(std::optional<float> argument)
{
    if (argument) {
        if (*argument == 0.0f)
            return float(m_rndSeed) / 16777216.0f;
        if (*argument < 0.0f) {
            quint32 bits = 0;
            std::memcpy(&bits, &*argument, sizeof bits);
            m_rndSeed = (bits + (bits >> 24)) & 0xFFFFFF;
        }
    }
    m_rndSeed = (m_rndSeed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return float(m_rndSeed) / 16777216.0f;
}

void Interpreter::Randomize(std::optional<double> seed)
{
    double value = seed ? *seed : double(std::chrono::steady_clock::now().time_since_epoch().count() % 86400000) / 1000.0;
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const quint32 mixed = quint32(bits >> 32) ^ quint32(bits);
    m_rndSeed = (m_rndSeed & 0xFF0000FFu) | (((mixed ^ (mixed >> 16)) & 0xFFFFu) << 8);
    m_rndSeed &= 0xFFFFFF;
}

} // namespace vbs
