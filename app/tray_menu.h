#pragma once
// The tray icon's device menu, built on the GUI thread from its own enumeration.

#include <windows.h>

#include <vector>

#include "app/resource.h"
#include "app/tray_menu_ids.h"
#include "runtime/device/device_description.h"

// Builds the menu (caption, devices, version line, "Exit") and tracks it at the cursor.
void ShowTrayMenu(HWND mainDialog, HMENU menu);
// Command kTrayFirstDeviceId + index: a request for the device thread, or the switch to QUORL
// mode.
void OnTrayDeviceCommand(HWND mainDialog, int index);
// Message 1026: the device thread's list changed (completes a pending mode switch).
void OnDeviceListChangedMessage(HWND mainDialog);
// Also forgets a pending mode switch.
void FreeTrayDeviceItems();
// The items of the last menu, by index (command kTrayFirstDeviceId + index).
const std::vector<TrayDeviceItem>& GetTrayDeviceItems();
