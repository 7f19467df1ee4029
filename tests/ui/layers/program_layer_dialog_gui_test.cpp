// The "Add Program Layer" dialog with real messages: its list of running programs and its
// finder tool dragged over a window of another program and over one of its own, then OK.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "macros/model/macro_context.h"
#include "platform/base/memory_file_access.h"
#include "platform/wingui/controls.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"
#include "tests/ui/layers/layer_test_support.h"
#include "ui/layers/program_layer_dialog.h"
#include "ui/layers/program_layer_ids.h"
#include "ui/layers/program_layers.h"

using namespace testsupport;

namespace {

class ProgramLayerDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Topmost, as the peers are: windows of tests running beside this one must not cover them.
    owner_ = CreateWindowExA(WS_EX_TOPMOST, "#32770", "Programming Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                             10, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
    host_.window = owner_;
    host_.script = "C:\\Device\\Script_1.oxs";
    c_.files = &files_;
    layers_ = std::make_unique<ProgramLayers>(calls_, c_, host_);
  }
  void TearDown() override {
    for (HWND peer : peers_)
      if (IsWindow(peer)) PostMessageA(peer, WM_CLOSE, 0, 0);
    DestroyWindow(owner_);
  }

  HWND StartPeer(const std::wstring& exeName, const char* title, int x, int y) {
    HWND peer = StartLayerPeer(dir_.path(), exeName, title, x, y);
    peers_.push_back(peer);
    return peer;
  }

  std::vector<std::string> ListTexts(HWND dialog) {
    const wingui::ComboBox list(dialog, IDC_RUNNING_PROGRAMS);
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i) texts.push_back(list.ItemText(i));
    return texts;
  }

  // The client point of the dialog whose finder point lies at the screen point.
  static LPARAM FinderAt(const ProgramLayerDialog& dialog, POINT screen) {
    POINT origin{0, 0};
    ClientToScreen(dialog.hwnd(), &origin);
    return MAKELPARAM(screen.x - origin.x - 14, screen.y - origin.y - 14);
  }

  ScratchDir dir_{"layerdialog"};
  HWND owner_ = nullptr;
  std::vector<HWND> peers_;
  MemoryFileAccess files_;
  MacroContext c_;
  MenuLayerHost host_;
  std::unique_ptr<ProgramLayers> layers_;
  RecordedSystemCalls calls_;
};

