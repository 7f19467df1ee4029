#include "runtime/auto_repeat.h"

#include "runtime/report_config.h"

namespace {

struct DispatchCall {
  InputConfig* lastInput = nullptr;
  InputField* pressField = nullptr;
};

AutoRepeatState& Repeat() {
  static AutoRepeatState state;
  return state;
}

DispatchCall& Call() {
  static DispatchCall call;
  return call;
}

}  // namespace

const AutoRepeatState& GetAutoRepeat() { return Repeat(); }
void CancelAutoRepeat() { Repeat() = AutoRepeatState{}; }

int AutoRepeatReportByte() {
  const AutoRepeatState& r = Repeat();
  return r.device ? r.fieldPosition + r.keyByte : -1;
}

void SetDispatchCall(InputConfig* lastInput, InputField* pressField) {
  Call() = DispatchCall{lastInput, pressField};
}
InputConfig* GetLastInput() { return Call().lastInput; }
InputField* GetPressField() { return Call().pressField; }

bool StartAutoRepeat(DeviceRecord& device, std::uint32_t initialDelay, std::uint32_t repeatDelay,
                     std::uint32_t now) {
  const DispatchCall& call = Call();
  if (!call.pressField || !call.lastInput) return false;
  const InputField& field = *call.pressField;
  // The walk has stepped past the key it reported: one bit back, or the last bit of the byte
  // before.
  int keyByte = field.cursor;
  std::uint8_t mask = static_cast<std::uint8_t>(field.bitMask >> 1);
  if (mask == 0) {
    mask = 0x80;
    keyByte = field.cursor - 1;
  }
  if (keyByte < 0) return false;
  AutoRepeatState& r = Repeat();
  r.device = &device;
  r.input = call.lastInput;
  r.keyByte = keyByte;
  r.fieldPosition = field.position;
  r.fieldCount = field.count;
  r.keyMask = mask;
  r.input->period = 0;
  r.input->dueTick = now + initialDelay;
  r.input->repeatInterval = static_cast<int>(repeatDelay);
  return true;
}
