#pragma once
// The device service thread: it owns the devices, the script engine and every script call.
// The GUI thread reaches it only through the request slot and the device table (read).

#include <windows.h>

#include <atomic>

#include "runtime/device_table.h"

// Starts the thread (stack 10240 bytes); null when it could not be created.
HANDLE StartDeviceThread(HWND mainDialog, bool programmingAllowed);
// Asks the thread to end and waits for it, for a bounded time.
void StopDeviceThread();
// True once the thread has been asked to end (long waits on the thread give up then).
bool IsDeviceThreadStopping();

class ScriptRegistrar;
// Registrations made on every new engine after the program's own (for tests); null for none.
void SetExtraScriptRegistration(void (*registration)(ScriptRegistrar& registrar));

class asCDebugScriptEngine;
class asCDebugContext;
// The thread's engine and its one context (null while none is built).
asCDebugScriptEngine* GetDeviceScriptEngine();
asCDebugContext* GetDeviceScriptContext();
