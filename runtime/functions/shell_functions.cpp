#include "runtime/functions/shell_functions.h"

#include <windows.h>

#include <cstdint>

#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"

// The maker's tutorial page is not settled yet; this stands in for it.
const char kTutorialPageAddress[] = "https://www.example.com/orvane/tutorials";

namespace {

void* ToWindow(int window) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(window)); }

void ShellOpen(SystemCalls& calls, const char* target) {
  calls.ExecuteWithShell(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

int ShellExecuteText(SystemCalls& calls, int window, const std::string& verb, const std::string& file,
                     const std::string& parameters, const std::string& directory, int showCommand) {
  return static_cast<int>(calls.ExecuteWithShell(ToWindow(window), verb.c_str(), file.c_str(),
                                                 parameters.c_str(), directory.c_str(), showCommand));
}

void OpenMyDocuments(SystemCalls& calls) {
  const std::string folder = calls.DocumentsFolder();
  if (!folder.empty()) ShellOpen(calls, folder.c_str());
}

bool OpenOXFile(SystemCalls& calls, const std::string& fileName) {
  std::string path;
  if (!ResolveProgramFile(fileName, path)) return false;
  ShellOpen(calls, path.c_str());
  return true;
}

void PlayDemo(SystemCalls& calls) {
  if (OpenOXFile(calls, "Demo.mpg")) return;
  const BoxAnswer answer = calls.ShowMessageBox(
      nullptr,
      "Orvane was unable to find the demo video on your computer.  Click Ok to view the video "
      "on our web site or click Cancel to close this window.",
      "Could not find file", BoxButtons::OkCancel, BoxIcon::Warning);
  if (answer == BoxAnswer::Ok) ShellOpen(calls, kTutorialPageAddress);
}

int MessageBoxText(SystemCalls& calls, int owner, const std::string& text, const std::string& caption,
                   unsigned flags) {
  return calls.ShowPlatformMessageBox(ToWindow(owner), text.c_str(), caption.c_str(), flags);
}
