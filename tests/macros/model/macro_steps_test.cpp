#include "macros/model/macro_steps.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "macros/model/custom_commands.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_text.h"
#include "macros/model/text_code_page.h"

namespace {

const std::wstring kEsc(1, kMacroEscape);

TEST(MacroText, EncodingAndDecoding) {
  const struct {
    std::wstring text;
    std::wstring encoded;
  } cases[] = {
      {L"plain <Text> {Ctrl+c} \"\\", L"plain <Text> {Ctrl+c} \"\\"},
      {L"\u00e9", kEsc + L"00233"},
      {L"\u00fc!", kEsc + L"00252!"},
      {L"\u20ac", kEsc + L"08364"},
      {kEsc, kEsc + L"00027"},
      {L"a\tb\r\n", L"a" + kEsc + L"00009b" + kEsc + L"00013" + kEsc + L"00010"},
      {L"\xffff", kEsc + L"65535"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeMacroText(c.text), c.encoded);
    EXPECT_EQ(DecodeMacroText(c.encoded), c.text);
  }
  // A cut or broken escape stays as it is and is never read past.
  for (const std::wstring& broken : {kEsc, kEsc + L"0", kEsc + L"0023", L"x" + kEsc + L"12a45", kEsc + L"-0001"})
    EXPECT_EQ(DecodeMacroText(broken), broken);
  EXPECT_EQ(DecodeMacroText(kEsc + L"99999"), std::wstring(1, static_cast<wchar_t>(99999 & 0xFFFF)));
  EXPECT_EQ(DecodeMacroText(kEsc + L"000659"), L"A9");
}

TEST(MacroText, Escaping) {
  EXPECT_EQ(EscapeScriptString("a\"b\\c"), "a\\\"b\\\\c");
  EXPECT_EQ(EscapeScriptString(""), "");
  EXPECT_EQ(EscapeScriptString("caf\xe9\t.exe\x7f"), "caf\\xE9\\x09.exe\x7f");
  EXPECT_EQ(EscapeScriptStringW(L"\"\u00fc\\"), L"\\\"" + kEsc + L"00252\\\\");
}

class Steps : public ::testing::Test {
 protected:
  Steps() {
    KeyRecord key;
    key.keyId = 1;
    context_.keys.push_back(key);
    context_.currentKey = 1;
    context_.currentEvent = KeyEvent::Down;
    context_.currentColour = LayerColour::Green;
    context_.currentProgram = "Pnr";
  }
  MacroEntry& Entry() { return *FindMacroEntry(context_); }
  // Appends steps as the editor does without a box (code null: the step sends its text).
  void Add(const std::vector<std::pair<std::wstring, std::optional<std::wstring>>>& steps) {
    for (const auto& [text, code] : steps)
      ASSERT_TRUE(InsertMacroText(context_, text, code ? &*code : nullptr, nullptr)) << Narrow(text);
  }
  static std::string Narrow(const std::wstring& w) { return NarrowText(w); }
  std::vector<std::wstring> StepTexts(const MacroEntry& e) {
    std::vector<std::wstring> out;
    for (const MacroItem& i : e.steps) out.push_back(i.text);
    return out;
  }
  std::vector<std::wstring> CodeTexts(const MacroEntry& e) {
    std::vector<std::wstring> out;
    for (const MacroItem& i : e.codes) out.push_back(i.text);
    return out;
  }
  std::string Body() {
    KeyFunction f;
    MacroTextToScript(Entry(), f);
    return f.body;
  }
  MacroEntry Split(const std::string& body) {
    KeyFunction f;
    f.body = body;
    MacroEntry e;
    SplitMacroSteps(e, f);
    return e;
  }
  MacroContext context_;
};

TEST_F(Steps, BodiesOfTheEdgeCases) {
  Add({{L"/a\"b", std::nullopt}});
  EXPECT_EQ(Body(), "{\n\n//ORVX: \"/a\"b\"\nSendString(\"/a\\\"b\");\n\n}");
  Entry() = MacroEntry{KeyEvent::Down, LayerColour::Green, "Pnr", {}, {}, -1};
  Add({{L"<F5>", std::nullopt}});
  EXPECT_EQ(Body(), "{\n\n//ORVX: \"<F5>\"\nSendString(\"<F5>\");\n\n}");
  // A held typed text: all but its last character first, as a step of its own (written as
  // such, so that it reads back and writes again the same).
  Entry() = MacroEntry{KeyEvent::Down, LayerColour::Green, "Pnr", {}, {}, -1};
  Add({{L"/abc", std::nullopt}, {std::wstring(kHeldSymbol), std::nullopt}});
  EXPECT_EQ(Body(),
            "{\n\n//ORVX: \"/ab\"\nSendString(\"/ab\");\n\n\n\n//ORVX: \"_/c\"\nSendString(\"_/c\");\n\n\n}");
  Entry() = MacroEntry{KeyEvent::Down, LayerColour::Green, "Pnr", {}, {}, -1};
  Add({{L"<Tab>", std::nullopt}, {std::wstring(kReleasedSymbol), std::nullopt}});
  EXPECT_EQ(Body(), "{\n\n//ORVX: \"-<Tab>\"\nSendString(\"-<Tab>\");\n\n\n}");
  Entry() = MacroEntry{KeyEvent::Down, LayerColour::Green, "Pnr", {}, {}, -1};
  Add({{L"/\u00fc", std::nullopt}});
  EXPECT_EQ(Body(), "{\n\n//ORVX: \"/\x1b" "00252\"\nSendString(\"/\x1b" "00252\");\n\n}");
  EXPECT_EQ(StepTexts(Split(Body())), (std::vector<std::wstring>{L"/\u00fc"}));
  Entry() = MacroEntry{KeyEvent::Down, LayerColour::Green, "Pnr", {}, {}, -1};
  EXPECT_EQ(Body(), "{\n\n}");
}

TEST_F(Steps, SplittingHeldAndReleasedSteps) {
  const MacroEntry e = Split(
      "{\n\n//ORVX: \"_<Tab>\"\nSendString(\"_<Tab>\");\n\n\n//ORVX: \"/abc\"\nSendString(\"/abc\");"
      "\n\n//ORVX: \"-<Tab>\"\nSendString(\"-<Tab>\");\n\n\n}");
  EXPECT_EQ(StepTexts(e), (std::vector<std::wstring>{L"<Tab>", std::wstring(kHeldSymbol), L"/abc", L"<Tab>",
                                                     std::wstring(kReleasedSymbol)}));
  const std::vector<std::pair<int, int>> positions = {{0, 5}, {5, 8}, {8, 11}, {11, 16}, {16, 19}};
  for (std::size_t i = 0; i < positions.size(); ++i) {
    EXPECT_EQ(e.steps[i].start, positions[i].first) << i;
    EXPECT_EQ(e.steps[i].end, positions[i].second) << i;
  }
  EXPECT_EQ(CodeTexts(e), (std::vector<std::wstring>{L"SendString(\"<Tab>\");", L"//KeyDown",
                                                     L"SendString(\"/abc\");", L"SendString(\"<Tab>\");",
                                                     L"//KeyUp"}));
}

TEST_F(Steps, SplittingOddBodies) {
  const struct {
    const char* body;
    std::vector<std::wstring> steps;
    std::vector<std::wstring> codes;
  } cases[] = {
      // Lines before the first marker belong to no step.
      {"{\nif(curScanCode != 3) DisableKey(3);\n\n//ORVX: \"<a>\"\nx();\n\n}", {L"<a>"}, {L"x();"}},
      // A step without code keeps an empty code item; the closing brace never becomes code.
      {"{\n\n//ORVX: \"<a>\"\n\n}", {L"<a>"}, {L""}},
      {"{\n//ORVX: \"<a>\"\n}", {L"<a>"}, {L""}},
      {"{\n//ORVX: \"<a>\"\n\n//ORVX: \"<b>\"\ny();\n}", {L"<a>", L"<b>"}, {L"", L"y();"}},
      // One quote: an empty text, which makes no step.
      {"{\n//ORVX: \"<a>\nx();\n}", {}, {}},
      {"{\n//ORVX: \"\"\nx();\n}", {}, {}},
      // //END ends the code.
      {"{\n//ORVX: \"<a>\"\nx();\n//END\ny();\n}", {L"<a>"}, {L"x();"}},
      // Code lines are trimmed of blanks and joined by line feeds.
      {"{\r\n//ORVX: \"<a>\"\r\n   x();  \r\n\ty();\r\n}", {L"<a>"}, {L"x();\ny();"}},
      {"", {}, {}},
      {"}", {}, {}},
  };
  for (const auto& c : cases) {
    const MacroEntry e = Split(c.body);
    EXPECT_EQ(StepTexts(e), c.steps) << c.body;
    EXPECT_EQ(CodeTexts(e), c.codes) << c.body;
    EXPECT_EQ(e.steps.size(), e.codes.size()) << c.body;
  }
}

TEST_F(Steps, RoundTripsOfEveryKindOfStep) {
  using StepList = std::vector<std::pair<std::wstring, std::optional<std::wstring>>>;
  const StepList cases[] = {
      {{L"/Hello, World!", std::nullopt}},
      {{L"/ \"quoted\" back\\slash //fend [CC: x] //ORVX: \"y\" ~!@#$%^&*()_+{}|:<>?", std::nullopt}},
      {{L"/tab\there", std::nullopt}},
      {{L"/\u00fc\u00e9\u20ac\u65e5\u672c " + kEsc, std::nullopt}},
      {{L"<Return>", std::nullopt}, {L"{Ctrl+Shift+s}", std::nullopt}, {L"/x", std::nullopt}},
      {{L"<Left Shift>", std::nullopt}, {std::wstring(kHeldSymbol), std::nullopt}, {L"/abc", std::nullopt},
       {L"<Left Shift>", std::nullopt}, {std::wstring(kReleasedSymbol), std::nullopt}},
      {{L"/xy", std::nullopt}, {std::wstring(kHeldSymbol), std::nullopt}},
      {{L"[Delay 1.5]", std::wstring(L"sleep(1500);")}, {L"<Mouse Click>", std::nullopt},
       {L"<Volume Up>", std::nullopt}},
      {{L"[Auto Repeat (0.5:0.05)]", std::wstring(L"AutoRepeatThisKey(500,50);")}},
      {{L"[CC: Tools\\Open Mail]", std::wstring(L"#define __CMD_ID__ 1\nRUN_COMMAND();\n")},
       {L"/after", std::nullopt}},
      {{L"[Backlight Toggle]", std::wstring(L"")}, {L"<F5>", std::nullopt}},
  };
  for (const StepList& steps : cases) {
    Entry() = MacroEntry{KeyEvent::Down, LayerColour::Green, "Pnr", {}, {}, -1};
    Add(steps);
    const std::string body = Body();
    const MacroEntry back = Split(body);
    if (steps.size() == 2 && steps[1].first == kHeldSymbol) {
      // A held typed text comes back as its last character held after the rest.
      EXPECT_EQ(StepTexts(back), (std::vector<std::wstring>{L"/x", L"/y", std::wstring(kHeldSymbol)}));
      KeyFunction again;
      MacroTextToScript(back, again);
      EXPECT_EQ(again.body, body);
      continue;
    }
    EXPECT_EQ(StepTexts(back), StepTexts(Entry())) << body;
    std::vector<std::wstring> codes = CodeTexts(Entry());
    for (std::wstring& code : codes) code = TrimWide(code);
    // Trailing line ends of a code item do not come back.
    for (std::wstring& code : codes)
      while (!code.empty() && code.back() == L'\n') code.pop_back();
    EXPECT_EQ(CodeTexts(back), codes) << body;
    KeyFunction again;
    MacroTextToScript(back, again);
    EXPECT_EQ(again.body, body);
    EXPECT_EQ(body.find('\t'), std::string::npos) << body;
    for (char c : body) EXPECT_LT(static_cast<unsigned char>(c), 128u) << body;
  }
}

TEST_F(Steps, InsertingIntoTypedText) {
  MacroSelection box{0, 0};
  for (wchar_t c : std::wstring(L"hello")) {
    const std::wstring step = L"/" + std::wstring(1, c);
    ASSERT_TRUE(InsertMacroText(context_, step, nullptr, &box));
  }
  EXPECT_EQ(StepTexts(Entry()), (std::vector<std::wstring>{L"/hello"}));
  EXPECT_EQ(box.start, 5);
  // A key step in the middle splits the text; the caret goes behind it.
  box = {2, 2};
  ASSERT_TRUE(InsertMacroText(context_, L"<Tab>", nullptr, &box));
  EXPECT_EQ(StepTexts(Entry()), (std::vector<std::wstring>{L"/he", L"<Tab>", L"/llo"}));
  EXPECT_EQ(CodeTexts(Entry()), (std::vector<std::wstring>{L"SendString(\"/he\");", L"SendString(\"<Tab>\");",
                                                           L"SendString(\"/llo\");"}));
  EXPECT_EQ(box.start, 7);
  EXPECT_EQ(MacroBoxText(Entry()), L"he<Tab>llo");
  // A single character joins the text it lands in.
  box = {8, 8};
  ASSERT_TRUE(InsertMacroText(context_, L"/X", nullptr, &box));
  EXPECT_EQ(StepTexts(Entry()), (std::vector<std::wstring>{L"/he", L"<Tab>", L"/lXlo"}));
  // A recorded plain character is typed text too.
  box = {0, 0};
  ASSERT_TRUE(InsertMacroText(context_, L"a", nullptr, &box));
  ASSERT_TRUE(InsertMacroText(context_, L"/", nullptr, &box));
  EXPECT_EQ(StepTexts(Entry())[0], L"/a/he");
  // Replacing a selection across the key step merges what is left.
  box = {3, 9};
  ASSERT_TRUE(InsertMacroText(context_, L"/-", nullptr, &box));
  EXPECT_EQ(StepTexts(Entry()), (std::vector<std::wstring>{L"/a/h-lXlo"}));
  EXPECT_EQ(CodeTexts(Entry()), (std::vector<std::wstring>{L"SendString(\"/a/h-lXlo\");"}));
  EXPECT_EQ(Entry().steps[0].end, 8);
}

TEST_F(Steps, NothingForToggleShiftOrUnknownKeys) {
  context_.toggleKeys.insert(1);
  EXPECT_FALSE(InsertMacroText(context_, L"/a", nullptr, nullptr));
  context_.toggleKeys.clear();
  context_.shiftKeys.insert(1);
  EXPECT_FALSE(InsertMacroText(context_, L"/a", nullptr, nullptr));
  context_.shiftKeys.clear();
  context_.currentKey = 99;
  EXPECT_FALSE(InsertMacroText(context_, L"/a", nullptr, nullptr));
  MacroSelection box{0, 3};
  DeleteMacroSelection(context_, box);  // nothing to delete from: no harm
  context_.currentKey = 1;
  EXPECT_FALSE(InsertMacroText(context_, L"", nullptr, nullptr));
  EXPECT_TRUE(Entry().steps.empty());
}

TEST_F(Steps, DeletingARangeNotesTheCustomCommandsInIt) {
  context_.customCommandSteps = {"[CC: Open Mail]"};
  Add({{L"/ab", std::nullopt}});
  ASSERT_TRUE(InsertCustomCommand(context_, kFirstCustomCommandMenuId, nullptr));
  Add({{L"<Tab>", std::nullopt}, {L"/cd", std::nullopt}});
  ASSERT_TRUE(InsertCustomCommand(context_, kFirstCustomCommandMenuId, nullptr));
  EXPECT_EQ(context_.customCommandCount, 2);
  EXPECT_EQ(MacroBoxText(Entry()), L"ab[CC: Open Mail]<Tab>cd[CC: Open Mail]");
  // From the middle of "ab" into "<Tab>": the command and the whole key step go.
  MacroSelection box{1, 19};
  DeleteMacroSelection(context_, box);
  EXPECT_EQ(StepTexts(Entry()), (std::vector<std::wstring>{L"/acd", L"[CC: Open Mail]"}));
  EXPECT_EQ(context_.removedCommandIds, (std::vector<int>{1}));
  EXPECT_EQ(box.start, 1);
  EXPECT_EQ(box.end, 1);
  RenumberCustomCommands(context_);
  EXPECT_EQ(context_.customCommandCount, 1);
  // The key being edited follows the renumbering.
  EXPECT_EQ(CodeTexts(Entry())[1], L"#define __CMD_ID__ 1\nRUN_COMMAND();\n");
  EXPECT_EQ(context_.includes, (std::map<int, std::string>{{1, "Open Mail.oxc"}}));

  // A range that begins inside a step leaves the caret where that step began.
  Add({{L"/ef", std::nullopt}});  // "acd" 0-3, "[CC: Open Mail]" 3-18, "ef" 18-20
  box = {5, 19};
  DeleteMacroSelection(context_, box);
  EXPECT_EQ(StepTexts(Entry()), (std::vector<std::wstring>{L"/acdf"}));
  EXPECT_EQ(box.start, 3);
  EXPECT_EQ(box.end, 3);
}

TEST_F(Steps, KeyDownTextAndDeviceName) {
  std::vector<MacroEntry> entries(3);
  entries[0] = {KeyEvent::Down, LayerColour::Green, "My_App", {{L"/hi", 0, 2, true}, {L"<Tab>", 2, 7, true}}, {}, -1};
  entries[1] = {KeyEvent::Up, LayerColour::Green, "My_App", {{L"/bye", 0, 3, true}}, {}, -1};
  entries[2] = {KeyEvent::Down, LayerColour::Red, "My_App", {{L"/red", 0, 3, true}}, {}, -1};
  EXPECT_EQ(GetKeyDownMacroText(entries, LayerColour::Green, "My App"), L"hi<Tab>\n-----\nbye");
  EXPECT_EQ(GetKeyDownMacroText(entries, LayerColour::Red, "My App"), L"red");
  EXPECT_EQ(GetKeyDownMacroText(entries, LayerColour::Red, "Pnr"), L"");
  EXPECT_EQ(GetDeviceDisplayName(context_), "Unknown Device");
}

}  // namespace
