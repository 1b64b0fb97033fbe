#include "data/TableBase.h"

#include "component/DataObject.h"
#include "component/DatabaseEngine.h"

void TableBase::AddColumn(ColumnDefiner& columns, const QString& name, int type, int size, int option,
                          const QString& description)
{
    columns.AddColumn(name, type, size, 0, 0, option, -100, -100, true, description, 0, 0);
}

void TableBase::AddReference(ReferenceDefiner& references, const QString& name, const QString& table, bool owned,
                             const QString& displayColumn, const QString& furtherColumn)
{
    references.AddReference(name, table, owned, owned, furtherColumn, displayColumn, -100, -100, -100, 0, -2, true, 0);
}

void TableBase::Execute(DataObject& records, const QString& statement)
{
    records.Engine().Connection().Execute(statement);
}
