/* VHXHID: access to the USB HID interfaces of the Qpad and Lococab devices.
 *
 * VHXHID.dll exports these functions by ordinal only (no names); link with its import library
 * and call them by the names below. Every argument and result is 32 bits wide, __stdcall.
 * The library never calls back; it signals only through the two events of VhxSetUpInterface.
 *
 * Handles: VhxEnumerate numbers the interfaces it lists 0 .. count - 1 and invalidates every
 * earlier handle. VhxEnumerateKeepOpen keeps the numbers of interfaces that stayed attached and
 * numbers newly seen ones past them. Report lengths count the report-id byte (byte 0).
 *
 * Backend: the Windows HID stack, or, when the environment variable VHXHID_SIM is set when the
 * library is first used, the simulated devices of the simulation that it names (vhxsim).
 */
#ifndef VHXHID_H
#define VHXHID_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VHXAPI __stdcall

/* Room the callers provide: ordinals 3 and 35 never write more entries, ordinal 10 never more
 * than VHX_CAL_MAX_ENTRIES. */
#define VHX_MAX_ENTRIES 128
#define VHX_CAL_MAX_ENTRIES 25

/* Nonzero results. */
#define VHX_OK 0
#define VHX_ERR_HANDLE 1      /* not a handle of the current enumeration */
#define VHX_ERR_NO_REPORT 2   /* no input report waiting */
#define VHX_ERR_OPEN 3        /* the interface could not be opened */
#define VHX_ERR_WRITE 4       /* the report was not written */
#define VHX_ERR_ENUMERATE 5   /* enumeration failed */
#define VHX_ERR_ARGUMENT 6    /* a null pointer where one is needed */
#define VHX_ERR_GONE 7        /* the device was removed or the interface failed */
#define VHX_ERR_NO_SWITCH 8   /* the device has no mode switch */
#define VHX_ERR_INTERNAL 9

/* One enumerated interface, 16 bytes. */
typedef struct VhxEntry {
  int32_t productId;
  int32_t usage;
  int32_t usagePage;
  int32_t handle;
} VhxEntry;

/* 3: lists the interfaces of vendorId (page-12 interfaces first), at most VHX_MAX_ENTRIES,
 * renumbering them 0 .. *count - 1, and starts the change baseline of VhxPollChanges. An
 * interface in use that is still attached stays open under its new number, with its events and
 * the reports it queued: its next VhxSetUpInterface hands out the last report read from it
 * again, before them, as a device reports its state when it is opened. Every other interface of
 * the previous enumeration is closed. 0 = filled (*count may be 0); else no entries. */
int VHXAPI VhxEnumerate(int vendorId, VhxEntry* entries, int* count);
/* 35: as 3, but leaves open interfaces, their handles and the change baseline alone. */
int VHXAPI VhxEnumerateKeepOpen(int vendorId, VhxEntry* entries, int* count);
/* 27: the device version (bcdDevice); 0 for an unknown handle. */
int VHXAPI VhxGetVersion(int handle);
/* 15 / 16: input / output report length in bytes; 0 for an unknown handle. */
int VHXAPI VhxGetInputLength(int handle);
int VHXAPI VhxGetOutputLength(int handle);
/* 31: sets the interface up for event use. *readEvent is signalled while an input report waits,
 * *removalEvent on failure or removal (both manual reset). The pair belongs to the handle until
 * the next VhxEnumerate that closes the interface: a repeated call hands out the same pair;
 * callers never close them and may set readEvent themselves. 0 = set up. Either pointer may be
 * null. */
int VHXAPI VhxSetUpInterface(int handle, void** readEvent, void** removalEvent);
/* 4: copies the oldest waiting input report (input length bytes). 0 = copied; nonzero = none
 * waiting (never blocks). readEvent stays set while more reports wait. */
int VHXAPI VhxReadReport(int handle, uint8_t* buffer);
/* 7: writes one output report of the output length. 0 = written. Gives up after a short wait
 * (about 100 ms) when the device does not take it. */
int VHXAPI VhxWriteReport(int handle, const uint8_t* buffer);
/* 2: ends use of the interface and discards the input reports queued so far. The events stay. */
int VHXAPI VhxCloseInterface(int handle);
/* 6: after 2, opens the interface for polled use (VhxWriteReport and VhxReadReport in a loop);
 * 2 then 31 return it to event use. */
int VHXAPI VhxOpenPolled(int handle);
/* 29: counts the interfaces of vendorId that arrived (*arrived) and left (*removed) since the
 * previous poll or VhxEnumerate; each change is reported once. 0 = the poll ran. */
int VHXAPI VhxPollChanges(int vendorId, int* arrived, int* removed);
/* 33: asks the device to switch modes; it leaves and returns under another product id. */
int VHXAPI VhxSwitchMode(int handle);

/* Calibration program. */
/* 10: as 3 with room for VHX_CAL_MAX_ENTRIES entries, but closes every interface of the
 * previous enumeration. 0 = success; else a VHX_ERR_ number. */
int VHXAPI VhxCalEnumerate(int vendorId, VhxEntry* entries, int* count);
/* 13: sets the interface up for sampling. 0 = set up; else a VHX_ERR_ number. */
int VHXAPI VhxCalSetUp(int handle);
/* 8: sampling starts: drops reports queued before now, keeping only the newest as the last
 * report. */
int VHXAPI VhxCalStartSampling(int handle);
/* 11: the device's most recent input report (input length bytes), even if it was read before.
 * 0 = copied; nonzero = no report since set-up, or the device is gone. */
int VHXAPI VhxCalReadLatest(int handle, uint8_t* buffer);

#ifdef __cplusplus
}
#endif

#endif /* VHXHID_H */
