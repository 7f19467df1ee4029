#include "runtime/script/declaration_check.h"

#include <cstring>
#include <memory>

#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"

namespace {

void ScratchStub() {}

struct EngineRelease {
  void operator()(asIScriptEngine* e) const { e->ShutDownAndRelease(); }
};

// A parameter as text that two engines with the same types agree on.
std::string ParameterText(asIScriptEngine* engine, const asIScriptFunction* f, asUINT i) {
  int typeId = 0;
  asDWORD flags = 0;
  if (f->GetParam(i, &typeId, &flags) < 0) return "?";
  const char* type = engine->GetTypeDeclaration(typeId, true);
  return std::string(type ? type : "?") + "/" + std::to_string(flags);
}

bool SameParameters(asIScriptEngine* a, const asIScriptFunction* fa, asIScriptEngine* b,
                    const asIScriptFunction* fb) {
  if (fa->GetParamCount() != fb->GetParamCount()) return false;
  for (asUINT i = 0; i < fa->GetParamCount(); ++i)
    if (ParameterText(a, fa, i) != ParameterText(b, fb, i)) return false;
  return true;
}

bool NamespaceIsGlobal(const asIScriptFunction* f) {
  const char* ns = f->GetNamespace();
  return !ns || !*ns;
}

}  // namespace

DeclarationCheck CheckGlobalFunctionDeclaration(asIScriptEngine* engine,
                                                const std::string& declaration,
                                                const ScratchEngineSetup& setup) {
  if (!engine || declaration.empty()) return DeclarationCheck::Invalid;
  // Silent, and it does not count against the configuration.
  if (engine->GetGlobalFunctionByDecl(declaration.c_str())) return DeclarationCheck::AlreadyPresent;

  std::unique_ptr<asIScriptEngine, EngineRelease> scratch(asCreateScriptEngine());
  if (!scratch) return DeclarationCheck::Invalid;
  ScriptRegistrar reg(scratch.get());
  if (setup)
    setup(reg);
  else
    RegisterScriptTypes(reg);
  if (!reg.Ok()) return DeclarationCheck::Invalid;
  int id =
      scratch->RegisterGlobalFunction(declaration.c_str(), asFUNCTION(ScratchStub), asCALL_CDECL);
  if (id < 0) return DeclarationCheck::Invalid;
  asIScriptFunction* parsed = scratch->GetFunctionById(id);
  // Accessors would also have to agree with the engine's other accessors; scripts'
  // libraries have no use for them.
  if (!parsed || parsed->IsProperty()) return DeclarationCheck::Invalid;
  const char* name = parsed->GetName();

  // What the engine holds beyond the scratch engine's configuration.
  if (engine->GetTypeInfoByName(name)) return DeclarationCheck::Conflicts;
  for (asUINT i = 0; i < engine->GetGlobalPropertyCount(); ++i) {
    const char* property = nullptr;
    const char* ns = nullptr;
    if (engine->GetGlobalPropertyByIndex(i, &property, &ns) >= 0 && property &&
        std::strcmp(property, name) == 0 && (!ns || !*ns))
      return DeclarationCheck::Conflicts;
  }
  for (asUINT i = 0; i < engine->GetGlobalFunctionCount(); ++i) {
    asIScriptFunction* f = engine->GetGlobalFunctionByIndex(i);
    if (!f || !NamespaceIsGlobal(f)) continue;
    const char* other = f->GetName();
    if (f->IsProperty() && std::strlen(other) > 4 && std::strcmp(other + 4, name) == 0)
      return DeclarationCheck::Conflicts;
    // Same name and parameters with another return type.
    if (std::strcmp(other, name) == 0 && SameParameters(engine, f, scratch.get(), parsed))
      return DeclarationCheck::Conflicts;
  }
  return DeclarationCheck::Acceptable;
}
