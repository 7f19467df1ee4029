#pragma once
// The periodic script function that a script starts with repeatFunction: one per program, run
// by the device thread when its wait times out. Device thread only; plain C++.

#include <cstdint>
#include <functional>

struct PeriodicFunction {
  int functionId = -1;         // -1: none running
  std::uint32_t interval = 0;  // ms
  std::uint32_t nextRun = 0;   // tick at which the device thread looks again
  std::uint32_t schedule = 0;  // tick of the next run owed
};

const PeriodicFunction& GetPeriodicFunction();
bool PeriodicFunctionRunning();

// Runs functionId every interval ms from now on; when a function was running already, its
// ticks are kept. An interval of 0 stops it.
void StartPeriodicFunction(int functionId, std::uint32_t interval, std::uint32_t now);
// Also to be called whenever the engine or a module is rebuilt: an old id would name another
// function, or none, in the new build.
void StopPeriodicFunction();

// The device thread's time-out step. When the next-run tick lies before now, runs the function
// once for every interval the schedule is behind (a late run catches up), then looks again an
// interval after now. The loop ends early when the function stops or replaces itself.
void RunDuePeriodicFunction(std::uint32_t now, const std::function<void(int functionId)>& run);

// The rate of repeatFunction (runs per second; outside 1..100 it is 100) as an interval in ms.
std::uint32_t PeriodicIntervalOfRate(int repeatTime);
