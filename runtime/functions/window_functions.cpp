#include "runtime/functions/window_functions.h"

#include <windows.h>
#include <psapi.h>

#include <cstdint>

#include "platform/base/unique_handle.h"

namespace {

HWND ToWindow(int window) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(window)); }
int FromWindow(HWND window) { return static_cast<int>(reinterpret_cast<std::intptr_t>(window)); }

const char* TextOrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

std::string LowerCase(std::string text) {
  if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The full image path works for 64-bit and elevated programs too, which the module list of a
// 32-bit caller does not reach.
std::string ExeNameFromImagePath(DWORD processId) {
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  char path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!QueryFullProcessImageNameA(process.get(), 0, path, &size)) return {};
  return BaseName(std::string(path, size));
}

std::string ExeNameFromModules(DWORD processId) {
  UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return {};
  HMODULE module = nullptr;
  DWORD needed = 0;
  if (!EnumProcessModules(process.get(), &module, sizeof(module), &needed)) return {};
  char name[kMaxExeNameChars + 1] = {};
  const DWORD length = GetModuleBaseNameA(process.get(), module, name, sizeof(name));
  return std::string(name, length < sizeof(name) ? length : 0);
}

}  // namespace

int FindWindowByText(const std::string& className, const std::string& title) {
  return FromWindow(FindWindowA(TextOrNull(className), TextOrNull(title)));
}

int FocusedWindow() {
  GUITHREADINFO info{};
  static_assert(sizeof(info) == (sizeof(void*) == 4 ? 48 : 72), "the platform checks the structure size");
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(0, &info) ? FromWindow(info.hwndFocus) : 0;
}

void SendMessageToWindow(int window, int msg, int wParam, int lParam) {
  SendMessageA(ToWindow(window), static_cast<UINT>(msg), static_cast<WPARAM>(wParam),
               static_cast<LPARAM>(lParam));
}

void PostMessageToWindow(int window, int msg, int wParam, int lParam) {
  PostMessageA(ToWindow(window), static_cast<UINT>(msg), static_cast<WPARAM>(wParam),
               static_cast<LPARAM>(lParam));
}

HWND TopWindow() {
  HWND foreground = GetForegroundWindow();
  return foreground ? GetAncestor(foreground, GA_ROOTOWNER) : nullptr;
}

std::string GetWindowExeName(HWND window) {
  DWORD processId = 0;
  if (!window || !GetWindowThreadProcessId(window, &processId) || !processId) return {};
  std::string name = ExeNameFromImagePath(processId);
  if (name.empty()) name = ExeNameFromModules(processId);
  if (name.size() > kMaxExeNameChars) name.resize(kMaxExeNameChars);
  return LowerCase(std::move(name));
}

void GetTopWindowTitleAndClassName(std::string& title, std::string& className) {
  title.clear();
  className.clear();
  HWND top = TopWindow();
  if (!top) return;
  char buffer[kMaxWindowTextChars + 1] = {};
  const int classLength = GetClassNameA(top, buffer, sizeof(buffer));
  className.assign(buffer, classLength > 0 ? static_cast<std::size_t>(classLength) : 0);
  const int titleLength = GetWindowTextA(top, buffer, sizeof(buffer));
  title.assign(buffer, titleLength > 0 ? static_cast<std::size_t>(titleLength) : 0);
}

void GetTopWindowExeName(std::string& name) {
  HWND top = TopWindow();
  name = top ? GetWindowExeName(top) : std::string();
}

int GetHandleForExe(const std::string& exeName) {
  // An unreadable executable is no name: an empty one matches nothing.
  if (exeName.empty()) return 0;
  const std::string wanted = LowerCase(exeName);
  // The z-order may change while it is walked; the count keeps the walk finite.
  constexpr int kMaxWindows = 100000;
  HWND window = GetForegroundWindow();
  for (int i = 0; window && i < kMaxWindows; ++i, window = GetWindow(window, GW_HWNDNEXT))
    if (GetWindowExeName(window) == wanted) return FromWindow(GetAncestor(window, GA_ROOTOWNER));
  return 0;
}

int BringWindowToForeground(int window) {
  HWND hwnd = ToWindow(window);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  const bool maximised =
      GetWindowPlacement(hwnd, &placement) &&
      ((placement.flags & WPF_RESTORETOMAXIMIZED) || placement.showCmd == SW_SHOWMAXIMIZED);
  ShowWindow(hwnd, maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  return SetForegroundWindow(hwnd);
}
