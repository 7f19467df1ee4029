#include "runtime/device/device_table.h"

#include <windows.h>

#include <mutex>

#include "runtime/device/device_record.h"

std::atomic<int> RequestCode{kRequestNone};
std::atomic<int> RequestDevice{kNoRequestDevice};

namespace {
std::atomic<const DeviceRecords*> table{nullptr};
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

DeviceTableView GetDeviceTable() {
  const DeviceRecords* records = table;
  return records ? DeviceTableView(*records) : DeviceTableView();
}

void PublishDeviceTable(const DeviceRecords* records) {
  std::lock_guard lock(publishedMutex);
  table = records;
  published.clear();
  for (const auto& d : GetDeviceTable())
    published.push_back({{d->hidHandle, d->productId, d->unitId, d->vendorId, d->outputLength}, d->readEvent});
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
