#pragma once
// The "Macro Input" editor's window over a stand-in programming window (its user data the
// context, as the programming window's is), with a keystroke recorder of the test's under it.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <memory>
#include <string>
#include <utility>

#include "macros/custom_key_windows.h"
#include "macros/keystroke_recorder.h"
#include "macros/keystroke_recorder_window.h"
#include "macros/macro_editor.h"
#include "macros/macro_editor_ids.h"
#include "macros/macro_editor_window.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/rich_edit.h"
#include "tests/macros/macro_editor_fixture.h"
#include "tests/support/win_test.h"

namespace testsupport {

class RecorderEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    recorder_ = std::make_unique<KeystrokeRecorder>(Platform(), boxes_);
    editors_ = std::make_unique<MacroEditors>(Platform(), *recorder_, noPlugins_);
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
    ASSERT_TRUE(editors_->RegisterEditorClass());
  }
  void TearDown() override {
    if (MacroEditorWindow* open = editors_->Current()) DestroyWindow(open->hwnd());
    if (keypad_) DestroyWindow(keypad_);
    // Before the platform's calls of a test that has its own go.
    editors_.reset();
    recorder_.reset();
  }
  // The calls the recorder and the editors are given.
  virtual SystemCalls& Platform() { return platform_; }
  KeystrokeRecorder& Recorder() { return *recorder_; }

  // The editor of a key by id, or null.
  HWND Open(int key) {
    editors_->Toggle(pad_.context, FindKeyIndex(pad_.context.keys, key));
    PumpMessages(50);
    MacroEditorWindow* open = editors_->Current();
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

  SystemCalls platform_;
  MacroEditorBoxes boxes_;
  CustomKeyWindows noPlugins_;
  std::unique_ptr<KeystrokeRecorder> recorder_;
  std::unique_ptr<MacroEditors> editors_;
  EditorKeypad pad_;
  HWND keypad_ = nullptr;
};

}  // namespace testsupport
