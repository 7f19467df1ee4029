// Fuzz entry: the controller definition reader of the calibration program, and the writer fed
// with what it read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calibration/controller_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto rows = cal::ParseControllerText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (rows.size() > static_cast<size_t>(cal::kMaxControllerRows)) __builtin_trap();
  const std::string text = cal::ControllerFileText(rows, cal::InitialRanges(), size % 2 == 0);
  if (text.size() < 4 || text.compare(text.size() - 3, 3, "END") != 0) __builtin_trap();
  return 0;
}
