#include "script/Parser.h"

#include "script/ScriptError.h"

#include <utility>

namespace vbs {

namespace {
bool IsSoftKeyword(Kw kw)
{
    switch (kw) {
    case Kw::Explicit: case Kw::Property: case Kw::Get: case Kw::Let: case Kw::Preserve: case Kw::Default:
    case Kw::Error: case Kw::Resume: case Kw::GoTo:
        return true;
    default:
        return false;
    }
}
// A statement that begins at `at`.
StmtPtr NewStmt(StmtKind kind, const Token& at)
{
    auto stmt = std::make_unique<Stmt>();
    stmt->kind = kind;
    stmt->line = at.line;
    stmt->column = at.column;
    return stmt;
}

} // namespace

Parser::Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens))
{
    if (m_tokens.empty() || m_tokens.back().type != Tok::End) {
        Token end;
        end.type = Tok::End;
        m_tokens.push_back(end);
    }
}

const Token& Parser::Peek(size_t ahead) const
{
    const size_t i = std::min(m_pos + ahead, m_tokens.size() - 1);
    return m_tokens[i];
}

const Token& Parser::Next()
{
    const Token& t = m_tokens[m_pos];
    if (m_pos + 1 < m_tokens.size())
        ++m_pos;
    return t;
}

bool Parser::AtKw(Kw kw, size_t ahead) const
{
    const Token& t = Peek(ahead);
    return t.type == Tok::Name && !t.bracketed && t.keyword == kw;
}

bool Parser::AtOp(char op, size_t ahead) const
{
    const Token& t = Peek(ahead);
    return t.type == Tok::Op && t.op == op;
}

bool Parser::AtNameToken(size_t ahead) const
{
    const Token& t = Peek(ahead);
    return t.type == Tok::Name && (t.bracketed || t.keyword == Kw::None || IsSoftKeyword(t.keyword));
}

bool Parser::AtEndOfStatement() const
{
    const Token& t = Peek();
    return t.type == Tok::Newline || t.type == Tok::End || (m_singleLineIf > 0 && AtKw(Kw::Else));
}

void Parser::ExpectKw(Kw kw, qint32 error)
{
    if (!AtKw(kw))
        Fail(error);
    Next();
}

void Parser::ExpectOp(char op, qint32 error)
{
    if (!AtOp(op))
        Fail(error);
    Next();
}

QString Parser::ExpectName()
{
    if (!AtNameToken())
        Fail(Err::ExpectedIdentifier);
    return Next().text;
}

void Parser::SkipNewlines()
{
    while (Peek().type == Tok::Newline)
        Next();
}

Parser::DepthGuard::DepthGuard(Parser& p) : parser(p)
{
    if (++parser.m_depth > MaxNesting)
        parser.Fail(Err::OutOfStack);
}

void Parser::Fail(qint32 error) const
{
    FailAt(error, Peek());
}

void Parser::FailAt(qint32 error, const Token& at) const
{
    VbError e(error);
    e.SetPosition(at.line, at.column);
    throw e;
}

void Parser::EndStatement()
{
    const Token& t = Peek();
    if (t.type == Tok::Newline) {
        // Inside a one-line If the If itself consumes the separators and the line end.
        if (m_singleLineIf == 0)
            Next();
        return;
    }
    if (t.type == Tok::End || (m_singleLineIf > 0 && AtKw(Kw::Else)))
        return;
    Fail(Err::ExpectedEndOfStatement);
}

std::unique_ptr<Unit> Parser::ParseUnit()
{
    auto unit = std::make_unique<Unit>();
    m_unit = unit.get();
    for (;;) {
        SkipNewlines();
        if (Peek().type == Tok::End)
            break;
        ParseTopLevelItem(*unit);
    }
    return unit;
}

ExprPtr Parser::ParseLoneExpression()
{
    SkipNewlines();
    ExprPtr e = ParseExpr();
    SkipNewlines();
    if (Peek().type != Tok::End)
        Fail(Err::ExpectedEndOfStatement);
    return e;
}

