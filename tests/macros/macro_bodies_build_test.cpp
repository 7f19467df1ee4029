// Every kind of step, made as the editor makes it, gives a key-function body that the program's
// engine builds, and reads back as the same steps.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/macros/program_macro_platform.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "macros/model/text_code_page.h"
#include "tests/macros/script_build.h"

using namespace testsupport;

namespace {

using StepList = std::vector<std::pair<std::wstring, std::optional<std::wstring>>>;

std::string BodyOf(const StepList& steps) {
  MacroContext c;
  KeyRecord key;
  key.keyId = 1;
  c.keys.push_back(key);
  c.currentKey = 1;
  c.currentEvent = KeyEvent::Down;
  c.currentColour = LayerColour::Green;
  c.currentProgram = "Pnr";
  for (const auto& [text, code] : steps) EXPECT_TRUE(InsertMacroText(c, text, code ? &*code : nullptr, nullptr));
  KeyFunction f;
  MacroTextToScript(*FindMacroEntry(c), f);
  return f.body;
}

TEST(MacroBodies, EveryGeneratedBodyBuilds) {
  UseProgramMacroPlatform();
  ScriptBuild build;
  ASSERT_TRUE(build.Registered());
  const std::wstring held(kHeldSymbol), released(kReleasedSymbol);
  const StepList cases[] = {
      {},
      {{L"/Hello, World!", std::nullopt}},
      {{L"/ \"quoted\" back\\slash //fend //ORVX: [CC: x] ~!@#$%^&*()_+{}|:<>?", std::nullopt}},
      {{L"/tab\there\r\nand lines", std::nullopt}},
      {{L"/\u00fc\u00e9\u20ac\u65e5\u672c \x1b", std::nullopt}},
      {{L"<Return>", std::nullopt}, {L"{Ctrl+Shift+s}", std::nullopt}, {L"<# Return>", std::nullopt}},
      {{L"<Left Shift>", std::nullopt}, {held, std::nullopt}, {L"/abc", std::nullopt},
       {L"<Left Shift>", std::nullopt}, {released, std::nullopt}},
      {{L"/x\"\\y", std::nullopt}, {held, std::nullopt}, {L"/x\"\\y", std::nullopt}, {released, std::nullopt}},
      {{L"[Delay 1.5]", std::wstring(L"sleep(1500);")}, {L"<Mouse Click>", std::nullopt},
       {L"<Volume Up>", std::nullopt}, {L"<Browser Back>", std::nullopt}},
      {{L"[Auto Repeat (0.5:0.05)]", std::wstring(L"AutoRepeatThisKey(500,50);")}},
      {{L"[Backlight Toggle]", std::wstring(L"ToggleBacklights();")}, {L"[Empty]", std::wstring()}},
      {{L"[CC: Tools\\Open Mail]", std::wstring(L"#define __CMD_ID__ 1\nRUN_COMMAND();\n")},
       {L"/after", std::nullopt}},
  };
  for (const StepList& steps : cases) {
    const std::string body = BodyOf(steps);
    const std::string script =
        "#define __CMD_ID__ 1\nvoid RUN_CUSTOM_COMMAND___CMD_ID__() {}\n\nvoid KeyDown_1_Green_Pnr()\n" + body + "\n";
    const ScriptBuild::Result r = build.Build(script);
    EXPECT_TRUE(r.Ok()) << body << "\n" << r.messages;
    // And it reads back as the same steps.
    KeyFunction f;
    f.body = body;
    MacroEntry back;
    SplitMacroSteps(back, f);
    KeyFunction again;
    MacroTextToScript(back, again);
    EXPECT_EQ(again.body, body);
  }
  SetTextCodePage({});
}

}  // namespace
