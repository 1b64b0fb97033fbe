#include "script/Resolver.h"

#include "script/Builtins.h"
#include "script/ScriptError.h"
#include "script/VariantOps.h"

#include <QSet>
#include <optional>

namespace vbs {

namespace {

[[noreturn]] void FailAt(qint32 error, int line, int column = 0)
{
    VbError e(error);
    e.SetPosition(line, column);
    throw e;
}

class Resolver
{
public:
    Resolver(GlobalScope& scope, bool optionExplicit) : m_scope(scope), m_explicit(optionExplicit) {}

    void RegisterUnit(Unit& unit)
    {
        for (auto& cls : unit.classes)
            RegisterClass(*cls);
        for (auto& proc : unit.procs) {
            // A procedure written twice in one text: the later one wins, for
            // the calls before it too.
            const GlobalSymbol* existing = m_scope.Find(proc->lower);
            const bool redeclared = existing && existing->kind == GlobalSymbol::Kind::Proc
                                    && m_unitNames.contains(proc->lower);
            if (!redeclared && (existing || m_unitNames.contains(proc->lower)))
                FailAt(Err::NameRedefined, proc->line);
            GlobalSymbol symbol;
            symbol.kind = GlobalSymbol::Kind::Proc;
            symbol.proc = proc.get();
            m_scope.Add(proc->lower, symbol);
            m_unitNames.insert(proc->lower);
        }
    }

    // Script-level Dim, ReDim and Const, wherever they stand.
    void DeclareTopLevel(Block& block, bool inProc)
    {
        for (auto& stmt : block) {
            switch (stmt->kind) {
            case StmtKind::Dim:
                for (DimItem& item : stmt->dims)
                    DeclareGlobal(*item.target, true, inProc);
                break;
            case StmtKind::ReDim:
                for (DimItem& item : stmt->dims)
                    DeclareGlobal(*item.target, false, inProc);
                break;
            case StmtKind::Const:
                if (!inProc)
                    DeclareConstants(*stmt, nullptr);
                break;
            default:
                DeclareNested(*stmt, [this, inProc](Block& b) { DeclareTopLevel(b, inProc); });
                break;
            }
        }
    }

    void ResolveTopLevel(Block& block, const ProcDef* hostProc, const ClassDef* hostClass)
    {
        m_proc = nullptr;
        m_hostProc = hostProc;
        m_cls = hostClass;
        ResolveBlock(block);
    }

    void ResolveProc(ProcDef& proc, const ClassDef* cls)
    {
        m_proc = &proc;
        m_hostProc = nullptr;
        m_cls = cls;
        proc.owner = cls;
        proc.optionExplicit = m_explicit;
        for (const Param& p : proc.params)
            AddLocal(p.name.toLower(), proc.line);
        if ((proc.kind == ProcKind::Function || proc.kind == ProcKind::PropertyGet)
            && !proc.localNames.contains(proc.lower))
            proc.returnSlot = AddLocal(proc.lower, proc.line);
        else if (proc.kind == ProcKind::Function || proc.kind == ProcKind::PropertyGet)
            proc.returnSlot = proc.localNames.value(proc.lower);
        DeclareLocals(proc.body);
        ResolveBlock(proc.body);
        m_proc = nullptr;
    }

    void ResolveExpr(Expr& e, bool assignTarget = false, bool declare = false);

private:
    template<typename F>
    void DeclareNested(Stmt& stmt, F&& visit)
    {
        visit(stmt.body);
        for (IfBranch& b : stmt.branches)
            visit(b.body);
        for (CaseClause& c : stmt.cases)
            visit(c.body);
    }

