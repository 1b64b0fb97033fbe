#include "component/FilterFields.h"

#include "component/DatabaseObject.h"
#include "component/SqlDialect.h"

namespace {

QString CaptionOf(const QString& name, const QString& description)
{
    if (!description.trimmed().isEmpty())
        return description;
    QString caption = name;
    caption.replace(u'_', u' ');
    return caption;
}

} // namespace

QList<FilterField> FilterFieldsOf(const DatabaseObject& database, const QString& table)
{
    const Schema& schema = database.GetSchema();
    const auto def = schema.Require(table);
    QList<FilterField> fields;
    for (const ColumnDef& c : def->allColumns)
        fields.append({c.name, CaptionOf(c.name, c.description), c.type, c.size});
    for (const ReferenceDef& r : def->lookups) {
        FilterField f{r.name, CaptionOf(r.name, QString()), FieldType::Long, 0};
        if (const auto target = schema.Find(r.table))
            if (const ColumnDef* display = target->FindColumn(r.displayColumn)) {
                f.type = display->type;
                f.size = display->size;
            }
        fields.append(f);
    }
    return fields;
}
