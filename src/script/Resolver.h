#pragma once
// Binds the names of a parsed text to slots before it runs: procedure
// variables to frame slots, script-level variables to global slots, class
// fields to instance slots, calls to their procedure or built-in. Constants
// are folded into literals. Raises VbError for compile errors.

#include "script/Ast.h"
#include "script/Program.h"

namespace vbs {

// Registers the unit's procedures, classes, variables and constants in the
// scope and resolves all of its code. `hostProc` (with its class) is the
// procedure whose locals code run by Execute can see.
void ResolveUnit(Unit& unit, GlobalScope& scope, const ProcDef* hostProc = nullptr,
                 const ClassDef* hostClass = nullptr);

// Resolves an expression evaluated by Eval inside `hostProc` (or at script
// level when null).
void ResolveExpression(Expr& expr, GlobalScope& scope, const ProcDef* hostProc, const ClassDef* hostClass,
                       bool optionExplicit);

} // namespace vbs
