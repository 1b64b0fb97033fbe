#pragma once
// Builds the syntax tree of one script text. Raises VbError with a compile
// error number and the position of the offending token.

#include "script/Ast.h"
#include "script/Lexer.h"

#include <memory>
#include <vector>

namespace vbs {

class Parser
{
public:
    explicit Parser(std::vector<Token> tokens);

    std::unique_ptr<Unit> ParseUnit();
    // One expression and nothing else (Eval).
    ExprPtr ParseLoneExpression();

private:
    // statements
    void ParseTopLevelItem(Unit& unit);
    StmtPtr ParseStatement();
    StmtPtr ParseNestedDeclaration();
    Block ParseBlock();
    StmtPtr ParseIf();
    StmtPtr ParseSelect();
    StmtPtr ParseFor();
    StmtPtr ParseDo();
    StmtPtr ParseWhile();
    StmtPtr ParseWith();
    StmtPtr ParseExit();
    StmtPtr ParseOnError();
    StmtPtr ParseDim(bool allowBounds);
    StmtPtr ParseReDim();
    StmtPtr ParseErase();
    StmtPtr ParseConst();
    StmtPtr ParseSet();
    StmtPtr ParseCallKeyword();
    StmtPtr ParseAssignOrCall();
    std::unique_ptr<ProcDef> ParseProc(bool isPublic, bool isDefault, bool inClass);
    std::unique_ptr<ClassDef> ParseClass();
    void ParseClassMember(ClassDef& cls);
    std::vector<Param> ParseParams();
    void EndStatement();

    // expressions
    ExprPtr ParseExpr();
    ExprPtr ParseImp();
    ExprPtr ParseEqv();
    ExprPtr ParseXor();
    ExprPtr ParseOr();
    ExprPtr ParseAnd();
    ExprPtr ParseNot();
    ExprPtr ParseCompare();
    ExprPtr ParseConcat();
    ExprPtr ParseAdditive();
    ExprPtr ParseMod();
    ExprPtr ParseIntDiv();
    ExprPtr ParseMultiplicative();
    ExprPtr ParsePower();
    ExprPtr ParseUnary();
    ExprPtr ParsePostfix();
    ExprPtr ParsePrimary();
    ExprPtr ParseTarget(bool& lastHadParens, size_t& beforeLastParens);
    void ParseArgList(std::vector<ExprPtr>& args);
    std::vector<ExprPtr> ParseBareArgs();
    ExprPtr Binary(BinOp op, ExprPtr left, ExprPtr right, const Token& at);

    // tokens
    const Token& Peek(size_t ahead = 0) const;
    const Token& Next();
    bool AtKw(Kw kw, size_t ahead = 0) const;
    bool AtOp(char op, size_t ahead = 0) const;
    bool AtEndOfStatement() const;
    bool AtNameToken(size_t ahead = 0) const;
    void ExpectKw(Kw kw, qint32 error);
    void ExpectOp(char op, qint32 error);
    QString ExpectName();
    void SkipNewlines();
    [[noreturn]] void Fail(qint32 error) const;
    [[noreturn]] void FailAt(qint32 error, const Token& at) const;

    // Deeply nested input fails with "out of stack space" instead of
    // exhausting the machine stack.
    static constexpr int MaxNesting = 200;
    struct DepthGuard
    {
        explicit DepthGuard(Parser& p);
        ~DepthGuard() { --parser.m_depth; }
        Parser& parser;
    };

    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    int m_depth = 0;
    int m_singleLineIf = 0;
    bool m_inProc = false;
    Unit* m_unit = nullptr; // where procedures and classes written inside blocks go
};

} // namespace vbs
