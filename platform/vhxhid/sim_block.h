#pragma once
// The simulated devices as one block of plain data, shared by every process of a simulation
// (mapped from a file; see sim_connection.h). Everything here runs with the simulation's lock
// held and knows nothing of Windows, so it can be tested over an ordinary buffer.
#include <cstddef>
#include <cstdint>

namespace vhx::sim {

constexpr uint32_t kMagic = 0x53584856;  // "VHXS"
constexpr uint32_t kLayoutVersion = 6;
constexpr int kMaxDevices = 40;
constexpr int kMaxReportBytes = 128;
// Input reports a device keeps for a host that falls behind: as many as the library asks the
// platform to buffer for a real device, so that a burst test sees what a real device would.
constexpr int kInputSlots = 512;
constexpr int kOutputSlots = 64;
constexpr int kModelStateBytes = 8192;

// Results; the controller API passes them on.
enum Result : int {
  kOk = 0,
  kNoSuchDevice = -1,
  kTableFull = -2,
  kBadLength = -3,
  kBadSpec = -4,
  kWriteRefused = -5,
  kNoSwitch = -6,
};

// Device models beyond plain queues (replies to output reports and the like) plug in here.
enum Model : uint32_t {
  kModelPlain = 0,
  // Answers the next output report with replies that the controller armed beforehand.
  kModelScriptedReplies = 1,
  // Reports its state (keys, unit id) again whenever the host opens it, and keeps macros in an
  // on-board memory that the host reads and writes with output reports.
  kModelKeypad = 2,
  // A cab controller: its report is a held state of lever and switch bytes, set one byte at a
  // time, which it reports on every change and again whenever the host opens it.
  kModelCab = 3,
};

// The cab controller's report: 16 bytes, the build mark in byte 14 and the unit id in byte 15.
constexpr uint32_t kCabProductId = 0x00D2;
constexpr uint32_t kCabUsagePage = 0x000C;
constexpr uint32_t kCabMinReportBytes = 15;
constexpr uint32_t kCabReportBytes = 16;
constexpr int kCabBuildByte = 14;
constexpr uint8_t kCabBuildMark = 0xD2;
constexpr int kCabUnitIdByte = 15;
constexpr uint8_t kCabUnitId = 1;

// State of kModelScriptedReplies in Device::modelState.
constexpr int kMaxScriptedReplies = 32;
struct ScriptedReplies {
  uint32_t armed;        // the next output report releases the replies
  uint32_t released;     // an output came: queue them once delayReads host reads have passed
  uint32_t delayReads;
  uint32_t count;
  uint32_t length;       // bytes of each reply
  uint8_t bytes[kMaxScriptedReplies * kMaxReportBytes];
};
static_assert(sizeof(ScriptedReplies) <= kModelStateBytes);

// State of kModelKeypad: its on-board memory (the macro image and, beyond what a read of the
// image fetches, the signature of the memory test) and the read the host asked for.
constexpr int kKeypadMemoryBytes = 0x1020;
constexpr int kKeypadSignatureAt = 0x0FF8;
struct KeypadMemory {
  uint32_t readNext;  // the next offset to reply with, while below readEnd
  uint32_t readEnd;
  uint32_t writes;    // memory writes and ends of writing taken since the device was added
  uint32_t ends;
  uint8_t bytes[kKeypadMemoryBytes];
};
static_assert(sizeof(KeypadMemory) <= kModelStateBytes);

struct Report {
  uint16_t length;
  uint8_t bytes[kMaxReportBytes];
};

// Oldest first; when full, a new report pushes the oldest out (as a device's buffer would) and
// is counted as dropped.
template <int Slots>
struct ReportRing {
  static constexpr uint32_t kSlots = Slots;
  uint32_t head;
  uint32_t count;
  uint32_t dropped;
  Report slots[Slots];
};
using InputRing = ReportRing<kInputSlots>;
using OutputRing = ReportRing<kOutputSlots>;

struct DeviceSpec {
  uint32_t vendorId;
  uint32_t productId;
  uint32_t version;
  uint32_t usagePage;
  uint32_t usage;
  uint32_t inputLength;   // bytes, report-id byte included
  uint32_t outputLength;  // 0: the device takes no output reports
  uint32_t switchProductId;  // 0: no mode switch
  uint32_t model;
};

struct Device {
  uint32_t id;  // 0: free slot; ids are never reused within a block
  uint32_t failWrites;
  uint32_t failReads;     // the host's reads fail as on a broken interface
  int32_t setUpError;     // nonzero: the host's set-ups fail with this number
  int32_t samplingError;  // nonzero: the host's starts of sampling fail with this number
  uint32_t reserved;
  DeviceSpec spec;
  InputRing input;
  OutputRing output;
  // The last input report queued: the device's state, which it reports again when the host
  // opens it (as a keypad reports its keys and unit id when opened).
  Report state;
  // State of the device's model (for example an on-board memory image).
  alignas(8) uint8_t modelState[kModelStateBytes];
};

struct Block {
  uint32_t magic;
  uint32_t layout;
  uint32_t nextId;
  int32_t enumerateError;  // nonzero: the host's enumerations fail with this number
  Device devices[kMaxDevices];
};

void InitBlock(Block& block);
bool BlockReady(const Block& block);

DeviceSpec DefaultSpec();
// A cab controller as shipped (kModelCab).
DeviceSpec CabSpec();
// A new device's id (> 0), or kTableFull / kBadSpec.
int AddDevice(Block& block, const DeviceSpec& spec);
Device* FindDevice(Block& block, uint32_t id);
bool RemoveDevice(Block& block, uint32_t id);
// Removes every device.
void ClearDevices(Block& block);
// The device leaves and a new one with the switch product id takes its place (which can switch
// back). The new id, or kNoSuchDevice / kNoSwitch / kTableFull.
int SwitchDeviceMode(Block& block, uint32_t id);

template <int Slots>
void PushReport(ReportRing<Slots>& ring, const uint8_t* bytes, size_t length);
template <int Slots>
bool PopReport(ReportRing<Slots>& ring, Report& out);
template <int Slots>
void ClearRing(ReportRing<Slots>& ring);

// Queues an input report of 1 .. inputLength bytes (shorter ones read as zero-padded); it
// becomes the device's state.
int QueueInput(Device& device, const uint8_t* bytes, size_t length);
// Queues the device's state when nothing else is queued.
void QueueStateOnOpen(Device& device);
// Takes the oldest input report into out (outLength bytes, zero-padded); false when none.
bool TakeInput(Device& device, uint8_t* out, size_t outLength);
// A write of the device's output length from the host: recorded for the controller, then
// handed to the device's model. kWriteRefused when writes fail or the device has no output.
int WriteOutput(Device& device, const uint8_t* bytes);

// Model hooks (sim_models.cpp), called with the lock held from whichever process is acting.
// A device was added (its model state is zero).
void ModelOnAdd(Device& device);
void ModelAfterOutput(Device& device, const Report& report);
void ModelBeforeInput(Device& device);
// The host opened the device for event use.
void ModelOnOpen(Device& device);
// Arms the replies of a kModelScriptedReplies device (count 0 disarms). kBadSpec for another
// model, kBadLength for a reply length outside 1 .. inputLength or too many replies.
int ArmScriptedReplies(Device& device, const uint8_t* reports, size_t length, size_t count,
                       uint32_t delayReads);
// Sets one byte of a kModelCab device's held report and queues the report, as the controller
// reports a moved lever. kBadSpec for another model, kBadLength for an index past the report.
int SetHeldByte(Device& device, int index, uint8_t value);
// The on-board memory of a kModelKeypad device, or null for another model.
KeypadMemory* KeypadMemoryOf(Device& device);

}  // namespace vhx::sim
