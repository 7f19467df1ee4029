// Fuzz target: macro step texts turned into key tokens, then into the device's keyboard reports
// and into input records, under every Caps Lock and Num Lock state. A complete step leaves no
// key down; a press-only step releases nothing it did not press; a release-only step leaves
// nothing pressed.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/keys/key_input_records.h"
#include "runtime/keys/key_name_tables.h"
#include "runtime/keys/keyboard_report_state.h"
#include "runtime/keys/macro_tokens.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// The modifier a name stands for, in the order the keyboard report's bits are chosen; "" for
// a plain key. A right-hand name and its left-hand or bare form share one.
std::string_view ModifierRole(const std::string& name) {
  for (std::string_view word : {"Alt", "Ctrl", "Shift", "WinKey"})
    if (name.find(word) != std::string::npos) return word;
  return {};
}

// Walks the tokens with the set of names held down. A release takes its own name, or failing
// that a held name of the same modifier role. Returns whether any release found nothing held
// (`orphan`) and leaves in `held` what is still down at the end.
bool WalkHeld(const std::vector<MacroToken>& tokens, std::set<std::string>& held) {
  bool orphan = false;
  for (const MacroToken& token : tokens) {
    if (token.down) {
      held.insert(token.name);
      continue;
    }
    if (held.erase(token.name)) continue;
    const std::string_view role = ModifierRole(token.name);
    auto same = held.end();
    if (!role.empty())
      for (auto it = held.begin(); it != held.end() && same == held.end(); ++it)
        if (ModifierRole(*it) == role) same = it;
    if (same != held.end())
      held.erase(same);
    else
      orphan = true;
  }
  return orphan;
}

bool Packed(const KeyboardState& state) {
  for (std::size_t i = 2; i < state.size(); ++i)
    if (state[i] != 0 && state[i - 1] == 0) return false;
  return true;
}

void CheckStep(std::string_view text, LockStates locks) {
  const StepKind kind = SplitStepPrefix(text).kind;
  const std::vector<MacroToken> tokens = TokenizeMacroText(text, locks);

  // Bounded: at most a press, a release and a Shift change per character, a few lock taps.
  Check(tokens.size() <= 3 * text.size() + 6);
  for (const MacroToken& token : tokens) {
    const bool added = token.name == "Shift" || token.name == "<Num Lock>";
    // A character sent as itself has no name; every other token has one.
    Check(token.name.empty() == (token.unicode != 0));
    Check(added || token.name.size() <= text.size() + 2);
    Check(token.down == 0 || token.down == 1);
  }

  std::set<std::string> held;
  const bool orphan = WalkHeld(tokens, held);
  if (kind != StepKind::ReleaseOnly) Check(!orphan);
  if (kind != StepKind::PressOnly) Check(held.empty());

  // The device's keyboard reports: one per token at most, the slots packed, and a complete
  // step ends with the state it began with.
  KeyboardState state{};
  const std::vector<KeyboardState> reports = SendTokensAsDeviceReports(tokens, state);
  Check(reports.size() <= tokens.size());
  for (const KeyboardState& report : reports) Check(Packed(report));
  if (kind == StepKind::Complete) Check(state == KeyboardState{});

  // Input records: one per token, a release marked as one.
  const std::vector<InputRecord> records = SendTokensAsInput(tokens);
  Check(records.size() == tokens.size());
  for (std::size_t i = 0; i < records.size(); ++i)
    Check(((records[i].flags & kKeyEventKeyUp) != 0) == (tokens[i].down == 0));
}

void CheckMouseStep(std::string_view text) {
  const std::optional<MouseStep> mouse = ParseMouseStep(text);
  const std::string_view rest = SplitStepPrefix(text).text;
  Check(mouse.has_value() == (rest.find("<Mouse") != std::string_view::npos));
  if (!mouse) return;
  const bool twice = rest.find("<Mouse Double") != std::string_view::npos;
  Check((mouse->action == MouseStep::Action::DoubleClick) == twice);
  // Only the mouse names hold "<Mouse": buttons 1, 2 and 4 to 6, or 0 for an unknown one.
  Check(mouse->button == 0 || mouse->button == 1 || mouse->button == 2 ||
        (mouse->button >= 4 && mouse->button <= 6));
  if (twice) Check(mouse->button == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool tables = (InitKeyNameTables(), true);
  (void)tables;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (bool caps : {false, true})
    for (bool num : {false, true}) CheckStep(text, LockStates{caps, num});
  CheckMouseStep(text);
  return 0;
}
