// The starter script of the default layout for users' texts of every kind: it stays one
// well-formed file, it builds with the program's whole script interface through the
// preprocessor and the debug engine, and each key sends exactly its step.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/functions/device_functions.h"
#include "runtime/functions/keystroke_sender.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/system_script_functions.h"
#include "runtime/script/debug_context.h"
#include "runtime/script/debug_engine.h"
#include "runtime/script/script_output_stream.h"
#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"
#include "runtime/service/device_module_build.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "ui/setup_wizard/starter_script.h"

namespace {

constexpr char kModule[] = "Vid0a7cPid0028v0000Uid000c";

struct Messages : ScriptOutputStream {
  std::string text;
  void Write(const char* line) override { text += line; }
};

// An engine as the device thread makes it, with the script built into the device's module.
class StarterScript : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.reset(asCreateDebugScriptEngine(20401, nullptr, nullptr));
    ScriptRegistrar registrar(engine_->Library());
    RegisterScriptTypes(registrar);
    RegisterDeviceFunctions(registrar, {recorder_});
    RegisterScriptFunctions(registrar, {recorder_});
    ASSERT_TRUE(registrar.Ok());
    engine_->SetMessageStream(&messages_);
    context_ = engine_->CreateContext();
  }
  void TearDown() override {
    context_.reset();
    engine_.reset();
  }

  int Build(const std::string& file) {
    return BuildDeviceModule(kModule, file.data(), file.size(), *engine_);
  }
  // Runs KeyDown(scanCode) and gives what it sent to the platform.
  std::string Press(int scanCode) {
    recorder_.ClearEvents();
    recorder_.SetBoxAnswer(BoxAnswer::Cancel);
    asIScriptModule* module = engine_->LibraryModule(engine_->FindModule(kModule));
    asIScriptFunction* keyDown = module ? module->GetFunctionByDecl("void KeyDown(int)") : nullptr;
    if (!keyDown || context_->Prepare(keyDown) < 0) return "<no KeyDown>";
    context_->SetArgDWord(0, static_cast<asDWORD>(scanCode));
    if (context_->Execute() != asEXECUTION_FINISHED) return "<not finished>";
    return recorder_.Events();
  }
  // What a SendString call with this text sends.
  static std::string Sends(const std::string& text) {
    SystemCallsRecorder recorder;
    SendString(recorder, text);
    return recorder.Events();
  }

  SystemCallsRecorder recorder_;  // what the scripts send
  std::unique_ptr<asCDebugScriptEngine> engine_;
  std::unique_ptr<asCDebugContext> context_;
  Messages messages_;
};

// The lines of the file (each must end in CR LF).
std::vector<std::string> Lines(const std::string& file) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(file.substr(start, end - start));
  EXPECT_EQ(start, file.size()) << "text after the last line end";
  return lines;
}

// The two lines after the function line of a key: its marker and its statement.
std::vector<std::string> StepOf(const std::vector<std::string>& lines, int scanCode) {
  const std::string head = "void KeyDown_" + std::to_string(scanCode) + "_Green_Pnr()";
  for (std::size_t i = 0; i + 3 < lines.size(); ++i)
    if (lines[i] == head) return {lines[i + 2], lines[i + 3]};
  return {};
}

const std::string kEsc = "\x1b";

struct Case {
  const char* what;
  UserDetails details;
  // Per user key (name, address, e-mail): the marker line, the statement line, and the text
  // the statement hands to SendString.
  std::string markers[3];
  std::string statements[3];
  std::string sent[3];
};

