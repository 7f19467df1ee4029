#include "macros/onboard_memory_dialogs.h"

#include <windows.h>
#include <commctrl.h>

#include "macros/device_record_source.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/onboard_memory_ids.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/controls.h"
#include "platform/wingui/dialog.h"
#include "platform/wingui/message_pump.h"

class OnboardMemoryDialogs::ProgressDialog : public wingui::Dialog {
 public:
  ProgressDialog() : Dialog(IDD_ONBOARD_PROGRESS) {}
};

class OnboardMemoryDialogs::SwitchPrompt : public wingui::Dialog {
 public:
  SwitchPrompt() : Dialog(IDD_MOVE_SWITCH) {}
  bool cancelled = false;

 protected:
  // Cancel only says so: the wait that shows the prompt closes it.
  bool OnCommand(int id, int, HWND) override {
    if (id == IDCANCEL) cancelled = true;
    return true;
  }
};

OnboardMemoryDialogs::OnboardMemoryDialogs(SystemCalls& calls, HWND owner) : calls_(calls), owner_(owner) {}
OnboardMemoryDialogs::~OnboardMemoryDialogs() = default;

void OnboardMemoryDialogs::ShowProgress(const char* title, int range) {
  wingui::InitCommonControls(ICC_PROGRESS_CLASS);
  progress_ = std::make_unique<ProgressDialog>();
  if (!progress_->CreateModeless(owner_)) return;
  SetWindowTextA(progress_->hwnd(), title);
  wingui::Control(progress_->hwnd(), IDC_ONBOARD_PROGRESS).Send(PBM_SETRANGE32, 0, range);
}

void OnboardMemoryDialogs::SetProgress(int position) {
  if (progress_ && progress_->IsOpen())
    wingui::Control(progress_->hwnd(), IDC_ONBOARD_PROGRESS).Send(PBM_SETPOS, static_cast<WPARAM>(position));
}

void OnboardMemoryDialogs::CloseProgress() { progress_.reset(); }

void OnboardMemoryDialogs::ShowSwitchPrompt() {
  prompt_ = std::make_unique<SwitchPrompt>();
  if (!prompt_->CreateModeless(owner_)) return;
  SetWindowPos(prompt_->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(prompt_->hwnd());
}

bool OnboardMemoryDialogs::SwitchPromptCancelled() { return prompt_ && prompt_->cancelled; }

void OnboardMemoryDialogs::CloseSwitchPrompt() { prompt_.reset(); }

void OnboardMemoryDialogs::Pump() { wingui::MessagePump::ForThisThread().PumpPending(); }

void OnboardMemoryDialogs::ReportError(const char* text) {
  calls_.ShowMessageBox(nullptr, text, "Orvane II Error", BoxButtons::Ok, BoxIcon::Error);
}

void* OnboardMemoryDialogs::ProgressWindow() const { return progress_ ? progress_->hwnd() : nullptr; }
void* OnboardMemoryDialogs::SwitchPromptWindow() const { return prompt_ ? prompt_->hwnd() : nullptr; }

bool ReadDeviceMacroMemory(SystemCalls& calls, DeviceRecord& device, HWND owner) {
  OnboardMemoryDialogs dialogs(calls, owner);
  return ReadDeviceMacroMemory(calls, device, dialogs);
}

MemoryWriteResult WriteDeviceMacroMemory(SystemCalls& calls, DeviceRecord& device, HWND owner) {
  OnboardMemoryDialogs dialogs(calls, owner);
  return WriteDeviceMacroMemory(calls, device, dialogs);
}

namespace {

DeviceRecord* RecordOf(MacroContext& context) {
  auto* source = dynamic_cast<DeviceRecordSource*>(context.device);
  return source ? source->Record() : nullptr;
}

}  // namespace

bool BuildOnboardImage(SystemCalls& calls, MacroContext& context, HWND owner) {
  OnboardMemoryDialogs dialogs(calls, owner);
  DeviceRecord* device = RecordOf(context);
  if (!device) {
    // Only the close writes the device's memory: a silent skip would pass for a write.
    dialogs.ReportError(kMacrosNotWritten);
    return false;
  }
  return PackDeviceMacroImage(context, *device, dialogs);
}

void WriteOnboardImage(SystemCalls& calls, MacroContext& context, HWND owner) {
  OnboardMemoryDialogs dialogs(calls, owner);
  DeviceRecord* device = RecordOf(context);
  if (!device) {
    dialogs.ReportError(kMacrosNotWritten);
    return;
  }
  // The image was packed for this write: finding none now means it never went.
  if (WriteDeviceMacroMemory(calls, *device, dialogs) == MemoryWriteResult::kNothingToWrite)
    dialogs.ReportError(kMacrosNotWritten);
}