void Parser::ParseTopLevelItem(Unit& unit)
{
    if (AtKw(Kw::Option)) {
        Next();
        ExpectKw(Kw::Explicit, Err::Syntax);
        unit.optionExplicit = true;
        EndStatement();
        return;
    }
    bool isPublic = true;
    bool hasScope = false;
    const size_t start = m_pos;
    if (AtKw(Kw::Public) || AtKw(Kw::Private)) {
        isPublic = AtKw(Kw::Public);
        hasScope = true;
        Next();
    }
    bool isDefault = false;
    if (hasScope && AtKw(Kw::Default)) {
        Next();
        isDefault = true;
    }
    if (AtKw(Kw::Function) || AtKw(Kw::Sub)) {
        unit.procs.push_back(ParseProc(isPublic, isDefault, false));
        return;
    }
    if (AtKw(Kw::Property))
        Fail(Err::MustBeInClass);
    if (isDefault)
        Fail(Err::Syntax);
    if (AtKw(Kw::Class)) {
        if (hasScope)
            Fail(Err::Syntax);
        unit.classes.push_back(ParseClass());
        return;
    }
    if (hasScope) {
        if (AtKw(Kw::Const)) {
            unit.topLevel.push_back(ParseConst());
        } else {
            m_pos = start;
            Next();
            // "Public x, y" declares like Dim.
            StmtPtr dim = ParseDim(true);
            dim->line = m_tokens[start].line;
            unit.topLevel.push_back(std::move(dim));
        }
        EndStatement();
        return;
    }
    unit.topLevel.push_back(ParseStatement());
    EndStatement();
}

Block Parser::ParseBlock()
{
    DepthGuard guard(*this);
    Block block;
    for (;;) {
        SkipNewlines();
        const Token& t = Peek();
        if (t.type == Tok::End)
            break;
        if (AtKw(Kw::End) || AtKw(Kw::Else) || AtKw(Kw::ElseIf) || AtKw(Kw::Case) || AtKw(Kw::Next)
            || AtKw(Kw::Loop) || AtKw(Kw::WEnd))
            break;
        block.push_back(ParseStatement());
        EndStatement();
    }
    return block;
}

StmtPtr Parser::ParseStatement()
{
    DepthGuard guard(*this);
    const Token& t = Peek();
    if (t.type == Tok::Name && !t.bracketed) {
        switch (t.keyword) {
        case Kw::Dim: Next(); return ParseDim(true);
        case Kw::ReDim: return ParseReDim();
        case Kw::Erase: return ParseErase();
        case Kw::Const: return ParseConst();
        case Kw::Set: return ParseSet();
        case Kw::Call: return ParseCallKeyword();
        case Kw::If: return ParseIf();
        case Kw::Select: return ParseSelect();
        case Kw::For: return ParseFor();
        case Kw::Do: return ParseDo();
        case Kw::While: return ParseWhile();
        case Kw::With: return ParseWith();
        case Kw::Exit: return ParseExit();
        case Kw::On: return ParseOnError();
        case Kw::Let: Next(); return ParseAssignOrCall();
        case Kw::Me: return ParseAssignOrCall();
        case Kw::Next: Fail(Err::UnexpectedNext);
        case Kw::Loop: Fail(Err::LoopWithoutDo);
        case Kw::Function: case Kw::Sub: case Kw::Class: case Kw::Public: case Kw::Private:
            if (StmtPtr declaration = ParseNestedDeclaration())
                return declaration;
            Fail(Err::Syntax);
        case Kw::Property: case Kw::Option:
            Fail(Err::Syntax);
        default:
            if (t.keyword == Kw::None || IsSoftKeyword(t.keyword))
                return ParseAssignOrCall();
            Fail(Err::ExpectedStatement);
        }
    }
    if (t.type == Tok::Name || AtOp('.'))
        return ParseAssignOrCall();
    Fail(Err::ExpectedStatement);
}