const Case kCases[] = {
    {"plain",
     {L"Jo Smith", L"1 Main St", L"jo@example.com"},
     {"//ORVX: \"/Jo Smith\"", "//ORVX: \"/1 Main St\"", "//ORVX: \"/jo@example.com\""},
     {"SendString(\"/Jo Smith\");", "SendString(\"/1 Main St\");",
      "SendString(\"/jo@example.com\");"},
     {"/Jo Smith", "/1 Main St", "/jo@example.com"}},
    {"quotes and backslashes",
     {L"Jo \"JJ\" O'Neil", L"Flat 2\\B", L"\\\"@\\"},
     // The marker holds the text as it is: the reader takes what lies between the first and
     // the last double quote.
     {"//ORVX: \"/Jo \"JJ\" O'Neil\"", "//ORVX: \"/Flat 2\\B\"", "//ORVX: \"/\\\"@\\\""},
     {"SendString(\"/Jo \\\"JJ\\\" O'Neil\");", "SendString(\"/Flat 2\\\\B\");",
      "SendString(\"/\\\\\\\"@\\\\\");"},
     {"/Jo \"JJ\" O'Neil", "/Flat 2\\B", "/\\\"@\\"}},
    {"an address on three lines, with a backslash at a line's end",
     {L"Jo", L"1 Main St\\\r\nSpringfield\r\n\r\nUSA", L"jo@example.com"},
     {"//ORVX: \"/Jo\"", "//ORVX: \"/1 Main St\\\\nSpringfield\\n\\nUSA\"",
      "//ORVX: \"/jo@example.com\""},
     // The backslash is doubled, the line breaks' backslashes are not.
     {"SendString(\"/Jo\");", "SendString(\"/1 Main St\\\\\\nSpringfield\\n\\nUSA\");",
      "SendString(\"/jo@example.com\");"},
     {"/Jo", "/1 Main St\\\nSpringfield\n\nUSA", "/jo@example.com"}},
    {"lone line feeds and carriage returns, and a typed backslash-n",
     {L"a\\nb", L"x\ny\rz", L"m"},
     {"//ORVX: \"/a\\nb\"", "//ORVX: \"/x\\ny\\nz\"", "//ORVX: \"/m\""},
     {"SendString(\"/a\\\\nb\");", "SendString(\"/x\\ny\\nz\");", "SendString(\"/m\");"},
     {"/a\\nb", "/x\ny\nz", "/m"}},
    {"characters beyond ASCII, ESC and a tab",
     {L"Zo\u00eb M\u00fcller", L"\u20ac 5\t\u03a9", L"\x1b@x"},
     {"//ORVX: \"/Zo" + kEsc + "00235 M" + kEsc + "00252ller\"",
      "//ORVX: \"/" + kEsc + "08364 5" + kEsc + "00009" + kEsc + "00937\"",
      "//ORVX: \"/" + kEsc + "00027@x\""},
     {"SendString(\"/Zo" + kEsc + "00235 M" + kEsc + "00252ller\");",
      "SendString(\"/" + kEsc + "08364 5" + kEsc + "00009" + kEsc + "00937\");",
      "SendString(\"/" + kEsc + "00027@x\");"},
     {"/Zo" + kEsc + "00235 M" + kEsc + "00252ller", "/" + kEsc + "08364 5" + kEsc + "00009" + kEsc + "00937",
      "/" + kEsc + "00027@x"}},
    {"nothing kept", {}, {"//ORVX: \"/\"", "//ORVX: \"/\"", "//ORVX: \"/\""},
     {"SendString(\"/\");", "SendString(\"/\");", "SendString(\"/\");"}, {"/", "/", "/"}},
};

TEST_F(StarterScript, UsersTextsKeepTheFileWholeAndBuildingAndAreSentAsTyped) {
  const int userKeys[3] = {0, 16, 32};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    const std::string file = StarterScriptFile(c.details);
    // Narrow text only, no zero byte, and every line ended.
    for (char ch : file) ASSERT_TRUE(ch > 0) << static_cast<int>(ch);
    const std::vector<std::string> lines = Lines(file);
    ASSERT_EQ(lines.size(), Lines(StarterScriptFile({})).size());
    for (int k = 0; k < 3; ++k) {
      const std::vector<std::string> step = StepOf(lines, userKeys[k]);
      ASSERT_EQ(step.size(), 2u);
      EXPECT_EQ(step[0], c.markers[k]);
      EXPECT_EQ(step[1], c.statements[k]);
    }
    messages_.text.clear();
    ASSERT_EQ(Build(file), 0) << messages_.text;
    EXPECT_EQ(messages_.text, "");
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Press(userKeys[k]), Sends(c.sent[k])) << "key " << userKeys[k];
  }
}

TEST_F(StarterScript, EveryKeyOfTheLayoutDoesItsStep) {
  ASSERT_EQ(Build(StarterScriptFile({L"n", L"a", L"e"})), 0) << messages_.text;
  struct Key {
    int scanCode;
    std::string sends;  // a SendString text, or the events expected
    bool text = true;
  };
  RecordedSystemCalls documents;
  const std::string documentsFolder = documents.DocumentsFolder();
  const Key keys[] = {
      {0, "/n"},
      {16, "/a"},
      {32, "/e"},
      {48, "{WinKey+f}"},
      {17, "<Browser Home>"},
      {33, "<Launch Mail>"},
      {2, "{Ctrl+b}"},
      {18, "{Ctrl+i}"},
      {34, "{Ctrl+u}"},
      {3, "{Ctrl+y}"},
      {4, "{Ctrl+z}"},
      {20, "{Ctrl+x}"},
      {36, "{Ctrl+c}"},
      {52, "{Ctrl+v}"},
      {51, "<Play/Pause Media>"},
      // Without a key reported by a device the auto-repeat has nothing to repeat.
      {35, "<Volume Up>"},
      {19, "<Volume Down>"},
      {1, documentsFolder.empty() ? "" : "shell 0x0 \"open\" \"" + documentsFolder + "\" null null 1", false},
      {49, "box 0x0 \"Could not find file\" \"Orvane was unable to find the demo video on your "
           "computer.  Click Ok to view the video on our web site or click Cancel to close "
           "this window.\" OkCancel Warning",
       false},
      // Keys without a function.
      {5, "", false},
      {50, "", false},
  };
  for (const Key& k : keys)
    EXPECT_EQ(Press(k.scanCode), k.text ? Sends(k.sends) : k.sends) << "key " << k.scanCode;
}

TEST(AddressOnOneLine, EachLineBreakIsOneBackslashN) {
  EXPECT_EQ(AddressOnOneLine(L"a\r\nb"), L"a\\nb");
  EXPECT_EQ(AddressOnOneLine(L"a\n\rb"), L"a\\n\\nb");
  EXPECT_EQ(AddressOnOneLine(L"\r\n"), L"\\n");
  EXPECT_EQ(AddressOnOneLine(L"a\\b"), L"a\\b");
}

}  // namespace
