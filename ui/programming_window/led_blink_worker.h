#pragma once
// The thread that blinks a keypad's layer LED while its programming window is open: both LEDs
// off for one period, the layer's LED on for one period, until the period reads -1; then it
// writes 0 and ends. The period is read afresh for every half (the editor changes it) and the
// worker sleeps in short slices, so a stop takes effect within one slice.
//
// The worker itself touches no device: it hands each half to `phase`, which must not block
// (the window posts it to its own thread, where the device record and the script-engine lock
// live). So it can never wait for the lock, and never outlives its stop.

#include <windows.h>

#include <atomic>
#include <functional>

#include "platform/base/unique_handle.h"

class LedBlinkWorker {
 public:
  using Phase = std::function<void(bool lit)>;

  LedBlinkWorker() = default;
  ~LedBlinkWorker() { Stop(); }
  LedBlinkWorker(const LedBlinkWorker&) = delete;
  LedBlinkWorker& operator=(const LedBlinkWorker&) = delete;

  // Starts the worker on the period (which must outlive it); false when no thread could be made.
  bool Start(std::atomic<int>& period, Phase phase);
  // Asks it to stop (unless it has) and waits for its end; false when it did not end in time
  // (the period must then be kept alive).
  bool Stop();
  bool Running() const { return static_cast<bool>(thread_); }

 private:
  static DWORD WINAPI LedBlinkThread(LPVOID self);

  std::atomic<int>* period_ = nullptr;
  Phase phase_;
  UniqueHandle thread_;
};

// The worker's stack, as small as a thread can have.
inline constexpr SIZE_T kBlinkStackBytes = 1024;
// The longest the worker sleeps before it looks at the period again.
inline constexpr DWORD kBlinkSliceMs = 10;
