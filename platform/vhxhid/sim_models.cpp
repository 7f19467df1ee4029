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

}  // namespace

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
    case kModelPlain:
    default:
      break;
  }
  (void)report;
}

void ModelBeforeInput(Device& device) {
  switch (device.spec.model) {
    case kModelScriptedReplies:
      QueueDueReplies(device);
      break;
    case kModelPlain:
    default:
      break;
  }
}

void ModelOnOpen(Device& device) {
  switch (device.spec.model) {
    case kModelKeypad:
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
