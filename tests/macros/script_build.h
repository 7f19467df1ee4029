#pragma once
// Builds script text as a device's module is built: the preprocessor with the program's pragmas
// and defines, then an engine with the program's whole script interface. For checking that
// generated scripts compile.
#include <memory>
#include <string>

#include "platform/base/file_access.h"
#include "platform/base/system_calls.h"
#include "runtime/functions/device_functions.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/system_script_functions.h"
#include "runtime/preprocessor/script_preprocessor.h"
#include "runtime/script/debug_engine.h"
#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"

namespace testsupport {

class ScriptBuild {
 public:
  struct Result {
    int preprocessorErrors = 0;
    int build = 0;  // the engine's result: 0 built
    std::string messages;
    bool Ok() const { return preprocessorErrors == 0 && build >= 0; }
  };

  ScriptBuild() : engine_(asCreateDebugScriptEngine(20401, nullptr, nullptr)) {
    ScriptRegistrar registrar(engine_->Library());
    RegisterScriptTypes(registrar);
    RegisterDeviceFunctions(registrar, {platform_});
    RegisterScriptFunctions(registrar, {platform_});
    registered_ = registrar.Ok();
    engine_->SetMessageStream(&messages_);
  }
  bool Registered() const { return registered_; }

  // Includes are looked up from folder in files (the real ones when null).
  Result Build(const std::string& text, const std::string& folder = "C:\\", FileAccess* files = nullptr) {
    PreprocessorSetup setup;
    setup.files = files;
    const PreprocessedScript pre = PreprocessScript("Test", text, engine_->Library(), folder, setup);
    Result r;
    r.preprocessorErrors = pre.errors;
    messages_.text = pre.messages;
    engine_->AddScriptSection("Test", "QpadHandler", pre.text.data(), pre.text.size());
    r.build = engine_->Build("Test");
    engine_->Discard("Test");
    r.messages = messages_.text;
    return r;
  }

 private:
  struct Messages : ScriptOutputStream {
    void Write(const char* text) override { this->text += text; }
    std::string text;
  };
  SystemCalls platform_;
  std::unique_ptr<asCDebugScriptEngine> engine_;
  Messages messages_;
  bool registered_ = false;
};

}  // namespace testsupport
