#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vhx {

// Hex bytes as pairs without separators ("0000ff10"), either case. False on an odd length or
// a character that is not a hex digit; `out` is then left empty.
bool ParseHexBytes(std::string_view text, std::vector<uint8_t>& out);

// Lower-case pairs without separators.
std::string FormatHexBytes(const uint8_t* bytes, size_t count);
inline std::string FormatHexBytes(const std::vector<uint8_t>& bytes) {
  return FormatHexBytes(bytes.data(), bytes.size());
}

}  // namespace vhx
