#pragma once
// A simulated keypad of the sample LED type: 9-byte reports, unit id in byte 7, reporting its
// state (and so its unit id) whenever it is opened.
#include <cstdint>

#include "platform/vhxhid/vhxsim_control.h"

namespace testsupport {

inline int AddSimKeypad(VhxSim* sim, int unitId, int productId = 0x19) {
  VhxSimDeviceSpec spec;
  VhxSimDefaultSpec(&spec);
  spec.productId = productId;
  spec.inputLength = 9;
  spec.outputLength = 9;
  spec.model = VHXSIM_MODEL_KEYPAD;
  const int id = VhxSimAddDevice(sim, &spec);
  const std::uint8_t state[9] = {0, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(unitId), 0};
  VhxSimQueueInput(sim, id, state, 9);
  return id;
}

}  // namespace testsupport
