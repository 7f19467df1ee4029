#include "runtime/script/script_engine_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(ScriptEngineLock, IsRecursivePerThread) {
  EXPECT_FALSE(UnlockScriptEngine());  // not held: nothing to leave
  LockScriptEngine();
  LockScriptEngine();
  EXPECT_EQ(ScriptEngineLockDepth(), 2);
  EXPECT_TRUE(UnlockScriptEngine());
  EXPECT_TRUE(ReleaseScriptEngine());
  EXPECT_FALSE(UnlockScriptEngine());
  EXPECT_EQ(ScriptEngineLockDepth(), 0);
}

TEST(ScriptEngineLock, GivesTheContextSetByTheDeviceThread) {
  auto* fake = reinterpret_cast<asIScriptContext*>(0x1234);
  SetLockedScriptContext(fake);
  EXPECT_EQ(LockScriptEngine(), fake);
  UnlockScriptEngine();
  SetLockedScriptContext(nullptr);
}

TEST(ScriptEngineLock, ReleasingFullyLetsAnotherThreadInAndRetakesTheDepth) {
  LockScriptEngine();
  LockScriptEngine();
  LockScriptEngine();
  std::atomic<bool> otherGotIn{false};
  const int held = ReleaseScriptEngineFully();
  EXPECT_EQ(held, 3);
  std::thread other([&] {
    LockScriptEngine();
    otherGotIn = true;
    UnlockScriptEngine();
  });
  other.join();
  EXPECT_TRUE(otherGotIn);
  RetakeScriptEngine(held);
  EXPECT_EQ(ScriptEngineLockDepth(), 3);
  ReleaseScriptEngineFully();
}

TEST(ScriptEngineLock, ExcludesOtherThreadsUnderContention) {
  int counter = 0;  // guarded only by the lock
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        LockScriptEngine();
        LockScriptEngine();
        const int seen = counter;
        counter = seen + 1;
        UnlockScriptEngine();
        // A thread that does not hold the lock cannot leave it for another.
        UnlockScriptEngine();
        EXPECT_FALSE(UnlockScriptEngine());
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 6 * 2000);
}

}  // namespace
