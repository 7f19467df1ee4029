// The program layers through their controller: the lists, the Layer menu (a real one), the
// backups of removed layers, recovery and the script writes, with the files in memory and the
// questions answered by the test.
#include "ui/layers/program_layers.h"

#include <gtest/gtest.h>

#include "macros/model/key_functions.h"
#include "macros/model/script_reader.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/ui/layers/layer_test_support.h"
#include "ui/layers/layer_backup.h"
#include "ui/programming_window/layer_choice.h"

using namespace testsupport;

namespace {

constexpr char kScript[] = "C:\\Orvane\\QpadDevices\\Vid0a7cPid0019\\Script_1.oxs";
constexpr char kTypeFolder[] = "C:\\Orvane\\QpadDevices\\Vid0a7cPid0019";
constexpr char kBackupFolder[] = "C:\\Orvane\\QpadDevices\\Vid0a7cPid0019\\Layer Backup";

// The items of a menu by position: text(id), a popup's items in brackets.
std::string Describe(HMENU menu) {
  const wingui::Menu m(menu);
  std::string out;
  for (int i = 0; i < m.Count(); ++i) {
    if (i) out += " | ";
    out += m.TextAt(i);
    if (const wingui::Menu sub = m.SubMenu(i))
      out += "[" + Describe(sub.handle()) + "]";
    else
      out += "(" + std::to_string(m.IdAt(i)) + ")";
  }
  return out;
}

class ProgramLayersTest : public ::testing::Test {
 protected:
  ProgramLayersTest() {
    c.files = &files;
    c.device = &device;
    LedKeypad(device);
    calls.SetClock({2024, 3, 2, 5, 10, 0, 0});
  }
  std::string Menu() { return Describe(host.LayerMenu()); }
  int Writes() const { return static_cast<int>(files.WriteLog().size()); }
  std::string Script() const {
    const std::string* text = files.Get(kScript);
    return text ? *text : "<none>";
  }
  int Find(int key, KeyEvent event, LayerColour colour, const char* program) {
    return FindKeyFunction(c.functions, static_cast<std::uint8_t>(key), event, colour, program);
  }

