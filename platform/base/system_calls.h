#pragma once
// The platform calls of the script functions that act outside the program: input injection,
// key states, message boxes, the shell, the clock and pauses. Tests put recorders in their
// place, so a script's effects can be seen without typing, clicking or opening anything.

#include <windows.h>
#include <shellapi.h>

struct SystemCalls {
  UINT(WINAPI* sendInput)(UINT count, LPINPUT inputs, int size) = ::SendInput;
  SHORT(WINAPI* getKeyState)(int vKey) = ::GetKeyState;
  int(WINAPI* messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type) = ::MessageBoxA;
  HINSTANCE(WINAPI* shellExecute)
  (HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
   INT showCommand) = ::ShellExecuteA;
  void(WINAPI* getLocalTime)(LPSYSTEMTIME time) = ::GetLocalTime;
  void(WINAPI* sleep)(DWORD ms) = ::Sleep;
  UINT(WINAPI* getDoubleClickTime)() = ::GetDoubleClickTime;
};

const SystemCalls& GetSystemCalls();
// Replaces the calls (tests); SystemCalls{} puts the platform's own back.
void SetSystemCalls(const SystemCalls& calls);
