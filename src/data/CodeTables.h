#pragma once
// The code tables of the archive: payment types, document types, courses and
// customers.

#include "data/TableBase.h"

class TipiPagamento : public TableBase
{
public:
    void DefineIdentity(TableIdentity& identity) override;
    void DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references) override;
    void OnUpdatedTableStruct(DataObject& p_objDS, double p_dblVersion, double p_dblOldVersion, bool p_blnCreated) override;
};

class TipiDocumento : public TableBase
{
public:
    void DefineIdentity(TableIdentity& identity) override;
    void DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references) override;
    void OnUpdatedTableStruct(DataObject& p_objDS, double p_dblVersion, double p_dblOldVersion, bool p_blnCreated) override;
    void OnNewRow(DataObject& p_objDS) override;
};

class Portate : public TableBase
{
public:
    void DefineIdentity(TableIdentity& identity) override;
    void DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references) override;
    void OnUpdatedTableStruct(DataObject& p_objDS, double p_dblVersion, double p_dblOldVersion, bool p_blnCreated) override;
};

class Clienti : public TableBase
{
public:
    void DefineIdentity(TableIdentity& identity) override;
    void DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references) override;
    void OnUpdatedTableStruct(DataObject& p_objDS, double p_dblVersion, double p_dblOldVersion, bool p_blnCreated) override;
    void OnNewRow(DataObject& p_objDS) override;
};

class PagamentiCliente : public TableBase
{
public:
    void DefineIdentity(TableIdentity& identity) override;
    void DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references) override;
    void OnNewRow(DataObject& p_objDS) override;
};
