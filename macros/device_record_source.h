#pragma once
// A context's device that stands for a device thread's record: the code that talks to the
// keypad itself (its on-board memory, its plug-ins' folders) reaches the record through this,
// whichever device class the context holds.

struct DeviceRecord;

class DeviceRecordSource {
 public:
  virtual ~DeviceRecordSource() = default;

  // The record now; null when it is gone.
  virtual DeviceRecord* Record() = 0;
};