  RecordedSystemCalls calls;
  MemoryFileAccess files;
  FakeDevice device;
  MacroContext c;
  MenuLayerHost host;
  ProgramLayers layers{calls, c, host};
};

TEST_F(ProgramLayersTest, AddingALayerFillsTheListsAndTheMenuAndWritesTheScript) {
  EXPECT_EQ(layers.BuildLayerMenu("Word", "winword.exe"), LayerRefusal::None);
  EXPECT_EQ(Menu(),
            "Green Layer(32897) | Red Layer(32898) | Word[Green Layer(33000) | Red Layer(33001)] | "
            "Add Program Layer...(34217) | Remove Layer[Word(34220)]");
  EXPECT_EQ(Writes(), 1);
  EXPECT_NE(Script().find("\t//ORVX:Layer Word,winword.exe\r\n"), std::string::npos) << Script();

  // Hyphens become blanks; the same name in other letters, or as the script spells it, is there.
  EXPECT_EQ(layers.BuildLayerMenu("My-App", "app.exe"), LayerRefusal::None);
  EXPECT_EQ(layers.BuildLayerMenu("WORD", "other.exe"), LayerRefusal::Exists);
  EXPECT_EQ(layers.BuildLayerMenu("my_app", "other.exe"), LayerRefusal::Exists);
  EXPECT_EQ(layers.BuildLayerMenu("Pnr", "pnr.exe"), LayerRefusal::Reserved);
  EXPECT_EQ(c.layerNames, (std::vector<std::string>{"Word", "My App"}));
  EXPECT_EQ(c.layerPrograms, (std::vector<std::string>{"winword.exe", "app.exe"}));
  EXPECT_EQ(Writes(), 2);

  // With colour layers the third layer's items are 33004 and 33005, its Remove item 34222.
  layers.BuildLayerMenu("Excel", "excel.exe");
  EXPECT_EQ(Menu(),
            "Green Layer(32897) | Red Layer(32898) | Word[Green Layer(33000) | Red Layer(33001)] | "
            "My App[Green Layer(33002) | Red Layer(33003)] | Excel[Green Layer(33004) | Red Layer(33005)] | "
            "Add Program Layer...(34217) | Remove Layer[Word(34220) | My App(34221) | Excel(34222)]");
}

TEST_F(ProgramLayersTest, WithoutColourLayersEachLayerIsOneItem) {
  host.colours = false;
  layers.BuildLayerMenu("Word", "winword.exe");
  layers.BuildLayerMenu("Tom & Jerry", "tj.exe");
  EXPECT_EQ(Menu(),
            "Green Layer(32897) | Red Layer(32898) | Word(33000) | Tom && Jerry(33001) | "
            "Add Program Layer...(34217) | Remove Layer[Word(34220) | Tom && Jerry(34221)]");
  // The commands run out: the 99th layer is the last.
  for (int i = 2; i < MaxProgramLayers(false); ++i)
    ASSERT_EQ(layers.BuildLayerMenu("L" + std::to_string(i), "l.exe"), LayerRefusal::None);
  EXPECT_EQ(layers.BuildLayerMenu("One more", "more.exe"), LayerRefusal::TooMany);
  EXPECT_EQ(wingui::Menu(host.LayerMenu()).IdAt(2 + 98), 33098u);
}

TEST_F(ProgramLayersTest, RemovingTheFirstOfThreeRenumbersTheRemoveItems) {
  for (const char* name : {"Word", "Excel", "Mail"}) layers.BuildLayerMenu(name, "x.exe");
  calls.SetBoxAnswer(BoxAnswer::Yes);
  EXPECT_TRUE(layers.Remove(0));
  EXPECT_EQ(calls.Events(), "box 0x0 \"Remove Layer\" \"Are you sure you want to remove Word?\" YesNo Question");
  const std::string menu = Menu();
  EXPECT_NE(menu.find("Red Layer(32898) | Excel[Green Layer(33002)"), std::string::npos) << menu;
  EXPECT_NE(menu.find("| Remove Layer[Excel(34220) | Mail(34221)]"), std::string::npos) << menu;
  EXPECT_EQ(c.layerNames, (std::vector<std::string>{"Excel", "Mail"}));
  EXPECT_EQ(host.defaultLayerShown, 1);
  EXPECT_TRUE(host.folders.empty());  // no macros, no backup

  EXPECT_TRUE(layers.Remove(1));
  EXPECT_TRUE(layers.Remove(0));
  EXPECT_EQ(Menu(), "Green Layer(32897) | Red Layer(32898) | Add Program Layer...(34217)");
  EXPECT_FALSE(layers.Remove(0));
}

TEST_F(ProgramLayersTest, NoLeavesTheLayerAsItWas) {
  layers.BuildLayerMenu("Word", "winword.exe");
  Program(c, 5, KeyEvent::Down, LayerColour::Green, "Word", {{L"/w", L""}});
  const std::string menu = Menu();
  const int writes = Writes();
  calls.SetBoxAnswer(BoxAnswer::No);
  EXPECT_FALSE(layers.Remove(0));
  EXPECT_EQ(Menu(), menu);
  EXPECT_EQ(c.layerNames.size(), 1u);
  EXPECT_GE(Find(5, KeyEvent::Down, LayerColour::Green, "Word"), 0);
  EXPECT_EQ(Writes(), writes);
}

TEST_F(ProgramLayersTest, RemovingBacksUpTheLayersMacrosFirst) {
  c.customCommandSteps = {"[CC: Beep]", "[CC: Tools\\Mail]"};
  Program(c, 1, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"[CC: Beep]", L""}});
  Program(c, 2, KeyEvent::Down, LayerColour::Green, "Word", {{L"/50% off", L""}, {L"[CC: Tools\\Mail]", L""}});
  Program(c, 2, KeyEvent::Up, LayerColour::Red, "Word", {{L"/up", L""}});
  Program(c, 3, KeyEvent::Down, LayerColour::Green, "Excel", {{L"[CC: Beep]", L""}});
  Program(c, 4, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/default", L""}});
  ASSERT_EQ(c.customCommandCount, 3);
  c.layerMap = {{"Word", "winword.exe"}, {"Excel", "excel.exe"}};
  layers.RebuildLayerMenus();  // map order: Excel, Word
  const std::vector<KeyFunction> wordFunctions = {c.functions.items[1], c.functions.items[2]};
  calls.SetBoxAnswer(BoxAnswer::Yes);

  EXPECT_TRUE(layers.Remove(1));
  EXPECT_EQ(host.folders, std::vector<std::string>{kBackupFolder});
  const std::string* backup = files.Get(std::string(kBackupFolder) + "\\Word 03-05-2024.oxs");
  ASSERT_NE(backup, nullptr);
  EXPECT_EQ(*backup, ToCrLf(LayerBackupText("Word", "winword.exe", wordFunctions)));
  EXPECT_EQ(backup->rfind("//NAME: Word\r\n//EXE: winword.exe\r\n\r\n//fstart\r\nvoid KeyDown_2_Green_Word()\r\n", 0), 0u);
  // The layer's functions are gone, the others stay, and the command ids close up.
  EXPECT_LT(Find(2, KeyEvent::Down, LayerColour::Green, "Word"), 0);
  EXPECT_LT(Find(2, KeyEvent::Up, LayerColour::Red, "Word"), 0);
  EXPECT_GE(Find(4, KeyEvent::Down, LayerColour::Green, "Pnr"), 0);
  EXPECT_EQ(c.customCommandCount, 2);
  EXPECT_EQ(c.includes, (std::map<int, std::string>{{1, "Beep.oxc"}, {2, "Beep.oxc"}}));
  EXPECT_NE(c.functions.items[Find(3, KeyEvent::Down, LayerColour::Green, "Excel")].body.find("__CMD_ID__ 2\n"), std::string::npos);
  // Nor can a later reading bring it back.
  EXPECT_EQ(c.layerMap, (std::map<std::string, std::string>{{"Excel", "excel.exe"}}));
  EXPECT_EQ(c.layerNames, std::vector<std::string>{"Excel"});
  EXPECT_EQ(Script().find("Word"), std::string::npos) << Script();
  EXPECT_NE(Script().find("KeyDown_3_Green_Excel()"), std::string::npos);

  // A second backup of a layer of that name on the same day keeps the first.
  layers.BuildLayerMenu("Word", "winword.exe");
  Program(c, 2, KeyEvent::Down, LayerColour::Green, "Word", {{L"/again", L""}});
  EXPECT_TRUE(layers.Remove(1));
  EXPECT_EQ(*files.Get(std::string(kBackupFolder) + "\\Word 03-05-2024.oxs"), *backup);
  const std::string* second = files.Get(std::string(kBackupFolder) + "\\Word 03-05-2024 (2).oxs");
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->find("/again"), std::string::npos);
}

