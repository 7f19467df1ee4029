// The cab controllers through VHXHID.dll (by ordinal: 10, 13, 8, 11).
#include <algorithm>

#include "calibration/cab_devices.h"
#include "platform/vhxhid/vhxhid.h"

namespace cal {

namespace {

class HidCabDevicesImpl : public CabDevices {
 public:
  int Enumerate(int vendorId, std::vector<CabEntry>& entries) override {
    VhxEntry table[VHX_CAL_MAX_ENTRIES] = {};
    int count = 0;
    const int result = VhxCalEnumerate(vendorId, table, &count);
    entries.clear();
    if (result != 0) return result;
    // The table has room for 25; a larger count is never walked past it.
    count = std::clamp(count, 0, VHX_CAL_MAX_ENTRIES);
    for (int i = 0; i < count; ++i)
      entries.push_back({table[i].productId, table[i].usage, table[i].usagePage, table[i].handle});
    return 0;
  }
  int SetUp(int handle) override { return VhxCalSetUp(handle); }
  void StartSampling(int handle) override { VhxCalStartSampling(handle); }
  bool ReadLatest(int handle, std::vector<std::uint8_t>& report) override {
    // The read copies a whole report: the buffer is sized for this interface's reports.
    const int length = std::max(VhxGetInputLength(handle), kMinReport);
    report.assign(static_cast<size_t>(length), 0);
    return VhxCalReadLatest(handle, report.data()) == 0;
  }

 private:
  static constexpr int kMinReport = 16;
};

}  // namespace

CabDevices& HidCabDevices() {
  static HidCabDevicesImpl devices;
  return devices;
}

}  // namespace cal
