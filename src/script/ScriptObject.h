#pragma once
// What a script can hold in an object variable: instances of script classes,
// dictionaries and the application's own objects. Members are reached by
// lower-case name; the empty name is the default member.

#include "script/Variant.h"

#include <QString>
#include <memory>
#include <span>
#include <vector>

namespace vbs {

enum class InvokeKind {
    Get,    // read a property or call a method for its value
    Call,   // call as a statement; the value is discarded
    Let,    // assign a value: the last argument is the value
    Set,    // assign an object reference: the last argument is the object
};

// Arguments point at the caller's variables when they were passed as plain
// variables (so that by-reference parameters write back) and at temporaries
// otherwise.
using Args = std::span<Variant* const>;

class ScriptObject : public std::enable_shared_from_this<ScriptObject>
{
public:
    virtual ~ScriptObject() = default;
    virtual QString TypeName() const = 0;
    // Raises VbError (438 for an unknown member, 450 for a wrong argument count).
    virtual Variant Invoke(const QString& lowerName, InvokeKind kind, Args args) = 0;
    // The items of For Each; false when the object is not a collection.
    virtual bool Enumerate(std::vector<Variant>& items) { Q_UNUSED(items); return false; }
    // Drops every reference the object holds, to break reference cycles when
    // the engine that created it goes away.
    virtual void ReleaseReferences() {}
};

} // namespace vbs
