#pragma once
// The desktop setup wizards of the device thread: at most one per device, whose pages are
// modeless dialogs without owner on that thread, registered with its message pump. A wizard
// knows its device by vendor, product, version and unit id, not by its record, which every
// build cycle makes anew; each page message runs with that device as the current device.

struct DeviceRecord;

// "void RunDesktopWizard()": opens the current device's wizard (nothing when there is no
// current device, or it has a wizard open).
void StartDesktopWizard();
void StartDesktopWizardFor(const DeviceRecord& device);
// Closes every wizard without writing anything (the device thread's end).
void CloseDesktopWizards();
// How many wizards are open.
int OpenDesktopWizardCount();
