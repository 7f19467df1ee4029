#include "modules/lococab/bridge_operations.h"

#include <atomic>
#include <cstdint>

namespace lococab {

namespace {

template <typename T>
T Load(const T& field) {
  return std::atomic_ref<T>(const_cast<T&>(field)).load();
}

template <typename T>
void Store(T& field, T value) {
  std::atomic_ref<T>(field).store(value);
}

std::uint8_t LowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

bool IsSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

}  // namespace

void SetLococabConnected(SharedBridgeData& block, int connected) {
  Store(block.controllerConnected, LowByte(connected));
  Store(block.locoChanged, std::uint8_t{1});
}

std::uint8_t GetLococabConnected(const SharedBridgeData& block) {
  return Load(block.controllerConnected);
}

void SetVeltrakConnected(SharedBridgeData& block, int connected) {
  Store(block.simulatorConnected, LowByte(connected));
}

std::uint8_t GetVeltrakConnected(const SharedBridgeData& block) {
  return Load(block.simulatorConnected);
}

void SetLococabLocoChanged(SharedBridgeData& block, int combined) {
  Store(block.combinedThrottleBrake, LowByte(combined));
  Store(block.locoChanged, std::uint8_t{1});
}

std::uint8_t GetVeltrakLocoChanged(SharedBridgeData& block) {
  // A change raised between a separate read and clear would be lost.
  return std::atomic_ref<std::uint8_t>(block.locoChanged).exchange(0);
}

std::uint8_t GetVeltrakCombinedThrottleBrake(const SharedBridgeData& block) {
  return Load(block.combinedThrottleBrake);
}

void SetVeltrakValue(SharedBridgeData& block, int slot, float value) {
  if (!IsSlot(slot)) return;
  ValueSlot& s = block.slots[slot];
  // Value first, mark last: a reader that sees the mark sees the value. Each flag change is
  // one atomic step, so the other side's clearing of the mark is never undone.
  Store(s.value, value);
  std::atomic_ref<std::uint32_t> flags(s.flags);
  flags.fetch_and(~kSlotPublishClears);
  flags.fetch_or(kSlotNewValue);
}

int GetNextLococabId(const SharedBridgeData& block, int after) {
  // Compared before adding one, so that after + 1 cannot overflow.
  if (after < -1 || after >= kSlotCount - 1) return kNoSlot;
  for (int i = after + 1; i < kSlotCount; ++i)
    if (Load(block.slots[i].flags) & kSlotNewValue) return i;
  return kNoSlot;
}

float GetLococabValue(SharedBridgeData& block, int slot) {
  if (!IsSlot(slot)) return 0.0f;
  ValueSlot& s = block.slots[slot];
  // Mark first, value last: a value published in between keeps its mark and is read again
  // rather than lost.
  std::atomic_ref<std::uint32_t>(s.flags).fetch_and(~kSlotNewValue);
  return Load(s.value);
}

float GetVeltrakValue(SharedBridgeData& block, int slot, int type, WaitStep wait) {
  if (!IsSlot(slot) || !(Load(block.slots[slot].flags) & kSlotRequestable)) return 0.0f;
  Store(block.requestSlot, std::int32_t{slot});
  Store(block.requestType, std::int32_t{type});
  Store(block.reply, 0.0f);
  Store(block.pending, std::uint8_t{1});
  for (int i = 0; i < kRequestChecks; ++i) {
    if (Load(block.pending) == 0) break;
    wait();
  }
  return Load(block.reply);
}

int GetLococabGetId(const SharedBridgeData& block) {
  return Load(block.pending) ? Load(block.requestSlot) : kNoSlot;
}

int GetLococabGetType(const SharedBridgeData& block) { return Load(block.requestType); }

void SetLococabValue(SharedBridgeData& block, int slot, float value) {
  Store(block.requestSlot, std::int32_t{slot});
  Store(block.reply, value);
  Store(block.pending, std::uint8_t{0});  // last: the waiter then finds the reply in place
}

}  // namespace lococab
