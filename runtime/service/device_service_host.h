#pragma once
// What the device service asks of the program it runs in: the dialogs and the pump of its
// thread, the programming windows, the script functions' side of the program, and what follows
// here. The program gives its own at construction; a program without windows (a test) keeps
// each as it is, which shows and asks nothing.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/device/device_identification.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/functions/script_platform.h"

class asCDebugScriptEngine;
class asCDebugContext;
class ScriptRegistrar;
struct DeviceRecord;

// The build callback an engine is made with (the script debugger's; none: builds go straight to
// the library).
using DeviceBuildCallback = int (*)(asCDebugScriptEngine*, asCDebugContext*, const char*);

class DeviceServiceHost : public IdentificationDialogs, public ProgrammingWindows, public ScriptProgram {
 public:
  // The thread's life, for the windows it owns (the script editor): it has started (on the
  // thread); its engine is about to go (every pointer into it must be forgotten); it is ending
  // (the windows of the layers above that it opened go, before the engine).
  virtual void ThreadStarted() {}
  virtual void EngineReleasing() {}
  virtual void ThreadEnding() {}

  // Asked for each new engine: its build callback, and registrations after the program's own
  // (a host's or a test's).
  virtual DeviceBuildCallback BuildCallback() { return nullptr; }
  virtual void RegisterMoreScriptFunctions(ScriptRegistrar&) {}

  // The script loader's questions: the index of the device chosen among the labels, or -1 for
  // Cancel; the script file to load, browsing from folder, or none for Cancel.
  virtual int ChooseScriptDevice(HWND /*owner*/, const std::vector<std::string>& /*labels*/) { return -1; }
  virtual std::optional<std::string> ChooseScriptFile(HWND /*owner*/, const std::string& /*folder*/) {
    return std::nullopt;
  }

  // Request 2: reads the device's on-board macro memory into its record (with the progress
  // dialog); false when that failed or was not done.
  virtual bool ReadOnboardMacros(DeviceRecord&) { return false; }
  // Rewrites the device's script file from its layout (the macro model's).
  virtual void RegenerateDeviceScript(DeviceRecord&) {}
};
