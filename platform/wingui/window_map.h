#pragma once
// Which object answers for which window handle. The map is filled when a window is created and
// emptied when it is destroyed; the window's own user-data slot stays free for the views that
// keep their state there.

#include <windows.h>

#include <cstddef>

namespace wingui {

class Window;

namespace window_map {

void Add(HWND hwnd, Window* window);
void Remove(HWND hwnd);
// The object of the window, or null (not ours, not yet created, or already destroyed).
Window* Find(HWND hwnd);
// How many windows are in the map (of every thread).
std::size_t Size();

}  // namespace window_map
}  // namespace wingui
