#pragma once
// One script module per device, built from its script file, with its module libraries.

#include <cstddef>
#include <string>

#include "runtime/device/device_folders.h"

class asCDebugScriptEngine;
class asCDebugContext;
class TextOutputStream;
struct DeviceRecord;

// "Vid%04xPid%04xv%04xUid%04x" of the device.
std::string DeviceModuleName(const DeviceRecord& device);
// The script folder of the device whose module this is ("" for none): the base of includes.
std::string GetModuleScriptFolder(const std::string& moduleName);
// The address of a global variable of the device's module in the engine, or null.
void* FindModuleGlobal(DeviceRecord& device, const std::string& name, asCDebugScriptEngine& engine);

// Build results: 0 success, 8 the user asked for the last working script; anything else failed.
constexpr int kBuildRestoreBackup = 8;

int BuildDeviceModule(const std::string& moduleName, const char* text, std::size_t length,
                      asCDebugScriptEngine& engine);
// The same for any module: includes are searched from baseFolder, and the preprocessor's
// messages go to messages (null: dropped).
int BuildScriptModule(const std::string& moduleName, const char* text, std::size_t length,
                      const std::string& baseFolder, asCDebugScriptEngine& engine,
                      TextOutputStream* messages = nullptr);
// What must let go of a module before it is built again outside a device build: the periodic
// function and the cached global addresses of the device that runs it.
void ReleaseModuleUses(const std::string& moduleName, asCDebugScriptEngine& engine);
// Loads the device's module libraries, then reads and builds its script, and runs its QpadInit
// in the context (none: not run); -1 without a file.
int LoadDeviceModuleDlls(DeviceRecord& device, asCDebugScriptEngine& engine, asCDebugContext* context,
                         FilePtr script);
void ReloadDeviceScript(DeviceRecord& device, asCDebugScriptEngine& engine,
                        asCDebugContext& context);
bool RunDeviceInit(DeviceRecord& device, asCDebugScriptEngine& engine, asCDebugContext& context);
// A removed device's module goes from the engine (its libraries go with its record).
void DiscardDeviceModule(DeviceRecord& device, asCDebugScriptEngine& engine);
// The debug engine's save callback; false when nothing was saved. A device whose failed build
// took its module name is found by the name its module would have: the saved script gives the
// device its name back and is built at the thread's next round.
bool SaveModuleScript(const char* moduleName, const char* sectionName, const char* text,
                      int length);
