#pragma once
// A script context that records the arguments of a prepared call, so that the debugger can
// prepare and run the same call again after the module has been rebuilt: the function is then
// found again by its module and declaration (function ids change with a rebuild).

#include <angelscript.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class asCDebugScriptEngine;
class asCDebugContext;

using DebugLineCallback = void (*)(asCDebugContext* context, void* param);

class asCDebugContext {
 public:
  enum ArgumentKind { kValue32 = 0, kValue64 = 1, kFloat = 2, kDouble = 3, kObject = 4 };
  struct RecordedArgument {
    int kind;
    int index;
    std::uint64_t value;  // the value's bytes; an object's address
  };

  // Takes over one reference to library. Made by asCDebugScriptEngine::CreateContext.
  asCDebugContext(asCDebugScriptEngine* engine, asIScriptContext* library);
  ~asCDebugContext();
  asCDebugContext(const asCDebugContext&) = delete;
  asCDebugContext& operator=(const asCDebugContext&) = delete;

  // Lets the engine free the texts this class keeps with a prepared function, with the
  // function. Called once for an engine, before any context is made.
  static void KeepFunctionTexts(asIScriptEngine* library);

  // The wrapper of a library context made by this class (the one a line callback gets).
  static asCDebugContext* FromLibrary(asIScriptContext* context);

  asIScriptContext* Library() const { return library_; }
  asCDebugScriptEngine* Engine() const { return engine_; }

  // Prepares; once the library has, forgets the recorded arguments and keeps the function.
  // A refused Prepare (a call is running) leaves the record of that call as it was.
  int Prepare(int functionId);
  int Prepare(asIScriptFunction* function);
  int PreparedFunctionId() const { return functionId_; }
  const std::vector<RecordedArgument>& RecordedArguments() const { return arguments_; }

  // Record, then set. A 32-bit value goes to a byte, word or dword by the parameter's size.
  int SetArgDWord(asUINT arg, asDWORD value);
  int SetArgQWord(asUINT arg, asQWORD value);
  int SetArgFloat(asUINT arg, float value);
  int SetArgDouble(asUINT arg, double value);
  // The object must stay alive until Execute returns: a replay passes it again.
  int SetArgObject(asUINT arg, void* object);

  // With the engine's build callback and a prepared function: the callback's result for
  // (engine, this, the function's declaration), without running. Otherwise runs.
  int Execute();
  // Runs the prepared call here, never through the build callback.
  int RunPrepared();
  // Prepares the recorded call again, its function found by module and declaration, and sets
  // the recorded arguments in recorded order. engine must be this context's engine or null.
  // asNO_FUNCTION when the function is gone.
  int ReplayPrepare(asCDebugScriptEngine* engine);
  // Lets go of the prepared function (so that its module can be rebuilt), aborting a running
  // call; the recorded call stays for ReplayPrepare.
  void Detach();

  // The line id (slot << 20 | line) of the line running at stackLevel; a line without a kept
  // section gives the library's line. 0 when there is none.
  int GetLineNumber(asUINT stackLevel = 0, int* column = nullptr, const char** section = nullptr);
  int GetExceptionLineNumber(int* column = nullptr, const char** section = nullptr);
  // The engine's index of the module of the running function, -1 when none.
  int CurrentModuleIndex();

  void SetLineCallback(DebugLineCallback callback, void* param);
  void ClearLineCallback();

  // Local variable index of the running function: 0 when there is none; 1 with its name, type
  // declaration and value text; 2 for an object other than a string, whose address then goes
  // into valueOut (sizeof(void*) bytes). A null object gives 1 and "unitialized". Every
  // buffer is filled within its length.
  int GetVarAsText(int index, char* nameOut, std::size_t nameLength, char* typeOut,
                   std::size_t typeLength, char* valueOut, std::size_t valueLength);
  // A primitive local from text, as globals are set; false for anything else.
  bool SetVarFromText(int index, const char* text);

 private:
  bool HasLocal(int index) const;
  int SetArgument(const RecordedArgument& argument);
  int LineId(asIScriptFunction* function, int line, const char* section) const;
  static void OnLine(asIScriptContext* context, void* self);

  asCDebugScriptEngine* engine_;
  asIScriptContext* library_;
  int functionId_ = 0;
  std::string module_;       // of the prepared function
  std::string declaration_;  // of the prepared function, namespace and parameter names included
  std::string callText_;     // its declaration as the build callback gets it
  std::vector<RecordedArgument> arguments_;
  DebugLineCallback lineCallback_ = nullptr;
  void* lineParam_ = nullptr;
};
