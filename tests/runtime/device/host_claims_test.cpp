#include "runtime/device/host_claims.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kVid = 0x0A7C;

struct Device {
  int productId;
  int unitId;
};
struct Claim {
  int productId;
  int index;
  int unitId = kUnboundClaim;  // bound before the case when not kUnboundClaim
};

struct Case {
  std::string name;
  std::vector<Device> devices;  // table order
  std::vector<Claim> claims;    // registration order
  std::vector<int> bound;       // each claim's unit id afterwards
};

TEST(HostClaims, BindInTableOrderSkippingHeldDevices) {
  const std::vector<Case> cases = {
      {"the index-th of the product; a second claim on it finds none after it; index 1 the first",
       {{0x19, 1}, {0x19, 2}}, {{0x19, 2}, {0x19, 2}, {0x19, 1}}, {2, kUnboundClaim, 1}},
      {"a held device passes the claim on to the next free one",
       {{0x19, 1}, {0x19, 2}, {0x19, 3}}, {{0x19, 1}, {0x19, 1}, {0x19, 2}}, {1, 2, 3}},
      {"only devices of the claim's product count",
       {{0x10, 1}, {0x19, 4}, {0x10, 2}, {0x19, 7}}, {{0x19, 2}, {0x10, 2}}, {7, 2}},
      {"an index past the devices stays unbound", {{0x19, 1}}, {{0x19, 2}}, {kUnboundClaim}},
      {"an index below 1 takes the first", {{0x19, 5}, {0x19, 6}}, {{0x19, 0}}, {5}},
      {"a bound claim keeps its unit while its device is away, and holds it",
       {{0x19, 1}}, {{0x19, 1, 9}, {0x19, 1}}, {9, 1}},
      {"a device a bound claim holds is not taken again",
       {{0x19, 1}, {0x19, 2}}, {{0x19, 1, 1}, {0x19, 1}}, {1, 2}},
      {"no devices", {}, {{0x19, 1}}, {kUnboundClaim}},
  };
  for (const Case& c : cases) {
    std::vector<DeviceSummary> devices;
    for (const Device& d : c.devices) {
      DeviceSummary s;
      s.vendorId = kVid;
      s.productId = d.productId;
      s.unitId = d.unitId;
      devices.push_back(s);
    }
    std::vector<HostDeviceClaim> claims;
    for (const Claim& claim : c.claims)
      claims.push_back({kVid, claim.productId, claim.unitId, 1, claim.index});
    BindClaims(claims, devices);
    std::vector<int> bound;
    for (const HostDeviceClaim& claim : claims) bound.push_back(claim.unitId);
    EXPECT_EQ(bound, c.bound) << c.name;
  }
}

TEST(HostClaims, AnotherVendorsDeviceIsNeverTaken) {
  DeviceSummary other;
  other.vendorId = 0x1234;
  other.productId = 0x19;
  other.unitId = 1;
  std::vector<HostDeviceClaim> claims = {{kVid, 0x19, kUnboundClaim, 1, 1}};
  BindClaims(claims, {other});
  EXPECT_EQ(claims[0].unitId, kUnboundClaim);
}

}  // namespace
