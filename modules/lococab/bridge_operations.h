#pragma once
// What the library's exports do to the shared block, over a block passed in so that the logic
// is the same for the block of the library and for a block of a test. Every field is read and
// written atomically: other processes change the block at any time.

#include <cstdint>

#include "modules/lococab/shared_bridge_data.h"

namespace lococab {

// How many times a value request looks for its answer, one wait apart.
constexpr int kRequestChecks = 100;
// One wait of a value request (the library sleeps 1 ms).
using WaitStep = void (*)();

// Connection flags and the loco-changed indication. Flags travel as int and are kept as their
// low byte.
void SetLococabConnected(SharedBridgeData& block, int connected);
std::uint8_t GetLococabConnected(const SharedBridgeData& block);
void SetVeltrakConnected(SharedBridgeData& block, int connected);
std::uint8_t GetVeltrakConnected(const SharedBridgeData& block);
void SetLococabLocoChanged(SharedBridgeData& block, int combined);
// Reads the flag and clears it in one step.
std::uint8_t GetVeltrakLocoChanged(SharedBridgeData& block);
std::uint8_t GetVeltrakCombinedThrottleBrake(const SharedBridgeData& block);

// Published values: the simulator stores, the controller side walks the new-value marks.
void SetVeltrakValue(SharedBridgeData& block, int slot, float value);
int GetNextLococabId(const SharedBridgeData& block, int after);
float GetLococabValue(SharedBridgeData& block, int slot);

// The request mailbox: one side asks and waits, the other polls and answers.
float GetVeltrakValue(SharedBridgeData& block, int slot, int type, WaitStep wait);
int GetLococabGetId(const SharedBridgeData& block);
int GetLococabGetType(const SharedBridgeData& block);
void SetLococabValue(SharedBridgeData& block, int slot, float value);

}  // namespace lococab
