#pragma once
// Macro step text sent as keystrokes: the device's own keyboard report, or input injection.

#include <string>

// The script function "void SendString(string &in)".
void SendString(const std::string& text);
