#include "platform/vhxhid/hid_library.h"

#include <algorithm>
#include <utility>

namespace vhx {

struct Library::Interface {
  explicit Interface(InterfaceInfo i) : info(std::move(i)) {}
  InterfaceInfo info;
  std::mutex mutex;  // the events, the port and the latest report
  bool haveEvents = false;
  EventPair events;
  std::unique_ptr<Port> port;
  std::vector<uint8_t> latest;
  std::vector<uint8_t> lastRead;  // the report Read handed out last
  // Kept open over a renumbering: the next set-up hands out lastRead again first, as a keypad
  // reports its state when it is opened, and the reports queued meanwhile follow it.
  bool carriedOver = false;
  std::vector<uint8_t> replay;
};

Library::Library(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {}
Library::~Library() = default;

std::shared_ptr<Library::Interface> Library::Find(int handle) {
  std::lock_guard lock(mutex_);
  auto it = interfaces_.find(handle);
  return it == interfaces_.end() ? nullptr : it->second;
}

bool Library::ListVendor(int vendorId, std::vector<InterfaceInfo>& out) {
  std::vector<InterfaceInfo> all;
  if (!backend_->Enumerate(all)) return false;
  out.clear();
  for (InterfaceInfo& info : all)
    if (info.vendorId == vendorId) out.push_back(std::move(info));
  // The keypad's consumer-page interface before its keyboard one, so that callers keeping the
  // first interface of a product id keep the one they can use.
  std::stable_sort(out.begin(), out.end(), [](const InterfaceInfo& a, const InterfaceInfo& b) {
    return (a.usagePage == 12) > (b.usagePage == 12);
  });
  return true;
}

int Library::Enumerate(int vendorId, VhxEntry* entries, int* count, int room,
                       Numbering numbering) {
  if (!entries || !count) return VHX_ERR_ARGUMENT;
  *count = 0;
  std::vector<InterfaceInfo> found;
  std::vector<std::shared_ptr<Interface>> retired;  // closed outside the table lock
  std::lock_guard lock(mutex_);
  if (const int error = backend_->EnumerateError()) return error;
  if (!ListVendor(vendorId, found)) return VHX_ERR_ENUMERATE;

  const bool renumber = numbering != Numbering::KeepNumbers;
  std::vector<std::string> keys;
  for (const InterfaceInfo& info : found) keys.push_back(info.key);
  if (renumber) changes_.Reset(keys);
  if (found.size() > static_cast<size_t>(room)) {
    found.resize(room);
    keys.resize(room);
  }
  std::vector<int> numbers = renumber ? handles_.Renumber(keys) : handles_.Merge(keys);
  // Interfaces in use, by key, that may stay open under their new numbers.
  std::map<std::string, std::shared_ptr<Interface>> inUse;
  if (renumber) {
    for (auto& [handle, iface] : interfaces_) {
      if (numbering == Numbering::RenumberKeepingUse && InUse(*iface))
        inUse.emplace(iface->info.key, std::move(iface));
      else
        retired.push_back(std::move(iface));
    }
    interfaces_.clear();
  }
  for (size_t i = 0; i < found.size(); ++i) {
    auto& slot = interfaces_[numbers[i]];
    if (!slot) {
      auto kept = inUse.find(found[i].key);
      if (kept != inUse.end()) {
        slot = std::move(kept->second);
        inUse.erase(kept);
        std::lock_guard hold(slot->mutex);
        slot->carriedOver = true;
      } else {
        slot = std::make_shared<Interface>(found[i]);
      }
    }
    entries[i] = VhxEntry{found[i].productId, found[i].usage, found[i].usagePage, numbers[i]};
  }
  for (auto& [key, iface] : inUse) retired.push_back(std::move(iface));  // gone, or past the room
  *count = static_cast<int>(found.size());
  return VHX_OK;
}

bool Library::InUse(Interface& iface) {
  std::lock_guard lock(iface.mutex);
  return iface.port && !iface.port->Failed();
}

int Library::Version(int handle) {
  auto iface = Find(handle);
  return iface ? iface->info.version : 0;
}

int Library::InputLength(int handle) {
  auto iface = Find(handle);
  return iface ? iface->info.inputLength : 0;
}

int Library::OutputLength(int handle) {
  auto iface = Find(handle);
  return iface ? iface->info.outputLength : 0;
}

int Library::Open(Interface& iface) {
  if (!iface.haveEvents) {
    iface.events = backend_->CreateEvents(iface.info);
    if (!iface.events.read || !iface.events.removal) return VHX_ERR_INTERNAL;
    iface.haveEvents = true;
  }
  if (iface.port && !iface.port->Failed()) return VHX_OK;
  iface.port.reset();
  iface.latest.clear();
  iface.port = backend_->Open(iface.info, &iface.events);
  return iface.port ? VHX_OK : VHX_ERR_OPEN;
}

int Library::SetUp(int handle, HANDLE* readEvent, HANDLE* removalEvent) {
  auto iface = Find(handle);
  if (!iface) return VHX_ERR_HANDLE;
  if (const int error = backend_->SetUpError(iface->info)) return error;
  std::lock_guard lock(iface->mutex);
  int result = Open(*iface);
  if (result == VHX_OK && std::exchange(iface->carriedOver, false) && !iface->lastRead.empty()) {
    iface->replay = iface->lastRead;
    SetEvent(iface->events.read.get());
  }
  if (iface->haveEvents) {
    if (readEvent) *readEvent = iface->events.read.get();
    if (removalEvent) *removalEvent = iface->events.removal.get();
  }
  return result;
}

int Library::OpenPolled(int handle) { return SetUp(handle, nullptr, nullptr); }

int Library::Read(int handle, uint8_t* buffer) {
  if (!buffer) return VHX_ERR_ARGUMENT;
  auto iface = Find(handle);
  if (!iface) return VHX_ERR_HANDLE;
  std::lock_guard lock(iface->mutex);
  if (!iface->port) return VHX_ERR_NO_REPORT;
  if (!iface->replay.empty()) {
    std::copy(iface->replay.begin(), iface->replay.end(), buffer);
    iface->replay.clear();
    // Whatever was queued since comes next; a read that finds nothing clears the event.
    SetEvent(iface->events.read.get());
    return VHX_OK;
  }
  if (!iface->port->Read(buffer)) return VHX_ERR_NO_REPORT;
  iface->lastRead.assign(buffer, buffer + std::max(iface->info.inputLength, 0));
  return VHX_OK;
}

int Library::Write(int handle, const uint8_t* buffer) {
  if (!buffer) return VHX_ERR_ARGUMENT;
  auto iface = Find(handle);
  if (!iface) return VHX_ERR_HANDLE;
  std::lock_guard lock(iface->mutex);
  if (iface->info.outputLength <= 0) return VHX_ERR_WRITE;
  if (iface->port) return iface->port->Write(buffer) ? VHX_OK : VHX_ERR_WRITE;
  // Not in use (a mode switch from the tray, say): a port of its own for this one write.
  std::unique_ptr<Port> once = backend_->Open(iface->info, nullptr);
  if (!once) return VHX_ERR_OPEN;
  return once->Write(buffer) ? VHX_OK : VHX_ERR_WRITE;
}

int Library::Close(int handle) {
  auto iface = Find(handle);
  if (!iface) return VHX_ERR_HANDLE;
  std::lock_guard lock(iface->mutex);
  if (iface->port) {
    iface->port->Discard();
    iface->port.reset();
  }
  iface->latest.clear();
  iface->lastRead.clear();
  iface->replay.clear();
  iface->carriedOver = false;
  return VHX_OK;
}

int Library::PollChanges(int vendorId, int* arrived, int* removed) {
  std::vector<InterfaceInfo> found;
  std::lock_guard lock(mutex_);
  if (!ListVendor(vendorId, found)) return VHX_ERR_ENUMERATE;
  std::vector<std::string> keys;
  for (const InterfaceInfo& info : found) keys.push_back(info.key);
  DeviceChange change = changes_.Poll(keys);
  if (arrived) *arrived = change.arrived;
  if (removed) *removed = change.removed;
  return VHX_OK;
}

int Library::SwitchMode(int handle) {
  auto iface = Find(handle);
  if (!iface) return VHX_ERR_HANDLE;
  return backend_->SwitchMode(iface->info) ? VHX_OK : VHX_ERR_NO_SWITCH;
}

// Everything queued goes; the newest report stays as the latest.
static void DrainToLatest(Port& port, int inputLength, std::vector<uint8_t>& latest) {
  std::vector<uint8_t> report(std::max(inputLength, 1));
  while (port.Read(report.data())) latest = report;
}

int Library::StartSampling(int handle) {
  auto iface = Find(handle);
  if (!iface) return VHX_ERR_HANDLE;
  if (const int error = backend_->SamplingError(iface->info)) return error;
  std::lock_guard lock(iface->mutex);
  if (!iface->port) return VHX_ERR_OPEN;
  DrainToLatest(*iface->port, iface->info.inputLength, iface->latest);
  return VHX_OK;
}

int Library::ReadLatest(int handle, uint8_t* buffer) {
  if (!buffer) return VHX_ERR_ARGUMENT;
  auto iface = Find(handle);
  if (!iface) return VHX_ERR_HANDLE;
  std::lock_guard lock(iface->mutex);
  if (!iface->port) return VHX_ERR_OPEN;
  DrainToLatest(*iface->port, iface->info.inputLength, iface->latest);
  if (iface->port->Failed()) return VHX_ERR_GONE;
  if (iface->latest.empty()) return VHX_ERR_NO_REPORT;
  std::copy(iface->latest.begin(), iface->latest.begin() + iface->info.inputLength, buffer);
  return VHX_OK;
}

}  // namespace vhx
