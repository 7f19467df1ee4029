/* The exports through which a host process runs the program on a thread of its own, claims
 * devices, receives their input reports and writes output reports to them.
 *
 * A host loads Orvane.exe with LoadLibrary and finds these functions with GetProcAddress under
 * their plain names. They, and the host's callback, use the C calling convention (__cdecl: the
 * caller removes the arguments), as the program's other exports and its module libraries do.
 * The program ends when the host posts WM_COMMAND with the Exit command (IDM_EXIT, 32851) to
 * GetOrvaneHWND(); the thread from OXLaunchMainThread then ends with the loop's exit code.
 * Orvane.exe stays loaded to the end of the process (no FreeLibrary): its clean-up runs then.
 * Plain C, so that hosts in any language that calls C can use it. */
#ifndef ORVANE_HOST_EXPORTS_H
#define ORVANE_HOST_EXPORTS_H

#include <windows.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Called on the program's device thread: (host id, the claimed device's input report, masked,
 * its input length) wherever the device's scripts would have run; (-1, NULL, -1) after every
 * change of the device list. The result is not used. */
typedef int(__cdecl* OXHostCallback)(int hostId, unsigned char* report, int length);

/* Starts the program (main dialog, tray icon, device thread, message loop) on a new thread of
 * the host, without the single-instance mutex, the command line or the "Client Mode" value:
 * its folders are those of Orvane.exe, dataRoot (may be NULL) the alternative data root.
 * Returns the thread's handle, which the host closes, or 0 when the program cannot start
 * (already running, or Orvane.exe could not be made ready in this process). */
int __cdecl OXLaunchMainThread(bool allowProgramming, OXHostCallback callback, char* dataRoot);

/* Claims the index-th attached device (1 = the first) of the vendor and product id for the
 * host id: its input reports go to the callback, not to its scripts. A claim binds to a device
 * that no other claim holds, now or after a later change of the device list, and then keeps
 * that device (by unit id). Returns 0 (-1 when Orvane.exe could not be made ready). */
int __cdecl OXRegisterDevice(int hostId, int vendorId, int productId, int index);

/* Writes one output report to the device the host id's claim holds. Returns 0 when written;
 * 101 when the host id has no bound claim or its device is not attached; minus the device's
 * output length when length differs from it; else the HID library's failure code. */
int __cdecl OXWriteToDevice(int hostId, unsigned char* report, int length);

typedef int(__cdecl* OXLaunchMainThreadFunction)(bool, OXHostCallback, char*);
typedef int(__cdecl* OXRegisterDeviceFunction)(int, int, int, int);
typedef int(__cdecl* OXWriteToDeviceFunction)(int, unsigned char*, int);
/* GetOrvaneHWND: the main dialog, NULL until the program's thread has made it. */
typedef HWND(__cdecl* GetOrvaneHWNDFunction)(void);
/* GetHInstOrvane: the program's module, for its resources. */
typedef HINSTANCE(__cdecl* GetHInstOrvaneFunction)(void);

#ifdef __cplusplus
}
#endif

#endif /* ORVANE_HOST_EXPORTS_H */
