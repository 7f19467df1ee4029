// Time to write the script file of a full layout, and to write and build it: 64 keys with Key
// Down and Key Up macros for both colour layers, in the default layer and three program layers
// (1,024 key functions), written through the atomic file write and built with the program's
// engine set-up. Not a test; run by hand: script_writer_bench [runs] (default 40).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/macros/program_macro_platform.h"
#include "macros/model/script_writer.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/script_build.h"
#include "tests/support/bench_timing.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
  UseProgramMacroPlatform();
  ScratchDir dir("writerbench");
  FakeDevice device;
  LedKeypad(device);
  device.scriptFolder = dir.path();
  MacroContext c;
  c.device = &device;
  for (const char* layer : {"Word", "Excel", "My App"}) AddLayer(c, layer, "x.exe");
  for (int key = 0; key < 64; ++key)
    for (KeyEvent event : {KeyEvent::Down, KeyEvent::Up})
      for (LayerColour colour : {LayerColour::Green, LayerColour::Red})
        for (const char* layer : {"Pnr", "Word", "Excel", "My App"})
          Program(c, key, event, colour, layer, {{L"/key " + std::to_wstring(key) + L" text", L""}, {L"<Return>", L""}});
  std::printf("%d key functions\n", c.functions.count());

  const std::string path = dir / "Script_1.oxs";
  ScriptBuild build;
  std::vector<double> write, writeAndBuild;
  for (int i = 0; i < runs; ++i) {
    const double a = NowMs();
    if (!WriteScriptFile(c, path)) return 1;
    const double b = NowMs();
    std::string text;
    ReadTextFile(path, text);
    const ScriptBuild::Result r = build.Build(text, dir.path());
    const double d = NowMs();
    if (!r.Ok()) {
      std::fprintf(stderr, "build failed:\n%s\n", r.messages.c_str());
      return 1;
    }
    write.push_back(b - a);
    writeAndBuild.push_back(d - a);
  }
  std::string text;
  ReadTextFile(path, text);
  std::printf("script of %zu bytes\n", text.size());
  ReportTimes("write", write);
  ReportTimes("write and build", writeAndBuild);
  return 0;
}
