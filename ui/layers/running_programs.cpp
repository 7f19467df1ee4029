#include "ui/layers/running_programs.h"

#include <map>

#include "platform/base/file_access.h"
#include "runtime/device/device_folders.h"
#include "runtime/functions/window_functions.h"
#include "ui/layers/exe_name_table.h"

namespace {

// The z order may change while it is walked; the count keeps the walk finite.
constexpr int kMaxWindows = 100000;

std::string ProgramOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == GetCurrentProcessId()) return {};
  return GetWindowExeName(window);
}

bool Holds(const RECT& r, POINT p) { return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom; }

}  // namespace

std::vector<std::string> VisibleWindowPrograms() {
  std::vector<std::string> programs;
  HWND window = GetTopWindow(nullptr);
  for (int i = 0; window && i < kMaxWindows; ++i, window = GetWindow(window, GW_HWNDNEXT))
    if (IsWindowVisible(window)) programs.push_back(ProgramOf(window));
  return programs;
}

std::string ProgramAtPoint(POINT screen) {
  HWND window = GetTopWindow(nullptr);
  for (int i = 0; window && i < kMaxWindows; ++i, window = GetWindow(window, GW_HWNDNEXT)) {
    RECT r{};
    if (IsWindowVisible(window) && GetWindowRect(window, &r) && Holds(r, screen)) return ProgramOf(window);
  }
  return {};
}

std::string LowerCaseName(std::string text) {
  if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

void LoadExeNameTable(std::map<std::string, std::string>& table) {
  const std::string folder = GetCustomCommandsFolder();
  if (folder.empty()) return;
  std::string text;
  if (RealFiles().Read(folder + "\\" + kExeNameTableFile, text, 1u << 20) != FileAccess::ReadResult::Ok) return;
  ReadExeNameTable(text, table, LowerCaseName);
}
