#pragma once
// What the library needs from a way of reaching devices: the real HID stack or the simulation.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/vhxhid/win_handle.h"

namespace vhx {

// Input reports kept for a reader that falls behind: the platform's buffers of a real device
// (the most it allows; its default of 32 loses a fast device's burst) and the simulated queue.
constexpr int kInputReportBuffers = 512;

struct InterfaceInfo {
  std::string key;  // names the interface while it stays attached
  int vendorId = 0;
  int productId = 0;
  int version = 0;
  int usagePage = 0;
  int usage = 0;
  int inputLength = 0;   // report-id byte included
  int outputLength = 0;  // report-id byte included
};

// The report-waiting and failure/removal events of one handle (manual reset).
struct EventPair {
  UniqueHandle read;
  UniqueHandle removal;
};

// A fresh unnamed pair.
EventPair MakeLocalEvents();

// An interface in use.
class Port {
 public:
  virtual ~Port() = default;
  // Copies the oldest queued input report (input length bytes); false when none waits. Leaves
  // the read event signalled exactly while reports remain.
  virtual bool Read(uint8_t* buffer) = 0;
  // Writes one output report (output length bytes); gives up after a short bounded wait.
  virtual bool Write(const uint8_t* buffer) = 0;
  // Drops every queued input report.
  virtual void Discard() = 0;
  // The device is gone or the interface broke.
  virtual bool Failed() = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Every attached interface of any vendor; false when enumeration itself failed.
  virtual bool Enumerate(std::vector<InterfaceInfo>& out) = 0;
  virtual EventPair CreateEvents(const InterfaceInfo& info) = 0;
  // Opens the interface. With events, input reports are queued and signalled through them
  // (the removal event is set when the device is gone); without, the port only writes.
  // Null when it cannot be opened.
  virtual std::unique_ptr<Port> Open(const InterfaceInfo& info, const EventPair* events) = 0;
  // Asks the device to switch modes (it leaves and returns under another product id).
  virtual bool SwitchMode(const InterfaceInfo& info) = 0;
  // Failures a simulation was told to give, as the error number the call returns (0: none).
  virtual int EnumerateError() { return 0; }
  virtual int SetUpError(const InterfaceInfo&) { return 0; }
  virtual int SamplingError(const InterfaceInfo&) { return 0; }
};

std::unique_ptr<Backend> MakeWinHidBackend();
// Null when the simulation cannot be opened.
std::unique_ptr<Backend> MakeSimBackend(const std::string& simName);

}  // namespace vhx
