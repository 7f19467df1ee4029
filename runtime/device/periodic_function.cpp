#include "runtime/device/periodic_function.h"

namespace {

PeriodicFunction& State() {
  static PeriodicFunction state;
  return state;
}

// Safe across the tick count's wrap.
bool Before(std::uint32_t tick, std::uint32_t now) {
  return static_cast<std::int32_t>(tick - now) < 0;
}

}  // namespace

const PeriodicFunction& GetPeriodicFunction() { return State(); }
bool PeriodicFunctionRunning() { return State().functionId >= 0; }

void StartPeriodicFunction(int functionId, std::uint32_t interval, std::uint32_t now) {
  if (functionId < 0 || interval == 0) {
    StopPeriodicFunction();
    return;
  }
  PeriodicFunction& s = State();
  if (s.functionId < 0) {
    s.nextRun = now;
    s.schedule = now;
  }
  s.functionId = functionId;
  s.interval = interval;
}

void StopPeriodicFunction() {
  PeriodicFunction& s = State();
  s.functionId = -1;
  s.interval = 0;
}

void RunDuePeriodicFunction(std::uint32_t now, const std::function<void(int functionId)>& run) {
  PeriodicFunction& s = State();
  if (s.functionId < 0 || s.interval == 0 || !Before(s.nextRun, now)) return;
  // The function may call repeatFunction itself: keep what this loop runs apart from that.
  const int id = s.functionId;
  const std::uint32_t interval = s.interval;
  while (Before(s.schedule, now)) {
    run(id);
    if (s.functionId != id || s.interval == 0) break;
    s.schedule += interval;
  }
  if (s.functionId >= 0 && s.interval > 0) s.nextRun = now + s.interval;
}

std::uint32_t PeriodicIntervalOfRate(int repeatTime) {
  if (repeatTime > 100 || repeatTime <= 0) repeatTime = 100;
  return 1000u / static_cast<std::uint32_t>(repeatTime);
}
