#pragma once
// The programming window: one attached keypad drawn from its layout, on the device thread that
// owns the device. It is made from a macro context (its whole state, also the window's user
// data) and owns it; whatever closes it (the user, the programming switch, the device going, a
// build cycle, the program's end) runs one teardown: the editor, plug-in windows and key-cap
// dialogs are closed first, then the LED blink worker is stopped, the device's script
// regenerated, the context closed (the on-board write, the rebuild) and freed.

#include <windows.h>

#include <memory>

#include "macros/model/macro_model_events.h"

class SystemCalls;
struct DeviceRecord;
struct MacroContext;
class ProgrammingFeatures;

// The window class, and the class of the "Macro Input" editor with it.
inline constexpr char kProgrammingWindowClass[] = "KeyloomClient";
bool RegisterProgrammingClasses(ProgrammingFeatures& features);

// Each window is opened with the features beside it, which it keeps; a context it makes itself
// gets the model's events given with them. Both outlive the window.
//
// The device thread's opening (the programming switch, a tray request, a script's request): a
// new context for the device (its macroContext), its script read into it, the window opened
// (hidden when "Invisible" is set and programming was not requested), and with onboardMacros
// the on-board macros imported. Null, and no context left, when the layout cannot be shown. The
// window and its commands ask the user, the registry and the shell through `calls`.
HWND OpenProgrammingWindowFor(SystemCalls& calls, DeviceRecord& device, ProgrammingFeatures& features,
                              MacroModelEvents& events);
// The window for a context already filled, hidden when "Invisible" is set and programming was
// not requested.
HWND ShowProgrammingWindow(SystemCalls& calls, std::unique_ptr<MacroContext> context, DeviceRecord& device,
                           ProgrammingFeatures& features);
// The window for a context already filled (the script editor's, for a script without a
// device), hidden or shown; null when the layout cannot be loaded (the context is freed).
HWND OpenProgrammingWindow(SystemCalls& calls, std::unique_ptr<MacroContext> context, DeviceRecord& device,
                           bool hidden, ProgrammingFeatures& features);

// A window kept hidden (hidden mode) shown, as a request from the tray menu asks.
void RevealProgrammingWindow(HWND window);

// A script opened in the script editor without its device: a context read from the script
// file (the record's module name), and the window, which owns the record from here on. Null
// when the layout cannot be shown (the record is freed).
HWND OpenProgrammingWindowForScript(SystemCalls& calls, std::unique_ptr<DeviceRecord> device,
                                    ProgrammingFeatures& features, MacroModelEvents& events);

// The device thread's keys while the window is open (key ids as the layout has them).
void OnDeviceKeyInProgramming(HWND window, int keyId);
void ReleaseKeyInView(HWND window, int keyId);
// A key of the device pressed or released, its code relative to the device's first key byte;
// a code that is no key id (not a byte) is dropped.
void ForwardDeviceKey(HWND window, int keyCode, bool pressed);

// The view of a context: the canvas painted anew and the window redrawn; one key's or LED's
// visual state set and only its place redrawn.
void PaintKeypad(MacroContext& context);
void SetKeyViewState(MacroContext& context, int keyIndex, int state);
void SetLedViewState(MacroContext& context, int ledIndex, int state);
// The View menu's keyswitch item of the context's window checked or not.
void CheckKeyswitchItem(MacroContext& context, bool on);

// Another mode of the window (the key-cap legend editor): it sees every message first and
// takes what it handles; the window's own teardown still runs when the window is destroyed,
// and the device's keys are not taken while a mode is set. A drop it takes is still finished
// by the window. Null puts the window back.
class ProgrammingWindowMode {
 public:
  virtual ~ProgrammingWindowMode() = default;
  virtual bool HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
};
void SetProgrammingWindowMode(HWND window, ProgrammingWindowMode* mode);

// The context a programming window shows, or null (another window, or one being torn down).
MacroContext* ProgrammingContextOf(HWND window);
// The platform a programming window was opened with, for the windows and modes it opens. Another
// window, or none yet (a script read into a context before its window is made asks nothing),
// gets the calls in force.
SystemCalls& ProgrammingCallsOf(HWND window);
int OpenProgrammingWindowCount();
// Closes every programming window of the calling thread, each through its teardown (the device
// thread's end: a window of a script without its device has no device record to close it).
void CloseProgrammingWindows();

// While the key-cap detection dialog is open the window takes no input: no mouse, keys,
// commands, drops or closing (painting and its own destruction go on).
void SetProgrammingInputEnabled(bool enabled);
bool IsProgrammingInputEnabled();
// The key-cap dialogs open now (process-wide), each owned by the window it was opened from: a
// closing window that took its detection dialog with it takes input again.
struct KeyCapDialogs {
  HWND detection = nullptr;
  HWND removal = nullptr;
};
KeyCapDialogs& GetKeyCapDialogs();

// The window's side of the macro model's events: the key painter and the keyswitch mark.
class ProgrammingWindowEvents : public MacroModelEvents {
 public:
  void DrawKey(MacroContext& context, int keyIndex) override;
  void CheckKeyswitch(MacroContext& context, bool on) override { CheckKeyswitchItem(context, on); }
};
