#include "ui/key_caps/key_cap_changes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/model/key_caps.h"
#include "macros/model/key_functions.h"
#include "macros/model/macro_model_events.h"
#include "macros/model/script_reader.h"
#include "macros/model/script_writer.h"
#include "tests/ui/key_caps/key_cap_fixture.h"

using namespace testsupport;

namespace {

int Index(const MacroContext& c, int id) { return FindKeyIndex(c.keys, id); }

struct CapFixture : ::testing::Test {
  MacroContext c;
  RecordingPort port;
  void SetUp() override { c.keys = PadKeys(); }
  int Cap(int kind, const std::vector<int>& ids, bool store = true) {
    std::vector<int> indexes;
    for (int id : ids) indexes.push_back(Index(c, id));
    return ChangeKeyCap(c, KeyRecord{}, indexes, kind, store, port);
  }
};

using KeyCapChanges = CapFixture;

TEST_F(KeyCapChanges, ACapCoversItsKeysAndIsStored) {
  struct Case {
    int kind;
    std::vector<int> ids;
    RectF key;
    RectF label;
    const char* normalImage;
  } cases[] = {
      {kDoubleWideCap, {1, 0}, {20, 45, 120, 60}, {22, 89, 116, 14}, "2WideKey.png"},
      {kDoubleTallCap, {0, 6}, {20, 45, 60, 120}, {22, 89, 56, 74}, "2TallKey.png"},
      {kQuadCap, {16, 17, 22, 23}, {140, 105, 120, 120}, {142, 149, 116, 74}, "QuadKey.png"},
  };
  for (const Case& k : cases) {
    SetUp();
    c.keyCaps.clear();
    port.events.clear();
    const int id = Cap(k.kind, k.ids);
    EXPECT_EQ(id, 8);  // the lowest id no record uses
    const KeyRecord& cap = c.keys.back();
    EXPECT_EQ(cap.keyId, 8);
    EXPECT_EQ(cap.pairedId, 8);
    EXPECT_EQ(cap.capKind, k.kind);
    EXPECT_EQ(cap.key, k.key);
    EXPECT_EQ(cap.label, k.label);
    EXPECT_EQ(ImageName(cap.images[kNormalImage]), k.normalImage);
    for (int slot = 0; slot < 5; ++slot) EXPECT_EQ(ImageName(cap.images[slot]), KeyCapImageNames(k.kind)[slot]);
    for (int key : k.ids) {
      EXPECT_EQ(c.keys[Index(c, key)].capKind, kCoveredByCap);
      EXPECT_EQ(c.keys[Index(c, key)].pairedId, 8);
    }
    ASSERT_EQ(c.keyCaps.size(), 1u);
    std::vector<std::uint8_t> sorted(k.ids.begin(), k.ids.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(c.keyCaps[0], (KeyCapDefinition{k.kind, 8, sorted, k.key.x, k.key.y, k.key.w, k.key.h}));
    EXPECT_EQ(port.Events(), "redraw, write");
  }
}

TEST_F(KeyCapChanges, TheFiveImagesOfEachKindAreInSlotOrder) {
  EXPECT_EQ(KeyCapImageNames(kDoubleWideCap),
            (std::vector<std::string>{"2WideGreenOver.png", "2WideGreenPressed.png", "2WideRedOver.png",
                                      "2WideRedPressed.png", "2WideKey.png"}));
  EXPECT_EQ(KeyCapImageNames(kDoubleTallCap)[2], "2TallRedOver.png");
  EXPECT_EQ(KeyCapImageNames(kQuadCap)[1], "QuadGreenPressed.png");
  EXPECT_TRUE(KeyCapImageNames(kSpacerKey).empty());
}

TEST_F(KeyCapChanges, AStoredCapKeepsItsIdAndIsNotStoredAgain) {
  KeyRecord stored;
  stored.keyId = 90;
  stored.pairedId = 50;
  stored.key = {1, 2, 3, 4};
  EXPECT_EQ(ChangeKeyCap(c, stored, {Index(c, 0), Index(c, 1)}, kDoubleWideCap, false, port), 50);
  EXPECT_EQ(c.keys.back().keyId, 50);
  EXPECT_EQ(c.keys.back().key, (RectF{20, 45, 120, 60}));  // from the keys, not the file
  EXPECT_TRUE(c.keyCaps.empty());
  EXPECT_EQ(port.Events(), "redraw");
  // Keys gone from the layout: the cap stays where the file put it.
  EXPECT_EQ(ChangeKeyCap(c, stored, {}, kQuadCap, false, port), 50);
  EXPECT_EQ(c.keys.back().key, (RectF{1, 2, 3, 4}));
}

TEST_F(KeyCapChanges, NoCapIsMadeWhenNoIdIsFree) {
  c.keys.clear();
  for (int id = 0; id < 256; ++id) {
    KeyRecord k;
    k.keyId = static_cast<std::uint8_t>(id);
    c.keys.push_back(k);
  }
  EXPECT_EQ(Cap(kDoubleWideCap, {0, 1}), 0);
  EXPECT_EQ(c.keys.size(), 256u);
  EXPECT_EQ(c.keys[0].capKind, kPlainKey);
  EXPECT_TRUE(c.keyCaps.empty());
  EXPECT_TRUE(port.events.empty());
}

TEST_F(KeyCapChanges, RemovingACapThroughAnyOfItsKeysRestoresThemAndDropsItsMacros) {
  for (int through : {16, 23}) {
    SetUp();
    c.keyCaps.clear();
    ClearKeyFunctions(c.functions);
    ASSERT_EQ(Cap(kDoubleWideCap, {0, 1}), 8);
    ASSERT_EQ(Cap(kQuadCap, {16, 17, 22, 23}), 9);
    AddKeyFunction(c.functions, 9, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n}");
    AddKeyFunction(c.functions, 9, KeyEvent::Up, LayerColour::Red, "Word", "{\n}");
    AddKeyFunction(c.functions, 5, KeyEvent::Down, LayerColour::Green, "Pni", "{\n}");
    AddKeyFunction(c.functions, 9, KeyEvent::Down, LayerColour::Red, "Pni", "{\n}");
    c.hotKeyId = 9;
    port.events.clear();
    EXPECT_TRUE(RemoveKeyCapOver(c, through, port));
    EXPECT_EQ(port.Events(), "write, redraw");
    for (int id : {16, 17, 22, 23}) {
      EXPECT_EQ(c.keys[Index(c, id)].capKind, kPlainKey);
      EXPECT_EQ(c.keys[Index(c, id)].pairedId, 0);
    }
    EXPECT_EQ(Index(c, 9), -1);
    EXPECT_EQ(c.keys[Index(c, 0)].capKind, kCoveredByCap);  // the other cap stays
    ASSERT_EQ(c.functions.count(), 1);
    EXPECT_EQ(c.functions.items[0].scan, 5);
    ASSERT_EQ(c.keyCaps.size(), 1u);
    EXPECT_EQ(c.keyCaps[0].capId, 8);
    EXPECT_EQ(c.hotKeyId, kNoKeyId);
  }
  // A key under no cap removes nothing.
  port.events.clear();
  EXPECT_FALSE(RemoveKeyCapOver(c, 20, port));
  EXPECT_FALSE(RemoveKeyCapOver(c, 9, port));
  EXPECT_FALSE(RemoveKeyCapOver(c, 77, port));
  EXPECT_TRUE(port.events.empty());
}

TEST_F(KeyCapChanges, ASpacerIsShownAndQuietAndComesBack) {
  EXPECT_TRUE(SetKeySpacer(c, 3, true, port));
  EXPECT_EQ(c.spacers, (std::set<int>{3}));
  EXPECT_EQ(c.keys[Index(c, 3)].capKind, kSpacerKey);
  EXPECT_EQ(ImageName(c.keys[Index(c, 3)].images[kNormalImage]), "KeySpacer.png");
  // Shown from the script's set: not added again.
  EXPECT_TRUE(SetKeySpacer(c, 4, false, port));
  EXPECT_EQ(c.spacers, (std::set<int>{3}));
  ClearKeySpacer(c, 3, port);
  EXPECT_TRUE(c.spacers.empty());
  EXPECT_EQ(c.keys[Index(c, 3)].capKind, kPlainKey);
  EXPECT_EQ(c.keys[Index(c, 3)].images[kNormalImage], nullptr);
  EXPECT_EQ(port.Events(), "disable 3, redraw, disable 4, redraw, enable 3, redraw");
  // Keys the view lacks, and keys under a cap, take no spacer.
  port.events.clear();
  ASSERT_EQ(Cap(kDoubleWideCap, {0, 1}), 8);
  port.events.clear();
  EXPECT_FALSE(SetKeySpacer(c, 9, true, port));
  EXPECT_FALSE(SetKeySpacer(c, 0, true, port));
  EXPECT_FALSE(SetKeySpacer(c, 8, true, port));
  EXPECT_TRUE(c.spacers.empty());
  EXPECT_TRUE(port.events.empty());
}

// A key held down in the window is its selected key, with its editor open; the mouse may rest on
// it or hold it. Made a spacer, it is a blank at once: drawn as one, no longer under the mouse
// or selected, and its editor gone as if cancelled. Another key keeps all of that.
TEST_F(KeyCapChanges, ASelectedKeyMadeASpacerIsABlankAtOnce) {
  const struct {
    const char* what;
    int hot, pressed, editorKey;  // before; the hot key shows as under the mouse or pressed
    int hotAfter, pressedAfter;
    const char* events;
  } cases[] = {
      {"selected, its editor open", 3, kNoKeyId, 3, kNoKeyId, kNoKeyId, "cancel editor, disable 3, redraw"},
      {"held with the mouse", 3, 3, kNoKeyId, kNoKeyId, kNoKeyId, "disable 3, redraw"},
      {"another key's editor open", 4, kNoKeyId, 4, 4, kNoKeyId, "disable 3, redraw"},
      {"the mouse holding another key", 4, 4, kNoKeyId, 4, 4, "disable 3, redraw"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    c.keys = PadKeys();
    c.spacers.clear();
    port.events.clear();
    c.hotKeyId = k.hot;
    c.pressedKeyId = k.pressed;
    c.keys[Index(c, 3)].state = kStateOver;  // left from before, or its own
    c.keys[Index(c, k.hot)].state = k.pressed == k.hot ? kStatePressed : kStateOver;
    c.editingEntry = k.editorKey != kNoKeyId;
    c.currentKey = k.editorKey;
    ASSERT_TRUE(SetKeySpacer(c, 3, true, port));
    EXPECT_EQ(c.keys[Index(c, 3)].state, kStateNormal);
    EXPECT_EQ(c.hotKeyId, k.hotAfter);
    EXPECT_EQ(c.pressedKeyId, k.pressedAfter);
    EXPECT_EQ(port.Events(), k.events);
    if (k.hot != 3) {
      EXPECT_NE(c.keys[Index(c, k.hot)].state, kStateNormal);
    }
  }
}

TEST_F(KeyCapChanges, CapsCountTheKeysHeldUnderThem) {
  ASSERT_EQ(Cap(kDoubleWideCap, {0, 1}), 8);
  ASSERT_EQ(Cap(kQuadCap, {16, 17, 22, 23}), 9);
  c.keys[Index(c, 8)].pressCount = 2;  // releases lost while reports were discarded
  c.keys[Index(c, 9)].pressCount = 0;
  RecountCapPresses(c, {1, 17, 22, 23, 5, 99});
  EXPECT_EQ(c.keys[Index(c, 8)].pressCount, 1);
  EXPECT_EQ(c.keys[Index(c, 9)].pressCount, 3);
  RecountCapPresses(c, {});
  EXPECT_EQ(c.keys[Index(c, 8)].pressCount, 0);
}

// The view built as the window builds it, over a recording port.
class ViewEvents : public MacroModelEvents {
 public:
  RecordingPort port;
  void ChangeKeyCap(MacroContext& c, const KeyRecord& cap, const std::vector<int>& covered, int kind,
                    bool store) override {
    ::ChangeKeyCap(c, cap, covered, kind, store, port);
  }
  void ShowSpacer(MacroContext& c, int id) override { SetKeySpacer(c, id, false, port); }
};

TEST(KeyCapRoundTrip, CapsAndSpacersComeBackFromTheScriptAsTheyWereMade) {
  MacroContext made;
  made.keys = PadKeys();
  RecordingPort port;
  ASSERT_TRUE(MakeDetectedKeyCap(made, {kDoubleWideCap, {0, 1}}, port));
  ASSERT_TRUE(MakeDetectedKeyCap(made, {kQuadCap, {16, 17, 22, 23}}, port));
  ASSERT_TRUE(MakeDetectedKeyCap(made, {kDoubleTallCap, {5, 19}}, port));
  ASSERT_TRUE(SetKeySpacer(made, 33, true, port));
  const std::string text = GenerateScriptText(made, {}, std::nullopt);

  // Read back into the layout's keys, and the view built as the window builds it.
  ViewEvents view;
  MacroContext back(view);
  back.keys = PadKeys();
  ReadScriptText(back, text, DeviceEffects::None);
  BuildKeyCapViews(back);
  BuildKeyCapViews(back);  // again, as after an Open: still one record per cap

  EXPECT_EQ(back.keyCaps, made.keyCaps);
  EXPECT_EQ(back.spacers, made.spacers);
  ASSERT_EQ(back.keys.size(), made.keys.size());
  for (std::size_t i = 0; i < made.keys.size(); ++i) {
    SCOPED_TRACE(i);
    const KeyRecord& a = made.keys[i];
    const KeyRecord& b = back.keys[i];
    EXPECT_EQ(b.keyId, a.keyId);
    EXPECT_EQ(b.pairedId, a.pairedId);
    EXPECT_EQ(b.capKind, a.capKind);
    EXPECT_EQ(b.key, a.key);
    EXPECT_EQ(b.label, a.label);
    for (std::size_t slot = 0; slot < a.images.size(); ++slot)
      EXPECT_EQ(ImageName(b.images[slot]), ImageName(a.images[slot]));
  }
  // The view is built without writing anything, and the spacer's key is kept quiet.
  EXPECT_EQ(std::count(view.port.events.begin(), view.port.events.end(), "write"), 0);
  EXPECT_EQ(std::count(view.port.events.begin(), view.port.events.end(), "disable 33"), 2);
}

}  // namespace
