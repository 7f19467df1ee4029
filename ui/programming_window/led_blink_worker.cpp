#include "ui/programming_window/led_blink_worker.h"

#include <algorithm>

namespace {

constexpr int kStop = -1;
constexpr int kShortestHalf = 50;  // a period the worker cannot use still blinks, slowly
constexpr DWORD kStopWaitMs = 5000;

// Sleeps one half of the blink in slices; false as soon as the period reads -1.
bool Pause(const std::atomic<int>& period, int ms) {
  const DWORD start = GetTickCount();
  const DWORD length = static_cast<DWORD>(std::max(ms, kShortestHalf));
  for (;;) {
    if (period.load() == kStop) return false;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= length) return true;
    Sleep(std::min(kBlinkSliceMs, length - elapsed));
  }
}

}  // namespace

bool LedBlinkWorker::Start(std::atomic<int>& period, Phase phase) {
  if (thread_) return true;
  period_ = &period;
  phase_ = std::move(phase);
  thread_ = CreateThread(nullptr, kBlinkStackBytes, &LedBlinkWorker::Run, this, 0, nullptr);
  return thread_ != nullptr;
}

bool LedBlinkWorker::Stop() {
  if (!thread_) return true;
  // A worker that has ended wrote its 0 already, and the 0 stays.
  if (WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT) period_->store(kStop);
  if (WaitForSingleObject(thread_, kStopWaitMs) != WAIT_OBJECT_0) return false;
  CloseHandle(thread_);
  thread_ = nullptr;
  period_->store(0);  // stopped, whichever side wrote last
  return true;
}

DWORD WINAPI LedBlinkWorker::Run(LPVOID self) {
  auto& worker = *static_cast<LedBlinkWorker*>(self);
  std::atomic<int>& period = *worker.period_;
  for (;;) {
    int half = period.load();
    if (half == kStop) break;
    worker.phase_(false);
    if (!Pause(period, half)) break;
    half = period.load();
    if (half == kStop) break;
    worker.phase_(true);
    if (!Pause(period, half)) break;
  }
  // The last thing it does: whoever waits for the 0 may free the period at once.
  period.store(0);
  return 0;
}
