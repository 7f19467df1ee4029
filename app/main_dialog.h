#pragma once
// The hidden main dialog: the window that other programs and the plug-ins find by its class
// and title, the owner of the tray icon's menu and a viewer of the clipboard. It turns messages
// into calls of its controller and carries out what they ask for.

#include <windows.h>

#include "app/main_dialog_controller.h"
#include "platform/wingui/dialog.h"

class MainDialog : public wingui::Dialog {
 public:
  // The clipboard is read through `calls`.
  MainDialog(MainDialogController& controller, SystemCalls& calls, HMENU trayMenu);

  // Registers the class the template names, with the program's icons (the small one is also
  // the tray icon's); true when it is registered now or was already.
  static bool RegisterDialogClass(HINSTANCE instance, const char* className, HICON smallIcon);
  // Made hidden on the calling thread; false when it could not be made.
  bool Open();
  // Puts the dialog into the clipboard viewer chain, which tells it of the clipboard at once.
  void JoinClipboardChain();

 protected:
  bool HandleMessage(wingui::Message& m) override;
  bool OnInitDialog() override { return false; }  // the focus stays where it is
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMeasureItem(MEASUREITEMSTRUCT& item) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  void ShowClipboardChange();

  MainDialogController& controller_;
  SystemCalls& calls_;
  HMENU trayMenu_;
};
