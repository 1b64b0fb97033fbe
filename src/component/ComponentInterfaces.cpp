#include "component/ComponentInterfaces.h"

// Rules default to doing nothing; tables override the ones they need.
void itfSetData::OnUpdatedTableStruct(DataObject&, double, double, bool) {}
void itfSetData::OnNewRow(DataObject&) {}
void itfSetData::OnUpdateRow(DataObject&) {}
void itfSetData::OnDeleteRow(DataObject&) {}
void itfSetData::OnUpdateField(DataObject&, const QString&) {}
void itfSetData::OnBeforeUpdateField(DataObject&, const QString&, QVariant&, bool&) {}
void itfSetData::OnUpdateReference(DataObject&, const QString&, DataObject*, bool, bool) {}
void itfSetData::OnBeforeUpdateReference(DataObject&, const QString&, DataObject*, bool, bool) {}
void itfSetData::OnSelectParent(DataObject&, const QString&, QString&) {}
void itfSetData::OnSelect(DataObject&, QString&) {}
void itfSetData::OnSelectReference(DataObject&, const QString&, QString&) {}
void itfSetData::OnNewReference(DataObject&, const QString&, DataObject&) {}
void itfSetData::OnSetParent(DataObject&, DataObject&) {}
