// The "AngelScript IDE" window driven with real messages on this thread, through the thread's
// pump as the device thread runs it: keys, splitters, the tree and the message list, and the
// placement kept in the user's registry.
#include "ui/script_editor/script_editor_window.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>

#include "platform/base/memory_file_access.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/list_view.h"
#include "platform/wingui/message_pump.h"
#include "tests/support/win_test.h"
#include "tests/ui/script_editor/editor_test_support.h"
#include "ui/script_editor/script_editor_resources.h"

namespace {

const std::string kBase = "C:\\Dev";
const std::string kScript = kBase + "\\Script_1.oxs";
const std::string kLib = kBase + "\\lib.oxs";

// The user's registry in memory; the rest is the platform's.
class UserRegistry : public SystemCalls {
 public:
  std::optional<RegistryValue> ReadUserValue(const std::string& key, const std::string& name) override {
    auto it = values.find(key + "|" + name);
    return it == values.end() ? std::nullopt : std::optional<RegistryValue>(it->second);
  }
  bool WriteUserValue(const std::string& key, const std::string& name, const RegistryValue& v) override {
    values[key + "|" + name] = v;
    return true;
  }
  int Dword(const std::string& name) {
    const RegistryValue& v = values[std::string(kEditorPlacementKey) + "|" + name];
    return v.bytes.size() == 4 ? v.bytes[0] | v.bytes[1] << 8 | v.bytes[2] << 16 | v.bytes[3] << 24 : -1;
  }
  std::map<std::string, RegistryValue> values;
};

// The thread's pump, as the device thread's waits run it.
void Pump(unsigned ms = 50) {
  const DWORD end = GetTickCount() + ms;
  do {
    wingui::MessagePump::ForThisThread().PumpPending();
    Sleep(1);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// A key as the keyboard would post it, with Ctrl (and Shift) held as the thread sees them.
void PostKey(HWND to, UINT key, bool ctrl = false) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  SetKeyboardState(state);
  PostMessageA(to, WM_KEYDOWN, key, 1 | (MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16));
  Pump();
  PostMessageA(to, WM_KEYUP, key, 1 | (MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16) | 0xC0000000);
  Pump();
  state[VK_CONTROL] = 0;
  SetKeyboardState(state);
}

RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class IdeWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    savedScripts.clear();
    saveAnswer = true;
    files_.Put(kScript, "int a = 1;\r\n#include \"lib.oxs\"\r\nvoid f() {\r\n  a = 2;\r\n}\r\n");
    files_.Put(kLib, "int b = 3;\nint c = ;\n");
    engine_ = MakeTestEngine();
    window_ = std::make_unique<ScriptEditorWindow>(
        registry_, files_, [](const std::string& m) -> std::optional<ModuleScriptFile> {
          if (m != "Mod") return std::nullopt;
          return ModuleScriptFile{kScript, {"Mod", kBase, {}, kScript}};
        });
    ASSERT_TRUE(window_->Create());
    hwnd_ = window_->hwnd();
    window_->Controller().SetEngine(engine_.get());
    engine_->AddScriptSection("Mod", "QpadHandler", "", 0);
    engine_->AddScriptSection("Other", "QpadHandler", "int o;", 6);
    window_->Controller().RebuildModule("Mod");
    window_->PostBuildResult("Mod");
    window_->Controller().Reveal();
    Pump(100);
  }
  void TearDown() override {
    window_.reset();
    engine_.reset();
  }

  std::string EditText() { return testsupport::WindowText(window_->EditControl()); }
  int ErrorRow() {
    const wingui::ListView list(window_->ListControl());
    for (int r = 0; r < list.RowCount(); ++r)
      if (list.Cell(r, 0) == "Error") return r;
    return -1;
  }

  UserRegistry registry_;
  MemoryFileAccess files_;
  std::unique_ptr<asCDebugScriptEngine> engine_;
  std::unique_ptr<ScriptEditorWindow> window_;
  HWND hwnd_ = nullptr;
};

