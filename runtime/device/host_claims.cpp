#include "runtime/device/host_claims.h"

namespace {

bool Held(const std::vector<HostDeviceClaim>& claims, const DeviceSummary& device) {
  for (const HostDeviceClaim& c : claims)
    if (c.unitId != kUnboundClaim && c.vendorId == device.vendorId &&
        c.productId == device.productId && c.unitId == device.unitId)
      return true;
  return false;
}

}  // namespace

void BindClaims(std::vector<HostDeviceClaim>& claims, const std::vector<DeviceSummary>& devices) {
  for (HostDeviceClaim& claim : claims) {
    if (claim.unitId != kUnboundClaim) continue;
    int counter = claim.index;
    for (const DeviceSummary& d : devices) {
      if (d.vendorId != claim.vendorId || d.productId != claim.productId) continue;
      if (counter <= 1 && !Held(claims, d)) {
        claim.unitId = d.unitId;
        break;
      }
      --counter;
    }
  }
}
