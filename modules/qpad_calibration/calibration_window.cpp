#include "modules/qpad_calibration/calibration_window.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "modules/qpad_calibration/data_folder.h"
#include "modules/qpad_calibration/gdiplus_drawing.h"
#include "modules/qpad_calibration/resource.h"
#include "platform/base/ansi_text.h"

namespace qpadcal {

namespace {

// Everything the library keeps for the process. All overlays are used from the thread that
// made them, so nothing here is locked.
struct LibraryState {
  bool attached = false;
  HINSTANCE instance = nullptr;
  std::vector<std::unique_ptr<CalibrationWindow>> open;  // in order of creation
  IdCounters ids;
};

LibraryState& State() {
  static LibraryState state;
  return state;
}

CalibrationWindow* OverlayOfWindow(HWND window) {
  return reinterpret_cast<CalibrationWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Takes the destroyed window's overlay out of the list and frees it.
void ForgetWindow(HWND window) {
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  auto& open = State().open;
  auto it = std::find_if(open.begin(), open.end(),
                         [window](const auto& o) { return o->window() == window; });
  if (it != open.end()) open.erase(it);
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (CalibrationWindow* overlay = OverlayOfWindow(window)) {
    GdipCanvas canvas(dc);
    overlay->scene().Draw(canvas);
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK OverlayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_PAINT:
        if (!OverlayOfWindow(window)) break;
        Paint(window);
        return 1;
      case WM_CLOSE:
        // Only EndCalibration closes an overlay: the script still holds its handle.
        return 0;
      case WM_DESTROY:
        ForgetWindow(window);
        return 1;
      default:
        break;
    }
  } catch (...) {
    return 0;  // nothing escapes into the system's message dispatch
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterOverlayClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = OverlayProc;
  wc.hInstance = instance;
  wc.hIcon =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_CALIBRATION_OVERLAY), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_CALIBRATION_OVERLAY),
                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = kOverlayClassName;
  RegisterClassExW(&wc);  // left over from an earlier load of the library: that one serves
}

}  // namespace

CalibrationWindow::CalibrationWindow(std::string dataFolder, IdCounters& ids)
    : scene_(std::move(dataFolder), *this, ids) {}

std::wstring CalibrationWindow::Widen(std::string_view bytes) const {
  return WidenAnsi(bytes, AnsiWidening::kBytes);
}

std::unique_ptr<OverlayPicture> CalibrationWindow::LoadPicture(const std::wstring& path) {
  return LoadGdipPicture(path);
}

std::unique_ptr<OverlayTextStyle> CalibrationWindow::MakeTextStyle(const std::wstring& fontName,
                                                                   float points, Rgb colour) {
  return MakeGdipTextStyle(fontName, points, colour);
}

IntRect CalibrationWindow::FitClientArea(int width, int height) {
  RECT outer{}, client{};
  GetWindowRect(window_, &outer);
  GetClientRect(window_, &client);
  MoveWindow(window_, outer.left, outer.top,
             outer.right - outer.left - (client.right - client.left) + width,
             outer.bottom - outer.top - (client.bottom - client.top) + height, TRUE);
  GetClientRect(window_, &client);
  return {client.left, client.top, client.right - client.left, client.bottom - client.top};
}

void CalibrationWindow::Invalidate(const IntRect& rect, bool erase) {
  const RECT r{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
  InvalidateRect(window_, &r, erase);
}

void CalibrationWindow::InvalidateAll(bool erase) { InvalidateRect(window_, nullptr, erase); }

// Shown without taking the focus from the program the user works in (a simulator).
void CalibrationWindow::Show() { ShowWindow(window_, SW_SHOWNOACTIVATE); }

void AttachLibrary(HINSTANCE instance) {
  LibraryState& state = State();
  if (state.attached) return;
  state.attached = true;
  state.instance = instance;
  RegisterOverlayClass(instance);
}

void DetachLibrary(bool processEnding) {
  LibraryState& state = State();
  if (processEnding || !state.attached) return;
  std::vector<HWND> windows;
  for (const auto& o : state.open) windows.push_back(o->window());
  for (HWND window : windows) {
    if (DestroyWindow(window)) continue;
    // A window of another thread cannot be destroyed from here: it must at least never call
    // into the unloaded library. Its overlay is left to the process (that thread may be
    // painting it).
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
    for (auto& o : state.open)
      if (o && o->window() == window) (void)o.release();
  }
  state.open.clear();
  UnregisterClassW(kOverlayClassName, state.instance);
  state.attached = false;
}

CalibrationWindow* OpenOverlay(std::string_view name, std::string& path) {
  LibraryState& state = State();
  CutAtLastSeparator(path);
  auto overlay = std::make_unique<CalibrationWindow>(path, state.ids);
  const std::wstring title = WidenAnsi(std::string(name) + " Calibration", AnsiWidening::kBytes);
  state.open.reserve(state.open.size() + 1);  // nothing can fail once the window exists
  HWND window =
      CreateWindowExW(0, kOverlayClassName, title.c_str(), WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, state.instance, nullptr);
  if (!window) return nullptr;
  overlay->window_ = window;
  CalibrationWindow* handle = overlay.get();
  state.open.push_back(std::move(overlay));
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handle));
  ShowWindow(window, SW_HIDE);
  return handle;
}

CalibrationWindow* FindOverlay(const void* handle) {
  if (!handle) return nullptr;
  for (const auto& o : State().open)
    if (o.get() == handle) return o.get();
  return nullptr;
}

void CloseOverlay(CalibrationWindow& overlay) { DestroyWindow(overlay.window()); }

}  // namespace qpadcal
