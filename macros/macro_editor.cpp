#include "macros/macro_editor.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "macros/macro_editor_controller.h"
#include "macros/macro_editor_window.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "platform/base/system_calls.h"

namespace {

std::string LastErrorText(DWORD error) {
  char* text = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length && text ? std::string(text, length) : "Error " + std::to_string(error);
  if (text) LocalFree(text);
  return result;
}

}  // namespace

void ToggleMacroEditor(MacroContext& context, int keyIndex) {
  if (MacroEditorWindow* open = MacroEditorWindow::Current()) {
    SendMessageA(open->hwnd(), WM_COMMAND, IDOK, 0);
    return;
  }
  if (!context.device || keyIndex < 0 || keyIndex >= static_cast<int>(context.keys.size())) return;
  const int keyId = context.keys[static_cast<std::size_t>(keyIndex)].keyId;
  const HWND owner = static_cast<HWND>(context.device->ProgrammingWindow());
  context.currentKey = keyId;
  if (const auto offer = GetMacroEditorHooks().openCustomKeyWindow; offer && owner && offer(owner, keyId)) return;
  MacroEditorWindow* editor =
      MacroEditorWindow::Create(std::make_unique<MacroEditorController>(context, keyId), owner, context.hiddenMode);
  if (!editor) {
    const std::string text = LastErrorText(GetLastError());
    GetSystemCalls().ShowMessageBox(owner, text.c_str(), "Error", BoxButtons::Ok);
    return;
  }
  // Open only now that the window is there: a plug-in's window or a failed one leaves the
  // programming window as it was.
  context.editingEntry = true;
  if (owner) DragAcceptFiles(owner, FALSE);
}

void CancelMacroEditor(MacroContext& context) {
  MacroEditorWindow* open = MacroEditorWindow::Current();
  if (open && &open->Controller().Context() == &context) SendMessageA(open->hwnd(), WM_CLOSE, 0, 0);
}

bool RegisterMacroEditorClass() { return RegisterMacroEditorWindowClass(); }
