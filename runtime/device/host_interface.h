#pragma once
// A host process that runs the program on a thread of its own: its callback, the devices it
// claims and its writes to them. The program's exports (app/host_exports.h) are thin
// shells over these.

#include <windows.h>

#include <optional>

struct DeviceRecord;

// The host process as the device thread sees it: the input reports of a device it claimed go
// to it instead of the device's scripts, and it learns of every new device list. A program
// that no host runs keeps these as they are.
class HostProcess {
 public:
  virtual ~HostProcess() = default;
  // The host id of the claim on the device; none when the host claims it not.
  virtual std::optional<int> ClaimOn(const DeviceRecord&) { return std::nullopt; }
  // A claimed device's report, masked, and its length; on the device thread.
  virtual void TakeReport(int, unsigned char*, int) {}
  // After every build of the device table, on the device thread.
  virtual void DeviceListChanged() {}
};
HostProcess& NoHostProcess();

// The host's callback: (host id, report, length) for a claimed device's report, (-1, null, -1)
// for a new device list; the result is not used.
using HostCallback = int(__cdecl*)(int hostId, unsigned char* report, int length);

// The host that started the program with its callback: its claims are those its exports made
// (AddHostDeviceClaim). Nothing a host throws reaches the device thread.
class CallbackHost : public HostProcess {
 public:
  explicit CallbackHost(HostCallback callback) : callback_(callback) {}
  std::optional<int> ClaimOn(const DeviceRecord& device) override;
  void TakeReport(int hostId, unsigned char* report, int length) override;
  void DeviceListChanged() override;

 private:
  HostCallback callback_;
};

// After every build of the device table: binds the unbound claims, tells the host and the main
// dialog (message 1026).
void OnDeviceListChanged(HWND mainDialog, HostProcess& host);

// Appends a claim on the index-th device (1 = the first) of the vendor and product id and
// binds the claims.
void AddHostDeviceClaim(int hostId, int vendorId, int productId, int index);
// Binds the unbound claims to the devices as the device thread last published them.
void BindHostDevices();
// True, with the claim's host id, when a host claims the device (vendor, product, unit id).
bool FindHostClaim(int vendorId, int productId, int unitId, int& hostId);

// WriteToHostDevice when the host id has no claim, its claim is unbound or its device is not
// attached.
constexpr int kNoHostDevice = 101;
// Writes one output report to the device of the host's claim: 0 written, kNoHostDevice, minus
// the device's output length when length is not that, or the HID library's failure.
int WriteToHostDevice(int hostId, const unsigned char* report, int length);
