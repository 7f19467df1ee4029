// Behaviour of simulated devices beyond plain report queues. A model sees every output report
// that the host writes and gets a chance to act before the host reads input, so that it can
// answer requests (queue replies with QueueInput) or present lever positions. Its state lives
// in Device::modelState, inside the shared block.
#include "platform/vhxhid/sim_block.h"

namespace vhx::sim {

void ModelAfterOutput(Device& device, const Report& report) {
  switch (device.spec.model) {
    case kModelPlain:
    default:
      (void)report;
      break;
  }
}

void ModelBeforeInput(Device& device) {
  switch (device.spec.model) {
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

}  // namespace vhx::sim
