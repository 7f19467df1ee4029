#pragma once
// The script writes that a user asked for: a file that could not be written is reported.

#include <string>

class SystemCalls;
struct MacroContext;

// WriteScriptFile, and on failure an "Orvane II Error" box owned by `owner` (an HWND, or null).
// An empty path (the device's folder is not known) is reported too. False when nothing was
// written.
bool WriteScriptFileAndTell(SystemCalls& calls, MacroContext& context, const std::string& path, void* owner);
