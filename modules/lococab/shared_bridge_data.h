#pragma once
// The block that a train simulator and the controller side share: 496 bytes, little-endian,
// the same in every process that loads the library. Plain C++, no platform calls.

#include <array>
#include <cstddef>
#include <cstdint>

namespace lococab {

constexpr int kSlotCount = 58;
constexpr int kNoSlot = -1;

// Flags of a value slot.
constexpr std::uint32_t kSlotNewValue = 0x1;       // set by a publish, cleared by a read
constexpr std::uint32_t kSlotPublishClears = 0x2;  // cleared by every publish
constexpr std::uint32_t kSlotRequestable = 0x4;    // a value request may be posted for it
constexpr std::uint32_t kSlotInitialMark = 0x8;    // only ever in the initial data

struct ValueSlot {
  float value;
  std::uint32_t flags;
};

struct SharedBridgeData {
  std::uint8_t controllerConnected;
  std::uint8_t simulatorConnected;
  std::uint8_t locoChanged;
  std::uint8_t combinedThrottleBrake;
  std::int32_t requestSlot;
  float reply;
  std::int32_t requestType;
  std::uint8_t pending;
  std::uint8_t reserved1[7];
  ValueSlot slots[kSlotCount];
  std::uint8_t reserved2[8];
};

// Other processes read these offsets: they must not move.
static_assert(sizeof(float) == 4);
static_assert(offsetof(SharedBridgeData, controllerConnected) == 0x000);
static_assert(offsetof(SharedBridgeData, simulatorConnected) == 0x001);
static_assert(offsetof(SharedBridgeData, locoChanged) == 0x002);
static_assert(offsetof(SharedBridgeData, combinedThrottleBrake) == 0x003);
static_assert(offsetof(SharedBridgeData, requestSlot) == 0x004);
static_assert(offsetof(SharedBridgeData, reply) == 0x008);
static_assert(offsetof(SharedBridgeData, requestType) == 0x00C);
static_assert(offsetof(SharedBridgeData, pending) == 0x010);
static_assert(offsetof(SharedBridgeData, slots) == 0x018);
static_assert(sizeof(ValueSlot) == 8);
static_assert(offsetof(SharedBridgeData, reserved2) == 0x1E8);
static_assert(sizeof(SharedBridgeData) == 496);

// The block as the first process to load the library finds it.
constexpr SharedBridgeData InitialBridgeData() {
  SharedBridgeData d{};
  d.locoChanged = 1;
  d.requestSlot = kNoSlot;
  constexpr std::array<int, 7> requestableMarked{0, 1, 2, 4, 5, 6, 8};
  constexpr std::array<int, 4> requestable{3, 7, 27, 30};
  for (int i : requestableMarked) d.slots[i].flags = kSlotRequestable | kSlotInitialMark;
  for (int i : requestable) d.slots[i].flags = kSlotRequestable;
  return d;
}

}  // namespace lococab
