#pragma once
// The script editor of the real program, driven from the test's process: its window and
// controls, the rows of its list (read out of the program's memory), its text, and the file
// dialog it opens. Header-only: shared by the editor's and the debugger's end-to-end tests.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/support/win_test.h"
#include "ui/script_editor/script_editor_resources.h"

namespace testsupport {

// The rows of a list view of another process, each as its cell texts.
inline std::vector<std::vector<std::string>> RemoteListRows(HWND list, int columns) {
  std::vector<std::vector<std::string>> rows;
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return rows;
  constexpr SIZE_T kText = 1024;
  char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; remote && r < count; ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < columns; ++c) {
      LVITEMA item{};
      item.iSubItem = c;
      item.pszText = remote + sizeof(LVITEMA);
      item.cchTextMax = kText;
      WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
      SendMessageA(list, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(remote));
      char text[kText] = "";
      ReadProcessMemory(process, remote + sizeof(LVITEMA), text, kText - 1, nullptr);
      text[kText - 1] = '\0';
      cells.push_back(text);
    }
    rows.push_back(cells);
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return rows;
}

struct ProgramIde {
  HWND window = nullptr;
  HWND text = nullptr;
  HWND list = nullptr;

  explicit operator bool() const { return window != nullptr; }
  bool Visible() const { return IsWindowVisible(window) != 0; }
  std::string Text() const { return WindowText(text); }
  std::vector<std::vector<std::string>> Rows() const { return RemoteListRows(list, 4); }
  // The message rows of one severity.
  std::vector<std::vector<std::string>> RowsOf(const std::string& severity) const {
    std::vector<std::vector<std::string>> found;
    for (auto& r : Rows())
      if (!r.empty() && r[0] == severity) found.push_back(r);
    return found;
  }
  void Command(int id) const { PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }
  // The command, done by the time this returns.
  bool CommandNow(int id) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_NORMAL, 5000, &result) != 0;
  }
  // The line (1-based, as the list shows) of the text.
  std::string Line(int line) const {
    const std::string t = Text();
    std::size_t pos = 0;
    for (int i = 1; i < line && pos != std::string::npos; ++i) {
      pos = t.find("\r\n", pos);
      if (pos != std::string::npos) pos += 2;
    }
    if (pos == std::string::npos) return "";
    std::string l = t.substr(pos, t.find("\r\n", pos) - pos);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    return l;
  }
  // Selects what from the text and types replacement over it, as the keyboard would.
  bool Replace(const std::string& what, const std::string& replacement) const {
    const std::size_t at = Text().find(what);
    if (at == std::string::npos) return false;
    SendMessageA(text, EM_SETSEL, at, at + what.size());
    for (char c : replacement) PostMessageA(text, WM_CHAR, static_cast<unsigned char>(c), 1);
    return WaitUntil([&] { return Text().find(replacement) != std::string::npos; }, 3000);
  }
};

// The program's editor window (made hidden when its device thread starts); other processes
// (the window tests) may have one too.
inline ProgramIde FindProgramIde(DWORD pid, unsigned timeoutMs) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{pid, nullptr};
  ProgramIde ide;
  WaitUntil([&] {
    EnumWindows([](HWND w, LPARAM s) WINAPI -> BOOL {
      auto* find = reinterpret_cast<Search*>(s);
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == find->pid && ClassName(w) == "AngelScriptIDE") find->found = w;
      return find->found == nullptr;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, timeoutMs);
  ide.window = search.found;
  // The window is found as soon as it exists; its controls come after it.
  if (!ide.window || !WaitUntil([&] { return FindChildById(ide.window, IDC_SCRIPT_LIST) != nullptr; }, 5000))
    return {};
  ide.text = FindChildById(ide.window, IDC_SCRIPT_TEXT);
  ide.list = FindChildById(ide.window, IDC_SCRIPT_LIST);
  return ide;
}

// Answers the next "AngelScript Build Error" question of the program with a button (IDYES or
// IDNO), and waits until that box has gone; its text, or "" when no question came.
inline std::string AnswerBuildQuestion(DWORD pid, int button, unsigned timeoutMs = 20000) {
  HWND box = WaitForProcessWindow(pid, "AngelScript Build Error", timeoutMs);
  if (!box) return "";
  // The box shows before its text and buttons are made.
  std::string text;
  WaitUntil([&] {
    text.clear();
    EnumChildWindows(box, [](HWND child, LPARAM out) WINAPI -> BOOL {
      auto* longest = reinterpret_cast<std::string*>(out);
      if (ClassName(child) == "Static" && WindowText(child).size() > longest->size()) *longest = WindowText(child);
      return TRUE;
    }, reinterpret_cast<LPARAM>(&text));
    return !text.empty() && FindChildById(box, button) != nullptr;
  }, 5000);
  PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
  WaitUntil([&] { return !IsWindow(box); }, 5000);
  return text;
}

// Answers the program's "Open Orvane Script" dialog with a file.
inline bool ChooseInOpenDialog(DWORD pid, const std::string& path) {
  HWND dialog = WaitForProcessWindow(pid, "Open Orvane Script", 10000);
  if (!dialog) return false;
  HWND name = FindChildById(dialog, 1152);  // edt1
  if (!name) name = FindChildById(dialog, 1148);  // cmb13
  if (!name) return false;
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  // The Open button (the shell view inside the dialog has the same id).
  return PostMessageA(dialog, WM_COMMAND, IDOK, 0) != 0;
}

}  // namespace testsupport
