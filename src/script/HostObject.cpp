#include "script/HostObject.h"

#include "script/ScriptError.h"

namespace vbs {

void HostObject::AddMethod(const QString& name, Method method)
{
    m_members[name.toLower()].method = std::move(method);
}

void HostObject::AddProperty(const QString& name, Getter getter, Setter setter)
{
    Member& m = m_members[name.toLower()];
    m.getter = std::move(getter);
    m.setter = std::move(setter);
}

void HostObject::ExpectArgs(Args args, size_t min, size_t max)
{
    if (args.size() < min || args.size() > max)
        throw VbError(Err::WrongArgCount);
}

Variant HostObject::Invoke(const QString& lowerName, InvokeKind kind, Args args)
{
    const QString& name = lowerName.isEmpty() ? m_default : lowerName;
    const auto it = m_members.constFind(name);
    if (name.isEmpty() || it == m_members.constEnd())
        throw VbError(Err::NoSuchMember);
    const Member& m = *it;
    switch (kind) {
    case InvokeKind::Get:
    case InvokeKind::Call:
        if (m.method)
            return m.method(args);
        if (m.getter)
            return m.getter(args);
        break;
    case InvokeKind::Let:
    case InvokeKind::Set:
        if (m.setter) {
            m.setter(args.first(args.size() - 1), *args.back());
            return {};
        }
        throw VbError(Err::WrongArgCount);
    }
    throw VbError(Err::NoSuchMember);
}

} // namespace vbs
