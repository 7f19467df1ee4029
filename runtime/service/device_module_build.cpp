#include "runtime/service/device_module_build.h"

#include <windows.h>
#include <angelscript.h>

#include <cstdio>
#include <vector>

#include "runtime/device/device_folders.h"
#include "runtime/device/device_identification.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/periodic_function.h"
#include "runtime/functions/device_functions.h"
#include "runtime/preprocessor/script_preprocessor.h"
#include "runtime/preprocessor/text_streams.h"
#include "runtime/script/debug_engine.h"
#include "runtime/script/declaration_check.h"
#include "runtime/script/script_engine_lock.h"
#include "runtime/script/script_registrar.h"

namespace {

// The whole file; false when it cannot be read completely.
bool ReadWhole(std::FILE* f, std::vector<char>& text) {
  if (!f || std::fseek(f, 0, SEEK_END) != 0) return false;
  const long size = std::ftell(f);
  if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) return false;
  text.assign(static_cast<std::size_t>(size), '\0');
  return std::fread(text.data(), 1, text.size(), f) == text.size();
}

asIScriptModule* ModuleOf(const DeviceRecord& device, asCDebugScriptEngine& engine) {
  if (device.moduleName.empty()) return nullptr;
  const int index = engine.FindModule(device.moduleName.c_str());
  return index >= 0 ? engine.LibraryModule(index) : nullptr;
}

// The periodic script function must not outlive its module: its id would name another
// function, or none, after the rebuild.
void StopPeriodicFunctionOf(const std::string& moduleName, asCDebugScriptEngine& engine) {
  if (!PeriodicFunctionRunning()) return;
  asIScriptFunction* f = engine.Library()->GetFunctionById(GetPeriodicFunction().functionId);
  if (!f || !f->GetModuleName() || moduleName == f->GetModuleName()) StopPeriodicFunction();
}

// Loads the libraries of the device's "module" entries and registers their functions.
void LoadModuleLibraries(DeviceRecord& device, asCDebugScriptEngine& engine) {
  ScriptRegistrar registrar(engine.Library());
  for (ModuleConfig& m : device.modules) {
    if (m.library) continue;
    HMODULE library = LoadLibraryA(m.path.c_str());
    if (!library) continue;  // tried again at the next build
    m.library = library;
    for (ModuleFunction& f : m.functions) {
      auto address = reinterpret_cast<ModuleProc>(GetProcAddress(library, f.exportName.c_str()));
      if (!address) continue;
      f.address = address;
      // A declaration the engine would refuse must not reach it: one refusal fails every
      // later build on the engine, for every device.
      if (CheckGlobalFunctionDeclaration(engine.Library(), f.declaration) ==
          DeclarationCheck::Acceptable)
        registrar.GlobalFunction(f.declaration.c_str(), asFUNCTION(address), asCALL_CDECL);
    }
  }
}

int BuildFromFile(DeviceRecord& device, asCDebugScriptEngine& engine, FilePtr script) {
  std::vector<char> text;
  if (!script || !ReadWhole(script.get(), text)) return -1;
  return BuildDeviceModule(device.moduleName, text.data(), text.size(), engine);
}

}  // namespace

std::string DeviceModuleName(const DeviceRecord& device) {
  char name[48];
  std::snprintf(name, sizeof name, "Vid%04xPid%04xv%04xUid%04x", device.vendorId & 0xFFFF,
                device.productId & 0xFFFF, device.version & 0xFFFF, device.unitId & 0xFFFF);
  return name;
}

void* FindModuleGlobal(DeviceRecord& device, const std::string& name, asCDebugScriptEngine& engine) {
  asIScriptModule* module = ModuleOf(device, engine);
  if (!module) return nullptr;
  const int index = module->GetGlobalVarIndexByName(name.c_str());
  return index >= 0 ? module->GetAddressOfGlobalVar(index) : nullptr;
}

std::string GetModuleScriptFolder(const std::string& moduleName) {
  const DeviceRecord* device = FindDeviceByModule(moduleName.c_str());
  return device ? GetDeviceScriptFolder(device->folder, device->unitId) : std::string();
}

int BuildDeviceModule(const std::string& moduleName, const char* text, std::size_t length,
                      asCDebugScriptEngine& engine) {
  // Device builds do not show the preprocessor's messages.
  return BuildScriptModule(moduleName, text, length, GetModuleScriptFolder(moduleName), engine);
}

