// Writing side of DataObject: edit buffer, rules, storing, deleting, and the
// references between records. Every write runs in one atomic group: if a rule
// or the storage refuses, the archive and the objects involved are left as
// they were.

#include "component/DataObject.h"

#include "component/ComponentErrors.h"
#include "component/ComponentGlobal.h"
#include "component/ComponentInterfaces.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/FieldValue.h"
#include "component/Schema.h"
#include "component/SchemaStore.h"
#include "component/Sqlite.h"
#include "component/SqlDialect.h"
#include "component/Table.h"

#include <algorithm>

using SqlDialect::QuoteName;

namespace {

constexpr int kMaxRuleDepth = 32;

// Counts nested rule calls, so that rules that keep triggering each other end
// with an error instead of exhausting the stack.
class RuleDepth
{
public:
    explicit RuleDepth(int& depth) : m_depth(depth)
    {
        if (++m_depth > kMaxRuleDepth) {
            --m_depth;
            throw Exception(ComponentError::Definition,
                            QStringLiteral("Le regole della tabella si richiamano senza fine: operazione interrotta"));
        }
    }
    ~RuleDepth() { --m_depth; }
    RuleDepth(const RuleDepth&) = delete;
    RuleDepth& operator=(const RuleDepth&) = delete;

private:
    int& m_depth;
};

bool IsWritable(FieldInfo::Kind kind)
{
    return kind == FieldInfo::Kind::Column || kind == FieldInfo::Kind::ReferenceKey ||
           kind == FieldInfo::Kind::BaseLink || kind == FieldInfo::Kind::OwnerLink;
}

qint64 KeyOf(const QVariant& value, const QString& reference)
{
    bool ok = false;
    const qint64 key = value.toLongLong(&ok);
    if (!ok)
        throw Exception(ComponentError::InvalidValue,
                        QStringLiteral("Chiave non valida per il riferimento «%1»: %2").arg(reference, value.toString()));
    return key;
}

} // namespace

void DataObject::Touched::Add(const std::shared_ptr<DataObject>& object)
{
    for (const auto& entry : states)
        if (entry.first == object)
            return;
    states.append({object, object->CaptureState()});
}

void DataObject::Touched::Restore()
{
    for (auto& [object, state] : states)
        object->RestoreState(state);
}

template <typename Write>
void DataObject::WriteRestoring(Write&& write)
{
    Touched touched;
    touched.Add(shared_from_this());
    try {
        AtomicWrite atomic(*m_engine);
        write(touched);
        atomic.Commit();
    } catch (...) {
        touched.Restore();
        m_engine->DataChanged();
        throw;
    }
}

DataObject::EditState DataObject::CaptureState() const
{
    return {m_editing, m_isNew, m_buffer, m_current, m_currentDeleted, m_edge, m_position};
}

void DataObject::RestoreState(const EditState& state)
{
    m_editing = state.editing;
    m_isNew = state.isNew;
    m_buffer = state.buffer;
    m_current = state.current;
    m_currentDeleted = state.deleted;
    m_edge = state.edge;
    m_position = state.position;
    m_pager.Invalidate();
    m_seenGeneration = m_engine->Generation();
}

qint64 DataObject::CurrentOid()
{
    if (m_editing && !m_isNew)
        return m_buffer[0].toLongLong();
    EnsurePositioned();
    RequireCurrent();
    return m_current->oid;
}

void DataObject::BeginEdit()
{
    if (m_editing)
        return;
    EnsurePositioned();
    RequireCurrent();
    m_buffer.clear();
    m_buffer.reserve(m_fields.size());
    for (int i = 0; i < m_fields.size(); ++i)
        m_buffer.append(ValueOf(i, m_current->values[i]));
    m_editing = true;
    m_isNew = false;
}

void DataObject::AddNew()
{
    FlushPendingEdit();
    m_buffer = QVariantList();
    m_buffer.reserve(m_fields.size());
    for (int i = 0; i < m_fields.size(); ++i)
        m_buffer.append(QVariant());
    m_editing = true;
    m_isNew = true;
    if (!m_spec.ownerColumn.isEmpty()) {
        const int owner = FieldIndex(m_spec.ownerColumn);
        if (owner >= 0)
            m_buffer[owner] = QVariant(m_spec.ownerOid);
    }
    try {
        RuleDepth depth(m_ruleDepth);
        if (m_table->handler)
            m_table->handler->OnNewRow(*this);
    } catch (...) {
        CancelUpdate();
        throw;
    }
    Q_EMIT CurrentChanged();
}