TEST_F(ProgramLayersTest, ALayerWithUnderscoresInItsNameIsRemovedWholly) {
  layers.BuildLayerMenu("my_app", "my_app.exe");
  Program(c, 6, KeyEvent::Down, LayerColour::Green, "my_app", {{L"/mine", L""}});
  calls.SetBoxAnswer(BoxAnswer::Yes);
  EXPECT_TRUE(layers.Remove(0));
  EXPECT_LT(Find(6, KeyEvent::Down, LayerColour::Green, "my_app"), 0);
  EXPECT_NE(files.Get(std::string(kBackupFolder) + "\\my_app 03-05-2024.oxs"), nullptr);
}

TEST_F(ProgramLayersTest, ALayerWhoseBackupFailsStays) {
  layers.BuildLayerMenu("Word", "winword.exe");
  Program(c, 5, KeyEvent::Down, LayerColour::Green, "Word", {{L"/w", L""}});
  calls.SetBoxAnswer(BoxAnswer::Yes);
  host.folderOk = false;
  EXPECT_FALSE(layers.Remove(0));
  EXPECT_EQ(c.layerNames, std::vector<std::string>{"Word"});
  EXPECT_GE(Find(5, KeyEvent::Down, LayerColour::Green, "Word"), 0);
  EXPECT_EQ(host.defaultLayerShown, 0);
  const std::string events = calls.Events();
  EXPECT_NE(events.find("\"Remove Layer\" \"The macros of Word could not be backed up to\nC:\\Orvane"), std::string::npos)
      << events;
}

