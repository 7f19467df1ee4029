// A layout's macros gathered for the keypad's memory, and a set read from the keypad imported
// as a new layout.
#include "macros/model/onboard_macro_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "macros/model/onboard_conversion.h"
#include "platform/base/memory_file_access.h"
#include "tests/macros/model/fake_model_events.h"
#include "tests/macros/model/model_fixture.h"

using namespace testsupport;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Steps = std::vector<std::wstring>;

constexpr std::uint8_t A = 0x04, C = 0x06, RET = 0x28;
constexpr std::uint8_t R = 0xE8, M = 0xEC, T = 0xEA;

KeyRecord& AddKey(MacroContext& c, int id) {
  KeyRecord k;
  k.keyId = static_cast<std::uint8_t>(id);
  c.keys.push_back(k);
  return c.keys.back();
}

void AddEntry(KeyRecord& key, KeyEvent event, LayerColour colour, const char* program, const Steps& steps) {
  MacroEntry e;
  e.event = event;
  e.colour = colour;
  e.program = program;
  int at = 0;
  for (const std::wstring& s : steps) at = ParseMacroStep(e, at, s, SendStringCode(s));
  key.entries.push_back(e);
}

Bytes Codes(const DeviceMacroSet& set, int table, int key) {
  const DeviceCodes* codes = set.Find(table, key);
  return codes ? *codes : Bytes{};
}

TEST(OnboardMacroSet, KeysCountedAndTheHighestKeysEntryFits) {
  MacroContext c;
  AddKey(c, 3);
  AddKey(c, 32);  // a multiple of 16: its entry must lie inside the tables
  AddKey(c, 200).plugin = "Custom.dll";
  AddKey(c, 90).pairedId = 120;
  AddKey(c, 120).pairedId = 120;
  AddKey(c, 100).capKind = kSpacerKey;
  AddKey(c, 64);
  c.spacers.insert(64);
  EXPECT_EQ(OnboardHighestKey(c), 32);
  AddEntry(c.keys[1], KeyEvent::Down, LayerColour::Green, "Pnr", {L"<Return>", L"/a"});
  AddEntry(c.keys[4], KeyEvent::Down, LayerColour::Green, "Pnr", {L"/a"});

  const DeviceMacroSet set = BuildDeviceMacroSet(c);
  EXPECT_EQ(set.highestKey, 32);
  EXPECT_EQ(set.tableSize, 48);
  EXPECT_EQ(Codes(set, kKeyDownGreen, 32), (Bytes{RET, R, RET, A, R, A, 0}));
  EXPECT_EQ(set.Find(kKeyDownGreen, 120), nullptr);
}

TEST(OnboardMacroSet, ToggleAndShiftKeys) {
  MacroContext c;
  AddKey(c, 1);
  AddKey(c, 2);
  c.toggleKeys.insert(1);
  c.shiftKeys.insert(2);
  const DeviceMacroSet set = BuildDeviceMacroSet(c);
  const Bytes toggle = {T, 0};
  EXPECT_EQ(Codes(set, kKeyDownGreen, 1), toggle);
  EXPECT_EQ(Codes(set, kKeyDownRed, 1), toggle);
  EXPECT_EQ(set.Find(kKeyUpGreen, 1), nullptr);
  EXPECT_EQ(set.Find(kKeyUpRed, 1), nullptr);
  for (int table : {kKeyDownGreen, kKeyUpGreen, kKeyDownRed, kKeyUpRed}) EXPECT_EQ(Codes(set, table, 2), toggle);
}

