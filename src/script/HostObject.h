#pragma once
// A ready base for the application's objects: methods and properties
// registered by name (any case), and an optional default member.

#include "script/ScriptObject.h"

#include <QHash>
#include <functional>

namespace vbs {

class HostObject : public ScriptObject
{
public:
    using Method = std::function<Variant(Args args)>;
    using Getter = std::function<Variant(Args indexes)>;
    using Setter = std::function<void(Args indexes, const Variant& value)>;

    explicit HostObject(QString typeName) : m_typeName(std::move(typeName)) {}

    QString TypeName() const override { return m_typeName; }
    Variant Invoke(const QString& lowerName, InvokeKind kind, Args args) override;

    // Methods are called with their arguments; a value they return is
    // ignored when called as a statement.
    void AddMethod(const QString& name, Method method);
    void AddProperty(const QString& name, Getter getter, Setter setter = {});
    void SetDefaultMember(const QString& name) { m_default = name.toLower(); }

    // Checks the argument count of a call; raises error 450.
    static void ExpectArgs(Args args, size_t min, size_t max);

private:
    struct Member
    {
        Method method;
        Getter getter;
        Setter setter;
    };
    QString m_typeName;
    QHash<QString, Member> m_members;
    QString m_default;
};

} // namespace vbs
