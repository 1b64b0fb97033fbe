#include "script/ClassInstance.h"

#include "script/ArrayOps.h"
#include "script/DeferredRelease.h"
#include "script/Interpreter.h"
#include "script/ScriptError.h"

namespace vbs {

ClassInstance::ClassInstance(const ClassDef& cls, Interpreter& vm, std::weak_ptr<void> vmAlive)
    : m_class(cls), m_typeName(cls.name), m_vm(vm), m_vmAlive(std::move(vmAlive)), m_fields(cls.fields.size())
{
    for (size_t i = 0; i < cls.fields.size(); ++i) {
        const FieldDef& f = cls.fields[i];
        if (!f.isArray)
            continue;
        auto array = std::make_shared<VbArray>();
        qint64 count = 1;
        for (qint32 b : f.bounds) {
            if (b < -1)
                throw VbError(Err::SubscriptRange);
            count *= qint64(b) + 1;
            vm.CheckArraySize(count);
        }
        array->upper = f.bounds;
        array->fixedSize = !f.bounds.empty();
        array->data.resize(size_t(count));
        if (f.bounds.empty())
            array->data.clear();
        m_fields[i] = Variant::Array(std::move(array));
    }
}

ClassInstance::~ClassInstance()
{
    if (!m_vmAlive.expired() && m_vm.Alive() && m_class.terminate)
        m_vm.RunTerminate(*this, *m_class.terminate);
    ReleaseValues(m_fields);
}

void ClassInstance::ReleaseReferences()
{
    std::vector<Variant> dying(m_fields.size());
    dying.swap(m_fields);
    ReleaseValues(dying);
}

Variant ClassInstance::Invoke(const QString& lowerName, InvokeKind kind, Args args)
{
    return InvokeMember(lowerName, kind, args, false);
}

Variant ClassInstance::CallProc(const ProcDef& proc, Args args)
{
    return m_vm.CallProc(proc, args, this, shared_from_this());
}

Variant ClassInstance::InvokeMember(const QString& lowerName, InvokeKind kind, Args args, bool allowPrivate)
{
    if (m_vmAlive.expired())
        throw VbError(Err::ObjectNotSet);
    const QString& name = lowerName.isEmpty() ? m_class.defaultMember : lowerName;
    const auto it = m_class.members.constFind(name);
    if (name.isEmpty() || it == m_class.members.constEnd())
        throw VbError(Err::NoSuchMember);
    const MemberEntry& m = *it;
    auto visible = [allowPrivate](const ProcDef* p) { return p && (allowPrivate || p->isPublic); };

    if (m.field >= 0) {
        if (!allowPrivate && !m_class.fields[size_t(m.field)].isPublic)
            throw VbError(Err::NoSuchMember);
        Variant& field = m_fields[size_t(m.field)];
        const size_t indexCount = (kind == InvokeKind::Let || kind == InvokeKind::Set) ? args.size() - 1 : args.size();
        if (kind == InvokeKind::Let || kind == InvokeKind::Set) {
            const Variant& value = *args.back();
            if (indexCount == 0) {
                if (kind == InvokeKind::Set && !value.IsObject())
                    throw VbError(Err::ObjectRequired);
                Variant old = std::move(field);
                field = value;
                return {};
            }
        }
        if (indexCount == 0)
            return field;
        const Args indexes = args.first(indexCount);
        if (field.IsArray()) {
            if (kind == InvokeKind::Let || kind == InvokeKind::Set) {
                ArrayOps::Element(field.MutableArray(), indexes) = *args.back();
                return {};
            }
            return ArrayOps::Element(*field.ArrValue(), indexes);
        }
        if (field.IsObject() && field.ObjValue())
            return field.ObjValue()->Invoke(QString(), kind, args);
        throw VbError(Err::TypeMismatch);
    }
    switch (kind) {
    case InvokeKind::Get:
    case InvokeKind::Call:
        if (visible(m.get))
            return CallProc(*m.get, args);
        if (visible(m.method)) {
            CallProc(*m.method, args);
            return {};
        }
        break;
    case InvokeKind::Let:
        if (visible(m.let))
            return CallProc(*m.let, args);
        break;
    case InvokeKind::Set:
        if (visible(m.set))
            return CallProc(*m.set, args);
        if (visible(m.let))
            return CallProc(*m.let, args);
        break;
    }
    if (kind == InvokeKind::Let || kind == InvokeKind::Set)
        throw VbError(Err::WrongArgCount);
    throw VbError(Err::NoSuchMember);
}

} // namespace vbs
