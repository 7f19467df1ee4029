#pragma once
// Files dropped on a window (WM_DROPFILES, or a rich edit's EN_DROPFILES): the drop's memory is
// the receiver's to free, so the handle is finished when its scope ends, whichever way the
// message is answered.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace wingui {

class DropHandle {
 public:
  explicit DropHandle(HDROP drop) : drop_(drop) {}
  ~DropHandle() {
    if (drop_) DragFinish(drop_);
  }
  DropHandle(const DropHandle&) = delete;
  DropHandle& operator=(const DropHandle&) = delete;

  // The files, in the order of the drop.
  std::vector<std::wstring> Paths() const;
  // Where it landed, in client coordinates of the window dropped on.
  POINT Point() const;

 private:
  HDROP drop_;
};

}  // namespace wingui
