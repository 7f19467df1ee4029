// The programming window's commands without a window: layers, File commands, modes and the
// commands handed on, with the platform's boxes, dialogs and registry recorded.
#include "ui/programming_window/programming_controller.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"
#include "macros/model/script_writer.h"
#include "platform/base/memory_file_access.h"
#include "platform/base/registry_values.h"
#include "platform/wingui/menu.h"
#include "tests/macros/model/model_fixture.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/ui/programming_window/menu_text.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_window_ids.h"

namespace {

using namespace testsupport;

// The recorder with a machine registry of its own.
class Platform : public RecordedSystemCalls {
 public:
  std::map<std::string, RegistryValue> registry;
  std::optional<RegistryValue> ReadMachineValue(const std::string& key, const std::string& name) override {
    auto it = registry.find(key + "|" + name);
    if (it == registry.end()) return std::nullopt;
    return it->second;
  }
  bool WriteMachineValue(const std::string& key, const std::string& name, const RegistryValue& value) override {
    registry[key + "|" + name] = value;
    return true;
  }
};

// One device for the window and the model, as the program's is.
class Device : public FakeDevice, public ProgrammingDevice {
 public:
  ProgrammingDeviceFacts facts;

  Device() {
    files["DeviceDescription.txt"] = "Device Name: Qpad 24 LED\n";
    settings.unitId = 1;
    facts.setUp = facts.hasColourLayers = facts.hasProgrammingSwitch = true;
    facts.productId = 0x19;
  }
  ProgrammingDeviceFacts Facts() override { return facts; }
  void SetRed(bool red) override { facts.red = red; }
  void SetBootMode(bool on) override { facts.bootMode = on; }
  void SetProgrammingRequested(bool on) override { facts.programmingRequested = on; }
  void SetBacklights(bool on) override {
    FakeDevice::SetBacklights(on);
    facts.backlightsOn = on;
  }
  void SetKeyswitchMode(bool on) override {
    FakeDevice::SetKeyswitchMode(on);
    facts.keyswitchOn = on;
  }
  void ShowLeds(bool, bool) override {}
  std::string ScriptFileName() override { return ScriptPath(); }
  std::string TypeFolder() override { return scriptFolder; }
};

class Port : public ProgrammingWindowPort {
 public:
  wingui::OwnedMenu bar = wingui::OwnedMenu::Load(IDR_PROGRAMMING_MENU);
  std::string title;
  int repaints = 0;
  int redraws = 0;
  int closes = 0;
  HWND Window() override { return reinterpret_cast<HWND>(0x4242); }
  HMENU MenuBar() override { return bar.get().handle(); }
  void SetTitle(const std::string& t) override { title = t; }
  void Repaint() override { ++repaints; }
  void PostRedraw() override { ++redraws; }
  void Close() override { ++closes; }
};

// What the hooks of the pieces beside the window were asked.
std::string& HookCalls() {
  static std::string calls;
  return calls;
}

// The pieces beside the window, noting what they are asked.
class Features : public ProgrammingFeatures {
 public:
  void ShowAbout(HWND, int productId) override { HookCalls() += "about " + std::to_string(productId) + ";"; }
  void AddKeyCap(MacroContext&, HWND) override { HookCalls() += "add cap;"; }
  void RemoveProgramLayer(MacroContext&, HWND, int n) override {
    HookCalls() += "remove layer " + std::to_string(n) + ";";
  }
  void OpenLegendMaker(MacroContext&, HWND) override { HookCalls() += "legend;"; }
};

class Controller : public ::testing::Test {
 protected:
  void SetUp() override {
    HookCalls().clear();
    c.device = &device;
    c.files = &files;
    for (int id : {1, 2, 3}) {
      KeyRecord k;
      k.keyId = static_cast<std::uint8_t>(id);
      k.key = {static_cast<float>(40 * id), 0, 40, 40};
      c.keys.push_back(k);
    }
    ASSERT_TRUE(port.bar);
    platform.SetBoxAnswer(BoxAnswer::Ok);
  }

  std::string Script() {
    const std::string* text = files.Get(device.ScriptPath());
    return text ? *text : std::string();
  }

