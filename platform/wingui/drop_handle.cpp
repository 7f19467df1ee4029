#include "platform/wingui/drop_handle.h"

namespace wingui {

std::vector<std::wstring> DropHandle::Paths() const {
  std::vector<std::wstring> paths;
  if (!drop_) return paths;
  const UINT count = DragQueryFileW(drop_, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop_, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop_, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(std::move(path));
  }
  return paths;
}

POINT DropHandle::Point() const {
  POINT at{};
  if (drop_) DragQueryPoint(drop_, &at);
  return at;
}

}  // namespace wingui
