#pragma once
// Macro step text turned into key tokens. One step is one of: typed text ("/" and the
// characters, or any text not beginning with "[", "{", "<" or "/"; ESC and five digits in it
// stand for one character), one key name ("<Home>"),
// a key combination ("{Ctrl+c}"), a command ("[...]", no tokens), or a mouse step (any text
// containing "<Mouse"). A leading "_" makes a step press-only, then a leading "-" release-only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/input_records.h"

enum class StepKind : std::uint8_t { Complete, PressOnly, ReleaseOnly };

struct MacroStep {
  StepKind kind = StepKind::Complete;
  std::string_view text;  // without its prefixes
};
// Both prefixes ("_-"): the second decides, the step is release-only.
MacroStep SplitStepPrefix(std::string_view text);

struct MacroToken {
  std::string name;  // a key name, a single character, or any other text (sent as code 0)
  std::uint8_t down = 1;
  // A character sent as itself rather than as a key (name empty): typed text carries one as
  // ESC and five decimal digits, as the script files write characters beyond ASCII.
  std::uint16_t unicode = 0;

  bool operator==(const MacroToken&) const = default;
};

// The next "+" from `from` on that parts a combination's text between its braces: one inside a
// bracketed name ("<# +>") belongs to the name. npos when there is none.
template <typename Char>
std::size_t CombinationPlus(std::basic_string_view<Char> inner, std::size_t from) {
  for (std::size_t i = from; i < inner.size(); ++i) {
    if (inner[i] == Char('+')) return i;
    if (inner[i] == Char('<')) {
      const std::size_t close = inner.find(Char('>'), i);
      if (close != std::basic_string_view<Char>::npos) i = close;
    }
  }
  return std::basic_string_view<Char>::npos;
}

// The key tokens of one step, in sending order. Needs the key-name tables.
std::vector<MacroToken> TokenizeMacroText(std::string_view text, LockStates locks);

struct MouseStep {
  enum class Action : std::uint8_t { Click, Press, Release, DoubleClick };
  Action action = Action::Click;
  int button = 0;  // from the scan-code table; 0 for an unknown "<Mouse...>" name

  bool operator==(const MouseStep&) const = default;
};
// The mouse step of a text, or none when the text holds no "<Mouse". A double click is always
// of the left button, whatever the prefixes.
std::optional<MouseStep> ParseMouseStep(std::string_view text);
