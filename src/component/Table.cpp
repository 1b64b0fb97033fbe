#include "component/Table.h"

#include "component/ComplexFilter.h"
#include "component/ComponentErrors.h"
#include "component/ComponentInterfaces.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"

#include <QDateTime>

QString Relation::JoinCriteria(int, bool qualified) const
{
    if (!qualified)
        return QStringLiteral("%1 = %2").arg(m_fromColumn, m_toColumn);
    return QStringLiteral("%1.%2 = %3.%4").arg(m_from, m_fromColumn, m_to, m_toColumn);
}

Table::Table(std::shared_ptr<DatabaseObject> database, std::shared_ptr<const TableDef> table)
    : m_database(std::move(database)), m_table(std::move(table))
{
}

QString Table::Name() const { return m_table->name; }
QString Table::Caption() const { return m_table->DisplayCaption(); }

std::shared_ptr<DataObject> Table::OpenDataObject(std::shared_ptr<DatabaseEngine> engine, const QString& criteria,
                                                  const QString& order, const QString& link, const QString& select,
                                                  bool currencyConversion) const
{
    if (!engine)
        engine = m_database->Engine();
    if (!engine)
        throw Exception(ComponentError::NotOpen, QStringLiteral("L'archivio non è aperto"));
    DataObject::OpenSpec spec;
    spec.criteria = criteria;
    spec.order = order;
    spec.link = link;
    spec.select = select;
    spec.currencyConversion = currencyConversion;
    return std::make_shared<DataObject>(m_database, std::move(engine), m_table, std::move(spec));
}

Relation Table::GetRelation(const QString& name) const
{
    if (const ReferenceDef* owned = m_table->FindOwned(name))
        return Relation(m_table->name, owned->table, QStringLiteral("OID"),
                        QStringLiteral("OID_%1_%2").arg(m_table->name, owned->name));
    if (const ReferenceDef* lookup = m_table->FindLookup(name))
        return Relation(m_table->name, lookup->table, ReferenceKeyColumn(lookup->name), QStringLiteral("OID"));
    throw Exception(ComponentError::UnknownField,
                    QStringLiteral("La tabella %1 non ha la relazione %2").arg(m_table->name, name));
}

std::unique_ptr<ComplexFilter> Table::CreateComplexFilter() const
{
    return std::make_unique<ComplexFilter>(m_database, m_table->name);
}

QString Table::FirstColumnName() const { return QStringLiteral("OID"); }

QString Table::BuildCriteria(const QString& column, const QVariant& value, const QString& wildcard) const
{
    return ConditionText(column, QStringLiteral("="), value, m_database->GetSchema().TypeOfField(*m_table, column),
                         {wildcard});
}

int Table::ColumnCount() const { return int(m_table->physical.size()); }

ColumnInfo Table::Column(int index) const
{
    const PhysicalColumn& p = m_table->physical.at(index);
    return {p.name, p.type, p.size};
}

int TableCollection::Count() const { return int(m_database->GetSchema().Count()); }

Table TableCollection::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw Exception(ComponentError::UnknownTable, QStringLiteral("Indice di tabella fuori intervallo: %1").arg(index));
    return Table(m_database, m_database->GetSchema().At(index));
}

Table TableCollection::Item(const QString& name) const { return Table(m_database, m_database->GetSchema().Require(name)); }

bool TableCollection::Contains(const QString& name) const { return m_database->GetSchema().Find(name) != nullptr; }
