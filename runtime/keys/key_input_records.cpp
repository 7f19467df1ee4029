#include "runtime/keys/key_input_records.h"

#include "runtime/keys/key_name_tables.h"

namespace {

// The table adds 0x80 to the code of a key sent with the 0xE0 prefix.
constexpr std::uint8_t kPrefixedKey = 0x80;

InputRecord KeyRecord(const MacroToken& token) {
  if (token.unicode)
    return KeyboardRecord(0, token.unicode, kKeyEventUnicode | (token.down ? 0 : kKeyEventKeyUp));
  std::uint16_t scan = ScanCodeOf(token.name);
  const std::uint16_t vk = VirtualKeyOf(token.name);
  std::uint32_t flags = token.down ? 0 : kKeyEventKeyUp;
  if (IsExtendedKey(token.name)) flags |= kKeyEventExtendedKey;
  if (IsVkOnlyKey(token.name)) return KeyboardRecord(vk, scan, flags);
  if (scan & kPrefixedKey) {
    // A scan code of 0x80 or more is a break code: the key would never go down.
    scan &= ~kPrefixedKey;
    flags |= kKeyEventExtendedKey;
  }
  return KeyboardRecord(vk, scan, flags | kKeyEventScanCode);
}

}  // namespace

std::vector<InputRecord> SendTokensAsInput(const std::vector<MacroToken>& tokens) {
  std::vector<InputRecord> records;
  records.reserve(tokens.size());
  for (const MacroToken& token : tokens) records.push_back(KeyRecord(token));
  return records;
}
