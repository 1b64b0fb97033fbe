#pragma once
// Splits script text into tokens: names and keywords (case-insensitive),
// literals, operators and statement ends. Comments and " _" continuations
// are dropped here.

#include "script/Variant.h"

#include <QString>
#include <vector>

namespace vbs {

enum class Tok : quint8 {
    Name,      // identifier or keyword; see Token::keyword
    Literal,   // number, string or date; see Token::value
    Op,        // operator or punctuation; see Token::op
    Newline,   // end of a line or ':'
    End,
};

enum class Kw : quint8 {
    None, And, ByRef, ByVal, Call, Case, Class, Const, Default, Dim, Do, Each, Else, ElseIf, Empty, End, Eqv,
    Erase, Error, Exit, Explicit, False, For, Function, Get, GoTo, If, Imp, In, Is, Let, Loop, Me, Mod, New,
    Next, Not, Nothing, Null, On, Option, Or, Preserve, Private, Property, Public, ReDim, Resume, Select, Set,
    Step, Sub, Then, To, True, Until, WEnd, While, With, Xor,
};

struct Token
{
    Tok type = Tok::End;
    Kw keyword = Kw::None;
    char op = 0;            // one of + - * / \ ^ & = < > ( ) , . and 'l' (<=) 'g' (>=) 'n' (<>)
    bool spaceBefore = false;
    bool bracketed = false; // [name]: never a keyword
    bool colon = false;     // a Newline that was a ':'
    int line = 1;
    int column = 1;
    QString text;           // the name as written
    QString lower;          // the name in lower case
    Variant value;          // literal value
};

// Raises VbError with the compile error number and position.
std::vector<Token> Tokenize(const QString& source, int firstLine = 1);

} // namespace vbs
