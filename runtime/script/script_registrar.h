#pragma once
// Every registration the program makes with a script engine goes through a ScriptRegistrar.
// The engine counts any refused registration against its whole configuration: after one
// refusal every later build of that engine fails. So each result is checked (success is a
// result >= 0, often an id) and every refusal is recorded; a caller treats !Ok() as fatal
// for that engine.

#include <angelscript.h>

#include <string>
#include <string_view>
#include <vector>

struct RegistrationFailure {
  int code = 0;         // the engine's (negative) result
  std::string call;     // the engine call, e.g. "RegisterGlobalFunction"
  std::string subject;  // the type, name or declaration it was given
};

class ScriptRegistrar {
 public:
  explicit ScriptRegistrar(asIScriptEngine* engine) : engine_(engine) {}

  asIScriptEngine* Engine() const { return engine_; }

  int EngineProperty(asEEngineProp property, asPWORD value);
  int Typedef(const char* type, const char* declaration);
  int ObjectType(const char* name, int byteSize, asDWORD flags);
  int ObjectBehaviour(const char* type, asEBehaviours behaviour, const char* declaration,
                      const asSFuncPtr& function, asDWORD callConv);
  int ObjectMethod(const char* type, const char* declaration, const asSFuncPtr& function,
                   asDWORD callConv);
  int StringFactory(const char* type, asIStringFactory* factory);
  int GlobalFunction(const char* declaration, const asSFuncPtr& function, asDWORD callConv,
                     void* auxiliary = nullptr);
  // For declarations that come from data files or scripts and may be registered already by
  // an earlier device: an existing function with that declaration is kept and its id returned.
  int GlobalFunctionIfAbsent(const char* declaration, const asSFuncPtr& function,
                             asDWORD callConv, void* auxiliary = nullptr);

  // Any other registration call: records a result < 0 and passes the result on.
  int Check(int result, std::string_view call, std::string_view subject = {});

  bool Ok() const { return failures_.empty(); }
  // 0 when everything registered, else the code of the first refusal.
  int Result() const { return failures_.empty() ? 0 : failures_.front().code; }
  const std::vector<RegistrationFailure>& Failures() const { return failures_; }
  // One line per refusal: call, subject and code.
  std::string FailureText() const;

 private:
  asIScriptEngine* engine_;
  std::vector<RegistrationFailure> failures_;
};
