/* Controller side of the simulated VHXHID devices: add and remove devices, queue their input
 * reports, collect the output reports the host wrote, make writes fail. Any number of
 * processes may use one simulation at once (they share it by name); the library side of a
 * process whose VHXHID_SIM names the same simulation sees the same devices. */
#ifndef VHXSIM_CONTROL_H
#define VHXSIM_CONTROL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VHXSIM_OK 0
#define VHXSIM_ERR_NO_DEVICE (-1)
#define VHXSIM_ERR_TABLE_FULL (-2)
#define VHXSIM_ERR_LENGTH (-3)
#define VHXSIM_ERR_SPEC (-4)
#define VHXSIM_ERR_ARGUMENT (-7)

#define VHXSIM_MAX_DEVICES 40
#define VHXSIM_MAX_REPORT 128 /* bytes of one report, report-id byte included */
/* Reports queued per device; a full queue drops its oldest report and counts it. */
#define VHXSIM_INPUT_SLOTS 512
#define VHXSIM_OUTPUT_SLOTS 64

/* Device models (VhxSimDeviceSpec.model). */
#define VHXSIM_MODEL_PLAIN 0
/* Answers the next output report with the replies armed by VhxSimArmReplies (polled use). */
#define VHXSIM_MODEL_SCRIPTED_REPLIES 1
/* A keypad that reports its state (keys, unit id) again whenever the host opens it, with an
 * on-board memory of VHXSIM_MEMORY_BYTES that output reports read (2, 0xBF, start and end
 * address, replies 3, count, address, data), write (2, 0xBC, address, four bytes) and end the
 * writing of (2, 0xBE). It holds zeros but for "KN Sig" at VHXSIM_MEMORY_SIGNATURE when added,
 * and keeps it over a mode switch. */
#define VHXSIM_MODEL_KEYPAD 2
#define VHXSIM_MEMORY_BYTES 0x1020
#define VHXSIM_MEMORY_SIGNATURE 0x0FF8
/* A cab controller (VhxSimCabSpec): its input report is a held state, all levers at 0, byte
 * VHXSIM_CAB_BUILD_BYTE 0xD2 and, in a 16-byte report, unit id 1 in the last byte. Each
 * VhxSimSetReportByte changes one byte and the controller reports the whole state; it reports
 * it again whenever the host opens it, so the host always reads the present state. Needs an
 * input length of at least VHXSIM_CAB_MIN_REPORT. */
#define VHXSIM_MODEL_CAB 3
#define VHXSIM_CAB_MIN_REPORT 15
#define VHXSIM_CAB_BUILD_BYTE 14

typedef struct VhxSim VhxSim;

typedef struct VhxSimDeviceSpec {
  int vendorId;        /* default 0x0A7C */
  int productId;       /* default 0x19 */
  int version;         /* default 0x0100 */
  int usagePage;       /* default 12 */
  int usage;           /* default 1 */
  int inputLength;     /* 1 .. VHXSIM_MAX_REPORT, default 9 */
  int outputLength;    /* 0 .. VHXSIM_MAX_REPORT, default 9; 0 = takes no output */
  int switchProductId; /* 0 = no mode switch (default) */
  int model;           /* device behaviour: a VHXSIM_MODEL_ value; 0 = plain queues */
} VhxSimDeviceSpec;

typedef struct VhxSimDeviceInfo {
  int id;
  VhxSimDeviceSpec spec;
  int queuedInputs;  /* input reports not yet read by the host */
  int queuedOutputs; /* output reports not yet taken by a controller */
  int failWrites;
  int droppedInputs; /* input reports pushed out of a full queue, unread */
  int failReads;
  int setUpError;    /* 0: set-ups succeed */
  int samplingError; /* 0: starts of sampling succeed */
} VhxSimDeviceInfo;

/* Opens (creating if needed) the simulation of that name; NULL name: the value of VHXHID_SIM.
 * NULL on failure. */
VhxSim* VhxSimOpen(const char* name);
void VhxSimClose(VhxSim* sim);

void VhxSimDefaultSpec(VhxSimDeviceSpec* spec);
/* A cab controller: product id 0x00D2, usage page 0x000C, a 16-byte input report and a 3-byte
 * output report, VHXSIM_MODEL_CAB. */
