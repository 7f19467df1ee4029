#include "runtime/device/programming_refusal.h"

#include "platform/base/system_calls.h"
#include "runtime/device/device_description.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"

std::string ProgrammingRefusalText(ProgrammingRefusal why, const std::string& deviceName, int unitId,
                                   const std::string& path) {
  const char* reason = "its script file did not build";
  if (why == ProgrammingRefusal::kNoScript) reason = "its script file is missing";
  if (why == ProgrammingRefusal::kLayoutNotLoaded) reason = "its layout file or its pictures could not be loaded";
  return "The programming window of " + deviceName + " ID:" + std::to_string(unitId) + " cannot open: " + reason +
         ".\n" + path;
}

void TellProgrammingRefused(SystemCalls& calls, const DeviceRecord& device) {
  std::string path;
  GetDeviceScriptPath(device.folder, device.unitId, path);
  const ProgrammingRefusal why = OpenDeviceScript(device.folder, device.unitId) ? ProgrammingRefusal::kScriptNotBuilt
                                                                                : ProgrammingRefusal::kNoScript;
  TellProgrammingRefused(calls, device, why, path);
}

void TellProgrammingRefused(SystemCalls& calls, const DeviceRecord& device, ProgrammingRefusal why,
                            const std::string& path) {
  const std::string text = ProgrammingRefusalText(why, DeviceTypeName(device), device.unitId, path);
  calls.ShowMessageBox(nullptr, text.c_str(), "Orvane II Error", BoxButtons::Ok, BoxIcon::Error,
                     BoxFlag::SetForeground);
}
