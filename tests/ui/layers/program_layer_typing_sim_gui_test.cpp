// Program layers in the real Orvane.exe: a key of a simulated keypad types its layer's macro
// while that layer's program is in front, and the default macro while another is. The layers
// are added as the dialog adds them: one for this test's own program, one for a program whose
// name has blanks, a plus sign, a comma and a letter beyond ASCII.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/wingui/menu.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/program_fixture.h"
#include "ui/layers/program_layers.h"
#include "ui/layers/running_programs.h"

using namespace testsupport;

namespace {

// Adds layers to a layout being made, without a window and without writing.
class LayoutHost : public ProgramLayerHost {
 public:
  LayoutHost() {
    layer.get().Append(32897, "Green Layer");
    layer.get().Append(32898, "Red Layer");
    layer.get().Append(34217, "Add Program Layer...");
  }
  HWND Window() override { return nullptr; }
  HMENU LayerMenu() override { return layer.get().handle(); }
  bool HasColourLayers() override { return false; }
  std::string ScriptFileName() override { return ""; }
  std::string TypeFolder() override { return ""; }
  bool MakeFolder(const std::string&) override { return false; }
  void ShowDefaultLayer() override {}
  wingui::OwnedMenu layer = wingui::OwnedMenu::Popup();
};

std::wstring Wide(const std::string& text) {
  wchar_t out[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out, MAX_PATH);
  return out;
}

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
    const std::wstring path = Wide(dir_.path()) + L"\\" + exeName;
    if (!CopyFileW(Wide(EnvOr("ORVANE_BIN") + "\\layer_peer.exe").c_str(), path.c_str(), FALSE)) return nullptr;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = L"\"" + path + L"\" \"" + Wide(title) + L"\" 480 " + std::to_wstring(y) + L" 420 200";
    if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return nullptr;
    CloseHandle(pi.hThread);
    HWND peer = WaitForProcessWindow(pi.dwProcessId, title, 10000);
    CloseHandle(pi.hProcess);
    if (!peer) return nullptr;
    peers_.push_back(peer);
    return FindWindowExA(peer, nullptr, "EDIT", nullptr);
  }
  void Front(HWND window, HWND edit) {
    SetForegroundWindow(window);
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) SetFocus(edit);
    PumpMessages(300);
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
    LayoutHost host;
    ProgramLayers layers(c, host);
    ASSERT_EQ(layers.Add("Layer Test", OwnExe()), LayerRefusal::None);
    ASSERT_EQ(layers.Add(LowerCaseName(notesAnsi), LowerCaseName(notesAnsi)), LayerRefusal::None);
    Program(c, 0, "KeyDown", "Green", "Pnr", {{L"/default", L""}});
    Program(c, 0, "KeyDown", "Green", "Layer Test", {{L"/own layer", L""}});
    Program(c, 0, "KeyDown", "Green", c.layerNames[1].c_str(), {{L"/notes layer", L""}});
  }));

  HWND edit = TypingTarget();
  const int id = AddSimKeypad(sim_, 1, 0x10);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(0x10, "Script_1_backup.oxs")); }, 20000))
      << "the generated script did not build";

  Front(window_, edit);
  Press(id, 1, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "own layer"; }, 5000)) << WindowText(edit);

  Front(GetParent(plainEdit), plainEdit);
  Press(id, 1, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(plainEdit) == "default"; }, 5000)) << WindowText(plainEdit);

  Front(GetParent(notesEdit), notesEdit);
  Press(id, 1, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(notesEdit) == "notes layer"; }, 5000)) << WindowText(notesEdit);

  Front(window_, edit);
  Press(id, 1, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "own layerown layer"; }, 5000)) << WindowText(edit);
  EXPECT_EQ(WindowText(plainEdit), "default");
  EXPECT_EQ(WindowText(notesEdit), "notes layer");
}

}  // namespace
