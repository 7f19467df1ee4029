// The LED blink worker: its halves in turn, a period changed while it runs, and a stop that
// always comes quickly, whenever it is asked for.
#include "ui/programming_window/led_blink_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>

namespace {

class Phases {
 public:
  LedBlinkWorker::Phase Recorder() {
    return [this](bool lit) {
      std::lock_guard<std::mutex> lock(mutex_);
      text_ += lit ? 'L' : 'o';
    };
  }
  std::string Text() {
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
  }

 private:
  std::mutex mutex_;
  std::string text_;
};

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    Sleep(5);
  }
  return true;
}

TEST(LedBlinkWorker, HalvesInTurnUntilAskedToStop) {
  std::atomic<int> period{60};
  Phases phases;
  LedBlinkWorker worker;
  ASSERT_TRUE(worker.Start(period, phases.Recorder()));
  ASSERT_TRUE(WaitFor([&] { return phases.Text().size() >= 4; }, 3000));
  EXPECT_EQ(phases.Text().substr(0, 4), "oLoL");
  // The way the context's teardown asks: -1, then the worker's own 0.
  period = -1;
  EXPECT_TRUE(WaitFor([&] { return period.load() == 0; }, 500));
  EXPECT_TRUE(worker.Stop());
  EXPECT_FALSE(worker.Running());
  const std::string seen = phases.Text();
  Sleep(150);
  EXPECT_EQ(phases.Text(), seen);
}

TEST(LedBlinkWorker, StopIsQuickEvenInTheMiddleOfALongHalf) {
  std::atomic<int> period{5000};
  Phases phases;
  LedBlinkWorker worker;
  ASSERT_TRUE(worker.Start(period, phases.Recorder()));
  ASSERT_TRUE(WaitFor([&] { return !phases.Text().empty(); }, 1000));
  const DWORD start = GetTickCount();
  EXPECT_TRUE(worker.Stop());
  EXPECT_LT(GetTickCount() - start, 200u);
  EXPECT_EQ(period.load(), 0);
}

TEST(LedBlinkWorker, APeriodChangedWhileItRunsTakesEffect) {
  std::atomic<int> period{300};
  Phases phases;
  LedBlinkWorker worker;
  ASSERT_TRUE(worker.Start(period, phases.Recorder()));
  ASSERT_TRUE(WaitFor([&] { return !phases.Text().empty(); }, 1000));
  period = 20;  // as the editor does when it opens
  // The half begun ends at its own length (300 ms); the next ones are short (about 500 ms for
  // ten in all). At 300 ms each, ten halves would take 3 s: the margin is for a loaded machine.
  EXPECT_TRUE(WaitFor([&] { return phases.Text().size() >= 10; }, 2500)) << phases.Text();
  EXPECT_TRUE(worker.Stop());
}

TEST(LedBlinkWorker, AStopBeforeAnythingAndAStopAfterTheWorkerEnded) {
  LedBlinkWorker idle;
  EXPECT_TRUE(idle.Stop());
  std::atomic<int> period{-1};  // asked to stop before it began
  Phases phases;
  LedBlinkWorker worker;
  ASSERT_TRUE(worker.Start(period, phases.Recorder()));
  EXPECT_TRUE(WaitFor([&] { return period.load() == 0; }, 500));
  EXPECT_TRUE(worker.Stop());
  EXPECT_EQ(phases.Text(), "");
  EXPECT_EQ(period.load(), 0);  // still the worker's 0, not a -1 nobody would answer
}

TEST(LedBlinkWorker, StartsAgainAfterAStopAndStopsWhenItGoes) {
  std::atomic<int> period{20};
  Phases phases;
  {
    LedBlinkWorker worker;
    ASSERT_TRUE(worker.Start(period, phases.Recorder()));
    ASSERT_TRUE(WaitFor([&] { return !phases.Text().empty(); }, 1000));
    ASSERT_TRUE(worker.Stop());
    EXPECT_FALSE(worker.Running());
    // A stopped worker holds no thread any more: a new start makes one.
    period = 20;
    const std::size_t before = phases.Text().size();
    ASSERT_TRUE(worker.Start(period, phases.Recorder()));
    EXPECT_TRUE(worker.Running());
    EXPECT_TRUE(WaitFor([&] { return phases.Text().size() > before; }, 1000));
  }
  // Gone while it ran: stopped first, and the 0 written.
  EXPECT_EQ(period.load(), 0);
  const std::string seen = phases.Text();
  Sleep(100);
  EXPECT_EQ(phases.Text(), seen);
}

}  // namespace
