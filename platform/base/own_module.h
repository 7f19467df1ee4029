#pragma once
// The module this code is linked into: the program's own resources, dialogs and icons live
// there. Not GetModuleHandle(nullptr), which names the host process when a host has loaded the
// program as a library.

#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;  // provided by the linker, at the start of the image

inline HINSTANCE OwnModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }
