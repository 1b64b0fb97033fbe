// Malformed criteria and orders: each raises the right error, with a message
// that says what is wrong, where, and in which text.

#include "SqlDialectTestDb.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"

using namespace SqlDialectTest;

namespace {

struct Failure
{
    qint32 number = 0;
    QString description;
};

Failure CriteriaFailure(const QString& criteria, const QString& table = QStringLiteral("Ricevute"))
{
    FakeResolver resolver(table);
    try {
        SqlDialect::TranslateCriteria(criteria, resolver);
    } catch (const Exception& e) {
        return {e.Number(), e.Description()};
    }
    return {};
}

} // namespace

TEST(SqlDialectErrors, SyntaxErrorsNameTheFaultAndItsPosition)
{
    const struct
    {
        const char* criteria;
        const char* message;
    } cases[] = {
        {"(Numero = 1", "Criterio non valido: parentesi non chiusa (posizione 1) in «(Numero = 1»"},
        {"Numero = (1 + 2", "parentesi non chiusa (posizione 10)"},
        {"Numero = 1)", "parentesi chiusa senza la sua aperta (posizione 11)"},
        {"Numero In (1, 2", "parentesi non chiusa"},
        {"Year(Data = 2026", "parentesi non chiusa (posizione 5)"},
        {"Note = 'abc", "testo tra virgolette non chiuso (posizione 8)"},
        {"Note = \"abc", "testo tra virgolette non chiuso"},
        {"Data = #13/45/2026#", "data non valida #13/45/2026#"},
        {"Data = #02/30/2026#", "data non valida"},
        {"Data = #03/01/2026 25:00#", "data non valida"},
        {"Data = #03/01/2026", "data non chiusa"},
        {"Numero = 1 AND", "manca un valore alla fine"},
        {"AND Numero = 1", "atteso un valore, trovato «AND»"},
        {"Numero = = 1", "atteso un valore, trovato «=»"},
        {"Numero = 1 Numero = 2", "testo in eccesso a partire da «Numero» (posizione 12)"},
        {"Numero @ 1", "carattere non valido «@»"},
        {"[Numero = 1", "nome tra parentesi quadre non chiuso"},
        {"[] = 1", "nome vuoto"},
        {"Note Is 1", "atteso «NULL» dopo «IS»"},
        {"Numero Between 1", "atteso «AND»"},
        {"Numero In 1", "atteso «(» dopo «IN»"},
        {"Note Like", "manca il motivo dopo «LIKE»"},
        {"Note Like 'ab[c'", "motivo di Like non valido"},
        {"Note", "l'espressione non è una condizione"},
        {"Data", "l'espressione non è una condizione"},
        {"Left(Note) = 'a'", "la funzione Left vuole 2 argomenti, non 1"},
        {"Date(1) = 1", "la funzione Date vuole 0 argomenti, non 1"},
        {"Importo_Ricevuta = 'molto'", "il testo 'molto' non è un importo"},
        {"Data = 'ieri'", "data non valida 'ieri'"},
        {"Ricevute. = 1", "atteso un nome di campo dopo «.»"},
    };
    for (const auto& c : cases) {
        const Failure f = CriteriaFailure(QString::fromUtf8(c.criteria));
        EXPECT_EQ(f.number, ComponentError::Syntax) << c.criteria << " -> " << f.description.toStdString();
        EXPECT_TRUE(f.description.contains(QString::fromUtf8(c.message)))
            << c.criteria << " -> " << f.description.toStdString();
        EXPECT_TRUE(f.description.startsWith("Criterio non valido: ")) << f.description.toStdString();
    }
}

TEST(SqlDialectErrors, UnknownNamesAndFunctions)
{
    Failure f = CriteriaFailure("Xyz = 1");
    EXPECT_EQ(f.number, ComponentError::UnknownField);
    EXPECT_TRUE(f.description.startsWith("Campo sconosciuto: Xyz (posizione 1) in «Xyz = 1»"))
        << f.description.toStdString();
    f = CriteriaFailure("Numero = 1 AND Nessuna.Numero = 1");
    EXPECT_EQ(f.number, ComponentError::UnknownField);
    EXPECT_TRUE(f.description.startsWith("Campo sconosciuto: Nessuna.Numero")) << f.description.toStdString();
    f = CriteriaFailure("foo(Numero) = 1");
    EXPECT_EQ(f.number, ComponentError::UnknownFunction);
    EXPECT_TRUE(f.description.startsWith("Funzione sconosciuta: foo")) << f.description.toStdString();
    EXPECT_EQ(CriteriaFailure("Format(Data, 'yyyy') = '2026'").number, ComponentError::UnknownFunction);

    FakeResolver resolver("Ricevute");
    try {
        SqlDialect::TranslateOrder("Numero, Xyz DESC", resolver);
        ADD_FAILURE() << "unknown order field accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), ComponentError::UnknownField);
    }
    for (const char* bad : {"Numero,", ",Numero", "Numero DESC ASC", "Numero Numero", "(Numero"}) {
        try {
            SqlDialect::TranslateOrder(bad, resolver);
            ADD_FAILURE() << "accepted order: " << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Number(), ComponentError::Syntax) << bad;
            EXPECT_TRUE(e.Description().startsWith("Ordinamento non valido: ")) << e.what();
        }
    }
}

TEST(SqlDialectErrors, LimitsProtectTheStack)
{
    const auto syntax = [](const QString& criteria, const char* message) {
        const Failure f = CriteriaFailure(criteria);
        EXPECT_EQ(f.number, ComponentError::Syntax) << criteria.left(60).toStdString();
        EXPECT_TRUE(f.description.contains(QString::fromUtf8(message))) << f.description.toStdString();
        // The quoted text is cut short.
        EXPECT_LT(f.description.size(), 300);
    };
    syntax(QString(5000, u'(') + "1" + QString(5000, u')') + " = 1", "troppo annidata");
    syntax(QString("Not ").repeated(5000) + "Numero = 1", "troppo annidata");
    syntax(QString("-").repeated(5000) + "Numero = 1", "troppo annidata");
    syntax("Len(" + QString("Trim(").repeated(2000) + "Note" + QString(")").repeated(2001) + " = 1", "troppo");
    syntax("Numero = 1" + QString(" + 1").repeated(300), "troppo complessa");
    syntax("Numero = 1" + QString(" AND Numero = 1").repeated(400), "troppo complessa");
    syntax(QString(40000, u' ') + "Numero = 1", "testo troppo lungo");
    // Within the translator's nesting but beyond what SQLite's parser takes.
    syntax(QString("Abs(").repeated(45) + "Numero" + QString(")").repeated(45) + " = 1", "troppo complessa");
    syntax(QString("(Numero = 1 AND ").repeated(25) + "Numero = 1" + QString(")").repeated(25), "troppo");

    // Reasonable sizes pass.
    TestDb db;
    EXPECT_EQ(db.Select("Ricevute", QString(30, u'(') + "Numero = 3" + QString(30, u')')), (Oids{5}));
    EXPECT_EQ(db.Select("Ricevute", "Numero = 3" + QString(" AND Numero = 3").repeated(100)), (Oids{5}));
    QStringList many;
    for (int i = 0; i < 2000; ++i)
        many << QString::number(i + 3);
    EXPECT_EQ(db.Select("Ricevute", "Numero In (" + many.join(',') + ")"), (Oids{5}));
}