void DataObject::AddRecord(const QVariantList& nameValuePairs)
{
    if (nameValuePairs.size() % 2 != 0)
        throw Exception(ComponentError::InvalidValue,
                        QStringLiteral("AddRecord: l'elenco di nomi e valori deve avere un numero pari di elementi"));
    const EditState before = CaptureState();
    FlushPendingEdit();
    try {
        AddNew();
        for (int i = 0; i < nameValuePairs.size(); i += 2)
            SetValue(nameValuePairs[i].toString(), nameValuePairs[i + 1]);
        SaveRecord();
    } catch (...) {
        RestoreState(before);
        throw;
    }
}

void DataObject::CancelUpdate()
{
    const bool wasEditing = m_editing;
    m_editing = false;
    m_isNew = false;
    m_buffer.clear();
    if (wasEditing)
        Q_EMIT CurrentChanged();
}

void DataObject::SetValue(const QString& name, const QVariant& value)
{
    const int index = FieldIndex(name);
    if (index < 0)
        RequireField(name);
    const FieldInfo& f = m_fields[index];
    switch (f.kind) {
    case FieldInfo::Kind::Column:
        SetFieldValue(index, value, true);
        return;
    case FieldInfo::Kind::Reference:
        SetReferenceValue(index, value);
        return;
    case FieldInfo::Kind::ReferenceKey:
        for (int i = 0; i < m_fields.size(); ++i)
            if (m_fields[i].kind == FieldInfo::Kind::Reference && m_fields[i].keyField == index) {
                SetReferenceValue(i, FieldValue::IsNull(value) ? QVariant() : QVariant(KeyOf(value, m_fields[i].name)));
                return;
            }
        break;
    case FieldInfo::Kind::BaseLink: {
        if (!m_editing)
            BeginEdit();
        const QVariant key = FieldValue::IsNull(value) ? QVariant() : QVariant(KeyOf(value, f.name));
        if (m_isNew && !FieldValue::IsNull(key))
            CopyBaseRecord(key.toLongLong());
        m_buffer[index] = key;
        Q_EMIT FieldUpdated(f.name);
        return;
    }
    default:
        break;
    }
    throw Exception(ComponentError::InvalidValue, QStringLiteral("Il campo «%1» non è modificabile").arg(f.name));
}

void DataObject::SetFieldValue(int index, const QVariant& value, bool runRules)
{
    const FieldInfo& f = m_fields[index];
    QVariant normalized = FieldValue::Normalize(value, f.type, f.size, f.name);
    BeginEdit();
    RuleDepth depth(m_ruleDepth);
    if (runRules && m_table->handler) {
        bool cancel = false;
        m_table->handler->OnBeforeUpdateField(*this, f.name, normalized, cancel);
        if (cancel)
            return;
        normalized = FieldValue::Normalize(normalized, f.type, f.size, f.name);
    }
    m_buffer[index] = normalized;
    if (runRules && m_table->handler)
        m_table->handler->OnUpdateField(*this, f.name);
    Q_EMIT FieldUpdated(f.name);
}

