#include "runtime/keys/macro_tokens.h"

#include <algorithm>
#include <array>

#include "runtime/keys/key_name_tables.h"

namespace {

constexpr std::string_view kNumLock = "<Num Lock>";

void AddKey(std::vector<MacroToken>& tokens, std::string name, StepKind kind) {
  if (kind != StepKind::ReleaseOnly) tokens.push_back({name, 1});
  if (kind != StepKind::PressOnly) tokens.push_back({std::move(name), 0});
}

void AddNumLockTap(std::vector<MacroToken>& tokens) {
  AddKey(tokens, std::string(kNumLock), StepKind::Complete);
}

// The key is meant for the other Num Lock state: a tap before and after puts it right.
bool NeedsNumLockTap(std::string_view name, LockStates locks) {
  return (IsNumPadKey(name) && !locks.numLock) || (IsNavigationKey(name) && locks.numLock);
}

// 0 lower-case letters, 1 upper-case letters, 2 unshifted US symbols and digits, 3 shifted US
// symbols, 4 anything else (Shift is left as it is).
int CharClass(char c) {
  constexpr std::string_view kClasses[] = {
      "qwertyuiopasdfghjklzxcvbnm",
      "QWERTYUIOPASDFGHJKLZXCVBNM",
      " `1234567890-=[]\\;',./",
      "~!@#$%^&*()_+{}|:\"<>?",
  };
  for (int i = 0; i < 4; ++i)
    if (kClasses[i].find(c) != std::string_view::npos) return i;
  return 4;
}

// The character of ESC and five decimal digits at chars[i], or 0.
std::uint16_t EscapedCharacter(std::string_view chars, std::size_t i) {
  if (chars[i] != '\x1B' || chars.size() - i <= 5) return 0;
  unsigned value = 0;
  for (std::size_t k = 1; k <= 5; ++k) {
    const char d = chars[i + k];
    if (d < '0' || d > '9') return 0;
    value = value * 10 + static_cast<unsigned>(d - '0');
  }
  return static_cast<std::uint16_t>(value & 0xFFFF);
}

void TokenizeTypedText(std::string_view chars, StepKind kind, LockStates locks,
                       std::vector<MacroToken>& tokens) {
  bool shiftHeld = false;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const char c = chars[i];
    if (const std::uint16_t character = EscapedCharacter(chars, i)) {
      if (shiftHeld) tokens.push_back({"Shift", 0});
      shiftHeld = false;
      if (kind != StepKind::ReleaseOnly) tokens.push_back({"", 1, character});
      if (kind != StepKind::PressOnly) tokens.push_back({"", 0, character});
      i += 5;
      continue;
    }
    const int cls = CharClass(c);
    const bool needShift = locks.capsLock ? (cls == 0 || cls == 3) : (cls == 1 || cls == 3);
    const bool needNoShift = locks.capsLock ? (cls == 1 || cls == 2) : (cls == 0 || cls == 2);
    if (needShift && !shiftHeld) {
      tokens.push_back({"Shift", 1});
      shiftHeld = true;
    } else if (needNoShift && shiftHeld) {
      tokens.push_back({"Shift", 0});
      shiftHeld = false;
    }
    AddKey(tokens, std::string(1, c), kind);
  }
  if (shiftHeld) tokens.push_back({"Shift", 0});
}

void TokenizeKeyName(std::string_view name, StepKind kind, LockStates locks,
                     std::vector<MacroToken>& tokens) {
  const bool tap = NeedsNumLockTap(name, locks);
  if (tap) AddNumLockTap(tokens);
  AddKey(tokens, std::string(name), kind);
  if (tap) AddNumLockTap(tokens);
}

// The modifier words of a combination part, in the order their keys are let go.
constexpr std::array<std::string_view, 5> kModifierWords = {"Alt", "Ctrl", "Shift", "WinKey",
                                                            "Esc"};

void TokenizeCombination(std::string_view text, StepKind kind, LockStates locks,
                         std::vector<MacroToken>& tokens) {
  // Between the opening brace and the last character, which is taken to be the closing one.
  const std::string_view inner = text.size() >= 2 ? text.substr(1, text.size() - 2) : "";
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t plus = CombinationPlus(inner, start);
    parts.push_back(inner.substr(start, plus == std::string_view::npos ? plus : plus - start));
    if (plus == std::string_view::npos) break;
    start = plus + 1;
  }

  bool tap = false;
  for (std::string_view part : parts) {
    if (NeedsNumLockTap(part, locks)) {
      tap = true;
      break;
    }
  }
  if (tap) AddNumLockTap(tokens);

  std::vector<std::string> held;  // modifier parts pressed by a complete step
  for (std::string_view part : parts) {
    std::string name = HasScanCode(part) ? std::string(part) : "<" + std::string(part) + ">";
    const bool modifier =
        kind == StepKind::Complete &&
        std::any_of(kModifierWords.begin(), kModifierWords.end(),
                    [&](std::string_view w) { return name.find(w) != std::string::npos; });
    if (modifier) {
      tokens.push_back({name, 1});
      held.push_back(std::move(name));
    } else {
      AddKey(tokens, std::move(name), kind);
    }
  }
  // Each modifier is let go under the name it was pressed by: "<Right Ctrl>" released as "Ctrl"
  // would leave the right-hand key down.
  std::vector<std::string_view> released;
  for (std::string_view word : kModifierWords) {
    for (const std::string& name : held) {
      if (name.find(word) == std::string::npos) continue;
      if (std::find(released.begin(), released.end(), name) != released.end()) continue;
      released.push_back(name);
      tokens.push_back({name, 0});
    }
  }

  if (tap) AddNumLockTap(tokens);
}

}  // namespace

MacroStep SplitStepPrefix(std::string_view text) {
  MacroStep step{StepKind::Complete, text};
  if (step.text.starts_with('_')) {
    step.kind = StepKind::PressOnly;
    step.text.remove_prefix(1);
  }
  if (step.text.starts_with('-')) {
    step.kind = StepKind::ReleaseOnly;
    step.text.remove_prefix(1);
  }
  return step;
}

std::vector<MacroToken> TokenizeMacroText(std::string_view text, LockStates locks) {
  const MacroStep step = SplitStepPrefix(text);
  std::vector<MacroToken> tokens;
  const char first = step.text.empty() ? '\0' : step.text.front();
  switch (first) {
    case '[':  // a command: the generator made it a script call of its own
      break;
    case '<':
      TokenizeKeyName(step.text, step.kind, locks, tokens);
      break;
    case '{':
      TokenizeCombination(step.text, step.kind, locks, tokens);
      break;
    case '/':
      TokenizeTypedText(step.text.substr(1), step.kind, locks, tokens);
      break;
    default:  // typed text without its leading "/"
      TokenizeTypedText(step.text, step.kind, locks, tokens);
      break;
  }
  return tokens;
}

std::optional<MouseStep> ParseMouseStep(std::string_view text) {
  const MacroStep step = SplitStepPrefix(text);
  if (step.text.find("<Mouse") == std::string_view::npos) return std::nullopt;
  if (step.text.find("<Mouse Double") != std::string_view::npos)
    return MouseStep{MouseStep::Action::DoubleClick, ScanCodeOf("<Mouse Click>")};
  MouseStep mouse{MouseStep::Action::Click, ScanCodeOf(step.text)};
  if (step.kind == StepKind::PressOnly) mouse.action = MouseStep::Action::Press;
  if (step.kind == StepKind::ReleaseOnly) mouse.action = MouseStep::Action::Release;
  return mouse;
}
