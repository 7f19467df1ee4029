#include "macros/model/script_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/model/key_caps.h"
#include "macros/model/script_writer.h"
#include "tests/macros/model/fake_model_events.h"
#include "tests/macros/model/golden_layouts.h"

using namespace testsupport;

namespace {

// write(read(text)) for the golden layout's device and files.
std::string Cycle(GoldenSetup& g, const std::string& text) {
  MacroContext c;
  g.Attach(c);
  ReadScriptText(c, text, DeviceEffects::Apply);
  return ScriptFileBytes(c, g.device.Settings());
}

TEST(ScriptReader, EveryGoldenFileReadsBackToItself) {
  for (const GoldenLayout& layout : GoldenLayouts()) {
    SCOPED_TRACE(layout.name);
    GoldenSetup g(layout);
    const std::string golden = GoldenFile(layout.name);
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(Cycle(g, golden), golden);
    // Saved with line feeds only, it reads the same.
    EXPECT_EQ(Cycle(g, FromCrLf(golden)), golden);
    // The layout read back is the layout: its entries are the editor's.
    MacroContext back;
    g.Attach(back);
    back.keys = g.made.keys;
    ReadScriptText(back, golden, DeviceEffects::Apply);
    RebuildKeyCaps(back);
    RebuildKeyCaps(g.made);
    for (std::size_t k = 0; k < back.keys.size(); ++k)
      for (std::size_t e = 0; e < back.keys[k].entries.size() && e < g.made.keys[k].entries.size(); ++e)
        EXPECT_EQ(MacroBodyOf(back.keys[k].entries[e]), MacroBodyOf(g.made.keys[k].entries[e])) << k << " " << e;
    EXPECT_EQ(back.toggleKeys, g.made.toggleKeys);
    EXPECT_EQ(back.shiftKeys, g.made.shiftKeys);
    EXPECT_EQ(back.spacers, g.made.spacers);
    EXPECT_EQ(back.includes, g.made.includes);
    EXPECT_EQ(back.customCommandCount, g.made.customCommandCount);
  }
}

TEST(ScriptReader, HandEditedAndCutFilesSettleAfterOneCycle) {
  for (const GoldenLayout& layout : GoldenLayouts()) {
    SCOPED_TRACE(layout.name);
    GoldenSetup g(layout);
    const std::string golden = FromCrLf(GoldenFile(layout.name));
    std::vector<std::string> variants;
    // Cut anywhere: an unfinished function, marker section or layer is dropped, never waited on.
    for (std::size_t cut = 0; cut < golden.size(); cut += 37) variants.push_back(golden.substr(0, cut));
    // Tabs before the statements of every body, and blanks at line ends.
    std::string tabs;
    for (std::size_t pos = 0; pos < golden.size();) {
      const std::size_t end = golden.find('\n', pos);
      std::string line = golden.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
      if (line.starts_with("SendString(")) line = "\t" + line + "  ";
      tabs += line + (end == std::string::npos ? "" : "\n");
      pos = end == std::string::npos ? golden.size() : end + 1;
    }
    variants.push_back(tabs);
    for (const std::string& v : variants) {
      const std::string once = Cycle(g, v);
      EXPECT_EQ(Cycle(g, once), once) << v;
    }
  }
}

TEST(ScriptReader, TypedTextIsNeverTakenForAMarker) {
  MacroContext made;
  FakeDevice device;
  LedKeypad(device);
  made.device = &device;
  const std::vector<std::wstring> texts = {
      L"/x //fend y", L"/}//fend", L"/[CC: Fake]", L"/#define __CMD_ID__ 9", L"/a //ORVX:Layer q",
      L"/b //ORVX:End_Layer", L"/ //fstart", L"/ //ORVX: Toggle Keys", L"/ //ORVX: End", L"/ //ORVX: KeyCaps",
      L"/ //ORVX: Backlights false", L"/ //END",
      L"/" + std::wstring(3000, L'w') + L"\t\u00e9 long line",
  };
  for (std::size_t i = 0; i < texts.size(); ++i)
    Program(made, static_cast<int>(i), KeyEvent::Down, LayerColour::Green, "Pnr", {{texts[i], L""}});
  const std::string written = ScriptFileBytes(made, device.Settings());
  MacroContext back;
  back.device = &device;
  back.keys = made.keys;
  ReadScriptText(back, written, DeviceEffects::None);
  EXPECT_EQ(back.functions.count(), static_cast<int>(texts.size()));
  EXPECT_TRUE(back.includes.empty());
  EXPECT_EQ(back.customCommandCount, 0);
  EXPECT_TRUE(back.layerMap.empty());
  EXPECT_TRUE(back.toggleKeys.empty());
  EXPECT_TRUE(back.keyCaps.empty());
  EXPECT_EQ(ScriptFileBytes(back, device.Settings()), written);
  RebuildKeyCaps(back);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(back.keys[i].entries.size(), 1u) << i;
    EXPECT_EQ(back.keys[i].entries[0].steps[0].text, texts[i]) << i;
  }
}

