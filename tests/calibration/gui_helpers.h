#pragma once
// Small helpers of the calibration program's GUI tests. Header-only.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/png_writer.h"

#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

// A visible top-level window of the process with that class (null: any class), or null.
inline HWND FindProcessWindow(DWORD pid, const char* className) {
  struct Search {
    DWORD pid;
    const char* cls;
    HWND found;
  } s{pid, className, nullptr};
  struct Visit {
    static BOOL CALLBACK Window(HWND hwnd, LPARAM lp) {
      auto* s = reinterpret_cast<Search*>(lp);
      DWORD owner = 0;
      GetWindowThreadProcessId(hwnd, &owner);
      if (owner != s->pid || !IsWindowVisible(hwnd)) return TRUE;
      if (s->cls && testsupport::ClassName(hwnd) != s->cls) return TRUE;
      s->found = hwnd;
      return FALSE;
    }
  };
  EnumWindows(&Visit::Window, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

inline HWND WaitForProcessWindowOfClass(DWORD pid, const char* className, unsigned timeoutMs) {
  HWND found = nullptr;
  testsupport::WaitUntil([&] { return (found = FindProcessWindow(pid, className)) != nullptr; }, timeoutMs);
  return found;
}

// The text of a message box (its static control 0xFFFF).
inline std::string MessageBoxText(HWND box) { return testsupport::WindowText(GetDlgItem(box, 0xFFFF)); }
