#pragma once
// The macro model over the platform as the program puts it at start-up: its texts in the ANSI
// code page, its files each replaced whole.
#include "macros/model/script_writer.h"
#include "macros/model/text_code_page.h"
#include "platform/base/ansi_text.h"
#include "platform/base/file_replace.h"

namespace testsupport {

inline void UseProgramMacroPlatform() {
  static AtomicFileAccess files;
  SetTextCodePage({WidenAnsi, NarrowAnsi});
  SetDefaultMacroFiles(&files);
}

}  // namespace testsupport
