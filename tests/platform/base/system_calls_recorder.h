#pragma once
// Puts recorders in place of the platform calls of the script functions for one test: input
// records, pauses, message boxes and shell calls go into one event list in their order; key
// states, the clock, box answers and the shell's result come from the test. Header-only.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"

class RecordedSystemCalls {
 public:
  RecordedSystemCalls() {
    State() = Recorded{};
    SystemCalls calls;
    calls.sendInput = SendInputHook;
    calls.getKeyState = GetKeyStateHook;
    calls.messageBox = MessageBoxHook;
    calls.shellExecute = ShellExecuteHook;
    calls.getLocalTime = GetLocalTimeHook;
    calls.sleep = SleepHook;
    calls.getDoubleClickTime = GetDoubleClickTimeHook;
    SetSystemCalls(calls);
  }
  ~RecordedSystemCalls() { SetSystemCalls(SystemCalls{}); }
  RecordedSystemCalls(const RecordedSystemCalls&) = delete;
  RecordedSystemCalls& operator=(const RecordedSystemCalls&) = delete;

  // The events in order, joined by " / " (texts may hold "|").
  std::string Events() const {
    std::string out;
    for (const std::string& e : State().events) out += (out.empty() ? "" : " / ") + e;
    return out;
  }
  void ClearEvents() { State().events.clear(); }

  void SetKeyState(int vKey, SHORT state) { State().keyStates[vKey & 0xFF] = state; }
  void SetClock(const SYSTEMTIME& now) { State().now = now; }
  void SetBoxAnswer(int answer) { State().boxAnswer = answer; }
  void SetDoubleClickTime(UINT ms) { State().doubleClickTime = ms; }
  void SetShellResult(int result) { State().shellResult = result; }

  static std::string Hex(std::uintptr_t v) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%x", static_cast<unsigned>(v));
    return text;
  }

 private:
  struct Recorded {
    std::vector<std::string> events;
    SHORT keyStates[256] = {};
    SYSTEMTIME now{};
    int boxAnswer = IDOK;
    UINT doubleClickTime = 500;
    int shellResult = 42;
  };
  static Recorded& State() {
    static Recorded recorded;
    return recorded;
  }
  static void Add(std::string event) { State().events.push_back(std::move(event)); }
  static std::string Text(LPCSTR text) { return text ? "\"" + std::string(text) + "\"" : "null"; }

  static UINT WINAPI SendInputHook(UINT count, LPINPUT inputs, int size) {
    if (size != static_cast<int>(sizeof(INPUT))) Add("bad record size " + std::to_string(size));
    for (UINT i = 0; i < count; ++i) {
      const INPUT& in = inputs[i];
      if (in.type == INPUT_MOUSE)
        Add("mouse " + std::to_string(in.mi.dx) + " " + std::to_string(in.mi.dy) + " " +
            std::to_string(static_cast<LONG>(in.mi.mouseData)) + " " + Hex(in.mi.dwFlags));
      else if (in.type == INPUT_KEYBOARD)
        Add("key " + Hex(in.ki.wVk) + " " + std::to_string(in.ki.wScan) + " " + Hex(in.ki.dwFlags));
      else
        Add("input type " + std::to_string(in.type));
    }
    return count;
  }
  static SHORT WINAPI GetKeyStateHook(int vKey) { return State().keyStates[vKey & 0xFF]; }
  static int WINAPI MessageBoxHook(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Add("box " + Hex(reinterpret_cast<std::uintptr_t>(owner)) + " " + Text(caption) + " " +
        Text(text) + " " + Hex(type));
    return State().boxAnswer;
  }
  static HINSTANCE WINAPI ShellExecuteHook(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params,
                                           LPCSTR dir, INT show) {
    Add("shell " + Hex(reinterpret_cast<std::uintptr_t>(owner)) + " " + Text(verb) + " " +
        Text(file) + " " + Text(params) + " " + Text(dir) + " " + std::to_string(show));
    return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(State().shellResult));
  }
  static void WINAPI GetLocalTimeHook(LPSYSTEMTIME time) { *time = State().now; }
  static void WINAPI SleepHook(DWORD ms) { Add("sleep " + std::to_string(ms)); }
  static UINT WINAPI GetDoubleClickTimeHook() { return State().doubleClickTime; }
};
