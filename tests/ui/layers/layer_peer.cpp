// A program of the layer tests' own: one topmost window with an edit box that takes the
// keyboard focus, for a test to put in front, find by its program's name and type into. It
// runs under whatever exe name the test copies it to, until its window is closed.
//   layer_peer "title" x y width height
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

namespace {

HWND edit = nullptr;

LRESULT CALLBACK PeerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETFOCUS:
      SetFocus(edit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  char title[200] = "Layer Peer";
  if (argc > 1) WideCharToMultiByte(CP_ACP, 0, argv[1], -1, title, sizeof title, nullptr, nullptr);
  int place[4] = {600, 400, 320, 200};
  for (int i = 0; i < 4 && i + 2 < argc; ++i) place[i] = _wtoi(argv[i + 2]);

  WNDCLASSA wc{};
  wc.lpfnWndProc = PeerProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "LayerPeer";
  RegisterClassA(&wc);
  // Topmost, so that the windows of tests running beside it never cover it.
  HWND window = CreateWindowExA(WS_EX_TOPMOST, "LayerPeer", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, place[0], place[1],
                                place[2], place[3], nullptr, nullptr, instance, nullptr);
  edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 5, 5, place[2] - 20,
                         place[3] - 50, window, nullptr, instance, nullptr);
  SetForegroundWindow(window);
  SetFocus(edit);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
