#pragma once
// The key-cap dialogs (one of each in the process, modeless, owned by the programming window):
// detection waits for the keys under a newly installed cap, removal for a key under a cap taken
// off. The device thread hands them the device's keys as kKeyCapKeyDownMessage and
// kKeyCapKeyUpMessage (wParam: the key id).

#include <windows.h>

#include <memory>

#include "ui/key_caps/key_cap_changes.h"

class SystemCalls;
struct MacroContext;

enum class KeyCapDialogKind { kDetection, kRemoval };

// What the key-cap commands and dialogs reach of the programming window they work for. It
// outlives every dialog opened with it.
class KeyCapWindow {
 public:
  virtual ~KeyCapWindow() = default;
  // The window takes no input while the detection dialog is open.
  virtual void SetInputEnabled(bool /*enabled*/) {}
  // The dialogs open now (null for a closed one).
  virtual void DialogsChanged(HWND /*detection*/, HWND /*removal*/) {}
  // The "Macro Input" editor open over the context closes as its Cancel does.
  virtual void CancelMacroEditor(MacroContext&) {}
};

// Opens the dialog over the context unless it is open, and shows it. One that cannot be made
// shows the system's text for the error, through `calls`. True when it is open.
bool OpenKeyCapDialog(SystemCalls& calls, KeyCapDialogKind kind, MacroContext& context,
                      std::unique_ptr<KeyCapServices> services, HWND owner, KeyCapWindow& window);
// The dialog's window; null when it is closed.
HWND KeyCapDialogWindow(KeyCapDialogKind kind);
// The same when it is open over that context; null for a dialog of another context.
HWND KeyCapDialogWindow(KeyCapDialogKind kind, const MacroContext& context);
// Both dialogs end (before their context goes).
void CloseKeyCapDialogs();

// A key of the context's device while a dialog is open: a press goes to the detection dialog, a
// release to both, each only when it is open over that context. True when the detection dialog
// took a press, or the removal dialog is open over the context (it works on releases): the
// window then does nothing more with the press.
bool ForwardKeyToKeyCapDialogs(const MacroContext& context, int keyId, bool pressed);
