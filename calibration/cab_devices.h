// The calibration program's access to the cab controllers: the four calls of the HID library
// it uses, behind an interface so that the wizard can be driven without a device.
#pragma once
#include <cstdint>
#include <vector>

namespace cal {

struct CabEntry {
  int productId = 0;
  int usage = 0;
  int usagePage = 0;
  int handle = 0;
};

class CabDevices {
 public:
  virtual ~CabDevices() = default;
  // Lists the interfaces of the vendor (at most 25); 0 or an error number.
  virtual int Enumerate(int vendorId, std::vector<CabEntry>& entries) = 0;
  // Sets an interface up for sampling; 0 or an error number.
  virtual int SetUp(int handle) = 0;
  virtual void StartSampling(int handle) = 0;
  // The interface's most recent input report (bytes past its length read as 0); false when
  // there is none or the device is gone.
  virtual bool ReadLatest(int handle, std::vector<std::uint8_t>& report) = 0;
};

// Through VHXHID.dll.
CabDevices& HidCabDevices();

}  // namespace cal
