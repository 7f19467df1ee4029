#pragma once
// A process's view of one simulation: the shared block (a file mapping in the temp folder, so
// that it outlives short-lived controller runs), the named mutex that guards it and the named
// events of its devices. All object names are scoped by the simulation's name.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "platform/vhxhid/sim_block.h"
#include "platform/vhxhid/win_handle.h"

namespace vhx::sim {

enum class DeviceEvent { kRead, kRemoval };

class SimConnection {
 public:
  explicit SimConnection(const std::string& name);
  ~SimConnection();
  SimConnection(const SimConnection&) = delete;
  SimConnection& operator=(const SimConnection&) = delete;

  bool ok() const { return block_ != nullptr; }
  const std::string& name() const { return name_; }

  // Holds the simulation's mutex.
  class Lock {
   public:
    explicit Lock(const SimConnection& c);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    HANDLE mutex_;
  };

  // Only with a Lock held.
  Block& block() const { return *block_; }

  // A new handle to a device's named event (manual reset; created if missing).
  UniqueHandle OpenDeviceEvent(uint32_t id, DeviceEvent kind) const;
  void SetDeviceEvent(uint32_t id, DeviceEvent kind);
  void ResetDeviceEvent(uint32_t id, DeviceEvent kind);
  // Drops the cached event handles of a device that is gone.
  void ForgetDevice(uint32_t id);

 private:
  HANDLE CachedEvent(uint32_t id, DeviceEvent kind);

  std::string name_;
  std::string objectPrefix_;
  UniqueHandle file_;
  UniqueHandle mapping_;
  UniqueHandle mutex_;
  Block* block_ = nullptr;
  std::map<std::pair<uint32_t, int>, UniqueHandle> events_;
};

// The name made safe for object and file names.
std::string SanitizeSimName(const std::string& name);

}  // namespace vhx::sim
