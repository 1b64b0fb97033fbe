#pragma once
// Order strings as the order dialog reads and writes them: terms separated
// by commas, each a field name (bracketed when it holds blanks, possibly
// qualified by its table) with an optional ASC or DESC.

#include <QList>
#include <QString>

namespace OrderText {

struct Term
{
    QString field;          // as written, without brackets
    bool descending = false;
};

QList<Term> Parse(const QString& order);

// "Nome, Prezzo DESC". A single ascending term is written "Nome ASC": a
// lone plain name is what a header click toggles, and the user who chose
// ascending in the dialog must get ascending.
QString Format(const QList<Term>& terms);

// The field of a data object a term names: the name itself, or the part
// after the table's own qualifier ("Menu.Nome" on Menu).
bool Names(const Term& term, const QString& field, const QString& table);

} // namespace OrderText
