#include "runtime/script/script_registrar.h"

int ScriptRegistrar::Check(int result, std::string_view call, std::string_view subject) {
  if (result < 0) failures_.push_back({result, std::string(call), std::string(subject)});
  return result;
}

int ScriptRegistrar::EngineProperty(asEEngineProp property, asPWORD value) {
  return Check(engine_->SetEngineProperty(property, value), "SetEngineProperty",
               std::to_string(static_cast<int>(property)));
}

int ScriptRegistrar::Typedef(const char* type, const char* declaration) {
  return Check(engine_->RegisterTypedef(type, declaration), "RegisterTypedef", type);
}

int ScriptRegistrar::ObjectType(const char* name, int byteSize, asDWORD flags) {
  return Check(engine_->RegisterObjectType(name, byteSize, flags), "RegisterObjectType", name);
}

int ScriptRegistrar::ObjectBehaviour(const char* type, asEBehaviours behaviour,
                                     const char* declaration, const asSFuncPtr& function,
                                     asDWORD callConv) {
  return Check(engine_->RegisterObjectBehaviour(type, behaviour, declaration, function, callConv),
               "RegisterObjectBehaviour", std::string(type) + " " + declaration);
}

int ScriptRegistrar::ObjectMethod(const char* type, const char* declaration,
                                  const asSFuncPtr& function, asDWORD callConv) {
  return Check(engine_->RegisterObjectMethod(type, declaration, function, callConv),
               "RegisterObjectMethod", std::string(type) + " " + declaration);
}

int ScriptRegistrar::StringFactory(const char* type, asIStringFactory* factory) {
  return Check(engine_->RegisterStringFactory(type, factory), "RegisterStringFactory", type);
}

int ScriptRegistrar::GlobalFunction(const char* declaration, const asSFuncPtr& function,
                                    asDWORD callConv, void* auxiliary) {
  return Check(engine_->RegisterGlobalFunction(declaration, function, callConv, auxiliary),
               "RegisterGlobalFunction", declaration);
}

int ScriptRegistrar::GlobalFunctionIfAbsent(const char* declaration, const asSFuncPtr& function,
                                            asDWORD callConv, void* auxiliary) {
  if (asIScriptFunction* existing = engine_->GetGlobalFunctionByDecl(declaration))
    return existing->GetId();
  return GlobalFunction(declaration, function, callConv, auxiliary);
}

std::string ScriptRegistrar::FailureText() const {
  std::string text;
  for (const RegistrationFailure& f : failures_) {
    text += f.call;
    if (!f.subject.empty()) text += " '" + f.subject + "'";
    text += ": " + std::to_string(f.code) + "\n";
  }
  return text;
}
