#include "component/TableDef.h"

namespace {
template <typename List>
auto FindByName(const List& list, const QString& name) -> decltype(&list.front())
{
    for (const auto& item : list)
        if (item.name.compare(name, Qt::CaseInsensitive) == 0)
            return &item;
    return nullptr;
}
} // namespace

const ColumnDef* TableDef::FindColumn(const QString& column) const { return FindByName(allColumns, column); }
const ReferenceDef* TableDef::FindLookup(const QString& reference) const { return FindByName(lookups, reference); }
const ReferenceDef* TableDef::FindOwned(const QString& reference) const { return FindByName(ownedCollections, reference); }
const PhysicalColumn* TableDef::FindPhysical(const QString& column) const { return FindByName(physical, column); }

QString TableDef::PhysicalNameOf(const QString& columnOrReference) const
{
    if (const PhysicalColumn* p = FindPhysical(columnOrReference))
        return p->name;
    if (const ReferenceDef* r = FindLookup(columnOrReference))
        return ReferenceKeyColumn(r->name);
    return {};
}

QString FieldCaption(const QString& name, const QString& description)
{
    if (!description.trimmed().isEmpty())
        return description;
    QString caption = name;
    caption.replace(u'_', u' ');
    return caption;
}
