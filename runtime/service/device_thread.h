#pragma once
// The device service thread: it owns the devices, the script engine and every script call.
// The GUI thread reaches it only through the request slot and the device table (read). The
// program makes the service with what the thread asks of it (its host), the platform and the
// host process that runs it, if any; one service runs at a time, for the device table is the
// program's one.

#include <windows.h>

#include <memory>

#include "platform/base/unique_handle.h"
#include "runtime/device/device_table.h"
#include "runtime/device/host_interface.h"
#include "runtime/service/device_service_host.h"

class SystemCalls;
class asCDebugScriptEngine;
class asCDebugContext;

class DeviceService {
 public:
  DeviceService(DeviceServiceHost& host, SystemCalls& calls, HostProcess& hostProcess = NoHostProcess());
  // Stops the thread; one stuck in a modal wait keeps what it uses, to the end of the process.
  ~DeviceService();
  DeviceService(const DeviceService&) = delete;
  DeviceService& operator=(const DeviceService&) = delete;

  // Starts the thread (stack 10240 bytes); its handle, empty when it could not be created or
  // another service runs.
  UniqueHandle Start(HWND mainDialog, bool programmingAllowed);
  // Asks the thread to end and waits for it, for a bounded time; false when it has not ended
  // (it is stuck in a modal wait): the process must then not run its exit code under it.
  bool Stop();

 private:
  class Thread;
  friend asCDebugScriptEngine* GetDeviceScriptEngine();
  friend asCDebugContext* GetDeviceScriptContext();
  std::unique_ptr<Thread> thread_;
};

// The engine of the service that runs and its one context (null while none runs or none is
// built), for the windows the thread owns.
asCDebugScriptEngine* GetDeviceScriptEngine();
asCDebugContext* GetDeviceScriptContext();
