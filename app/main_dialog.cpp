#include "app/main_dialog.h"

#include <cstring>

#include "app/main_window.h"
#include "app/resource.h"
#include "app/tray_menu.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/gdi.h"
#include "runtime/device/program_messages.h"

namespace {

TrayClick TrayClickOf(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONUP) return TrayClick::LeftUp;
  if (mouseMessage == WM_RBUTTONUP) return TrayClick::RightUp;
  return TrayClick::Other;
}

}  // namespace

MainDialog::MainDialog(MainDialogController& controller, SystemCalls& calls, HMENU trayMenu)
    : wingui::Dialog(IDD_MAIN), controller_(controller), calls_(calls), trayMenu_(trayMenu) {}

bool MainDialog::RegisterDialogClass(HINSTANCE instance, const char* className, HICON smallIcon) {
  wingui::WindowClass c;
  c.name = className;
  c.icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ORVANE), IMAGE_ICON, 32, 32, 0));
  c.smallIcon = smallIcon;
  c.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.forDialogs = true;
  c.instance = instance;
  return wingui::RegisterWindowClass(c);
}

bool MainDialog::Open() {
  // Not among the pump's dialogs: no key of the hidden dialog is a dialog key.
  if (!CreateModeless(nullptr, nullptr, Keys::ToControls)) return false;
  UpdateWindow(hwnd());
  return true;
}

void MainDialog::JoinClipboardChain() {
  controller_.JoinedViewerChain(nullptr);
  controller_.JoinedViewerChain(SetClipboardViewer(hwnd()));
}

void MainDialog::ShowClipboardChange() {
  UINT format = 0;
  char name[128] = "";
  if (const auto clipboard = calls_.OpenClipboardFor(hwnd())) {
    format = clipboard->FirstFormat();
    // Predefined formats have no registered name.
    if (format == 0 || GetClipboardFormatNameA(format, name, sizeof name) <= 0) name[0] = '\0';
  }
  SetItemText(IDC_CLIPBOARD_COUNTER, controller_.OnClipboardChanged(format));
  SetItemText(IDC_CLIPBOARD_FORMAT, name);
}

bool MainDialog::HandleMessage(wingui::Message& m) {
  switch (m.id) {
    case WM_DESTROY:
      FreeTrayDeviceItems();
      ChangeClipboardChain(hwnd(), static_cast<HWND>(controller_.NextViewer()));
      PostQuitMessage(0);
      return true;
    case kTrayCallbackMessage:
      if (controller_.OpensTrayMenu(TrayClickOf(m.lParam))) ShowTrayMenu(hwnd(), trayMenu_);
      return true;
    case kDeviceListChangedMessage:
      OnDeviceListChangedMessage(hwnd());
      return true;
    case kSecondInstanceMessage:
      controller_.OnSecondInstance();
      return true;
    case WM_DRAWCLIPBOARD:
      ShowClipboardChange();
      if (const HWND next = static_cast<HWND>(controller_.NextViewer())) SendMessageA(next, m.id, m.wParam, m.lParam);
      return true;
    case WM_CHANGECBCHAIN:
      if (const HWND to = static_cast<HWND>(controller_.OnViewerLeft(reinterpret_cast<HWND>(m.wParam),
                                                                     reinterpret_cast<HWND>(m.lParam))))
        SendMessageA(to, m.id, m.wParam, m.lParam);
      return true;
  }
  if (wingui::Dialog::HandleMessage(m)) return true;
  // Everything else gets a plain window's defaults, as this dialog always had: the dialog
  // manager's would move the focus into the hidden buttons and make WM_CLOSE a posted Cancel.
  // Its last message stays the dialog manager's, which frees what it keeps of the dialog.
  if (m.id == WM_NCDESTROY) return false;
  m.result = DefWindowProcA(hwnd(), m.id, m.wParam, m.lParam);
  return true;
}

bool MainDialog::OnCommand(int id, int, HWND) {
  const MainCommand command = controller_.OnCommand(static_cast<unsigned>(id));
  switch (command.action) {
    case MainAction::ForwardToModeless:
      if (const HWND dialog = GetCurrentModelessDialog()) PostMessageA(dialog, WM_COMMAND, IDM_FORWARD_TO_MODELESS, 0);
      break;
    case MainAction::Exit:
      Destroy();
      break;
    case MainAction::TrayDevice:
      OnTrayDeviceCommand(hwnd(), command.trayIndex);
      break;
    case MainAction::None:
      break;
  }
  return true;
}

bool MainDialog::OnMeasureItem(MEASUREITEMSTRUCT& item) {
  if (item.CtlType != ODT_MENU) return false;
  const char* text = reinterpret_cast<const char*>(item.itemData);
  if (!text) return true;
  const wingui::WindowDc dc(hwnd());
  SIZE size{};
  if (dc) {
    const wingui::SelectScope font(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32A(dc.get(), text, static_cast<int>(std::strlen(text)), &size);
  }
  item.itemWidth = size.cx;
  item.itemHeight = size.cy;
  return true;
}

bool MainDialog::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_MENU) return false;
  const char* text = reinterpret_cast<const char*>(item.itemData);
  if (!text) return true;
  HGDIOBJ old = SelectObject(item.hDC, GetStockObject(DEFAULT_GUI_FONT));
  ExtTextOutA(item.hDC, item.rcItem.left + GetSystemMetrics(SM_CXMENUCHECK), item.rcItem.top, ETO_OPAQUE,
              &item.rcItem, text, static_cast<UINT>(std::strlen(text)), nullptr);
  SelectObject(item.hDC, old);
  return true;
}
