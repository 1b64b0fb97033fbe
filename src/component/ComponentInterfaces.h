#pragma once
// Interfaces that the application implements and the archive engine calls:
// the database and table definitions, the record rules of each table, the
// notification sink of the main window and the progress sink of long
// operations.

#include <QString>
#include <QVariant>

class DataObject;
class DatabaseDefinition;
class TableIdentity;
class ColumnDefiner;
class IndexDefiner;
class ReferenceDefiner;

class itfSetData;

class itfDefDatabase
{
public:
    virtual ~itfDefDatabase() = default;
    // Registers every table, in dependency order, with AddTable.
    virtual void Define(DatabaseDefinition& p_objDefinition) = 0;
};

class itfDefTable
{
public:
    virtual ~itfDefTable() = default;
    virtual void DefineIdentity(TableIdentity& p_objIdentity) = 0;
    virtual void DefineStructure(ColumnDefiner& p_objColumns, IndexDefiner& p_objIndexes,
                                 ReferenceDefiner& p_objReferences) = 0;
    // The rule handler of the table; it lives as long as this definition
    // object, which the engine keeps for the whole attachment.
    virtual itfSetData* DefineDefaultData() = 0;
};

// Record rules. The engine calls them on the user-interface thread, inside its
// own operations; an exception thrown here aborts the operation that caused
// the call and leaves the archive as it was before it.
class itfSetData
{
public:
    virtual ~itfSetData() = default;
    // After the table was created (p_blnCreated, old version equal to the
    // current one) or its stored version differs from the definition's.
    virtual void OnUpdatedTableStruct(DataObject& p_objDS, double p_dblVersion, double p_dblOldVersion,
                                      bool p_blnCreated);
    // A new record buffer exists and may be given default values.
    virtual void OnNewRow(DataObject& p_objDS);
    // The current record is about to be stored (new or changed).
    virtual void OnUpdateRow(DataObject& p_objDS);
    // The current record is about to be deleted.
    virtual void OnDeleteRow(DataObject& p_objDS);
    // A column of the current record changed.
    virtual void OnUpdateField(DataObject& p_objDS, const QString& p_strChangedColumnName);
    // A column is about to change; the rule may alter the value or cancel.
    virtual void OnBeforeUpdateField(DataObject& p_objDS, const QString& p_strColumnName, QVariant& p_varNewValue,
                                     bool& p_blnCancel);
    // A referenced record changed. p_objReferencedDS is the record concerned
    // (positioned on it), or nullptr when the change concerns the whole set.
    virtual void OnUpdateReference(DataObject& p_objDS, const QString& p_strReferenceName,
                                   DataObject* p_objReferencedDS, bool p_blnDelete, bool p_blnInMemory);
    virtual void OnBeforeUpdateReference(DataObject& p_objDS, const QString& p_strReferenceName,
                                         DataObject* p_objReferencedDS, bool p_blnDelete, bool p_blnInMemory);
    // The owner of the current record is being looked up; the rule may narrow it.
    virtual void OnSelectParent(DataObject& p_objDS, const QString& p_strParentTable, QString& p_strCriteria);
    // A data object over the table is being opened; the rule may add criteria.
    virtual void OnSelect(DataObject& p_objDS, QString& p_strCriteria);
    // The records a reference may point to are being listed.
    virtual void OnSelectReference(DataObject& p_objDS, const QString& p_strReferenceName, QString& p_strCriteria);
    // A record was added to an owned collection of the current record.
    virtual void OnNewReference(DataObject& p_objDS, const QString& p_strReferenceName, DataObject& p_objReferencedDS);
    // The current record was given an owner.
    virtual void OnSetParent(DataObject& p_objDS, DataObject& p_objParentDS);
};

// Notifications for the main window.
class itfNotifyEvent
{
public:
    virtual ~itfNotifyEvent() = default;
    virtual void OnEvent(int p_nEventCode, const QString& p_strDetail) = 0;
    virtual void OnInternalMessage(int p_nCode, const QString& p_strText) = 0;
    // A question with OK and Cancel; p_blnCancel comes in as the default answer.
    virtual void OnQueryMessage(int p_nMessageType, const QString& p_strText, bool& p_blnCancel) = 0;
    virtual void OnReportRequest(const QVariantList& p_varArguments) = 0;
};

// Progress of a long operation of the engine.
class itfProgress
{
public:
    virtual ~itfProgress() = default;
    // Returns false to stop the operation.
    virtual bool OnProgress(int p_evtAction, qint64 p_nTotal, qint64 p_nCount) = 0;
    virtual bool OnStopped() = 0;
    virtual void OnStart(int p_evtAction, qint64 p_nTotal) = 0;
    virtual void OnEnd(int p_evtAction, qint64 p_nTotal) = 0;
};
