#pragma once
// Declarations of global functions that come from scripts or data files are checked before
// they reach an engine: the engine counts one refused registration against its whole
// configuration, so that every later build on it fails, also for other devices' scripts.

#include <angelscript.h>

#include <functional>
#include <string>

class ScriptRegistrar;

enum class DeclarationCheck {
  Acceptable,      // registering it on the engine will succeed
  AlreadyPresent,  // the engine has a function with this declaration
  Invalid,         // not a declaration the engine's types allow (or a virtual property)
  Conflicts,       // its name or signature clashes with what the engine has
};

// The configuration a scratch engine gets so that declarations are parsed against the same
// types as on the real engines.
using ScratchEngineSetup = std::function<void(ScriptRegistrar&)>;

// Decides without touching engine's configuration: the declaration is first registered on a
// scratch engine made by setup (RegisterScriptTypes when empty), then compared with the
// names and signatures engine already holds.
DeclarationCheck CheckGlobalFunctionDeclaration(asIScriptEngine* engine,
                                                const std::string& declaration,
                                                const ScratchEngineSetup& setup = {});
