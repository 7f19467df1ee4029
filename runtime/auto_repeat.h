#pragma once
// The auto-repeat of a held key and what the input dispatch tells it about the call under
// way. Device thread only.

#include <cstdint>

struct DeviceRecord;
struct InputConfig;
struct InputField;

struct AutoRepeatState {
  DeviceRecord* device = nullptr;  // null: no key repeats
  InputConfig* input = nullptr;    // its dueTick and repeatInterval time the repeats
  int keyByte = 0;                 // byte of the key within its field
  int fieldPosition = 0;           // the field's first byte in the report
  int fieldCount = 0;              // and its byte count
  std::uint8_t keyMask = 0;
};

const AutoRepeatState& GetAutoRepeat();
void CancelAutoRepeat();
// The report byte of the repeating key, or -1 when none repeats.
int AutoRepeatReportByte();

// Set by the input dispatch around every input function it runs: the entry that made the call
// and the "scanCodeDown" field that reported a press in it (null when none).
void SetDispatchCall(InputConfig* lastInput, InputField* pressField);
InputConfig* GetLastInput();
InputField* GetPressField();

// Repeats the key that the call under way reports as pressed on `device`: the first repeat
// initialDelay ms after now, then every repeatDelay ms. False, and nothing changes, when no
// "scanCodeDown" field reported a key in this call.
bool StartAutoRepeat(DeviceRecord& device, std::uint32_t initialDelay, std::uint32_t repeatDelay,
                     std::uint32_t now);
