#pragma once
// Simulated devices for tests: any device type's, and a keypad of the sample LED type (9-byte
// reports, unit id in byte 7) reporting its state (and so its unit id) whenever it is opened.
#include <cstdint>

#include "platform/vhxhid/vhxsim_control.h"

namespace testsupport {

// A simulated device of the vendor's with that product id, input length and model; its id.
inline int AddSimDevice(VhxSim* sim, int productId, int inputLength, int model) {
  VhxSimDeviceSpec spec;
  VhxSimDefaultSpec(&spec);
  spec.productId = productId;
  spec.inputLength = inputLength;
  spec.model = model;
  return VhxSimAddDevice(sim, &spec);
}

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

// A script for that type whose every key press writes "setID" with 200: whether the script ran
// shows in the keypad's output reports.
constexpr char kKeyPressScript[] =
    "uint8 QpadUnitId = 1;\r\n"
    "void QpadInit() {}\r\n"
    "void KeyDown(int scanCode) { QpadUnitId = 200; SendOutputReport(\"setID\"); }\r\n"
    "void KeyUp(int scanCode) {}\r\n";
constexpr char kKeyPressScriptRan[] = "02c2c8000000000000";

}  // namespace testsupport
