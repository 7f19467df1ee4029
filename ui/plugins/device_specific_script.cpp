#include "ui/plugins/device_specific_script.h"

#include <string>

#include "macros/model/macro_context.h"
#include "macros/model/script_writer.h"
#include "platform/base/file_access.h"
#include "ui/plugins/plugin_windows.h"

bool WriteDeviceSpecificScript(HWND programmingWindow, const char* text) {
  if (!text) return false;
  MacroContext* context = OwnProgrammingContext(programmingWindow);
  if (!context || !context->device) return false;
  const std::string path = DeviceSpecificFilePath(*context->device);
  return !path.empty() && MacroFiles(*context).Write(path, text);
}
