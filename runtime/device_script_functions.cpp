#include "runtime/device_script_functions.h"

#include "runtime/device_record.h"
#include "runtime/device_table.h"

// Auto-repeat, the memory test, the backlight and layer outputs and the periodic function
// need the input dispatch, the on-board memory exchange and the LED outputs; until those are
// in, these do nothing (the memory test reports a failure).
void AutoRepeatThisKey(unsigned, unsigned) {}
int ExecuteMemoryTest() { return -1; }
void SetBacklights(bool) {}
void ToggleBacklights() {}
void SetQpadLayer(bool) {}
void RepeatFunction(const std::string&, int) {}

void EnableProgramming(unsigned enable) {
  if (DeviceRecord* device = GetCurrentDevice()) device->programmingAllowed = enable != 0;
}

void RequestProgrammingMode() {
  if (DeviceRecord* device = GetCurrentDevice()) {
    device->programmingRequested = true;
    WakeDeviceThread(*device);
  }
}
