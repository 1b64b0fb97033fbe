#pragma once
// Common ground of the archive's table classes: each defines itself to the
// archive engine and answers its record callbacks, holding no state.

#include "component/ComponentInterfaces.h"
#include "component/DefinitionSinks.h"
#include "component/SqlDialect.h"

class TableBase : public itfDefTable, public itfSetData
{
public:
    itfSetData* DefineDefaultData() override { return this; }

protected:
    // A column with the positional values every table of the archive uses.
    static void AddColumn(ColumnDefiner& columns, const QString& name, int type, int size = 0, int option = -100,
                          const QString& description = QString());
    // A look-up (owned false) or owning reference.
    static void AddReference(ReferenceDefiner& references, const QString& name, const QString& table, bool owned,
                             const QString& displayColumn, const QString& furtherColumn = QString());
    // Runs an upgrade statement on the connection of the data object's engine.
    static void Execute(DataObject& records, const QString& statement);
};

