// The "Macro Input" editor's window driven with real messages: its menu commands, buttons,
// focus, dropped files and closing, over a stand-in programming window whose user data is the
// context, as the programming window's is.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <richedit.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "macros/custom_key_windows.h"
#include "macros/macro_editor.h"
#include "macros/macro_editor_ids.h"
#include "macros/macro_editor_window.h"
#include "macros/macro_recorder.h"
#include "platform/wingui/menu.h"
#include "platform/wingui/rich_edit.h"
#include "tests/macros/macro_editor_fixture.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

// The plug-in windows of the test: each key offered is noted, and taken when asked.
class OfferedKeys : public CustomKeyWindows {
 public:
  bool Offer(void*, int keyId) override {
    offered = keyId;
    return take;
  }
  int offered = -1;
  bool take = false;
};

LRESULT CALLBACK PlainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "EditorTestKeypad";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    keypad_ = CreateWindowExA(WS_EX_ACCEPTFILES, "EditorTestKeypad", "Keypad", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              30, 30, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(keypad_, nullptr);
    SetWindowLongPtrA(keypad_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pad_.context));
    pad_.device.window = keypad_;
    ASSERT_TRUE(editors_.RegisterEditorClass());
  }
  void TearDown() override {
    if (HWND open = Editor()) DestroyWindow(open);
    DestroyWindow(keypad_);
  }

  HWND Editor() {
    MacroEditorWindow* open = editors_.Current();
    return open ? open->hwnd() : nullptr;
  }
  // Opens the editor of a key by id.
  HWND Open(int key) {
    editors_.Toggle(pad_.context, FindKeyIndex(pad_.context.keys, key));
    PumpMessages(50);
    return Editor();
  }
  static void Choose(HWND editor, int id) { SendMessageA(editor, WM_COMMAND, id, 0); }
  static std::wstring Text(HWND editor, int box) { return wingui::RichEdit(GetDlgItem(editor, box)).TextWide(); }
  static wingui::Menu Insert(HWND editor) { return wingui::Menu::OfWindow(editor).SubMenu(MACRO_MENU_INSERT_POSITION); }
  static std::vector<std::string> Captions(const wingui::Menu& menu) {
    std::vector<std::string> out;
    for (int i = 0; i < menu.Count(); ++i) out.push_back(menu.TextAt(i));
    return out;
  }

  SystemCallsRecorder calls_;
  MacroRecorder noRecorder_;
  OfferedKeys plugins_;
  MacroEditors editors_{calls_, noRecorder_, plugins_};
  EditorKeypad pad_;
  HWND keypad_ = nullptr;
};

TEST_F(EditorWindow, OpensOwnedByTheKeypadWithItsMenusAndRecording) {
  pad_.Store(5, KeyEvent::Down, LayerColour::Green, "Pnr",
             {{L"<Left Shift>", L""}, {L"[\u2193]", L"//KeyDown"}, {L"/hello", L""}, {L"<Left Shift>", L""},
              {L"[\u2191]", L"//KeyUp"}, {L"<Return>", L""}});
  const HWND editor = Open(5);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(ClassName(editor), "basicInputClass");
  EXPECT_EQ(WindowText(editor), "Record/Edit Macro");
  EXPECT_EQ(GetWindow(editor, GW_OWNER), keypad_);
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_TRUE(pad_.context.editingEntry);
  EXPECT_FALSE(GetWindowLongA(keypad_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << "drops go to the editor now";
  EXPECT_EQ(pad_.context.blinkPeriod.load(), 250);

  const std::wstring shown = L"<Left Shift>[\u2193]hello<Left Shift>[\u2191]<Return>";
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_DOWN), shown);
  CHARRANGE selected{};
  SendDlgItemMessageA(editor, IDC_MACRO_KEY_DOWN, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selected));
  EXPECT_EQ(selected.cpMin, 0);
  EXPECT_EQ(selected.cpMax, static_cast<LONG>(shown.size())) << "the whole macro selected";
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(editor, IDC_MACRO_KEY_UP)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(editor, IDC_MACRO_KEY_UP_LABEL)));
  // Recording: the Pause/Edit button is up.
  EXPECT_EQ(GetWindowLongPtrA(editor, GWLP_USERDATA), 1);
  EXPECT_FALSE(SendDlgItemMessageA(editor, IDC_MACRO_PAUSE_EDIT, BM_GETSTATE, 0, 0) & BST_PUSHED);

  const wingui::Menu bar = wingui::Menu::OfWindow(editor);
  EXPECT_EQ(Captions(bar), (std::vector<std::string>{"&File", "&Insert", "&Layer", "&Mouse", "Multi&media", "&Help"}));
  const wingui::Menu insert = Insert(editor);
  EXPECT_EQ(Captions(insert), (std::vector<std::string>{"Key Down", "Key Up", "&On Release", "&Select File...",
                                                        "Select &Folder...", "Backlight Toggle", "&Delay",
                                                        "Auto Repeat"}));
  const wingui::Menu repeat = insert.SubMenu(7);
  EXPECT_EQ(Captions(repeat), (std::vector<std::string>{"Insert", "", "Auto Repeat Initial Delay (0.5s)",
                                                        "Auto Repeat Rate (0.05s)"}));
  EXPECT_TRUE(repeat.IsChecked(IDM_MACRO_REPEAT_DELAY_FIRST + 1));  // 0.5 Seconds
  EXPECT_TRUE(repeat.IsChecked(IDM_MACRO_REPEAT_RATE_LAST));        // 20 Per Second
  EXPECT_EQ(insert.SubMenu(6).Count(), 20);
  EXPECT_EQ(insert.SubMenu(6).TextAt(19), "10.0");
  SavePicture(editor, "macro_editor_open");

  // Pause/Edit: the button shows pushed while editing.
  ClickButton(GetDlgItem(editor, IDC_MACRO_PAUSE_EDIT));
  EXPECT_EQ(GetWindowLongPtrA(editor, GWLP_USERDATA), 0);
  EXPECT_TRUE(SendDlgItemMessageA(editor, IDC_MACRO_PAUSE_EDIT, BM_GETSTATE, 0, 0) & BST_PUSHED);
  Choose(editor, IDC_MACRO_PAUSE_EDIT);
  EXPECT_EQ(GetWindowLongPtrA(editor, GWLP_USERDATA), 1);
}

