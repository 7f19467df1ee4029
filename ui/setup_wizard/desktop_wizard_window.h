#pragma once
// The desktop setup wizards of the device thread: at most one per device, whose pages are
// modeless dialogs without owner on that thread, registered with its message pump. A wizard
// knows its device by vendor, product, version and unit id, not by its record, which every
// build cycle makes anew; each page message runs with that device as the current device.

class SystemCalls;
struct DeviceRecord;

// "void RunDesktopWizard()": opens the current device's wizard (nothing when there is no
// current device, or it has a wizard open). The wizard asks the user, keeps the user's details
// and plays its demo through `calls`.
void StartDesktopWizard(SystemCalls& calls);
void StartDesktopWizardFor(SystemCalls& calls, const DeviceRecord& device);
// Closes every wizard without writing anything (the device thread's end).
void CloseDesktopWizards();
// How many wizards are open.
int OpenDesktopWizardCount();
