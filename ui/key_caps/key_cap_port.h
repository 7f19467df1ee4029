#pragma once
// The key caps' commands and dialogs on an attached device and its programming window: the
// device's reports and disabled keys, the view's pictures, the script file, the questions and
// the dialogs.

#include <windows.h>

#include <vector>

#include "ui/key_caps/key_cap_commands.h"
#include "ui/key_caps/key_cap_dialogs.h"

class SystemCalls;
struct DeviceRecord;
struct MacroContext;

// The record of the device table whose macro context it is; null when there is none.
DeviceRecord* DeviceRecordOf(const MacroContext& context);

// At most this many waiting reports are discarded at once.
inline constexpr int kMaxFlushReads = 1001;

// Discards the device's waiting reports unseen and gives the keys held down now as the device
// sends them (a disabled key too), ascending. The reports then start again from that state, so
// that no change read here reaches anyone later.
std::vector<int> FlushDeviceReports(DeviceRecord& device);

class DeviceKeyCapPort : public KeyCapCommandPort {
 public:
  // A record of the device table is found again for each use, so that it is gone once its
  // programming ends or the device goes; one outside the table is used as given. A null window:
  // nothing is redrawn, and boxes have no owner. Questions and the dialogs go through `calls`;
  // the dialogs and the editor's cancel go to keyCapWindow.
  DeviceKeyCapPort(SystemCalls& calls, MacroContext& context, DeviceRecord* device, HWND window,
                   KeyCapWindow& keyCapWindow);

  // The record now; null when it is gone.
  DeviceRecord* Device() const;
  HWND Window() const { return window_; }
  MacroContext& Context() const { return context_; }

  std::shared_ptr<ViewImage> CapImage(const std::string& name) override;
  std::shared_ptr<ViewImage> SpacerImage() override;
  void SetKeyEnabled(int keyId, bool enabled) override;
  void Redraw() override;
  void WriteScript() override;
  void CancelEditor() override;
  bool Ask(KeyCapQuestion question) override;
  std::vector<int> FlushHeldKeys() override;
  void OpenDetectionDialog() override;
  void OpenRemovalDialog() override;

 private:
  SystemCalls& calls_;
  MacroContext& context_;
  DeviceRecord* given_;
  bool inTable_;
  HWND window_;
  KeyCapWindow& keyCapWindow_;
};
