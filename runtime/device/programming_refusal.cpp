#include "runtime/device/programming_refusal.h"

#include <windows.h>

#include "platform/base/system_calls.h"
#include "runtime/device/device_description.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"

std::string ProgrammingRefusalText(ProgrammingRefusal why, const std::string& deviceName, int unitId,
                                   const std::string& scriptPath) {
  const char* reason = why == ProgrammingRefusal::kNoScript ? "its script file is missing"
                                                             : "its script file did not build";
  return "The programming window of " + deviceName + " ID:" + std::to_string(unitId) + " cannot open: " + reason +
         ".\n" + scriptPath;
}

void TellProgrammingRefused(const DeviceRecord& device) {
  std::string path;
  GetDeviceScriptPath(device.folder, device.unitId, path);
  const ProgrammingRefusal why = OpenDeviceScript(device.folder, device.unitId) ? ProgrammingRefusal::kScriptNotBuilt
                                                                                : ProgrammingRefusal::kNoScript;
  const std::string text = ProgrammingRefusalText(why, DeviceTypeName(device), device.unitId, path);
  GetSystemCalls().ShowMessageBox(nullptr, text.c_str(), "Orvane II Error", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
