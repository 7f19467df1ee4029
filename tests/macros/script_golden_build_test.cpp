// Every golden script file builds with the program's engine set-up: preprocessor with its
// includes and pragmas, and every registered function.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/memory_file_access.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/script_build.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

TEST(GoldenScripts, EveryOneBuilds) {
  ScriptBuild build;
  ASSERT_TRUE(build.Registered());
  MemoryFileAccess files;
  for (const char* command : {"C:\\Orvane\\Custom Commands\\Tools\\Open Mail.oxc", "C:\\Orvane\\Custom Commands\\Beep.oxc"})
    files.Put(command, "void RUN_CUSTOM_COMMAND___CMD_ID__()\r\n{\r\n\tSendString(\"/cc\");\r\n}\r\n");
  for (const GoldenLayout& layout : GoldenLayouts()) {
    std::string text;
    ASSERT_TRUE(ReadTextFile(EnvOr("ORVANE_TEST_DATA") + "\\macros\\" + layout.name + ".oxs", text)) << layout.name;
    const ScriptBuild::Result r = build.Build(text, "C:\\Orvane\\QpadDevices\\Vid0a7cPid0019", &files);
    EXPECT_TRUE(r.Ok()) << layout.name << "\n" << r.messages;
    EXPECT_EQ(r.messages.find("Warning"), std::string::npos) << layout.name << "\n" << r.messages;
  }
}

// Layouts that a user or a hand-edited file can make and that the plain rules would not build.
TEST(GoldenScripts, HardLayoutsBuild) {
  ScriptBuild build;
  MacroContext c;
  FakeDevice device;
  LedKeypad(device);
  c.layerNames = {"notepad++", "Say \"hi\", ok", "7zip", "Gone"};
  c.layerPrograms = {"notepad++.exe", "C:\\say \"it\".exe", "7z.exe", "gone.exe"};
  c.toggleKeys = {5};
  c.keyCaps.push_back({kDoubleWideCap, 8, {16, 17}, 0, 0, 120, 60});
  Program(c, 16, KeyEvent::Down, LayerColour::Green, "notepad++", {{L"/own", L""}});
  Program(c, 8, KeyEvent::Down, LayerColour::Green, "notepad++", {{L"/cap", L""}});
  Program(c, 16, KeyEvent::Down, LayerColour::Red, "Say \"hi\", ok", {{L"/quoted", L""}});
  Program(c, 1, KeyEvent::Down, LayerColour::Green, "7zip", {{L"/seven", L""}});
  Program(c, 2, KeyEvent::Down, LayerColour::Green, "Gone", {{L"/gone", L""}});
  c.layerNames.pop_back();
  c.layerPrograms.pop_back();
  // Functions only a hand-edited file has: any colour layer, and an empty body.
  AddKeyFunction(c.functions, 3, KeyEvent::Down, LayerColour::Any, "Pni", "{\n\n//ORVX: \"/any\"\nSendString(\"/any\");\n\n}");
  AddKeyFunction(c.functions, 4, KeyEvent::Up, LayerColour::Any, "Pnr", "{\n\n//ORVX: \"/up\"\nSendString(\"/up\");\n\n}");
  AddKeyFunction(c.functions, 9, KeyEvent::Down, LayerColour::Green, "Pnr", "");
  const ScriptBuild::Result r = build.Build(GenerateScriptText(c, device.Settings(), std::nullopt));
  EXPECT_TRUE(r.Ok()) << r.messages << GenerateScriptText(c, device.Settings(), std::nullopt);
}

}  // namespace