TEST(OnboardMacroSet, SingleStepsHeldWhileTheKeyIsDown) {
  const struct {
    Steps down;
    Steps up;  // a Key Up entry beside it
    Bytes downCodes;
    Bytes upCodes;
  } cases[] = {
      {{L"/a"}, {}, {A, 0}, {R, A, 0}},
      {{L"/A"}, {}, {M, 2, A, M, 0, 0}, {M, 2, R, A, M, 0, 0}},
      {{L"{Ctrl+Shift}"}, {}, {M, 3, 0}, {M, 0, 0}},
      {{L"{Ctrl+c}"}, {}, {M, 1, C, R, C, M, 0, 0}, {}},
      {{L"<Return>"}, {}, {RET, R, RET, 0}, {}},
      {{L"/a"}, {L"<Return>"}, {A, R, A, 0}, {RET, R, RET, 0}},
      {{L"_/a"}, {}, {A, 0}, {}},  // held by its symbol: pressed only
      {{L"/a", L"/c"}, {}, {A, R, A, C, R, C, 0}, {}},
  };
  for (const auto& t : cases) {
    MacroContext c;
    KeyRecord& key = AddKey(c, 5);
    AddEntry(key, KeyEvent::Down, LayerColour::Red, "Pnr", t.down);
    if (!t.up.empty()) AddEntry(key, KeyEvent::Up, LayerColour::Red, "Pnr", t.up);
    const DeviceMacroSet set = BuildDeviceMacroSet(c);
    EXPECT_EQ(Codes(set, kKeyDownRed, 5), t.downCodes) << ::testing::PrintToString(t.down);
    EXPECT_EQ(Codes(set, kKeyUpRed, 5), t.upCodes) << ::testing::PrintToString(t.down);
    EXPECT_EQ(set.Find(kKeyDownGreen, 5), nullptr);
  }
}

TEST(OnboardMacroSet, OnlyTheDefaultLayersGo) {
  MacroContext c;
  KeyRecord& key = AddKey(c, 6);
  AddEntry(key, KeyEvent::Down, LayerColour::Green, "Word", {L"/x"});
  AddEntry(key, KeyEvent::Up, LayerColour::Green, "Pni", {L"<Return>"});
  AddEntry(key, KeyEvent::Down, LayerColour::Any, "Pnr", {L"<Return>", L"<Return>"});
  AddEntry(key, KeyEvent::Down, LayerColour::Red, "Pnr", {L"<Mouse Click>"});  // nothing the keypad can send
  const DeviceMacroSet set = BuildDeviceMacroSet(c);
  const Bytes twice = {RET, R, RET, RET, R, RET, 0};
  EXPECT_EQ(Codes(set, kKeyDownGreen, 6), twice);
  EXPECT_EQ(Codes(set, kKeyDownRed, 6), twice);
  EXPECT_EQ(Codes(set, kKeyUpGreen, 6), (Bytes{RET, R, RET, 0}));
}

// A layout of the tests' own with its script file in memory.
struct Layout {
  MemoryFileAccess files;
  FakeDevice device;
  FakeModelEvents events;
  MacroContext context{events};

  Layout() {
    context.device = &device;
    context.files = &files;
    for (int id : {0, 1, 2, 3, 16, 17}) AddKey(context, id);
  }
};

int startedNew = 0;

TEST(OnboardMacroSet, ImportMakesANewLayoutOfTheSet) {
  Layout l;
  MacroContext& c = l.context;
  AddKeyFunction(c.functions, 9, KeyEvent::Down, LayerColour::Green, "Word", "{}");
  c.toggleKeys.insert(3);
  c.includes[1] = "Tools\\Mail.oxc";
  c.customCommandCount = 1;
  c.layerNames = {"Word"};
  c.layerPrograms = {"winword.exe"};
  c.layerMap["Word"] = "winword.exe";
  startedNew = 0;
  l.events.startNewLayout = [](MacroContext&) { ++startedNew; };

  DeviceMacroSet set;
  set.highestKey = 17;
  set.Resize(64);
  *set.Slot(kKeyDownGreen, 0) = {T, 0};
  *set.Slot(kKeyUpGreen, 0) = {T, 0};
  *set.Slot(kKeyDownGreen, 1) = {T, 0};
  *set.Slot(kKeyDownGreen, 2) = {A, 0};  // held while down: one tap in the layout
  *set.Slot(kKeyUpGreen, 2) = {R, A, 0};
  *set.Slot(kKeyDownRed, 16) = {M, 1, C, R, C, M, 0, 0xE9, 0xE9, 0};
  *set.Slot(kKeyUpRed, 17) = {RET, 0};
  *set.Slot(kKeyDownGreen, 40) = {A, R, A, 0};  // no such key in the layout

  ASSERT_TRUE(ImportDeviceMacros(c, set));
  EXPECT_EQ(startedNew, 1);
  EXPECT_EQ(c.shiftKeys, (std::set<int>{0}));
  EXPECT_EQ(c.toggleKeys, (std::set<int>{1}));
  EXPECT_TRUE(c.includes.empty());
  EXPECT_EQ(c.customCommandCount, 0);
  EXPECT_TRUE(c.layerNames.empty());
  EXPECT_TRUE(c.layerMap.empty());

  std::vector<std::string> names;
  for (const KeyFunction& f : c.functions.items) names.push_back(KeyFunctionName(f));
  EXPECT_EQ(names, (std::vector<std::string>{"KeyDown_2_Green_Pnr()", "KeyDown_16_Red_Pnr()",
                                             "KeyUp_17_Red_Pnr()"}));
  MacroEntry tap, combination, released;
  int at = 0;
  ParseMacroStep(tap, 0, L"/a", SendStringCode(L"/a"));
  at = ParseMacroStep(combination, 0, L"{Ctrl+c}", SendStringCode(L"{Ctrl+c}"));
  ParseMacroStep(combination, at, L"[Delay 0.5]", L"sleep(500);");
  ParseMacroStep(released, 0, L"_<Return>", L"");
  EXPECT_EQ(c.functions.items[0].body, MacroBodyOf(tap));
  EXPECT_EQ(c.functions.items[1].body, MacroBodyOf(combination));
  EXPECT_NE(c.functions.items[1].body.find("sleep(500);"), std::string::npos);
  EXPECT_EQ(c.functions.items[2].body, MacroBodyOf(released));
  // The layout went to the device's script file.
  const std::string* file = l.files.Get(l.device.ScriptPath());
  ASSERT_NE(file, nullptr);
  EXPECT_NE(file->find("KeyDown_16_Red_Pnr"), std::string::npos);
}

