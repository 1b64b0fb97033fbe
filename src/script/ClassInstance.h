#pragma once
// An instance of a class written in the script: its fields, and its members
// dispatched to the class's procedures.

#include "script/Ast.h"
#include "script/ScriptObject.h"

#include <memory>
#include <vector>

namespace vbs {

class Interpreter;

class ClassInstance : public ScriptObject
{
public:
    ClassInstance(const ClassDef& cls, Interpreter& vm, std::weak_ptr<void> vmAlive);
    ~ClassInstance() override;

    QString TypeName() const override { return m_typeName; }
    Variant Invoke(const QString& lowerName, InvokeKind kind, Args args) override;
    void ReleaseReferences() override;

    // Also reaches Private members: used from the class's own code.
    Variant InvokeMember(const QString& lowerName, InvokeKind kind, Args args, bool allowPrivate);
    Variant& Field(int slot) { return m_fields[size_t(slot)]; }
    const ClassDef& Class() const { return m_class; }

private:
    Variant CallProc(const ProcDef& proc, Args args);

    // The class belongs to the engine's code: touched only while the engine lives.
    const ClassDef& m_class;
    QString m_typeName;
    Interpreter& m_vm;
    std::weak_ptr<void> m_vmAlive;
    std::vector<Variant> m_fields;
};

} // namespace vbs
