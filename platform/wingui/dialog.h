#pragma once
// A dialog of a resource template as a Window: modal, or modeless and registered with the
// calling thread's MessagePump so that Tab and the dialog keys work in it.

#include <windows.h>

#include <string>

#include "platform/wingui/window.h"

namespace wingui {

class Dialog : public Window {
 public:
  // The template by id in the module instance (null: the program's module).
  explicit Dialog(int templateId, HINSTANCE instance = nullptr)
      : templateId_(templateId), instance_(instance) {}
  ~Dialog() override;

  // DialogBoxParam: runs the dialog to its end; End's result, or -1 when it cannot be made.
  INT_PTR ShowModal(HWND owner);
  // Who handles a modeless dialog's keys: the thread's pump (Tab and the dialog keys), or its
  // controls alone, for a dialog whose keys must reach its boxes as they were typed, or a hidden
  // window that other programs talk to and no keyboard navigates (the loop dispatches its
  // messages as any window's).
  enum class Keys { Pumped, ToControls };
  // CreateDialogParam, registered with this thread's pump (with the accelerators when given)
  // unless its keys go to its controls; the dialog shows when its template says WS_VISIBLE.
  // False when it cannot be made.
  bool CreateModeless(HWND owner, HACCEL accelerators = nullptr, Keys keys = Keys::Pumped);
  bool IsModal() const { return modal_; }
  // Ends a modal dialog with the result; destroys a modeless one.
  void End(INT_PTR result);

  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text) const;

 protected:
  // WM_INITDIALOG; true lets the dialog manager set the focus.
  virtual bool OnInitDialog() { return true; }
  // OK and Cancel end the dialog with their ids.
  bool OnCommand(int id, int code, HWND control) override;
  bool HandleMessage(Message& msg) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR RouteDialog(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HINSTANCE instance_;
  bool modal_ = false;
};

}  // namespace wingui
