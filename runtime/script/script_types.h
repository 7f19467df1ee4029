#pragma once
// The whole script type set of the program on one engine: the engine settings the scripts are
// written for, the bits typedefs, `string`, the default array and the byte and integer arrays,
// in that order. Script functions are registered after it.

class ScriptRegistrar;

void RegisterScriptTypes(ScriptRegistrar& reg);