// A procedure or class written inside a block of script-level code (an If
// that never runs, a loop) is defined with the rest of the script, wherever
// it stands; the block keeps an empty statement in its place.
StmtPtr Parser::ParseNestedDeclaration()
{
    if (!m_unit || m_inProc)
        return nullptr;
    const size_t start = m_pos;
    const Token& at = Peek();
    bool isPublic = true;
    if (AtKw(Kw::Public) || AtKw(Kw::Private)) {
        isPublic = AtKw(Kw::Public);
        Next();
    }
    const bool isClass = AtKw(Kw::Class) && m_pos == start;
    if (!isClass && !AtKw(Kw::Function) && !AtKw(Kw::Sub)) {
        m_pos = start;
        return nullptr;
    }
    // The declaration runs to its End line even inside a one-line If.
    const int singleLineIf = std::exchange(m_singleLineIf, 0);
    if (isClass)
        m_unit->classes.push_back(ParseClass());
    else
        m_unit->procs.push_back(ParseProc(isPublic, false, false));
    m_singleLineIf = singleLineIf;
    // The declaration took the end of its last statement; the enclosing
    // block reads it again.
    if (m_pos > 0 && m_tokens[m_pos - 1].type == Tok::Newline)
        --m_pos;
    return NewStmt(StmtKind::Nop, at);
}

std::vector<Param> Parser::ParseParams()
{
    std::vector<Param> params;
    if (!AtOp('('))
        return params;
    Next();
    if (AtOp(')')) {
        Next();
        return params;
    }
    for (;;) {
        Param p;
        if (AtKw(Kw::ByVal)) {
            p.byRef = false;
            Next();
        } else if (AtKw(Kw::ByRef)) {
            Next();
        }
        const Token& nameToken = Peek();
        p.name = ExpectName();
        if (AtOp('(')) {
            Next();
            ExpectOp(')', Err::ExpectedRParen);
            p.isArray = true;
        }
        for (const Param& other : params)
            if (other.name.compare(p.name, Qt::CaseInsensitive) == 0)
                FailAt(Err::NameRedefined, nameToken);
        params.push_back(std::move(p));
        if (AtOp(',')) {
            Next();
            continue;
        }
        ExpectOp(')', Err::ExpectedRParen);
        break;
    }
    return params;
}

std::unique_ptr<ProcDef> Parser::ParseProc(bool isPublic, bool isDefault, bool inClass)
{
    if (m_inProc)
        Fail(Err::Syntax);
    auto proc = std::make_unique<ProcDef>();
    proc->line = Peek().line;
    proc->isPublic = isPublic;
    proc->isDefault = isDefault;
    Kw endKw = Kw::Sub;
    qint32 endError = Err::ExpectedSub;
    if (AtKw(Kw::Function)) {
        proc->kind = ProcKind::Function;
        endKw = Kw::Function;
        endError = Err::ExpectedFunction;
    } else if (AtKw(Kw::Sub)) {
        proc->kind = ProcKind::Sub;
    } else {
        if (!inClass)
            Fail(Err::MustBeInClass);
        Next(); // Property
        endKw = Kw::Property;
        endError = Err::ExpectedProperty;
        if (AtKw(Kw::Get))
            proc->kind = ProcKind::PropertyGet;
        else if (AtKw(Kw::Let))
            proc->kind = ProcKind::PropertyLet;
        else if (AtKw(Kw::Set))
            proc->kind = ProcKind::PropertySet;
        else
            Fail(Err::ExpectedLetSetGet);
    }
    Next();
    if (isDefault && proc->kind != ProcKind::PropertyGet && proc->kind != ProcKind::Function
        && proc->kind != ProcKind::Sub)
        Fail(Err::DefaultOnlyGet);
    if (isDefault && !isPublic)
        Fail(Err::DefaultNotPublic);
    proc->name = ExpectName();
    proc->lower = proc->name.toLower();
    proc->params = ParseParams();
    if ((proc->kind == ProcKind::PropertyLet || proc->kind == ProcKind::PropertySet) && proc->params.empty())
        Fail(Err::PropertyNeedsArg);
    EndStatement();
    m_inProc = true;
    proc->body = ParseBlock();
    m_inProc = false;
    ExpectKw(Kw::End, endError);
    ExpectKw(endKw, endError);
    EndStatement();
    return proc;
}

