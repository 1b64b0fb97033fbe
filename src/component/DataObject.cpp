#include "component/DataObject.h"

#include "component/ComponentErrors.h"
#include "component/ComponentInterfaces.h"
#include "component/CurrencyObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/FieldValue.h"
#include "component/IndexAdvisor.h"
#include "component/Schema.h"
#include "component/SchemaStore.h"
#include "component/Table.h"

using SqlDialect::QuoteName;

DataObject::DataObject(std::shared_ptr<DatabaseObject> database, std::shared_ptr<DatabaseEngine> engine,
                       std::shared_ptr<const TableDef> table, OpenSpec spec)
    : m_database(std::move(database)), m_engine(std::move(engine)), m_table(std::move(table)),
      m_spec(std::move(spec)), m_resolver(m_database->GetSchema(), *m_table)
{
    BuildFields();
    QString criteria = m_spec.criteria;
    if (m_table->handler)
        m_table->handler->OnSelect(*this, criteria);
    m_baseWhere = SqlDialect::TranslateCriteria(criteria, m_resolver);
    if (!m_spec.ownerColumn.isEmpty())
        m_baseWhere = AllOf({m_baseWhere, {m_resolver.ColumnSql(m_spec.ownerColumn) + QStringLiteral(" = ?"),
                                            {QVariant(m_spec.ownerOid)}}});
    BuildQuery();
    m_seenGeneration = m_engine->Generation();
}

DataObject::~DataObject() = default;

QString DataObject::TableName() const { return m_table->name; }

