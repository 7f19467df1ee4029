#pragma once
// What a host process that runs the program on a thread of its own is told.

#include <windows.h>

// After every change of the device table: tells the host and the main dialog (message 1026).
void OnDeviceListChanged(HWND mainDialog);
