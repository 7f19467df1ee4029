#include "runtime/device_module_build.h"

#include <angelscript.h>

#include <cstdio>
#include <vector>

#include "runtime/debug_engine.h"
#include "runtime/device_record.h"
#include "runtime/device_table.h"

std::string DeviceModuleName(const DeviceRecord& device) {
  char name[48];
  std::snprintf(name, sizeof name, "Vid%04xPid%04xv%04xUid%04x", device.vendorId & 0xFFFF,
                device.productId & 0xFFFF, device.version & 0xFFFF, device.unitId & 0xFFFF);
  return name;
}

int BuildDeviceModule(const std::string& moduleName, const char* text, std::size_t length,
                      asCDebugScriptEngine& engine) {
  engine.Discard(moduleName.c_str());
  engine.AddScriptSection(moduleName.c_str(), "QpadHandler", text, length);
  return engine.Build(moduleName.c_str());
}

int LoadDeviceModuleDlls(DeviceRecord& device, asCDebugScriptEngine& engine, FilePtr script) {
  if (!script) return -1;
  std::vector<char> text;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, script.get())) > 0)
    text.insert(text.end(), chunk, chunk + n);
  device.moduleName = DeviceModuleName(device);
  const int result = BuildDeviceModule(device.moduleName, text.data(), text.size(), engine);
  if (result != 0 && result != kBuildRestoreBackup) device.moduleName.clear();
  return result;
}

void ReloadDeviceScript(DeviceRecord& device, asCDebugScriptEngine& engine,
                        asCDebugContext& context) {
  if (LoadDeviceModuleDlls(device, engine, OpenDeviceScript(device.folder, device.unitId)) == 0)
    RunDeviceInit(device, engine, context);
}

bool RunDeviceInit(DeviceRecord& device, asCDebugScriptEngine& engine, asCDebugContext& context) {
  const int index = engine.FindModule(device.moduleName.c_str());
  asIScriptModule* module = index >= 0 ? engine.LibraryModule(index) : nullptr;
  asIScriptFunction* init = module ? module->GetFunctionByDecl("void QpadInit()") : nullptr;
  if (!init || context.Prepare(init) < 0) return false;
  ClearOutputGlobalPointers(device);
  SetCurrentDevice(&device);
  context.Execute();
  return true;
}

bool SaveModuleScript(const char*, const char*, const char*, int) { return false; }
