#include "component/widgets/DataObjectModel.h"

#include "component/CurrencyObject.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"

#include <limits>

namespace {

bool IsNumeric(int type)
{
    return type == FieldType::Long || type == FieldType::Double || type == FieldType::Currency;
}

} // namespace

DataObjectModel::DataObjectModel(QObject* parent) : QAbstractTableModel(parent) {}

DataObjectModel::DataObjectModel(std::shared_ptr<DataObject> dataObject, QObject* parent)
    : QAbstractTableModel(parent)
{
    SetDataObject(std::move(dataObject));
}

DataObjectModel::~DataObjectModel() = default;

void DataObjectModel::SetDataObject(std::shared_ptr<DataObject> dataObject)
{
    // Until beginResetModel the old columns must still describe the old data object.
    beginResetModel();
    if (m_dataObject)
        disconnect(m_dataObject.get(), nullptr, this, nullptr);
    m_dataObject = std::move(dataObject);
    if (m_dataObject) {
        connect(m_dataObject.get(), &DataObject::RecordsetRefreshed, this, &DataObjectModel::Refresh);
        connect(m_dataObject.get(), &DataObject::CurrentChanged, this, &DataObjectModel::CurrentRecordChanged);
    }
    Reload();
    endResetModel();
}

void DataObjectModel::SetHiddenColumns(const QStringList& names)
{
    beginResetModel();
    m_hidden = names;
    Reload();
    endResetModel();
}

void DataObjectModel::SetFieldSequence(const QStringList& names)
{
    beginResetModel();
    m_sequence = names;
    Reload();
    endResetModel();
}

void DataObjectModel::Refresh()
{
    beginResetModel();
    Reload();
    endResetModel();
}

void DataObjectModel::Reload()
{
    m_errorReported = false;
    BuildColumns();
    m_rowCount = 0;
    if (m_dataObject) {
        try {
            m_rowCount = int(std::min<qint64>(m_dataObject->RecordCount(), std::numeric_limits<int>::max()));
        } catch (const Exception& e) {
            ReportReadError(e);
        }
    }
}

bool DataObjectModel::IsHidden(int fieldIndex) const
{
    return m_hidden.contains(m_dataObject->Field(fieldIndex).name, Qt::CaseInsensitive);
}

void DataObjectModel::BuildColumns()
{
    m_columns.clear();
    if (!m_dataObject)
        return;
    QList<int> fields;
    if (m_sequence.isEmpty()) {
        for (int i = 0; i < m_dataObject->FieldCount(); ++i)
            if (m_dataObject->Field(i).visible)
                fields.append(i);
    } else {
        // A stored sequence may name fields the table no longer has.
        for (const QString& name : m_sequence) {
            const int i = m_dataObject->FieldIndex(name.trimmed());
            if (i >= 0 && !fields.contains(i))
                fields.append(i);
        }
    }
    const bool converted = m_dataObject->CurrencyConversion() && m_dataObject->Database().ConversionCurrency();
    for (int i : fields) {
        if (IsHidden(i))
            continue;
        m_columns.append({i, false});
        if (converted && m_dataObject->Field(i).type == FieldType::Currency)
            m_columns.append({i, true});
    }
}

void DataObjectModel::ReportReadError(const Exception& error) const
{
    if (m_errorReported)
        return;
    m_errorReported = true;
    // Queued: the view that asked may be painting; listeners may show a window.
    auto* self = const_cast<DataObjectModel*>(this);
    QMetaObject::invokeMethod(
        self,
        [self, number = error.Number(), description = error.Description(), detail = error.Detail()] {
            Q_EMIT self->ReadFailed(number, description, detail);
        },
        Qt::QueuedConnection);
}

int DataObjectModel::FieldIndexOfColumn(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns[column].field : -1;
}

QString DataObjectModel::FieldNameOfColumn(int column) const
{
    const int field = FieldIndexOfColumn(column);
    return field >= 0 ? m_dataObject->Field(field).name : QString();
}

bool DataObjectModel::IsConversionColumn(int column) const
{
    return column >= 0 && column < m_columns.size() && m_columns[column].converted;
}

int DataObjectModel::ColumnOfField(int fieldIndex) const
{
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].field == fieldIndex && !m_columns[c].converted)
            return c;
    return -1;
}

int DataObjectModel::ColumnOfField(const QString& name) const
{
    return m_dataObject ? ColumnOfField(m_dataObject->FieldIndex(name)) : -1;
}

int DataObjectModel::RowOfCurrentRecord() const
{
    if (!m_dataObject)
        return -1;
    const qint64 position = m_dataObject->AbsolutePosition();
    return position >= 0 && position < m_rowCount ? int(position) : -1;
}

bool DataObjectModel::MoveToRow(int row)
{
    if (!m_dataObject || row < 0 || row >= m_rowCount)
        return false;
    return m_dataObject->MoveTo(row);
}

int DataObjectModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rowCount; }

int DataObjectModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataObjectModel::data(const QModelIndex& index, int role) const
{
    if (!m_dataObject || !index.isValid() || index.row() >= m_rowCount || index.column() >= m_columns.size())
        return {};
    const Column& column = m_columns[index.column()];
    const int type = m_dataObject->Field(column.field).type;
    switch (role) {
    case Qt::TextAlignmentRole:
        return IsNumeric(type) ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    case Qt::DisplayRole:
        if (type == FieldType::Boolean)
            return {}; // shown by the check box alone
        break;
    case Qt::EditRole:
        break;
    case Qt::CheckStateRole:
        if (type != FieldType::Boolean)
            return {};
        break;
    default:
        return {};
    }

    QVariant value;
    try {
        const RowPager::Row* row = m_dataObject->RowAt(index.row());
        if (!row)
            return {}; // the set shrank since the last reset
        if (role == Qt::DisplayRole)
            return m_dataObject->DisplayText(column.field, row->values[column.field], column.converted);
        value = m_dataObject->ValueOf(column.field, row->values[column.field]);
    } catch (const Exception& e) {
        ReportReadError(e);
        return {};
    }
    if (role == Qt::CheckStateRole)
        return value.toBool() ? Qt::Checked : Qt::Unchecked;
    if (column.converted && !FieldValue::IsNull(value))
        if (auto conversion = m_dataObject->Database().ConversionCurrency())
            return QVariant::fromValue(conversion->FromBase(value.value<Currency>()));
    return value;
}

QVariant DataObjectModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole)
        return {};
    const Column& column = m_columns[section];
    const QString& caption = m_dataObject->Field(column.field).caption;
    if (!column.converted)
        return caption;
    const auto conversion = m_dataObject->Database().ConversionCurrency();
    return QStringLiteral("%1 (%2)").arg(caption, conversion ? conversion->Name(-1) : QString());
}

Qt::ItemFlags DataObjectModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
