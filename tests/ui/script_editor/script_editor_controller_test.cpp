#include "ui/script_editor/script_editor_controller.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/base/memory_file_access.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/support/scratch_dir.h"
#include "tests/ui/script_editor/editor_test_support.h"

namespace {

const std::string kBase = "C:\\Dev";
const std::string kScript = kBase + "\\Script_1.oxs";
const std::string kLib = kBase + "\\lib.oxs";

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    savedScripts.clear();
    saveAnswer = true;
    engine_ = MakeTestEngine();
    files_.Put(kScript, "int a = 1;\r\n#include \"lib.oxs\"\r\nvoid f() {\r\n  a = 2;\r\n}\r\n");
    files_.Put(kLib, "int b = 3;\nint c = 4;\n");
  }

  // A module as a device build leaves it: one section "QpadHandler", then built by the editor.
  int AddModule(const std::string& name) {
    engine_->AddScriptSection(name.c_str(), "QpadHandler", "", 0);
    return controller_.RebuildModule(name);
  }
  ModuleScriptLocator Locator() {
    return [this](const std::string& module) -> std::optional<ModuleScriptFile> {
      if (module != "Mod") return std::nullopt;
      return ModuleScriptFile{kScript, {"Mod", kBase, {}, kScript}};
    };
  }
  std::string LineAt(const MessageRow& row) {
    const int line = std::stoi(row.position);
    const std::vector<std::string> lines = EditorLines(view_.text);
    return line >= 1 && line <= static_cast<int>(lines.size()) ? lines[line - 1] : "?";
  }
  const MessageRow* FirstError() {
    for (const MessageRow& r : view_.messages)
      if (r.severity == "Error") return &r;
    return nullptr;
  }

  SystemCallsRecorder calls_;
  MemoryFileAccess files_;
  RecordingView view_;
  std::unique_ptr<asCDebugScriptEngine> engine_;
  ScriptEditorController controller_{calls_, view_, files_, Locator()};
};

TEST_F(Editor, ShowsTheFilesOwnTextAndAnErrorAtItsFileAndLine) {
  files_.Put(kLib, "int b = 3;\nint c = ;\n");
  controller_.SetEngine(engine_.get());
  EXPECT_LT(AddModule("Mod"), 0);
  EXPECT_GT(controller_.ErrorCount(), 0);
  controller_.ShowBuildResult("Mod");

  EXPECT_EQ(view_.BoldSection(), "QpadHandler");
  EXPECT_NE(view_.text.find("int c = ;\r\n"), std::string::npos) << "the file's own text, CR LF";
  EXPECT_EQ(view_.text.find("#line"), std::string::npos);
  const MessageRow* error = FirstError();
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->section, "QpadHandler");
  EXPECT_EQ(LineAt(*error), "int c = ;");

  controller_.ActivateMessage(error->data, error->position);
  ASSERT_EQ(view_.wentTo.size(), 1u);
  EXPECT_EQ(EditorLines(view_.text)[view_.wentTo[0].first], "int c = ;");
  EXPECT_EQ(controller_.Margin().CurrentLine(), view_.wentTo[0].first);
}

TEST_F(Editor, ABuildWithoutMessagesListsNoErrors) {
  controller_.SetEngine(engine_.get());
  EXPECT_EQ(AddModule("Mod"), 0);
  EXPECT_EQ(controller_.ErrorCount(), 0);
  controller_.ShowBuildResult("Mod");
  ASSERT_FALSE(view_.messages.empty());
  for (const MessageRow& r : view_.messages) EXPECT_NE(r.severity, "Error") << r.message;
  // Without any line: one row that says so.
  controller_.Messages().ClearCompileMessages();
  EXPECT_EQ(controller_.MessageRows(), (std::vector<MessageRow>{{"", "", "", kNoErrorsText, -1}}));
  // A row without a position leads to the start of the section.
  controller_.ActivateMessage(-1, "");
  EXPECT_EQ(view_.wentTo.back(), (std::pair<int, int>{0, 0}));
}

