#include "runtime/device_table.h"

#include <windows.h>

#include "runtime/device_record.h"

std::atomic<int> RequestCode{kRequestNone};
std::atomic<int> RequestDevice{kNoRequestDevice};

namespace {
std::atomic<DeviceRecord*> table{nullptr};
std::atomic<int> tableCount{0};
std::atomic<DeviceRecord*> currentDevice{nullptr};
std::atomic<bool> programmingAllowed{true};
}  // namespace

DeviceRecord* GetDeviceArray(int& count) {
  count = tableCount;
  return table;
}

void PublishDeviceTable(DeviceRecord* records, int count) {
  tableCount = 0;  // a reader never sees a count larger than the table it gets
  table = records;
  tableCount = records ? count : 0;
}

DeviceRecord* GetCurrentDevice() { return currentDevice; }
void SetCurrentDevice(DeviceRecord* device) { currentDevice = device; }

bool IsProgrammingAllowed() { return programmingAllowed; }
void SetProgrammingAllowed(bool allowed) { programmingAllowed = allowed; }

void WakeDeviceThread(DeviceRecord& device) {
  if (device.readEvent) SetEvent(device.readEvent);
}
