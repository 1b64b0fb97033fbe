#include "script/FieldCollection.h"

#include "script/Convert.h"
#include "script/ScriptError.h"

namespace vbs {

namespace {
constexpr qint32 ItemNotFound = 3265;

VbError NotFound(const QString& what)
{
    return VbError(ItemNotFound,
                   QStringLiteral("Elemento non trovato nell'insieme corrispondente al nome o al numero richiesto: ")
                       + what);
}
} // namespace

Variant Field::Invoke(const QString& name, InvokeKind kind, Args args)
{
    const bool assign = kind == InvokeKind::Let || kind == InvokeKind::Set;
    if (name.isEmpty() || name == QLatin1String("value")) {
        if (assign) {
            if (args.size() != 1)
                throw VbError(Err::WrongArgCount);
            m_value = *args[0];
            return {};
        }
        if (!args.empty())
            throw VbError(Err::WrongArgCount);
        return m_value;
    }
    if (assign)
        throw VbError(Err::NoSuchMember);
    if (!args.empty())
        throw VbError(Err::WrongArgCount);
    if (name == QLatin1String("name"))
        return Variant::Str(m_name);
    if (name == QLatin1String("type"))
        return Variant::Int(qint16(m_value.VarTypeCode()));
    if (name == QLatin1String("actualsize"))
        return Variant::Long(m_value.IsNull() ? 0 : qint32(Convert::ToString(m_value).size()));
    throw VbError(Err::NoSuchMember);
}

void FieldCollection::Set(const QString& name, const Variant& value)
{
    const QString lower = name.toLower();
    const auto it = m_index.constFind(lower);
    if (it != m_index.constEnd()) {
        m_fields[size_t(*it)]->SetValue(value);
        return;
    }
    m_index.insert(lower, int(m_fields.size()));
    m_fields.push_back(std::make_shared<Field>(name, value));
}

std::shared_ptr<Field> FieldCollection::Find(const QString& name) const
{
    const auto it = m_index.constFind(name.toLower());
    return it == m_index.constEnd() ? nullptr : m_fields[size_t(*it)];
}

void FieldCollection::Clear()
{
    m_fields.clear();
    m_index.clear();
}

std::shared_ptr<Field> FieldCollection::ItemAt(const Variant& key) const
{
    const Variant k = Convert::Scalar(key);
    if (k.IsString()) {
        if (auto field = Find(k.StrValue()))
            return field;
        throw NotFound(k.StrValue());
    }
    const qint32 i = Convert::ToLong(k);
    if (i < 0 || i >= qint32(m_fields.size()))
        throw NotFound(QString::number(i));
    return m_fields[size_t(i)];
}

Variant FieldCollection::Invoke(const QString& name, InvokeKind kind, Args args)
{
    if (name.isEmpty() || name == QLatin1String("item")) {
        if (kind == InvokeKind::Let || kind == InvokeKind::Set) {
            if (args.size() != 2)
                throw VbError(Err::WrongArgCount);
            ItemAt(*args[0])->SetValue(*args[1]);
            return {};
        }
        if (args.size() != 1)
            throw VbError(Err::WrongArgCount);
        return Variant::Object(ItemAt(*args[0]));
    }
    if (name == QLatin1String("count") && kind != InvokeKind::Let && kind != InvokeKind::Set) {
        if (!args.empty())
            throw VbError(Err::WrongArgCount);
        return Variant::Long(qint32(m_fields.size()));
    }
    throw VbError(Err::NoSuchMember);
}

bool FieldCollection::Enumerate(std::vector<Variant>& items)
{
    items.clear();
    for (const auto& f : m_fields)
        items.push_back(Variant::Object(f));
    return true;
}

} // namespace vbs
