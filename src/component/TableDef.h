#pragma once
// The engine's picture of the archive's tables, built from the definitions
// the application registers, with the physical layout derived from them:
// inherited columns of extension tables, reference key columns, owner links.

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class itfDefTable;
class itfSetData;

struct ColumnDef
{
    QString name;
    int type = 0;           // FieldType code
    int size = 0;           // characters, for text
    int precision = 0;
    int scale = 0;
    int options = -100;     // 15: kept by the table's rules, read-only in editors
    int displayWidth = -100;
    int displayOrder = -100;
    bool visible = true;
    QString description;
    int minValue = 0;
    int maxValue = 0;
};

struct ReferenceDef
{
    QString name;
    QString table;          // referenced table
    bool owned = false;     // the referencing record owns the referenced ones
    bool ownedDelete = false;
    QString orderColumn;    // "further column" of an owned collection
    QString displayColumn;  // column of the referenced table shown for the reference
    bool navigable = true;
    QString ownerTable;     // the table that defined it (for inherited references)
};

struct IndexDef
{
    QString name;           // empty for an unnamed index
    bool unique = false;
    QStringList columns;    // column or reference names as defined
};

// One physical column of a table in the archive file.
struct PhysicalColumn
{
    enum class Kind { Oid, Data, ReferenceKey, BaseLink, OwnerLink };
    QString name;
    Kind kind = Kind::Data;
    int type = 11;
    int size = 0;
    int sourceIndex = -1;   // into columns or references of the table that defined it
};

// A table that owns records of this one through an owned reference.
struct OwnerLink
{
    QString ownerTable;
    QString referenceName;
    QString column;         // "OID_<owner>_<reference>"
};

class TableDef
{
public:
    QString name;
    QString caption;
    QString baseTable;
    QString extensionCaption;
    double version = 0.0;
    bool baseTableOption = true;
    QList<ColumnDef> columns;        // own columns, definition order
    QList<ReferenceDef> references;  // own references, definition order
    QList<IndexDef> indexes;
    std::shared_ptr<itfDefTable> definition;
    itfSetData* handler = nullptr;

    // Derived by Schema::Resolve.
    QList<ColumnDef> allColumns;            // inherited columns first, then own
    QList<ReferenceDef> lookups;            // look-up references, inherited first
    QList<ReferenceDef> ownedCollections;   // owned references defined here
    QList<OwnerLink> owners;
    QString baseLinkColumn;                 // "OID_<base>" for extension tables
    QList<PhysicalColumn> physical;

    const ColumnDef* FindColumn(const QString& column) const;
    const ReferenceDef* FindLookup(const QString& reference) const;
    const ReferenceDef* FindOwned(const QString& reference) const;
    const PhysicalColumn* FindPhysical(const QString& column) const;
    // The physical column behind a column or reference name used in an index.
    QString PhysicalNameOf(const QString& columnOrReference) const;
    QString DisplayCaption() const { return caption.isEmpty() ? name : caption; }
};

static inline QString ReferenceKeyColumn(const QString& reference) { return QStringLiteral("OID_") + reference; }

// The caption a field shows: its description, else its name with blanks for
// the underscores ("Ragione_Sociale" is "Ragione Sociale").
QString FieldCaption(const QString& name, const QString& description);