TEST(OnboardMacroSet, LayoutBuiltPackedUnpackedAndImportedComesBack) {
  Layout from;
  AddEntry(from.context.keys[1], KeyEvent::Down, LayerColour::Green, "Pnr", {L"/Hello", L"<Return>"});
  AddEntry(from.context.keys[1], KeyEvent::Up, LayerColour::Green, "Pnr", {L"{Ctrl+c}"});
  AddEntry(from.context.keys[2], KeyEvent::Down, LayerColour::Red, "Pnr", {L"/q"});
  AddEntry(from.context.keys[4], KeyEvent::Down, LayerColour::Green, "Pnr", {L"_<Return>", L"[Delay 1.5]", L"-<Return>"});
  from.context.toggleKeys.insert(17);
  DeviceMacroSet set = BuildDeviceMacroSet(from.context);
  std::vector<std::uint8_t> image;
  int used = 0;
  ASSERT_EQ(EncodeDeviceMacroImage(set, image, used), ImagePackResult::kPacked);

  Layout to;
  const DeviceMacroSet read = DecodeDeviceMacroImage(image, OnboardHighestKey(to.context));
  ASSERT_TRUE(ImportDeviceMacros(to.context, read));
  EXPECT_EQ(to.context.toggleKeys, (std::set<int>{17}));
  const KeyFunctionList& f = to.context.functions;
  ASSERT_EQ(f.count(), 4);
  const auto steps = [&](int i) {
    MacroEntry e;
    SplitMacroSteps(e, f.items[static_cast<std::size_t>(i)]);
    return DeviceStepTexts(e);
  };
  EXPECT_EQ(KeyFunctionName(f.items[0]), "KeyDown_1_Green_Pnr()");
  EXPECT_EQ(steps(0), (Steps{L"/Hello", L"<Return>"}));
  EXPECT_EQ(steps(1), (Steps{L"{Ctrl+c}"}));
  EXPECT_EQ(KeyFunctionName(f.items[2]), "KeyDown_2_Red_Pnr()");
  EXPECT_EQ(steps(2), (Steps{L"/q"}));
  EXPECT_EQ(steps(3), (Steps{L"_<Return>", L"[Delay 1.5]", L"-<Return>"}));
  // Built again, the layout gives the same set.
  to.context.keys = from.context.keys;
  for (KeyRecord& k : to.context.keys) k.entries.clear();
  for (const KeyFunction& fn : f.items) {
    MacroEntry e;
    e.event = fn.event;
    e.colour = fn.colour;
    e.program = fn.program;
    SplitMacroSteps(e, fn);
    to.context.keys[static_cast<std::size_t>(FindKeyIndex(to.context.keys, fn.scan))].entries.push_back(e);
  }
  EXPECT_EQ(BuildDeviceMacroSet(to.context).Tables(), set.Tables());
}

}  // namespace
