#include "platform/wingui/window_map.h"

#include <mutex>
#include <unordered_map>

namespace wingui::window_map {
namespace {

// Windows live on the program's thread and on the device thread, so the map is shared.
struct Map {
  std::mutex lock;
  std::unordered_map<HWND, Window*> windows;
};

Map& TheMap() {
  static Map map;
  return map;
}

}  // namespace

void Add(HWND hwnd, Window* window) {
  Map& m = TheMap();
  std::lock_guard guard(m.lock);
  m.windows[hwnd] = window;
}

void Remove(HWND hwnd) {
  Map& m = TheMap();
  std::lock_guard guard(m.lock);
  m.windows.erase(hwnd);
}

Window* Find(HWND hwnd) {
  if (!hwnd) return nullptr;
  Map& m = TheMap();
  std::lock_guard guard(m.lock);
  const auto it = m.windows.find(hwnd);
  return it == m.windows.end() ? nullptr : it->second;
}

std::size_t Size() {
  Map& m = TheMap();
  std::lock_guard guard(m.lock);
  return m.windows.size();
}

}  // namespace wingui::window_map
