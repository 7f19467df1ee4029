#include "runtime/device/program_hooks.h"

#include <atomic>

namespace {

ProgramHooks& Hooks() {
  static ProgramHooks hooks;
  return hooks;
}

std::atomic<bool> stopping{false};

}  // namespace

void SetProgramHooks(const ProgramHooks& hooks) { Hooks() = hooks; }
const ProgramHooks& GetProgramHooks() { return Hooks(); }

HWND ProgramMainWindow() { return Hooks().mainWindow ? Hooks().mainWindow() : nullptr; }

void PumpProgramWindows() {
  if (Hooks().pumpWindows) {
    Hooks().pumpWindows();
    return;
  }
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void CloseProgramThreadWindows() {
  if (Hooks().closeThreadWindows) Hooks().closeThreadWindows();
}

bool ReadOnboardMacros(DeviceRecord& device) {
  return Hooks().readOnboardMacros && Hooks().readOnboardMacros(device);
}

bool IsDeviceThreadStopping() { return stopping.load(); }
void SetDeviceThreadStopping(bool value) { stopping.store(value); }
