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

// What the dialogs reach of the programming window; filled in once by the window's side, each
// may stay null.
struct KeyCapWindowHooks {
  // The window takes no input while the detection dialog is open.
  void (*setInputEnabled)(bool enabled) = nullptr;
  // The dialogs open now (null for a closed one), for the window's routing of the keys.
  void (*dialogsChanged)(HWND detection, HWND removal) = nullptr;
};
void SetKeyCapWindowHooks(const KeyCapWindowHooks& hooks);

// Opens the dialog over the context unless it is open, and shows it. One that cannot be made
// shows the system's text for the error, through `calls`. True when it is open.
bool OpenKeyCapDialog(SystemCalls& calls, KeyCapDialogKind kind, MacroContext& context,
                      std::unique_ptr<KeyCapServices> services, HWND owner);
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
