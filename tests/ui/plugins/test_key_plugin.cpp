// The tests' own per-key plug-in library: what it does is told in test_key_plugin.h.
#include <windows.h>

#include "tests/ui/plugins/test_key_plugin.h"

namespace {

using namespace testplugin;

extern "C" IMAGE_DOS_HEADER __ImageBase;
HINSTANCE Self() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// An export of the program that loaded the plug-in, or null.
void* ProgramExport(const char* name) {
  HMODULE program = GetModuleHandleA("Orvane.exe");
  if (!program) program = GetModuleHandleA(nullptr);
  return reinterpret_cast<void*>(GetProcAddress(program, name));
}

using WriteScript = void(__cdecl*)(HWND, const char*);

LRESULT CALLBACK PluginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && (LOWORD(wParam) == kWriteButton || LOWORD(wParam) == kClearButton)) {
    const auto programmingWindow = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (const auto write = reinterpret_cast<WriteScript>(ProgramExport("KL_WriteDeviceSpecificScript")))
      write(programmingWindow, LOWORD(wParam) == kWriteButton ? kPluginScript : "");
    DestroyWindow(window);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The plug-in's class, registered on first use.
bool Register(const char* name, WNDPROC procedure, int extraBytes) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(Self(), name, &wc)) return true;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = extraBytes;
  wc.hInstance = Self();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

int OpenOwnWindow(HWND programmingWindow) {
  if (!Register(kWindowClass, PluginWindowProc, 0)) return 0;
  const HWND window = CreateWindowExA(0, kWindowClass, kWindowTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, 60, 60,
                                      240, 120, programmingWindow, nullptr, Self(), nullptr);
  if (!window) return 0;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(programmingWindow));
  CreateWindowExA(0, "BUTTON", "Write", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 30, 90, 26, window,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kWriteButton)), Self(), nullptr);
  CreateWindowExA(0, "BUTTON", "Clear", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 120, 30, 90, 26, window,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kClearButton)), Self(), nullptr);
  ShowWindow(window, SW_SHOW);
  return 1;
}

// The dialog manager sends WM_INITDIALOG only to a dialog with a procedure of its own; the
// program's class procedure does the rest.
INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

int OpenEditor(HWND programmingWindow) {
  const auto procedure = reinterpret_cast<WNDPROC>(ProgramExport("BasicInputDialogCallback"));
  if (!procedure || !Register(kEditorClass, procedure, DLGWINDOWEXTRA)) return 0;
  const HWND dialog = CreateDialogParamA(Self(), MAKEINTRESOURCEA(kEditorDialog), programmingWindow, NoDialogProc, 0);
  if (!dialog) return 0;
  ShowWindow(dialog, SW_SHOW);
  return 1;
}

}  // namespace

extern "C" __declspec(dllexport) int __cdecl CreateCustomWindow(HWND programmingWindow, int keyId) {
  switch (keyId) {
    case kPluginWindowKey:
      return OpenOwnWindow(programmingWindow);
    case kPluginEditorKey:
      return OpenEditor(programmingWindow);
    default:
      return 0;
  }
}

// A library loaded again may land elsewhere: its classes must not keep the old procedures.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) {
    UnregisterClassA(kWindowClass, Self());
    UnregisterClassA(kEditorClass, Self());
  }
  return TRUE;
}
