#pragma once
// The dialogs the device thread shows for the program: "press a key" while a device is
// identified, "Duplicate Unit ID", and the script loader's device and file choice. They are
// shown on the device thread (modally, or modeless and pumped by its waits).

// Installs them into the layers below (the program hooks and the script loader hooks), keeping
// the other hooks as they are.
void InstallProgramDialogs();
