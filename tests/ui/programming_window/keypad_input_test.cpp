// The keypad view's answers to the mouse and the device's keys: states, redraws and the
// editor toggles, on a small layout of the tests' own.
#include <gtest/gtest.h>

#include "macros/model/macro_context.h"
#include "ui/programming_window/keypad_input.h"
#include "ui/programming_window/programming_window_ids.h"

namespace {

// Three keys of 40 in a row at y 20 (ids 1, 2, 3), a cap (id 90) over two more (ids 4, 5) and
// a spacer (id 6); the green and red indicator LEDs above them.
class KeypadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int id : {1, 2, 3}) Add(id, {static_cast<float>(10 + 40 * (id - 1)), 20, 40, 40});
    Add(4, {130, 20, 40, 40}).capKind = kCoveredByCap;
    Add(5, {170, 20, 40, 40}).capKind = kCoveredByCap;
    Add(6, {210, 20, 40, 40}).capKind = kSpacerKey;
    KeyRecord& cap = Add(90, {130, 20, 80, 40});
    cap.capKind = kDoubleWideCap;
    cap.pairedId = 90;
    c.keys[3].pairedId = c.keys[4].pairedId = 90;
    c.keyCaps.push_back({kDoubleWideCap, 90, {4, 5}, 130, 20, 80, 40});
    c.leds.push_back({0, true, false, 10, 2, 16, 16});
    c.leds.push_back({0, true, true, 30, 2, 16, 16});
  }
  KeyRecord& Add(int id, RectF rect) {
    KeyRecord k;
    k.keyId = static_cast<std::uint8_t>(id);
    k.key = rect;
    c.keys.push_back(k);
    return c.keys.back();
  }
  std::string States() const {
    std::string s;
    for (const KeyRecord& k : c.keys) s += static_cast<char>('0' + k.state);
    return s;
  }
  int Index(int id) const { return FindKeyIndex(c.keys, id); }

  MacroContext c;
};

TEST_F(KeypadInput, ClickReleasedOnTheSameKeyTogglesItsEditor) {
  EXPECT_EQ(MouseMoved(c, 15, 25).dirty.size(), 1u);
  EXPECT_EQ(States(), "1000000");
  EXPECT_EQ(MousePressed(c, 15, 25, false).toggleEditorKey, -1);
  EXPECT_EQ(States(), "2000000");
  const KeypadEffects up = MouseReleased(c, 16, 26, true, false, 0);
  EXPECT_EQ(up.toggleEditorKey, 0);
  EXPECT_EQ(States(), "1000000");
  // The click is over: hovering the key afterwards shows it as hovered, not pressed.
  MouseMoved(c, 17, 27);
  EXPECT_EQ(States(), "1000000");
  EXPECT_EQ(c.pressedKeyId, kNoKeyId);
}

TEST_F(KeypadInput, ClickReleasedOnAnotherKeyOpensNothing) {
  MouseMoved(c, 15, 25);
  MousePressed(c, 15, 25, false);
  MouseMoved(c, 55, 25);  // the pressed key shows as hovered once the mouse leaves it
  EXPECT_EQ(States(), "1000000");
  const KeypadEffects up = MouseReleased(c, 55, 25, true, false, 0);
  EXPECT_EQ(up.toggleEditorKey, -1);
  EXPECT_EQ(States(), "0100000");
  EXPECT_EQ(c.hotKeyId, 2);
}

TEST_F(KeypadInput, MouseOverTheGapsAndBack) {
  MouseMoved(c, 15, 25);
  MouseMoved(c, 55, 25);
  EXPECT_EQ(States(), "0100000");
  const KeypadEffects off = MouseMoved(c, 5, 100);
  EXPECT_EQ(States(), "0000000");
  ASSERT_EQ(off.dirty.size(), 1u);
  EXPECT_EQ(off.dirty[0], (PixelRect{50, 20, 90, 60}));
  MouseMoved(c, 55, 25);
  EXPECT_EQ(States(), "0100000");
  // A covered key and a spacer are not hit: the cap is.
  MouseMoved(c, 175, 25);
  EXPECT_EQ(States(), "0000001");
  MouseMoved(c, 215, 25);
  EXPECT_EQ(States(), "0000000");
}

