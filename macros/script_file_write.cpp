#include "macros/script_file_write.h"

#include "macros/model/script_writer.h"
#include "platform/base/system_calls.h"

bool WriteScriptFileAndTell(SystemCalls& calls, MacroContext& context, const std::string& path, void* owner) {
  if (!path.empty() && WriteScriptFile(context, path)) return true;
  const std::string text = path.empty() ? "The script file could not be written: the device's folder is not known."
                                        : "The script file could not be written:\n" + path;
  calls.ShowMessageBox(owner, text.c_str(), "Orvane II Error", BoxButtons::Ok, BoxIcon::Error);
  return false;
}