std::unique_ptr<ClassDef> Parser::ParseClass()
{
    Next(); // Class
    auto cls = std::make_unique<ClassDef>();
    cls->name = ExpectName();
    cls->lower = cls->name.toLower();
    EndStatement();
    for (;;) {
        SkipNewlines();
        if (Peek().type == Tok::End)
            Fail(Err::ExpectedEnd);
        if (AtKw(Kw::End)) {
            Next();
            ExpectKw(Kw::Class, Err::ExpectedClass);
            EndStatement();
            break;
        }
        ParseClassMember(*cls);
    }
    return cls;
}

void Parser::ParseClassMember(ClassDef& cls)
{
    bool isPublic = true;
    bool hasScope = false;
    if (AtKw(Kw::Public) || AtKw(Kw::Private)) {
        isPublic = AtKw(Kw::Public);
        hasScope = true;
        Next();
    }
    bool isDefault = false;
    if (hasScope && AtKw(Kw::Default)) {
        Next();
        isDefault = true;
    }
    if (AtKw(Kw::Function) || AtKw(Kw::Sub) || AtKw(Kw::Property)) {
        cls.procs.push_back(ParseProc(isPublic, isDefault, true));
        return;
    }
    if (isDefault)
        Fail(Err::Syntax);
    if (AtKw(Kw::Const)) {
        Fail(Err::Syntax);
    }
    if (!hasScope) {
        if (!AtKw(Kw::Dim))
            Fail(Err::ExpectedStatement);
        Next();
    } else if (AtKw(Kw::Dim)) {
        Fail(Err::Syntax);
    }
    // Fields: a list of names, each with optional fixed bounds.
    for (;;) {
        const Token& at = Peek();
        FieldDef field;
        field.name = ExpectName();
        field.lower = field.name.toLower();
        field.isPublic = isPublic;
        if (AtOp('(')) {
            Next();
            field.isArray = true;
            while (!AtOp(')')) {
                const Token& b = Peek();
                bool negative = false;
                if (AtOp('-')) {
                    Next();
                    negative = true;
                }
                const Token& n = Next();
                if (n.type != Tok::Literal || !n.value.IsIntegral())
                    FailAt(Err::ExpectedInteger, b);
                field.bounds.push_back(qint32(negative ? -n.value.IntValue() : n.value.IntValue()));
                if (AtOp(','))
                    Next();
                else if (!AtOp(')'))
                    Fail(Err::ExpectedRParen);
            }
            Next();
        }
        if (cls.fieldIndex.contains(field.lower))
            FailAt(Err::NameRedefined, at);
        cls.fieldIndex.insert(field.lower, int(cls.fields.size()));
        cls.fields.push_back(std::move(field));
        if (!AtOp(','))
            break;
        Next();
    }
    EndStatement();
}

StmtPtr Parser::ParseDim(bool allowBounds)
{
    auto stmt = NewStmt(StmtKind::Dim, Peek());
    for (;;) {
        DimItem item;
        item.target = std::make_unique<Expr>();
        item.target->kind = ExprKind::Name;
        item.target->line = Peek().line;
        item.target->column = Peek().column;
        item.target->name = ExpectName();
        item.target->lower = item.target->name.toLower();
        if (AtOp('(')) {
            if (!allowBounds)
                Fail(Err::ExpectedEndOfStatement);
            Next();
            item.isArray = true;
            // A fixed array's bounds are whole numbers written out: Dim a(n) is ReDim's work.
            while (!AtOp(')')) {
                const Token& at = Peek();
                bool negative = false;
                if (AtOp('-')) {
                    Next();
                    negative = true;
                }
                const Token& n = Next();
                if (n.type != Tok::Literal || !n.value.IsIntegral() || n.value.GetTag() == Variant::Tag::Boolean)
                    FailAt(Err::ExpectedInteger, at);
                auto bound = std::make_unique<Expr>();
                bound->kind = ExprKind::Literal;
                bound->line = at.line;
                bound->column = at.column;
                bound->value = negative ? Variant::FromInteger(-n.value.IntValue()) : n.value;
                item.bounds.push_back(std::move(bound));
                if (AtOp(','))
                    Next();
                else if (!AtOp(')'))
                    Fail(Err::ExpectedRParen);
            }
            Next();
        }
        stmt->dims.push_back(std::move(item));
        if (!AtOp(','))
            break;
        Next();
    }
    return stmt;
}

