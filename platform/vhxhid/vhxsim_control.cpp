#include "platform/vhxhid/vhxsim_control.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/vhxhid/sim_connection.h"

using vhx::sim::DeviceEvent;
using vhx::sim::SimConnection;

struct VhxSim {
  explicit VhxSim(const std::string& name) : conn(name) {}
  SimConnection conn;
};

static_assert(VHXSIM_MAX_DEVICES == vhx::sim::kMaxDevices);
static_assert(VHXSIM_MAX_REPORT == vhx::sim::kMaxReportBytes);
static_assert(VHXSIM_INPUT_SLOTS == vhx::sim::kInputSlots);
static_assert(VHXSIM_OUTPUT_SLOTS == vhx::sim::kOutputSlots);
static_assert(VHXSIM_ERR_NO_DEVICE == vhx::sim::kNoSuchDevice);
static_assert(VHXSIM_ERR_TABLE_FULL == vhx::sim::kTableFull);
static_assert(VHXSIM_ERR_LENGTH == vhx::sim::kBadLength);
static_assert(VHXSIM_ERR_SPEC == vhx::sim::kBadSpec);
static_assert(VHXSIM_MODEL_SCRIPTED_REPLIES == vhx::sim::kModelScriptedReplies);
static_assert(VHXSIM_MODEL_KEYPAD == vhx::sim::kModelKeypad);
static_assert(VHXSIM_MODEL_CAB == vhx::sim::kModelCab);
static_assert(VHXSIM_CAB_MIN_REPORT == vhx::sim::kCabMinReportBytes);
static_assert(VHXSIM_CAB_BUILD_BYTE == vhx::sim::kCabBuildByte);
static_assert(VHXSIM_MEMORY_BYTES == vhx::sim::kKeypadMemoryBytes);
static_assert(VHXSIM_MEMORY_SIGNATURE == vhx::sim::kKeypadSignatureAt);

namespace {

vhx::sim::DeviceSpec ToSpec(const VhxSimDeviceSpec& s) {
  auto u = [](int v) { return static_cast<uint32_t>(v); };
  return vhx::sim::DeviceSpec{u(s.vendorId),    u(s.productId),    u(s.version),
                              u(s.usagePage),   u(s.usage),        u(s.inputLength),
                              u(s.outputLength), u(s.switchProductId), u(s.model)};
}

VhxSimDeviceSpec FromSpec(const vhx::sim::DeviceSpec& s) {
  auto i = [](uint32_t v) { return static_cast<int>(v); };
  return VhxSimDeviceSpec{i(s.vendorId),     i(s.productId),       i(s.version),
                          i(s.usagePage),    i(s.usage),           i(s.inputLength),
                          i(s.outputLength), i(s.switchProductId), i(s.model)};
}

VhxSimDeviceInfo ToInfo(const vhx::sim::Device& d) {
  VhxSimDeviceInfo info{};
  info.id = static_cast<int>(d.id);
  info.spec = FromSpec(d.spec);
  info.queuedInputs = static_cast<int>(d.input.count);
  info.queuedOutputs = static_cast<int>(d.output.count);
  info.failWrites = d.failWrites ? 1 : 0;
  info.droppedInputs = static_cast<int>(d.input.dropped);
  info.failReads = d.failReads ? 1 : 0;
  info.setUpError = d.setUpError;
  info.samplingError = d.samplingError;
  return info;
}

bool BadId(int id) { return id <= 0; }

// Runs f on the device with the lock held; VHXSIM_ERR_NO_DEVICE when there is none.
template <typename F>
int WithDevice(VhxSim* sim, int id, F&& f) {
  if (!sim || BadId(id)) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  vhx::sim::Device* d = vhx::sim::FindDevice(sim->conn.block(), id);
  if (!d) return VHXSIM_ERR_NO_DEVICE;
  return f(*d);
}

// The keypad's memory range [offset, offset + length), or an error.
int MemoryRange(vhx::sim::Device* d, int offset, int length, uint8_t*& at) {
  if (!d) return VHXSIM_ERR_NO_DEVICE;
  vhx::sim::KeypadMemory* memory = vhx::sim::KeypadMemoryOf(*d);
  if (!memory) return VHXSIM_ERR_SPEC;
  if (offset < 0 || length < 0 || offset > VHXSIM_MEMORY_BYTES - length) return VHXSIM_ERR_LENGTH;
  at = memory->bytes + offset;
  return VHXSIM_OK;
}

}  // namespace

