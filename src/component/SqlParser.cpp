#include "component/SqlParser.h"

#include <algorithm>

namespace SqlDialect {

namespace {

// Binding strength of the infix operators, weakest first.
enum Precedence {
    None = 0,
    Or = 1,
    And = 2,
    Not = 3,
    Comparison = 4,
    Concat = 5,
    Additive = 6,
    Modulo = 7,
    IntegerDivision = 8,
    Multiplicative = 9,
};

const QStringView reservedWords[] = {u"AND", u"OR", u"NOT", u"LIKE", u"IS", u"BETWEEN", u"IN", u"MOD"};

bool IsReserved(const Token& token)
{
    return std::any_of(std::begin(reservedWords), std::end(reservedWords),
                       [&](QStringView w) { return token.IsWord(w); });
}

bool IsComparisonSymbol(const Token& t)
{
    return t.kind == Token::Kind::Symbol &&
           (t.text == u"=" || t.text == u"<>" || t.text == u"<" || t.text == u"<=" || t.text == u">" || t.text == u">=");
}

int MaxChildDepth(const Node& node)
{
    int depth = 0;
    for (const NodePtr& child : node.children)
        depth = std::max(depth, child->depth);
    return depth;
}

NodePtr MakeNode(Node::Kind kind, int position, QString text = {})
{
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->position = position;
    node->text = std::move(text);
    return node;
}

} // namespace

QString Describe(const Token& token)
{
    switch (token.kind) {
    case Token::Kind::End:
        return QStringLiteral("la fine del testo");
    case Token::Kind::Text:
        return QStringLiteral("il testo '%1'").arg(token.text.left(40));
    case Token::Kind::Date:
        return QStringLiteral("la data #%1#").arg(token.text);
    case Token::Kind::BracketName:
        return QStringLiteral("«[%1]»").arg(token.text.left(40));
    default:
        return QStringLiteral("«%1»").arg(token.text.left(40));
    }
}

SqlParser::SqlParser(const ErrorContext& context)
    : m_context(context), m_tokens(Tokenize(context))
{
}

const Token& SqlParser::Peek(int ahead) const
{
    return m_tokens[std::min(m_index + size_t(ahead), m_tokens.size() - 1)];
}

const Token& SqlParser::Next()
{
    const Token& token = m_tokens[m_index];
    if (m_index + 1 < m_tokens.size())
        ++m_index;
    return token;
}

bool SqlParser::AcceptSymbol(QStringView symbol)
{
    if (!Peek().IsSymbol(symbol))
        return false;
    Next();
    return true;
}

bool SqlParser::AcceptWord(QStringView word)
{
    if (!Peek().IsWord(word))
        return false;
    Next();
    return true;
}

void SqlParser::ExpectSymbol(QStringView symbol, const QString& what)
{
    if (!AcceptSymbol(symbol))
        Fail(Peek(), QStringLiteral("atteso %1, trovato %2").arg(what, Describe(Peek())));
}

void SqlParser::ExpectWord(QStringView word)
{
    if (!AcceptWord(word))
        Fail(Peek(), QStringLiteral("atteso «%1», trovato %2").arg(word.toString().toUpper(), Describe(Peek())));
}

Token SqlParser::ExpectName(const QString& what)
{
    if (!Peek().IsName() || (Peek().kind == Token::Kind::Name && IsReserved(Peek())))
        Fail(Peek(), QStringLiteral("atteso %1, trovato %2").arg(what, Describe(Peek())));
    return Next();
}

void SqlParser::ExpectEnd()
{
    if (AtEnd())
        return;
    if (Peek().IsSymbol(u")"))
        Fail(Peek(), QStringLiteral("parentesi chiusa senza la sua aperta"));
    Fail(Peek(), QStringLiteral("testo in eccesso a partire da %1").arg(Describe(Peek())));
}

void SqlParser::Fail(const Token& at, const QString& problem) const
{
    ThrowSyntax(m_context, at.position, problem);
}

void SqlParser::Enter(const Token& at)
{
    if (++m_nesting > MaxNesting)
        Fail(at, QStringLiteral("espressione troppo annidata (più di %1 livelli)").arg(MaxNesting));
}

NodePtr SqlParser::Finish(NodePtr node, int weight)
{
    node->depth = MaxChildDepth(*node) + weight;
    if (node->depth > MaxDepth)
        ThrowSyntax(m_context, node->position, QStringLiteral("espressione troppo complessa"));
    return node;
}

NodePtr SqlParser::ParseExpression()
{
    if (AtEnd())
        Fail(Peek(), QStringLiteral("espressione vuota"));
    return ParseBinary(Precedence::Or);
}

NodePtr SqlParser::ParseBinary(int minPrecedence)
{
    Enter(Peek());
    NodePtr left;
    if (Peek().IsWord(u"NOT")) {
        const int position = Next().position;
        auto node = MakeNode(Node::Kind::Not, position);
        node->children.push_back(ParseBinary(std::max<int>(Precedence::Not, minPrecedence)));
        left = Finish(std::move(node), 1);
    } else {
        left = ParseUnary();
    }

    while (true) {
        const Token& op = Peek();
        int precedence = Precedence::None;
        bool negated = false;
        if (op.IsWord(u"OR"))
            precedence = Precedence::Or;
        else if (op.IsWord(u"AND"))
            precedence = Precedence::And;
        else if (IsComparisonSymbol(op) || op.IsWord(u"LIKE") || op.IsWord(u"BETWEEN") || op.IsWord(u"IN") ||
                 op.IsWord(u"IS"))
            precedence = Precedence::Comparison;
        else if (op.IsWord(u"NOT") && (Peek(1).IsWord(u"LIKE") || Peek(1).IsWord(u"BETWEEN") || Peek(1).IsWord(u"IN"))) {
            precedence = Precedence::Comparison;
            negated = true;
        } else if (op.IsSymbol(u"&"))
            precedence = Precedence::Concat;
        else if (op.IsSymbol(u"+") || op.IsSymbol(u"-"))
            precedence = Precedence::Additive;
        else if (op.IsWord(u"MOD"))
            precedence = Precedence::Modulo;
        else if (op.IsSymbol(u"\\"))
            precedence = Precedence::IntegerDivision;
        else if (op.IsSymbol(u"*") || op.IsSymbol(u"/"))
            precedence = Precedence::Multiplicative;
        if (precedence == Precedence::None || precedence < minPrecedence)
            break;

        const Token opToken = Next();
        const Token word = negated ? Next() : opToken;
        NodePtr node;
        int weight = 1;
        if (precedence == Precedence::Or || precedence == Precedence::And || precedence == Precedence::Concat) {
            const Node::Kind kind = precedence == Precedence::Concat ? Node::Kind::Concat : Node::Kind::Logical;
            const QString text = precedence == Precedence::Concat ? QStringLiteral("&") : opToken.text.toUpper();
            NodePtr right = ParseBinary(precedence + 1);
            int deepestOperand;
            if (left->kind == kind && left->text == text) {
                deepestOperand = left->depth - int(left->children.size());
                node = std::move(left);
            } else {
                deepestOperand = left->depth;
                node = MakeNode(kind, opToken.position, text);
                node->children.push_back(std::move(left));
            }
            deepestOperand = std::max(deepestOperand, right->depth);
            node->children.push_back(std::move(right));
            // SQLite nests a chain of n operands n levels deep.
            node->depth = deepestOperand + int(node->children.size());
            if (node->depth > MaxDepth)
                ThrowSyntax(m_context, opToken.position, QStringLiteral("espressione troppo complessa"));
            left = std::move(node);
            continue;
        }
        if (IsComparisonSymbol(opToken)) {
            node = MakeNode(Node::Kind::Compare, opToken.position, opToken.text);
            node->children.push_back(std::move(left));
            node->children.push_back(ParseBinary(Precedence::Concat));
            weight = 2;
        } else if (word.IsWord(u"LIKE")) {
            node = MakeNode(Node::Kind::Like, opToken.position);
            node->flag = negated;
            node->children.push_back(std::move(left));
            if (AtEnd())
                Fail(Peek(), QStringLiteral("manca il motivo dopo «LIKE»"));
            node->children.push_back(ParseBinary(Precedence::Concat));
            weight = 3;
        } else if (word.IsWord(u"BETWEEN")) {
            node = MakeNode(Node::Kind::Between, opToken.position);
            node->flag = negated;
            node->children.push_back(std::move(left));
            node->children.push_back(ParseBinary(Precedence::Concat));
            ExpectWord(u"AND");
            node->children.push_back(ParseBinary(Precedence::Concat));
            weight = 2;
        } else if (word.IsWord(u"IN")) {
            node = MakeNode(Node::Kind::In, opToken.position);
            node->flag = negated;
            node->children.push_back(std::move(left));
            const Token open = Peek();
            ExpectSymbol(u"(", QStringLiteral("«(» dopo «IN»"));
            do {
                node->children.push_back(ParseBinary(Precedence::Or));
            } while (AcceptSymbol(u","));
            if (!AcceptSymbol(u")"))
                Fail(AtEnd() ? open : Peek(),
                     AtEnd() ? QStringLiteral("parentesi non chiusa")
                             : QStringLiteral("atteso «,» o «)», trovato %1").arg(Describe(Peek())));
            weight = 2;
        } else if (word.IsWord(u"IS")) {
            node = MakeNode(Node::Kind::IsNull, opToken.position);
            node->flag = AcceptWord(u"NOT");
            node->children.push_back(std::move(left));
            if (!AcceptWord(u"NULL"))
                Fail(Peek(), QStringLiteral("atteso «NULL» dopo «IS», trovato %1").arg(Describe(Peek())));
        } else {
            const QString text = opToken.IsWord(u"MOD") ? QStringLiteral("MOD") : opToken.text;
            node = MakeNode(Node::Kind::Binary, opToken.position, text);
            node->children.push_back(std::move(left));
            node->children.push_back(ParseBinary(precedence + 1));
            weight = 3;
        }
        left = Finish(std::move(node), weight);
    }
    --m_nesting;
    return left;
}

NodePtr SqlParser::ParseUnary()
{
    if (Peek().IsSymbol(u"+")) {
        Next();
        Enter(Peek());
        NodePtr operand = ParseUnary();
        --m_nesting;
        return operand;
    }
    if (!Peek().IsSymbol(u"-"))
        return ParsePrimary();
    const Token minus = Next();
    if (Peek().kind == Token::Kind::Number) {
        NodePtr number = MakeNode(Node::Kind::Number, minus.position, u'-' + Next().text);
        return number;
    }
    Enter(minus);
    auto node = MakeNode(Node::Kind::Negate, minus.position);
    node->children.push_back(ParseUnary());
    --m_nesting;
    return Finish(std::move(node), 1);
}

NodePtr SqlParser::ParsePrimary()
{
    const Token& token = Peek();
    switch (token.kind) {
    case Token::Kind::Number:
        return MakeNode(Node::Kind::Number, token.position, Next().text);
    case Token::Kind::Text:
        return MakeNode(Node::Kind::Text, token.position, Next().text);
    case Token::Kind::Date: {
        auto node = MakeNode(Node::Kind::Date, token.position);
        node->date = Next().date;
        return node;
    }
    case Token::Kind::Name:
    case Token::Kind::BracketName:
        return ParseName();
    case Token::Kind::End:
        Fail(token, QStringLiteral("espressione incompleta: manca un valore alla fine"));
    case Token::Kind::Symbol:
        break;
    }
    if (token.IsSymbol(u"(")) {
        const Token open = Next();
        NodePtr inner = ParseBinary(Precedence::Or);
        if (!AcceptSymbol(u")")) {
            if (AtEnd())
                Fail(open, QStringLiteral("parentesi non chiusa"));
            Fail(Peek(), QStringLiteral("atteso «)», trovato %1").arg(Describe(Peek())));
        }
        return inner;
    }
    if (token.IsSymbol(u")"))
        Fail(token, QStringLiteral("parentesi chiusa senza la sua aperta"));
    Fail(token, QStringLiteral("atteso un valore, trovato %1").arg(Describe(token)));
}

NodePtr SqlParser::ParseName()
{
    const Token first = Next();
    if (first.kind == Token::Kind::Name) {
        if (first.IsWord(u"NULL"))
            return MakeNode(Node::Kind::Null, first.position);
        if (first.IsWord(u"TRUE") || first.IsWord(u"FALSE")) {
            auto node = MakeNode(Node::Kind::Boolean, first.position);
            node->flag = first.IsWord(u"TRUE");
            return node;
        }
        if (IsReserved(first))
            Fail(first, QStringLiteral("atteso un valore, trovato %1").arg(Describe(first)));
        if (Peek().IsSymbol(u"(")) {
            const Token open = Next();
            auto call = MakeNode(Node::Kind::Call, first.position, first.text);
            if (!AcceptSymbol(u")")) {
                do {
                    call->children.push_back(ParseBinary(Precedence::Or));
                } while (AcceptSymbol(u","));
                if (!AcceptSymbol(u")")) {
                    if (AtEnd())
                        Fail(open, QStringLiteral("parentesi non chiusa"));
                    Fail(Peek(), QStringLiteral("atteso «,» o «)», trovato %1").arg(Describe(Peek())));
                }
            }
            return Finish(std::move(call), 6);
        }
    }
    auto column = MakeNode(Node::Kind::Column, first.position, first.text);
    if (AcceptSymbol(u".")) {
        column->qualifier = first.text;
        column->text = ExpectName(QStringLiteral("un nome di campo dopo «.»")).text;
    }
    return column;
}

} // namespace SqlDialect
