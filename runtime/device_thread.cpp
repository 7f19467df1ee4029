#include "runtime/device_thread.h"

#include <windows.h>

#include "runtime/device_folders.h"

std::atomic<int> RequestCode{kRequestNone};
std::atomic<int> RequestDevice{kNoRequestDevice};

namespace {

struct DeviceThreadState {
  std::atomic<bool> stopFlag{false};
  std::atomic<bool> programmingAllowed{true};
  HANDLE thread = nullptr;  // our own handle, for the bounded wait at stop
  HWND mainDialog = nullptr;
};

DeviceThreadState& State() {
  static DeviceThreadState state;
  return state;
}

constexpr DWORD kStopPollMs = 500;
constexpr DWORD kStopLimitMs = 10000;  // a thread stuck in a modal wait must not hold Exit

void PumpThreadMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

DWORD WINAPI DeviceThreadMain(LPVOID) {
  DeviceThreadState& s = State();
  while (!s.stopFlag) {
    for (int i = 0; i < 10 && !s.stopFlag; ++i) {
      PumpThreadMessages();
      Sleep(50);
    }
    if (RequestCode == kRequestRebuild) RequestCode = kRequestNone;
  }
  FreeDeviceFolders();
  s.stopFlag = false;
  return 0;
}

}  // namespace

HANDLE StartDeviceThread(HWND mainDialog, bool programmingAllowed) {
  DeviceThreadState& s = State();
  s.stopFlag = false;
  s.programmingAllowed = programmingAllowed;
  s.mainDialog = mainDialog;
  HANDLE thread = CreateThread(nullptr, 10240, DeviceThreadMain, mainDialog,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) return nullptr;
  HANDLE own = nullptr;
  DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &own, SYNCHRONIZE, FALSE, 0);
  if (s.thread) CloseHandle(s.thread);
  s.thread = own;
  return thread;
}

void StopDeviceThread() {
  DeviceThreadState& s = State();
  if (s.stopFlag || !s.thread) return;
  s.stopFlag = true;
  for (DWORD waited = 0; s.stopFlag && waited < kStopLimitMs; waited += kStopPollMs) {
    if (WaitForSingleObject(s.thread, kStopPollMs) == WAIT_OBJECT_0) break;
  }
  CloseHandle(s.thread);
  s.thread = nullptr;
  s.stopFlag = false;
}

bool IsProgrammingAllowed() { return State().programmingAllowed; }

DeviceRecord* GetDeviceArray(int& count) {
  count = 0;
  return nullptr;
}