TEST_F(IdeWindow, ShowsTheTextTheTreeAndTheMessagesAndGoesToAMessage) {
  EXPECT_EQ(testsupport::WindowText(hwnd_), "AngelScript IDE");
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  EXPECT_NE(EditText().find("#including_file: \"" + kLib + "\""), std::string::npos);
  EXPECT_NE(GetMenu(hwnd_), nullptr) << "the class's menu";
  const wingui::ListView list(window_->ListControl());
  ASSERT_EQ(list.ColumnCount(), 4);
  const int row = ErrorRow();
  ASSERT_GE(row, 0);
  EXPECT_EQ(list.Cell(row, 2), "QpadHandler");
  testsupport::SavePicture(hwnd_, "script_editor_build_errors");

  // A double click on the message row puts the caret on the line it names.
  ListView_SetItemState(window_->ListControl(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  RECT item{};
  item.left = LVIR_BOUNDS;
  SendMessageA(window_->ListControl(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
  SendMessageA(window_->ListControl(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(window_->ListControl(), WM_LBUTTONUP, 0, at);
  SendMessageA(window_->ListControl(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(window_->ListControl(), WM_LBUTTONUP, 0, at);
  Pump();
  DWORD start = 0;
  SendMessageA(window_->EditControl(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  const int line = static_cast<int>(SendMessageA(window_->EditControl(), EM_LINEFROMCHAR, start, 0));
  EXPECT_EQ(EditorLines(EditText())[line], "int c = ;");
  EXPECT_EQ(window_->Controller().Margin().CurrentLine(), line);
  ASSERT_TRUE(window_->Margin().LineTop(line).has_value()) << "the margin marks the line";
  testsupport::SavePicture(hwnd_, "script_editor_went_to_message");
}

TEST_F(IdeWindow, EnterBreaksTheLineAndTheKeysActOnlyInTheEditorsOwnWindows) {
  HWND edit = window_->EditControl();
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, 0);
  PostKey(edit, VK_RETURN);
  EXPECT_TRUE(EditText().starts_with("\r\nint a = 1;")) << EditText().substr(0, 20);
  EXPECT_TRUE(window_->Controller().Source(window_->Controller().CurrentSource())->editNewer);

  // Ctrl+S in a window of another kind on the same thread is that window's, not a Save.
  HWND other = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE | ES_MULTILINE, 10, 10, 200,
                               100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  PostKey(other, 'S', true);
  EXPECT_TRUE(savedScripts.empty());
  PostKey(edit, 'S', true);
  ASSERT_EQ(savedScripts.size(), 1u);
  EXPECT_TRUE(savedScripts[0].text.starts_with("\r\nint a = 1;"));
  DestroyWindow(other);

  // Ctrl+B builds the section shown (its messages list again).
  ListView_DeleteAllItems(window_->ListControl());
  PostKey(edit, 'B', true);
  Pump();
  EXPECT_GE(ErrorRow(), 0);
}

TEST_F(IdeWindow, TheTreeSelectsASectionAndTheSplittersMove) {
  // Double click on the other module's section.
  HWND tree = window_->TreeControl();
  HTREEITEM root = TreeView_GetRoot(tree);
  HTREEITEM other = nullptr;
  for (HTREEITEM m = TreeView_GetChild(tree, root); m; m = TreeView_GetNextSibling(tree, m)) {
    char text[64] = "";
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = m;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    TreeView_GetItem(tree, &item);
    if (std::string(text) == "Other") other = TreeView_GetChild(tree, m);
  }
  ASSERT_NE(other, nullptr);
  RECT r{};
  TreeView_GetItemRect(tree, other, &r, TRUE);
  const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  TreeView_SelectItem(tree, other);  // as the first click of the double click does
  SendMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  Pump();
  EXPECT_EQ(EditText(), "int o;");

  // The tree's edge, dragged 100 pixels to the left.
  const RECT before = ChildRect(hwnd_, tree);
  const int x = before.left - 1, y = 30;
  SendMessageA(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x - 100, y));
  SendMessageA(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(x - 100, y));
  const RECT after = ChildRect(hwnd_, tree);
  EXPECT_EQ(after.left, x - 100) << "the tree's edge follows the mouse";
  EXPECT_EQ(after.right, before.right);
  // Beyond the limit the drag ends at the last accepted size.
  const RECT list = ChildRect(hwnd_, window_->ListControl());
  SendMessageA(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, list.top - 1));
  SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, list.top - 41));
  SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 5));
  SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, list.top - 81));
  const RECT moved = ChildRect(hwnd_, window_->ListControl());
  EXPECT_EQ(moved.top, list.top - 41);
  EXPECT_EQ(GetCapture(), nullptr);
  testsupport::SavePicture(hwnd_, "script_editor_other_section");
}

TEST_F(IdeWindow, ThePlacementIsKeptAndClosingOnlyHides) {
  // The first window wrote the template's placement into the new key.
  EXPECT_GT(registry_.Dword("WindowDX"), 0);
  const int statusHeight = registry_.Dword("StatusHeight");
  EXPECT_GT(statusHeight, 0);
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(hwnd_));
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  EXPECT_TRUE(window_->Controller().Hidden());

  MoveWindow(hwnd_, 30, 40, 640, 480, TRUE);
  window_.reset();  // destroyed: the placement is written
  EXPECT_EQ(registry_.Dword("WindowX"), 30);
  EXPECT_EQ(registry_.Dword("WindowDY"), 480);
  registry_.values[std::string(kEditorPlacementKey) + "|StatusHeight"] = {4, {77, 0, 0, 0}};
  registry_.values.erase(std::string(kEditorPlacementKey) + "|BrowserWidth");

  ScriptEditorWindow again(registry_, files_, [](const std::string&) { return std::nullopt; });
  ASSERT_TRUE(again.Create());
  RECT r{};
  GetWindowRect(again.hwnd(), &r);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 640);
  EXPECT_EQ(r.bottom - r.top, 480);
  EXPECT_EQ(again.Sizes().statusHeight, 77);
  const RECT list = ChildRect(again.hwnd(), again.ListControl());
  EXPECT_EQ(list.bottom - list.top, 77);
}

}  // namespace
