#pragma once
// Why a keypad's programming window cannot open, told to the user: a device without a script
// module (its script file missing, or one that did not build), or a layout that cannot be
// shown, would otherwise leave a tray choice or a programming switch without any answer.

#include <string>

struct DeviceRecord;
class SystemCalls;

enum class ProgrammingRefusal { kNoScript, kScriptNotBuilt, kLayoutNotLoaded };

// The box's text: the device by its name and unit id, why, and the file (its script, or its
// layout).
std::string ProgrammingRefusalText(ProgrammingRefusal why, const std::string& deviceName, int unitId,
                                   const std::string& path);

// Shows that text for the device in an "Orvane II Error" box of the platform; its script is
// looked for as the build cycle looks for it.
void TellProgrammingRefused(SystemCalls& calls, const DeviceRecord& device);
// Shows the text for that reason and file in an "Orvane II Error" box.
void TellProgrammingRefused(SystemCalls& calls, const DeviceRecord& device, ProgrammingRefusal why,
                            const std::string& path);
