#include "macros/macro_platform.h"

#include <windows.h>

#include "macros/keystroke_recorder_window.h"
#include "macros/macro_services.h"
#include "macros/onboard_memory_dialogs.h"
#include "macros/model/script_writer.h"
#include "macros/model/text_code_page.h"
#include "platform/base/file_replace.h"
#include "runtime/device/device_record.h"

namespace {

std::wstring WidenAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string NarrowAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

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
