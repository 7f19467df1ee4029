#pragma once
// A window timer stopped with its owner; its ticks come as WM_TIMER (Window::OnTimer).

#include <windows.h>

#include <utility>

namespace wingui {

class Timer {
 public:
  Timer() = default;
  Timer(HWND window, UINT_PTR id, UINT intervalMs) { Start(window, id, intervalMs); }
  ~Timer() { Stop(); }
  Timer(Timer&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), id_(std::exchange(other.id_, 0)) {}
  Timer& operator=(Timer&& other) noexcept {
    if (this != &other) {
      Stop();
      window_ = std::exchange(other.window_, nullptr);
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Starts (or restarts with the new interval); false when the system refused.
  bool Start(HWND window, UINT_PTR id, UINT intervalMs) {
    Stop();
    if (!window || !SetTimer(window, id, intervalMs, nullptr)) return false;
    window_ = window;
    id_ = id;
    return true;
  }
  void Stop() {
    if (window_) KillTimer(window_, id_);
    window_ = nullptr;
  }
  bool IsRunning() const { return window_ != nullptr; }
  UINT_PTR id() const { return id_; }

 private:
  HWND window_ = nullptr;
  UINT_PTR id_ = 0;
};

}  // namespace wingui
