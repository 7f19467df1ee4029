// Program layers in the real Orvane.exe: a key of a simulated keypad types its layer's macro
// while that layer's program is in front, and the default macro while another is. First with
// layers added as the dialog adds them (one for this test's own program, one for a program
// whose name has blanks, a plus sign, a comma and a letter beyond ASCII); then through the
// programming window itself: its Add Program Layer dialog, Recover Layer and Remove Layer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/program_fixture.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/ui/layers/layer_test_support.h"
#include "ui/layers/layer_backup.h"
#include "ui/layers/program_layer_ids.h"
#include "ui/layers/program_layers.h"
#include "ui/layers/running_programs.h"
#include "ui/programming_window/programming_window.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;

namespace {

// This test's own program, as the script sees the program in front.
std::string OwnExe() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  return LowerCaseName(name.substr(name.find_last_of('\\') + 1));
}

class LayerTyping : public RunningProgram {
 protected:
  void TearDown() override {
    for (HWND peer : peers_)
      if (IsWindow(peer)) PostMessageA(peer, WM_CLOSE, 0, 0);
    RunningProgram::TearDown();
  }
  // The peer program under that exe name, its window in front; its edit box.
  HWND StartPeer(const std::wstring& exeName, const char* title, int y) {
    HWND peer = StartLayerPeer(dir_.path(), exeName, title, 480, y, 420, 200);
    if (!peer) return nullptr;
    peers_.push_back(peer);
    return FindWindowExA(peer, nullptr, "EDIT", nullptr);
  }
  void Front(HWND window, HWND edit) {
    SetForegroundWindow(window);
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) SetFocus(edit);
    PumpMessages(300);
  }
  // Key 0 pressed with the window in front: its edit box then holds the text.
  bool KeyTypes(int id, HWND window, HWND edit, const std::string& text) {
    Front(window, edit);
    Press(id, 1, 0);
    return WaitUntil([&] { return WindowText(edit) == text; }, 5000);
  }

  std::vector<HWND> peers_;
};

TEST_F(LayerTyping, AKeyTypesItsLayersMacroWhileTheLayersProgramIsInFront) {
  const std::wstring notesExe = L"Notes+ Caf\u00e9, v2.exe";
  HWND notesEdit = StartPeer(notesExe, "Peer Notes", 20);
  HWND plainEdit = StartPeer(L"plain peer.exe", "Peer Plain", 260);
  ASSERT_NE(notesEdit, nullptr);
  ASSERT_NE(plainEdit, nullptr);
  char notesAnsi[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, notesExe.c_str(), -1, notesAnsi, MAX_PATH, nullptr, nullptr);

  ASSERT_TRUE(WriteLayout(0x10, 1, [&](MacroContext& c) {
    // Without a window, and nothing written but the layout itself.
    MenuLayerHost host;
    host.script.clear();
    SystemCallsRecorder calls;  // nothing is asked
    ProgramLayers layers(calls, c, host);
    ASSERT_EQ(layers.BuildLayerMenu("Layer Test", OwnExe()), LayerRefusal::None);
    ASSERT_EQ(layers.BuildLayerMenu(LowerCaseName(notesAnsi), LowerCaseName(notesAnsi)), LayerRefusal::None);
    Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/default", L""}});
    Program(c, 0, KeyEvent::Down, LayerColour::Green, "Layer Test", {{L"/own layer", L""}});
    Program(c, 0, KeyEvent::Down, LayerColour::Green, c.layerNames[1].c_str(), {{L"/notes layer", L""}});
  }));

  HWND edit = TypingTarget();
  const int id = AddSimKeypad(sim_, 1, 0x10);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(0x10, "Script_1_backup.oxs")); }, 20000))
      << "the generated script did not build";

  EXPECT_TRUE(KeyTypes(id, window_, edit, "own layer")) << WindowText(edit);
  EXPECT_TRUE(KeyTypes(id, GetParent(plainEdit), plainEdit, "default")) << WindowText(plainEdit);
  EXPECT_TRUE(KeyTypes(id, GetParent(notesEdit), notesEdit, "notes layer")) << WindowText(notesEdit);
  EXPECT_TRUE(KeyTypes(id, window_, edit, "own layerown layer")) << WindowText(edit);
  EXPECT_EQ(WindowText(plainEdit), "default");
  EXPECT_EQ(WindowText(notesEdit), "notes layer");
}

