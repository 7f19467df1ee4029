// Fuzz target: an on-board memory image as read from a keypad (its first byte the layout's
// highest key code, the rest the image). Every macro unpacked lies inside the image and ends
// there; a set that packs again unpacks to itself; and the steps a macro reads as give codes
// that hold no end before their last byte.
// tools/fuzz check: 1000 runs (each input packs and unpacks whole 4 KB images).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "macros/model/onboard_conversion.h"
#include "macros/model/onboard_image.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t highest = data[0];
  const std::span<const std::uint8_t> image(data + 1, std::min<std::size_t>(size - 1, kMemoryReadLength));
  DeviceMacroSet set = DecodeDeviceMacroImage(image, highest);
  Check(set.tableSize > highest);
  for (const auto& table : set.Tables()) {
    Check(table.size() == static_cast<std::size_t>(set.tableSize));
    for (const DeviceCodes& codes : table) {
      if (codes.empty()) continue;
      Check(codes.size() <= image.size());
      Check(StoredMacroLength(codes) == codes.size());

      // Whatever steps it reads as, their codes end only at their end.
      const DeviceCodes again = MacroTextToDeviceCodes(DeviceCodesToMacroText(codes));
      Check(again.empty() || GetEncodedMacroLength(again) == again.size());
      for (const std::wstring& step : DeviceCodesToMacroText(again)) Check(!step.empty());
    }
  }

  std::vector<std::uint8_t> packed;
  int used = 0;
  if (EncodeDeviceMacroImage(set, packed, used) != ImagePackResult::kPacked) {
    Check(used == 0);
    return 0;
  }
  Check(packed.size() == static_cast<std::size_t>(kMemoryImageSize) && used <= kMemoryImageSize);
  Check(DecodeDeviceMacroImage(packed, highest).Tables() == set.Tables());
  return 0;
}
