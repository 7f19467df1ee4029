// Latency of a key press through the real device thread: from a report queued in the
// simulation to the start of the device script's KeyDown, or (with --to-input) to the first
// input record that the KeyDown's one-key macro injects (the record is taken at the injection
// seam, so nothing is typed). Not a test; run by hand from build/bin:
// dispatch_latency_bench [reports] [--to-input], in either order (default 10000 reports).
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/script/script_registrar.h"
#include "runtime/service/device_thread.h"
#include "tests/runtime/device/sim_keypad.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

std::int64_t Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

std::int64_t stamped = 0;
HANDLE stampedEvent = nullptr;

void Stamp() {
  stamped = Now();
  SetEvent(stampedEvent);
}

// The first record of each press is the one that counts; none is sent.
bool recordSeen = false;
class StampFirstRecord : public SystemCalls {
 public:
  void InjectInput(const InputRecord&) override {
    if (!recordSeen) {
      recordSeen = true;
      Stamp();
    }
  }
};

// The program's side of the thread: the stamp for the scripts.
class StampingHost : public DeviceServiceHost {
 public:
  void RegisterMoreScriptFunctions(ScriptRegistrar& reg) override {
    reg.GlobalFunction("void Stamp()", asFUNCTION(Stamp), asCALL_CDECL);
  }
};

std::string ExeFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p = path;
  return p.substr(0, p.find_last_of('\\'));
}

}  // namespace

int main(int argc, char** argv) {
  // The flag in any position; the count is the argument that is not it.
  int reports = 10000;
  bool toInput = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--to-input")
      toInput = true;
    else if (std::atoi(argv[i]) > 0)
      reports = std::atoi(argv[i]);
  }
  SetEnvironmentVariableA("VHXHID_SIM", "dispatch-latency-bench");
  VhxSim* sim = VhxSimOpen("dispatch-latency-bench");
  if (!sim) return 1;
  VhxSimReset(sim);
  // The plain keypad has no keyboard report of its own: its macros go to input injection.
  const int productId = toInput ? 0x10 : 0x19;
  const int id = AddSimKeypad(sim, 1, productId);
  std::uint8_t report[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};

  ScratchDir dir("latency");
  const std::string type = toInput ? "QpadDevices\\Vid0a7cPid0010" : "QpadDevices\\Vid0a7cPid0019";
  const std::string from = EnvOr("ORVANE_BIN", ExeFolder()) + "\\" + type;
  MakeDirs(dir / type);
  for (const char* file : {"ReportConfig.txt", "DeviceDescription.txt"})
    CopyFileA((from + "\\" + file).c_str(), (dir / (type + "\\" + file)).c_str(), FALSE);
  WriteTextFile(dir / (type + "\\Script_1.oxs"),
                toInput ? "void KeyDown(int c) { SendString(\"/a\"); }\nvoid KeyUp(int c) { Stamp(); }\n"
                        : "void KeyDown(int c) { Stamp(); }\nvoid KeyUp(int c) { Stamp(); }\n");
  SystemCalls platform;
  StampFirstRecord stampCalls;
  InitProgramFolders("\"" + dir.path() + "\\Orvane.exe\"");

  stampedEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  StampingHost host;
  DeviceService service(host, toInput ? stampCalls : platform);
  if (!service.Start(nullptr, true) || !WaitUntil([] {
        const DeviceTableView table = GetDeviceTable();
        return table.size() == 1 && !table[0]->moduleName.empty();
      }, 15000)) {
    std::fprintf(stderr, "no keypad with a built script\n");
    return 1;
  }

  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  std::vector<double> micros;
  micros.reserve(reports);
  int result = 0;
  for (int i = 0; i < reports && result == 0; ++i) {
    for (std::uint8_t keys : {std::uint8_t{0x01}, std::uint8_t{0x00}}) {  // press, release
      report[1] = keys;
      recordSeen = false;
      const std::int64_t queued = Now();
      if (VhxSimQueueInput(sim, id, report, 9) != VHXSIM_OK ||
          WaitForSingleObject(stampedEvent, 5000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "no script call for report %d\n", i);
        result = 1;
        break;
      }
      if (keys) micros.push_back(static_cast<double>(stamped - queued) * 1e6 / freq.QuadPart);
    }
  }
  service.Stop();
  VhxSimReset(sim);
  VhxSimClose(sim);
  if (micros.empty()) return 1;
  std::sort(micros.begin(), micros.end());
  auto at = [&](double q) {
    return micros[std::min(micros.size() - 1, static_cast<std::size_t>(q * micros.size()))];
  };
  std::printf("key presses %zu, queued to %s: median %.1f us, 99th %.1f us, max %.1f us\n",
              micros.size(), toInput ? "first injected record" : "KeyDown", at(0.5), at(0.99), micros.back());
  return result;
}
