// Per-key plug-ins in the real program over a simulated LED keypad and a layout that hands keys
// to the tests' own plug-in: a click on such a key opens the plug-in's window in place of the
// editor, and its write lands in "Device Specific.oxs" beside the device's script; a key whose
// plug-in declines, or whose library is nowhere, opens the editor; a plug-in runs the editor in
// a dialog of its own. The window's close rebuilds the script, which carries the plug-in's part,
// and key 7's macro runs the plug-in's function.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "macros/macro_editor_ids.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/program_fixture.h"
#include "tests/ui/plugins/test_key_plugin.h"
#include "ui/programming_window/programming_window.h"

using namespace testsupport;
using namespace testplugin;

namespace {

constexpr std::uint8_t kSwitch = 0x10;
constexpr std::uint8_t kKey7 = 0x80;  // byte 1
// The setID report with 201: the plug-in's function ran.
constexpr char kPluginFunctionRan[] = "02c2c9000000000000";

// Centres of the second row's keys: 7 and the four plug-in keys 0x10 to 0x13.
constexpr POINT kKey7Centre{110, 135};
POINT Centre(int pluginKey) { return {170 + 60 * (pluginKey - kPluginWindowKey), 135}; }

class PluginKeysSim : public RunningProgram {
 protected:
  std::string Path(const char* name) { return TypeFile(0x19, name); }

  // The test layout in the device type folder and the plug-in in the program folder; key 7
  // calls the device's own function, which does nothing until the plug-in writes it.
  void WriteLayout() {
    ASSERT_TRUE(CopyFileA((EnvOr("ORVANE_TEST_DATA") + "\\plugins\\layout.kll").c_str(), Path("layout.kll").c_str(),
                          FALSE));
    ASSERT_TRUE(CopyFileA((EnvOr("ORVANE_BIN") + "\\" + kLibrary).c_str(), (dir_ / kLibrary).c_str(), FALSE));
    ASSERT_TRUE(WriteTextFile(Path("Device Specific.oxs"), "uint8 QpadUnitId = 1;\r\nvoid PluginKeyAction()\r\n{\r\n}\r\n"));
    ASSERT_TRUE(RunningProgram::WriteLayout(0x19, 1, [](MacroContext& c) {
      Program(c, 7, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"[Plug-in]", L"PluginKeyAction();"}});
    }));
  }
  void Report(std::uint8_t keys, std::uint8_t switchByte) {
    std::uint8_t report[9] = {0, keys, 0, 0, switchByte, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id_, report, 9);
  }
  void Click(HWND window, POINT at) {
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
  // The editor's title is the same in the program's dialog and in a plug-in's.
  HWND Editor(unsigned ms) { return WaitForProcessWindow(program_.Id(), "Record/Edit Macro", ms); }
  void Cancel(HWND editor) {
    PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  }

  int id_ = -1;
};

TEST_F(PluginKeysSim, PlugInKeysOpenTheirWindowsAndTheRebuiltScriptRunsWhatThePlugInWrote) {
  WriteLayout();
  id_ = AddSimKeypad(sim_, 1, 0x19);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000)) << "no build";
  Report(0, kSwitch);
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window); }, 5000));

  // The plug-in's own window, in place of the editor; it has the program write the device's own
  // part beside the device's script (an empty text empties it), and closes.
  for (const auto& [button, text] : {std::pair{kClearButton, ""}, std::pair{kWriteButton, kPluginScript}}) {
    Click(window, Centre(kPluginWindowKey));
    const HWND own = WaitForProcessWindow(program_.Id(), kWindowTitle, 10000);
    ASSERT_TRUE(own) << button;
    EXPECT_EQ(GetWindow(own, GW_OWNER), window);
    EXPECT_FALSE(Editor(300));
    PostMessageA(own, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return ReadFileOr(Path("Device Specific.oxs")) == text; }, 10000))
        << ReadFileOr(Path("Device Specific.oxs"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(own); }, 10000));
  }

  // A key whose plug-in declines it, and one whose library is nowhere: the program's editor.
  for (int key : {kPluginDeclinedKey, kPluginDeclinedKey + 1}) {
    Click(window, Centre(key));
    const HWND editor = Editor(10000);
    ASSERT_TRUE(editor) << key;
    EXPECT_EQ(ClassName(editor), "basicInputClass") << key;
    Cancel(editor);
  }

  // The editor in the plug-in's own dialog: the key's macro is stored as the editor's own is.
  Click(window, Centre(kPluginEditorKey));
  const HWND dialog = Editor(10000);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ClassName(dialog), kEditorClass);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
  PostMessageA(dialog, WM_COMMAND, IDM_MACRO_MOUSE_CLICK, 0);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(FindChildById(dialog, IDC_MACRO_KEY_DOWN)) == "<Mouse Click>"; }, 10000));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
  EXPECT_TRUE(WaitUntil(
      [&] { return ReadFileOr(Path("Script_1.oxs")).find("void KeyDown_17_Green_Pnr()") != std::string::npos; }, 10000))
      << ReadFileOr(Path("Script_1.oxs"));

  // The switch goes off: the window closes, the script is made again with the plug-in's part,
  // and the device is built from it.
  ASSERT_TRUE(DeleteFileA(Path("Script_1_backup.oxs").c_str()));
  Report(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000)) << "no rebuild";
  const std::string script = ReadFileOr(Path("Script_1.oxs"));
  EXPECT_NE(script.find("/******BEGINNING OF DEVICE SPECIFIC******/\r\n\r\n\r\n" + std::string(kPluginScript)),
            std::string::npos)
      << script;
  TakeOutputs(sim_, id_);
  Report(kKey7, 0);
  Report(0, 0);
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (const std::string& o : TakeOutputs(sim_, id_))
          if (o == kPluginFunctionRan) return true;
        return false;
      },
      10000));
}

}  // namespace
