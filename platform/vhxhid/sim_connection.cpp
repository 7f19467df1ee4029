#include "platform/vhxhid/sim_connection.h"

namespace vhx::sim {

std::string SanitizeSimName(const std::string& name) {
  std::string safe;
  for (char c : name) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '_' || c == '.';
    safe += plain ? c : '_';
  }
  return safe.empty() ? "_" : safe;
}

SimConnection::SimConnection(const std::string& name)
    : name_(name), objectPrefix_("VHXHID." + SanitizeSimName(name)) {
  char temp[MAX_PATH + 1] = {};
  DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n > MAX_PATH) return;
  std::string path = std::string(temp) + "vhxhid-sim-" + SanitizeSimName(name) + ".bin";

  mutex_.reset(CreateMutexA(nullptr, FALSE, (objectPrefix_ + ".lock").c_str()));
  if (!mutex_) return;
  file_.reset(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) return;
  mapping_.reset(CreateFileMappingA(file_.get(), nullptr, PAGE_READWRITE, 0, sizeof(Block),
                                    (objectPrefix_ + ".map").c_str()));
  if (!mapping_) return;
  void* view = MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Block));
  if (!view) return;
  block_ = static_cast<Block*>(view);
  Lock lock(*this);
  if (!BlockReady(*block_)) InitBlock(*block_);
}

SimConnection::~SimConnection() {
  events_.clear();
  if (block_) UnmapViewOfFile(block_);
}

SimConnection::Lock::Lock(const SimConnection& c) : mutex_(c.mutex_.get()) {
  // An owner that died leaves the mutex abandoned: the block is still usable.
  WaitForSingleObject(mutex_, INFINITE);
}

SimConnection::Lock::~Lock() { ReleaseMutex(mutex_); }

UniqueHandle SimConnection::OpenDeviceEvent(uint32_t id, DeviceEvent kind) const {
  std::string eventName = objectPrefix_ + "." + std::to_string(id) +
                          (kind == DeviceEvent::kRead ? ".read" : ".removal");
  return UniqueHandle(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
}

HANDLE SimConnection::CachedEvent(uint32_t id, DeviceEvent kind) {
  auto key = std::make_pair(id, static_cast<int>(kind));
  auto it = events_.find(key);
  if (it == events_.end()) it = events_.emplace(key, OpenDeviceEvent(id, kind)).first;
  return it->second.get();
}

void SimConnection::SetDeviceEvent(uint32_t id, DeviceEvent kind) {
  if (HANDLE h = CachedEvent(id, kind)) SetEvent(h);
}

void SimConnection::ResetDeviceEvent(uint32_t id, DeviceEvent kind) {
  if (HANDLE h = CachedEvent(id, kind)) ResetEvent(h);
}

void SimConnection::ForgetDevice(uint32_t id) {
  events_.erase({id, static_cast<int>(DeviceEvent::kRead)});
  events_.erase({id, static_cast<int>(DeviceEvent::kRemoval)});
}

}  // namespace vhx::sim
