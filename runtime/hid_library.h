#pragma once
// The HID access library as the runtime calls it.
#if __has_include("platform/vhxhid/vhxhid.h")
#include "platform/vhxhid/vhxhid.h"
#else
// Without the library's own header in the tree the calls are bound by ordinal at run time.
#include <stdint.h>
#define VHX_MAX_ENTRIES 128
typedef struct VhxEntry {
  int32_t productId;
  int32_t usage;
  int32_t usagePage;
  int32_t handle;
} VhxEntry;
extern "C" {
int __stdcall VhxEnumerateKeepOpen(int vendorId, VhxEntry* entries, int* count);
int __stdcall VhxGetVersion(int handle);
int __stdcall VhxWriteReport(int handle, const uint8_t* buffer);
int __stdcall VhxSwitchMode(int handle);
}
#endif
