#include "macros/script_file_write.h"

#include "macros/model/script_writer.h"
#include "platform/base/system_calls.h"

bool WriteScriptFileAndTell(MacroContext& context, const std::string& path, HWND owner) {
  if (WriteScriptFile(context, path)) return true;
  const std::string text = "The script file could not be written:\n" + path;
  GetSystemCalls().ShowMessageBox(owner, text.c_str(), "Orvane II Error", MB_OK | MB_ICONERROR);
  return false;
}
