#include "runtime/hid_library.h"

#if !__has_include("platform/vhxhid/vhxhid.h")
#include <windows.h>

namespace {
template <typename Fn>
Fn Bind(int ordinal) {
  static HMODULE lib = LoadLibraryA("VHXHID.dll");
  return lib ? reinterpret_cast<Fn>(reinterpret_cast<void*>(
                   GetProcAddress(lib, MAKEINTRESOURCEA(ordinal))))
             : nullptr;
}
}  // namespace

extern "C" {
int __stdcall VhxEnumerateKeepOpen(int vendorId, VhxEntry* entries, int* count) {
  static auto fn = Bind<int(__stdcall*)(int, VhxEntry*, int*)>(35);
  return fn ? fn(vendorId, entries, count) : 1;
}
int __stdcall VhxGetVersion(int handle) {
  static auto fn = Bind<int(__stdcall*)(int)>(27);
  return fn ? fn(handle) : 0;
}
int __stdcall VhxWriteReport(int handle, const uint8_t* buffer) {
  static auto fn = Bind<int(__stdcall*)(int, const uint8_t*)>(7);
  return fn ? fn(handle, buffer) : 1;
}
int __stdcall VhxSwitchMode(int handle) {
  static auto fn = Bind<int(__stdcall*)(int)>(33);
  return fn ? fn(handle) : 1;
}
}
#endif