TEST_F(EditorWindow, MenuCommandsAndButtonsBuildTheMacroThatOkStores) {
  const HWND editor = Open(5);
  ASSERT_NE(editor, nullptr);
  Choose(editor, IDM_MACRO_MOUSE_CLICK);
  Choose(editor, IDM_MACRO_DELAY_FIRST + 1);
  Choose(editor, IDM_MACRO_REPEAT_DELAY_FIRST + 3);  // 2 Seconds
  Choose(editor, IDM_MACRO_AUTO_REPEAT);
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_DOWN), L"<Mouse Click>[Delay 1.0][Auto Repeat (2.0:0.05)]");
  const wingui::Menu repeat = Insert(editor).SubMenu(7);
  EXPECT_EQ(repeat.TextAt(2), "Auto Repeat Initial Delay (2.0s)");
  EXPECT_TRUE(repeat.IsChecked(IDM_MACRO_REPEAT_DELAY_FIRST + 3));
  EXPECT_FALSE(repeat.IsChecked(IDM_MACRO_REPEAT_DELAY_FIRST + 1));

  ClickButton(GetDlgItem(editor, IDC_MACRO_CLEAR));
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_DOWN), L"");
  Choose(editor, IDM_MACRO_BACKLIGHT_TOGGLE);
  Choose(editor, IDM_MACRO_MEDIA_PLAY_PAUSE);
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_DOWN), L"[Backlight Toggle]<Play/Pause Media>");

  ClickButton(GetDlgItem(editor, IDOK));
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_FALSE(pad_.context.editingEntry);
  EXPECT_TRUE(GetWindowLongA(keypad_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_EQ(pad_.context.blinkPeriod.load(), 500);
  ASSERT_NE(pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);
  EXPECT_NE(pad_.Script().find("ToggleBacklights();"), std::string::npos);
}

TEST_F(EditorWindow, OnReleaseTheKeyUpBoxAndTheLayerKeysNote) {
  pad_.Store(5, KeyEvent::Up, LayerColour::Green, "Pnr", {{L"<F5>", L""}});
  const HWND editor = Open(5);
  ASSERT_NE(editor, nullptr);
  const HWND up = GetDlgItem(editor, IDC_MACRO_KEY_UP);
  EXPECT_TRUE(IsWindowVisible(up));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(editor, IDC_MACRO_KEY_UP_LABEL)));
  EXPECT_TRUE(Insert(editor).IsChecked(IDM_MACRO_ON_RELEASE));
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_UP), L"<F5>");

  // The focus makes the Key Up box the one that steps go into.
  SetFocus(up);
  Choose(editor, IDM_MACRO_VOLUME_UP);
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_UP), L"<F5><Volume Up>");
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_DOWN), L"");
  SavePicture(editor, "macro_editor_on_release");

  Choose(editor, IDM_MACRO_LAYER_TOGGLE);
  EXPECT_FALSE(IsWindowVisible(up));
  EXPECT_TRUE(wingui::Menu::OfWindow(editor).IsChecked(IDM_MACRO_LAYER_TOGGLE));
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_DOWN), kToggleKeyNote);
  const HWND down = GetDlgItem(editor, IDC_MACRO_KEY_DOWN);
  SendMessageA(down, EM_SETSEL, 0, 1);
  EXPECT_EQ(wingui::RichEdit(down).GetCharFormat().color, RGB(125, 125, 125));
  SavePicture(editor, "macro_editor_toggle_key");

  // Closed from its system menu: nothing is kept.
  SendMessageA(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_EQ(pad_.context.toggleKeys.count(5), 0u);
  EXPECT_EQ(pad_.Script(), "");
}