void Read(MacroContext& c, const std::string& text, DeviceEffects effects = DeviceEffects::Apply) {
  ReadScriptText(c, text, effects);
}

TEST(ScriptReader, FunctionsAndTheirBodies) {
  MacroContext c;
  Read(c,
       "//fstart\nvoid KeyDown_1_Green_Pnr()\n{\nSendString(\"/no marker\");\n}//fend\n"
       "//fstart\nvoid KeyDown_7_Red_My_App()\n{\n//ORVX: \"x\"\nSendString(\"x\");\n}\n//fend\n"
       "//fstart void KeyUp_8_Cni_Pni()\n{\n\n//ORVX: \"<a>\"\n}//fend trailing\n"
       "//fstart\nvoid Helper()\n{\n//ORVX: \"y\"\n}//fend\n"
       // Only the events and colour layers that the writer names make key functions.
       "//fstart\nvoid KeyPress_2_Green_Pnr()\n{\n//ORVX: \"y\"\n}//fend\n"
       "//fstart\nvoid KeyDown_3_Blue_Pnr()\n{\n//ORVX: \"y\"\n}//fend\n"
       "//fstart\nvoid keydown_4_green_Pnr()\n{\n//ORVX: \"y\"\n}//fend\n"
       "//fstart\n  void\n  KeyDown_300_Green_Pnr()\n{\n//ORVX: \"z\"\n}//fend\n");
  ASSERT_EQ(c.functions.count(), 3);
  const KeyFunction& f = c.functions.items[0];
  EXPECT_EQ(f.event, KeyEvent::Down);
  EXPECT_EQ(f.scan, 7);
  EXPECT_EQ(f.colour, LayerColour::Red);
  EXPECT_EQ(f.program, "My_App");
  EXPECT_EQ(f.body, "{\n//ORVX: \"x\"\nSendString(\"x\");\n}");
  EXPECT_EQ(c.functions.items[1].body, "{\n\n//ORVX: \"<a>\"\n}");
  EXPECT_EQ(c.functions.items[2].scan, 300 & 0xFF);
  ASSERT_NE(c.functions.tree, nullptr);
  // Reading again adds no second copy.
  Read(c, "//fstart\nvoid KeyDown_7_Red_My_App()\n{\n//ORVX: \"other\"\n}//fend\n");
  EXPECT_EQ(c.functions.count(), 3);
  EXPECT_EQ(c.functions.items[0].body, f.body);
  // An unfinished function is dropped, and the next one is still read.
  MacroContext cut;
  Read(cut, "//fstart\nvoid KeyDown_1_Green_Pnr()\n{\n//ORVX: \"a\"\n"
            "//fstart\nvoid KeyDown_2_Green_Pnr()\n{\n//ORVX: \"b\"\n}//fend\n//fstart\nvoid KeyDown_3_Green_Pnr()\n{\n//ORVX: \"c\"");
  ASSERT_EQ(cut.functions.count(), 1);
  EXPECT_EQ(cut.functions.items[0].scan, 2);
}

