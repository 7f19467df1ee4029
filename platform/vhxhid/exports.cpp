// The exported functions (by ordinal, see vhxhid.def). No exception leaves the library.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/vhxhid/hid_library.h"
#include "platform/vhxhid/vhxhid.h"

namespace {

std::unique_ptr<vhx::Backend> ChooseBackend() {
  char name[256] = {};
  DWORD n = GetEnvironmentVariableA("VHXHID_SIM", name, sizeof name);
  if (n > 0 && n < sizeof name) {
    if (auto sim = vhx::MakeSimBackend(name)) return sim;
  }
  return vhx::MakeWinHidBackend();
}

vhx::Library& TheLibrary() {
  // Never destroyed: at process exit the reader threads are already gone and must not be
  // joined from the loader's detach notification.
  static vhx::Library* library = new vhx::Library(ChooseBackend());
  return *library;
}

template <typename F>
int Guarded(F&& f) {
  try {
    return f(TheLibrary());
  } catch (...) {
    return VHX_ERR_INTERNAL;
  }
}

}  // namespace

extern "C" {

int VHXAPI VhxEnumerate(int vendorId, VhxEntry* entries, int* count) {
  return Guarded([&](vhx::Library& l) {
    return l.Enumerate(vendorId, entries, count, VHX_MAX_ENTRIES,
                       vhx::Library::Numbering::RenumberKeepingUse);
  });
}

int VHXAPI VhxEnumerateKeepOpen(int vendorId, VhxEntry* entries, int* count) {
  return Guarded([&](vhx::Library& l) {
    return l.Enumerate(vendorId, entries, count, VHX_MAX_ENTRIES,
                       vhx::Library::Numbering::KeepNumbers);
  });
}

int VHXAPI VhxGetVersion(int handle) {
  return Guarded([&](vhx::Library& l) { return l.Version(handle); });
}

int VHXAPI VhxGetInputLength(int handle) {
  return Guarded([&](vhx::Library& l) { return l.InputLength(handle); });
}

int VHXAPI VhxGetOutputLength(int handle) {
  return Guarded([&](vhx::Library& l) { return l.OutputLength(handle); });
}

int VHXAPI VhxSetUpInterface(int handle, void** readEvent, void** removalEvent) {
  return Guarded([&](vhx::Library& l) { return l.SetUp(handle, readEvent, removalEvent); });
}

int VHXAPI VhxReadReport(int handle, uint8_t* buffer) {
  return Guarded([&](vhx::Library& l) { return l.Read(handle, buffer); });
}

int VHXAPI VhxWriteReport(int handle, const uint8_t* buffer) {
  return Guarded([&](vhx::Library& l) { return l.Write(handle, buffer); });
}

int VHXAPI VhxCloseInterface(int handle) {
  return Guarded([&](vhx::Library& l) { return l.Close(handle); });
}

int VHXAPI VhxOpenPolled(int handle) {
  return Guarded([&](vhx::Library& l) { return l.OpenPolled(handle); });
}

int VHXAPI VhxPollChanges(int vendorId, int* arrived, int* removed) {
  return Guarded([&](vhx::Library& l) { return l.PollChanges(vendorId, arrived, removed); });
}

int VHXAPI VhxSwitchMode(int handle) {
  return Guarded([&](vhx::Library& l) { return l.SwitchMode(handle); });
}

int VHXAPI VhxCalEnumerate(int vendorId, VhxEntry* entries, int* count) {
  return Guarded([&](vhx::Library& l) {
    return l.Enumerate(vendorId, entries, count, VHX_CAL_MAX_ENTRIES,
                       vhx::Library::Numbering::Renumber);
  });
}

int VHXAPI VhxCalSetUp(int handle) {
  return Guarded([&](vhx::Library& l) { return l.SetUp(handle, nullptr, nullptr); });
}

int VHXAPI VhxCalStartSampling(int handle) {
  return Guarded([&](vhx::Library& l) { return l.StartSampling(handle); });
}

int VHXAPI VhxCalReadLatest(int handle, uint8_t* buffer) {
  return Guarded([&](vhx::Library& l) { return l.ReadLatest(handle, buffer); });
}

}  // extern "C"