StmtPtr Parser::ParseReDim()
{
    auto stmt = NewStmt(StmtKind::ReDim, Peek());
    Next();
    if (AtKw(Kw::Preserve)) {
        Next();
        stmt->preserve = true;
    }
    for (;;) {
        DimItem item;
        item.target = std::make_unique<Expr>();
        item.target->kind = ExprKind::Name;
        item.target->line = Peek().line;
        item.target->column = Peek().column;
        item.target->name = ExpectName();
        item.target->lower = item.target->name.toLower();
        item.isArray = true;
        ExpectOp('(', Err::ExpectedLParen);
        for (;;) {
            item.bounds.push_back(ParseExpr());
            if (AtOp(',')) {
                Next();
                continue;
            }
            ExpectOp(')', Err::ExpectedRParen);
            break;
        }
        stmt->dims.push_back(std::move(item));
        if (!AtOp(','))
            break;
        Next();
    }
    return stmt;
}

StmtPtr Parser::ParseErase()
{
    auto stmt = NewStmt(StmtKind::Erase, Peek());
    Next();
    for (;;) {
        auto target = std::make_unique<Expr>();
        target->kind = ExprKind::Name;
        target->line = Peek().line;
        target->column = Peek().column;
        target->name = ExpectName();
        target->lower = target->name.toLower();
        stmt->targets.push_back(std::move(target));
        if (!AtOp(','))
            break;
        Next();
    }
    return stmt;
}

StmtPtr Parser::ParseConst()
{
    auto stmt = NewStmt(StmtKind::Const, Peek());
    Next();
    for (;;) {
        DimItem item;
        item.target = std::make_unique<Expr>();
        item.target->kind = ExprKind::Name;
        item.target->line = Peek().line;
        item.target->column = Peek().column;
        item.target->name = ExpectName();
        item.target->lower = item.target->name.toLower();
        ExpectOp('=', Err::ExpectedEquals);
        item.bounds.push_back(ParseExpr());
        stmt->dims.push_back(std::move(item));
        if (!AtOp(','))
            break;
        Next();
    }
    return stmt;
}

StmtPtr Parser::ParseSet()
{
    const Token& at = Next();
    bool lastParens = false;
    size_t before = 0;
    auto stmt = NewStmt(StmtKind::Set, at);
    stmt->target = ParseTarget(lastParens, before);
    ExpectOp('=', Err::ExpectedEquals);
    stmt->expr = ParseExpr();
    return stmt;
}

StmtPtr Parser::ParseCallKeyword()
{
    const Token& at = Next();
    bool lastParens = false;
    size_t before = 0;
    auto stmt = NewStmt(StmtKind::Call, at);
    if (!AtNameToken() && !AtOp('.') && !AtKw(Kw::Me))
        Fail(Err::ExpectedIdentifier);
    stmt->expr = ParseTarget(lastParens, before);
    if (!AtEndOfStatement())
        Fail(Err::ExpectedEndOfStatement);
    return stmt;
}

StmtPtr Parser::ParseAssignOrCall()
{
    const Token& at = Peek();
    auto stmt = std::make_unique<Stmt>();
    stmt->line = at.line;
    stmt->column = at.column;
    bool lastParens = false;
    size_t before = 0;
    ExprPtr target = ParseTarget(lastParens, before);
    if (AtOp('=')) {
        Next();
        stmt->kind = StmtKind::Assign;
        stmt->target = std::move(target);
        stmt->expr = ParseExpr();
        return stmt;
    }
    stmt->kind = StmtKind::Call;
    if (AtEndOfStatement()) {
        // "Foo(a, b)" without Call: parentheses cannot hold a Sub's argument list.
        if (lastParens && target->args.size() > 1
            && (target->kind == ExprKind::Name || target->kind == ExprKind::Member))
            FailAt(Err::ParensOnSubCall, m_tokens[before]);
        // "Foo(x)": the parentheses belong to the argument, passed by value.
        if (lastParens && target->args.size() == 1 && target->args[0]
            && (target->kind == ExprKind::Name || target->kind == ExprKind::Member)) {
            auto paren = std::make_unique<Expr>();
            paren->kind = ExprKind::Paren;
            paren->line = target->args[0]->line;
            paren->left = std::move(target->args[0]);
            target->args[0] = std::move(paren);
        }
        stmt->expr = std::move(target);
        return stmt;
    }
    if (lastParens) {
        // "Foo (a) + 1, b": the parenthesis opened the first argument.
        m_pos = before;
        Expr* callee = target.get();
        if (callee->kind == ExprKind::Index) {
            ExprPtr inner = std::move(callee->left);
            target = std::move(inner);
            callee = target.get();
        }
        callee->args.clear();
        callee->hasParens = false;
    } else if (target->hasParens || target->kind == ExprKind::Index) {
        Fail(Err::ExpectedEndOfStatement);
    }
    if (target->kind != ExprKind::Name && target->kind != ExprKind::Member)
        Fail(Err::ExpectedEndOfStatement);
    target->args = ParseBareArgs();
    stmt->expr = std::move(target);
    if (!AtEndOfStatement())
        Fail(Err::ExpectedEndOfStatement);
    return stmt;
}

