#include "component/FilterFields.h"

#include "component/DatabaseObject.h"
#include "component/SqlDialect.h"

QList<FilterField> FilterFieldsOf(const DatabaseObject& database, const QString& table)
{
    const Schema& schema = database.GetSchema();
    const auto def = schema.Require(table);
    QList<FilterField> fields;
    for (const ColumnDef& c : def->allColumns)
        fields.append({c.name, FieldCaption(c.name, c.description), c.type, c.size});
    for (const ReferenceDef& r : def->lookups) {
        FilterField f{r.name, FieldCaption(r.name, QString()), FieldType::Long, 0};
        if (const ColumnDef* display = schema.DisplayColumn(r)) {
            f.type = display->type;
            f.size = display->size;
        }
        fields.append(f);
    }
    return fields;
}
