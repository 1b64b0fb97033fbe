#include "browser/GridCriteria.h"

#include "component/DatabaseObject.h"

namespace GridCriteria {

namespace {

QString FieldName(const QString& field)
{
    return field.contains(u' ') ? u'[' + field + u']' : field;
}

} // namespace

QString LikePattern(const QString& typed, bool contains)
{
    QString pattern;
    pattern.reserve(typed.size() + 8);
    if (contains)
        pattern += u'*';
    for (const QChar c : typed) {
        if (c == u'[' || c == u'#' || c == u'%' || c == u'_')
            pattern += u'[' + QString(c) + u']';
        else
            pattern += c;
    }
    pattern += u'*';
    return pattern;
}

QString LikeCriteria(const DatabaseObject& database, const QString& field, const QString& typed, bool contains)
{
    return FieldName(field) + QStringLiteral(" Like ") + database.SqlText(LikePattern(typed, contains));
}

QString ConditionCaption(const QString& field, const QString& typed, bool contains)
{
    return field + (contains ? QStringLiteral(" = '*") : QStringLiteral(" = '")) + typed + QStringLiteral("*'");
}

QString NextOrder(const QString& current, const QString& chosen)
{
    if (chosen.contains(u' ') || chosen.contains(u','))
        return chosen;
    if (!chosen.isEmpty() && current.contains(chosen, Qt::CaseSensitive))
        return chosen + (current.contains(QLatin1String("DESC")) ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    return chosen;
}

} // namespace GridCriteria

QString ColumnFilters::Element::Caption() const
{
    return Active() ? GridCriteria::ConditionCaption(field, text, contains) : field;
}

void ColumnFilters::Reset(const QStringList& fields)
{
    m_elements.clear();
    for (const QString& field : fields)
        m_elements.append({field, QString(), false});
}

void ColumnFilters::ClearAll()
{
    for (Element& element : m_elements) {
        element.text.clear();
        element.contains = false;
    }
}

int ColumnFilters::IndexOf(const QString& field) const
{
    for (int i = 0; i < m_elements.size(); ++i)
        if (m_elements[i].field == field)
            return i;
    return -1;
}

void ColumnFilters::Set(int index, const QString& text, bool contains)
{
    Element& element = m_elements[index];
    element.text = text;
    element.contains = !text.isEmpty() && contains;
}

bool ColumnFilters::Any() const
{
    for (const Element& element : m_elements)
        if (element.Active())
            return true;
    return false;
}

QString ColumnFilters::Criteria(const DatabaseObject& database) const
{
    QStringList parts;
    for (const Element& element : m_elements)
        if (element.Active())
            parts.append(GridCriteria::LikeCriteria(database, element.field, element.text, element.contains));
    return parts.join(QStringLiteral(" AND "));
}

QString ColumnFilters::Caption() const
{
    QStringList parts;
    for (const Element& element : m_elements)
        if (element.Active())
            parts.append(element.Caption());
    return parts.join(QStringLiteral(" AND "));
}
