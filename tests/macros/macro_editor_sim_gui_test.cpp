// The editor's road through the real device thread and a simulated LED keypad: the programming
// switch opens a stand-in programming window (a context read from the device's script, its user
// data, as the programming window keeps it), pressing key 3 opens the key's editor, a custom
// command of the test's own and Backlight Toggle go in from the menus, OK writes the script,
// the switch's release closes the window, which regenerates the script and has it rebuilt; key
// 3 then types the command's text and toggles the backlights, and the editor opened again shows
// the same macro.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "macros/custom_key_windows.h"
#include "macros/device_macro_device.h"
#include "macros/keystroke_recorder.h"
#include "macros/keystroke_recorder_window.h"
#include "macros/macro_editor.h"
#include "macros/macro_editor_ids.h"
#include "tests/macros/program_macro_platform.h"
#include "macros/macro_services.h"
#include "macros/model/key_caps.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_lifecycle.h"
#include "macros/model/script_reader.h"
#include "platform/wingui/menu.h"
#include "platform/wingui/rich_edit.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/keys/key_codes.h"
#include "tests/runtime/service/device_thread_fixture.h"

using namespace testsupport;

namespace {

constexpr UINT kOpenKey = WM_APP + 1;  // to the stand-in: open the editor of the key with this id
constexpr char kKeypadClass[] = "EditorRoadKeypad";

// What the programming window holds while it is open; made and ended on the device thread.
struct OpenKeypad {
  std::unique_ptr<DeviceRecordMacroDevice> device;
  std::unique_ptr<MacroContext> context;
  // The editors as the program has them, with its keystroke recorder.
  SystemCalls calls;
  MacroEditorBoxes boxes;
  KeystrokeRecorder recorder{calls, boxes};
  CustomKeyWindows noPlugins;
  MacroEditors editors{calls, recorder, noPlugins};
};
OpenKeypad& Keypad() {
  static OpenKeypad keypad;
  return keypad;
}

LRESULT CALLBACK KeypadProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  OpenKeypad& k = Keypad();
  if (message == kOpenKey && k.context) {
    k.editors.Toggle(*k.context, FindKeyIndex(k.context->keys, static_cast<int>(wParam)));
    return 0;
  }
  if (message == WM_DESTROY && k.context) {
    // As the programming window ends: its device's script regenerated, the context closed.
    DeviceRecord& record = *k.device->Record();
    RegenerateDeviceScript(record);
    CloseMacroContext(std::move(k.context), false);
    k.device.reset();
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND OpenWindow(DeviceRecord& record) {
  OpenKeypad& k = Keypad();
  k.device = std::make_unique<DeviceRecordMacroDevice>(record);
  k.context = std::make_unique<MacroContext>();
  MacroContext& c = *k.context;
  c.device = k.device.get();
  // The 24 keys of the sample LED keypad: key bytes 1 to 3.
  for (int byte = 0; byte < 3; ++byte)
    for (int bit = 0; bit < 8; ++bit) {
      KeyRecord key;
      key.keyId = static_cast<std::uint8_t>(KeyCode(byte, bit));
      c.keys.push_back(key);
    }
  ReadScriptFile(c, k.device->ScriptPath());
  RebuildKeyCaps(c);
  record.macroContext = &c;
  HWND window = CreateWindowExA(0, kKeypadClass, "Keypad", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
  return window;
}

// A key pressed on the keypad while the window is open opens its editor, or presses its OK.
void KeyInWindow(DeviceRecord& record, int code, bool pressed) {
  if (pressed && record.programmingWindow) SendMessageA(record.programmingWindow, kOpenKey, code, 0);
}

// The program's dialogs with the test's keypad window, and the scripts regenerated from their
// layouts as the program regenerates them.
class KeypadHost : public ProgramDialogs {
 public:
  using ProgramDialogs::ProgramDialogs;
  HWND OpenProgrammingWindow(DeviceRecord& record) override { return OpenWindow(record); }
  void ProgrammingKey(DeviceRecord& record, int code, bool pressed) override { KeyInWindow(record, code, pressed); }
  void RegenerateDeviceScript(DeviceRecord& record) override { ::RegenerateDeviceScript(record); }
};

class EditorRoad : public DeviceThread {
 protected:
  void SetUp() override {
    // The program finds its folders when it starts.
    ASSERT_TRUE(MakeDirs(dir_ / "Custom Commands"));
    ASSERT_TRUE(WriteTextFile(dir_ / "Custom Commands\\Type Hi.oxc", "void RUN_COMMAND() { SendString(\"/hi\"); }\r\n"));
    DeviceThread::SetUp();
    UseProgramMacroPlatform();
    WNDCLASSA wc{};
    wc.lpfnWndProc = KeypadProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kKeypadClass;
    RegisterClassA(&wc);
    UseOwnHost<KeypadHost>(*platform_);
    // The keypad starts with its type's shared script; OK writes the unit's own.
    ASSERT_TRUE(WriteTextFile(TypeFile("Script.oxs"), "void QpadInit() {}\r\nvoid KeyDown(int c) {}\r\nvoid KeyUp(int c) {}\r\n"));
  }

  std::string TypeFile(const std::string& name) const { return dir_ / ("QpadDevices\\Vid0a7cPid0019\\" + name); }
  std::string Script() const { return TypeFile("Script_1.oxs"); }
  std::string Backup() const { return TypeFile("Script_1_backup.oxs"); }

  // Byte 4 holds the programming switch, byte 7 the unit id.
  void Report(std::uint8_t keys, bool programmingSwitch) {
    const std::uint8_t report[9] = {0, keys, 0, 0, static_cast<std::uint8_t>(programmingSwitch ? 0x10 : 0), 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id_, report, 9);
  }
  void PressKey3(bool programmingSwitch) {
    Report(0x08, programmingSwitch);
    Report(0x00, programmingSwitch);
  }
  // The editor once the device thread has made it whole: shown, and its thread free again.
  static HWND EditorWindow() {
    // Another test's editor may be open beside this one.
    HWND editor = nullptr;
    while ((editor = FindWindowExA(nullptr, editor, "basicInputClass", nullptr))) {
      DWORD process = 0;
      GetWindowThreadProcessId(editor, &process);
      if (process == GetCurrentProcessId()) break;
    }
    if (!editor || !IsWindowVisible(editor)) return nullptr;
    SendMessageA(editor, WM_NULL, 0, 0);
    return editor;
  }

  int id_ = 0;
};

TEST_F(EditorRoad, AKeysMacroMadeInTheEditorRunsOnTheKeypad) {
  const std::string shared = ReadFileOr(TypeFile("Script.oxs"));
  id_ = AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile("Script_backup.oxs")); }, 20000))
      << "the shared script did not build";

  // The switch opens the window; the key opens its editor.
  Report(0, true);
  ASSERT_TRUE(WaitUntil([] { return FindWindowA(kKeypadClass, nullptr) != nullptr; }, 5000));
  PressKey3(true);
  ASSERT_TRUE(WaitUntil([] { return EditorWindow() != nullptr; }, 5000));
  HWND editor = EditorWindow();

  const wingui::Menu insert = wingui::Menu::OfWindow(editor).SubMenu(MACRO_MENU_INSERT_POSITION);
  int commands = -1;
  for (int i = 0; i < insert.Count(); ++i)
    if (insert.TextAt(i) == "Custom Command") commands = i;
  ASSERT_GE(commands, 0) << "no Custom Command submenu";
  ASSERT_EQ(insert.SubMenu(commands).TextAt(0), "Type Hi");
  SendMessageA(editor, WM_COMMAND, insert.SubMenu(commands).IdAt(0), 0);
  SendMessageA(editor, WM_COMMAND, IDM_MACRO_BACKLIGHT_TOGGLE, 0);
  const std::wstring macro = L"[CC: Type Hi][Backlight Toggle]";
  EXPECT_EQ(wingui::RichEdit(GetDlgItem(editor, IDC_MACRO_KEY_DOWN)).TextWide(), macro);
  SavePicture(editor, "macro_editor_custom_command");
  PostMessageA(GetDlgItem(editor, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5000));
  const std::string written = ReadFileOr(Script());
  EXPECT_NE(written.find("#define __CMD_ID__ 1\r\n#include \"Type Hi.oxc\""), std::string::npos) << written;
  EXPECT_NE(written.find("ToggleBacklights();"), std::string::npos);

  // The switch's release closes the window; the script is rebuilt.
  Report(0, false);
  ASSERT_TRUE(WaitUntil([] { return FindWindowA(kKeypadClass, nullptr) == nullptr; }, 5000));
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(Backup()) == ReadFileOr(Script()); }, 20000))
      << "the new script was not built";
  TakeOutputs(sim_, id_);

  PressKey3(false);
  // The command types "hi" through the keypad's keyboard reports, then the backlights go on
  // (0x20 beside the green LED's 0x40).
  const std::vector<std::string> expected = {"02c5000b0000000000", "02c500000000000000", "02c5000c0000000000",
                                             "02c500000000000000", "02c160000000000000"};
  std::vector<std::string> outputs;
  EXPECT_TRUE(WaitUntil([&] {
    for (const std::string& o : TakeOutputs(sim_, id_)) outputs.push_back(o);
    return outputs.size() >= expected.size();
  }, 5000));
  EXPECT_EQ(outputs, expected);

  // Opened again, the editor shows the same macro.
  Report(0, true);
  ASSERT_TRUE(WaitUntil([] { return FindWindowA(kKeypadClass, nullptr) != nullptr; }, 5000));
  PressKey3(true);
  ASSERT_TRUE(WaitUntil([] { return EditorWindow() != nullptr; }, 5000));
  editor = EditorWindow();
  EXPECT_EQ(wingui::RichEdit(GetDlgItem(editor, IDC_MACRO_KEY_DOWN)).TextWide(), macro);
  SendMessageA(editor, WM_COMMAND, IDCANCEL, 0);
  Report(0, false);
  ASSERT_TRUE(WaitUntil([] { return FindWindowA(kKeypadClass, nullptr) == nullptr; }, 5000));
  EXPECT_EQ(ReadFileOr(TypeFile("Script.oxs")), shared) << "the type's shared script is never written";
}

}  // namespace
