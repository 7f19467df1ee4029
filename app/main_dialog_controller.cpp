#include "app/main_dialog_controller.h"

#include <cstdio>

#include "app/resource.h"
#include "app/tray_menu_ids.h"
#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_table.h"

namespace {

constexpr int kScriptLoaderTries = 40;
constexpr unsigned kScriptLoaderPauseMs = 250;

}  // namespace

MainCommand MainDialogController::OnCommand(unsigned id) {
  if (id == IDC_VISIBLE || id == IDM_VISIBLE || id == IDC_INVISIBLE || id == IDM_INVISIBLE) {
    const bool invisible = id == IDC_INVISIBLE || id == IDM_INVISIBLE;
    WriteMachineDword(calls_, kOrvaneRegistryKey, "Invisible", invisible ? 1 : 0);
    return {};
  }
  if (id == IDM_FORWARD_TO_MODELESS) return {MainAction::ForwardToModeless};
  if (id == kTrayExitId) return {MainAction::Exit};
  if (id >= kTrayFirstDeviceId) return {MainAction::TrayDevice, static_cast<int>(id - kTrayFirstDeviceId)};
  return {};
}

void MainDialogController::OnSecondInstance() {
  if (programmingAllowed_) return;
  for (int attempt = 0; attempt < kScriptLoaderTries; ++attempt) {
    if (RequestCode.load() == kRequestNone) {
      RequestDevice = kNoRequestDevice;  // the loader then offers every device
      RequestCode = kRequestScriptLoader;
      WakeDeviceThreadFor(kNoRequestDevice);  // it sleeps until an event or a deadline
      return;
    }
    calls_.Sleep(kScriptLoaderPauseMs);
  }
  calls_.ShowMessageBox(nullptr, "ORVX was too busy at the moment to run the Script Loader.  Please try again.",
                        "Script Loader Unable to Run", BoxButtons::Ok);
}

std::string MainDialogController::OnClipboardChanged(unsigned firstFormat) {
  char text[64];
  std::snprintf(text, sizeof text, "%d %08lx", ++clipboardChanges_, static_cast<unsigned long>(firstFormat));
  return text;
}

void* MainDialogController::OnViewerLeft(void* removed, void* next) {
  if (removed == nextViewer_) {
    nextViewer_ = next;
    return nullptr;
  }
  return nextViewer_;
}
