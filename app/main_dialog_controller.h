#pragma once
// What the hidden main dialog decides, without a window: what its commands ask for (the tray
// menu's, the accelerators', its buttons'), which clicks on the tray icon open the menu, its
// place in the clipboard viewer chain and what a second start asks for in client mode.

#include <string>

class SystemCalls;

// What a command leaves the dialog to do.
enum class MainAction { None, ForwardToModeless, Exit, TrayDevice };
struct MainCommand {
  MainAction action = MainAction::None;
  int trayIndex = -1;  // of TrayDevice: the item of the last tray menu
};

enum class TrayClick { LeftUp, RightUp, Other };

class MainDialogController {
 public:
  // Without programming the program runs in client mode.
  MainDialogController(SystemCalls& calls, bool programmingAllowed)
      : calls_(calls), programmingAllowed_(programmingAllowed) {}

  // "Visible" and "Invisible" are stored here, in the machine's "Invisible" value (a failure is
  // not reported); the rest is left to the dialog.
  MainCommand OnCommand(unsigned id);
  bool OpensTrayMenu(TrayClick click) const { return click != TrayClick::Other; }
  // A second start asked for the script loader: only in client mode, and only through a free
  // request slot, waited for a bounded time; the user is told when it stayed busy.
  void OnSecondInstance();

  // The clipboard viewer chain; its windows are opaque here, null: none. The viewer after ours
  // once ours joined.
  void JoinedViewerChain(void* next) { nextViewer_ = next; }
  void* NextViewer() const { return nextViewer_; }
  // The clipboard changed (its first format; 0: none): the counter's text for the dialog. The
  // news goes on to NextViewer().
  std::string OnClipboardChanged(unsigned firstFormat);
  // `removed` left the chain with `next` after it: the window to pass the news on to, or null
  // (ours was the one before it, and `next` now follows ours).
  void* OnViewerLeft(void* removed, void* next);

 private:
  SystemCalls& calls_;
  const bool programmingAllowed_;
  void* nextViewer_ = nullptr;
  int clipboardChanges_ = 0;
};
