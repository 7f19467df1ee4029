#pragma once
// What the device thread shares with the rest of the program: the request slot, the device
// table it publishes after every change, the current device, the programming mode and whether
// the thread is asked to end.

#include <atomic>
#include <memory>
#include <optional>
#include <span>
#include <vector>

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

// The device table: each record is owned where it stays, so that it keeps its address for as
// long as it is in the table, and a window may hold it.
using DeviceRecords = std::vector<std::unique_ptr<DeviceRecord>>;
using DeviceTableView = std::span<const std::unique_ptr<DeviceRecord>>;

// The published table: the device thread's own (and tests', between its changes); empty while
// it changes.
DeviceTableView GetDeviceTable();
// The thread publishes its table after every change; null while it changes.
void PublishDeviceTable(const DeviceRecords* records);

// What other threads may know of the table: a copy, taken under a lock, of each device's
// identity as last published. Never a pointer into the table, whose records go as devices
// do.
struct DeviceSummary {
  int hidHandle = -1;
  int productId = 0;
  int unitId = 0;
  int vendorId = 0;
  int outputLength = 0;
};
std::vector<DeviceSummary> GetDeviceSummaries();
std::optional<DeviceSummary> FindDeviceSummary(int hidHandle);
// Signals the read event of the device with this handle (the first device's when none has
// it), so the thread looks at the request slot now; false when no device is published.
bool WakeDeviceThreadFor(int hidHandle);

// The device whose script is about to run or running.
DeviceRecord* GetCurrentDevice();
void SetCurrentDevice(DeviceRecord* device);

bool IsProgrammingAllowed();
void SetProgrammingAllowed(bool allowed);

// Set while the device thread is asked to end: long waits on it give up then.
bool IsDeviceThreadStopping();
void SetDeviceThreadStopping(bool stopping);

// Signals the device's read event (on the device thread, from a script).
void WakeDeviceThread(DeviceRecord& device);
