#pragma once
// The Key Caps menu of the programming window on the device thread: Add (34326) and Remove
// (34327), and the key-cap merge and spacers that the macro model asks for when it builds the
// keypad view.

#include <windows.h>

class SystemCalls;
struct DeviceRecord;
struct MacroContext;

// The commands for the window's context and device, asking the user through `calls`. Nothing
// for a device without report buffers (a script opened without a device has no keys to read).
void AddKeyCaps(SystemCalls& calls, MacroContext& context, DeviceRecord& device, HWND window);
void RemoveKeyCaps(SystemCalls& calls, MacroContext& context, DeviceRecord& device, HWND window);
// The same for the device whose context it is (found in the device table); nothing when there
// is none.
void AddKeyCaps(SystemCalls& calls, MacroContext& context, HWND window);
void RemoveKeyCaps(SystemCalls& calls, MacroContext& context, HWND window);

// Puts the key-cap merge and the spacers' views under the macro model, and the commands, the
// spacers' clearing and the routing of the device's keys to the dialogs under the programming
// window. Once, at start-up (after the window's own installation).
void InstallKeyCaps();
