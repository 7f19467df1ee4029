#include "platform/vhxhid/sim_block.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vhx::sim {

void InitBlock(Block& block) {
  std::memset(&block, 0, sizeof block);
  block.magic = kMagic;
  block.layout = kLayoutVersion;
  block.nextId = 1;
}

bool BlockReady(const Block& block) {
  return block.magic == kMagic && block.layout == kLayoutVersion && block.nextId > 0;
}

DeviceSpec DefaultSpec() {
  DeviceSpec spec{};
  spec.vendorId = 0x0A7C;
  spec.productId = 0x19;
  spec.version = 0x0100;
  spec.usagePage = 12;
  spec.usage = 1;
  spec.inputLength = 9;
  spec.outputLength = 9;
  return spec;
}

DeviceSpec CabSpec() {
  DeviceSpec spec = DefaultSpec();
  spec.productId = kCabProductId;
  spec.usagePage = kCabUsagePage;
  spec.inputLength = kCabReportBytes;
  spec.outputLength = 3;  // the unit id is set with a 3-byte report
  spec.model = kModelCab;
  return spec;
}

int AddDevice(Block& block, const DeviceSpec& spec) {
  if (spec.inputLength < 1 || spec.inputLength > kMaxReportBytes ||
      spec.outputLength > kMaxReportBytes || spec.vendorId > 0xFFFF ||
      spec.productId > 0xFFFF || spec.switchProductId > 0xFFFF)
    return kBadSpec;
  // The cab controller's levers and switches reach up to its build byte.
  if (spec.model == kModelCab && spec.inputLength < kCabMinReportBytes) return kBadSpec;
  for (Device& device : block.devices) {
    if (device.id != 0) continue;
    std::memset(&device, 0, sizeof device);
    device.id = block.nextId++;
    device.spec = spec;
    ModelOnAdd(device);
    return static_cast<int>(device.id);
  }
  return kTableFull;
}

Device* FindDevice(Block& block, uint32_t id) {
  if (id == 0) return nullptr;
  for (Device& device : block.devices)
    if (device.id == id) return &device;
  return nullptr;
}

bool RemoveDevice(Block& block, uint32_t id) {
  Device* device = FindDevice(block, id);
  if (!device) return false;
  device->id = 0;
  return true;
}

void ClearDevices(Block& block) {
  for (Device& device : block.devices) device.id = 0;
}

int SwitchDeviceMode(Block& block, uint32_t id) {
  Device* device = FindDevice(block, id);
  if (!device) return kNoSuchDevice;
  if (device->spec.switchProductId == 0) return kNoSwitch;
  DeviceSpec spec = device->spec;
  std::swap(spec.productId, spec.switchProductId);
  // The same keypad comes back: its memory goes along (the slot may be the one it takes).
  const std::vector<uint8_t> modelState(device->modelState, device->modelState + kModelStateBytes);
  device->id = 0;  // its slot is free for the returning device
  int newId = AddDevice(block, spec);
  if (newId < 0) {
    device->id = id;
    return newId;
  }
  std::memcpy(FindDevice(block, static_cast<uint32_t>(newId))->modelState, modelState.data(), kModelStateBytes);
  return newId;
}

template <int Slots>
void PushReport(ReportRing<Slots>& ring, const uint8_t* bytes, size_t length) {
  length = std::min<size_t>(length, kMaxReportBytes);
  if (ring.count == ring.kSlots) {
    ring.head = (ring.head + 1) % ring.kSlots;
    --ring.count;
    ++ring.dropped;
  }
  Report& slot = ring.slots[(ring.head + ring.count) % ring.kSlots];
  slot.length = static_cast<uint16_t>(length);
  std::memcpy(slot.bytes, bytes, length);
  ++ring.count;
}

template <int Slots>
bool PopReport(ReportRing<Slots>& ring, Report& out) {
  if (ring.count == 0 || ring.head >= ring.kSlots || ring.count > ring.kSlots) {
    ring.head = ring.count = 0;
    return false;
  }
  out = ring.slots[ring.head];
  out.length = std::min<uint16_t>(out.length, kMaxReportBytes);
  ring.head = (ring.head + 1) % ring.kSlots;
  --ring.count;
  return true;
}

template <int Slots>
void ClearRing(ReportRing<Slots>& ring) {
  ring.head = 0;
  ring.count = 0;
}

template void PushReport(InputRing&, const uint8_t*, size_t);
template void PushReport(OutputRing&, const uint8_t*, size_t);
template bool PopReport(InputRing&, Report&);
template bool PopReport(OutputRing&, Report&);
template void ClearRing(InputRing&);
template void ClearRing(OutputRing&);

int QueueInput(Device& device, const uint8_t* bytes, size_t length) {
  if (length < 1 || length > device.spec.inputLength) return kBadLength;
  PushReport(device.input, bytes, length);
  device.state.length = static_cast<uint16_t>(length);
  std::memcpy(device.state.bytes, bytes, length);
  return kOk;
}

void QueueStateOnOpen(Device& device) {
  if (device.input.count == 0 && device.state.length > 0)
    PushReport(device.input, device.state.bytes, device.state.length);
}

bool TakeInput(Device& device, uint8_t* out, size_t outLength) {
  ModelBeforeInput(device);
  Report report;
  if (!PopReport(device.input, report)) return false;
  size_t n = std::min<size_t>(report.length, outLength);
  std::memcpy(out, report.bytes, n);
  std::memset(out + n, 0, outLength - n);
  return true;
}

int WriteOutput(Device& device, const uint8_t* bytes) {
  if (device.failWrites || device.spec.outputLength == 0) return kWriteRefused;
  Report report;
  report.length = static_cast<uint16_t>(device.spec.outputLength);
  std::memcpy(report.bytes, bytes, report.length);
  PushReport(device.output, report.bytes, report.length);
  ModelAfterOutput(device, report);
  return kOk;
}

}  // namespace vhx::sim