StmtPtr Parser::ParseIf()
{
    const Token& at = Next();
    auto stmt = NewStmt(StmtKind::If, at);
    IfBranch first;
    first.cond = ParseExpr();
    ExpectKw(Kw::Then, Err::ExpectedThen);
    if (Peek().type == Tok::Newline && !Peek().colon) {
        first.body = ParseBlock();
        stmt->branches.push_back(std::move(first));
        for (;;) {
            if (AtKw(Kw::ElseIf)) {
                Next();
                IfBranch branch;
                branch.cond = ParseExpr();
                ExpectKw(Kw::Then, Err::ExpectedThen);
                branch.body = ParseBlock();
                stmt->branches.push_back(std::move(branch));
                continue;
            }
            if (AtKw(Kw::Else)) {
                Next();
                IfBranch branch;
                branch.body = ParseBlock();
                stmt->branches.push_back(std::move(branch));
                if (!AtKw(Kw::End))
                    Fail(Err::ExpectedEnd);
            }
            if (!AtKw(Kw::End))
                Fail(Err::ExpectedEnd);
            Next();
            ExpectKw(Kw::If, Err::ExpectedIf);
            return stmt;
        }
    }
    // Single-line form: statements separated by ':' up to the end of the line.
    ++m_singleLineIf;
    auto parsePart = [this](Block& body) {
        for (;;) {
            const Token& t = Peek();
            if (t.type == Tok::End || (t.type == Tok::Newline && !t.colon) || AtKw(Kw::Else))
                break;
            if (t.type == Tok::Newline) {
                Next();
                continue;
            }
            body.push_back(ParseStatement());
            EndStatement();
        }
    };
    parsePart(first.body);
    stmt->branches.push_back(std::move(first));
    if (AtKw(Kw::Else)) {
        Next();
        IfBranch branch;
        parsePart(branch.body);
        stmt->branches.push_back(std::move(branch));
    }
    --m_singleLineIf;
    // An optional "End If" closes a one-line If too.
    if (AtKw(Kw::End) && AtKw(Kw::If, 1)) {
        Next();
        Next();
    }
    return stmt;
}

StmtPtr Parser::ParseSelect()
{
    const Token& at = Next();
    ExpectKw(Kw::Case, Err::ExpectedCase);
    auto stmt = NewStmt(StmtKind::Select, at);
    stmt->expr = ParseExpr();
    EndStatement();
    SkipNewlines();
    while (AtKw(Kw::Case)) {
        Next();
        CaseClause clause;
        if (AtKw(Kw::Else)) {
            Next();
            clause.isElse = true;
        } else {
            for (;;) {
                clause.values.push_back(ParseExpr());
                if (!AtOp(','))
                    break;
                Next();
            }
        }
        clause.body = ParseBlock();
        const bool isElse = clause.isElse;
        stmt->cases.push_back(std::move(clause));
        if (isElse)
            break;
    }
    ExpectKw(Kw::End, Err::ExpectedEnd);
    ExpectKw(Kw::Select, Err::ExpectedSelect);
    return stmt;
}

