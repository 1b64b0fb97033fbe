// Expressions, from the loosest operator (Imp) to the tightest (unary
// minus, tighter than ^), then names with their argument lists and member
// accesses.
#include "script/Parser.h"

#include "script/ScriptError.h"
#include "script/VariantOps.h"

namespace vbs {

ExprPtr Parser::Binary(BinOp op, ExprPtr left, ExprPtr right, const Token& at)
{
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::Binary;
    e->bin = op;
    e->line = at.line;
    e->column = at.column;
    e->left = std::move(left);
    e->right = std::move(right);
    return e;
}

ExprPtr Parser::ParseExpr()
{
    DepthGuard guard(*this);
    return ParseImp();
}

ExprPtr Parser::ParseImp()
{
    ExprPtr left = ParseEqv();
    while (AtKw(Kw::Imp)) {
        const Token& at = Next();
        left = Binary(BinOp::Imp, std::move(left), ParseEqv(), at);
    }
    return left;
}

ExprPtr Parser::ParseEqv()
{
    ExprPtr left = ParseXor();
    while (AtKw(Kw::Eqv)) {
        const Token& at = Next();
        left = Binary(BinOp::Eqv, std::move(left), ParseXor(), at);
    }
    return left;
}

ExprPtr Parser::ParseXor()
{
    ExprPtr left = ParseOr();
    while (AtKw(Kw::Xor)) {
        const Token& at = Next();
        left = Binary(BinOp::Xor, std::move(left), ParseOr(), at);
    }
    return left;
}

ExprPtr Parser::ParseOr()
{
    ExprPtr left = ParseAnd();
    while (AtKw(Kw::Or)) {
        const Token& at = Next();
        left = Binary(BinOp::Or, std::move(left), ParseAnd(), at);
    }
    return left;
}

ExprPtr Parser::ParseAnd()
{
    ExprPtr left = ParseNot();
    while (AtKw(Kw::And)) {
        const Token& at = Next();
        left = Binary(BinOp::And, std::move(left), ParseNot(), at);
    }
    return left;
}

ExprPtr Parser::ParseNot()
{
    if (AtKw(Kw::Not)) {
        DepthGuard guard(*this);
        const Token& at = Next();
        auto e = std::make_unique<Expr>();
        e->kind = ExprKind::Unary;
        e->unary = 'N';
        e->line = at.line;
        e->column = at.column;
        e->left = ParseNot();
        return e;
    }
    return ParseCompare();
}

ExprPtr Parser::ParseCompare()
{
    ExprPtr left = ParseConcat();
    for (;;) {
        BinOp op;
        if (AtOp('='))
            op = BinOp::Eq;
        else if (AtOp('n'))
            op = BinOp::Ne;
        else if (AtOp('<'))
            op = BinOp::Lt;
        else if (AtOp('l'))
            op = BinOp::Le;
        else if (AtOp('>'))
            op = BinOp::Gt;
        else if (AtOp('g'))
            op = BinOp::Ge;
        else if (AtKw(Kw::Is))
            op = BinOp::Is;
        else
            return left;
        const Token& at = Next();
        left = Binary(op, std::move(left), ParseConcat(), at);
    }
}

ExprPtr Parser::ParseConcat()
{
    ExprPtr left = ParseAdditive();
    while (AtOp('&')) {
        const Token& at = Next();
        left = Binary(BinOp::Concat, std::move(left), ParseAdditive(), at);
    }
    return left;
}

ExprPtr Parser::ParseAdditive()
{
    ExprPtr left = ParseMod();
    while (AtOp('+') || AtOp('-')) {
        const Token& at = Next();
        left = Binary(at.op == '+' ? BinOp::Add : BinOp::Sub, std::move(left), ParseMod(), at);
    }
    return left;
}

ExprPtr Parser::ParseMod()
{
    ExprPtr left = ParseIntDiv();
    while (AtKw(Kw::Mod)) {
        const Token& at = Next();
        left = Binary(BinOp::Mod, std::move(left), ParseIntDiv(), at);
    }
    return left;
}

ExprPtr Parser::ParseIntDiv()
{
    ExprPtr left = ParseMultiplicative();
    while (AtOp('\\')) {
        const Token& at = Next();
        left = Binary(BinOp::IntDiv, std::move(left), ParseMultiplicative(), at);
    }
    return left;
}

ExprPtr Parser::ParseMultiplicative()
{
    ExprPtr left = ParsePower();
    while (AtOp('*') || AtOp('/')) {
        const Token& at = Next();
        left = Binary(at.op == '*' ? BinOp::Mul : BinOp::Div, std::move(left), ParsePower(), at);
    }
    return left;
}

// ^ groups from the left, and its operands carry their own signs: -3 ^ 2 is
// (-3) ^ 2, 2 ^ -1 is 2 ^ (-1).
ExprPtr Parser::ParsePower()
{
    ExprPtr left = ParseUnary();
    while (AtOp('^')) {
        const Token& at = Next();
        left = Binary(BinOp::Pow, std::move(left), ParseUnary(), at);
    }
    return left;
}

ExprPtr Parser::ParseUnary()
{
    if (AtOp('-') || AtOp('+')) {
        DepthGuard guard(*this);
        const Token& at = Next();
        ExprPtr operand = ParseUnary();
        if (at.op == '+')
            return operand;
        // A negated literal is folded: -5 is the Integer -5, -32768 the
        // negation of the Long 32768, so a Long too.
        if (operand->kind == ExprKind::Literal && operand->value.IsNumeric() && !operand->hasParens) {
            try {
                operand->value = Ops::Neg(operand->value);
                return operand;
            } catch (const VbError&) {
            }
        }
        auto e = std::make_unique<Expr>();
        e->kind = ExprKind::Unary;
        e->unary = '-';
        e->line = at.line;
        e->column = at.column;
        e->left = std::move(operand);
        return e;
    }
    return ParsePostfix();
}

void Parser::ParseArgList(std::vector<ExprPtr>& args)
{
    ExpectOp('(', Err::ExpectedLParen);
    if (AtOp(')')) {
        Next();
        return;
    }
    for (;;) {
        if (AtOp(',')) {
            args.push_back(nullptr);
            Next();
            continue;
        }
        if (AtOp(')')) {
            args.push_back(nullptr);
            Next();
            return;
        }
        args.push_back(ParseExpr());
        if (AtOp(',')) {
            Next();
            if (AtOp(')')) {
                args.push_back(nullptr);
                Next();
                return;
            }
            continue;
        }
        ExpectOp(')', Err::ExpectedRParen);
        return;
    }
}

std::vector<ExprPtr> Parser::ParseBareArgs()
{
    std::vector<ExprPtr> args;
    for (;;) {
        if (AtOp(',')) {
            args.push_back(nullptr);
            Next();
            if (AtEndOfStatement()) {
                args.push_back(nullptr);
                return args;
            }
            continue;
        }
        args.push_back(ParseExpr());
        if (!AtOp(','))
            return args;
        Next();
        if (AtEndOfStatement()) {
            args.push_back(nullptr);
            return args;
        }
    }
}

ExprPtr Parser::ParsePrimary()
{
    DepthGuard guard(*this);
    const Token& t = Peek();
    auto e = std::make_unique<Expr>();
    e->line = t.line;
    e->column = t.column;
    if (t.type == Tok::Literal) {
        e->kind = ExprKind::Literal;
        e->value = t.value;
        Next();
        return e;
    }
    if (AtOp('(')) {
        Next();
        e->kind = ExprKind::Paren;
        e->left = ParseExpr();
        ExpectOp(')', Err::ExpectedRParen);
        return e;
    }
    if (AtOp('.')) {
        Next();
        if (Peek().type != Tok::Name)
            Fail(Err::ExpectedIdentifier);
        const Token& n = Next();
        e->kind = ExprKind::Member;
        e->name = n.text;
        e->lower = n.lower;
        return e;
    }
    if (t.type == Tok::Name && !t.bracketed) {
        switch (t.keyword) {
        case Kw::True: Next(); e->value = Variant::Bool(true); return e;
        case Kw::False: Next(); e->value = Variant::Bool(false); return e;
        case Kw::Null: Next(); e->value = Variant::Null(); return e;
        case Kw::Empty: Next(); e->value = Variant(); return e;
        case Kw::Nothing: Next(); e->value = Variant::Nothing(); return e;
        case Kw::Me: Next(); e->kind = ExprKind::Me; return e;
        case Kw::New: {
            Next();
            e->kind = ExprKind::New;
            e->name = ExpectName();
            e->lower = e->name.toLower();
            return e;
        }
        default: break;
        }
    }
    if (AtNameToken()) {
        const Token& n = Next();
        e->kind = ExprKind::Name;
        e->name = n.text;
        e->lower = n.lower;
        return e;
    }
    Fail(Err::ExpectedExpression);
}

ExprPtr Parser::ParsePostfix()
{
    bool lastParens = false;
    size_t before = 0;
    return ParseTarget(lastParens, before);
}

ExprPtr Parser::ParseTarget(bool& lastHadParens, size_t& beforeLastParens)
{
    ExprPtr e = ParsePrimary();
    lastHadParens = false;
    for (;;) {
        if (AtOp('(')) {
            if (e->kind == ExprKind::Literal || e->kind == ExprKind::New)
                Fail(Err::ExpectedEndOfStatement);
            beforeLastParens = m_pos;
            lastHadParens = true;
            if ((e->kind == ExprKind::Name || e->kind == ExprKind::Member) && !e->hasParens) {
                e->hasParens = true;
                ParseArgList(e->args);
            } else {
                auto index = std::make_unique<Expr>();
                index->kind = ExprKind::Index;
                index->line = Peek().line;
                index->column = Peek().column;
                index->hasParens = true;
                index->left = std::move(e);
                ParseArgList(index->args);
                e = std::move(index);
            }
            continue;
        }
        if (AtOp('.') && Peek(1).type == Tok::Name && !Peek().spaceBefore) {
            Next();
            const Token& n = Next();
            auto member = std::make_unique<Expr>();
            member->kind = ExprKind::Member;
            member->line = n.line;
            member->column = n.column;
            member->name = n.text;
            member->lower = n.lower;
            member->left = std::move(e);
            e = std::move(member);
            lastHadParens = false;
            continue;
        }
        return e;
    }
}

} // namespace vbs
