#pragma once
// A simulated keypad of the sample type with its on-board memory, set up as the device thread
// sets a device up, for the on-board memory tests. Header-only.

#include <gtest/gtest.h>

#include <cstdint>

#include "runtime/device/device_folders.h"
#include "tests/runtime/device/sim_device.h"
#include "tests/support/scratch_dir.h"

namespace testsupport {

// Reports of the sample keypad (9 bytes): its programming switch is bit 0x10 of byte 4.
inline constexpr std::uint8_t kSwitchOnReport[9] = {0, 0, 0, 0, 0x10, 0, 0, 5, 0};
inline constexpr std::uint8_t kSwitchOffReport[9] = {0, 0, 0, 0, 0, 0, 0, 5, 0};

// With the sample device folders; check with ASSERT_NO_FATAL_FAILURE.
inline void AttachOnboardKeypad(VhxSim*& sim, int& id, DeviceRecord& device) {
  FreeDeviceFolders();
  InitProgramFolders("\"" + EnvOr("ORVANE_BIN") + "\\Orvane.exe\"");
  VhxSimDeviceSpec spec;
  VhxSimDefaultSpec(&spec);
  spec.model = VHXSIM_MODEL_KEYPAD;
  ASSERT_NO_FATAL_FAILURE(AttachSimulatedDevice(spec, sim, id, device));
}

}  // namespace testsupport
