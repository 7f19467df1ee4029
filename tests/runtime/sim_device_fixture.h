#pragma once
// Simulated devices of a test's own (the simulation its VHXHID_SIM names) seen through device
// records, with the sample device folders beside the program. Header-only: shared by the
// *_sim_test files.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/vhxhid/vhxhid.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "runtime/device_folders.h"
#include "runtime/device_record.h"
#include "tests/support/scratch_dir.h"

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

// The test's simulation with no device in it, and the program's device folders read from
// beside it; null when there is no simulation.
inline VhxSim* OpenEmptySimulation() {
  if (testsupport::EnvOr("VHXHID_SIM").empty()) return nullptr;
  VhxSim* sim = VhxSimOpen(nullptr);
  if (sim && VhxSimReset(sim) != VHXSIM_OK) {
    VhxSimClose(sim);
    return nullptr;
  }
  FreeDeviceFolders();
  InitProgramFolders("\"" + testsupport::EnvOr("ORVANE_BIN") + "\\Orvane.exe\"");
  return sim;
}

// Sets the record up for the one device of the simulation as the device thread does: its
// type's report configuration, its report buffers and its two events.
inline ::testing::AssertionResult SetUpOnlyDevice(DeviceRecord& d, int productId) {
  VhxEntry entries[VHX_MAX_ENTRIES];
  int count = 0;
  if (VhxEnumerate(kVendorId, entries, &count) != 0 || count != 1)
    return ::testing::AssertionFailure() << "devices found: " << count;
  const int handle = entries[0].handle;
  if (!InitDeviceRecord(d, kVendorId, productId, VhxGetVersion(handle)))
    return ::testing::AssertionFailure() << "no report configuration";
  d.hidHandle = handle;
  if (!SetUpDeviceReports(d, VhxGetInputLength(handle), VhxGetOutputLength(handle)))
    return ::testing::AssertionFailure() << "reports not set up";
  if (VhxSetUpInterface(handle, &d.readEvent, &d.removalEvent) != 0)
    return ::testing::AssertionFailure() << "interface not set up";
  return ::testing::AssertionSuccess();
}

// Every output report written to the device since the last call, oldest first.
inline std::vector<Bytes> TakeOutputs(VhxSim* sim, int id) {
  std::vector<Bytes> all;
  std::uint8_t buffer[VHXSIM_MAX_REPORT];
  int n;
  while ((n = VhxSimTakeOutput(sim, id, buffer, sizeof buffer)) > 0)
    all.emplace_back(buffer, buffer + n);
  return all;
}

}  // namespace simtest
