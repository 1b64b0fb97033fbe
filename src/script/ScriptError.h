#pragma once
// Script errors: the numbers scripts see in Err.Number, their Italian
// descriptions, the exception that carries a runtime error up to the handler,
// and the report handed to the host. The engine has no other error type: the
// application converts these to its own where it calls the engine.

#include <QString>
#include <exception>

namespace vbs {

namespace Err {
enum Code : qint32 {
    None = 0,
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptRange = 9,
    ArrayLocked = 10,
    DivisionByZero = 11,
    TypeMismatch = 13,
    OutOfStringSpace = 14,
    OutOfStack = 28,
    ProcNotDefined = 35,
    ObjectNotSet = 91,
    InvalidNull = 94,
    ObjectRequired = 424,
    CannotCreateObject = 429,
    NoSuchMember = 438,
    NotCollection = 451,
    WrongArgCount = 450,
    KeyExists = 457,
    VariableUndefined = 500,
    IllegalAssignment = 501,
    ClassNotDefined = 506,
    InvalidReference = 505,
    ElementNotFound = 32811,
    TimeLimit = 9000, // the host's time limit stopped the script

    // compile errors
    OutOfMemoryCompile = 1001,
    Syntax = 1002,
    ExpectedColon = 1003,
    ExpectedLParen = 1005,
    ExpectedRParen = 1006,
    ExpectedIdentifier = 1010,
    ExpectedEquals = 1011,
    ExpectedIf = 1012,
    ExpectedTo = 1013,
    ExpectedEnd = 1014,
    ExpectedFunction = 1015,
    ExpectedSub = 1016,
    ExpectedThen = 1017,
    ExpectedWend = 1018,
    ExpectedLoop = 1019,
    ExpectedNext = 1020,
    ExpectedCase = 1021,
    ExpectedSelect = 1022,
    ExpectedExpression = 1023,
    ExpectedStatement = 1024,
    ExpectedEndOfStatement = 1025,
    ExpectedInteger = 1026,
    ExpectedWhileUntil = 1027,
    ExpectedWith = 1029,
    InvalidNumber = 1031,
    InvalidCharacter = 1032,
    UnterminatedString = 1033,
    InvalidMe = 1037,
    LoopWithoutDo = 1038,
    InvalidExit = 1039,
    InvalidForVariable = 1040,
    NameRedefined = 1041,
    ParensOnSubCall = 1044,
    ExpectedLiteral = 1045,
    ExpectedIn = 1046,
    ExpectedClass = 1047,
    MustBeInClass = 1048,
    ExpectedLetSetGet = 1049,
    ExpectedProperty = 1050,
    MultipleDefault = 1052,
    InitTerminateArgs = 1053,
    PropertyNeedsArg = 1054,
    UnexpectedNext = 1055,
    DefaultNotPublic = 1057,
    DefaultOnlyGet = 1058,
};

// The Italian description of an error number; a generic text for numbers
// the engine does not know.
QString Description(qint32 number);
} // namespace Err

// Thrown inside the engine; caught by On Error Resume Next or by the host
// call. The application's functions and objects raise it to give a script an
// error (Err.Number, Err.Description, Err.Source); other exceptions they let
// out reach the host as an internal error.
class VbError : public std::exception
{
public:
    explicit VbError(qint32 number) : m_number(number), m_description(Err::Description(number)) {}
    VbError(qint32 number, QString description, QString source = {})
        : m_number(number), m_description(std::move(description)), m_source(std::move(source))
    {
    }
    qint32 Number() const { return m_number; }
    const QString& Description() const { return m_description; }
    const QString& Source() const { return m_source; }
    // Err.HelpFile and Err.HelpContext, as Err.Raise gave them.
    const QString& HelpFile() const { return m_helpFile; }
    qint32 HelpContext() const { return m_helpContext; }
    void SetHelp(QString file, qint32 context) { m_helpFile = std::move(file); m_helpContext = context; }
    int Line() const { return m_line; }
    int Column() const { return m_column; }
    void SetPosition(int line, int column) { m_line = line; m_column = column; }
    // A limit error: On Error Resume Next does not catch it.
    bool Fatal() const { return m_fatal; }
    void SetFatal() { m_fatal = true; }
    const char* what() const noexcept override { return "script error"; }

private:
    qint32 m_number;
    QString m_description;
    QString m_source;
    QString m_helpFile;
    qint32 m_helpContext = 0;
    int m_line = 0;
    int m_column = 0;
    bool m_fatal = false;
};

// What the host receives when adding code or calling a function fails.
struct ScriptError
{
    qint32 number = 0;
    QString description;
    int line = 0;   // 1-based line in the added text; 0 when unknown
    int column = 0; // 1-based, 0 when unknown
    QString source;

    bool IsError() const { return number != 0; }
    // The same error as an exception, with its position.
    VbError ToVbError() const;
    // "description (riga n)" for logs and the command-line runner.
    QString ToString() const;
    static ScriptError From(const VbError& error);
};

} // namespace vbs
