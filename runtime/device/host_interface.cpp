#include "runtime/device/host_interface.h"

#include "runtime/device/program_messages.h"

void OnDeviceListChanged(HWND mainDialog) {
  if (mainDialog) PostMessageA(mainDialog, kDeviceListChangedMessage, 0, 0);
}

// No host can claim devices yet: the program always runs its own scripts.
HostCallback GetHostCallback() { return nullptr; }

bool FindHostClaim(int, int, int, int&) { return false; }
