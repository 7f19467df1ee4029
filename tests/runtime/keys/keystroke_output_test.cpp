// Key tokens as device keyboard states and as input records, and the mouse button records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/keys/key_input_records.h"
#include "runtime/keys/key_name_tables.h"
#include "runtime/keys/keyboard_report_state.h"
#include "runtime/keys/macro_tokens.h"
#include "runtime/keys/mouse_buttons.h"
#include "tests/platform/base/input_record_printer.h"

namespace {

class KeystrokeOutput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitKeyNameTables(); }
  static void TearDownTestSuite() { ClearKeyNameTables(); }

  std::vector<KeyboardState> Reports(const std::string& text) {
    return SendTokensAsDeviceReports(TokenizeMacroText(text, {}), state_);
  }
  KeyboardState state_{};
};

using States = std::vector<KeyboardState>;

TEST_F(KeystrokeOutput, CombinationSetsModifierBitsAndSlots) {
  EXPECT_EQ(Reports("{Ctrl+c}"),
            (States{{0x01, 0, 0, 0, 0, 0}, {0x01, 0x06, 0, 0, 0, 0}, {0x01, 0, 0, 0, 0, 0},
                    {0, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(Reports("A"), (States{{0x02, 0, 0, 0, 0, 0}, {0x02, 0x04, 0, 0, 0, 0},
                                  {0x02, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(Reports("<Return>"), (States{{0, 0x28, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(state_, (KeyboardState{}));
}

TEST_F(KeystrokeOutput, RightHandModifiersSetTheSameBits) {
  EXPECT_EQ(Reports("_{<Right Ctrl>+<Right Shift>+<Alt (right)>+<Right WinKey>}").back(),
            (KeyboardState{0x0F, 0, 0, 0, 0, 0}));
  // Released under its own name, the right Ctrl clears the Ctrl bit.
  EXPECT_EQ(Reports("{<Right Ctrl>+x}").back(), (KeyboardState{0x0E, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Reports("-{Ctrl+Shift+Alt+WinKey}").back(), (KeyboardState{}));
  // These names hold no "WinKey": their usage takes a slot.
  EXPECT_EQ(Reports("_<Windows Key (left)>").back(), (KeyboardState{0, 0xE3, 0, 0, 0, 0}));
}

TEST_F(KeystrokeOutput, FiveSlotsKeptPackedAcrossSteps) {
  // A sixth key down is dropped without a report.
  EXPECT_EQ(Reports("_abcdef").size(), 5u);
  EXPECT_EQ(state_, (KeyboardState{0, 0x04, 0x05, 0x06, 0x07, 0x08}));
  // Letting go of c moves d and e down.
  EXPECT_EQ(Reports("-c"), (States{{0, 0x04, 0x05, 0x07, 0x08, 0}}));
  EXPECT_EQ(Reports("_f"), (States{{0, 0x04, 0x05, 0x07, 0x08, 0x09}}));
  // A key in no slot: no report.
  EXPECT_TRUE(Reports("-z").empty());
  EXPECT_EQ(Reports("-a"), (States{{0, 0x05, 0x07, 0x08, 0x09, 0}}));
  // The modifier byte is not a slot.
  EXPECT_EQ(Reports("_{Shift}"), (States{{0x02, 0x05, 0x07, 0x08, 0x09, 0}}));
}

TEST_F(KeystrokeOutput, CharactersBeyondTheKeysAreDroppedFromReports) {
  EXPECT_EQ(Reports("/a\x1B" "00252"), (States{{0, 0x04, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}));
}

TEST_F(KeystrokeOutput, KeyPressedTwiceTakesOneSlot) {
  // "<Esc>" is held to the end of a combination like a modifier, but has no modifier bit: its
  // second press must not take a second slot that the one release leaves behind.
  EXPECT_EQ(Reports("{Esc+<Esc>+WinKey}").back(), (KeyboardState{}));
  EXPECT_EQ(Reports("_aa"), (States{{0, 0x04, 0, 0, 0, 0}}));
  EXPECT_EQ(Reports("-a"), (States{{0, 0, 0, 0, 0, 0}}));
}

TEST_F(KeystrokeOutput, UnknownNamesGoOutAsUsageZero) {
  EXPECT_EQ(Reports("<Nope>"), (States{{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(Reports("<F13>"), (States{{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}));
}

TEST_F(KeystrokeOutput, InputRecords) {
  constexpr std::uint32_t S = kKeyEventScanCode, U = kKeyEventKeyUp, E = kKeyEventExtendedKey;
  struct Case {
    const char* text;
    std::vector<InputRecord> records;
  };
  const Case cases[] = {
      // Scan code and virtual key both (Windows takes the one, Wine the other).
      {"a", {KeyboardRecord(0x41, 30, S), KeyboardRecord(0x41, 30, S | U)}},
      {"_A", {KeyboardRecord(0xA0, 42, S), KeyboardRecord(0x41, 30, S),
              KeyboardRecord(0xA0, 42, S | U)}},
      {"-\n", {KeyboardRecord(0x0D, 28, S | U)}},
      // Keys of the 0xE0 group go as extended keys with their set-1 code.
      {"_<Home>", {KeyboardRecord(0x24, 0x47, S | E)}},
      {"-<Delete>", {KeyboardRecord(0x2E, 0x53, S | E | U)}},
      {"_<Right Ctrl>", {KeyboardRecord(0xA3, 0x1D, S | E)}},
      {"_<Ctrl (right)>", {KeyboardRecord(0xA3, 0x1D, S | E)}},
      {"_<# />", {KeyboardRecord(0x6F, 0x35, S | E)}},
      {"_<Volume Mute>", {KeyboardRecord(0xAD, 0x20, S | E)}},
      {"_<Non-Convert>", {KeyboardRecord(0x1D, 123, S | E)}},
      {"_<Left WinKey>", {KeyboardRecord(0x5B, 0x5B, S | E)}},
      // The virtual-key key set: by virtual key alone, the scan code as the table has it.
      {"<Pause>", {KeyboardRecord(0x13, 197, 0), KeyboardRecord(0x13, 197, U)}},
      {"_{WinKey}", {KeyboardRecord(0x5B, 91, 0)}},
      {"-<F17>", {KeyboardRecord(0x80, 128, U)}},
      {"_<Cancel>", {KeyboardRecord(0x13, 0x45, S | E)}},
      {"_<Nope>", {KeyboardRecord(0, 0, S)}},
      // A character beyond the keys: as itself.
      {"/\x1B" "00252", {KeyboardRecord(0, 252, kKeyEventUnicode),
                         KeyboardRecord(0, 252, kKeyEventUnicode | U)}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendTokensAsInput(TokenizeMacroText(c.text, {})), c.records) << c.text;
}

TEST(MouseButtons, RecordsByButtonNumber) {
  struct Case {
    int button;
    std::uint32_t down, up, data;
  };
  const Case cases[] = {
      {1, kMouseEventLeftDown, kMouseEventLeftUp, 0},
      {2, kMouseEventRightDown, kMouseEventRightUp, 0},
      {4, kMouseEventMiddleDown, kMouseEventMiddleUp, 0},
      {5, kMouseEventXDown, kMouseEventXUp, 1},
      {6, kMouseEventXDown, kMouseEventXUp, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MouseButtonRecord(c.button, true), MouseRecord(0, 0, c.data, c.down)) << c.button;
    EXPECT_EQ(MouseButtonRecord(c.button, false), MouseRecord(0, 0, c.data, c.up)) << c.button;
  }
  for (int button : {0, 3, 7, -1, 256}) EXPECT_FALSE(MouseButtonRecord(button, true)) << button;
}

}  // namespace
