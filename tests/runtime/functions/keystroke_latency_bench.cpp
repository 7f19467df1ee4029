// Time from a SendString call of a one-key macro to its first input record reaching the
// injection seam (the records are taken there, not sent). Run by hand under Wine:
// keystroke_latency [presses] (default 10000).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/base/system_calls.h"
#include "runtime/functions/keystroke_sender.h"
#include "runtime/keys/key_name_tables.h"

namespace {

LONGLONG firstRecord = 0;

LONGLONG Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

// Takes the records instead of sending them; the lock states are the platform's unless given.
class TakenInput : public SystemCalls {
 public:
  bool giveLockStates = false;
  void InjectInput(const InputRecord&) override {
    if (!firstRecord) firstRecord = Now();
  }
  LockStates ReadLockStates() override {
    return giveLockStates ? LockStates{} : SystemCalls::ReadLockStates();
  }
};

// Median, 99th percentile and maximum in microseconds over the presses.
void Measure(SystemCalls& calls, const char* what, int presses, double ticksPerMicro) {
  std::vector<double> micros;
  micros.reserve(presses);
  for (int i = 0; i < presses; ++i) {
    firstRecord = 0;
    const LONGLONG start = Now();
    SendString(calls, "a");
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

  TakenInput calls;
  Measure(calls, "SendString(\"a\") to first input record", presses, ticksPerMicro);
  // The same without the two GetKeyState calls, which go to the platform.
  calls.giveLockStates = true;
  Measure(calls, "  lock states given", presses, ticksPerMicro);
  ClearKeyNameTables();
  return 0;
}
