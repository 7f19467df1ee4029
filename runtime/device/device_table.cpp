#include "runtime/device/device_table.h"

#include <windows.h>

#include <mutex>

#include "runtime/device/device_record.h"

std::atomic<int> RequestCode{kRequestNone};
std::atomic<int> RequestDevice{kNoRequestDevice};

namespace {
std::atomic<DeviceRecord*> table{nullptr};
std::atomic<int> tableCount{0};
std::atomic<DeviceRecord*> currentDevice{nullptr};
std::atomic<bool> programmingAllowed{true};
std::atomic<bool> threadStopping{false};

struct Published {
  DeviceSummary summary;
  HANDLE readEvent = nullptr;  // valid while published: the library keeps it until it enumerates
};
std::mutex publishedMutex;
std::vector<Published> published;
}  // namespace

DeviceRecord* GetDeviceArray(int& count) {
  count = tableCount;
  return table;
}

void PublishDeviceTable(DeviceRecord* records, int count) {
  std::lock_guard lock(publishedMutex);
  tableCount = 0;
  table = records;
  tableCount = records ? count : 0;
  published.clear();
  for (int i = 0; records && i < count; ++i)
    published.push_back({{records[i].hidHandle, records[i].productId, records[i].unitId,
                          records[i].vendorId, records[i].outputLength},
                         records[i].readEvent});
}

std::vector<DeviceSummary> GetDeviceSummaries() {
  std::lock_guard lock(publishedMutex);
  std::vector<DeviceSummary> all;
  for (const auto& p : published) all.push_back(p.summary);
  return all;
}

std::optional<DeviceSummary> FindDeviceSummary(int hidHandle) {
  std::lock_guard lock(publishedMutex);
  for (const auto& p : published)
    if (p.summary.hidHandle == hidHandle) return p.summary;
  return std::nullopt;
}

bool WakeDeviceThreadFor(int hidHandle) {
  // Under the lock: the thread unpublishes before the events can go.
  std::lock_guard lock(publishedMutex);
  if (published.empty()) return false;
  HANDLE event = published.front().readEvent;
  for (const auto& p : published)
    if (p.summary.hidHandle == hidHandle) event = p.readEvent;
  return event && SetEvent(event);
}

DeviceRecord* GetCurrentDevice() { return currentDevice; }
void SetCurrentDevice(DeviceRecord* device) { currentDevice = device; }

bool IsProgrammingAllowed() { return programmingAllowed; }
void SetProgrammingAllowed(bool allowed) { programmingAllowed = allowed; }

bool IsDeviceThreadStopping() { return threadStopping; }
void SetDeviceThreadStopping(bool stopping) { threadStopping = stopping; }

void WakeDeviceThread(DeviceRecord& device) {
  if (device.readEvent) SetEvent(device.readEvent);
}
