#pragma once
// Runs resolved script code: a tree walker over slots. One interpreter is
// the state of one script engine: its global variables, the Err object, the
// limits of the current host call and the objects it created.

#include "script/Ast.h"
#include "script/Limits.h"
#include "script/Program.h"
#include "script/ScriptObject.h"

#include <QString>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace vbs {

class ArgList;
class ClassInstance;
class ErrObject;

using HostFunction = std::function<Variant(std::span<Variant> args)>;

struct Frame
{
    const ProcDef* proc = nullptr;
    Variant* const* slots = nullptr;
    std::shared_ptr<ScriptObject> me;
    ClassInstance* self = nullptr;
    bool resumeNext = false;
    bool optionExplicit = false;
    std::unique_ptr<std::vector<Variant>> withStack; // made by the first With
};

enum class Flow : quint8 { Normal, ExitDo, ExitFor, ExitProc };

class Interpreter
{
public:
    explicit Interpreter(std::shared_ptr<const Program> base);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // The application's side.
    Limits& GetLimits() { return m_limits; }
    Dialogs& GetDialogs() { return m_dialogs; }
    void AddHostFunction(const QString& name, HostFunction fn);
    void AddNamedValue(const QString& name, const Variant& value);
    // Resolves the unit into this engine's own names and runs its
    // script-level code. Raises VbError.
    void AddUnit(std::unique_ptr<Unit> unit);
    // Runs the script-level code of the compiled text once.
    void StartBase();
    const ProcDef* FindProc(const QString& lower) const;
    std::vector<std::pair<QString, int>> Procedures() const;
    // A call from the application: limits start afresh. Raises VbError.
    Variant CallFromHost(const ProcDef& proc, std::vector<Variant>& args);
    Variant EvalFromHost(const QString& expression);

    // Used by built-ins and objects.
    Variant CallProc(const ProcDef& proc, Args args, ClassInstance* self, const std::shared_ptr<ScriptObject>& me);
    // A call written in the script: arguments are evaluated straight into
    // the callee's variables.
    Variant CallDirect(const ProcDef& proc, const std::vector<ExprPtr>& argExprs, Frame& caller);
    ErrObject& Err() { return *m_err; }
    const std::shared_ptr<ErrObject>& ErrPtr() const { return m_errPtr; }
    Variant EvalCode(const QString& code);
    void ExecuteCode(const QString& code, bool global);
    std::shared_ptr<ScriptObject> CreateObject(const QString& progId);
    std::shared_ptr<ScriptObject> NewInstance(const ClassDef& cls);
    void Track(const std::shared_ptr<ScriptObject>& object);
    void RunTerminate(ClassInstance& instance, const ProcDef& terminate);
    bool Alive() const { return !m_dying; }
    // Expires when the interpreter goes; objects that call back into it keep it.
    std::weak_ptr<void> AliveToken() const { return m_aliveToken; }
    void CheckArraySize(qint64 elements) const;
    void CheckStringSize(qint64 length) const;
    float Random(std::optional<float> argument);
    void Randomize(std::optional<double> seed);

    // Counts a loop iteration or a call; checks the limits now and then.
    void Tick()
    {
        if (--m_ticksLeft <= 0)
            CheckLimits();
    }

private:
    friend class HostCallScope;

    Variant RunProc(const ProcDef& proc, Variant** slots, ClassInstance* self, const std::shared_ptr<ScriptObject>& me);
    void CheckLimits();
    void CheckStack() const
    {
        const char marker = 0;
        const qptrdiff used = m_stackBase ? m_stackBase - &marker : 0;
        if (used > m_limits.maxStackBytes || used < -m_limits.maxStackBytes)
            StackExhausted();
    }
    [[noreturn]] static void StackExhausted();
    void RunTopLevel(const Unit& unit);

    // statements
    Flow ExecBlock(const Block& block, Frame& frame);
    Flow ExecStmt(const Stmt& stmt, Frame& frame);
    Flow ExecFor(const Stmt& stmt, Frame& frame);
    Flow ExecForEach(const Stmt& stmt, Frame& frame);
    Flow ExecDo(const Stmt& stmt, Frame& frame);
    Flow ExecSelect(const Stmt& stmt, Frame& frame);
    void ExecDim(const Stmt& stmt, Frame& frame);
    void ExecReDim(const Stmt& stmt, Frame& frame);
    void ExecErase(const Stmt& stmt, Frame& frame);
    void ExecAppend(const Stmt& stmt, Frame& frame);
    void ExecCall(const Expr& call, Frame& frame);
    bool Condition(const Expr& cond, Frame& frame);

    // expressions; literals and locals, the most frequent, without a call
    Variant Eval(const Expr& e, Frame& frame)
    {
        if (e.kind == ExprKind::Literal)
            return e.value;
        if (e.kind == ExprKind::Local)
            return *frame.slots[e.slot];
        return EvalComplex(e, frame);
    }
    Variant EvalComplex(const Expr& e, Frame& frame);
    Variant EvalBinary(const Expr& e, Frame& frame);
    const Variant& Operand(const Expr& e, Frame& frame, Variant& temp);
    std::pair<const Variant*, const Variant*> Operands(const Expr& e, Frame& frame, Variant& ta, Variant& tb);
    Variant EvalMember(const Expr& e, Frame& frame, InvokeKind kind, const Variant* assigned);
    Variant EvalDynamic(const Expr& e, Frame& frame, bool asStatement);
    Variant CallUser(const Expr& e, Frame& frame);
    Variant CallBuiltin(const Expr& e, Frame& frame);
    Variant IndexValue(const Variant& base, const Expr& e, Frame& frame, InvokeKind kind, const Variant* assigned);
    Variant* Ref(const Expr& e, Frame& frame, bool create);
    void Assign(const Expr& target, Variant value, bool isSet, Frame& frame);
    Variant WithObject(const Frame& frame) const;
    std::shared_ptr<ScriptObject> ObjectOf(const Variant& value) const;
    Variant InvokeObject(const std::shared_ptr<ScriptObject>& object, const QString& lower, InvokeKind kind,
                         Args args, bool allowPrivate);
    Variant* FindGlobalVariable(const QString& lower);
    void FillArgs(ArgList& list, const std::vector<ExprPtr>& exprs, Frame& frame, bool byRef);

    std::shared_ptr<const Program> m_base;
    Program m_own;
    std::deque<Variant> m_globals;
    std::vector<HostFunction> m_hostFunctions;
    std::vector<std::unique_ptr<Unit>> m_transientUnits;
    std::shared_ptr<ErrObject> m_errPtr;
    ErrObject* m_err = nullptr;
    Limits m_limits;
    Dialogs m_dialogs;
    Frame m_topFrame;
    bool m_baseStarted = false;
    bool m_dying = false;

    // limits of the current host call
    int m_hostDepth = 0;
    qint64 m_ticksLeft = 1 << 30;
    qint64 m_stepsLeft = 0;
    std::chrono::steady_clock::time_point m_deadline;
    const char* m_stackBase = nullptr;

    Frame* m_frame = nullptr; // the frame running now
    std::shared_ptr<int> m_aliveToken = std::make_shared<int>(0);
    std::vector<std::weak_ptr<ScriptObject>> m_created;
    size_t m_createdCompactAt = 1024;
    quint32 m_rndSeed = 0x50000;
};

} // namespace vbs
