#include "runtime/script/debug_engine.h"

#include <algorithm>

#include "runtime/script/script_value_text.h"

namespace {

constexpr const char* kUnnamed = "unnamed";

// A copy: callers may pass a name that the engine or the library frees on the way, such as
// ModuleName(i) or a function's module name.
std::string OrUnnamed(const char* name) { return name ? name : kUnnamed; }

// A caller may count a terminating zero (or a file's trailing zeros) in the length; the
// library would read them as unknown tokens.
std::size_t WithoutTrailingZeros(const char* code, std::size_t length) {
  if (!code) return 0;
  while (length > 0 && code[length - 1] == '\0') --length;
  return length;
}

}  // namespace

asCDebugScriptEngine::asCDebugScriptEngine(asIScriptEngine* library,
                                           DebugBuildCallback buildCallback,
                                           DebugSaveCallback saveCallback)
    : library_(library),
      buildCallback_(buildCallback),
      saveCallback_(saveCallback),
      sections_(kFirstCapacity),
      modules_(kFirstCapacity) {
  library_->SetMessageCallback(asMETHOD(asCDebugScriptEngine, OnMessage), this, asCALL_THISCALL);
  asCDebugContext::KeepFunctionTexts(library_);
}

asCDebugScriptEngine::~asCDebugScriptEngine() { library_->ShutDownAndRelease(); }

void asCDebugScriptEngine::OnMessage(const asSMessageInfo* message) {
  if (!messages_) return;
  const char* severity = message->type == asMSGTYPE_ERROR     ? "Error"
                         : message->type == asMSGTYPE_WARNING ? "Warning"
                                                              : "Info";
  std::string line;
  if (message->section && *message->section) {
    line = std::string(message->section) + " (" + std::to_string(message->row) + ", " +
           std::to_string(message->col) + ") : ";
  }
  line += std::string(severity) + " : " + (message->message ? message->message : "") + "\n";
  messages_->Write(line.c_str());
}

bool asCDebugScriptEngine::ValidSlot(int slot) const {
  return slot >= 0 && slot < SectionCapacity() && sections_[slot].used;
}

const char* asCDebugScriptEngine::SectionName(int slot) const {
  return ValidSlot(slot) ? sections_[slot].name.c_str() : nullptr;
}
const char* asCDebugScriptEngine::SectionText(int slot) const {
  return ValidSlot(slot) ? sections_[slot].text.c_str() : nullptr;
}
int asCDebugScriptEngine::SectionLength(int slot) const {
  return ValidSlot(slot) ? static_cast<int>(sections_[slot].text.size()) : 0;
}
int asCDebugScriptEngine::SectionModule(int slot) const {
  return ValidSlot(slot) ? sections_[slot].module : -1;
}
int asCDebugScriptEngine::SectionFlags(int slot) const {
  return ValidSlot(slot) ? sections_[slot].flags : 0;
}
void asCDebugScriptEngine::SetSectionFlags(int slot, int flags) {
  if (ValidSlot(slot)) sections_[slot].flags = flags;
}
void asCDebugScriptEngine::SetSectionText(int slot, const char* text, std::size_t length) {
  if (ValidSlot(slot)) sections_[slot].text.assign(text ? text : "", WithoutTrailingZeros(text, length));
}

int asCDebugScriptEngine::FindSection(const char* module, const char* section) const {
  int index = FindModule(module);
  if (index < 0 || !section) return -1;
  for (int slot = 0; slot < SectionCapacity(); ++slot) {
    const Section& s = sections_[slot];
    if (s.used && s.module == index && s.name == section) return slot;
  }
  return -1;
}

const char* asCDebugScriptEngine::ModuleName(int index) const {
  if (index < 0 || index >= ModuleCapacity() || !modules_[index].used) return nullptr;
  return modules_[index].name.c_str();
}

int asCDebugScriptEngine::FindModule(const char* module) const {
  if (!module) return -1;
  for (int i = 0; i < ModuleCapacity(); ++i) {
    if (modules_[i].used && modules_[i].name == module) return i;
  }
  return -1;
}

asIScriptModule* asCDebugScriptEngine::LibraryModule(int index) const {
  return ModuleName(index) ? modules_[index].library : nullptr;
}

int asCDebugScriptEngine::AddModule(const std::string& name) {
  int index = 0;
  while (index < ModuleCapacity() && modules_[index].used) ++index;
  if (index == ModuleCapacity()) modules_.resize(modules_.size() + kGrowth);
  modules_[index] = Module{true, name, false};
  ++moduleCount_;
  return index;
}

int asCDebugScriptEngine::TakeSectionSlot() {
  int slot = 0;
  while (slot < SectionCapacity() && sections_[slot].used) ++slot;
  if (slot == SectionCapacity()) {
    if (slot >= kMaxSections) return -1;
    sections_.resize(std::min<std::size_t>(sections_.size() + kGrowth, kMaxSections));
  }
  return slot;
}

int asCDebugScriptEngine::PassSection(asIScriptModule* library, int slot) {
  const Section& s = sections_[slot];
  return library->AddScriptSection(s.name.c_str(), s.text.data(), s.text.size(),
                                   slot << kSlotShift);
}

