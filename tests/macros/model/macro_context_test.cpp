#include "macros/model/macro_context.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/model/key_functions.h"
#include "macros/model/layer_names.h"
#include "tests/macros/model/fake_model_events.h"

namespace {

// The tree as text: "event/colour/program/scan:leaf" per leaf, in tree order.
std::vector<std::string> Leaves(const KeyFunctionNode* tree) {
  std::vector<std::string> out;
  if (!tree) return out;
  for (const auto& e : tree->children)
    for (const auto& c : e->children)
      for (const auto& p : c->children)
        for (const auto& s : p->children)
          for (const auto& leaf : s->children)
            out.push_back(e->name + "/" + c->name + "/" + p->name + "/" + s->name + ":" + leaf->name);
  return out;
}

TEST(KeyFunctions, WildcardsMatchOnlyOnTheStoredSide) {
  const struct {
    LayerColour storedColour;
    const char* storedProgram;
    LayerColour colour;
    const char* program;
    int found;
  } cases[] = {
      {LayerColour::Green, "Pnr", LayerColour::Green, "Pnr", 0},
      {LayerColour::Green, "Pni", LayerColour::Green, "Word", 0},   // any program layer
      {LayerColour::Any, "Pnr", LayerColour::Red, "Pnr", 0},        // any colour layer
      {LayerColour::Any, "Pni", LayerColour::Red, "Excel", 0},
      {LayerColour::Green, "Word", LayerColour::Green, "Pni", -1},  // asking for "Pni" finds only "Pni"
      {LayerColour::Green, "Pnr", LayerColour::Any, "Pnr", -1},
      {LayerColour::Green, "Pnr", LayerColour::Red, "Pnr", -1},
      {LayerColour::Green, "My_App", LayerColour::Green, "My App", -1},  // exact names
  };
  for (const auto& c : cases) {
    KeyFunctionList list;
    AddKeyFunction(list, 5, KeyEvent::Down, c.storedColour, c.storedProgram, "{}");
    EXPECT_EQ(FindKeyFunction(list, 5, KeyEvent::Down, c.colour, c.program), c.found)
        << LayerColourName(c.storedColour) << "/" << c.storedProgram << " asked " << LayerColourName(c.colour) << "/"
        << c.program;
    EXPECT_EQ(FindKeyFunction(list, 5, KeyEvent::Up, c.colour, c.program), -1);
    EXPECT_EQ(FindKeyFunction(list, 6, KeyEvent::Down, c.colour, c.program), -1);
  }
}

TEST(KeyFunctions, AddingKeepsAnExistingMatch) {
  KeyFunctionList list;
  EXPECT_EQ(AddKeyFunction(list, 5, KeyEvent::Down, LayerColour::Green, "Pni", "{a}"), 1);
  EXPECT_EQ(AddKeyFunction(list, 5, KeyEvent::Down, LayerColour::Green, "Word", "{b}"), 0);
  EXPECT_EQ(list.count(), 1);
  EXPECT_EQ(list.items[0].body, "{a}");

  KeyFunctionList other;
  EXPECT_EQ(AddKeyFunction(other, 5, KeyEvent::Down, LayerColour::Green, "Word", "{b}"), 1);
  EXPECT_EQ(AddKeyFunction(other, 5, KeyEvent::Down, LayerColour::Green, "Pni", "{a}"), 1);
  EXPECT_EQ(other.items[1].index, 1);
  EXPECT_EQ(Leaves(other.tree.get()),
            (std::vector<std::string>{"KeyDown/Green/Word/5:KeyDown_5_Green_Word()",
                                      "KeyDown/Green/Pni/5:KeyDown_5_Green_Pni()"}));
}

TEST(KeyFunctions, RemovingRenumbersAndRebuildsTheTree) {
  KeyFunctionList list;
  AddKeyFunction(list, 1, KeyEvent::Down, LayerColour::Green, "Pnr", "{1}");
  AddKeyFunction(list, 2, KeyEvent::Down, LayerColour::Green, "Pnr", "{2}");
  AddKeyFunction(list, 3, KeyEvent::Up, LayerColour::Red, "Pnr", "{3}");
  EXPECT_EQ(RemoveKeyFunction(list, 1, KeyEvent::Down, LayerColour::Green, "Pnr"), 0);
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.items[0].index, 0);
  EXPECT_EQ(list.items[1].index, 1);
  EXPECT_EQ(list.items[1].scan, 3);
  EXPECT_EQ(Leaves(list.tree.get()),
            (std::vector<std::string>{"KeyDown/Green/Pnr/2:KeyDown_2_Green_Pnr()",
                                      "KeyUp/Red/Pnr/3:KeyUp_3_Red_Pnr()"}));
  EXPECT_EQ(RemoveKeyFunction(list, 9, KeyEvent::Down, LayerColour::Green, "Pnr"), -1);
  // The colour wildcard reaches a stored LayerColour::Any function too.
  AddKeyFunction(list, 7, KeyEvent::Down, LayerColour::Any, "Pni", "{}");
  EXPECT_EQ(RemoveKeyFunction(list, 7, KeyEvent::Down, LayerColour::Green, "Pni"), 2);
}

