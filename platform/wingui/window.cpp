#include "platform/wingui/window.h"

#include <utility>

#include "platform/base/own_module.h"
#include "platform/wingui/gdi.h"
#include "platform/wingui/window_map.h"
#include "platform/wingui/window_text.h"

namespace wingui {
namespace {

// The object whose window CreateWindowEx is making on this thread: the window's first message
// (WM_GETMINMAXINFO comes before WM_NCCREATE) finds it here and puts it into the map.
thread_local Window* pendingWindow = nullptr;

}  // namespace

HINSTANCE ProgramInstance(HINSTANCE instance) {
  return instance ? instance : OwnModule();
}

bool RegisterWindowClass(const WindowClass& c) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = c.style;
  wc.lpfnWndProc = c.forDialogs ? DefDlgProcA : &Window::WindowProc;
  wc.cbWndExtra = c.forDialogs ? DLGWINDOWEXTRA : 0;
  wc.hInstance = ProgramInstance(c.instance);
  wc.hIcon = c.icon;
  wc.hIconSm = c.smallIcon;
  wc.hCursor = c.cursor ? c.cursor : LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = c.background;
  wc.lpszMenuName = c.menuId ? MAKEINTRESOURCEA(c.menuId) : nullptr;
  wc.lpszClassName = c.name.c_str();
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Window::~Window() {
  if (!hwnd_) return;
  const HWND hwnd = hwnd_;
  const bool owns = ownsHandle_;
  DetachHandle();
  if (owns) DestroyWindow(hwnd);
}

Window* Window::FromHandle(HWND hwnd) { return window_map::Find(hwnd); }

bool Window::Create(const CreateArgs& a) {
  if (hwnd_) return false;
  Window* const outer = std::exchange(pendingWindow, this);
  const HWND hwnd = CreateWindowExA(a.exStyle, a.className.c_str(), a.title.c_str(), a.style, a.x,
                                    a.y, a.width, a.height, a.parent, a.menuOrId,
                                    ProgramInstance(a.instance), this);
  pendingWindow = outer;
  // A system class never called our procedure: take the window over now.
  if (hwnd && !hwnd_ && IsWindow(hwnd)) Attach(hwnd);
  if (hwnd_) ownsHandle_ = true;
  return hwnd_ != nullptr;
}

bool Window::Attach(HWND hwnd) {
  if (hwnd_ || !hwnd || !IsWindow(hwnd) || window_map::Find(hwnd)) return false;
  ownsHandle_ = false;
  AttachHandle(hwnd);
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) != &WindowProc) {
    oldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
    if (!oldProc_) {
      DetachHandle();
      return false;
    }
  }
  return true;
}

void Window::Detach() {
  if (hwnd_) DetachHandle();
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Window::AttachHandle(HWND hwnd) {
  hwnd_ = hwnd;
  window_map::Add(hwnd, this);
}

void Window::DetachHandle() {
  const HWND hwnd = std::exchange(hwnd_, nullptr);
  window_map::Remove(hwnd);
  if (oldProc_) {
    // Only when nobody subclassed the window after us; else their chain stays as it is.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) == &WindowProc)
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    oldProc_ = nullptr;
  }
}

std::string Window::Text() const { return WindowTextOf(hwnd_); }

void Window::SetText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }

RECT Window::ClientRect() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r;
}

bool Window::HandleMessage(Message& m) {
  switch (m.id) {
    case WM_CREATE:
      m.result = OnCreate() ? 0 : -1;
      return true;
    case WM_COMMAND:
      return OnCommand(LOWORD(m.wParam), HIWORD(m.wParam), reinterpret_cast<HWND>(m.lParam));
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(m.lParam), m.result);
    case WM_TIMER:
      return OnTimer(m.wParam);
    case WM_PAINT:
      if (!drawsItself_) return false;
      {
        const PaintScope paint(hwnd_);
        Paint(paint.dc(), paint.dirty());
      }
      return true;
    case WM_PRINTCLIENT:
      if (!drawsItself_) return false;
      Paint(reinterpret_cast<HDC>(m.wParam), ClientRect());
      return true;
    case WM_DRAWITEM:
      m.result = TRUE;
      return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam));
    case WM_MEASUREITEM:
      m.result = TRUE;
      return OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(m.lParam));
    case WM_INITMENUPOPUP:
      return OnInitMenuPopup(reinterpret_cast<HMENU>(m.wParam), LOWORD(m.lParam));
    case WM_SIZE:
      return OnSize(LOWORD(m.lParam), HIWORD(m.lParam));
    case WM_CLOSE:
      return OnClose();
    case WM_DESTROY:
      OnDestroy();
      return false;
  }
  return false;
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (oldProc_) return CallWindowProcA(oldProc_, hwnd_, msg, wParam, lParam);
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT Window::Route(UINT msg, WPARAM wParam, LPARAM lParam) {
  Message m{msg, wParam, lParam};
  const LRESULT result = HandleMessage(m) ? m.result : DefaultProc(msg, wParam, lParam);
  // The last message: the handle is gone from here on.
  if (msg == WM_NCDESTROY && hwnd_) DetachHandle();
  return result;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* window = window_map::Find(hwnd);
  if (!window && pendingWindow) {
    window = std::exchange(pendingWindow, nullptr);
    window->AttachHandle(hwnd);
  }
  if (!window) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return window->Route(msg, wParam, lParam);
}

}  // namespace wingui
