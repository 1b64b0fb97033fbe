#include "component/ComplexFilter.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QStringList kOperators = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("<"), QStringLiteral("<="),
                                QStringLiteral(">"), QStringLiteral(">="), QStringLiteral("Like")};

int FieldTypeOf(const DatabaseObject& database, const QString& table, const QString& field)
{
    const auto def = database.GetSchema().Find(table);
    return def ? database.GetSchema().TypeOfField(*def, field) : FieldType::Text;
}

QJsonValue ToJson(const QVariant& value)
{
    if (FieldValue::IsNull(value))
        return QJsonValue::Null;
    if (value.metaType() == QMetaType::fromType<Currency>())
        return value.value<Currency>().ToString();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(Qt::ISODate);
    return QJsonValue::fromVariant(value);
}

} // namespace

ComplexFilter::ComplexFilter(std::shared_ptr<DatabaseObject> database, QString table)
    : m_database(std::move(database)), m_table(std::move(table))
{
}

void ComplexFilter::AddCondition(const QString& field, const QVariant& value, const QString& op)
{
    QString normalized;
    for (const QString& known : kOperators)
        if (known.compare(op.trimmed(), Qt::CaseInsensitive) == 0)
            normalized = known;
    if (normalized.isEmpty())
        throw Exception(ComponentError::Syntax, QStringLiteral("Operatore di confronto non previsto: %1").arg(op));
    m_conditions.append({field, normalized, value});
}

bool ComplexFilter::HasCondition(const QString& field) const
{
    for (const Condition& c : m_conditions)
        if (c.field.compare(field, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void ComplexFilter::RemoveCondition(const QString& field)
{
    m_conditions.removeIf([&](const Condition& c) { return c.field.compare(field, Qt::CaseInsensitive) == 0; });
}

QString ConditionText(const QString& field, const QString& op, const QVariant& value, int type,
                      const QStringList& wildcards)
{
    const QString name = field.contains(u' ') ? u'[' + field + u']' : field;
    if (FieldValue::IsNull(value))
        return name + (op == QLatin1String("<>") ? QStringLiteral(" Is Not Null") : QStringLiteral(" Is Null"));
    QString literal;
    QString comparison = op;
    switch (type) {
    case FieldType::Long:
    case FieldType::Double:
    case FieldType::Currency: {
        const QVariant n = FieldValue::Normalize(value, type == FieldType::Currency ? type : FieldType::Double, 0, field);
        literal = type == FieldType::Currency ? n.value<Currency>().ToString() : SqlDialect::NumberLiteral(n.toDouble());
        break;
    }
    case FieldType::Boolean:
        literal = FieldValue::Normalize(value, type, 0, field).toBool() ? QStringLiteral("True") : QStringLiteral("False");
        break;
    case FieldType::Date:
    case FieldType::DateTime:
        literal = SqlDialect::DateLiteral(FieldValue::Normalize(value, type, 0, field).toDateTime());
        break;
    default: {
        const QString text = value.toString();
        if (comparison == QLatin1String("="))
            for (const QString& wildcard : wildcards)
                if (!wildcard.isEmpty() && text.contains(wildcard))
                    comparison = QStringLiteral("Like");
        literal = SqlDialect::TextLiteral(text);
    }
    }
    return name + u' ' + comparison + u' ' + literal;
}

QString ComplexFilter::Render() const
{
    QStringList parts;
    for (const Condition& c : m_conditions)
        parts.append(ConditionText(c.field, c.op, c.value, FieldTypeOf(*m_database, m_table, c.field),
                                   {QStringLiteral("*"), QStringLiteral("?")}));
    return parts.join(QStringLiteral(" AND "));
}

QString ComplexFilter::SavedNames() const
{
    auto engine = m_database->Engine();
    if (!engine)
        return {};
    DatabaseEngine::CachedStatement s(*engine, QStringLiteral("SELECT name FROM mensora_filters WHERE table_name = ? ORDER BY name"));
    s->Bind(1, m_table);
    QStringList names;
    while (s->Step())
        names.append(s->Column(0).toString());
    return names.join(u'|');
}

bool ComplexFilter::Exists(const QString& name) const
{
    auto engine = m_database->Engine();
    if (!engine)
        return false;
    DatabaseEngine::CachedStatement s(*engine, QStringLiteral("SELECT 1 FROM mensora_filters WHERE table_name = ? AND name = ?"));
    s->Bind(1, m_table);
    s->Bind(2, name);
    return s->Step();
}

bool ComplexFilter::Select(const QString& name)
{
    auto engine = m_database->Engine();
    if (!engine)
        return false;
    DatabaseEngine::CachedStatement s(*engine,
                                      QStringLiteral("SELECT definition FROM mensora_filters WHERE table_name = ? AND name = ?"));
    s->Bind(1, m_table);
    s->Bind(2, name);
    if (!s->Step())
        return false;
    const QJsonArray array = QJsonDocument::fromJson(s->Column(0).toString().toUtf8()).array();
    QList<Condition> conditions;
    for (const QJsonValue& v : array) {
        const QJsonObject o = v.toObject();
        QVariant value = o.value(QStringLiteral("value")).toVariant();
        const int type = FieldTypeOf(*m_database, m_table, o.value(QStringLiteral("field")).toString());
        if (!FieldValue::IsNull(value) && type != FieldType::Text)
            value = FieldValue::Normalize(value, type, 0, QString());
        conditions.append({o.value(QStringLiteral("field")).toString(), o.value(QStringLiteral("op")).toString(), value});
    }
    m_conditions = conditions;
    m_currentName = name;
    return true;
}

void ComplexFilter::Save(const QString& name)
{
    if (name.trimmed().isEmpty())
        throw Exception(ComponentError::InvalidValue, QStringLiteral("Il filtro deve avere un nome"));
    auto engine = m_database->Engine();
    if (!engine)
        throw Exception(ComponentError::NotOpen, QStringLiteral("L'archivio non è aperto"));
    QJsonArray array;
    for (const Condition& c : m_conditions)
        array.append(QJsonObject{{QStringLiteral("field"), c.field}, {QStringLiteral("op"), c.op},
                                 {QStringLiteral("value"), ToJson(c.value)}});
    AtomicWrite write(*engine);
    DatabaseEngine::CachedStatement s(*engine,
                                      QStringLiteral("INSERT INTO mensora_filters(table_name, name, definition) VALUES(?, ?, ?) "
                                                     "ON CONFLICT(table_name, name) DO UPDATE SET definition = excluded.definition"));
    s->Bind(1, m_table);
    s->Bind(2, name);
    s->Bind(3, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
    s->Step();
    write.Commit();
    m_currentName = name;
}

void ComplexFilter::Delete(const QString& name)
{
    auto engine = m_database->Engine();
    if (!engine)
        return;
    AtomicWrite write(*engine);
    DatabaseEngine::CachedStatement s(*engine, QStringLiteral("DELETE FROM mensora_filters WHERE table_name = ? AND name = ?"));
    s->Bind(1, m_table);
    s->Bind(2, name);
    s->Step();
    write.Commit();
    if (m_currentName.compare(name, Qt::CaseInsensitive) == 0)
        m_currentName.clear();
}
