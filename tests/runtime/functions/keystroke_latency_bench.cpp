// Time from a SendString call of a one-key macro to its first input record reaching the
// injection seam (the records are taken there, not sent). Run by hand under Wine:
// keystroke_latency [presses] (default 10000).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/base/input_injection.h"
#include "runtime/keys/key_name_tables.h"
#include "runtime/functions/keystroke_sender.h"

namespace {

LONGLONG firstRecord = 0;

LONGLONG Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

void TakeRecord(const InputRecord&) {
  if (!firstRecord) firstRecord = Now();
}

// Median, 99th percentile and maximum in microseconds over the presses.
void Measure(const char* what, int presses, double ticksPerMicro) {
  std::vector<double> micros;
  micros.reserve(presses);
  for (int i = 0; i < presses; ++i) {
    firstRecord = 0;
    const LONGLONG start = Now();
    SendString("a");
    micros.push_back(static_cast<double>(firstRecord - start) / ticksPerMicro);
  }
  std::sort(micros.begin(), micros.end());
  const auto at = [&](double q) { return micros[static_cast<std::size_t>(q * (presses - 1))]; };
  std::printf("%s, %d presses: median %.1f us, 99th percentile %.1f us, max %.1f us\n", what,
              presses, at(0.5), at(0.99), micros.back());
}

}  // namespace

int main(int argc, char** argv) {
  const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  InitKeyNameTables();
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  const double ticksPerMicro = static_cast<double>(freq.QuadPart) / 1e6;

  InputInjectionHooks hooks;
  hooks.send = TakeRecord;
  SetInputInjectionHooks(hooks);
  Measure("SendString(\"a\") to first input record", presses, ticksPerMicro);
  // The same without the two GetKeyState calls, which go to the platform.
  hooks.readLockStates = [] { return LockStates{}; };
  SetInputInjectionHooks(hooks);
  Measure("  lock states given", presses, ticksPerMicro);
  ClearKeyNameTables();
  return 0;
}
