#include "script/ScriptError.h"

#include <QHash>

namespace vbs {

QString Err::Description(qint32 number)
{
    static const QHash<qint32, QString> texts = {
        {InvalidCall, QStringLiteral("Chiamata di routine o argomento non valido")},
        {Overflow, QStringLiteral("Overflow")},
        {OutOfMemory, QStringLiteral("Memoria insufficiente")},
        {SubscriptRange, QStringLiteral("Indice non compreso nell'intervallo")},
        {ArrayLocked, QStringLiteral("La matrice ha dimensioni fisse o è temporaneamente bloccata")},
        {DivisionByZero, QStringLiteral("Divisione per zero")},
        {TypeMismatch, QStringLiteral("Tipo non corrispondente")},
        {OutOfStringSpace, QStringLiteral("Spazio per le stringhe esaurito")},
        {OutOfStack, QStringLiteral("Spazio dello stack esaurito")},
        {ProcNotDefined, QStringLiteral("Sub o Function non definita")},
        {ObjectNotSet, QStringLiteral("Variabile oggetto non impostata")},
        {InvalidNull, QStringLiteral("Utilizzo non valido di Null")},
        {ObjectRequired, QStringLiteral("Necessario oggetto")},
        {CannotCreateObject, QStringLiteral("Impossibile creare l'oggetto")},
        {NoSuchMember, QStringLiteral("L'oggetto non supporta questa proprietà o metodo")},
        {NotCollection, QStringLiteral("L'oggetto non è una raccolta")},
        {WrongArgCount, QStringLiteral("Numero di argomenti errato o assegnazione di proprietà non valida")},
        {KeyExists, QStringLiteral("Chiave già associata a un elemento della raccolta")},
        {VariableUndefined, QStringLiteral("Variabile non definita")},
        {IllegalAssignment, QStringLiteral("Assegnazione non valida")},
        {ClassNotDefined, QStringLiteral("Classe non definita")},
        {InvalidReference, QStringLiteral("Riferimento non valido o non qualificato")},
        {ElementNotFound, QStringLiteral("Elemento non trovato")},
        {TimeLimit, QStringLiteral("Lo script ha superato il tempo massimo di esecuzione ed è stato interrotto")},
        {OutOfMemoryCompile, QStringLiteral("Memoria insufficiente per compilare lo script")},
        {Syntax, QStringLiteral("Errore di sintassi")},
        {ExpectedColon, QStringLiteral("Previsto ':'")},
        {ExpectedLParen, QStringLiteral("Previsto '('")},
        {ExpectedRParen, QStringLiteral("Previsto ')'")},
        {ExpectedIdentifier, QStringLiteral("Previsto identificatore")},
        {ExpectedEquals, QStringLiteral("Previsto '='")},
        {ExpectedIf, QStringLiteral("Previsto 'If'")},
        {ExpectedTo, QStringLiteral("Previsto 'To'")},
        {ExpectedEnd, QStringLiteral("Previsto 'End'")},
        {ExpectedFunction, QStringLiteral("Previsto 'Function'")},
        {ExpectedSub, QStringLiteral("Previsto 'Sub'")},
        {ExpectedThen, QStringLiteral("Previsto 'Then'")},
        {ExpectedWend, QStringLiteral("Previsto 'Wend'")},
        {ExpectedLoop, QStringLiteral("Previsto 'Loop'")},
        {ExpectedNext, QStringLiteral("Previsto 'Next'")},
        {ExpectedCase, QStringLiteral("Previsto 'Case'")},
        {ExpectedSelect, QStringLiteral("Previsto 'Select'")},
        {ExpectedExpression, QStringLiteral("Prevista espressione")},
        {ExpectedStatement, QStringLiteral("Prevista istruzione")},
        {ExpectedEndOfStatement, QStringLiteral("Prevista fine dell'istruzione")},
        {ExpectedInteger, QStringLiteral("Prevista costante intera")},
        {ExpectedWhileUntil, QStringLiteral("Previsto 'While' o 'Until'")},
        {ExpectedWith, QStringLiteral("Previsto 'With'")},
        {InvalidNumber, QStringLiteral("Numero non valido")},
        {InvalidCharacter, QStringLiteral("Carattere non valido")},
        {UnterminatedString, QStringLiteral("Costante stringa non terminata")},
        {InvalidMe, QStringLiteral("Utilizzo non valido della parola chiave 'Me'")},
        {LoopWithoutDo, QStringLiteral("'Loop' senza 'Do'")},
        {InvalidExit, QStringLiteral("Istruzione 'Exit' non valida")},
        {InvalidForVariable, QStringLiteral("Variabile di controllo del ciclo 'For' non valida")},
        {NameRedefined, QStringLiteral("Nome ridefinito")},
        {ParensOnSubCall, QStringLiteral("Impossibile utilizzare le parentesi per chiamare una Sub")},
        {ExpectedLiteral, QStringLiteral("Prevista costante letterale")},
        {ExpectedIn, QStringLiteral("Previsto 'In'")},
        {ExpectedClass, QStringLiteral("Previsto 'Class'")},
        {MustBeInClass, QStringLiteral("Deve essere definito all'interno di una classe")},
        {ExpectedLetSetGet, QStringLiteral("Previsto Let, Set o Get nella dichiarazione della proprietà")},
        {ExpectedProperty, QStringLiteral("Previsto 'Property'")},
        {MultipleDefault, QStringLiteral("Una classe non può avere più di una proprietà o metodo predefinito")},
        {InitTerminateArgs, QStringLiteral("Class_Initialize e Class_Terminate non accettano argomenti")},
        {PropertyNeedsArg, QStringLiteral("Property Let o Set deve avere almeno un argomento")},
        {UnexpectedNext, QStringLiteral("'Next' non previsto")},
        {DefaultNotPublic, QStringLiteral("'Default' richiede anche 'Public'")},
        {DefaultOnlyGet, QStringLiteral("'Default' è ammesso solo su Property Get")},
    };
    const auto it = texts.constFind(number);
    if (it != texts.constEnd())
        return *it;
    return QStringLiteral("Errore definito dall'applicazione o dall'oggetto");
}

VbError ScriptError::ToVbError() const
{
    VbError error(number, description, source);
    error.SetPosition(line, column);
    return error;
}

QString ScriptError::ToString() const
{
    if (line > 0)
        return QStringLiteral("%1 (riga %2)").arg(description).arg(line);
    return description;
}

ScriptError ScriptError::From(const VbError& error)
{
    ScriptError result;
    result.number = error.Number();
    result.description = error.Description();
    result.line = error.Line();
    result.column = error.Column();
    result.source = error.Source();
    return result;
}

} // namespace vbs