TEST(KeyFunctions, TheTreeHoldsOneScanNodeAndEmptyBodiesCallNothing) {
  KeyFunction f;
  f.scan = 5;
  f.event = KeyEvent::Down;
  f.colour = LayerColour::Green;
  f.program = "Pnr";
  f.body = "{x}";
  KeyFunctionNode tree;
  InsertKeyFunctionNode(tree, f);
  InsertKeyFunctionNode(tree, f);
  f.scan = 6;
  f.body = std::string(kEmptyBody);
  InsertKeyFunctionNode(tree, f);
  EXPECT_EQ(Leaves(&tree), (std::vector<std::string>{"KeyDown/Green/Pnr/5:KeyDown_5_Green_Pnr()",
                                                      "KeyDown/Green/Pnr/6:"}));
  EXPECT_EQ(tree.children[0]->parent, &tree);
}

TEST(KeyFunctions, UpdatingKeepsTheTreeAMirrorOfTheList) {
  KeyFunctionList list;
  AddKeyFunction(list, 5, KeyEvent::Down, LayerColour::Green, "Pni", "{old}");
  // Found through the wildcard, the function takes the selectors given.
  EXPECT_TRUE(UpdateKeyFunction(list, 5, KeyEvent::Down, LayerColour::Green, "Word", "{new}"));
  EXPECT_EQ(list.items[0].program, "Word");
  EXPECT_EQ(list.items[0].body, "{new}");
  EXPECT_EQ(Leaves(list.tree.get()),
            (std::vector<std::string>{"KeyDown/Green/Word/5:KeyDown_5_Green_Word()"}));

  testing::internal::CaptureStdout();
  EXPECT_FALSE(UpdateKeyFunction(list, 6, KeyEvent::Down, LayerColour::Green, "Word", "{x}"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "This function is not in your function list.\n");
  EXPECT_EQ(list.count(), 1);
}

TEST(KeyFunctions, CopiesAreDeepAndClearingEmpties) {
  KeyFunctionList list;
  AddKeyFunction(list, 5, KeyEvent::Down, LayerColour::Green, "Pnr", "{a}");
  KeyFunctionList copy = list;
  copy.items[0].body = "{b}";
  AddKeyFunction(copy, 6, KeyEvent::Up, LayerColour::Green, "Pnr", "{c}");
  EXPECT_EQ(list.items[0].body, "{a}");
  EXPECT_EQ(Leaves(list.tree.get()).size(), 1u);
  EXPECT_EQ(Leaves(copy.tree.get()).size(), 2u);
  EXPECT_EQ(CopyKeyFunctions(list), list.items);
  ClearKeyFunctions(list);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.tree, nullptr);
}

