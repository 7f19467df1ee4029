// Time to build the module of a generated-size device script: 128 keys with Key Down and Key Up
// functions for both colour layers and two program layers (1,024 key functions and their
// dispatch), through the preprocessor and the debug engine, on an engine with the program's
// whole script interface. Not a test; run by hand: module_build_bench [builds] (default 15).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "runtime/functions/device_functions.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/system_script_functions.h"
#include "runtime/script/debug_engine.h"
#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"
#include "runtime/service/device_module_build.h"

namespace {

std::string GeneratedScript() {
  const char* events[] = {"KeyDown", "KeyUp"};
  const char* colours[] = {"Green", "Red"};
  const char* layers[] = {"Default", "My_App"};
  std::string s = "uint8 QpadLEDs = 0;\r\nvoid QpadInit() {}\r\n";
  for (const char* e : events)
    for (int key = 0; key < 128; ++key)
      for (const char* c : colours)
        for (const char* l : layers) {
          char head[96];
          std::snprintf(head, sizeof head, "void %s_%d_%s_%s() {\r\n", e, key, c, l);
          s += head;
          s += "  //ORVX: \"key text\"\r\n  SendString(\"/key text\");\r\n}\r\n//fend\r\n";
        }
  for (const char* e : events) {
    s += std::string("void ") + e + "(uint8 scanCode) {\r\n  bool red = (QpadLEDs & 0x80) != 0;\r\n";
    s += "  switch (scanCode) {\r\n";
    for (int key = 0; key < 128; ++key) {
      char line[160];
      std::snprintf(line, sizeof line,
                    "    case %d: if (red) %s_%d_Red_Default(); else %s_%d_Green_Default(); break;\r\n",
                    key, e, key, e, key);
      s += line;
    }
    s += "  }\r\n}\r\n";
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  const int builds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const std::string script = GeneratedScript();
  std::unique_ptr<asCDebugScriptEngine> engine(asCreateDebugScriptEngine(20401, nullptr, nullptr));
  SystemCalls platform;
  ScriptRegistrar registrar(engine->Library());
  RegisterScriptTypes(registrar);
  RegisterDeviceFunctions(registrar, {platform});
  RegisterScriptFunctions(registrar, {platform});
  if (!registrar.Ok()) return 1;

  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  std::vector<double> ms;
  for (int i = 0; i < builds; ++i) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    const int r = BuildDeviceModule("Vid0a7cPid0019v0100Uid0001", script.data(), script.size(), *engine);
    QueryPerformanceCounter(&b);
    if (r != 0) {
      std::fprintf(stderr, "build failed: %d\n", r);
      return 1;
    }
    ms.push_back((b.QuadPart - a.QuadPart) * 1000.0 / freq.QuadPart);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("module of %zu bytes, 1,024 key functions: median build %.1f ms over %d builds (min %.1f, max %.1f)\n",
              script.size(), ms[ms.size() / 2], builds, ms.front(), ms.back());
  return 0;
}
