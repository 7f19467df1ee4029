#pragma once
// The device's own part of its script, "Device Specific.oxs", as plug-ins write it: the text
// replaces the file in the folder of the device's script, from where the script writer copies
// it into every script it generates.

#include <windows.h>

// Writes the text, unchanged, for the device of the programming window. False, and nothing
// written, for a null text, a window that is not a programming window of the calling thread, a
// device type that is not known, or a file that cannot be written.
bool WriteDeviceSpecificScript(HWND programmingWindow, const char* text);