int BuildScriptModule(const std::string& moduleName, const char* text, std::size_t length,
                      const std::string& baseFolder, asCDebugScriptEngine& engine,
                      TextOutputStream* messages) {
  StopPeriodicFunctionOf(moduleName, engine);
  engine.Discard(moduleName.c_str());
  BufferOutputStream preprocessed;
  NullOutputStream dropped;
  PreprocessorSetup setup;
  setup.extraIncludeFolders = GetProgramIncludeFolders();
  // The root is asked for by the module name; an include of the script file itself is a cycle.
  if (const DeviceRecord* device = FindDeviceByModule(moduleName.c_str()))
    GetDeviceScriptPath(device->folder, device->unitId, setup.rootFile);
  PreprocessScriptFile(moduleName, std::string_view(text, length), engine.Library(), baseFolder,
                       preprocessed, messages ? *messages : dropped, nullptr, setup);
  engine.AddScriptSection(moduleName.c_str(), "QpadHandler", preprocessed.CStr(), preprocessed.Size());
  return engine.Build(moduleName.c_str());
}

void ReleaseModuleUses(const std::string& moduleName, asCDebugScriptEngine& engine) {
  StopPeriodicFunctionOf(moduleName, engine);
  for (const auto& d : GetDeviceTable())
    if (d->moduleName == moduleName) ClearOutputGlobalPointers(*d);
}

int LoadDeviceModuleDlls(DeviceRecord& device, asCDebugScriptEngine& engine, asCDebugContext* context,
                         FilePtr script) {
  LoadModuleLibraries(device, engine);
  if (!script) return -1;
  ClearOutputGlobalPointers(device);  // they point into the module about to go
  device.moduleName = DeviceModuleName(device);
  const int result = BuildFromFile(device, engine, std::move(script));
  if (result == 0) {
    if (context) RunDeviceInit(device, engine, *context);
  } else if (result != kBuildRestoreBackup) {
    device.moduleName.clear();  // no module: its input is not dispatched
  }
  return result;
}

void ReloadDeviceScript(DeviceRecord& device, asCDebugScriptEngine& engine,
                        asCDebugContext& context) {
  FilePtr script = OpenDeviceScript(device.folder, device.unitId);
  if (!script) return;
  ClearOutputGlobalPointers(device);
  const int result = BuildFromFile(device, engine, std::move(script));
  auto started = [&] {
    RunDeviceInit(device, engine, context);
    SetLayerLed(device.redLayerAtOpen, device);
  };
  if (result == 0) {
    started();
    BackupDeviceScript(device.folder, device.unitId);
  } else if (result == kBuildRestoreBackup) {
    if (RestoreDeviceScript(device.folder, device.unitId) != 0 ||
        BuildFromFile(device, engine, OpenDeviceScript(device.folder, device.unitId)) != 0) {
      device.moduleName.clear();
    } else {
      started();
    }
  }
}

bool RunDeviceInit(DeviceRecord& device, asCDebugScriptEngine& engine, asCDebugContext& context) {
  asIScriptModule* module = ModuleOf(device, engine);
  asIScriptFunction* init = module ? module->GetFunctionByDecl("void QpadInit()") : nullptr;
  if (!init || context.Prepare(init) < 0) return false;
  ClearOutputGlobalPointers(device);
  SetCurrentDevice(&device);
  context.Execute();
  return true;
}

namespace {

// A device that has no module because its last build failed, by the name its module has.
DeviceRecord* FindDeviceWithoutModule(const char* moduleName) {
  if (!moduleName) return nullptr;
  for (const auto& d : GetDeviceTable())
    if (d->moduleName.empty() && d->setUp && DeviceModuleName(*d) == moduleName) return d.get();
  return nullptr;
}

}  // namespace

bool SaveModuleScript(const char* moduleName, const char*, const char* text, int length) {
  ScriptEngineGuard lock;
  if (!text || length < 0) return false;
  DeviceRecord* device = FindDeviceByModule(moduleName);
  const bool revived = !device && (device = FindDeviceWithoutModule(moduleName)) != nullptr;
  if (!device || WriteDeviceScriptFile(device->folder, device->unitId, text,
                                       static_cast<std::size_t>(length)) != 0)
    return false;
  if (revived) {
    device->moduleName = moduleName;
    device->rebuildScript = true;
  }
  return true;
}

void DiscardDeviceModule(DeviceRecord& device, asCDebugScriptEngine& engine) {
  if (device.moduleName.empty()) return;
  StopPeriodicFunctionOf(device.moduleName, engine);
  ClearOutputGlobalPointers(device);
  engine.Discard(device.moduleName.c_str());
  device.moduleName.clear();
}
