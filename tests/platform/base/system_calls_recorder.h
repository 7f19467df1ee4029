#pragma once
// Puts a recorder in place of the platform calls for one test, and the earlier calls back when
// it goes: input records, pauses, message boxes, shell calls and file dialogs go into one event
// list in their order; key states (and from them the lock states), the clock, box answers, the
// shell's result and the chosen file and folder come from the test. The registry, the clipboard
// and the documents folder stay the platform's. Header-only.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/system_calls.h"

class RecordedSystemCalls : public SystemCalls {
 public:
  // The events in order, joined by " / " (texts may hold "|").
  std::string Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string out;
    for (const std::string& e : events_) out += (out.empty() ? "" : " / ") + e;
    return out;
  }
  // The input records alone, in order.
  std::vector<InputRecord> Inputs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return inputs_;
  }
  void ClearEvents() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
    inputs_.clear();
  }

  // 0x80 (or any negative value) held, 0x01 toggled; Caps Lock and Num Lock read from here too.
  void SetKeyState(int vKey, short state) { Locked([&] { keyStates_[vKey & 0xFF] = state; }); }
  void SetClock(const ClockTime& now) { Locked([&] { now_ = now; }); }
  void SetBoxAnswer(int answer) { Locked([&] { boxAnswer_ = answer; }); }
  void SetDoubleClickTime(unsigned ms) { Locked([&] { doubleClickTime_ = ms; }); }
  void SetShellResult(int result) { Locked([&] { shellResult_ = result; }); }
  // What the next file dialogs answer; nothing: Cancel.
  void SetChosenFile(std::optional<std::string> file) {
    Locked([&] { chosenFile_ = std::move(file); });
  }

  // What the next folder dialogs answer; nothing: Cancel.
  void SetChosenFolder(std::optional<std::string> folder) {
    Locked([&] { chosenFolder_ = std::move(folder); });
  }

  static std::string Hex(std::uintptr_t v) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%x", static_cast<unsigned>(v));
    return text;
  }

  void InjectInput(const InputRecord& r) override {
    std::string event;
    if (r.kind == InputRecord::Kind::Mouse)
      event = "mouse " + std::to_string(r.dx) + " " + std::to_string(r.dy) + " " +
              std::to_string(static_cast<std::int32_t>(r.mouseData)) + " " + Hex(r.flags);
    else
      event = "key " + Hex(r.virtualKey) + " " + std::to_string(r.scanCode) + " " + Hex(r.flags);
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
    inputs_.push_back(r);
  }
  LockStates ReadLockStates() override {
    // Greater than 0: toggled and not held, as the platform's own reading counts it.
    return {KeyState(VK_CAPITAL) > 0, KeyState(VK_NUMLOCK) > 0};
  }
  short KeyState(int vKey) override {
    std::lock_guard<std::mutex> lock(mutex_);
    return keyStates_[vKey & 0xFF];
  }
  unsigned DoubleClickTime() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return doubleClickTime_;
  }
  int ShowMessageBox(void* owner, const char* text, const char* caption, unsigned type) override {
    Add("box " + Hex(reinterpret_cast<std::uintptr_t>(owner)) + " " + Text(caption) + " " +
        Text(text) + " " + Hex(type));
    std::lock_guard<std::mutex> lock(mutex_);
    return boxAnswer_;
  }
  std::intptr_t ExecuteWithShell(void* owner, const char* verb, const char* file,
                                 const char* params, const char* dir, int show) override {
    Add("shell " + Hex(reinterpret_cast<std::uintptr_t>(owner)) + " " + Text(verb) + " " +
        Text(file) + " " + Text(params) + " " + Text(dir) + " " + std::to_string(show));
    std::lock_guard<std::mutex> lock(mutex_);
    return shellResult_;
  }
  std::optional<std::string> ChooseFileToOpen(const OpenFileQuestion& q) override {
    Add("open dialog " + Hex(reinterpret_cast<std::uintptr_t>(q.owner)) + " " +
        Text(q.title.c_str()) + " " + Text(q.filterName.c_str()) + " " +
        Text(q.filterPattern.c_str()) + " " + Text(q.defaultExtension.c_str()) + " " +
        Text(q.initialFolder.c_str()));
    std::lock_guard<std::mutex> lock(mutex_);
    return chosenFile_;
  }
  std::optional<std::string> ChooseFileToSave(const OpenFileQuestion& q,
                                              const std::string& suggestedFile) override {
    Add("save dialog " + Hex(reinterpret_cast<std::uintptr_t>(q.owner)) + " " +
        Text(q.title.c_str()) + " " + Text(q.filterName.c_str()) + " " +
        Text(q.filterPattern.c_str()) + " " + Text(q.defaultExtension.c_str()) + " " +
        Text(q.initialFolder.c_str()) + " " + Text(suggestedFile.c_str()));
    std::lock_guard<std::mutex> lock(mutex_);
    return chosenFile_;
  }
  std::optional<std::string> ChooseFolder(const FolderQuestion& q) override {
    Add("folder dialog " + Hex(reinterpret_cast<std::uintptr_t>(q.owner)) + " " +
        Text(q.title.c_str()) + " " + Text(q.initialFolder.c_str()));
    std::lock_guard<std::mutex> lock(mutex_);
    return chosenFolder_;
  }
  ClockTime LocalTime() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return now_;
  }
  void Sleep(unsigned ms) override { Add("sleep " + std::to_string(ms)); }

 private:
  template <class F>
  void Locked(F f) {
    std::lock_guard<std::mutex> lock(mutex_);
    f();
  }
  void Add(std::string event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
  }
  static std::string Text(const char* text) {
    return text ? "\"" + std::string(text) + "\"" : "null";
  }

  mutable std::mutex mutex_;
  std::vector<std::string> events_;
  std::vector<InputRecord> inputs_;
  short keyStates_[256] = {};
  ClockTime now_{};
  int boxAnswer_ = IDOK;
  unsigned doubleClickTime_ = 500;
  int shellResult_ = 42;
  std::optional<std::string> chosenFile_;
  std::optional<std::string> chosenFolder_;
  // Last: in force only while everything above exists.
  ScopedSystemCalls installed_{*this};
};
