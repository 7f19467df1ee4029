// Behaviour of simulated devices beyond plain report queues. A model sees every output report
// that the host writes and gets a chance to act before the host reads input, so that it can
// answer requests (queue replies with QueueInput) or present lever positions. Its state lives
// in Device::modelState, inside the shared block.
#include <algorithm>
#include <cstring>

#include "platform/vhxhid/sim_block.h"

namespace vhx::sim {

namespace {

ScriptedReplies& RepliesOf(Device& device) {
  return *reinterpret_cast<ScriptedReplies*>(device.modelState);
}

void QueueDueReplies(Device& device) {
  ScriptedReplies& r = RepliesOf(device);
  if (!r.released) return;
  if (r.delayReads > 0) {
    --r.delayReads;
    return;
  }
  const uint32_t count = std::min<uint32_t>(r.count, kMaxScriptedReplies);
  for (uint32_t i = 0; i < count; ++i)
    QueueInput(device, r.bytes + i * r.length, r.length);
  r.released = 0;
  r.count = 0;
}

// The keypad's memory protocol: output reports 2, command, then
//   0xBF start (2 bytes) end (2 bytes, exclusive): read; replies 3, n, offset (2 bytes), n bytes
//   0xBC offset (2 bytes) and four bytes: write them
//   0xBE: end of writing
constexpr uint8_t kOutputId = 2;
constexpr uint8_t kReadMemory = 0xBF;
constexpr uint8_t kWriteMemory = 0xBC;
constexpr uint8_t kEndWriting = 0xBE;
constexpr uint8_t kMemoryReply = 3;
constexpr uint32_t kMaxReplyData = 28;

KeypadMemory& MemoryOf(Device& device) { return *reinterpret_cast<KeypadMemory*>(device.modelState); }

uint32_t Word(const Report& report, int at) { return report.bytes[at] | report.bytes[at + 1] << 8; }

void KeypadOutput(Device& device, const Report& report) {
  if (report.length < 2 || report.bytes[0] != kOutputId) return;
  KeypadMemory& m = MemoryOf(device);
  switch (report.bytes[1]) {
    case kReadMemory:
      if (report.length < 6) return;
      m.readNext = Word(report, 2);
      m.readEnd = std::min<uint32_t>(Word(report, 4), kKeypadMemoryBytes);
      break;
    case kWriteMemory: {
      if (report.length < 8) return;
      const uint32_t offset = Word(report, 2);
      if (offset + 4 <= kKeypadMemoryBytes) std::memcpy(m.bytes + offset, report.bytes + 4, 4);
      ++m.writes;
      break;
    }
    case kEndWriting:
      ++m.ends;
      break;
    default:
      break;
  }
}

// One reply at a time, as the host reads them, so that a long read never overflows the queue.
// Replies are no state of the keypad: they go past QueueInput.
void QueueNextMemoryReply(Device& device) {
  KeypadMemory& m = MemoryOf(device);
  if (m.readNext >= m.readEnd || device.input.count > 0 || device.spec.inputLength <= 4) return;
  const uint32_t n = std::min({m.readEnd - m.readNext, device.spec.inputLength - 4, kMaxReplyData});
  uint8_t reply[kMaxReportBytes] = {kMemoryReply, static_cast<uint8_t>(n), static_cast<uint8_t>(m.readNext),
                                    static_cast<uint8_t>(m.readNext >> 8)};
  std::memcpy(reply + 4, m.bytes + m.readNext, n);
  PushReport(device.input, reply, device.spec.inputLength);
  m.readNext += n;
}

}  // namespace

void ModelOnAdd(Device& device) {
  switch (device.spec.model) {
    case kModelKeypad: {
      static constexpr char kSignature[] = "KN Sig";
      std::memcpy(MemoryOf(device).bytes + kKeypadSignatureAt, kSignature, sizeof kSignature - 1);
      break;
    }
    case kModelCab:
      // Every lever at 0, the current build, unit 1; nothing is reported before the host opens it.
      device.state.length = static_cast<uint16_t>(device.spec.inputLength);
      std::memset(device.state.bytes, 0, sizeof device.state.bytes);
      device.state.bytes[kCabBuildByte] = kCabBuildMark;
      if (device.spec.inputLength > kCabUnitIdByte) device.state.bytes[kCabUnitIdByte] = kCabUnitId;
      break;
    default:
      break;
  }
}

int SetHeldByte(Device& device, int index, uint8_t value) {
  if (device.spec.model != kModelCab) return kBadSpec;
  if (index < 0 || static_cast<uint32_t>(index) >= device.spec.inputLength) return kBadLength;
  // A shorter report queued by hand held only its own bytes: the rest read as 0.
  Report& state = device.state;
  const size_t length = std::min<size_t>(state.length, kMaxReportBytes);
  if (length < device.spec.inputLength) {
    std::memset(state.bytes + length, 0, device.spec.inputLength - length);
    state.length = static_cast<uint16_t>(device.spec.inputLength);
  }
  state.bytes[index] = value;
  const Report held = state;
  return QueueInput(device, held.bytes, held.length);
}

KeypadMemory* KeypadMemoryOf(Device& device) {
  return device.spec.model == kModelKeypad ? &MemoryOf(device) : nullptr;
}

void ModelAfterOutput(Device& device, const Report& report) {
  switch (device.spec.model) {
    case kModelScriptedReplies: {
      ScriptedReplies& r = RepliesOf(device);
      if (r.armed) {
        r.armed = 0;
        r.released = 1;
      }
      break;
    }
    case kModelKeypad:
      KeypadOutput(device, report);
      break;
    case kModelPlain:
    default:
      break;
  }
}

void ModelBeforeInput(Device& device) {
  switch (device.spec.model) {
    case kModelScriptedReplies:
      QueueDueReplies(device);
      break;
    case kModelKeypad:
      QueueNextMemoryReply(device);
      break;
    case kModelPlain:
    default:
      break;
  }
}

void ModelOnOpen(Device& device) {
  switch (device.spec.model) {
    case kModelKeypad:
      // A read the host left unfinished ends with its polled use.
      MemoryOf(device).readNext = MemoryOf(device).readEnd = 0;
      QueueStateOnOpen(device);
      break;
    case kModelCab:
      QueueStateOnOpen(device);
      break;
    case kModelPlain:
    default:
      break;
  }
}

int ArmScriptedReplies(Device& device, const uint8_t* reports, size_t length, size_t count,
                       uint32_t delayReads) {
  if (device.spec.model != kModelScriptedReplies) return kBadSpec;
  if (count > kMaxScriptedReplies || (count > 0 && (!reports || length < 1 ||
                                                    length > device.spec.inputLength)))
    return kBadLength;
  ScriptedReplies& r = RepliesOf(device);
  std::memset(&r, 0, sizeof r);
  if (count == 0) return kOk;
  std::memcpy(r.bytes, reports, length * count);
  r.length = static_cast<uint32_t>(length);
  r.count = static_cast<uint32_t>(count);
  r.delayReads = delayReads;
  r.armed = 1;
  return kOk;
}

}  // namespace vhx::sim
