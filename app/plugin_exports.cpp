// The exports for per-key plug-in libraries. They are found by their plain names, so the
// program is linked with its stdcall names undecorated.

#include <windows.h>

#include "macros/macro_editor_window.h"
#include "ui/plugins/device_specific_script.h"

// The "Macro Input" editor's window procedure, for a plug-in window that runs the standard
// editor: it must be a dialog with the editor's controls and menu, owned by a programming
// window.
extern "C" __declspec(dllexport) LRESULT CALLBACK BasicInputDialogCallback(HWND window, UINT message,
                                                                            WPARAM wParam, LPARAM lParam) {
  return MacroEditorWindowProc(window, message, wParam, lParam);
}

// Replaces the device's own part of its script ("Device Specific.oxs") with the text, for the
// device of the programming window that the plug-in was given. Fails silently.
extern "C" __declspec(dllexport) void __cdecl KL_WriteDeviceSpecificScript(HWND programmingWindow, const char* text) {
  WriteDeviceSpecificScript(programmingWindow, text);
}
