#pragma once
// A device record set up on a simulated device of the test's own simulation (VHXHID_SIM), as
// the device thread sets up a device it found. Header-only: shared by the *_sim tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/vhxhid/vhxhid.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "runtime/device/device_record.h"
#include "tests/support/scratch_dir.h"

// Opens the simulation with nothing but one device of `spec` attached, enumerates it and sets
// `device` up for it from its device folder (the program folders must be set), with the
// services given. Check with ASSERT_NO_FATAL_FAILURE.
inline void AttachSimulatedDevice(const VhxSimDeviceSpec& spec, VhxSim*& sim, int& id, DeviceRecord& device,
                                  DeviceRecordServices& services = NoDeviceRecordServices()) {
  ASSERT_FALSE(testsupport::EnvOr("VHXHID_SIM").empty());
  sim = VhxSimOpen(nullptr);
  ASSERT_NE(sim, nullptr);
  ASSERT_EQ(VhxSimReset(sim), VHXSIM_OK);
  id = VhxSimAddDevice(sim, &spec);
  ASSERT_GT(id, 0);
  VhxEntry entries[VHX_MAX_ENTRIES];
  int count = 0;
  ASSERT_EQ(VhxEnumerate(spec.vendorId, entries, &count), 0);
  ASSERT_EQ(count, 1);
  const int handle = entries[0].handle;
  ASSERT_TRUE(InitDeviceRecord(device, spec.vendorId, spec.productId, VhxGetVersion(handle), services));
  device.hidHandle = handle;
  ASSERT_TRUE(
      SetUpDeviceReports(device, VhxGetInputLength(handle), VhxGetOutputLength(handle)));
  ASSERT_EQ(VhxSetUpInterface(handle, &device.readEvent, &device.removalEvent), 0);
}

// Every output report the host wrote to the device since the last call, oldest first.
inline std::vector<std::vector<std::uint8_t>> TakeSimulatedOutputs(VhxSim* sim, int id) {
  std::vector<std::vector<std::uint8_t>> all;
  std::uint8_t buffer[VHXSIM_MAX_REPORT];
  int n;
  while ((n = VhxSimTakeOutput(sim, id, buffer, sizeof buffer)) > 0)
    all.emplace_back(buffer, buffer + n);
  return all;
}
