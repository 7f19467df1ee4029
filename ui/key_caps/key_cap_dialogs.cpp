#include "ui/key_caps/key_cap_dialogs.h"

#include <string>

#include "macros/model/macro_context.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/dialog.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/device/program_messages.h"
#include "ui/key_caps/key_cap_commands.h"
#include "ui/key_caps/key_caps_ids.h"

namespace {

class KeyCapDialog;

struct DialogState {
  // Closed dialogs stay until the next opening replaces them: one may still be on the stack.
  std::unique_ptr<KeyCapDialog> detection;
  std::unique_ptr<KeyCapDialog> removal;
};
DialogState& State() {
  static DialogState state;
  return state;
}

// Tells the window which dialogs are open now.
void AnnounceDialogs(KeyCapWindow& window) {
  window.DialogsChanged(KeyCapDialogWindow(KeyCapDialogKind::kDetection),
                        KeyCapDialogWindow(KeyCapDialogKind::kRemoval));
}

class KeyCapDialog : public wingui::Dialog {
 public:
  KeyCapDialog(KeyCapDialogKind kind, MacroContext& context, std::unique_ptr<KeyCapServices> services,
               KeyCapWindow& window)
      : Dialog(kind == KeyCapDialogKind::kDetection ? IDD_KEY_CAP_DETECTION : IDD_KEY_CAP_REMOVAL),
        kind_(kind),
        context_(context),
        services_(std::move(services)),
        window_(window) {}

  HWND OpenWindow() const { return IsOpen() && !closing_ ? hwnd() : nullptr; }
  // The context whose keys the dialog takes: its programming window's.
  const MacroContext& Context() const { return context_; }
  KeyCapWindow& Window() const { return window_; }

 protected:
  bool OnInitDialog() override {
    if (kind_ == KeyCapDialogKind::kDetection) {
      ResetForwardedKeyCount();
      detector_.Reset();
      window_.SetInputEnabled(false);
    }
    return true;
  }

  bool HandleMessage(wingui::Message& m) override {
    return kind_ == KeyCapDialogKind::kDetection ? MergeKeysDlgProc(m) : RemoveKeyCapDlgProc(m);
  }

  // Also when the window goes first and takes its owned dialogs with it.
  void OnDestroy() override {
    closing_ = true;
    if (kind_ == KeyCapDialogKind::kDetection) window_.SetInputEnabled(true);
    AnnounceDialogs(window_);
  }

 private:
  // The detection dialog: the keys pressed and released under the new cap. Both key messages
  // are taken whatever they lead to: the dialog manager must not see key ids.
  bool MergeKeysDlgProc(wingui::Message& m) {
    if (m.id == kKeyCapKeyDownMessage) {
      detector_.KeyDown(static_cast<int>(m.wParam), context_.keys);
      return true;
    }
    if (m.id == kKeyCapKeyUpMessage) {
      const auto cap = detector_.KeyUp(static_cast<int>(m.wParam), context_.keys);
      if (cap && MakeDetectedKeyCap(context_, *cap, *services_)) End(IDOK);
      return true;
    }
    return Dialog::HandleMessage(m);
  }

  // The removal dialog: a key released under the cap taken off. A press is taken and dropped.
  bool RemoveKeyCapDlgProc(wingui::Message& m) {
    if (m.id == kKeyCapKeyDownMessage) return true;
    if (m.id == kKeyCapKeyUpMessage) {
      if (RemoveKeyCapOver(context_, static_cast<int>(m.wParam), *services_)) End(IDOK);
      return true;
    }
    return Dialog::HandleMessage(m);
  }

  KeyCapDialogKind kind_;
  MacroContext& context_;
  std::unique_ptr<KeyCapServices> services_;
  KeyCapWindow& window_;
  KeyCapDetector detector_;
  bool closing_ = false;
};

std::unique_ptr<KeyCapDialog>& Slot(KeyCapDialogKind kind) {
  return kind == KeyCapDialogKind::kDetection ? State().detection : State().removal;
}

// The system's text for the last error.
std::string LastErrorText() {
  const DWORD error = GetLastError();
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = text ? text : "Error " + std::to_string(error);
  if (text) LocalFree(text);
  return out;
}

}  // namespace

bool OpenKeyCapDialog(SystemCalls& calls, KeyCapDialogKind kind, MacroContext& context,
                      std::unique_ptr<KeyCapServices> services, HWND owner, KeyCapWindow& window) {
  std::unique_ptr<KeyCapDialog>& slot = Slot(kind);
  if (HWND open = slot ? slot->OpenWindow() : nullptr) {
    ShowWindow(open, SW_SHOW);
    return true;
  }
  slot = std::make_unique<KeyCapDialog>(kind, context, std::move(services), window);
  if (!slot->CreateModeless(owner)) {
    const std::string text = LastErrorText();
    calls.ShowMessageBox(nullptr, text.c_str(), "Error", BoxButtons::Ok, BoxIcon::Information);
    return false;
  }
  slot->Show(SW_SHOW);
  AnnounceDialogs(window);
  return true;
}

HWND KeyCapDialogWindow(KeyCapDialogKind kind) {
  const std::unique_ptr<KeyCapDialog>& slot = Slot(kind);
  return slot ? slot->OpenWindow() : nullptr;
}

void CloseKeyCapDialogs() {
  for (KeyCapDialogKind kind : {KeyCapDialogKind::kDetection, KeyCapDialogKind::kRemoval})
    if (HWND open = KeyCapDialogWindow(kind)) DestroyWindow(open);
}

HWND KeyCapDialogWindow(KeyCapDialogKind kind, const MacroContext& context) {
  const std::unique_ptr<KeyCapDialog>& slot = Slot(kind);
  return slot && &slot->Context() == &context ? slot->OpenWindow() : nullptr;
}

bool ForwardKeyToKeyCapDialogs(const MacroContext& context, int keyId, bool pressed) {
  // Another keypad's dialog must not take this one's keys: they name other keys there.
  const HWND detection = KeyCapDialogWindow(KeyCapDialogKind::kDetection, context);
  const HWND removal = KeyCapDialogWindow(KeyCapDialogKind::kRemoval, context);
  const auto id = static_cast<WPARAM>(keyId);
  if (pressed) {
    if (detection) PostMessageA(detection, kKeyCapKeyDownMessage, id, 0);
    return detection || removal;
  }
  if (detection) PostMessageA(detection, kKeyCapKeyUpMessage, id, 0);
  if (removal) PostMessageA(removal, kKeyCapKeyUpMessage, id, 0);
  return false;
}
