#include "app/ScriptBoundary.h"

Exception ToException(const vbs::ScriptError& error)
{
    return Exception(error.number, error.description, error.source);
}

vbs::VbError ToScriptError(const Exception& error)
{
    return vbs::VbError(error.Number(), error.Description(), error.Source());
}

vbs::Variant CallScript(vbs::ScriptEngine& engine, const QString& name, std::vector<vbs::Variant>& args)
{
    vbs::Variant result;
    vbs::ScriptError error;
    if (!engine.Run(name, args, &result, &error))
        throw ToException(error);
    return result;
}
