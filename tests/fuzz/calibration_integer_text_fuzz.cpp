// Fuzz entry: the integer texts of the calibration program's settings (stored language,
// calibrated value).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "calibration/vcl/str.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  int value = 0;
  try {
    value = vcl::StrToInt(text);
  } catch (const vcl::ConvertError&) {
    if (vcl::StrToIntDef(text, 7) != 7 || vcl::StrToIntDef(text, 8) != 8) __builtin_trap();
    return 0;
  }
  if (vcl::StrToIntDef(text, value ^ 1) != value) __builtin_trap();
  return 0;
}
