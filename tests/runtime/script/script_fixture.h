#pragma once
// A fresh script engine with the program's script types, a print function that records what
// a script prints, and the engine's messages. Header-only: shared by the script tests.

#include <angelscript.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"

class ScriptFixture {
 public:
  ScriptFixture() : engine_(asCreateScriptEngine()), reg_(engine_) {
    engine_->SetMessageCallback(asFUNCTION(OnMessage), this, asCALL_CDECL);
    RegisterScriptTypes(reg_);
    reg_.GlobalFunction("void print(const string &in)", asMETHOD(ScriptFixture, PrintString),
                        asCALL_THISCALL_ASGLOBAL, this);
    reg_.GlobalFunction("void print(int)", asMETHOD(ScriptFixture, PrintInt),
                        asCALL_THISCALL_ASGLOBAL, this);
    reg_.GlobalFunction("void print(uint)", asMETHOD(ScriptFixture, PrintUint),
                        asCALL_THISCALL_ASGLOBAL, this);
    reg_.GlobalFunction("void print(bool)", asMETHOD(ScriptFixture, PrintBool),
                        asCALL_THISCALL_ASGLOBAL, this);
  }
  ~ScriptFixture() {
    if (ctx_) ctx_->Release();
    engine_->ShutDownAndRelease();
  }
  ScriptFixture(const ScriptFixture&) = delete;
  ScriptFixture& operator=(const ScriptFixture&) = delete;

  asIScriptEngine* Engine() const { return engine_; }
  ScriptRegistrar& Registrar() { return reg_; }

  // Builds `globals` plus "void main() { body }" into a fresh module. Returns the build result.
  int Build(const std::string& body, const std::string& globals = "") {
    messages_.clear();
    asIScriptModule* mod = engine_->GetModule("test", asGM_ALWAYS_CREATE);
    const std::string code = globals + "\nvoid main() {\n" + body + "\n}\n";
    mod->AddScriptSection("test", code.c_str(), code.size());
    return mod->Build();
  }

  // Calls a function of the last built module; returns the execution result (or < 0).
  int Call(const char* decl = "void main()") {
    asIScriptFunction* f = engine_->GetModule("test")->GetFunctionByDecl(decl);
    if (!f) return asNO_FUNCTION;
    int r = Prepare(f);
    if (r < 0) return r;
    return Execute();
  }
  // Prepare, set arguments through Context(), then Execute.
  int Prepare(asIScriptFunction* f) {
    printed_.clear();
    exception_.clear();
    if (!ctx_) ctx_ = engine_->CreateContext();
    return ctx_->Prepare(f);
  }
  int Execute() {
    int r = ctx_->Execute();
    if (r == asEXECUTION_EXCEPTION) exception_ = ctx_->GetExceptionString();
    ctx_->Unprepare();
    return r;
  }
  asIScriptContext* Context() const { return ctx_; }

  // Build then run main().
  int Run(const std::string& body, const std::string& globals = "") {
    int r = Build(body, globals);
    return r < 0 ? r : Call();
  }

  // What print received, one entry per call, joined by "|".
  std::string Output() const {
    std::string out;
    for (std::size_t i = 0; i < printed_.size(); ++i) out += (i ? "|" : "") + printed_[i];
    return out;
  }
  const std::string& Exception() const { return exception_; }
  const std::string& Messages() const { return messages_; }
  // The engine's error messages only.
  const std::string& Errors() const { return errors_; }

 private:
  static void OnMessage(const asSMessageInfo* msg, void* param) {
    auto* self = static_cast<ScriptFixture*>(param);
    std::string line = std::string(msg->section) + " (" + std::to_string(msg->row) + ", " +
                       std::to_string(msg->col) + ") : " + msg->message + "\n";
    self->messages_ += line;
    if (msg->type == asMSGTYPE_ERROR) self->errors_ += line;
  }
  void PrintString(const std::string& s) { printed_.push_back(s); }
  void PrintInt(int v) { printed_.push_back(std::to_string(v)); }
  void PrintUint(unsigned v) { printed_.push_back(std::to_string(v)); }
  void PrintBool(bool v) { printed_.push_back(v ? "true" : "false"); }
  asIScriptEngine* engine_;
  ScriptRegistrar reg_;
  asIScriptContext* ctx_ = nullptr;
  std::vector<std::string> printed_;
  std::string exception_;
  std::string messages_;
  std::string errors_;
};
