// The library over a simulation: devices, queues and recorded writes live in the shared block,
// so a controller process sees and drives what this process does.
#include <algorithm>
#include <cstdlib>

#include "platform/vhxhid/backend.h"
#include "platform/vhxhid/sim_connection.h"

namespace vhx {
namespace {

static_assert(sim::kInputSlots == kInputReportBuffers, "a simulated device queues as a real one");

using sim::DeviceEvent;
using sim::SimConnection;

uint32_t SimId(const InterfaceInfo& info) {
  // Keys are "sim:<id>".
  return static_cast<uint32_t>(std::strtoul(info.key.c_str() + 4, nullptr, 10));
}

// The port keeps its own handle to the device's read event and closes it with the port: a
// handle kept per device id for the life of the process would leak one for every device that
// ever came and went.
class SimPort : public Port {
 public:
  SimPort(SimConnection& conn, uint32_t id, int inputLength)
      : conn_(conn),
        id_(id),
        inputLength_(inputLength),
        readEvent_(conn.OpenDeviceEvent(id, DeviceEvent::kRead)) {}

  bool Read(uint8_t* buffer) override {
    SimConnection::Lock lock(conn_);
    sim::Device* device = sim::FindDevice(conn_.block(), id_);
    if (device && device->failReads) {
      // Nothing gets through a broken interface; the event is not left set to spin on.
      SignalRead(false);
      return false;
    }
    bool took = device && sim::TakeInput(*device, buffer, inputLength_);
    SignalRead(device && device->input.count > 0);
    return took;
  }

  bool Write(const uint8_t* buffer) override {
    SimConnection::Lock lock(conn_);
    sim::Device* device = sim::FindDevice(conn_.block(), id_);
    if (!device) return false;
    bool written = sim::WriteOutput(*device, buffer) == sim::kOk;
    // The device's model may have queued a reply.
    if (device->input.count > 0) SignalRead(true);
    return written;
  }

  void Discard() override {
    SimConnection::Lock lock(conn_);
    if (sim::Device* device = sim::FindDevice(conn_.block(), id_)) sim::ClearRing(device->input);
    SignalRead(false);
  }

  bool Failed() override {
    SimConnection::Lock lock(conn_);
    const sim::Device* device = sim::FindDevice(conn_.block(), id_);
    return device == nullptr || device->failReads;
  }

 private:
  void SignalRead(bool waiting) {
    if (!readEvent_) return;
    if (waiting)
      SetEvent(readEvent_.get());
    else
      ResetEvent(readEvent_.get());
  }

  SimConnection& conn_;
  uint32_t id_;
  int inputLength_;
  UniqueHandle readEvent_;
};

class SimBackend : public Backend {
 public:
  explicit SimBackend(const std::string& name) : conn_(name) {}
  bool ok() const { return conn_.ok(); }

  bool Enumerate(std::vector<InterfaceInfo>& out) override {
    out.clear();
    SimConnection::Lock lock(conn_);
    std::vector<const sim::Device*> devices;
    for (const sim::Device& device : conn_.block().devices)
      if (device.id != 0) devices.push_back(&device);
    // Slots are reused; ids give the order in which devices arrived.
    std::sort(devices.begin(), devices.end(),
              [](const sim::Device* a, const sim::Device* b) { return a->id < b->id; });
    for (const sim::Device* device : devices) {
      const sim::DeviceSpec& s = device->spec;
      InterfaceInfo info;
      info.key = "sim:" + std::to_string(device->id);
      info.vendorId = static_cast<int>(s.vendorId);
      info.productId = static_cast<int>(s.productId);
      info.version = static_cast<int>(s.version);
      info.usagePage = static_cast<int>(s.usagePage);
      info.usage = static_cast<int>(s.usage);
      info.inputLength = static_cast<int>(s.inputLength);
      info.outputLength = static_cast<int>(s.outputLength);
      out.push_back(std::move(info));
    }
    return true;
  }

  EventPair CreateEvents(const InterfaceInfo& info) override {
    // Named, so that the controller's queuing and removal reach them.
    EventPair events;
    events.read = conn_.OpenDeviceEvent(SimId(info), DeviceEvent::kRead);
    events.removal = conn_.OpenDeviceEvent(SimId(info), DeviceEvent::kRemoval);
    return events;
  }

  std::unique_ptr<Port> Open(const InterfaceInfo& info, const EventPair* events) override {
    uint32_t id = SimId(info);
    SimConnection::Lock lock(conn_);
    sim::Device* device = sim::FindDevice(conn_.block(), id);
    if (!device) {
      // Gone before set-up: its removal may have happened while nobody held the event.
      if (events) SetEvent(events->removal.get());
      return nullptr;
    }
    if (events) sim::ModelOnOpen(*device);
    if (events && device->input.count > 0) SetEvent(events->read.get());
    return std::make_unique<SimPort>(conn_, id, info.inputLength);
  }

  bool SwitchMode(const InterfaceInfo& info) override {
    uint32_t id = SimId(info);
    SimConnection::Lock lock(conn_);
    if (sim::SwitchDeviceMode(conn_.block(), id) < 0) return false;
    conn_.SetDeviceEvent(id, DeviceEvent::kRemoval);
    conn_.ForgetDevice(id);
    return true;
  }

  int EnumerateError() override {
    SimConnection::Lock lock(conn_);
    return conn_.block().enumerateError;
  }
  int SetUpError(const InterfaceInfo& info) override {
    SimConnection::Lock lock(conn_);
    const sim::Device* device = sim::FindDevice(conn_.block(), SimId(info));
    return device ? device->setUpError : 0;
  }
  int SamplingError(const InterfaceInfo& info) override {
    SimConnection::Lock lock(conn_);
    const sim::Device* device = sim::FindDevice(conn_.block(), SimId(info));
    return device ? device->samplingError : 0;
  }

 private:
  SimConnection conn_;
};

}  // namespace

std::unique_ptr<Backend> MakeSimBackend(const std::string& simName) {
  auto backend = std::make_unique<SimBackend>(simName);
  if (!backend->ok()) return nullptr;
  return backend;
}

}  // namespace vhx
