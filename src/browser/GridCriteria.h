#pragma once
// The criteria and orders the grid tools hand to the current data object:
// a column's "starts with" or "contains" condition built from what the user
// typed (the text quoted by the archive, never pasted in), the captions
// that show those conditions, and the next order of a column.

#include <QList>
#include <QString>
#include <QStringList>

class DatabaseObject;

namespace GridCriteria {

// The pattern of what the user typed: "text*" or, with `contains`, "*text*".
// '*' and '?' stay wildcards; every other character stands for itself
// ("[", "#", "%", "_" are enclosed in brackets).
QString LikePattern(const QString& typed, bool contains);

// `field Like 'pattern'`, the pattern quoted by the archive.
QString LikeCriteria(const DatabaseObject& database, const QString& field, const QString& typed, bool contains);

// How a condition is shown to the user: field = 'text*' or field = '*text*'
// (the text as typed).
QString ConditionCaption(const QString& field, const QString& typed, bool contains);

// The order after choosing a column (or a combined order) `chosen` while
// the data object is in `current`: a list (a blank or a comma in it) is
// taken as it is; a column already in the order (a case-sensitive
// substring test) toggles between "<column> DESC" and "<column> ASC";
// any other column gives its plain name.
QString NextOrder(const QString& current, const QString& chosen);

} // namespace GridCriteria

// The per-column filters of a view: one element per text field, each
// holding what the user typed and whether it must be contained, so that the
// condition can be built again from them whatever the text holds.
class ColumnFilters
{
public:
    struct Element
    {
        QString field;
        QString text;       // empty: no condition
        bool contains = false;
        bool Active() const { return !text.isEmpty(); }
        // The menu caption: the field's name, or its condition when active.
        QString Caption() const;
    };

    void Reset(const QStringList& fields);
    void ClearAll();
    int Count() const { return int(m_elements.size()); }
    const Element& At(int index) const { return m_elements[index]; }
    // The element of a field, or -1.
    int IndexOf(const QString& field) const;
    // An empty text removes the condition.
    void Set(int index, const QString& text, bool contains);
    bool Any() const;

    // The conditions joined by " AND ", in element order, as the data object
    // reads them; empty when none is active.
    QString Criteria(const DatabaseObject& database) const;
    // The same as the user sees them (the status bar's text).
    QString Caption() const;

private:
    QList<Element> m_elements;
};
