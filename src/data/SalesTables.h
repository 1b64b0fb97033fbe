#pragma once
// Menu items, receipt rows and receipts, with the rules that keep fiscal
// year, numbering, row amounts and receipt totals right whoever edits them.

#include "data/TableBase.h"

class Menu : public TableBase
{
public:
    void DefineIdentity(TableIdentity& identity) override;
    void DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references) override;
    void OnUpdatedTableStruct(DataObject& p_objDS, double p_dblVersion, double p_dblOldVersion, bool p_blnCreated) override;
};

class RigheRicevute : public TableBase
{
public:
    void DefineIdentity(TableIdentity& identity) override;
    void DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references) override;
    void OnUpdatedTableStruct(DataObject& p_objDS, double p_dblVersion, double p_dblOldVersion, bool p_blnCreated) override;
    void OnNewRow(DataObject& p_objDS) override;
    void OnUpdateField(DataObject& p_objDS, const QString& p_strChangedColumnName) override;
};

class Ricevute : public TableBase
{
public:
    void DefineIdentity(TableIdentity& identity) override;
    void DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references) override;
    void OnUpdatedTableStruct(DataObject& p_objDS, double p_dblVersion, double p_dblOldVersion, bool p_blnCreated) override;
    void OnNewRow(DataObject& p_objDS) override;
    void OnUpdateField(DataObject& p_objDS, const QString& p_strChangedColumnName) override;
    void OnBeforeUpdateReference(DataObject& p_objDS, const QString& p_strReferenceName, DataObject* p_objReferencedDS,
                                 bool p_blnDelete, bool p_blnInMemory) override;
    void OnUpdateReference(DataObject& p_objDS, const QString& p_strReferenceName, DataObject* p_objReferencedDS,
                           bool p_blnDelete, bool p_blnInMemory) override;

private:
    static void Number(DataObject& p_objDS, const QVariant& documentTypeOid);
};
