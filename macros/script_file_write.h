#pragma once
// The script writes that a user asked for: a file that could not be written is reported.

#include <windows.h>

#include <string>

struct MacroContext;

// WriteScriptFile, and on failure an "Orvane II Error" box owned by `owner`. False when nothing
// was written.
bool WriteScriptFileAndTell(MacroContext& context, const std::string& path, HWND owner);