TEST_F(Editor, SaveHandsTheRootToTheCallbackAndWritesOnlyChangedBlocks) {
  controller_.SetEngine(engine_.get());
  AddModule("Mod");
  controller_.ShowBuildResult("Mod");
  const std::string shown = view_.text;

  EXPECT_TRUE(controller_.Save());  // nothing edited: nothing saved
  EXPECT_TRUE(savedScripts.empty());

  view_.Type(controller_, "int z = 0;\r\n" + shown);
  EXPECT_TRUE(controller_.Save());
  ASSERT_EQ(savedScripts.size(), 1u);
  EXPECT_EQ(savedScripts[0].module, "Mod");
  EXPECT_EQ(savedScripts[0].text, "int z = 0;\r\n" + *files_.Get(kScript));
  EXPECT_EQ(savedScripts[0].length, static_cast<int>(savedScripts[0].text.size()));
  EXPECT_EQ(savedScripts[0].text.find('\0'), std::string::npos);
  EXPECT_TRUE(files_.WriteLog().empty()) << "the untouched include stays as it is";
  EXPECT_EQ(*files_.Get(kLib), "int b = 3;\nint c = 4;\n");

  std::string edited = view_.text;
  edited.replace(edited.find("int c = 4;"), 10, "int c = 5;");
  view_.Type(controller_, edited);
  EXPECT_TRUE(controller_.Save());
  EXPECT_EQ(files_.WriteLog(), std::vector<std::string>{kLib});
  EXPECT_EQ(*files_.Get(kLib), "int b = 3;\r\nint c = 5;\r\n");
}

TEST_F(Editor, SaveRefusesATextThatLostAnIncludeMarkerAndWritesNothing) {
  SystemCallsRecorder& calls = calls_;
  controller_.SetEngine(engine_.get());
  AddModule("Mod");
  controller_.ShowBuildResult("Mod");
  const std::string shown = view_.text;
  const std::string scriptBefore = *files_.Get(kScript);
  for (std::string_view marker : {kIncludeEndMarker, kIncludeBeginMarker}) {
    SCOPED_TRACE(std::string(marker));
    std::string edited;
    for (const std::string& line : EditorLines(shown))
      if (!line.starts_with(marker)) edited += line + "\r\n";
    edited.replace(edited.find("int c = 4;"), 10, "int c = 5;");
    ASSERT_NE(shown.find(marker), std::string::npos);
    ASSERT_EQ(edited.find(marker), std::string::npos);
    view_.Type(controller_, edited);
    calls.ClearEvents();
    EXPECT_FALSE(controller_.Save());
    EXPECT_NE(calls.Events().find("\"AngelScript IDE\" \"The script was not saved."),
              std::string::npos) << calls.Events();
    EXPECT_TRUE(controller_.Source(controller_.CurrentSource())->unsaved);
    EXPECT_TRUE(savedScripts.empty());
    EXPECT_TRUE(files_.WriteLog().empty());
    EXPECT_EQ(*files_.Get(kScript), scriptBefore);
    EXPECT_EQ(*files_.Get(kLib), "int b = 3;\nint c = 4;\n");
  }
  // With the marker back the same edit saves.
  std::string edited = shown;
  edited.replace(edited.find("int c = 4;"), 10, "int c = 5;");
  view_.Type(controller_, edited);
  EXPECT_TRUE(controller_.Save());
  EXPECT_EQ(*files_.Get(kLib), "int b = 3;\r\nint c = 5;\r\n");
}

TEST_F(Editor, SaveWritesTheFileItselfWhenNoDeviceTakesTheScript) {
  saveAnswer = false;
  controller_.SetEngine(engine_.get());
  AddModule("Mod");
  controller_.ShowBuildResult("Mod");
  view_.Type(controller_, "int only;");
  EXPECT_TRUE(controller_.Save());
  EXPECT_EQ(*files_.Get(kScript), "int only;");
}

