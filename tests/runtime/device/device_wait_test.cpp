#include "runtime/device/device_wait.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct Events {
  explicit Events(int n) {
    for (int i = 0; i < n; ++i) handles.push_back(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  }
  ~Events() {
    for (HANDLE h : handles) CloseHandle(h);
  }
  std::vector<HANDLE> handles;
};

TEST(WaitWithMessagePump, GivesTheSignalledIndexInAnyGroup) {
  for (int count : {2, 64, 65, 130, 256}) {
    Events e(count);
    for (int index : {0, count / 2, count - 1}) {
      SetEvent(e.handles[index]);
      EXPECT_EQ(WaitWithMessagePump(count, e.handles.data(), 1000, nullptr), DWORD(index))
          << count << " handles";
      ResetEvent(e.handles[index]);
    }
  }
}

// What the thread's windows see: every message, and when it was handled.
struct Window {
  Window() {
    hwnd = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }
  ~Window() { DestroyWindow(hwnd); }
  // Drains the queue as the device thread's pump does; counts the test's own messages.
  void Pump() {
    ++pumps;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_APP) handledAt = GetTickCount();
      DispatchMessageA(&msg);
    }
  }
  HWND hwnd;
  int pumps = 0;
  DWORD handledAt = 0;
};

TEST(WaitWithMessagePump, SleepsUntilTheTimeOutWhenNothingComes) {
  Events e(4);
  Window w;
  const DWORD start = GetTickCount();
  EXPECT_EQ(WaitWithMessagePump(4, e.handles.data(), 100, [&] { w.Pump(); }), kWaitTimedOut);
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 90u);
  EXPECT_LT(took, 1000u);
  EXPECT_EQ(w.pumps, 0);  // no wake without a reason
}

TEST(WaitWithMessagePump, PostedAndSentMessagesAreHandledAtOnceAndTheWaitGoesOn) {
  Events e(2);
  Window w;
  DWORD posted = 0, sendReturned = 0, sendStarted = 0;
  std::thread other([&] {
    Sleep(50);
    posted = GetTickCount();
    PostMessageA(w.hwnd, WM_APP, 0, 0);
    Sleep(50);
    sendStarted = GetTickCount();
    SendMessageA(w.hwnd, WM_NULL, 0, 0);  // returns once the waiting thread has handled it
    sendReturned = GetTickCount();
  });
  const DWORD start = GetTickCount();
  EXPECT_EQ(WaitWithMessagePump(2, e.handles.data(), 600, [&] { w.Pump(); }), kWaitTimedOut);
  const DWORD took = GetTickCount() - start;
  other.join();
  EXPECT_GE(took, 590u);
  ASSERT_NE(w.handledAt, 0u);
  EXPECT_LT(w.handledAt - posted, 200u);
  EXPECT_LT(sendReturned - sendStarted, 200u);
  EXPECT_LE(w.pumps, 4);
}

TEST(WaitWithMessagePump, AnEventSetDuringTheWaitEndsItAtOnce) {
  Events e(63);  // with the message queue, the most one wait can hold
  Window w;
  DWORD set = 0;
  std::thread other([&] {
    Sleep(50);
    set = GetTickCount();
    SetEvent(e.handles[62]);
  });
  EXPECT_EQ(WaitWithMessagePump(63, e.handles.data(), 5000, [&] { w.Pump(); }), 62u);
  const DWORD woke = GetTickCount();
  other.join();
  EXPECT_LT(woke - set, 200u);
}

TEST(WaitWithMessagePump, MoreHandlesThanOneWaitPumpBetweenSlices) {
  Events e(130);
  int pumps = 0;
  const DWORD start = GetTickCount();
  EXPECT_EQ(WaitWithMessagePump(130, e.handles.data(), 100, [&] { ++pumps; }), kWaitTimedOut);
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 90u);
  EXPECT_LT(took, 1000u);
  EXPECT_GE(pumps, 3);  // about one per 10 ms slice
}

TEST(WaitWithMessagePump, ZeroTimeoutStillLooksOnce) {
  Events e(2);
  SetEvent(e.handles[1]);
  EXPECT_EQ(WaitWithMessagePump(2, e.handles.data(), 0, nullptr), 1u);
  ResetEvent(e.handles[1]);
  EXPECT_EQ(WaitWithMessagePump(2, e.handles.data(), 0, nullptr), kWaitTimedOut);
  EXPECT_EQ(WaitWithMessagePump(0, nullptr, 0, nullptr), kWaitTimedOut);
}

TEST(TickReached, HoldsAcrossTheWrap) {
  EXPECT_TRUE(TickReached(100, 100));
  EXPECT_TRUE(TickReached(100, 101));
  EXPECT_FALSE(TickReached(101, 100));
  EXPECT_FALSE(TickReached(0x00000010u, 0xFFFFFFF0u));  // due just after the wrap
  EXPECT_TRUE(TickReached(0xFFFFFFF0u, 0x00000010u));   // was due just before it
}

}  // namespace