    void RegisterClass(ClassDef& cls)
    {
        if (m_scope.Find(cls.lower) || m_unitNames.contains(cls.lower))
            FailAt(Err::NameRedefined, cls.procs.empty() ? 0 : cls.procs.front()->line);
        m_unitNames.insert(cls.lower);
        GlobalSymbol symbol;
        symbol.kind = GlobalSymbol::Kind::Class;
        symbol.cls = &cls;
        m_scope.Add(cls.lower, symbol);
        for (int i = 0; i < int(cls.fields.size()); ++i)
            cls.members[cls.fields[size_t(i)].lower].field = i;
        for (auto& proc : cls.procs) {
            proc->owner = &cls;
            if (proc->lower == QLatin1String("class_initialize") || proc->lower == QLatin1String("class_terminate")) {
                if (!proc->params.empty() || proc->kind != ProcKind::Sub)
                    FailAt(Err::InitTerminateArgs, proc->line);
                (proc->lower.endsWith(QLatin1String("initialize")) ? cls.initialize : cls.terminate) = proc.get();
                continue;
            }
            MemberEntry& entry = cls.members[proc->lower];
            const ProcDef** place = nullptr;
            switch (proc->kind) {
            case ProcKind::Sub: place = &entry.method; break;
            case ProcKind::Function:
            case ProcKind::PropertyGet: place = &entry.get; break;
            case ProcKind::PropertyLet: place = &entry.let; break;
            case ProcKind::PropertySet: place = &entry.set; break;
            }
            if (*place || entry.field >= 0 || (proc->kind == ProcKind::Sub && entry.get)
                || (proc->kind == ProcKind::Function && entry.method))
                FailAt(Err::NameRedefined, proc->line);
            *place = proc.get();
            if (proc->isDefault) {
                if (!cls.defaultMember.isEmpty() && cls.defaultMember != proc->lower)
                    FailAt(Err::MultipleDefault, proc->line);
                cls.defaultMember = proc->lower;
            }
        }
    }

    void DeclareGlobal(Expr& target, bool isDim, bool inProc)
    {
        if (inProc)
            return;
        const GlobalSymbol* existing = m_scope.Find(target.lower);
        if (existing) {
            if (existing->kind != GlobalSymbol::Kind::Variable || (isDim && m_unitNames.contains(target.lower)))
                FailAt(Err::NameRedefined, target.line, target.column);
            return;
        }
        if (m_scope.FindConstant(target.lower))
            FailAt(Err::NameRedefined, target.line, target.column);
        m_scope.AddVariable(target.lower);
        m_unitNames.insert(target.lower);
    }

    void DeclareConstants(Stmt& stmt, ProcDef* proc)
    {
        for (DimItem& item : stmt.dims) {
            const QString& name = item.target->lower;
            ResolveExpr(*item.bounds[0]);
            const std::optional<Variant> value = Fold(*item.bounds[0]);
            if (!value)
                FailAt(Err::ExpectedLiteral, item.target->line, item.target->column);
            if (proc) {
                if (proc->localNames.contains(name) || proc->constants.contains(name))
                    FailAt(Err::NameRedefined, item.target->line, item.target->column);
                proc->constants.insert(name, *value);
            } else {
                if (m_scope.Find(name) || m_unitNames.contains(name))
                    FailAt(Err::NameRedefined, item.target->line, item.target->column);
                m_scope.AddConstant(name, *value);
                m_unitNames.insert(name);
            }
        }
        stmt.kind = StmtKind::Nop;
    }

    void DeclareLocals(Block& block)
    {
        for (auto& stmt : block) {
            if (stmt->kind == StmtKind::Dim) {
                for (DimItem& item : stmt->dims) {
                    if (m_proc->localNames.contains(item.target->lower)
                        && m_proc->localNames.value(item.target->lower) != m_proc->returnSlot)
                        FailAt(Err::NameRedefined, item.target->line, item.target->column);
                    if (!m_proc->localNames.contains(item.target->lower))
                        AddLocal(item.target->lower, item.target->line);
                }
            } else if (stmt->kind == StmtKind::Const) {
                DeclareConstants(*stmt, m_proc);
            } else {
                DeclareNested(*stmt, [this](Block& b) { DeclareLocals(b); });
            }
        }
    }

    int AddLocal(const QString& lower, int line)
    {
        if (m_proc->localNames.contains(lower))
            FailAt(Err::NameRedefined, line);
        const int slot = m_proc->localCount++;
        m_proc->localNames.insert(lower, slot);
        return slot;
    }

