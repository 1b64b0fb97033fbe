#pragma once
// The parsed script. The parser builds names as Name nodes; the resolver
// then turns each into a slot of a local, global or class field, a call of a
// procedure or built-in, or a name looked up at run time.

#include "script/Variant.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace vbs {

struct ProcDef;
struct ClassDef;

enum class ExprKind : quint8 {
    Literal,
    Name,       // unresolved name, possibly with an argument list
    Member,     // object.name, possibly with an argument list; object null inside With
    Index,      // base(args) where base is not a plain name
    Paren,      // (expr): an argument written this way passes by value
    Unary,      // op: '-', '+', 'N' (Not)
    Binary,     // op: see BinOp
    New,        // New ClassName
    Me,
    // after resolution
    Local,
    Global,
    Field,
    Dynamic,    // looked up by name at run time
    Call,       // user procedure (proc), arguments in args
    Builtin,    // built-in function number builtin, arguments in args
    ArrayIndex, // variable (left) indexed by args: array element or default member
};

enum class BinOp : quint8 {
    Add, Sub, Mul, Div, IntDiv, Mod, Pow, Concat, Eq, Ne, Lt, Le, Gt, Ge, Is, And, Or, Xor, Eqv, Imp,
};

struct Expr
{
    ExprKind kind = ExprKind::Literal;
    BinOp bin = BinOp::Add;
    char unary = 0;
    bool hasParens = false;   // written with an argument list in parentheses
    bool allowPrivate = false; // a member reached from inside its own class
    bool explicitVar = false;  // Dynamic: Option Explicit was on where it was written
    bool elementArgs = false;  // Call: an argument is an array element (passed by reference)
    int line = 0;
    int column = 0;
    int slot = -1;
    int builtin = -1;
    QString name;
    QString lower;
    Variant value;
    std::unique_ptr<Expr> left;  // object, base or first operand
    std::unique_ptr<Expr> right; // second operand
    std::vector<std::unique_ptr<Expr>> args; // null entries are omitted arguments
    const ProcDef* proc = nullptr;
    const ClassDef* cls = nullptr;
};

using ExprPtr = std::unique_ptr<Expr>;

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

enum class StmtKind : quint8 {
    Assign, // target = expr
    Set,    // Set target = expr
    Call,   // expr is the call (Name, Member, Index, Call, ...)
    If,
    Select,
    For,
    ForEach,
    Do,
    While,
    Exit,
    Dim,    // declarations with bounds allocate arrays
    ReDim,
    Erase,
    OnErrorResumeNext,
    OnErrorGoto0,
    With,
    Const, // dims: target and the value as bounds[0]; folded away by the resolver
    Nop,
};

enum class ExitKind : quint8 { Do, For, Function, Sub, Property };

struct CaseClause
{
    std::vector<ExprPtr> values; // empty for Case Else
    bool isElse = false;
    Block body;
};

struct IfBranch
{
    ExprPtr cond; // null for Else
    Block body;
};

struct DimItem
{
    ExprPtr target;              // the variable
    std::vector<ExprPtr> bounds; // upper bounds; empty for a plain variable
    bool isArray = false;        // written with parentheses
};

struct Stmt
{
    StmtKind kind = StmtKind::Nop;
    ExitKind exit = ExitKind::Do;
    bool preserve = false;
    bool condAtEnd = false; // Do ... Loop While/Until
    bool until = false;
    bool appendInPlace = false; // s = s & ...: appended to the variable's text
    int line = 0;
    int column = 0;
    ExprPtr target; // assignment target, loop variable, With object
    ExprPtr expr;   // value, condition, For start, collection
    ExprPtr to;
    ExprPtr step;
    Block body;
    std::vector<IfBranch> branches;
    std::vector<CaseClause> cases;
    std::vector<DimItem> dims;
    std::vector<ExprPtr> targets; // Erase
};

enum class ProcKind : quint8 { Sub, Function, PropertyGet, PropertyLet, PropertySet };

struct Param
{
    QString name;
    bool byRef = true;
    bool isArray = false;
};

struct ProcDef
{
    ProcKind kind = ProcKind::Sub;
    QString name;
    QString lower;
    bool isPublic = true;
    bool isDefault = false;
    int line = 0;
    std::vector<Param> params;
    Block body;
    int localCount = 0;
    int returnSlot = -1;             // the function's own name as a variable
    QHash<QString, int> localNames;  // lower-case name to slot (params first)
    QHash<QString, Variant> constants;
    const ClassDef* owner = nullptr;
    bool optionExplicit = false;
};

struct FieldDef
{
    QString name;
    QString lower;
    bool isPublic = true;
    std::vector<qint32> bounds; // a field declared as a fixed array
    bool isArray = false;
};

struct MemberEntry
{
    const ProcDef* get = nullptr;    // Function or Property Get
    const ProcDef* let = nullptr;
    const ProcDef* set = nullptr;
    const ProcDef* method = nullptr; // Sub
    int field = -1;                  // a Public variable
};

struct ClassDef
{
    QString name;
    QString lower;
    std::vector<FieldDef> fields;
    QHash<QString, int> fieldIndex;
    QHash<QString, MemberEntry> members; // everything reachable from outside
    std::vector<std::unique_ptr<ProcDef>> procs;
    const ProcDef* initialize = nullptr;
    const ProcDef* terminate = nullptr;
    QString defaultMember; // lower-case; empty when none
};

// One piece of added text.
struct Unit
{
    Block topLevel;
    std::vector<std::unique_ptr<ProcDef>> procs;
    std::vector<std::unique_ptr<ClassDef>> classes;
    std::vector<std::pair<QString, bool>> globals; // declared script-level variables, public or not
    QHash<QString, Variant> constants;
    std::vector<std::pair<QString, Variant>> constOrder;
    bool optionExplicit = false;
};

} // namespace vbs
