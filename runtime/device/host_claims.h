#pragma once
// Which device each claim of a host process holds. Plain logic over the device list as the
// device thread last published it.

#include <vector>

#include "runtime/device/device_table.h"

constexpr int kUnboundClaim = -1;

// A host's claim on the index-th attached device (1 = the first) of a vendor and product id.
// A bound claim holds its device by unit id.
struct HostDeviceClaim {
  int vendorId = 0;
  int productId = 0;
  int unitId = kUnboundClaim;
  int hostId = 0;
  int index = 1;
};

// Binds every unbound claim, in order, to the index-th device of its vendor and product id in
// table order if no claim holds it, else to the next free one after it; no free one leaves it
// unbound. Bound claims stay bound, even while their device is away.
void BindClaims(std::vector<HostDeviceClaim>& claims, const std::vector<DeviceSummary>& devices);
