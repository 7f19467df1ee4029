#pragma once
// One keyboard event as a low-level keyboard hook sees it, free of the platform's headers; the
// platform seam (system_calls.h) sets the hook and hands it these.

#include <cstdint>
#include <functional>

// The messages of the events (the platform's WM_* values).
constexpr std::uint32_t kKeyDownMessage = 0x0100;
constexpr std::uint32_t kKeyUpMessage = 0x0101;
constexpr std::uint32_t kSysKeyDownMessage = 0x0104;
constexpr std::uint32_t kSysKeyUpMessage = 0x0105;

// Event flags (the platform's LLKHF_* values).
constexpr std::uint32_t kHookExtendedKey = 0x01;
constexpr std::uint32_t kHookInjected = 0x10;

struct KeyboardHookEvent {
  std::uint32_t message = kKeyDownMessage;
  std::uint32_t virtualKey = 0;
  std::uint32_t scanCode = 0;
  std::uint32_t flags = 0;
  // What the program that injected the event gave it (InputRecord::extraInfo); 0 for real keys.
  std::uintptr_t extraInfo = 0;

  bool Pressed() const { return message == kKeyDownMessage || message == kSysKeyDownMessage; }
  bool Released() const { return message == kKeyUpMessage || message == kSysKeyUpMessage; }
};

// Answers one event: true swallows it, false passes it on to the next hook.
using KeyboardHookHandler = std::function<bool(const KeyboardHookEvent&)>;
