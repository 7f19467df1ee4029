// Fuzz target: a key function's body read back into macro steps. Steps and code items stay
// side by side with contiguous positions, the body written from them reads back and writes
// again the same, and encoding any text decodes to that text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "macros/model/macro_steps.h"
#include "macros/model/macro_text.h"
#include "macros/model/text_code_page.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

MacroEntry Split(const std::string& body) {
  KeyFunction f;
  f.body = body;
  MacroEntry e;
  SplitMacroSteps(e, f);
  return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  const MacroEntry entry = Split(body);
  Check(entry.steps.size() == entry.codes.size());
  int position = 0;
  for (const MacroItem& step : entry.steps) {
    Check(step.start == position && step.end >= step.start);
    position = step.end;
  }

  const std::string written = MacroBodyOf(entry);
  Check(MacroBodyOf(Split(written)) == written);

  const std::wstring wide = WidenText(body);
  Check(DecodeMacroText(EncodeMacroText(wide)) == wide);
  for (wchar_t c : EncodeMacroText(wide)) Check(c == kMacroEscape || (c >= 32 && c < 128));
  return 0;
}
