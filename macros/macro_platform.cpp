#include "macros/macro_platform.h"

#include "macros/keystroke_recorder_window.h"
#include "macros/macro_services.h"
#include "macros/onboard_memory_dialogs.h"
#include "macros/model/script_writer.h"
#include "macros/model/text_code_page.h"
#include "platform/base/ansi_text.h"
#include "platform/base/file_replace.h"
#include "runtime/device/device_record.h"

void InstallMacroPlatform() {
  static AtomicFileAccess files;
  SetTextCodePage({WidenAnsi, NarrowAnsi});
  SetDefaultMacroFiles(&files);
  DeviceRecordServices services = GetDeviceRecordServices();
  services.regenerateDeviceScript = [](DeviceRecord& device) { RegenerateDeviceScript(device); };
  SetDeviceRecordServices(services);
  InstallOnboardMemoryHooks();
  InstallKeystrokeRecorder();
}