int asCDebugScriptEngine::AddScriptSection(const char* module, const char* section,
                                           const char* code, std::size_t length, int, bool) {
  const std::string moduleName = OrUnnamed(module);
  const std::string sectionName = OrUnnamed(section);
  module = moduleName.c_str();
  int index = FindModule(module);
  // A module that holds a build gets an empty one: building over it would fail while a
  // context still holds one of its functions.
  bool fresh = index < 0 || modules_[index].libraryBuilt;
  asIScriptModule* library = library_->GetModule(module, fresh ? asGM_ALWAYS_CREATE : asGM_CREATE_IF_NOT_EXISTS);
  if (!library) return asNO_MODULE;
  int slot = TakeSectionSlot();
  if (slot < 0) {
    if (index < 0) library_->DiscardModule(module);
    return asERROR;
  }
  if (index < 0) index = AddModule(module);
  modules_[index].libraryBuilt = false;
  modules_[index].library = library;
  sections_[slot] = Section{true, sectionName, std::string(code ? code : "", WithoutTrailingZeros(code, length)), 0, index};
  ++sectionCount_;
  built_ = false;
  return PassSection(library, slot);
}

int asCDebugScriptEngine::BuildLibraryModule(int index, asIScriptModule* library) {
  if (!library) return asNO_MODULE;
  if (index >= 0) modules_[index].libraryBuilt = true;
  return library->Build();
}

int asCDebugScriptEngine::Build(const char* module) {
  if (buildCallback_) return buildCallback_(this, nullptr, module);
  const std::string name = OrUnnamed(module);
  built_ = true;
  return BuildLibraryModule(FindModule(name.c_str()), library_->GetModule(name.c_str(), asGM_ONLY_IF_EXISTS));
}

int asCDebugScriptEngine::Discard(const char* moduleName) {
  const std::string name = OrUnnamed(moduleName);
  const char* module = name.c_str();
  built_ = false;
  int index = FindModule(module);
  if (index < 0) return asERROR;
  for (Section& s : sections_) {
    if (s.used && s.module == index) {
      s = Section{};
      --sectionCount_;
    }
  }
  modules_[index] = Module{};
  --moduleCount_;
  library_->DiscardModule(module);
  return asSUCCESS;
}

std::unique_ptr<asCDebugContext> asCDebugScriptEngine::CreateContext() {
  asIScriptContext* context = library_->CreateContext();
  if (!context) return nullptr;
  return std::make_unique<asCDebugContext>(this, context);
}

int asCDebugScriptEngine::RebuildModule(const char* moduleName, bool reAdd) {
  const std::string name = OrUnnamed(moduleName);
  const char* module = name.c_str();
  int index = FindModule(module);
  if (reAdd) {
    built_ = false;
    library_->DiscardModule(module);
    if (index >= 0) {
      asIScriptModule* library = library_->GetModule(module, asGM_ALWAYS_CREATE);
      modules_[index].library = library;
      if (!library) return asNO_MODULE;
      modules_[index].libraryBuilt = false;
      for (int slot = 0; slot < SectionCapacity(); ++slot) {
        if (sections_[slot].used && sections_[slot].module == index) {
          int r = PassSection(library, slot);
          if (r < 0) return r;
        }
      }
    }
  }
  if (built_) return asSUCCESS;
  built_ = true;
  int r = BuildLibraryModule(index, library_->GetModule(module, asGM_ONLY_IF_EXISTS));
  if (r == asINVALID_CONFIGURATION && messages_) messages_->Write("Invalid configuration\n");
  return r;
}

int asCDebugScriptEngine::GetGlobalVarAsText(int varId, char* buffer, std::size_t length) {
  asIScriptModule* library = LibraryModule((varId >> 16) & 0x3FF);
  if (!library) return asNO_MODULE;
  asUINT index = static_cast<asUINT>(varId & 0xFFFF);
  if (index >= library->GetGlobalVarCount()) return asNO_GLOBAL_VAR;
  int typeId = 0;
  library->GetGlobalVar(index, nullptr, nullptr, &typeId);
  CopyText(ScriptValueText(library_, typeId, library->GetAddressOfGlobalVar(index),
                           ValueTextUse::Global, length),
           buffer, length);
  return asSUCCESS;
}

int asCDebugScriptEngine::SetGlobalVarFromText(int varId, const char* text) {
  asIScriptModule* library = LibraryModule((varId >> 16) & 0x3FF);
  if (!library) return asNO_MODULE;
  asUINT index = static_cast<asUINT>(varId & 0xFFFF);
  if (index >= library->GetGlobalVarCount()) return asNO_GLOBAL_VAR;
  int typeId = 0;
  bool isConst = false;
  library->GetGlobalVar(index, nullptr, nullptr, &typeId, &isConst);
  if (!isConst) SetPrimitiveFromText(library_, typeId, library->GetAddressOfGlobalVar(index), text);
  return asSUCCESS;
}

extern "C" asCDebugScriptEngine* asCreateDebugScriptEngine(asDWORD version,
                                                           DebugBuildCallback buildCallback,
                                                           DebugSaveCallback saveCallback) {
  // The interface generation the scripts and callers were written for, not the library's.
  if (version / 10000 != 2 || (version / 100) % 100 != 4 || version % 100 >= 2) return nullptr;
  asIScriptEngine* library = asCreateScriptEngine(ANGELSCRIPT_VERSION);
  if (!library) return nullptr;
  return new asCDebugScriptEngine(library, buildCallback, saveCallback);
}
