#pragma once
// A read-only table model over a data object, for grids. Rows are the data
// object's records in its order, read on demand a page at a time; the row
// count is one COUNT query, kept until the model is reset. Columns are the
// data object's fields (minus hidden ones, or in a chosen sequence), each
// currency column followed by its converted amount when the data object
// shows amounts in the conversion currency too.

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <memory>

class Exception;

class DataObject;

class DataObjectModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DataObjectModel(QObject* parent = nullptr);
    explicit DataObjectModel(std::shared_ptr<DataObject> dataObject, QObject* parent = nullptr);
    ~DataObjectModel() override;

    // Replaces the data object (nullptr for none) and resets the model.
    void SetDataObject(std::shared_ptr<DataObject> dataObject);
    const std::shared_ptr<DataObject>& GetDataObject() const { return m_dataObject; }

    // Field names (any case) never shown, besides the fields hidden by default.
    void SetHiddenColumns(const QStringList& names);
    const QStringList& HiddenColumns() const { return m_hidden; }
    // When not empty, exactly these fields in this order (unknown names are
    // skipped); empty means every visible field in field order.
    void SetFieldSequence(const QStringList& names);
    const QStringList& FieldSequence() const { return m_sequence; }

    // Re-reads the count and the columns; the caller decides whether the
    // data object should requery first.
    void Refresh();

    // Column ↔ field. A conversion column maps to its currency field.
    int FieldIndexOfColumn(int column) const;
    QString FieldNameOfColumn(int column) const;
    bool IsConversionColumn(int column) const;
    // The column showing the field itself (not its conversion), or -1.
    int ColumnOfField(int fieldIndex) const;
    int ColumnOfField(const QString& name) const;

    // Bookmarks are row numbers. -1 when the data object has no current record.
    int RowOfCurrentRecord() const;
    // Makes the record at `row` the data object's current record.
    bool MoveToRow(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // The data object's current record changed (moved, added, deleted).
    void CurrentRecordChanged();
    // Reading the count or a row failed; reported once per reset, after the
    // model call that met it has returned. The detail is the technical text
    // behind the description (Exception::Detail).
    void ReadFailed(qint32 number, const QString& description, const QString& detail);

private:
    struct Column
    {
        int field = -1;
        bool converted = false;
    };

    // Columns and count, between beginResetModel and endResetModel.
    void Reload();
    void BuildColumns();
    bool IsHidden(int fieldIndex) const;
    void ReportReadError(const Exception& error) const;

    std::shared_ptr<DataObject> m_dataObject;
    QStringList m_hidden;
    QStringList m_sequence;
    QList<Column> m_columns;
    int m_rowCount = 0;
    mutable bool m_errorReported = false;
};
