#include "ui/script_editor/module_script_locator.h"

#include "platform/base/path_text.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/functions/device_functions.h"
#include "runtime/service/device_module_build.h"

namespace {

const DeviceRecord* DeviceOfModule(const std::string& module) {
  if (const DeviceRecord* device = FindDeviceByModule(module.c_str())) return device;
  for (const auto& d : GetDeviceTable())
    if (d->setUp && DeviceModuleName(*d) == module) return d.get();
  return nullptr;
}

bool LooksLikePath(const std::string& name) {
  return name.find('\\') != std::string::npos || name.find('/') != std::string::npos;
}

}  // namespace

ModuleScriptLocator ProgramModuleScriptLocator(FileAccess& files) {
  return [&files](const std::string& module) -> std::optional<ModuleScriptFile> {
    ModuleScriptFile file;
    file.origin.rootName = module;
    file.origin.extraIncludeFolders = GetProgramIncludeFolders();
    if (const DeviceRecord* device = DeviceOfModule(module)) {
      if (GetDeviceScriptPath(device->folder, device->unitId, file.path) != 0) return std::nullopt;
      file.origin.scriptPath = file.path;
      file.origin.baseFolder = GetDeviceScriptFolder(device->folder, device->unitId);
      return file;
    }
    if (LooksLikePath(module) && files.CanRead(module)) {
      file.path = module;
      file.origin.scriptPath = module;
      file.origin.baseFolder = CutAtLastBackslash(module);
      return file;
    }
    return std::nullopt;
  };
}