TEST(ScriptReader, CustomCommandsComeOnlyFromTheirMarkersAndDefines) {
  MacroContext c;
  Read(c,
       "//fstart\nvoid KeyDown_1_Green_Pnr()\n{\n"
       "//ORVX: \"[CC: Tools\\Open Mail]\"\n#define __CMD_ID__ 4\nRUN_COMMAND();\n"
       "//ORVX: \"[CC: Caf\x1b" "00233]\"\n#define __CMD_ID__ 2\nRUN_COMMAND();\n"
       "//ORVX: \"[CC: No Define]\"\nRUN_COMMAND();\n"
       "//ORVX: \"[CC: Short]\"\n#define\n"
       "//ORVX: \"/[CC: typed]\"\n#define __CMD_ID__ 7\n"
       "}//fend\n");
  EXPECT_EQ(c.includes, (std::map<int, std::string>{{2, "Caf\xe9.oxc"}, {4, "Tools\\Open Mail.oxc"}}));
  EXPECT_EQ(c.customCommandCount, 4);  // never lower than an id in use
}

TEST(ScriptReader, MarkerSections) {
  MacroContext c;
  c.spacers = {1};
  c.layerMap["Old"] = "old.exe";
  Read(c,
       "//ORVX: Toggle Keys\n//5\n//x\n//ORVX: End\n//ORVX: Shift Keys\n//6\n//ORVX: End\n"
       "//ORVX: KeyCaps\n//2\n//60\n//10\n//20\n//60\n//120\n//3\n//4\n//ORVX: End\n"
       "//ORVX: KeyCaps\n//3\n//61\n//ORVX: End\n"
       "//ORVX: Spacers\n//7\n//ORVX: End\n"
       "\t//ORVX:Layer My App,C:\\Apps\\app, v2.exe\n\tif(\"\" == exeName)\n\t//ORVX:End_Layer\n"
       "\t//ORVX:Layer NoComma\n\t//ORVX:End_Layer\n"
       "\t//ORVX:Layer Word,a.exe\n\t//ORVX:End_Layer\n\t//ORVX:Layer Word,winword.exe\n\t//ORVX:End_Layer\n");
  EXPECT_EQ(c.toggleKeys, (std::set<int>{0, 5}));
  EXPECT_EQ(c.shiftKeys, (std::set<int>{6}));
  EXPECT_EQ(c.spacers, (std::set<int>{1, 7}));
  ASSERT_EQ(c.keyCaps.size(), 1u);  // a cap cut short is none
  EXPECT_EQ(c.keyCaps[0], (KeyCapDefinition{2, 60, {3, 4}, 10, 20, 120, 60}));
  EXPECT_EQ(c.layerMap, (std::map<std::string, std::string>{
                            {"My App", "C:\\Apps\\app, v2.exe"}, {"Old", "old.exe"}, {"Word", "winword.exe"}}));
  // No window: the layers go to the context's lists, in name order.
  EXPECT_EQ(c.layerNames, (std::vector<std::string>{"My App", "Old", "Word"}));
  EXPECT_EQ(c.layerPrograms[0], "C:\\Apps\\app, v2.exe");
  // Placeholders for the toggle and shift keys, without bodies.
  EXPECT_GE(FindKeyFunction(c.functions, 5, KeyEvent::Down, LayerColour::Red, "Pni"), 0);
  EXPECT_GE(FindKeyFunction(c.functions, 6, KeyEvent::Up, LayerColour::Green, "Word"), 0);
  EXPECT_LT(FindKeyFunction(c.functions, 5, KeyEvent::Up, LayerColour::Green, "Pni"), 0);
  // A second read starts the key sets anew.
  Read(c, "//ORVX: Toggle Keys\n//9\n//ORVX: End\n");
  EXPECT_EQ(c.toggleKeys, (std::set<int>{9}));
  EXPECT_TRUE(c.shiftKeys.empty());
  EXPECT_TRUE(c.keyCaps.empty());
}

