// Expressions: variables, calls, members, array elements and assignment.
#include "script/Interpreter.h"

#include "script/ArgList.h"
#include "script/ArrayOps.h"
#include "script/Builtins.h"
#include "script/ClassInstance.h"
#include "script/Convert.h"
#include "script/RegExp.h"
#include "script/ScriptError.h"
#include "script/StringLimit.h"
#include "script/VariantOps.h"

namespace vbs {

namespace {

bool IsVariable(const Expr& e)
{
    return e.kind == ExprKind::Local || e.kind == ExprKind::Global || e.kind == ExprKind::Field
           || e.kind == ExprKind::Dynamic;
}

} // namespace

// Plain variables are passed by reference when `byRef` is set.
void Interpreter::FillArgs(ArgList& list, const std::vector<ExprPtr>& exprs, Frame& frame, bool byRef)
{
    for (size_t i = 0; i < exprs.size(); ++i) {
        const Expr* a = exprs[i].get();
        if (!a) {
            list.Value(i) = Variant::Missing();
        } else if (byRef && IsVariable(*a) && a->args.empty()) {
            if (Variant* v = Ref(*a, frame, !a->explicitVar))
                list.Point(i, v);
            else
                list.Value(i) = Eval(*a, frame);
        } else if (byRef && a->kind == ExprKind::ArrayIndex && IsVariable(*a->left)) {
            Variant* array = Ref(*a->left, frame, false);
            if (!array || !array->IsArray()) {
                list.Value(i) = Eval(*a, frame);
                continue;
            }
            std::vector<Variant> indexes;
            std::vector<Variant*> pointers;
            indexes.reserve(a->args.size());
            for (const ExprPtr& index : a->args)
                indexes.push_back(index ? Eval(*index, frame) : Variant::Missing());
            for (Variant& index : indexes)
                pointers.push_back(&index);
            list.Value(i) = ArrayOps::Element(*array->ArrValue(), pointers);
            list.AddElement(i, array, std::move(indexes));
        } else {
            list.Value(i) = Eval(*a, frame);
        }
    }
}

Variant Interpreter::EvalBinary(const Expr& e, Frame& frame)
{
    Variant ta, tb;
    auto [pa, pb] = Operands(e, frame, ta, tb);
    if ((pa->IsObject() || pb->IsObject()) && e.bin != BinOp::Is) {
        // Operators work on values: an object gives its default member's.
        Variant va = Convert::Scalar(*pa);
        Variant vb = Convert::Scalar(*pb);
        ta = std::move(va);
        tb = std::move(vb);
        pa = &ta;
        pb = &tb;
    }
    const Variant& a = *pa;
    const Variant& b = *pb;
    if (a.GetTag() == Variant::Tag::Integer && b.GetTag() == Variant::Tag::Integer) {
        // Integer arithmetic stays Integer unless it overflows.
        const qint64 x = a.IntValue(), y = b.IntValue();
        qint64 r = 0;
        bool done = true;
        switch (e.bin) {
        case BinOp::Add: r = x + y; break;
        case BinOp::Sub: r = x - y; break;
        case BinOp::Mul: r = x * y; break;
        default: done = false; break;
        }
        if (done)
            return r >= -32768 && r <= 32767 ? Variant::Int(qint16(r)) : Variant::FromInteger(r);
    }
    switch (e.bin) {
    case BinOp::Add: return Ops::Add(a, b);
    case BinOp::Sub: return Ops::Sub(a, b);
    case BinOp::Mul: return Ops::Mul(a, b);
    case BinOp::Div: return Ops::Div(a, b);
    case BinOp::IntDiv: return Ops::IntDiv(a, b);
    case BinOp::Mod: return Ops::Mod(a, b);
    case BinOp::Pow: return Ops::Pow(a, b);
    case BinOp::Concat:
        if (a.IsString() && b.IsString()) {
            StringLimit::Check(a.StrValue().size() + b.StrValue().size());
            return Variant::Str(a.StrValue() + b.StrValue());
        } else {
            Variant r = Ops::Concat(a, b);
            if (r.IsString())
                StringLimit::Check(r.StrValue().size());
            return r;
        }
    case BinOp::Eq: return Ops::Cmp(Ops::Compare::Eq, a, b, e.left->kind == ExprKind::Literal, e.right->kind == ExprKind::Literal);
    case BinOp::Ne: return Ops::Cmp(Ops::Compare::Ne, a, b, e.left->kind == ExprKind::Literal, e.right->kind == ExprKind::Literal);
    case BinOp::Lt: return Ops::Cmp(Ops::Compare::Lt, a, b, e.left->kind == ExprKind::Literal, e.right->kind == ExprKind::Literal);
    case BinOp::Le: return Ops::Cmp(Ops::Compare::Le, a, b, e.left->kind == ExprKind::Literal, e.right->kind == ExprKind::Literal);
    case BinOp::Gt: return Ops::Cmp(Ops::Compare::Gt, a, b, e.left->kind == ExprKind::Literal, e.right->kind == ExprKind::Literal);
    case BinOp::Ge: return Ops::Cmp(Ops::Compare::Ge, a, b, e.left->kind == ExprKind::Literal, e.right->kind == ExprKind::Literal);
    case BinOp::Is: return Variant::Bool(Ops::Is(a, b));
    case BinOp::And: return Ops::And(a, b);
    case BinOp::Or: return Ops::Or(a, b);
    case BinOp::Xor: return Ops::Xor(a, b);
    case BinOp::Eqv: return Ops::Eqv(a, b);
    case BinOp::Imp: return Ops::Imp(a, b);
    }
    return {};
}

Variant Interpreter::EvalComplex(const Expr& e, Frame& frame)
{
    switch (e.kind) {
    case ExprKind::Literal:
        return e.value;
    case ExprKind::Local:
        return *frame.slots[e.slot];
    case ExprKind::Global:
        if (size_t(e.slot) >= m_globals.size())
            m_globals.resize(size_t(m_own.SlotCount()));
        return m_globals[size_t(e.slot)];
    case ExprKind::Field:
        if (!frame.self)
            throw VbError(Err::InvalidReference);
        return frame.self->Field(e.slot);
    case ExprKind::Dynamic:
        return EvalDynamic(e, frame, false);
    case ExprKind::Call:
        return e.elementArgs ? CallUser(e, frame) : CallDirect(*e.proc, e.args, frame);
    case ExprKind::Builtin:
        return CallBuiltin(e, frame);
    case ExprKind::ArrayIndex: {
        Variant* base = Ref(*e.left, frame, false);
        if (!base)
            return IndexValue(Eval(*e.left, frame), e, frame, InvokeKind::Get, nullptr);
        if (base->IsArray()) {
            ArgList indexes(e.args.size());
            FillArgs(indexes, e.args, frame, false);
            return ArrayOps::Element(*base->ArrValue(), indexes.Pointers());
        }
        const Variant copy = *base;
        return IndexValue(copy, e, frame, InvokeKind::Get, nullptr);
    }
    case ExprKind::Member:
        return EvalMember(e, frame, InvokeKind::Get, nullptr);
    case ExprKind::Index:
        return IndexValue(Eval(*e.left, frame), e, frame, InvokeKind::Get, nullptr);
    case ExprKind::Paren:
        return Eval(*e.left, frame);
    case ExprKind::Unary: {
        const Variant v = Convert::Scalar(Eval(*e.left, frame));
        return e.unary == 'N' ? Ops::Not(v) : Ops::Neg(v);
    }
    case ExprKind::Binary:
        return EvalBinary(e, frame);
    case ExprKind::New: {
        const ClassDef* cls = e.cls;
        if (!cls) {
            const GlobalScope scope(m_base.get(), &m_own);
            const GlobalSymbol* s = scope.Find(e.lower);
            if (!s || s->kind != GlobalSymbol::Kind::Class) {
                if (e.lower == QLatin1String("regexp"))
                    return Variant::Object(std::make_shared<RegExpObject>());
                throw VbError(Err::ClassNotDefined);
            }
            cls = s->cls;
        }
        return Variant::Object(NewInstance(*cls));
    }
    case ExprKind::Me:
        if (!frame.me)
            throw VbError(Err::InvalidMe);
        return Variant::Object(frame.me);
    case ExprKind::Name:
        break;
    }
    throw VbError(Err::VariableUndefined);
}

inline const Variant& Interpreter::Operand(const Expr& e, Frame& frame, Variant& temp)
{
    if (e.kind == ExprKind::Literal)
        return e.value;
    if (e.kind == ExprKind::Local)
        return *frame.slots[e.slot];
    temp = Eval(e, frame);
    return temp;
}

// Both operands, read in place when that cannot change what the left one
// was when it was read (the right one is a literal or a local).
inline std::pair<const Variant*, const Variant*> Interpreter::Operands(const Expr& e, Frame& frame, Variant& ta, Variant& tb)
{
    const bool rightSimple = e.right->kind == ExprKind::Literal || e.right->kind == ExprKind::Local;
    const Variant* a;
    if (rightSimple || e.left->kind == ExprKind::Literal) {
        a = &Operand(*e.left, frame, ta);
    } else {
        ta = Eval(*e.left, frame);
        a = &ta;
    }
    const Variant* b = &Operand(*e.right, frame, tb);
    return {a, b};
}

namespace {
// A literal or a local read in place; null for anything else.
inline const Variant* InPlace(const Expr& e, const Frame& frame)
{
    if (e.kind == ExprKind::Literal)
        return &e.value;
    if (e.kind == ExprKind::Local)
        return frame.slots[e.slot];
    return nullptr;
}

inline bool Holds(BinOp op, int c)
{
    switch (op) {
    case BinOp::Eq: return c == 0;
    case BinOp::Ne: return c != 0;
    case BinOp::Lt: return c < 0;
    case BinOp::Le: return c <= 0;
    case BinOp::Gt: return c > 0;
    default: return c >= 0;
    }
}
} // namespace

bool Interpreter::Condition(const Expr& cond, Frame& frame)
{
    if (cond.kind == ExprKind::Binary && cond.bin >= BinOp::Eq && cond.bin <= BinOp::Ge) {
        const bool leftLiteral = cond.left->kind == ExprKind::Literal;
        const bool rightLiteral = cond.right->kind == ExprKind::Literal;
        const Variant* a = InPlace(*cond.left, frame);
        const Variant* b = InPlace(*cond.right, frame);
        if (a && b) {
            const std::optional<int> c = Ops::Order(*a, *b, leftLiteral, rightLiteral, false);
            return c && Holds(cond.bin, *c);
        }
        Variant ta, tb;
        const auto [pa, pb] = Operands(cond, frame, ta, tb);
        const std::optional<int> c = Ops::Order(*pa, *pb, leftLiteral, rightLiteral, false);
        return c && Holds(cond.bin, *c); // Null is false
    }
    const Variant v = Eval(cond, frame);
    if (v.GetTag() == Variant::Tag::Boolean)
        return v.BoolValue();
    if (v.IsNull())
        return false;
    return Convert::ToBool(v);
}


Variant Interpreter::CallUser(const Expr& e, Frame& frame)
{
    ArgList args(e.args.size());
    FillArgs(args, e.args, frame, true);
    Variant result = CallProc(*e.proc, args.Pointers(), nullptr, nullptr);
    args.WriteBackElements();
    return result;
}

Variant Interpreter::CallBuiltin(const Expr& e, Frame& frame)
{
    const BuiltinInfo& info = Builtins::Get(e.builtin);
    const int count = int(e.args.size());
    if (count < info.minArgs || count > info.maxArgs)
        throw VbError(Err::WrongArgCount);
    ArgList args(e.args.size());
    FillArgs(args, e.args, frame, false);
    if (!info.keepsObjects) {
        for (Variant& value : args.Values())
            if (value.IsObject())
                value = Convert::ValueOf(value);
    }
    return info.fn(*this, args.Values());
}

Variant Interpreter::EvalDynamic(const Expr& e, Frame& frame, bool asStatement)
{
    const GlobalScope scope(m_base.get(), &m_own);
    const GlobalSymbol* found = scope.Find(e.lower);
    if (!found) {
        if (const int b = Builtins::Find(e.lower); b >= 0) {
            Expr call;
            call.kind = ExprKind::Builtin;
            call.builtin = b;
            // The arguments stay owned by e; borrow them for the call.
            auto& args = const_cast<std::vector<ExprPtr>&>(e.args);
            call.args.swap(args);
            struct Restore
            {
                std::vector<ExprPtr>& a;
                std::vector<ExprPtr>& b;
                ~Restore() { a.swap(b); }
            } restore{args, call.args};
            return CallBuiltin(call, frame);
        }
        if (e.explicitVar)
            throw VbError(Err::VariableUndefined, Err::Description(Err::VariableUndefined) + QStringLiteral(": '")
                                                      + e.name + QLatin1Char('\''));
        if (asStatement || !e.args.empty())
            throw VbError(Err::TypeMismatch, Err::Description(Err::TypeMismatch) + QStringLiteral(": '") + e.name
                                                 + QLatin1Char('\''));
        return {};
    }
    // A copy: evaluating the arguments may add names (Execute), which moves the table.
    const GlobalSymbol symbol = *found;
    const GlobalSymbol* s = &symbol;
    switch (s->kind) {
    case GlobalSymbol::Kind::Variable: {
        Variant* var = FindGlobalVariable(e.lower);
        if (e.args.empty() && !e.hasParens)
            return *var;
        if (var->IsArray()) {
            ArgList indexes(e.args.size());
            FillArgs(indexes, e.args, frame, false);
            return ArrayOps::Element(*var->ArrValue(), indexes.Pointers());
        }
        const Variant copy = *var;
        return IndexValue(copy, e, frame, InvokeKind::Get, nullptr);
    }
    case GlobalSymbol::Kind::Proc: {
        ArgList args(e.args.size());
        FillArgs(args, e.args, frame, true);
        Variant result = CallProc(*s->proc, args.Pointers(), nullptr, nullptr);
        args.WriteBackElements();
        return result;
    }
    case GlobalSymbol::Kind::HostFunction: {
        ArgList args(e.args.size());
        FillArgs(args, e.args, frame, false);
        const size_t index = size_t(s->slot);
        return m_hostFunctions[index](args.Values());
    }
    case GlobalSymbol::Kind::Class:
        break;
    }
    throw VbError(Err::TypeMismatch);
}

Variant Interpreter::WithObject(const Frame& frame) const
{
    if (!frame.withStack || frame.withStack->empty())
        throw VbError(Err::InvalidReference);
    return frame.withStack->back();
}

std::shared_ptr<ScriptObject> Interpreter::ObjectOf(const Variant& value) const
{
    // Nothing is no object to call a member on, as much as a number is not.
    if (!value.IsObject() || !value.ObjValue())
        throw VbError(Err::ObjectRequired);
    return value.ObjValue();
}

Variant Interpreter::InvokeObject(const std::shared_ptr<ScriptObject>& object, const QString& lower,
                                  InvokeKind kind, Args args, bool allowPrivate)
{
    if (allowPrivate) {
        if (auto* instance = dynamic_cast<ClassInstance*>(object.get()))
            return instance->InvokeMember(lower, kind, args, true);
    }
    return object->Invoke(lower, kind, args);
}

Variant Interpreter::EvalMember(const Expr& e, Frame& frame, InvokeKind kind, const Variant* assigned)
{
    const std::shared_ptr<ScriptObject> object = ObjectOf(e.left ? Eval(*e.left, frame) : WithObject(frame));
    ArgList args(e.args.size());
    FillArgs(args, e.args, frame, true);
    if (assigned)
        args.Append(assigned);
    Variant result = InvokeObject(object, e.lower, kind, args.Pointers(), e.allowPrivate);
    args.WriteBackElements();
    return result;
}

Variant Interpreter::IndexValue(const Variant& base, const Expr& e, Frame& frame, InvokeKind kind,
                                const Variant* assigned)
{
    if (base.IsArray()) {
        ArgList indexes(e.args.size());
        FillArgs(indexes, e.args, frame, false);
        return ArrayOps::Element(*base.ArrValue(), indexes.Pointers());
    }
    if (base.IsObject()) {
        const std::shared_ptr<ScriptObject> object = ObjectOf(base);
        ArgList args(e.args.size());
        FillArgs(args, e.args, frame, true);
        if (assigned)
            args.Append(assigned);
        return object->Invoke(QString(), kind, args.Pointers());
    }
    if (e.args.empty())
        return base;
    throw VbError(Err::TypeMismatch);
}

Variant* Interpreter::Ref(const Expr& e, Frame& frame, bool create)
{
    switch (e.kind) {
    case ExprKind::Local:
        return frame.slots[e.slot];
    case ExprKind::Global:
        if (size_t(e.slot) >= m_globals.size())
            m_globals.resize(size_t(m_own.SlotCount()));
        return &m_globals[size_t(e.slot)];
    case ExprKind::Field:
        if (!frame.self)
            throw VbError(Err::InvalidReference);
        return &frame.self->Field(e.slot);
    case ExprKind::Dynamic: {
        if (Variant* v = FindGlobalVariable(e.lower))
            return v;
        const GlobalScope scope(m_base.get(), &m_own);
        if (!create || e.explicitVar || scope.Find(e.lower))
            return nullptr;
        AddNamedValue(e.lower, Variant());
        return FindGlobalVariable(e.lower);
    }
    default:
        return nullptr;
    }
}

void Interpreter::Assign(const Expr& target, Variant value, bool isSet, Frame& frame)
{
    if (isSet) {
        if (!value.IsObject())
            throw VbError(Err::ObjectRequired);
    } else if (value.IsObject()) {
        value = Convert::Scalar(value);
    }
    switch (target.kind) {
    case ExprKind::Local:
    case ExprKind::Global:
    case ExprKind::Field:
    case ExprKind::Dynamic: {
        Variant* var = Ref(target, frame, true);
        if (!var) {
            if (target.kind == ExprKind::Dynamic && target.explicitVar)
                throw VbError(Err::VariableUndefined, Err::Description(Err::VariableUndefined) + QStringLiteral(": '")
                                                          + target.name + QLatin1Char('\''));
            throw VbError(Err::IllegalAssignment);
        }
        *var = std::move(value);
        return;
    }
    case ExprKind::ArrayIndex: {
        Variant* var = Ref(*target.left, frame, true);
        if (!var)
            throw VbError(Err::VariableUndefined);
        if (var->IsArray()) {
            ArgList indexes(target.args.size());
            FillArgs(indexes, target.args, frame, false);
            var = Ref(*target.left, frame, true); // evaluating the indexes may have run code
            if (!var->IsArray())
                throw VbError(Err::TypeMismatch);
            ArrayOps::Element(var->MutableArray(), indexes.Pointers()) = std::move(value);
            return;
        }
        if (var->IsObject()) {
            const Variant object = *var;
            IndexValue(object, target, frame, isSet ? InvokeKind::Set : InvokeKind::Let, &value);
            return;
        }
        throw VbError(Err::TypeMismatch);
    }
    case ExprKind::Member:
        EvalMember(target, frame, isSet ? InvokeKind::Set : InvokeKind::Let, &value);
        return;
    case ExprKind::Index: {
        const Variant base = Eval(*target.left, frame);
        if (!base.IsObject())
            throw VbError(Err::IllegalAssignment);
        IndexValue(base, target, frame, isSet ? InvokeKind::Set : InvokeKind::Let, &value);
        return;
    }
    default:
        throw VbError(Err::IllegalAssignment);
    }
}

} // namespace vbs