TEST(KeyFunctions, Comparators) {
  // Whole names of any length, not a fixed prefix of them.
  const std::string a = std::string(200, 'x') + "a";
  const std::string b = std::string(200, 'x') + "b";
  EXPECT_LT(CompareByName(a, b), 0);
  EXPECT_EQ(CompareByName(a, a), 0);
  EXPECT_GT(CompareByName("Word", "Excel"), 0);
  KeyFunctionNode nine("9"), ten("10"), red("Red"), green("Green");
  EXPECT_LT(CompareByNumber(nine, ten), 0);
  EXPECT_GT(CompareByText(nine, ten), 0);
  EXPECT_LT(CompareByText(green, red), 0);
  EXPECT_EQ(KeyFunctionName(KeyEvent::Up, 35, LayerColour::Red, "My_App"), "KeyUp_35_Red_My_App()");
}

TEST(KeyFunctionNames, EventsAndColourLayersAsScriptsSpellThem) {
  const struct {
    KeyEvent event;
    LayerColour colour;
    const char* name;
  } cases[] = {
      {KeyEvent::Down, LayerColour::Green, "KeyDown_7_Green_Pnr()"},
      {KeyEvent::Up, LayerColour::Red, "KeyUp_7_Red_Pnr()"},
      {KeyEvent::Down, LayerColour::Any, "KeyDown_7_Cni_Pnr()"},
  };
  for (const auto& c : cases) {
    KeyFunction f;
    f.scan = 7;
    f.event = c.event;
    f.colour = c.colour;
    f.program = "Pnr";
    EXPECT_EQ(KeyFunctionName(f), c.name);
    EXPECT_EQ(KeyEventOfName(KeyEventName(c.event)), c.event) << c.name;
    EXPECT_EQ(LayerColourOfName(LayerColourName(c.colour)), c.colour) << c.name;
  }
  // Case-sensitive whole words; program-layer tokens are no colour layers.
  for (const char* word : {"", "keydown", "KeyDown ", "Key", "KeyDownGreen", "green", "Blue", "Pni", "Pnr"}) {
    EXPECT_FALSE(KeyEventOfName(word)) << word;
    EXPECT_FALSE(LayerColourOfName(word)) << word;
  }
}

