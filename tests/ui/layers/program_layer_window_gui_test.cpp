// The program layers in a programming window's place: the layers' feature and the script
// reader's window side change the Layer menu of a real window's menu bar, and the window is
// sent its green layer command after a removal.
#include <gtest/gtest.h>
#include <windows.h>

#include "macros/model/macro_model_events.h"
#include "macros/model/script_reader.h"
#include "macros/model/script_writer.h"
#include "platform/base/memory_file_access.h"
#include "platform/wingui/menu.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/support/scratch_dir.h"
#include "ui/layers/program_layer_window.h"
#include "ui/programming_window/programming_device.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;

namespace {

class Device : public FakeDevice, public ProgrammingDevice {
 public:
  ProgrammingDeviceFacts Facts() override {
    ProgrammingDeviceFacts f;
    f.hasColourLayers = colours;
    return f;
  }
  void SetRed(bool) override {}
  void SetBootMode(bool) override {}
  void SetProgrammingRequested(bool) override {}
  void SetBacklights(bool on) override { FakeDevice::SetBacklights(on); }
  void SetKeyswitchMode(bool on) override { FakeDevice::SetKeyswitchMode(on); }
  void ShowLeds(bool, bool) override {}
  std::string ScriptFileName() override { return ScriptPath(); }
  std::string TypeFolder() override { return scriptFolder; }
  bool colours = false;
};

std::vector<int> commands;
LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) commands.push_back(LOWORD(wParam));
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The Layer menu's items by position, popups with their items in brackets.
std::string Describe(HMENU menu) {
  const wingui::Menu m(menu);
  std::string out;
  for (int i = 0; i < m.Count(); ++i) {
    out += (i ? " | " : "") + m.TextAt(i);
    if (const wingui::Menu sub = m.SubMenu(i)) out += "[" + Describe(sub.handle()) + "]";
  }
  return out;
}

// The layers' side of the model's events, as the program has it.
class LayerEvents : public MacroModelEvents {
 public:
  ProgramLayersFeature layers;
  void RemoveLayerMenus(MacroContext& c) override { layers.RemoveLayerMenus(c); }
  void AddLayer(MacroContext& c, const std::string& name, const std::string& program) override {
    layers.AddLayer(c, name, program);
  }
};

class ProgramLayerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LayerWindowTest";
    RegisterClassA(&wc);
    wingui::OwnedMenu bar = wingui::OwnedMenu::Bar();
    wingui::OwnedMenu file = wingui::OwnedMenu::Popup();
    file.get().Append(IDM_PW_NEW, "New");
    bar.get().AppendPopup("File", std::move(file));
    wingui::OwnedMenu layer = wingui::OwnedMenu::Popup();
    layer.get().Append(IDM_PW_GREEN_LAYER, "Green Layer");
    layer.get().Append(IDM_PW_RED_LAYER, "Red Layer");
    layer.get().Append(IDM_PW_ADD_PROGRAM_LAYER, "Add Program Layer...");
    bar.get().AppendPopup("Layer", std::move(layer));
    window_ = CreateWindowA(wc.lpszClassName, "Layers", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                            bar.Release(), wc.hInstance, nullptr);
    ASSERT_TRUE(window_);
    c_.device = &device_;
    c_.files = &files_;
    c_.windowOpen = true;
    c_.programming.window = window_;
    commands.clear();
  }
  void TearDown() override {
    DestroyWindow(window_);
  }
  std::string Layers() { return Describe(GetSubMenu(GetMenu(window_), 1)); }

  HWND window_ = nullptr;
  Device device_;
  MemoryFileAccess files_;
  LayerEvents events_;
  MacroContext c_{events_};
  RecordedSystemCalls calls_;
};

TEST_F(ProgramLayerWindowTest, TheWindowsLayerMenuFollowsItsLayers) {
  ProgramLayersFeature& x = events_.layers;
  // After the window is made: the layers of the script it read.
  c_.layerMap = {{"Word", "winword.exe"}, {"Excel", "excel.exe"}};
  x.RebuildLayerMenus(c_, window_);
  EXPECT_EQ(Layers(), "Green Layer | Red Layer | Excel | Word | Add Program Layer... | Remove Layer[Excel | Word]");
  EXPECT_EQ(c_.layerNames, (std::vector<std::string>{"Excel", "Word"}));
  EXPECT_TRUE(files_.WriteLog().empty());

  // A script read while the window is open (Open): the menus hold the layers anew.
  MacroContext other;
  AddLayer(other, "Mail", "mail.exe");
  Program(other, 1, KeyEvent::Down, LayerColour::Green, "Mail", {{L"/m", L""}});
  ReadScriptText(c_, GenerateScriptText(other, device_.Settings(), std::nullopt), DeviceEffects::None);
  EXPECT_EQ(Layers(),
            "Green Layer | Red Layer | Excel | Mail | Word | Add Program Layer... | Remove Layer[Excel | Mail | Word]");
  EXPECT_EQ(c_.layerNames, (std::vector<std::string>{"Excel", "Mail", "Word"}));

  // Remove Layer of the second: asked, backed up, and the window shows its green layer.
  calls_.SetBoxAnswer(BoxAnswer::Yes);
  ScratchDir backups("layerwindow");
  device_.scriptFolder = backups.path();
  x.Remove(c_, window_, 1);
  EXPECT_EQ(Layers(), "Green Layer | Red Layer | Excel | Word | Add Program Layer... | Remove Layer[Excel | Word]");
  EXPECT_EQ(commands, std::vector<int>{IDM_PW_GREEN_LAYER});
  EXPECT_TRUE(DirExists(backups / "Layer Backup"));
  EXPECT_NE(files_.Get(device_.ScriptPath()), nullptr);

  // A reading while the window has no handle keeps the lists alone.
  c_.programming.window = nullptr;
  ReadScriptText(c_, "", DeviceEffects::None);
  EXPECT_EQ(c_.layerNames, (std::vector<std::string>{"Excel", "Word"}));
  c_.programming.window = window_;

  // New: every layer goes.
  x.RemoveAll(c_, window_);
  EXPECT_EQ(Layers(), "Green Layer | Red Layer | Add Program Layer...");
  EXPECT_TRUE(c_.layerNames.empty() && c_.layerMap.empty());
}

TEST_F(ProgramLayerWindowTest, TheDevicesFactsAndFolders) {
  device_.colours = true;
  WindowLayerHost host(c_, window_);
  EXPECT_TRUE(host.HasColourLayers());
  EXPECT_EQ(host.ScriptFileName(), device_.ScriptPath());
  EXPECT_EQ(host.LayerMenu(), GetSubMenu(GetMenu(window_), 1));
  ScratchDir dir("layerfolder");
  EXPECT_TRUE(host.MakeFolder(dir / "Layer Backup"));
  EXPECT_TRUE(host.MakeFolder(dir / "Layer Backup"));  // there already
  ASSERT_TRUE(WriteTextFile(dir / "file", "x"));
  EXPECT_FALSE(host.MakeFolder(dir / "file"));
  // A context whose device is not a programming window's has no device facts.
  MacroContext plain;
  FakeDevice fake;
  plain.device = &fake;
  WindowLayerHost none(plain, window_);
  EXPECT_FALSE(none.HasColourLayers());
  EXPECT_EQ(none.ScriptFileName(), "");
}

}  // namespace
