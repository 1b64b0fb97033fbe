#pragma once
// A record's fields as the layout scripts see them: flds("Nome"),
// flds("Nome").Value, flds.Item(0).Name, flds.Count and For Each. Value is a
// field's default member. The application fills it from a record.

#include "script/ScriptObject.h"

#include <QHash>
#include <memory>
#include <vector>

namespace vbs {

class Field : public ScriptObject
{
public:
    Field(QString name, Variant value) : m_name(std::move(name)), m_value(std::move(value)) {}

    QString TypeName() const override { return QStringLiteral("Field"); }
    Variant Invoke(const QString& lowerName, InvokeKind kind, Args args) override;

    const QString& Name() const { return m_name; }
    const Variant& Value() const { return m_value; }
    void SetValue(Variant value) { m_value = std::move(value); }

private:
    QString m_name;
    Variant m_value;
};

class FieldCollection : public ScriptObject
{
public:
    QString TypeName() const override { return QStringLiteral("Fields"); }
    Variant Invoke(const QString& lowerName, InvokeKind kind, Args args) override;
    bool Enumerate(std::vector<Variant>& items) override;

    // Adds a field, or sets the value of the field of that name.
    void Set(const QString& name, const Variant& value);
    int Count() const { return int(m_fields.size()); }
    std::shared_ptr<Field> Find(const QString& name) const;
    void Clear();

private:
    std::shared_ptr<Field> ItemAt(const Variant& key) const;

    std::vector<std::shared_ptr<Field>> m_fields;
    QHash<QString, int> m_index; // lower-case name to position
};

} // namespace vbs
