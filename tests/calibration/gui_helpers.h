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

// Saves a picture of the window with its child windows under build/pictures for a look by
// eye. Each window prints itself in turn (Wine prints no child windows for its parent).
inline void SavePicture(HWND hwnd, const std::string& name) {
  const std::string dir = testsupport::EnvOr("ORVANE_BIN", ".") + "\\..\\pictures";
  testsupport::MakeDirs(dir);
  RECT r;
  GetWindowRect(hwnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return;
  HGDIOBJ old = SelectObject(mem, dib);
  PrintWindow(hwnd, mem, 0);
  struct Context {
    HDC dc;
    RECT top;
  } context{mem, r};
  struct Visit {
    static BOOL CALLBACK Child(HWND child, LPARAM lp) {
      auto* c = reinterpret_cast<Context*>(lp);
      for (HWND p = child; p && p != nullptr; p = GetParent(p))
        if (!IsWindowVisible(p)) return TRUE;
      RECT cr;
      GetWindowRect(child, &cr);
      const int saved = SaveDC(c->dc);
      SetViewportOrgEx(c->dc, cr.left - c->top.left, cr.top - c->top.top, nullptr);
      IntersectClipRect(c->dc, 0, 0, cr.right - cr.left, cr.bottom - cr.top);
      SendMessageA(child, WM_PRINT, reinterpret_cast<WPARAM>(c->dc),
                   PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
      RestoreDC(c->dc, saved);
      return TRUE;
    }
  };
  EnumChildWindows(hwnd, &Visit::Child, reinterpret_cast<LPARAM>(&context));
  GdiFlush();
  std::vector<std::uint8_t> rgb(static_cast<size_t>(w) * h * 3);
  const auto* px = static_cast<const std::uint8_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
    rgb[i * 3] = px[i * 4 + 2];
    rgb[i * 3 + 1] = px[i * 4 + 1];
    rgb[i * 3 + 2] = px[i * 4];
  }
  testsupport::WriteBinaryFile(dir + "\\" + name + ".png", testsupport::EncodePngRgb(w, h, rgb));
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}