  Platform platform;
  MemoryFileAccess files;
  Device device;
  MacroContext c;
  Port port;
  Features features;
  ProgrammingController controller{platform, c, device, port, features};
};

// A window without the layers' own code still lists the layers of the script's map, once a
// name (a name and its token are one layer), however often it starts.
TEST_F(Controller, WithoutTheLayersFeatureTheMapsLayersAreListedByName) {
  c.layerMap = {{"My App", "a.exe"}, {"My_App", "b.exe"}, {"Word", "winword.exe"}};
  ProgrammingController plain(platform, c, device, port, NoProgrammingFeatures());
  plain.Start();
  plain.Start();
  EXPECT_EQ(c.layerNames, (std::vector<std::string>{"My App", "Word"}));
  EXPECT_EQ(c.layerPrograms, (std::vector<std::string>{"a.exe", "winword.exe"}));
}

TEST_F(Controller, StartsOnTheDeviceColourWithItsMenus) {
  device.facts.red = true;
  device.facts.backlightsAvailable = true;
  WriteMachineDword(platform, kOrvaneRegistryKey, "Invisible", 1);
  controller.Start();
  EXPECT_EQ(controller.Title(), "Qpad 24 LED ID:1 - Red Layer");
  EXPECT_EQ(c.programLayer, 1);
  EXPECT_EQ(c.programming.currentLayerCommand, 0);
  EXPECT_EQ(Items(port.bar.get().SubMenu(1)), "Green Layer=32897 | Red Layer=32898* | Add Program Layer...=34217");
  EXPECT_EQ(Items(port.bar.get().SubMenu(2)),
            "Legend Maker...=32902 | Hidden Mode=34321* | Backlights=34348");
  EXPECT_FALSE(controller.IsModified());
}

// The Hidden Mode item shows the machine's setting, whether the window itself opened hidden or a
// request showed it.
TEST_F(Controller, TheHiddenModeItemFollowsTheSettingNotTheWindow) {
  struct Case {
    std::optional<std::uint32_t> invisible;
    bool windowHidden;
    bool checked;
  };
  const Case cases[] = {
      {std::nullopt, false, false}, {std::nullopt, true, false}, {0, true, false},
      {1, false, true},             {1, true, true},             {7, false, true},
  };
  for (const Case& t : cases) {
    platform.registry.clear();
    if (t.invisible) WriteMachineDword(platform, kOrvaneRegistryKey, "Invisible", *t.invisible);
    Port fresh;
    c.hiddenMode = t.windowHidden;
    ProgrammingController(platform, c, device, fresh, features).Start();
    EXPECT_EQ(wingui::Menu(fresh.MenuBar()).IsChecked(IDM_PW_HIDDEN_MODE), t.checked)
        << t.invisible.value_or(99) << " " << t.windowHidden;
    EXPECT_EQ(HiddenModeSetting(platform), t.checked);
  }
}

TEST_F(Controller, ColourAndProgramLayers) {
  controller.Start();
  c.layerNames = {"Word", "My App"};
  AddProgramLayers(port.bar.get(), c.layerNames, true);

  EXPECT_TRUE(controller.OnCommand(IDM_PW_RED_LAYER));
  EXPECT_EQ(port.title, "Qpad 24 LED ID:1 - Red Layer");
  EXPECT_TRUE(device.facts.red);
  EXPECT_EQ(c.programLayer, 1);
  EXPECT_EQ(c.programming.currentLayerCommand, IDM_PW_RED_LAYER);
  EXPECT_EQ(port.repaints, 1);

  EXPECT_TRUE(controller.OnCommand(33002));  // "My App", green
  EXPECT_EQ(port.title, "Qpad 24 LED ID:1 - My App - Green Layer");
  EXPECT_FALSE(device.facts.red);
  EXPECT_EQ(c.programLayer, 3);
  EXPECT_EQ(c.programming.currentLayerCommand, 33002);
  EXPECT_NE(Items(port.bar.get().SubMenu(1)).find("My App[Green Layer=33002* | Red Layer=33003]"), std::string::npos);
  EXPECT_NE(Items(port.bar.get().SubMenu(1)).find("Red Layer=32898 |"), std::string::npos);

  // A command past the last layer shows nothing.
  EXPECT_TRUE(controller.OnCommand(33004));
  EXPECT_EQ(c.programLayer, 3);
  EXPECT_EQ(port.repaints, 2);
}

TEST_F(Controller, ADeviceWithoutColourLayers) {
  device.facts.hasColourLayers = false;
  controller.Start();
  c.layerNames = {"Word"};
  AddProgramLayers(port.bar.get(), c.layerNames, false);
  EXPECT_TRUE(controller.OnCommand(IDM_PW_RED_LAYER));
  EXPECT_FALSE(device.facts.red);
  EXPECT_EQ(port.repaints, 0);
  EXPECT_TRUE(controller.OnCommand(33000));
  EXPECT_EQ(port.title, "Qpad 24 LED ID:1 - Word");
  EXPECT_EQ(c.programLayer, 2);
  EXPECT_EQ(c.programming.currentLayerCommand, 33000);
  controller.OnMenuPopup();
  EXPECT_NE(Items(port.bar.get().SubMenu(1)).find("Red Layer=32898-"), std::string::npos);
}

TEST_F(Controller, SaveOfAnotherFileOffersItAsAScript) {
  c.programming.currentPath = "C:\\Keep\\layout.txt";
  platform.SetChosenFile("C:\\Keep\\layout.oxs");
  EXPECT_TRUE(controller.OnCommand(IDM_PW_SAVE));
  EXPECT_NE(platform.Events().find("save dialog 0x4242 \"Save Orvane Script\" \"Orvane Script (*.oxs)\" "
                                   "\"*.oxs\" \"oxs\" \"C:\\Orvane\\QpadDevices\\Vid0a7cPid0019\" "
                                   "\"C:\\Keep\\layout.oxs\""),
            std::string::npos)
      << platform.Events();
  ASSERT_NE(files.Get("C:\\Keep\\layout.oxs"), nullptr);
  EXPECT_EQ(c.programming.currentPath, "C:\\Keep\\layout.oxs");
  EXPECT_EQ(c.programming.currentFolder, "C:\\Keep");

  // Now a script: Save writes it without a dialog.
  platform.ClearEvents();
  AddKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n//ORVX: \"a\"\nSendString(\"a\");\n}");
  EXPECT_TRUE(controller.IsModified());
  controller.OnCommand(IDM_PW_SAVE);
  EXPECT_EQ(platform.Events(), "");
  EXPECT_NE(files.Get("C:\\Keep\\layout.oxs")->find("KeyDown_1_Green_Pnr"), std::string::npos);
  EXPECT_FALSE(controller.IsModified());
}

TEST_F(Controller, SaveThatWritesNothingSaysSoAndStaysModified) {
  AddKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n//ORVX: \"a\"\n}");
  platform.SetChosenFile("C:\\Keep\\Script.oxs");  // the device type's shared script is never written
  controller.OnCommand(IDM_PW_SAVE_AS);
  EXPECT_NE(platform.Events().find("box 0x4242 \"Orvane II Error\""), std::string::npos) << platform.Events();
  EXPECT_EQ(files.Get("C:\\Keep\\Script.oxs"), nullptr);
  EXPECT_TRUE(controller.IsModified());
  EXPECT_EQ(c.programming.currentPath, "");
  // Cancel in the dialog writes nothing and says nothing.
  platform.ClearEvents();
  platform.SetChosenFile(std::nullopt);
  controller.OnCommand(IDM_PW_SAVE);
  EXPECT_EQ(platform.Events().find("box"), std::string::npos);
}

TEST_F(Controller, OpenAsksFirstWhenModified) {
  AddKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n//ORVX: \"a\"\n}");
  platform.SetBoxAnswer(BoxAnswer::Cancel);
  controller.OnCommand(IDM_PW_OPEN);
  EXPECT_EQ(platform.Events(),
            "box 0x4242 \"Modified File\" \"Do you want to save the current file before opening a new "
            "one?\" YesNoCancel Question");
  EXPECT_EQ(HookCalls(), "");

  // No: the file is read into an emptied layout, written as the device's script, and shown green.
  platform.ClearEvents();
  platform.SetBoxAnswer(BoxAnswer::No);
  platform.SetChosenFile("C:\\Other\\old.oxs");
  {
    MacroContext old;
    old.files = &files;
    AddKeyFunction(old.functions, 3, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n//ORVX: \"x\"\nSendString(\"x\");\n}");
    ASSERT_TRUE(WriteScriptFile(old, "C:\\Other\\old.oxs"));
  }
  device.facts.red = true;
  c.keys[0].capKind = kCoveredByCap;
  c.keys[0].pairedId = 90;
  KeyRecord cap;
  cap.keyId = cap.pairedId = 90;
  cap.capKind = kDoubleWideCap;
  c.keys.push_back(cap);
  c.toggleKeys.insert(2);
  c.includes[1] = "x.oxc";
  controller.OnCommand(IDM_PW_OPEN);
  EXPECT_NE(platform.Events().find("open dialog 0x4242 \"Open Orvane Script\""), std::string::npos);
  ASSERT_EQ(c.keys.size(), 3u);
  EXPECT_EQ(c.keys[0].capKind, kPlainKey);
  EXPECT_EQ(c.keys[0].pairedId, 0);
  EXPECT_TRUE(c.toggleKeys.empty());
  EXPECT_TRUE(c.includes.empty());
  ASSERT_EQ(c.functions.count(), 1);
  EXPECT_EQ(c.functions.items[0].scan, 3);
  EXPECT_NE(Script().find("KeyDown_3_Green_Pnr"), std::string::npos);
  EXPECT_EQ(c.programming.currentPath, "C:\\Other\\old.oxs");
  EXPECT_FALSE(controller.IsModified());
  EXPECT_FALSE(device.facts.red);
  EXPECT_EQ(port.redraws, 1);
}

TEST_F(Controller, NewEmptiesTheLayoutAndForgetsTheFile) {
  c.programming.currentPath = "C:\\Other\\old.oxs";
  AddKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n//ORVX: \"a\"\n}");
  c.programming.savedFunctions = c.functions.items;
  c.shiftKeys.insert(1);
  c.layerMap["Word"] = "winword.exe";
  controller.OnCommand(IDM_PW_NEW);
  EXPECT_EQ(platform.Events(), "");  // saved: no question
  EXPECT_EQ(c.functions.count(), 0);
  EXPECT_TRUE(c.shiftKeys.empty());
  EXPECT_TRUE(c.layerMap.empty());
  EXPECT_EQ(c.programming.currentPath, "");
  EXPECT_NE(Script().find("void QpadInit()"), std::string::npos);
  EXPECT_EQ(Script().find("KeyDown_1_"), std::string::npos);
}

TEST_F(Controller, HiddenModeNeedsASwitchAndAsksBeforeItIsOn) {
  device.facts.hasProgrammingSwitch = false;
  controller.OnCommand(IDM_PW_HIDDEN_MODE);
  EXPECT_EQ(platform.Events(),
            "box 0x4242 \"No Programming Switch\" \"The connected Qpad device does not have a programming "
            "switch and can't be programmed in hidden mode.\" Ok Information");
  EXPECT_TRUE(platform.registry.empty());

  device.facts.hasProgrammingSwitch = true;
  platform.ClearEvents();
  platform.SetBoxAnswer(BoxAnswer::Cancel);
  controller.OnCommand(IDM_PW_HIDDEN_MODE);
  EXPECT_NE(platform.Events().find("\"Entering Hidden Mode\" \"In hidden mode, you can program macros"), std::string::npos);
  EXPECT_TRUE(platform.registry.empty());

  platform.ClearEvents();
  platform.SetBoxAnswer(BoxAnswer::Ok);
  controller.OnCommand(IDM_PW_HIDDEN_MODE);
  EXPECT_EQ(ReadMachineDword(platform, kOrvaneRegistryKey, "Invisible"), 1u);
  EXPECT_NE(platform.Events().find("\"Hidden mode will be activated after closing the programming window.\""),
            std::string::npos);
  EXPECT_TRUE(wingui::Menu(port.MenuBar()).IsChecked(IDM_PW_HIDDEN_MODE));
  // The window itself stays as it opened.
  EXPECT_FALSE(c.hiddenMode);

  platform.ClearEvents();
  controller.OnCommand(IDM_PW_HIDDEN_MODE);
  EXPECT_EQ(platform.Events(), "");
  EXPECT_EQ(ReadMachineDword(platform, kOrvaneRegistryKey, "Invisible"), 0u);
  EXPECT_FALSE(wingui::Menu(port.MenuBar()).IsChecked(IDM_PW_HIDDEN_MODE));
}

TEST_F(Controller, KeyswitchModeIsWrittenAtOnce) {
  device.facts.keyswitchAvailable = device.settings.keyswitchAvailable = true;
  controller.Start();
  controller.OnCommand(IDM_PW_KEYSWITCH_MODE);
  EXPECT_NE(platform.Events().find("\"Entering KeySwitch Mode\" \"In keyswitch mode, the programming window"),
            std::string::npos);
  EXPECT_NE(platform.Events().find("\"Entering Keyswitch Mode\" \"Keyswitch mode will be activated after "
                                   "closing the programming window.\""),
            std::string::npos);
  EXPECT_TRUE(device.facts.keyswitchOn);
  EXPECT_TRUE(wingui::Menu(port.MenuBar()).IsChecked(IDM_PW_KEYSWITCH_MODE));
  // The regeneration at closing reads the file: the mode must be in it already.
  EXPECT_NE(Script().find("//ORVX: Keyswitch Mode true"), std::string::npos) << Script();

  platform.ClearEvents();
  controller.OnCommand(IDM_PW_KEYSWITCH_MODE);
  EXPECT_EQ(platform.Events(), "");
  EXPECT_FALSE(device.facts.keyswitchOn);
  EXPECT_NE(Script().find("//ORVX: Keyswitch Mode false"), std::string::npos);
}

TEST_F(Controller, BacklightsSwitchAndAreWritten) {
  device.facts.backlightsAvailable = device.settings.backlightsAvailable = true;
  controller.Start();
  controller.OnCommand(IDM_PW_BACKLIGHTS);
  EXPECT_EQ(device.calls, (std::vector<std::string>{"backlights on"}));
  EXPECT_TRUE(wingui::Menu(port.MenuBar()).IsChecked(IDM_PW_BACKLIGHTS));
  EXPECT_NE(Script().find("//ORVX: Backlights true"), std::string::npos) << Script();
  controller.OnCommand(IDM_PW_BACKLIGHTS);
  EXPECT_EQ(device.calls, (std::vector<std::string>{"backlights on", "backlights off"}));
  EXPECT_FALSE(wingui::Menu(port.MenuBar()).IsChecked(IDM_PW_BACKLIGHTS));
}

TEST_F(Controller, OnboardMacrosAreWrittenOnlyWhenTheyWereRead) {
  controller.OnCommand(IDM_PW_WRITE_TO_DEVICE);
  EXPECT_FALSE(device.facts.bootMode);
  EXPECT_EQ(port.closes, 0);
  c.programming.onboardProgramming = true;
  controller.OnCommand(IDM_PW_WRITE_TO_DEVICE);
  EXPECT_TRUE(device.facts.bootMode);
  EXPECT_EQ(port.closes, 1);

  controller.OnCommand(IDM_PW_QUORL_MODE);
  EXPECT_FALSE(device.facts.bootMode);
  EXPECT_EQ(port.title, "Qpad 24 LED ID:1 - Green Layer");
  device.facts.bootMode = true;
  EXPECT_EQ(controller.Title(), "Qpad 24 LED ID:1 - Green Layer - DEVICE IN BOOT MODE");
}

TEST_F(Controller, ExitEndsTheRequestAndGivesBackARecordWithoutADevice) {
  device.facts.programmingRequested = true;
  controller.OnCommand(IDM_PW_EXIT);
  EXPECT_EQ(port.closes, 1);
  EXPECT_FALSE(device.facts.programmingRequested);
  EXPECT_FALSE(controller.ReleaseRecordAfterClose());
  device.facts.setUp = false;
  controller.OnClose();
  EXPECT_EQ(port.closes, 2);
  EXPECT_TRUE(controller.ReleaseRecordAfterClose());
}

TEST_F(Controller, CommandsHandedOn) {
  controller.OnCommand(IDM_PW_ABOUT);
  controller.OnCommand(IDM_PW_KEY_CAPS_ADD);
  controller.OnCommand(IDM_PW_LEGEND_MAKER);
  c.layerNames = {"Word"};
  controller.OnCommand(IDM_PW_FIRST_REMOVE_LAYER + 1);  // no second layer
  controller.OnCommand(IDM_PW_FIRST_REMOVE_LAYER);
  device.facts.setUp = false;  // key caps come from the device's reports
  controller.OnCommand(IDM_PW_KEY_CAPS_ADD);
  controller.OnCommand(IDM_PW_KEY_CAPS_REMOVE);  // nobody provides it: nothing
  EXPECT_EQ(HookCalls(), "about 25;add cap;legend;remove layer 0;");
  controller.OnCommand(IDM_PW_WEB_PAGE);
  EXPECT_EQ(platform.Events(), "shell 0x4242 \"open\" \"https://www.kestrion.com/qpad/\" null null 1");
  EXPECT_FALSE(controller.OnCommand(IDM_PW_CTRL_SHIFT_CLICK));
  EXPECT_FALSE(controller.OnCommand(SC_CLOSE));
}

TEST_F(Controller, FilesDroppedOnAKeyAreWrittenAtOnce) {
  controller.OnDrop(45, 5, {L"C:\\Docs\\plan.txt", L"C:\\Docs\\list.txt"});
  const int f = FindKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Pnr");
  ASSERT_GE(f, 0);
  EXPECT_NE(Script().find("[Open: plan.txt]"), std::string::npos) << Script();
  EXPECT_NE(Script().find("[Open: list.txt]"), std::string::npos);
  EXPECT_EQ(c.pressedKeyId, kNoKeyId);
  EXPECT_EQ(port.repaints, 1);
  EXPECT_TRUE(controller.IsModified());
  // Outside every key nothing happens.
  controller.OnDrop(5, 5, {L"C:\\Docs\\plan.txt"});
  EXPECT_EQ(c.functions.count(), 1);
  EXPECT_EQ(port.repaints, 1);
}

}  // namespace
