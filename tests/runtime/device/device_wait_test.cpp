#include "runtime/device/device_wait.h"

#include <gtest/gtest.h>

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

TEST(WaitWithMessagePump, TimesOutAndPumpsBetweenSlices) {
  Events e(4);
  int pumps = 0;
  const DWORD start = GetTickCount();
  EXPECT_EQ(WaitWithMessagePump(4, e.handles.data(), 100, [&] { ++pumps; }), kWaitTimedOut);
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