QVariant DataObject::ReferenceKey(const QString& reference, const QVariant& displayValue)
{
    const ReferenceDef* r = m_table->FindLookup(reference);
    if (!r) {
        if (const ReferenceDef* owned = m_table->FindOwned(reference)) {
            auto child = m_database->GetSchema().Require(owned->table);
            const QString ownerColumn = QStringLiteral("OID_%1_%2").arg(m_table->name, owned->name);
            DatabaseEngine::CachedStatement s(*m_engine,
                                              QStringLiteral("SELECT \"OID\" FROM %1 WHERE %2 = ? AND %3 = ? ORDER BY \"OID\" LIMIT 1")
                                                  .arg(QuoteName(child->name), QuoteName(ownerColumn), QuoteName(owned->displayColumn)));
            s->Bind(1, CurrentOid());
            s->Bind(2, displayValue);
            return s->Step() ? s->Column(0) : QVariant();
        }
        throw Exception(ComponentError::UnknownField,
                        QStringLiteral("La tabella %1 non ha il riferimento «%2»").arg(m_table->name, reference));
    }
    if (FieldValue::IsNull(displayValue))
        return QVariant();
    auto target = m_database->GetSchema().Require(r->table);
    const ColumnDef* display = m_database->GetSchema().DisplayColumn(*r);
    const QString column = display ? display->name : QStringLiteral("OID");
    const int type = display ? display->type : FieldType::Long;
    const QVariant stored = FieldValue::ToStorage(FieldValue::Normalize(displayValue, type, 0, column), type);
    DatabaseEngine::CachedStatement s(*m_engine, QStringLiteral("SELECT \"OID\" FROM %1 WHERE %2 = ? ORDER BY \"OID\" LIMIT 1")
                                                     .arg(QuoteName(target->name), QuoteName(column)));
    s->Bind(1, stored);
    return s->Step() ? s->Column(0) : QVariant();
}

void DataObject::SetReferenceValue(int displayIndex, const QVariant& value)
{
    const FieldInfo& f = m_fields[displayIndex];
    const ReferenceDef& r = m_table->lookups[f.referenceIndex];
    auto target = m_database->GetSchema().Require(r.table);
    std::shared_ptr<DataObject> referenced;
    QVariant key;
    if (!FieldValue::IsNull(value)) {
        if (FieldValue::IsWholeNumber(value)) {
            key = QVariant(value.toLongLong());
        } else {
            key = ReferenceKey(r.name, value);
            if (FieldValue::IsNull(key))
                throw Exception(ComponentError::InvalidValue,
                                QStringLiteral("«%1» non è presente in %2").arg(value.toString(), target->DisplayCaption()));
        }
        referenced = OpenKeyed(*target, key.toLongLong());
    }
    BeginEdit();
    RuleDepth depth(m_ruleDepth);
    if (m_table->handler)
        m_table->handler->OnBeforeUpdateReference(*this, r.name, referenced.get(), false, true);
    if (f.keyField >= 0)
        m_buffer[f.keyField] = key;
    m_buffer[displayIndex] = referenced && !r.displayColumn.isEmpty() ? referenced->GetValue(r.displayColumn) : key;
    if (m_table->handler)
        m_table->handler->OnUpdateReference(*this, r.name, referenced.get(), false, true);
    Q_EMIT FieldUpdated(r.name);
}

void DataObject::CopyBaseRecord(qint64 baseOid)
{
    auto base = m_database->GetSchema().Require(m_table->baseTable);
    auto source = OpenKeyed(*base, baseOid);
    for (const ColumnDef& c : base->allColumns) {
        const int index = FieldIndex(c.name);
        if (index >= 0)
            SetFieldValue(index, source->GetValue(c.name), true);
    }
    for (const ReferenceDef& r : base->lookups) {
        const int index = FieldIndex(r.name);
        if (index >= 0 && m_fields[index].kind == FieldInfo::Kind::Reference)
            SetReferenceValue(index, source->GetValue(ReferenceKeyColumn(r.name)));
    }
}

std::shared_ptr<DataObject> DataObject::OpenKeyed(const TableDef& table, qint64 oid)
{
    auto def = m_database->GetSchema().Require(table.name);
    auto object = ::Table(m_database, def).OpenDataObject(m_engine);
    if (!object->FindKey(oid))
        throw Exception(ComponentError::InvalidValue,
                        QStringLiteral("Il record %1 non esiste nella tabella %2").arg(oid).arg(table.DisplayCaption()));
    return object;
}

std::shared_ptr<DataObject> DataObject::OwnerObject(const OwnerLink& link, qint64 ownerOid)
{
    if (auto parent = m_spec.parent.lock()) {
        if (parent->TableName().compare(link.ownerTable, Qt::CaseInsensitive) == 0 && parent->m_current &&
            parent->m_current->oid == ownerOid && !parent->m_currentDeleted)
            return parent;
    }
    return OpenKeyed(*m_database->GetSchema().Require(link.ownerTable), ownerOid);
}

