#include "macros/macro_services.h"

#include <memory>

#include "macros/device_macro_device.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_lifecycle.h"

bool RegenerateDeviceScript(DeviceRecord& device, DeviceEffects effects) {
  DeviceRecordMacroDevice macroDevice(device);
  auto context = std::make_unique<MacroContext>();
  context->device = &macroDevice;
  const bool written = RegenerateScript(*context, effects);
  CloseMacroContext(std::move(context), true);
  return written;
}
