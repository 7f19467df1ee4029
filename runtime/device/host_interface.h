#pragma once
// A host process that runs the program on a thread of its own: its callback, the devices it
// claims and its writes to them. The program's exports (app/host_exports.h) are thin
// shells over these.

#include <windows.h>

// After every build of the device table: binds the unbound claims, tells the host (-1, null,
// -1) and the main dialog (message 1026).
void OnDeviceListChanged(HWND mainDialog);

// The input reports of a device that a host claimed go to the host's callback instead of the
// device's scripts: (host id, the masked report, its length); the result is not used. Called
// on the device thread.
using HostCallback = int(__cdecl*)(int hostId, unsigned char* report, int length);
void SetHostCallback(HostCallback callback);
// The callback of the host that runs the program, or null when there is none.
HostCallback GetHostCallback();

// Appends a claim on the index-th device (1 = the first) of the vendor and product id and
// binds the claims.
void AddHostDeviceClaim(int hostId, int vendorId, int productId, int index);
// Binds the unbound claims to the devices as the device thread last published them.
void BindHostDevices();
// True, with the claim's host id, when a host claims the device (vendor, product, unit id).
bool FindHostClaim(int vendorId, int productId, int unitId, int& hostId);

// WriteToHostDevice when the host id has no claim, its claim is unbound or its device is not
// attached.
constexpr int kNoHostDevice = 101;
// Writes one output report to the device of the host's claim: 0 written, kNoHostDevice, minus
// the device's output length when length is not that, or the HID library's failure.
int WriteToHostDevice(int hostId, const unsigned char* report, int length);