TEST_F(EditorWindow, AKeyThatItsPlugInTakesOpensNoEditorAndLeavesTheKeypadAsItWas) {
  plugins_.take = true;
  EXPECT_EQ(Open(9), nullptr);
  plugins_.take = false;
  EXPECT_EQ(plugins_.offered, 9);
  EXPECT_FALSE(pad_.context.editingEntry);
  EXPECT_TRUE(GetWindowLongA(keypad_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_NE(Open(9), nullptr) << "the next toggle opens the editor";
}

TEST_F(EditorWindow, ToggleClosesWithOkAndTheProgrammingWindowsEndStoresTheMacro) {
  pad_.device.settings.backlightsAvailable = false;
  HWND editor = Open(9);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(Insert(editor).Text(IDM_MACRO_BACKLIGHT_TOGGLE), "") << "a keypad without backlights";
  Choose(editor, IDM_MACRO_KEY_UP);
  // OK refused: the editor stays, with its box up.
  calls_.SetBoxAnswer(BoxAnswer::Ok);
  editors_.Toggle(pad_.context, 0);
  EXPECT_EQ(Editor(), editor);
  EXPECT_NE(calls_.Events().find("\"Macro Error\""), std::string::npos);
  ClickButton(GetDlgItem(editor, IDC_MACRO_CLEAR));
  Choose(editor, IDM_MACRO_SCROLL_DOWN);
  editors_.Toggle(pad_.context, 0);
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_NE(pad_.Function(9, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);

  // Hidden mode: made but not shown; the keypad's end stores what it holds.
  pad_.context.hiddenMode = true;
  editor = Open(3);
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(IsWindowVisible(editor));
  InsertRecordedStep(GetDlgItem(editor, IDC_MACRO_KEY_DOWN), L"/typed while hidden");
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_DOWN), L"typed while hidden");
  DestroyWindow(keypad_);
  keypad_ = nullptr;
  EXPECT_FALSE(IsWindow(editor));
  ASSERT_NE(pad_.Function(3, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);
  EXPECT_NE(pad_.Script().find("typed while hidden"), std::string::npos);
}

// A drop as the shell makes it: the files' wide names after a DROPFILES header.
HGLOBAL MakeDrop(const std::vector<std::wstring>& files) {
  std::size_t chars = 1;
  for (const std::wstring& f : files) chars += f.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* names = reinterpret_cast<wchar_t*>(header + 1);
  for (const std::wstring& f : files) {
    std::memcpy(names, f.c_str(), (f.size() + 1) * sizeof(wchar_t));
    names += f.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

bool MakeShortcut(const std::wstring& path, const std::wstring& target) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return false;
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(link->SetPath(target.c_str())) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
               SUCCEEDED(file->Save(path.c_str(), TRUE));
  if (file) file->Release();
  link->Release();
  return saved;
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

TEST_F(EditorWindow, DroppedFilesAndShortcutsBecomeOpenSteps) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ScratchDir dir("drops");
  ASSERT_TRUE(WriteTextFile(dir / "notes.txt", "x"));
  ASSERT_TRUE(WriteTextFile(dir / "tool.exe", "x"));
  ASSERT_TRUE(MakeShortcut(Wide(dir / "My Tool.LNK"), Wide(dir / "tool.exe")));
  const HWND editor = Open(5);
  ASSERT_NE(editor, nullptr);
  SendDlgItemMessageA(editor, IDC_MACRO_KEY_DOWN, WM_DROPFILES,
                      reinterpret_cast<WPARAM>(MakeDrop({Wide(dir / "notes.txt"), Wide(dir / "My Tool.LNK")})), 0);
  EXPECT_EQ(Text(editor, IDC_MACRO_KEY_DOWN), L"[Open notes][Open tool.exe]");
  Choose(editor, IDOK);
  const KeyFunction* f = pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr");
  ASSERT_NE(f, nullptr);
  std::string escaped;
  for (char c : dir / "tool.exe") escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  EXPECT_NE(f->body.find("ShellExecute(0,\"Open\",\"" + escaped + "\",\"\",\"\",1);"), std::string::npos) << f->body;
  CoUninitialize();
}

}  // namespace
