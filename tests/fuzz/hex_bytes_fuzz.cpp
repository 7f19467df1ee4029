// Fuzz target: hex byte texts as the simulation tool takes them. A text reads whole or not at
// all; what it reads writes back as the same text in lower case; and any bytes written as hex
// read back as themselves.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vhxhid/hex_bytes.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::uint8_t> bytes = {1, 2, 3};
  const bool ok = vhx::ParseHexBytes(text, bytes);
  bool allHex = true;
  for (char c : text) allHex = allHex && std::isxdigit(static_cast<unsigned char>(c));
  Check(ok == (size % 2 == 0 && allHex));
  if (ok) {
    Check(bytes.size() == size / 2);
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Check(vhx::FormatHexBytes(bytes) == lower);
  } else {
    Check(bytes.empty());
  }

  const std::string written = vhx::FormatHexBytes(data, size);
  Check(written.size() == 2 * size);
  std::vector<std::uint8_t> back;
  Check(vhx::ParseHexBytes(written, back) && back == std::vector<std::uint8_t>(data, data + size));
  return 0;
}
