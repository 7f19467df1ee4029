#pragma once
// The program's one script editor window. It belongs to the device thread: made hidden when
// the thread starts and destroyed when it stops; its keys and dialog keys go through that
// thread's message pump, which the thread's waits run.

#include <windows.h>

#include <memory>

#include "ui/script_editor/script_editor_window.h"

struct DeviceRecord;

class SystemCalls;

// Makes the window (hidden) unless it exists, asking the user and the registry through `calls`;
// false when it cannot be made. A script opened from a file has its programming window opened
// by `openProgramming` (none: the record goes once its init function has run).
bool CreateIde(SystemCalls& calls, ScriptEditorController::OpenProgrammingHook openProgramming = {});
void DestroyIde();
// The window, or null.
HWND GetIdeWindow();
ScriptEditorWindow* GetIde();
// The editor forgets the engine (the device thread is about to release it).
void ForgetIdeEngine();
// Dispatches every queued message of the calling thread through its pump, where the editor's
// keys and dialog keys (and those of the thread's other modeless windows) are handled.
void PumpModelessDialogs();
