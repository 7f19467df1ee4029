// Macro step text to key tokens: typed text with Shift and Caps Lock, key names with the Num
// Lock taps, key combinations, prefixes, commands and mouse steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/keys/key_name_tables.h"
#include "runtime/keys/macro_tokens.h"

namespace {

class MacroTokens : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitKeyNameTables(); }
  static void TearDownTestSuite() { ClearKeyNameTables(); }
};

// "+name" for a press, "-name" for a release, joined by ", ".
std::string Format(const std::vector<MacroToken>& tokens) {
  std::string out;
  for (const MacroToken& t : tokens) {
    std::string name = t.name;
    if (t.unicode) name = "U+" + std::to_string(t.unicode);
    out += (out.empty() ? "" : ", ") + std::string(t.down ? "+" : "-") + name;
  }
  return out;
}

constexpr LockStates kOff{false, false};
constexpr LockStates kCaps{true, false};
constexpr LockStates kNum{false, true};

struct Case {
  const char* text;
  LockStates locks;
  const char* tokens;
};

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("text: ") + c.text);
    EXPECT_EQ(Format(TokenizeMacroText(c.text, c.locks)), c.tokens);
  }
}

TEST_F(MacroTokens, TypedText) {
  Check({
      {"", kOff, ""},
      {"/", kOff, ""},
      {"Ab", kOff, "+Shift, +A, -A, -Shift, +b, -b"},
      {"/ab", kOff, "+a, -a, +b, -b"},
      {"a/b", kOff, "+a, -a, +/, -/, +b, -b"},
      {"//", kOff, "+/, -/"},
      {"1!", kOff, "+1, -1, +Shift, +!, -!, -Shift"},
      {"a b", kOff, "+a, -a, + , - , +b, -b"},
      // Caps Lock turns the letters round, not the digits and symbols.
      {"aA1!", kCaps, "+Shift, +a, -a, -Shift, +A, -A, +1, -1, +Shift, +!, -!, -Shift"},
      // Tab, line feed and the like keep Shift as it is; it goes up after the last one.
      {"A\tb", kOff, "+Shift, +A, -A, +\t, -\t, -Shift, +b, -b"},
      {"A\n", kOff, "+Shift, +A, -A, +\n, -\n, -Shift"},
      {"\xE9", kOff, "+\xE9, -\xE9"},
      // ESC and five digits stand for one character, sent as itself; Shift is let go first.
      {"/\x1B" "00252", kOff, "+U+252, -U+252"},
      {"A\x1B" "00233b", kOff, "+Shift, +A, -A, -Shift, +U+233, -U+233, +b, -b"},
      {"_\x1B" "08364", kOff, "+U+8364"},
      {"-\x1B" "65535", kOff, "-U+65535"},
      // A cut or broken escape is no character: its ESC and digits go as they are.
      {"\x1B" "0025", kOff, "+\x1B, -\x1B, +0, -0, +0, -0, +2, -2, +5, -5"},
      {"\x1B" "0a252", kOff, "+\x1B, -\x1B, +0, -0, +a, -a, +2, -2, +5, -5, +2, -2"},
      // Prefixes: press only, release only.
      {"_ab", kOff, "+a, +b"},
      {"-ab", kOff, "-a, -b"},
      {"-Shift", kOff, "+Shift, -S, -Shift, -h, -i, -f, -t"},
      {"_-a", kOff, "-a"},
      // Commands are script calls of their own.
      {"[Scroll Up]", kOff, ""},
      {"_[x]", kOff, ""},
  });
}

TEST_F(MacroTokens, KeyNamesWithNumLock) {
  Check({
      {"<Return>", kOff, "+<Return>, -<Return>"},
      {"<Home>", kOff, "+<Home>, -<Home>"},
      {"<Home>", kNum,
       "+<Num Lock>, -<Num Lock>, +<Home>, -<Home>, +<Num Lock>, -<Num Lock>"},
      {"<Return>", kNum,
       "+<Num Lock>, -<Num Lock>, +<Return>, -<Return>, +<Num Lock>, -<Num Lock>"},
      {"<#5>", kOff, "+<Num Lock>, -<Num Lock>, +<#5>, -<#5>, +<Num Lock>, -<Num Lock>"},
      {"<#5>", kNum, "+<#5>, -<#5>"},
      {"_<Home>", kNum, "+<Num Lock>, -<Num Lock>, +<Home>, +<Num Lock>, -<Num Lock>"},
      {"-<F1>", kOff, "-<F1>"},
      // The whole text is one name.
      {"<Home><End>", kNum, "+<Home><End>, -<Home><End>"},
      {"<Nope>", kOff, "+<Nope>, -<Nope>"},
  });
}

