#pragma once
// Records of one table (or of one record's owned collection) with a current
// record. Everything goes through SQL: counting, moving, finding, filtering,
// sorting and aggregating never load the whole set; rows are fetched in
// pages for grids. Writes run the table's rules and keep the owners of the
// changed record up to date, atomically.

#include "component/FieldInfo.h"
#include "component/QueryResolver.h"
#include "component/RowPager.h"

#include <QObject>
#include <QVariant>
#include <memory>
#include <optional>

class DatabaseEngine;
class DatabaseObject;
class TableDef;
class itfSetData;

class DataObject : public QObject, public std::enable_shared_from_this<DataObject>
{
    Q_OBJECT

public:
    // How the set was opened; see Table::OpenDataObject.
    struct OpenSpec
    {
        QString criteria;
        QString order;
        QString link;
        QString select;
        bool currencyConversion = false;
        // An owned collection: the owner's table, reference and record.
        QString ownerColumn;
        qint64 ownerOid = 0;
        QString ownerReference;
        std::weak_ptr<DataObject> parent;
    };

    DataObject(std::shared_ptr<DatabaseObject> database, std::shared_ptr<DatabaseEngine> engine,
               std::shared_ptr<const TableDef> table, OpenSpec spec);
    ~DataObject() override;

    // Identity
    DatabaseObject& Database() const { return *m_database; }
    std::shared_ptr<DatabaseObject> DatabasePtr() const { return m_database; }
    DatabaseEngine& Engine() const { return *m_engine; }
    std::shared_ptr<DatabaseEngine> EnginePtr() const { return m_engine; }
    const TableDef& Table() const { return *m_table; }
    QString TableName() const;
    const QString& LinkText() const { return m_spec.link; }
    // The criteria the set was opened with (before any Filter).
    const QString& Criteria() const { return m_spec.criteria; }
    const QString& DefaultOrder() const { return m_spec.order; }
    bool CurrencyConversion() const { return m_spec.currencyConversion; }
    std::shared_ptr<DataObject> Parent() const { return m_spec.parent.lock(); }
    const QString& OwnerReference() const { return m_spec.ownerReference; }

    // Fields: OID first, then the table's columns and references.
    int FieldCount() const { return int(m_fields.size()); }
    const FieldInfo& Field(int index) const { return m_fields[index]; }
    int FieldIndex(const QString& name) const;
    const FieldInfo& RequireField(const QString& name) const;

    // The set
    qint64 RecordCount();
    bool IsEmptySet();
    const QString& Filter() const { return m_filterText; }
    void SetFilter(const QString& criteria);
    const QString& Sort() const { return m_sortText; }
    void SetSort(const QString& order);
    // Reads the set again and tells listeners (OnRefreshRecordset).
    void Requery();

    // Navigation. A bookmark is a 0-based position in the set.
    bool IsBOF();
    bool IsEOF();
    bool NoCurrentRecord();
    bool MoveFirst();
    bool MoveLast();
    bool MoveNext();
    bool MovePrevious();
    bool MoveTo(qint64 position);
    qint64 AbsolutePosition();
    bool FindKey(const QVariant& oid);
    // Finds the first record matching `criteria`, from the start or after the
    // current record; on failure the current record does not change.
    bool FindFirst(const QString& criteria, bool fromNext = false);

    // Values of the current record (or of the record being edited).
    QVariant GetValue(const QString& name);
    QVariant ValueAt(int position);
    void SetValue(const QString& name, const QVariant& value);
    QString FormattedValue(const QString& name, bool converted = false);
    QString FormatValue(int fieldIndex, const QVariant& value, bool converted = false) const;
    // Rows read by RowAt hold values as stored: these give the application's
    // form and the display text (the latter without building dates).
    QVariant ValueOf(int fieldIndex, const QVariant& stored) const;
    QString DisplayText(int fieldIndex, const QVariant& stored, bool converted = false) const;

    // Writing
    void AddNew();
    void AddRecord(const QVariantList& nameValuePairs);
    void SaveRecord();
    void CancelUpdate();
    bool IsEditing() const { return m_editing; }
    bool IsNewRecord() const { return m_editing && m_isNew; }
    void DeleteRecord();
    // Whether other records refer to the current one.
    bool IsInUse();
    // Ends the running command with `message` as its error.
    [[noreturn]] void Interrupt(const QString& message);