TEST(LayerNames, OneTokenForEveryName) {
  const struct {
    const char* name;
    const char* token;
  } cases[] = {
      {"My App", "My_App"}, {"My_App", "My_App"}, {"notepad++", "notepad__"},
      {"Say \"hi\", ok", "Say__hi___ok"}, {"Pnr", "Pnr"}, {"7zip", "7zip"}, {"Caf\xE9", "Caf_"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LayerToken(c.name), c.token) << c.name;
  EXPECT_EQ(CompareNames("My App", "My_App"), 0);
  EXPECT_EQ(CompareNames("notepad++", "notepad__"), 0);
  EXPECT_NE(CompareNames("My App", "MyApp"), 0);
  EXPECT_LT(CompareNames("Excel", "Word"), 0);
  EXPECT_EQ(LayerMarkerName("a,b\r\n"), "a b  ");
}

KeyRecord Key(int id) {
  KeyRecord k;
  k.keyId = static_cast<std::uint8_t>(id);
  return k;
}

TEST(KeyRecords, Lookups) {
  std::vector<KeyRecord> keys;
  EXPECT_EQ(FindFreeKeyId(keys), 1);
  for (int id = 1; id <= 10; ++id) keys.push_back(Key(id));
  EXPECT_EQ(FindFreeKeyId(keys), 11);
  keys.push_back(Key(5));
  EXPECT_EQ(FindKeyIndex(keys, 5), 4);
  EXPECT_EQ(FindKeyIndex(keys, 0), -1);
  std::vector<KeyRecord> full;
  for (int id = 0; id <= 255; ++id) full.push_back(Key(id));
  EXPECT_EQ(FindFreeKeyId(full), 0);

  const struct {
    float value;
    int rounded;
  } rounding[] = {{0.f, 0}, {2.49f, 2}, {2.5f, 3}, {2.99f, 3}, {-2.49f, -2}, {-2.5f, -3}};
  for (const auto& r : rounding) EXPECT_EQ(RoundToInt(r.value), r.rounded) << r.value;

  std::string text = "ABC def_1";
  LowerCaseInPlace(text);
  EXPECT_EQ(text, "abc def_1");
}

TEST(KeyRecords, FindKeyEventMatchesBlanksAndUnderscoresAndNeedsSteps) {
  std::vector<KeyRecord> keys{Key(3)};
  MacroEntry used{KeyEvent::Down, LayerColour::Green, "My_App", {{L"/x", 0, 1, true}}, {{L"SendString(\"/x\");", 0, 0, true}}, -1};
  MacroEntry unused{KeyEvent::Up, LayerColour::Green, "My_App", {}, {}, -1};
  keys[0].entries = {used, unused};
  EXPECT_TRUE(FindKeyEvent(keys, 3, KeyEvent::Down, LayerColour::Green, "My App"));
  EXPECT_FALSE(FindKeyEvent(keys, 3, KeyEvent::Up, LayerColour::Green, "My App"));
  EXPECT_FALSE(FindKeyEvent(keys, 3, KeyEvent::Down, LayerColour::Red, "My App"));
  EXPECT_FALSE(FindKeyEvent(keys, 4, KeyEvent::Down, LayerColour::Green, "My App"));
}

TEST(MacroContext, StartsAsTheModelSays) {
  MacroContext c;
  EXPECT_EQ(c.currentKey, 238);
  EXPECT_EQ(c.autoRepeatDelay, 500);
  EXPECT_EQ(c.autoRepeatRate, 50);
  EXPECT_EQ(c.customCommandCount, 0);
  EXPECT_EQ(c.functions.tree, nullptr);
  EXPECT_EQ(c.device, nullptr);
  EXPECT_EQ(c.hotKeyId, kNoKeyId);
}

TEST(MacroContext, FindMacroEntryMakesOneEntryPerSelectorsAndNoneForAnUnknownKey) {
  MacroContext c;
  c.keys = {Key(3), Key(4)};
  c.currentKey = 9;
  c.currentEvent = KeyEvent::Down;
  c.currentColour = LayerColour::Green;
  c.currentProgram = "My App";
  EXPECT_EQ(FindMacroEntry(c), nullptr);

  c.currentKey = 4;
  MacroEntry* e = FindMacroEntry(c);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->program, "My_App");
  EXPECT_EQ(e->functionLink, -1);
  e->steps.push_back({L"/a", 0, 1, true});
  EXPECT_EQ(FindMacroEntry(c), e);
  c.currentProgram = "My_App";
  EXPECT_EQ(FindMacroEntry(c), e);
  c.currentColour = LayerColour::Red;
  MacroEntry* red = FindMacroEntry(c);
  ASSERT_NE(red, nullptr);
  ASSERT_EQ(c.keys[1].entries.size(), 2u);
  EXPECT_EQ(c.keys[1].entries[0].steps.size(), 1u);  // looked up again, never kept across
  EXPECT_TRUE(red->steps.empty());
}

TEST(MacroContext, TrimWideRemovesOnlyBlanks) {
  EXPECT_EQ(TrimWide(L"  a b  "), L"a b");
  EXPECT_EQ(TrimWide(L"\ta\t"), L"\ta\t");
  EXPECT_EQ(TrimWide(L"   "), L"");
  EXPECT_EQ(TrimWide(L""), L"");
}

std::vector<int> drawn;

TEST(MacroContext, RedrawAllKeysDrawsTheSpacersThatHaveKeys) {
  MacroContext none;
  none.keys = {Key(3), Key(4), Key(5)};
  none.spacers = {5, 3, 99};
  RedrawAllKeys(none);  // no painter: nothing
  testsupport::FakeModelEvents events;
  events.drawKey = [](MacroContext&, int index) { drawn.push_back(index); };
  MacroContext c(events);
  c.keys = {Key(3), Key(4), Key(5)};
  c.spacers = {5, 3, 99};
  drawn.clear();
  RedrawAllKeys(c);
  EXPECT_EQ(drawn, (std::vector<int>{0, 2}));
}

}  // namespace
