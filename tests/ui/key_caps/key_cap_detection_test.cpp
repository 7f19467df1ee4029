#include "ui/key_caps/key_cap_detection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/key_caps/key_cap_fixture.h"

using namespace testsupport;

namespace {

std::vector<RectF> RectsOf(const std::vector<int>& ids) {
  const std::vector<KeyRecord> keys = PadKeys();
  std::vector<RectF> rects;
  for (int id : ids) rects.push_back(keys[FindKeyIndex(keys, id)].key);
  return rects;
}

TEST(KeyCapKind, FollowsFromWhereTheKeysLie) {
  // Pad rows: 0 1 2 3 4 5 / 6 7 16 17 18 19 / 20 21 22 23 32 33 / 34 35 36 37 38 39
  struct Case {
    std::vector<int> ids;  // ascending
    int kind;
  } cases[] = {
      {{0, 1}, kDoubleWideCap},
      {{18, 19}, kDoubleWideCap},
      {{0, 6}, kDoubleTallCap},
      {{19, 33}, kDoubleTallCap},
      {{0, 7}, kQuadCap},                // diagonal neighbours
      {{1, 6}, kQuadCap},                // the other diagonal
      {{0, 1, 6, 7}, kQuadCap},          // a square, first two in a row
      {{16, 17, 22, 23}, kQuadCap},
      {{0, 6, 7}, kQuadCap},             // first two in a column, the third beside them
      {{1, 6, 7}, kQuadCap},             // first two diagonal, the third in their square
      {{7, 16, 21}, kQuadCap},           // first two in a row, the third below the first
      {{17, 22, 23}, kQuadCap},          // first two diagonal
      {{0, 1, 2, 3}, kPlainKey},         // four in a row
      {{0, 6, 20, 34}, kPlainKey},       // four in a column
      {{0, 1, 2}, kPlainKey},            // three in a row
      {{0, 2}, kPlainKey},               // not neighbours
      {{0, 20}, kPlainKey},
      {{0, 1, 6, 21}, kPlainKey},        // the fourth outside the square
      {{0}, kPlainKey},
      {{0, 1, 6, 7, 16}, kPlainKey},     // five keys
  };
  for (const Case& c : cases) {
    std::string name;
    for (int id : c.ids) name += std::to_string(id) + " ";
    EXPECT_EQ(KeyCapKindOf(RectsOf(c.ids)), c.kind) << name;
  }
}

TEST(KeyCapKind, EveryKeyAfterTheFirstTwoMustLieInTheSquare) {
  // Diagonal neighbours with a far third key and a fourth inside: no cap spanning the keypad.
  EXPECT_EQ(KeyCapKindOf({{0, 0, 60, 60}, {60, 60, 60, 60}, {300, 300, 60, 60}, {60, 0, 60, 60}}), kPlainKey);
  EXPECT_EQ(KeyCapKindOf({{0, 0, 60, 60}, {60, 60, 60, 60}, {0, 60, 60, 60}, {60, 0, 60, 60}}), kQuadCap);
  // Keys with a gap between them are no neighbours: caps fit only keys set at their pitch.
  EXPECT_EQ(KeyCapKindOf({{10, 20, 40, 40}, {55, 20, 40, 40}}), kPlainKey);
}

// Keys go down ("+id") and up ("-id"); the caps made, as "kind: ids".
std::vector<std::string> Detect(const std::vector<std::string>& steps, std::vector<KeyRecord> keys = PadKeys()) {
  KeyCapDetector detector;
  std::vector<std::string> made;
  for (const std::string& step : steps) {
    const int id = std::stoi(step.substr(1));
    if (step[0] == '+') {
      detector.KeyDown(id, keys);
      continue;
    }
    if (auto cap = detector.KeyUp(id, keys)) {
      std::string text = std::to_string(cap->kind) + ":";
      for (int k : cap->keyIds) text += " " + std::to_string(k);
      made.push_back(text);
    }
  }
  return made;
}

using Made = std::vector<std::string>;

TEST(KeyCapDetector, AGroupEndsWhenItsLastKeyIsReleased) {
  EXPECT_EQ(Detect({"+1", "+0", "-1", "-0"}), (Made{"2: 0 1"}));
  EXPECT_EQ(Detect({"+0", "+1", "-0", "+6", "+7", "-1", "-6", "-7"}), (Made{"4: 0 1 6 7"}));
  EXPECT_EQ(Detect({"+0", "-0", "+6", "-6"}), (Made{}));  // one key, twice
}

TEST(KeyCapDetector, AGroupThatMakesNoCapIsForgotten) {
  // One key, five keys, keys apart: the next group starts afresh.
  EXPECT_EQ(Detect({"+0", "-0", "+0", "+1", "-0", "-1"}), (Made{"2: 0 1"}));
  EXPECT_EQ(Detect({"+0", "+1", "+2", "+3", "+4", "-0", "-1", "-2", "-3", "-4", "+6", "+20", "-6", "-20"}),
            (Made{"3: 6 20"}));
  EXPECT_EQ(Detect({"+0", "+2", "-0", "-2", "+16", "+17", "-16", "-17"}), (Made{"2: 16 17"}));
  // A key the layout does not show is no part of a group.
  EXPECT_EQ(Detect({"+0", "+9", "+1", "-9", "-0", "-1"}), (Made{"2: 0 1"}));
  // A release of a key pressed before the dialog opened ends an empty group.
  EXPECT_EQ(Detect({"-5", "+4", "+5", "-4", "-5"}), (Made{"2: 4 5"}));
}

TEST(KeyCapDetector, KeysUnderACapOrSpacersTakeNoSecondCap) {
  std::vector<KeyRecord> keys = PadKeys();
  keys[0].capKind = kCoveredByCap;  // key 0
  keys[0].pairedId = 8;
  keys[2].capKind = kSpacerKey;     // key 2
  EXPECT_EQ(Detect({"+0", "+1", "-0", "-1"}, keys), (Made{}));
  EXPECT_EQ(Detect({"+1", "+2", "-1", "-2", "+3", "+4", "-3", "-4"}, keys), (Made{"2: 3 4"}));
}

}  // namespace
