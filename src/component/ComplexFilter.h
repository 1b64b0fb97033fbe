#pragma once
// A filter made of conditions on the fields of one table ("field equals
// value", and the other comparisons), which can be saved under a name in the
// archive and rendered as one criteria string of the query dialect.

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

class DatabaseObject;

// One condition as criteria text of the query dialect: `field op value`,
// the value written as a literal of the field's type; Null gives "Is Null"
// ("Is Not Null" for "<>"); a text holding one of `wildcards` compares
// with Like.
QString ConditionText(const QString& field, const QString& op, const QVariant& value, int type,
                      const QStringList& wildcards);

class ComplexFilter
{
public:
    struct Condition
    {
        QString field;
        QString op = QStringLiteral("=");   // = <> < <= > >= Like
        QVariant value;                      // Null: the field is (not) empty
    };

    ComplexFilter(std::shared_ptr<DatabaseObject> database, QString table);

    const QString& TableName() const { return m_table; }
    // The name of the saved filter last selected or saved; empty for none.
    const QString& CurrentName() const { return m_currentName; }

    const QList<Condition>& Conditions() const { return m_conditions; }
    void SetConditions(QList<Condition> conditions) { m_conditions = std::move(conditions); }
    void AddCondition(const QString& field, const QVariant& value, const QString& op = QStringLiteral("="));
    bool HasCondition(const QString& field) const;
    void RemoveCondition(const QString& field);
    void Clear() { m_conditions.clear(); }

    // Conditions joined by AND; empty when there is none.
    QString Render() const;

    // Saved filters of the table.
    QString SavedNames() const;                 // "|"-separated, in name order
    bool Exists(const QString& name) const;
    bool Select(const QString& name);           // false when no filter has that name
    void Save(const QString& name);
    void Delete(const QString& name);

private:
    std::shared_ptr<DatabaseObject> m_database;
    QString m_table;
    QString m_currentName;
    QList<Condition> m_conditions;
};
