// The debugger in the real window on this thread: F9 sets a breakpoint in the margin, a call
// stops there inside the window's nested loop, the variable view's value is edited in the list,
// and F5 runs the call on. What the user does while the call is stopped comes from a timer.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "platform/base/memory_file_access.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/list_view.h"
#include "platform/wingui/message_pump.h"
#include "runtime/preprocessor/script_preprocessor.h"
#include "runtime/preprocessor/text_streams.h"
#include "tests/support/win_test.h"
#include "tests/ui/script_editor/editor_test_support.h"
#include "ui/debugger/debugger_window.h"
#include "ui/script_editor/script_editor_resources.h"

namespace {

const std::string kBase = "C:\\Dev";
const std::string kScript = kBase + "\\Script_1.oxs";

RunControl* control = nullptr;
int Callback(asCDebugScriptEngine* engine, asCDebugContext* context, const char* name) {
  return control->BuildCallback(engine, context, name);
}

void Pump(unsigned ms = 50) {
  const DWORD end = GetTickCount() + ms;
  do {
    wingui::MessagePump::ForThisThread().PumpPending();
    Sleep(1);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

void PostKey(HWND to, UINT key) {
  PostMessageA(to, WM_KEYDOWN, key, 1 | (MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16));
  PostMessageA(to, WM_KEYUP, key, 1 | (MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16) | 0xC0000000);
}

class DebuggerWindow : public ::testing::Test {
 public:
  void SetUp() override {
    files_.Put(kScript, "int g = 5;\r\nvoid Main() {\r\n  int a = 2;\r\n  g = g + a;\r\n}\r\n");
    engine_ = MakeTestEngine(Callback);
    window_ = std::make_unique<ScriptEditorWindow>(calls_, files_, [](const std::string& m) {
      return std::optional<ModuleScriptFile>(ModuleScriptFile{kScript, {m, kBase, {}, kScript}});
    });
    ASSERT_TRUE(window_->Create());
    view_ = std::make_unique<WindowDebuggerView>(*window_);
    control_ = std::make_unique<RunControl>(calls_, window_->Controller(), *view_);
    view_->Attach(*control_);
    control = control_.get();
    // As a device build does: the file's text, preprocessed, as the module's one section.
    PreprocessorSetup setup;
    setup.files = &files_;
    setup.rootFile = kScript;
    BufferOutputStream built;
    NullOutputStream dropped;
    PreprocessScriptFile("Mod", *files_.Get(kScript), engine_->Library(), kBase, built, dropped,
                         nullptr, setup);
    engine_->AddScriptSection("Mod", "QpadHandler", built.CStr(), built.Size());
    ASSERT_EQ(engine_->Build("Mod"), 0);
    window_->Controller().Reveal();
    Pump(100);
  }
  void TearDown() override {
    window_->Controller().SetEngine(nullptr);
    control_->ForgetEngine();
    view_.reset();
    control_.reset();
    window_.reset();
    engine_.reset();
  }
  int Global(const char* name) {
    asIScriptModule* m = engine_->LibraryModule(engine_->FindModule("Mod"));
    return *static_cast<int*>(m->GetAddressOfGlobalVar(m->GetGlobalVarIndexByName(name)));
  }

  SystemCalls calls_;  // the platform's own
  MemoryFileAccess files_;
  std::unique_ptr<asCDebugScriptEngine> engine_;
  std::unique_ptr<ScriptEditorWindow> window_;
  std::unique_ptr<WindowDebuggerView> view_;
  std::unique_ptr<RunControl> control_;
};

DebuggerWindow* running = nullptr;
std::string stoppedList;

void CALLBACK WhileStopped(HWND, UINT, UINT_PTR timer, DWORD) {
  if (control->State() != RunState::Stopped) return;
  KillTimer(nullptr, timer);
  ScriptEditorWindow& w = *running->window_;
  const wingui::ListView list(w.ListControl());
  for (int r = 0; r < list.RowCount(); ++r) stoppedList += list.Cell(r, 2) + "=" + list.Cell(r, 0) + ";";
  testsupport::SavePicture(w.hwnd(), "debugger_stopped_at_breakpoint");
  // The value of g, typed into its row.
  int row = -1;
  for (int r = 0; r < list.RowCount(); ++r)
    if (list.Cell(r, 2) == "g") row = r;
  SetFocus(w.ListControl());
  HWND edit = reinterpret_cast<HWND>(SendMessageA(w.ListControl(), LVM_EDITLABELA, row, 0));
  if (edit) {
    SetWindowTextA(edit, "40");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  }
  stoppedList += "edited:" + list.Cell(row, 0);
  // F5 from the script text.
  SetFocus(w.EditControl());
  PostKey(w.EditControl(), VK_F5);
}

TEST_F(DebuggerWindow, F9MarksALineACallStopsThereItsValueIsEditedAndF5RunsOn) {
  HWND edit = window_->EditControl();
  SetFocus(edit);
  const LRESULT lineStart = SendMessageA(edit, EM_LINEINDEX, 3, 0);  // "  g = g + a;"
  SendMessageA(edit, EM_SETSEL, lineStart, lineStart);
  PostKey(edit, VK_F9);
  Pump(100);
  ASSERT_EQ(window_->Controller().Margin().Breakpoints().size(), 1u);
  EXPECT_EQ(MarginMarks::LineOf(window_->Controller().Margin().Breakpoints()[0]), 3);
  testsupport::SavePicture(window_->hwnd(), "debugger_breakpoint_set");

  running = this;
  SetTimer(nullptr, 0, 50, WhileStopped);
  auto context = engine_->CreateContext();
  asIScriptFunction* main = engine_->LibraryModule(engine_->FindModule("Mod"))->GetFunctionByDecl("void Main()");
  ASSERT_EQ(context->Prepare(main), 0);
  EXPECT_EQ(context->Execute(), asEXECUTION_FINISHED);
  EXPECT_NE(stoppedList.find("g=5;"), std::string::npos) << stoppedList;
  EXPECT_NE(stoppedList.find("a=2;"), std::string::npos) << stoppedList;
  EXPECT_NE(stoppedList.find("Current Module=Mod;"), std::string::npos) << stoppedList;
  EXPECT_NE(stoppedList.find("edited:40"), std::string::npos) << stoppedList;
  EXPECT_EQ(Global("g"), 42);
  context.reset();
}

}  // namespace
