#include "component/OrderText.h"

#include <QStringList>

namespace OrderText {

namespace {

QString Unbracket(QString name)
{
    name = name.trimmed();
    name.remove(u'[').remove(u']');
    return name;
}

QString Bracket(const QString& name)
{
    return name.contains(u' ') ? u'[' + name + u']' : name;
}

} // namespace

QList<Term> Parse(const QString& order)
{
    QList<Term> terms;
    for (const QString& part : order.split(u',', Qt::SkipEmptyParts)) {
        QString text = part.trimmed();
        if (text.isEmpty())
            continue;
        Term term;
        const qsizetype blank = text.lastIndexOf(u' ');
        if (blank > 0 && !text.endsWith(u']')) {
            const QString direction = text.mid(blank + 1);
            if (direction.compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0) {
                term.descending = true;
                text.truncate(blank);
            } else if (direction.compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0) {
                text.truncate(blank);
            }
        }
        term.field = Unbracket(text);
        if (!term.field.isEmpty())
            terms.append(term);
    }
    return terms;
}

QString Format(const QList<Term>& terms)
{
    QStringList parts;
    for (const Term& term : terms)
        parts.append(Bracket(term.field) + (term.descending ? QStringLiteral(" DESC") : QString()));
    if (terms.size() == 1 && !terms.first().descending)
        return parts.first() + QStringLiteral(" ASC");
    return parts.join(QStringLiteral(", "));
}

bool Names(const Term& term, const QString& field, const QString& table)
{
    if (term.field.compare(field, Qt::CaseInsensitive) == 0)
        return true;
    const qsizetype dot = term.field.lastIndexOf(u'.');
    return dot > 0 && term.field.left(dot).compare(table, Qt::CaseInsensitive) == 0 &&
           term.field.mid(dot + 1).compare(field, Qt::CaseInsensitive) == 0;
}

} // namespace OrderText
