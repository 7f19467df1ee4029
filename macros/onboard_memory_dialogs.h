#pragma once
// The on-board memory's dialogs on the device thread: the modeless progress dialog (a read's
// or a write's) and the prompt to move the programming switch, with its Cancel, both owned by
// the window given (the program's main dialog; null: none). Errors go to an "Orvane II Error"
// box. The waits pump the thread's windows.

#include <windows.h>

#include <memory>

#include "macros/onboard_memory.h"

class SystemCalls;

class OnboardMemoryDialogs : public OnboardMemoryView {
 public:
  // The error boxes are the calls' own.
  OnboardMemoryDialogs(SystemCalls& calls, HWND owner);
  ~OnboardMemoryDialogs() override;

  void ShowProgress(const char* title, int range) override;
  void SetProgress(int position) override;
  void CloseProgress() override;
  void ShowSwitchPrompt() override;
  bool SwitchPromptCancelled() override;
  void CloseSwitchPrompt() override;
  void Pump() override;
  void ReportError(const char* text) override;

  // The open dialogs, or null (for tests).
  void* ProgressWindow() const;
  void* SwitchPromptWindow() const;

 private:
  class ProgressDialog;
  class SwitchPrompt;
  SystemCalls& calls_;
  HWND owner_;
  std::unique_ptr<ProgressDialog> progress_;
  std::unique_ptr<SwitchPrompt> prompt_;
};

// The exchanges with the dialogs, owned by that window, over the calls.
bool ReadDeviceMacroMemory(SystemCalls& calls, DeviceRecord& device, HWND owner);
MemoryWriteResult WriteDeviceMacroMemory(SystemCalls& calls, DeviceRecord& device, HWND owner);

// The close of a programming window over a keypad that keeps its macros (the macro model's
// buildOnboardImage and writeOnboardImage hooks): the layout is packed into the device's image
// while the context still holds it, or the user is told why not and nothing is written; the
// image is written once the context is released. A context whose device gives no record
// (DeviceRecordSource) is told that nothing was written.
bool BuildOnboardImage(SystemCalls& calls, MacroContext& context, HWND owner);
void WriteOnboardImage(SystemCalls& calls, MacroContext& context, HWND owner);
