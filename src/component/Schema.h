#pragma once
// All table definitions of an attached archive, in registration order, with
// their physical layouts resolved.

#include "component/TableDef.h"

#include <memory>

class Schema
{
public:
    void Add(std::shared_ptr<TableDef> table) { m_tables.append(std::move(table)); }
    // Derives inherited columns, reference keys and owner links; checks that
    // every referenced or extended table is defined.
    void Resolve();

    qsizetype Count() const { return m_tables.size(); }
    const std::shared_ptr<TableDef>& At(qsizetype i) const { return m_tables[i]; }
    std::shared_ptr<TableDef> Find(const QString& name) const;
    std::shared_ptr<TableDef> Require(const QString& name) const;
    const QList<std::shared_ptr<TableDef>>& Tables() const { return m_tables; }
    // The column of the referenced table that shows a reference; nullptr
    // when the reference has none (it then shows its key).
    const ColumnDef* DisplayColumn(const ReferenceDef& reference) const;
    // The type a field name of `table` compares as: a column's own type, a
    // reference's display column type; text when the name is unknown.
    int TypeOfField(const TableDef& table, const QString& field) const;

private:
    QList<std::shared_ptr<TableDef>> m_tables;
};