void DataObject::NotifyOwners(bool before, bool isNew, bool deleting, DataObject* oldRow, Touched& touched,
                              QList<std::shared_ptr<DataObject>>& keepAlive)
{
    for (const OwnerLink& link : m_table->owners) {
        const int index = FieldIndex(link.column);
        if (index < 0)
            continue;
        const QVariant ownerKey = m_editing ? m_buffer[index] : (m_current ? m_current->values[index] : QVariant());
        if (FieldValue::IsNull(ownerKey))
            continue;
        auto ownerTable = m_database->GetSchema().Require(link.ownerTable);
        if (!ownerTable->handler)
            continue;
        // The same owner object must see both halves of the change.
        std::shared_ptr<DataObject> owner;
        for (const auto& candidate : keepAlive)
            if (candidate->TableName().compare(link.ownerTable, Qt::CaseInsensitive) == 0 && candidate->m_current &&
                candidate->m_current->oid == ownerKey.toLongLong())
                owner = candidate;
        if (!owner) {
            owner = OwnerObject(link, ownerKey.toLongLong());
            keepAlive.append(owner);
        }
        touched.Add(owner);
        // New records are reported as a change of the whole collection; a
        // changed record before (old values) and after (new values); a
        // removed one before, then the collection.
        DataObject* concerned = nullptr;
        if (before)
            concerned = isNew ? nullptr : oldRow;
        else
            concerned = (isNew || deleting) ? nullptr : this;
        RuleDepth depth(m_ruleDepth);
        if (before) {
            ownerTable->handler->OnBeforeUpdateReference(*owner, link.referenceName, concerned, deleting, false);
        } else {
            ownerTable->handler->OnUpdateReference(*owner, link.referenceName, concerned, deleting, false);
            if (owner->m_editing)
                owner->SaveRecord();
        }
    }
}

void DataObject::WriteRecord()
{
    SqliteDb& db = m_engine->Db();
    if (m_insertSql.isEmpty()) {
        QStringList columns;
        QStringList marks;
        QStringList assignments;
        for (int i = 0; i < m_fields.size(); ++i) {
            if (!IsWritable(m_fields[i].kind))
                continue;
            m_writtenFields.append(i);
            columns.append(QuoteName(m_fields[i].physical));
            marks.append(QStringLiteral("?"));
            assignments.append(QuoteName(m_fields[i].physical) + QStringLiteral(" = ?"));
        }
        const QString table = QuoteName(m_table->name);
        m_insertSql = columns.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                              .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        m_updateSql = assignments.isEmpty() ? QString()
                                            : QStringLiteral("UPDATE %1 SET %2 WHERE \"OID\" = ?")
                                                  .arg(table, assignments.join(QStringLiteral(", ")));
    }
    if (!m_isNew && m_updateSql.isEmpty())
        return;
    CheckUniqueKeys();
    DatabaseEngine::CachedStatement s(*m_engine, m_isNew ? m_insertSql : m_updateSql);
    int bind = 1;
    for (int i : m_writtenFields)
        s->Bind(bind++, FieldValue::ToStorage(m_buffer[i], m_fields[i].type));
    if (!m_isNew)
        s->Bind(bind, m_buffer[0]);
    s->Step();
    if (m_isNew)
        m_buffer[0] = QVariant(db.LastInsertId());
}

