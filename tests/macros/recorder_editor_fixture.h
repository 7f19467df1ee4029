#pragma once
// The "Macro Input" editor's window over a stand-in programming window (its user data the
// context, as the programming window's is), with the program's keystroke recorder under it.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <string>
#include <utility>

#include "macros/keystroke_recorder_window.h"
#include "macros/macro_editor.h"
#include "macros/macro_editor_ids.h"
#include "macros/macro_editor_window.h"
#include "macros/macro_recorder_hooks.h"
#include "platform/wingui/rich_edit.h"
#include "tests/macros/macro_editor_fixture.h"
#include "tests/support/win_test.h"

namespace testsupport {

class RecorderEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallKeystrokeRecorder();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RecorderEditorKeypad";
    RegisterClassA(&wc);
    keypad_ = CreateWindowExA(0, wc.lpszClassName, "Keypad", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 300, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(keypad_, nullptr);
    SetWindowLongPtrA(keypad_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pad_.context));
    pad_.device.window = keypad_;
    ASSERT_TRUE(RegisterMacroEditorClass());
  }
  void TearDown() override {
    if (MacroEditorWindow* open = MacroEditorWindow::Current()) DestroyWindow(open->hwnd());
    if (keypad_) DestroyWindow(keypad_);
    SetMacroRecorderHooks({});
  }

  // The editor of a key by id, or null.
  HWND Open(int key) {
    ToggleMacroEditor(pad_.context, FindKeyIndex(pad_.context.keys, key));
    PumpMessages(50);
    MacroEditorWindow* open = MacroEditorWindow::Current();
    return open ? open->hwnd() : nullptr;
  }
  static HWND Box(HWND editor) { return GetDlgItem(editor, IDC_MACRO_KEY_DOWN); }
  static std::wstring Text(HWND editor) { return wingui::RichEdit(Box(editor)).TextWide(); }
  static std::pair<int, int> Selection(HWND editor) {
    CHARRANGE range{};
    SendMessageA(Box(editor), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return {static_cast<int>(range.cpMin), static_cast<int>(range.cpMax)};
  }
  static void Select(HWND editor, int start, int end) {
    CHARRANGE range{start, end};
    SendMessageA(Box(editor), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  }

  EditorKeypad pad_;
  HWND keypad_ = nullptr;
};

}  // namespace testsupport
