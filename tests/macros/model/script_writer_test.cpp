#include "macros/model/script_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/base/memory_file_access.h"
#include "tests/macros/model/golden_layouts.h"

using namespace testsupport;

namespace {

std::string GoldenPath(const std::string& name) {
  const char* data = std::getenv("ORVANE_TEST_DATA");
  return std::string(data ? data : ".") + "\\macros\\" + name + ".oxs";
}

bool ReadFile(const std::string& path, std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char chunk[4096];
  std::size_t n;
  bytes.clear();
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
  std::fclose(f);
  return true;
}

// A golden layout written through the model into memory files.
struct Written {
  MemoryFileAccess files;
  FakeDevice device;
  MacroContext context;
  std::string path;
  std::string bytes;
  bool ok = false;

  explicit Written(const GoldenLayout& layout) {
    layout.make(context, device);
    context.device = &device;
    context.files = &files;
    if (device.files.count(kDeviceSpecificFileName))
      files.Put(device.ScriptFolder() + "\\" + kDeviceSpecificFileName, device.files[kDeviceSpecificFileName]);
    path = device.ScriptPath();
    ok = WriteScriptFile(context, path);
    if (const std::string* b = files.Get(path)) bytes = *b;
  }
};

TEST(ScriptWriter, GoldenFiles) {
  const bool update = std::getenv("ORVANE_UPDATE_GOLDEN") != nullptr;
  for (const GoldenLayout& layout : GoldenLayouts()) {
    SCOPED_TRACE(layout.name);
    Written w(layout);
    ASSERT_TRUE(w.ok);
    if (update) {
      std::FILE* f = std::fopen(GoldenPath(layout.name).c_str(), "wb");
      ASSERT_NE(f, nullptr);
      std::fwrite(w.bytes.data(), 1, w.bytes.size(), f);
      std::fclose(f);
    }
    std::string golden;
    ASSERT_TRUE(ReadFile(GoldenPath(layout.name), golden));
    EXPECT_EQ(w.bytes, golden);
    // Text mode: every line feed is CR LF, and nothing follows the last brace.
    EXPECT_EQ(ToCrLf(FromCrLf(w.bytes)), w.bytes);
    EXPECT_EQ(FromCrLf(w.bytes).find('\r'), std::string::npos);
    EXPECT_TRUE(w.bytes.ends_with("\treturn(-1);\r\n}"));
    // The write leaves the context as it was, and a second write gives the same text.
    const std::vector<KeyFunction> before = w.context.functions.items;
    ASSERT_TRUE(WriteScriptFile(w.context, w.path));
    EXPECT_EQ(*w.files.Get(w.path), w.bytes);
    EXPECT_EQ(w.context.functions.items, before);
  }
}

std::string Text(MacroContext& c, const DeviceScriptSettings& s = {}) {
  return GenerateScriptText(c, s, std::nullopt);
}

TEST(ScriptWriter, AContextWithoutFunctionsWritesNoDispatchOrFunctions) {
  MacroContext c;
  const std::string text = Text(c);
  EXPECT_EQ(text,
            "bits8 QpadLEDs = 0x40;\nint curScanCode;\nint ledLayer = 0;\n\nvoid QpadInit()\n{\n}\n\n\n"
            "//ORVX: Toggle Keys\n//ORVX: End\n//ORVX: Shift Keys\n//ORVX: End\n"
            "void ToggleLedLayer()\n{\n\tQpadLEDs ^= 0xc0;\n\tledLayer = ((QpadLEDs&0x80) == 0)?0:1;\n"
            "\tSendOutputReport(\"setLEDs\");\n}\n\n"
            "string currentProgramName;\n\nint GetCurrentProgramLayer()\n{\n\tcurrentProgramName = \"Pnr\";\n"
            "\treturn(-1);\n}");
}

TEST(ScriptWriter, DeviceSpecificIsCopiedOnlyAfterFunctionsWithBodies) {
  const struct {
    const char* what;
    std::function<void(MacroContext&)> make;
    bool copied;
  } cases[] = {
      {"nothing", [](MacroContext&) {}, false},
      {"toggle keys only", [](MacroContext& c) { c.toggleKeys = {5}; }, false},
      // The placeholders a read leaves for toggle keys: the same layout, the same file.
      {"placeholders only",
       [](MacroContext& c) {
         c.toggleKeys = {5};
         AddKeyFunction(c.functions, 5, KeyEvent::Down, LayerColour::Green, "Pni", "");
         AddKeyFunction(c.functions, 5, KeyEvent::Down, LayerColour::Red, "Pni", "");
       },
       false},
      {"a function", [](MacroContext& c) { AddKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n}"); }, true},
  };
  for (const auto& k : cases) {
    MemoryFileAccess files;
    FakeDevice device;
    files.Put(device.ScriptFolder() + "\\Device Specific.oxs", "// mine\r\n");
    MacroContext c;
    c.device = &device;
    c.files = &files;
    k.make(c);
    ASSERT_TRUE(WriteScriptFile(c, "C:\\s\\Script_1.oxs")) << k.what;
    const std::string text = *files.Get("C:\\s\\Script_1.oxs");
    EXPECT_EQ(text.find("/******BEGINNING OF DEVICE SPECIFIC******/\r\n\r\n\r\n// mine\r\n\r\n") != std::string::npos,
              k.copied)
        << k.what;
    if (std::string(k.what) == "placeholders only") {
      MacroContext plain;
      plain.device = &device;
      plain.files = &files;
      plain.toggleKeys = {5};
      ASSERT_TRUE(WriteScriptFile(plain, "C:\\s\\Other.oxs"));
      EXPECT_EQ(*files.Get("C:\\s\\Other.oxs"), text);
    }
  }
}

TEST(ScriptWriter, OnlyTheSharedScriptOfADeviceTypeIsRefused) {
  MemoryFileAccess files;
  MacroContext c;
  c.files = &files;
  for (const char* refused : {"C:\\Dev\\Script.oxs", "C:\\Dev\\SCRIPT.OXS", "script.oxs", "C:/x/Script.oxs"})
    EXPECT_FALSE(WriteScriptFile(c, refused)) << refused;
  for (const char* written : {"C:\\Dev\\MyScript.oxs", "C:\\Keypad Script.oxs", "C:\\Dev\\Script.oxs.bak",
                              "C:\\Script.oxs\\Script_1.oxs"})
    EXPECT_TRUE(WriteScriptFile(c, written)) << written;
  EXPECT_EQ(files.WriteLog().size(), 4u);
  files.MakeReadOnly("C:\\Dev\\MyScript.oxs");
  EXPECT_FALSE(WriteScriptFile(c, "C:\\Dev\\MyScript.oxs"));
}

TEST(ScriptWriter, AWriteRebuildsTheKeysEntries) {
  MemoryFileAccess files;
  MacroContext c;
  c.files = &files;
  KeyRecord key;
  key.keyId = 1;
  c.keys.push_back(key);
  AddKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n\n//ORVX: \"<F5>\"\nSendString(\"<F5>\");\n\n}");
  ASSERT_TRUE(WriteScriptFile(c, "C:\\s\\Script_1.oxs"));
  ASSERT_EQ(c.keys[0].entries.size(), 1u);
  EXPECT_EQ(c.keys[0].entries[0].steps[0].text, L"<F5>");
}

TEST(ScriptWriter, ColourCasesAreFixed) {
  MacroContext red;
  AddKeyFunction(red.functions, 4, KeyEvent::Down, LayerColour::Red, "Pnr", "{\n}");
  const std::string text = Text(red);
  EXPECT_NE(text.find("\tcase 1:\n\t\tKeyDownRed(scanCode);"), std::string::npos) << text;
  EXPECT_EQ(text.find("\tcase 0:\n\t\tKeyDownRed"), std::string::npos);
  // Only Key Down functions: an empty Key Up dispatcher.
  EXPECT_NE(text.find("\nvoid KeyUp(int scanCode)\n{\n}\n\n"), std::string::npos);
}

TEST(ScriptWriter, EmptyBodiesAreNeverWrittenAsFunctions) {
  MacroContext c;
  AddKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Pnr", "");
  AddKeyFunction(c.functions, 2, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n}");
  const std::string text = Text(c);
  EXPECT_EQ(text.find("KeyDown_1_"), std::string::npos) << text;
  EXPECT_NE(text.find("//fstart\nvoid KeyDown_2_Green_Pnr()\n{\n}//fend\n"), std::string::npos);
}

TEST(ScriptWriter, LayerNamesBecomeOneTokenAndLiteralsAreEscaped) {
  MacroContext c;
  c.layerNames = {"Say \"hi\", ok", "My App", "Gone Layer"};
  c.layerPrograms = {"C:\\Apps\\say \"it\".exe", "app.exe", "gone.exe"};
  c.layerNames.pop_back();
  c.layerPrograms.pop_back();
  AddKeyFunction(c.functions, 3, KeyEvent::Down, LayerColour::Green, LayerToken("Say \"hi\", ok"), "{\n}");
  AddKeyFunction(c.functions, 4, KeyEvent::Down, LayerColour::Green, "My_App", "{\n}");
  AddKeyFunction(c.functions, 5, KeyEvent::Down, LayerColour::Green, "Gone_Layer", "{\n}");  // its layer was removed
  const std::string text = Text(c);
  EXPECT_NE(text.find("\t//ORVX:Layer My App,app.exe\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\t//ORVX:Layer Say \"hi\"  ok,C:\\Apps\\say \"it\".exe\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\tif(\"C:\\\\Apps\\\\say \\\"it\\\".exe\" == exeName)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\t\tcurrentProgramName = \"Say__hi___ok\";\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n\tcase 0://My_App\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n\tcase 1://Say__hi___ok\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("//Gone_Layer"), std::string::npos) << text;
  EXPECT_NE(text.find("void KeyDown_3_Green_Say__hi___ok()"), std::string::npos);
}

TEST(ScriptWriter, KeyCapGuardsAreWrittenOnceAndCapsWinTheirKeys) {
  MacroContext c;
  c.keyCaps.push_back({kDoubleWideCap, 60, {3, 4}, 0, 0, 120, 60});
  AddKeyFunction(c.functions, 3, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n//ORVX: \"/three\"\n}");
  AddKeyFunction(c.functions, 60, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n\n//ORVX: \"/cap\"\nSendString(\"/cap\");\n\n}");
  const std::string text = Text(c);
  const std::string guard = "{\nif(curScanCode != 3) DisableKey(3);\nif(curScanCode != 4) DisableKey(4);\n\n\n//ORVX:";
  EXPECT_NE(text.find("void KeyDown_60_Green_Pnr()\n" + guard), std::string::npos) << text;
  EXPECT_NE(text.find("void KeyUp_60_Green_Pnr()\n{\nEnableKey(3);\nEnableKey(4);\n\n\n\n}//fend"),
            std::string::npos)
      << text;
  // Key 3 has a function of its own, but the cap covers it: one case, the cap's.
  EXPECT_NE(text.find("\t\tcase 3:\n\t\t\tKeyDown_60_Green_Pnr();\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("\t\tcase 3:\n\t\t\tKeyDown_3_Green_Pnr();"), std::string::npos) << text;
  EXPECT_NE(text.find("\t\tcase 4:\n\t\t\tKeyDown_60_Green_Pnr();\n\t\t\tbreak;\n\t\tcase 60:\n"), std::string::npos);
  // A body that already holds the guards (as one read back does) gets them once.
  const std::size_t start = text.find("void KeyDown_60_Green_Pnr()\n") + 28;
  const std::string written = text.substr(start, text.find("//fend", start) - start);
  c.functions.items[1].body = written;
  EXPECT_EQ(Text(c), text);
  // Two caps with one id: no guards.
  c.keyCaps.push_back({kDoubleTallCap, 60, {5, 6}, 0, 0, 60, 120});
  c.functions.items[1].body = "{\n\n//ORVX: \"/cap\"\nSendString(\"/cap\");\n\n}";
  EXPECT_EQ(Text(c).find("DisableKey(3)"), std::string::npos);
}

TEST(ScriptWriter, ToggleAndShiftKeysInEveryLayerDispatcher) {
  MacroContext c;
  c.toggleKeys = {5};
  c.layerNames = {"Word"};
  c.layerPrograms = {"WINWORD.EXE"};
  AddKeyFunction(c.functions, 1, KeyEvent::Down, LayerColour::Green, "Word", "{\n}");
  const std::string text = Text(c);
  for (const char* name : {"KeyDown_5_Green_Pni", "KeyUp_5_Green_Pni", "KeyDown_5_Red_Pni", "KeyUp_5_Red_Pni"})
    EXPECT_NE(text.find(std::string("//fstart\nvoid ") + name + "()\n"), std::string::npos) << name;
  EXPECT_LT(text.find("void KeyDown_5_Green_Pni"), text.find("void KeyUp_5_Red_Pni"));
  EXPECT_NE(text.find("void KeyDown_5_Green_Pni()\n\n{\n\tToggleLedLayer();\n}\n//fend"), std::string::npos);
  EXPECT_NE(text.find("void KeyUp_5_Green_Pni()\n{\n\n\n}//fend"), std::string::npos);
  EXPECT_NE(text.find("void KeyDownGreen(int scanCode)\n{\n\n\tbool done = true;\n\tswitch(GetCurrentProgramLayer())\n\t{\n\n"
                      "\n\tcase 0://Word\n\t\tswitch(scanCode)\n\t\t{\n\t\tcase 1:\n\t\t\tKeyDown_1_Green_Word();\n\t\t\tbreak;\n"
                      "\t\tcase 5:\n\t\t\tKeyDown_5_Green_Pni();\n\t\t\tbreak;\n\t\tdefault:\n\t\t\tdone = false;\n\t\t\tbreak;\n"
                      "\t\t}\n\t\tbreak;\n\tcase -99://DO NOT DELETE THIS CASE\n\t\tbreak;\n\n\tdefault:\n\t\tdone = false;\n"
                      "\t\tbreak;\n\n\t}\n\tif(!done)\n\t{\n\t\tswitch(scanCode)\n\t\t{\n\t\tcase 5:\n\t\t\tKeyDown_5_Green_Pni();\n"
                      "\t\t\tbreak;\n\t\t}\n\t}\n}\n\n\n"),
            std::string::npos)
      << text;
  // Releasing key 1 in the Word layer does nothing rather than falling through.
  EXPECT_NE(text.find("\t\tcase 1:\n\t\t\t;\n\t\t\tbreak;\n"), std::string::npos) << text;
}

}  // namespace
