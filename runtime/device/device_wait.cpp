#include "runtime/device/device_wait.h"

#include <algorithm>

namespace {

// One slice over all handles; kWaitTimedOut when none was signalled within sliceMs.
DWORD WaitSlice(DWORD count, const HANDLE* handles, DWORD sliceMs) {
  if (count == 0) {
    Sleep(sliceMs);
    return kWaitTimedOut;
  }
  if (count <= MAXIMUM_WAIT_OBJECTS) {
    const DWORD r = WaitForMultipleObjects(count, handles, FALSE, sliceMs);
    if (r < WAIT_OBJECT_0 + count) return r - WAIT_OBJECT_0;
    if (r == WAIT_FAILED) Sleep(sliceMs);
    return kWaitTimedOut;
  }
  // Later groups are looked at without waiting, then the first group gets the slice.
  for (DWORD first = MAXIMUM_WAIT_OBJECTS; first < count; first += MAXIMUM_WAIT_OBJECTS) {
    const DWORD n = std::min<DWORD>(MAXIMUM_WAIT_OBJECTS, count - first);
    const DWORD r = WaitForMultipleObjects(n, handles + first, FALSE, 0);
    if (r < WAIT_OBJECT_0 + n) return first + (r - WAIT_OBJECT_0);
  }
  return WaitSlice(MAXIMUM_WAIT_OBJECTS, handles, sliceMs);
}

}  // namespace

void PumpThreadMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

DWORD WaitWithMessagePump(DWORD count, const HANDLE* handles, DWORD timeoutMs,
                          const std::function<void()>& pump) {
  const DWORD start = GetTickCount();
  // Handles and the message queue in one wait: the thread sleeps until an event, a message
  // for its windows (timers and repaints included) or the time-out, instead of waking every
  // slice to look.
  while (count < MAXIMUM_WAIT_OBJECTS) {
    const DWORD elapsed = GetTickCount() - start;
    const DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
    const DWORD r = pump ? MsgWaitForMultipleObjectsEx(count, handles, left, QS_ALLINPUT,
                                                       MWMO_INPUTAVAILABLE)
                         : WaitForMultipleObjects(count, handles, FALSE, left);
    if (r < WAIT_OBJECT_0 + count) return r - WAIT_OBJECT_0;
    if (r == WAIT_TIMEOUT) return kWaitTimedOut;
    if (r != WAIT_OBJECT_0 + count) break;  // the wait failed: fall back to slices
    pump();
  }
  for (;;) {
    const DWORD r = WaitSlice(count, handles, kWaitSliceMs);
    if (r != kWaitTimedOut) return r;
    if (GetTickCount() - start >= timeoutMs) return kWaitTimedOut;
    if (pump) pump();
  }
}
