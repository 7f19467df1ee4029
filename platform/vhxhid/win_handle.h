#pragma once
// The library's handles are the platform layer's owned handles.
#include "platform/base/unique_handle.h"

namespace vhx {
using UniqueHandle = ::UniqueHandle;
}  // namespace vhx
