#include "runtime/device/host_interface.h"

#include <mutex>
#include <optional>
#include <vector>

#include "platform/vhxhid/vhxhid.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/host_claims.h"
#include "runtime/device/program_messages.h"
#include "runtime/script/script_engine_lock.h"

namespace {

struct HostState {
  // The host's threads add and bind claims while the device thread reads them.
  std::mutex mutex;
  std::vector<HostDeviceClaim> claims;
};

HostState& State() {
  static HostState state;
  return state;
}

// The attached device that the host id's claim holds.
std::optional<DeviceSummary> FindHostDevice(int hostId) {
  std::optional<HostDeviceClaim> claim;
  {
    HostState& s = State();
    std::lock_guard lock(s.mutex);
    for (const HostDeviceClaim& c : s.claims)
      if (c.hostId == hostId && c.unitId != kUnboundClaim) {
        claim = c;
        break;
      }
  }
  if (!claim) return std::nullopt;
  for (const DeviceSummary& d : GetDeviceSummaries())
    if (d.vendorId == claim->vendorId && d.productId == claim->productId &&
        d.unitId == claim->unitId)
      return d;
  return std::nullopt;
}

}  // namespace

HostProcess& NoHostProcess() {
  static HostProcess none;
  return none;
}

std::optional<int> CallbackHost::ClaimOn(const DeviceRecord& device) {
  int hostId = 0;
  if (!callback_ || !FindHostClaim(device.vendorId, device.productId, device.unitId, hostId)) return std::nullopt;
  return hostId;
}

void CallbackHost::TakeReport(int hostId, unsigned char* report, int length) {
  try {
    callback_(hostId, report, length);
  } catch (...) {
  }
}

void CallbackHost::DeviceListChanged() {
  if (!callback_) return;
  try {
    callback_(-1, nullptr, -1);
  } catch (...) {
  }
}

void OnDeviceListChanged(HWND mainDialog, HostProcess& host) {
  BindHostDevices();
  host.DeviceListChanged();
  if (mainDialog) PostMessageA(mainDialog, kDeviceListChangedMessage, 0, 0);
}

void AddHostDeviceClaim(int hostId, int vendorId, int productId, int index) {
  {
    HostState& s = State();
    std::lock_guard lock(s.mutex);
    s.claims.push_back({vendorId, productId, kUnboundClaim, hostId, index});
  }
  BindHostDevices();
}

void BindHostDevices() {
  HostState& s = State();
  std::lock_guard lock(s.mutex);
  // Read under the claims' lock: no binding works from an older table than the one before.
  BindClaims(s.claims, GetDeviceSummaries());
}

bool FindHostClaim(int vendorId, int productId, int unitId, int& hostId) {
  HostState& s = State();
  std::lock_guard lock(s.mutex);
  for (const HostDeviceClaim& c : s.claims)
    if (c.unitId != kUnboundClaim && c.vendorId == vendorId && c.productId == productId &&
        c.unitId == unitId) {
      hostId = c.hostId;
      return true;
    }
  return false;
}

int WriteToHostDevice(int hostId, const unsigned char* report, int length) {
  // Under the engine lock no build cycle numbers the handles anew while this one is used, and
  // the device thread's own writes and polled exchanges, which take it too, are not cut into.
  ScriptEngineGuard guard;
  const std::optional<DeviceSummary> device = FindHostDevice(hostId);
  if (!device) return kNoHostDevice;
  if (length != device->outputLength) return -device->outputLength;
  return VhxWriteReport(device->hidHandle, report);
}
