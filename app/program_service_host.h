#pragma once
// The program's side of the device thread: the main dialog, the thread's pump with the keyboard
// handling of its modeless dialogs, the script editor and debugger that live on the thread, the
// programming windows, the regeneration of device scripts and the desktop setup wizard, on top
// of the program's dialogs.

#include "app/dialogs/program_dialogs.h"

class ProgramFeatures;

class ProgramServiceHost : public ProgramDialogs {
 public:
  // The programming windows are opened with the features (which outlive the host).
  ProgramServiceHost(SystemCalls& calls, ProgramFeatures& features) : ProgramDialogs(calls), features_(features) {}

  HWND MainWindow() override;
  void PumpWindows() override;
  void ThreadStarted() override;
  void EngineReleasing() override;
  void ThreadEnding() override;
  DeviceBuildCallback BuildCallback() override;

  HWND OpenProgrammingWindow(DeviceRecord& device) override;
  void ProgrammingKey(DeviceRecord& device, int keyCode, bool pressed) override;
  void RevealProgrammingWindow(DeviceRecord& device) override;

  void RegenerateDeviceScript(DeviceRecord& device) override;
  void RunDesktopWizard() override;

 private:
  ProgramFeatures& features_;
};