struct WindowLog {
  static inline std::vector<std::string> calls;
};

TEST(ScriptReader, AnOpenWindowGetsTheLayersAndTheKeyswitch) {
  FakeModelEvents events;
  events.removeLayerMenus = [](MacroContext&) { WindowLog::calls.push_back("remove layers"); };
  events.addLayer = [](MacroContext& c, const std::string& name, const std::string& program) {
    WindowLog::calls.push_back("add " + name);
    c.layerNames.push_back(name);
    c.layerPrograms.push_back(program);
  };
  events.checkKeyswitch = [](MacroContext&, bool on) { WindowLog::calls.push_back(on ? "check" : "uncheck"); };
  WindowLog::calls.clear();
  MacroContext c(events);
  c.windowOpen = true;
  c.layerNames = {"Word"};
  c.layerPrograms = {"w.exe"};
  Read(c, "//ORVX: Keyswitch Mode true\n\t//ORVX:Layer Zed,z.exe\n\t//ORVX:End_Layer\n\t//ORVX:Layer Word,w.exe\n");
  EXPECT_EQ(WindowLog::calls, (std::vector<std::string>{"remove layers", "check", "add Word", "add Zed"}));
  EXPECT_EQ(c.layerNames, (std::vector<std::string>{"Word", "Zed"}));
}

TEST(ScriptReader, BacklightsAndKeyswitchReachTheDeviceOnlyWhenAsked) {
  const struct {
    const char* text;
    bool available, known;
    DeviceEffects effects;
    std::vector<std::string> calls;
  } cases[] = {
      {"//ORVX: Backlights false\n", true, false, DeviceEffects::Apply, {"backlights off"}},
      {"//ORVX: Backlights false\n", true, true, DeviceEffects::Apply, {}},
      {"", true, false, DeviceEffects::Apply, {"backlights on"}},
      {"", false, false, DeviceEffects::Apply, {}},
      {"", true, true, DeviceEffects::Apply, {}},
      {"//ORVX: Keyswitch Mode true\n", false, true, DeviceEffects::Apply, {"keyswitch on"}},
      // A regeneration inside the build cycle: the old engine is gone, the device is left alone.
      {"//ORVX: Backlights false\n//ORVX: Keyswitch Mode true\n", true, false, DeviceEffects::None, {}},
      {"", true, false, DeviceEffects::None, {}},
  };
  for (const auto& k : cases) {
    FakeDevice device;
    device.settings.backlightsAvailable = k.available;
    device.settings.backlightStateKnown = k.known;
    MacroContext c;
    c.device = &device;
    Read(c, k.text, k.effects);
    EXPECT_EQ(device.calls, k.calls) << k.text;
  }
  MacroContext c;
  Read(c, "//ORVX: Backlights false\n//ORVX: Keyswitch Mode true\n", DeviceEffects::None);
  EXPECT_EQ(c.scriptBacklights, false);
  EXPECT_EQ(c.scriptKeyswitch, true);
}

TEST(ScriptReader, AFileThatCannotBeReadLeavesTheResetContext) {
  MemoryFileAccess files;
  MacroContext c;
  c.files = &files;
  c.toggleKeys = {3};
  AddKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Pnr", "{}");
  EXPECT_FALSE(ReadScriptFile(c, "C:\\missing.oxs"));
  EXPECT_TRUE(c.toggleKeys.empty());
  EXPECT_EQ(c.functions.count(), 1);
  files.Put("C:\\s.oxs", "//ORVX: Spacers\r\n//4\r\n//ORVX: End\r\n");
  EXPECT_TRUE(ReadScriptFile(c, "C:\\s.oxs"));
  EXPECT_EQ(c.spacers, (std::set<int>{4}));
}

}  // namespace
