#include "app/dialogs/program_dialogs.h"

#include <windows.h>

#include <string>
#include <vector>

#include "macros/onboard_memory_dialogs.h"
#include "platform/base/own_module.h"
#include "platform/base/system_calls.h"
#include "app/resource.h"

namespace {

constexpr char kUnitIdHelpPage[] = "https://www.kestrion.com/orvane/unit-ids.html";

// Answers only WM_INITDIALOG (the "press any key" dialogs).
INT_PTR CALLBACK MinimalDlgProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// The platform the box's "Learn more" opens the help page through comes with WM_INITDIALOG.
INT_PTR CALLBACK DuplicateUnitIdDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      return TRUE;
    case WM_COMMAND:
    case WM_SYSCOMMAND:
      if (LOWORD(wParam) == IDC_LEARN_MORE) {
        auto* calls = reinterpret_cast<SystemCalls*>(GetWindowLongPtrA(dialog, DWLP_USER));
        calls->ExecuteWithShell(dialog, "open", kUnitIdHelpPage, nullptr, nullptr, SW_SHOWNORMAL);
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDC_LEARN_MORE) EndDialog(dialog, 1);
      return TRUE;
  }
  return FALSE;
}

struct LoaderDialog {
  const std::vector<std::string>* labels;
  int chosen = -1;
};

INT_PTR CALLBACK LoadNewScriptDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<LoaderDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<LoaderDialog*>(lParam);
      HWND combo = GetDlgItem(dialog, IDC_SCRIPT_DEVICE);
      for (const auto& label : *state->labels)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
      SendMessageA(combo, CB_SETCURSEL, 0, 0);
      return TRUE;
    }
    case WM_COMMAND:
    case WM_SYSCOMMAND:
      if (LOWORD(wParam) == IDOK) {
        state->chosen = static_cast<int>(SendDlgItemMessageA(dialog, IDC_SCRIPT_DEVICE, CB_GETCURSEL, 0, 0));
        EndDialog(dialog, 2);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, -1);
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND ProgramDialogs::OpenPressKeyDialog(bool blinking) {
  const int id = blinking ? IDD_PRESS_KEY_BLINKING : IDD_PRESS_KEY_PLUGGED;
  return CreateDialogParamA(OwnModule(), MAKEINTRESOURCEA(id), nullptr, MinimalDlgProc, 0);
}

void ProgramDialogs::ShowDuplicateUnitId() {
  DialogBoxParamA(OwnModule(), MAKEINTRESOURCEA(IDD_DUPLICATE_UNIT_ID), MainWindow(), DuplicateUnitIdDlgProc,
                  reinterpret_cast<LPARAM>(&calls_));
}

int ProgramDialogs::ChooseScriptDevice(HWND owner, const std::vector<std::string>& labels) {
  LoaderDialog state{&labels};
  const INT_PTR r = DialogBoxParamA(OwnModule(), MAKEINTRESOURCEA(IDD_LOAD_NEW_SCRIPT),
                                    owner, LoadNewScriptDlgProc, reinterpret_cast<LPARAM>(&state));
  return r == 2 ? state.chosen : -1;
}

std::optional<std::string> ProgramDialogs::ChooseScriptFile(HWND owner, const std::string& folder) {
  OpenFileQuestion question;
  question.owner = owner;
  question.title = "Select a Sctipt to Load...";
  question.filterName = "Orvane Script (*.oxs)";
  question.filterPattern = "*.oxs";
  question.defaultExtension = "oxs";
  question.initialFolder = folder;
  return calls_.ChooseFileToOpen(question);
}

bool ProgramDialogs::ReadOnboardMacros(DeviceRecord& device) { return ReadDeviceMacroMemory(calls_, device, MainWindow()); }
