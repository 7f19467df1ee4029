#pragma once
// The device service thread: it owns the devices, the script engine and every script call.
// The GUI thread reaches it only through the request slot and the device table (read).

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/base/unique_handle.h"
#include "runtime/device/device_table.h"
#include "runtime/device/program_hooks.h"

// Starts the thread (stack 10240 bytes); its handle, empty when it could not be created.
UniqueHandle StartDeviceThread(HWND mainDialog, bool programmingAllowed);
// Asks the thread to end and waits for it, for a bounded time; false when it has not ended
// (it is stuck in a modal wait): the process must then not run its exit code under it.
bool StopDeviceThread();

class asCDebugScriptEngine;
class asCDebugContext;
class ScriptRegistrar;

// The build callback every engine of the thread is made with (the script debugger's; none:
// builds go straight to the library). Takes effect at the next build cycle.
using DeviceBuildCallback = int (*)(asCDebugScriptEngine*, asCDebugContext*, const char*);
void SetDeviceBuildCallback(DeviceBuildCallback callback);
// What the windows the thread owns (the script editor) learn of its life: it has started (on
// the thread), its engine is about to go (every pointer into it must be forgotten), and it is
// ending (its windows go, before the engine). Each may be left null.
struct DeviceThreadHooks {
  void (*started)() = nullptr;
  void (*engineReleasing)() = nullptr;
  void (*ending)() = nullptr;
};
void SetDeviceThreadHooks(const DeviceThreadHooks& hooks);
// Further registrations on every new engine, after the program's own (a host's or a test's).
void SetExtraScriptRegistration(void (*registration)(ScriptRegistrar&));
// The thread's engine and its one context (null while none is built).
asCDebugScriptEngine* GetDeviceScriptEngine();
asCDebugContext* GetDeviceScriptContext();

// The script loader's questions (the program's dialogs; null: the loader does nothing).
struct ScriptLoaderHooks {
  // The index of the device chosen among the labels, or -1 for Cancel.
  int (*chooseDevice)(HWND owner, const std::vector<std::string>& labels) = nullptr;
  // The script file to load, browsing from folder; false for Cancel.
  bool (*chooseScript)(HWND owner, const std::string& folder, std::string& file) = nullptr;
};
void SetScriptLoaderHooks(const ScriptLoaderHooks& hooks);
