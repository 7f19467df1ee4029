#include "ui/programming_window/led_blink_worker.h"

#include <algorithm>

#include "macros/model/macro_lifecycle.h"

namespace {

constexpr int kStop = -1;
constexpr int kShortestHalf = 50;  // a period the worker cannot use still blinks, slowly
constexpr DWORD kStopWaitMs = 5000;

// Sleeps one half of the blink in slices, ending early when the period reads -1.
void Pause(const std::atomic<int>& period, int ms) {
  const DWORD start = GetTickCount();
  const DWORD length = static_cast<DWORD>(std::max(ms, kShortestHalf));
  for (;;) {
    if (period.load() == kStop) return;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= length) return;
    Sleep(std::min(kBlinkSliceMs, length - elapsed));
  }
}

}  // namespace

bool LedBlinkWorker::Start(std::atomic<int>& period, Phase phase) {
  if (thread_) return true;
  period_ = &period;
  phase_ = std::move(phase);
  thread_.reset(CreateThread(nullptr, kBlinkStackBytes, &LedBlinkWorker::LedBlinkThread, this, 0, nullptr));
  return static_cast<bool>(thread_);
}

bool LedBlinkWorker::Stop() {
  if (!thread_) return true;
  // A worker that has ended wrote its 0 already, and the 0 stays.
  if (WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT) period_->store(kStop);
  if (WaitForSingleObject(thread_.get(), kStopWaitMs) != WAIT_OBJECT_0) return false;
  thread_.reset();
  period_->store(0);  // stopped, whichever side wrote last
  return true;
}

DWORD WINAPI LedBlinkWorker::LedBlinkThread(LPVOID self) {
  auto& worker = *static_cast<LedBlinkWorker*>(self);
  std::atomic<int>& period = *worker.period_;
  // Each half reads the period once; -1 is answered with 0, the worker's last touch of it:
  // whoever waits for the 0 may free the period at once.
  for (bool lit = false;; lit = !lit) {
    const int half = TakeBlinkPeriod(period);
    if (half < 0) return 0;
    worker.phase_(lit);
    Pause(period, half);
  }
}
