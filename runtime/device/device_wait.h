#pragma once
// The device thread's only wait: on its devices' events, in 10 ms slices between which the
// thread's own windows are kept alive.

#include <windows.h>

#include <functional>

constexpr DWORD kWaitTimedOut = 258;
constexpr DWORD kWaitSliceMs = 10;

// The index of a signalled handle, or kWaitTimedOut once timeoutMs has passed. After every
// slice in which nothing was signalled, `pump` runs once. Any number of handles: past the
// platform's 64 they are waited on in groups.
DWORD WaitWithMessagePump(DWORD count, const HANDLE* handles, DWORD timeoutMs,
                          const std::function<void()>& pump);

// True when `tick` has been reached: safe across the tick count's wrap.
inline bool TickReached(DWORD tick, DWORD now) { return static_cast<int>(tick - now) <= 0; }