void DataObject::BuildFields()
{
    const TableDef& t = *m_table;
    const Schema& schema = m_database->GetSchema();
    QList<FieldInfo> all;

    FieldInfo oid;
    oid.name = QStringLiteral("OID");
    oid.caption = QStringLiteral("OID");
    oid.type = FieldType::Long;
    oid.kind = FieldInfo::Kind::Oid;
    oid.physical = QStringLiteral("OID");
    oid.sql = m_resolver.ColumnSql(oid.physical);
    oid.excluded = true;
    oid.readOnly = true;
    oid.visible = false;
    all.append(oid);

    auto addColumn = [&](const ColumnDef& c) {
        FieldInfo f;
        f.name = c.name;
        f.caption = FieldCaption(c.name, c.description);
        f.description = c.description;
        f.type = c.type;
        f.size = c.size;
        f.kind = FieldInfo::Kind::Column;
        f.physical = c.name;
        f.sql = m_resolver.ColumnSql(c.name);
        f.readOnly = c.options == 15;
        f.options = c.options;
        f.visible = c.visible;
        all.append(f);
    };
    auto addReference = [&](int lookupIndex) {
        const ReferenceDef& r = t.lookups[lookupIndex];
        FieldInfo f;
        f.name = r.name;
        f.caption = FieldCaption(r.name, QString());
        f.kind = FieldInfo::Kind::Reference;
        f.referenceIndex = lookupIndex;
        if (const ColumnDef* display = schema.DisplayColumn(r)) {
            f.type = display->type;
            f.size = display->size;
            f.sql = QuoteName(m_resolver.LookupAlias(r)) + u'.' + QuoteName(display->name);
        } else {
            f.type = FieldType::Long;
            f.sql = m_resolver.ColumnSql(ReferenceKeyColumn(r.name));
        }
        all.append(f);
    };

    // The base table's part first (its columns, then its references), then ours.
    int baseColumns = 0;
    int baseLookups = 0;
    if (!t.baseTable.isEmpty())
        if (auto base = schema.Find(t.baseTable)) {
            baseColumns = int(base->allColumns.size());
            baseLookups = int(base->lookups.size());
        }
    for (int i = 0; i < baseColumns; ++i)
        addColumn(t.allColumns[i]);
    for (int i = 0; i < baseLookups; ++i)
        addReference(i);
    for (int i = baseColumns; i < t.allColumns.size(); ++i)
        addColumn(t.allColumns[i]);
    for (int i = baseLookups; i < t.lookups.size(); ++i)
        addReference(i);

    for (const PhysicalColumn& p : t.physical) {
        if (p.kind != PhysicalColumn::Kind::ReferenceKey && p.kind != PhysicalColumn::Kind::BaseLink &&
            p.kind != PhysicalColumn::Kind::OwnerLink)
            continue;
        FieldInfo f;
        f.name = p.name;
        f.caption = p.name;
        f.type = FieldType::Long;
        f.kind = p.kind == PhysicalColumn::Kind::ReferenceKey ? FieldInfo::Kind::ReferenceKey
                 : p.kind == PhysicalColumn::Kind::BaseLink   ? FieldInfo::Kind::BaseLink
                                                              : FieldInfo::Kind::OwnerLink;
        f.physical = p.name;
        f.sql = m_resolver.ColumnSql(p.name);
        f.excluded = true;
        f.readOnly = f.kind == FieldInfo::Kind::OwnerLink;
        f.visible = false;
        all.append(f);
    }
    for (FieldInfo& f : all)
        if (f.kind == FieldInfo::Kind::Reference)
            for (int k = 0; k < all.size(); ++k)
                if (all[k].kind == FieldInfo::Kind::ReferenceKey &&
                    all[k].name.compare(ReferenceKeyColumn(f.name), Qt::CaseInsensitive) == 0)
                    f.keyField = k;

    if (m_spec.select.trimmed().isEmpty()) {
        m_fields = all;
        return;
    }

    // A select list orders the named fields and may bring columns of related tables.
    const QList<SqlSelectItem> items = SqlDialect::ParseSelectList(m_spec.select);
    QList<FieldInfo> chosen;
    QSet<QString> named;
    for (const SqlSelectItem& item : items)
        if (!item.star && (item.qualifier.isEmpty() || item.qualifier.compare(t.name, Qt::CaseInsensitive) == 0))
            named.insert(item.name.toLower());
    auto indexIn = [](const QList<FieldInfo>& list, const QString& name) {
        for (int i = 0; i < list.size(); ++i)
            if (list[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    bool hasOid = false;
    for (const SqlSelectItem& item : items) {
        if (item.star) {
            for (const FieldInfo& f : all)
                if (!named.contains(f.name.toLower()) && indexIn(chosen, f.name) < 0)
                    chosen.append(f);
            continue;
        }
        if (item.qualifier.isEmpty() || item.qualifier.compare(t.name, Qt::CaseInsensitive) == 0) {
            const int i = indexIn(all, item.name);
            if (i < 0)
                throw Exception(ComponentError::UnknownField,
                                QStringLiteral("Campo sconosciuto nella lista di selezione: %1").arg(item.name));
            if (indexIn(chosen, item.name) < 0)
                chosen.append(all[i]);
            continue;
        }
        const auto resolved = m_resolver.ResolveColumn(item.qualifier, item.name);
        if (!resolved)
            throw Exception(ComponentError::UnknownField,
                            QStringLiteral("Campo sconosciuto nella lista di selezione: %1.%2").arg(item.qualifier, item.name));
        FieldInfo f;
        const bool clash = indexIn(all, item.name) >= 0 || indexIn(chosen, item.name) >= 0;
        f.name = clash ? item.qualifier + u'.' + item.name : item.name;
        f.caption = FieldCaption(f.name, QString());
        f.type = resolved->typeCode;
        f.kind = FieldInfo::Kind::Foreign;
        f.sql = resolved->sql;
        f.readOnly = true;
        if (auto other = schema.Find(item.qualifier))
            if (const ColumnDef* c = other->FindColumn(item.name)) {
                f.size = c->size;
                f.caption = FieldCaption(f.name, c->description);
            }
        if (!clash)
            m_resolver.AddAlias(item.name, item.qualifier, item.name);
        chosen.append(f);
    }
    for (const FieldInfo& f : chosen)
        hasOid = hasOid || f.kind == FieldInfo::Kind::Oid;
    if (!hasOid)
        chosen.prepend(all.first());
    else if (chosen.first().kind != FieldInfo::Kind::Oid) {
        // ValueAt(0) is always the OID.
        const int i = indexIn(chosen, QStringLiteral("OID"));
        chosen.move(i, 0);
    }
    // Every field of the table stays readable and writable even when not listed.
    for (const FieldInfo& f : all)
        if (indexIn(chosen, f.name) < 0)
            chosen.append(f);
    m_fields = chosen;
    for (FieldInfo& f : m_fields)
        if (f.kind == FieldInfo::Kind::Reference)
            f.keyField = indexIn(m_fields, ReferenceKeyColumn(f.name));
}

void DataObject::BuildQuery()
{
    const QString orderText = m_sortText.trimmed().isEmpty() ? m_spec.order : m_sortText;
    QList<SqlOrderTerm> order = SqlDialect::TranslateOrder(orderText, m_resolver);
    const QString oidSql = m_resolver.ColumnSql(QStringLiteral("OID"));
    // The OID makes the order total; it follows the direction of the last
    // term so that a one-direction order stays uniform (row-value seeks).
    if (order.isEmpty() || order.last().expr.sql != oidSql || !order.last().expr.params.isEmpty()) {
        const bool descending = !order.isEmpty() && order.last().descending;
        order.append({SqlFragment{oidSql, {}}, descending, FieldType::Long});
    }

    if (m_engine->MarkOrderChecked(m_table->name + u'|' + orderText)) {
        QStringList leading;
        for (const SqlOrderTerm& term : order) {
            const PhysicalColumn* column = nullptr;
            for (const PhysicalColumn& p : m_table->physical)
                if (term.expr.sql == m_resolver.ColumnSql(p.name))
                    column = &p;
            if (!column || column->kind == PhysicalColumn::Kind::Oid)
                break;
            leading.append(column->name);
        }
        IndexAdvisor::EnsureOrderIndex(*m_engine, m_table->name, leading);
    }

    RowPager::Query query;
    QStringList select;
    for (const FieldInfo& f : m_fields) {
        select.append(f.sql);
        query.fieldTypes.append(f.type);
    }
    query.select = select.join(QStringLiteral(", "));
    query.fieldSql = select;
    query.where = WhereClause();
    query.from = FromClause();
    query.countFrom = m_resolver.MainSql() + m_resolver.JoinsFor({query.where.sql});
    query.order = order;
    m_pager.SetQuery(std::move(query));
}

QString DataObject::FromClause() const { return m_resolver.MainSql() + m_resolver.JoinClause(); }

SqlFragment DataObject::WhereClause() const { return AllOf({m_baseWhere, m_filterWhere}); }

void DataObject::CheckGeneration()
{
    const quint64 generation = m_engine->Generation();
    if (generation == m_seenGeneration)
        return;
    m_seenGeneration = generation;
    m_pager.Invalidate();
    if (m_current && !m_editing && !m_currentDeleted && m_edge == Edge::None) {
        ReadBack(m_current->oid);
    }
}

void DataObject::ReadBack(qint64 oid)
{
    const SqlFragment byKey{m_resolver.ColumnSql(QStringLiteral("OID")) + QStringLiteral(" = ?"), {QVariant(oid)}};
    auto row = m_pager.Lookup(*m_engine, byKey);
    if (row) {
        m_current = std::move(row);
        m_position = -1;
        m_edge = Edge::None;
        m_currentDeleted = false;
    } else {
        m_currentDeleted = true;
    }
    m_positioned = true;
    m_seenGeneration = m_engine->Generation();
}

void DataObject::SetCurrent(std::optional<RowPager::Row> row, qint64 position)
{
    m_positioned = true;
    m_currentDeleted = false;
    if (row) {
        m_current = std::move(row);
        m_position = position;
        m_edge = Edge::None;
    }
    Q_EMIT CurrentChanged();
}

void DataObject::EnsurePositioned()
{
    CheckGeneration();
    if (m_positioned)
        return;
    auto row = m_pager.First(*m_engine, {}, false, nullptr);
    m_positioned = true;
    if (row)
        SetCurrent(std::move(row), 0);
    else
        m_edge = Edge::Eof;
}

void DataObject::FlushPendingEdit()
{
    if (m_editing)
        SaveRecord();
}

int DataObject::FieldIndex(const QString& name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const FieldInfo& DataObject::RequireField(const QString& name) const
{
    const int i = FieldIndex(name);
    if (i < 0)
        throw Exception(ComponentError::UnknownField,
                        QStringLiteral("Il campo «%1» non esiste nella tabella %2").arg(name, m_table->name));
    return m_fields[i];
}

qint64 DataObject::RecordCount()
{
    CheckGeneration();
    return m_pager.Count(*m_engine);
}

bool DataObject::IsEmptySet()
{
    CheckGeneration();
    return !m_pager.First(*m_engine, {}, false, nullptr).has_value();
}

void DataObject::SetFilter(const QString& criteria)
{
    FlushPendingEdit();
    SqlFragment translated = SqlDialect::TranslateCriteria(criteria, m_resolver);
    m_filterText = criteria;
    m_filterWhere = std::move(translated);
    BuildQuery();
    m_positioned = false;
    m_current.reset();
    m_edge = Edge::None;
    EnsurePositioned();
    Q_EMIT RecordsetRefreshed();
}

void DataObject::SetSort(const QString& order)
{
    FlushPendingEdit();
    const QString previous = m_sortText;
    m_sortText = order;
    try {
        BuildQuery();
    } catch (...) {
        m_sortText = previous;
        BuildQuery();
        throw;
    }
    if (m_current && m_edge == Edge::None && !m_currentDeleted)
        ReadBack(m_current->oid);
    Q_EMIT RecordsetRefreshed();
}

void DataObject::Requery()
{
    FlushPendingEdit();
    m_pager.Invalidate();
    m_seenGeneration = m_engine->Generation();
    if (m_current && m_edge == Edge::None && !m_currentDeleted) {
        const qint64 oid = m_current->oid;
        if (!FindKey(oid)) {
            m_positioned = false;
            m_current.reset();
            EnsurePositioned();
        }
    } else {
        m_positioned = false;
        m_current.reset();
        m_edge = Edge::None;
        EnsurePositioned();
    }
    Q_EMIT RecordsetRefreshed();
}

bool DataObject::IsBOF()
{
    EnsurePositioned();
    return m_edge == Edge::Bof || (!m_current && m_edge == Edge::Eof);
}

bool DataObject::IsEOF()
{
    EnsurePositioned();
    return m_edge == Edge::Eof || (!m_current && m_edge == Edge::Bof);
}

bool DataObject::NoCurrentRecord()
{
    if (m_editing)
        return false;
    EnsurePositioned();
    return m_edge != Edge::None || !m_current || m_currentDeleted;
}

bool DataObject::MoveToEnd(bool last)
{
    FlushPendingEdit();
    CheckGeneration();
    auto row = m_pager.First(*m_engine, {}, last, nullptr);
    m_positioned = true;
    if (!row) {
        m_current.reset();
        m_edge = Edge::Eof;
        Q_EMIT CurrentChanged();
        return false;
    }
    SetCurrent(std::move(row), last ? -1 : 0);
    return true;
}

bool DataObject::Step(bool backwards)
{
    FlushPendingEdit();
    EnsurePositioned();
    const Edge behind = backwards ? Edge::Bof : Edge::Eof; // the edge in the direction of travel
    const Edge ahead = backwards ? Edge::Eof : Edge::Bof;
    if (!m_current || m_edge == behind)
        return false;
    if (m_edge == ahead)
        return MoveToEnd(backwards);
    auto row = m_pager.First(*m_engine, {}, backwards, &*m_current);
    if (!row) {
        m_edge = behind;
        m_currentDeleted = false;
        Q_EMIT CurrentChanged();
        return false;
    }
    qint64 position = -1;
    if (m_position >= 0 && !m_currentDeleted)
        position = backwards ? m_position - 1 : m_position + 1;
    SetCurrent(std::move(row), position);
    return true;
}

bool DataObject::MoveFirst() { return MoveToEnd(false); }
bool DataObject::MoveLast() { return MoveToEnd(true); }
bool DataObject::MoveNext() { return Step(false); }
bool DataObject::MovePrevious() { return Step(true); }

bool DataObject::MoveTo(qint64 position)
{
    FlushPendingEdit();
    CheckGeneration();
    const RowPager::Row* row = m_pager.At(*m_engine, position);
    if (!row)
        return false;
    SetCurrent(*row, position);
    return true;
}

qint64 DataObject::AbsolutePosition()
{
    EnsurePositioned();
    if (!m_current || m_edge != Edge::None || m_currentDeleted)
        return -1;
    if (m_position < 0)
        m_position = m_pager.PositionOf(*m_engine, *m_current);
    return m_position;
}

const RowPager::Row* DataObject::RowAt(qint64 position)
{
    CheckGeneration();
    return m_pager.At(*m_engine, position);
}

bool DataObject::FindKey(const QVariant& oid)
{
    FlushPendingEdit();
    CheckGeneration();
    if (FieldValue::IsNull(oid))
        return false;
    bool ok = false;
    const qint64 key = oid.toLongLong(&ok);
    if (!ok)
        return false;
    const SqlFragment byKey{m_resolver.ColumnSql(QStringLiteral("OID")) + QStringLiteral(" = ?"), {QVariant(key)}};
    auto row = m_pager.First(*m_engine, byKey, false, nullptr);
    if (!row)
        return false;
    SetCurrent(std::move(row), -1);
    return true;
}

bool DataObject::FindFirst(const QString& criteria, bool fromNext)
{
    FlushPendingEdit();
    EnsurePositioned();
    // "Find next" repeats the same criteria: it is translated once.
    if (criteria != m_findText || m_findText.isNull()) {
        const QString joinsBefore = m_resolver.JoinClause();
        m_findCondition = SqlDialect::TranslateCriteria(criteria, m_resolver);
        m_findText = criteria;
        if (m_resolver.JoinClause() != joinsBefore) {
            // The criteria reached another table: read with its join from now on.
            std::optional<RowPager::Row> keep = m_current;
            BuildQuery();
            m_current = keep;
        }
    }
    const SqlFragment& condition = m_findCondition;
    const RowPager::Row* after = nullptr;
    if (fromNext && m_current && m_edge == Edge::None)
        after = &*m_current;
    if (fromNext && m_edge == Edge::Eof)
        return false;
    auto row = m_pager.First(*m_engine, condition, false, after);
    if (!row)
        return false;
    SetCurrent(std::move(row), -1);
    return true;
}

void DataObject::RequireCurrent() const
{
    if (!m_current || m_edge != Edge::None || m_currentDeleted)
        throw Exception(ComponentError::NoCurrentRecord,
                        QStringLiteral("Nessun record corrente nella tabella %1").arg(m_table->name));
}

QVariant DataObject::CurrentValue(int index)
{
    EnsurePositioned();
    RequireCurrent();
    return ValueOf(index, m_current->values[index]);
}

QVariant DataObject::ValueOf(int fieldIndex, const QVariant& stored) const
{
    return FieldValue::FromStorage(stored, m_fields[fieldIndex].type);
}

QString DataObject::DisplayText(int fieldIndex, const QVariant& stored, bool converted) const
{
    const int type = m_fields[fieldIndex].type;
    if (FieldType::IsDate(type))
        return FieldValue::FormatStoredDate(stored);
    return FormatValue(fieldIndex, ValueOf(fieldIndex, stored), converted);
}

QVariant DataObject::GetValue(const QString& name)
{
    const int index = FieldIndex(name);
    if (index < 0)
        RequireField(name);
    if (m_editing)
        return m_buffer[index];
    return CurrentValue(index);
}

QVariant DataObject::ValueAt(int position)
{
    if (position < 0 || position >= m_fields.size())
        throw Exception(ComponentError::UnknownField,
                        QStringLiteral("Posizione di campo fuori intervallo: %1").arg(position));
    if (m_editing)
        return m_buffer[position];
    return CurrentValue(position);
}

QString DataObject::FormatValue(int fieldIndex, const QVariant& value, bool converted) const
{
    const FieldInfo& f = m_fields[fieldIndex];
    if (f.type == FieldType::Currency && converted) {
        if (auto conversion = m_database->ConversionCurrency()) {
            if (FieldValue::IsNull(value))
                return {};
            return FieldValue::Format(QVariant::fromValue(conversion->FromBase(value.value<Currency>())), f.type,
                                      conversion.get());
        }
    }
    return FieldValue::Format(value, f.type, m_database->BaseCurrency().get());
}

QString DataObject::FormattedValue(const QString& name, bool converted)
{
    const int index = FieldIndex(name);
    if (index < 0)
        RequireField(name);
    return FormatValue(index, GetValue(name), converted);
}

QVariant DataObject::Aggregate(const QString& field, int kind)
{
    FlushPendingEdit();
    CheckGeneration();
    const FieldInfo& f = RequireField(field);
    static const char* const functions[] = {"sum", "avg", "max"};
    if (kind < 0 || kind > 2)
        throw Exception(ComponentError::InvalidValue, QStringLiteral("Tipo di aggregazione non previsto: %1").arg(kind));
    if (kind < 2 && (FieldType::IsText(f.type) || FieldType::IsDate(f.type)))
        throw Exception(ComponentError::InvalidValue,
                        QStringLiteral("Il campo «%1» non è numerico: impossibile calcolarne totale o media").arg(f.name));
    const SqlFragment where = WhereClause();
    const QString from = m_resolver.MainSql() + m_resolver.JoinsFor({where.sql, f.sql});
    QString sql = QStringLiteral("SELECT %1(%2) FROM %3").arg(QLatin1String(functions[kind]), f.sql, from);
    if (!where.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    DatabaseEngine::CachedStatement s(*m_engine, sql);
    s->BindAll(where.params);
    QVariant stored = s->Step() ? s->Column(0) : QVariant();
    if (kind == 1 && FieldValue::IsNull(stored))
        // An average of nothing is no number: saying 0 would be a wrong answer.
        throw Exception(ComponentError::NoCurrentRecord,
                        QStringLiteral("Nessun valore di «%1» su cui calcolare la media").arg(f.caption));
    if (FieldValue::IsNull(stored))
        stored = QVariant(qint64(0)); // nothing to total counts as 0
    if (kind == 1 && f.type == FieldType::Currency)
        return QVariant::fromValue(Currency::FromDouble(stored.toDouble() / double(Currency::Scale)));
    if (kind == 1 || f.type == FieldType::Double)
        return QVariant(stored.toDouble());
    if (FieldType::IsDate(f.type) && stored.typeId() != QMetaType::QString)
        return QVariant(qint64(0));
    return FieldValue::FromStorage(stored, f.type);
}

QString DataObject::BuildCriteria(const QString& column, const QVariant& value, const QString& wildcard) const
{
    return ::Table(m_database, m_table).BuildCriteria(column, value, wildcard);
}

void DataObject::Interrupt(const QString& message)
{
    throw Exception(ComponentError::Interrupted, message);
}