TEST_F(Editor, TypedTextSurvivesSwitchingSectionsAndANewEngine) {
  controller_.SetEngine(engine_.get());
  AddModule("Mod");
  engine_->AddScriptSection("Other", "QpadHandler", "int o;", 6);
  controller_.RebuildModule("Other");
  controller_.ShowBuildResult("Mod");
  view_.Type(controller_, "int typed;");
  controller_.SelectSection(engine_->FindSection("Other", "QpadHandler"));
  EXPECT_EQ(view_.text, "int o;");
  controller_.SelectSection(engine_->FindSection("Mod", "QpadHandler"));
  EXPECT_EQ(view_.text, "int typed;");

  // The device thread builds a new engine: the text stays with its module and section.
  view_.Type(controller_, "int typed again;");
  auto next = MakeTestEngine();
  controller_.SetEngine(nullptr);
  engine_ = std::move(next);
  controller_.SetEngine(engine_.get());
  engine_->AddScriptSection("Mod", "QpadHandler", "", 0);
  controller_.ShowBuildResult("Mod");
  EXPECT_EQ(view_.text, "int typed again;");
  // A rebuild from the file does not overwrite unsaved text either.
  controller_.RefreshModuleSources("Mod");
  EXPECT_EQ(view_.text, "int typed again;");
}

TEST_F(Editor, DiscardingTheModuleShownLeavesNothingPointingIntoIt) {
  controller_.SetEngine(engine_.get());
  AddModule("Mod");
  engine_->AddScriptSection("Other", "QpadHandler", "int o;", 6);
  controller_.ShowBuildResult("Mod");
  view_.Type(controller_, "int typed;");
  EXPECT_TRUE(controller_.DiscardModule("Mod"));
  EXPECT_EQ(controller_.CurrentSource(), -1);
  EXPECT_EQ(view_.text, "");
  for (const EditorTreeRow& r : view_.tree) EXPECT_NE(r.text, "Mod");
  // The slot the module had is taken by the next section; the editor shows that one's text.
  engine_->AddScriptSection("Third", "QpadHandler", "int t;", 6);
  controller_.SelectSection(engine_->FindSection("Third", "QpadHandler"));
  EXPECT_EQ(view_.text, "int t;");
  EXPECT_STREQ(engine_->SectionText(engine_->FindSection("Other", "QpadHandler")), "int o;");
}

TEST_F(Editor, ReloadReadsTheFilesAgainAndDropsTheEdits) {
  controller_.SetEngine(engine_.get());
  AddModule("Mod");
  controller_.ShowBuildResult("Mod");
  const std::string shown = view_.text;
  view_.Type(controller_, "garbage");
  files_.Put(kLib, "int b = 9;\n");
  EXPECT_TRUE(controller_.Reload());
  EXPECT_NE(view_.text.find("int b = 9;"), std::string::npos);
  EXPECT_FALSE(controller_.Built()) << "Build after Reload builds again";
  EXPECT_FALSE(controller_.Source(controller_.CurrentSource())->unsaved);
  files_.Put(kScript, "");
  controller_.SetEngine(nullptr);
  EXPECT_FALSE(controller_.Reload()) << "no section: nothing to read";
}

TEST_F(Editor, EightErrorsAreNeverReadAsTheRestoreAnswer) {
  std::string bad;
  for (int i = 0; i < 8; ++i) bad += "void f" + std::to_string(i) + "() { x" + std::to_string(i) + " = 1; }\r\n";
  files_.Put(kScript, bad);
  controller_.SetEngine(engine_.get());
  AddModule("Mod");
  EXPECT_NE(controller_.ErrorCount(), 8);
  EXPECT_GE(controller_.ErrorCount(), 8);
}

// --- Opening a script file -----------------------------------------------------------------

class OpenScript : public ::testing::Test {
 protected:
  void SetUp() override { engine_ = MakeTestEngine(); }
  std::string Write(const std::string& name, const std::string& text) {
    testsupport::WriteTextFile(dir_ / name, text);
    return dir_ / name;
  }
  // The recorder, with a temporary folder of the test's own when one is set.
  class Calls : public SystemCallsRecorder {
   public:
    std::optional<std::string> temp;
    std::string TempFolder() override { return temp ? *temp : SystemCallsRecorder::TempFolder(); }
  };

