// The programming window's decisions that need no window: hit tests, placement, titles, layer
// commands and the File menu's names.
#include <gtest/gtest.h>

#include "macros/model/macro_context.h"
#include "ui/programming_window/keypad_geometry.h"
#include "ui/programming_window/layer_choice.h"
#include "ui/programming_window/programming_window_ids.h"
#include "ui/programming_window/script_file_names.h"

namespace {

KeyRecord Key(int id, RectF rect, int capKind = kPlainKey) {
  KeyRecord k;
  k.keyId = static_cast<std::uint8_t>(id);
  k.key = rect;
  k.capKind = capKind;
  return k;
}

TEST(KeypadHitTest, FirstDrawnKeyHoldingThePoint) {
  MacroContext c;
  c.keys.push_back(Key(1, {10, 10, 40, 40}));
  c.keys.push_back(Key(2, {50, 10, 40, 40}, kCoveredByCap));
  c.keys.push_back(Key(3, {90, 10, 40, 40}, kSpacerKey));
  c.keys.push_back(Key(4, {0, 0, 0, 0}));  // a label-only record
  c.keys.push_back(Key(90, {50, 10, 80, 40}, kDoubleWideCap));
  c.keys.push_back(Key(1, {200, 10, 40, 40}));  // a later record with an earlier id
  const struct {
    float x, y;
    int index;
  } cases[] = {
      {10, 10, 0},    {49.9f, 49.9f, 0}, {50, 10, 4},  // right edge: the next key's
      {9.9f, 10, -1}, {60, 20, 4},       {100, 20, 4},  // covered and spacer keys pass to the cap
      {0, 0, -1},     {210, 20, 0},                     // the first record of the id
      {140, 20, -1},  {20, 50, -1},
  };
  for (const auto& t : cases) EXPECT_EQ(KeyFromPoint(t.x, t.y, c), t.index) << t.x << "," << t.y;
}

TEST(KeypadHitTest, LedsByTheSameEdges) {
  MacroContext c;
  c.leds.push_back({0, true, false, 178, 16, 16, 16});
  c.leds.push_back({0, true, true, 194, 16, 16, 16});
  EXPECT_EQ(LedFromPoint(178, 16, c), 0);
  EXPECT_EQ(LedFromPoint(193.9f, 31.9f, c), 0);
  EXPECT_EQ(LedFromPoint(194, 16, c), 1);
  EXPECT_EQ(LedFromPoint(210, 16, c), -1);
  EXPECT_EQ(LedFromPoint(180, 32, c), -1);
}

TEST(KeypadGeometry, PixelsRoundEachCorner) {
  EXPECT_EQ(PixelsOf(RectF{10.4f, 10.5f, 20.2f, 19.9f}), (PixelRect{10, 11, 31, 30}));
  EXPECT_EQ(PixelsOf(LayoutLed{0, true, true, 178, 16, 16, 16}), (PixelRect{178, 16, 194, 32}));
}

TEST(KeypadGeometry, PlacementCentresAboveTheMiddle) {
  EXPECT_EQ(PlaceProgrammingWindow(300, 200, ScreenArea{0, 0, 1024, 738}), (WindowPlacement{362, 244, 306, 244}));
  EXPECT_EQ(PlaceProgrammingWindow(400, 310, ScreenArea{100, 20, 1380, 1044}), (WindowPlacement{440, 332, 406, 354}));
  EXPECT_EQ(PlaceProgrammingWindow(400, 310, std::nullopt), (WindowPlacement{200, 100, 406, 354}));
  // A canvas wider than the screen goes off its left edge, as the arithmetic says.
  EXPECT_EQ(PlaceProgrammingWindow(1100, 200, ScreenArea{0, 0, 1024, 738}).x, -38);
}

TEST(LayerChoice, Titles) {
  const struct {
    const char* program;
    bool colours, red, boot;
    const char* title;
  } cases[] = {
      {"", true, false, false, "Qpad 24 LED ID:1 - Green Layer"},
      {"", true, true, false, "Qpad 24 LED ID:1 - Red Layer"},
      {"", false, true, false, "Qpad 24 LED ID:1"},
      {"", true, true, true, "Qpad 24 LED ID:1 - Red Layer - DEVICE IN BOOT MODE"},
      {"Word", true, false, false, "Qpad 24 LED ID:1 - Word - Green Layer"},
      {"My App", false, false, true, "Qpad 24 LED ID:1 - My App - DEVICE IN BOOT MODE"},
  };
  for (const auto& t : cases)
    EXPECT_EQ(ProgrammingTitle("Qpad 24 LED ID:1", t.program, t.colours, t.red, t.boot), t.title);
}

TEST(LayerChoice, IndicatorClicksKeepTheLayerAndSwitchTheColour) {
  const struct {
    int current;
    bool toRed;
    int command;
  } cases[] = {
      {0, true, IDM_PW_RED_LAYER},
      {IDM_PW_GREEN_LAYER, true, IDM_PW_RED_LAYER},
      {IDM_PW_RED_LAYER, true, IDM_PW_RED_LAYER},
      {0, false, IDM_PW_GREEN_LAYER},
      {IDM_PW_RED_LAYER, false, IDM_PW_GREEN_LAYER},
      {33005, false, 33004},
      {33004, true, 33005},
      {33000, true, 33001},
      {33001, true, 33001},
  };
  for (const auto& t : cases) EXPECT_EQ(LedClickCommand(t.current, t.toRed), t.command) << t.current;
}

TEST(LayerChoice, ProgramLayerCommandsBothWays) {
  EXPECT_EQ(ProgramLayerCommand(2, true, true), 33005);
  EXPECT_EQ(ProgramLayerCommand(2, true, false), 33002);
  EXPECT_EQ(ProgramLayerOfCommand(33005, true, 3), (ProgramLayerChoice{2, true}));
  EXPECT_EQ(ProgramLayerOfCommand(33004, true, 3), (ProgramLayerChoice{2, false}));
  EXPECT_EQ(ProgramLayerOfCommand(33002, false, 3), (ProgramLayerChoice{2, false}));
  EXPECT_EQ(ProgramLayerOfCommand(33003, false, 3), std::nullopt);  // no fourth layer
  EXPECT_EQ(ProgramLayerOfCommand(33006, true, 3), std::nullopt);
  EXPECT_EQ(ProgramLayerOfCommand(32999, true, 3), std::nullopt);
  EXPECT_EQ(ProgramLayerOfCommand(33099, true, 60), std::nullopt);  // outside the range
  EXPECT_EQ(RemovedLayerOfCommand(34220, 1), 0);
  EXPECT_EQ(RemovedLayerOfCommand(34221, 1), std::nullopt);
  EXPECT_EQ(RemovedLayerOfCommand(34319, 200), std::nullopt);
  // Every layer's commands stay inside the ranges, clear of the window's other ids.
  EXPECT_EQ(MaxProgramLayers(true), 49);
  EXPECT_EQ(MaxProgramLayers(false), 99);
  EXPECT_LE(ProgramLayerCommand(MaxProgramLayers(true) - 1, true, true), IDM_PW_LAST_PROGRAM_LAYER);
  EXPECT_LE(IDM_PW_FIRST_REMOVE_LAYER + MaxProgramLayers(false) - 1, IDM_PW_LAST_REMOVE_LAYER);
  for (int id : {IDM_PW_NEW, IDM_PW_HIDDEN_MODE, IDM_PW_KEY_CAPS_ADD, IDM_PW_KEY_CAPS_REMOVE,
                 IDM_PW_BACKLIGHTS, IDM_PW_KEYSWITCH_MODE, IDM_PW_ADD_PROGRAM_LAYER}) {
    EXPECT_FALSE(id >= IDM_PW_FIRST_REMOVE_LAYER && id <= IDM_PW_LAST_REMOVE_LAYER) << id;
    EXPECT_FALSE(id >= IDM_PW_FIRST_PROGRAM_LAYER && id <= IDM_PW_LAST_PROGRAM_LAYER) << id;
  }
}

TEST(ScriptFileNames, SaveAsSuggestsTheScriptExtension) {
  const struct {
    const char* path;
    const char* suggestion;
  } cases[] = {
      {"C:\\t\\layout.txt", "C:\\t\\layout.oxs"},
      {"C:\\t\\a.js", "C:\\t\\a.oxs"},
      {"C:\\t\\name.c", "C:\\t\\name.oxs"},
      {"C:\\t.d\\name", "C:\\t.d\\name.oxs"},
      {"C:\\t\\.profile", "C:\\t\\.profile.oxs"},
      {"C:\\t\\a.b.backup", "C:\\t\\a.b.oxs"},
  };
  for (const auto& t : cases) EXPECT_EQ(ScriptFileSuggestion(t.path), t.suggestion) << t.path;
  EXPECT_TRUE(IsScriptFilePath("C:\\t\\Mine.oxs"));
  EXPECT_TRUE(IsScriptFilePath("C:\\t\\MINE.OXS"));
  EXPECT_FALSE(IsScriptFilePath("C:\\t\\mine.txt"));
  EXPECT_FALSE(IsScriptFilePath("C:\\t\\.oxs"));
  EXPECT_FALSE(IsScriptFilePath(""));
  EXPECT_EQ(FolderOfPath("C:\\t\\a.oxs"), "C:\\t");
  EXPECT_EQ(FolderOfPath("a.oxs"), "");
}

}  // namespace
