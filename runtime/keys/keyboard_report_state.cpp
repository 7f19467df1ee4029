#include "runtime/keys/keyboard_report_state.h"

#include <algorithm>

#include "runtime/keys/key_name_tables.h"

namespace {

// The modifier bit a key name stands for (right-hand names too), or 0.
std::uint8_t ModifierBit(const std::string& name) {
  const auto has = [&](const char* word) { return name.find(word) != std::string::npos; };
  if (has("Alt")) return kModifierAlt;
  if (has("Ctrl")) return kModifierCtrl;
  if (has("Shift")) return kModifierShift;
  if (has("WinKey")) return kModifierWinKey;
  return 0;
}

// False when the token leaves no report: no free slot, or the usage is in none.
bool Apply(const MacroToken& token, KeyboardState& state) {
  if (token.unicode) return false;  // a keyboard report has no way to send a character
  if (std::uint8_t bit = ModifierBit(token.name)) {
    state[0] = token.down ? state[0] | bit : state[0] & ~bit;
    return true;
  }
  const std::uint8_t usage = UsageOfVirtualKey(VirtualKeyOf(token.name));
  const auto slots = state.begin() + 1;
  if (token.down) {
    // A key already down keeps its one slot: listed twice, one release would leave it down.
    if (usage != 0 && std::find(slots, state.end(), usage) != state.end()) return false;
    auto free = std::find(slots, state.end(), 0);
    if (free == state.end()) return false;
    *free = usage;
  } else {
    auto held = std::find(slots, state.end(), usage);
    if (held == state.end()) return false;
    std::copy(held + 1, state.end(), held);
    state.back() = 0;
  }
  return true;
}

}  // namespace

std::vector<KeyboardState> SendTokensAsDeviceReports(const std::vector<MacroToken>& tokens,
                                                     KeyboardState& state) {
  std::vector<KeyboardState> reports;
  for (const MacroToken& token : tokens)
    if (Apply(token, state)) reports.push_back(state);
  return reports;
}
