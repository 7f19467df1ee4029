#pragma once
// The hidden main dialog, its tray icon and the GUI message loop.

#include <windows.h>

#include <cstdint>

#include "runtime/device/host_interface.h"
#include "runtime/device/program_messages.h"

// The value of "Client Mode" that puts the program into client mode.
constexpr std::uint32_t kClientModeValue = 0x7C41E2B6;
// The main dialog's window class (the resources give it too), and the mutex that the running
// instance holds: a second start finds the first by them.
inline constexpr char kMainWindowClass[] = "OrvaneII_Class";
inline constexpr char kRunOnceMutexName[] = "Orvane II Only Run Once Mutex";


extern "C" __declspec(dllexport) HWND GetOrvaneHWND();
extern "C" __declspec(dllexport) HINSTANCE GetHInstOrvane();

void SetOrvaneInstance(HINSTANCE instance);
// Start-up, loop and shut-down, with the device service over the program's host and the host
// process that runs the program (none: the program runs on its own); the WM_QUIT code, or 0
// when the main dialog cannot be made.
int RunMainLoop(bool programmingAllowed, HostProcess& hostProcess = NoHostProcess());

// The "Client Mode" value under the program's key of the machine; 0 when absent.
std::uint32_t ReadClientModeValue();
void SetClientModeValue(std::uint32_t value);

// The modeless dialog that the message loop hands keyboard messages to (null: none).
HWND GetCurrentModelessDialog();
void SetCurrentModelessDialog(HWND dialog);

// True when the last loop ended with the device thread still running (stuck in a modal wait).
bool DeviceThreadOutlivedTheLoop();
