#pragma once
// The device service thread: it owns the devices, the script engine and every script call.
// The GUI thread reaches it only through the request slot and the device table (read).

#include <windows.h>

#include <atomic>

#include "runtime/device_table.h"

// Starts the thread (stack 10240 bytes); null when it could not be created.
HANDLE StartDeviceThread(HWND mainDialog, bool programmingAllowed);
// Asks the thread to end and waits for it, for a bounded time; false when it has not ended
// (it is stuck in a modal wait): the process must then not run its exit code under it.
bool StopDeviceThread();
// Dispatches the messages of the windows of the calling thread (the device thread's dialogs).
void PumpModelessDialogs();
// True once the thread has been asked to end (long waits on the thread give up then).
bool IsDeviceThreadStopping();

class asCDebugScriptEngine;
class asCDebugContext;
class ScriptRegistrar;

// The build callback every engine of the thread is made with (the script debugger's; none:
// builds go straight to the library). Takes effect at the next build cycle.
using DeviceBuildCallback = int (*)(asCDebugScriptEngine*, asCDebugContext*, const char*);
void SetDeviceBuildCallback(DeviceBuildCallback callback);
// Further registrations on every new engine, after the program's own (a host's or a test's).
void SetExtraScriptRegistration(void (*registration)(ScriptRegistrar&));
// The thread's engine and its one context (null while none is built).
asCDebugScriptEngine* GetDeviceScriptEngine();
asCDebugContext* GetDeviceScriptContext();