TEST_F(KeypadInput, CtrlShiftClickOnlySendsItsCommand) {
  const KeypadEffects e = MousePressed(c, 15, 25, true);
  EXPECT_EQ(e.command, IDM_PW_CTRL_SHIFT_CLICK);
  EXPECT_EQ(States(), "0000000");
}

TEST_F(KeypadInput, IndicatorClicksSwitchToTheirColour) {
  // The green indicator, clicked while the red layer of program layer 2 is shown.
  MouseMoved(c, 12, 4);
  EXPECT_EQ(c.leds[0].state, kStateOver);
  MousePressed(c, 12, 4, false);
  EXPECT_EQ(c.leds[0].state, kStatePressed);
  EXPECT_EQ(MouseReleased(c, 12, 4, true, true, 33005).command, 33004);
  EXPECT_EQ(c.leds[0].state, kStateOver);
  // The indicator of the colour shown, and any indicator of a device without colour layers,
  // switch nothing.
  MousePressed(c, 32, 4, false);
  EXPECT_EQ(MouseReleased(c, 32, 4, true, true, 33005).command, 0);
  MousePressed(c, 12, 4, false);
  EXPECT_EQ(MouseReleased(c, 12, 4, false, true, 33005).command, 0);
  // Leaving the LEDs puts the hot one back.
  MouseMoved(c, 5, 100);
  EXPECT_EQ(c.leds[0].state, kStateNormal);
  EXPECT_EQ(c.view.hotLed, -1);
}

TEST_F(KeypadInput, DeviceKeysSelectTheirKeyAndToggleItsEditor) {
  KeypadEffects e = DeviceKeyPressed(c, 2, false);
  EXPECT_EQ(e.toggleEditorKey, 1);
  EXPECT_EQ(e.closeEditorKey, -1);
  EXPECT_EQ(States(), "0100000");
  // With the editor open, another key closes it first; the same key again toggles it shut.
  e = DeviceKeyPressed(c, 3, true);
  EXPECT_EQ(e.closeEditorKey, 1);
  EXPECT_EQ(e.toggleEditorKey, 2);
  EXPECT_EQ(States(), "0010000");
  e = DeviceKeyPressed(c, 3, true);
  EXPECT_EQ(e.closeEditorKey, -1);
  EXPECT_EQ(e.toggleEditorKey, 2);
  // A spacer and a key without a record do nothing.
  EXPECT_EQ(DeviceKeyPressed(c, 6, false).toggleEditorKey, -1);
  EXPECT_EQ(DeviceKeyPressed(c, 77, false).toggleEditorKey, -1);
}

TEST_F(KeypadInput, KeysUnderACapCountAsTheCap) {
  EXPECT_EQ(DeviceKeyPressed(c, 4, false).toggleEditorKey, Index(90));
  EXPECT_EQ(c.keys[Index(90)].pressCount, 1);
  // The cap's second key while the first is held does nothing.
  EXPECT_EQ(DeviceKeyPressed(c, 5, true).toggleEditorKey, -1);
  EXPECT_EQ(c.keys[Index(90)].pressCount, 2);
  DeviceKeyReleased(c, 5);
  DeviceKeyReleased(c, 4);
  DeviceKeyReleased(c, 4);  // never below 0
  EXPECT_EQ(c.keys[Index(90)].pressCount, 0);
  EXPECT_EQ(DeviceKeyPressed(c, 5, true).toggleEditorKey, Index(90));
}

TEST_F(KeypadInput, StatesChangeOnlyForRealKeysAndLeds) {
  KeypadEffects e;
  SetKeyState(c, -1, kStateOver, e);
  SetKeyState(c, 99, kStateOver, e);
  SetLedState(c, 5, kStateOver, e);
  SetKeyState(c, 0, kStateNormal, e);  // unchanged
  EXPECT_FALSE(e.Changed());
}

}  // namespace
