#pragma once
// What the device thread shares with the rest of the program: the request slot, the device
// table it publishes after every change, the current device and the programming mode.

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

// The device table and its count (read without a lock by the GUI thread).
DeviceRecord* GetDeviceArray(int& count);
void PublishDeviceTable(DeviceRecord* table, int count);

// The device whose script is about to run or running.
DeviceRecord* GetCurrentDevice();
void SetCurrentDevice(DeviceRecord* device);

bool IsProgrammingAllowed();
void SetProgrammingAllowed(bool allowed);

// Signals the device's read event, so the thread looks at the request slot at once.
void WakeDeviceThread(DeviceRecord& device);
