#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vhx {

// Handle numbers of interfaces, keyed by something that names an interface for as long as it
// stays attached (a device path, a simulated device id).
class HandleTable {
 public:
  // Full enumeration: the keys get 0 .. n-1 in order; every earlier number is forgotten.
  std::vector<int> Renumber(const std::vector<std::string>& keys);
  // Enumeration that must not disturb open interfaces: known keys keep their numbers, new keys
  // get numbers past every number handed out since the last Renumber.
  std::vector<int> Merge(const std::vector<std::string>& keys);
  // The key of a number, or null.
  const std::string* KeyOf(int handle) const;

 private:
  std::map<std::string, int> numbers_;
  std::map<int, std::string> keys_;
  int next_ = 0;
};

struct DeviceChange {
  int arrived = 0;
  int removed = 0;
};

// Device set changes since the previous poll or full enumeration.
class ChangeTracker {
 public:
  void Reset(const std::vector<std::string>& keys);
  DeviceChange Poll(const std::vector<std::string>& keys);

 private:
  std::set<std::string> known_;
};

}  // namespace vhx