extern "C" {

VhxSim* VhxSimOpen(const char* name) {
  std::string simName;
  if (name) {
    simName = name;
  } else {
    char value[256] = {};
    DWORD n = GetEnvironmentVariableA("VHXHID_SIM", value, sizeof value);
    if (n == 0 || n >= sizeof value) return nullptr;
    simName = value;
  }
  try {
    auto sim = std::make_unique<VhxSim>(simName);
    return sim->conn.ok() ? sim.release() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

void VhxSimClose(VhxSim* sim) { std::unique_ptr<VhxSim> owned(sim); }

void VhxSimDefaultSpec(VhxSimDeviceSpec* spec) {
  if (spec) *spec = FromSpec(vhx::sim::DefaultSpec());
}

void VhxSimCabSpec(VhxSimDeviceSpec* spec) {
  if (spec) *spec = FromSpec(vhx::sim::CabSpec());
}

int VhxSimAddDevice(VhxSim* sim, const VhxSimDeviceSpec* spec) {
  if (!sim || !spec) return VHXSIM_ERR_ARGUMENT;
  if (spec->vendorId < 0 || spec->productId < 0 || spec->inputLength < 0 ||
      spec->outputLength < 0 || spec->switchProductId < 0)
    return VHXSIM_ERR_SPEC;
  SimConnection::Lock lock(sim->conn);
  return vhx::sim::AddDevice(sim->conn.block(), ToSpec(*spec));
}

int VhxSimRemoveDevice(VhxSim* sim, int id) {
  if (!sim || BadId(id)) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  if (!vhx::sim::RemoveDevice(sim->conn.block(), id)) return VHXSIM_ERR_NO_DEVICE;
  sim->conn.SetDeviceEvent(id, DeviceEvent::kRemoval);
  sim->conn.ForgetDevice(id);
  return VHXSIM_OK;
}

int VhxSimReset(VhxSim* sim) {
  if (!sim) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  for (vhx::sim::Device& d : sim->conn.block().devices) {
    if (d.id == 0) continue;
    uint32_t id = d.id;
    d.id = 0;
    sim->conn.SetDeviceEvent(id, DeviceEvent::kRemoval);
    sim->conn.ForgetDevice(id);
  }
  // The block outlives its processes: a failure left on by an ended run must not stay.
  sim->conn.block().enumerateError = 0;
  return VHXSIM_OK;
}

int VhxSimQueueInput(VhxSim* sim, int id, const uint8_t* bytes, int length) {
  if (!sim || BadId(id) || (!bytes && length > 0) || length < 0) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  vhx::sim::Device* d = vhx::sim::FindDevice(sim->conn.block(), id);
  if (!d) return VHXSIM_ERR_NO_DEVICE;
  int result = vhx::sim::QueueInput(*d, bytes, length);
  if (result == VHXSIM_OK) sim->conn.SetDeviceEvent(id, DeviceEvent::kRead);
  return result;
}

int VhxSimTakeOutput(VhxSim* sim, int id, uint8_t* buffer, int room) {
  if (!sim || BadId(id) || !buffer || room < 0) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  vhx::sim::Device* d = vhx::sim::FindDevice(sim->conn.block(), id);
  if (!d) return VHXSIM_ERR_NO_DEVICE;
  if (d->output.count == 0) return 0;
  if (d->output.slots[d->output.head % d->output.kSlots].length > room)
    return VHXSIM_ERR_LENGTH;
  vhx::sim::Report report;
  vhx::sim::PopReport(d->output, report);
  std::copy(report.bytes, report.bytes + report.length, buffer);
  return report.length;
}

int VhxSimArmReplies(VhxSim* sim, int id, const uint8_t* reports, int length, int count,
                     int delayReads) {
  if (!sim || BadId(id) || length < 0 || count < 0 || delayReads < 0) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  vhx::sim::Device* d = vhx::sim::FindDevice(sim->conn.block(), id);
  if (!d) return VHXSIM_ERR_NO_DEVICE;
  return vhx::sim::ArmScriptedReplies(*d, reports, static_cast<size_t>(length),
                                      static_cast<size_t>(count),
                                      static_cast<uint32_t>(delayReads));
}

int VhxSimReadMemory(VhxSim* sim, int id, int offset, uint8_t* buffer, int length) {
  if (!sim || BadId(id) || (!buffer && length > 0)) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  uint8_t* at = nullptr;
  const int result = MemoryRange(vhx::sim::FindDevice(sim->conn.block(), id), offset, length, at);
  if (result == VHXSIM_OK) std::copy(at, at + length, buffer);
  return result;
}

int VhxSimWriteMemory(VhxSim* sim, int id, int offset, const uint8_t* bytes, int length) {
  if (!sim || BadId(id) || (!bytes && length > 0)) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  uint8_t* at = nullptr;
  const int result = MemoryRange(vhx::sim::FindDevice(sim->conn.block(), id), offset, length, at);
  if (result == VHXSIM_OK) std::copy(bytes, bytes + length, at);
  return result;
}

int VhxSimMemoryCounts(VhxSim* sim, int id, int* writes, int* ends) {
  if (!sim || BadId(id)) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  vhx::sim::Device* d = vhx::sim::FindDevice(sim->conn.block(), id);
  if (!d) return VHXSIM_ERR_NO_DEVICE;
  vhx::sim::KeypadMemory* memory = vhx::sim::KeypadMemoryOf(*d);
  if (!memory) return VHXSIM_ERR_SPEC;
  if (writes) *writes = static_cast<int>(memory->writes);
  if (ends) *ends = static_cast<int>(memory->ends);
  return VHXSIM_OK;
}

int VhxSimSetFailWrites(VhxSim* sim, int id, int on) {
  if (!sim || BadId(id)) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  vhx::sim::Device* d = vhx::sim::FindDevice(sim->conn.block(), id);
  if (!d) return VHXSIM_ERR_NO_DEVICE;
  d->failWrites = on ? 1 : 0;
  return VHXSIM_OK;
}

int VhxSimSetFailReads(VhxSim* sim, int id, int on) {
  return WithDevice(sim, id, [&](vhx::sim::Device& d) {
    d.failReads = on ? 1 : 0;
    // Reports that came while reads failed are there to read again.
    if (!on && d.input.count > 0) sim->conn.SetDeviceEvent(d.id, DeviceEvent::kRead);
    return VHXSIM_OK;
  });
}

int VhxSimSetEnumerateError(VhxSim* sim, int error) {
  if (!sim || error < 0) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  sim->conn.block().enumerateError = error;
  return VHXSIM_OK;
}

int VhxSimGetEnumerateError(VhxSim* sim) {
  if (!sim) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  return sim->conn.block().enumerateError;
}

int VhxSimSetSetUpError(VhxSim* sim, int id, int error) {
  if (error < 0) return VHXSIM_ERR_ARGUMENT;
  return WithDevice(sim, id, [&](vhx::sim::Device& d) {
    d.setUpError = error;
    return VHXSIM_OK;
  });
}

int VhxSimSetSamplingError(VhxSim* sim, int id, int error) {
  if (error < 0) return VHXSIM_ERR_ARGUMENT;
  return WithDevice(sim, id, [&](vhx::sim::Device& d) {
    d.samplingError = error;
    return VHXSIM_OK;
  });
}

int VhxSimSetReportByte(VhxSim* sim, int id, int index, int value) {
  if (value < 0 || value > 0xFF) return VHXSIM_ERR_ARGUMENT;
  return WithDevice(sim, id, [&](vhx::sim::Device& d) {
    const int result = vhx::sim::SetHeldByte(d, index, static_cast<uint8_t>(value));
    if (result == VHXSIM_OK) sim->conn.SetDeviceEvent(d.id, DeviceEvent::kRead);
    return result;
  });
}

int VhxSimGetHeldReport(VhxSim* sim, int id, uint8_t* buffer, int room) {
  if (!buffer || room < 0) return VHXSIM_ERR_ARGUMENT;
  return WithDevice(sim, id, [&](vhx::sim::Device& d) {
    const int length = std::min<int>(d.state.length, VHXSIM_MAX_REPORT);
    if (length > room) return VHXSIM_ERR_LENGTH;
    std::copy(d.state.bytes, d.state.bytes + length, buffer);
    return length;
  });
}

int VhxSimListDevices(VhxSim* sim, VhxSimDeviceInfo* out, int room) {
  if (!sim || (!out && room > 0)) return VHXSIM_ERR_ARGUMENT;
  std::vector<VhxSimDeviceInfo> all;
  {
    SimConnection::Lock lock(sim->conn);
    for (const vhx::sim::Device& d : sim->conn.block().devices)
      if (d.id != 0) all.push_back(ToInfo(d));
  }
  std::sort(all.begin(), all.end(),
            [](const VhxSimDeviceInfo& a, const VhxSimDeviceInfo& b) { return a.id < b.id; });
  for (int i = 0; i < room && i < static_cast<int>(all.size()); ++i) out[i] = all[i];
  return static_cast<int>(all.size());
}

int VhxSimGetDevice(VhxSim* sim, int id, VhxSimDeviceInfo* out) {
  if (!sim || BadId(id) || !out) return VHXSIM_ERR_ARGUMENT;
  SimConnection::Lock lock(sim->conn);
  vhx::sim::Device* d = vhx::sim::FindDevice(sim->conn.block(), id);
  if (!d) return VHXSIM_ERR_NO_DEVICE;
  *out = ToInfo(*d);
  return VHXSIM_OK;
}

}  // extern "C"
