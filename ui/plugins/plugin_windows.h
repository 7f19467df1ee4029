#pragma once
// Per-key plug-ins in the program: the programming window's keys offered to the plug-in
// libraries its layout names (the device type folder first, then the program folder), and the
// libraries given back when the window closes, after every window that still runs their code.

#include <windows.h>

#include <string>

struct DeviceFolderEntry;
struct MacroContext;

// The context of a programming window of the calling thread; null for any other handle (a
// plug-in may pass whatever it likes, and another thread's context is not ours to use).
MacroContext* OwnProgrammingContext(HWND window);

// The full path of a plug-in library the layout names: in the device type folder (the data
// root's first), else in the program folder; "" when it is in neither.
std::string LocatePluginLibrary(const DeviceFolderEntry* folder, const std::string& library);

// Offers the key of the programming window to its plug-in: nonzero when the plug-in took it and
// no editor is to open. 0 for a window that is not a programming window of this thread.
int OpenCustomKeyWindow(HWND programmingWindow, int keyId);

// Destroys the calling thread's top-level windows that run the library's code (its window
// class, window procedure or dialog procedure): they cannot outlive it.
void DestroyWindowsOfLibrary(HMODULE library);

// Puts the plug-ins under the macro model (the libraries given back at the window's teardown).
// Once, at start-up.
void InstallPlugins();
