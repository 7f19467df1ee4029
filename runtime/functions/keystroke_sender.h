#pragma once
// Macro step text sent as keystrokes: as keyboard output reports of the current device when
// its report configuration has a "SendKeyboardReport" output, else through the platform's
// input injection. Runs on the device thread, inside a script call.

#include <string>

class SystemCalls;

// The script function "void SendString(string &in)": one macro step. Needs the key-name
// tables. Reports nothing: unknown names go out as code 0, failed writes are given up.
void SendString(SystemCalls& calls, const std::string& text);

// Performs the text when it is a mouse step (always through input injection); false otherwise.
bool SendMouseToken(SystemCalls& calls, const std::string& text);

// The current device has a "SendKeyboardReport" output.
bool CurrentDeviceHasKeyboardReport();
