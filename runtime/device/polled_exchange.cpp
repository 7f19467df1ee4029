#include "runtime/device/polled_exchange.h"

#include "platform/vhxhid/vhxhid.h"
#include "runtime/device/device_record.h"

PolledUse::PolledUse(DeviceRecord& device) : device_(device) { Reopen(); }

void PolledUse::Reopen() {
  VhxCloseInterface(device_.hidHandle);
  VhxOpenPolled(device_.hidHandle);
}

PolledUse::~PolledUse() { ReopenForEvents(device_); }

void ReopenForEvents(DeviceRecord& device) {
  VhxCloseInterface(device.hidHandle);
  VhxSetUpInterface(device.hidHandle, &device.readEvent, &device.removalEvent);
}

bool PolledUse::Write(const std::uint8_t* report) {
  return VhxWriteReport(device_.hidHandle, report) == VHX_OK;
}

bool PolledUse::Read(std::vector<std::uint8_t>& report) {
  report.resize(static_cast<std::size_t>(device_.inputLength > 0 ? device_.inputLength : 0));
  return !report.empty() && VhxReadReport(device_.hidHandle, report.data()) == VHX_OK;
}