// The file's unique indexes compare texts without case only for the
// letters A to Z (its collation is the storage's own, so that plain SQLite
// tools read and write the file). Names that differ only in the case of
// other letters ("DOLCI È", "dolci è") are refused here, within the write's
// transaction, with the comparison Like uses. Only a new record or a changed
// key is checked: names stored alike before this check stay as they are.
void DataObject::CheckUniqueKeys()
{
    for (const IndexDef& index : m_table->indexes) {
        if (!index.unique)
            continue;
        QList<int> fields;
        bool hasText = false;
        for (const QString& column : index.columns) {
            const QString physical = m_table->PhysicalNameOf(column);
            for (int i : m_writtenFields)
                if (m_fields[i].physical.compare(physical, Qt::CaseInsensitive) == 0) {
                    fields.append(i);
                    hasText = hasText || FieldType::IsText(m_fields[i].type);
                    break;
                }
        }
        if (!hasText || fields.size() != index.columns.size())
            continue;
        QVariantList values;
        for (int i : fields)
            values.append(FieldValue::ToStorage(m_buffer[i], m_fields[i].type));
        // A Null is never the same as another: no duplicate then.
        if (std::any_of(values.cbegin(), values.cend(), [](const QVariant& v) { return FieldValue::IsNull(v); }))
            continue;
        QStringList columns;
        QStringList conditions;
        for (int i : fields) {
            const QString column = QuoteName(m_fields[i].physical);
            columns.append(column);
            conditions.append(FieldType::IsText(m_fields[i].type)
                                  ? QStringLiteral("mens_fold(%1) = mens_fold(?)").arg(column)
                                  : QStringLiteral("%1 = ?").arg(column));
        }
        const QString table = QuoteName(m_table->name);
        if (!m_isNew) {
            DatabaseEngine::CachedStatement stored(
                *m_engine, QStringLiteral("SELECT %1 FROM %2 WHERE \"OID\" = ?").arg(columns.join(QStringLiteral(", ")), table));
            stored->Bind(1, m_buffer[0]);
            if (stored->Step()) {
                bool same = true;
                for (int k = 0; k < values.size() && same; ++k)
                    same = stored->Column(k) == values[k];
                if (same)
                    continue;
            }
        }
        DatabaseEngine::CachedStatement other(
            *m_engine, QStringLiteral("SELECT 1 FROM %1 WHERE %2 AND \"OID\" IS NOT ? LIMIT 1")
                           .arg(table, conditions.join(QStringLiteral(" AND "))));
        int bind = 1;
        for (const QVariant& value : values)
            other->Bind(bind++, value);
        other->Bind(bind, m_isNew ? QVariant() : m_buffer[0]);
        if (other->Step()) {
            QStringList names;
            for (int i : fields)
                names.append(m_fields[i].physical.startsWith(QLatin1String("OID_")) ? m_fields[i].physical.mid(4)
                                                                                      : m_fields[i].physical);
            throw DuplicateValuesError(names.join(QStringLiteral(", ")),
                                       QStringLiteral("Confronto dei testi senza distinzione tra maiuscole e minuscole "
                                                      "in %1").arg(m_table->name));
        }
    }
}

void DataObject::SaveRecord()
{
    if (!m_editing)
        return;
    QList<std::shared_ptr<DataObject>> keepAlive;
    const bool isNew = m_isNew;
    WriteRestoring([&](Touched& touched) {
        {
            RuleDepth depth(m_ruleDepth);
            if (m_table->handler)
                m_table->handler->OnUpdateRow(*this);
        }
        std::shared_ptr<DataObject> oldRow;
        if (!isNew && !m_table->owners.isEmpty())
            oldRow = OpenKeyed(*m_table, m_buffer[0].toLongLong());
        NotifyOwners(true, isNew, false, oldRow.get(), touched, keepAlive);
        WriteRecord();
        const qint64 oid = m_buffer[0].toLongLong();
        m_editing = false;
        m_isNew = false;
        m_engine->DataChanged();
        m_pager.Invalidate();
        ReadBack(oid);
        NotifyOwners(false, isNew, false, nullptr, touched, keepAlive);
        if (isNew && !m_spec.ownerReference.isEmpty())
            if (auto parent = m_spec.parent.lock(); parent && parent->m_table->handler) {
                RuleDepth depth(m_ruleDepth);
                parent->m_table->handler->OnNewReference(*parent, m_spec.ownerReference, *this);
            }
    });
    m_buffer.clear();
    m_engine->DataChanged();
    m_seenGeneration = m_engine->Generation();
    Q_EMIT CurrentChanged();
}

bool DataObject::IsInUse()
{
    if (m_editing && m_isNew)
        return false;
    const qint64 oid = CurrentOid();
    for (const auto& other : m_database->GetSchema().Tables())
        for (const ReferenceDef& r : other->lookups) {
            if (r.table.compare(m_table->name, Qt::CaseInsensitive) != 0)
                continue;
            DatabaseEngine::CachedStatement s(*m_engine, QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? LIMIT 1")
                                                             .arg(QuoteName(other->name), QuoteName(ReferenceKeyColumn(r.name))));
            s->Bind(1, oid);
            if (s->Step())
                return true;
        }
    return false;
}

