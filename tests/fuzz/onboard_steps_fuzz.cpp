// Fuzz target: arbitrary macro step texts (one a line) made into a keypad's key-code string,
// and the same text as a key function's body through the editor's steps. The string ends
// where the keypad ends it (its closing 0, no earlier 0 or layer toggle), the image stores it
// at its length, and the steps it reads back as make a string of the same form again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "macros/model/macro_records.h"
#include "macros/model/macro_steps.h"
#include "macros/model/onboard_conversion.h"
#include "macros/model/onboard_image.h"
#include "macros/model/text_code_page.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// A string as the keypad reads it: up to its closing 0, with no earlier 0 or layer toggle.
void CheckWellFormed(const DeviceCodes& codes) {
  if (codes.empty()) return;
  Check(codes.back() == 0);
  Check(GetEncodedMacroLength(codes) == codes.size() && StoredMacroLength(codes) == codes.size());
  // A modifier's byte is no code of its own.
  for (std::size_t i = 0; i + 1 < codes.size(); ++i) {
    Check(codes[i] != 0 && codes[i] != kToggleLayerCode);
    if (codes[i] == kModifierCode) ++i;
  }
}

void CheckCodes(const DeviceCodes& codes) {
  CheckWellFormed(codes);
  if (codes.empty()) return;
  // The steps it reads back as write a string of the same form. (Not always the same string:
  // the reading names right-hand modifiers as left-hand ones and leaves out modifier states
  // that change nothing.)
  const std::vector<std::wstring> steps = DeviceCodesToMacroText(codes);
  for (const std::wstring& step : steps) Check(!step.empty());
  const DeviceCodes written = MacroTextToDeviceCodes(steps);
  Check(written.empty() == steps.empty());
  CheckWellFormed(written);
  for (const std::wstring& step : DeviceCodesToMacroText(written)) Check(!step.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = WidenText(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<std::wstring> steps;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(L'\n', start);
    steps.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  CheckCodes(MacroTextToDeviceCodes(steps));

  KeyFunction function;
  function.body = std::string(reinterpret_cast<const char*>(data), size);
  MacroEntry entry;
  SplitMacroSteps(entry, function);
  CheckCodes(MacroTextToDeviceCodes(DeviceStepTexts(entry)));
  return 0;
}