    // References
    std::shared_ptr<DataObject> OpenReference(const QString& reference, const QString& order = {},
                                              const QString& select = {});
    std::shared_ptr<DataObject> OpenReferencedTable(const QString& reference);
    void SetReference(const QString& reference, const QVariant& key, bool remove = false);
    QVariant ReferenceKey(const QString& reference, const QVariant& displayValue);

    // 0 sum, 1 average, 2 maximum, over the records of the set (after Filter).
    QVariant Aggregate(const QString& field, int kind);

    // Positional reading for grids; nullptr beyond the end.
    const RowPager::Row* RowAt(qint64 position);
    // A criteria string that selects records whose `column` equals `value`.
    QString BuildCriteria(const QString& column, const QVariant& value, const QString& wildcard = QStringLiteral("%")) const;
    // Writes every record of this set into `target` (same table definition).
    qint64 CopyTo(DataObject& target, class itfProgress* progress = nullptr);

Q_SIGNALS:
    void FieldUpdated(const QString& name);
    void RecordsetRefreshed();
    void CurrentChanged();

private:
    enum class Edge { None, Bof, Eof };
    struct EditState
    {
        bool editing = false;
        bool isNew = false;
        QVariantList buffer;
        std::optional<RowPager::Row> current;
        bool deleted = false;
        Edge edge = Edge::None;
        qint64 position = -1;
    };
    // Objects whose records a write changed, to restore if the write fails.
    struct Touched
    {
        QList<std::pair<std::shared_ptr<DataObject>, EditState>> states;
        void Add(const std::shared_ptr<DataObject>& object);
        void Restore();
    };
    // Runs `write(touched)` as one atomic group: when it throws, the archive
    // rolls back and every object it touched returns to its state before.
    template <typename Write>
    void WriteRestoring(Write&& write);
    EditState CaptureState() const;
    void RestoreState(const EditState& state);
    void BeginEdit();
    void WriteRecord();
    void CheckUniqueKeys();
    std::shared_ptr<DataObject> OwnerObject(const OwnerLink& link, qint64 ownerOid);
    void NotifyOwners(bool before, bool isNew, bool deleting, DataObject* oldRow, Touched& touched,
                      QList<std::shared_ptr<DataObject>>& keepAlive);
    void DeleteCascade(const TableDef& table, qint64 oid);
    void CopyBaseRecord(qint64 baseOid);
    qint64 CurrentOid();

    void BuildFields();
    void BuildQuery();
    SqlFragment WhereClause() const;
    QString FromClause() const;
    void CheckGeneration();
    void SetCurrent(std::optional<RowPager::Row> row, qint64 position);
    bool MoveToEnd(bool last);
    bool Step(bool backwards);
    void EnsurePositioned();
    void FlushPendingEdit();
    std::optional<RowPager::Row> FetchOne(const SqlFragment& extraWhere, bool reverse, const RowPager::Row* after);
    QVariant& BufferValue(int index);
    QVariant CurrentValue(int index);
    void RequireCurrent() const;
    void SetFieldValue(int index, const QVariant& value, bool runRules);
    void SetReferenceValue(int displayIndex, const QVariant& value);
    std::shared_ptr<DataObject> OpenKeyed(const TableDef& table, qint64 oid);
    void ReadBack(qint64 oid);

    std::shared_ptr<DatabaseObject> m_database;
    std::shared_ptr<DatabaseEngine> m_engine;
    std::shared_ptr<const TableDef> m_table;
    OpenSpec m_spec;
    QueryResolver m_resolver;
    QList<FieldInfo> m_fields;

    QString m_filterText;
    QString m_sortText;
    SqlFragment m_baseWhere;
    SqlFragment m_filterWhere;
    RowPager m_pager;

    bool m_positioned = false;
    Edge m_edge = Edge::None;
    std::optional<RowPager::Row> m_current;
    bool m_currentDeleted = false;
    qint64 m_position = -1;
    quint64 m_seenGeneration = 0;

    bool m_editing = false;
    bool m_isNew = false;
    QVariantList m_buffer;
    int m_ruleDepth = 0;
    QString m_insertSql;
    QString m_updateSql;
    QList<int> m_writtenFields;
};