    static std::optional<Variant> Fold(const Expr& e)
    {
        try {
            switch (e.kind) {
            case ExprKind::Literal:
                return e.value;
            case ExprKind::Paren:
                return Fold(*e.left);
            case ExprKind::Unary: {
                const std::optional<Variant> v = Fold(*e.left);
                if (!v)
                    return std::nullopt;
                return e.unary == 'N' ? Ops::Not(*v) : Ops::Neg(*v);
            }
            case ExprKind::Binary: {
                const std::optional<Variant> a = Fold(*e.left);
                const std::optional<Variant> b = a ? Fold(*e.right) : std::nullopt;
                if (!a || !b)
                    return std::nullopt;
                switch (e.bin) {
                case BinOp::Add: return Ops::Add(*a, *b);
                case BinOp::Sub: return Ops::Sub(*a, *b);
                case BinOp::Mul: return Ops::Mul(*a, *b);
                case BinOp::Div: return Ops::Div(*a, *b);
                case BinOp::IntDiv: return Ops::IntDiv(*a, *b);
                case BinOp::Mod: return Ops::Mod(*a, *b);
                case BinOp::Pow: return Ops::Pow(*a, *b);
                case BinOp::Concat: return Ops::Concat(*a, *b);
                case BinOp::And: return Ops::And(*a, *b);
                case BinOp::Or: return Ops::Or(*a, *b);
                case BinOp::Xor: return Ops::Xor(*a, *b);
                case BinOp::Eqv: return Ops::Eqv(*a, *b);
                case BinOp::Imp: return Ops::Imp(*a, *b);
                default: return std::nullopt;
                }
            }
            default:
                return std::nullopt;
            }
        } catch (const VbError&) {
            return std::nullopt;
        }
    }

    void ResolveBlock(Block& block)
    {
        for (auto& stmt : block)
            ResolveStmt(*stmt);
    }

    void ResolveStmt(Stmt& s)
    {
        switch (s.kind) {
        case StmtKind::Assign:
        case StmtKind::Set:
            ResolveExpr(*s.target, true);
            ResolveExpr(*s.expr);
            CheckAssignable(*s.target, s.line);
            s.appendInPlace = s.kind == StmtKind::Assign && IsAppendTo(*s.target, *s.expr);
            break;
        case StmtKind::Call:
            ResolveExpr(*s.expr);
            break;
        case StmtKind::If:
            for (IfBranch& b : s.branches) {
                if (b.cond)
                    ResolveExpr(*b.cond);
                ResolveBlock(b.body);
            }
            break;
        case StmtKind::Select:
            ResolveExpr(*s.expr);
            for (CaseClause& c : s.cases) {
                for (auto& v : c.values)
                    ResolveExpr(*v);
                ResolveBlock(c.body);
            }
            break;
        case StmtKind::For:
            ResolveExpr(*s.target, true);
            ResolveExpr(*s.expr);
            ResolveExpr(*s.to);
            if (s.step)
                ResolveExpr(*s.step);
            CheckLoopVariable(*s.target, s.line);
            ++m_forDepth;
            ResolveBlock(s.body);
            --m_forDepth;
            break;
        case StmtKind::ForEach:
            ResolveExpr(*s.target, true);
            ResolveExpr(*s.expr);
            CheckLoopVariable(*s.target, s.line);
            ++m_forDepth;
            ResolveBlock(s.body);
            --m_forDepth;
            break;
        case StmtKind::Do:
        case StmtKind::While:
            if (s.expr)
                ResolveExpr(*s.expr);
            if (s.kind == StmtKind::Do)
                ++m_doDepth;
            ResolveBlock(s.body);
            if (s.kind == StmtKind::Do)
                --m_doDepth;
            break;
        case StmtKind::Exit:
            CheckExit(s);
            break;
        case StmtKind::Dim:
        case StmtKind::ReDim:
            for (DimItem& item : s.dims) {
                ResolveExpr(*item.target, true, s.kind == StmtKind::ReDim);
                for (auto& b : item.bounds)
                    ResolveExpr(*b);
            }
            break;
        case StmtKind::Erase:
            for (auto& t : s.targets)
                ResolveExpr(*t, true);
            break;
        case StmtKind::With:
            ResolveExpr(*s.expr);
            ResolveBlock(s.body);
            break;
        case StmtKind::Const:
            // Constants inside blocks of script-level code (procedures fold theirs first).
            DeclareConstants(s, m_proc);
            break;
        case StmtKind::OnErrorResumeNext:
        case StmtKind::OnErrorGoto0:
        case StmtKind::Nop:
            break;
        }
    }

