// The run control against the real engine: builds and calls come through the build callback,
// and the user's answers come from a list of steps that the waits of the debugger take in turn.
#include "ui/debugger/run_control.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>

#include "platform/base/memory_file_access.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"
#include "runtime/preprocessor/script_preprocessor.h"
#include "runtime/preprocessor/text_streams.h"
#include "tests/support/scratch_dir.h"
#include "tests/ui/debugger/allocation_count.h"
#include "tests/ui/script_editor/editor_test_support.h"
#include "ui/script_editor/script_editor_resources.h"

namespace {

const std::string kBase = "C:\\Dev";
const std::string kScript = kBase + "\\Script_1.oxs";
const std::string kLib = kBase + "\\lib.oxs";

constexpr char kRoot[] =
    "int g = 5;\r\n"
    "const int limit = 3;\r\n"
    "uint8[] bytes;\r\n"
    "int8[] signedBytes;\r\n"
    "string note = \"n\";\r\n"
    "#include \"lib.oxs\"\r\n"
    "void Main() {\r\n"
    "  bytes.resize(2); bytes[1] = 255; signedBytes.resize(1); signedBytes[0] = -1;\r\n"
    "  int a = 1;\r\n"
    "  a = Twice(a);\r\n"
    "  g = g + a;\r\n"
    "  string late = \"x\";\r\n"
    "}\r\n";
constexpr char kLibText[] = "int Twice(int x) {\n  int y = x * 2;\n  return y;\n}\n";

// What the user does while the debugger waits: each wait takes steps until it is answered.
class ScriptedView : public DebuggerView {
 public:
  bool RunMessagesUntil(const std::function<bool()>& done) override {
    ++waits;
    while (!done()) {
      if (steps.empty()) return false;  // nobody answers: as when the program ends
      auto step = std::move(steps.front());
      steps.pop_front();
      step();
    }
    return true;
  }
  void ShowVariables(const std::vector<VariableRow>& rows) override { variables = rows; }
  int CaretLine() override { return caret; }

  std::deque<std::function<void()>> steps;
  int waits = 0;
  int caret = -1;
  std::vector<VariableRow> variables;
};

class AnsweringCalls : public SystemCalls {
 public:
  BoxAnswer ShowMessageBox(void*, const char* text, const char* caption, BoxButtons, BoxIcon, BoxFlag) override {
    asked.push_back(std::string(caption) + ": " + text);
    if (answers.empty()) return BoxAnswer::No;
    const BoxAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  std::optional<std::string> ChooseFileToOpen(const OpenFileQuestion&) override { return chosen; }
  std::deque<BoxAnswer> answers;
  std::vector<std::string> asked;
  std::optional<std::string> chosen;
};

RunControl* current = nullptr;
int Callback(asCDebugScriptEngine* engine, asCDebugContext* context, const char* name) {
  return current->BuildCallback(engine, context, name);
}

class Debugger : public ::testing::Test {
 protected:
  void SetUp() override {
    current = &control_;
    files_.Put(kScript, kRoot);
    files_.Put(kLib, kLibText);
    engine_ = MakeTestEngine(Callback);
    context_ = engine_->CreateContext();
    editor_.SetSharedContextSource([this] { return context_.get(); });
  }
  void TearDown() override {
    context_.reset();
    editor_.SetEngine(nullptr);
    control_.ForgetEngine();
    engine_.reset();
  }

  // As a device build does: the module's file preprocessed, as one section ("Other": a text).
  int Build(const std::string& module = "Mod") {
    engine_->Discard(module.c_str());
    std::string text = "int o;";
    if (module == "Mod") {
      PreprocessorSetup setup;
      setup.files = &files_;
      setup.rootFile = kScript;
      BufferOutputStream out;
      NullOutputStream dropped;
      PreprocessScriptFile(module, *files_.Get(kScript), engine_->Library(), kBase, out, dropped,
                           nullptr, setup);
      text = out.Take();
    }
    engine_->AddScriptSection(module.c_str(), "QpadHandler", text.data(), text.size());
    return engine_->Build(module.c_str());
  }
  int CallMain() {
    asIScriptFunction* main = engine_->LibraryModule(engine_->FindModule("Mod"))->GetFunctionByDecl("void Main()");
    if (!main || context_->Prepare(main) < 0) return -1;
    return context_->Execute();
  }
  int Global(const char* name) {
    asIScriptModule* m = engine_->LibraryModule(engine_->FindModule("Mod"));
    return *static_cast<int*>(m->GetAddressOfGlobalVar(m->GetGlobalVarIndexByName(name)));
  }
  // The editor's line that holds text.
  int LineOf(const std::string& text) {
    const std::vector<std::string> lines = EditorLines(editorView_.text);
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
    ADD_FAILURE() << "no line " << text;
    return -1;
  }
  void BreakAt(const std::string& text) {
    editor_.Margin().AddBreakpoint(MarginMarks::LineId(editor_.CurrentSource(), LineOf(text)));
  }
  std::string StoppedAt() {
    if (editorView_.wentTo.empty()) return "";
    return EditorLines(editorView_.text)[editorView_.wentTo.back().first];
  }
  const VariableRow* Variable(const std::string& name) {
    for (const VariableRow& r : view_.variables)
      if (r.name == name) return &r;
    return nullptr;
  }
  int RowOf(const std::string& name) {
    for (std::size_t i = 0; i < control_.Variables().size(); ++i)
      if (control_.Variables()[i].name == name) return static_cast<int>(i);
    return -1;
  }

