#include "script/Dictionary.h"

#include "script/ArrayOps.h"
#include "script/Convert.h"
#include "script/DeferredRelease.h"
#include "script/ScriptError.h"

namespace vbs {

namespace {
void ArgCount(Args args, size_t min, size_t max)
{
    if (args.size() < min || args.size() > max)
        throw VbError(Err::WrongArgCount);
}
} // namespace

Dictionary::~Dictionary()
{
    ReleaseValues(m_keys);
    ReleaseValues(m_items);
}

void Dictionary::ReleaseReferences()
{
    std::vector<Variant> keys, items;
    keys.swap(m_keys);
    items.swap(m_items);
    m_index.clear();
    ReleaseValues(keys);
    ReleaseValues(items);
}

// Keys of different subtypes that hold the same number are the same key;
// a number and a string never are.
QString Dictionary::KeyOf(const Variant& key) const
{
    using Tag = Variant::Tag;
    switch (key.GetTag()) {
    case Tag::Empty: return QStringLiteral("e");
    case Tag::Null: return QStringLiteral("0");
    case Tag::String:
        return QLatin1Char('s') + (m_compareMode == 0 ? key.StrValue() : key.StrValue().toLower());
    case Tag::Object: {
        return QStringLiteral("o%1").arg(quintptr(key.ObjValue().get()));
    }
    case Tag::Array:
    case Tag::Missing:
        throw VbError(Err::TypeMismatch);
    default:
        return QStringLiteral("n%1").arg(Convert::ToDouble(key), 0, 'g', 17);
    }
}

int Dictionary::Find(const Variant& key) const
{
    return m_index.value(KeyOf(key), -1);
}

void Dictionary::Add(const Variant& key, const Variant& value)
{
    const QString k = KeyOf(key);
    if (m_index.contains(k))
        throw VbError(Err::KeyExists);
    m_index.insert(k, int(m_keys.size()));
    m_keys.push_back(key);
    m_items.push_back(value);
}

void Dictionary::RemoveAt(int index)
{
    Variant key = std::move(m_keys[size_t(index)]);
    Variant item = std::move(m_items[size_t(index)]);
    m_keys.erase(m_keys.begin() + index);
    m_items.erase(m_items.begin() + index);
    Reindex();
}

void Dictionary::Reindex()
{
    m_index.clear();
    for (int i = 0; i < int(m_keys.size()); ++i)
        m_index.insert(KeyOf(m_keys[size_t(i)]), i);
}

bool Dictionary::Enumerate(std::vector<Variant>& items)
{
    items = m_keys;
    return true;
}

Variant Dictionary::Invoke(const QString& name, InvokeKind kind, Args args)
{
    const bool assign = kind == InvokeKind::Let || kind == InvokeKind::Set;
    if (name.isEmpty() || name == QLatin1String("item")) {
        if (assign) {
            ArgCount(args, 2, 2);
            const Variant key = Convert::Scalar(*args[0]);
            const int i = Find(key);
            if (i >= 0)
                m_items[size_t(i)] = *args[1];
            else
                Add(key, *args[1]);
            return {};
        }
        ArgCount(args, 1, 1);
        const Variant key = args[0]->IsObject() ? *args[0] : Convert::Scalar(*args[0]);
        const int i = Find(key);
        if (i >= 0)
            return m_items[size_t(i)];
        // Reading a missing key adds it with an empty item.
        Add(key, Variant());
        return {};
    }
    if (name == QLatin1String("key") && assign) {
        ArgCount(args, 2, 2);
        const int i = Find(Convert::Scalar(*args[0]));
        if (i < 0)
            throw VbError(Err::ElementNotFound);
        const Variant newKey = Convert::Scalar(*args[1]);
        if (Find(newKey) >= 0)
            throw VbError(Err::KeyExists);
        m_keys[size_t(i)] = newKey;
        Reindex();
        return {};
    }
    if (name == QLatin1String("comparemode")) {
        if (assign) {
            ArgCount(args, 1, 1);
            if (!m_keys.empty())
                throw VbError(Err::InvalidCall);
            const qint32 mode = Convert::ToLong(*args[0]);
            if (mode < 0)
                throw VbError(Err::InvalidCall);
            m_compareMode = mode;
            return {};
        }
        return Variant::Long(m_compareMode);
    }
    if (assign)
        throw VbError(Err::NoSuchMember);
    if (name == QLatin1String("add")) {
        ArgCount(args, 2, 2);
        Add(args[0]->IsObject() ? *args[0] : Convert::Scalar(*args[0]), *args[1]);
        return {};
    }
    if (name == QLatin1String("exists")) {
        ArgCount(args, 1, 1);
        return Variant::Bool(Find(args[0]->IsObject() ? *args[0] : Convert::Scalar(*args[0])) >= 0);
    }
    if (name == QLatin1String("remove")) {
        ArgCount(args, 1, 1);
        const int i = Find(args[0]->IsObject() ? *args[0] : Convert::Scalar(*args[0]));
        if (i < 0)
            throw VbError(Err::ElementNotFound);
        RemoveAt(i);
        return {};
    }
    if (name == QLatin1String("removeall")) {
        ArgCount(args, 0, 0);
        std::vector<Variant> keys, items;
        keys.swap(m_keys);
        items.swap(m_items);
        m_index.clear();
        return {};
    }
    if (name == QLatin1String("count")) {
        ArgCount(args, 0, 0);
        return Variant::Long(qint32(m_keys.size()));
    }
    if (name == QLatin1String("keys")) {
        ArgCount(args, 0, 0);
        return ArrayOps::FromValues(m_keys);
    }
    if (name == QLatin1String("items")) {
        ArgCount(args, 0, 0);
        return ArrayOps::FromValues(m_items);
    }
    throw VbError(Err::NoSuchMember);
}

} // namespace vbs
