// Functions that reach the engine or the application: Eval, Execute,
// CreateObject, MsgBox, InputBox, Err and the engine's identity.
#include "script/Builtins.h"
#include "script/Convert.h"
#include "script/ErrObject.h"
#include "script/Interpreter.h"
#include "script/ScriptError.h"

namespace vbs::Builtins {

namespace {

using Args = std::span<Variant>;

QString Text(Args a, size_t i)
{
    return Has(a, i) && !a[i].IsNull() ? Convert::ToString(a[i]) : QString();
}

Variant Eval(Interpreter& vm, Args a)
{
    return vm.EvalCode(Convert::ToString(a[0]));
}

Variant Execute(Interpreter& vm, Args a)
{
    vm.ExecuteCode(Convert::ToString(a[0]), false);
    return {};
}

Variant ExecuteGlobal(Interpreter& vm, Args a)
{
    vm.ExecuteCode(Convert::ToString(a[0]), true);
    return {};
}

Variant CreateObject(Interpreter& vm, Args a)
{
    return Variant::Object(vm.CreateObject(Convert::ToString(a[0])));
}

Variant GetObject(Interpreter&, Args)
{
    throw VbError(Err::CannotCreateObject);
}

Variant MsgBox(Interpreter& vm, Args a)
{
    const QString prompt = Text(a, 0);
    const qint32 buttons = Has(a, 1) ? Convert::ToLong(a[1]) : 0;
    const QString title = Text(a, 2);
    const auto& box = vm.GetDialogs().msgBox;
    return Variant::Int(qint16(box ? box(prompt, buttons, title) : 1));
}

Variant InputBox(Interpreter& vm, Args a)
{
    const QString prompt = Text(a, 0);
    const QString title = Text(a, 1);
    const QString defaultText = Text(a, 2);
    const auto& box = vm.GetDialogs().inputBox;
    return Variant::Str(box ? box(prompt, title, defaultText) : QString());
}

// What GetRef returns: calling its default member calls the procedure.
class ProcRef : public ScriptObject
{
public:
    ProcRef(Interpreter& vm, const ProcDef& proc) : m_vm(vm), m_alive(vm.AliveToken()), m_proc(proc) {}
    QString TypeName() const override { return QStringLiteral("Object"); }
    Variant Invoke(const QString& name, InvokeKind kind, vbs::Args args) override
    {
        if (!name.isEmpty() || kind == InvokeKind::Let || kind == InvokeKind::Set)
            throw VbError(Err::NoSuchMember);
        if (m_alive.expired() || !m_vm.Alive())
            throw VbError(Err::ObjectRequired);
        return m_vm.CallProc(m_proc, args, nullptr, nullptr);
    }

private:
    Interpreter& m_vm;
    std::weak_ptr<void> m_alive;
    const ProcDef& m_proc;
};

Variant GetRef(Interpreter& vm, Args a)
{
    const ProcDef* proc = vm.FindProc(Convert::ToString(a[0]).toLower());
    if (!proc)
        throw VbError(Err::InvalidCall);
    auto ref = std::make_shared<ProcRef>(vm, *proc);
    vm.Track(ref);
    return Variant::Object(std::move(ref));
}

// Stop halts in a debugger; here there is none, so it does nothing.
Variant Stop(Interpreter&, Args)
{
    return {};
}

Variant ErrFn(Interpreter& vm, Args)
{
    return Variant::Object(vm.ErrPtr());
}

Variant ScriptEngine(Interpreter&, Args)
{
    return Variant::Str(QStringLiteral("VBScript"));
}

Variant MajorVersion(Interpreter&, Args)
{
    return Variant::Long(5);
}

Variant MinorVersion(Interpreter&, Args)
{
    return Variant::Long(8);
}

Variant BuildVersion(Interpreter&, Args)
{
    return Variant::Long(1);
}

Variant GetLocale(Interpreter&, Args)
{
    return Variant::Long(1040); // Italian (Italy)
}

Variant SetLocale(Interpreter&, Args)
{
    return Variant::Long(1040); // the engine always speaks Italian
}

Variant Rgb(Interpreter&, Args a)
{
    auto part = [&a](size_t i) {
        const qint32 v = Convert::ToLong(a[i]);
        if (v < 0)
            throw VbError(Err::InvalidCall);
        return std::min(v, 255);
    };
    return Variant::Long(part(0) + part(1) * 256 + part(2) * 65536);
}

} // namespace

void AddEngineFunctions(std::vector<BuiltinInfo>& t)
{
    t.push_back({"Eval", 1, 1, Eval});
    t.push_back({"Execute", 1, 1, Execute});
    t.push_back({"ExecuteGlobal", 1, 1, ExecuteGlobal});
    t.push_back({"CreateObject", 1, 2, CreateObject});
    t.push_back({"GetObject", 0, 2, GetObject});
    t.push_back({"MsgBox", 1, 5, MsgBox});
    t.push_back({"InputBox", 1, 7, InputBox});
    t.push_back({"Err", 0, 0, ErrFn});
    t.push_back({"GetRef", 1, 1, GetRef});
    t.push_back({"Stop", 0, 0, Stop});
    t.push_back({"ScriptEngine", 0, 0, ScriptEngine});
    t.push_back({"ScriptEngineMajorVersion", 0, 0, MajorVersion});
    t.push_back({"ScriptEngineMinorVersion", 0, 0, MinorVersion});
    t.push_back({"ScriptEngineBuildVersion", 0, 0, BuildVersion});
    t.push_back({"GetLocale", 0, 0, GetLocale});
    t.push_back({"SetLocale", 0, 1, SetLocale});
    t.push_back({"RGB", 3, 3, Rgb});
}

} // namespace vbs::Builtins
