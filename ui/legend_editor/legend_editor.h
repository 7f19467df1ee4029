#pragma once
// The key-cap legend editor ("Legend Maker"): a mode of the programming window, not a window of
// its own. Opening it swaps the window's procedure, menu, title and user data for the editor's
// and lays one caption box over every key label; Exit (or the close box) puts the programming
// window back. Everything runs on the thread that owns the window.

#include <windows.h>

struct MacroContext;

// Turns the programming window into the legend editor for the context's keypad; nothing when
// the device has no "layout.kll", or when the window already is the editor.
void OpenLegendMaker(MacroContext& context, HWND window);

// The editor's accelerators (table 145) for a message of this thread, while an editor is on
// and its window is the active one; true when the message was translated. The editor hooks it
// into the thread's message pump itself.
bool LegendTranslateAccelerator(MSG& msg);

// The window is the legend editor now (its keys and the device's go nowhere else).
bool IsLegendMakerActive(HWND window);
