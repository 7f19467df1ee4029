// Macro steps as key-code strings and back: the bytes of each kind of step, what has no code,
// and round trips through a table of macros.
#include "macros/model/onboard_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/model/macro_steps.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Steps = std::vector<std::wstring>;

constexpr std::uint8_t A = 0x04, B = 0x05, C = 0x06, X = 0x1B, ONE = 0x1E, RET = 0x28, ESC = 0x29,
                       TAB = 0x2B, DEL = 0x4C, F1 = 0x3A;
constexpr std::uint8_t R = 0xE8, W = 0xE9, M = 0xEC;

Bytes Delay(int n) {
  Bytes b(static_cast<std::size_t>(n), W);
  b.push_back(0);
  return b;
}

TEST(OnboardConversion, StepsToCodes) {
  const struct {
    Steps steps;
    Bytes codes;
  } cases[] = {
      {{L"{Ctrl+c}"}, {M, 0x01, C, R, C, M, 0, 0}},
      {{L"/Ab"}, {M, 0x02, A, R, A, M, 0, B, R, B, 0}},
      {{L"[Delay 1.5]"}, Delay(6)},
      {{L"[Delay 0.5]", L"[Delay 0.25]"}, Delay(3)},
      {{L"<Return>"}, {RET, R, RET, 0}},
      {{L"_<Return>"}, {RET, 0}},
      {{L"-<Return>"}, {R, RET, 0}},
      {{L"{Ctrl+Alt+Delete}"}, {M, 0x05, DEL, R, DEL, M, 0, 0}},
      {{L"{Esc}"}, {M, 0, ESC, R, ESC, M, 0, 0}},
      {{L"a"}, {A, R, A, 0}},
      {{L"/!"}, {M, 0x02, ONE, R, ONE, M, 0, 0}},
      // Names without a usage give no byte: a 0 would cut the rest of the macro off.
      {{L"/a", L"<Mouse Click>", L"<Volume Up>", L"<Unknown Key>", L"/b"}, {A, R, A, B, R, B, 0}},
      {{L"/\u00e9"}, {}},
      {{L"[Open: notes.txt]"}, {}},
      {{L""}, {}},
      // Held modifiers stay held across the steps between.
      {{L"_<Left Ctrl>", L"/c", L"-<Left Ctrl>"}, {M, 0x01, C, R, C, M, 0, 0}},
      {{L"_<Right Shift>", L"-<Right Shift>"}, {M, 0x20, M, 0, 0}},
      {{L"_<Left Shift>", L"/x", L"-<Left Shift>"}, {M, 0x02, M, 0, X, R, X, M, 0x02, M, 0, 0}},
      {{L"_{Ctrl+c}", L"-{Ctrl+c}"}, {M, 0x01, C, R, C, M, 0, 0}},
      {{L"{Shift}"}, {M, 0x02, M, 0, 0}},
      // A "+" inside a bracketed name is the name's: the keypad's plus.
      {{L"{Ctrl+<# +>}"}, {M, 0x01, 0x57, R, 0x57, M, 0, 0}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MacroTextToDeviceCodes(c.steps), c.codes) << ::testing::PrintToString(c.steps);
}

TEST(OnboardConversion, LongDelaysDoNotWrap) {
  const Bytes codes = MacroTextToDeviceCodes({L"[Delay 64]"});
  EXPECT_EQ(codes, Delay(256));
  EXPECT_EQ(DelayStepQuarters(L"[Delay 10.0]"), 40);
  EXPECT_EQ(DelayStepQuarters(L"[Delay -3]"), 0);
  EXPECT_EQ(DelayStepQuarters(L"[Delay x]"), 0);
  EXPECT_EQ(DelayStepQuarters(L"[Auto Repeat (0.5:0.05)]"), 0);
}

TEST(OnboardConversion, CodesToSteps) {
  const struct {
    Bytes codes;
    Steps steps;
  } cases[] = {
      {{M, 0x01, C, R, C, M, 0, 0}, {L"{Ctrl+c}"}},
      // 0xEC 0 ends the Shift of the typed text: /Ab, not /AB.
      {{M, 0x02, A, R, A, M, 0, B, R, B, 0}, {L"/Ab"}},
      {Delay(6), {L"[Delay 1.5]"}},
      {Delay(4), {L"[Delay 1.0]"}},
      {Delay(1), {L"[Delay 0.25]"}},
      {{ESC, R, ESC, 0}, {L"{Esc}"}},
      {{ESC, 0}, {L"_{Esc}"}},
      {{R, ESC, 0}, {L"-{Esc}"}},
      {{A, 0}, {L"_/a"}},
      {{R, A, 0}, {L"-/a"}},
      {{M, 0x02, A, M, 0, 0}, {L"_/A"}},
      {{M, 0x02, R, A, M, 0, 0}, {L"-/A"}},
      {{M, 0x01, 0}, {L"{Ctrl}"}},
      {{M, 0x11, TAB, R, TAB, 0}, {L"{Ctrl+<Tab>}"}},
      {{RET, R, RET, A, R, A, 0x2C, R, 0x2C, B, R, B, 0}, {L"<Return>", L"/a b"}},
      {{A, R, A, 0xEA, B, R, B, 0}, {L"/a"}},
      {{F1, R, F1, 0}, {L"<F1>"}},
      // Codes without a name, and strings cut short.
      {{0xF0, R, 0xF0, 0xE1, A, R, A, 0}, {L"/a"}},
      {{M}, {}},
      {{R}, {}},
      {{A, R}, {L"_/a"}},
      {{}, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DeviceCodesToMacroText(c.codes), c.steps) << ::testing::PrintToString(c.codes);
}

TEST(OnboardConversion, RoundTrips) {
  const Steps cases[] = {
      {L"{Ctrl+c}"},
      {L"/Ab"},
      {L"/Hello, World!"},
      {L"/hello world"},
      {L"[Delay 1.5]"},
      {L"<Return>"},
      {L"{Esc}"},
      {L"_{Esc}", L"/a", L"-{Esc}"},
      {L"_<WinKey (left)>", L"/e", L"-<WinKey (left)>"},
      {L"-/a"},
      {L"{Ctrl+Alt+<Delete>}"},
      {L"{Ctrl+Shift+<F1>}"},
      {L"{Ctrl+<# +>}"},
      {L"{Ctrl}"},
      {L"/ab", L"<Tab>", L"/cd"},
      {L"_<Return>", L"[Delay 0.25]", L"-<Return>"},
      {L"<Pg Up>", L"<#5>", L"<Home>"},
      {L"/~`!@#$%^&*()_+-=[]{}|\\;:'\",.<>/?"},
  };
  for (const Steps& steps : cases) {
    const Bytes codes = MacroTextToDeviceCodes(steps);
    ASSERT_FALSE(codes.empty()) << ::testing::PrintToString(steps);
    EXPECT_EQ(DeviceCodesToMacroText(codes), steps) << ::testing::PrintToString(codes);
  }
}

TEST(OnboardConversion, HeldAndReleasedSymbolsBecomePrefixes) {
  MacroEntry entry;
  int at = 0;
  for (const wchar_t* step : {L"_<Return>", L"/ab", L"-<Return>", L"[Delay 0.5]"})
    at = ParseMacroStep(entry, at, step, L"");
  EXPECT_EQ(DeviceStepTexts(entry), (Steps{L"_<Return>", L"/ab", L"-<Return>", L"[Delay 0.5]"}));
  EXPECT_EQ(MacroTextToDeviceCodes(DeviceStepTexts(entry)),
            (Bytes{RET, A, R, A, B, R, B, R, RET, W, W, 0}));
}

TEST(OnboardConversion, EmitMacroStepKinds) {
  Bytes out;
  EmitMacroStep(out, A, DeviceStepKind::kTap);
  EmitMacroStep(out, B, DeviceStepKind::kPress);
  EmitMacroStep(out, B, DeviceStepKind::kRelease);
  EmitMacroStep(out, 0x03, DeviceStepKind::kModifier);
  EmitMacroStep(out, 2, DeviceStepKind::kDelay);
  EmitMacroStep(out, 0, DeviceStepKind::kTap);
  EmitMacroStep(out, 0, DeviceStepKind::kPress);
  EXPECT_EQ(out, (Bytes{A, R, A, B, R, B, M, 0x03, W, W}));
}

TEST(OnboardConversion, Names) {
  EXPECT_EQ(DeviceKeyCodeOf(L"<Return>"), RET);
  EXPECT_EQ(DeviceKeyCodeOf(L"Esc"), ESC);
  EXPECT_EQ(DeviceKeyCodeOf(L"<Mouse Click>"), 0);
  EXPECT_EQ(ModifierBitsOf(L"Ctrl"), 0x01);
  EXPECT_EQ(ModifierBitsOf(L"<Right Ctrl>"), 0x10);
  EXPECT_EQ(ModifierBitsOf(L"<Left Control>"), 0x01);
  EXPECT_EQ(ModifierBitsOf(L"<Alt (right)>"), 0x40);
  EXPECT_EQ(ModifierBitsOf(L"WinKey"), 0x08);
  EXPECT_EQ(ModifierBitsOf(L"<WinKey (left)>"), 0);  // a key of its own
  EXPECT_EQ(DeviceKeyCodeOf(L"<WinKey (left)>"), 0xE3);
  EXPECT_EQ(ModifierBitsOf(L"<Applications>"), 0);
  EXPECT_EQ(ModifierBitsOf(L"/Shift"), 0);
  EXPECT_EQ(ModifierOnlyCombination(L"{Ctrl+Shift}"), 0x03);
  EXPECT_EQ(ModifierOnlyCombination(L"{Ctrl+c}"), 0);
}

}  // namespace
