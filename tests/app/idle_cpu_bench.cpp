// How much processor time an idle Orvane.exe takes with two simulated keypads attached.
// Not a test: tools/bench-idle-cpu runs it. Wine gives no times for another process, so the
// figure printed here may read 0; that script also reads the Unix side's accounting of the
// process started here, whose path the first line of output gives.
// Usage: idle_cpu_bench [seconds]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window.h"
#include "app/resource.h"
#include "tests/runtime/device/sim_keypad.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {
double Seconds(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return v.QuadPart / 1e7;
}
}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  SetEnvironmentVariableA("VHXHID_SIM", "idle-cpu-bench");
  VhxSim* sim = VhxSimOpen("idle-cpu-bench");
  if (!sim) return 1;
  VhxSimReset(sim);
  for (int unit = 1; unit <= 2; ++unit) AddSimKeypad(sim, unit);

  ScratchDir dir("idle");
  const std::string bin = EnvOr("ORVANE_BIN", ".");
  CopyFileA((bin + "\\Orvane.exe").c_str(), (dir / "Orvane.exe").c_str(), FALSE);
  CopyFileA((bin + "\\VHXHID.dll").c_str(), (dir / "VHXHID.dll").c_str(), FALSE);
  // Without the device folders the keypads are no devices of the program's, and it idles in
  // its no-device round instead.
  if (!CopyTree(bin + "\\QpadDevices", dir / "QpadDevices")) return 1;
  ChildProcess p;
  const std::string program = dir.path() + "\\Orvane.exe";
  if (!p.Start("\"" + program + "\"", dir.path())) return 1;
  // tools/bench-idle-cpu finds the process by this path.
  std::printf("program: %s\n", program.c_str());
  std::fflush(stdout);
  Sleep(3000);  // start-up and the first build cycle

  FILETIME created, ended, kernel0, user0, kernel1, user1;
  GetProcessTimes(p.Handle(), &created, &ended, &kernel0, &user0);
  const DWORD start = GetTickCount();
  Sleep(seconds * 1000);
  GetProcessTimes(p.Handle(), &created, &ended, &kernel1, &user1);
  const double wall = (GetTickCount() - start) / 1000.0;
  const double cpu = Seconds(kernel1) - Seconds(kernel0) + Seconds(user1) - Seconds(user0);
  std::printf("idle Orvane.exe, 2 keypads: %.3f s of processor time in %.1f s = %.2f%% of one core\n",
              cpu, wall, 100.0 * cpu / wall);
  if (HWND main = FindWindowA(kMainWindowClass, nullptr)) PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
  p.Wait(10000);
  VhxSimReset(sim);
  VhxSimClose(sim);
  return 0;
}