StmtPtr Parser::ParseFor()
{
    const Token& at = Next();
    auto stmt = std::make_unique<Stmt>();
    stmt->line = at.line;
    stmt->column = at.column;
    const bool each = AtKw(Kw::Each);
    if (each)
        Next();
    auto var = std::make_unique<Expr>();
    var->kind = ExprKind::Name;
    var->line = Peek().line;
    var->column = Peek().column;
    if (!AtNameToken())
        Fail(Err::InvalidForVariable);
    var->name = Next().text;
    var->lower = var->name.toLower();
    stmt->target = std::move(var);
    if (each) {
        stmt->kind = StmtKind::ForEach;
        ExpectKw(Kw::In, Err::ExpectedIn);
        stmt->expr = ParseExpr();
    } else {
        stmt->kind = StmtKind::For;
        ExpectOp('=', Err::ExpectedEquals);
        stmt->expr = ParseExpr();
        ExpectKw(Kw::To, Err::ExpectedTo);
        stmt->to = ParseExpr();
        if (AtKw(Kw::Step)) {
            Next();
            stmt->step = ParseExpr();
        }
    }
    stmt->body = ParseBlock();
    ExpectKw(Kw::Next, Err::ExpectedNext);
    if (AtNameToken())
        Next();
    return stmt;
}

StmtPtr Parser::ParseDo()
{
    const Token& at = Next();
    auto stmt = NewStmt(StmtKind::Do, at);
    if (AtKw(Kw::While) || AtKw(Kw::Until)) {
        stmt->until = AtKw(Kw::Until);
        Next();
        stmt->expr = ParseExpr();
    }
    stmt->body = ParseBlock();
    ExpectKw(Kw::Loop, Err::ExpectedLoop);
    if (AtKw(Kw::While) || AtKw(Kw::Until)) {
        if (stmt->expr)
            Fail(Err::ExpectedEndOfStatement);
        stmt->until = AtKw(Kw::Until);
        stmt->condAtEnd = true;
        Next();
        stmt->expr = ParseExpr();
    }
    return stmt;
}

StmtPtr Parser::ParseWhile()
{
    const Token& at = Next();
    auto stmt = NewStmt(StmtKind::While, at);
    stmt->expr = ParseExpr();
    stmt->body = ParseBlock();
    ExpectKw(Kw::WEnd, Err::ExpectedWend);
    return stmt;
}

StmtPtr Parser::ParseWith()
{
    const Token& at = Next();
    auto stmt = NewStmt(StmtKind::With, at);
    stmt->expr = ParseExpr();
    stmt->body = ParseBlock();
    ExpectKw(Kw::End, Err::ExpectedEnd);
    ExpectKw(Kw::With, Err::ExpectedWith);
    return stmt;
}

StmtPtr Parser::ParseExit()
{
    const Token& at = Next();
    auto stmt = NewStmt(StmtKind::Exit, at);
    if (AtKw(Kw::Do))
        stmt->exit = ExitKind::Do;
    else if (AtKw(Kw::For))
        stmt->exit = ExitKind::For;
    else if (AtKw(Kw::Function))
        stmt->exit = ExitKind::Function;
    else if (AtKw(Kw::Sub))
        stmt->exit = ExitKind::Sub;
    else if (AtKw(Kw::Property))
        stmt->exit = ExitKind::Property;
    else
        Fail(Err::InvalidExit);
    Next();
    return stmt;
}

StmtPtr Parser::ParseOnError()
{
    const Token& at = Next();
    ExpectKw(Kw::Error, Err::Syntax);
    auto stmt = std::make_unique<Stmt>();
    stmt->line = at.line;
    stmt->column = at.column;
    if (AtKw(Kw::Resume)) {
        Next();
        ExpectKw(Kw::Next, Err::Syntax);
        stmt->kind = StmtKind::OnErrorResumeNext;
        return stmt;
    }
    ExpectKw(Kw::GoTo, Err::Syntax);
    const Token& zero = Next();
    if (zero.type != Tok::Literal || !zero.value.IsIntegral() || zero.value.IntValue() != 0)
        FailAt(Err::Syntax, zero);
    stmt->kind = StmtKind::OnErrorGoto0;
    return stmt;
}

} // namespace vbs
