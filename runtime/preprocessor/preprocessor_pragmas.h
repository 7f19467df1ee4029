#pragma once
// "#pragma" lines of a script go to handlers registered by name. "once" keeps a file from being
// included again (the run's IncludedFileSet); "module" loads a library that the script names and
// "moduleFunction" registers one of its functions with the run's script engine.

#include <angelscript.h>

#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/script/declaration_check.h"

class FileAccess;
class LibraryLoader;

inline constexpr std::string_view kUnknownPragmaMessage = "Unknown pragma command.";

struct PragmaInfo {
  std::string parameter;  // the string literal without its quotes; empty when absent
  std::string currentFile;
  int lineInFile = 0;
  std::string rootName;
  int combinedLine = 0;
};

class PragmaHandler {
 public:
  virtual ~PragmaHandler() = default;
  virtual void OnPragma(const PragmaInfo& info) = 0;
};

// Pragma name (exact case) -> handler; the handlers are not owned.
class PragmaTable {
 public:
  // A later registration of a name replaces the earlier one; null is ignored.
  void Register(const std::string& name, PragmaHandler* handler);
  // Removes the name when it is still served by handler.
  void Unregister(const std::string& name, PragmaHandler* handler);
  // False when no handler serves the name (the caller reports kUnknownPragmaMessage).
  bool Dispatch(const std::string& name, const PragmaInfo& info) const;
  PragmaHandler* Find(const std::string& name) const;

 private:
  std::map<std::string, PragmaHandler*> handlers_;
};

// The program's pragma table.
PragmaTable& ProgramPragmas();
void RegisterPragma(const std::string& name, PragmaHandler* handler);
bool DispatchPragma(const std::string& name, const PragmaInfo& info);

// The spellings the "once" handler is registered under.
inline constexpr const char* kOncePragmaNames[] = {"once", "Once", "ONCE"};

// The libraries and functions that scripts' module pragmas name. They are kept for the
// program's run, so a library is loaded once per path; each run's engine gets the functions
// that the run's script declares and that it does not have yet.
class ModulePragmaRegistry {
 public:
  struct Library {
    std::string path;  // resolved
    void* handle = nullptr;
  };
  struct Function {
    const Library* library = nullptr;
    std::string declaration;
    std::string procedure;  // the export's name
    void* address = nullptr;
  };
  // One registration attempt on a run's engine.
  struct Registration {
    std::string declaration;
    DeclarationCheck check = DeclarationCheck::Invalid;
    int result = 0;  // the engine's result when registered, else 0
  };

  // scratchSetup configures the engine on which declarations are tried first (the program's
  // script types when empty).
  ModulePragmaRegistry(LibraryLoader& libraries, FileAccess& files,
                       ScratchEngineSetup scratchSetup = {});
  ModulePragmaRegistry(const ModulePragmaRegistry&) = delete;
  ModulePragmaRegistry& operator=(const ModulePragmaRegistry&) = delete;

  // At the start of every preprocessing run: the folder libraries are searched from, the
  // engine functions go to (may be null), no current library; registers the handlers.
  void Reset(const std::string& baseFolder, asIScriptEngine* engine, PragmaTable& table);

  void OnModule(const PragmaInfo& info);
  void OnModuleFunction(const PragmaInfo& info);

  const Library* CurrentLibrary() const { return current_; }
  const std::deque<Library>& Libraries() const { return libraries_; }
  const std::deque<Function>& Functions() const { return functions_; }
  // The attempts on the engine since the last Reset.
  const std::vector<Registration>& Registrations() const { return registrations_; }

 private:
  class Handler : public PragmaHandler {
   public:
    Handler(ModulePragmaRegistry& owner, bool function) : owner_(owner), function_(function) {}
    void OnPragma(const PragmaInfo& info) override {
      function_ ? owner_.OnModuleFunction(info) : owner_.OnModule(info);
    }

   private:
    ModulePragmaRegistry& owner_;
    bool function_;
  };

  void RegisterOnEngine(const Function& function);

  LibraryLoader& loader_;
  FileAccess& files_;
  ScratchEngineSetup scratchSetup_;
  Handler moduleHandler_{*this, false};
  Handler functionHandler_{*this, true};
  asIScriptEngine* engine_ = nullptr;
  std::string baseFolder_;
  const Library* current_ = nullptr;
  std::deque<Library> libraries_;  // deque: Function and current_ point into it
  std::deque<Function> functions_;
  std::vector<Registration> registrations_;
};

inline constexpr const char* kModulePragmaNames[] = {"module", "Module", "MODULE"};
inline constexpr const char* kModuleFunctionPragmaNames[] = {
    "modulefunction", "moduleFunction", "ModuleFunction", "Modulefunction", "MODULEFUNCTION"};

// The export a declaration names: the identifier right before its first "(" ("" when none).
std::string ProcedureName(std::string_view declaration);

// The program's registry (system libraries, real files) and its reset on the program's table.
ModulePragmaRegistry& ProgramModulePragmas();
void ResetModulePragmas(const std::string& baseFolder, asIScriptEngine* engine);
