#pragma once
// The dialogs the device thread shows for the program: "press a key" while a device is
// identified, "Duplicate Unit ID", the script loader's device and file choice, and the progress
// of an on-board read. They are shown on the device thread (modally, or modeless and pumped by
// its waits), owned by the program's main window (MainWindow: none here, the program's own host
// gives it).

#include <optional>
#include <string>
#include <vector>

#include "runtime/service/device_service_host.h"

class SystemCalls;

class ProgramDialogs : public DeviceServiceHost {
 public:
  explicit ProgramDialogs(SystemCalls& calls) : calls_(calls) {}

  HWND OpenPressKeyDialog(bool blinking) override;
  void ShowDuplicateUnitId() override;
  int ChooseScriptDevice(HWND owner, const std::vector<std::string>& labels) override;
  std::optional<std::string> ChooseScriptFile(HWND owner, const std::string& folder) override;
  bool ReadOnboardMacros(DeviceRecord& device) override;

 protected:
  SystemCalls& Calls() { return calls_; }

 private:
  SystemCalls& calls_;
};
