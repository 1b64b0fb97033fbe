#include "component/RecordEditSession.h"

#include "component/ComponentErrors.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/TableDef.h"

RecordEditSession::RecordEditSession(std::shared_ptr<DataObject> data, EditMode mode, RecordEditorOptions options)
    : m_data(std::move(data)), m_options(options)
{
    if (mode == EditMode::NewRecord) {
        m_data->AddNew();
        m_new = true;
    } else if (m_data->IsNewRecord()) {
        m_new = true;
    } else {
        if (m_data->IsEditing())
            m_data->SaveRecord();
        if (m_data->NoCurrentRecord())
            throw Exception(ComponentError::NoCurrentRecord, QStringLiteral("Nessun record da modificare"));
    }
    for (int i = 0; i < m_data->FieldCount(); ++i)
        if (IsShown(*m_data, i))
            m_fields.append(i);
}

RecordEditSession::~RecordEditSession()
{
    if (m_open)
        Cancel();
}

bool RecordEditSession::IsShown(const DataObject& data, int fieldIndex)
{
    return IsEditable(data, fieldIndex) || data.Field(fieldIndex).kind == FieldInfo::Kind::Foreign;
}

bool RecordEditSession::IsEditable(const DataObject& data, int fieldIndex)
{
    const FieldInfo::Kind kind = data.Field(fieldIndex).kind;
    return kind == FieldInfo::Kind::Column || kind == FieldInfo::Kind::Reference;
}

bool RecordEditSession::IsBaseField(int fieldIndex) const
{
    const TableDef& table = m_data->Table();
    if (table.baseTable.isEmpty())
        return false;
    const auto base = m_data->Database().GetSchema().Find(table.baseTable);
    if (!base)
        return false;
    const FieldInfo& f = m_data->Field(fieldIndex);
    return f.kind == FieldInfo::Kind::Reference ? base->FindLookup(f.name) != nullptr
                                                : base->FindColumn(f.name) != nullptr;
}

bool RecordEditSession::IsReadOnly(int fieldIndex) const
{
    return m_data->Field(fieldIndex).readOnly || !IsEditable(*m_data, fieldIndex) ||
           (m_options.baseTableOption != 0 && IsBaseField(fieldIndex));
}

QVariant RecordEditSession::EditorValue(DataObject& data, int fieldIndex)
{
    const FieldInfo& f = data.Field(fieldIndex);
    if (f.kind == FieldInfo::Kind::Reference && f.keyField >= 0)
        return data.ValueAt(f.keyField);
    return data.ValueAt(fieldIndex);
}

QVariant RecordEditSession::Value(int fieldIndex) const
{
    return EditorValue(*m_data, fieldIndex);
}

void RecordEditSession::SetValue(int fieldIndex, const QVariant& value)
{
    if (IsReadOnly(fieldIndex))
        throw Exception(ComponentError::InvalidValue,
                        QStringLiteral("Il campo «%1» non è modificabile").arg(m_data->Field(fieldIndex).caption));
    m_data->SetValue(m_data->Field(fieldIndex).name, value);
}

qint64 RecordEditSession::Save()
{
    m_data->SaveRecord();
    m_open = false;
    return m_data->ValueAt(0).toLongLong();
}

void RecordEditSession::Cancel()
{
    m_open = false;
    m_data->CancelUpdate();
}
