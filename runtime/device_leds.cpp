#include "runtime/device_leds.h"

#include <cstdint>

#include "runtime/device_record.h"
#include "runtime/script_engine_lock.h"

namespace {

std::uint8_t* QpadLeds(DeviceRecord& device) {
  const auto find = GetDeviceRecordServices().findModuleGlobal;
  return find ? static_cast<std::uint8_t*>(find(device, "QpadLEDs")) : nullptr;
}

bool HasOutput(const DeviceRecord& device, const char* name) {
  for (const OutputConfig& o : device.outputs)
    if (o.name == name) return true;
  return false;
}

}  // namespace

void SetLayerLed(bool red, DeviceRecord& device) {
  ScriptEngineGuard lock;
  if (red == device.redLayer) return;
  if (!device.setUp) {
    device.redLayer = red;
    return;
  }
  if (!HasOutput(device, "setLEDs")) return;
  std::uint8_t* leds = QpadLeds(device);
  if (!leds) return;
  const std::uint8_t others = *leds & ~device.greenLedMask & ~device.redLedMask;
  *leds = static_cast<std::uint8_t>((red ? device.redLedMask : device.greenLedMask) | others);
  WriteOutputReport("setLEDs", device);
  device.redLayer = red;
}

void SetDeviceBacklights(bool on, DeviceRecord& device) {
  ScriptEngineGuard lock;
  device.backlightStateKnown = true;
  const char* name = on ? "setBacklightsOn" : "setBacklightsOff";
  if (!HasOutput(device, name)) return;
  std::uint8_t* leds = QpadLeds(device);
  if (!leds) return;
  *leds = static_cast<std::uint8_t>((on ? device.backlightMask : 0) |
                                    (*leds & ~device.backlightMask));
  // A record without report buffers (a script opened from a file) has nothing to write to.
  if (device.setUp) WriteOutputReport(name, device);
  device.backlightsOn = on;
}
