// The bridge's operations on a block of the test's own, one fresh block per case.
#include "modules/lococab/bridge_operations.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <thread>

namespace lococab {
namespace {

SharedBridgeData Fresh() { return InitialBridgeData(); }

TEST(BridgeBlock, StartsWithLocoChangedNoRequestAndTheRequestableSlots) {
  const SharedBridgeData b = Fresh();
  EXPECT_EQ(b.controllerConnected, 0);
  EXPECT_EQ(b.simulatorConnected, 0);
  EXPECT_EQ(b.locoChanged, 1);
  EXPECT_EQ(b.requestSlot, -1);
  EXPECT_EQ(b.pending, 0);
  std::string requestable, marked;
  for (int i = 0; i < kSlotCount; ++i) {
    EXPECT_EQ(b.slots[i].value, 0.0f);
    EXPECT_EQ(b.slots[i].flags & ~(kSlotRequestable | kSlotInitialMark), 0u) << i;
    if (b.slots[i].flags & kSlotRequestable) requestable += std::to_string(i) + " ";
    if (b.slots[i].flags & kSlotInitialMark) marked += std::to_string(i) + " ";
  }
  EXPECT_EQ(requestable, "0 1 2 3 4 5 6 7 8 27 30 ");
  EXPECT_EQ(marked, "0 1 2 4 5 6 8 ");
}

TEST(BridgeFlags, KeepTheLowByteOfTheirArgument) {
  const struct {
    int argument;
    int stored;
  } cases[] = {{0, 0}, {1, 1}, {255, 255}, {256, 0}, {0x1FF, 0xFF}, {-1, 0xFF}, {INT_MIN, 0}};
  for (const auto& c : cases) {
    SharedBridgeData b = Fresh();
    SetLococabConnected(b, c.argument);
    SetVeltrakConnected(b, c.argument);
    SetLococabLocoChanged(b, c.argument);
    EXPECT_EQ(GetLococabConnected(b), c.stored) << c.argument;
    EXPECT_EQ(GetVeltrakConnected(b), c.stored) << c.argument;
    EXPECT_EQ(GetVeltrakCombinedThrottleBrake(b), c.stored) << c.argument;
  }
}

TEST(BridgeFlags, LocoChangedIsReadOnceAndRaisedByBothControllerSetters) {
  SharedBridgeData b = Fresh();
  EXPECT_EQ(GetVeltrakLocoChanged(b), 1);
  EXPECT_EQ(GetVeltrakLocoChanged(b), 0);
  SetLococabConnected(b, 0);  // a disconnect raises it too
  EXPECT_EQ(GetVeltrakLocoChanged(b), 1);
  EXPECT_EQ(GetLococabConnected(b), 0);
  SetVeltrakConnected(b, 1);  // the simulator's flag does not
  EXPECT_EQ(GetVeltrakLocoChanged(b), 0);
  SetLococabLocoChanged(b, 3);
  EXPECT_EQ(GetVeltrakLocoChanged(b), 1);
  EXPECT_EQ(GetVeltrakCombinedThrottleBrake(b), 3);
  EXPECT_EQ(GetVeltrakCombinedThrottleBrake(b), 3);  // not cleared by reading
}

TEST(BridgeValues, APublishStoresTheValueClearsBitOneAndSetsTheMark) {
  const struct {
    int slot;
    std::uint32_t flagsBefore;
    std::uint32_t flagsAfter;
  } cases[] = {{0, 0xC, 0xD}, {57, 0x0, 0x1}, {12, 0xF, 0xD}, {30, 0x6, 0x5}, {7, 0x1, 0x1}};
  for (const auto& c : cases) {
    SharedBridgeData b = Fresh();
    b.slots[c.slot].flags = c.flagsBefore;
    SetVeltrakValue(b, c.slot, 2.5f);
    EXPECT_EQ(b.slots[c.slot].value, 2.5f) << c.slot;
    EXPECT_EQ(b.slots[c.slot].flags, c.flagsAfter) << c.slot;
  }
}

TEST(BridgeValues, SlotsOutsideTheTableAreIgnoredAndReadAsZero) {
  for (int slot : {-1, 58, INT_MIN, INT_MAX}) {
    SharedBridgeData b = Fresh();
    const SharedBridgeData before = b;
    SetVeltrakValue(b, slot, 9.0f);
    EXPECT_EQ(std::memcmp(&b, &before, sizeof b), 0) << slot;
    EXPECT_EQ(GetLococabValue(b, slot), 0.0f) << slot;
  }
}

TEST(BridgeValues, TheControllerSideWalksTheMarksAndReadingClearsOnlyTheMark) {
  SharedBridgeData b = Fresh();
  SetVeltrakValue(b, 5, 1.5f);
  SetVeltrakValue(b, 9, 2.0f);
  EXPECT_EQ(GetNextLococabId(b, -1), 5);
  EXPECT_EQ(GetNextLococabId(b, 5), 9);
  EXPECT_EQ(GetNextLococabId(b, 9), -1);
  EXPECT_EQ(GetLococabValue(b, 5), 1.5f);
  EXPECT_EQ(b.slots[5].flags, kSlotRequestable | kSlotInitialMark);
  EXPECT_EQ(GetNextLococabId(b, -1), 9);
  EXPECT_EQ(GetLococabValue(b, 5), 1.5f);  // the value stays, only the mark goes
}

TEST(BridgeValues, TheWalkStartsAfterItsArgumentAndNeverOverflows) {
  SharedBridgeData b = Fresh();
  SetVeltrakValue(b, 0, 1.0f);
  SetVeltrakValue(b, 57, 1.0f);
  const struct {
    int after;
    int next;
  } cases[] = {{INT_MIN, -1}, {-2, -1}, {-1, 0},  {0, 57},
               {56, 57},      {57, -1}, {58, -1}, {INT_MAX, -1}};
  for (const auto& c : cases) EXPECT_EQ(GetNextLococabId(b, c.after), c.next) << c.after;
  EXPECT_EQ(GetNextLococabId(Fresh(), -1), -1);
}

// The wait of a request, counted, with what the other side does at a given wait.
struct FakeWait {
  static inline int calls = 0;
  static inline int answerAt = -1;
  static inline float answer = 0.0f;
  static inline SharedBridgeData* block = nullptr;
  static void Step() {
    if (++calls == answerAt) SetLococabValue(*block, block->requestSlot, answer);
  }
  static void Reset(SharedBridgeData& b, int at = -1, float value = 0.0f) {
    calls = 0;
    answerAt = at;
    answer = value;
    block = &b;
  }
};

TEST(BridgeRequests, ASlotThatIsNotRequestableGivesZeroAndLeavesTheMailboxAlone) {
  for (int slot : {9, -1, 58, 57}) {
    SharedBridgeData b = Fresh();
    b.requestType = 42;
    FakeWait::Reset(b);
    EXPECT_EQ(GetVeltrakValue(b, slot, 7, FakeWait::Step), 0.0f) << slot;
    EXPECT_EQ(FakeWait::calls, 0) << slot;
    EXPECT_EQ(GetLococabGetId(b), -1) << slot;
    EXPECT_EQ(GetLococabGetType(b), 42) << slot;
  }
}

TEST(BridgeRequests, AnUnansweredRequestWaitsOneHundredStepsAndStaysPending) {
  SharedBridgeData b = Fresh();
  b.reply = 8.0f;  // an old answer is not taken for the new one
  FakeWait::Reset(b);
  EXPECT_EQ(GetVeltrakValue(b, 27, 7, FakeWait::Step), 0.0f);
  EXPECT_EQ(FakeWait::calls, kRequestChecks);
  EXPECT_EQ(GetLococabGetId(b), 27);
  EXPECT_EQ(GetLococabGetType(b), 7);
}

TEST(BridgeRequests, AnAnswerDuringTheWaitEndsItWithTheValue) {
  SharedBridgeData b = Fresh();
  FakeWait::Reset(b, 3, 3.0f);
  EXPECT_EQ(GetVeltrakValue(b, 27, 7, FakeWait::Step), 3.0f);
  EXPECT_EQ(FakeWait::calls, 3);
  EXPECT_EQ(GetLococabGetId(b), -1);
  EXPECT_EQ(GetLococabGetType(b), 7);  // the type stays after the answer
}

TEST(BridgeRequests, ANewRequestReplacesAPendingOneAndAnAnswerNeedsNoRequest) {
  SharedBridgeData b = Fresh();
  FakeWait::Reset(b);
  GetVeltrakValue(b, 27, 1, FakeWait::Step);
  FakeWait::Reset(b);
  GetVeltrakValue(b, 30, 2, FakeWait::Step);
  EXPECT_EQ(GetLococabGetId(b), 30);
  EXPECT_EQ(GetLococabGetType(b), 2);
  SetLococabValue(b, 4, 1.25f);  // answers whatever is pending
  EXPECT_EQ(GetLococabGetId(b), -1);
  EXPECT_EQ(b.requestSlot, 4);
  EXPECT_EQ(b.reply, 1.25f);
}

// A simulator publishing into one slot while the controller side drains it: in every round
// the last value published is read, never left behind with its mark cleared.
TEST(BridgeConcurrency, APublishRacingAReadNeverLosesTheLastValue) {
  constexpr int kRounds = 20000, kValuesPerRound = 20;
  SharedBridgeData b = Fresh();
  std::atomic<int> round{0}, published{0};
  int lost = 0;
  std::thread simulator([&] {
    for (int r = 1; r <= kRounds; ++r) {
      for (int v = 1; v <= kValuesPerRound; ++v)
        SetVeltrakValue(b, 10, static_cast<float>(r * 100 + v));
      published = r;
      while (round.load() < r) std::this_thread::yield();
    }
  });
  for (int r = 1; r <= kRounds; ++r) {
    float last = 0.0f;
    for (;;) {
      const bool done = published.load() >= r;
      if (GetNextLococabId(b, 9) == 10)
        last = GetLococabValue(b, 10);
      else if (done)
        break;
    }
    if (last != static_cast<float>(r * 100 + kValuesPerRound)) ++lost;
    round = r;
  }
  simulator.join();
  EXPECT_EQ(lost, 0);
}

}  // namespace
}  // namespace lococab
