#pragma once
// A script engine with the program's types, for the targets that build or read scripts.
#include <angelscript.h>

#include <memory>

#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"
#include "tests/fuzz/fuzz_check.h"

struct EngineRelease {
  void operator()(asIScriptEngine* engine) const { engine->ShutDownAndRelease(); }
};
using EngineHolder = std::unique_ptr<asIScriptEngine, EngineRelease>;

inline EngineHolder MakeScriptTypesEngine() {
  EngineHolder engine(asCreateScriptEngine());
  Check(engine != nullptr);
  ScriptRegistrar types(engine.get());
  RegisterScriptTypes(types);
  Check(types.Ok());
  return engine;
}