    void CheckExit(const Stmt& s)
    {
        bool ok = false;
        switch (s.exit) {
        case ExitKind::Do: ok = m_doDepth > 0; break;
        case ExitKind::For: ok = m_forDepth > 0; break;
        case ExitKind::Function: ok = m_proc && m_proc->kind == ProcKind::Function; break;
        case ExitKind::Sub: ok = m_proc && m_proc->kind == ProcKind::Sub; break;
        case ExitKind::Property:
            ok = m_proc && m_proc->kind != ProcKind::Sub && m_proc->kind != ProcKind::Function;
            break;
        }
        if (!ok)
            FailAt(Err::InvalidExit, s.line, s.column);
    }

    static void CheckAssignable(const Expr& target, int line)
    {
        switch (target.kind) {
        case ExprKind::Local: case ExprKind::Global: case ExprKind::Field: case ExprKind::Dynamic:
        case ExprKind::ArrayIndex: case ExprKind::Member: case ExprKind::Index: case ExprKind::Call:
            return;
        default:
            FailAt(Err::IllegalAssignment, line, target.column);
        }
    }

    static void CheckLoopVariable(const Expr& target, int line)
    {
        switch (target.kind) {
        case ExprKind::Local: case ExprKind::Global: case ExprKind::Field: case ExprKind::Dynamic:
            return;
        default:
            FailAt(Err::InvalidForVariable, line, target.column);
        }
    }

    static bool SameVariable(const Expr& a, const Expr& b)
    {
        return a.kind == b.kind && a.slot == b.slot && b.args.empty()
               && (a.kind == ExprKind::Local || a.kind == ExprKind::Global || a.kind == ExprKind::Field);
    }

    static bool IsAppendTo(const Expr& target, const Expr& value)
    {
        const Expr* e = &value;
        if (e->kind != ExprKind::Binary || e->bin != BinOp::Concat)
            return false;
        while (e->kind == ExprKind::Binary && e->bin == BinOp::Concat)
            e = e->left.get();
        return SameVariable(target, *e);
    }

    void MakeVariable(Expr& e, ExprKind kind, int slot)
    {
        if (!e.args.empty() || e.hasParens) {
            auto base = std::make_unique<Expr>();
            base->kind = kind;
            base->slot = slot;
            base->line = e.line;
            base->column = e.column;
            base->name = e.name;
            base->lower = e.lower;
            e.left = std::move(base);
            e.kind = ExprKind::ArrayIndex;
        } else {
            e.kind = kind;
            e.slot = slot;
        }
    }

    void MakeMeMember(Expr& e)
    {
        auto me = std::make_unique<Expr>();
        me->kind = ExprKind::Me;
        me->line = e.line;
        e.left = std::move(me);
        e.kind = ExprKind::Member;
        e.allowPrivate = true;
    }

    void ResolveName(Expr& e, bool assignTarget, bool declare);

