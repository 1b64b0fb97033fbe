// Statements: blocks with error handling, loops, declarations and arrays.
#include "script/Interpreter.h"

#include "script/ArgList.h"
#include "script/ArrayOps.h"
#include "script/Convert.h"
#include "script/ErrObject.h"
#include "script/ScriptError.h"
#include "script/StringLimit.h"
#include "script/VariantOps.h"

#include <new>

namespace vbs {

namespace {
VbError Positioned(VbError e, const Stmt& stmt)
{
    if (e.Line() == 0)
        e.SetPosition(stmt.line, stmt.column);
    return e;
}

struct WithPop
{
    std::vector<Variant>& stack;
    ~WithPop() { stack.pop_back(); }
};
} // namespace

Flow Interpreter::ExecBlock(const Block& block, Frame& frame)
{
    // Under On Error Resume Next a failing statement is noted in Err and
    // the next one runs; otherwise the error goes up to the caller.
    auto handle = [this, &frame](VbError error) {
        if (!frame.resumeNext || error.Fatal())
            throw error;
        m_err->Set(error);
    };
    for (const StmtPtr& stmt : block) {
        try {
            const Flow flow = ExecStmt(*stmt, frame);
            if (flow != Flow::Normal)
                return flow;
        } catch (VbError& e) {
            handle(Positioned(std::move(e), *stmt));
        } catch (const std::bad_alloc&) {
            handle(Positioned(VbError(Err::OutOfMemory), *stmt));
        } catch (const std::length_error&) {
            handle(Positioned(VbError(Err::OutOfMemory), *stmt));
        }
    }
    return Flow::Normal;
}

Flow Interpreter::ExecStmt(const Stmt& s, Frame& frame)
{
    switch (s.kind) {
    case StmtKind::Assign:
        if (s.appendInPlace) {
            ExecAppend(s, frame);
        } else if (s.target->kind == ExprKind::Local) {
            // The common case: a procedure's own variable takes a plain value.
            Variant value = Eval(*s.expr, frame);
            if (value.IsObject())
                Assign(*s.target, std::move(value), false, frame);
            else
                *frame.slots[s.target->slot] = std::move(value);
        } else {
            Assign(*s.target, Eval(*s.expr, frame), false, frame);
        }
        return Flow::Normal;
    case StmtKind::Set:
        Assign(*s.target, Eval(*s.expr, frame), true, frame);
        return Flow::Normal;
    case StmtKind::Call:
        ExecCall(*s.expr, frame);
        return Flow::Normal;
    case StmtKind::If:
        for (const IfBranch& b : s.branches) {
            bool take = true;
            if (b.cond) {
                try {
                    take = Condition(*b.cond, frame);
                } catch (VbError& e) {
                    // An ElseIf reports its own line.
                    if (e.Line() == 0 && b.cond->line > 0)
                        e.SetPosition(b.cond->line, b.cond->column);
                    // Under On Error Resume Next a failing condition enters the branch.
                    if (!frame.resumeNext || e.Fatal())
                        throw;
                    m_err->Set(Positioned(std::move(e), s));
                    take = true;
                }
            }
            if (take)
                return ExecBlock(b.body, frame);
        }
        return Flow::Normal;
    case StmtKind::Select:
        return ExecSelect(s, frame);
    case StmtKind::For:
        return ExecFor(s, frame);
    case StmtKind::ForEach:
        return ExecForEach(s, frame);
    case StmtKind::Do:
    case StmtKind::While:
        return ExecDo(s, frame);
    case StmtKind::Exit:
        switch (s.exit) {
        case ExitKind::Do: return Flow::ExitDo;
        case ExitKind::For: return Flow::ExitFor;
        default: return Flow::ExitProc;
        }
    case StmtKind::Dim:
        ExecDim(s, frame);
        return Flow::Normal;
    case StmtKind::ReDim:
        ExecReDim(s, frame);
        return Flow::Normal;
    case StmtKind::Erase:
        ExecErase(s, frame);
        return Flow::Normal;
    case StmtKind::OnErrorResumeNext:
        frame.resumeNext = true;
        m_err->Clear();
        return Flow::Normal;
    case StmtKind::OnErrorGoto0:
        frame.resumeNext = false;
        m_err->Clear();
        return Flow::Normal;
    case StmtKind::With: {
        if (!frame.withStack)
            frame.withStack = std::make_unique<std::vector<Variant>>();
        frame.withStack->push_back(Eval(*s.expr, frame));
        WithPop pop{*frame.withStack};
        return ExecBlock(s.body, frame);
    }
    case StmtKind::Const:
    case StmtKind::Nop:
        return Flow::Normal;
    }
    return Flow::Normal;
}

Flow Interpreter::ExecSelect(const Stmt& s, Frame& frame)
{
    const Variant value = Eval(*s.expr, frame);
    const bool valueLiteral = s.expr->kind == ExprKind::Literal;
    for (const CaseClause& clause : s.cases) {
        bool match = clause.isElse;
        for (size_t i = 0; !match && i < clause.values.size(); ++i) {
            const Expr& ce = *clause.values[i];
            const Variant candidate = Eval(ce, frame);
            try {
                const Variant r = Ops::Cmp(Ops::Compare::Eq, value, candidate, valueLiteral,
                                           ce.kind == ExprKind::Literal);
                match = r.GetTag() == Variant::Tag::Boolean && r.BoolValue();
            } catch (const VbError& e) {
                // A text that is no number does not match a number: no type mismatch.
                const bool textAgainstNumber = (value.IsString() && candidate.IsNumeric())
                                               || (candidate.IsString() && value.IsNumeric());
                if (e.Number() != Err::TypeMismatch || !textAgainstNumber)
                    throw;
            }
        }
        if (match)
            return ExecBlock(clause.body, frame);
    }
    return Flow::Normal;
}

Flow Interpreter::ExecFor(const Stmt& s, Frame& frame)
{
    const Variant start = Convert::ToNumber(Eval(*s.expr, frame));
    const Variant end = Convert::ToNumber(Eval(*s.to, frame));
    const Variant step = s.step ? Convert::ToNumber(Eval(*s.step, frame)) : Variant::Int(1);
    if (start.IsNull() || end.IsNull() || step.IsNull())
        throw VbError(Err::InvalidNull);
    const bool up = Convert::ToDouble(step) >= 0;
    const bool fast = end.IsIntegral() && step.IsIntegral();
    Assign(*s.target, start, false, frame);
    for (;;) {
        Tick();
        Variant* var = Ref(*s.target, frame, true);
        if (!var)
            throw VbError(Err::VariableUndefined);
        if (fast && var->IsIntegral()) {
            const qint64 cur = var->IntValue();
            if (up ? cur > end.IntValue() : cur < end.IntValue())
                break;
        } else {
            const std::optional<int> c = Ops::Order(*var, end, false, false, false);
            if (!c || (up ? *c > 0 : *c < 0))
                break;
        }
        const Flow flow = ExecBlock(s.body, frame);
        if (flow == Flow::ExitFor)
            break;
        if (flow != Flow::Normal)
            return flow;
        var = Ref(*s.target, frame, true);
        *var = Ops::Add(*var, step);
    }
    return Flow::Normal;
}

Flow Interpreter::ExecForEach(const Stmt& s, Frame& frame)
{
    const Variant collection = Eval(*s.expr, frame);
    std::shared_ptr<VbArray> array;
    std::vector<Variant> items;
    size_t count = 0;
    if (collection.IsArray()) {
        array = collection.ArrValue();
        count = array->data.size();
    } else if (collection.IsObject() && collection.ObjValue()) {
        if (!collection.ObjValue()->Enumerate(items))
            throw VbError(Err::NotCollection);
        count = items.size();
    } else {
        throw VbError(collection.IsObject() ? Err::ObjectNotSet : Err::NotCollection);
    }
    for (size_t i = 0; i < count; ++i) {
        Tick();
        Variant* var = Ref(*s.target, frame, true);
        if (!var)
            throw VbError(Err::VariableUndefined);
        *var = array ? array->data[i] : items[i];
        const Flow flow = ExecBlock(s.body, frame);
        if (flow == Flow::ExitFor)
            break;
        if (flow != Flow::Normal)
            return flow;
    }
    return Flow::Normal;
}

Flow Interpreter::ExecDo(const Stmt& s, Frame& frame)
{
    for (;;) {
        Tick();
        if (s.expr && !s.condAtEnd) {
            const bool c = Condition(*s.expr, frame);
            if (s.until ? c : !c)
                break;
        }
        const Flow flow = ExecBlock(s.body, frame);
        if (flow == Flow::ExitDo && s.kind == StmtKind::Do)
            break;
        if (flow != Flow::Normal)
            return flow;
        if (s.expr && s.condAtEnd) {
            const bool c = Condition(*s.expr, frame);
            if (s.until ? c : !c)
                break;
        }
    }
    return Flow::Normal;
}

void Interpreter::ExecCall(const Expr& call, Frame& frame)
{
    switch (call.kind) {
    case ExprKind::Member:
        EvalMember(call, frame, InvokeKind::Call, nullptr);
        return;
    case ExprKind::Dynamic:
        EvalDynamic(call, frame, true);
        return;
    case ExprKind::Local:
    case ExprKind::Global:
    case ExprKind::Field: {
        // A variable named as a statement: an object runs its default member.
        const Variant v = Eval(call, frame);
        if (v.IsObject() && v.ObjValue())
            InvokeObject(v.ObjValue(), QString(), InvokeKind::Call, {}, false);
        else
            throw VbError(Err::TypeMismatch);
        return;
    }
    default:
        Eval(call, frame);
        return;
    }
}

void Interpreter::ExecAppend(const Stmt& s, Frame& frame)
{
    // Right operands of the chain ((v & a) & b) & c, in source order.
    const Expr* pieces[16];
    int count = 0;
    const Expr* e = s.expr.get();
    while (e->kind == ExprKind::Binary && e->bin == BinOp::Concat) {
        if (count == 16) {
            Assign(*s.target, Eval(*s.expr, frame), false, frame);
            return;
        }
        pieces[count++] = e->right.get();
        e = e->left.get();
    }
    ArgList values{size_t(count)};
    for (int i = 0; i < count; ++i) {
        Variant piece = Eval(*pieces[count - 1 - i], frame);
        values.Value(size_t(i)).Swap(piece);
    }
    Variant* var = Ref(*s.target, frame, true);
    if (!var)
        throw VbError(Err::VariableUndefined);
    if (!var->IsString() && !var->IsEmpty()) {
        Variant result = *var;
        for (int i = 0; i < count; ++i)
            result = Ops::Concat(result, values.Value(size_t(i)));
        Assign(*s.target, std::move(result), false, frame);
        return;
    }
    if (var->IsEmpty()) {
        Variant text = Variant::Str(QString());
        var->Swap(text);
    }
    QString& text = var->StrRef();
    for (int i = 0; i < count; ++i) {
        const Variant& value = values.Value(size_t(i));
        if (value.IsNull())
            continue;
        if (value.IsString()) {
            StringLimit::Check(text.size() + value.StrValue().size());
            text += value.StrValue();
        } else {
            const QString piece = Convert::ToString(value);
            StringLimit::Check(text.size() + piece.size());
            text += piece;
        }
    }
}

void Interpreter::ExecDim(const Stmt& s, Frame& frame)
{
    for (const DimItem& item : s.dims) {
        if (!item.isArray)
            continue;
        Variant* var = Ref(*item.target, frame, true);
        if (!var)
            throw VbError(Err::VariableUndefined);
        if (var->IsArray())
            continue; // a declaration, not a reset: met again in a loop it keeps the array
        std::vector<qint32> upper;
        for (const ExprPtr& b : item.bounds)
            upper.push_back(Convert::ToLong(Eval(*b, frame)));
        auto array = ArrayOps::Make(upper, m_limits.maxArrayElements);
        array->fixedSize = !upper.empty();
        *var = Variant::Array(std::move(array));
    }
}

void Interpreter::ExecReDim(const Stmt& s, Frame& frame)
{
    for (const DimItem& item : s.dims) {
        std::vector<qint32> upper;
        for (const ExprPtr& b : item.bounds)
            upper.push_back(Convert::ToLong(Eval(*b, frame)));
        Variant* var = Ref(*item.target, frame, true);
        if (!var)
            throw VbError(Err::VariableUndefined);
        if (var->IsArray() && (var->ArrValue()->fixedSize || var->ArrValue()->locks > 0))
            throw VbError(Err::ArrayLocked);
        if (s.preserve && var->IsArray() && !var->ArrValue()->upper.empty()) {
            // Resized on a copy: shrinking releases elements, whose
            // Class_Terminate may run script code against this variable.
            auto array = std::make_shared<VbArray>(*var->ArrValue());
            ArrayOps::Resize(*array, upper, m_limits.maxArrayElements);
            *var = Variant::Array(std::move(array));
        } else {
            *var = Variant::Array(ArrayOps::Make(upper, m_limits.maxArrayElements));
        }
    }
}

void Interpreter::ExecErase(const Stmt& s, Frame& frame)
{
    for (const ExprPtr& target : s.targets) {
        Variant* var = Ref(*target, frame, true);
        if (!var)
            throw VbError(Err::VariableUndefined);
        if (!var->IsArray())
            throw VbError(Err::TypeMismatch);
        const VbArray& old = *var->ArrValue();
        if (old.fixedSize) {
            auto array = ArrayOps::Make(old.upper, m_limits.maxArrayElements);
            array->fixedSize = true;
            *var = Variant::Array(std::move(array));
        } else {
            *var = Variant::Array(std::make_shared<VbArray>());
        }
    }
}

} // namespace vbs
