#include "macros/macro_editor.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <string>

#include "macros/custom_key_windows.h"
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

MacroEditors::MacroEditors(SystemCalls& calls, MacroRecorder& recorder, CustomKeyWindows& customKeys)
    : calls_(calls), recorder_(recorder), customKeys_(customKeys) {}

MacroEditors::~MacroEditors() {
  ForgetMacroEditorWindowClass(*this);
  // A window still open outlives its object as a plain window of the class.
  for (const auto& window : windows_) window->Detach();
}

void MacroEditors::Toggle(MacroContext& context, int keyIndex) {
  if (MacroEditorWindow* open = Current()) {
    SendMessageA(open->hwnd(), WM_COMMAND, IDOK, 0);
    return;
  }
  if (!context.device || keyIndex < 0 || keyIndex >= static_cast<int>(context.keys.size())) return;
  const int keyId = context.keys[static_cast<std::size_t>(keyIndex)].keyId;
  const HWND owner = static_cast<HWND>(context.device->ProgrammingWindow());
  context.currentKey = keyId;
  if (owner && customKeys_.Offer(owner, keyId)) return;
  MacroEditorWindow* editor = MacroEditorWindow::Create(
      *this, std::make_unique<MacroEditorController>(context, keyId, calls_, lastFolder_), owner,
      context.hiddenMode);
  if (!editor) {
    const std::string text = LastErrorText(GetLastError());
    calls_.ShowMessageBox(owner, text.c_str(), "Error", BoxButtons::Ok);
    return;
  }
  // Open only now that the window is there: a plug-in's window or a failed one leaves the
  // programming window as it was.
  context.editingEntry = true;
  if (owner) DragAcceptFiles(owner, FALSE);
}

void MacroEditors::Cancel(MacroContext& context) {
  MacroEditorWindow* open = Current();
  if (open && &open->Controller().Context() == &context) SendMessageA(open->hwnd(), WM_CLOSE, 0, 0);
}

bool MacroEditors::RegisterEditorClass() { return RegisterMacroEditorWindowClass(*this); }

MacroEditorWindow* MacroEditors::Current() {
  std::erase_if(windows_, [](const auto& window) { return window->Finished(); });
  for (const auto& window : windows_)
    if (window->IsEditing()) return window.get();
  return nullptr;
}

MacroEditorWindow& MacroEditors::Adopt(std::unique_ptr<MacroEditorWindow> window) {
  windows_.push_back(std::move(window));
  return *windows_.back();
}

void MacroEditors::Release(MacroEditorWindow& window) {
  std::erase_if(windows_, [&](const auto& held) { return held.get() == &window; });
}
