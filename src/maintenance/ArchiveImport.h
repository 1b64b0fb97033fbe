#pragma once
// The import of one table's records from another archive file, without
// windows.
//
// The other archive is attached to the archive's connection for reading
// only: nothing in it is created, upgraded or locked. The columns that both
// archives have are copied; values that an older archive lacks are made as
// opening it would make them (its upgrades), in the copy only.
//
// References are resolved, never copied as keys:
// - a look-up (a menu item's course, a receipt's customer and document type,
//   a payment's customer and means of payment) goes to the record of this
//   archive that is the same: for a table whose display column is unique
//   (courses, document types, payment types) the record with the same
//   display value; for the others (customers) the record equal in every
//   copied column. A record this archive lacks is added first.
// - a receipt row's menu item goes to the menu item of this archive with the
//   same name, or to none: sold items do not return to the menu.
// - records owned by an imported record (a receipt's rows and payments) come
//   with it and belong to the new record.
// Importing records that belong to others (receipt rows, payments) imports
// the receipts they belong to, whole; records that belong to none are copied
// alone.
//
// Duplicates: records of a table with a unique display column that this
// archive already has are not copied again; nor are menu items with the name
// and course of one of this archive, nor customers equal in every column to
// one of this archive; a receipt whose number, document type and fiscal year
// this archive already holds stops the import (ImportConflict).

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "maintenance/RangeSteps.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class DataObject;
class DatabaseEngine;
class DatabaseObject;
class QTemporaryDir;
class TableDef;
struct PhysicalColumn;
struct ReferenceDef;

// The user's choice cannot be imported; the description says why.
class ImportRefused : public Exception
{
public:
    explicit ImportRefused(const QString& description) : Exception(ComponentError::Io, description) {}
};

// A receipt of the source collides with one of this archive.
class ImportConflict : public Exception
{
public:
    explicit ImportConflict(const QString& description) : Exception(ComponentError::Duplicate, description) {}
};

class ArchiveImport
{
public:
    ArchiveImport(DatabaseObject& database, const QString& table);
    ~ArchiveImport();
    ArchiveImport(const ArchiveImport&) = delete;
    ArchiveImport& operator=(const ArchiveImport&) = delete;

    // Attaches the source for reading. Throws ImportRefused when it is
    // missing, is the archive itself, is no archive of the application or
    // is damaged.
    void Open(const QString& sourcePath);
    bool SourceHasTable() const;
    qint64 SourceRecords();

    // The records to import, for looking at them: a temporary archive of
    // the application holding the source's table and the tables it refers to.
    std::shared_ptr<DataObject> Preview();

    // Copies, inside the engine's open transaction (the caller commits or
    // rolls back). False when `progress` asked to stop. Throws
    // ImportConflict or any error of the archive.
    bool Copy(const RangeProgress& progress);

    // After Copy: the records of the table (and the records they own) added,
    // the records left out as already present, the look-up records added.
    qint64 Added() const { return m_added; }
    qint64 AlreadyPresent() const { return m_present; }
    qint64 LookupsAdded() const { return m_lookupsAdded; }

    // Detaches the source (done by the destructor too); outside any transaction.
    void Close();

private:
    bool SourceHas(const QString& table) const;
    bool SourceHasColumn(const QString& table, const QString& column);
    double SourceVersion(const QString& table) const;
    // SQL over the source record of `table` named `alias`: a column's value
    // as this archive stores it, a look-up's key in this archive.
    QString SourceValue(const TableDef& table, const QString& column, const QString& alias);
    QString ReferenceValue(const TableDef& table, const ReferenceDef& reference, const QString& alias);
    // The columns that tell two records of a look-up table apart.
    QStringList IdentityColumns(const TableDef& table);
    // A record of this archive (`mainAlias`) is the source record (`alias`).
    QString SameRecord(const TableDef& table, const QString& mainAlias, const QString& alias, bool withReferences);
    void MapLookups(const QList<std::pair<const TableDef*, QString>>& copied);
    void MapBase(const TableDef& table);
    void CheckNumbering(const TableDef& roots);
    RangeStep InsertStep(const TableDef& table, const QString& condition, const QString& ownerColumn,
                         const QString& ownerValue, bool explicitOid, const QString& skip);
    void DropTemporary();

    DatabaseObject& m_database;
    std::shared_ptr<DatabaseEngine> m_engine;
    QString m_table;
    QString m_sourcePath;
    bool m_attached = false;
    QHash<QString, QString> m_sourceTables;       // lower-case name -> name
    QHash<QString, double> m_sourceVersions;      // lower-case name -> stored version
    QHash<QString, QSet<QString>> m_sourceColumns; // lower-case table -> lower-case columns
    QSet<QString> m_maps;                          // look-up tables mapped
    QSet<QString> m_baseMaps;
    QStringList m_temporary;
    qint64 m_offset = 0;
    qint64 m_added = 0;
    qint64 m_present = 0;
    qint64 m_lookupsAdded = 0;
    std::unique_ptr<QTemporaryDir> m_previewDir;
    std::shared_ptr<DatabaseEngine> m_previewEngine;
    std::shared_ptr<DatabaseObject> m_previewDatabase;
};