TEST_F(ProgramLayerDialogTest, ListsOtherProgramsAndTheFinderNamesTheWindowUnderIt) {
  const std::wstring noteExe = L"Notes+ Caf\u00e9, v2.exe";
  HWND word = StartPeer(L"WORDPAD.EXE", "Peer Word", 700, 20);
  HWND notes = StartPeer(noteExe, "Peer Notes", 20, 500);
  ASSERT_NE(word, nullptr);
  ASSERT_NE(notes, nullptr);
  const ExeNameTable table{{"wordpad.exe", "Word"}};

  ProgramLayerDialog dialog(*layers_, table);
  ASSERT_TRUE(dialog.CreateModeless(owner_));
  ShowWindow(dialog.hwnd(), SW_SHOW);
  PumpMessages(200);
  const std::vector<std::string> texts = ListTexts(dialog.hwnd());
  const std::string notesText = AnsiLower(L"Notes+ Caf\u00e9, v2");
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Word"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), notesText), texts.end());
  // Windows of this program (the dialog, the "programming window") are not offered.
  EXPECT_EQ(std::find(texts.begin(), texts.end(), "program_layer_dialog_gui_test"), texts.end());
  // The first item is chosen.
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(dialog.Choice().name, texts[0]);
  EXPECT_EQ(WindowText(GetDlgItem(dialog.hwnd(), IDC_CHOSEN_PROGRAM)), texts[0]);
  SavePicture(dialog.hwnd(), "program_layer_dialog");

  // Choosing an item from the list.
  const wingui::ComboBox list(dialog.hwnd(), IDC_RUNNING_PROGRAMS);
  list.Select(list.FindExact(notesText));
  SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_RUNNING_PROGRAMS, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list.hwnd()));
  EXPECT_EQ(dialog.Choice(), (ProgramLayerChoice{notesText, AnsiLower(noteExe)}));

  // The finder: pressed on its icon it is dragged, the icons swap and the mouse is captured.
  HWND tool = GetDlgItem(dialog.hwnd(), IDC_FINDER_TOOL);
  RECT r{};
  GetWindowRect(tool, &r);
  MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  SendMessageA(dialog.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  EXPECT_TRUE(dialog.Dragging());
  EXPECT_FALSE(IsWindowVisible(tool));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog.hwnd(), IDC_FINDER_EMPTY)));
  EXPECT_EQ(GetCapture(), dialog.hwnd());

  RECT wordRect{};
  GetWindowRect(word, &wordRect);
  SendMessageA(dialog.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, FinderAt(dialog, {wordRect.left + 40, wordRect.top + 60}));
  EXPECT_EQ(dialog.Choice(), (ProgramLayerChoice{"Word", "wordpad.exe"}));
  EXPECT_EQ(WindowText(GetDlgItem(dialog.hwnd(), IDC_CHOSEN_PROGRAM)), "Word");
  SavePicture(dialog.hwnd(), "program_layer_dialog_finder");
  // Its edges count.
  SendMessageA(dialog.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, FinderAt(dialog, {wordRect.right, wordRect.bottom}));
  EXPECT_EQ(dialog.Choice().exe, "wordpad.exe");
  // Over a window of this program: no name.
  RECT ownRect{};
  GetWindowRect(owner_, &ownRect);
  SendMessageA(dialog.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, FinderAt(dialog, {ownRect.left + 30, ownRect.top + 60}));
  EXPECT_EQ(dialog.Choice(), (ProgramLayerChoice{}));
  EXPECT_EQ(WindowText(GetDlgItem(dialog.hwnd(), IDC_CHOSEN_PROGRAM)), "");
  RECT notesRect{};
  GetWindowRect(notes, &notesRect);
  SendMessageA(dialog.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, FinderAt(dialog, {notesRect.left + 50, notesRect.top + 50}));
  SendMessageA(dialog.hwnd(), WM_LBUTTONUP, 0, FinderAt(dialog, {notesRect.left + 50, notesRect.top + 50}));
  EXPECT_FALSE(dialog.Dragging());
  EXPECT_TRUE(IsWindowVisible(tool));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog.hwnd(), IDC_FINDER_EMPTY)));
  EXPECT_NE(GetCapture(), dialog.hwnd());
  EXPECT_EQ(dialog.Choice(), (ProgramLayerChoice{notesText, AnsiLower(noteExe)}));

  // OK adds the layer chosen and ends the dialog.
  SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_EQ(c_.layerNames, std::vector<std::string>{notesText});
  EXPECT_EQ(c_.layerPrograms, std::vector<std::string>{AnsiLower(noteExe)});
  EXPECT_NE(files_.Get("C:\\Device\\Script_1.oxs"), nullptr);
}

TEST_F(ProgramLayerDialogTest, AReservedNameKeepsTheDialogOpenAndCancelAddsNothing) {
  ASSERT_NE(StartPeer(L"pnr.exe", "Peer Pnr", 700, 20), nullptr);
  ProgramLayerDialog dialog(*layers_, ExeNameTable{});
  ASSERT_TRUE(dialog.CreateModeless(owner_));
  const wingui::ComboBox list(dialog.hwnd(), IDC_RUNNING_PROGRAMS);
  list.Select(list.FindExact("pnr"));
  SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_RUNNING_PROGRAMS, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list.hwnd()));
  SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(dialog.IsOpen());
  EXPECT_NE(calls_.Events().find("\"Add Program Layer\" \"A program layer cannot be named pnr."), std::string::npos)
      << calls_.Events();
  SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_TRUE(c_.layerNames.empty());
}

}  // namespace
