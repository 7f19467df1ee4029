#include "platform/wingui/dialog.h"

#include <utility>

#include "platform/wingui/message_pump.h"
#include "platform/wingui/window_map.h"
#include "platform/wingui/window_text.h"

namespace wingui {
namespace {

// The dialog the dialog manager is making on this thread. Its first message (WM_SETFONT, or
// WM_MEASUREITEM of an owner-drawn control) comes before WM_INITDIALOG and already finds it.
thread_local Dialog* pendingDialog = nullptr;

// Messages whose dialog procedure result is the answer itself rather than TRUE with the answer
// in DWLP_MSGRESULT.
bool AnswersDirectly(UINT msg) {
  switch (msg) {
    case WM_INITDIALOG:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
    case WM_COMPAREITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
  }
  return false;
}

}  // namespace

Dialog::~Dialog() {
  if (hwnd() && !modal_) MessagePump::ForThisThread().RemoveDialog(hwnd());
}

INT_PTR Dialog::ShowModal(HWND owner) {
  if (hwnd()) return -1;
  modal_ = true;
  ownsHandle_ = true;
  Dialog* const outer = std::exchange(pendingDialog, this);
  const INT_PTR result = DialogBoxParamA(ProgramInstance(instance_), MAKEINTRESOURCEA(templateId_),
                                         owner, &DialogProc, reinterpret_cast<LPARAM>(this));
  pendingDialog = outer;
  return result;
}

HWND Dialog::MakeModeless(HWND owner) {
  if (hwnd()) return nullptr;
  modal_ = false;
  ownsHandle_ = true;
  Dialog* const outer = std::exchange(pendingDialog, this);
  const HWND dialog = CreateDialogParamA(ProgramInstance(instance_), MAKEINTRESOURCEA(templateId_),
                                         owner, &DialogProc, reinterpret_cast<LPARAM>(this));
  pendingDialog = outer;
  return dialog && hwnd() ? dialog : nullptr;
}

bool Dialog::CreateModeless(HWND owner, HACCEL accelerators) {
  const HWND dialog = MakeModeless(owner);
  if (!dialog) return false;
  MessagePump::ForThisThread().AddDialog(dialog, accelerators);
  return true;
}

bool Dialog::CreateUnpumped(HWND owner) { return MakeModeless(owner) != nullptr; }

void Dialog::End(INT_PTR result) {
  if (!hwnd()) return;
  if (modal_)
    EndDialog(hwnd(), result);
  else
    DestroyWindow(hwnd());
}

std::string Dialog::ItemText(int id) const {
  return WindowTextOf(Item(id));
}

void Dialog::SetItemText(int id, const std::string& text) const {
  SetDlgItemTextA(hwnd(), id, text.c_str());
}

bool Dialog::OnCommand(int id, int, HWND) {
  if (id != IDOK && id != IDCANCEL) return false;
  End(id);
  return true;
}

bool Dialog::HandleMessage(Message& m) {
  if (m.id == WM_INITDIALOG) {
    m.result = OnInitDialog();
    return true;
  }
  return Window::HandleMessage(m);
}

INT_PTR Dialog::RouteDialog(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  Message m{msg, wParam, lParam};
  const bool handled = HandleMessage(m);
  if (msg == WM_NCDESTROY && hwnd()) {
    if (!modal_) MessagePump::ForThisThread().RemoveDialog(window);
    DetachHandle();
  }
  if (!handled) return FALSE;
  if (AnswersDirectly(msg)) return static_cast<INT_PTR>(m.result);
  SetWindowLongPtrA(window, DWLP_MSGRESULT, m.result);
  return TRUE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* dialog = dynamic_cast<Dialog*>(window_map::Find(hwnd));
  if (!dialog) {
    if (pendingDialog)
      dialog = std::exchange(pendingDialog, nullptr);
    else if (msg == WM_INITDIALOG)
      dialog = reinterpret_cast<Dialog*>(lParam);
    if (!dialog) return FALSE;
    dialog->AttachHandle(hwnd);
  }
  return dialog->RouteDialog(hwnd, msg, wParam, lParam);
}

}  // namespace wingui
