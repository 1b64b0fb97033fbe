#include "component/RelatedItems.h"

#include "component/ComponentErrors.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/FieldValue.h"
#include "component/Schema.h"

namespace RelatedItems {

namespace {

QString TableCaption(const DataObject& data, const QString& table)
{
    const auto def = data.Database().GetSchema().Find(table);
    return def ? def->DisplayCaption() : table;
}

std::shared_ptr<DataObject> OpenWithParent(const std::shared_ptr<DataObject>& parent, const QString& table,
                                           const QString& criteria, const QString& link)
{
    DataObject::OpenSpec spec;
    spec.criteria = criteria;
    spec.link = link;
    spec.currencyConversion = parent->CurrencyConversion();
    spec.parent = parent;
    return std::make_shared<DataObject>(parent->DatabasePtr(), parent->EnginePtr(),
                                        parent->Database().GetSchema().Require(table), std::move(spec));
}

QString KeyCriteria(const QString& column, const QVariant& key)
{
    if (FieldValue::IsNull(key))
        return column + QStringLiteral(" Is Null");
    return QStringLiteral("%1 = %2").arg(column).arg(key.toLongLong());
}

} // namespace

QList<RelatedItem> Of(const DataObject& data, RelatedItem::Group group)
{
    const TableDef& table = data.Table();
    QList<RelatedItem> items;
    switch (group) {
    case RelatedItem::Group::Associated:
    case RelatedItem::Group::Referred:
        for (const QList<ReferenceDef>* references : {&table.lookups, &table.ownedCollections})
            for (const ReferenceDef& r : *references) {
                RelatedItem item;
                item.group = group;
                item.otherTable = r.table;
                item.reference = r.name;
                item.navigable = r.navigable;
                item.collection = r.owned;
                const QString referenceCaption = FieldCaption(r.name, QString());
                item.caption = group == RelatedItem::Group::Associated
                                   ? referenceCaption
                                   : TableCaption(data, r.table) + QStringLiteral(" (") + referenceCaption + u')';
                items.append(item);
            }
        break;
    case RelatedItem::Group::Container:
        for (const auto& other : data.Database().GetSchema().Tables()) {
            for (const ReferenceDef& r : other->lookups)
                if (r.table.compare(table.name, Qt::CaseInsensitive) == 0) {
                    RelatedItem item;
                    item.group = group;
                    item.otherTable = other->name;
                    item.reference = r.name;
                    item.navigable = r.navigable;
                    const QString link = FieldCaption(r.name, QString());
                    item.caption = other->DisplayCaption() + AgreementPhrase(link, false) + link;
                    items.append(item);
                }
            for (const ReferenceDef& r : other->ownedCollections)
                if (r.table.compare(table.name, Qt::CaseInsensitive) == 0) {
                    RelatedItem item;
                    item.group = group;
                    item.otherTable = other->name;
                    item.reference = r.name;
                    item.navigable = r.navigable;
                    item.ownedBy = true;
                    const QString link = FieldCaption(r.name, QString());
                    // A collection is many records: its caption is plural.
                    item.caption = other->DisplayCaption() + AgreementPhrase(link, true) + link;
                    items.append(item);
                }
        }
        break;
    }
    return items;
}

QList<std::shared_ptr<DataObject>> Chain(const std::shared_ptr<DataObject>& data)
{
    QList<std::shared_ptr<DataObject>> chain;
    for (auto object = data; object && !chain.contains(object); object = object->Parent())
        chain.append(object);
    return chain;
}

QString AgreementPhrase(const QString& fieldCaption, bool plural)
{
    const QString last = fieldCaption.trimmed().right(1).toLower();
    if (last == QLatin1String("i") || last == QStringLiteral("ì"))
        return QStringLiteral(" con stessi ");
    if (last == QLatin1String("a") || last == QStringLiteral("à"))
        return QStringLiteral(" con stessa ");
    if (last == QLatin1String("e") && plural)
        return QStringLiteral(" con stesse ");
    return QStringLiteral(" con stesso ");
}

bool NavigationAllowed(DataObject& data)
{
    return !data.IsEditing() && !data.NoCurrentRecord();
}

std::optional<Target> Resolve(const std::shared_ptr<DataObject>& data, RelatedItem::Group group, int number)
{
    if (number < 1)
        return std::nullopt;
    for (const auto& object : Chain(data)) {
        const QList<RelatedItem> items = Of(*object, group);
        if (number <= items.size())
            return Target{object, items[number - 1]};
        number -= int(items.size());
    }
    return std::nullopt;
}

std::shared_ptr<DataObject> Open(const std::shared_ptr<DataObject>& data, const RelatedItem& item)
{
    if (data->NoCurrentRecord())
        throw Exception(ComponentError::NoCurrentRecord,
                        QStringLiteral("Nessun record corrente nella tabella %1").arg(data->TableName()));
    const QString link = data->TableName() + u'.' + item.reference;
    if (item.group != RelatedItem::Group::Container) {
        if (item.collection)
            return data->OpenReference(item.reference);
        return OpenWithParent(data, item.otherTable,
                              KeyCriteria(QStringLiteral("OID"), data->GetValue(ReferenceKeyColumn(item.reference))), link);
    }
    if (item.ownedBy) {
        const QString ownerColumn = QStringLiteral("OID_%1_%2").arg(item.otherTable, item.reference);
        return OpenWithParent(data, item.otherTable, KeyCriteria(QStringLiteral("OID"), data->GetValue(ownerColumn)), link);
    }
    return OpenWithParent(data, item.otherTable, KeyCriteria(ReferenceKeyColumn(item.reference), data->ValueAt(0)), link);
}

} // namespace RelatedItems