  testsupport::ScratchDir dir_{"openscript"};
  Calls calls_;
  RecordingView view_;
  std::unique_ptr<asCDebugScriptEngine> engine_;
  ScriptEditorController controller_{calls_, view_, RealFiles(),
                                     [](const std::string& m) -> std::optional<ModuleScriptFile> {
                                       return ModuleScriptFile{m, {m, m.substr(0, m.rfind('\\')), {}, m}};
                                     }};
};

TEST_F(OpenScript, FileTypesAreToldApart) {
  controller_.SetEngine(engine_.get());
  calls_.SetChosenFile(Write("notes.txt", "x"));
  controller_.OpenScriptFile();
  EXPECT_NE(calls_.Events().find("\"Open Orvane Script\" \"Orvane II Script (*.oxs)\" \"*.oxs\""),
            std::string::npos) << calls_.Events();
  EXPECT_NE(calls_.Events().find("\"Invalid File Type\" \"Not an Qpad layout or script file.\" Ok Error"),
            std::string::npos) << calls_.Events();
  calls_.ClearEvents();
  calls_.SetChosenFile(Write("OLD.QP1", "x"));
  controller_.OpenScriptFile();
  EXPECT_NE(calls_.Events().find("\"Not Done\" \"Need to convert this QP1 file to an OXS file.\" Ok Information"),
            std::string::npos) << calls_.Events();
  EXPECT_FALSE(view_.visible);
}

// An old layout is only answered while a temporary script name is free in the platform's
// temporary folder: with all ten taken there, nothing is said.
TEST_F(OpenScript, AnOldLayoutLooksForAFreeNameInTheTemporaryFolder) {
  controller_.SetEngine(engine_.get());
  testsupport::ScratchDir temp{"openscripttemp"};
  calls_.temp = temp.path();
  for (char digit = '0'; digit <= '9'; ++digit)
    testsupport::WriteTextFile(temp / (std::string("tempScript") + digit + ".oxs"), "x");
  calls_.SetChosenFile(Write("OLD.QP1", "x"));
  controller_.OpenScriptFile();
  EXPECT_EQ(calls_.Events().find("\"Not Done\""), std::string::npos) << calls_.Events();
  ASSERT_TRUE(DeleteFileA((temp / "tempScript7.oxs").c_str()));
  calls_.ClearEvents();
  controller_.OpenScriptFile();
  EXPECT_NE(calls_.Events().find("\"Not Done\" \"Need to convert this QP1 file to an OXS file.\" Ok Information"),
            std::string::npos) << calls_.Events();
}

TEST_F(OpenScript, AScriptThatFailsToBuildOpensTheEditorAtItsError) {
  controller_.SetEngine(engine_.get());
  const std::string path = Write("Broken.OXS", "int a = 1;\r\nint b = ;\r\n");
  calls_.SetChosenFile(path);
  controller_.OpenScriptFile();
  EXPECT_TRUE(view_.visible);
  EXPECT_FALSE(controller_.Hidden());
  EXPECT_EQ(controller_.CurrentModule(), path);
  EXPECT_NE(view_.text.find("int b = ;"), std::string::npos);
  bool found = false;
  for (const MessageRow& r : view_.messages)
    if (r.severity == "Error") found = found || r.position.starts_with("2,");
  EXPECT_TRUE(found);
}

TEST_F(OpenScript, AScriptWithoutADeviceIdIsDiscarded) {
  controller_.SetEngine(engine_.get());
  const std::string path = Write("Plain.oxs", "int a = 1;\r\n");
  calls_.SetChosenFile(path);
  controller_.OpenScriptFile();
  EXPECT_EQ(engine_->FindModule(path.c_str()), -1);
  EXPECT_FALSE(view_.visible);
}

}  // namespace
