#pragma once
// Keyboard and mouse input records as the keystroke sender builds them, and the lock states
// that typed text depends on; free of the platform's headers. The platform seam
// (system_calls.h) turns the records into the platform's INPUT and sends them.

#include <cstdint>

// Caps Lock and Num Lock, as read at the start of each macro step.
struct LockStates {
  bool capsLock = false;
  bool numLock = false;
};

// Keyboard record flags (the platform's KEYEVENTF_* values).
constexpr std::uint32_t kKeyEventExtendedKey = 0x0001;
constexpr std::uint32_t kKeyEventKeyUp = 0x0002;
constexpr std::uint32_t kKeyEventUnicode = 0x0004;
constexpr std::uint32_t kKeyEventScanCode = 0x0008;

// Mouse record flags (the platform's MOUSEEVENTF_* values).
constexpr std::uint32_t kMouseEventLeftDown = 0x0002;
constexpr std::uint32_t kMouseEventLeftUp = 0x0004;
constexpr std::uint32_t kMouseEventRightDown = 0x0008;
constexpr std::uint32_t kMouseEventRightUp = 0x0010;
constexpr std::uint32_t kMouseEventMiddleDown = 0x0020;
constexpr std::uint32_t kMouseEventMiddleUp = 0x0040;
constexpr std::uint32_t kMouseEventXDown = 0x0080;
constexpr std::uint32_t kMouseEventXUp = 0x0100;
constexpr std::uint32_t kMouseEventWheel = 0x0800;

struct InputRecord {
  enum class Kind : std::uint8_t { Keyboard, Mouse };
  Kind kind = Kind::Keyboard;
  // Keyboard.
  std::uint16_t virtualKey = 0;
  std::uint16_t scanCode = 0;
  // Mouse.
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  std::uint32_t mouseData = 0;
  // Either kind (the time is always 0).
  std::uint32_t flags = 0;
  // Handed to the hooks that see the event: a program tells its own injected events by it.
  std::uintptr_t extraInfo = 0;

  bool operator==(const InputRecord&) const = default;
};

inline InputRecord KeyboardRecord(std::uint16_t virtualKey, std::uint16_t scanCode,
                                  std::uint32_t flags) {
  InputRecord r;
  r.virtualKey = virtualKey;
  r.scanCode = scanCode;
  r.flags = flags;
  return r;
}

inline InputRecord MouseRecord(std::int32_t dx, std::int32_t dy, std::uint32_t mouseData,
                               std::uint32_t flags) {
  InputRecord r;
  r.kind = InputRecord::Kind::Mouse;
  r.dx = dx;
  r.dy = dy;
  r.mouseData = mouseData;
  r.flags = flags;
  return r;
}
