#pragma once
// The macro model's services to the device runtime: a device's script regenerated from itself.

#include "macros/model/script_reader.h"

struct DeviceRecord;

// Reads the device's script into a fresh context and writes it again where that loses nothing
// a user wrote (the build cycle's regeneration leaves the device itself alone). True when the
// file was written.
bool RegenerateDeviceScript(DeviceRecord& device, DeviceEffects effects = DeviceEffects::None);