TEST_F(ProgramLayersTest, RecoverBringsBackTheLayerWithItsMacros) {
  c.customCommandSteps = {"[CC: Beep]", "[CC: Tools\\Mail]"};
  layers.BuildLayerMenu("Word", "winword.exe");
  Program(c, 2, KeyEvent::Down, LayerColour::Green, "Word", {{L"/100%", L""}, {L"[CC: Tools\\Mail]", L""}});
  Program(c, 2, KeyEvent::Up, LayerColour::Red, "Word", {{L"/up", L""}});
  const std::vector<KeyFunction> before = c.functions.items;
  calls.SetBoxAnswer(BoxAnswer::Yes);
  ASSERT_TRUE(layers.Remove(0));
  ASSERT_TRUE(c.functions.items.empty());
  // Meanwhile command id 1 went to a key of the default layer.
  Program(c, 9, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"[CC: Beep]", L""}});

  const std::string backup = std::string(kBackupFolder) + "\\Word 03-05-2024.oxs";
  calls.SetChosenFile(backup);
  calls.ClearEvents();
  EXPECT_TRUE(layers.RecoverChosenFile());
  EXPECT_EQ(calls.Events(),
            "open dialog 0x0 \"Save Orvane Script\" \"Orvane Script (*.oxs)\" \"*.oxs\" \"oxs\" \"" +
                std::string(kBackupFolder) + "\"");
  EXPECT_EQ(c.layerNames, std::vector<std::string>{"Word"});
  EXPECT_EQ(c.layerPrograms, std::vector<std::string>{"winword.exe"});
  EXPECT_NE(Menu().find("Remove Layer[Word(34220)]"), std::string::npos);
  EXPECT_EQ(host.redraws, 1);
  const int down = Find(2, KeyEvent::Down, LayerColour::Green, "Word");
  ASSERT_GE(down, 0);
  EXPECT_NE(c.functions.items[down].body.find("__CMD_ID__ 2\n"), std::string::npos) << c.functions.items[down].body;
  EXPECT_EQ(c.includes, (std::map<int, std::string>{{1, "Beep.oxc"}, {2, "Tools\\Mail.oxc"}}));
  const int up = Find(2, KeyEvent::Up, LayerColour::Red, "Word");
  ASSERT_GE(up, 0);
  EXPECT_EQ(c.functions.items[up].body, before[1].body);
  // The script holds them: a reading of it has the layer and its macros.
  MacroContext read;
  ReadScriptText(read, Script(), DeviceEffects::None);
  EXPECT_GE(FindKeyFunction(read.functions, 2, KeyEvent::Up, LayerColour::Red, "Word"), 0);
  EXPECT_EQ(read.layerMap, (std::map<std::string, std::string>{{"Word", "winword.exe"}}));
  EXPECT_EQ(read.includes, c.includes);

  // Again: the layer is there, and so are its macros.
  const std::string script = Script();
  EXPECT_TRUE(layers.Recover(backup));
  EXPECT_EQ(c.layerNames.size(), 1u);
  EXPECT_EQ(Script(), script);
}

TEST_F(ProgramLayersTest, RecoverNeedsTheDevicesScriptAndABackup) {
  files.Put("C:\\elsewhere\\notes.oxs", "void QpadInit()\r\n{\r\n}\r\n");
  calls.SetChosenFile(std::string("C:\\elsewhere\\notes.oxs"));
  EXPECT_FALSE(layers.RecoverChosenFile());
  EXPECT_NE(calls.Events().find("\"Recover Layer\" \"This file is not a layer backup:"), std::string::npos);
  calls.SetChosenFile(std::nullopt);  // Cancel
  EXPECT_FALSE(layers.RecoverChosenFile());
  EXPECT_FALSE(layers.Recover("C:\\missing.oxs"));

  files.Put("C:\\b.oxs", LayerBackupText("Word", "winword.exe", {}));
  host.script.clear();
  calls.ClearEvents();
  EXPECT_FALSE(layers.RecoverChosenFile());
  EXPECT_FALSE(layers.Recover("C:\\b.oxs"));
  EXPECT_EQ(calls.Events(), "");
  EXPECT_TRUE(c.layerNames.empty());
}

TEST_F(ProgramLayersTest, LayersOfTheMapComeBackWithoutWrites) {
  c.layerMap = {{"Word", "winword.exe"}, {"Excel", "excel.exe"}, {"Pnr", "x.exe"}};
  layers.RebuildLayerMenus();
  EXPECT_EQ(c.layerNames, (std::vector<std::string>{"Excel", "Word"}));
  EXPECT_EQ(Writes(), 0);
  // The reader takes the menus away and empties the lists itself.
  layers.RemoveMenus();
  EXPECT_EQ(Menu(), "Green Layer(32897) | Red Layer(32898) | Add Program Layer...(34217)");
  EXPECT_EQ(c.layerNames.size(), 2u);
  c.layerNames.clear();
  c.layerPrograms.clear();
  layers.RebuildLayerMenus();
  // New: every layer goes, the map too, without a question.
  layers.RemoveAll();
  EXPECT_EQ(Menu(), "Green Layer(32897) | Red Layer(32898) | Add Program Layer...(34217)");
  EXPECT_TRUE(c.layerNames.empty() && c.layerPrograms.empty() && c.layerMap.empty());
  EXPECT_EQ(calls.Events(), "");
  EXPECT_EQ(Writes(), 0);
}

}  // namespace