TEST_F(LayerTyping, LayersMadeInTheProgrammingWindowTypeTheirMacros) {
  HWND plainEdit = StartPeer(L"plain peer.exe", "Peer Plain", 260);
  ASSERT_NE(plainEdit, nullptr);
  // The key types "default"; a backup of an earlier layer for this test's program holds
  // "own layer" for it.
  ASSERT_TRUE(WriteLayout(0x10, 1, [](MacroContext& c) { Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/default", L""}}); }));
  MacroContext earlier;
  Program(earlier, 0, KeyEvent::Down, LayerColour::Green, "Layer Test", {{L"/own layer", L""}});
  const std::string backup = TypeFile(0x10, "Layer Backup\\Layer Test 01-02-2024.oxs");
  ASSERT_TRUE(MakeDirs(TypeFile(0x10, "Layer Backup")));
  ASSERT_TRUE(WriteTextFile(backup, ToCrLf(LayerBackupText("Layer Test", OwnExe(), earlier.functions.items))));

  HWND edit = TypingTarget();
  const int id = AddSimKeypad(sim_, 1, 0x10);
  ASSERT_TRUE(StartProgram());
  const std::string script = TypeFile(0x10, "Script_1.oxs");
  const std::string built = TypeFile(0x10, "Script_1_backup.oxs");
  ASSERT_TRUE(WaitUntil([&] { return FileExists(built); }, 20000)) << "no build";

  // The programming switch: byte 4's 0x10.
  const std::uint8_t on[9] = {0, 0, 0, 0, 0x10, 0, 0, 1, 0};
  VhxSimQueueInput(sim_, id, on, 9);
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  const auto dialog = [&] {
    PostMessageA(window, WM_COMMAND, IDM_PW_ADD_PROGRAM_LAYER, 0);
    return WaitForProcessWindow(program_.Id(), "Add Program Layer", 10000);
  };

  // The dialog lists the peer; chosen and OK, it is a layer of the script.
  HWND add = dialog();
  ASSERT_TRUE(add);
  HWND list = FindChildById(add, IDC_RUNNING_PROGRAMS);
  const LRESULT peer = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("plain peer"));
  ASSERT_GE(peer, 0);
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(peer), 0);
  SendMessageA(add, WM_COMMAND, MAKEWPARAM(IDC_RUNNING_PROGRAMS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(WindowText(FindChildById(add, IDC_CHOSEN_PROGRAM)), "plain peer");
  ClickButton(FindChildById(add, IDOK));
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(script).find("//ORVX:Layer plain peer,plain peer.exe") != std::string::npos; }, 10000))
      << ReadFileOr(script);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(add); }, 5000));

  // Recover Layer brings back this test's layer with its macro.
  add = dialog();
  ASSERT_TRUE(add);
  ClickButton(FindChildById(add, IDC_RECOVER_LAYER));
  const HWND files = WaitForProcessWindow(program_.Id(), "Save Orvane Script", 10000);
  ASSERT_TRUE(files);
  const HWND name = FileDialogNameBox(files);
  ASSERT_TRUE(name);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(backup.c_str()));
  PostMessageA(files, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(script).find("void KeyDown_0_Green_Layer_Test()") != std::string::npos; }, 10000))
      << ReadFileOr(script);
  EXPECT_NE(ReadFileOr(script).find("//ORVX:Layer Layer Test," + OwnExe()), std::string::npos);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(add); }, 5000));

  // Remove Layer of the first layer, the peer's, after the question.
  PostMessageA(window, WM_COMMAND, IDM_PW_FIRST_REMOVE_LAYER, 0);
  const HWND question = WaitForProcessWindow(program_.Id(), "Remove Layer", 10000);
  ASSERT_TRUE(question);
  ClickButton(FindChildById(question, IDYES));
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(script).find("plain peer") == std::string::npos; }, 10000))
      << ReadFileOr(script);
  EXPECT_EQ(WindowText(window), "Qpad 12 ID:1");

  // The switch goes off: the window closes and the keypad is built from the new script.
  ASSERT_TRUE(DeleteFileA(built.c_str()));
  const std::uint8_t off[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
  VhxSimQueueInput(sim_, id, off, 9);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(built); }, 20000)) << "no rebuild";

  EXPECT_TRUE(KeyTypes(id, window_, edit, "own layer")) << WindowText(edit);
  EXPECT_TRUE(KeyTypes(id, GetParent(plainEdit), plainEdit, "default")) << WindowText(plainEdit);
}

}  // namespace
