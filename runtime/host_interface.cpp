#include "runtime/host_interface.h"

#include "runtime/main_window.h"

void OnDeviceListChanged(HWND mainDialog) {
  if (mainDialog) PostMessageA(mainDialog, kDeviceListChangedMessage, 0, 0);
}
