#include "runtime/tray_menu.h"

namespace {
const char kCaption[] = " Lococab ORVX";
const char kVersion[] = " Version Beta 1.0";
}  // namespace

void ShowTrayMenu(HWND mainDialog, HMENU menu) {
  POINT at;
  GetCursorPos(&at);
  SetForegroundWindow(mainDialog);
  while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, kTrayExitId, "Exit");
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_OWNERDRAW | MF_DISABLED, kTrayVersionId,
              reinterpret_cast<LPCSTR>(kVersion));
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_OWNERDRAW | MF_DISABLED, kTrayCaptionId,
              reinterpret_cast<LPCSTR>(kCaption));
  TrackPopupMenu(menu, TPM_LEFTBUTTON, at.x, at.y, 0, mainDialog, nullptr);
  PostMessageA(mainDialog, WM_NULL, 0, 0);
}

void OnTrayDeviceCommand(HWND, int) {}
void OnDeviceListChangedMessage(HWND) {}
void FreeTrayDeviceItems() {}
