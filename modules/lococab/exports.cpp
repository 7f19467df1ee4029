// The library's exports over the one block that the system maps into every process that
// loads the library. No handles, no locks, no heap.
#include <windows.h>

#include "modules/lococab/bridge_operations.h"

namespace {

// Section "SHARED", initialised, readable, writable and shared between processes.
__attribute__((section("SHARED"), shared)) constinit lococab::SharedBridgeData sharedBlock =
    lococab::InitialBridgeData();

void WaitOneMillisecond() { Sleep(1); }

// Flag results are one byte; returned widened so that a caller that declares the result as
// an int sees that byte alone.
using FlagResult = unsigned int;

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

void SetLococabConnected(int connected) { lococab::SetLococabConnected(sharedBlock, connected); }
FlagResult GetLococabConnected() { return lococab::GetLococabConnected(sharedBlock); }
void SetVeltrakConnected(int connected) { lococab::SetVeltrakConnected(sharedBlock, connected); }
FlagResult GetVeltrakConnected() { return lococab::GetVeltrakConnected(sharedBlock); }
void SetLococabLocoChanged(int combined) { lococab::SetLococabLocoChanged(sharedBlock, combined); }
FlagResult GetVeltrakLocoChanged() { return lococab::GetVeltrakLocoChanged(sharedBlock); }
FlagResult GetVeltrakCombinedThrottleBrake() {
  return lococab::GetVeltrakCombinedThrottleBrake(sharedBlock);
}

void SetVeltrakValue(int slot, float value) { lococab::SetVeltrakValue(sharedBlock, slot, value); }
int GetNextLococabId(int after) { return lococab::GetNextLococabId(sharedBlock, after); }
float GetLococabValue(int slot) { return lococab::GetLococabValue(sharedBlock, slot); }

float GetVeltrakValue(int slot, int type) {
  return lococab::GetVeltrakValue(sharedBlock, slot, type, WaitOneMillisecond);
}
int GetLococabGetId() { return lococab::GetLococabGetId(sharedBlock); }
int GetLococabGetType() { return lococab::GetLococabGetType(sharedBlock); }
void SetLococabValue(int slot, float value) { lococab::SetLococabValue(sharedBlock, slot, value); }

}  // extern "C"
