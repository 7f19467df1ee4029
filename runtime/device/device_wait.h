#pragma once
// The device thread's only wait: on its devices' events, keeping the thread's own windows
// alive meanwhile.

#include <windows.h>

#include <functional>

// What the wait gives when nothing was signalled in time: the platform's own time-out value.
constexpr DWORD kWaitTimedOut = WAIT_TIMEOUT;
constexpr DWORD kWaitSliceMs = 10;

// The index of a signalled handle, or kWaitTimedOut once timeoutMs has passed. Up to 63
// handles (the message queue takes the last place of one wait), `pump` runs whenever a message
// for the thread's windows arrives, and the thread sleeps otherwise. With more handles they are
// waited on in groups, in 10 ms slices after each of which `pump` runs once.
DWORD WaitWithMessagePump(DWORD count, const HANDLE* handles, DWORD timeoutMs,
                          const std::function<void()>& pump);

// Translates and dispatches every queued message of the calling thread, without waiting.
void PumpThreadMessages();

// True when `tick` has been reached: safe across the tick count's wrap.
inline bool TickReached(DWORD tick, DWORD now) { return static_cast<int>(tick - now) <= 0; }
