// Files dropped onto a key become "[Open: ...]" steps of its Key Down macro in the layer shown.
#include <gtest/gtest.h>

#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"
#include "ui/programming_window/dropped_files.h"

namespace {

MacroContext& Keypad(MacroContext& c) {
  for (int id : {5, 6}) {
    KeyRecord k;
    k.keyId = static_cast<std::uint8_t>(id);
    k.key = {0, 0, 40, 40};
    c.keys.push_back(k);
  }
  return c;
}

TEST(DroppedFiles, StepTextAndItsScriptLine) {
  const auto step = OpenFileStepFor(L"C:\\My Files\\say \"hi\".txt");
  ASSERT_TRUE(step);
  EXPECT_EQ(step->text, L"[Open: say \"hi\".txt]");
  EXPECT_EQ(step->code, L"\tShellExecute(0,\"Open\",\"C:\\\\My Files\\\\say \\\"hi\\\".txt\",\"\",\"\",1);\n");
  // A name the script's narrow text cannot carry would open another file: no step.
  EXPECT_FALSE(OpenFileStepFor(L"C:\\\u4e2d\u6587.txt"));
  EXPECT_FALSE(OpenFileStepFor(L""));
  EXPECT_TRUE(IsShortcutPath(L"C:\\Desktop\\Notes.LNK"));
  EXPECT_FALSE(IsShortcutPath(L"C:\\Desktop\\lnk"));
}

TEST(DroppedFiles, TwoFilesBecomeTwoStepsOfTheLayerShown) {
  MacroContext c;
  Keypad(c);
  c.layerNames = {"My App"};
  c.programLayer = 2;
  ASSERT_TRUE(AddDroppedFiles(c, 1, true, {L"C:\\a\\one.txt", L"C:\\b\\two.exe"}));
  ASSERT_EQ(c.keys[1].entries.size(), 1u);
  const MacroEntry& entry = c.keys[1].entries[0];
  EXPECT_EQ(entry.event, KeyEvent::Down);
  EXPECT_EQ(entry.colour, LayerColour::Red);
  EXPECT_EQ(entry.program, "My_App");
  ASSERT_EQ(entry.steps.size(), 2u);
  EXPECT_EQ(entry.steps[0].text, L"[Open: one.txt]");
  EXPECT_EQ(entry.steps[1].text, L"[Open: two.exe]");
  const int f = FindKeyFunction(c.functions, 6, KeyEvent::Down, LayerColour::Red, "My_App");
  ASSERT_GE(f, 0);
  const std::string& body = c.functions.items[f].body;
  EXPECT_NE(body.find("ShellExecute(0,\"Open\",\"C:\\\\a\\\\one.txt\",\"\",\"\",1);"), std::string::npos) << body;
  EXPECT_NE(body.find("two.exe"), std::string::npos);
  EXPECT_EQ(c.functions.count(), 1);

  // A later drop adds to the same function.
  ASSERT_TRUE(AddDroppedFiles(c, 1, true, {L"C:\\c\\three.doc"}));
  EXPECT_EQ(c.functions.count(), 1);
  EXPECT_NE(c.functions.items[0].body.find("three.doc"), std::string::npos);
}

TEST(DroppedFiles, ToggleAndShiftKeysAndUnusablePathsTakeNothing) {
  MacroContext c;
  Keypad(c);
  c.toggleKeys.insert(5);
  c.shiftKeys.insert(6);
  EXPECT_FALSE(AddDroppedFiles(c, 0, false, {L"C:\\a.txt"}));
  EXPECT_FALSE(AddDroppedFiles(c, 1, false, {L"C:\\a.txt"}));
  EXPECT_EQ(c.functions.count(), 0);
  c.toggleKeys.clear();
  EXPECT_FALSE(AddDroppedFiles(c, 0, false, {L"C:\\\u4e2d.txt"}));
  EXPECT_FALSE(AddDroppedFiles(c, 7, false, {L"C:\\a.txt"}));
  EXPECT_EQ(c.functions.count(), 0);
}

}  // namespace
