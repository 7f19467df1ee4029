#pragma once
// The key-cap legend editor ("Legend Maker"): a mode of the programming window, not a window of
// its own. Opening it gives the window the editor's menu and title, takes the window's
// messages first (its mode) and lays one caption box over every key label; Exit (or the close
// box) puts the programming window back. Everything runs on the thread that owns the window.

#include <windows.h>

struct MacroContext;

// Turns the programming window of the context into the legend editor; nothing when the window
// is not that context's programming window, the device has no "layout.kll", or the window
// already is the editor. Command 32902 of the programming window. It asks the user through the
// platform the window was opened with.
void OpenLegendMaker(MacroContext& context, HWND window);

// The editor's accelerators (table 145) for a message of this thread, while an editor is on
// and its window is the active one; true when the message was translated. The editor hooks it
// into the thread's message pump itself.
bool LegendTranslateAccelerator(MSG& msg);

// The window is the legend editor now.
bool IsLegendMakerActive(HWND window);
