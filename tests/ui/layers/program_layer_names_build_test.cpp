// Program layers of every name a user or the table of friendly names can give keep the
// generated script building with the program's whole script interface, and come back from it.
#include <gtest/gtest.h>

#include "macros/model/layer_names.h"
#include "macros/model/script_reader.h"
#include "macros/model/script_writer.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/script_build.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/ui/layers/layer_test_support.h"
#include "ui/layers/program_layers.h"

using namespace testsupport;

namespace {

struct Name {
  const char* layer;
  const char* exe;
};
const Name kNames[] = {
    {"My App", "my app.exe"},
    {"Notepad++", "notepad++.exe"},
    {"Say \"hi\"", "say.exe"},
    {"Smith, Jones", "smith, jones.exe"},
    {"Caf\xe9", "caf\xe9.exe"},
    {"\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9.exe"},
    {"Word 2010 (x86)", "winword.exe"},
    {"a.b", "a.b.exe"},
    {"back\\slash", "back.exe"},
    {"100% %s%d", "%n.exe"},
    {"tab\there", "tab\t.exe"},
    {"A//B */ /*", "ab.exe"},
    {"My-Tool", "my-tool.exe"},
    {"0 Start", "0start.exe"},
    {"_", "_.exe"},
    {"It's {x} [y] <z> & 'q'", "it's.exe"},
    {"Pnr2", "pnr2.exe"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvw", "long.exe"},
};

TEST(ProgramLayerNames, EveryKindOfNameBuildsAndReadsBack) {
  ScriptBuild build;
  ASSERT_TRUE(build.Registered());
  RecordedSystemCalls calls;
  MemoryFileAccess files;
  FakeDevice device;
  LedKeypad(device);
  // Each name alone, and then all of them in one layout.
  MacroContext all;
  all.device = &device;
  all.files = &files;
  MenuLayerHost allHost;
  ProgramLayers allLayers(calls, all, allHost);
  int key = 0;
  for (const Name& n : kNames) {
    MacroContext c;
    c.device = &device;
    c.files = &files;
    MenuLayerHost host;
    ProgramLayers layers(calls, c, host);
    ASSERT_EQ(layers.BuildLayerMenu(n.layer, n.exe), LayerRefusal::None) << n.layer;
    ASSERT_EQ(allLayers.BuildLayerMenu(n.layer, n.exe), LayerRefusal::None) << n.layer;
    const std::string name = c.layerNames.back();
    Program(c, 5, KeyEvent::Down, LayerColour::Green, name.c_str(), {{L"/in the layer", L""}});
    Program(c, 5, KeyEvent::Up, LayerColour::Red, name.c_str(), {{L"/up", L""}});
    Program(c, 5, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/default", L""}});
    Program(all, ++key, KeyEvent::Down, LayerColour::Green, name.c_str(), {{L"/x", L""}});

    const std::string text = GenerateScriptText(c, device.Settings(), std::nullopt);
    const ScriptBuild::Result r = build.Build(text);
    EXPECT_TRUE(r.Ok()) << n.layer << "\n" << r.messages << text;
    // A warning would mean a literal the compiler read otherwise than it stands.
    EXPECT_EQ(r.messages.find("Warning"), std::string::npos) << n.layer << "\n" << r.messages;

    MacroContext read;
    ReadScriptText(read, text, DeviceEffects::None);
    ASSERT_EQ(read.layerMap.size(), 1u) << n.layer;
    EXPECT_EQ(CompareNames(read.layerMap.begin()->first, name), 0) << n.layer;
    EXPECT_EQ(read.layerMap.begin()->second, n.exe) << n.layer;
    EXPECT_GE(FindKeyFunction(read.functions, 5, KeyEvent::Up, LayerColour::Red, LayerToken(name)), 0) << n.layer;
    // Read back into a layout with its layers, it writes the same script again.
    read.layerNames = {read.layerMap.begin()->first};
    read.layerPrograms = {read.layerMap.begin()->second};
    EXPECT_EQ(GenerateScriptText(read, device.Settings(), std::nullopt), text) << n.layer;
  }
  const std::string text = GenerateScriptText(all, device.Settings(), std::nullopt);
  const ScriptBuild::Result r = build.Build(text);
  EXPECT_TRUE(r.Ok()) << r.messages << text;
  EXPECT_EQ(r.messages.find("Warning"), std::string::npos) << r.messages;
  MacroContext read;
  ReadScriptText(read, text, DeviceEffects::None);
  EXPECT_EQ(read.layerMap.size(), std::size(kNames));
}

}  // namespace