TEST_F(MacroTokens, KeyCombinations) {
  Check({
      {"{Ctrl+c}", kOff, "+Ctrl, +c, -c, -Ctrl"},
      {"{Ctrl+Alt+Delete}", kOff, "+Ctrl, +Alt, +<Delete>, -<Delete>, -Alt, -Ctrl"},
      {"{Shift+WinKey+Alt+Ctrl+x}", kOff,
       "+Shift, +WinKey, +Alt, +Ctrl, +x, -x, -Alt, -Ctrl, -Shift, -WinKey"},
      {"_{Ctrl+c}", kOff, "+Ctrl, +c"},
      {"-{Ctrl+c}", kOff, "-Ctrl, -c"},
      {"_{Shift}", kOff, "+Shift"},
      {"{Ctrl}", kOff, "+Ctrl, -Ctrl"},
      // Names outside the scan-code table are put in brackets; "<Esc>" then counts as a
      // modifier and is let go last.
      {"{Esc+a}", kOff, "+<Esc>, +a, -a, -<Esc>"},
      {"{Ctrl+Esc}", kOff, "+Ctrl, +<Esc>, -Ctrl, -<Esc>"},
      {"{Shift+F1}", kOff, "+Shift, +<F1>, -<F1>, -Shift"},
      // The closing character is not checked; an empty part is an unknown name.
      {"{Ctrl+c)", kOff, "+Ctrl, +c, -c, -Ctrl"},
      {"{Ctrl++}", kOff, "+Ctrl, +<>, -<>, +<>, -<>, -Ctrl"},
      {"{", kOff, "+<>, -<>"},
      // Num Lock: only bracketed parts match, and only the first one counts.
      {"{Ctrl+<#5>}", kOff,
       "+<Num Lock>, -<Num Lock>, +Ctrl, +<#5>, -<#5>, -Ctrl, +<Num Lock>, -<Num Lock>"},
      {"{Ctrl+Alt+<Delete>+<Home>}", kNum,
       "+<Num Lock>, -<Num Lock>, +Ctrl, +Alt, +<Delete>, -<Delete>, +<Home>, -<Home>, -Alt, "
       "-Ctrl, +<Num Lock>, -<Num Lock>"},
      {"{Ctrl+Delete}", kNum, "+Ctrl, +<Delete>, -<Delete>, -Ctrl"},
      // A "+" inside a bracketed name is the name's.
      {"{Ctrl+<# +>}", kNum, "+Ctrl, +<# +>, -<# +>, -Ctrl"},
      {"{Ctrl+<a+b}", kOff, "+Ctrl, +<<a>, -<<a>, +b, -b, -Ctrl"},  // no closing bracket: parted
  });
}

// Every modifier goes up under the name it went down by, so no right-hand key stays down.
TEST_F(MacroTokens, ModifiersAreReleasedByTheirOwnNames) {
  Check({
      {"{<Right Ctrl>+x}", kOff, "+<Right Ctrl>, +x, -x, -<Right Ctrl>"},
      {"{<Right Alt>+Ctrl+<Right Shift>+<WinKey (right)>+z}", kOff,
       "+<Right Alt>, +Ctrl, +<Right Shift>, +<WinKey (right)>, +z, -z, -<Right Alt>, -Ctrl, "
       "-<Right Shift>, -<WinKey (right)>"},
      {"{<Left Ctrl>+<Ctrl (right)>+Ctrl+v}", kOff,
       "+<Left Ctrl>, +<Ctrl (right)>, +Ctrl, +v, -v, -<Left Ctrl>, -<Ctrl (right)>, -Ctrl"},
      {"{Ctrl+Ctrl+v}", kOff, "+Ctrl, +Ctrl, +v, -v, -Ctrl"},
  });
}

TEST_F(MacroTokens, MouseSteps) {
  using A = MouseStep::Action;
  struct MouseCase {
    const char* text;
    std::optional<MouseStep> step;
  };
  const MouseCase cases[] = {
      {"<Mouse Click>", MouseStep{A::Click, 1}},
      {"_<Mouse Right Click>", MouseStep{A::Press, 2}},
      {"-<Mouse Center Click>", MouseStep{A::Release, 4}},
      {"<Mouse Button 4 Click>", MouseStep{A::Click, 5}},
      {"<Mouse Button 5 Click>", MouseStep{A::Click, 6}},
      {"<Mouse Double Click>", MouseStep{A::DoubleClick, 1}},
      {"_<Mouse Double Right Click>", MouseStep{A::DoubleClick, 1}},
      // "<Mouse" anywhere makes a mouse step; the whole text is the name.
      {"a<Mouse Click>b", MouseStep{A::Click, 0}},
      {"{Ctrl+<Mouse Click>}", MouseStep{A::Click, 0}},
      {"<Return>", std::nullopt},
      {"<mouse click>", std::nullopt},
      {"", std::nullopt},
  };
  for (const MouseCase& c : cases) EXPECT_EQ(ParseMouseStep(c.text), c.step) << c.text;
}

}  // namespace
