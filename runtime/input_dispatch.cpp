#include "runtime/input_dispatch.h"

#include "runtime/device_record.h"

AutoRepeatState& GetAutoRepeat() {
  static AutoRepeatState state;
  return state;
}

void CancelAutoRepeat() { GetAutoRepeat() = AutoRepeatState{}; }

void StartAutoRepeat(int, int) {}

void DispatchInputReport(DeviceRecord& device) { device.previousReport = device.currentReport; }

void RunPeriodicInputs(DeviceRecord&, InputConfig& input) { input.dueTick += input.period; }

bool CheckProgrammingSwitch(DeviceRecord&) { return false; }