    GlobalScope& m_scope;
    bool m_explicit;
    ProcDef* m_proc = nullptr;
    const ProcDef* m_hostProc = nullptr; // Execute and Eval inside a procedure
    const ClassDef* m_cls = nullptr;
    QSet<QString> m_unitNames;
    int m_forDepth = 0;
    int m_doDepth = 0;
};

void Resolver::ResolveExpr(Expr& e, bool assignTarget, bool declare)
{
    // A name no one declared, passed as an argument, is looked up when run:
    // a by-reference parameter assigned in the callee creates it then.
    for (auto& arg : e.args)
        if (arg)
            ResolveExpr(*arg);
    switch (e.kind) {
    case ExprKind::Name:
        ResolveName(e, assignTarget, declare);
        return;
    case ExprKind::Member:
        if (e.left) {
            ResolveExpr(*e.left);
            if (e.left->kind == ExprKind::Me)
                e.allowPrivate = true;
        }
        return;
    case ExprKind::Index:
    case ExprKind::Paren:
    case ExprKind::Unary:
        ResolveExpr(*e.left);
        return;
    case ExprKind::Binary:
        ResolveExpr(*e.left);
        ResolveExpr(*e.right);
        return;
    case ExprKind::New:
        if (const GlobalSymbol* s = m_scope.Find(e.lower); s && s->kind == GlobalSymbol::Kind::Class)
            e.cls = s->cls;
        return;
    case ExprKind::Me:
        if (!m_cls)
            FailAt(Err::InvalidMe, e.line, e.column);
        return;
    default:
        return;
    }
}

void Resolver::ResolveName(Expr& e, bool assignTarget, bool declare)
{
    const QString& name = e.lower;
    const ProcDef* locals = m_proc ? m_proc : m_hostProc;
    if (locals) {
        const auto it = locals->localNames.constFind(name);
        if (it != locals->localNames.constEnd()) {
            const bool recursiveCall = *it == locals->returnSlot && e.hasParens;
            if (!recursiveCall) {
                MakeVariable(e, ExprKind::Local, *it);
                return;
            }
        } else if (const auto c = locals->constants.constFind(name); c != locals->constants.constEnd()) {
            e.kind = e.args.empty() ? ExprKind::Literal : ExprKind::Index;
            if (e.kind == ExprKind::Index) {
                e.left = std::make_unique<Expr>();
                e.left->value = *c;
            } else {
                e.value = *c;
            }
            return;
        }
    }
    if (m_cls) {
        const auto it = m_cls->members.constFind(name);
        if (it != m_cls->members.constEnd()) {
            if (it->field >= 0)
                MakeVariable(e, ExprKind::Field, it->field);
            else
                MakeMeMember(e);
            return;
        }
    }
    if (const GlobalSymbol* s = m_scope.Find(name)) {
        switch (s->kind) {
        case GlobalSymbol::Kind::Variable:
            MakeVariable(e, ExprKind::Global, s->slot);
            return;
        case GlobalSymbol::Kind::Proc:
            e.kind = ExprKind::Call;
            e.proc = s->proc;
            for (const ExprPtr& a : e.args)
                e.elementArgs = e.elementArgs || (a && a->kind == ExprKind::ArrayIndex);
            return;
        case GlobalSymbol::Kind::Class:
            if (assignTarget || declare)
                FailAt(Err::NameRedefined, e.line, e.column);
            break;
        case GlobalSymbol::Kind::HostFunction:
            break; // looked up when run
        }
    } else if (const Variant* c = m_scope.FindConstant(name)) {
        if (e.args.empty() && !e.hasParens) {
            e.kind = ExprKind::Literal;
            e.value = *c;
            return;
        }
    } else if (const std::optional<Variant> c = Builtins::Constant(name)) {
        if (e.args.empty() && !e.hasParens) {
            e.kind = ExprKind::Literal;
            e.value = *c;
            return;
        }
    } else if (const int b = Builtins::Find(name); b >= 0) {
        e.kind = ExprKind::Builtin;
        e.builtin = b;
        return;
    }
    if ((assignTarget && !m_explicit) || declare) {
        if (m_proc) {
            MakeVariable(e, ExprKind::Local, AddLocal(name, e.line));
            return;
        }
        if (!m_hostProc || declare) {
            MakeVariable(e, ExprKind::Global, m_scope.AddVariable(name));
            return;
        }
    }
    e.kind = ExprKind::Dynamic;
    e.explicitVar = m_explicit;
}

} // namespace

void ResolveUnit(Unit& unit, GlobalScope& scope, const ProcDef* hostProc, const ClassDef* hostClass)
{
    Resolver resolver(scope, unit.optionExplicit);
    resolver.RegisterUnit(unit);
    resolver.DeclareTopLevel(unit.topLevel, false);
    resolver.ResolveTopLevel(unit.topLevel, hostProc, hostClass);
    for (auto& proc : unit.procs)
        resolver.ResolveProc(*proc, nullptr);
    for (auto& cls : unit.classes)
        for (auto& proc : cls->procs)
            resolver.ResolveProc(*proc, cls.get());
}

void ResolveExpression(Expr& expr, GlobalScope& scope, const ProcDef* hostProc, const ClassDef* hostClass,
                       bool optionExplicit)
{
    Resolver resolver(scope, optionExplicit);
    Block none;
    resolver.ResolveTopLevel(none, hostProc, hostClass);
    resolver.ResolveExpr(expr);
}

} // namespace vbs
