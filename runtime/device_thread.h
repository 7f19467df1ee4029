#pragma once
// The device service thread: it owns the devices, the script engine and every script call.
// The GUI thread reaches it only through the request slot and the device table (read).

#include <windows.h>

#include <atomic>

struct DeviceRecord;

// The request slot. Writers that respect it test RequestCode for 0, write RequestDevice first
// and RequestCode last; only the device thread clears it.
enum RequestCodes {
  kRequestNone = 0,
  kRequestProgramSwitchable = 1,  // programming window for a device with a mode switch
  kRequestReadOnboard = 2,        // read on-board macros, then programming window
  kRequestProgram = 3,            // programming window
  kRequestScriptLoader = 4,
  kRequestPendingKey = 5,
  kRequestRebuild = 6,
};
// No device: a request that names none, and the value left behind when a request clears.
constexpr int kNoRequestDevice = -1;
extern std::atomic<int> RequestCode;
extern std::atomic<int> RequestDevice;

// Starts the thread (stack 10240 bytes); null when it could not be created.
HANDLE StartDeviceThread(HWND mainDialog, bool programmingAllowed);
// Asks the thread to end and waits for it, for a bounded time.
void StopDeviceThread();
bool IsProgrammingAllowed();
// The device table and its count (read without a lock by the GUI thread).
DeviceRecord* GetDeviceArray(int& count);
