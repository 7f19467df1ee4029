#pragma once
// What a host process that runs the program on a thread of its own is told.

#include <windows.h>

// After every change of the device table: tells the host and the main dialog (message 1026).
void OnDeviceListChanged(HWND mainDialog);

// The input reports of a device that a host claimed go to the host's callback instead of the
// device's scripts: (host id, the masked report, its length); the result is not used.
using HostCallback = int (*)(int hostId, unsigned char* report, int length);
// The callback of the host that runs the program, or null when there is none.
HostCallback GetHostCallback();
// True, with the claim's host id, when a host claims the device (vendor, product, unit id).
bool FindHostClaim(int vendorId, int productId, int unitId, int& hostId);
