#include "app/program_macros.h"

#include <windows.h>

#include "macros/custom_key_windows.h"
#include "macros/keystroke_recorder.h"
#include "macros/keystroke_recorder_window.h"
#include "macros/macro_editor.h"
#include "platform/base/system_calls.h"
#include "ui/plugins/plugin_windows.h"

namespace {

class PluginKeyWindows : public CustomKeyWindows {
 public:
  bool Offer(void* programmingWindow, int keyId) override {
    return OpenCustomKeyWindow(static_cast<HWND>(programmingWindow), keyId) != 0;
  }
};

struct ProgramMacros {
  PluginKeyWindows plugins;
  MacroEditorBoxes boxes;
  KeystrokeRecorder recorder{GetSystemCalls(), boxes};
  MacroEditors editors{GetSystemCalls(), recorder, plugins};
};

}  // namespace

MacroEditors& ProgramMacroEditors() {
  static ProgramMacros macros;
  return macros.editors;
}
