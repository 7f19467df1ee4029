#pragma once
// The text of any window or control as a std::string.

#include <windows.h>

#include <string>

namespace wingui {

std::string WindowTextOf(HWND hwnd);

}  // namespace wingui