void VhxSimCabSpec(VhxSimDeviceSpec* spec);
/* The new device's id (> 0; ids are not reused), or a VHXSIM_ERR_ value. */
int VhxSimAddDevice(VhxSim* sim, const VhxSimDeviceSpec* spec);
/* The device leaves: its removal event is set, later enumerations and polls miss it. */
int VhxSimRemoveDevice(VhxSim* sim, int id);
/* Removes every device, and the enumeration error (VhxSimSetEnumerateError). */
int VhxSimReset(VhxSim* sim);
/* Queues one input report of 1 .. input length bytes (the host reads it zero-padded) and sets
 * the device's report-waiting event. */
int VhxSimQueueInput(VhxSim* sim, int id, const uint8_t* bytes, int length);
/* Takes the oldest output report the host wrote: its length (> 0), 0 when none is left, or a
 * VHXSIM_ERR_ value (VHXSIM_ERR_LENGTH: room too small, the report stays). */
int VhxSimTakeOutput(VhxSim* sim, int id, uint8_t* buffer, int room);
/* Arms the replies of a VHXSIM_MODEL_SCRIPTED_REPLIES device: the next output report the host
 * writes queues `count` input reports of `length` bytes each (back to back in `reports`), once
 * the host has tried to read `delayReads` more times. Count 0 disarms. VHXSIM_ERR_SPEC for
 * another model, VHXSIM_ERR_LENGTH for a bad length or more than 32 replies. */
int VhxSimArmReplies(VhxSim* sim, int id, const uint8_t* reports, int length, int count,
                     int delayReads);
/* The on-board memory of a VHXSIM_MODEL_KEYPAD device: copies `length` bytes from or to
 * `offset`. VHXSIM_ERR_SPEC for another model, VHXSIM_ERR_LENGTH for a range outside it. */
int VhxSimReadMemory(VhxSim* sim, int id, int offset, uint8_t* buffer, int length);
int VhxSimWriteMemory(VhxSim* sim, int id, int offset, const uint8_t* bytes, int length);
/* The memory writes and the ends of writing the keypad took since it was added. */
int VhxSimMemoryCounts(VhxSim* sim, int id, int* writes, int* ends);
/* While on, the host's writes to the device fail (nothing is recorded). */
int VhxSimSetFailWrites(VhxSim* sim, int id, int on);
/* While on, the host's reads of the device fail as on a broken interface: VhxReadReport finds
 * no report and VhxCalReadLatest gives VHX_ERR_GONE; the device stays listed. */
int VhxSimSetFailReads(VhxSim* sim, int id, int on);
/* Error numbers the host's calls then return (0 = succeed again): every enumeration (ordinals
 * 3, 10, 35) of the simulation; the set-ups (13, 31, 6) and the starts of sampling (8) of one
 * device. Negative numbers are refused (VHXSIM_ERR_ARGUMENT). */
int VhxSimSetEnumerateError(VhxSim* sim, int error);
int VhxSimGetEnumerateError(VhxSim* sim);
int VhxSimSetSetUpError(VhxSim* sim, int id, int error);
int VhxSimSetSamplingError(VhxSim* sim, int id, int error);
/* The held report of a VHXSIM_MODEL_CAB device: sets byte `index` (0 .. input length - 1) to
 * value (0 .. 255) and reports the state. VHXSIM_ERR_SPEC for another model, VHXSIM_ERR_LENGTH
 * for an index past the report. */
int VhxSimSetReportByte(VhxSim* sim, int id, int index, int value);
/* Copies the device's held report (its last input report) into buffer; its length, or a
 * VHXSIM_ERR_ value (VHXSIM_ERR_LENGTH: room too small). */
int VhxSimGetHeldReport(VhxSim* sim, int id, uint8_t* buffer, int room);
/* Fills up to room entries, oldest device first; returns the number of devices. */
int VhxSimListDevices(VhxSim* sim, VhxSimDeviceInfo* out, int room);
int VhxSimGetDevice(VhxSim* sim, int id, VhxSimDeviceInfo* out);

#ifdef __cplusplus
}
#endif

#endif /* VHXSIM_CONTROL_H */
