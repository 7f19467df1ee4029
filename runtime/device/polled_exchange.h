#pragma once
// Request and reply exchanges with a device outside the device thread's event wait: the
// interface is in polled use for the life of a PolledUse, then back in event use.

#include <cstdint>
#include <vector>

struct DeviceRecord;

class PolledUse {
 public:
  // Ends event use and opens the interface for polling (queued reports are dropped).
  explicit PolledUse(DeviceRecord& device);
  // Ends polled use and sets the interface up for events again, into the device's two fields.
  ~PolledUse();
  PolledUse(const PolledUse&) = delete;
  PolledUse& operator=(const PolledUse&) = delete;

  // One try of each; true when a report was written / read (input length bytes into report).
  bool Write(const std::uint8_t* report);
  bool Read(std::vector<std::uint8_t>& report);
  // Ends polled use and opens it again (a device that keeps refusing writes).
  void Reopen();

 private:
  DeviceRecord& device_;
};

// Closes the device's interface and sets it up again for event use (the same event pair).
void ReopenForEvents(DeviceRecord& device);
