#pragma once
// One script module per device, built from its script file, with its module libraries.

#include <cstddef>
#include <string>

#include "runtime/device/device_folders.h"

class asCDebugScriptEngine;
class asCDebugContext;
struct DeviceRecord;

// "Vid%04xPid%04xv%04xUid%04x" of the device.
std::string DeviceModuleName(const DeviceRecord& device);
// The script folder of the device whose module this is ("" for none): the base of includes.
std::string GetModuleScriptFolder(const std::string& moduleName);
// The address of a global variable of the device's module in the thread's engine, or null.
void* FindModuleGlobal(DeviceRecord& device, const std::string& name);

// Build results: 0 success, 8 the user asked for the last working script; anything else failed.
constexpr int kBuildRestoreBackup = 8;

int BuildDeviceModule(const std::string& moduleName, const char* text, std::size_t length,
                      asCDebugScriptEngine& engine);
// Loads the device's module libraries, then reads and builds its script; -1 without a file.
int LoadDeviceModuleDlls(DeviceRecord& device, asCDebugScriptEngine& engine, FilePtr script);
void ReloadDeviceScript(DeviceRecord& device, asCDebugScriptEngine& engine,
                        asCDebugContext& context);
bool RunDeviceInit(DeviceRecord& device, asCDebugScriptEngine& engine, asCDebugContext& context);
// A removed device's module goes from the engine (its libraries go with its record).
void DiscardDeviceModule(DeviceRecord& device, asCDebugScriptEngine& engine);
// The debug engine's save callback; false when nothing was saved.
bool SaveModuleScript(const char* moduleName, const char* sectionName, const char* text,
                      int length);
