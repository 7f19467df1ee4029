#pragma once
// Test-only stand-in for the device thread's shared state: the request slot, the device table
// and the programming-allowed flag, set by the test.
#include "runtime/device_record.h"
#include "runtime/device_thread.h"

namespace testsupport {
void SetStandInDeviceTable(DeviceRecord* table, int count);
void SetStandInProgrammingAllowed(bool allowed);
}  // namespace testsupport