void DataObject::DeleteCascade(const TableDef& table, qint64 oid)
{
    SqliteDb& db = m_engine->Db();
    // Records this one owns go with it.
    for (const ReferenceDef& owned : table.ownedCollections) {
        auto child = m_database->GetSchema().Require(owned.table);
        const QString ownerColumn = QStringLiteral("OID_%1_%2").arg(table.name, owned.name);
        QList<qint64> children;
        {
            Statement s(db, QStringLiteral("SELECT \"OID\" FROM %1 WHERE %2 = ?").arg(QuoteName(child->name), QuoteName(ownerColumn)));
            s.Bind(1, oid);
            while (s.Step())
                children.append(s.ColumnInt(0));
        }
        for (qint64 c : children)
            DeleteCascade(*child, c);
    }
    // Extension records keep their copied values and lose the link.
    for (const auto& other : m_database->GetSchema().Tables())
        if (other->baseTable.compare(table.name, Qt::CaseInsensitive) == 0) {
            Statement s(db, QStringLiteral("UPDATE %1 SET %2 = NULL WHERE %2 = ?").arg(QuoteName(other->name), QuoteName(other->baseLinkColumn)));
            s.Bind(1, oid);
            s.Step();
        }
    Statement s(db, QStringLiteral("DELETE FROM %1 WHERE \"OID\" = ?").arg(QuoteName(table.name)));
    s.Bind(1, oid);
    s.Step();
}

void DataObject::DeleteRecord()
{
    if (m_editing && m_isNew) {
        CancelUpdate();
        return;
    }
    CancelUpdate();
    EnsurePositioned();
    RequireCurrent();
    if (IsInUse())
        throw Exception(ComponentError::InUse,
                        QStringLiteral("Impossibile eliminare: il record è utilizzato da altri dati dell'archivio"));
    QList<std::shared_ptr<DataObject>> keepAlive;
    const qint64 oid = m_current->oid;
    WriteRestoring([&](Touched& touched) {
        {
            RuleDepth depth(m_ruleDepth);
            if (m_table->handler)
                m_table->handler->OnDeleteRow(*this);
        }
        NotifyOwners(true, false, true, this, touched, keepAlive);
        DeleteCascade(*m_table, oid);
        m_engine->DataChanged();
        m_currentDeleted = true;
        NotifyOwners(false, false, true, nullptr, touched, keepAlive);
    });
    m_pager.Invalidate();
    m_position = -1;
    m_seenGeneration = m_engine->Generation();
    Q_EMIT CurrentChanged();
}

std::shared_ptr<DataObject> DataObject::OpenReference(const QString& reference, const QString& order,
                                                      const QString& select)
{
    if (const ReferenceDef* owned = m_table->FindOwned(reference)) {
        if (m_editing && m_isNew)
            throw Exception(ComponentError::NoCurrentRecord,
                            QStringLiteral("Salvare il record prima di aprirne i dati collegati"));
        auto child = m_database->GetSchema().Require(owned->table);
        OpenSpec spec;
        spec.order = order.isEmpty() ? owned->orderColumn : order;
        spec.select = select;
        spec.currencyConversion = m_spec.currencyConversion;
        spec.ownerColumn = QStringLiteral("OID_%1_%2").arg(m_table->name, owned->name);
        spec.ownerOid = CurrentOid();
        spec.ownerReference = owned->name;
        spec.parent = weak_from_this();
        spec.link = m_table->name + u'.' + owned->name;
        return std::make_shared<DataObject>(m_database, m_engine, child, std::move(spec));
    }
    if (const ReferenceDef* lookup = m_table->FindLookup(reference)) {
        auto target = m_database->GetSchema().Require(lookup->table);
        const QVariant key = GetValue(ReferenceKeyColumn(lookup->name));
        const QString criteria = FieldValue::IsNull(key) ? QStringLiteral("OID Is Null")
                                                         : QStringLiteral("OID = %1").arg(key.toLongLong());
        auto object = ::Table(m_database, target).OpenDataObject(m_engine, criteria, order, {}, select, m_spec.currencyConversion);
        return object;
    }
    throw Exception(ComponentError::UnknownField,
                    QStringLiteral("La tabella %1 non ha il riferimento «%2»").arg(m_table->name, reference));
}

