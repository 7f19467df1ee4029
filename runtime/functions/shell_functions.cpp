#include "runtime/functions/shell_functions.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "runtime/device/device_folders.h"
#include "platform/base/system_calls.h"

// The maker's tutorial page is not settled yet; this stands in for it.
const char kTutorialPageAddress[] = "https://www.example.com/orvane/tutorials";

namespace {

HWND ToWindow(int window) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(window)); }

void ShellOpen(const char* target) {
  GetSystemCalls().shellExecute(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

int ShellExecuteText(int window, const std::string& verb, const std::string& file,
                     const std::string& parameters, const std::string& directory, int showCommand) {
  HINSTANCE result =
      GetSystemCalls().shellExecute(ToWindow(window), verb.c_str(), file.c_str(),
                                    parameters.c_str(), directory.c_str(), showCommand);
  return static_cast<int>(reinterpret_cast<std::intptr_t>(result));
}

void OpenMyDocuments() {
  char folder[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK)
    ShellOpen(folder);
}

bool OpenOXFile(std::string fileName) {
  std::string path;
  if (!ResolveProgramFile(fileName, path)) return false;
  ShellOpen(path.c_str());
  return true;
}

void PlayDemo() {
  if (OpenOXFile("Demo.mpg")) return;
  const int answer = GetSystemCalls().messageBox(
      nullptr,
      "Orvane was unable to find the demo video on your computer.  Click Ok to view the video "
      "on our web site or click Cancel to close this window.",
      "Could not find file", MB_OKCANCEL | MB_ICONWARNING);
  if (answer == IDOK) ShellOpen(kTutorialPageAddress);
}

int MessageBoxText(int owner, std::string text, std::string caption, unsigned flags) {
  return GetSystemCalls().messageBox(ToWindow(owner), text.c_str(), caption.c_str(), flags);
}
