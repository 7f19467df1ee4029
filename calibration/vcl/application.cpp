// Application-wide parts of the stand-in.
#include "calibration/vcl/application.h"

namespace vcl {

namespace {
bool g_busy = false;
}

std::string& Application::Title() {
  static std::string title;
  return title;
}

int Application::Run(HWND main) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (main && IsWindow(main) && IsDialogMessageA(main, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void Application::SetBusy(bool busy) {
  g_busy = busy;
  SetCursor(LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool Application::Busy() { return g_busy; }

void Application::ShowException(System& system, const std::exception& e) {
  system.ShowMessage(e.what(), Title(), Buttons::Ok, Icon::Error);
}

}  // namespace vcl
