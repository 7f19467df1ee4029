#pragma once
// The program's global script functions beyond the language types and the device thread's
// own eight: text and numbers, keystrokes and the mouse, windows, programs and the shell,
// message boxes, dates, device values, persistent variables and saved clipboards.

#include <angelscript.h>

class ScriptRegistrar;
struct ScriptPlatform;

// Fills the key-name tables, gives the engine the platform its functions use, then registers
// every function in its fixed order (scripts and their generator rely on these declarations).
// 0 when all registered, else the engine's code of the first refusal (the engine is then
// unusable).
int RegisterScriptFunctions(asIScriptEngine* engine, const ScriptPlatform& platform);
int RegisterScriptFunctions(ScriptRegistrar& reg, const ScriptPlatform& platform);

// How many functions RegisterScriptFunctions registers.
constexpr int kSystemScriptFunctionCount = 49;

