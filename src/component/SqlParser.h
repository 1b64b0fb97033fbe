#pragma once
// Recursive-descent parser of dialect expressions, with the token navigation
// that order lists, select lists and statements build on.

#include "component/SqlAst.h"
#include "component/SqlLexer.h"

namespace SqlDialect {

// Deepest nesting accepted (parentheses, Not, signs) and largest estimated
// depth of the emitted SQL.
constexpr int MaxNesting = 64;
constexpr int MaxDepth = 250;

class SqlParser
{
public:
    explicit SqlParser(const ErrorContext& context);

    const ErrorContext& Context() const { return m_context; }

    const Token& Peek(int ahead = 0) const;
    const Token& Next();
    bool AtEnd() const { return Peek().kind == Token::Kind::End; }
    bool AcceptSymbol(QStringView symbol);
    bool AcceptWord(QStringView word);
    void ExpectSymbol(QStringView symbol, const QString& what);
    void ExpectWord(QStringView word);
    // A name, plain or bracketed; `what` says what was expected.
    Token ExpectName(const QString& what);
    // Raises Syntax unless the text is over.
    void ExpectEnd();

    NodePtr ParseExpression();

    [[noreturn]] void Fail(const Token& at, const QString& problem) const;

private:
    NodePtr ParseBinary(int minPrecedence);
    NodePtr ParseUnary();
    NodePtr ParsePrimary();
    NodePtr ParseName();
    NodePtr Finish(NodePtr node, int weight);
    void Enter(const Token& at);

    const ErrorContext& m_context;
    std::vector<Token> m_tokens;
    size_t m_index = 0;
    int m_nesting = 0;
};

// Describes a token for a message: «AND», «)», "la fine del testo".
QString Describe(const Token& token);

} // namespace SqlDialect
