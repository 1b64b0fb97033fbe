#pragma once
// Where the application and the script engine meet. The engine has its own
// error type; errors cross here unchanged in number, description and source:
// a script's failure becomes the application's Exception, and an Exception
// raised by the application's code that a script called becomes a script
// error, which the script sees in Err and may skip with On Error Resume Next.

#include "component/Exception.h"
#include "script/ScriptEngine.h"

#include <utility>

Exception ToException(const vbs::ScriptError& error);
vbs::VbError ToScriptError(const Exception& error);

// Runs a script's Function or Sub; a failure raises Exception.
vbs::Variant CallScript(vbs::ScriptEngine& engine, const QString& name, std::vector<vbs::Variant>& args);

// Wraps a function of the application that a script calls (a host function,
// an object's method, getter or setter) so that an Exception it raises
// reaches the script as a script error.
template<typename F>
auto ForScript(F function)
{
    return [function = std::move(function)](auto&&... args) -> decltype(auto) {
        try {
            return function(std::forward<decltype(args)>(args)...);
        } catch (const Exception& e) {
            throw ToScriptError(e);
        }
    };
}
