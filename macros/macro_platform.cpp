#include "macros/macro_platform.h"

#include "macros/keystroke_recorder_window.h"
#include "macros/model/script_writer.h"
#include "macros/model/text_code_page.h"
#include "platform/base/ansi_text.h"
#include "platform/base/file_replace.h"

void InstallMacroPlatform() {
  static AtomicFileAccess files;
  SetTextCodePage({WidenAnsi, NarrowAnsi});
  SetDefaultMacroFiles(&files);
  InstallKeystrokeRecorder();
}