  AnsweringCalls calls_;
  MemoryFileAccess files_;
  RecordingView editorView_;
  ScriptedView view_;
  ScriptEditorController editor_{calls_, editorView_, files_,
                                 [](const std::string& m) -> std::optional<ModuleScriptFile> {
                                   if (m != "Mod") return std::nullopt;
                                   return ModuleScriptFile{kScript, {"Mod", kBase, {}, kScript}};
                                 }};
  RunControl control_{calls_, editor_, view_};
  std::unique_ptr<asCDebugScriptEngine> engine_;
  std::unique_ptr<asCDebugContext> context_;
};

TEST_F(Debugger, ABuildWithoutErrorsNeitherWaitsNorShowsTheEditor) {
  EXPECT_EQ(Build(), 0);
  EXPECT_EQ(control_.State(), RunState::Waiting);
  EXPECT_TRUE(editor_.Hidden());
  EXPECT_FALSE(editorView_.visible) << "no window at the program's start";
  EXPECT_EQ(view_.waits, 0);
  EXPECT_TRUE(calls_.asked.empty());
  // A call while the editor is hidden runs straight through, breakpoints or not.
  BreakAt("g = g + a;");
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(Global("g"), 7);
  EXPECT_EQ(view_.waits, 0);
}

TEST_F(Debugger, ACallWhileTheEditorIsHiddenAllocatesNothing) {
  // A device's module: its name is too long for a string to hold without the heap.
  const std::string device = "Vid0a7cPid0040v0000Uid0001";
  constexpr char kText[] = "int Twice(int x) { return x * 2; }";
  engine_->AddScriptSection(device.c_str(), "QpadHandler", kText, sizeof kText - 1);
  ASSERT_EQ(engine_->Build(device.c_str()), 0);
  asIScriptFunction* twice =
      engine_->LibraryModule(engine_->FindModule(device.c_str()))->GetFunctionByDecl("int Twice(int)");
  ASSERT_NE(twice, nullptr);
  auto press = [&] {
    context_->Prepare(twice);
    context_->SetArgDWord(0, 4);
    return context_->Execute();
  };
  ASSERT_EQ(press(), asEXECUTION_FINISHED);  // the first call makes what later ones reuse
  const long before = AllocationCount();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(press(), asEXECUTION_FINISHED);
  EXPECT_EQ(AllocationCount() - before, 0);
  EXPECT_EQ(context_->Library()->GetReturnDWord(), 8u);
}

TEST_F(Debugger, AFailedBuildAsksAndEveryAnswerReturns) {
  files_.Put(kLib, "int Twice(int x) { return nosuch; }\n");
  calls_.answers = {BoxAnswer::Yes};
  EXPECT_EQ(Build(), RunControl::kRestoreBackup);
  ASSERT_EQ(calls_.asked.size(), 1u);
  EXPECT_EQ(calls_.asked[0],
            "AngelScript Build Error: This script file has been corrupted. Would you like to load the "
            "last known working script?");

  calls_.answers = {BoxAnswer::No, BoxAnswer::No};
  const int errors = Build();
  EXPECT_GT(errors, 0);
  EXPECT_NE(errors, RunControl::kRestoreBackup);
  EXPECT_EQ(calls_.asked.back(), "AngelScript Build Error: Would you like to edit the script?");
  EXPECT_EQ(view_.waits, 0) << "No and No never waits for a window nobody sees";
  EXPECT_TRUE(editor_.Hidden());

  calls_.answers = {BoxAnswer::No, BoxAnswer::Yes};
  EXPECT_EQ(Build(), errors);
  EXPECT_FALSE(editor_.Hidden());
  EXPECT_TRUE(editorView_.visible);
  bool listed = false;
  for (const MessageRow& r : editorView_.messages) listed = listed || r.message.find("nosuch") != std::string::npos;
  EXPECT_TRUE(listed);
}

TEST_F(Debugger, ADeviceBuildTakesTheFileAndLeavesUnsavedEditsToTheEditorsBuild) {
  ASSERT_EQ(Build(), 0);
  editor_.Reveal();
  std::string text = editorView_.text;
  text.replace(text.find("int g = 5;"), 10, "int g = 50;");
  editorView_.Type(editor_, text);

  EXPECT_EQ(Build(), 0);  // the device thread builds the module again
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(Global("g"), 7) << "built from the file, not from the text typed";
  EXPECT_EQ(editorView_.text, text) << "the typed text stays";
  EXPECT_TRUE(editor_.Source(editor_.CurrentSource())->unsaved);
  EXPECT_FALSE(editor_.Built()) << "the editor's Build still has the edits to build";

  // A failed device build lists its errors at the lines of the file, not of the edits.
  files_.Put(kLib, "int Twice(int x) {\n  return nosuch;\n}\n");
  calls_.answers = {BoxAnswer::No, BoxAnswer::No};
  EXPECT_GT(Build(), 0);
  const MessageRow* error = nullptr;
  for (const MessageRow& r : editorView_.messages)
    if (!error && r.severity == "Error") error = &r;
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(std::stoi(error->position) - 1, LineOf("  int y = x * 2;"))
      << "the include's second line, where the file has the error";
  EXPECT_EQ(editorView_.text, text);

  files_.Put(kLib, kLibText);
  control_.Command(IDM_SCRIPT_BUILD);
  EXPECT_EQ(editor_.ErrorCount(), 0);
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(Global("g"), 52) << "the editor's Build takes the typed text";
}

TEST_F(Debugger, AnIncludeOfTheScriptItselfIsACycleInTheEditorsBuildAsInTheDevicesBuild) {
  files_.Put(kLib, std::string(kLibText) + "#include \"Script_1.oxs\"\n");
  editor_.Reveal();
  ASSERT_EQ(Build(), 0);
  const std::string& text = editorView_.text;
  EXPECT_EQ(text.find("int g = 5;"), text.rfind("int g = 5;")) << "no second copy of the script";
  const std::vector<MessageRow> deviceRows = editorView_.messages;
  ASSERT_FALSE(deviceRows.empty());

  editorView_.Type(editor_, editorView_.text);
  control_.Command(IDM_SCRIPT_BUILD);
  EXPECT_EQ(editor_.ErrorCount(), 0);
  EXPECT_EQ(editorView_.messages, deviceRows) << "the same messages as the device's build";
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(Global("g"), 7);
}

TEST_F(Debugger, ABreakpointStopsTheCallAVariableIsChangedAndTheCallRunsOn) {
  ASSERT_EQ(Build(), 0);
  editor_.Reveal();
  BreakAt("g = g + a;");
  view_.steps = {
      [&] {
        EXPECT_EQ(control_.State(), RunState::Stopped);
        EXPECT_EQ(StoppedAt(), "  g = g + a;");
        ASSERT_NE(Variable("g"), nullptr);
        EXPECT_EQ(Variable("g")->value, "5");
        EXPECT_EQ(Variable("g")->type, "int");
        EXPECT_EQ(Variable("limit"), nullptr) << "constants are not listed";
        ASSERT_NE(Variable("bytes"), nullptr);
        EXPECT_EQ(Variable("bytes")->value, "0,255") << "bytes are unsigned";
        EXPECT_EQ(Variable("signedBytes")->value, "-1");
        EXPECT_EQ(Variable("note")->value, "\"n\"");
        ASSERT_NE(Variable("a"), nullptr);
        EXPECT_EQ(Variable("a")->value, "2");
        EXPECT_EQ(Variable("late"), nullptr) << "a local not yet declared is not read";
        EXPECT_EQ(control_.Variables().back().name, "Current Module");
        EXPECT_EQ(control_.Variables().back().value, "Mod");
        std::string shown;
        EXPECT_TRUE(control_.EditVariableRow(RowOf("g"), "40", shown));
        EXPECT_EQ(shown, "40");
        EXPECT_FALSE(control_.EditVariableRow(RowOf("note"), "x", shown));
        control_.Command(IDM_SCRIPT_STEP_OVER);
      },
      [&] {
        EXPECT_EQ(StoppedAt(), "  string late = \"x\";");
        control_.Command(IDM_SCRIPT_RUN);
      },
  };
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(Global("g"), 42);
  EXPECT_TRUE(view_.steps.empty());
  EXPECT_EQ(control_.State(), RunState::Running);
}

TEST_F(Debugger, StepInGoesIntoTheCalledFunctionAndStepOutBack) {
  ASSERT_EQ(Build(), 0);
  editor_.Reveal();
  BreakAt("a = Twice(a);");
  std::vector<std::string> stops;
  view_.steps = {
      [&] {
        stops.push_back(StoppedAt());
        control_.Command(IDM_SCRIPT_STEP_IN);
      },
      [&] {
        stops.push_back(StoppedAt());
        EXPECT_NE(Variable("x"), nullptr);
        control_.Command(IDM_SCRIPT_STEP_OUT);
      },
      [&] {
        stops.push_back(StoppedAt());
        control_.Command(IDM_SCRIPT_RUN);
      },
  };
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(stops, (std::vector<std::string>{"  a = Twice(a);", "  int y = x * 2;", "  g = g + a;"}));
}

TEST_F(Debugger, ClosingTheEditorWhileStoppedLetsTheCallFinishWithoutStops) {
  ASSERT_EQ(Build(), 0);
  editor_.Reveal();
  BreakAt("int a = 1;");
  BreakAt("g = g + a;");
  view_.steps = {[&] {
    editor_.SetHidden(true);  // as the window's close box does
    control_.OnEditorClosed();
  }};
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(view_.waits, 1);
  EXPECT_EQ(Global("g"), 7);
}

TEST_F(Debugger, TheProgramEndingWhileStoppedEndsTheWait) {
  ASSERT_EQ(Build(), 0);
  editor_.Reveal();
  BreakAt("int a = 1;");
  BreakAt("g = g + a;");
  // No steps: the wait ends as it does when the program exits.
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(view_.waits, 1);
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(view_.waits, 1);
}

TEST_F(Debugger, ANestedBuildLeavesTheStoppedCallAsItWas) {
  // A script of a device type opened from a file while the call is stopped: its build and
  // its init function come while the shared context holds the stopped call.
  testsupport::ScratchDir dir{"nestedopen"};
  FreeDeviceFolders();
  SetDataRootFromHost("");
  InitProgramFolders("\"" + dir.path() + "\\Orvane.exe\"");
  ASSERT_TRUE(testsupport::MakeDirs(dir / "QpadDevices\\Vid0a7cPid0040"));
  ASSERT_TRUE(testsupport::WriteTextFile(dir / "QpadDevices\\Vid0a7cPid0040\\ReportConfig.txt",
                                         "input void KeyDown(uint8 s)\nscanCodeDown 2 3\n"));
  const std::string opened = kBase + "\\Opened.oxs";
  files_.Put(opened, "uint16 QpadDeviceID = 0x40;\r\nint ran = 0;\r\nvoid QpadInit() {\r\n  ran = 1;\r\n}\r\n");
  calls_.chosen = opened;
  auto ranInOpened = [&] {
    asIScriptModule* m = engine_->LibraryModule(engine_->FindModule(opened.c_str()));
    return m ? *static_cast<int*>(m->GetAddressOfGlobalVar(m->GetGlobalVarIndexByName("ran"))) : -1;
  };

  ASSERT_EQ(Build(), 0);
  editor_.Reveal();
  BreakAt("g = g + a;");
  const int mainId =
      engine_->LibraryModule(engine_->FindModule("Mod"))->GetFunctionByDecl("void Main()")->GetId();
  view_.steps = {
      [&] {
        EXPECT_EQ(Build("Other"), 0);
        EXPECT_EQ(control_.Nesting(), 1);
        asIScriptFunction* twice =
            engine_->LibraryModule(engine_->FindModule("Mod"))->GetFunctionByDecl("int Twice(int)");
        EXPECT_EQ(context_->Prepare(twice), asCONTEXT_ACTIVE);
        EXPECT_EQ(context_->PreparedFunctionId(), mainId) << "a refused Prepare records nothing";
        editor_.OpenScriptFile();
        EXPECT_EQ(ranInOpened(), 1) << "the opened script's init ran beside the stopped call";
        EXPECT_EQ(context_->PreparedFunctionId(), mainId);
        EXPECT_EQ(control_.Nesting(), 1);
      },
      [&] {
        EXPECT_EQ(control_.State(), RunState::Stopped) << "the nested build did not end the stop";
        // Built again while stopped: the call is broken off and replayed, still Main.
        editor_.SelectSection(engine_->FindSection("Mod", "QpadHandler"));
        editorView_.Type(editor_, editorView_.text);
        control_.Command(IDM_SCRIPT_BUILD);
      },
      [&] {
        EXPECT_EQ(editor_.ErrorCount(), 0);
        control_.Command(IDM_SCRIPT_RUN);
      },
      [&] {
        EXPECT_EQ(StoppedAt(), "  g = g + a;") << "the replay is the stopped call";
        control_.Command(IDM_SCRIPT_RUN);
      },
  };
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_TRUE(view_.steps.empty());
  EXPECT_EQ(Global("g"), 7);
  FreeDeviceFolders();
}

TEST_F(Debugger, BuildWhileStoppedBreaksTheCallOffAndRunsTheNewTextAgain) {
  ASSERT_EQ(Build(), 0);
  editor_.Reveal();
  BreakAt("g = g + a;");
  view_.steps = {
      [&] {
        std::string text = editorView_.text;
        text.replace(text.find("g = g + a;"), 10, "g = g + 100;");
        editorView_.Type(editor_, text);
        control_.Command(IDM_SCRIPT_BUILD);
      },
      [&] {
        EXPECT_EQ(control_.State(), RunState::Waiting);
        EXPECT_EQ(editor_.ErrorCount(), 0);
        control_.Command(IDM_SCRIPT_RUN);
      },
      [&] {
        EXPECT_EQ(StoppedAt(), "  g = g + 100;") << "the call runs again from its start";
        control_.Command(IDM_SCRIPT_RUN);
      },
  };
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(Global("g"), 105);
  EXPECT_TRUE(view_.steps.empty());
}

TEST_F(Debugger, CallsThatDoNotStopLeaveWhatTheUserLooksAtAlone) {
  ASSERT_EQ(Build(), 0);
  ASSERT_EQ(Build("Other"), 0);
  editor_.Reveal();
  editor_.SelectSection(engine_->FindSection("Other", "QpadHandler"));
  editorView_.Type(editor_, "int o; // typed, not saved");
  const int shown = editor_.CurrentSource();
  const int textSets = editorView_.textSets;
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);  // another module's call, through every line
  EXPECT_EQ(CallMain(), asEXECUTION_FINISHED);
  EXPECT_EQ(editor_.CurrentSource(), shown);
  EXPECT_EQ(editorView_.textSets, textSets);
  EXPECT_EQ(editorView_.text, "int o; // typed, not saved");
  EXPECT_TRUE(view_.variables.empty()) << "the list is not turned into the variable view";
  EXPECT_EQ(view_.waits, 0);
  EXPECT_EQ(Global("g"), 9);
}

TEST_F(Debugger, TogglingABreakpointTwiceLeavesNone) {
  ASSERT_EQ(Build(), 0);
  view_.caret = LineOf("int a = 1;");
  control_.Command(IDM_SCRIPT_TOGGLE_BREAKPOINT);
  const int id = MarginMarks::LineId(editor_.CurrentSource(), view_.caret);
  EXPECT_TRUE(editor_.Margin().HasBreakpoint(id));
  control_.Command(IDM_SCRIPT_TOGGLE_BREAKPOINT);
  EXPECT_FALSE(editor_.Margin().HasBreakpoint(id));
  view_.caret = -1;  // the text has not the focus
  control_.Command(IDM_SCRIPT_TOGGLE_BREAKPOINT);
  EXPECT_TRUE(editor_.Margin().Breakpoints().empty());
  BreakAt("int a = 1;");
  BreakAt("g = g + a;");
  control_.Command(IDM_SCRIPT_CLEAR_BREAKPOINTS);
  EXPECT_TRUE(editor_.Margin().Breakpoints().empty());
}

TEST(VariableTexts, StringsAreCutAndArraysJoinedWithinTheLimit) {
  EXPECT_EQ(QuotedValueText("abc"), "\"abc\"");
  const std::string fits(197, 'x');
  EXPECT_EQ(QuotedValueText(fits), "\"" + fits + "\"");
  EXPECT_EQ(QuotedValueText(fits + "yz"), "\"" + fits + "\"");
  std::vector<std::string> many(100, "123");
  const std::string joined = JoinElementTexts(many);
  EXPECT_LE(joined.size() + 1, 200u);
  EXPECT_GT(joined.size() + 4 + 1, 200u) << "stops only before the element that would not fit";
  EXPECT_EQ(JoinElementTexts({"1", "-2"}), "1,-2");
}

}  // namespace