std::shared_ptr<DataObject> DataObject::OpenReferencedTable(const QString& reference)
{
    const ReferenceDef* r = m_table->FindLookup(reference);
    if (!r)
        r = m_table->FindOwned(reference);
    if (!r)
        throw Exception(ComponentError::UnknownField,
                        QStringLiteral("La tabella %1 non ha il riferimento «%2»").arg(m_table->name, reference));
    auto target = m_database->GetSchema().Require(r->table);
    QString criteria;
    if (m_table->handler)
        m_table->handler->OnSelectReference(*this, r->name, criteria);
    return ::Table(m_database, target).OpenDataObject(m_engine, criteria, {}, {}, {}, m_spec.currencyConversion);
}

void DataObject::SetReference(const QString& reference, const QVariant& key, bool remove)
{
    if (m_table->FindLookup(reference)) {
        const int index = FieldIndex(reference);
        SetReferenceValue(index, remove || FieldValue::IsNull(key) ? QVariant() : QVariant(KeyOf(key, reference)));
        return;
    }
    const ReferenceDef* owned = m_table->FindOwned(reference);
    if (!owned)
        throw Exception(ComponentError::UnknownField,
                        QStringLiteral("La tabella %1 non ha il riferimento «%2»").arg(m_table->name, reference));
    if (m_editing)
        SaveRecord();
    const qint64 ownerOid = CurrentOid();
    const qint64 childOid = KeyOf(key, reference);
    auto childTable = m_database->GetSchema().Require(owned->table);
    const QString ownerColumn = QStringLiteral("OID_%1_%2").arg(m_table->name, owned->name);
    auto child = OpenKeyed(*childTable, childOid);
    const QVariant currentOwner = child->GetValue(ownerColumn);
    if (remove && (FieldValue::IsNull(currentOwner) || currentOwner.toLongLong() != ownerOid))
        throw Exception(ComponentError::InvalidValue,
                        QStringLiteral("Il record %1 non appartiene a questo record di %2").arg(childOid).arg(m_table->DisplayCaption()));
    WriteRestoring([&](Touched&) {
        RuleDepth depth(m_ruleDepth);
        if (m_table->handler)
            m_table->handler->OnBeforeUpdateReference(*this, owned->name, remove ? child.get() : nullptr, remove, false);
        if (remove) {
            DeleteCascade(*childTable, childOid);
        } else {
            Statement s(m_engine->Db(), QStringLiteral("UPDATE %1 SET %2 = ? WHERE \"OID\" = ?").arg(QuoteName(childTable->name), QuoteName(ownerColumn)));
            s.Bind(1, ownerOid);
            s.Bind(2, childOid);
            s.Step();
            if (childTable->handler)
                childTable->handler->OnSetParent(*child, *this);
        }
        m_engine->DataChanged();
        if (m_table->handler)
            m_table->handler->OnUpdateReference(*this, owned->name, nullptr, remove, false);
        if (m_editing)
            SaveRecord();
    });
    m_engine->DataChanged();
}

qint64 DataObject::CopyTo(DataObject& target, itfProgress* progress)
{
    const qint64 total = RecordCount();
    if (progress)
        progress->OnStart(0, total);
    qint64 copied = 0;
    try {
        for (bool more = MoveFirst(); more; more = MoveNext()) {
            QVariantList pairs;
            for (int i = 0; i < m_fields.size(); ++i) {
                const FieldInfo& f = m_fields[i];
                if (f.kind != FieldInfo::Kind::Column && f.kind != FieldInfo::Kind::Reference)
                    continue;
                if (target.FieldIndex(f.name) < 0)
                    continue;
                pairs << f.name << ValueOf(i, m_current->values[i]);
            }
            target.AddRecord(pairs);
            ++copied;
            if (progress && !progress->OnProgress(0, total, copied))
                throw Exception(ComponentError::Cancelled, ComponentGlobal::MessageText(124, 0));
        }
    } catch (...) {
        if (progress)
            progress->OnEnd(0, total);
        throw;
    }
    if (progress)
        progress->OnEnd(0, total);
    return copied;
}
