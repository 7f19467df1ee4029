// The backup file of a removed program layer: its name, its text, and reading it back.
#include "ui/layers/layer_backup.h"

#include <gtest/gtest.h>

#include "macros/model/custom_commands.h"
#include "macros/model/key_functions.h"
#include "tests/macros/model/golden_layouts.h"

using namespace testsupport;

namespace {

ClockTime Day(int year, int month, int day) {
  ClockTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  return t;
}

TEST(LayerBackup, FileNameOfTheLayerAndTheDay) {
  EXPECT_EQ(LayerBackupFileName("Word", Day(2024, 3, 5)), "Word 03-05-2024.oxs");
  EXPECT_EQ(LayerBackupFileName("My App", Day(2031, 12, 24), 2), "My App 12-24-2031 (2).oxs");
  // Names from the table of friendly names may hold what a file name cannot.
  EXPECT_EQ(LayerBackupFileName("A/B\\C:D*E?F\"G<H>I|J", Day(2024, 1, 9)), "A_B_C_D_E_F_G_H_I_J 01-09-2024.oxs");
  EXPECT_EQ(LayerBackupFileName("100% \xe9t\xe9", Day(2024, 1, 9)), "100% \xe9t\xe9 01-09-2024.oxs");
}

TEST(LayerBackup, TextHoldsTheHeaderAndEachFunction) {
  std::vector<KeyFunction> functions(2);
  functions[0].scan = 7;
  functions[0].event = KeyEvent::Down;
  functions[0].colour = LayerColour::Red;
  functions[0].program = "My_App";
  functions[0].body = "{\n//ORVX: \"/x\"\nSendString(\"/x\");\n}";
  functions[1] = functions[0];
  functions[1].event = KeyEvent::Up;
  functions[1].colour = LayerColour::Green;
  EXPECT_EQ(LayerBackupText("My App", "app.exe", functions),
            "//NAME: My App\n//EXE: app.exe\n"
            "\n//fstart\nvoid KeyDown_7_Red_My_App()\n{\n//ORVX: \"/x\"\nSendString(\"/x\");\n}\n//fend\n"
            "\n//fstart\nvoid KeyUp_7_Green_My_App()\n{\n//ORVX: \"/x\"\nSendString(\"/x\");\n}\n//fend\n");
}

TEST(LayerBackup, ReadsBackWhatWasWritten) {
  MacroContext c;
  Program(c, 5, KeyEvent::Down, LayerColour::Green, "100% Sure", {{L"/50% off", L""}, {L"<Return>", L""}});
  Program(c, 5, KeyEvent::Up, LayerColour::Red, "100% Sure", {{L"/caf\u00e9", L""}});
  const std::string text = ToCrLf(LayerBackupText("100% Sure", "sure%d.exe", c.functions.items));
  const LayerBackup backup = ReadLayerBackup(text);
  EXPECT_EQ(backup.layer, "100% Sure");
  EXPECT_EQ(backup.exe, "sure%d.exe");
  ASSERT_EQ(backup.functions.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(backup.functions[i].scan, c.functions.items[i].scan);
    EXPECT_EQ(backup.functions[i].event, c.functions.items[i].event);
    EXPECT_EQ(backup.functions[i].colour, c.functions.items[i].colour);
    EXPECT_EQ(backup.functions[i].program, "100__Sure");
    EXPECT_EQ(backup.functions[i].body, c.functions.items[i].body);
  }
}

TEST(LayerBackup, BodiesOfAnyEndingReadBackWhole) {
  // A script edited by hand may end a body otherwise than with its closing brace (the reader
  // then ends it with the line end of its last line).
  for (const char* body : {"{\n//ORVX: \"a\"\n}", "{\n//ORVX: \"a\"\nx\n", "{\n//ORVX: \"a\"\n\n"}) {
    KeyFunction f;
    f.scan = 1;
    f.event = KeyEvent::Down;
    f.colour = LayerColour::Green;
    f.program = "Word";
    f.body = body;
    const LayerBackup backup = ReadLayerBackup(LayerBackupText("Word", "w.exe", {f}));
    ASSERT_EQ(backup.functions.size(), 1u) << body;
    EXPECT_EQ(backup.functions[0].body, body);
  }
}

TEST(LayerBackup, HeaderLinesOnlyAtTheirPlace) {
  // A macro that types "//NAME: x" is no header; a header without its blank still is one.
  const std::string text =
      "//NAME:Word\n//EXE:winword.exe\n\n//fstart\nvoid KeyDown_1_Green_Word()\n{\n"
      "//ORVX: \"///NAME: x\"\nSendString(\"///NAME: x\");\n}\n//fend\n";
  const LayerBackup backup = ReadLayerBackup(text);
  EXPECT_EQ(backup.layer, "Word");
  EXPECT_EQ(backup.exe, "winword.exe");
  ASSERT_EQ(backup.functions.size(), 1u);
  EXPECT_NE(backup.functions[0].body.find("///NAME: x"), std::string::npos);
  // Marker sections of a script are no functions of the layer.
  EXPECT_TRUE(ReadLayerBackup("//NAME: x\n//ORVX: Toggle Keys\n//5\n//ORVX: End\n").functions.empty());
  // No header at all: no layer.
  EXPECT_EQ(ReadLayerBackup("just text\n").layer, "");
  EXPECT_TRUE(ReadLayerBackup("").functions.empty());
}

TEST(LayerBackup, RecoveredCustomCommandsGetFreeIds) {
  // The layer was backed up with its command as id 1; since then id 1 went to another key.
  MacroContext old;
  old.customCommandSteps = {"[CC: Tools\\Mail]"};
  Program(old, 3, KeyEvent::Down, LayerColour::Green, "Word", {{L"[CC: Tools\\Mail]", L""}});
  Program(old, 4, KeyEvent::Down, LayerColour::Green, "Word", {{L"/w", L""}});
  ASSERT_EQ(CustomCommandIdsOf(old.functions.items), std::vector<int>{1});
  const LayerBackup backup = ReadLayerBackup(LayerBackupText("Word", "winword.exe", old.functions.items));

  MacroContext c;
  c.customCommandSteps = {"[CC: Beep]"};
  Program(c, 9, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"[CC: Beep]", L""}});
  Program(c, 4, KeyEvent::Down, LayerColour::Green, "Word", {{L"/kept", L""}});  // the layout's own stays
  ASSERT_EQ(c.includes, (std::map<int, std::string>{{1, "Beep.oxc"}}));
  EXPECT_EQ(AdoptLayerFunctions(c, "Word", backup.functions), 1);
  EXPECT_EQ(c.customCommandCount, 2);
  EXPECT_EQ(c.includes, (std::map<int, std::string>{{1, "Beep.oxc"}, {2, "Tools\\Mail.oxc"}}));
  const int mail = FindKeyFunction(c.functions, 3, KeyEvent::Down, LayerColour::Green, "Word");
  ASSERT_GE(mail, 0);
  EXPECT_NE(c.functions.items[mail].body.find("#define __CMD_ID__ 2\n"), std::string::npos)
      << c.functions.items[mail].body;
  EXPECT_EQ(c.functions.items[mail].body.find("__CMD_ID__ 1"), std::string::npos);
  const int kept = FindKeyFunction(c.functions, 4, KeyEvent::Down, LayerColour::Green, "Word");
  EXPECT_NE(c.functions.items[kept].body.find("/kept"), std::string::npos);
  // Functions of other layers in the file are not the layer's.
  EXPECT_EQ(AdoptLayerFunctions(c, "Excel", backup.functions), 0);
}

}  // namespace
