#include "runtime/preprocessor/preprocessor_pragmas.h"

#include <utility>

#include "platform/base/file_access.h"
#include "platform/base/path_text.h"
#include "runtime/preprocessor/include_loader.h"
#include "runtime/preprocessor/preprocessor_lexer.h"
#include "runtime/script/library_loader.h"
#include "runtime/script/script_registrar.h"

void PragmaTable::Register(const std::string& name, PragmaHandler* handler) {
  if (handler) handlers_[name] = handler;
}

void PragmaTable::Unregister(const std::string& name, PragmaHandler* handler) {
  auto it = handlers_.find(name);
  if (it != handlers_.end() && it->second == handler) handlers_.erase(it);
}

PragmaHandler* PragmaTable::Find(const std::string& name) const {
  auto it = handlers_.find(name);
  return it == handlers_.end() ? nullptr : it->second;
}

bool PragmaTable::Dispatch(const std::string& name, const PragmaInfo& info) const {
  PragmaHandler* handler = Find(name);
  if (!handler) return false;
  handler->OnPragma(info);
  return true;
}

PragmaTable& ProgramPragmas() {
  static PragmaTable table;
  return table;
}

void RegisterPragma(const std::string& name, PragmaHandler* handler) {
  ProgramPragmas().Register(name, handler);
}

bool DispatchPragma(const std::string& name, const PragmaInfo& info) {
  return ProgramPragmas().Dispatch(name, info);
}

std::string ProcedureName(std::string_view declaration) {
  std::size_t open = declaration.find('(');
  if (open == std::string_view::npos) return "";
  std::size_t end = open;
  while (end > 0 && (declaration[end - 1] == ' ' || declaration[end - 1] == '\t')) --end;
  std::size_t begin = end;
  while (begin > 0 && kIdentifierChars.find(declaration[begin - 1]) != std::string_view::npos)
    --begin;
  return std::string(declaration.substr(begin, end - begin));
}

ModulePragmaRegistry::ModulePragmaRegistry(LibraryLoader& libraries, FileAccess& files,
                                           ScratchEngineSetup scratchSetup)
    : loader_(libraries), files_(files), scratchSetup_(std::move(scratchSetup)) {}

void ModulePragmaRegistry::Reset(const std::string& baseFolder, asIScriptEngine* engine,
                                 PragmaTable& table) {
  baseFolder_ = baseFolder;
  engine_ = engine;
  current_ = nullptr;
  registrations_.clear();
  for (const char* name : kModulePragmaNames) table.Register(name, &moduleHandler_);
  for (const char* name : kModuleFunctionPragmaNames) table.Register(name, &functionHandler_);
}

void ModulePragmaRegistry::OnModule(const PragmaInfo& info) {
  std::string path = FindIncludeFileInEither(files_, info.parameter, baseFolder_,
                                             CutAtLastBackslash(info.currentFile));
  // Every build of a script runs its pragmas again: one entry (and one load) per library.
  for (Library& library : libraries_) {
    if (library.path != path) continue;
    if (!library.handle) library.handle = loader_.Load(path);
    current_ = &library;
    return;
  }
  libraries_.push_back(Library{path, loader_.Load(path)});
  current_ = &libraries_.back();
}

void ModulePragmaRegistry::OnModuleFunction(const PragmaInfo& info) {
  if (!current_) return;
  const std::string& declaration = info.parameter;
  Function* function = nullptr;
  for (Function& f : functions_)
    if (f.library == current_ && f.declaration == declaration) function = &f;
  if (!function) {
    functions_.push_back(Function{current_, declaration, ProcedureName(declaration), nullptr});
    function = &functions_.back();
  }
  if (!function->address && current_->handle && !function->procedure.empty())
    function->address = loader_.FindExport(current_->handle, function->procedure);
  RegisterOnEngine(*function);
}

void ModulePragmaRegistry::RegisterOnEngine(const Function& function) {
  if (!engine_ || !function.address) return;
  Registration attempt{function.declaration};
  attempt.check = CheckGlobalFunctionDeclaration(engine_, function.declaration, scratchSetup_);
  if (attempt.check == DeclarationCheck::Acceptable) {
    ScriptRegistrar reg(engine_);
    attempt.result = reg.GlobalFunction(
        function.declaration.c_str(),
        asFunctionPtr(reinterpret_cast<asFUNCTION_t>(function.address)), asCALL_CDECL);
  }
  registrations_.push_back(std::move(attempt));
}

ModulePragmaRegistry& ProgramModulePragmas() {
  static ModulePragmaRegistry registry(SystemLibraries(), RealFiles());
  return registry;
}

void ResetModulePragmas(const std::string& baseFolder, asIScriptEngine* engine) {
  ProgramModulePragmas().Reset(baseFolder, engine, ProgramPragmas());
}
