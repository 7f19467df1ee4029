#include "macros/macro_platform.h"

#include <windows.h>

#include "macros/keystroke_recorder_window.h"
#include "macros/model/script_writer.h"
#include "macros/model/text_code_page.h"
#include "runtime/device/device_folders.h"

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

bool AtomicFileAccess::Write(const std::string& path, std::string_view bytes) {
  return ReplaceFileWith(path, bytes);
}

void InstallMacroPlatform() {
  static AtomicFileAccess files;
  SetTextCodePage({WidenAnsi, NarrowAnsi});
  SetDefaultMacroFiles(&files);
  InstallKeystrokeRecorder();
}
