#include "platform/vhxhid/handle_table.h"

namespace vhx {

std::vector<int> HandleTable::Renumber(const std::vector<std::string>& keys) {
  numbers_.clear();
  keys_.clear();
  next_ = 0;
  return Merge(keys);
}

std::vector<int> HandleTable::Merge(const std::vector<std::string>& keys) {
  std::vector<int> handles;
  handles.reserve(keys.size());
  for (const std::string& key : keys) {
    auto [it, added] = numbers_.try_emplace(key, next_);
    if (added) keys_[next_++] = key;
    handles.push_back(it->second);
  }
  return handles;
}

const std::string* HandleTable::KeyOf(int handle) const {
  auto it = keys_.find(handle);
  return it == keys_.end() ? nullptr : &it->second;
}

void ChangeTracker::Reset(const std::vector<std::string>& keys) {
  known_ = std::set<std::string>(keys.begin(), keys.end());
}

DeviceChange ChangeTracker::Poll(const std::vector<std::string>& keys) {
  std::set<std::string> now(keys.begin(), keys.end());
  DeviceChange change;
  for (const std::string& key : now)
    if (!known_.count(key)) ++change.arrived;
  for (const std::string& key : known_)
    if (!now.count(key)) ++change.removed;
  known_ = std::move(now);
  return change;
}

}  // namespace vhx
