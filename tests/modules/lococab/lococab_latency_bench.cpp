// Latency of a value through Lococab.dll's shared block from one process to another: the
// controller side publishes a value (SetVeltrakValue) and a simulator in a second process,
// polling as fast as it can (GetNextLococabId, GetLococabValue), sees it; it acknowledges each
// value through its connected flag before the next one is published. Both processes stamp with
// the performance counter, which is one clock for the whole machine. Not a test; run by hand
// from build/bin: lococab_latency_bench [values] (default 5000). The second process is this
// program again, started with --observe.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/modules/lococab/lococab_library.h"
#include "tests/support/bench_timing.h"
#include "tests/support/win_test.h"

using namespace lococabtest;
using namespace testsupport;

namespace {

constexpr int kSlot = 5;
constexpr int kReady = 200;        // the simulator's flag once it polls
constexpr DWORD kLimitMs = 10000;  // a value not seen by then ends the run

std::string ExePath() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

std::string LibraryPath() {
  std::string folder = ExePath();
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "Lococab.dll";
}

// The acknowledgement of value i: never 0 (the flag's start) nor kReady.
int Ack(int i) { return i % 100 + 1; }

// The simulator: prints the time at which it saw each value 1 .. count, one a line.
int Observe(int count) {
  LococabLibrary lib(LibraryPath());
  if (!lib.ok()) return 2;
  std::vector<double> seen;
  seen.reserve(static_cast<std::size_t>(count));
  lib.SetVeltrakConnected(kReady);
  const DWORD start = GetTickCount();
  for (int i = 1; i <= count;) {
    bool found = false;
    for (int id = lib.GetNextLococabId(-1); id >= 0; id = lib.GetNextLococabId(id)) {
      const float v = lib.GetLococabValue(id);
      if (id == kSlot && v == static_cast<float>(i)) found = true;
    }
    if (found) {
      seen.push_back(NowMs());
      lib.SetVeltrakConnected(Ack(i));
      ++i;
    } else if (GetTickCount() - start > kLimitMs + static_cast<DWORD>(count)) {
      return 3;
    } else {
      SwitchToThread();
    }
  }
  for (double t : seen) std::printf("%.4f\n", t);
  return 0;
}

bool WaitForFlag(LococabLibrary& lib, int value) {
  const DWORD start = GetTickCount();
  while (lib.GetVeltrakConnected() != value) {
    if (GetTickCount() - start > kLimitMs) return false;
    SwitchToThread();
  }
  return true;
}

// The summary line in microseconds: the values go faster than the benchmarks' millisecond
// line can show.
void ReportMicros(const char* what, std::vector<double> ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  const auto at = [&](double q) {
    return 1000.0 * ms[std::min(ms.size() - 1, static_cast<std::size_t>(q * ms.size()))];
  };
  std::printf("%-20s median %8.1f us, 99th percentile %8.1f us, max %8.1f us over %zu values\n",
              what, at(0.5), at(0.99), 1000.0 * ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  int count = 5000;
  if (argc == 3 && std::string(argv[1]) == "--observe") return Observe(std::atoi(argv[2]));
  if (argc > 1 && std::atoi(argv[1]) > 0) count = std::atoi(argv[1]);

  LococabLibrary lib(LibraryPath());
  if (!lib.ok()) {
    std::printf("cannot load %s: %s\n", LibraryPath().c_str(), lib.missing().c_str());
    return 1;
  }
  CapturedRun observer;
  std::thread simulator([&] {
    observer = RunCaptured("\"" + ExePath() + "\" --observe " + std::to_string(count),
                           kLimitMs * 3 + static_cast<unsigned>(count) * 10);
  });
  std::vector<double> published, acknowledged;
  bool ok = WaitForFlag(lib, kReady);
  for (int i = 1; ok && i <= count; ++i) {
    published.push_back(NowMs());
    lib.SetVeltrakValue(kSlot, static_cast<float>(i));
    ok = WaitForFlag(lib, Ack(i));
    acknowledged.push_back(NowMs());
  }
  simulator.join();
  if (!ok || !observer.finished || observer.exitCode != 0) {
    std::printf("the simulator process did not keep up (exit %lu)\n", observer.exitCode);
    return 1;
  }
  std::vector<double> toSeen, roundTrip;
  std::istringstream lines(observer.out);
  double seen = 0;
  for (std::size_t i = 0; i < published.size() && lines >> seen; ++i) {
    toSeen.push_back(seen - published[i]);
    roundTrip.push_back(acknowledged[i] - published[i]);
  }
  ReportMicros("set to seen", toSeen);
  ReportMicros("set to acknowledged", roundTrip);
  return toSeen.size() == published.size() ? 0 : 1;
}
